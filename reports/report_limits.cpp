#include "reports/report_limits.h"

#include <algorithm>

namespace ardvane {
namespace {

// Bytes of the shipped templates' paragraphs with their figures, rounded up: a row of an
// amortization table and its heading, a debt's row of a month's payment table and the
// month's heading and total.
constexpr long long kAmortizationRowBytes = 520;
constexpr long long kAmortizationHeadingBytes = 1100;
constexpr long long kMonthRowBytes = 260;
constexpr long long kMonthHeadingBytes = 900;

// 1234567 as "1,234,567": a count in a message, whatever the regional settings.
std::string Count(long long value) {
  std::string digits = std::to_string(value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
    digits.insert(static_cast<std::size_t>(i), 1, ',');
  }
  return digits;
}

// Bytes of `text` escaped for HTML, where a markup character takes up to six.
long long HtmlBytes(const std::string& text) {
  long long bytes = static_cast<long long>(text.size());
  for (const char c : text) {
    if (c == '&' || c == '<' || c == '>' || c == '"' || c == '\'') bytes += 5;
  }
  return bytes;
}

}  // namespace

std::string ReportDebtsRefusal(int debts) {
  if (debts <= kMostReportDebts) return {};
  return "The report was not written: the plan has " + Count(debts) + " debts, more than the " +
         Count(kMostReportDebts) + " a report can show. Split the plan into smaller ones.";
}

long long ReportTableBytes(const PlanDocument& plan, const PlanResults& results,
                           const AppSettings& settings) {
  const LoanSchedule& proposed = results.ProposedPlan;
  const long long months = proposed.GetDebtFreeMonths();
  long long bytes = 0;
  for (int i = 0; i < proposed.GetCount(); ++i) {
    const Loan& loan = *proposed.GetLoan(i);
    // The consolidation loan after the debts has a short name of the report's own.
    const long long name = i < plan.Debts.GetDebtCount() ? HtmlBytes(plan.Debts.At(i).Name) : 0;
    // An amortization table: a heading with the name, at most a row per simulated month.
    if (settings.PrintAmortizationTables && loan.ComputedMonths() > 0) {
      bytes += kAmortizationHeadingBytes + name + loan.ComputedMonths() * kAmortizationRowBytes;
    }
    // The monthly tables list a loan, by name, in every month it owes, or in every month
    // when it carries escrow.
    if (settings.PrintMonthlyPaymentTables) {
      const long long rows =
          loan.Escrow() > Money() ? months : std::min<long long>(loan.ComputedMonths(), months);
      bytes += rows * (kMonthRowBytes + name);
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
         Count((bytes + kMB - 1) / kMB) + " MB, more than the " +
         Count(kMostReportTableBytes / kMB) +
         " MB a report can hold. Turn off \"Monthly Payment Tables\" or \"Amortization "
         "Tables\" in the print settings, or split the plan into smaller ones.";
}

}  // namespace ardvane
