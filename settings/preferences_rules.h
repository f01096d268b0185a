#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/language.h"

namespace ardvane {

// The report folder as the preferences store it, from the text the adviser left in the field:
// blanks around it are dropped; an empty text becomes the program folder followed by
// "Reports/"; any other text gets a "/" at its end unless it has one. Whether the folder
// exists is not looked at (printing creates it).
std::string ReportFolderSetting(const std::string& text,
                                const std::filesystem::path& programFolder);

// The codes of the print language setting ("Print" "Language" in Settings.ini). The file may
// hold any number; the setting keeps it until the adviser chooses one of these.
constexpr int kPrintLanguageEnglish = 0;
constexpr int kPrintLanguageSpanish = 1;
constexpr int kPrintLanguageAsk = 99;  // Print asks for the language each time

// The language Print writes its report in by the setting's code; nothing when Print asks for
// it. A code without a meaning prints in English, the setting's default.
std::optional<Language> PrintLanguageOf(int code);

// The print language setting from the three choices in the Preferences window; `current`
// when none is chosen.
int LanguageSetting(bool english, bool spanish, bool ask, int current);

// The contract is offered as a report section only when its template is installed.
bool ContractTemplateExists(const std::filesystem::path& programFolder);

}  // namespace ardvane
