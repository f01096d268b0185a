#include "ui/charts/plan_charts.h"

#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QTemporaryDir>
#include <QValueAxis>
#include <algorithm>

#include "figures/plan_figures.h"
#include "tests/test_support.h"
#include "ui/charts/chart_forms.h"

namespace ardvane {
namespace {

// Debts here pay their minimum.
Debt MakeDebt(std::string name, double balance, double rate, double payment) {
  return testing::MakeDebt(std::move(name), balance, rate, payment, payment);
}

PlanDocument PlanOf(int debts) {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 6, 15);
  for (int i = 0; i < debts; ++i) {
    plan.Debts.AddDebt(MakeDebt("Debt " + std::to_string(i), 1000 + 100 * i, 6 + i, 100));
  }
  return plan;
}

PlanResults CalculatePlan(const PlanDocument& plan, const PlanParameters& params = {}) {
  return Calculate(plan, params, AppSettings{});
}

QAbstractBarSeries& Series(const QChart& chart) {
  return *static_cast<QAbstractBarSeries*>(chart.series().front());
}
// Category texts without the invisible characters that keep repeated names apart.
QStringList Categories(const QChart& chart) {
  // The payoff chart draws its names beside the bars; its category axis only numbers the rows.
  if (const QStringList names = ChartRowNames(chart); !names.isEmpty()) return names;
  for (QAbstractAxis* axis : chart.axes()) {
    if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis)) {
      QStringList texts = categories->categories();
      for (QString& text : texts) text.remove(QChar(0x200B));
      return texts;
    }
  }
  return {};
}
double U(Money amount) { return static_cast<double>(amount.Units()); }

QValueAxis& ValueAxis(const QChart& chart) {
  for (QAbstractAxis* axis : chart.axes()) {
    if (auto* values = qobject_cast<QValueAxis*>(axis)) return *values;
  }
  throw std::runtime_error("no value axis");
}

// A plan whose debts are named as advisers name them, creditor and all; its mortgage runs for
// nineteen years.
PlanDocument RealisticPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 12, 7);
  const struct {
    const char* name;
    const char* balance;
    const char* rate;
    const char* payment;
    const char* minimum;
    const char* minimumRate;
  } debts[] = {
      {"Mortgage - Home Savings", "185000", "6.25", "1390", "1390", "0"},
      {"Car loan - Lakeside Auto Credit", "14250", "6.9", "385", "385", "0"},
      {"Visa - First National Bank", "8420.55", "21.99", "220", "35", "2.5"},
      {"Store card - Hometown Furniture", "2310.4", "26.99", "90", "25", "3"},
      {"Student loan", "21800", "5.05", "260", "260", "0"},
      {"Medical bill", "1600", "0", "75", "50", "0"},
  };
  for (const auto& d : debts) {
    Debt debt = testing::MakeDebt(d.name, std::stod(d.balance), std::stod(d.rate),
                                  std::stod(d.payment), std::stod(d.minimum));
    debt.MinimumPaymentPercent = Percent(std::stod(d.minimumRate));
    plan.Debts.AddDebt(debt);
  }
  return plan;
}

// The chart laid out at `size`, as a view of that size lays it out (again after the axes have
// chosen their labels for it).
void LayOut(QChart& chart, QSize size) {
  chart.setGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
  for (int pass = 0; pass < 4; ++pass) chart.layout()->activate();
}

// The texts the chart draws: title, axis labels, legend entries.
void CollectDrawnTexts(const QGraphicsItem& item, QStringList& texts) {
  for (const QGraphicsItem* child : item.childItems()) {
    if (!child->isVisible()) continue;
    if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(child)) {
      texts << text->toPlainText();
    }
    CollectDrawnTexts(*child, texts);
  }
}

