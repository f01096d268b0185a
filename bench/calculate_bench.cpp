// Speed of a whole plan calculation: the window recalculates on every edit.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "engine/calculation_limits.h"
#include "engine/calendar.h"
#include "engine/plan_calculation.h"
#include "figures/plan_figures.h"

namespace ardvane {
namespace {

void AddDebt(PlanDocument& plan, std::string name, double balance, double rate, double payment,
             double minimum, bool consolidate = false) {
  Debt debt;
  debt.Name = std::move(name);
  debt.Balance = GeneralValue(balance);
  debt.InterestRate = Percent(GeneralValue(rate));
  debt.CurrentPayment = GeneralValue(payment);
  debt.MinimumPaymentAmount = GeneralValue(minimum);
  debt.MinimumPaymentPercent = Percent(0);
  debt.Consolidate = consolidate;
  plan.Debts.AddDebt(debt);
}

PlanDocument BasePlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 12, 7);
  plan.ReturnRate = Percent(6);
  plan.Consolidate = true;
  plan.SetupFeeRate = Ratio(0.25);
  plan.SetupFee = Money::FromUnits(2995);
  plan.ManagementFee = Money::FromUnits(25);
  plan.Accelerators[0].Monthly = Money::FromUnits(200);
  plan.Accelerators[0].Annual = Money::FromUnits(1000);
  plan.Accelerators[0].Month = 12;
  plan.ConsolidationLoan.InterestRate = Percent(7);
  plan.ConsolidationLoan.Term = 5;
  plan.ConsolidationLoan.FeesRate = Percent(2);
  return plan;
}

// A household with a 30-year mortgage and eleven other debts, three of them consolidated.
PlanDocument TypicalPlan() {
  PlanDocument plan = BasePlan();
  AddDebt(plan, "Mortgage", 240000, 6.5, 1517, 1517);
  AddDebt(plan, "Car loan", 18000, 6.9, 420, 420);
  AddDebt(plan, "Second car", 9500, 8.5, 260, 260);
  AddDebt(plan, "Student loan", 32000, 5.5, 350, 350);
  AddDebt(plan, "Visa", 7800, 21.99, 200, 160, true);
  AddDebt(plan, "Mastercard", 5200, 19.9, 150, 110, true);
  AddDebt(plan, "Store card", 1900, 24.99, 75, 40, true);
  AddDebt(plan, "Furniture", 3100, 15, 120, 90);
  AddDebt(plan, "Medical", 1400, 0, 50, 50);
  AddDebt(plan, "Personal loan", 6000, 11, 190, 190);
  AddDebt(plan, "Boat", 14000, 7.9, 240, 240);
  AddDebt(plan, "Family loan", 2500, 3, 60, 60);
  return plan;
}

// Fifty debts; one at 5 % that never covers its interest runs the whole 1080 months in both
// plans, since Maximize Wealth at a 6 % return gives it no extra money.
PlanDocument WorstPlan() {
  PlanDocument plan = BasePlan();
  plan.Priority = PaydownPriority::MaximizeWealth;
  AddDebt(plan, "Never paid", 50000, 5, 100, 100);
  for (int i = 1; i < 50; ++i) {
    const double balance = 1000 + 997.0 * i;
    const double rate = 6 + (i % 17);
    // Terms spread from a few years to about thirty.
    const double payment = balance * (rate / 1200) + balance / (24 + 7 * i);
    AddDebt(plan, "Debt " + std::to_string(i), balance, rate, payment, payment * 0.6, i % 5 == 0);
  }
  return plan;
}

// The typical household's twelve debts repeated to `debts` debts (each its own name): the
// cost of a calculation should grow with the number of debts, not with its square.
PlanDocument ManyDebtsPlan(int debts) {
  const PlanDocument typical = TypicalPlan();
  PlanDocument plan = BasePlan();
  const int terms = typical.Debts.GetDebtCount();
  for (int i = 0; i < debts; ++i) {
    Debt debt = typical.Debts.At(i % terms);
    debt.Name = "Debt " + std::to_string(i);
    plan.Debts.AddDebt(std::move(debt));
  }
  return plan;
}

void Measure(benchmark::State& state, const PlanDocument& plan) {
  PlanParameters params;
  params.PermitConsolidate = true;
  params.PermitNegotiate = true;
  params.PermitCashOut = true;
  const AppSettings settings;
  int months = 0;
  for (auto _ : state) {
    PlanResults results = Calculate(plan, params, settings);
    months = results.CurrentPlan.GetDebtFreeMonths();
    benchmark::DoNotOptimize(results);
  }
  state.counters["current_months"] = months;
}

void BM_CalculateTypical(benchmark::State& state) { Measure(state, TypicalPlan()); }
void BM_CalculateWorst(benchmark::State& state) { Measure(state, WorstPlan()); }
void BM_CalculateManyDebts(benchmark::State& state) {
  Measure(state, ManyDebtsPlan(static_cast<int>(state.range(0))));
}

// Memory a calculation holds per debt that is never paid off (1,080 months in both plans),
// which bounds how many debts a calculation can take within 1 GB. Three records of 1,081
// months in each plan make about 52,000 bytes; the budget is 55,000 (about 19,500 such debts
// a GB). Storing each month's end balance beside the next month's opening one, and zero extra
// payments of debts that are not accelerated, made it about 86,000 (17,000 such debts took
// 1.23 GB with --results).
constexpr long long kBytesPerNeverPaidDebt = 55'000;
// The most debts a calculation takes, each at the budget, stay within a gigabyte.
static_assert(kCalculationLimit.mostDebts * kBytesPerNeverPaidDebt < 1'000'000'000LL);
void BM_CalculateMemoryPerNeverPaidDebt(benchmark::State& state) {
  constexpr int kDebts = 2000;
  PlanDocument plan = BasePlan();
  plan.Consolidate = false;
  for (int i = 0; i < kDebts; ++i) AddDebt(plan, "Debt " + std::to_string(i), 5000, 18, 1, 1);
  PlanParameters params;
  const AppSettings settings;
  double perDebt = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    PlanResults results = Calculate(plan, params, settings);
    const std::size_t after = mallinfo2().uordblks;
    benchmark::DoNotOptimize(results);
    perDebt = static_cast<double>(after - before) / kDebts;
  }
  state.counters["bytes_per_debt"] = perDebt;
  if (perDebt > kBytesPerNeverPaidDebt) {
    const std::string error = std::to_string(static_cast<long>(perDebt)) +
                              " bytes per debt, more than the budget of 55,000";
    state.SkipWithError(error.c_str());
  }
}

// The figures the window, the report and --results show, worked out from one calculation.
void BM_PlanFigures(benchmark::State& state) {
  const PlanDocument plan = WorstPlan();
  PlanParameters params;
  params.PermitConsolidate = true;
  const PlanResults results = Calculate(plan, params, AppSettings{});
  for (auto _ : state) {
    PlanFigures figures = ComputePlanFigures(plan, results);
    benchmark::DoNotOptimize(figures);
  }
}

// The return on the fees over the longest plan, its saving far above its fees.
void BM_SolveAnnualReturn(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(SolveAnnualReturn(Loan::kMaxMonths, Money::FromUnits(995),
                                               Money::FromUnits(25), Money::FromUnits(1e7)));
  }
}

BENCHMARK(BM_CalculateMemoryPerNeverPaidDebt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateTypical)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalculateWorst)->Unit(benchmark::kMicrosecond);
// 10,000 debts: at most a second, and at most ten times the 1,000.
BENCHMARK(BM_CalculateManyDebts)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanFigures)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveAnnualReturn)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ardvane
