#pragma once

#include <filesystem>
#include <ostream>

#include "app/command_parser.h"
#include "engine/calendar.h"
#include "engine/regional_settings.h"

namespace ardvane {

// What the command line runs with: values the program takes from its surroundings once,
// at the top, so that tests can fix them.
struct CommandLineEnvironment {
  std::filesystem::path programFolder;
  RegionalSettings regional;
  DayNumber today = 0;
};

// Runs a plan query: --results PLAN prints the plan's figures as one JSON object
// (ResultsToJson), --compare every priority code side by side (StrategiesToJson), --needed
// the power payment that makes the plan debt free by the month of --by
// (PowerPaymentGoalToJson), --csv a table as CSV (AmortizationCsv, or InvestmentCsv with
// --table investment), RFC 4180 without a byte-order mark.
// It reads the plan (either file form), the parameters and the settings (--params and
// --settings, by default those of the program folder), calculates and prints on `out`,
// flushed. Errors go to `err`. A plan of more debts than the work can hold (kCalculationLimit
// for --results and --csv, kComparisonLimit for --compare, kPowerPaymentSearchLimit for
// --needed) is refused before it is calculated, and amortization tables beyond kMostCsvBytes
// once it is, before any of them is written. Returns the exit status: 0 on success, 1 when a
// file cannot be read, the plan or its tables are refused, or the output cannot be written,
// 2 for a --by before the plan's month.
int RunPlanCommand(const PlanQuery& query, const CommandLineEnvironment& env, std::ostream& out,
                   std::ostream& err);

}  // namespace ardvane
