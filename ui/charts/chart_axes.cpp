#include "ui/charts/chart_axes.h"

#include <QCategoryAxis>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

// A range from `lo` to `hi` widened to whole steps of 1, 2, 2.5 or 5 times a power of ten,
// about `steps` steps in all. Below 0 it reaches only as far as a value does: the low end is
// the next whole step, or a nicely rounded amount when that is nearer (a balance a few dollars
// below 0 does not take a whole step of the axis).
struct NiceRange {
  double lo = 0;
  double hi = 1;
  double step = 0.2;
};

// The smallest of 1, 2, 2.5 and 5 times a power of ten that is at least `x` (> 0).
double NiceCeiling(double x) {
  const double power = std::pow(10.0, std::floor(std::log10(x)));
  for (double factor : {1.0, 2.0, 2.5, 5.0}) {
    if (factor * power >= x * (1 - 1e-12)) return factor * power;
  }
  return 10 * power;
}

NiceRange MakeNiceRange(double lo, double hi, int steps) {
  if (!std::isfinite(lo) || !std::isfinite(hi)) lo = hi = 0;
  // Less than a cent below 0 shows as 0.
  if (lo > -0.005) lo = 0;
  if (hi < 0.005) hi = 0;
  if (hi - lo < 5) hi = lo + 5;
  NiceRange range;
  range.step = NiceCeiling((hi - lo) / std::max(steps, 1));
  range.hi = std::ceil(hi / range.step - 1e-9) * range.step;
  range.lo = lo < 0 ? std::max(std::floor(lo / range.step + 1e-9) * range.step, -NiceCeiling(-lo))
                    : std::floor(lo / range.step + 1e-9) * range.step;
  return range;
}

struct AxisLabel {
  QString text;
  double value;
};

// Puts the labels on the axis and sets its range. An axis lays out all its labels again on
// every change, so labels and range that are already there are left alone.
void SetAxisLabels(QCategoryAxis& axis, const std::vector<AxisLabel>& labels, double min,
                   double max) {
  const QStringList present = axis.categoriesLabels();
  bool same = present.size() == static_cast<int>(labels.size());
  for (size_t i = 0; same && i < labels.size(); ++i) {
    same = present[static_cast<int>(i)] == labels[i].text &&
           axis.endValue(labels[i].text) == labels[i].value;
  }
  if (!same) {
    for (const QString& label : present) axis.remove(label);
    if (!labels.empty()) axis.setStartValue(std::min(min, labels.front().value) - 1);
    for (const AxisLabel& label : labels) axis.append(label.text, label.value);
  }
  if (axis.min() != min || axis.max() != max) axis.setRange(min, max);
}

// Room Qt Charts keeps on either side of an axis label.
constexpr double kLabelPadding = 4;

// The size of `text` drawn as an axis label in `font`: the chart draws a label as rich text
// with half a pixel of margin all round.
QSizeF LabelSize(const QFont& font, const QString& text, LabelSizes& known) {
  if (known.font != font || known.sizes.size() > 2000) {
    known.font = font;
    known.sizes.clear();
  }
  const auto found = known.sizes.constFind(text);
  if (found != known.sizes.constEnd()) return *found;
  QTextDocument document;
  document.setDocumentMargin(0.5);
  document.setDefaultFont(font);
  document.setHtml(text);
  const QSizeF size = document.size();
  known.sizes.insert(text, size);
  return size;
}

// Where an axis of `length` pixels has room for its labels: the chart shares the length out
// among the labels and one more, less the padding on both sides, and cuts a label that is
// longer than its share down to "...". `extent` is the labels' size along the axis.
bool LabelsFit(size_t count, double extent, double length) {
  if (count == 0) return true;
  return extent <= length / static_cast<double>(count + 1) - 2 * kLabelPadding - 0.5;
}