// Every axis label of a laid-out chart is drawn whole, and no drawn text is cut short. The
// chart gives a label the axis length shared out among the labels and one more, less 4 pixels
// of padding on either side; a longer label is cut to "...".
void ExpectWholeLabels(const QChart& chart, const std::string& where) {
  QStringList drawn;
  CollectDrawnTexts(chart, drawn);
  for (const QString& text : drawn) {
    EXPECT_FALSE(text.contains("...") || text.contains(QChar(0x2026)))
        << where << ": " << text.toStdString();
  }
  const QRectF plot = chart.plotArea();
  for (QAbstractAxis* axis : chart.axes()) {
    auto* labelled = qobject_cast<QCategoryAxis*>(axis);
    if (!labelled || !labelled->isVisible()) continue;
    const bool across = labelled->orientation() == Qt::Horizontal;
    const QStringList labels = labelled->categoriesLabels();
    const QFontMetricsF metrics(labelled->labelsFont());
    double widest = 0;
    for (const QString& label : labels) {
      widest = std::max(widest, across ? metrics.horizontalAdvance(label) : metrics.height());
      EXPECT_TRUE(drawn.contains(label)) << where << ": " << label.toStdString();
    }
    EXPECT_LE((labels.size() + 1) * (widest + 8), across ? plot.width() : plot.height())
        << where << ": " << labels.join(' ').toStdString();
  }
}

QCategoryAxis& DateAxis(const QChart& chart) {
  for (QAbstractAxis* axis : chart.axes()) {
    if (auto* dates = qobject_cast<QCategoryAxis*>(axis)) return *dates;
  }
  throw std::runtime_error("no date axis");
}

struct ChartsTest : ::testing::Test {
  QTemporaryDir programFolder;  // Language.kdf for the Spanish forms, when a test writes one
  QWidget owner;
  ChartForms forms{testing::kPointRegional, programFolder.path().toStdString(), &owner};
  QChart payoff;
  QChart interest;
  QChart balances;

  void Refresh(const PlanDocument& plan, const PlanResults& results, bool language = true) {
    PlanParameters params;
    params.PermitLanguage = language;
    const PlanFigures figures = ComputePlanFigures(plan, results);
    FillPayoffDatesChart(payoff, plan, results, figures.payoffs, WindowPayoffTexts(),
                         testing::kPointRegional);
    FillInterestChart(interest, results, WindowInterestTexts(), testing::kPointRegional);
    FillBalancesChart(balances, plan, results, WindowBalancesTexts(), testing::kPointRegional);
    forms.Refresh(plan, results, figures, params);
  }
  QChart& FormChart(ChartFormKind kind) { return forms.Form(kind).chart(); }
};

TEST_F(ChartsTest, NoDebtsLeaveThePayoffChartEmptyAndOneClosingBalanceGroup) {
  const PlanDocument plan = PlanOf(0);
  const PlanResults results = CalculatePlan(plan);
  Refresh(plan, results);
  EXPECT_TRUE(Categories(payoff).isEmpty());
  EXPECT_EQ(Series(payoff).barSets()[0]->count(), 0);
  EXPECT_TRUE(ChartMarkTexts(payoff).isEmpty());
  for (QChart* chart : {&balances, &FormChart(ChartFormKind::kBalances),
                        &FormChart(ChartFormKind::kBalancesSpanish)}) {
    EXPECT_EQ(Categories(*chart), QStringList{"2024"});  // month 0: the plan's own year
    EXPECT_EQ(Series(*chart).barSets()[0]->at(0), 0);
  }
  EXPECT_EQ(ChartMarkTexts(interest), (QStringList{"$0.00", "$0.00"}));
  EXPECT_EQ(forms.Form(ChartFormKind::kPayoff).height(), 380);
}

