#include "ui/dialogs/notes_window.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>
#include <utility>

#include "planfiles/plan_session.h"
#include "platform/desktop_open.h"
#include "ui/widgets/design_pixels.h"
#include "ui/widgets/qt_text.h"
#include "ui/widgets/window_prompts.h"

namespace ardvane {

NotesWindow::NotesWindow(PlanSession& session, const AppSettings& settings,
                         const RegionalSettings& regional, std::filesystem::path programFolder,
                         WindowPrompts& prompts, Clock now, DesktopOpen open, QWidget* parent)
    : QDialog(parent),
      session_(session),
      settings_(settings),
      regional_(regional),
      programFolder_(std::move(programFolder)),
      prompts_(prompts),
      now_(std::move(now)),
      open_(std::move(open)) {
  if (!open_) {
    open_ = [&prompts](const std::string& path, DesktopOpenDone done) {
      prompts.OpenDocument(path, std::move(done));
    };
  }
  setObjectName("frmNotes");
  setWindowTitle("Notes");
  setModal(false);
  const DesignPixels px(*this);
  resize(px(640), px(480));

  memoNotes = new QPlainTextEdit(this);
  memoNotes->setObjectName("memoNotes");
  memoNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memoNotes->setTabChangesFocus(true);
  connect(memoNotes, &QPlainTextEdit::textChanged, this, [this] {
    if (!filling_) notesEdited_ = true;
  });
  okButton = new QPushButton("&OK", this);
  okButton->setObjectName("btnOK");
  okButton->setDefault(true);
  cancelButton = new QPushButton("&Cancel", this);
  cancelButton->setObjectName("btnCancel");
  printButton = new QPushButton("&Print", this);
  printButton->setObjectName("btnPrint");
  connect(okButton, &QPushButton::clicked, this, &NotesWindow::accept);
  connect(cancelButton, &QPushButton::clicked, this, &NotesWindow::reject);
  connect(printButton, &QPushButton::clicked, this, &NotesWindow::Print);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memoNotes, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(printButton);
  buttons->addStretch(1);
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  layout->addLayout(buttons);
}

void NotesWindow::FillFromPlan() {
  const std::vector<std::string> lines =
      NotesForEditing(session_.Plan().Notes, NotesHeading(now_(), regional_));
  QStringList text;
  for (const std::string& line : lines) text << Q(line);
  filling_ = true;
  memoNotes->setPlainText(text.join('\n'));
  filling_ = false;
  notesEdited_ = false;
  memoNotes->moveCursor(QTextCursor::End);
}

void NotesWindow::ShowPlanNotes() {
  if (isVisible() && !notesEdited_) FillFromPlan();
}

void NotesWindow::OpenNotes() {
  if (!isVisible()) FillFromPlan();
  show();
  raise();
  activateWindow();
  memoNotes->setFocus();
}

std::vector<std::string> NotesWindow::TextLines() const {
  // The raw text keeps every character as typed (toPlainText would turn non-breaking spaces
  // into blanks); its paragraph separators are line breaks.
  return SplitNoteLines(memoNotes->document()->toRawText().toStdString());
}

void NotesWindow::accept() {
  if (notesEdited_) {
    session_.SetNotes(TextLines());
    notesEdited_ = false;
  }
  QDialog::accept();
}

void NotesWindow::reject() { QDialog::reject(); }

void NotesWindow::Print() {
  const std::string folder = ReportFolder(settings_.ReportDirectory, programFolder_);
  std::error_code ec;
  // One folder level is made; a deeper missing folder shows as the write's error.
  if (!std::filesystem::exists(folder, ec)) {
    std::filesystem::create_directory(folder, ec);
  }
  const std::filesystem::path path =
      ReportFilePath(folder, NotesFileName(session_.Plan(), regional_));
  if (std::filesystem::exists(path, ec)) {
    switch (prompts_.AskFileExists(path.string())) {
      case FileExistsAnswer::Overwrite:
        if (!PrintNotes(path)) return;
        break;
      case FileExistsAnswer::Open:
        break;
      case FileExistsAnswer::Cancel:
        return;
    }
  } else if (!PrintNotes(path)) {
    return;
  }
  open_(path.string(), [window = QPointer<NotesWindow>(this)](DesktopOpenResult result) {
    if (window && result != DesktopOpenResult::kOpened) {
      window->prompts_.ShowInformation(
          "A text editor is required to print client notes.  Please make sure you have a text "
          "editor properly installed.");
    }
  });
}

bool NotesWindow::PrintNotes(const std::filesystem::path& path) {
  const Status written = WriteNotesFile(path, notesEdited_ ? TextLines() : session_.Plan().Notes);
  if (!written.ok()) prompts_.ShowError(written.message());
  return written.ok();
}

}  // namespace ardvane
