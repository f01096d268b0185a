#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

#include "engine/calendar.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "figures/plan_figures.h"
#include "reports/report_language.h"

class QChart;

namespace ardvane {

// How the payoff chart writes a month on its date axis and in its bar marks.
enum class DateLabels {
  kMonthName,    // "Jun 2024"
  kMonthNumber,  // "06/2024"
};

// The wording of one chart: its title and the names of its series in order (current,
// proposed, and for the balances chart the investment), plus the form of the dates it writes
// (the payoff chart's, and a balances group's month when its year alone would repeat), the
// name of the payoff chart's row that counts the debts left out ("%1" stands for the count),
// and the words that stand in a payoff row for a debt that has no payoff month: one never paid
// off, and one the new loan pays at the plan date.
// `windowLegendShades` gives the legend entries of the first two series the main window's shades
// (red 0, green 0, blue 160 and red 128, green 0, blue 64) instead of the colours of their bars.
struct ChartTexts {
  QString title;
  QStringList seriesNames;
  DateLabels dateLabels = DateLabels::kMonthName;
  bool windowLegendShades = false;
  QString moreDebts = QStringLiteral("and %1 more");
  QString never = QStringLiteral("Never");
  QString consolidated = QStringLiteral("Consolidated");
};

// The charts of the main window's result pages.
ChartTexts WindowPayoffTexts();
ChartTexts WindowInterestTexts();
ChartTexts WindowBalancesTexts();
// The charts of the report's chart forms, English or Spanish.
ChartTexts FormPayoffTexts(bool spanish);
ChartTexts FormBalancesTexts(bool spanish);

// Bar colours of the current plan, the proposed plan and the investment.
inline const QColor kCurrentColour{0, 0, 128};
inline const QColor kProposedColour{128, 0, 128};
inline const QColor kInvestmentColour{255, 255, 0};

// The three fill operations below clear and refill the chart they are given. The first
// call on a chart sets it up (series, axes, legend at the bottom, white background, no grid
// lines) and drops anything it held; later calls reuse what the first one made, so a chart
// can be refilled after every calculation without growing. Money is shown in currency
// units with the currency symbol and separators of `regional`.
//
// Whenever a chart is laid out at a new size its axes choose their labels again: as many as
// fit side by side without the chart cutting one short (a date axis writes fewer months, and
// years alone only when two months written out do not fit), none that would stick out of the
// chart. A money axis starts at 0 and reaches below it only as far as the lowest value, rounded
// to 1, 2, 2.5 or 5 times a power of ten or to its next step, whichever is nearer.

// Longest debt name a chart shows, in characters as a reader counts them (graphemes); a
// longer name is cut to one character less and ends in "…". Whatever a name holds, the
// chart never gets more than four times this many UTF-16 code units of it.
inline constexpr int kMaxChartNameLength = 40;
// `name` as a chart shows it: whole when it is short enough, else cut after a whole
// character (never inside a surrogate pair, nor, unless one character alone is longer than
// the limit, inside a grapheme) and ended with "…".
QString ChartName(const QString& name);

// Most debts the payoff chart gives bars to. A plan with more shows the first ones of the
// payoff order and one row below them naming how many more there are.
inline constexpr int kMostPayoffDebts = 40;
// Rows of the payoff chart for a plan of `loans` simulated loans: the loans, or
// kMostPayoffDebts and the row that counts the others.
int PayoffChartRows(int loans);

// Scheduled payoff dates: one pair of horizontal bars ("Current", then "Proposed") per
// simulated loan, labelled with the loan's display name (GetDebtName, or the name in the
// language of `phrases` when given) as ChartName cuts it, in the order of `payoffs`
// (PlanFigures::payoffs, the order of the report's payoff table) from the top. Beyond
// kMostPayoffDebts loans the rest are one row at the bottom, without bars, named by
// `texts.moreDebts`.
// A bar's value is the loan's payoff day number; the date axis runs from the plan date to the
// latest of the plan date and the two debt-free dates. Each bar carries a mark with its month.
// A loan never paid off, or consolidated in the proposed plan, has no bar (value 0) but a mark
// at the start of its row that says so: `texts.never` or `texts.consolidated`. A loan with
// nothing owed has neither.
void FillPayoffDatesChart(QChart& chart, const PlanDocument& plan, const PlanResults& results,
                          const std::vector<DebtPayoff>& payoffs, const ChartTexts& texts,
                          const RegionalSettings& regional, const ReportPhrases* phrases = nullptr);

// Total interest paid: one bar for the current plan and one for the proposed plan, each
// marked with its amount to the cent; no category axis.
void FillInterestChart(QChart& chart, const PlanResults& results, const ChartTexts& texts,
                       const RegionalSettings& regional);

// Debt and investment balances: a group of three bars (current and proposed total begin
// balance, investment begin value) for months 0, 12, 24, ... below ProjectionMonths, each
// labelled with its calendar year counted from the plan date's year, then a closing group
// for month ProjectionMonths (the later debt-free month) labelled with that month's year, or
// with the month itself in the form of `texts.dateLabels` when the group before has the same
// year.
// BalanceGroupLabels gives those labels.
void FillBalancesChart(QChart& chart, const PlanDocument& plan, const PlanResults& results,
                       const ChartTexts& texts, const RegionalSettings& regional);
QStringList BalanceGroupLabels(DayNumber planDate, int projectionMonths, DateLabels form);

// The month of a day as the payoff chart writes it.
QString DateLabelText(DayNumber day, DateLabels form);

// The texts of the marks the last fill put on the chart, series by series in the order of
// the bars (on the payoff chart, from the bottom row up), the payoff chart's words for a debt
// never paid off or consolidated among them. Empty for a chart without marks.
QStringList ChartMarkTexts(const QChart& chart);
// The payoff chart's row names from the bottom up, as drawn beside the bars. Its hidden
// category axis holds only the rows' numbers, so that a refresh that reorders the debts does
// not rebuild it.
QStringList ChartRowNames(const QChart& chart);

}  // namespace ardvane
