#pragma once

#include <QGraphicsObject>
#include <QStringList>
#include <optional>
#include <vector>

#include "engine/calendar.h"
#include "engine/regional_settings.h"
#include "ui/charts/chart_axes.h"
#include "ui/charts/plan_charts.h"

class QAbstractBarSeries;
class QBarCategoryAxis;
class QBarSet;
class QCategoryAxis;
class QChart;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;

namespace ardvane {

enum class ChartKind { kPayoff, kInterest, kBalances };

// Share of a category's width taken by its bars; the interest chart's two bars are one
// category.
constexpr double kBarWidth = 0.8;
constexpr double kInterestBarWidth = 0.5;

// One mark: a small boxed text at the end of a bar. `value` is the bar's end on the value
// axis, `slot` the bar's centre on the category axis. A word mark stands for a bar that is
// not there: it sits at the start of the value axis, in italics and in its plan's colour.
struct BarMark {
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

  ChartParts(QChart& chart, ChartKind kind);

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
  void SetDateAxis(DayNumber first, DayNumber last, DateLabels form);
  // The money axis covers 0 and the values from `lo` to `hi`.
  void SetMoneyAxis(double lo, double hi, const RegionalSettings& regional);
  // The balances chart's years, one per group.
  void SetYears(const QStringList& years);

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
  QStringList MarkTexts() const;

 private:
  static constexpr int kLeftMargin = 6;
  static constexpr int kNameGap = 8;
  static constexpr double kMaxNameWidth = 180;
  static constexpr double kMostNameShare = 0.35;

  void Add(const QString& text, double value, double slot, bool word, const QColor& colour);
  // Lays out the names, chooses the axes' labels and places the marks for the plot area as
  // it is now.
  void Place();
  // The names, each cut to the width left for them: up to kMaxNameWidth, but no more than a
  // share of a narrow chart, so the bars, the dates and the legend keep their room.
  void LayOutNames();

  // About the width the legend's entries take side by side: each its text, a swatch and gaps.
  double LegendWidth() const;

  // Labels for the axes as they are now laid out (before the first layout, as many as an
  // axis ever gets).
  void FitAxes();
  void PlaceNames();
  void PlaceMarks();

  QChart& chart_;
  ChartKind kind_;
  std::vector<BarMark> marks_;
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

// The parts the first fill of `chart` set up; null before that.
ChartParts* FindParts(const QChart& chart);
// The parts of `chart` for a chart of `kind` with `setCount` bar sets: those of an earlier fill
// when they are of that kind, else new ones, after the chart has been cleared.
ChartParts& PartsFor(QChart& chart, ChartKind kind, int setCount);

}  // namespace ardvane
