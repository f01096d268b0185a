#pragma once

#include <QDialog>
#include <string>

#include "reports/document_output.h"

class QLabel;
class QPushButton;

namespace ardvane {

// The question about an existing report file: overwrite it, open it as it is, or cancel.
// Enter overwrites; Escape and closing the window cancel.
class FileExistsDialog : public QDialog {
  Q_OBJECT

 public:
  FileExistsDialog(const std::string& path, QWidget* parent);

  // The answer once the dialog has closed (Cancel until then).
  FileExistsAnswer Choice() const { return choice_; }

  // Shows the dialog modally and gives the answer.
  static FileExistsAnswer Ask(const std::string& path, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Choose(FileExistsAnswer choice);

  FileExistsAnswer choice_ = FileExistsAnswer::Cancel;
};

}  // namespace ardvane
