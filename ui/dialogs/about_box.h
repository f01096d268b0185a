#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

namespace ardvane {

// The About box: product name, version, whom the installation was made for, and a link to
// the program's read-me. A click anywhere but the link closes it.
class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  TfrmAbout(const std::filesystem::path& programFolder, const std::string& versionText,
            const std::string& createdFor, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OpenReadMe();
  std::filesystem::path readMe_;
};

}  // namespace ardvane