TEST_F(ChartsTest, BalanceGroupsPerPlanYearAndTheClosingGroupAtTheHorizonsYear) {
  const PlanDocument plan = PlanOf(2);  // dated June 2024
  PlanResults results = CalculatePlan(plan);
  const struct {
    int months;
    QStringList years;
    QString spanishLast;  // the Spanish forms write a month as numbers
  } cases[] = {
      {24, {"2024", "2025", "2026"}, "2026"},
      // Month 30 is December 2026, the year of the group before it: its month tells them apart.
      {30, {"2024", "2025", "2026", "Dec 2026"}, "12/2026"},
      // A horizon of June 2031 closes with 2031, not a year later.
      {84, {"2024", "2025", "2026", "2027", "2028", "2029", "2030", "2031"}, "2031"},
  };
  for (const auto& c : cases) {
    results.ProjectionMonths = c.months;
    CalculateProposedAsset(results, plan);
    Refresh(plan, results);
    QStringList spanish = c.years;
    spanish.back() = c.spanishLast;
    for (QChart* chart : {&balances, &FormChart(ChartFormKind::kBalances),
                          &FormChart(ChartFormKind::kBalancesSpanish)}) {
      EXPECT_EQ(Categories(*chart),
                chart == &FormChart(ChartFormKind::kBalancesSpanish) ? spanish : c.years)
          << c.months;
      // The closing group shows the month of the horizon itself.
      const QList<QBarSet*> sets = Series(*chart).barSets();
      const int last = static_cast<int>(c.years.size()) - 1;
      EXPECT_EQ(sets[0]->at(last), U(results.CurrentPlan.GetTotalBeginBalance(c.months)));
      EXPECT_EQ(sets[2]->at(last), U(results.ProposedInvestment.GetBeginValue(c.months)));
      EXPECT_EQ(sets[1]->at(1), U(results.ProposedPlan.GetTotalBeginBalance(12)));
    }
  }
  // Where only every second or third year fits, they are counted back from the horizon's.
  for (int width : {240, 300, 400}) {
    LayOut(balances, QSize(width, 300));
    QStringList shown;
    for (QAbstractAxis* axis : balances.axes(Qt::Horizontal)) {
      if (auto* years = qobject_cast<QCategoryAxis*>(axis)) shown = years->categoriesLabels();
    }
    EXPECT_LT(shown.size(), 8) << width;
    ASSERT_FALSE(shown.isEmpty()) << width;
    EXPECT_EQ(shown.back(), "2031") << width;
  }
  // The plan of December 2024 whose later plan ends in December 2031.
  EXPECT_EQ(BalanceGroupLabels(EncodeDate(2024, 12, 7), 84, DateLabels::kMonthName).mid(6),
            (QStringList{"2030", "2031"}));
  EXPECT_EQ(BalanceGroupLabels(EncodeDate(2024, 1, 31), 11, DateLabels::kMonthName),
            (QStringList{"2024", "Dec 2024"}));
}

TEST_F(ChartsTest, SpanishFormsSpeakSpanish) {
  const PlanDocument plan = PlanOf(2);
  Refresh(plan, CalculatePlan(plan));
  const QChart& payoffForm = FormChart(ChartFormKind::kPayoffSpanish);
  const QChart& balancesForm = FormChart(ChartFormKind::kBalancesSpanish);
  EXPECT_EQ(payoffForm.title(), "Calendario de pago de deudas");
  EXPECT_EQ(balancesForm.title(), "Saldos de deudas e inversión");
  QStringList legend;
  for (const QBarSet* set : Series(balancesForm).barSets()) legend << set->label();
  EXPECT_EQ(legend, (QStringList{"Deudas actuales", "Deudas propuestas", "Inversión"}));
  EXPECT_EQ(Series(balances).barSets()[2]->label(), "Investment");
}

// The boxed marks a laid-out chart draws: each text with its box in the chart's coordinates.
std::vector<std::pair<QString, QRectF>> DrawnMarks(const QGraphicsItem& item) {
  std::vector<std::pair<QString, QRectF>> marks;
  for (const QGraphicsItem* child : item.childItems()) {
    if (!child->isVisible()) continue;
    const auto* box = dynamic_cast<const QGraphicsRectItem*>(child);
    const auto* text = box && !box->childItems().isEmpty()
                           ? dynamic_cast<const QGraphicsSimpleTextItem*>(box->childItems().front())
                           : nullptr;
    if (text) marks.emplace_back(text->text(), box->mapRectToScene(box->rect()));
    for (auto& mark : DrawnMarks(*child)) marks.push_back(std::move(mark));
  }
  return marks;
}

