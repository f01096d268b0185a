#include "ui/charts/plan_charts.h"

#include <QBarCategoryAxis>
#include <QBarLegendMarker>
#include <QBarSeries>
#include <QBarSet>
#include <QBrush>
#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsObject>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QHash>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLinearGradient>
#include <QPen>
#include <QSet>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "engine/month_names.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {

ChartTexts WindowPayoffTexts() {
  return {"Scheduled Payoff Dates", {"Current", "Proposed"}, DateLabels::kMonthName, true};
}
ChartTexts WindowInterestTexts() {
  return {"Total Interest Paid", {"Current", "Proposed"}, DateLabels::kMonthName, true};
}
ChartTexts WindowBalancesTexts() {
  return {"Debt and Investment Balances",
          {"Current", "Proposed", "Investment"},
          DateLabels::kMonthName,
          true};
}
ChartTexts FormPayoffTexts(bool spanish) {
  if (spanish) {
    return {QStringLiteral("Calendario de pago de deudas"),
            {QStringLiteral("Actual"), QStringLiteral("Propuesto")},
            DateLabels::kMonthNumber,
            false,
            QStringLiteral("y %1 más"),
            QStringLiteral("Nunca"),
            QStringLiteral("Consolidada")};
  }
  return {"Scheduled Payoff Dates", {"Current", "Proposed"}, DateLabels::kMonthName, false};
}
ChartTexts FormBalancesTexts(bool spanish) {
  if (spanish) {
    return {QStringLiteral("Saldos de deudas e inversión"),
            {QStringLiteral("Deudas actuales"), QStringLiteral("Deudas propuestas"),
             QStringLiteral("Inversión")},
            DateLabels::kMonthNumber,
            false};
  }
  return {"Debt and Investment Balances",
          {"Current Debt Balance", "Proposed Debt Balance", "Potential Investment Value"},
          DateLabels::kMonthName,
          false};
}

QString ChartName(const QString& name) {
  // A name this short has no more characters than the limit, however they are counted.
  if (name.size() <= kMaxChartNameLength) return name;
  constexpr qsizetype kMaxUnits = 4 * qsizetype{kMaxChartNameLength};
  // Only the start of a long name is looked at: a boundary finder over the whole of it
  // would cost memory in proportion to its length.
  const QString head = name.left(kMaxUnits + 1);
  QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, head);
  // Ends of the first kMaxChartNameLength graphemes that lie within kMaxUnits units; the
  // head's own end counts only when the head is the whole name.
  std::vector<qsizetype> ends;
  for (qsizetype end = graphemes.toNextBoundary();
       end > 0 && ends.size() < static_cast<size_t>(kMaxChartNameLength);
       end = graphemes.toNextBoundary()) {
    if (end == head.size() && head.size() < name.size()) break;
    if (end > kMaxUnits) break;
    ends.push_back(end);
  }
  if (!ends.empty() && ends.back() == name.size()) return name;  // fits as it is

  // Room for the ellipsis: at most one grapheme less than the limit, one unit less in all.
  qsizetype cut = 0;
  for (size_t k = 0; k < ends.size() && k + 1 < static_cast<size_t>(kMaxChartNameLength); ++k) {
    if (ends[k] < kMaxUnits) cut = ends[k];
  }
  if (cut == 0) {
    // The first character alone is too long (a letter under endless combining marks): cut it
    // between code points.
    cut = kMaxUnits - 1;
    if (head[cut - 1].isHighSurrogate()) --cut;
  }
  while (cut > 0 && head[cut - 1].isSpace()) --cut;
  return head.left(cut) + QChar(0x2026);
}

int PayoffChartRows(int loans) { return loans > kMostPayoffDebts ? kMostPayoffDebts + 1 : loans; }

QString DateLabelText(DayNumber day, DateLabels form) {
  const CivilDate date = DecodeDate(day);
  if (form == DateLabels::kMonthNumber) {
    return QStringLiteral("%1/%2").arg(date.month, 2, 10, QLatin1Char('0')).arg(date.year);
  }
  return Q(GetShortMonthName(date.month, Language::kEnglish)) + ' ' +
         QString::number(date.year);
}

