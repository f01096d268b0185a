#include "ui/dialogs/setup_fee_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "planfiles/plan_session.h"
#include "ui/widgets/amount_field.h"
#include "ui/widgets/dialog_buttons.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

// The amounts of the dialog: whole currency units up to the largest cash-out amount the main
// window takes.
constexpr double kAmountLimit = 999999999;

QFrame* Rule(QWidget* parent) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Plain);
  return rule;
}

}  // namespace

SetupFeeDialog::SetupFeeDialog(PlanSession& session, const RegionalSettings& regional,
                               std::function<void()> recalculate, QWidget* parent)
    : QDialog(parent), session_(session), recalculate_(std::move(recalculate)) {
  setObjectName("frmSetupFee");
  setWindowTitle("Setup Fee");

  const int fieldWidth = fontMetrics().horizontalAdvance("$999,999,999") + 12;
  CreateFields(regional, fieldWidth);
  CreateFigureLabels(fieldWidth);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(StandardFeeGroup());
  layout->addWidget(MinimumFeeGroup());
  layout->addWidget(CalculationGroup());
  layout->addWidget(FinancingGroup());
  layout->addLayout(FootnoteRow(fieldWidth));

  const OkCancelButtons buttons = AddOkCancelRow(*this, *layout);
  okButton = buttons.ok;
  cancelButton = buttons.cancel;
  // Fixed once: the figures change at every recalculation, the dialog's size never does.
  setFixedSize(sizeHint());

  remembered_ = RememberSetupFee(session_.Plan());
  FillFields(remembered_);
}

void SetupFeeDialog::CreateFields(const RegionalSettings& regional, int fieldWidth) {
  const auto newField = [&](const char* name, AmountKind type, int decimals) {
    auto* field = new AmountField(regional, this);
    field->setObjectName(name);
    field->SetMaskType(type);
    field->SetDecimalPlaces(decimals);
    if (type == kCurrencyAmount) field->SetLimits(0, kAmountLimit);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(fieldWidth);
    connect(field, &AmountField::exited, this, &SetupFeeDialog::FieldExit);
    return field;
  };
  feesAmountField = newField("ntmskFeesAmount", kCurrencyAmount, 0);
  setupFeeRateField = newField("ntmskSetupFeeRate", kPercentAmount, 3);
  downPaymentField = newField("ntmskDownPayment", kCurrencyAmount, 0);
  minSavingsField = newField("ntmskMinSavings", kCurrencyAmount, 0);
  minSetupFeeField = newField("ntmskMinSetupFee", kCurrencyAmount, 0);
  minDownPaymentField = newField("ntmskMinDownPayment", kCurrencyAmount, 0);
}

