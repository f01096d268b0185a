#pragma once

#include <QWidget>

#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "ui/widgets/design_pixels.h"
#include "figures/plan_figures.h"
#include "figures/plan_statements.h"

class QChartView;
class QLabel;
class QPushButton;
class QTabWidget;

namespace ardvane {

class StrategiesPage;

// The main window's right half: the pages of results with their figures and charts, and the
// Details button. It shows one calculation at a time.
class ResultsPanel : public QWidget {
  Q_OBJECT

 public:
  ResultsPanel(const RegionalSettings& regional, DesignPixels px, QWidget* parent);

  // Every figure and chart of the pages, from one calculation, and what may be said of it.
  void ShowResults(const PlanDocument& plan, const PlanResults& results, const PlanFigures& f,
                   const PlanStatements& statements);
  // The new loan page shows only where consolidating is permitted; it opens first there.
  void ShowPermissions(bool consolidation);

  QTabWidget* pages = nullptr;
  QWidget* newLoanPage = nullptr;
  StrategiesPage* strategiesPage = nullptr;
  QPushButton* bitbtnDetails = nullptr;
  QChartView* graphPayoffDates = nullptr;
  QChartView* chart1 = nullptr;
  QChartView* chart3 = nullptr;

  // Payoff Schedule.
  QLabel* lblPayoffMonthsCurrent = nullptr;
  QLabel* lblPayoffMonthsProposed = nullptr;
  QLabel* lblPayoffYearsCurrent = nullptr;
  QLabel* lblPayoffYearsProposed = nullptr;
  QLabel* lblPayoffDateCurrent = nullptr;
  QLabel* lblPayoffDateProposed = nullptr;
  QLabel* lblPayoffNote = nullptr;  // the same note as the interest page's
  // Interest Paid.
  QLabel* lblInterestCurrent = nullptr;
  QLabel* lblInterestProposed = nullptr;
  QLabel* lblInterestSavedCaption = nullptr;  // "Interest saved", or what the row shows instead
  QLabel* lblInterestDifference = nullptr;
  QLabel* lblReturnOnInvestment = nullptr;
  QLabel* lblNeverPaidOffNote = nullptr;
  // Projected Balances.
  QLabel* lblEarlyYear = nullptr;
  QLabel* lblLateYear = nullptr;
  QLabel* lblDebtBalanceCurrent = nullptr;
  QLabel* lblDebtBalanceProposed = nullptr;
  QLabel* lblInvestmentValueCurrent = nullptr;
  QLabel* lblInvestmentValueProposed = nullptr;
  // New Loan.
  QLabel* lblPayoffBalance = nullptr;
  QLabel* lblOtherFees = nullptr;
  QLabel* lblFees = nullptr;
  QLabel* lblCashPayment = nullptr;
  QLabel* lblConsolidationLoanAmount = nullptr;
  QLabel* lblPayoffPayment = nullptr;
  QLabel* lblConsolidationLoanPayment = nullptr;
  QLabel* lblDifferencePayment = nullptr;
  QLabel* lblCurrentInterestRate = nullptr;
  QLabel* lblConsolidationInterestRate = nullptr;
  QLabel* lblDifferenceInterestRate = nullptr;

 private:
  void BuildPayoffPage();
  void BuildInterestPage();
  void BuildBalancesPage();
  void BuildNewLoanPage();
  QLabel* Figure(QWidget* parent, const char* name, const QColor* colour);
  // A word-wrapped note, hidden until it has something to say.
  QLabel* Note(QWidget* parent, const char* name);
  // Adds `page` as a tab, in a scroll area; returns the tab's widget.
  QWidget* AddPage(QWidget* page, const char* title);

  const RegionalSettings& regional_;
  DesignPixels px_;
  QWidget* newLoanTab_ = nullptr;
};

}  // namespace ardvane
