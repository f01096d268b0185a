#include "reports/report_generator.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/number_text.h"
#include "engine/month_names.h"
#include "figures/amount_format.h"
#include "figures/display_formats.h"
#include "figures/payoff_payment.h"
#include "figures/plan_figures.h"
#include "figures/plan_statements.h"
#include "figures/printed_amounts.h"
#include "figures/report_formats.h"
#include "figures/strategies.h"
#include "reports/report_document.h"
#include "reports/report_language.h"
#include "reports/report_tables.h"
#include "reports/report_text.h"

namespace ardvane {
namespace {

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
        sources_(context.programFolder, context.language),
        figures_(ComputePlanFigures(plan_, results_)),
        statements_(ComputePlanStatements(plan_, *context.params, settings_, results_)) {
    const CivilDate date = DecodeDate(plan_.Date);
    planMonth_ = date.month;
    planYear_ = date.year;
    texts_ = WriteStatements(statements_, Words());
  }

  AssembledReport Run();

 private:
  void Fill(const std::string& paragraph, const Pairs& pairs = {});

  std::string Money2(Money amount) const { return ReportMoney(amount, regional_); }
  std::string Years(double years) const { return ReportYears(years, regional_); }
  std::string MonthYear(DayNumber day) const {
    return ReportMonthYear(day, language(), sources_.phrases().NoDate());
  }
  int language() const { return context_.language; }
  std::string Tr(std::string_view phrase) { return sources_.Translate(phrase); }
  // The statements' words in the report's language and formats.
  StatementWords Words() {
    StatementWords words;
    words.translate = [this](std::string_view phrase) { return Tr(phrase); };
    words.money = [this](Money amount) { return Money2(amount); };
    words.years = [this](double years) { return Years(years); };
    words.percent2 = [this](double percent) { return ReportPercent2(percent, regional_); };
    words.monthYear = [this](YearMonth month) {
      return MonthYear(EncodeDate(month.year, month.month, 1));
    };
    return words;
  }

  // The calendar month (1..12) and year of month index i of the tables.
  int CalendarMonth(int i) const {
    const int c = (i + planMonth_) % 12;
    return c == 0 ? 12 : c;
  }
  int CalendarYear(int i) const { return planYear_ + (i + planMonth_ - 1) / 12; }
  std::string ShortMonth(int i) const { return GetShortMonthName(CalendarMonth(i), language()); }

  LoanSchedule& Current() { return results_.CurrentPlan; }
  LoanSchedule& Proposed() { return results_.ProposedPlan; }
  int RowCount() const { return plan_.Debts.GetDebtCount(); }
  std::string DebtName(int k) const { return sources_.phrases().DebtName(plan_, results_, k); }
  std::string DebtNames(const std::vector<int>& loans);
  // "4.5 years", or "Never" for a plan that never pays some debt off.
  std::string PayoffTime(const DebtFreeFigures& plan);
  std::string PayoffDate(const DebtFreeFigures& plan);
  // The legacy years placeholder: the number alone, or "Never".
  std::string PayoffYears(const DebtFreeFigures& plan);
  // "$50.00 a month more than today", "... less than today", or "the same as today".
  std::string PaymentChange(Money increase);
  std::string PayoffText(PayoffKind kind, DayNumber date);
  // The note that says which debts a plan never pays off, once in each section that states
  // how long the plans run or what they save; the payments that would pay today's debts off
  // are listed in the first only.
  // `proposedSaid`: the section itself says what the plan never pays off.
  // `todaySaid`: the section has said what today's payments never pay off, and the saving.
  void NeverPaidOffNotes(bool proposedSaid = false, bool todaySaid = false);
  // For each debt today's payments never pay off: the payment that would, and the one that
  // would within kPayoffPaymentMonths months.
  std::string PaymentsNeeded();
  // The sentence of the immediate results: what the plan saves or costs and when it ends.
  std::string ResultsText();
  // The fee note (a reduced or waived fee), in a table row or a paragraph.
  void FeeNote(const std::string& paragraph);
  // `paragraph`, or its variant for a plan that never pays every debt off, which says no
  // debt-free date and makes no promise of one.
  std::string Worded(const std::string& paragraph) const {
    return statements_.PaysEveryDebt() ? paragraph : paragraph + "NeverPaidOff";
  }

  void Header();
  void Cover();
  void NeverPaidOffLead();
  void CurrentDebts();
  void PlanStrategy();
  void PayoffProjections();
  void StrategiesCompared();
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
  void CompanyContact();

