#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

namespace ardvane {

class WindowPrompts;

// The About box: product name, version, whom the installation was made for, and a link to
// the program's read-me, opened through `prompts`. A read-me that is missing, or that the
// desktop cannot open, is said through `prompts` (also after the box has closed). A click
// anywhere but the link closes it.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  AboutBox(const std::filesystem::path& programFolder, const std::string& versionText,
           const std::string& createdFor, WindowPrompts& prompts, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OpenReadMe();

  std::filesystem::path readMe_;
  WindowPrompts& prompts_;
};

}  // namespace ardvane
