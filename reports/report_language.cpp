#include "reports/report_language.h"

#include <algorithm>
#include <utility>

#include "base/atomic_file.h"

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
  const StatusOr<std::string> file = ReadRegularFile(path, kMaxTemplateBytes);
  if (!file.ok()) return std::nullopt;
  return SplitLines(*file);
}

// The translation a matching line gives: everything after its first ";", or the phrase
// itself when that is empty.
std::string TranslationIn(const std::string& line, std::string_view phrase) {
  std::string translated = line.substr(line.find(';') + 1);
  return translated.empty() ? std::string(phrase) : translated;
}

bool HoldsText(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!line.empty()) return true;
  }
  return false;
}

// Ok when `folder`, named by Language.kdf, is a folder under Templates/; otherwise
// InvalidData saying why not. A control character is refused too: at a NUL byte the system
// would cut the path short and read another file than the one named (Templates/Contract.ktf
// for "Contract.ktf\0").
Status CheckTemplateFolder(const std::string& folder) {
  const std::filesystem::path path(folder);
  bool climbs = false;
  for (const std::filesystem::path& part : path) climbs = climbs || part == "..";
  const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
  const bool controls = std::any_of(folder.begin(), folder.end(), control);
  if (folder.empty() || path.is_absolute() || climbs || controls) {
    std::string shown = folder;
    std::replace_if(shown.begin(), shown.end(), control, '?');
    return Status::InvalidData(
        "Language.kdf names \"" + shown +
        "\" as the folder of the report's paragraphs; it must be a folder under Templates, "
        "named without \"/\" at its start, without \"..\" and without control characters.");
  }
  return Status::Ok();
}

std::filesystem::path PathIn(const std::filesystem::path& programFolder,
                             const std::string& folder, std::string_view name) {
  return programFolder / "Templates" / folder / (std::string(name) + ".ktf");
}

}  // namespace

ReportPhrases::ReportPhrases(const std::filesystem::path& programFolder, Language language)
    : language_(language) {
  if (language_ != Language::kEnglish) {
    lines_ = ReadLines(programFolder / "Language.kdf").value_or(std::vector<std::string>());
  }
}

std::string ReportPhrases::Translate(std::string_view phrase) const {
  std::string key(phrase);
  key += ';';
  for (const std::string& line : lines_) {
    if (line.find(key) != std::string::npos) return TranslationIn(line, phrase);
  }
  return std::string(phrase);
}

std::string ReportPhrases::TranslateExactly(std::string_view text) const {
  for (const std::string& line : lines_) {
    const std::size_t semicolon = line.find(';');
    if (semicolon != std::string::npos && std::string_view(line).substr(0, semicolon) == text) {
      return TranslationIn(line, text);
    }
  }
  return std::string(text);
}

std::string ReportPhrases::DebtName(const PlanDocument& plan, const PlanResults& results,
                                    int index) const {
  return TranslateExactly(GetDebtName(plan, results, index));
}

std::string Translate(std::string_view phrase, Language language,
                      const std::filesystem::path& programFolder) {
  if (language == Language::kEnglish) return std::string(phrase);
  return ReportPhrases(programFolder, language).Translate(phrase);
}

std::filesystem::path ParagraphPath(std::string_view name, Language language,
                                    const std::filesystem::path& programFolder) {
  return PathIn(programFolder, Translate("English", language, programFolder), name);
}

std::string MissingParagraphMessage(const std::filesystem::path& path) {
  return "Could not find paragraph " + path.string() + ".";
}

std::vector<std::string> GetParagraph(std::string_view name, Language language,
                                      const std::filesystem::path& programFolder,
                                      const std::function<void(const std::string&)>& showError) {
  const Status folder = CheckTemplateFolder(Translate("English", language, programFolder));
  if (!folder.ok()) {
    if (showError) showError(folder.message());
    return {};
  }
  const std::filesystem::path path = ParagraphPath(name, language, programFolder);
  std::vector<std::string> lines = ReadLines(path).value_or(std::vector<std::string>());
  if (HoldsText(lines)) return lines;
  if (showError) showError(MissingParagraphMessage(path));
  return {};
}

ReportSources::ReportSources(std::filesystem::path programFolder, Language language)
    : programFolder_(std::move(programFolder)),
      phrases_(programFolder_, language),
      folder_(phrases_.Translate("English")),
      folderStatus_(CheckTemplateFolder(folder_)) {}

const std::vector<std::string>& ReportSources::Paragraph(const std::string& name) {
  if (const auto found = paragraphs_.find(name); found != paragraphs_.end()) {
    return found->second;
  }
  if (!folderStatus_.ok()) return paragraphs_[name];  // nothing is read outside Templates
  const std::filesystem::path path = PathIn(programFolder_, folder_, name);
  std::vector<std::string> lines = ReadLines(path).value_or(std::vector<std::string>());
  // A paragraph is read once per run, so each missing one is collected once.
  if (!HoldsText(lines)) {
    lines.clear();
    missing_.push_back(path);
  }
  return paragraphs_.emplace(name, std::move(lines)).first->second;
}

}  // namespace ardvane
