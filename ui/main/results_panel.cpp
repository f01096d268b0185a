#include "ui/main/results_panel.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtCharts/QChartView>

#include "figures/display_formats.h"
#include "ui/charts/plan_charts.h"
#include "ui/main/strategies_page.h"
#include "ui/widgets/qt_text.h"
#include "ui/widgets/scrolling.h"

namespace ardvane {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kPurple(128, 0, 128);

QLabel* Head(QWidget* parent, const char* text, const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QChartView* ChartView(QWidget* parent, const char* name) {
  auto* view = new QChartView(parent);
  view->setObjectName(name);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumHeight(200);
  view->setFocusPolicy(Qt::NoFocus);
  return view;
}

}  // namespace

ResultsPanel::ResultsPanel(const RegionalSettings& regional, DesignPixels px, QWidget* parent)
    : QWidget(parent), regional_(regional), px_(px) {
  setObjectName("pnlRight");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 4, 4, 4);
  pages = new QTabWidget(this);
  pages->setObjectName("PageControl1");
  pages->setDocumentMode(true);
  // Whole captions; where the half is too narrow for every tab, the bar scrolls.
  pages->tabBar()->setElideMode(Qt::ElideNone);
  pages->setUsesScrollButtons(true);
  layout->addWidget(pages, 1);
  BuildPayoffPage();
  BuildInterestPage();
  BuildBalancesPage();
  BuildNewLoanPage();
  // Strategies: computed only while in view.
  strategiesPage = new StrategiesPage(regional_, pages);
  pages->addTab(strategiesPage, "Strategies");

  auto* detailsStrip = new QHBoxLayout;
  detailsStrip->addStretch(1);
  bitbtnDetails = new QPushButton("Detail&s", this);
  bitbtnDetails->setObjectName("bitbtnDetails");
  bitbtnDetails->setToolTip("View the monthly tables for this plan");
  detailsStrip->addWidget(bitbtnDetails);
  layout->addLayout(detailsStrip);
}

QWidget* ResultsPanel::AddPage(QWidget* page, const char* title) {
  // A page scrolls on its own, below a tab bar that stays in view, where the half is smaller
  // than the page needs.
  QScrollArea* area = Scrolling(page, pages);
  pages->addTab(area, title);
  return area;
}

QLabel* ResultsPanel::Note(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  label->hide();
  return label;
}

QLabel* ResultsPanel::Figure(QWidget* parent, const char* name, const QColor* colour) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, *colour);
    label->setPalette(palette);
  }
  return label;
}

