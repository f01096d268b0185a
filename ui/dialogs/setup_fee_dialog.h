#pragma once

#include <QDialog>
#include <functional>

#include "engine/regional_settings.h"
#include "inputs/plan_fee_values.h"

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace ardvane {

class PlanSession;
class AmountField;

// The setup fee dialog: the plan's setup fee, fee rate and down payment and their minimums,
// with the calculation of the fee laid open. Every field the adviser leaves is written into
// the plan at once and the plan recalculated, so the figures follow each change; OK keeps what
// was written, Cancel (or Escape, or closing the window) writes back the six values the plan
// had when the dialog was made and recalculates.
//
// `recalculate` is the main window's: it shows the plan's setup fee in its own fee field,
// calculates and refreshes its display, which passes the figures to ShowFigures while the
// dialog is open. The dialog only ever writes the plan through the session.
class SetupFeeDialog : public QDialog {
  Q_OBJECT

 public:
  SetupFeeDialog(PlanSession& session, const RegionalSettings& regional,
                 std::function<void()> recalculate, QWidget* parent);

  // The six values as they were when the dialog was made.
  const SetupFeeValues& Remembered() const { return remembered_; }
  // Fills the labels of the calculation and the financing.
  void ShowFigures(const SetupFeeFigures& figures);

 public slots:
  void accept() override;
  void reject() override;

 private:
  // The dialog's parts: its six fields and the labels of its figures, made first, then the
  // four groups that lay them out top to bottom and the footnote below them.
  void CreateFields(const RegionalSettings& regional, int fieldWidth);
  void CreateFigureLabels(int fieldWidth);
  QGroupBox* StandardFeeGroup();
  QGroupBox* MinimumFeeGroup();
  QGroupBox* CalculationGroup();
  QGroupBox* FinancingGroup();
  QHBoxLayout* FootnoteRow(int fieldWidth);
  // A label of fixed words.
  QLabel* Words(const char* words);
  void FillFields(const SetupFeeValues& values);
  // The fields as plan values. A field the adviser has not changed gives the plan's own
  // value, so a value with more digits than its field shows is not rounded by just passing.
  SetupFeeValues FieldValues() const;
  void FieldExit();

  PlanSession& session_;
  std::function<void()> recalculate_;
  SetupFeeValues remembered_;
  bool closed_ = false;         // OK or Cancel has decided
  SetupFeeValues shown_;        // the plan values the fields were last filled from
  double shownFields_[6] = {};  // what the fields showed for them

  AmountField* feesAmountField = nullptr;
  AmountField* setupFeeRateField = nullptr;
  AmountField* downPaymentField = nullptr;
  AmountField* minSavingsField = nullptr;
  AmountField* minSetupFeeField = nullptr;
  AmountField* minDownPaymentField = nullptr;
  QLabel* noFeeInterestSavedLabel = nullptr;
  QLabel* setupFeeRateLabel = nullptr;
  QLabel* percentSetupFeeLabel = nullptr;
  QLabel* actualSetupFeeLabel = nullptr;
  QLabel* setupFeeLabel = nullptr;
  QLabel* downPaymentLabel = nullptr;
  QLabel* setupFeeFinancedLabel = nullptr;
  QLabel* interestSavedLabel = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
};

}  // namespace ardvane
