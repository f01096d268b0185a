#include "reports/report_generator.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/vorn_util.h"
#include "planfiles/atomic_file.h"
#include "reports/report_formats.h"
#include "reports/report_language.h"
#include "reports/vorn_report.h"
#include "ui/amount_format.h"
#include "ui/display_formats.h"

namespace ardvane {
namespace {

// Plan texts go into HTML: they print as typed and cannot add markup. A placeholder typed
// into a value prints as typed too, since a value is inserted once and never scanned again.
std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

using Pairs = std::vector<std::pair<std::string_view, std::string>>;

// One run of the assembly: the sources, the substitution object and the growing text.
class Assembly {
 public:
  explicit Assembly(const ReportContext& context)
      : context_(context),
        plan_(*context.plan),
        results_(*context.results),
        settings_(*context.settings),
        regional_(*context.regional),
        sources_(context.programFolder, context.language) {
    const CivilDate date = DecodeDate(plan_.Date);
    planMonth_ = date.month;
    planYear_ = date.year;
  }

  AssembledReport Run();

 private:
  void Fill(const std::string& paragraph, const Pairs& pairs = {});

  std::string Money2(Money amount) const { return ReportMoney(amount, regional_); }
  std::string Years(double years) const { return ReportYears(years, regional_); }
  std::string MonthYear(DayNumber day) const { return ReportMonthYear(day, sources_.phrases()); }
  int language() const { return context_.language; }
  std::string Tr(std::string_view phrase) { return sources_.Translate(phrase); }

  // The calendar month (1..12) and year of month index i of the tables.
  int CalendarMonth(int i) const {
    const int c = (i + planMonth_) % 12;
    return c == 0 ? 12 : c;
  }
  int CalendarYear(int i) const { return planYear_ + (i + planMonth_ - 1) / 12; }
  std::string ShortMonth(int i) const { return GetShortMonthName(CalendarMonth(i), language()); }

  TLoans& Current() { return results_.CurrentPlan; }
  TLoans& Proposed() { return results_.ProposedPlan; }
  int RowCount() const { return plan_.Debts.GetDebtCount(); }
  // Debts of the simulations, the new loan included; never more than either holds.
  int SimulatedCount() const {
    const int count = RowCount() + (results_.Consolidating ? 1 : 0);
    return std::min({count, results_.CurrentPlan.GetCount(), results_.ProposedPlan.GetCount()});
  }
  std::string DebtName(int k) const { return sources_.phrases().DebtName(plan_, results_, k); }

  void Header();
  void Cover();
  void CurrentDebts();
  void PlanStrategy();
  void PayoffProjections();
  void Options();
  void OptionValues(const std::string& paragraph, std::string selected, bool withSelected);
  void NewLoan();
  void ReturnOnInvestment();
  void PayoffSchedule();
  void ImmediateResults();
  void PaymentSchedule();
  void MonthlyPaymentTables();
  void AmortizationTables();
  void InvestmentProjections();
  void Contract();

