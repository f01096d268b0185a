// Charts of hostile plans: endless debt names and thousands of debts still give pictures of a
// bounded size, and a picture that cannot be drawn says why.
#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QChart>
#include <QTemporaryDir>
#include <QTextBoundaryFinder>
#include <string>

#include "figures/plan_figures.h"
#include "tests/test_support.h"
#include "ui/charts/chart_forms.h"
#include "ui/charts/plan_charts.h"

namespace ardvane {
namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

int Graphemes(const QString& text) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  int count = 0;
  while (finder.toNextBoundary() > 0) ++count;
  return count;
}

TEST(ChartNameTest, LongNamesAreCutAfterWholeCharacters) {
  const std::string kEllipsis = "\xE2\x80\xA6";
  const std::string eAcute = "\xC3\xA9";        // é, two bytes
  const std::string eAndMark = "e\xCC\x81";     // e and a combining acute: one character
  const std::string grin = "\xF0\x9F\x98\x80";  // a surrogate pair in UTF-16
  const std::string flag = "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA";  // two regional indicators
  const std::string family =  // four people joined by zero-width joiners: 11 UTF-16 units
      "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7\xE2\x80\x8D"
      "\xF0\x9F\x91\xA6";
  const std::string stem = "\xF0\x9D\x85\xA5";  // a combining mark outside the BMP
  const struct {
    std::string name;
    int keptBytes;  // -1: the name stays whole
  } cases[] = {
      {Repeat("x", 40), -1},
      {Repeat("x", 41), 39},
      {Repeat("x", 100000), 39},
      {Repeat(eAcute, 40), -1},
      {Repeat(eAcute, 41), 39 * 2},
      {Repeat(eAndMark, 40), -1},  // 80 UTF-16 units, but 40 characters
      {Repeat(eAndMark, 100), 39 * 3},
      {Repeat(grin, 40), -1},
      {Repeat(grin, 100), 39 * 4},
      {Repeat(flag, 100), 39 * 8},
      {Repeat(family, 30), 14 * 25},         // 14 of them fill the 159 units left for text
      {"Card " + Repeat(" ", 50) + "x", 4},  // blanks before the cut are dropped
      // One character of endless marks is cut between code points, never inside a pair.
      {"a" + Repeat("\xCC\x81", 100000), 1 + 158 * 2},
      {"a\xCC\x81" + Repeat(stem, 1000), 3 + 78 * 4},
  };
  for (const auto& c : cases) {
    const std::string label =
        c.name.substr(0, 24) + "... (" + std::to_string(c.name.size()) + " bytes)";
    const QString cut = ChartName(QString::fromStdString(c.name));
    const std::string bytes = cut.toStdString();
    // No lone surrogate: it would not survive the way to UTF-8 and back.
    EXPECT_EQ(QString::fromStdString(bytes), cut) << label;
    EXPECT_FALSE(cut.contains(QChar::ReplacementCharacter)) << label;
    EXPECT_LE(Graphemes(cut), kMaxChartNameLength) << label;
    EXPECT_LE(cut.size(), 4 * kMaxChartNameLength) << label;
    if (c.keptBytes < 0) {
      EXPECT_EQ(bytes, c.name) << label;
    } else {
      EXPECT_EQ(bytes, c.name.substr(0, c.keptBytes) + kEllipsis) << label;
    }
  }
}

Debt MakeDebt(std::string name, int balance, int rate) {
  return testing::MakeDebt(std::move(name), balance, rate, 100, 100);
}

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

struct ChartBoundsTest : ::testing::Test {
  QTemporaryDir programFolder;
  QWidget owner;
  ChartForms forms{testing::kPointRegional, programFolder.path().toStdString(), &owner};
  QChart payoff;

  PlanResults Refresh(const PlanDocument& plan) {
    PlanResults results = Calculate(plan, {}, AppSettings{});
    const PlanFigures figures = ComputePlanFigures(plan, results);
    FillPayoffDatesChart(payoff, plan, results, figures.payoffs, WindowPayoffTexts(),
                         testing::kPointRegional);
    PlanParameters params;
    params.PermitLanguage = true;
    forms.Refresh(plan, results, figures, params);
    return results;
  }
};

