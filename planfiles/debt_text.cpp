#include "planfiles/debt_text.h"

#include "base/number_text.h"
#include "planfiles/plan_text.h"

namespace ardvane {

const std::array<const char*, kDebtAttributeCount> kDebtAttributeNames = {
    "Name",
    "Balance",
    "InterestRate",
    "CurrentPayment",
    "MinimumPaymentAmount",
    "MinimumPaymentPercent",
    "Consolidate",
    "Escrow",
    "UseMinimum",
    "Negotiate",
    "NegotiatedBalance",
    "NegotiatedInterestRate",
    "NegotiatedPayment",
    "CompoundingPeriod",
};

namespace {

// The number fields of a debt, by attribute; Percent fields are reached through their own
// accessors below.
struct NumberField {
  DebtAttribute attribute;
  double Debt::*amount;
  Percent Debt::*percent;
};

constexpr NumberField kNumberFields[] = {
    {DebtAttribute::Balance, &Debt::Balance, nullptr},
    {DebtAttribute::InterestRate, nullptr, &Debt::InterestRate},
    {DebtAttribute::CurrentPayment, &Debt::CurrentPayment, nullptr},
    {DebtAttribute::MinimumPaymentAmount, &Debt::MinimumPaymentAmount, nullptr},
    {DebtAttribute::MinimumPaymentPercent, nullptr, &Debt::MinimumPaymentPercent},
    {DebtAttribute::Escrow, &Debt::Escrow, nullptr},
    {DebtAttribute::NegotiatedBalance, &Debt::NegotiatedBalance, nullptr},
    {DebtAttribute::NegotiatedInterestRate, nullptr, &Debt::NegotiatedInterestRate},
    {DebtAttribute::NegotiatedPayment, &Debt::NegotiatedPayment, nullptr},
};

double NumberOf(const Debt& debt, const NumberField& field) {
  return field.amount ? debt.*field.amount : (debt.*field.percent).Value();
}

void SetNumber(Debt& debt, const NumberField& field, double value) {
  if (field.amount) {
    debt.*field.amount = value;
  } else {
    debt.*field.percent = Percent(value);
  }
}

struct FlagField {
  DebtAttribute attribute;
  bool Debt::*flag;
  const char* word;
};

constexpr FlagField kFlagFields[] = {
    {DebtAttribute::Consolidate, &Debt::Consolidate, "Consolidate"},
    {DebtAttribute::UseMinimum, &Debt::UseMinimum, "Use Minimum"},
    {DebtAttribute::Negotiate, &Debt::Negotiate, "Negotiate"},
};

std::size_t Index(DebtAttribute attribute) { return static_cast<std::size_t>(attribute); }

}  // namespace

bool IsDebtAmount(DebtAttribute attribute) {
  for (const NumberField& field : kNumberFields) {
    if (field.attribute == attribute) return field.amount != nullptr;
  }
  return false;
}

Debt ParseDebt(const DebtTexts& texts, const RegionalSettings& regional) {
  Debt debt;
  debt.Name = texts[Index(DebtAttribute::Name)];
  for (const NumberField& field : kNumberFields) {
    const std::string& text = texts[Index(field.attribute)];
    if (const auto value = ParsePlanNumber(text, regional)) {
      SetNumber(debt, field, GeneralValue(*value));
    } else {
      debt.UnreadTexts.emplace(kDebtAttributeNames[Index(field.attribute)], text);
    }
  }
  for (const FlagField& field : kFlagFields) {
    debt.*field.flag = !texts[Index(field.attribute)].empty();
  }
  debt.Compounding =
      CompoundingFromCode(StrToIntDefault(texts[Index(DebtAttribute::CompoundingPeriod)], 1));
  return debt;
}

DebtTexts DebtFileTexts(const Debt& debt) {
  DebtTexts texts;
  texts[Index(DebtAttribute::Name)] = debt.Name;
  for (const NumberField& field : kNumberFields) {
    const double value = NumberOf(debt, field);
    const auto unread = debt.UnreadTexts.find(kDebtAttributeNames[Index(field.attribute)]);
    texts[Index(field.attribute)] =
        value == 0 && unread != debt.UnreadTexts.end() ? unread->second : FormatGeneral(value, ".");
  }
  for (const FlagField& field : kFlagFields) {
    texts[Index(field.attribute)] = debt.*field.flag ? field.word : "";
  }
  texts[Index(DebtAttribute::CompoundingPeriod)] =
      std::to_string(CompoundingCode(debt.Compounding));
  return texts;
}

}  // namespace ardvane