void ResultsPanel::BuildPayoffPage() {
  auto* page = new QWidget(pages);
  page->setObjectName("tsPayoffSchedule");
  auto* pageLayout = new QVBoxLayout(page);
  auto* grid = new QGridLayout;
  grid->addWidget(Head(page, "Current", kNavy), 0, 1);
  grid->addWidget(Head(page, "Proposed", kPurple), 0, 2);
  lblPayoffMonthsCurrent = Figure(page, "lblPayoffMonthsCurrent", &kNavy);
  lblPayoffMonthsProposed = Figure(page, "lblPayoffMonthsProposed", &kPurple);
  lblPayoffYearsCurrent = Figure(page, "lblPayoffYearsCurrent", &kNavy);
  lblPayoffYearsProposed = Figure(page, "lblPayoffYearsProposed", &kPurple);
  lblPayoffDateCurrent = Figure(page, "lblPayoffDateCurrent", &kNavy);
  lblPayoffDateProposed = Figure(page, "lblPayoffDateProposed", &kPurple);
  grid->addWidget(new QLabel("Months until debt free", page), 1, 0);
  grid->addWidget(lblPayoffMonthsCurrent, 1, 1);
  grid->addWidget(lblPayoffMonthsProposed, 1, 2);
  grid->addWidget(new QLabel("Years until debt free", page), 2, 0);
  grid->addWidget(lblPayoffYearsCurrent, 2, 1);
  grid->addWidget(lblPayoffYearsProposed, 2, 2);
  grid->addWidget(new QLabel("Debt free date", page), 3, 0);
  grid->addWidget(lblPayoffDateCurrent, 3, 1);
  grid->addWidget(lblPayoffDateProposed, 3, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnMinimumWidth(1, px_(90));
  grid->setColumnMinimumWidth(2, px_(90));
  pageLayout->addLayout(grid);
  lblPayoffNote = Note(page, "lblPayoffNote");
  pageLayout->addWidget(lblPayoffNote);
  graphPayoffDates = ChartView(page, "graphPayoffDates");
  pageLayout->addWidget(graphPayoffDates, 1);
  AddPage(page, "Payoff Schedule");
}

void ResultsPanel::BuildInterestPage() {
  auto* page = new QWidget(pages);
  page->setObjectName("tsInterestPaid");
  auto* pageLayout = new QVBoxLayout(page);
  auto* grid = new QGridLayout;
  lblInterestCurrent = Figure(page, "lblInterestCurrent", &kNavy);
  lblInterestProposed = Figure(page, "lblInterestProposed", &kPurple);
  lblInterestDifference = Figure(page, "lblInterestDifference", nullptr);
  lblReturnOnInvestment = Figure(page, "lblReturnOnInvestment", nullptr);
  grid->addWidget(Head(page, "Current", kNavy), 0, 1);
  grid->addWidget(Head(page, "Proposed", kPurple), 0, 2);
  grid->addWidget(new QLabel("Total interest paid", page), 1, 0);
  grid->addWidget(lblInterestCurrent, 1, 1);
  grid->addWidget(lblInterestProposed, 1, 2);
  lblInterestSavedCaption = new QLabel("Interest saved", page);
  lblInterestSavedCaption->setObjectName("lblInterestSavedCaption");
  grid->addWidget(lblInterestSavedCaption, 2, 0);
  grid->addWidget(lblInterestDifference, 2, 2);
  grid->addWidget(new QLabel("Return on investment", page), 3, 0);
  grid->addWidget(lblReturnOnInvestment, 3, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnMinimumWidth(1, px_(100));
  grid->setColumnMinimumWidth(2, px_(100));
  pageLayout->addLayout(grid);
  // What the figures cannot say alone: debts never paid off and what would pay them off, a
  // saving that is none or a cost, a lowered fee.
  lblNeverPaidOffNote = Note(page, "lblNeverPaidOffNote");
  pageLayout->addWidget(lblNeverPaidOffNote);
  chart1 = ChartView(page, "Chart1");
  pageLayout->addWidget(chart1, 1);
  AddPage(page, "Interest Paid");
}

void ResultsPanel::BuildBalancesPage() {
  auto* page = new QWidget(pages);
  page->setObjectName("tsProjectedBalances");
  auto* pageLayout = new QVBoxLayout(page);
  auto* grid = new QGridLayout;
  lblEarlyYear = Figure(page, "lblEarlyYear", nullptr);
  lblEarlyYear->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lblLateYear = Figure(page, "lblLateYear", nullptr);
  lblLateYear->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lblDebtBalanceCurrent = Figure(page, "lblDebtBalanceCurrent", &kNavy);
  lblDebtBalanceProposed = Figure(page, "lblDebtBalanceProposed", &kPurple);
  lblInvestmentValueCurrent = Figure(page, "lblInvestmentValueCurrent", &kNavy);
  lblInvestmentValueProposed = Figure(page, "lblInvestmentValueProposed", &kPurple);
  grid->addWidget(Head(page, "Current", kNavy), 0, 2);
  grid->addWidget(Head(page, "Proposed", kPurple), 0, 3);
  grid->addWidget(new QLabel("Debt balance in", page), 1, 0);
  grid->addWidget(lblEarlyYear, 1, 1);
  grid->addWidget(lblDebtBalanceCurrent, 1, 2);
  grid->addWidget(lblDebtBalanceProposed, 1, 3);
  grid->addWidget(new QLabel("Investment value in", page), 2, 0);
  grid->addWidget(lblLateYear, 2, 1);
  grid->addWidget(lblInvestmentValueCurrent, 2, 2);
  grid->addWidget(lblInvestmentValueProposed, 2, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnMinimumWidth(2, px_(100));
  grid->setColumnMinimumWidth(3, px_(100));
  pageLayout->addLayout(grid);
  chart3 = ChartView(page, "Chart3");
  pageLayout->addWidget(chart3, 1);
  AddPage(page, "Projected Balances");
}

void ResultsPanel::BuildNewLoanPage() {
  newLoanPage = new QWidget(pages);
  newLoanPage->setObjectName("tsNewLoan");
  auto* pageLayout = new QVBoxLayout(newLoanPage);
  pageLayout->addWidget(new QLabel("The details of the new loan are as follows:", newLoanPage));
  const auto group = [&](const char* title,
                         std::initializer_list<std::pair<const char*, QLabel**>> rows) {
    auto* box = new QGroupBox(title, newLoanPage);
    auto* grid = new QGridLayout(box);
    int r = 0;
    for (const auto& [text, label] : rows) {
      if (r == static_cast<int>(rows.size()) - 1) {
        auto* rule = new QFrame(box);
        rule->setFrameShape(QFrame::HLine);
        grid->addWidget(rule, r++, 1);
      }
      grid->addWidget(new QLabel(text, box), r, 0);
      grid->addWidget(*label, r, 1);
      ++r;
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnMinimumWidth(1, px_(110));
    pageLayout->addWidget(box);
  };
  const auto figure = [this](const char* name) { return Figure(newLoanPage, name, nullptr); };
  lblPayoffBalance = figure("lblPayoffBalance");
  lblOtherFees = figure("lblOtherFees");
  lblFees = figure("lblFees");
  lblCashPayment = figure("lblCashPayment");
  lblConsolidationLoanAmount = figure("lblConsolidationLoanAmount");
  lblPayoffPayment = figure("lblPayoffPayment");
  lblConsolidationLoanPayment = figure("lblConsolidationLoanPayment");
  lblDifferencePayment = figure("lblDifferencePayment");
  lblCurrentInterestRate = figure("lblCurrentInterestRate");
  lblConsolidationInterestRate = figure("lblConsolidationInterestRate");
  lblDifferenceInterestRate = figure("lblDifferenceInterestRate");
  group("Balance", {{"Total balance of paid-off loans", &lblPayoffBalance},
                    {"Initial setup fee", &lblOtherFees},
                    {"Fees/Points", &lblFees},
                    {"Cash paid out (Paid in)", &lblCashPayment},
                    {"New loan amount", &lblConsolidationLoanAmount}});
  group("Payment", {{"Total payment of paid-off loans", &lblPayoffPayment},
                    {"New loan payment", &lblConsolidationLoanPayment},
                    {"Difference", &lblDifferencePayment}});
  group("Interest Rate", {{"Average interest rate of paid-off loans", &lblCurrentInterestRate},
                          {"New loan interest rate", &lblConsolidationInterestRate},
                          {"Difference", &lblDifferenceInterestRate}});
  pageLayout->addStretch(1);
  newLoanTab_ = AddPage(newLoanPage, "New Loan");
}

void ResultsPanel::ShowPermissions(bool consolidation) {
  pages->setTabVisible(pages->indexOf(newLoanTab_), consolidation);
  pages->setCurrentIndex(consolidation ? pages->indexOf(newLoanTab_) : 0);
}

void ResultsPanel::ShowResults(const PlanDocument& plan, const PlanResults& results,
                               const PlanFigures& f, const PlanStatements& statements) {
  const RegionalSettings& regional = regional_;
  const auto money = [&](Money amount) { return Q(FormatMoney(amount, 2, regional)); };

  // Payoff schedule. A plan that never pays some debt off shows "Never" and names the debts.
  const auto showPayoff = [&](QLabel* months, QLabel* years, QLabel* date,
                              const DebtFreeFigures& figures, DayNumber day) {
    const bool debtFree = figures.DebtFree();
    months->setText(debtFree ? QString::number(figures.months) : "Never");
    years->setText(debtFree ? Q(FormatYears(figures.years, regional)) : "Never");
    date->setText(debtFree ? Q(FormatMonthYear(day)) : "Never");
    const QString why =
        debtFree ? QString() : Q("Never paid off: " + JoinNames(figures.neverPaidOffNames));
    for (QLabel* label : {months, years, date}) label->setToolTip(why);
  };
  showPayoff(lblPayoffMonthsCurrent, lblPayoffYearsCurrent, lblPayoffDateCurrent, f.current,
             f.laterDebtFreeDate);
  showPayoff(lblPayoffMonthsProposed, lblPayoffYearsProposed, lblPayoffDateProposed, f.proposed,
             f.proposed.date);
  lblLateYear->setText(Q(FormatMonthYear(f.laterDebtFreeDate)));
  lblEarlyYear->setText(Q(FormatMonthYear(f.proposed.date)));

  // Interest paid.
  lblInterestCurrent->setText(money(f.current.totalInterest));
  lblInterestProposed->setText(money(f.proposed.totalInterest));
  const StatementWords words = EnglishStatementWords(regional);
  const StatementTexts texts = WriteStatements(statements, words);
  lblInterestSavedCaption->setText(Q(texts.savingLabel));
  lblInterestDifference->setText(Q(texts.savingCell));
  lblReturnOnInvestment->setText(statements.ClaimsSaving()
                                     ? Q(FormatPercent2(f.AnnualReturnPercent(), regional))
                                     : QString(u'\u2014'));
  const std::string note = ResultsNote(statements, texts, words);
  // The first pages lead with it: the payoff schedule and the interest paid.
  for (QLabel* label : {lblPayoffNote, lblNeverPaidOffNote}) {
    label->setText(Q(note));
    label->setVisible(!note.empty());
  }

  // Projected balances.
  lblDebtBalanceCurrent->setText(money(f.currentBalanceAtProposedEnd));
  lblInvestmentValueCurrent->setText(money(Money()));
  lblDebtBalanceProposed->setText(money(f.proposedBalanceAtProposedEnd));
  lblInvestmentValueProposed->setText(money(f.investmentValue));

  // New loan.
  const NewLoanFigures& loan = f.newLoan;
  lblPayoffBalance->setText(money(loan.payoffBalance));
  lblOtherFees->setText(money(loan.setupFee));
  lblFees->setText(money(loan.lenderFees));
  lblCashPayment->setText(money(loan.cashPayment));
  lblConsolidationLoanAmount->setText(money(loan.amount));
  lblPayoffPayment->setText(money(loan.payoffPayment));
  lblConsolidationLoanPayment->setText(money(loan.payment));
  lblDifferencePayment->setText(money(loan.paymentDifference));
  lblCurrentInterestRate->setText(Q(FormatPercent3(loan.payoffRatePercent, regional)));
  lblConsolidationInterestRate->setText(Q(FormatPercent3(loan.ratePercent, regional)));
  lblDifferenceInterestRate->setText(Q(FormatPercent3(loan.rateDifferencePercent, regional)));

  FillPayoffDatesChart(*graphPayoffDates->chart(), plan, results, f.payoffs, WindowPayoffTexts(),
                       regional);
  FillInterestChart(*chart1->chart(), results, WindowInterestTexts(), regional);
  FillBalancesChart(*chart3->chart(), plan, results, WindowBalancesTexts(), regional);
}

}  // namespace ardvane
