#pragma once

#include <QWidget>

#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "ui/widgets/design_pixels.h"
#include "figures/amount_format.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ardvane {

class DebtGridView;
class AmountField;

// The main window's left half: the client, the debt grid with its buttons, the plan's
// assumptions and the new loan's terms, in that reading and Tab order. It lays the controls
// out and fills them from a plan; the window connects them.
class InputPanel : public QWidget {
  Q_OBJECT

 public:
  // `px` turns the layout's design sizes into this platform's.
  InputPanel(const RegionalSettings& regional, DesignPixels px, QWidget* parent);

  // Fills every input from the plan.
  void ShowPlan(const PlanDocument& plan);
  void ShowPermissions(bool consolidation, bool cashOut);
  // The bold fee charged in place of the fee field, or the field itself.
  void ShowFeeCharged(const std::string& feeText, bool feeAsEntered);
  // The debts' names column as wide as its longest name, within [least, most] pixels.
  void FitNameColumn(int least, int most);
  // The fee charged looks like a link while the pointer is over it.
  void SetFeeLabelLook(bool link);

  QLineEdit* firstNameField = nullptr;
  QLineEdit* lastNameField = nullptr;
  DebtGridView* debtGrid = nullptr;
  QPushButton* newDebtButton = nullptr;
  QPushButton* editDebtButton = nullptr;
  QPushButton* deleteDebtButton = nullptr;
  QPushButton* moveUpButton = nullptr;
  QPushButton* moveDownButton = nullptr;
  QGroupBox* assumptionsGroup = nullptr;
  QDateEdit* planDateField = nullptr;
  QComboBox* priorityChoice = nullptr;
  QPushButton* powerPaymentButton = nullptr;
  AmountField* powerPaymentField = nullptr;
  AmountField* annualPowerPaymentField = nullptr;
  AmountField* returnRateField = nullptr;
  QPushButton* setupFeeButton = nullptr;
  AmountField* feesAmountField = nullptr;
  QLabel* percentSetupFeeLabel = nullptr;
  AmountField* monthlyFeeField = nullptr;
  QGroupBox* consolidationGroup = nullptr;
  QCheckBox* consolidateCheck = nullptr;
  QPushButton* recommendationsButton = nullptr;
  AmountField* interestRateField = nullptr;
  QCheckBox* interestOnlyCheck = nullptr;
  AmountField* feesRateField = nullptr;
  AmountField* consolidationFeesField = nullptr;
  AmountField* termField = nullptr;
  QLabel* cashOutLabel = nullptr;
  AmountField* cashOutField = nullptr;

 signals:
  // A click on the fee charged.
  void feeClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildClient();
  void BuildDebts();
  void BuildAssumptions();
  void BuildNewLoan();
  void SetTabOrder();
  AmountField* Mask(QWidget* parent, const char* name, AmountKind type, int decimals, double limit);

  const RegionalSettings& regional_;
  DesignPixels px_;
};

// Qt's date from the plan's day number and back.
QDate ToQDate(DayNumber day);
DayNumber FromQDate(const QDate& date);

}  // namespace ardvane