TEST_F(ChartsTest, PayoffRowsFollowThePayoffTableAndSayNeverAndConsolidated) {
  PlanParameters params;
  params.PermitConsolidate = true;
  PlanDocument plan = PlanOf(2);
  // Today's $15 never covers the card's interest; the plan's rollover pays it off.
  plan.Debts.AddDebt(MakeDebt("Store card", 1000, 24, 15));
  plan.Debts.AddDebt(MakeDebt("Debt 1", 500, 3, 50));  // same name
  // $1,000 of interest a month, more than any rollover: neither plan ever pays it off.
  plan.Debts.AddDebt(MakeDebt("Hopeless", 100000, 12, 100));
  plan.Debts.AddDebt(testing::Consolidated(MakeDebt("Visa", 2000, 18, 100)));
  plan.Consolidate = true;
  plan.ConsolidationLoan.Term = 2;
  const PlanResults results = CalculatePlan(plan, params);
  const PlanFigures figures = ComputePlanFigures(plan, results);
  ASSERT_TRUE(DebtNeverPaysOff(results, 2));
  ASSERT_TRUE(figures.proposed.neverPaidOff == std::vector<int>{4});
  Refresh(plan, results);

  // Top down, the rows are the payoff table's: the consolidated Visa first, the debt never
  // paid off and the current plan's empty new-loan slot last.
  QStringList table;
  for (const DebtPayoff& row : figures.payoffs) {
    table.prepend(QString::fromStdString(GetDebtName(plan, results, row.loan)));
  }
  for (QChart* chart : {&payoff, &FormChart(ChartFormKind::kPayoff)}) {
    ASSERT_EQ(Categories(*chart), table);  // both "Debt 1" rows keep their own bars
  }
  EXPECT_EQ(table.back(), "Visa");
  EXPECT_EQ(table.front(), "Hopeless");

  // A bar for each payoff month; a word at the start of the row for the rest.
  const QList<QBarSet*> sets = Series(payoff).barSets();
  const QValueAxis& dates = ValueAxis(payoff);
  EXPECT_EQ(dates.min(), plan.Date);
  EXPECT_EQ(dates.max(), std::max(results.CurrentPlan.GetDebtFreeDate(),
                                  results.ProposedPlan.GetDebtFreeDate()));
  const int storeCard = static_cast<int>(table.indexOf("Store card"));
  EXPECT_EQ(sets[0]->at(storeCard), 0);
  EXPECT_EQ(sets[1]->at(storeCard), results.ProposedPlan.GetLoan(2)->PayoffDate());
  EXPECT_EQ(sets[1]->at(table.indexOf("Visa")), 0);
  const QStringList marks = ChartMarkTexts(payoff);
  EXPECT_EQ(marks.count("Never"), 3);  // the store card today, the hopeless debt in both
  EXPECT_EQ(marks.count("Consolidated"), 1);
  EXPECT_TRUE(marks.contains(
      DateLabelText(results.CurrentPlan.GetLoan(0)->PayoffDate(), DateLabels::kMonthName)));
  const QStringList spanish = ChartMarkTexts(FormChart(ChartFormKind::kPayoffSpanish));
  EXPECT_EQ(spanish.count("Nunca"), 3);
  EXPECT_EQ(spanish.count("Consolidada"), 1);
  EXPECT_TRUE(spanish.contains(
      DateLabelText(results.CurrentPlan.GetLoan(0)->PayoffDate(), DateLabels::kMonthNumber)));

  // Drawn where the bar would begin, in the row and half of the plan it stands for.
  LayOut(payoff, QSize(900, 600));
  const QRectF plot = payoff.plotArea();
  const double row = plot.height() / static_cast<double>(table.size());
  QStringList words;  // "row name/plan: word"
  for (const auto& [text, box] : DrawnMarks(payoff)) {
    if (text != "Never" && text != "Consolidated") continue;
    EXPECT_NEAR(box.left(), plot.left(), 4) << text.toStdString();
    const double rows = (plot.bottom() - box.center().y()) / row;  // from the bottom
    const auto category = static_cast<qsizetype>(rows);
    ASSERT_LT(category, table.size());
    // Current bars lie in the lower half of a row, proposed ones in the upper.
    words << table[category] + (rows - category > 0.5 ? "/proposed: " : "/current: ") + text;
  }
  words.sort();
  EXPECT_EQ(words, (QStringList{"Hopeless/current: Never", "Hopeless/proposed: Never",
                                "Store card/current: Never", "Visa/proposed: Consolidated"}));
}

