#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

namespace ardvane {

struct OkCancelButtons {
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
};

// Adds a row to `layout` with "&OK" (okButton: the default button, accepts the dialog) and
// "&Cancel" (cancelButton: rejects it) at its right.
OkCancelButtons AddOkCancelRow(QDialog& dialog, QBoxLayout& layout);

}  // namespace ardvane
