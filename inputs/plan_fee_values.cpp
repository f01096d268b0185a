#include "inputs/plan_fee_values.h"

#include "planfiles/plan_session.h"
#include "figures/display_formats.h"

namespace ardvane {

SetupFeeValues RememberSetupFee(const PlanDocument& plan) {
  return {plan.SetupFee,   plan.SetupFeeRate, plan.DownPayment,
          plan.MinSavings, plan.MinSetupFee,  plan.MinDownPayment};
}

bool StoreSetupFee(PlanSession& session, const SetupFeeValues& values) {
  bool changed = session.SetSetupFee(values.SetupFee);
  changed = session.SetSetupFeeRate(values.SetupFeeRate) || changed;
  changed = session.SetDownPayment(values.DownPayment) || changed;
  changed =
      session.SetMinimums(values.MinSetupFee, values.MinSavings, values.MinDownPayment) || changed;
  return changed;
}

SetupFeeFigures MakeSetupFeeFigures(const PlanDocument& plan, const PlanResults& results,
                                    const RegionalSettings& regional) {
  const auto money = [&regional](Money amount) { return FormatMoney(amount, 0, regional); };
  SetupFeeFigures figures;
  figures.noFeeInterestSaved = money(results.InterestSavedBeforeFee);
  figures.setupFeeRate = FormatFixed(plan.SetupFeeRate.InPercent().Value(), 3, 5, regional) + "%";
  figures.percentSetupFee = money(results.RateSetupFee);
  figures.actualSetupFee = money(results.ActualSetupFee);
  figures.downPayment = money(results.ActualDownPayment);
  figures.setupFeeFinanced = money(results.SetupFeeFinanced);
  figures.interestSaved = money(results.InterestSaved());
  return figures;
}

int MonthListIndex(int month) { return month >= 1 && month <= 12 ? month - 1 : -1; }

int MonthFromListIndex(int index) { return index >= 0 && index < 12 ? index + 1 : 0; }

}  // namespace ardvane