void SetupFeeDialog::CreateFigureLabels(int fieldWidth) {
  const auto figure = [this, fieldWidth](const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setMinimumWidth(fieldWidth);
    return label;
  };
  noFeeInterestSavedLabel = figure("lblNoFeeInterestSaved");
  setupFeeRateLabel = figure("lblSetupFeeRate");
  percentSetupFeeLabel = figure("lblPercentSetupFee");
  actualSetupFeeLabel = figure("lblActualSetupFee");
  setupFeeLabel = figure("lblSetupFee");
  downPaymentLabel = figure("lblDownPayment");
  setupFeeFinancedLabel = figure("lblSetupFeeFinanced");
  interestSavedLabel = figure("lblInterestSaved");
  interestSavedLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QLabel* SetupFeeDialog::Words(const char* words) { return new QLabel(words, this); }

QGroupBox* SetupFeeDialog::StandardFeeGroup() {
  auto* standard = new QGroupBox("Standard Setup Fee", this);
  auto* standardGrid = new QGridLayout(standard);
  standardGrid->addWidget(Words("The plan setup fee is the greater of"), 0, 0);
  standardGrid->addWidget(feesAmountField, 0, 1);
  standardGrid->addWidget(Words("or"), 0, 2, Qt::AlignCenter);
  standardGrid->addWidget(setupFeeRateField, 0, 3);
  standardGrid->addWidget(Words("of total interest saved."), 0, 4);
  standardGrid->addWidget(Words("Required cash down payment"), 1, 0);
  standardGrid->addWidget(downPaymentField, 1, 1);
  standardGrid->setColumnStretch(5, 1);
  return standard;
}

QGroupBox* SetupFeeDialog::MinimumFeeGroup() {
  auto* minimum = new QGroupBox("Minimum Setup Fee", this);
  auto* minimumGrid = new QGridLayout(minimum);
  minimumGrid->addWidget(Words("If the total interest saved is less than"), 0, 0);
  minimumGrid->addWidget(minSavingsField, 0, 1);
  minimumGrid->addWidget(Words("the plan setup fee is"), 0, 2);
  minimumGrid->addWidget(minSetupFeeField, 0, 3);
  minimumGrid->addWidget(Words("Required cash down payment"), 1, 0);
  minimumGrid->addWidget(minDownPaymentField, 1, 1);
  minimumGrid->setColumnStretch(4, 1);
  return minimum;
}

// The calculation as a multiplication: interest saved times the rate, under a rule the
// product; the fee actually charged at the right.
QGroupBox* SetupFeeDialog::CalculationGroup() {
  auto* calculation = new QGroupBox("Setup Fee Calculation", this);
  auto* calculationGrid = new QGridLayout(calculation);
  calculationGrid->addWidget(Words("Total interest saved*"), 0, 0);
  calculationGrid->addWidget(noFeeInterestSavedLabel, 0, 1);
  calculationGrid->addWidget(Words("x"), 1, 0, Qt::AlignRight);
  calculationGrid->addWidget(setupFeeRateLabel, 1, 1);
  calculationGrid->addWidget(Rule(calculation), 2, 1);
  calculationGrid->addWidget(percentSetupFeeLabel, 3, 1);
  calculationGrid->setColumnMinimumWidth(2, 24);
  calculationGrid->setColumnStretch(2, 1);
  calculationGrid->addWidget(Words("Actual setup fee"), 3, 3);
  calculationGrid->addWidget(actualSetupFeeLabel, 3, 4);
  return calculation;
}

QGroupBox* SetupFeeDialog::FinancingGroup() {
  auto* financing = new QGroupBox("Setup Fee Financing", this);
  auto* financingGrid = new QGridLayout(financing);
  financingGrid->addWidget(Words("Setup fee"), 0, 0);
  financingGrid->addWidget(setupFeeLabel, 0, 1);
  financingGrid->addWidget(Words("Cash down payment"), 1, 0);
  financingGrid->addWidget(downPaymentLabel, 1, 1);
  financingGrid->addWidget(Rule(financing), 2, 1);
  financingGrid->addWidget(Words("Amount financed"), 3, 0);
  financingGrid->addWidget(setupFeeFinancedLabel, 3, 1);
  financingGrid->setColumnStretch(2, 1);
  return financing;
}

QHBoxLayout* SetupFeeDialog::FootnoteRow(int fieldWidth) {
  auto* footnote = new QHBoxLayout;
  auto* note = Words(
      "*If the setup fee is financed, it will affect the total interest saved.  In this case, "
      "the total interest saved with the setup fee is");
  note->setWordWrap(true);
  footnote->addWidget(note, 1);
  footnote->addWidget(interestSavedLabel, 0, Qt::AlignBottom);
  footnote->addSpacing(fieldWidth / 2);
  return footnote;
}

void SetupFeeDialog::FillFields(const SetupFeeValues& values) {
  shown_ = values;
  const auto fill = [](AmountField* field, double value) {
    field->SetNumericValue(value);
    return field->NumericValue();
  };
  shownFields_[0] = fill(feesAmountField, static_cast<double>(values.SetupFee.Units()));
  shownFields_[1] = fill(setupFeeRateField, values.SetupFeeRate.InPercent().Value());
  shownFields_[2] = fill(downPaymentField, static_cast<double>(values.DownPayment.Units()));
  shownFields_[3] = fill(minSavingsField, static_cast<double>(values.MinSavings.Units()));
  shownFields_[4] = fill(minSetupFeeField, static_cast<double>(values.MinSetupFee.Units()));
  shownFields_[5] = fill(minDownPaymentField, static_cast<double>(values.MinDownPayment.Units()));
}

SetupFeeValues SetupFeeDialog::FieldValues() const {
  const auto amount = [this](int index, const AmountField* field, Money plan) {
    const double value = field->NumericValue();
    return value == shownFields_[index] ? plan : Money::FromUnits(value);
  };
  SetupFeeValues values;
  values.SetupFee = amount(0, feesAmountField, shown_.SetupFee);
  const double rate = setupFeeRateField->NumericValue();
  values.SetupFeeRate = rate == shownFields_[1] ? shown_.SetupFeeRate : Ratio(rate / 100);
  values.DownPayment = amount(2, downPaymentField, shown_.DownPayment);
  values.MinSavings = amount(3, minSavingsField, shown_.MinSavings);
  values.MinSetupFee = amount(4, minSetupFeeField, shown_.MinSetupFee);
  values.MinDownPayment = amount(5, minDownPaymentField, shown_.MinDownPayment);
  return values;
}

void SetupFeeDialog::FieldExit() {
  if (closed_) return;  // a field losing the focus as the dialog goes stores nothing
  const SetupFeeValues values = FieldValues();
  StoreSetupFee(session_, values);
  // What is stored now counts as shown, so passing the field again changes nothing. The
  // fields keep their texts: the one being entered is not disturbed.
  shown_ = values;
  const AmountField* fields[] = {feesAmountField, setupFeeRateField, downPaymentField,
                                 minSavingsField, minSetupFeeField,  minDownPaymentField};
  for (int i = 0; i < 6; ++i) shownFields_[i] = fields[i]->NumericValue();
  recalculate_();
}

void SetupFeeDialog::ShowFigures(const SetupFeeFigures& figures) {
  noFeeInterestSavedLabel->setText(Q(figures.noFeeInterestSaved));
  setupFeeRateLabel->setText(Q(figures.setupFeeRate));
  percentSetupFeeLabel->setText(Q(figures.percentSetupFee));
  actualSetupFeeLabel->setText(Q(figures.actualSetupFee));
  setupFeeLabel->setText(Q(figures.actualSetupFee));
  downPaymentLabel->setText(Q(figures.downPayment));
  setupFeeFinancedLabel->setText(Q(figures.setupFeeFinanced));
  interestSavedLabel->setText(Q(figures.interestSaved));
}

void SetupFeeDialog::accept() {
  closed_ = true;
  // Enter takes OK without leaving the field typed in; what it holds counts all the same.
  const SetupFeeValues values = FieldValues();
  if (StoreSetupFee(session_, values)) recalculate_();
  QDialog::accept();
}

void SetupFeeDialog::reject() {
  closed_ = true;
  StoreSetupFee(session_, remembered_);
  recalculate_();
  QDialog::reject();
}

}  // namespace ardvane
