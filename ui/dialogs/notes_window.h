#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>

#include "engine/settings.h"
#include "inputs/client_notes.h"
#include "platform/desktop_open.h"

class QPlainTextEdit;
class QPushButton;

namespace ardvane {

class PlanSession;
class WindowPrompts;

// The client notes window: a free text of the plan's notes, edited beside the main window
// (not modal). Made once, on the first use, and kept for the run; closing only hides it.
//
// Each opening (OpenNotes while the window is not on screen) shows the plan's notes with a
// new heading below them: the date and time of `now` and ":". OK takes the text into the plan
// when it was edited (an opening that typed nothing leaves the plan as it was); Cancel takes
// nothing. Print writes the text (or, when nothing was typed, the plan's notes) to
// "Last, First notes <date>.rtf" in the report folder and asks the desktop to open it; when
// the desktop says it could not, the text editor message follows.
class NotesWindow : public QDialog {
  Q_OBJECT

 public:
  using Clock = std::function<LocalDateTime()>;
  // The desktop's "Open" action: `done` receives its result, below 32 for a failure.
  using DesktopOpen = std::function<void(const std::string& path, DesktopOpenDone done)>;

  // `settings` is read at each print, so a report folder changed meanwhile is used; an empty or
  // relative one lies in `programFolder` (ReportFolder). Without `open`, documents are opened
  // through `prompts`.
  NotesWindow(PlanSession& session, const AppSettings& settings, const RegionalSettings& regional,
              std::filesystem::path programFolder, WindowPrompts& prompts, Clock now,
              DesktopOpen open, QWidget* parent);

  // Fills the window when it is not on screen, shows it and puts the focus in the text.
  void OpenNotes();
  bool NotesEdited() const { return notesEdited_; }
  // The plan's notes changed elsewhere (an undo): an open window that holds nothing typed
  // shows them; what the adviser typed is never replaced.
  void ShowPlanNotes();

  // Print: writes the notes file, after asking about an existing one, and opens it.
  void Print();
  // Writes the notes to `path`; false (the error shown) when the file cannot be written.
  bool PrintNotes(const std::filesystem::path& path);

 public slots:
  // OK: the text becomes the plan's notes when it was edited; the window hides.
  void accept() override;
  // Cancel, Escape and the window's close button: the window hides, the plan keeps its notes.
  void reject() override;

 private:
  std::vector<std::string> TextLines() const;
  // The plan's notes and a new heading, with the cursor on the line below it.
  void FillFromPlan();

  PlanSession& session_;
  const AppSettings& settings_;
  RegionalSettings regional_;
  std::filesystem::path programFolder_;
  WindowPrompts& prompts_;
  Clock now_;
  DesktopOpen open_;
  bool notesEdited_ = false;
  bool filling_ = false;

  QPlainTextEdit* memoNotes = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
  QPushButton* printButton = nullptr;
};

}  // namespace ardvane
