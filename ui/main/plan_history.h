#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

#include "planfiles/plan_session.h"

class QAction;

namespace ardvane {

// The state of the plan at one step of the history. The debts are kept apart from the rest so
// that steps which leave them alone share one copy: a plan may hold thousands of debts.
struct PlanSnapshot {
  std::shared_ptr<const PlanDocument> head;  // everything but the debts (its Debts are empty)
  std::shared_ptr<const DebtList> debts;
};

// How an edit becomes a step of the history.
struct PlanStepOptions {
  // The debt row selected when the edit starts, counted from 0 (-1: keep the selection).
  int row = -1;
  // Typed edits: successive edits with one text make one step, until EndTyping() (the
  // window calls it when the field is left), another kind of edit, undo or redo.
  bool typing = false;
};

// Undo and redo of the edits of the open plan, over a PlanSession.
//
// Every edit runs through Edit(): the operation changes the session, and when the plan then
// differs from the state the history last knew, one step with the states before and after is
// pushed. An operation that changes nothing pushes nothing and leaves the Changed flag as it
// was. Changes made by a window that writes the session itself (the notes window's OK) are
// taken in with Record() right after.
//
// The saved state is a step of the history: undo or redo back to it clears the session's
// Changed flag, leaving it sets the flag. New and Open start a fresh history (Reset).
//
// Rows are debt rows counted from 0 (-1: keep the selection as it is). Each step remembers
// the row selected when the edit started, shown again on undo, and the row the edit left
// selected, shown again on redo.
class PlanHistory : public QObject {
  Q_OBJECT

 public:
  static constexpr int kKeepRow = PlanStepOptions{}.row;
  // Steps kept; older ones are dropped. Each step of a debt edit holds a copy of the debts.
  static constexpr int kUndoLimit = 100;

  using StepOptions = PlanStepOptions;

  // `restored` runs once after each undo or redo, with the debt row to select; the window
  // shows the plan, recalculates and refreshes there.
  PlanHistory(PlanSession& session, std::function<void(int row)> restored,
              QObject* parent = nullptr);
  ~PlanHistory() override;

  // Runs `op(session)` and pushes a step named `text` when the plan changed. `op` may return
  // void, bool (ignored: the plan itself is compared) or std::optional<int>, the debt row to
  // select after the edit (nothing: keep options.row). True when a step was pushed or merged.
  template <typename Op>
  bool Edit(const QString& text, Op&& op, StepOptions options = {});
  // Takes in a change already made to the session as one step named `text`.
  bool Record(const QString& text, StepOptions options = {});
  // Ends the typed edit in progress: the next typed edit starts a new step.
  void EndTyping() { typingOpen_ = false; }

  // Call after a save was tried: when the session has no unsaved changes, the current state
  // becomes the saved one.
  void MarkSaved();
  // Call after New or Open (and once the window has shown its first plan): forgets every
  // step. The current plan counts as saved unless the session reports unsaved changes.
  void Reset();

  // Undo or redo one step, then run the `restored` callback once. A change the history has
  // not been told of is first taken in as a step of its own ("Changes"), so nothing is lost.
  void Undo();
  void Redo();
  bool CanUndo() const { return stack_.canUndo(); }
  bool CanRedo() const { return stack_.canRedo(); }
  QString UndoText() const { return stack_.undoText(); }
  QString RedoText() const { return stack_.redoText(); }
  int StepCount() const { return stack_.count(); }

  // "&Undo <step>" and "&Redo <step>" with the standard shortcuts (Redo has both
  // Ctrl+Shift+Z and Ctrl+Y), disabled when there is nothing to undo or redo. Owned by the
  // history; the window adds them to its Edit menu.
  QAction* UndoAction() const { return undoAction_; }
  QAction* RedoAction() const { return redoAction_; }

 private:
  class Step;
  bool Commit(const QString& text, const StepOptions& options, int rowAfter, bool wasChanged);
  void Apply(const PlanSnapshot& state, int row);
  void RecordPending();

  PlanSession& session_;
  std::function<void(int)> restored_;
  QUndoStack stack_;
  PlanSnapshot current_;  // the state the history last knew; the session's plan when in step
  bool typingOpen_ = false;
  int rowToShow_ = kKeepRow;
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
};

template <typename Op>
bool PlanHistory::Edit(const QString& text, Op&& op, StepOptions options) {
  const bool wasChanged = session_.Changed();
  int rowAfter = options.row;
  using Result = std::remove_cvref_t<std::invoke_result_t<Op&, PlanSession&>>;
  if constexpr (std::is_same_v<Result, std::optional<int>>) {
    if (const std::optional<int> row = op(session_)) rowAfter = *row;
  } else {
    static_assert(std::is_void_v<Result> || std::is_same_v<Result, bool>,
                  "an edit returns void, bool or the row to select");
    op(session_);
  }
  return Commit(text, options, rowAfter, wasChanged);
}

}  // namespace ardvane
