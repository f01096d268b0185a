// Speed of the main window: start-up with the sample plan, and one edit from the changed
// field to the refreshed window (store, Calculate, every label, the three charts and the four
// chart forms), on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "bench/payload_folder.h"
#include "engine/calendar.h"
#include "planfiles/plan_file.h"
#include "tests/ui/fake_prompts.h"
#include "ui/dialogs/setup_fee_dialog.h"
#include "ui/main/main_window.h"
#include "ui/widgets/amount_field.h"

namespace ardvane {
namespace {

// Every question answered as a user who declines, every message dropped.
using SilentPrompts = testing::FakePrompts;

MainWindowOptions Options(const PayloadFolder& folder, const std::filesystem::path& plan) {
  MainWindowOptions options;
  options.programFolder = folder.path();
  options.today = EncodeDate(2026, 12, 7);
  options.arguments = {plan.string()};
  return options;
}

// With `hopeless`, one more debt whose interest outruns what the budget can give it, so the
// proposed plan never pays it off and every refresh also searches for the power payment that
// would (about 30 calculations of the plan).
std::filesystem::path LargePlan(const PayloadFolder& folder, bool hopeless = false) {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 12, 7);
  plan.ReturnRate = Percent(6);
  plan.Consolidate = true;
  plan.ConsolidationLoan.Term = 5;
  plan.ConsolidationLoan.InterestRate = Percent(7.5);
  for (int i = 0; i < 50; ++i) {
    const double balance = 1000 + 997.0 * i;
    const double rate = 6 + (i % 17);
    const double payment = balance * (rate / 1200) + balance / (24 + 7 * i);
    Debt debt;
    debt.Name = "Debt " + std::to_string(i + 1);
    debt.Balance = GeneralValue(balance);
    debt.InterestRate = Percent(GeneralValue(rate));
    debt.CurrentPayment = GeneralValue(payment);
    debt.MinimumPaymentAmount = GeneralValue(payment * 0.6);
    debt.Consolidate = i % 5 == 0;
    plan.Debts.AddDebt(debt);
  }
  if (hopeless) {
    Debt card;
    card.Name = "Hopeless card";
    card.Balance = 2000000;
    card.InterestRate = Percent(29.99);
    card.CurrentPayment = 300;
    card.MinimumPaymentAmount = 300;
    plan.Debts.AddDebt(card);
  }
  const auto path = folder.path() / "Large.bvx";
  if (const Status saved = SaveData(plan, path); !saved.ok()) {
    std::cerr << "cannot save the large plan: " << saved.message() << "\n";
    std::abort();
  }
  return path;
}

// `page` is the page in view: 0 the payoff chart's, 4 "Strategies", whose every priority is
// compared again after each edit.
void EditToRedraw(benchmark::State& state, bool large, int page = 0, bool hopeless = false) {
  PayloadFolder folder;
  const auto plan = large ? LargePlan(folder, hopeless) : folder.path() / "Sample.bvx";
  SilentPrompts prompts;
  MainWindow window(Options(folder, plan), prompts);
  // The page in view is repainted after every refresh (on page 0, the payoff chart).
  window.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(page);
  window.show();
  QApplication::processEvents();
  auto* power = window.findChild<AmountField*>("ntmskAccelerator");
  double value = 100;
  for (auto _ : state) {
    value = value == 100 ? 150 : 100;
    power->SetNumericValue(value);  // the field changes and the plan takes its value
    window.Recalculate();           // leaving the field recalculates
    QApplication::processEvents();  // the window lays out and paints what changed
  }
  state.counters["proposed_months"] = window.Results().ProposedPlan.GetDebtFreeMonths();
}

void BM_EditToRedraw(benchmark::State& state) { EditToRedraw(state, false); }
void BM_EditToRedrawLarge(benchmark::State& state) { EditToRedraw(state, true); }
void BM_EditToRedrawStrategies(benchmark::State& state) { EditToRedraw(state, false, 4); }
void BM_EditToRedrawNeverPaidOff(benchmark::State& state) { EditToRedraw(state, true, 0, true); }

// An undo or a redo of that edit from the Edit menu: the plan put back, recalculated and
// every figure, the grid and the charts shown again.
void BM_UndoToRedraw(benchmark::State& state) {
  PayloadFolder folder;
  SilentPrompts prompts;
  MainWindow window(Options(folder, folder.path() / "Sample.bvx"), prompts);
  window.show();
  QApplication::processEvents();
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  for (const QMenu* menu : window.findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      if (action->objectName() == "Undo1") undo = action;
      if (action->objectName() == "Redo1") redo = action;
    }
  }
  auto* power = window.findChild<AmountField*>("ntmskAccelerator");
  power->SetNumericValue(175);
  window.Recalculate();
  if (!undo || !redo || !undo->isEnabled()) {
    state.SkipWithError("the edit gave no step to undo");
    return;
  }
  bool undone = false;
  for (auto _ : state) {
    (undone ? redo : undo)->trigger();
    undone = !undone;
    QApplication::processEvents();
  }
  state.counters["proposed_months"] = window.Results().ProposedPlan.GetDebtFreeMonths();
}

void BM_MainWindowStartUp(benchmark::State& state) {
  PayloadFolder folder;
  SilentPrompts prompts;
  for (auto _ : state) {
    MainWindow window(Options(folder, folder.path() / "Sample.bvx"), prompts);
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.Results());
  }
}

// One live change in the plan fee dialog: the rate field is left, the plan takes all six
// values, calculates, and the main window and the dialog show the new figures.
void BM_SetupFeeLiveRecalculation(benchmark::State& state) {
  PayloadFolder folder;
  SilentPrompts prompts;
  MainWindow window(Options(folder, folder.path() / "Sample.bvx"), prompts);
  window.show();
  QApplication::processEvents();
  // The dialog is modal: the measurement runs inside its event loop.
  QTimer::singleShot(0, [&state] {
    auto* dialog = qobject_cast<SetupFeeDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      state.SkipWithError("the plan fee dialog did not open");
      return;
    }
    QApplication::setActiveWindow(dialog);
    auto* rate = dialog->findChild<AmountField*>("ntmskSetupFeeRate");
    auto* next = dialog->findChild<AmountField*>("ntmskDownPayment");
    double value = 10;
    for (auto _ : state) {
      value = value == 10 ? 20 : 10;
      rate->setFocus(Qt::TabFocusReason);
      rate->SetNumericValue(value);
      next->setFocus(Qt::TabFocusReason);  // leaving the field stores and recalculates
      QApplication::processEvents();
    }
    dialog->reject();
  });
  window.EditPlanFee();
  state.counters["fee"] = static_cast<double>(window.Results().ActualSetupFee.Units());
}

BENCHMARK(BM_EditToRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditToRedrawStrategies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoToRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetupFeeLiveRecalculation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditToRedrawLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditToRedrawNeverPaidOff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindowStartUp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ardvane

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
