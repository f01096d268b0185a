#include "figures/payoff_payment.h"

#include <algorithm>
#include <cstdint>

#include "figures/cent_search.h"
#include "figures/display_formats.h"
#include "figures/plan_figures.h"

namespace ardvane {
namespace {

// A copy of a loan's terms that runs on its own with one payment after another.
class PayoffTrial {
 public:
  PayoffTrial(const Loan& terms, int months) : months_(months) {
    loan_.SetBalance(terms.Balance());
    loan_.SetInterestRate(terms.InterestRate());
    loan_.SetCompoundingPeriod(terms.CompoundingPeriod());
    loan_.SetMinimumPaymentPercent(terms.MinimumPaymentPercent());
    loan_.SetMinimumPaymentAmount(terms.MinimumPaymentAmount());
    loan_.SetStartDate(terms.StartDate());
  }

  // Whether a payment of `cents` a month pays the loan off within the months.
  bool PaysOff(std::int64_t cents) { return MonthsWith(MoneyFromCents(cents)) > 0; }

  // The months a payment of `payment` takes to pay the loan off; 0 when not within the months.
  int MonthsWith(Money payment) {
    loan_.ResetSchedule();
    loan_.SetCurrentPayment(payment);
    for (int m = 0; m < months_ && loan_.GetBeginBalance(m) > Money(); ++m) loan_.StepMonth(m);
    return loan_.PayoffMonths();
  }

  // The first month's balance and interest: a payment of this much clears the loan at once.
  Money FirstMonthOwed() {
    loan_.ResetSchedule();
    loan_.StepMonth(0);
    return loan_.GetBeginBalance(0) + Max(Money(), loan_.GetInterest(0));
  }

 private:
  Loan loan_;
  int months_;
};

}  // namespace

Money SmallestPayoffPayment(const Loan& terms, int months) {
  if (!(terms.Balance() > Money())) return Money();
  PayoffTrial trial(terms, std::clamp(months, 1, Loan::kMaxMonths));
  if (trial.PaysOff(0)) return Money();
  std::int64_t failing = 0;
  // Whole cents at or above the first month's balance and interest.
  std::int64_t passing = (trial.FirstMonthOwed().Count() + kCountsPerCent - 1) / kCountsPerCent;
  // That always passes; should a balance near the limits of Money defeat it, more is tried.
  while (!trial.PaysOff(passing) && passing < INT64_MAX / kCountsPerCent / 2) {
    failing = passing;
    passing *= 2;
  }
  return MoneyFromCents(
      BisectCents(failing, passing, [&trial](std::int64_t cents) { return trial.PaysOff(cents); }));
}

int PayoffMonthsWith(const Loan& terms, Money payment) {
  if (!(terms.Balance() > Money())) return 0;
  return PayoffTrial(terms, Loan::kMaxMonths).MonthsWith(payment);
}

PayoffPayments PayoffPaymentsOf(const Loan& terms) {
  PayoffPayments payments;
  payments.any = SmallestPayoffPayment(terms, Loan::kMaxMonths);
  payments.within60Months = SmallestPayoffPayment(terms, kPayoffPaymentMonths);
  payments.anyMonths = PayoffMonthsWith(terms, payments.any);
  payments.within60MonthsMonths = PayoffMonthsWith(terms, payments.within60Months);
  return payments;
}

std::optional<PayoffPayments> PayoffPaymentsFor(const PlanResults& results, int index) {
  if (!NeverPaysOff(results.CurrentPlan, index)) return std::nullopt;
  return PayoffPaymentsOf(*results.CurrentPlan.GetLoan(index));
}

std::string PayoffPaymentsText(const PayoffPayments& payments, const RegionalSettings& regional) {
  if (payments.any == payments.within60Months) {
    return "A payment of " + FormatMoney(payments.any, 2, regional) +
           " a month pays this debt off in " + FormatMonthCount(payments.anyMonths) + ".";
  }
  return "A payment of " + FormatMoney(payments.any, 2, regional) +
         " a month pays this debt off in " + FormatMonthCount(payments.anyMonths) + "; " +
         FormatMoney(payments.within60Months, 2, regional) + " a month pays it off in " +
         FormatMonthCount(payments.within60MonthsMonths) + ".";
}

std::optional<std::string> NoPayoffWarning(const PlanDocument& plan, const PlanResults& results,
                                           int index, const RegionalSettings& regional) {
  std::optional<std::string> warning = CheckForNoPayoff(plan, results, index);
  if (!warning) return warning;
  if (const auto payments = PayoffPaymentsFor(results, index)) {
    *warning += "\n\n" + PayoffPaymentsText(*payments, regional);
  }
  return warning;
}

}  // namespace ardvane