TEST_F(ChartsTest, AxisLabelsStayWholeAtEveryChartSize) {
  // Window charts from the smallest screen to the largest; the report's forms at their sizes.
  const QSize windowSizes[] = {{300, 200},  {380, 300},   {480, 260}, {640, 480},
                               {1000, 700}, {1900, 1000}, {1900, 200}};
  PlanDocument shortPlan = PlanOf(2);  // paid off within a year: month by month
  for (const PlanDocument& plan : {RealisticPlan(), shortPlan}) {
    const PlanResults results = CalculatePlan(plan);
    Refresh(plan, results);
    for (QSize size : windowSizes) {
      const std::string where = std::to_string(size.width()) + "x" + std::to_string(size.height());
      for (QChart* chart : {&payoff, &interest, &balances}) {
        LayOut(*chart, size);
        ExpectWholeLabels(*chart, where + " " + chart->title().toStdString());
      }
      // The plan date's month can be too near the start for its label.
      EXPECT_GE(DateAxis(payoff).count(), size.width() < 380 ? 1 : 2) << where;
    }
    for (ChartFormKind kind : {ChartFormKind::kPayoff, ChartFormKind::kPayoffSpanish,
                               ChartFormKind::kBalances, ChartFormKind::kBalancesSpanish}) {
      const StatusOr<QImage> picture = forms.Form(kind).Draw();
      ASSERT_TRUE(picture.ok()) << picture.status().message();
      std::string where = "form ";
      where += std::to_string(static_cast<int>(kind));
      ExpectWholeLabels(FormChart(kind), where);
    }
    EXPECT_GE(DateAxis(FormChart(ChartFormKind::kPayoff)).count(), 3);
  }
  // Where the months written out fit, they are kept: "Jan 2030", not "2030".
  EXPECT_TRUE(DateAxis(FormChart(ChartFormKind::kPayoff)).categoriesLabels().front().contains(' '));
}

TEST_F(ChartsTest, MoneyAxesRunBelowZeroOnlyAsFarAsAValueDoes) {
  PlanParameters params;
  params.PermitConsolidate = true;
  PlanDocument plan = RealisticPlan();
  plan.Consolidate = true;
  plan.ConsolidationLoan.Term = 5;
  plan.ConsolidationLoan.InterestRate = Percent(0.075);
  const auto lowest = [](const QChart& chart) {
    double low = 0;
    for (const QBarSet* set : Series(chart).barSets()) {
      for (int i = 0; i < set->count(); ++i) low = std::min(low, set->at(i));
    }
    return low;
  };
  // No fee: every balance and value is 0 or more. A large fee financed: in the first years
  // the investment is a few hundred dollars below 0, with balances of $200,000 above.
  for (int fee : {0, 5000}) {
    plan.SetupFee = Money::FromUnits(fee);
    const PlanResults results = CalculatePlan(plan, params);
    Refresh(plan, results);
    for (QChart* chart : {&balances, &interest, &FormChart(ChartFormKind::kBalances)}) {
      const std::string where = std::to_string(fee) + " " + chart->title().toStdString();
      LayOut(*chart, QSize(520, 400));
      const double low = lowest(*chart);
      const double min = ValueAxis(*chart).min();
      if (low == 0) {
        EXPECT_EQ(min, 0) << where;
      } else {
        EXPECT_LE(min, low) << where;
        EXPECT_GE(min, 2 * low) << where;  // not a whole step of $50,000 below 0
      }
    }
    if (fee > 0) {
      EXPECT_LT(lowest(balances), -100) << "the plan no longer goes below 0";
    }
  }
}