// `labels` between `min` and `max` without those that would stand out past the ends of the
// room, or null when the rest do not fit side by side. Horizontal labels are measured by
// width, vertical ones by height.
std::optional<std::vector<AxisLabel>> FitLabels(std::vector<AxisLabel> labels, double min,
                                                double max, const QFont& font, const AxisRoom& room,
                                                bool horizontal, LabelSizes& sizes) {
  if (room.length <= 0 || max <= min) return labels;
  const double scale = room.length / (max - min);
  double widest = 0;
  std::vector<AxisLabel> kept;
  for (AxisLabel& label : labels) {
    const QSizeF size = LabelSize(font, label.text, sizes);
    const double extent = horizontal ? size.width() : size.height();
    const double at = (label.value - min) * scale;
    if (at - extent / 2 < -room.before || at + extent / 2 > room.length + room.after) continue;
    widest = std::max(widest, extent);
    kept.push_back(std::move(label));
  }
  if (!LabelsFit(kept.size(), widest, room.length)) return std::nullopt;
  return kept;
}

// Labels on the first day of every `step`-th month from `first` to `last`; steps of a year
// or more fall in January of a multiple of the step in years, shorter ones on a month that is
// a multiple of the step. `yearsOnly` writes the year alone. More than `most` months give no
// labels at all.
std::vector<AxisLabel> MonthLabels(DayNumber first, DayNumber last, int step, DateLabels form,
                                   bool yearsOnly, size_t most) {
  // Months counted from year 0: a step divides 12 or is whole years, so a month falls on the
  // step exactly when its count does.
  const CivilDate start = DecodeDate(first);
  const int firstMonth = start.year * 12 + (start.month - 1) + (start.day != 1 ? 1 : 0);
  const int aligned = (firstMonth + step - 1) / step * step;
  const int year = aligned / 12;
  const int month = aligned % 12 + 1;
  std::vector<DayNumber> days;
  for (DayNumber day = EncodeDate(year, month, 1); day <= last; day = AddMonths(day, step)) {
    if (days.size() == most) return {};
    days.push_back(day);
  }
  std::vector<AxisLabel> labels;
  labels.reserve(days.size());
  for (DayNumber day : days) {
    labels.push_back({yearsOnly ? QString::number(DecodeDate(day).year) : DateLabelText(day, form),
                      static_cast<double>(day)});
  }
  return labels;
}

}  // namespace

// Amount in currency units as "#,##0" followed by up to `maxDecimals` decimals, trailing
// zeros dropped down to `minDecimals`, placed in the locale's currency pattern.
QString MoneyText(double units, int minDecimals, int maxDecimals,
                  const RegionalSettings& regional) {
  if (!std::isfinite(units)) units = 0;
  QString digits = QString::number(std::fabs(units), 'f', maxDecimals);
  QString whole = digits.section('.', 0, 0);
  QString fraction = digits.section('.', 1, 1);
  while (fraction.size() > minDecimals && fraction.endsWith('0')) fraction.chop(1);
  const bool negative =
      units < 0 && (whole.count('0') != whole.size() || fraction.count('0') != fraction.size());

  const QString separator = Q(regional.monetaryThousandsSeparator);
  QString grouped;
  grouped.reserve(whole.size() + whole.size() / 3 * separator.size());
  for (int i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped += separator;
    grouped += whole[i];
  }
  if (!fraction.isEmpty()) grouped += Q(regional.monetaryDecimalSeparator) + fraction;

  QString pattern =
      Q(negative ? regional.currencyNegativePattern : regional.currencyPositivePattern);
  if (!pattern.contains('n')) pattern = negative ? QStringLiteral("-$n") : QStringLiteral("$n");
  const QString symbol = Q(regional.currencySymbol);
  QString text;
  for (QChar c : pattern) {
    if (c == '$') {
      text += symbol;
    } else if (c == 'n') {
      text += grouped;
    } else {
      text += c;
    }
  }
  return text;
}

