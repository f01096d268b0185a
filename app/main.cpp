// Ardvane's entry point: the command line, and (until the main window arrives) a built-in
// demonstration plan whose figures are printed when the program starts without arguments.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "engine/calendar.h"
#include "engine/plan_calculation.h"
#include "engine/vorn_util.h"

namespace {

using namespace ardvane;

std::string Amount(Money money) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2Lf", money.Units());
  return text;
}

std::string DateText(DayNumber day) {
  if (day == 0) return "never";
  const CivilDate date = DecodeDate(day);
  return GetShortMonthName(date.month, 0) + " " + std::to_string(date.year);
}

PlanDocument DemonstrationPlan() {
  PlanDocument plan;
  plan.FirstName = "Demo";
  plan.LastName = "Client";
  plan.Date = EncodeDate(2008, 1, 15);
  const auto add = [&plan](const char* name, const char* balance, const char* rate,
                           const char* payment, const char* minimum) {
    DebtFields debt;
    debt.Name = name;
    debt.Balance = balance;
    debt.InterestRate = rate;
    debt.CurrentPayment = payment;
    debt.MinimumPaymentAmount = minimum;
    debt.CompoundingPeriod = "1";
    plan.Debts.AddDebt(debt, RegionalSettings{});
  };
  add("Debt A", "1000", "12", "100", "50");
  add("Debt B", "2000", "6", "100", "50");
  return plan;
}

void PrintPlan(const char* title, const TLoans& loans, const PlanDocument& plan,
               const PlanResults& results) {
  std::cout << title << ": debt free in " << loans.GetDebtFreeMonths() << " months ("
            << DateText(loans.GetDebtFreeDate()) << "), total interest "
            << Amount(loans.GetTotalInterest()) << "\n";
  for (int i = 0; i < loans.GetCount(); ++i) {
    const TLoan& loan = *loans.GetLoan(i);
    std::cout << "  " << GetDebtName(plan, results, i) << ": paid off after " << loan.PayoffMonths()
              << " months (" << DateText(loan.PayoffDate()) << "), interest "
              << Amount(loan.TotalInterest()) << "\n";
  }
}

// The folder of the running executable: the program folder.
std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
  return std::filesystem::absolute(argv0, ec).parent_path();
}

DayNumber Today() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

int PrintDemonstration() {
  const PlanDocument plan = DemonstrationPlan();
  const PlanResults results = Calculate(plan, PlanParameters{}, AppSettings{}, RegionalSettings{});
  std::cout << "Ardvane demonstration plan for " << plan.FirstName << " " << plan.LastName
            << ", plan date " << DateText(plan.Date) << "\n";
  PrintPlan("Current", results.CurrentPlan, plan, results);
  PrintPlan("Proposed", results.ProposedPlan, plan, results);
  std::cout << "Interest saved: " << Amount(results.InterestSaved()) << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return PrintDemonstration();
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << ardvane::UsageText() << std::flush;
    return std::cout.good() ? 0 : 1;
  }
  ardvane::CommandLineEnvironment env;
  env.programFolder = ProgramFolder(argv[0]);
  env.today = Today();
  return ardvane::RunResultsCommand(args, env, std::cout, std::cerr);
}
