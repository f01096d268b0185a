#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ardvane {

// Fills one report paragraph: the template's lines with every registered placeholder
// replaced by its value. One object serves a whole report; the pairs are cleared and the
// template replaced for each paragraph.
class ReportDocument {
 public:
  // Adopts `lines` as the template, dropping the previous template's lines.
  void setTemplateText(std::vector<std::string> lines) { template_ = std::move(lines); }
  void addTemplateText(const std::vector<std::string>& lines);
  void addTemplateTextString(std::string line) { template_.push_back(std::move(line)); }
  void clearTemplateText() { template_.clear(); }

  // Appends a pair after all earlier ones. A placeholder registered twice keeps the value of
  // its first pair.
  void addReplacement(std::string placeholder, std::string value);
  void clearReplacements() { pairs_.clear(); }

  // Fills the template in one pass from its start over the whole text (lines joined by line
  // breaks): at each position the first registered placeholder found there (matched
  // case-sensitively and literally) is replaced by its value, and the scan goes on after
  // it. A value is inserted as it stands and never scanned again, so a value that holds a
  // placeholder prints that placeholder's text. An empty placeholder matches nothing. The
  // text is then split into lines again, so a value holding a line break adds a line.
  // The result is no longer than the template plus the inserted values, and the time grows
  // linearly with the template's length (times the number of pairs), whatever the values hold.
  // The result is the template itself: reportText() and the template are the same lines.
  void applyReplacements();

  const std::vector<std::string>& reportText() const { return template_; }

 private:
  std::vector<std::string> template_;
  std::vector<std::pair<std::string, std::string>> pairs_;
};

}  // namespace ardvane
