#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ardvane {

// Fills one report paragraph: the template's lines with every registered placeholder
// replaced by its value. One object serves a whole report; the pairs are cleared and the
// template replaced for each paragraph.
class TVornReport {
 public:
  // Adopts `lines` as the template, dropping the previous template's lines.
  void setTemplateText(std::vector<std::string> lines) { template_ = std::move(lines); }
  void addTemplateText(const std::vector<std::string>& lines);
  void addTemplateTextString(std::string line) { template_.push_back(std::move(line)); }
  void clearTemplateText() { template_.clear(); }

  // Appends a pair after all earlier ones; a placeholder registered twice is replaced by both
  // pairs in order.
  void addReplacement(std::string placeholder, std::string value);
  void clearReplacements() { pairs_.clear(); }

  // Replaces, pair by pair in the order of registration, every occurrence of the placeholder
  // in the whole template text (lines joined by line breaks, matched case-sensitively and
  // literally) by the value, then splits the text into lines again. Each pair works on the
  // result of the earlier ones: a value holding a placeholder registered later is replaced
  // again, one registered earlier is not. An empty placeholder matches nothing.
  // The result is the template itself: reportText() and the template are the same lines.
  void applyReplacements();

  const std::vector<std::string>& reportText() const { return template_; }

 private:
  std::vector<std::string> template_;
  std::vector<std::pair<std::string, std::string>> pairs_;
};

}  // namespace ardvane
