#include "settings/preferences_rules.h"

#include <system_error>

namespace ardvane {

std::string ReportFolderSetting(const std::string& text,
                                const std::filesystem::path& programFolder) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  std::string folder = text.substr(begin, end - begin);
  if (folder.empty()) {
    folder = programFolder.string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + "Reports/";
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::optional<Language> PrintLanguageOf(int code) {
  if (code == kPrintLanguageAsk) return std::nullopt;
  return code == kPrintLanguageSpanish ? Language::kSpanish : Language::kEnglish;
}

int LanguageSetting(bool english, bool spanish, bool ask, int current) {
  if (english) return kPrintLanguageEnglish;
  if (spanish) return kPrintLanguageSpanish;
  if (ask) return kPrintLanguageAsk;
  return current;
}

bool ContractTemplateExists(const std::filesystem::path& programFolder) {
  std::error_code ec;
  return std::filesystem::is_regular_file(programFolder / "Templates" / "Contract.ktf", ec);
}

}  // namespace ardvane
