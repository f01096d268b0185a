#include "reports/report_limits.h"

#include <algorithm>
#include <string_view>

#include "base/utf8.h"
#include "engine/calculation_limits.h"

namespace ardvane {
namespace {

// Bytes of the shipped templates' paragraphs with their figures, rounded up: a row of an
// amortization table and its heading, a debt's row of a month's payment table and the
// month's heading and total.
constexpr long long kAmortizationRowBytes = 520;
constexpr long long kAmortizationHeadingBytes = 1100;
constexpr long long kMonthRowBytes = 260;
constexpr long long kMonthHeadingBytes = 900;

// Bytes of `text` escaped for HTML, where a markup character takes up to six.
long long HtmlBytes(const std::string& text) {
  long long bytes = static_cast<long long>(text.size());
  for (const char c : text) {
    if (c == '&' || c == '<' || c == '>' || c == '"' || c == '\'') bytes += 5;
  }
  return bytes;
}

}  // namespace

std::string NameInMonthlyTables(const std::string& name) {
  const std::string_view kept = Utf8Prefix(name, kLongestNameInMonthlyTables);
  if (kept.size() == name.size()) return name;
  return std::string(kept) + "\u2026";
}

std::string ReportDebtsRefusal(int debts) {
  if (debts <= kMostReportDebts) return {};
  return "The report was not written: the plan has " + GroupedCount(debts) +
         " debts, more than the " + GroupedCount(kMostReportDebts) +
         " a report can show. Split the plan into smaller ones.";
}

long long ReportTableBytes(const PlanDocument& plan, const PlanResults& results,
                           const AppSettings& settings) {
  const LoanSchedule& proposed = results.ProposedPlan;
  const long long months = proposed.GetDebtFreeMonths();
  long long bytes = 0;
  for (int i = 0; i < proposed.GetCount(); ++i) {
    const Loan& loan = *proposed.GetLoan(i);
    // The consolidation loan after the debts has a short name of the report's own.
    const std::string* name = i < plan.Debts.GetDebtCount() ? &plan.Debts.At(i).Name : nullptr;
    const long long nameBytes = name ? HtmlBytes(*name) : 0;
    // An amortization table: a heading with the name, at most a row per simulated month.
    if (settings.PrintAmortizationTables && loan.ComputedMonths() > 0) {
      bytes +=
          kAmortizationHeadingBytes + nameBytes + loan.ComputedMonths() * kAmortizationRowBytes;
    }
    // The monthly tables list a loan, by name, in every month it owes, or in every month
    // when it carries escrow.
    if (settings.PrintMonthlyPaymentTables) {
      const long long rows =
          loan.Escrow() > Money() ? months : std::min<long long>(loan.ComputedMonths(), months);
      bytes += rows * (kMonthRowBytes + (name ? HtmlBytes(NameInMonthlyTables(*name)) : 0));
    }
  }
  if (settings.PrintMonthlyPaymentTables) bytes += months * kMonthHeadingBytes;
  return bytes;
}

std::string ReportSizeRefusal(const PlanDocument& plan, const PlanResults& results,
                              const AppSettings& settings) {
  std::string refusal = ReportDebtsRefusal(std::max(plan.Debts.GetDebtCount(), results.DebtCount));
  if (!refusal.empty()) return refusal;
  const long long bytes = ReportTableBytes(plan, results, settings);
  if (bytes <= kMostReportTableBytes) return {};
  constexpr long long kMB = 1'000'000;
  return "The report was not written: its monthly payment tables and amortization tables "
         "would take about " +
         GroupedCount((bytes + kMB - 1) / kMB) + " MB, more than the " +
         GroupedCount(kMostReportTableBytes / kMB) +
         " MB a report can hold. Turn off \"Monthly Payment Tables\" or \"Amortization "
         "Tables\" in the print settings, or split the plan into smaller ones.";
}

}  // namespace ardvane
