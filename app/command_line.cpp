#include "app/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/results_json.h"
#include "engine/calculation_limits.h"
#include "engine/plan_calculation.h"
#include "figures/csv_tables.h"
#include "figures/power_payment_goal.h"
#include "figures/strategies.h"
#include "planfiles/plan_file.h"
#include "settings/startup_settings.h"

namespace ardvane {
namespace {

// Writes `text` to `out`, flushed. False, with errno telling why where the stream's buffer
// says, when not all of it reached its destination (a full disk, a closed output).
bool Deliver(std::ostream& out, const std::string& text) {
  errno = 0;
  out << text;
  out.flush();
  return out.good();
}

// Says that the output could not be written, with errno's reason when there is one; the
// exit status of that.
int CannotWrite(const PlanQuery& query, std::ostream& err) {
  const int failure = errno;
  err << "ardvane: cannot write the " << (query.mode == PlanQueryMode::kCsv ? "table" : "results")
      << (failure != 0 ? ": " : "") << (failure != 0 ? std::strerror(failure) : "") << ".\n";
  return 1;
}

}  // namespace

int RunPlanCommand(const PlanQuery& query, const CommandLineEnvironment& env, std::ostream& out,
                   std::ostream& err) {
  // A file named here must be there and readable; the program folder's own may be absent
  // (their defaults apply) but, when there, must be readable too: defaults in place of an
  // unreadable file would give other figures without a word.
  StartupFiles files;
  files.programFolder = env.programFolder;
  files.regional = env.regional;
  files.paramsFile = query.params;
  files.settingsFile = query.settings;
  const StartupSettings startup = LoadStartupSettings(files);
  if (const Status& problem = startup.Problem(); !problem.ok()) {
    err << "ardvane: cannot read " << problem.message() << ".\n";
    return 1;
  }
  const PlanParameters& params = startup.params;
  const AppSettings& settings = startup.settings;

  const PlanReadContext context{env.regional, params, env.today};
  PlanDocument plan;
  if (const Status status = ReadData(query.plan, plan, context); !status.ok()) {
    err << "ardvane: cannot read the plan: " << status.message() << "\n";
    return 1;
  }

  if (query.mode == PlanQueryMode::kNeeded) {
    const YearMonth planMonth = YearMonthOf(plan.Date);
    if (*query.by < planMonth) {
      char month[16];
      std::snprintf(month, sizeof month, "%04d-%02d", planMonth.year, planMonth.month);
      err << "ardvane: --by " << query.byText << " is before the plan's month, " << month << ".\n";
      return 2;
    }
  }
  // A plan too large for the work asked of it is refused before any of it is done.
  const DebtsLimit& limit = query.mode == PlanQueryMode::kCompare  ? kComparisonLimit
                            : query.mode == PlanQueryMode::kNeeded ? kPowerPaymentSearchLimit
                                                                   : kCalculationLimit;
  if (const std::string refusal = DebtsRefusal(plan.Debts.GetDebtCount(), limit);
      !refusal.empty()) {
    err << "ardvane: " << refusal << "\n";
    return 1;
  }

  std::string text;
  switch (query.mode) {
    case PlanQueryMode::kResults:
      text = ResultsToJson(plan, Calculate(plan, params, settings)) + "\n";
      break;
    case PlanQueryMode::kCompare:
      text = StrategiesToJson(CompareStrategies(plan, params, settings)) + "\n";
      break;
    case PlanQueryMode::kNeeded: {
      const PowerPaymentGoal found = FindPowerPaymentForGoal(plan, params, settings, *query.by);
      text = PowerPaymentGoalToJson(*query.by, found, plan.Date) + "\n";
      break;
    }
    case PlanQueryMode::kCsv: {
      const PlanResults results = Calculate(plan, params, settings);
      if (query.investmentTable) {
        text = InvestmentCsv(results, plan.Date, CsvFlavour::kPlain);
        break;
      }
      // The tables can be far larger than the calculation: they are measured first, and
      // written as they are made.
      if (const std::string refusal = CsvSizeRefusal(plan, results); !refusal.empty()) {
        err << "ardvane: " << refusal << "\n";
        return 1;
      }
      errno = 0;
      if (WriteAmortizationCsv(plan, results, CsvFlavour::kPlain, out)) return 0;
      return CannotWrite(query, err);
    }
  }
  if (!Deliver(out, text)) return CannotWrite(query, err);
  return 0;
}

}  // namespace ardvane
