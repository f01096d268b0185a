#include "inputs/set_payment.h"

#include "figures/display_formats.h"
#include "figures/payoff_payment.h"

namespace ardvane {

std::optional<SetPaymentOffer> SetPaymentOfferFor(const PlanDocument& plan,
                                                  const PlanResults& results, int row,
                                                  const RegionalSettings& regional) {
  if (!plan.Debts.ValidRow(row)) return std::nullopt;
  const std::optional<PayoffPayments> payments = PayoffPaymentsFor(results, row);
  if (!payments) return std::nullopt;
  SetPaymentOffer offer;
  offer.row = row;
  offer.payment = payments->within60Months;
  offer.months = payments->within60MonthsMonths;
  offer.text = FormatMoney(offer.payment, 2, regional) + " a month, paid off in " +
               FormatMonthCount(offer.months);
  return offer;
}

Debt DebtWithPaymentOffer(const Debt& debt, const SetPaymentOffer& offer) {
  Debt taken = debt;
  taken.CurrentPayment = GeneralValue(static_cast<double>(offer.payment.Units()));
  taken.UseMinimum = false;
  return taken;
}

}  // namespace ardvane
