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
  detailsButton = new QPushButton("Detail&s", this);
  detailsButton->setObjectName("bitbtnDetails");
  detailsButton->setToolTip("View the monthly tables for this plan");
  detailsStrip->addWidget(detailsButton);
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
  payoffMonthsCurrentLabel = Figure(page, "lblPayoffMonthsCurrent", &kNavy);
  payoffMonthsProposedLabel = Figure(page, "lblPayoffMonthsProposed", &kPurple);
  payoffYearsCurrentLabel = Figure(page, "lblPayoffYearsCurrent", &kNavy);
  payoffYearsProposedLabel = Figure(page, "lblPayoffYearsProposed", &kPurple);
  payoffDateCurrentLabel = Figure(page, "lblPayoffDateCurrent", &kNavy);
  payoffDateProposedLabel = Figure(page, "lblPayoffDateProposed", &kPurple);
  grid->addWidget(new QLabel("Months until debt free", page), 1, 0);
  grid->addWidget(payoffMonthsCurrentLabel, 1, 1);
  grid->addWidget(payoffMonthsProposedLabel, 1, 2);
  grid->addWidget(new QLabel("Years until debt free", page), 2, 0);
  grid->addWidget(payoffYearsCurrentLabel, 2, 1);
  grid->addWidget(payoffYearsProposedLabel, 2, 2);
  grid->addWidget(new QLabel("Debt free date", page), 3, 0);
  grid->addWidget(payoffDateCurrentLabel, 3, 1);
  grid->addWidget(payoffDateProposedLabel, 3, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnMinimumWidth(1, px_(90));
  grid->setColumnMinimumWidth(2, px_(90));
  pageLayout->addLayout(grid);
  payoffNoteLabel = Note(page, "lblPayoffNote");
  pageLayout->addWidget(payoffNoteLabel);
  payoffDatesChart = ChartView(page, "graphPayoffDates");
  pageLayout->addWidget(payoffDatesChart, 1);
  AddPage(page, "Payoff Schedule");
}

