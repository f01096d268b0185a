#include "engine/debt_rows.h"

#include <algorithm>

#include "base/number_text.h"

namespace ardvane {
namespace {

std::string FlagWord(bool set, std::string_view word) {
  return set ? std::string(word) : std::string();
}

const std::string kEmpty;

}  // namespace

void DebtRows::StoreRow(int row, const DebtFields& f) {
  const auto set = [&](DebtCol col, std::string text) {
    columns_[static_cast<int>(col)][row] = std::move(text);
  };
  set(DebtCol::Name, f.Name);
  set(DebtCol::Balance, f.Balance);
  set(DebtCol::InterestRate, f.InterestRate);
  set(DebtCol::CurrentPayment, f.CurrentPayment);
  set(DebtCol::MinimumPaymentAmount, f.MinimumPaymentAmount);
  set(DebtCol::MinimumPaymentPercent, f.MinimumPaymentPercent);
  set(DebtCol::Consolidate, FlagWord(f.Consolidate, kConsolidateWord));
  set(DebtCol::Escrow, f.Escrow);
  set(DebtCol::UseMinimum, FlagWord(f.UseMinimum, kUseMinimumWord));
  set(DebtCol::Negotiate, FlagWord(f.Negotiate, kNegotiateWord));
  set(DebtCol::NegotiatedBalance, f.NegotiatedBalance);
  set(DebtCol::NegotiatedInterestRate, f.NegotiatedInterestRate);
  set(DebtCol::NegotiatedPayment, f.NegotiatedPayment);
  set(DebtCol::CompoundingPeriod, f.CompoundingPeriod);
}

void DebtRows::AddDebt(const DebtFields& fields, const RegionalSettings& regional) {
  const std::string& decimalSeparator = regional.decimalSeparator;
  const auto number = [&](const std::string& text) {
    return FormatGeneral(StrToFloatDefault(text, 0, decimalSeparator), decimalSeparator);
  };
  DebtFields normal = fields;
  normal.Balance = number(fields.Balance);
  normal.InterestRate = number(fields.InterestRate);
  normal.CurrentPayment = number(fields.CurrentPayment);
  normal.MinimumPaymentAmount = number(fields.MinimumPaymentAmount);
  normal.MinimumPaymentPercent = number(fields.MinimumPaymentPercent);
  normal.Escrow = number(fields.Escrow);
  normal.NegotiatedBalance = number(fields.NegotiatedBalance);
  normal.NegotiatedInterestRate = number(fields.NegotiatedInterestRate);
  normal.NegotiatedPayment = number(fields.NegotiatedPayment);
  normal.CompoundingPeriod = std::to_string(StrToIntDefault(fields.CompoundingPeriod, 1));

  for (auto& column : columns_) column.emplace_back();
  StoreRow(GetDebtCount() - 1, normal);
}

void DebtRows::AppendEmptyRow() {
  for (auto& column : columns_) column.emplace_back();
}

void DebtRows::EditDebt(int row, const DebtFields& fields) {
  if (ValidRow(row)) StoreRow(row, fields);
}

void DebtRows::ClearDebts() {
  for (auto& column : columns_) column.clear();
}

void DebtRows::DeleteRow(int row) {
  if (!ValidRow(row)) return;
  for (auto& column : columns_) column.erase(column.begin() + row);
}

void DebtRows::SwapRows(int a, int b) {
  if (!ValidRow(a) || !ValidRow(b)) return;
  for (auto& column : columns_) std::swap(column[a], column[b]);
}

void DebtRows::MoveRow(int from, int to) {
  if (!ValidRow(from) || !ValidRow(to) || from == to) return;
  for (auto& column : columns_) {
    if (from < to) {
      std::rotate(column.begin() + from, column.begin() + from + 1, column.begin() + to + 1);
    } else {
      std::rotate(column.begin() + to, column.begin() + from, column.begin() + from + 1);
    }
  }
}

const std::string& DebtRows::Cell(int row, DebtCol col) const {
  return ValidRow(row) ? columns_[static_cast<int>(col)][row] : kEmpty;
}

void DebtRows::SetCell(int row, DebtCol col, std::string text) {
  if (ValidRow(row)) columns_[static_cast<int>(col)][row] = std::move(text);
}

DebtFields DebtRows::Row(int row) const {
  DebtFields f;
  f.Name = Cell(row, DebtCol::Name);
  f.Balance = Cell(row, DebtCol::Balance);
  f.InterestRate = Cell(row, DebtCol::InterestRate);
  f.CurrentPayment = Cell(row, DebtCol::CurrentPayment);
  f.MinimumPaymentAmount = Cell(row, DebtCol::MinimumPaymentAmount);
  f.MinimumPaymentPercent = Cell(row, DebtCol::MinimumPaymentPercent);
  f.Consolidate = IsSet(row, DebtCol::Consolidate);
  f.Escrow = Cell(row, DebtCol::Escrow);
  f.UseMinimum = IsSet(row, DebtCol::UseMinimum);
  f.Negotiate = IsSet(row, DebtCol::Negotiate);
  f.NegotiatedBalance = Cell(row, DebtCol::NegotiatedBalance);
  f.NegotiatedInterestRate = Cell(row, DebtCol::NegotiatedInterestRate);
  f.NegotiatedPayment = Cell(row, DebtCol::NegotiatedPayment);
  f.CompoundingPeriod = Cell(row, DebtCol::CompoundingPeriod);
  return f;
}

int LookupCompoundingPeriod(int listPosition) {
  switch (listPosition) {
    case 0:
      return 0;
    case 2:
      return 3;
    case 3:
      return 6;
    case 4:
      return 12;
    default:
      return 1;
  }
}

int LookupItemIndex(int code) {
  switch (code) {
    case 0:
      return 0;
    case 3:
      return 2;
    case 6:
      return 3;
    case 12:
      return 4;
    default:
      return 1;
  }
}

std::string LookupCompoundingPeriodName(int code) {
  switch (code) {
    case 0:
      return "Daily";
    case 3:
      return "Quarterly";
    case 6:
      return "Semi-Annually";
    case 12:
      return "Annually";
    default:
      return "Monthly";
  }
}

}  // namespace ardvane
