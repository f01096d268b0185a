#include "ui/main/plan_history.h"

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <utility>

namespace ardvane {
namespace {

// QUndoStack tries to merge only steps with one id; typed steps share this one.
constexpr int kTypingId = 1;

// The plan without its debts. Naming every member makes this fail to compile when
// PlanDocument gains one, so a new field cannot slip past undo.
PlanDocument WithoutDebts(const PlanDocument& plan) {
  const auto& [firstName, lastName, date, returnRate, priority, consolidate, setupFeeRate, setupFee,
               managementFee, downPayment, minSetupFee, minSavings, minDownPayment, accelerators,
               consolidationLoan, debts, notes] = plan;
  (void)debts;
  return PlanDocument{.FirstName = firstName,
                      .LastName = lastName,
                      .Date = date,
                      .ReturnRate = returnRate,
                      .Priority = priority,
                      .Consolidate = consolidate,
                      .SetupFeeRate = setupFeeRate,
                      .SetupFee = setupFee,
                      .ManagementFee = managementFee,
                      .DownPayment = downPayment,
                      .MinSetupFee = minSetupFee,
                      .MinSavings = minSavings,
                      .MinDownPayment = minDownPayment,
                      .Accelerators = accelerators,
                      .ConsolidationLoan = consolidationLoan,
                      .Debts = DebtList{},
                      .Notes = notes};
}

// The state of `plan`, sharing each part that equals the one in `previous`.
PlanSnapshot Take(const PlanDocument& plan, const PlanSnapshot& previous) {
  PlanSnapshot state = previous;
  if (!state.debts || !(plan.Debts == *state.debts)) {
    state.debts = std::make_shared<const DebtList>(plan.Debts);
  }
  PlanDocument head = WithoutDebts(plan);
  if (!state.head || !(head == *state.head)) {
    state.head = std::make_shared<const PlanDocument>(std::move(head));
  }
  return state;
}

bool SameParts(const PlanSnapshot& a, const PlanSnapshot& b) {
  return a.head == b.head && a.debts == b.debts;
}

bool SameContent(const PlanSnapshot& a, const PlanSnapshot& b) {
  return (a.head == b.head || *a.head == *b.head) && (a.debts == b.debts || *a.debts == *b.debts);
}

PlanDocument Assemble(const PlanSnapshot& state) {
  PlanDocument plan = *state.head;
  plan.Debts = *state.debts;
  return plan;
}

QString ActionText(const QString& verb, const QString& step) {
  return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
}

}  // namespace

// One step: the plan before and after an edit, and the rows to select on undo and redo.
class PlanHistory::Step : public QUndoCommand {
 public:
  Step(PlanHistory& history, const QString& text, PlanSnapshot before, PlanSnapshot after,
       int rowBefore, int rowAfter, bool typing)
      : QUndoCommand(text),
        history_(history),
        before_(std::move(before)),
        after_(std::move(after)),
        rowBefore_(rowBefore),
        rowAfter_(rowAfter),
        typing_(typing) {}

  int id() const override { return typing_ ? kTypingId : -1; }

  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const Step*>(other);  // only steps are pushed
    if (!history_.typingOpen_ || !next->typing_ || next->text() != text()) return false;
    after_ = next->after_;
    rowAfter_ = next->rowAfter_;
    // Typing that ends where it started leaves no step.
    setObsolete(SameContent(before_, after_));
    return true;
  }

  void undo() override { history_.Apply(before_, rowBefore_); }

  void redo() override {
    // Pushing redoes the step, but the edit has already been made.
    if (pushing_) {
      pushing_ = false;
      return;
    }
    history_.Apply(after_, rowAfter_);
  }

 private:
  PlanHistory& history_;
  PlanSnapshot before_;
  PlanSnapshot after_;
  int rowBefore_;
  int rowAfter_;
  bool typing_;
  bool pushing_ = true;
};

PlanHistory::PlanHistory(PlanSession& session, std::function<void(int row)> restored,
                         QObject* parent)
    : QObject(parent), session_(session), restored_(std::move(restored)) {
  stack_.setUndoLimit(kUndoLimit);
  current_ = Take(session_.Plan(), {});

  undoAction_ = new QAction(tr("&Undo"), this);
  undoAction_->setObjectName("Undo1");
  undoAction_->setShortcuts(QKeySequence::Undo);
  undoAction_->setEnabled(false);
  redoAction_ = new QAction(tr("&Redo"), this);
  redoAction_->setObjectName("Redo1");
  // The platform's redo keys, and both common ones whatever the platform offers.
  QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
  for (const QKeySequence& key :
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
    if (!redoKeys.contains(key)) redoKeys.append(key);
  }
  redoAction_->setShortcuts(redoKeys);
  redoAction_->setEnabled(false);

  connect(undoAction_, &QAction::triggered, this, &PlanHistory::Undo);
  connect(redoAction_, &QAction::triggered, this, &PlanHistory::Redo);
  connect(&stack_, &QUndoStack::canUndoChanged, undoAction_, &QAction::setEnabled);
  connect(&stack_, &QUndoStack::canRedoChanged, redoAction_, &QAction::setEnabled);
  connect(&stack_, &QUndoStack::undoTextChanged, undoAction_,
          [this](const QString& step) { undoAction_->setText(ActionText(tr("&Undo"), step)); });
  connect(&stack_, &QUndoStack::redoTextChanged, redoAction_,
          [this](const QString& step) { redoAction_->setText(ActionText(tr("&Redo"), step)); });
}

PlanHistory::~PlanHistory() {
  // The stack's signals reach the actions; they stop before the actions go.
  stack_.disconnect();
}

bool PlanHistory::Record(const QString& text, StepOptions options) {
  return Commit(text, options, options.row, session_.Changed());
}

bool PlanHistory::Commit(const QString& text, const StepOptions& options, int rowAfter,
                         bool wasChanged) {
  PlanSnapshot after = Take(session_.Plan(), current_);
  if (SameParts(after, current_)) {
    // The session may have marked the plan changed; an edit that changed nothing does not.
    session_.SetChanged(wasChanged);
    return false;
  }
  stack_.push(new Step(*this, text, current_, after, options.row, rowAfter, options.typing));
  current_ = std::move(after);
  typingOpen_ = options.typing;
  // Typing back to the saved text leaves the saved state again.
  session_.SetChanged(!stack_.isClean());
  return true;
}

void PlanHistory::RecordPending() { Record(tr("Changes")); }

void PlanHistory::Apply(const PlanSnapshot& state, int row) {
  session_.RestorePlan(Assemble(state));
  current_ = state;
  rowToShow_ = row;
}

void PlanHistory::MarkSaved() {
  const bool saved = !session_.Changed();
  RecordPending();
  typingOpen_ = false;
  if (!saved) return;
  stack_.setClean();
  session_.SetChanged(false);
}

void PlanHistory::Reset() {
  stack_.clear();
  current_ = Take(session_.Plan(), {});
  typingOpen_ = false;
  rowToShow_ = kKeepRow;
  // A new plan may start with unsaved changes; then no step is the saved one.
  if (session_.Changed()) stack_.resetClean();
}

void PlanHistory::Undo() {
  RecordPending();
  if (!stack_.canUndo()) return;
  typingOpen_ = false;
  stack_.undo();
  session_.SetChanged(!stack_.isClean());
  if (restored_) restored_(rowToShow_);
}

void PlanHistory::Redo() {
  RecordPending();
  if (!stack_.canRedo()) return;
  typingOpen_ = false;
  stack_.redo();
  session_.SetChanged(!stack_.isClean());
  if (restored_) restored_(rowToShow_);
}

}  // namespace ardvane
