#include "app/results_json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "base/utf8.h"
#include "engine/calendar.h"
#include "figures/csv_tables.h"
#include "figures/payoff_payment.h"
#include "figures/plan_figures.h"

namespace ardvane {
namespace {

std::string FloatJson(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string DateJson(DayNumber day) {
  if (day == 0) return "null";
  const CivilDate date = DecodeDate(day);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "\"%04d-%02d-%02d\"", date.year, date.month, date.day);
  return buffer;
}

// A JSON string of `text`: " and \ escaped, control characters as \u escapes, and each byte
// that starts no well-formed UTF-8 sequence as U+FFFD, so that the output is UTF-8 (as JSON
// must be) whatever bytes a name holds.
std::string StringJson(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else if (const std::optional<Utf8Character> character = DecodeUtf8(text, i)) {
      out.append(text, i, character->length);
      i += character->length;
      continue;
    } else {
      AppendUtf8(out, kReplacementCharacter);
    }
    ++i;
  }
  return out + "\"";
}

// Builds "key": value pairs separated by commas.
class ObjectWriter {
 public:
  ObjectWriter& Add(const char* key, const std::string& json) {
    if (!body_.empty()) body_ += ", ";
    body_ += '"';
    body_ += key;
    body_ += "\": ";
    body_ += json;
    return *this;
  }
  ObjectWriter& Money(const char* key, ardvane::Money value) { return Add(key, MoneyJson(value)); }
  ObjectWriter& Int(const char* key, long long value) { return Add(key, std::to_string(value)); }
  ObjectWriter& Float(const char* key, double value) { return Add(key, FloatJson(value)); }
  ObjectWriter& Date(const char* key, DayNumber day) { return Add(key, DateJson(day)); }
  std::string Json() const { return "{" + body_ + "}"; }

 private:
  std::string body_;
};

std::string NamesJson(const std::vector<std::string>& names) {
  std::string json = "[";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) json += ", ";
    json += StringJson(names[i]);
  }
  return json + "]";
}

// The figures both plans report.
ObjectWriter DebtFreeJson(const DebtFreeFigures& plan) {
  ObjectWriter w;
  w.Int("debt_free_months", plan.months)
      .Float("debt_free_years", plan.years)
      .Date("debt_free_date", plan.date)
      .Money("total_interest", plan.totalInterest)
      .Money("monthly_outlay", plan.monthlyOutlay)
      .Add("never_paid_off", NamesJson(plan.neverPaidOffNames));
  return w;
}

}  // namespace

std::string MoneyJson(Money amount) {
  const long long count = amount.Count();
  // The magnitude as unsigned, so the most negative count is no special case.
  const unsigned long long magnitude = count < 0 ? 0ULL - static_cast<unsigned long long>(count)
                                                 : static_cast<unsigned long long>(count);
  std::string out = count < 0 ? "-" : "";
  out += std::to_string(magnitude / 10000);
  std::string fraction = std::to_string(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), '0');
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) out += "." + fraction;
  return out;
}

