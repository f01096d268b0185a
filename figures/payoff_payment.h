#pragma once

#include <optional>
#include <string>

#include "engine/loan.h"
#include "engine/money.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"

namespace ardvane {

// The payment that pays off a debt the current plan never pays off.

// Months within which the quicker of the two payments pays the debt off.
inline constexpr int kPayoffPaymentMonths = 60;

struct PayoffPayments {
  // The smallest monthly payment, in whole cents, with which the debt is paid off within the
  // Loan::kMaxMonths months of any schedule.
  Money any;
  // The smallest with which it is paid off within kPayoffPaymentMonths months (PayoffMonths
  // at most 60, month 0 being the plan month). Never below `any`.
  Money within60Months;
  // The months each takes to pay the debt off (its PayoffMonths with that payment).
  int anyMonths = 0;
  int within60MonthsMonths = 0;
};

// The smallest payment, in whole cents, with which `terms` pays itself off within `months`
// months (1..Loan::kMaxMonths) on its own: the loan's balance, rate, compounding and minimum
// terms are kept, "use minimum" is off, escrow plays no part, it is not part of a plan (no
// extra payments) and only the current payment varies. Each amount tried is a run of the loan's
// own monthly steps from month 0; the answer pays off in time and one cent less does not
// (unless the answer is 0). A loan with no balance needs 0.
Money SmallestPayoffPayment(const Loan& terms, int months);

// The months `terms` takes to pay itself off on its own (as SmallestPayoffPayment runs it)
// with a payment of `payment` a month; 0 when it is not paid off within Loan::kMaxMonths.
int PayoffMonthsWith(const Loan& terms, Money payment);

// Both payments for `terms` on its own, as SmallestPayoffPayment finds them, with their months.
PayoffPayments PayoffPaymentsOf(const Loan& terms);

// Both payments for loan `index` of the current plan of `results`, when that loan has a
// balance and is never paid off (NeverPaysOff); none for any other loan.
std::optional<PayoffPayments> PayoffPaymentsFor(const PlanResults& results, int index);

// The two payments as the window says them, money with 2 decimals, each with its months:
// "A payment of $124.96 a month pays this debt off in 447 months; $287.68 a month pays it off
// in 60 months."
std::string PayoffPaymentsText(const PayoffPayments& payments, const RegionalSettings& regional);

// The warning shown when a debt that the current plan never pays off is opened or stored
// (CheckForNoPayoff), followed by PayoffPaymentsText; none for any other debt.
std::optional<std::string> NoPayoffWarning(const PlanDocument& plan, const PlanResults& results,
                                           int index, const RegionalSettings& regional);

}  // namespace ardvane
