#include "ui/charts/chart_parts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLinearGradient>
#include <QPen>
#include <algorithm>
#include <array>
#include <cmath>

namespace ardvane {
namespace {

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

}  // namespace

ChartParts::ChartParts(QChart& chart, ChartKind kind)
    : QGraphicsObject(&chart), chart_(chart), kind_(kind) {
  setFlag(ItemHasNoContents);
  setZValue(1000);
  QObject::connect(&chart, &QChart::plotAreaChanged, this, [this] { Place(); });
}

void ChartParts::SetDateAxis(DayNumber first, DayNumber last, DateLabels form) {
  if (first == dateFirst_ && last == dateLast_ && form == dateForm_) return;
  dateFirst_ = first;
  dateLast_ = last;
  dateForm_ = form;
  valueStale_ = true;
}

void ChartParts::SetMoneyAxis(double lo, double hi, const RegionalSettings& regional) {
  if (moneyLo_ == lo && moneyHi_ == hi && regional_ == regional) return;
  moneyLo_ = lo;
  moneyHi_ = hi;
  regional_ = regional;
  valueStale_ = true;
}

void ChartParts::SetYears(const QStringList& years) {
  if (years == years_) return;
  years_ = years;
  yearsStale_ = true;
}

QStringList ChartParts::MarkTexts() const {
  QStringList texts;
  for (size_t i = 0; i < used_; ++i) texts << marks_[i].text->text();
  return texts;
}

void ChartParts::Add(const QString& text, double value, double slot, bool word,
                     const QColor& colour) {
  if (used_ == marks_.size()) {
    BarMark mark;
    mark.box = new QGraphicsRectItem(this);
    mark.box->setPen(QPen(QColor(128, 128, 128), 0));
    mark.box->setBrush(QColor(255, 255, 225));
    mark.text = new QGraphicsSimpleTextItem(mark.box);
    QFont font = mark.text->font();
    font.setPointSizeF(7.5);
    mark.text->setFont(font);
    marks_.push_back(mark);
  }
  BarMark& mark = marks_[used_++];
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

void ChartParts::Place() {
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

void ChartParts::LayOutNames() {
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
    const QString text = metrics.elidedText(fullNames_[static_cast<int>(i)], Qt::ElideRight, room);
    if (names_[i]->text() != text) names_[i]->setText(text);
    widest = std::max(widest, metrics.horizontalAdvance(text));
  }
  nameCount_ = fullNames_.size();
  QMargins margins = chart_.margins();
  margins.setLeft(kLeftMargin + static_cast<int>(std::ceil(widest)) +
                  (nameCount_ > 0 ? kNameGap : 0));
  if (chart_.margins() != margins) chart_.setMargins(margins);
}

double ChartParts::LegendWidth() const {
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

void ChartParts::FitAxes() {
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

void ChartParts::PlaceNames() {
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

void ChartParts::PlaceMarks() {
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
    BarMark& mark = marks_[i];
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

ChartParts* FindParts(const QChart& chart) {
  for (QGraphicsItem* item : chart.childItems()) {
    if (item->type() == ChartParts::kType) return static_cast<ChartParts*>(item);
  }
  return nullptr;
}

ChartParts& PartsFor(QChart& chart, ChartKind kind, int setCount) {
  ChartParts* parts = FindParts(chart);
  if (parts && parts->kind() == kind && static_cast<int>(parts->sets.size()) == setCount &&
      chart.series().size() == 1 && chart.series().front() == parts->series) {
    return *parts;
  }
  return SetUp(chart, kind, setCount);
}

}  // namespace ardvane