TEST(ChartTextTest, DatesAndMoneyMarks) {
  EXPECT_EQ(DateLabelText(EncodeDate(2024, 6, 30), DateLabels::kMonthName), "Jun 2024");
  EXPECT_EQ(DateLabelText(EncodeDate(2024, 6, 30), DateLabels::kMonthNumber), "06/2024");
  EXPECT_EQ(DateLabelText(0, DateLabels::kMonthName), "Dec 1899");

  PlanResults results;
  results.CurrentPlan.AddLoan(Money::FromUnits(5000), 0.18, 0, Money(), Money::FromUnits(100));
  results.CurrentPlan.ComputeTotalPayment();
  results.CurrentPlan.Run();
  QChart chart;
  FillInterestChart(chart, results, WindowInterestTexts(), testing::kCommaRegional);
  // 18 % on 5,000 paid at 100 a month: over a thousand in interest, shown to the cent.
  const QString mark = ChartMarkTexts(chart).front();
  EXPECT_TRUE(mark.endsWith(" €") && mark.contains('.') && mark.contains(','))
      << mark.toStdString();
  EXPECT_EQ(ChartMarkTexts(chart).back(), "0,00 €");
  EXPECT_EQ(Series(chart).barSets()[0]->at(0), U(results.CurrentPlan.GetTotalInterest()));
}

TEST_F(ChartsTest, NewLoanOrConsolidationLoanByTheConsolidatedBalance) {
  PlanParameters params;
  params.PermitConsolidate = true;
  params.PermitCashOut = true;
  for (bool consolidateA : {true, false}) {
    PlanDocument plan = PlanOf(0);
    Debt a = MakeDebt("A", 1000, 12, 100);
    a.Consolidate = consolidateA;
    plan.Debts.AddDebt(a);
    plan.Debts.AddDebt(MakeDebt("B", 2000, 6, 100));
    plan.Consolidate = true;
    plan.ConsolidationLoan.Term = 2;
    plan.ConsolidationLoan.CashOut = Money::FromUnits(300);
    const PlanResults results = CalculatePlan(plan, params);
    ASSERT_EQ(results.PayoffBalance > Money(), consolidateA);
    Refresh(plan, results);
    const QString name = consolidateA ? "Consolidation loan" : "New loan";
    const QString other = consolidateA ? "New loan" : "Consolidation loan";
    for (QChart* chart : {&payoff, &FormChart(ChartFormKind::kPayoff)}) {
      EXPECT_TRUE(Categories(*chart).contains(name)) << name.toStdString();
      EXPECT_FALSE(Categories(*chart).contains(other)) << name.toStdString();
    }
  }
}

