#include "ui/dialogs/file_exists_dialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/widgets/qt_text.h"

namespace ardvane {

FileExistsDialog::FileExistsDialog(const std::string& path, QWidget* parent) : QDialog(parent) {
  setObjectName("frmFileExists");
  setWindowTitle("Information");
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->setSpacing(16);
  auto* top = new QHBoxLayout;
  top->setSpacing(12);
  auto* image = new QLabel(this);
  image->setObjectName("Image1");
  image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  image->setAlignment(Qt::AlignTop);
  top->addWidget(image);
  auto* texts = new QVBoxLayout;
  auto* header = new QLabel("An existing version of this file was found on your hard drive:", this);
  header->setObjectName("lblHeader");
  auto* location = new QLabel(Q(path), this);
  location->setObjectName("lblFileLocation");
  location->setWordWrap(true);
  location->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = location->font();
  bold.setBold(true);
  location->setFont(bold);
  texts->addWidget(header);
  texts->addWidget(location);
  top->addLayout(texts, 1);
  layout->addLayout(top);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  const auto button = [this, buttons](const char* name, const char* caption,
                                      FileExistsAnswer choice) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, [this, choice] { Choose(choice); });
    buttons->addWidget(b);
    return b;
  };
  QPushButton* overwrite = button("btnOverwrite", "Over&write It", FileExistsAnswer::Overwrite);
  button("btnOpen", "&Open It", FileExistsAnswer::Open);
  button("btnCancel", "&Cancel", FileExistsAnswer::Cancel);
  overwrite->setDefault(true);
  overwrite->setFocus();
  layout->addLayout(buttons);
  // Escape and the window's close button reject the dialog, which leaves the answer Cancel.
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FileExistsDialog::Choose(FileExistsAnswer choice) {
  choice_ = choice;
  if (choice == FileExistsAnswer::Cancel) {
    reject();
  } else {
    accept();
  }
}

void FileExistsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

FileExistsAnswer FileExistsDialog::Ask(const std::string& path, QWidget* parent) {
  FileExistsDialog dialog(path, parent);
  dialog.exec();
  return dialog.Choice();
}

}  // namespace ardvane
