#include "inputs/set_payment.h"

#include "base/number_text.h"
#include "figures/display_formats.h"
#include "figures/payoff_payment.h"

namespace ardvane {

std::optional<SetPaymentOffer> SetPaymentOfferFor(const PlanDocument& plan,
                                                  const PlanResults& results, int row,
                                                  const RegionalSettings& regional) {
  if (row < 0 || row >= plan.Debts.GetDebtCount()) return std::nullopt;
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

DebtFields SetPaymentFields(const DebtRows& rows, const SetPaymentOffer& offer,
                            const RegionalSettings& regional) {
  DebtFields fields = rows.Row(offer.row);
  fields.CurrentPayment =
      FormatGeneral(static_cast<double>(offer.payment.Units()), regional.decimalSeparator);
  fields.UseMinimum = false;
  return fields;
}

}  // namespace ardvane
