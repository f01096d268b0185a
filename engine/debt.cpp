#include "engine/debt.h"

#include <algorithm>

#include "base/number_text.h"

namespace ardvane {

CompoundingPeriod LookupCompoundingPeriod(int listPosition) {
  switch (listPosition) {
    case 0:
      return CompoundingPeriod::Daily;
    case 2:
      return CompoundingPeriod::Quarterly;
    case 3:
      return CompoundingPeriod::SemiAnnually;
    case 4:
      return CompoundingPeriod::Annually;
    default:
      return CompoundingPeriod::Monthly;
  }
}

int LookupItemIndex(CompoundingPeriod period) {
  switch (period) {
    case CompoundingPeriod::Daily:
      return 0;
    case CompoundingPeriod::Quarterly:
      return 2;
    case CompoundingPeriod::SemiAnnually:
      return 3;
    case CompoundingPeriod::Annually:
      return 4;
    default:
      return 1;
  }
}

std::string LookupCompoundingPeriodName(CompoundingPeriod period) {
  switch (period) {
    case CompoundingPeriod::Daily:
      return "Daily";
    case CompoundingPeriod::Quarterly:
      return "Quarterly";
    case CompoundingPeriod::SemiAnnually:
      return "Semi-Annually";
    case CompoundingPeriod::Annually:
      return "Annually";
    default:
      return "Monthly";
  }
}

double GeneralValue(double value) {
  return ParseStrictFloat(FormatGeneral(value, "."), ".").value_or(0);
}

const std::string& DebtList::NameOf(int row) const {
  static const std::string kNone;
  return ValidRow(row) ? At(row).Name : kNone;
}

void DebtList::EditDebt(int row, Debt debt) {
  if (ValidRow(row)) debts_[static_cast<std::size_t>(row)] = std::move(debt);
}

void DebtList::DeleteRow(int row) {
  if (ValidRow(row)) debts_.erase(debts_.begin() + row);
}

void DebtList::SwapRows(int a, int b) {
  if (ValidRow(a) && ValidRow(b)) std::swap(debts_[a], debts_[b]);
}

void DebtList::MoveRow(int from, int to) {
  if (!ValidRow(from) || !ValidRow(to) || from == to) return;
  const auto at = [&](int row) { return debts_.begin() + row; };
  if (from < to) {
    std::rotate(at(from), at(from + 1), at(to + 1));
  } else {
    std::rotate(at(to), at(from), at(from + 1));
  }
}

}  // namespace ardvane
