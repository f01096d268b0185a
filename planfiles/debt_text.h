#pragma once

#include <array>
#include <string>

#include "engine/debt.h"
#include "engine/regional_settings.h"

namespace ardvane {

// The fields of a debt as plan files hold them: the attributes of a Debt element, and in the
// same order the lines of a debt in the older file form.
enum class DebtAttribute : int {
  Name,
  Balance,
  InterestRate,
  CurrentPayment,
  MinimumPaymentAmount,
  MinimumPaymentPercent,
  Consolidate,
  Escrow,
  UseMinimum,
  Negotiate,
  NegotiatedBalance,
  NegotiatedInterestRate,
  NegotiatedPayment,
  CompoundingPeriod,
};
inline constexpr int kDebtAttributeCount = 14;

// The attribute names, by DebtAttribute.
extern const std::array<const char*, kDebtAttributeCount> kDebtAttributeNames;

// Whether the attribute holds money (the checks of amounts beyond what money holds apply).
bool IsDebtAmount(DebtAttribute attribute);

// A debt's texts, by DebtAttribute.
using DebtTexts = std::array<std::string, kDebtAttributeCount>;

// Reads a debt from its texts, the one way a debt is made from text:
// - numbers in the user's form or with a point (ParsePlanNumber), kept to 15 significant
//   digits (GeneralValue); a blank text or one that is no number reads 0 and is kept in
//   Debt::UnreadTexts;
// - a flag is set by any text but the empty one;
// - the compounding code is an integer (blank reads 0, daily; other text 1, monthly).
Debt ParseDebt(const DebtTexts& texts, const RegionalSettings& regional);

// The texts the plan file writer writes for `debt`: numbers with a point (FormatGeneral),
// flags as their words ("Consolidate", "Use Minimum", "Negotiate") or empty, the compounding
// code in decimal, and a text of UnreadTexts where its field still holds 0. Not escaped.
DebtTexts DebtFileTexts(const Debt& debt);

}  // namespace ardvane
