#pragma once

// The report's assembly, one run of it (AssembleReport): used by the assembly's own files only.

#include <algorithm>
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
#include "reports/report_generator.h"
#include "reports/report_language.h"
#include "reports/report_text.h"

namespace ardvane {

// One run of the assembly: the sources, the substitution object and the growing text.
class ReportAssembly {
 public:
  using Pairs = std::vector<std::pair<std::string_view, std::string>>;

  explicit ReportAssembly(const ReportContext& context)
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
  Language language() const { return context_.language; }
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

}  // namespace ardvane
