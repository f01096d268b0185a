#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardvane {

// The phrase `phrase` in report language `language` (0 English, 1 Spanish). Language 0 is
// the phrase itself and reads nothing. Otherwise Language.kdf in `programFolder` is read
// (each call): the first line that contains phrase + ";" anywhere gives everything after its
// first ";". A missing or unreadable file, no matching line or an empty translation give the
// phrase itself, silently.
std::string Translate(std::string_view phrase, int language,
                      const std::filesystem::path& programFolder);

// Where paragraph `name` lies: programFolder/Templates/<Translate("English")>/<name>.ktf.
std::filesystem::path ParagraphPath(std::string_view name, int language,
                                    const std::filesystem::path& programFolder);

// The lines of paragraph `name` (line ends removed). When the file is missing, unreadable or
// holds no text, the result is empty and `showError` (when set) is told
// "Could not find paragraph <path>.".
std::vector<std::string> GetParagraph(std::string_view name, int language,
                                      const std::filesystem::path& programFolder,
                                      const std::function<void(const std::string&)>& showError);

// The paragraphs and phrases of one report run: each paragraph file and Language.kdf are
// read at most once, and only the first missing paragraph of the run is reported. Gives the
// same texts as GetParagraph and Translate.
class ReportSources {
 public:
  ReportSources(std::filesystem::path programFolder, int language,
                std::function<void(const std::string&)> showError);

  const std::vector<std::string>& Paragraph(const std::string& name);
  std::string Translate(std::string_view phrase);
  int language() const { return language_; }

 private:
  std::filesystem::path programFolder_;
  int language_;
  std::function<void(const std::string&)> showError_;
  bool reportedMissing_ = false;
  std::optional<std::vector<std::string>> phraseLines_;  // Language.kdf, once read
  std::optional<std::string> folder_;                    // the language folder
  std::map<std::string, std::vector<std::string>, std::less<>> paragraphs_;
};

}  // namespace ardvane