namespace {

const QColor kWindowLegendCurrent{0, 0, 160};
const QColor kWindowLegendProposed{128, 0, 64};
// Qt Charts keeps categories apart by their text; a repeated debt name gets this many
// zero-width spaces appended so that every loan keeps its own pair of bars.
const QChar kInvisibleSuffix(0x200B);
// Share of a category's width taken by its bars; the interest chart's two bars are one
// category.
constexpr double kBarWidth = 0.8;
constexpr double kInterestBarWidth = 0.5;

enum class ChartKind { kPayoff, kInterest, kBalances };

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
  if (!fraction.isEmpty())
    grouped += Q(regional.monetaryDecimalSeparator) + fraction;

  QString pattern = Q(negative ? regional.currencyNegativePattern
                                                    : regional.currencyPositivePattern);
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

// Sizes of label texts already measured in one font: the same few texts come back at every
// refresh and every new size of a chart.
struct LabelSizes {
  QFont font;
  QHash<QString, QSizeF> sizes;
};

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

// The room an axis has: its length and how far a label may stand out past either end (into
// the chart's margins) before it would be cut off. A length of 0 means the chart has not been
// laid out yet.
struct AxisRoom {
  double length = 0;
  double before = 0;
  double after = 0;
  friend bool operator==(const AxisRoom&, const AxisRoom&) = default;
};

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

// One mark: a small boxed text at the end of a bar. `value` is the bar's end on the value
// axis, `slot` the bar's centre on the category axis. A word mark stands for a bar that is
// not there: it sits at the start of the value axis, in italics and in its plan's colour.
struct Mark {
  QGraphicsRectItem* box = nullptr;
  QGraphicsSimpleTextItem* text = nullptr;
  double value = 0;
  double slot = 0;
  bool word = false;
};

// What the first fill of a chart set up, kept on the chart as an invisible child item so that
// later fills find it again. It also draws the bar marks and, on the payoff chart, the loan
// names beside the bars, and whenever the plot area moves it places them again and chooses
// the axis labels anew, as many as the axes have room for without cutting one short. (The category
// axis cuts a name down to "..." as soon as the rows get tighter than its padded label
// height, which a plan of a dozen debts reaches in a window-sized chart.)
class ChartParts : public QGraphicsObject {
 public:
  static constexpr int kType = UserType + 0x5043;

  ChartParts(QChart& chart, ChartKind kind) : QGraphicsObject(&chart), chart_(chart), kind_(kind) {
    setFlag(ItemHasNoContents);
    setZValue(1000);
    QObject::connect(&chart, &QChart::plotAreaChanged, this, [this] { Place(); });
  }

  int type() const override { return kType; }
  QRectF boundingRect() const override { return {}; }
  void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}

  ChartKind kind() const { return kind_; }
  QAbstractBarSeries* series = nullptr;
  std::vector<QBarSet*> sets;
  QBarCategoryAxis* categoryAxis = nullptr;
  QCategoryAxis* valueAxis = nullptr;
  // The balances chart's years: the category axis would cut every label to the width of its
  // group, so the years stand on an axis of their own, spread out where groups are many.
  QCategoryAxis* yearAxis = nullptr;

  // Names of the categories from the bottom up, drawn right-aligned left of the plot area,
  // which the chart's left margin makes room for.
  void SetNames(const QStringList& names) {
    fullNames_ = names;
    LayOutNames();
  }
  const QStringList& Names() const { return fullNames_; }

  // What the axes are to show; their labels are chosen when the marks are placed (EndMarks)
  // and again whenever the plot area changes.
  // The payoff chart's date axis runs from `first` to `last`.
  void SetDateAxis(DayNumber first, DayNumber last, DateLabels form) {
    if (first == dateFirst_ && last == dateLast_ && form == dateForm_) return;
    dateFirst_ = first;
    dateLast_ = last;
    dateForm_ = form;
    valueStale_ = true;
  }
  // The money axis covers 0 and the values from `lo` to `hi`.
  void SetMoneyAxis(double lo, double hi, const RegionalSettings& regional) {
    if (moneyLo_ == lo && moneyHi_ == hi && regional_ == regional) return;
    moneyLo_ = lo;
    moneyHi_ = hi;
    regional_ = regional;
    valueStale_ = true;
  }
  // The balances chart's years, one per group.
  void SetYears(const QStringList& years) {
    if (years == years_) return;
    years_ = years;
    yearsStale_ = true;
  }

