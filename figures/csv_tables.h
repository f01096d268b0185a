#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "engine/money.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "figures/detail_tables.h"

namespace ardvane {

// The monthly tables as comma-separated values for a spreadsheet, and the debt grid's rows
// as tab-separated text. Numbers are plain decimals with "." and two places, half away from
// zero, no currency sign and no grouping (1234.57, -0.50, 0.00); months are 1 to 12. The
// rows are those the monthly tables window shows (ScheduleMonths in detail_tables.h), so a
// loan's interest column sums to its total interest within half a cent a row, a loan never
// paid off included.

enum class CsvFlavour {
  // RFC 4180: UTF-8 without a byte-order mark, CR LF after every row (the last included), a
  // field quoted when it holds a comma, a double quote, a CR or an LF, its quotes doubled.
  // What the command line writes.
  kPlain,
  // The same, starting with a UTF-8 byte-order mark so that spreadsheets read accents right,
  // and a text field (a debt's name, say) that begins with =, +, -, @, a tab or a CR written
  // with a leading ' so that a spreadsheet does not run it as a formula (some read a formula
  // after leading blanks). Numbers are never changed.
  // What the window's export writes.
  kSpreadsheet,
};

// An amount as the tables write it: currency units, two decimals, "." (see above). The
// command line writes whole-cent amounts of its JSON this way too.
std::string PlainCents(Money amount);

// Every amortization table of both plans, the current plan's loans first, then the
// proposed plan's, each in loan order:
//   plan,loan,debt,year,month,beginning_balance,interest,payment,extra_payment,ending_balance
// `plan` is current or proposed, `loan` the loan's index (its entry in the window's debt list
// less one) and `debt` its name (GetDebtName). A loan with no schedule in a plan (the new
// loan today, a consolidated debt under the plan) has no rows, as in the window; a loan never
// paid off has the months both plans are compared over.
std::string AmortizationCsv(const PlanDocument& plan, const PlanResults& results,
                            CsvFlavour flavour);
// The same text written to `out` as it is made, a megabyte at a time, so that it is never
// held whole; `out` is flushed at the end. True when all of it reached `out`; writing stops
// once `out` fails.
bool WriteAmortizationCsv(const PlanDocument& plan, const PlanResults& results, CsvFlavour flavour,
                          std::ostream& out);

// The most bytes of amortization tables the command line writes: with the calculation
// before it, they take under ten seconds. A plan within the calculation's limit can still
// have far more (17,000 debts never paid off make 1.9 GB; a debt's name is on every row of
// its table), and is refused with CsvSizeRefusal once calculated.
inline constexpr long long kMostCsvBytes = 200'000'000;
// About how many bytes AmortizationCsv writes for `plan` calculated into `results`: the rows
// of every table as they are, each with the loan's name, but every amount taken at seven
// characters (1234.56), so that a plan of smaller amounts writes a little less, and one of
// larger amounts more.
long long AmortizationCsvBytes(const PlanDocument& plan, const PlanResults& results);
// Empty when the amortization tables are within kMostCsvBytes; else the message that
// refuses them: "The table was not written: it would take about N MB, more than the 200 MB
// a table can hold. Split the plan into smaller ones."
std::string CsvSizeRefusal(const PlanDocument& plan, const PlanResults& results);

// The proposed plan's investment projection, one row a projection month:
//   year,month,beginning_value,growth,savings,ending_value
std::string InvestmentCsv(const PlanResults& results, DayNumber planDate, CsvFlavour flavour);

// One table as the window shows it (an amortization table of one loan or of all debts, or
// the investment projection): the year, month and amount columns of the two tables above.
std::string MonthlyTableCsv(const MonthlyTable& table, CsvFlavour flavour);

// Rows of text cells as tab-separated text for the clipboard: cells joined by tabs, each row
// ended by LF; a tab, CR or LF inside a cell becomes a blank, so each row stays one line.
std::string TabSeparatedRows(const std::vector<std::vector<std::string>>& rows);

}  // namespace ardvane
