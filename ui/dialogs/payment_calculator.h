#pragma once

#include <QDialog>

#include "engine/regional_settings.h"

class QLabel;
class QPushButton;

namespace ardvane {

class AmountField;

// The payment calculator: the level monthly payment that repays a balance at an annual rate
// over a term the user chooses (1 to 999 months, 360 at first). The caller sets the balance
// and the rate, shows the dialog modally and reads Payment() after OK. The term field always
// comes to show the term the payment is worked out for: a typed 0 becomes 1 at once, and a
// field emptied while typing keeps the last term and shows it again when left.
class PaymentCalculator : public QDialog {
  Q_OBJECT

 public:
  PaymentCalculator(const RegionalSettings& regional, QWidget* parent);

  void SetBalance(double balance) { balance_ = balance; }
  // The annual interest rate as a fraction (0.06 for 6 %).
  void SetRate(double rate) { rate_ = rate; }
  int Term() const { return term_; }
  // The payment for the current term, not rounded to cents.
  double Payment() const { return payment_; }

  // Shows the balance and rate and works out the payment for the term shown; done when the
  // dialog is shown, and callable before for callers that do not show it.
  void Activate();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void TermChanged();
  // Puts the term in use into the field when the field says otherwise.
  void ShowTerm();

  const RegionalSettings& regional_;
  double balance_ = 0;
  double rate_ = 0;
  int term_ = 360;
  double payment_ = 0;

  QLabel* balanceLabel = nullptr;
  QLabel* interestRateLabel = nullptr;
  AmountField* termField = nullptr;
  QLabel* paymentLabel = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
};

}  // namespace ardvane