  // Starts a new set of marks; items made before are kept for reuse.
  void BeginMarks() { used_ = 0; }
  void AddMark(const QString& text, double value, double slot) {
    Add(text, value, slot, false, Qt::black);
  }
  // A word in place of a bar of colour `colour` in the category slot `slot`.
  void AddWordMark(const QString& text, double slot, const QColor& colour) {
    Add(text, 0, slot, true, colour);
  }
  void EndMarks() {
    for (size_t i = used_; i < marks_.size(); ++i) marks_[i].box->setVisible(false);
    Place();
  }
  QStringList MarkTexts() const {
    QStringList texts;
    for (size_t i = 0; i < used_; ++i) texts << marks_[i].text->text();
    return texts;
  }

 private:
  static constexpr int kLeftMargin = 6;
  static constexpr int kNameGap = 8;
  static constexpr double kMaxNameWidth = 180;
  static constexpr double kMostNameShare = 0.35;

  void Add(const QString& text, double value, double slot, bool word, const QColor& colour) {
    if (used_ == marks_.size()) {
      Mark mark;
      mark.box = new QGraphicsRectItem(this);
      mark.box->setPen(QPen(QColor(128, 128, 128), 0));
      mark.box->setBrush(QColor(255, 255, 225));
      mark.text = new QGraphicsSimpleTextItem(mark.box);
      QFont font = mark.text->font();
      font.setPointSizeF(7.5);
      mark.text->setFont(font);
      marks_.push_back(mark);
    }
    Mark& mark = marks_[used_++];
    mark.value = value;
    mark.slot = slot;
    if (mark.word != word) {
      mark.word = word;
      QFont font = mark.text->font();
      font.setItalic(word);
      mark.text->setFont(font);
    }
    if (mark.text->brush().color() != colour) mark.text->setBrush(colour);
    if (mark.text->text() != text) mark.text->setText(text);
  }

  void Place() {
    // Labels chosen here make the chart lay itself out again; that comes back through here
    // later, never from within.
    if (placing_) return;
    placing_ = true;
    if (chart_.size().width() != namesLaidOutFor_) LayOutNames();
    FitAxes();
    PlaceNames();
    PlaceMarks();
    placing_ = false;
  }

