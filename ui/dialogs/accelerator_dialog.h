#pragma once

#include <QDialog>
#include <vector>

#include "engine/calendar.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "figures/power_payment_goal.h"

class QComboBox;
class QDateEdit;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace ardvane {

class PlanSession;
class AmountField;

// The power payment dialog: the plan's three power payment options, each a monthly amount,
// an annual amount (limits -99,999 to 99,999) and the month the annual amount is paid in. The
// first is the plan's own; the other two only appear in the printed plan.
//
// Below them, "Debt free by [month]: $X a month" answers what monthly power payment makes
// the client debt free by a chosen month (FindPowerPaymentForGoal on the plan with the
// yearly amount and month the dialog shows), and "Use" puts X into the monthly field.
//
// OK stores all three options through the session; the caller then shows the first in its
// own fields and recalculates. Cancel (Escape, closing the window) stores nothing.
class AcceleratorDialog : public QDialog {
  Q_OBJECT

 public:
  // `params` and `settings` are those the plan is calculated with; `proposedDebtFree` is the
  // proposed plan's debt-free date (0 when it has none or never pays some debt off), from
  // which the goal month starts a year earlier.
  AcceleratorDialog(PlanSession& session, const RegionalSettings& regional,
                    const PlanParameters& params, const AppSettings& settings,
                    DayNumber proposedDebtFree, QWidget* parent);

  // The goal month shown, and the answer for it.
  YearMonth GoalMonth() const;
  const PowerPaymentGoal& Needed() const { return needed_; }

 public slots:
  void accept() override;

 private:
  // The dialog's parts, top to bottom: the paragraphs that explain it (returned so that
  // they can be sized to the rows), the rows of the three options filled from the plan, and
  // the row of the goal month, which ConnectGoal keeps answered.
  std::vector<QLabel*> AddParagraphs(QVBoxLayout& layout);
  QGridLayout* PowerPaymentRows();
  QHBoxLayout* GoalRow(DayNumber proposedDebtFree);
  void ConnectGoal();
  // Works out the power payment for the goal month and shows it.
  void ShowNeededPowerPayment();

  PlanSession& session_;
  const RegionalSettings& regional_;
  const PlanParameters& params_;
  const AppSettings& settings_;
  PowerPaymentGoal needed_;
  QDateEdit* debtFreeByField_ = nullptr;
  QLabel* neededPowerPaymentLabel_ = nullptr;
  QPushButton* useNeededButton_ = nullptr;
  AmountField* monthly_[3] = {};
  AmountField* annual_[3] = {};
  QComboBox* month_[3] = {};
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
};

}  // namespace ardvane