  const ReportContext& context_;
  const PlanDocument& plan_;
  PlanResults& results_;
  const AppSettings& settings_;
  const RegionalSettings& regional_;
  ReportSources sources_;
  TVornReport report_;
  std::string text_;
  int planMonth_ = 1;
  int planYear_ = 1899;
};

void Assembly::Fill(const std::string& paragraph, const Pairs& pairs) {
  report_.clearReplacements();
  for (const auto& [name, value] : pairs) {
    std::string placeholder = "[$";
    placeholder += name;
    placeholder += "$]";
    report_.addReplacement(std::move(placeholder), EscapeHtml(value));
  }
  report_.setTemplateText(sources_.Paragraph(paragraph));
  report_.applyReplacements();
  for (const std::string& line : report_.reportText()) {
    text_ += line;
    text_ += "\r\n";
  }
}

AssembledReport Assembly::Run() {
  Header();
  Cover();
  if (settings_.PrintCurrentDebts) CurrentDebts();
  if (settings_.PrintPlanStrategy) PlanStrategy();
  if (settings_.PrintPayoffProjections) PayoffProjections();
  if (settings_.PrintOptions) {
    const bool anyOption = std::any_of(
        plan_.Accelerators.begin(), plan_.Accelerators.end(),
        [](const Accelerator& a) { return a.Monthly != Money() || a.Annual != Money(); });
    if (anyOption) Options();
  }
  if (settings_.PrintNewLoan && results_.Consolidating) NewLoan();
  if (settings_.PrintReturnOnInvestment && results_.AnnualReturn > 0) ReturnOnInvestment();
  if (settings_.PrintPayoffSchedule) PayoffSchedule();
  if (settings_.PrintImmediateResults) ImmediateResults();
  if (settings_.PrintPaymentSchedule) PaymentSchedule();
  if (settings_.PrintMonthlyPaymentTables) MonthlyPaymentTables();
  if (settings_.PrintAmortizationTables) AmortizationTables();
  if (settings_.PrintInvestmentProjections) InvestmentProjections();
  if (settings_.PrintContract) Contract();
  Fill("Closer");
  return {std::move(text_), sources_.missingParagraphs()};
}

void Assembly::Header() {
  Fill("Header", {{"FirstName", plan_.FirstName},
                  {"LastName", plan_.LastName},
                  {"CompanyName", settings_.CompanyName}});
}

void Assembly::Cover() {
  const CivilDate date = DecodeDate(plan_.Date);
  Fill("CoverPage", {{"FirstName", plan_.FirstName},
                     {"LastName", plan_.LastName},
                     {"CompanyName", settings_.CompanyName},
                     {"Month", GetMonthName(date.month, language())},
                     {"Day", ReportInteger(date.day)},
                     {"Suffix", GetOrdinalSuffix(date.day)},
                     {"Year", ReportInteger(date.year)}});
}

void Assembly::CurrentDebts() {
  // The company is the adviser's own, as on the cover.
  Fill("CurrentDebtsPage", {{"FirstName", plan_.FirstName},
                            {"LastName", plan_.LastName},
                            {"CompanyName", settings_.CompanyName}});
  const std::string& separator = regional_.decimalSeparator;
  for (int i = 0; i < RowCount(); ++i) {
    const TLoan* loan = Current().GetLoan(i);
    Fill("DebtTable",
         {{"Description", DebtName(i)},
          {"InterestRate",
           ReportPercent3(StrToFloatSafe(plan_.Debts.Cell(i, DebtCol::InterestRate), separator),
                          regional_)},
          {"Payment", Money2(loan ? loan->GetScheduledPayment() : Money())},
          {"Balance",
           ReportMoneyUnits(StrToFloatSafe(plan_.Debts.Cell(i, DebtCol::Balance), separator),
                            regional_)}});
  }
  Fill("DebtTableFooter", {{"Payment", Money2(Current().GetTotalPayment(0))},
                           {"Balance", Money2(Current().GetTotalBeginBalance(0))}});
  const Money escrow = Current().GetTotalEscrow();
  if (escrow > Money()) {
    Fill("Escrow", {{"Escrow", Money2(escrow)},
                    {"TotalWithEscrow", Money2(escrow + Current().GetTotalPayment(0))}});
  }
}

void Assembly::PlanStrategy() {
  TLoans& current = Current();
  TLoans& proposed = Proposed();
  const Money currentPayment = current.GetTotalMonthlyOutlay();
  const Money proposedPayment = proposed.GetTotalMonthlyOutlay();
  const Money proposedMinimum = proposed.GetTotalPaymentDue(0);
  const Money actualMargin = proposed.GetBudget() - proposedMinimum;
  const Money margin = Max(Money(), actualMargin);
  Fill("PlanStrategyPage",
       {{"CurrentPayment", Money2(current.GetTotalEscrow() + currentPayment)},
        {"ProposedMinimum", Money2(proposed.GetTotalEscrow() + proposedMinimum)},
        {"AdminFee", Money2(proposed.MonthlyFee())},
        {"Margin", Money2(margin)},
        {"ProposedPayment", Money2(proposed.GetTotalEscrow() + proposedPayment)},
        {"Difference", Money2(proposedPayment - currentPayment)},
        {"InterestRate", ReportPercent2(plan_.ReturnRate, regional_)}});

  const Money accelerator = proposed.Accelerator();
  Fill(context_.params->PermitNegotiate ? "Margin5" : "Margin4",
       {{"CurrentExcess", Money2(currentPayment - current.GetTotalPaymentDue(0) -
                                 (results_.PayoffPayment - results_.PayoffMinimum))},
        {"Accelerator", Money2(accelerator)},
        {"AcceleratorType",
         Tr(accelerator >= Money() ? "Power payment" : "Payment reduction")},
        {"Negotiations", Money2(current.GetTotalPaymentDue(0) - results_.NegotiatedMinimums)},
        {"NewLoanSavings", Money2(results_.PayoffPayment - results_.NewLoanPayment)},
        {"NewLoanType", Tr(results_.PayoffBalance > Money() ? "Net benefit from consolidation loan"
                                                            : "Setup fee payment")},
        {"AdminFee", Money2(proposed.MonthlyFee())},
        {"Margin", Money2(margin)},
        {"ActualMargin", Money2(actualMargin)}});

  const int initialPeriod = proposed.GetFirstMonthWithinBudget();
  if (initialPeriod > 0) {
    Fill("NegativeMargin",
         {{"NegativeMargin", Money2(proposedPayment - currentPayment - accelerator)},
          {"InitialPeriod", ReportInteger(initialPeriod)},
          {"ProposedPayment", Money2(current.GetTotalEscrow() + currentPayment +
                                     plan_.Accelerators[0].Monthly)}});
  }
  if (proposed.AnnualAccelerator() != Money()) {
    Fill("AnnualAccelerator",
         {{"AnnualAccelerator", Money2(proposed.AnnualAccelerator())},
          {"AcceleratorMonth", GetMonthName(proposed.AcceleratorMonth(), language())}});
  }
}

std::string InvestmentValueOf(const PlanResults& results, const RegionalSettings& regional) {
  return ReportMoney(results.ProjectionMonths >= 1
                         ? results.ProposedInvestment.GetEndValue(results.ProjectionMonths - 1)
                         : Money(),
                     regional);
}

void Assembly::PayoffProjections() {
  TLoans& current = Current();
  TLoans& proposed = Proposed();
  Fill("CurrentVsProposedPage",
       {{"CurrentPayoffYears", Years(current.GetDebtFreeYears())},
        {"CurrentPayoffDate", MonthYear(current.GetDebtFreeDate())},
        {"CurrentInterest", Money2(current.GetTotalInterest())},
        {"ProposedPayoffYears", Years(proposed.GetDebtFreeYears())},
        {"ProposedPayoffDate", MonthYear(proposed.GetDebtFreeDate())},
        {"ProposedInterest", Money2(proposed.GetTotalInterest())},
        {"ProposedInterestSavings", Money2(results_.InterestSaved())},
        {"InvestmentValue", InvestmentValueOf(results_, regional_)},
        {"IncreaseAmount",
         Money2(proposed.GetTotalMonthlyOutlay() - current.GetTotalMonthlyOutlay())},
        {"ReturnRate", ReportPercent2(plan_.ReturnRate, regional_)}});
}

void Assembly::OptionValues(const std::string& paragraph, std::string selected,
                            bool withSelected) {
  TLoans& current = Current();
  TLoans& proposed = Proposed();
  Pairs pairs;
  if (withSelected) pairs.emplace_back("SelectedOption", std::move(selected));
  pairs.emplace_back("PeriodicPayment",
                     Money2(current.GetTotalEscrow() + proposed.GetTotalMonthlyOutlay()));
  pairs.emplace_back("ProposedPayoffYears", Years(proposed.GetDebtFreeYears()));
  pairs.emplace_back("InterestSaved",
                     Money2(current.GetTotalInterest() - proposed.GetTotalInterest()));
  pairs.emplace_back("CurrentPayoffYears", Years(current.GetDebtFreeYears()));
  pairs.emplace_back("ReturnRate", ReportPercent2(plan_.ReturnRate, regional_));
  pairs.emplace_back("InvestmentValue", InvestmentValueOf(results_, regional_));
  Fill(paragraph, pairs);
}

void Assembly::Options() {
  Fill("OptionsPage");
  TLoans& proposed = Proposed();
  const auto rerun = [&](Money monthly, Money annual, int month) {
    proposed.SetAccelerator(monthly);
    proposed.SetAnnualAccelerator(annual);
    proposed.SetAcceleratorMonth(month);
    proposed.ResetAll();
    proposed.Run();
    CalculateProposedAsset(results_, plan_);
  };
  rerun(Money(), Money(), 0);
  const Accelerator& first = plan_.Accelerators[0];
  OptionValues("Option1", first.Monthly == Money() && first.Annual == Money() ? "*" : "", true);

  int option = 1;
  for (std::size_t a = 0; a < plan_.Accelerators.size(); ++a) {
    const Accelerator& accelerator = plan_.Accelerators[a];
    if (accelerator.Monthly == Money() && accelerator.Annual == Money()) continue;
    ++option;
    rerun(accelerator.Monthly, accelerator.Annual, accelerator.Month);
    std::string annual;
    if (accelerator.Annual != Money()) {
      annual = " (" + Tr("and") + " " + Money2(accelerator.Annual) + " " + Tr("each") + " " +
               GetMonthName(accelerator.Month, language()) + ")";
    }
    const Money monthly = accelerator.Monthly;
    Fill(monthly >= Money() ? "OptionX" : "OptionXReduction",
         {{"Option#", ReportInteger(option)},
          {"Accelerator", Money2(monthly < Money() ? -monthly : monthly)},
          {"SelectedOption", a == 0 ? "*" : ""},
          {"AnnualAccelerator", annual}});
    OptionValues("OptionXValues", "", false);
  }
  Fill("OptionsCloser");
  // Back to the plan's own figures.
  results_ = Calculate(plan_, *context_.params, settings_, regional_);
}

void Assembly::NewLoan() {
  const PlanResults& r = results_;
  std::string paragraph = "NewLoanPage";
  if (r.PayoffBalance > Money()) {
    paragraph = "ConsolidationLoanPage";
  } else if (settings_.PrintPlanFees) {
    paragraph = "PlanFeesPage";
  }
  std::string feeRate;
  if (r.ActualSetupFee == r.RateSetupFee) {
    feeRate = "(" + FormatFixed(plan_.SetupFeeRate * 100, 3, 5, regional_) + "% " +
              Tr("of interest saved") + ")";
  }
  const double term = plan_.ConsolidationLoan.Term;
  std::string termText = FormatAmount(term, 0, mtNumber, true, regional_) + " " + Tr("year");
  if (term != 1) termText += "s";
  const TLoan* newLoan = Proposed().GetLoan(RowCount());
  const double loanYears = newLoan ? newLoan->PayoffYears() : 0;
  std::string loanYearsText = Years(loanYears) + " " + Tr("year");
  if (loanYears != 1.0) loanYearsText += "s";
  // The labels of the window's new-loan page, written as the window writes them.
  Fill(paragraph,
       {{"ProposedInterestSavingsPreFee", Money2(r.InterestSavedBeforeFee)},
        {"PayoffBalance", Money2(r.PayoffBalance)},
        {"FeesRate", ReportPercent3(plan_.ConsolidationLoan.FeesRate, regional_)},
        {"Fees", Money2(r.NewLoanPointsFee + r.NewLoanFixedFees)},
        {"FeeRate", feeRate},
        {"OtherFees", Money2(r.NewLoanSetupFee)},
        {"CashPayment", Money2(r.CashOutAmount - r.ActualDownPayment)},
        {"ConsolidationBalance", Money2(r.NewLoanAmount)},
        {"PayoffPayment", Money2(r.PayoffPayment)},
        {"ConsolidationPayment", Money2(r.NewLoanPayment)},
        {"DifferencePayment", Money2(r.PayoffPayment - r.NewLoanPayment)},
        {"PayoffRate", FormatPercent3(r.PayoffAverageRate, regional_)},
        {"ConsolidationRate", FormatPercent3(r.NewLoanRate * 100, regional_)},
        {"DifferenceRate", FormatPercent3(r.PayoffAverageRate - r.NewLoanRate * 100, regional_)},
        {"Term", termText},
        {"ConsolidationPayoffYears", loanYearsText},
        {"ProposedInterestSavings", Money2(r.InterestSaved())}});
}

void Assembly::ReturnOnInvestment() {
  Fill("InvestmentReturnPage",
       {{"SetupFee", Money2(results_.ActualSetupFee)},
        {"MonthlyFee", Money2(plan_.ManagementFee)},
        {"InterestSaved", Money2(results_.InterestSaved())},
        {"AnnualReturn", ReportPercent2(results_.AnnualReturn * 100, regional_)},
        {"ProposedPayoffYears", Years(Proposed().GetDebtFreeYears())}});
}

void Assembly::PayoffSchedule() {
  TLoans& current = Current();
  TLoans& proposed = Proposed();
  Fill("PayoffSchedulePage", {{"FirstName", plan_.FirstName},
                              {"LastName", plan_.LastName},
                              {"ProposedPayoffDate", MonthYear(proposed.GetDebtFreeDate())}});
  for (int j = 0; j < SimulatedCount(); ++j) {
    const int k = proposed.GetOrderIndex(j);
    const TLoan* currentLoan = current.GetLoan(k);
    const TLoan* proposedLoan = proposed.GetLoan(k);
    const DayNumber currentDate = currentLoan ? currentLoan->PayoffDate() : 0;
    const DayNumber proposedDate = proposedLoan ? proposedLoan->PayoffDate() : 0;
    Fill("PayoffTable",
         {{"Description", DebtName(k)},
          {"CurrentPayoffDate", MonthYear(currentDate)},
          {"ProposedPayoffDate", proposedDate == 0 ? Tr("Consolidated") : MonthYear(proposedDate)}});
  }
  Fill("PayoffTableFooter", {{"CurrentPayoffDate", MonthYear(current.GetDebtFreeDate())},
                             {"ProposedPayoffDate", MonthYear(proposed.GetDebtFreeDate())},
                             {"CurrentPayoffYears", Years(current.GetDebtFreeYears())},
                             {"ProposedPayoffYears", Years(proposed.GetDebtFreeYears())},
                             {"CurrentInterest", Money2(current.GetTotalInterest())},
                             {"ProposedInterest", Money2(proposed.GetTotalInterest())}});
}

void Assembly::ImmediateResults() {
  Fill("ImmediateResultsPage",
       {{"ProposedInterestSavings", Money2(results_.InterestSaved())},
        {"ProposedPayoffYears", Years(Proposed().GetDebtFreeYears())},
        {"ProposedMonthlyInterestSavings", Money2(results_.MonthlyInterestSaving)}});
  Fill("Actions");
  const std::pair<const std::string*, const char*> company[] = {
      {&settings_.CompanyName, "CompanyName"},
      {&settings_.CompanyAddress, "CompanyAddress"},
      {&settings_.CompanyCityStateZip, "CompanyCityStateZip"},
      {&settings_.CompanyPhone, "CompanyPhone"},
      {&settings_.CompanyFax, "CompanyFax"},
      {&settings_.CompanyWebSite, "CompanyWebSite"}};
  for (const auto& [value, name] : company) {
    if (value->empty()) continue;
    Fill(std::string(name) + "Close", {{name, *value}});
  }
}

void Assembly::PaymentSchedule() {
  Fill("PaymentScheduleHeader");
  TLoans& proposed = Proposed();
  const Money escrow = Current().GetTotalEscrow();
  for (int i = 0; i < results_.ProjectionMonths; ++i) {
    const Money fees = proposed.GetTotalBeginBalance(i) > Money() ? proposed.MonthlyFee() : Money();
    const Money savings = Max(Money(), results_.ProposedInvestment.GetContribution(i));
    const Money payment = proposed.GetTotalPayment(i);
    const Money extra = proposed.GetTotalExtraPayment(i);
    Fill("PaymentScheduleTable", {{"Year", ReportInteger(CalendarYear(i))},
                                  {"Month", ShortMonth(i)},
                                  {"MinimumPayment", Money2(payment)},
                                  {"Margin", Money2(extra)},
                                  {"Fees", Money2(fees)},
                                  {"Escrow", Money2(escrow)},
                                  {"Savings", Money2(savings)},
                                  {"TotalPayment", Money2(escrow + payment + extra + fees + savings)}});
  }
  const int initialPeriod = proposed.GetFirstMonthWithinBudget();
  if (initialPeriod > 0) {
    Fill("ProposedPaymentException", {{"InitialPeriod", ReportInteger(initialPeriod)}});
  }
}

void Assembly::MonthlyPaymentTables() {
  Fill("MonthlyPaymentSchedulePage");
  TLoans& proposed = Proposed();
  const Money escrowTotal = Current().GetTotalEscrow();
  // Debt names in payoff order, translated once.
  std::vector<std::pair<int, std::string>> debts;
  for (int j = 0; j < SimulatedCount(); ++j) {
    const int k = proposed.GetOrderIndex(j);
    if (proposed.GetLoan(k)) debts.emplace_back(k, DebtName(k));
  }
  int year = planYear_;
  for (int i = 0; i < proposed.GetDebtFreeMonths(); ++i) {
    int c = (i + planMonth_) % 12;
    if (c == 1 && i > 0) ++year;
    if (c == 0) c = 12;
    Fill("MonthlyPaymentScheduleTableHeader",
         {{"Month", GetMonthName(c, language())}, {"Year", ReportInteger(year)}});
    for (const auto& [k, name] : debts) {
      const TLoan& debt = *proposed.GetLoan(k);
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

void Assembly::AmortizationTables() {
  TLoans& proposed = Proposed();
  for (int j = 0; j < SimulatedCount(); ++j) {
    const int k = proposed.GetOrderIndex(j);
    const TLoan* debt = proposed.GetLoan(k);
    if (!debt) continue;
    if (results_.Consolidating && !(debt->Balance() > Money())) continue;
    Fill("AmortizationTableHeader", {{"DebtName", DebtName(k)},
                                     {"Priority", ReportInteger(debt->PayoffOrder())},
                                     {"Suffix", GetOrdinalSuffix(debt->PayoffOrder())}});
    for (int n = 0; n < debt->PayoffMonths(); ++n) {
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

void Assembly::InvestmentProjections() {
  Fill("InvestmentHeader");
  const TAsset& asset = results_.ProposedInvestment;
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

void Assembly::Contract() {
  std::error_code error;
  if (!std::filesystem::is_regular_file(
          context_.programFolder / "Templates" / "Contract.ktf", error)) {
    return;
  }
  Fill("Contract", {{"SetupFee", Money2(results_.ActualSetupFee)},
                    {"DownPayment", Money2(results_.ActualDownPayment)},
                    {"FinancedSetupFee", Money2(results_.SetupFeeFinanced)},
                    {"InterestRate", FormatFixed(results_.NewLoanRate * 100, 3, 10, regional_) + "%"},
                    {"MonthlyPayment", Money2(results_.NewLoanPayment)}});
  if (HaveNegotiated(plan_, *context_.params)) {
    Fill("WorkoutAgreement", {{"FirstName", plan_.FirstName}, {"LastName", plan_.LastName}});
  }
}

}  // namespace

AssembledReport AssembleReport(const ReportContext& context) {
  return Assembly(context).Run();
}

ReportOutcome GenerateReport(const ReportContext& context, const std::filesystem::path& path) {
  ReportOutcome outcome;
  AssembledReport report = AssembleReport(context);
  outcome.missingParagraphs = std::move(report.missingParagraphs);
  std::string reason;
  if (!WriteFileAtomically(path, report.text, &reason)) {
    outcome.error = "Could not write the report \"" + path.string() + "\": " + reason;
    return outcome;
  }
  outcome.saved = true;
  if (context.pictures) {
    const std::pair<ReportPicture, const char*> pictures[] = {
        {ReportPicture::kPayoffDates, "Paydown.bmp"}, {ReportPicture::kBalances, "Balances.bmp"}};
    for (const auto& [kind, name] : pictures) {
      std::string error;
      if (!context.pictures->Save(kind, context.language, context.programFolder / name, &error)) {
        if (!outcome.pictureError.empty()) outcome.pictureError += "\n";
        outcome.pictureError += error;
      }
    }
  }
  return outcome;
}

}  // namespace ardvane
