#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include "engine/calendar.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "reports/report_language.h"

class QChart;

namespace ardvane {

// How the payoff chart writes a month on its date axis and in its bar marks.
enum class DateLabels {
  kMonthName,    // "Jun 2024"
  kMonthNumber,  // "06/2024"
};

// The wording of one chart: its title and the names of its series in order (current,
// proposed, and for the balances chart the investment), plus the date form of the payoff
// chart. `windowLegendShades` gives the legend entries of the first two series the main
// window's shades (red 0, green 0, blue 160 and red 128, green 0, blue 64) instead of the
// colours of their bars.
struct ChartTexts {
  QString title;
  QStringList seriesNames;
  DateLabels dateLabels = DateLabels::kMonthName;
  bool windowLegendShades = false;
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

// Scheduled payoff dates: one pair of horizontal bars ("Current", then "Proposed") per
// simulated loan, labelled with the loan's display name (GetDebtName, or the name in the
// language of `phrases` when given), the first loan of the proposed payoff order at the top.
// A bar's value is the loan's payoff day number; the date axis runs from the plan date to the
// latest of the plan date and the two debt-free dates, so a loan never paid off (day 0) shows
// no bar. Each bar carries a mark with its month.
void FillPayoffDatesChart(QChart& chart, const PlanDocument& plan, const PlanResults& results,
                          const ChartTexts& texts, const RegionalSettings& regional,
                          const ReportPhrases* phrases = nullptr);

// Total interest paid: one bar for the current plan and one for the proposed plan, each
// marked with its amount to the cent; no category axis.
void FillInterestChart(QChart& chart, const PlanResults& results, const ChartTexts& texts,
                       const RegionalSettings& regional);

// Debt and investment balances: a group of three bars (current and proposed total begin
// balance, investment begin value) for months 0, 12, 24, ... below ProjectionMonths, each
// labelled with its calendar year counted from the plan date's year, then a closing group
// for month ProjectionMonths labelled with the plan year + ProjectionMonths / 12 + 1.
void FillBalancesChart(QChart& chart, const PlanDocument& plan, const PlanResults& results,
                       const ChartTexts& texts, const RegionalSettings& regional);

// The month of a day as the payoff chart writes it.
QString DateLabelText(DayNumber day, DateLabels form);

// The texts of the marks the last fill put on the chart, series by series in the order of
// the bars; a payoff bar that ends before the plan date has none. Empty for a chart without
// marks.
//
// The payoff chart's category axis holds the loan names with its labels hidden (the chart
// draws the names itself); a name that repeats carries zero-width spaces (U+200B) there,
// because the axis keeps categories apart by their text.
QStringList ChartMarkTexts(const QChart& chart);

}  // namespace ardvane
