// Speed of the figures that calculate a plan many times over: every priority side by side,
// and the power payment that makes a plan debt free by a month.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "engine/plan_calculation.h"
#include "figures/power_payment_goal.h"
#include "figures/strategies.h"
#include "planfiles/plan_file.h"

namespace ardvane {
namespace {

// The shipped sample plan with the sample installation's permissions.
struct Sample {
  PlanDocument plan;
  PlanParameters params;

  Sample() {
    params.PermitConsolidate = true;
    params.PermitNegotiate = true;
    params.PermitCashOut = true;
    const Status status = ReadData(std::filesystem::path(ARDVANE_DIST_FOLDER) / "Sample.bvx", plan,
                                   PlanReadContext{RegionalSettings{}, params, 0});
    if (!status.ok()) {
      std::cerr << "cannot read the sample plan: " << status.message() << "\n";
      std::abort();
    }
  }
};

void BM_CompareStrategies(benchmark::State& state) {
  const Sample sample;
  for (auto _ : state) {
    StrategyComparison comparison = CompareStrategies(sample.plan, sample.params, AppSettings{});
    benchmark::DoNotOptimize(comparison);
  }
}

// Two years sooner than the sample is now debt free, to the cent.
void BM_NeededPowerPayment(benchmark::State& state) {
  const Sample sample;
  const PlanResults now = Calculate(sample.plan, sample.params, AppSettings{});
  YearMonth goal = YearMonthOf(now.ProposedPlan.GetDebtFreeDate());
  goal.year -= 2;
  Money payment;
  for (auto _ : state) {
    const PowerPaymentGoal found =
        FindPowerPaymentForGoal(sample.plan, sample.params, AppSettings{}, goal);
    payment = found.powerPayment;
    benchmark::DoNotOptimize(payment);
  }
  state.counters["power_payment"] = static_cast<double>(payment.Units());
}

BENCHMARK(BM_CompareStrategies)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NeededPowerPayment)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ardvane