TEST_F(ChartsTest, TheSpanishPayoffFormNamesTheDebtsAsTheSpanishReport) {
  QFile phrases(programFolder.filePath("Language.kdf"));
  ASSERT_TRUE(phrases.open(QIODevice::WriteOnly));
  phrases.write(
      "English;Spanish\r\nStore card;Tarjeta de tienda\r\n"
      "Consolidation loan;Pr\xC3\xA9stamo de consolidaci\xC3\xB3n\r\nNA;N/D\r\n");
  phrases.close();
  PlanParameters params;
  params.PermitConsolidate = true;
  PlanDocument plan = PlanOf(0);
  Debt visa = MakeDebt("Visa", 1000, 18, 100);
  visa.Consolidate = true;
  plan.Debts.AddDebt(visa);
  plan.Debts.AddDebt(MakeDebt("Store card", 2000, 24, 100));
  plan.Debts.AddDebt(MakeDebt("A", 500, 6, 50));  // ends "NA;"
  plan.Consolidate = true;
  plan.ConsolidationLoan.Term = 2;
  const PlanResults results = CalculatePlan(plan, params);
  ASSERT_GT(results.PayoffBalance, Money());
  Refresh(plan, results);

  const auto sorted = [](QStringList names) {
    names.sort();
    return names;
  };
  EXPECT_EQ(sorted(Categories(FormChart(ChartFormKind::kPayoffSpanish))),
            (QStringList{"A", "Préstamo de consolidación", "Tarjeta de tienda", "Visa"}));
  for (QChart* chart : {&payoff, &FormChart(ChartFormKind::kPayoff)}) {
    EXPECT_EQ(sorted(Categories(*chart)),
              (QStringList{"A", "Consolidation loan", "Store card", "Visa"}));
  }
}

TEST_F(ChartsTest, PayoffFormGrowsBeyondFiveLoansAndDrawsAPictureOfItsSize) {
  Refresh(PlanOf(3), CalculatePlan(PlanOf(3)));
  EXPECT_EQ(forms.Form(ChartFormKind::kPayoff).size(), QSize(730, 380));
  Refresh(PlanOf(7), CalculatePlan(PlanOf(7)));
  EXPECT_EQ(forms.Form(ChartFormKind::kPayoff).size(), QSize(730, 460));
  EXPECT_EQ(forms.Form(ChartFormKind::kPayoffSpanish).size(), QSize(730, 460));
  EXPECT_EQ(forms.Form(ChartFormKind::kBalances).size(), QSize(730, 380));

  const StatusOr<QImage> picture = forms.Form(ChartFormKind::kPayoff).Draw();
  ASSERT_TRUE(picture.ok()) << picture.status().message();
  EXPECT_EQ(picture->size(), QSize(730, 460));
  EXPECT_EQ(picture->pixelColor(1, 1), QColor(Qt::white));
}

TEST_F(ChartsTest, RefreshesRefillWithoutGrowingAndTheSpanishPairWaitsForThePermission) {
  const PlanDocument plan = PlanOf(12);
  const PlanResults results = CalculatePlan(plan);
  Refresh(plan, results, false);
  EXPECT_TRUE(FormChart(ChartFormKind::kPayoffSpanish).series().isEmpty());
  const auto itemCount = [](const QChart& chart) {
    int count = 0;
    for (const QGraphicsItem* item : chart.childItems()) count += 1 + item->childItems().size();
    return count;
  };
  const int payoffItems = itemCount(payoff);
  const int formItems = itemCount(FormChart(ChartFormKind::kPayoff));
  for (int i = 0; i < 200; ++i) Refresh(plan, results, false);
  EXPECT_EQ(itemCount(payoff), payoffItems);
  EXPECT_EQ(itemCount(FormChart(ChartFormKind::kPayoff)), formItems);
  EXPECT_EQ(payoff.series().size(), 1);
  EXPECT_EQ(payoff.axes().size(), 2);
  EXPECT_EQ(Categories(payoff).size(), 12);
  EXPECT_EQ(Series(balances).barSets()[0]->count(), Categories(balances).size());

  // A smaller plan after a larger one leaves no stale bars or marks.
  const PlanDocument small = PlanOf(1);
  Refresh(small, CalculatePlan(small), false);
  EXPECT_EQ(Series(payoff).barSets()[1]->count(), 1);
  EXPECT_EQ(ChartMarkTexts(payoff).size(), 2);
}

}  // namespace
}  // namespace ardvane
