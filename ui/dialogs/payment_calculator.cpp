#include "ui/dialogs/payment_calculator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "figures/amount_format.h"
#include "figures/display_formats.h"
#include "inputs/debt_checks.h"
#include "ui/widgets/amount_field.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {

PaymentCalculator::PaymentCalculator(const RegionalSettings& regional, QWidget* parent)
    : QDialog(parent), regional_(regional) {
  setWindowTitle("Calculate Payment");

  balanceLabel = new QLabel(this);
  interestRateLabel = new QLabel(this);
  termField = new AmountField(regional, this);
  termField->SetMaskType(kNumberAmount);
  termField->SetDecimalPlaces(0);
  termField->SetMaximumValue(999);
  termField->SetMinimumValue(1);
  termField->SetMaximumLength(3);
  termField->SetNumericValue(360);
  connect(termField, &AmountField::changed, this, &PaymentCalculator::TermChanged);
  connect(termField, &AmountField::exited, this, &PaymentCalculator::ShowTerm);
  paymentLabel = new QLabel(this);
  for (QLabel* value : {balanceLabel, interestRateLabel, paymentLabel}) {
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  termField->setAlignment(Qt::AlignRight);

  okButton = new QPushButton("OK", this);
  okButton->setDefault(true);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
  cancelButton = new QPushButton("Cancel", this);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

  auto* rows = new QGridLayout;
  rows->addWidget(new QLabel("Balance", this), 0, 0);
  rows->addWidget(balanceLabel, 0, 1);
  rows->addWidget(new QLabel("Interest Rate", this), 1, 0);
  rows->addWidget(interestRateLabel, 1, 1);
  rows->addWidget(new QLabel("Term (months)", this), 2, 0);
  rows->addWidget(termField, 2, 1);
  rows->addWidget(new QLabel("Payment", this), 3, 0);
  rows->addWidget(paymentLabel, 3, 1);
  rows->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance("$999,999,999.99") + 8);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);

  auto* main = new QVBoxLayout(this);
  main->addLayout(rows);
  main->addLayout(buttons);
  main->setSizeConstraint(QLayout::SetFixedSize);

  balanceLabel->setObjectName("lblBalance");
  interestRateLabel->setObjectName("lblInterestRate");
  termField->setObjectName("ntmskTerm");
  paymentLabel->setObjectName("lblPayment");
  okButton->setObjectName("btnOK");
  cancelButton->setObjectName("btnCancel");
}

void PaymentCalculator::Activate() {
  balanceLabel->setText(Q(FormatMoneyUnits(balance_, 2, regional_)));
  interestRateLabel->setText(Q(FormatPercent3(rate_ * 100, regional_)));
  TermChanged();
}

void PaymentCalculator::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Activate();
  ShowTerm();
}

void PaymentCalculator::TermChanged() {
  // An emptied field is a term still being typed: the last term and payment stand until a
  // number is there again, and the field shows that term when it is left.
  if (termField->text().trimmed().isEmpty()) return;
  // The field holds its value within 1 to 999, so a typed 0 is a term of one month.
  const double value = termField->NumericValue();
  if (!(value > 0)) return;
  term_ = static_cast<int>(std::nearbyint(value));
  payment_ = CalculatorPayment(balance_, rate_, term_);
  paymentLabel->setText(Q(FormatMoneyUnits(payment_, 2, regional_)));
  // Whatever was typed beyond the limits ("0", "000"), the field shows the term used.
  const std::optional<double> typed =
      ParseAmount(termField->text().toStdString(), regional_.negativeSign);
  if (!typed || std::nearbyint(*typed) != term_) ShowTerm();
}

void PaymentCalculator::ShowTerm() {
  const std::optional<double> shown =
      ParseAmount(termField->text().toStdString(), regional_.negativeSign);
  if (!shown || std::nearbyint(*shown) != term_) termField->SetNumericValue(term_);
}

}  // namespace ardvane
