#pragma once

#include <filesystem>
#include <string>

namespace ardvane {

// The report folder as the preferences store it, from the text the adviser left in the field:
// blanks around it are dropped; an empty text becomes the program folder followed by
// "Reports/"; any other text gets a "/" at its end unless it has one. Whether the folder
// exists is not looked at (printing creates it).
std::string ReportFolderSetting(const std::string& text,
                                const std::filesystem::path& programFolder);

// The print language setting from the three choices: 0 English, 1 Spanish, 99 ask at each
// print; `current` when none is chosen.
int LanguageSetting(bool english, bool spanish, bool ask, int current);

// The contract is offered as a report section only when its template is installed.
bool ContractTemplateExists(const std::filesystem::path& programFolder);

}  // namespace ardvane
