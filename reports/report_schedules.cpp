// The report's schedules (payments, monthly payments, amortization, investment) and the
// contract.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/month_names.h"
#include "reports/report_assembly.h"
#include "reports/report_limits.h"

namespace ardvane {

void ReportAssembly::PaymentSchedule() {
  Fill("PaymentScheduleHeader");
  for (int i = 0; i < results_.ProjectionMonths; ++i) {
    const ScheduleMonth month = ScheduleMonthOf(results_, i);
    Fill("PaymentScheduleTable", {{"Year", ReportInteger(CalendarYear(i))},
                                  {"Month", ShortMonth(i)},
                                  {"MinimumPayment", Money2(month.minimumPayment)},
                                  {"Margin", Money2(month.extraPayment)},
                                  {"Fees", Money2(month.fees)},
                                  {"Escrow", Money2(month.escrow)},
                                  {"Savings", Money2(month.savings)},
                                  {"TotalPayment", Money2(month.total)}});
  }
  if (figures_.strategy.monthsOverBudget > 0) {
    Fill("ProposedPaymentException",
         {{"InitialPeriod", ReportInteger(figures_.strategy.monthsOverBudget)}});
  }
}

void ReportAssembly::MonthlyPaymentTables() {
  Fill("MonthlyPaymentSchedulePage");
  LoanSchedule& proposed = Proposed();
  const Money escrowTotal = Current().GetTotalEscrow();
  // Debt names in payoff order, translated once.
  std::vector<std::pair<int, std::string>> debts;
  for (const DebtPayoff& debt : figures_.payoffs) {
    if (proposed.GetLoan(debt.loan)) {
      debts.emplace_back(debt.loan, NameInMonthlyTables(DebtName(debt.loan)));
    }
  }
  // A plan that never ends goes on past its last payoff: its tables run as long as the
  // payment schedule does.
  const int months = statements_.PaysEveryDebt()
                         ? proposed.GetDebtFreeMonths()
                         : std::max(proposed.GetDebtFreeMonths(), results_.ProjectionMonths);
  int year = planYear_;
  for (int i = 0; i < months; ++i) {
    int c = (i + planMonth_) % 12;
    if (c == 1 && i > 0) ++year;
    if (c == 0) c = 12;
    Fill("MonthlyPaymentScheduleTableHeader", {{"Month", GetMonthName(c, language())},
                                               {"Year", ReportInteger(year)},
                                               {"MonthYear", MonthYear(EncodeDate(year, c, 1))}});
    for (const auto& [k, name] : debts) {
      const Loan& debt = *proposed.GetLoan(k);
      if (!(debt.GetBeginBalance(i) > Money()) && !(debt.Escrow() > Money())) continue;
      Fill("MonthlyPaymentScheduleTable",
           {{"DebtName", name},
            {"MinPayment", Money2(debt.GetPaymentDue(i))},
            {"ExtraPayment", Money2(debt.GetExtraPayment(i))},
            {"Escrow", Money2(debt.Escrow())},
            {"TotalPayment", Money2(debt.Escrow() + debt.GetTotalPaid(i))}});
    }
    const Money payment = proposed.GetTotalPayment(i);
    const Money extra = proposed.GetTotalExtraPayment(i);
    Fill("MonthlyPaymentScheduleTableFooter",
         {{"MinPayment", Money2(payment)},
          {"ExtraPayment", Money2(extra)},
          {"Escrow", Money2(escrowTotal)},
          {"TotalPayment", Money2(escrowTotal + payment + extra)}});
  }
}

void ReportAssembly::AmortizationTables() {
  LoanSchedule& proposed = Proposed();
  for (const DebtPayoff& payoff : figures_.payoffs) {
    const Loan* debt = proposed.GetLoan(payoff.loan);
    // Consolidated debts and debts with nothing owed have no payments to show.
    if (!debt || payoff.proposedKind == PayoffKind::kConsolidated ||
        payoff.proposedKind == PayoffKind::kNothingOwed) {
      continue;
    }
    if (payoff.proposedKind == PayoffKind::kNeverPaidOff) {
      Fill("AmortizationTableHeaderNever", {{"DebtName", DebtName(payoff.loan)}});
    } else {
      Fill("AmortizationTableHeader", {{"DebtName", DebtName(payoff.loan)},
                                       {"Priority", ReportInteger(payoff.rank)},
                                       {"Suffix", GetOrdinalSuffix(payoff.rank)}});
    }
    // A debt never paid off shows the months the plan runs (a year at least), enough to
    // see its balance stay.
    const int months =
        payoff.proposedKind == PayoffKind::kPaidOff
            ? debt->PayoffMonths()
            : std::min(debt->ComputedMonths(), std::max(results_.ProjectionMonths, 12));
    for (int n = 0; n < months; ++n) {
      Fill("AmortizationTable",
           {{"Year", ReportInteger(CalendarYear(n))},
            {"Month", ShortMonth(n)},
            {"BegBal", Money2(debt->GetBeginBalance(n))},
            {"Interest", Money2(debt->GetInterest(n))},
            {"Payment", Money2(debt->GetPayment(n))},
            {"ExtraPayment", Money2(debt->GetExtraPayment(n))},
            {"TotalPayment", Money2(debt->GetPayment(n) + debt->GetExtraPayment(n))},
            {"EndBal", Money2(debt->GetEndBalance(n))}});
    }
  }
}

void ReportAssembly::InvestmentProjections() {
  // A plan that never ends frees no payments to project.
  if (!statements_.PaysEveryDebt()) {
    Fill("InvestmentNeverPaidOff");
    return;
  }
  Fill("InvestmentHeader");
  const InvestmentAsset& asset = results_.ProposedInvestment;
  for (int n = 0; n < results_.ProjectionMonths; ++n) {
    if (asset.GetEndValue(n) == Money()) continue;
    Fill("InvestmentTable", {{"Year", ReportInteger(CalendarYear(n))},
                             {"Month", ShortMonth(n)},
                             {"BegBal", Money2(asset.GetBeginValue(n))},
                             {"Growth", Money2(asset.GetGrowth(n))},
                             {"Savings", Money2(asset.GetContribution(n))},
                             {"EndBal", Money2(asset.GetEndValue(n))}});
  }
}

void ReportAssembly::Contract() {
  std::error_code error;
  if (!std::filesystem::is_regular_file(context_.programFolder / "Templates" / "Contract.ktf",
                                        error)) {
    return;
  }
  const ContractFigures& f = figures_.contract;
  const std::string company =
      settings_.CompanyName.empty() ? Tr("the company") : settings_.CompanyName;
  // The parties' names: the agreement's first sentence has a line to write one in where it is
  // not known; under the signature lines an unknown name is left out.
  std::string client = plan_.FirstName;
  if (!client.empty() && !plan_.LastName.empty()) client += " ";
  client += plan_.LastName;
  const std::string& adviser = settings_.CompanyName;
  const auto nameOrLine = [](const std::string& name) {
    return name.empty() ? std::string(20, '_') : name;
  };
  Fill("Contract", {{"Company", company},
                    {"ClientName", nameOrLine(client)},
                    {"AdviserName", nameOrLine(adviser)},
                    {"SetupFee", Money2(f.setupFee)},
                    {"DownPayment", Money2(f.downPayment)},
                    {"FinancedSetupFee", Money2(f.financedSetupFee)},
                    {"InterestRate", FormatFixed(f.loanRatePercent, 3, 10, regional_) + "%"},
                    {"MonthlyPayment", Money2(f.loanPayment)}});
  FeeNote("ContractFeeNote");
  if (f.financed) {
    Fill("ContractFinanced",
         {{"FinancedSetupFee", Money2(f.financedSetupFee)},
          {"InterestRate", FormatFixed(f.loanRatePercent, 3, 10, regional_) + "%"},
          {"NewLoanPayment", Money2(f.loanPayment)}});
  } else if (f.unpaidSetupFee > Money()) {
    Fill("ContractFeeBalance", {{"FeeBalance", Money2(f.unpaidSetupFee)}, {"Company", company}});
  }
  if (f.monthlyFee > Money()) Fill("ContractMonthlyFee", {{"MonthlyFee", Money2(f.monthlyFee)}});
  Fill("ContractTerms", {{"Company", company},
                         {"PlanPayment", Money2(f.planPayment)},
                         {"ClientName", client},
                         {"AdviserName", adviser}});
  if (HaveNegotiated(plan_, *context_.params)) {
    Fill("WorkoutAgreement", {{"FirstName", plan_.FirstName},
                              {"LastName", plan_.LastName},
                              {"Company", company},
                              {"ClientName", client},
                              {"AdviserName", adviser}});
  }
}

}  // namespace ardvane
