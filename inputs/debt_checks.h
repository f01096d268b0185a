#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/debt.h"
#include "engine/money.h"
#include "engine/regional_settings.h"
#include "inputs/message_sink.h"

namespace ardvane {

// One debt as the debt dialog holds it: the numbers as the entry fields hold them (money in
// currency units, rates in percent), the flags, and the compounding code.
struct DebtValues {
  std::string name;
  double balance = 0;
  double interestRate = 0;  // percent per year
  double minimumAmount = 0;
  double minimumRate = 0;  // percent of the balance
  double currentPayment = 0;
  double escrow = 0;
  bool useMinimum = false;
  bool consolidate = false;
  bool negotiate = false;
  double negotiatedBalance = 0;
  double negotiatedRate = 0;  // percent per year
  double negotiatedPayment = 0;
  CompoundingPeriod compounding = CompoundingPeriod::Monthly;
};

// The values shown for a stored debt.
DebtValues DebtValuesOf(const Debt& debt);
// The debt to store: every number kept to 15 significant digits (GeneralValue), as the plan
// keeps a number entered.
Debt DebtFromValues(const DebtValues& values);

// The monthly interest on the balance: balance × rate / 1200, to the ten-thousandth. The
// compounding period plays no part.
Money MonthlyInterest(const DebtValues& values);
// The effective minimum payment: the larger of balance × minimum rate / 100 and the minimum
// amount, to the ten-thousandth.
Money EffectiveMinimumPayment(const DebtValues& values);
// The monthly interest on the restructured terms: negotiated balance × negotiated rate / 1200.
Money NegotiatedMonthlyInterest(const DebtValues& values);

// When all three restructured values are 0, fills them from the debt's own terms (balance,
// interest rate, minimum amount) and returns true; otherwise leaves them and returns false.
bool PrefillRestructuredTerms(DebtValues& values);

// The fields a failed closing check sends the focus to.
enum class DebtFocus { MinimumAmount, MinimumRate, CurrentPayment, NegotiatedPayment };

// The closing checks of the debt dialog, in order; every one runs even after an earlier one
// failed, so several messages can follow one another. A missing minimum amount asks to go on
// (OK passes, Cancel fails); the others show an information box when they fail. Amounts in the
// messages are money with 2 decimals in the regional currency format. The restructured terms
// are checked only when `restructuredShown` (they are shown and can be corrected).
struct ClosingResult {
  bool mayClose = true;
  std::optional<DebtFocus> focus;  // the field of the last failed check that names one
};
ClosingResult RunClosingChecks(const DebtValues& values, bool restructuredShown,
                               const RegionalSettings& regional, MessageSink& messages);

// The text of the help box for the help file `name`: the file `programFolder`/Help/`name`, or
// "Help file not found:  " and that path when it cannot be read. At most 64 KiB are read.
std::string ReadHelpText(const std::filesystem::path& programFolder, const std::string& name);

// The level monthly payment that repays `balance` in `term` end-of-month payments at the
// annual rate `annualRate` (a fraction): balance × r / (1 − (1 + r)^−n) with r = rate / 12,
// or balance / n when the rate is 0. A term below 1 counts as 1.
double CalculatorPayment(double balance, double annualRate, int term);

}  // namespace ardvane