TEST_F(ChartBoundsTest, AHundredThousandCharacterNameGivesPicturesOfTheUsualSize) {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 6, 15);
  const std::string endless = Repeat("\xC3\x84", 100000);  // Ä
  plan.Debts.AddDebt(MakeDebt(endless, 1000, 12));
  plan.Debts.AddDebt(MakeDebt("Car", 2000, 6));
  Refresh(plan);
  EXPECT_EQ(plan.Debts.NameOf(0), endless);  // the plan keeps the whole name

  const QString shown = ChartName(QString::fromStdString(endless));
  for (QChart* chart : {&payoff, &forms.Form(ChartFormKind::kPayoff).chart(),
                        &forms.Form(ChartFormKind::kPayoffSpanish).chart()}) {
    EXPECT_EQ(Categories(*chart), (QStringList{"Car", shown}));
  }
  for (ChartFormKind kind : {ChartFormKind::kPayoff, ChartFormKind::kBalances}) {
    const StatusOr<QImage> picture = forms.Form(kind).Draw();
    ASSERT_TRUE(picture.ok()) << picture.status().message();
    EXPECT_EQ(picture->size(), QSize(730, 380));
  }
  const StatusOr<QImage> window = DrawChart(payoff, QSize(800, 500), "window chart");
  EXPECT_TRUE(window.ok()) << window.status().message();
}

TEST_F(ChartBoundsTest, ThousandsOfDebtsShowTheFirstInPayoffOrderAndCountTheRest) {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 6, 15);
  for (int i = 0; i < 1500; ++i) {
    plan.Debts.AddDebt(MakeDebt("Debt " + std::to_string(i), 1000 + i, 3 + i % 20));
  }
  const PlanResults results = Refresh(plan);

  // Bottom up: the row for the rest, then the payoff order from its 40th debt to its first.
  const std::vector<DebtPayoff> payoffs = ComputePlanFigures(plan, results).payoffs;
  QStringList expected{"and 1460 more"};
  for (int p = kMostPayoffDebts - 1; p >= 0; --p) {
    expected << QString::fromStdString(GetDebtName(plan, results, payoffs[p].loan));
  }
  EXPECT_EQ(Categories(payoff), expected);
  EXPECT_EQ(Categories(forms.Form(ChartFormKind::kPayoff).chart()), expected);
  EXPECT_EQ(Categories(forms.Form(ChartFormKind::kPayoffSpanish).chart()).front(), "y 1460 más");
  // The row for the rest has no bars and no marks: two marks for each debt shown.
  EXPECT_EQ(ChartMarkTexts(payoff).size(), 2 * kMostPayoffDebts);

  ChartForm& form = forms.Form(ChartFormKind::kPayoff);
  EXPECT_EQ(ChartForm::PayoffHeight(1500), 380 + 40 * (kMostPayoffDebts + 1 - 5));
  EXPECT_EQ(form.height(), ChartForm::PayoffHeight(1500));
  const StatusOr<QImage> picture = form.Draw();
  ASSERT_TRUE(picture.ok()) << picture.status().message();
  EXPECT_EQ(picture->size(), QSize(730, ChartForm::PayoffHeight(1500)));
}

TEST(DrawChartTest, APictureThatCannotBeDrawnSaysWhy) {
  QChart chart;
  std::string error;
  for (const QSize size : {QSize(730, 100000), QSize(0, 380), QSize(100000, 100000)}) {
    const StatusOr<QImage> picture = DrawChart(chart, size, "payoff chart");
    EXPECT_FALSE(picture.ok()) << size.height();
    error = picture.status().message();
    EXPECT_EQ(error.rfind("The payoff chart could not be drawn: ", 0), 0u) << error;
  }
  EXPECT_NE(error.find("100000 by 100000 pixels"), std::string::npos) << error;
  EXPECT_FALSE(DrawChart(chart, QSize(730, 380), "payoff chart").value().isNull());
}

}  // namespace
}  // namespace ardvane