  // The names, each cut to the width left for them: up to kMaxNameWidth, but no more than a
  // share of a narrow chart, so the bars, the dates and the legend keep their room.
  void LayOutNames() {
    QFont font;
    font.setPointSizeF(8);
    const QFontMetricsF metrics(font);
    const double chartWidth = chart_.size().width();
    namesLaidOutFor_ = chartWidth;
    double room = kMaxNameWidth;
    if (chartWidth > 0) {
      // The legend below shares the width left of the margins with the plot area; it cuts its
      // entries short when it gets less than it asks for.
      const double legend = LegendWidth();
      room = std::min({room, chartWidth * kMostNameShare,
                       chartWidth - legend - kLeftMargin - kNameGap - chart_.margins().right()});
      room = std::max(room, 0.0);
    }
    double widest = 0;
    while (names_.size() < static_cast<size_t>(fullNames_.size())) {
      auto* item = new QGraphicsSimpleTextItem(this);
      item->setFont(font);
      item->setBrush(QColor(64, 64, 64));
      names_.push_back(item);
    }
    for (size_t i = 0; i < names_.size(); ++i) {
      if (i >= static_cast<size_t>(fullNames_.size())) {
        names_[i]->setVisible(false);
        continue;
      }
      const QString text =
          metrics.elidedText(fullNames_[static_cast<int>(i)], Qt::ElideRight, room);
      if (names_[i]->text() != text) names_[i]->setText(text);
      widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    nameCount_ = fullNames_.size();
    QMargins margins = chart_.margins();
    margins.setLeft(kLeftMargin + static_cast<int>(std::ceil(widest)) +
                    (nameCount_ > 0 ? kNameGap : 0));
    if (chart_.margins() != margins) chart_.setMargins(margins);
  }

  // About the width the legend's entries take side by side: each its text, a swatch and gaps.
  double LegendWidth() const {
    const QLegend& legend = *chart_.legend();
    if (!legend.isVisible()) return 0;
    const QFontMetricsF metrics(legend.font());
    double width = 0;
    for (const QLegendMarker* marker : legend.markers()) {
      if (marker->isVisible())
        width += metrics.horizontalAdvance(marker->label()) + 3 * metrics.height();
    }
    return width;
  }

  // Labels for the axes as they are now laid out (before the first layout, as many as an
  // axis ever gets).
  void FitAxes() {
    const QRectF plot = chart_.plotArea();
    const QRectF whole(QPointF(0, 0), chart_.size());
    const bool laidOut = !plot.isEmpty();
    // The chart hides a label along the bottom that would begin left of the plot area, and
    // one that ends right of the chart would be cut off.
    const AxisRoom across{laidOut ? plot.width() : 0, 0, whole.right() - plot.right()};
    const AxisRoom upright{laidOut ? plot.height() : 0, whole.bottom() - plot.bottom(),
                           plot.top() - whole.top()};
    // Choosing labels costs more than a refresh that changes only the bars: an axis chooses
    // again only when what it shows, or the room it has, changed since.
    const bool payoff = kind_ == ChartKind::kPayoff;
    const bool valueRoomChanged = payoff ? across != fittedAcross_ : upright != fittedUpright_;
    if (valueStale_ || valueRoomChanged || valueAxis->min() != fittedMin_ ||
        valueAxis->max() != fittedMax_) {
      if (payoff && dateLast_ > dateFirst_) {
        FillDateAxis(*valueAxis, dateFirst_, dateLast_, dateForm_, across, valueLabelSizes_);
      } else if (!payoff && moneyLo_ && moneyHi_) {
        FillMoneyAxis(*valueAxis, *moneyLo_, *moneyHi_, regional_, upright, valueLabelSizes_);
      }
      valueStale_ = false;
      fittedMin_ = valueAxis->min();
      fittedMax_ = valueAxis->max();
    }
    if (yearAxis && (yearsStale_ || across != fittedAcross_)) {
      FillYearAxis(*yearAxis, years_, across, yearLabelSizes_);
      yearsStale_ = false;
    }
    fittedAcross_ = across;
    fittedUpright_ = upright;
  }

  void PlaceNames() {
    const QRectF plot = chart_.plotArea();
    if (nameCount_ == 0 || plot.isEmpty()) return;
    const double row = plot.height() / nameCount_;
    const double textHeight = names_.front()->boundingRect().height();
    // Rows too tight for every name show every k-th one, counted from the top.
    const int every = std::max(1, static_cast<int>(std::ceil(textHeight / std::max(row, 1.0))));
    for (int c = 0; c < nameCount_; ++c) {
      QGraphicsSimpleTextItem* item = names_[c];
      const bool shown = (nameCount_ - 1 - c) % every == 0;
      item->setVisible(shown);
      if (!shown) continue;
      const QRectF box = item->boundingRect();
      item->setPos(plot.left() - kNameGap - box.width(),
                   plot.bottom() - (c + 0.5) * row - box.height() / 2);
    }
  }

  void PlaceMarks() {
    if (used_ == 0) return;
    const QRectF plot = chart_.plotArea();
    const double min = valueAxis->min();
    const double max = valueAxis->max();
    const int categories = categoryAxis->count();
    const bool horizontal = kind_ == ChartKind::kPayoff;
    const double length = horizontal ? plot.width() : plot.height();
    const double across = horizontal ? plot.height() : plot.width();
    const double thickness = across / std::max(categories, 1) * series->barWidth() / sets.size();
    constexpr double kPad = 2;
    constexpr double kGap = 3;
    for (size_t i = 0; i < used_; ++i) {
      Mark& mark = marks_[i];
      const QRectF textRect = mark.text->boundingRect();
      const QSizeF size(textRect.width() + 2 * kPad, textRect.height());
      // Marks on bars too thin to tell apart would only pile up on each other.
      const bool fits = thickness >= size.height() * (horizontal ? 0.7 : 0.0);
      const bool shown =
          fits && max > min && (mark.word || mark.value > min) && categories > 0 && !plot.isEmpty();
      mark.box->setVisible(shown);
      if (!shown) continue;
      // A word mark stands just inside the start of the axis, where its bar would begin.
      constexpr double kWordInset = 2;
      const double along = mark.word ? kWordInset - kGap
                                     : std::min(mark.value - min, max - min) / (max - min) * length;
      const double centre = (mark.slot + 0.5) / categories * across;
      QPointF topLeft;
      if (horizontal) {
        const double end = plot.left() + along;
        double x = end + kGap;
        if (x + size.width() > plot.right()) x = std::max(plot.left(), end - kGap - size.width());
        topLeft = QPointF(x, plot.bottom() - centre - size.height() / 2);
      } else {
        const double top = plot.bottom() - along;
        double y = top - kGap - size.height();
        if (y < plot.top()) y = top + kGap;
        topLeft = QPointF(plot.left() + centre - size.width() / 2, y);
      }
      mark.box->setRect(QRectF(QPointF(0, 0), size));
      mark.box->setPos(topLeft);
      mark.text->setPos(kPad, 0);
    }
  }

  QChart& chart_;
  ChartKind kind_;
  std::vector<Mark> marks_;
  size_t used_ = 0;
  std::vector<QGraphicsSimpleTextItem*> names_;
  QStringList fullNames_;
  int nameCount_ = 0;
  double namesLaidOutFor_ = -1;
  bool placing_ = false;
  DayNumber dateFirst_ = 0;
  DayNumber dateLast_ = 0;
  DateLabels dateForm_ = DateLabels::kMonthName;
  std::optional<double> moneyLo_;
  std::optional<double> moneyHi_;
  RegionalSettings regional_;
  QStringList years_;
  // One for each axis with labels, as the axes may have different fonts.
  LabelSizes valueLabelSizes_;
  LabelSizes yearLabelSizes_;
  bool valueStale_ = true;
  bool yearsStale_ = true;
  AxisRoom fittedAcross_;
  AxisRoom fittedUpright_;
  double fittedMin_ = 0;
  double fittedMax_ = 0;
};

ChartParts* FindParts(const QChart& chart) {
  for (QGraphicsItem* item : chart.childItems()) {
    if (item->type() == ChartParts::kType) return static_cast<ChartParts*>(item);
  }
  return nullptr;
}

QBrush CylinderBrush(const QColor& colour) {
  // Shaded across the bar's thickness, light along its middle, like a lit cylinder.
  QLinearGradient gradient(0, 0, 0, 1);
  gradient.setCoordinateMode(QGradient::ObjectMode);
  gradient.setColorAt(0, colour.darker(120));
  const QColor highlight((colour.red() * 3 + 255 * 2) / 5, (colour.green() * 3 + 255 * 2) / 5,
                         (colour.blue() * 3 + 255 * 2) / 5);
  gradient.setColorAt(0.35, highlight);
  gradient.setColorAt(1, colour.darker(150));
  return QBrush(gradient);
}

// Clears the chart and builds series, sets and axes for a kind of chart.
ChartParts& SetUp(QChart& chart, ChartKind kind, int setCount) {
  delete FindParts(chart);
  chart.removeAllSeries();
  for (QAbstractAxis* axis : chart.axes()) {
    chart.removeAxis(axis);
    delete axis;
  }
  chart.setAnimationOptions(QChart::NoAnimation);
  chart.setBackgroundBrush(Qt::white);
  chart.setBackgroundPen(Qt::NoPen);
  chart.setBackgroundRoundness(0);
  chart.setDropShadowEnabled(false);
  chart.setMargins(QMargins(6, 4, 12, 2));
  QFont titleFont(QStringLiteral("Liberation Sans"));
  titleFont.setPointSizeF(10);
  titleFont.setBold(true);
  chart.setTitleFont(titleFont);
  chart.legend()->setVisible(true);
  chart.legend()->setAlignment(Qt::AlignBottom);

  auto* parts = new ChartParts(chart, kind);
  if (kind == ChartKind::kPayoff) {
    parts->series = new QHorizontalBarSeries(&chart);
  } else {
    parts->series = new QBarSeries(&chart);
  }
  parts->series->setBarWidth(kind == ChartKind::kInterest ? kInterestBarWidth : kBarWidth);
  static const std::array<QColor, 3> kColours{kCurrentColour, kProposedColour, kInvestmentColour};
  for (int k = 0; k < setCount; ++k) {
    auto* set = new QBarSet(QString());
    if (kind == ChartKind::kPayoff) {
      set->setBrush(CylinderBrush(kColours[k]));
      set->setPen(Qt::NoPen);
    } else {
      set->setColor(kColours[k]);
      set->setBorderColor(kColours[k].darker(140));
    }
    parts->series->append(set);
    parts->sets.push_back(set);
  }
  chart.addSeries(parts->series);

  parts->categoryAxis = new QBarCategoryAxis(&chart);
  parts->valueAxis = new QCategoryAxis(&chart);
  parts->valueAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(parts->categoryAxis),
                              static_cast<QAbstractAxis*>(parts->valueAxis)}) {
    axis->setGridLineVisible(false);
    axis->setMinorGridLineVisible(false);
    QFont font = axis->labelsFont();
    font.setPointSizeF(8);
    axis->setLabelsFont(font);
  }
  const bool horizontal = kind == ChartKind::kPayoff;
  chart.addAxis(parts->categoryAxis, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
  chart.addAxis(parts->valueAxis, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
  parts->series->attachAxis(parts->categoryAxis);
  parts->series->attachAxis(parts->valueAxis);
  if (kind == ChartKind::kInterest) parts->categoryAxis->setVisible(false);
  if (kind == ChartKind::kBalances) {
    parts->categoryAxis->setVisible(false);
    parts->yearAxis = new QCategoryAxis(&chart);
    parts->yearAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    parts->yearAxis->setGridLineVisible(false);
    parts->yearAxis->setLabelsFont(parts->categoryAxis->labelsFont());
    chart.addAxis(parts->yearAxis, Qt::AlignBottom);
  }
  if (kind == ChartKind::kPayoff) parts->categoryAxis->setLabelsVisible(false);
  return *parts;
}

ChartParts& PartsFor(QChart& chart, ChartKind kind, int setCount) {
  ChartParts* parts = FindParts(chart);
  if (parts && parts->kind() == kind && static_cast<int>(parts->sets.size()) == setCount &&
      chart.series().size() == 1 && chart.series().front() == parts->series) {
    return *parts;
  }
  return SetUp(chart, kind, setCount);
}

void ApplyTexts(QChart& chart, ChartParts& parts, const ChartTexts& texts) {
  if (chart.title() != texts.title) chart.setTitle(texts.title);
  for (size_t k = 0; k < parts.sets.size(); ++k) {
    const QString name =
        static_cast<int>(k) < texts.seriesNames.size() ? texts.seriesNames[k] : QString();
    if (parts.sets[k]->label() != name) parts.sets[k]->setLabel(name);
  }
  // The legend shows plain swatches: the window's own shades or the bars' colours.
  const std::array<QColor, 3> swatches{
      texts.windowLegendShades ? kWindowLegendCurrent : kCurrentColour,
      texts.windowLegendShades ? kWindowLegendProposed : kProposedColour, kInvestmentColour};
  const QList<QLegendMarker*> markers = chart.legend()->markers(parts.series);
  for (int k = 0; k < markers.size() && k < 3; ++k) {
    if (markers[k]->brush() != QBrush(swatches[k])) markers[k]->setBrush(swatches[k]);
  }
}

void SetValues(QBarSet& set, const QList<qreal>& values) {
  // Bars are rebuilt by the chart whenever their number changes; a refresh of the same plan
  // only changes values, which is much cheaper for it.
  if (set.count() == values.size()) {
    for (int i = 0; i < values.size(); ++i) {
      if (set.at(i) != values[i]) set.replace(i, values[i]);
    }
    return;
  }
  if (set.count() > 0) set.remove(0, set.count());
  set.append(values);
}

// Makes every text distinct by appending invisible characters to repeats.
QStringList DistinctCategories(const QStringList& names) {
  QStringList out;
  QSet<QString> taken;
  out.reserve(names.size());
  for (const QString& name : names) {
    QString candidate = name;
    while (taken.contains(candidate)) candidate += kInvisibleSuffix;
    taken.insert(candidate);
    out << candidate;
  }
  return out;
}

void SetCategories(QBarCategoryAxis& axis, const QStringList& categories) {
  if (axis.categories() != categories) axis.setCategories(categories);
}

double Units(Money amount) { return static_cast<double>(amount.Units()); }

}  // namespace

