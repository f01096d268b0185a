#include "reports/text_boxes.h"

namespace ardvane {

std::vector<TextBox> FindTextBoxes(std::string_view html) {
  static constexpr std::string_view kOpening = "<div class=\"textbox\"";
  static constexpr std::string_view kClosing = "</div>";
  std::vector<TextBox> boxes;
  std::size_t at = 0;
  while ((at = html.find(kOpening, at)) != std::string_view::npos) {
    const std::size_t next = at + kOpening.size();
    // "<div class="textbox"" must end the attribute there, not begin a longer class name.
    if (next < html.size() && html[next] != '>' && html[next] != ' ' && html[next] != '\t') {
      at = next;
      continue;
    }
    const std::size_t tagEnd = html.find('>', next);
    if (tagEnd == std::string_view::npos) break;
    const std::size_t closing = html.find(kClosing, tagEnd + 1);
    if (closing == std::string_view::npos) break;
    TextBox box;
    box.name = "Text Box " + std::to_string(boxes.size() + 1);
    box.begin = at;
    box.contentBegin = tagEnd + 1;
    box.contentEnd = closing;
    box.end = closing + kClosing.size();
    at = box.end;
    boxes.push_back(std::move(box));
  }
  return boxes;
}

}  // namespace ardvane
