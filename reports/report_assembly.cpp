#include "reports/report_assembly.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/number_text.h"
#include "engine/month_names.h"
#include "reports/report_tables.h"

namespace ardvane {

// Every value that goes into a table cell keeps its dates and amounts on one line.
void ReportAssembly::Fill(const std::string& paragraph, const Pairs& pairs) {
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

std::string ReportAssembly::DebtNames(const std::vector<int>& loans) {
  std::string names;
  for (std::size_t i = 0; i < loans.size(); ++i) {
    if (i > 0) names += i + 1 == loans.size() ? " " + Tr("and") + " " : ", ";
    names += DebtName(loans[i]);
  }
  return names;
}

std::string ReportAssembly::PayoffTime(const DebtFreeFigures& plan) {
  if (!plan.DebtFree()) return Tr("Never");
  return Years(plan.years) + " " + Tr(plan.years == 1.0 ? "year" : "years");
}

std::string ReportAssembly::PayoffDate(const DebtFreeFigures& plan) {
  return plan.DebtFree() ? MonthYear(plan.date) : Tr("Never");
}

std::string ReportAssembly::PayoffYears(const DebtFreeFigures& plan) {
  return plan.DebtFree() ? Years(plan.years) : Tr("Never");
}

std::string ReportAssembly::PaymentChange(Money increase) {
  if (increase > Money()) return Money2(increase) + " " + Tr("a month more than today");
  if (increase < Money()) return Money2(-increase) + " " + Tr("a month less than today");
  return Tr("the same as today");
}

std::string ReportAssembly::PayoffText(PayoffKind kind, DayNumber date) {
  switch (kind) {
    case PayoffKind::kPaidOff: return MonthYear(date);
    case PayoffKind::kNeverPaidOff: return Tr("Never");
    case PayoffKind::kConsolidated: return Tr("Consolidated");
    case PayoffKind::kNothingOwed: break;
  }
  return MonthYear(0);
}

std::string ReportAssembly::PaymentsNeeded() {
  std::string text;
  for (const UnpaidDebt& debt : statements_.currentUnpaid) {
    if (!text.empty()) text += "; ";
    text += debt.name + ": " + Money2(debt.payoffPayment) + " " + Tr("a month") + ", " + Tr("or") +
            " " + Money2(debt.within60Months) + " " +
            Tr("a month to pay it off within 60 months");
  }
  return text;
}

void ReportAssembly::NeverPaidOffNotes(bool proposedSaid, bool todaySaid) {
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

std::string ReportAssembly::ResultsText() {
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

void ReportAssembly::FeeNote(const std::string& paragraph) {
  if (!texts_.fee.empty()) Fill(paragraph, {{"FeeNote", texts_.fee}});
}

AssembledReport ReportAssembly::Run() {
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
  return {JoinTableRuns(text_), sources_.missingParagraphs(), sources_.folderStatus()};
}

void ReportAssembly::Header() {
  const std::string& company = settings_.CompanyName;
  Fill("Header", {{"FirstName", plan_.FirstName},
                  {"LastName", plan_.LastName},
                  {"CompanyName", company},
                  {"TitleCompany", company.empty() ? "" : " \u2014 " + company}});
}

void ReportAssembly::Cover() {
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

void ReportAssembly::NeverPaidOffLead() {
  Fill("NeverPaidOffLead", {{"NeverPaidOff", texts_.proposedUnpaid}});
  for (const UnpaidDebt& debt : statements_.proposedUnpaid) {
    Fill("NeverPaidOffLeadDebt", {{"Description", debt.name},
                                  {"Payment", Money2(debt.payoffPayment)},
                                  {"PayoffTime", PayoffTimeText(debt.payoffMonths, Words())}});
  }
  Fill("NeverPaidOffLeadEnd", {{"PowerPayment", texts_.powerPayment}});
}

void ReportAssembly::CurrentDebts() {
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

void ReportAssembly::PlanStrategy() {
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

void ReportAssembly::PayoffProjections() {
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

void ReportAssembly::StrategiesCompared() {
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

void ReportAssembly::OptionValues(const std::string& paragraph, std::string selected,
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

void ReportAssembly::Options() {
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

void ReportAssembly::NewLoan() {
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
  std::string termText =
      FormatAmount(f.termYears, 0, kNumberAmount, true, regional_) + " " + Tr("year");
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

void ReportAssembly::ReturnOnInvestment() {
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

void ReportAssembly::PayoffSchedule() {
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

void ReportAssembly::ImmediateResults() {
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

void ReportAssembly::CompanyContact() {
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

AssembledReport AssembleReport(const ReportContext& context) {
  return ReportAssembly(context).Run();
}

}  // namespace ardvane
