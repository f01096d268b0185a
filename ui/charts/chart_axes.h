#pragma once

#include <QFont>
#include <QHash>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "engine/calendar.h"
#include "engine/regional_settings.h"
#include "ui/charts/plan_charts.h"

class QCategoryAxis;

namespace ardvane {

// The labels of the plan charts' axes: as many as an axis has room for without the chart
// cutting one short, none that would stand out past the ends of the chart.

// The room an axis has: its length and how far a label may stand out past either end (into
// the chart's margins) before it would be cut off. A length of 0 means the chart has not been
// laid out yet.
struct AxisRoom {
  double length = 0;
  double before = 0;
  double after = 0;
  friend bool operator==(const AxisRoom&, const AxisRoom&) = default;
};

// Sizes of label texts already measured in one font: the same few texts come back at every
// refresh and every new size of a chart.
struct LabelSizes {
  QFont font;
  QHash<QString, QSizeF> sizes;
};

// Amount in currency units as "#,##0" followed by up to `maxDecimals` decimals, trailing
// zeros dropped down to `minDecimals`, placed in the locale's currency pattern.
QString MoneyText(double units, int minDecimals, int maxDecimals, const RegionalSettings& regional);

// Labels at nice money values over a range that includes 0 and every value: about five
// steps, fewer when the axis is too short for the labels of five.
void FillMoneyAxis(QCategoryAxis& axis, double lo, double hi, const RegionalSettings& regional,
                   const AxisRoom& room, LabelSizes& sizes);

// Labels of months between `first` and `last`, at most seven, each whole: the most marks that
// fit with the month written out, else fewer; years alone only when not even two months
// written out fit; a single mark, or none, when the axis is too short even for that.
void FillDateAxis(QCategoryAxis& axis, DayNumber first, DayNumber last, DateLabels form,
                  const AxisRoom& room, LabelSizes& sizes);

// The years under the balances chart's groups (group i stands at i): every one where they fit,
// else every second, third, ... one counted back from the closing group, whose label (the
// horizon) is always among them; at most ten in all.
void FillYearAxis(QCategoryAxis& axis, const QStringList& years, const AxisRoom& room,
                  LabelSizes& sizes);

}  // namespace ardvane
