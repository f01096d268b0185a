#include "reports/report_language.h"

#include <utility>

#include "planfiles/atomic_file.h"

namespace ardvane {
namespace {

// Paragraphs and the phrase file are small; anything larger is not one of ours.
constexpr std::size_t kMaxTemplateBytes = 16 * 1024 * 1024;

// The lines of `text`: split at LF, a CR before it dropped, no empty line after a final LF.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& path) {
  FileBytes file = ReadRegularFile(path, kMaxTemplateBytes);
  if (!file.ok) return std::nullopt;
  return SplitLines(file.bytes);
}

std::string LookUp(const std::vector<std::string>& lines, std::string_view phrase) {
  std::string key(phrase);
  key += ';';
  for (const std::string& line : lines) {
    if (line.find(key) == std::string::npos) continue;
    std::string translated = line.substr(line.find(';') + 1);
    return translated.empty() ? std::string(phrase) : translated;
  }
  return std::string(phrase);
}

bool HoldsText(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!line.empty()) return true;
  }
  return false;
}

std::filesystem::path PathIn(const std::filesystem::path& programFolder,
                             const std::string& folder, std::string_view name) {
  return programFolder / "Templates" / folder / (std::string(name) + ".ktf");
}

std::string MissingMessage(const std::filesystem::path& path) {
  return "Could not find paragraph " + path.string() + ".";
}

}  // namespace

std::string Translate(std::string_view phrase, int language,
                      const std::filesystem::path& programFolder) {
  if (language == 0) return std::string(phrase);
  const auto lines = ReadLines(programFolder / "Language.kdf");
  if (!lines) return std::string(phrase);
  return LookUp(*lines, phrase);
}

std::filesystem::path ParagraphPath(std::string_view name, int language,
                                    const std::filesystem::path& programFolder) {
  return PathIn(programFolder, Translate("English", language, programFolder), name);
}

std::vector<std::string> GetParagraph(std::string_view name, int language,
                                      const std::filesystem::path& programFolder,
                                      const std::function<void(const std::string&)>& showError) {
  const std::filesystem::path path = ParagraphPath(name, language, programFolder);
  std::vector<std::string> lines = ReadLines(path).value_or(std::vector<std::string>());
  if (HoldsText(lines)) return lines;
  if (showError) showError(MissingMessage(path));
  return {};
}

ReportSources::ReportSources(std::filesystem::path programFolder, int language,
                             std::function<void(const std::string&)> showError)
    : programFolder_(std::move(programFolder)),
      language_(language),
      showError_(std::move(showError)) {}

std::string ReportSources::Translate(std::string_view phrase) {
  if (language_ == 0) return std::string(phrase);
  if (!phraseLines_) {
    phraseLines_ = ReadLines(programFolder_ / "Language.kdf").value_or(std::vector<std::string>());
  }
  return LookUp(*phraseLines_, phrase);
}

const std::vector<std::string>& ReportSources::Paragraph(const std::string& name) {
  if (const auto found = paragraphs_.find(name); found != paragraphs_.end()) {
    return found->second;
  }
  if (!folder_) folder_ = Translate("English");
  const std::filesystem::path path = PathIn(programFolder_, *folder_, name);
  std::vector<std::string> lines = ReadLines(path).value_or(std::vector<std::string>());
  if (!HoldsText(lines)) {
    lines.clear();
    if (!reportedMissing_ && showError_) showError_(MissingMessage(path));
    reportedMissing_ = true;
  }
  return paragraphs_.emplace(name, std::move(lines)).first->second;
}

}  // namespace ardvane
