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

  lblBalance = new QLabel(this);
  lblInterestRate = new QLabel(this);
  ntmskTerm = new AmountField(regional, this);
  ntmskTerm->SetMaskType(mtNumber);
  ntmskTerm->SetDecimalPlaces(0);
  ntmskTerm->SetMaximumValue(999);
  ntmskTerm->SetMinimumValue(1);
  ntmskTerm->SetMaximumLength(3);
  ntmskTerm->SetNumericValue(360);
  connect(ntmskTerm, &AmountField::changed, this, &PaymentCalculator::TermChanged);
  connect(ntmskTerm, &AmountField::exited, this, &PaymentCalculator::ShowTerm);
  lblPayment = new QLabel(this);
  for (QLabel* value : {lblBalance, lblInterestRate, lblPayment}) {
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  ntmskTerm->setAlignment(Qt::AlignRight);

  btnOK = new QPushButton("OK", this);
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  btnCancel = new QPushButton("Cancel", this);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* rows = new QGridLayout;
  rows->addWidget(new QLabel("Balance", this), 0, 0);
  rows->addWidget(lblBalance, 0, 1);
  rows->addWidget(new QLabel("Interest Rate", this), 1, 0);
  rows->addWidget(lblInterestRate, 1, 1);
  rows->addWidget(new QLabel("Term (months)", this), 2, 0);
  rows->addWidget(ntmskTerm, 2, 1);
  rows->addWidget(new QLabel("Payment", this), 3, 0);
  rows->addWidget(lblPayment, 3, 1);
  rows->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance("$999,999,999.99") + 8);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);

  auto* main = new QVBoxLayout(this);
  main->addLayout(rows);
  main->addLayout(buttons);
  main->setSizeConstraint(QLayout::SetFixedSize);

  lblBalance->setObjectName("lblBalance");
  lblInterestRate->setObjectName("lblInterestRate");
  ntmskTerm->setObjectName("ntmskTerm");
  lblPayment->setObjectName("lblPayment");
  btnOK->setObjectName("btnOK");
  btnCancel->setObjectName("btnCancel");
}

void PaymentCalculator::Activate() {
  lblBalance->setText(Q(FormatMoneyUnits(balance_, 2, regional_)));
  lblInterestRate->setText(Q(FormatPercent3(rate_ * 100, regional_)));
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
  if (ntmskTerm->text().trimmed().isEmpty()) return;
  // The field holds its value within 1 to 999, so a typed 0 is a term of one month.
  const double value = ntmskTerm->NumericValue();
  if (!(value > 0)) return;
  term_ = static_cast<int>(std::nearbyint(value));
  payment_ = CalculatorPayment(balance_, rate_, term_);
  lblPayment->setText(Q(FormatMoneyUnits(payment_, 2, regional_)));
  // Whatever was typed beyond the limits ("0", "000"), the field shows the term used.
  const std::optional<double> typed =
      ParseAmount(ntmskTerm->text().toStdString(), regional_.negativeSign);
  if (!typed || std::nearbyint(*typed) != term_) ShowTerm();
}

void PaymentCalculator::ShowTerm() {
  const std::optional<double> shown =
      ParseAmount(ntmskTerm->text().toStdString(), regional_.negativeSign);
  if (!shown || std::nearbyint(*shown) != term_) ntmskTerm->SetNumericValue(term_);
}

}  // namespace ardvane
