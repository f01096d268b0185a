#pragma once

#include <string>

namespace ardvane {

// How many debts a plan may have for each kind of work done on it. A plan file of up to
// 8 MiB can hold nearly 30,000 debts, and a calculation simulates each of them for up to
// 1,080 months in both plans, keeping every month (about 52,000 bytes for a debt that is never
// paid off): a plan over a limit is refused with DebtsRefusal before anything is calculated,
// so that each kind of work ends within a gigabyte of memory and about ten seconds on a
// two-core machine (the figures are measured by scripts/check-hostile-plans.sh).
struct DebtsLimit {
  int mostDebts;
  // What was not done, as the message begins: "The plan was not calculated".
  const char* notDone;
  // What holds the debts, as the message names it: "a calculation".
  const char* work;
};

// One calculation of the plan (--results, --csv): about 900 MB for 17,000 debts that are
// never paid off.
inline constexpr DebtsLimit kCalculationLimit{17'000, "The plan was not calculated",
                                              "a calculation"};
// The plan calculated once for each paydown priority, eight calculations (--compare).
inline constexpr DebtsLimit kComparisonLimit{4'000, "The strategies were not compared",
                                             "a comparison of the strategies"};
// The search for the power payment that makes the plan debt free by a month, up to 29
// calculations (--needed).
inline constexpr DebtsLimit kPowerPaymentSearchLimit{1'500, "The power payment was not found",
                                                     "a search for the power payment"};
// The window: every edit calculates the plan, searches for the power payment that pays off a
// debt the plan never pays off (as --needed does), and compares the strategies while they are
// in view. A plan it cannot hold is not opened, and the plan open before stays open.
inline constexpr DebtsLimit kWindowLimit{kPowerPaymentSearchLimit.mostDebts,
                                         "The plan was not opened", "the window"};

// Empty when a plan of `debts` debts is within `limit`; else the message that refuses it,
// "<notDone>: the plan has N debts, more than the M <work> can hold. Split the plan into
// smaller ones.", its counts grouped by thousands with commas whatever the regional settings.
std::string DebtsRefusal(int debts, const DebtsLimit& limit);

// A count as messages give it, grouped by thousands with commas whatever the regional
// settings: 1234567 as "1,234,567".
std::string GroupedCount(long long count);

}  // namespace ardvane