void FillPayoffDatesChart(QChart& chart, const PlanDocument& plan, const PlanResults& results,
                          const std::vector<DebtPayoff>& payoffs, const ChartTexts& texts,
                          const RegionalSettings& /*regional*/, const ReportPhrases* phrases) {
  ChartParts& parts = PartsFor(chart, ChartKind::kPayoff, 2);
  ApplyTexts(chart, parts, texts);

  const DayNumber first = plan.Date;
  DayNumber last = std::max(
      {plan.Date, results.CurrentPlan.GetDebtFreeDate(), results.ProposedPlan.GetDebtFreeDate()});
  // An axis needs some length; a plan with nothing to pay off gets a month.
  if (last <= first) last = first + 31;
  parts.SetDateAxis(first, last, texts.dateLabels);

  // The first loan of the payoff order goes in last, which puts it at the top; the row
  // that counts the loans left out, if any, goes in first, at the bottom, with no bars.
  std::vector<const DebtPayoff*> rows;
  rows.reserve(payoffs.size());
  for (const DebtPayoff& payoff : payoffs) {
    if (results.CurrentPlan.GetLoan(payoff.loan) && results.ProposedPlan.GetLoan(payoff.loan)) {
      rows.push_back(&payoff);
    }
  }
  const int count = static_cast<int>(rows.size());
  const int shown = std::min(count, kMostPayoffDebts);
  QStringList names;
  // Per row from the bottom, per plan (current, proposed): how the loan ends there.
  std::vector<std::array<std::pair<PayoffKind, DayNumber>, 2>> ends;
  names.reserve(shown + 1);
  ends.reserve(shown + 1);
  if (count > shown) {
    names << texts.moreDebts.arg(count - shown);
    ends.push_back({{{PayoffKind::kNothingOwed, 0}, {PayoffKind::kNothingOwed, 0}}});
  }
  for (int p = shown - 1; p >= 0; --p) {
    const DebtPayoff& row = *rows[p];
    names << ChartName(Q(phrases ? phrases->DebtName(plan, results, row.loan)
                                                      : GetDebtName(plan, results, row.loan)));
    ends.push_back({{{row.currentKind, row.currentDate}, {row.proposedKind, row.proposedDate}}});
  }
  QList<qreal> values[2];
  for (int k = 0; k < 2; ++k) {
    values[k].reserve(static_cast<qsizetype>(ends.size()));
    for (const auto& end : ends) {
      values[k] << (end[k].first == PayoffKind::kPaidOff ? static_cast<qreal>(end[k].second) : 0);
    }
  }
  // The names are drawn beside the bars (SetNames); the hidden category axis only places the
  // rows, so it holds their numbers: a refresh that reorders the debts leaves it as it is,
  // rather than rebuilding the axis and measuring every label again.
  QStringList rowNumbers;
  rowNumbers.reserve(names.size());
  for (qsizetype i = 0; i < names.size(); ++i) rowNumbers << QString::number(i);
  SetCategories(*parts.categoryAxis, rowNumbers);
  parts.SetNames(names);
  SetValues(*parts.sets[0], values[0]);
  SetValues(*parts.sets[1], values[1]);

  // Bars of set k sit in the k-th share of their category's width, from the low end.
  parts.BeginMarks();
  for (int k = 0; k < 2; ++k) {
    for (int c = 0; c < static_cast<int>(ends.size()); ++c) {
      const auto [kind, day] = ends[c][k];
      const double slot = c - kBarWidth / 2 + (k + 0.5) * kBarWidth / 2;
      const QColor& colour = k == 0 ? kCurrentColour : kProposedColour;
      if (kind == PayoffKind::kNeverPaidOff) {
        parts.AddWordMark(texts.never, slot, colour);
      } else if (kind == PayoffKind::kConsolidated) {
        parts.AddWordMark(texts.consolidated, slot, colour);
      } else if (kind == PayoffKind::kPaidOff && day > first) {
        parts.AddMark(DateLabelText(day, texts.dateLabels), day, slot);
      }
    }
  }
  parts.EndMarks();
}

