#include "reports/report_document.h"

#include <limits>
#include <string_view>

namespace ardvane {

void ReportDocument::addTemplateText(const std::vector<std::string>& lines) {
  template_.insert(template_.end(), lines.begin(), lines.end());
}

void ReportDocument::addReplacement(std::string placeholder, std::string value) {
  pairs_.emplace_back(std::move(placeholder), std::move(value));
}

void ReportDocument::applyReplacements() {
  if (pairs_.empty() || template_.empty()) return;
  std::string joined;
  for (std::size_t i = 0; i < template_.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += template_[i];
  }
  const std::string_view text = joined;

  // The next occurrence of every pair's placeholder at or after the scan position. Each
  // search starts past the previous one, so every placeholder scans the text about once.
  constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> next(pairs_.size(), kNone);
  const auto findFrom = [&](std::size_t pair, std::size_t from) {
    const std::string& placeholder = pairs_[pair].first;
    const std::size_t at =
        placeholder.empty() ? std::string_view::npos : text.find(placeholder, from);
    next[pair] = at == std::string_view::npos ? kNone : at;
  };
  for (std::size_t pair = 0; pair < pairs_.size(); ++pair) findFrom(pair, 0);

  std::string result;
  result.reserve(text.size());
  std::size_t position = 0;
  while (true) {
    // The earliest occurrence; at equal positions the pair registered first.
    std::size_t chosen = kNone;
    for (std::size_t pair = 0; pair < pairs_.size(); ++pair) {
      if (next[pair] != kNone && (chosen == kNone || next[pair] < next[chosen])) chosen = pair;
    }
    if (chosen == kNone) break;
    const std::size_t at = next[chosen];
    result.append(text, position, at - position);
    result += pairs_[chosen].second;
    position = at + pairs_[chosen].first.size();
    // Occurrences that began inside the replaced text are gone with it.
    for (std::size_t pair = 0; pair < pairs_.size(); ++pair) {
      if (next[pair] != kNone && next[pair] < position) findFrom(pair, position);
    }
  }
  result.append(text, position, std::string_view::npos);

  template_.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t end = result.find('\n', start);
    if (end == std::string::npos) {
      template_.push_back(result.substr(start));
      break;
    }
    template_.push_back(result.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace ardvane
