#pragma once

#include <optional>
#include <string>

#include "engine/money.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"

namespace ardvane {

// "Set payment" on a debt the current plan never pays off: its current payment becomes the
// smallest that pays it off on its own within 60 months (PayoffPayments::within60Months) and
// "Use Minimum" is cleared, so that the current plan pays it off in those months.
struct SetPaymentOffer {
  int row = 0;     // the debt row, from 0
  Money payment;   // whole cents
  int months = 0;  // the months the payment takes to pay the debt off
  // What the command does, for its caption: "$53.23 a month, paid off in 60 months".
  std::string text;
};

// The offer for debt row `row` of the plan as last calculated; none when the current plan pays
// that debt off, or there is no such row.
std::optional<SetPaymentOffer> SetPaymentOfferFor(const PlanDocument& plan,
                                                  const PlanResults& results, int row,
                                                  const RegionalSettings& regional);

// The debt of row `offer.row` with the offer taken: the offer's payment as its current payment
// and Use Minimum off; every other field as it is. The caller stores it (PlanSession::EditDebt).
Debt DebtWithPaymentOffer(const Debt& debt, const SetPaymentOffer& offer);

}  // namespace ardvane
