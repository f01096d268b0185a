// Cost of undo's bookkeeping on a plan of thousands of debts, without the window: what one
// keystroke in a field adds, and one debt edit undone and redone. The window's recalculation
// and redraw after an undo are measured by BM_EditToRedraw's path.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/calendar.h"
#include "tests/ui/fake_prompts.h"
#include "ui/main/plan_history.h"

namespace ardvane {
namespace {

constexpr int kDebts = 5000;

void FillDebts(PlanSession& session) {
  for (int i = 0; i < kDebts; ++i) {
    Debt debt;
    debt.Name = "Debt " + std::to_string(i + 1);
    debt.Balance = GeneralValue(1000 + i);
    debt.InterestRate = Percent(12);
    debt.CurrentPayment = 60;
    session.AddDebt(debt);
  }
}

void BM_PlanHistoryTypedEdit(benchmark::State& state) {
  testing::FakePrompts prompts;
  PlanSession session(PlanParameters{}, RegionalSettings{}, EncodeDate(2026, 12, 7), prompts);
  FillDebts(session);
  PlanHistory history(session, nullptr);
  history.Reset();
  std::string name;
  for (auto _ : state) {
    name = name.size() < 20 ? name + 'a' : std::string();
    history.Edit("Client Name", [&](PlanSession& s) { return s.SetFirstName(name); },
                 {.typing = true});
  }
}

void BM_PlanHistoryDebtEditUndoRedo(benchmark::State& state) {
  testing::FakePrompts prompts;
  PlanSession session(PlanParameters{}, RegionalSettings{}, EncodeDate(2026, 12, 7), prompts);
  FillDebts(session);
  PlanHistory history(session, nullptr);
  history.Reset();
  int balance = 0;
  for (auto _ : state) {
    Debt debt = session.Plan().Debts.At(kDebts / 2);
    debt.Balance = GeneralValue(++balance);
    history.Edit("Edit Debt", [&](PlanSession& s) { s.EditDebt(kDebts / 2, debt); });
    history.Undo();
    history.Redo();
  }
}

BENCHMARK(BM_PlanHistoryTypedEdit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanHistoryDebtEditUndoRedo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ardvane
