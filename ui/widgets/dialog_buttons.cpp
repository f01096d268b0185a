#include "ui/widgets/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace ardvane {

OkCancelButtons AddOkCancelRow(QDialog& dialog, QBoxLayout& layout) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  OkCancelButtons buttons;
  buttons.ok = new QPushButton("&OK", &dialog);
  buttons.ok->setObjectName("btnOK");
  buttons.ok->setDefault(true);
  buttons.cancel = new QPushButton("&Cancel", &dialog);
  buttons.cancel->setObjectName("btnCancel");
  QObject::connect(buttons.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(buttons.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  row->addWidget(buttons.ok);
  row->addWidget(buttons.cancel);
  layout.addLayout(row);
  return buttons;
}

}  // namespace ardvane
