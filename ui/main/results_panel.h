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
  QPushButton* detailsButton = nullptr;
  QChartView* payoffDatesChart = nullptr;
  QChartView* interestChart = nullptr;
  QChartView* balancesChart = nullptr;

  // Payoff Schedule.
  QLabel* payoffMonthsCurrentLabel = nullptr;
  QLabel* payoffMonthsProposedLabel = nullptr;
  QLabel* payoffYearsCurrentLabel = nullptr;
  QLabel* payoffYearsProposedLabel = nullptr;
  QLabel* payoffDateCurrentLabel = nullptr;
  QLabel* payoffDateProposedLabel = nullptr;
  QLabel* payoffNoteLabel = nullptr;  // the same note as the interest page's
  // Interest Paid.
  QLabel* interestCurrentLabel = nullptr;
  QLabel* interestProposedLabel = nullptr;
  QLabel* interestSavedCaptionLabel = nullptr;  // "Interest saved", or what the row shows instead
  QLabel* interestDifferenceLabel = nullptr;
  QLabel* returnOnInvestmentLabel = nullptr;
  QLabel* neverPaidOffNoteLabel = nullptr;
  // Projected Balances.
  QLabel* earlyYearLabel = nullptr;
  QLabel* lateYearLabel = nullptr;
  QLabel* debtBalanceCurrentLabel = nullptr;
  QLabel* debtBalanceProposedLabel = nullptr;
  QLabel* investmentValueCurrentLabel = nullptr;
  QLabel* investmentValueProposedLabel = nullptr;
  // New Loan.
  QLabel* payoffBalanceLabel = nullptr;
  QLabel* otherFeesLabel = nullptr;
  QLabel* feesLabel = nullptr;
  QLabel* cashPaymentLabel = nullptr;
  QLabel* consolidationLoanAmountLabel = nullptr;
  QLabel* payoffPaymentLabel = nullptr;
  QLabel* consolidationLoanPaymentLabel = nullptr;
  QLabel* differencePaymentLabel = nullptr;
  QLabel* currentInterestRateLabel = nullptr;
  QLabel* consolidationInterestRateLabel = nullptr;
  QLabel* differenceInterestRateLabel = nullptr;

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