std::string ResultsToJson(const PlanDocument& plan, const PlanResults& r) {
  const LoanSchedule& current = r.CurrentPlan;
  const LoanSchedule& proposed = r.ProposedPlan;
  const PlanFigures f = ComputePlanFigures(plan, r);

  const std::string currentJson = DebtFreeJson(f.current).Money("total_escrow", f.escrow).Json();
  const std::string proposedJson =
      DebtFreeJson(f.proposed)
          .Int("first_month_within_budget", f.strategy.monthsOverBudget)
          .Json();

  ObjectWriter newLoan;
  newLoan.Money("payoff_balance", r.PayoffBalance)
      .Money("payoff_payment", r.PayoffPayment)
      .Money("payoff_minimum", r.PayoffMinimum)
      .Float("payoff_average_rate", r.PayoffAverageRate.Value())
      .Float("rate", r.NewLoanRate.Value())
      .Money("points_fee", r.NewLoanPointsFee)
      .Money("fixed_fees", r.NewLoanFixedFees)
      .Money("setup_fee", r.NewLoanSetupFee)
      .Money("cash_out", r.CashOutAmount)
      .Money("amount", r.NewLoanAmount)
      .Money("payment", r.NewLoanPayment);

  std::string loans = "[";
  for (int i = 0; i < proposed.GetCount(); ++i) {
    const Loan* now = current.GetLoan(i);
    const Loan& planned = *proposed.GetLoan(i);
    ObjectWriter currentLoan;
    currentLoan.Int("payoff_months", now ? now->PayoffMonths() : 0)
        .Date("payoff_date", now ? now->PayoffDate() : 0)
        .Money("total_interest", now ? now->TotalInterest() : Money())
        .Money("scheduled_payment", now ? now->GetScheduledPayment() : Money());
    if (const std::optional<PayoffPayments> needed = PayoffPaymentsFor(r, i)) {
      currentLoan.Add("payment_needed", ObjectWriter()
                                            .Money("any", needed->any)
                                            .Money("in_60_months", needed->within60Months)
                                            .Json());
    }
    // What a debt never paid off still owes when the months both plans are compared over end.
    if (now && now->NeverPaidOff()) {
      currentLoan.Money("owed_at_horizon", now->GetBeginBalance(r.InterestHorizonMonths));
    }
    ObjectWriter proposedLoan;
    proposedLoan.Int("payoff_months", planned.PayoffMonths())
        .Date("payoff_date", planned.PayoffDate())
        .Money("total_interest", planned.TotalInterest())
        .Int("payoff_order", planned.PayoffOrder());
    if (planned.NeverPaidOff()) {
      proposedLoan.Money("owed_at_horizon", planned.GetBeginBalance(r.InterestHorizonMonths));
    }
    ObjectWriter loan;
    loan.Add("name", StringJson(GetDebtName(plan, r, i)))
        .Add("current", currentLoan.Json())
        .Add("proposed", proposedLoan.Json());
    if (i > 0) loans += ", ";
    loans += loan.Json();
  }
  loans += "]";

  ObjectWriter w;
  w.Add("current", currentJson)
      .Add("proposed", proposedJson)
      .Money("interest_saved", f.interestSaved)
      .Money("interest_saved_before_fee", r.InterestSavedBeforeFee)
      .Money("rate_setup_fee", r.RateSetupFee)
      .Money("actual_setup_fee", r.ActualSetupFee)
      .Money("actual_down_payment", r.ActualDownPayment)
      .Money("setup_fee_financed", r.SetupFeeFinanced)
      .Float("annual_return", f.annualReturnFraction)
      .Money("monthly_interest_saving", r.MonthlyInterestSaving)
      .Money("negotiated_minimums", r.NegotiatedMinimums)
      .Int("projection_months", r.ProjectionMonths)
      .Money("investment_value", f.investmentValue)
      .Add("new_loan", newLoan.Json())
      .Add("loans", loans);
  return w.Json();
}

std::string StrategiesToJson(const StrategyComparison& comparison) {
  std::string strategies = "[";
  for (const PriorityFigures& f : comparison.strategies) {
    if (strategies.size() > 1) strategies += ", ";
    strategies += ObjectWriter()
                      .Int("priority", f.priority)
                      .Add("name", StringJson(std::string(PriorityCaption(f.priority))))
                      .Int("debt_free_months", f.proposed.months)
                      .Date("debt_free_date", f.proposed.date)
                      .Money("total_interest", f.proposed.totalInterest)
                      .Add("never_paid_off", NamesJson(f.proposed.neverPaidOffNames))
                      .Money("interest_saved", f.interestSaved)
                      .Float("annual_return", f.annualReturnFraction)
                      .Money("investment_value", f.investmentValue)
                      .Json();
  }
  strategies += "]";
  return ObjectWriter()
      .Add("chosen", comparison.chosen ? std::to_string(*comparison.chosen) : "null")
      .Add("strategies", strategies)
      .Json();
}

std::string PowerPaymentGoalToJson(YearMonth goal, const PowerPaymentGoal& found,
                                   DayNumber planDate) {
  char by[32];
  std::snprintf(by, sizeof by, "\"%04d-%02d\"", goal.year, goal.month);
  ObjectWriter w;
  w.Add("by", by).Add("attainable", found.attainable ? "true" : "false");
  if (found.attainable) {
    w.Add("power_payment", PlainCents(found.powerPayment))
        .Int("debt_free_months", found.proposed.months)
        // Nothing to pay off: debt free from the plan's own date, in no months.
        .Date("debt_free_date", found.proposed.date != 0 ? found.proposed.date : planDate);
  } else {
    w.Add("power_payment", "null").Add("debt_free_months", "null").Add("debt_free_date", "null");
  }
  return w.Json();
}

}  // namespace ardvane