void ResultsPanel::BuildInterestPage() {
  auto* page = new QWidget(pages);
  page->setObjectName("tsInterestPaid");
  auto* pageLayout = new QVBoxLayout(page);
  auto* grid = new QGridLayout;
  interestCurrentLabel = Figure(page, "lblInterestCurrent", &kNavy);
  interestProposedLabel = Figure(page, "lblInterestProposed", &kPurple);
  interestDifferenceLabel = Figure(page, "lblInterestDifference", nullptr);
  returnOnInvestmentLabel = Figure(page, "lblReturnOnInvestment", nullptr);
  grid->addWidget(Head(page, "Current", kNavy), 0, 1);
  grid->addWidget(Head(page, "Proposed", kPurple), 0, 2);
  grid->addWidget(new QLabel("Total interest paid", page), 1, 0);
  grid->addWidget(interestCurrentLabel, 1, 1);
  grid->addWidget(interestProposedLabel, 1, 2);
  interestSavedCaptionLabel = new QLabel("Interest saved", page);
  interestSavedCaptionLabel->setObjectName("lblInterestSavedCaption");
  grid->addWidget(interestSavedCaptionLabel, 2, 0);
  grid->addWidget(interestDifferenceLabel, 2, 2);
  grid->addWidget(new QLabel("Return on investment", page), 3, 0);
  grid->addWidget(returnOnInvestmentLabel, 3, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnMinimumWidth(1, px_(100));
  grid->setColumnMinimumWidth(2, px_(100));
  pageLayout->addLayout(grid);
  // What the figures cannot say alone: debts never paid off and what would pay them off, a
  // saving that is none or a cost, a lowered fee.
  neverPaidOffNoteLabel = Note(page, "lblNeverPaidOffNote");
  pageLayout->addWidget(neverPaidOffNoteLabel);
  interestChart = ChartView(page, "Chart1");
  pageLayout->addWidget(interestChart, 1);
  AddPage(page, "Interest Paid");
}

void ResultsPanel::BuildBalancesPage() {
  auto* page = new QWidget(pages);
  page->setObjectName("tsProjectedBalances");
  auto* pageLayout = new QVBoxLayout(page);
  auto* grid = new QGridLayout;
  earlyYearLabel = Figure(page, "lblEarlyYear", nullptr);
  earlyYearLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lateYearLabel = Figure(page, "lblLateYear", nullptr);
  lateYearLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  debtBalanceCurrentLabel = Figure(page, "lblDebtBalanceCurrent", &kNavy);
  debtBalanceProposedLabel = Figure(page, "lblDebtBalanceProposed", &kPurple);
  investmentValueCurrentLabel = Figure(page, "lblInvestmentValueCurrent", &kNavy);
  investmentValueProposedLabel = Figure(page, "lblInvestmentValueProposed", &kPurple);
  grid->addWidget(Head(page, "Current", kNavy), 0, 2);
  grid->addWidget(Head(page, "Proposed", kPurple), 0, 3);
  grid->addWidget(new QLabel("Debt balance in", page), 1, 0);
  grid->addWidget(earlyYearLabel, 1, 1);
  grid->addWidget(debtBalanceCurrentLabel, 1, 2);
  grid->addWidget(debtBalanceProposedLabel, 1, 3);
  grid->addWidget(new QLabel("Investment value in", page), 2, 0);
  grid->addWidget(lateYearLabel, 2, 1);
  grid->addWidget(investmentValueCurrentLabel, 2, 2);
  grid->addWidget(investmentValueProposedLabel, 2, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnMinimumWidth(2, px_(100));
  grid->setColumnMinimumWidth(3, px_(100));
  pageLayout->addLayout(grid);
  balancesChart = ChartView(page, "Chart3");
  pageLayout->addWidget(balancesChart, 1);
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
  payoffBalanceLabel = figure("lblPayoffBalance");
  otherFeesLabel = figure("lblOtherFees");
  feesLabel = figure("lblFees");
  cashPaymentLabel = figure("lblCashPayment");
  consolidationLoanAmountLabel = figure("lblConsolidationLoanAmount");
  payoffPaymentLabel = figure("lblPayoffPayment");
  consolidationLoanPaymentLabel = figure("lblConsolidationLoanPayment");
  differencePaymentLabel = figure("lblDifferencePayment");
  currentInterestRateLabel = figure("lblCurrentInterestRate");
  consolidationInterestRateLabel = figure("lblConsolidationInterestRate");
  differenceInterestRateLabel = figure("lblDifferenceInterestRate");
  group("Balance", {{"Total balance of paid-off loans", &payoffBalanceLabel},
                    {"Initial setup fee", &otherFeesLabel},
                    {"Fees/Points", &feesLabel},
                    {"Cash paid out (Paid in)", &cashPaymentLabel},
                    {"New loan amount", &consolidationLoanAmountLabel}});
  group("Payment", {{"Total payment of paid-off loans", &payoffPaymentLabel},
                    {"New loan payment", &consolidationLoanPaymentLabel},
                    {"Difference", &differencePaymentLabel}});
  group("Interest Rate", {{"Average interest rate of paid-off loans", &currentInterestRateLabel},
                          {"New loan interest rate", &consolidationInterestRateLabel},
                          {"Difference", &differenceInterestRateLabel}});
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
  showPayoff(payoffMonthsCurrentLabel, payoffYearsCurrentLabel, payoffDateCurrentLabel, f.current,
             f.laterDebtFreeDate);
  showPayoff(payoffMonthsProposedLabel, payoffYearsProposedLabel, payoffDateProposedLabel,
             f.proposed, f.proposed.date);
  lateYearLabel->setText(Q(FormatMonthYear(f.laterDebtFreeDate)));
  earlyYearLabel->setText(Q(FormatMonthYear(f.proposed.date)));

  // Interest paid.
  interestCurrentLabel->setText(money(f.current.totalInterest));
  interestProposedLabel->setText(money(f.proposed.totalInterest));
  const StatementWords words = EnglishStatementWords(regional);
  const StatementTexts texts = WriteStatements(statements, words);
  interestSavedCaptionLabel->setText(Q(texts.savingLabel));
  interestDifferenceLabel->setText(Q(texts.savingCell));
  returnOnInvestmentLabel->setText(statements.ClaimsSaving()
                                       ? Q(FormatPercent2(f.AnnualReturnPercent(), regional))
                                       : QString(u'\u2014'));
  const std::string note = ResultsNote(statements, texts, words);
  // The first pages lead with it: the payoff schedule and the interest paid.
  for (QLabel* label : {payoffNoteLabel, neverPaidOffNoteLabel}) {
    label->setText(Q(note));
    label->setVisible(!note.empty());
  }

  // Projected balances.
  debtBalanceCurrentLabel->setText(money(f.currentBalanceAtProposedEnd));
  investmentValueCurrentLabel->setText(money(Money()));
  debtBalanceProposedLabel->setText(money(f.proposedBalanceAtProposedEnd));
  investmentValueProposedLabel->setText(money(f.investmentValue));

  // New loan.
  const NewLoanFigures& loan = f.newLoan;
  payoffBalanceLabel->setText(money(loan.payoffBalance));
  otherFeesLabel->setText(money(loan.setupFee));
  feesLabel->setText(money(loan.lenderFees));
  cashPaymentLabel->setText(money(loan.cashPayment));
  consolidationLoanAmountLabel->setText(money(loan.amount));
  payoffPaymentLabel->setText(money(loan.payoffPayment));
  consolidationLoanPaymentLabel->setText(money(loan.payment));
  differencePaymentLabel->setText(money(loan.paymentDifference));
  currentInterestRateLabel->setText(Q(FormatPercent3(loan.payoffRatePercent, regional)));
  consolidationInterestRateLabel->setText(Q(FormatPercent3(loan.ratePercent, regional)));
  differenceInterestRateLabel->setText(Q(FormatPercent3(loan.rateDifferencePercent, regional)));

  FillPayoffDatesChart(*payoffDatesChart->chart(), plan, results, f.payoffs, WindowPayoffTexts(),
                       regional);
  FillInterestChart(*interestChart->chart(), results, WindowInterestTexts(), regional);
  FillBalancesChart(*balancesChart->chart(), plan, results, WindowBalancesTexts(), regional);
}

}  // namespace ardvane
