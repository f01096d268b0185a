#include "reports/vorn_report.h"

#include <string_view>

namespace ardvane {
namespace {

std::string ReplaceAll(const std::string& text, std::string_view from, std::string_view to) {
  std::string result;
  result.reserve(text.size());
  std::size_t start = 0;
  std::size_t at;
  while ((at = text.find(from, start)) != std::string::npos) {
    result.append(text, start, at - start);
    result.append(to);
    start = at + from.size();
  }
  result.append(text, start, std::string::npos);
  return result;
}

}  // namespace

void TVornReport::addTemplateText(const std::vector<std::string>& lines) {
  template_.insert(template_.end(), lines.begin(), lines.end());
}

void TVornReport::addReplacement(std::string placeholder, std::string value) {
  pairs_.emplace_back(std::move(placeholder), std::move(value));
}

void TVornReport::applyReplacements() {
  if (pairs_.empty() || template_.empty()) return;
  std::string text;
  for (std::size_t i = 0; i < template_.size(); ++i) {
    if (i > 0) text += '\n';
    text += template_[i];
  }
  for (const auto& [placeholder, value] : pairs_) {
    if (placeholder.empty() || text.find(placeholder) == std::string::npos) continue;
    text = ReplaceAll(text, placeholder, value);
  }
  template_.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      template_.push_back(text.substr(start));
      break;
    }
    template_.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace ardvane