// Labels at nice money values over a range that includes 0 and every value: about five
// steps, fewer when the axis is too short for the labels of five.
void FillMoneyAxis(QCategoryAxis& axis, double lo, double hi, const RegionalSettings& regional,
                   const AxisRoom& room, LabelSizes& sizes) {
  lo = std::min(lo, 0.0);
  hi = std::max(hi, 0.0);
  NiceRange range;
  std::vector<AxisLabel> chosen;
  for (int steps = 5; steps >= 1; --steps) {
    range = MakeNiceRange(lo, hi, steps);
    std::vector<AxisLabel> labels;
    const double first = std::ceil(range.lo / range.step - 1e-9) * range.step;
    const int count = static_cast<int>(std::lround((range.hi - first) / range.step));
    for (int i = 0; i <= count; ++i) {
      const double value = first + i * range.step;
      labels.push_back(
          {MoneyText(std::fabs(value) < range.step / 2 ? 0 : value, 0, 3, regional), value});
    }
    std::optional<std::vector<AxisLabel>> fitted =
        FitLabels(std::move(labels), range.lo, range.hi, axis.labelsFont(), room, false, sizes);
    if (fitted) {
      chosen = std::move(*fitted);
      break;
    }
  }
  SetAxisLabels(axis, chosen, range.lo, range.hi);
}

// Labels of months between `first` and `last`, at most seven, each whole: the most marks that
// fit with the month written out, else fewer; years alone only when not even two months
// written out fit; a single mark, or none, when the axis is too short even for that.
void FillDateAxis(QCategoryAxis& axis, DayNumber first, DayNumber last, DateLabels form,
                  const AxisRoom& room, LabelSizes& sizes) {
  constexpr size_t kMostDateLabels = 7;
  static constexpr int kSteps[] = {1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200, 2400, 6000};
  const QFont font = axis.labelsFont();
  const auto attempt = [&](size_t fewest, bool yearsOnly) -> std::optional<std::vector<AxisLabel>> {
    for (int step : kSteps) {
      if (yearsOnly && step < 12) continue;
      std::vector<AxisLabel> labels =
          MonthLabels(first, last, step, form, yearsOnly, kMostDateLabels);
      std::optional<std::vector<AxisLabel>> fitted =
          FitLabels(std::move(labels), first, last, font, room, true, sizes);
      if (fitted && fitted->size() >= fewest) return fitted;
    }
    return std::nullopt;
  };
  std::optional<std::vector<AxisLabel>> labels = attempt(2, false);
  if (!labels) labels = attempt(2, true);
  if (!labels) labels = attempt(1, false);
  if (!labels) labels = attempt(1, true);
  if (!labels) {
    // No month begins within the axis: the plan date's month, when it fits.
    labels = FitLabels({{DateLabelText(first, form), static_cast<double>(first)}}, first, last,
                       font, room, true, sizes);
  }
  SetAxisLabels(axis, labels.value_or(std::vector<AxisLabel>{}), first, last);
}

// The years under the balances chart's groups (group i stands at i): every one where they fit,
// else every second, third, ... one counted back from the closing group, whose label (the
// horizon) is always among them; at most ten in all.
void FillYearAxis(QCategoryAxis& axis, const QStringList& years, const AxisRoom& room,
                  LabelSizes& sizes) {
  constexpr qsizetype kMostLabels = 10;
  const double min = -0.5;
  const double max = static_cast<double>(years.size()) - 0.5;
  std::vector<AxisLabel> chosen;
  for (qsizetype step = std::max<qsizetype>(1, (years.size() + kMostLabels - 1) / kMostLabels);
       step <= years.size(); ++step) {
    std::vector<AxisLabel> labels;
    for (qsizetype i = (years.size() - 1) % step; i < years.size(); i += step) {
      labels.push_back({years[i], static_cast<double>(i)});
    }
    std::optional<std::vector<AxisLabel>> fitted =
        FitLabels(std::move(labels), min, max, axis.labelsFont(), room, true, sizes);
    if (fitted && !fitted->empty()) {
      chosen = std::move(*fitted);
      break;
    }
  }
  SetAxisLabels(axis, chosen, min, max);
}

}  // namespace ardvane
