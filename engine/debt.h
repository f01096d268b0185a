#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/money.h"
#include "engine/rates.h"

namespace ardvane {

// How often a debt's interest compounds, by its code: the months per period, 0 for daily.
// Plan files hold the code. A file may hold another count of months; it is kept as it is
// (a CompoundingPeriod of that value) and the simulation compounds every that many months.
enum class CompoundingPeriod : int {
  Daily = 0,
  Monthly = 1,
  Quarterly = 3,
  SemiAnnually = 6,
  Annually = 12,
};

constexpr int CompoundingCode(CompoundingPeriod period) { return static_cast<int>(period); }
constexpr CompoundingPeriod CompoundingFromCode(int code) {
  return static_cast<CompoundingPeriod>(code);
}

// The periods in the order of the lists that offer them (Daily, Monthly, Quarterly,
// Semi-Annually, Annually): the period at a list position (Monthly for any position but
// those five), the position of a period (1, Monthly's, for any other code), and its caption.
CompoundingPeriod LookupCompoundingPeriod(int listPosition);
int LookupItemIndex(CompoundingPeriod period);
std::string LookupCompoundingPeriodName(CompoundingPeriod period);

// One debt as the adviser entered it. Amounts are in currency units and, like the percents,
// hold the number as entered: at most 15 significant digits (GeneralValue), so that a saved
// plan writes back exactly the text the number was entered or read as. The simulation turns
// amounts into Money where it reads them (Money::FromUnits, ties to even).
struct Debt {
  std::string Name;
  double Balance = 0;
  Percent InterestRate;  // per year
  double CurrentPayment = 0;
  double MinimumPaymentAmount = 0;
  Percent MinimumPaymentPercent;  // of the balance, per month
  bool Consolidate = false;
  double Escrow = 0;  // per month, paid with the debt
  bool UseMinimum = false;
  bool Negotiate = false;
  // The restructured terms, used when Negotiate is set.
  double NegotiatedBalance = 0;
  Percent NegotiatedInterestRate;  // per year
  double NegotiatedPayment = 0;
  CompoundingPeriod Compounding = CompoundingPeriod::Monthly;
  // Texts an older plan file held where a number belongs but none could be read (mostly
  // blank lines: fields its version did not have yet), by the plan file's attribute name.
  // Those fields hold 0; the plan file writer writes a text back while its field still holds
  // 0, so an old plan opened and saved keeps what its file held.
  std::map<std::string, std::string> UnreadTexts;

  friend bool operator==(const Debt&, const Debt&) = default;
};

// The number a debt field holds for `value`: the value of its general text (FormatGeneral,
// 15 significant digits), 0 for an infinity or NaN.
double GeneralValue(double value);

// The debts of a plan in the listed order; row operations ignore rows outside the list.
class DebtList {
 public:
  int GetDebtCount() const { return static_cast<int>(debts_.size()); }
  bool ValidRow(int row) const { return row >= 0 && row < GetDebtCount(); }
  // The debt of a valid row.
  const Debt& At(int row) const { return debts_[static_cast<std::size_t>(row)]; }
  // The name of row `row`; empty outside the list.
  const std::string& NameOf(int row) const;

  void AddDebt(Debt debt) { debts_.push_back(std::move(debt)); }
  void EditDebt(int row, Debt debt);
  void ClearDebts() { debts_.clear(); }
  // Removes row `row`, moving the later rows up.
  void DeleteRow(int row);
  void SwapRows(int a, int b);
  // Moves row `from` to position `to`, shifting the rows between by one.
  void MoveRow(int from, int to);

  std::vector<Debt>::const_iterator begin() const { return debts_.begin(); }
  std::vector<Debt>::const_iterator end() const { return debts_.end(); }

  friend bool operator==(const DebtList&, const DebtList&) = default;

 private:
  std::vector<Debt> debts_;
};

}  // namespace ardvane
