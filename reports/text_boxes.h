#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ardvane {

// A text box of an assembled report: a `<div class="textbox" ...>content</div>` element on
// one line (see dist/Templates/README.md). Offsets are byte positions in the searched text.
struct TextBox {
  std::string name;           // "Text Box 1", "Text Box 2", ... in document order
  std::size_t begin = 0;      // the '<' of the opening tag
  std::size_t contentBegin = 0;  // just after the opening tag's '>'
  std::size_t contentEnd = 0;    // the '<' of the closing "</div>"
  std::size_t end = 0;        // just after the closing "</div>"
};

// Every text box of `html` in document order. A box whose opening tag is not finished or
// that has no closing "</div>" ends the search: it and what follows are not returned.
std::vector<TextBox> FindTextBoxes(std::string_view html);

}  // namespace ardvane
