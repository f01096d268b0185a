#include "ui/charts/plan_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBrush>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QSet>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <array>
#include <vector>

#include "engine/month_names.h"
#include "ui/charts/chart_axes.h"
#include "ui/charts/chart_parts.h"
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
  return Q(GetShortMonthName(date.month, Language::kEnglish)) + ' ' + QString::number(date.year);
}

namespace {

const QColor kWindowLegendCurrent{0, 0, 160};
const QColor kWindowLegendProposed{128, 0, 64};
// Qt Charts keeps categories apart by their text; a repeated debt name gets this many
// zero-width spaces appended so that every loan keeps its own pair of bars.
const QChar kInvisibleSuffix(0x200B);

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
