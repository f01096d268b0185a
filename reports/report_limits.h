#pragma once

#include <cstddef>
#include <string>

#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/settings.h"

namespace ardvane {

// The largest report the program writes. A plan file of up to 8 MiB can hold tens of
// thousands of debts, or names of a hundred thousand characters, each debt simulated for up
// to 1080 months; a report of all of it month by month would need many gigabytes. Such a
// plan is refused with a message instead, before the memory is spent.

// Most debts a report is written for: their two simulations stay below half a gigabyte even
// when every debt runs the full 1080 months.
inline constexpr int kMostReportDebts = 5000;
// Most bytes the month-by-month tables (monthly payment tables and amortization tables) of
// one report may take, as ReportTableBytes estimates them. The whole report then needs well
// under a gigabyte to assemble and write, and so does its PDF, which lays out and holds a
// table or two at a time (the largest accepted plans took 0.6 to 1 GB with the PDF).
inline constexpr long long kMostReportTableBytes = 300'000'000;

// The monthly payment tables repeat every debt's name each month. There a name of more
// characters than this is shortened, with an ellipsis; it stands whole in the list of debts
// and the payoff table. A name that holds a pasted document would otherwise be set again
// each month, hundreds of pages of it.
inline constexpr std::size_t kLongestNameInMonthlyTables = 250;
std::string NameInMonthlyTables(const std::string& name);

// Empty when a plan of `debts` debts may be reported on; else the message that refuses it.
// Checked before the plan is calculated.
std::string ReportDebtsRefusal(int debts);

// About how many bytes the month-by-month tables of the report of `plan`, calculated into
// `results`, take with the tables that `settings` turns on: a row's figures and markup, and
// in the monthly payment tables the debt's name (as HTML, as shortened there) on every row. Never
// much below what the report writes.
long long ReportTableBytes(const PlanDocument& plan, const PlanResults& results,
                           const AppSettings& settings);

// Empty when the report fits the limits above; else the message that refuses it, naming
// what to turn off.
std::string ReportSizeRefusal(const PlanDocument& plan, const PlanResults& results,
                              const AppSettings& settings);

}  // namespace ardvane
