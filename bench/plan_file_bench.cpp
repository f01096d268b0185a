// Saving and opening a large plan: 200 debts and 500 lines of notes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "planfiles/plan_file.h"

namespace ardvane {
namespace {

PlanDocument LargePlan() {
  PlanDocument plan;
  plan.FirstName = "Bench";
  plan.LastName = "Mark \"Large\" & Sons";
  plan.Date = 46363;
  for (int i = 0; i < 200; ++i) {
    Debt debt;
    debt.Name = "Debt number " + std::to_string(i) + " <card>";
    debt.Balance = GeneralValue(1000 + i * 37.25);
    debt.InterestRate = Percent(GeneralValue(5 + i % 20 + 0.99));
    debt.CurrentPayment = GeneralValue(50 + i);
    debt.MinimumPaymentAmount = 25;
    debt.MinimumPaymentPercent = Percent(2.5);
    debt.Consolidate = i % 3 == 0;
    debt.Compounding = i % 2 ? CompoundingPeriod::Monthly : CompoundingPeriod::Daily;
    plan.Debts.AddDebt(debt);
  }
  for (int i = 0; i < 500; ++i) {
    plan.Notes.push_back("Note line " + std::to_string(i) +
                         ": the client & adviser agreed to review the plan in six months.");
  }
  return plan;
}

std::filesystem::path BenchFile() {
  return std::filesystem::temp_directory_path() / "ardvane-bench-plan.bvx";
}

void BM_PlanFileWrite(benchmark::State& state) {
  const PlanDocument plan = LargePlan();
  const auto path = BenchFile();
  for (auto _ : state) {
    if (!SaveData(plan, path).ok()) state.SkipWithError("save failed");
  }
  std::filesystem::remove(path);
}

void BM_PlanFileSerialize(benchmark::State& state) {
  const PlanDocument plan = LargePlan();
  for (auto _ : state) benchmark::DoNotOptimize(PlanToXml(plan));
}

void BM_PlanFileRead(benchmark::State& state) {
  const auto path = BenchFile();
  if (!SaveData(LargePlan(), path).ok()) {
    state.SkipWithError("save failed");
    return;
  }
  const RegionalSettings regional;
  const PlanReadContext context{regional, {}, 0};
  for (auto _ : state) {
    PlanDocument plan;
    if (!ReadData(path, plan, context).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(plan);
  }
  std::filesystem::remove(path);
}

BENCHMARK(BM_PlanFileWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanFileSerialize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanFileRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ardvane