void FillInterestChart(QChart& chart, const PlanResults& results, const ChartTexts& texts,
                       const RegionalSettings& regional) {
  ChartParts& parts = PartsFor(chart, ChartKind::kInterest, 2);
  ApplyTexts(chart, parts, texts);
  const double current = Units(results.CurrentPlan.GetTotalInterest());
  const double proposed = Units(results.ProposedPlan.GetTotalInterest());
  // The category axis is hidden; its one category only has to be there.
  SetCategories(*parts.categoryAxis, {QStringLiteral("Total")});
  SetValues(*parts.sets[0], {current});
  SetValues(*parts.sets[1], {proposed});
  parts.SetMoneyAxis(std::min(current, proposed), std::max(current, proposed), regional);

  parts.BeginMarks();
  parts.AddMark(MoneyText(current, 2, 2, regional), current, -kInterestBarWidth / 4);
  parts.AddMark(MoneyText(proposed, 2, 2, regional), proposed, kInterestBarWidth / 4);
  parts.EndMarks();
}

void FillBalancesChart(QChart& chart, const PlanDocument& plan, const PlanResults& results,
                       const ChartTexts& texts, const RegionalSettings& regional) {
  ChartParts& parts = PartsFor(chart, ChartKind::kBalances, 3);
  ApplyTexts(chart, parts, texts);

  const int months = std::max(results.ProjectionMonths, 0);
  const QStringList years = BalanceGroupLabels(plan.Date, months, texts.dateLabels);
  QList<qreal> current;
  QList<qreal> proposed;
  QList<qreal> investment;
  auto addGroup = [&](int m) {
    current << Units(results.CurrentPlan.GetTotalBeginBalance(m));
    proposed << Units(results.ProposedPlan.GetTotalBeginBalance(m));
    investment << Units(results.ProposedInvestment.GetBeginValue(m));
  };
  for (int m = 0; m < months; m += 12) addGroup(m);
  addGroup(months);

  SetCategories(*parts.categoryAxis, DistinctCategories(years));
  // Group i stands at i on the hidden category axis; the years stand on an axis of their own.
  parts.SetYears(years);
  SetValues(*parts.sets[0], current);
  SetValues(*parts.sets[1], proposed);
  SetValues(*parts.sets[2], investment);
  double lo = 0;
  double hi = 0;
  for (const QList<qreal>* list : {&current, &proposed, &investment}) {
    for (qreal v : *list) {
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
  parts.SetMoneyAxis(lo, hi, regional);
  parts.BeginMarks();
  parts.EndMarks();
}

QStringList BalanceGroupLabels(DayNumber planDate, int projectionMonths, DateLabels form) {
  const int months = std::max(projectionMonths, 0);
  const int planYear = DecodeDate(planDate).year;
  QStringList labels;
  for (int m = 0; m < months; m += 12) labels << QString::number(planYear + m / 12);
  // The closing group stands for the month the later plan ends (its debt-free date), which
  // is `months` calendar months after the plan date's month.
  const DayNumber end = AddMonths(planDate, months);
  const QString year = QString::number(DecodeDate(end).year);
  labels << (labels.contains(year) ? DateLabelText(end, form) : year);
  return labels;
}

QStringList ChartRowNames(const QChart& chart) {
  const ChartParts* parts = FindParts(chart);
  return parts ? parts->Names() : QStringList();
}

QStringList ChartMarkTexts(const QChart& chart) {
  const ChartParts* parts = FindParts(chart);
  return parts ? parts->MarkTexts() : QStringList();
}

}  // namespace ardvane
