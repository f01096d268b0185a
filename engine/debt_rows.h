#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/regional_settings.h"

namespace ardvane {

// Column indices of the debt table; also the order of the plan file's debt attributes.
enum class DebtCol : int {
  Name = 0,
  Balance = 1,
  InterestRate = 2,  // percent per year
  CurrentPayment = 3,
  MinimumPaymentAmount = 4,
  MinimumPaymentPercent = 5,  // percent of the balance
  Consolidate = 6,            // "Consolidate" or empty
  Escrow = 7,
  UseMinimum = 8,  // "Use Minimum" or empty
  Negotiate = 9,   // "Negotiate" or empty
  NegotiatedBalance = 10,
  NegotiatedInterestRate = 11,
  NegotiatedPayment = 12,
  CompoundingPeriod = 13,  // months per period, 0 daily
};
inline constexpr int kDebtColumnCount = 14;

inline constexpr std::string_view kConsolidateWord = "Consolidate";
inline constexpr std::string_view kUseMinimumWord = "Use Minimum";
inline constexpr std::string_view kNegotiateWord = "Negotiate";

// One debt as entered: texts for the number columns, booleans for the flags.
struct DebtFields {
  std::string Name;
  std::string Balance;
  std::string InterestRate;
  std::string CurrentPayment;
  std::string MinimumPaymentAmount;
  std::string MinimumPaymentPercent;
  bool Consolidate = false;
  std::string Escrow;
  bool UseMinimum = false;
  bool Negotiate = false;
  std::string NegotiatedBalance;
  std::string NegotiatedInterestRate;
  std::string NegotiatedPayment;
  std::string CompoundingPeriod;
};

// The debts as a table of text, 14 columns held column by column, one row per debt, in the
// listed order. Number cells hold FormatGeneral text with the user's decimal separator;
// flag cells count as set when they are not empty.
class DebtRows {
 public:
  int GetDebtCount() const { return static_cast<int>(columns_[0].size()); }

  // Appends a row, normalising it: number columns become
  // FormatGeneral(StrToFloatDefault(text, 0)), the compounding code the decimal text of
  // StrToIntDefault(text, 1) (so empty text gives "0", daily), flags their words or "".
  void AddDebt(const DebtFields& fields, const RegionalSettings& regional);
  // Appends a row of empty cells, for readers that fill it cell by cell with SetCell and
  // store the texts as read.
  void AppendEmptyRow();
  // Overwrites row `row` with the texts unchanged (callers pass normalised text) and the
  // flag words. Out-of-range rows are ignored.
  void EditDebt(int row, const DebtFields& fields);
  void ClearDebts();
  // Removes row `row`, moving the later rows up. Out-of-range rows are ignored.
  void DeleteRow(int row);
  // Exchanges two rows in every column. Out-of-range rows are ignored.
  void SwapRows(int a, int b);
  // Moves row `from` to position `to`, shifting the rows between by one.
  void MoveRow(int from, int to);

  // Empty text for a cell outside the table.
  const std::string& Cell(int row, DebtCol col) const;
  void SetCell(int row, DebtCol col, std::string text);
  bool IsSet(int row, DebtCol col) const { return !Cell(row, col).empty(); }
  DebtFields Row(int row) const;

  friend bool operator==(const DebtRows&, const DebtRows&) = default;

 private:
  bool ValidRow(int row) const { return row >= 0 && row < GetDebtCount(); }
  void StoreRow(int row, const DebtFields& fields);
  std::array<std::vector<std::string>, kDebtColumnCount> columns_;
};

// Compounding period codes and the positions of the five captions in the lists.
int LookupCompoundingPeriod(int listPosition);
int LookupItemIndex(int code);
std::string LookupCompoundingPeriodName(int code);

}  // namespace ardvane
