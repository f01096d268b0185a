#include "inputs/debt_checks.h"

#include <fstream>
#include <iterator>

#include "engine/plan_calculation.h"
#include "figures/display_formats.h"

namespace ardvane {
namespace {

Money ToMoney(double units) { return Money::FromUnits(units); }

std::string Amount(Money amount, const RegionalSettings& regional) {
  return FormatMoney(amount, 2, regional);
}

}  // namespace

DebtValues DebtValuesOf(const Debt& debt) {
  DebtValues v;
  v.name = debt.Name;
  v.balance = debt.Balance;
  v.interestRate = debt.InterestRate.Value();
  v.minimumAmount = debt.MinimumPaymentAmount;
  v.minimumRate = debt.MinimumPaymentPercent.Value();
  v.currentPayment = debt.CurrentPayment;
  v.escrow = debt.Escrow;
  v.useMinimum = debt.UseMinimum;
  v.consolidate = debt.Consolidate;
  v.negotiate = debt.Negotiate;
  v.negotiatedBalance = debt.NegotiatedBalance;
  v.negotiatedRate = debt.NegotiatedInterestRate.Value();
  v.negotiatedPayment = debt.NegotiatedPayment;
  v.compounding = debt.Compounding;
  return v;
}

Debt DebtFromValues(const DebtValues& v) {
  Debt debt;
  debt.Name = v.name;
  debt.Balance = GeneralValue(v.balance);
  debt.InterestRate = Percent(GeneralValue(v.interestRate));
  debt.CurrentPayment = GeneralValue(v.currentPayment);
  debt.MinimumPaymentAmount = GeneralValue(v.minimumAmount);
  debt.MinimumPaymentPercent = Percent(GeneralValue(v.minimumRate));
  debt.Consolidate = v.consolidate;
  debt.Escrow = GeneralValue(v.escrow);
  debt.UseMinimum = v.useMinimum;
  debt.Negotiate = v.negotiate;
  debt.NegotiatedBalance = GeneralValue(v.negotiatedBalance);
  debt.NegotiatedInterestRate = Percent(GeneralValue(v.negotiatedRate));
  debt.NegotiatedPayment = GeneralValue(v.negotiatedPayment);
  debt.Compounding = v.compounding;
  return debt;
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
