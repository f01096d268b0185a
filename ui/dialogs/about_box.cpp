#include "ui/dialogs/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <system_error>

#include "ui/widgets/qt_text.h"
#include "ui/widgets/window_prompts.h"

namespace ardvane {

AboutBox::AboutBox(const std::filesystem::path& programFolder, const std::string& versionText,
                   const std::string& createdFor, WindowPrompts& prompts, QWidget* parent)
    : QDialog(parent), readMe_(programFolder / "README.txt"), prompts_(prompts) {
  setObjectName("frmAbout");
  setWindowTitle("About");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);

  auto* name = new QLabel("Ardvane", this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 2.2);
  big.setBold(true);
  name->setFont(big);
  layout->addWidget(name);

  auto* versionLabel = new QLabel(Q("Version " + versionText), this);
  versionLabel->setObjectName("lblVersion");
  layout->addWidget(versionLabel);
  auto* createdForLabel = new QLabel(Q("Created for:  " + createdFor), this);
  createdForLabel->setObjectName("lblCreatedFor");
  createdForLabel->setVisible(!createdFor.empty());
  layout->addWidget(createdForLabel);
  layout->addSpacing(12);

  auto* linkRow = new QHBoxLayout;
  auto* picture = new QLabel(this);
  picture->setObjectName("imgLink");
  picture->setPixmap(style()->standardIcon(QStyle::SP_DialogHelpButton).pixmap(32, 32));
  picture->setCursor(Qt::PointingHandCursor);
  picture->installEventFilter(this);
  auto* link = new QLabel("Read me: about this program", this);
  link->setObjectName("lblLink");
  link->setStyleSheet("color: blue; text-decoration: underline;");
  link->setCursor(Qt::PointingHandCursor);
  link->installEventFilter(this);
  linkRow->addWidget(picture);
  linkRow->addWidget(link);
  linkRow->addStretch(1);
  layout->addLayout(linkRow);
  layout->addStretch(1);

  const auto small = [this, layout](const char* text) {
    auto* label = new QLabel(text, this);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    label->setWordWrap(true);
    layout->addWidget(label);
  };
  small("This program is protected by copyright law. Unauthorised copying or distribution of "
        "this program, or of any part of it, is prohibited.");
  small("Figures are projections from the values entered and are not a guarantee of results.");

  setMinimumSize(632, 223);
  setFixedSize(sizeHint().expandedTo(QSize(632, 223)));
}

void AboutBox::OpenReadMe() {
  std::error_code ec;
  if (!std::filesystem::exists(readMe_, ec)) {
    std::string message = "Read me not found:\n\n";
    message += readMe_.string();
    prompts_.ShowInformation(message);
    return;
  }
  // The prompts outlive the box, which may be closed before the desktop answers.
  prompts_.OpenDocument(
      readMe_.string(), [&prompts = prompts_, path = readMe_](DesktopOpenResult result) {
        if (result != DesktopOpenResult::kOpened) {
          std::string message = "A text editor is required to read ";
          message += path.string();
          message += ".  Please make sure you have a text editor properly installed.";
          prompts.ShowInformation(message);
        }
      });
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
  event->accept();
  accept();
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    OpenReadMe();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace ardvane
