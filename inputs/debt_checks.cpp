#include "inputs/debt_checks.h"

#include <fstream>
#include <iterator>

#include "base/number_text.h"
#include "engine/plan_calculation.h"
#include "figures/display_formats.h"

namespace ardvane {
namespace {

Money ToMoney(double units) { return Money::FromUnits(units); }

std::string Amount(Money amount, const RegionalSettings& regional) {
  return FormatMoney(amount, 2, regional);
}

}  // namespace

DebtValues DebtValuesFromRow(const DebtFields& row, const RegionalSettings& regional) {
  const std::string& sep = regional.decimalSeparator;
  DebtValues v;
  v.name = row.Name;
  v.balance = StrToFloatSafe(row.Balance, sep);
  v.interestRate = StrToFloatSafe(row.InterestRate, sep);
  v.minimumAmount = StrToFloatSafe(row.MinimumPaymentAmount, sep);
  v.minimumRate = StrToFloatSafe(row.MinimumPaymentPercent, sep);
  v.currentPayment = StrToFloatSafe(row.CurrentPayment, sep);
  v.escrow = StrToFloatSafe(row.Escrow, sep);
  v.useMinimum = row.UseMinimum;
  v.consolidate = row.Consolidate;
  v.negotiate = row.Negotiate;
  v.negotiatedBalance = StrToFloatSafe(row.NegotiatedBalance, sep);
  v.negotiatedRate = StrToFloatSafe(row.NegotiatedInterestRate, sep);
  v.negotiatedPayment = StrToFloatSafe(row.NegotiatedPayment, sep);
  v.compoundingCode = StrToIntDefault(row.CompoundingPeriod, 1);
  return v;
}

DebtFields DebtFieldsFromValues(const DebtValues& v, const RegionalSettings& regional) {
  const std::string& sep = regional.decimalSeparator;
  DebtFields f;
  f.Name = v.name;
  f.Balance = FormatGeneral(v.balance, sep);
  f.InterestRate = FormatGeneral(v.interestRate, sep);
  f.CurrentPayment = FormatGeneral(v.currentPayment, sep);
  f.MinimumPaymentAmount = FormatGeneral(v.minimumAmount, sep);
  f.MinimumPaymentPercent = FormatGeneral(v.minimumRate, sep);
  f.Consolidate = v.consolidate;
  f.Escrow = FormatGeneral(v.escrow, sep);
  f.UseMinimum = v.useMinimum;
  f.Negotiate = v.negotiate;
  f.NegotiatedBalance = FormatGeneral(v.negotiatedBalance, sep);
  f.NegotiatedInterestRate = FormatGeneral(v.negotiatedRate, sep);
  f.NegotiatedPayment = FormatGeneral(v.negotiatedPayment, sep);
  f.CompoundingPeriod = std::to_string(v.compoundingCode);
  return f;
}

Money MonthlyInterest(const DebtValues& v) {
  return ToMoney(v.balance) * (static_cast<long double>(v.interestRate) / 1200.0L);
}

Money EffectiveMinimumPayment(const DebtValues& v) {
  const Money byRate = ToMoney(v.balance) * (static_cast<long double>(v.minimumRate) / 100.0L);
  return Max(byRate, ToMoney(v.minimumAmount));
}

Money NegotiatedMonthlyInterest(const DebtValues& v) {
  return ToMoney(v.negotiatedBalance) * (static_cast<long double>(v.negotiatedRate) / 1200.0L);
}

bool PrefillRestructuredTerms(DebtValues& v) {
  if (v.negotiatedBalance != 0 || v.negotiatedRate != 0 || v.negotiatedPayment != 0) return false;
  v.negotiatedBalance = v.balance;
  v.negotiatedRate = v.interestRate;
  v.negotiatedPayment = v.minimumAmount;
  return true;
}

ClosingResult RunClosingChecks(const DebtValues& v, bool restructuredShown,
                               const RegionalSettings& regional, MessageSink& messages) {
  ClosingResult result;
  const Money interest = MonthlyInterest(v);
  const Money minimum = EffectiveMinimumPayment(v);
  const Money minimumAmount = ToMoney(v.minimumAmount);

  if (minimumAmount == Money() &&
      !messages.ConfirmWarning("No minimum payment has been established on this debt.")) {
    result.mayClose = false;
  }

  if (v.useMinimum) {
    if (interest >= minimum) {
      messages.ShowInformation(
          "Minimum payment must be greater than the monthly interest on the loan (" +
          Amount(interest, regional) + ").");
      result.mayClose = false;
      const Money byRate = ToMoney(v.balance) * (static_cast<long double>(v.minimumRate) / 100.0L);
      result.focus = minimumAmount > byRate ? DebtFocus::MinimumAmount : DebtFocus::MinimumRate;
    }
  } else {
    const Money current = ToMoney(v.currentPayment);
    std::string message;
    if (minimum > current) {
      message = "Current payment must be equal to or greater than the minimum payment (" +
                Amount(minimum, regional) + ").";
    } else if (current <= interest) {
      message = "Current payment must be greater than the monthly interest on the loan (" +
                Amount(interest, regional) + ").";
    }
    if (!message.empty()) {
      messages.ShowInformation(message);
      result.mayClose = false;
      result.focus = DebtFocus::CurrentPayment;
    }
  }

  if (v.negotiate && restructuredShown) {
    const Money negotiatedInterest = NegotiatedMonthlyInterest(v);
    if (negotiatedInterest > ToMoney(v.negotiatedPayment)) {
      messages.ShowInformation(
          "Negotiated payment must be equal to or greater than the negotiated monthly interest on "
          "the loan (" +
          Amount(negotiatedInterest, regional) + ").");
      result.mayClose = false;
      result.focus = DebtFocus::NegotiatedPayment;
    }
  }
  return result;
}

std::string ReadHelpText(const std::filesystem::path& programFolder, const std::string& name) {
  constexpr std::size_t kMaxHelpBytes = 64 * 1024;
  const std::filesystem::path path = programFolder / "Help" / name;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    std::ifstream in(path, std::ios::binary);
    if (in) {
      std::string text(kMaxHelpBytes, '\0');
      in.read(text.data(), static_cast<std::streamsize>(text.size()));
      if (!in.bad()) {
        text.resize(static_cast<std::size_t>(in.gcount()));
        return text;
      }
    }
  }
  return "Help file not found:  " + path.string();
}

double CalculatorPayment(double balance, double annualRate, int term) {
  return static_cast<double>(
      LevelPayment(Money::FromUnits(balance), static_cast<long double>(annualRate) / 12.0L, term)
          .Units());
}

}  // namespace ardvane
