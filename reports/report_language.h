#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "engine/language.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"

namespace ardvane {

// The phrases of one report language: Language.kdf of the program folder, read once when the
// object is made and not at all for English. A missing or
// unreadable file leaves every phrase as written, silently.
class ReportPhrases {
 public:
  ReportPhrases(const std::filesystem::path& programFolder, Language language);

  Language language() const { return language_; }

  // A phrase of the program: the first line that contains phrase + ";" anywhere gives
  // everything after its first ";". No matching line or an empty translation give the
  // phrase itself; English always does.
  std::string Translate(std::string_view phrase) const;

  // A text the user typed, or one so short that it stands inside other lines ("NA" in
  // "VISA UNA;..."): only a line whose text before its first ";" is `text` itself
  // translates it, so a line cannot match by accident. Otherwise as Translate.
  std::string TranslateExactly(std::string_view text) const;

  // The name of simulated debt `index` (GetDebtName: the row's name as typed, or the new
  // loan's name) as every table, paragraph and chart in this language shows it.
  std::string DebtName(const PlanDocument& plan, const PlanResults& results, int index) const;

  // The text of a date that does not exist (a debt never paid off, a plan without debts):
  // "NA", or its translation.
  std::string NoDate() const { return TranslateExactly("NA"); }

 private:
  Language language_;
  std::vector<std::string> lines_;
};

// The phrase `phrase` in report language `language`, as ReportPhrases::Translate, reading
// Language.kdf in `programFolder` on each call.
std::string Translate(std::string_view phrase, Language language,
                      const std::filesystem::path& programFolder);

// Where paragraph `name` lies: programFolder/Templates/<Translate("English")>/<name>.ktf.
std::filesystem::path ParagraphPath(std::string_view name, Language language,
                                    const std::filesystem::path& programFolder);

// "Could not find paragraph <path>.": what the user is told of a paragraph that is
// missing, unreadable or holds no text.
std::string MissingParagraphMessage(const std::filesystem::path& path);

// The lines of paragraph `name` (line ends removed). When the file is missing, unreadable or
// holds no text, the result is empty and `showError` (when set) is told
// MissingParagraphMessage of its path.
std::vector<std::string> GetParagraph(std::string_view name, Language language,
                                      const std::filesystem::path& programFolder,
                                      const std::function<void(const std::string&)>& showError);

// The paragraphs and phrases of one report run: each paragraph file and Language.kdf are
// read at most once. Gives the same texts as GetParagraph and Translate; the paragraphs
// that could not be found are collected for the caller to name.
class ReportSources {
 public:
  ReportSources(std::filesystem::path programFolder, Language language);

  // The paragraph's lines; empty when it is missing, unreadable or holds no text.
  const std::vector<std::string>& Paragraph(const std::string& name);
  const ReportPhrases& phrases() const { return phrases_; }
  std::string Translate(std::string_view phrase) const { return phrases_.Translate(phrase); }
  Language language() const { return phrases_.language(); }

  // The paths of the paragraphs asked for that could not be found, each once, in the order
  // first asked for.
  const std::vector<std::filesystem::path>& missingParagraphs() const { return missing_; }
  // Ok normally; InvalidData saying why no paragraph is read when Language.kdf names a folder
  // outside Templates, or one whose name holds a control character.
  const Status& folderStatus() const { return folderStatus_; }

 private:
  std::filesystem::path programFolder_;
  ReportPhrases phrases_;
  std::string folder_;  // the language folder
  Status folderStatus_;
  std::map<std::string, std::vector<std::string>, std::less<>> paragraphs_;
  std::vector<std::filesystem::path> missing_;
};

}  // namespace ardvane