  const ReportContext& context_;
  const PlanDocument& plan_;
  PlanResults& results_;
  const AppSettings& settings_;
  const RegionalSettings& regional_;
  ReportSources sources_;
  PlanFigures figures_;
  PlanStatements statements_;
  StatementTexts texts_;
  ReportDocument report_;
  std::string text_;
  int planMonth_ = 1;
  int planYear_ = 1899;
  // For each paragraph read, the placeholders it puts into table cells.
  std::map<std::string, std::set<std::string, std::less<>>, std::less<>> cellPlaceholders_;
  bool paymentsListed_ = false;
};

// Every value that goes into a table cell keeps its dates and amounts on one line.
void Assembly::Fill(const std::string& paragraph, const Pairs& pairs) {
  const std::vector<std::string>& lines = sources_.Paragraph(paragraph);
  auto cells = cellPlaceholders_.find(paragraph);
  if (cells == cellPlaceholders_.end()) {
    std::string html;
    for (const std::string& line : lines) html += line + "\n";
    cells = cellPlaceholders_.emplace(paragraph, PlaceholdersInCells(html)).first;
  }
  report_.clearReplacements();
  for (const auto& [name, value] : pairs) {
    std::string placeholder = "[$";
    placeholder += name;
    placeholder += "$]";
    std::string text = ReportHtmlText(value);
    if (cells->second.contains(name)) text = KeepFiguresWhole(text);
    report_.addReplacement(std::move(placeholder), std::move(text));
  }
  report_.setTemplateText(lines);
  report_.applyReplacements();
  for (const std::string& line : report_.reportText()) {
    text_ += line;
    text_ += "\r\n";
  }
}

std::string Assembly::DebtNames(const std::vector<int>& loans) {
  std::string names;
  for (std::size_t i = 0; i < loans.size(); ++i) {
    if (i > 0) names += i + 1 == loans.size() ? " " + Tr("and") + " " : ", ";
    names += DebtName(loans[i]);
  }
  return names;
}

std::string Assembly::PayoffTime(const DebtFreeFigures& plan) {
  if (!plan.DebtFree()) return Tr("Never");
  return Years(plan.years) + " " + Tr(plan.years == 1.0 ? "year" : "years");
}

std::string Assembly::PayoffDate(const DebtFreeFigures& plan) {
  return plan.DebtFree() ? MonthYear(plan.date) : Tr("Never");
}

std::string Assembly::PayoffYears(const DebtFreeFigures& plan) {
  return plan.DebtFree() ? Years(plan.years) : Tr("Never");
}

std::string Assembly::PaymentChange(Money increase) {
  if (increase > Money()) return Money2(increase) + " " + Tr("a month more than today");
  if (increase < Money()) return Money2(-increase) + " " + Tr("a month less than today");
  return Tr("the same as today");
}

std::string Assembly::PayoffText(PayoffKind kind, DayNumber date) {
  switch (kind) {
    case PayoffKind::kPaidOff: return MonthYear(date);
    case PayoffKind::kNeverPaidOff: return Tr("Never");
    case PayoffKind::kConsolidated: return Tr("Consolidated");
    case PayoffKind::kNothingOwed: break;
  }
  return MonthYear(0);
}

std::string Assembly::PaymentsNeeded() {
  std::string text;
  for (const UnpaidDebt& debt : statements_.currentUnpaid) {
    if (!text.empty()) text += "; ";
    text += debt.name + ": " + Money2(debt.payoffPayment) + " " + Tr("a month") + ", " + Tr("or") +
            " " + Money2(debt.within60Months) + " " +
            Tr("a month to pay it off within 60 months");
  }
  return text;
}

void Assembly::NeverPaidOffNotes(bool proposedSaid, bool todaySaid) {
  if (!statements_.currentUnpaid.empty() && (!todaySaid || !paymentsListed_)) {
    std::vector<int> loans;
    for (const UnpaidDebt& debt : statements_.currentUnpaid) loans.push_back(debt.loan);
    const bool first = !paymentsListed_;
    paymentsListed_ = true;
    const std::string payments = PaymentsNeeded();
    Fill("CurrentNeverPaidOff",
         {{"DebtNames", DebtNames(loans)},
          {"TodayUnpaid", todaySaid ? "" : texts_.currentUnpaid},
          {"Saving", statements_.PaysEveryDebt() && !todaySaid ? texts_.saving : ""},
          {"PaymentsNeeded", first ? payments : ""},
          {"PaymentsNeededText",
           first ? Tr("These payments would pay off each debt on its own terms:") + " " +
                       payments + "."
                 : ""}});
  }
  if (!statements_.PaysEveryDebt() && !proposedSaid) {
    Fill("ProposedNeverPaidOff", {{"DebtNames", DebtNames(figures_.proposed.neverPaidOff)},
                                  {"NeverPaidOff", texts_.proposedUnpaid},
                                  {"PowerPayment", texts_.powerPayment}});
  }
}

std::string Assembly::ResultsText() {
  if (!statements_.PaysEveryDebt()) {
    return Tr("As it stands, under the plan") + " " + texts_.proposedUnpaid + ". " +
           texts_.powerPayment;
  }
  const std::string ends =
      Tr("It makes you debt free in") + " " + PayoffTime(figures_.proposed);
  // A saving over the months today's payments are compared over follows what they never pay
  // off, which it is measured against.
  const std::string saving = statements_.currentUnpaid.empty()
                                 ? texts_.saving
                                 : texts_.currentUnpaid + " " + texts_.saving;
  if (!statements_.ClaimsSaving()) return saving + " " + ends + ".";
  return Tr("From the first month, the plan starts working for you.") + " " + saving + " " +
         ends + " " + Tr("and cuts the interest you pay by") + " " + texts_.averageSaving + ".";
}

void Assembly::FeeNote(const std::string& paragraph) {
  if (!texts_.fee.empty()) Fill(paragraph, {{"FeeNote", texts_.fee}});
}

AssembledReport Assembly::Run() {
  text_ = kReportDocumentStart;
  Header();
  Cover();
  if (!statements_.PaysEveryDebt()) NeverPaidOffLead();
  if (settings_.PrintCurrentDebts) CurrentDebts();
  if (settings_.PrintPlanStrategy) PlanStrategy();
  if (settings_.PrintPayoffProjections) PayoffProjections();
  if (settings_.PrintStrategiesCompared) StrategiesCompared();
  if (settings_.PrintOptions) {
    const bool anyOption = std::any_of(
        plan_.Accelerators.begin(), plan_.Accelerators.end(),
        [](const Accelerator& a) { return a.Monthly != Money() || a.Annual != Money(); });
    if (anyOption) Options();
  }
  if (settings_.PrintNewLoan && results_.Consolidating) NewLoan();
  if (settings_.PrintReturnOnInvestment) ReturnOnInvestment();
  if (settings_.PrintPayoffSchedule) PayoffSchedule();
  if (settings_.PrintImmediateResults) ImmediateResults();
  if (settings_.PrintPaymentSchedule) PaymentSchedule();
  if (settings_.PrintMonthlyPaymentTables) MonthlyPaymentTables();
  if (settings_.PrintAmortizationTables) AmortizationTables();
  if (settings_.PrintInvestmentProjections) InvestmentProjections();
  if (settings_.PrintContract) Contract();
  Fill("Closer");
  return {JoinTableRuns(text_), sources_.missingParagraphs(), sources_.folderProblem()};
}

void Assembly::Header() {
  const std::string& company = settings_.CompanyName;
  Fill("Header", {{"FirstName", plan_.FirstName},
                  {"LastName", plan_.LastName},
                  {"CompanyName", company},
                  {"TitleCompany", company.empty() ? "" : " \u2014 " + company}});
}

void Assembly::Cover() {
  const CivilDate date = DecodeDate(plan_.Date);
  // The title, the plan's promise (only a plan that pays every debt off makes one), then
  // the client and the date.
  Fill("CoverPage");
  Fill(statements_.PaysEveryDebt() ? "CoverPromise" : "CoverPromiseNeverPaidOff");
  Fill("CoverDetails", {{"FirstName", plan_.FirstName},
                     {"LastName", plan_.LastName},
                     {"CompanyName", settings_.CompanyName},
                     {"PreparedBy", settings_.CompanyName.empty() ? "" : Tr("Prepared by")},
                     {"Month", GetMonthName(date.month, language())},
                     {"Day", ReportInteger(date.day)},
                     {"Suffix", GetOrdinalSuffix(date.day)},
                     {"Year", ReportInteger(date.year)}});
}

void Assembly::NeverPaidOffLead() {
  Fill("NeverPaidOffLead", {{"NeverPaidOff", texts_.proposedUnpaid}});
  for (const UnpaidDebt& debt : statements_.proposedUnpaid) {
    Fill("NeverPaidOffLeadDebt", {{"Description", debt.name},
                                  {"Payment", Money2(debt.payoffPayment)},
                                  {"PayoffTime", PayoffTimeText(debt.payoffMonths, Words())}});
  }
  Fill("NeverPaidOffLeadEnd", {{"PowerPayment", texts_.powerPayment}});
}

void Assembly::CurrentDebts() {
  // The company is the adviser's own, as on the cover.
  Fill("CurrentDebtsPage", {{"FirstName", plan_.FirstName},
                            {"LastName", plan_.LastName},
                            {"CompanyName", settings_.CompanyName}});
  for (int i = 0; i < RowCount(); ++i) {
    const Debt& debt = plan_.Debts.At(i);
    const Loan* loan = Current().GetLoan(i);
    Fill("DebtTable", {{"Description", DebtName(i)},
                       {"InterestRate", ReportPercent3(debt.InterestRate.Value(), regional_)},
                       {"Payment", Money2(loan ? loan->GetScheduledPayment() : Money())},
                       {"Balance", ReportMoneyUnits(debt.Balance, regional_)}});
  }
  Fill("DebtTableFooter", {{"Payment", Money2(figures_.currentDebtsPayment)},
                           {"Balance", Money2(figures_.currentDebtsBalance)}});
  if (figures_.escrow > Money()) {
    Fill("Escrow", {{"Escrow", Money2(figures_.escrow)},
                    {"TotalWithEscrow", Money2(figures_.currentDebtsPaymentWithEscrow)}});
  }
}

void Assembly::PlanStrategy() {
  const StrategyFigures& f = figures_.strategy;
  Fill("PlanStrategyPage", {{"CurrentPayment", Money2(f.currentPayment)},
                            {"ProposedMinimum", Money2(f.proposedMinimum)},
                            {"AdminFee", Money2(f.adminFee)},
                            {"Margin", Money2(f.margin)},
                            {"ProposedPayment", Money2(f.proposedPayment)},
                            {"Difference", Money2(f.paymentIncrease)},
                            {"PaymentChange", PaymentChange(f.paymentIncrease)}});
  Fill(Worded("PlanStrategyInvestment"),
       {{"InterestRate", ReportPercent2(plan_.ReturnRate.Value(), regional_)}});

  // Every source as a signed amount, the fee as a deduction, so the column adds up.
  const bool negotiations = context_.params->PermitNegotiate;
  const FootedColumn sources = MarginSources(f, negotiations);
  std::size_t row = 0;
  const auto next = [&] { return Money2(sources.rows[row++]); };
  Pairs margin = {{"CurrentExcess", next()}, {"Accelerator", next()}};
  if (negotiations) margin.emplace_back("Negotiations", next());
  margin.emplace_back("NewLoanSavings", next());
  margin.emplace_back("AdminFee", next());
  margin.emplace_back("AcceleratorType",
                      Tr(f.accelerator >= Money() ? "Power payment" : "Payment reduction"));
  margin.emplace_back("NewLoanType", Tr(results_.PayoffBalance > Money()
                                            ? "Net benefit from consolidation loan"
                                            : "Setup fee payment"));
  margin.emplace_back("Margin", Money2(sources.total));
  margin.emplace_back("ActualMargin", Money2(f.actualMargin));
  Fill(negotiations ? "Margin5" : "Margin4", margin);

  if (f.monthsOverBudget > 0) {
    Fill("NegativeMargin", {{"NegativeMargin", Money2(f.overBudgetIncrease)},
                            {"OverBudgetChange", PaymentChange(f.overBudgetIncrease)},
                            {"InitialPeriod", ReportInteger(f.monthsOverBudget)},
                            {"ProposedPayment", Money2(f.overBudgetPayment)}});
  }
  const LoanSchedule& proposed = Proposed();
  if (proposed.AnnualAccelerator() != Money()) {
    Fill("AnnualAccelerator",
         {{"AnnualAccelerator", Money2(proposed.AnnualAccelerator())},
          {"AcceleratorMonth", GetMonthName(proposed.AcceleratorMonth(), language())}});
  }
}

void Assembly::PayoffProjections() {
  const PlanFigures& f = figures_;
  Fill(Worded("CurrentVsProposedPage"),
       {{"CurrentPayoffYears", PayoffYears(f.current)},
        {"CurrentPayoffTime", PayoffTime(f.current)},
        {"CurrentPayoffDate", PayoffDate(f.current)},
        {"CurrentInterest", Money2(f.current.totalInterest)},
        {"ProposedPayoffYears", PayoffYears(f.proposed)},
        {"ProposedPayoffTime", PayoffTime(f.proposed)},
        {"ProposedPayoffDate", PayoffDate(f.proposed)},
        {"ProposedInterest", Money2(f.proposed.totalInterest)},
        {"ProposedInterestSavings", Money2(f.shownInterestSaved)},
        {"SavingLabel", texts_.savingLabel},
        {"SavingCell", texts_.savingCell},
        {"Investment", texts_.investment},
        {"InvestmentValue", Money2(f.investmentValue)},
        {"IncreaseAmount", Money2(f.strategy.paymentIncrease)},
        {"PaymentChange", PaymentChange(f.strategy.paymentIncrease)},
        {"ReturnRate", ReportPercent2(plan_.ReturnRate.Value(), regional_)}});
  NeverPaidOffNotes();
}

void Assembly::StrategiesCompared() {
  const StrategyComparison comparison = CompareStrategies(plan_, *context_.params, settings_);
  Fill(Worded("StrategiesComparedPage"));
  for (const std::vector<int>& group : comparison.groups) {
    const PriorityFigures& f = comparison.strategies[group.front()];
    std::string names;
    for (int code : group) {
      if (!names.empty()) names += " / ";
      names += Tr(PriorityCaption(code));
    }
    std::vector<std::string> marks;
    if (comparison.chosen && std::ranges::count(group, *comparison.chosen) > 0) {
      marks.push_back(Tr("your plan"));
    }
    if (f.mostSaved) marks.push_back(Tr("saves the most"));
    std::string notes;
    for (const std::string& mark : marks) notes += (notes.empty() ? "(" : ", ") + mark;
    if (!notes.empty()) notes += ")";
    const DebtFreeFigures& proposed = f.proposed;
    const std::string debtFree =
        proposed.DebtFree()
            ? ReportInteger(proposed.months) + " " + Tr(proposed.months == 1 ? "month" : "months") +
                  " (" + MonthYear(proposed.date) + ")"
            : Tr("Never") + ": " + DebtNames(proposed.neverPaidOff);
    Fill("StrategiesComparedTable",
         {{"Strategy", names},
          {"Notes", notes},
          {"DebtFree", debtFree},
          {"TotalInterest", Money2(proposed.totalInterest)},
          {"InterestSaved", SavingCellText(f.shownInterestSaved, proposed.DebtFree(), Words())},
          {"AnnualReturn", ShowsReturn(f.shownInterestSaved, proposed.DebtFree())
                               ? ReportPercent2(f.annualReturnFraction * 100, regional_)
                               : "\u2014"},
          {"InvestmentValue",
           SavingFigureCellText(Money2(f.investmentValue), proposed.DebtFree())}});
  }
  if (!texts_.strategies.empty()) Fill("StrategiesComparedNote", {{"Note", texts_.strategies}});
}

void Assembly::OptionValues(const std::string& paragraph, std::string selected,
                            bool withSelected) {
  // The figures of the plan as re-run with this option's power payment.
  const PlanFigures option = ComputePlanFigures(plan_, results_);
  Pairs pairs;
  if (withSelected) pairs.emplace_back("SelectedOption", std::move(selected));
  pairs.emplace_back("PeriodicPayment", Money2(option.strategy.proposedPayment));
  pairs.emplace_back("ProposedPayoffYears", PayoffYears(option.proposed));
  pairs.emplace_back("InterestSaved",
                     SavingCellText(option.shownInterestSaved, option.proposed.DebtFree(), Words()));
  pairs.emplace_back("CurrentPayoffYears", PayoffYears(option.current));
  pairs.emplace_back("ReturnRate", ReportPercent2(plan_.ReturnRate.Value(), regional_));
  pairs.emplace_back("InvestmentValue", SavingFigureCellText(Money2(option.investmentValue),
                                                            option.proposed.DebtFree()));
  Fill(paragraph, pairs);
}

void Assembly::Options() {
  Fill(Worded("OptionsPage"));
  LoanSchedule& proposed = Proposed();
  const auto rerun = [&](Money monthly, Money annual, int month) {
    proposed.SetAccelerator(monthly);
    proposed.SetAnnualAccelerator(annual);
    proposed.SetAcceleratorMonth(month);
    proposed.ResetAll();
    proposed.Run();
    CompareOverSameMonths(results_);
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
  results_ = Calculate(plan_, *context_.params, settings_);
}

void Assembly::NewLoan() {
  const NewLoanFigures& f = figures_.newLoan;
  std::string paragraph = "NewLoanPage";
  if (f.payoffBalance > Money()) {
    paragraph = "ConsolidationLoanPage";
  } else if (settings_.PrintPlanFees) {
    paragraph = "PlanFeesPage";
  }
  std::string feeRate;
  if (f.setupFeeAtRate) {
    feeRate = "(" + FormatFixed(f.setupFeeRatePercent, 3, 5, regional_) + "% " +
              Tr("of interest saved") + ")";
  }
  std::string termText = FormatAmount(f.termYears, 0, mtNumber, true, regional_) + " " + Tr("year");
  if (f.termYears != 1) termText += "s";
  std::string loanYearsText = Years(f.payoffYears) + " " + Tr("year");
  if (f.payoffYears != 1.0) loanYearsText += "s";
  // The labels of the window's new-loan page, as the window shows them.
  Fill(paragraph,
       {{"ProposedInterestSavingsPreFee", Money2(f.interestSavedBeforeFee)},
        {"PayoffBalance", Money2(f.payoffBalance)},
        {"FeesRate", ReportPercent3(f.feesRatePercent, regional_)},
        {"Fees", Money2(f.lenderFees)},
        {"FeeRate", feeRate},
        {"OtherFees", Money2(f.setupFee)},
        {"CashPayment", Money2(f.cashPayment)},
        {"ConsolidationBalance", Money2(f.amount)},
        {"PayoffPayment", Money2(f.payoffPayment)},
        {"ConsolidationPayment", Money2(f.payment)},
        {"DifferencePayment", Money2(f.shownPaymentDifference)},
        {"PayoffRate", FormatPercent3(f.payoffRatePercent, regional_)},
        {"ConsolidationRate", FormatPercent3(f.ratePercent, regional_)},
        {"DifferenceRate", FormatPercent3(f.shownRateDifferencePercent, regional_)},
        {"Term", termText},
        {"ConsolidationPayoffYears", loanYearsText},
        {"PointsBase", Money2(f.pointsBase)},
        {"FeeFinancingInterest", Money2(f.feeFinancingInterest)},
        {"ProposedInterestSavings", Money2(figures_.shownInterestSaved)},
        {"SavingBeforeFee",
         SavingClause(PrintedMoney(f.interestSavedBeforeFee), statements_.PaysEveryDebt(), Words())},
        {"SavingAfterFee",
         SavingClause(figures_.shownInterestSaved, statements_.PaysEveryDebt(), Words())}});
}

void Assembly::ReturnOnInvestment() {
  // Only a plan that saves earns its fees back; a fee lowered for a small saving is said
  // either way.
  if (!statements_.ClaimsSaving() || !(results_.AnnualReturn.Value() > 0)) {
    if (texts_.fee.empty()) return;
    Fill("PlanFeesNotePage", {{"SetupFee", Money2(results_.ActualSetupFee)},
                              {"DownPayment", Money2(results_.ActualDownPayment)},
                              {"MonthlyFee", Money2(plan_.ManagementFee)},
                              {"FeeNote", texts_.fee}});
    return;
  }
  const DebtFreeFigures& proposed = figures_.proposed;
  Fill("InvestmentReturnPage",
       {{"SetupFee", Money2(results_.ActualSetupFee)},
        {"MonthlyFee", Money2(plan_.ManagementFee)},
        {"InterestSaved", Money2(figures_.shownInterestSaved)},
        {"AnnualReturn", ReportPercent2(figures_.AnnualReturnPercent(), regional_)},
        {"ProposedPayoffYears", PayoffYears(proposed)},
        {"OverThePlan", proposed.DebtFree() ? Tr("Over the") + " " + PayoffTime(proposed) + " " +
                                                   Tr("of the plan")
                                             : Tr("Over the plan")}});
  FeeNote("FeeNote");
}

void Assembly::PayoffSchedule() {
  const DebtFreeFigures& proposed = figures_.proposed;
  Fill("PayoffSchedulePage",
       {{"FirstName", plan_.FirstName},
        {"LastName", plan_.LastName},
        {"ProposedPayoffDate", PayoffDate(proposed)},
        {"DebtFreeLead", Tr(proposed.DebtFree() ? "under the plan you will be debt free by"
                                                : "the plan as it stands never pays off")},
        {"DebtFreeWhen",
         proposed.DebtFree() ? MonthYear(proposed.date) : DebtNames(proposed.neverPaidOff)}});
  for (const DebtPayoff& debt : figures_.payoffs) {
    Fill("PayoffTable", {{"Description", DebtName(debt.loan)},
                         {"CurrentPayoffDate", PayoffText(debt.currentKind, debt.currentDate)},
                         {"ProposedPayoffDate", PayoffText(debt.proposedKind, debt.proposedDate)}});
  }
  const DebtFreeFigures& current = figures_.current;
  Fill(Worded("PayoffTableFooter"), {{"CurrentPayoffDate", PayoffDate(current)},
                             {"ProposedPayoffDate", PayoffDate(proposed)},
                             {"CurrentPayoffYears", PayoffYears(current)},
                             {"ProposedPayoffYears", PayoffYears(proposed)},
                             {"CurrentPayoffTime", PayoffTime(current)},
                             {"ProposedPayoffTime", PayoffTime(proposed)},
                             {"CurrentInterest", Money2(current.totalInterest)},
                             {"ProposedInterest", Money2(proposed.totalInterest)}});
  NeverPaidOffNotes();
}

void Assembly::ImmediateResults() {
  const DebtFreeFigures& proposed = figures_.proposed;
  Fill("ImmediateResultsPage",
       {{"ProposedInterestSavings", Money2(figures_.shownInterestSaved)},
        {"ProposedPayoffYears", PayoffYears(proposed)},
        {"DebtFreeIn", proposed.DebtFree()
                           ? Tr("makes you debt free in") + " " + PayoffTime(proposed)
                           : Tr("yet never pays off") + " " + DebtNames(proposed.neverPaidOff)},
        {"ProposedMonthlyInterestSavings", Money2(figures_.monthlyInterestSaving)},
        {"AverageSaving", texts_.averageSaving},
        {"Results", ResultsText()}});
  NeverPaidOffNotes(true, statements_.PaysEveryDebt());
  Fill("Actions");
  Fill(statements_.PaysEveryDebt() ? "ActionsCloser" : "ActionsCloserNeverPaidOff");
  CompanyContact();
}

void Assembly::CompanyContact() {
  const std::pair<const std::string*, const char*> company[] = {
      {&settings_.CompanyName, "CompanyName"},
      {&settings_.CompanyAddress, "CompanyAddress"},
      {&settings_.CompanyCityStateZip, "CompanyCityStateZip"},
      {&settings_.CompanyPhone, "CompanyPhone"},
      {&settings_.CompanyFax, "CompanyFax"},
      {&settings_.CompanyWebSite, "CompanyWebSite"}};
  bool introduced = false;
  for (const auto& [value, name] : company) {
    if (value->empty()) continue;
    if (!introduced) Fill("ContactUs");
    introduced = true;
    Fill(std::string(name) + "Close", {{name, *value}});
  }
}

void Assembly::PaymentSchedule() {
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

void Assembly::MonthlyPaymentTables() {
  Fill("MonthlyPaymentSchedulePage");
  LoanSchedule& proposed = Proposed();
  const Money escrowTotal = Current().GetTotalEscrow();
  // Debt names in payoff order, translated once.
  std::vector<std::pair<int, std::string>> debts;
  for (const DebtPayoff& debt : figures_.payoffs) {
    if (proposed.GetLoan(debt.loan)) debts.emplace_back(debt.loan, DebtName(debt.loan));
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

void Assembly::AmortizationTables() {
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
    const int months = payoff.proposedKind == PayoffKind::kPaidOff
                           ? debt->PayoffMonths()
                           : std::min(debt->ComputedMonths(),
                                      std::max(results_.ProjectionMonths, 12));
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

void Assembly::InvestmentProjections() {
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

void Assembly::Contract() {
  std::error_code error;
  if (!std::filesystem::is_regular_file(
          context_.programFolder / "Templates" / "Contract.ktf", error)) {
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

}  // namespace

AssembledReport AssembleReport(const ReportContext& context) {
  return Assembly(context).Run();
}

}  // namespace ardvane
