// Speed of the monthly tables window: opening it on "All Debts" for a plan of 50 debts whose
// schedule runs to the 1080-month limit, laid out and painted, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "engine/calendar.h"
#include "engine/plan_calculation.h"
#include "tests/ui/fake_prompts.h"
#include "ui/dialogs/detail_window.h"

namespace ardvane {
namespace {

PlanDocument LongPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 12, 7);
  plan.ReturnRate = Percent(6);
  for (int i = 0; i < 50; ++i) {
    // Interest-free debts paid over 1080 months: the current plan runs to the limit.
    const int payment = 20 + i;
    Debt debt;
    debt.Name = "Debt " + std::to_string(i + 1);
    debt.Balance = GeneralValue(1080 * payment);
    debt.InterestRate = Percent(0);
    debt.CurrentPayment = GeneralValue(payment);
    debt.MinimumPaymentAmount = GeneralValue(payment);
    plan.Debts.AddDebt(debt);
  }
  return plan;
}

void BM_MonthlyTablesOpen(benchmark::State& state) {
  const PlanDocument plan = LongPlan();
  const PlanResults results = Calculate(plan, PlanParameters{}, AppSettings{});
  const RegionalSettings regional;
  testing::FakePrompts prompts;
  for (auto _ : state) {
    DetailWindow window(plan, results, regional, prompts, "Long.bvx", nullptr);
    window.show();
    QApplication::processEvents();  // laid out and painted
  }
  state.counters["current_months"] = results.CurrentPlan.GetDebtFreeMonths();
  state.counters["projection_months"] = results.ProjectionMonths;
}

BENCHMARK(BM_MonthlyTablesOpen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ardvane
