#include "ui/dialogs/debt_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "figures/amount_format.h"
#include "figures/display_formats.h"
#include "planfiles/plan_session.h"
#include "ui/dialogs/payment_calculator.h"
#include "ui/widgets/amount_field.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

constexpr char kHelpProperty[] = "helpFile";

}  // namespace

DebtDialog::DebtDialog(PlanSession& session, MessageSink& messages,
                       std::filesystem::path programFolder, QWidget* parent)
    : QDialog(parent),
      session_(session),
      messages_(messages),
      programFolder_(std::move(programFolder)),
      permitNegotiate_(session.Params().PermitNegotiate) {
  setWindowTitle("Edit Debt");
  BuildLayout();

  const PlanParameters& params = session.Params();
  consolidateCheck->setVisible(params.PermitConsolidate);
  negotiateCheck->setVisible(permitNegotiate_);
  minimumPaymentRateField->setEnabled(!params.DisableMinimumPaymentRate);
  // Without restructuring the dialog is compact: the terms column and its spacer go.
  negotiatePanel->setVisible(permitNegotiate_);
  UpdateVisibility();
}

AmountField* DebtDialog::NewMask(int maskType, int decimals, const char* helpFile) {
  auto* mask = new AmountField(session_.Regional(), this);
  mask->SetMaskType(static_cast<AmountKind>(maskType));
  mask->SetDecimalPlaces(decimals);
  mask->SetNumericValue(0);
  connect(mask, &AmountField::changed, this, &DebtDialog::FieldChanged);
  WatchHelp(mask, helpFile);
  return mask;
}

void DebtDialog::WatchHelp(QWidget* control, const char* helpFile) {
  control->setProperty(kHelpProperty, QString::fromLatin1(helpFile));
  control->installEventFilter(this);
}

void DebtDialog::BuildLayout() {
  CreateFields();
  auto* top = new QHBoxLayout;
  top->addLayout(DebtTermsLayout(), 1);
  top->addSpacing(fontMetrics().averageCharWidth() * 2);
  top->addWidget(NegotiatePanel(), 1);

  auto* helpLayout = new QVBoxLayout(helpGroup);
  helpLayout->addWidget(helpText);
  // Room for a help paragraph at the platform's font: about seven lines.
  helpText->setFixedHeight(helpText->fontMetrics().lineSpacing() * 7 + 2 * helpText->frameWidth() +
                           8);

  navigatePanel = new QWidget(this);
  auto* navigate = new QHBoxLayout(navigatePanel);
  navigate->setContentsMargins(0, 0, 0, 0);
  navigate->addWidget(previousButton);
  navigate->addWidget(selectedDebtLabel);
  navigate->addWidget(nextButton);
  selectedDebtLabel->setMinimumWidth(fontMetrics().horizontalAdvance("000 of 000") + 8);
  const int arrowWidth = fontMetrics().horizontalAdvance("->") * 3;
  previousButton->setFixedWidth(arrowWidth);
  nextButton->setFixedWidth(arrowWidth);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(navigatePanel);
  buttons->addStretch(1);
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);

  auto* main = new QVBoxLayout(this);
  main->addLayout(top);
  main->addWidget(helpGroup);
  main->addLayout(buttons);
  main->setSizeConstraint(QLayout::SetFixedSize);
  NameWidgets();
}

void DebtDialog::CreateFields() {
  // The fields, created in tab order.
  nameField = new QLineEdit(this);
  WatchHelp(nameField, "description.txt");
  connect(nameField, &QLineEdit::textChanged, this, &DebtDialog::FieldChanged);
  balanceField = NewMask(kCurrencyAmount, 2, "balance.txt");
  interestRateField = NewMask(kPercentAmount, 3, "interestrate.txt");
  minimumPaymentField = NewMask(kCurrencyAmount, 2, "minimumamount.txt");
  minimumPaymentRateField = NewMask(kPercentAmount, 1, "minimumrate.txt");
  useMinimumCheck = new QCheckBox(this);
  WatchHelp(useMinimumCheck, "useminimum.txt");
  connect(useMinimumCheck, &QCheckBox::clicked, this, &DebtDialog::UseMinimumClicked);
  currentPaymentField = NewMask(kCurrencyAmount, 2, "payment.txt");
  paymentLabel = new QLabel(this);
  escrowField = NewMask(kCurrencyAmount, 2, "escrow.txt");
  compoundingChoice = new QComboBox(this);
  compoundingChoice->addItems({"Daily", "Monthly", "Quarterly", "Semi-Annually", "Annually"});
  WatchHelp(compoundingChoice, "compounding.txt");
  connect(compoundingChoice, &QComboBox::currentIndexChanged, this, &DebtDialog::FieldChanged);
  consolidateCheck = new QCheckBox("Consolidate this debt into a new consolidation loan", this);
  WatchHelp(consolidateCheck, "consolidate.txt");
  connect(consolidateCheck, &QCheckBox::clicked, this, &DebtDialog::FieldChanged);

  negotiateCheck = new QCheckBox("Refinance / Restructure this debt", this);
  WatchHelp(negotiateCheck, "negotiate.txt");
  connect(negotiateCheck, &QCheckBox::clicked, this, &DebtDialog::NegotiateClicked);
  negotiatedGroup = new QGroupBox("Restructured Terms", this);
  negotiatedBalanceField = NewMask(kCurrencyAmount, 2, "negotiatedbalance.txt");
  negotiatedInterestRateField = NewMask(kPercentAmount, 3, "negotiatedinterestrate.txt");
  negotiatedMinimumPaymentField = NewMask(kCurrencyAmount, 2, "negotiatedminimumamount.txt");
  calculatePaymentButton = new QToolButton(this);
  calculatePaymentButton->setText("...");
  calculatePaymentButton->setToolTip("Calculate Payment");
  calculatePaymentButton->setFocusPolicy(Qt::NoFocus);
  connect(calculatePaymentButton, &QToolButton::clicked, this, &DebtDialog::CalculatePayment);

  previousButton = new QPushButton("<-", this);
  WatchHelp(previousButton, "priordebt.txt");
  connect(previousButton, &QPushButton::clicked, this, [this] { Move(-1); });
  selectedDebtLabel = new QLabel(this);
  selectedDebtLabel->setAlignment(Qt::AlignCenter);
  nextButton = new QPushButton("->", this);
  WatchHelp(nextButton, "nextdebt.txt");
  connect(nextButton, &QPushButton::clicked, this, [this] { Move(+1); });
  okButton = new QPushButton("OK", this);
  okButton->setDefault(true);
  WatchHelp(okButton, "OK.txt");
  connect(okButton, &QPushButton::clicked, this, &DebtDialog::accept);
  cancelButton = new QPushButton("Cancel", this);
  WatchHelp(cancelButton, "cancel.txt");
  connect(cancelButton, &QPushButton::clicked, this, &DebtDialog::reject);

  helpGroup = new QGroupBox("Help", this);
  helpText = new QPlainTextEdit(helpGroup);
  helpText->setReadOnly(true);
  helpText->setFocusPolicy(Qt::NoFocus);
}

QGridLayout* DebtDialog::DebtTermsLayout() {
  // The debt's own terms: labels on the left, fields beside them.
  auto* fields = new QGridLayout;
  int row = 0;
  auto addRow = [&](const char* caption, QWidget* field, int columns = 1) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(field);
    fields->addWidget(label, row, 0);
    fields->addWidget(field, row, 1, 1, columns);
    ++row;
  };
  addRow("Description", nameField, 2);
  addRow("Current Balance", balanceField);
  addRow("Annual Interest Rate", interestRateField);
  addRow("Minimum Monthly Payment ($)", minimumPaymentField);
  addRow("Minimum Monthly Payment (%)", minimumPaymentRateField);
  {
    // The "use minimum" box between its two small labels, beside both minimum fields.
    auto* useBox = new QVBoxLayout;
    useBox->setSpacing(0);
    auto* use = new QLabel("use", this);
    auto* minimum = new QLabel("minimum", this);
    QFont small = use->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    use->setFont(small);
    minimum->setFont(small);
    useBox->addWidget(use, 0, Qt::AlignHCenter);
    useBox->addWidget(useMinimumCheck, 0, Qt::AlignHCenter);
    useBox->addWidget(minimum, 0, Qt::AlignHCenter);
    fields->addLayout(useBox, row - 2, 2, 2, 1, Qt::AlignVCenter);
  }
  addRow("Current Monthly Payment", currentPaymentField);
  fields->addWidget(paymentLabel, row - 1, 1);
  // The label stands in for the field; keep the row's height when they swap.
  paymentLabel->setMinimumHeight(currentPaymentField->sizeHint().height());
  addRow("Monthly Escrow Payment", escrowField);
  addRow("Compounding Period", compoundingChoice);
  fields->addWidget(consolidateCheck, row++, 0, 1, 3);
  fields->setColumnStretch(1, 1);
  fields->setRowStretch(row, 1);
  return fields;
}

QWidget* DebtDialog::NegotiatePanel() {
  // The restructured terms, right of the debt's own.
  auto* terms = new QGridLayout(negotiatedGroup);
  terms->addWidget(new QLabel("Balance", negotiatedGroup), 0, 0);
  terms->addWidget(negotiatedBalanceField, 0, 1);
  terms->addWidget(new QLabel("Annual Interest Rate", negotiatedGroup), 1, 0);
  terms->addWidget(negotiatedInterestRateField, 1, 1);
  terms->addWidget(new QLabel("Minimum Monthly Payment ($)", negotiatedGroup), 2, 0);
  terms->addWidget(negotiatedMinimumPaymentField, 2, 1);
  terms->addWidget(calculatePaymentButton, 2, 2);
  terms->setColumnStretch(1, 1);

  negotiatePanel = new QWidget(this);
  auto* right = new QVBoxLayout(negotiatePanel);
  right->setContentsMargins(0, 0, 0, 0);
  right->addWidget(negotiateCheck);
  right->addWidget(negotiatedGroup);
  right->addStretch(1);
  return negotiatePanel;
}

void DebtDialog::NameWidgets() {
  const std::pair<QWidget*, const char*> names[] = {
      {nameField, "txtName"},
      {balanceField, "ntmskBalance"},
      {interestRateField, "ntmskInterestRate"},
      {minimumPaymentField, "ntmskMinimumPayment"},
      {minimumPaymentRateField, "ntmskMinimumPaymentRate"},
      {useMinimumCheck, "chkUseMinimum"},
      {currentPaymentField, "ntmskCurrentPayment"},
      {paymentLabel, "lblPayment"},
      {escrowField, "ntmskEscrow"},
      {compoundingChoice, "cboCompoundingPeriod"},
      {consolidateCheck, "chkConsolidate"},
      {negotiatePanel, "pnlSpacer"},
      {negotiateCheck, "chkNegotiate"},
      {negotiatedGroup, "grpNegotiate"},
      {negotiatedBalanceField, "ntmskNegotiatedBalance"},
      {negotiatedInterestRateField, "ntmskNegotiatedInterestRate"},
      {negotiatedMinimumPaymentField, "ntmskNegotiatedMinimumPayment"},
      {calculatePaymentButton, "spdbtnCalculate"},
      {navigatePanel, "pnlNavigate"},
      {previousButton, "btnPrevious"},
      {selectedDebtLabel, "lblSelectedDebt"},
      {nextButton, "btnNext"},
      {okButton, "BitBtn1"},
      {cancelButton, "BitBtn2"},
      {helpGroup, "grpHelp"},
      {helpText, "memoHelp"},
  };
  for (const auto& [widget, name] : names) widget->setObjectName(name);
}

void DebtDialog::StartAdd() {
  adding_ = true;
  setWindowTitle("Add Debt");
  currentDebt_ = session_.Plan().Debts.GetDebtCount();
  SetValues(DebtValues{});
  navigatePanel->hide();
  UpdateVisibility();
  debtEdited_ = false;
}

void DebtDialog::StartEdit(int index) {
  adding_ = false;
  setWindowTitle("Edit Debt");
  currentDebt_ = index;
  PopulateFields(index);
  EnableBackNext();
}

void DebtDialog::SetValues(const DebtValues& v) {
  nameField->setText(Q(v.name));
  balanceField->SetNumericValue(v.balance);
  interestRateField->SetNumericValue(v.interestRate);
  minimumPaymentField->SetNumericValue(v.minimumAmount);
  minimumPaymentRateField->SetNumericValue(v.minimumRate);
  currentPaymentField->SetNumericValue(v.currentPayment);
  escrowField->SetNumericValue(v.escrow);
  negotiatedBalanceField->SetNumericValue(v.negotiatedBalance);
  negotiatedInterestRateField->SetNumericValue(v.negotiatedRate);
  negotiatedMinimumPaymentField->SetNumericValue(v.negotiatedPayment);
  useMinimumCheck->setChecked(v.useMinimum);
  consolidateCheck->setChecked(v.consolidate);
  negotiateCheck->setChecked(v.negotiate);
  compoundingChoice->setCurrentIndex(LookupItemIndex(v.compounding));
  FieldChanged();
}

DebtValues DebtDialog::Values() const {
  DebtValues v;
  v.name = nameField->text().toStdString();
  v.balance = balanceField->NumericValue();
  v.interestRate = interestRateField->NumericValue();
  v.minimumAmount = minimumPaymentField->NumericValue();
  v.minimumRate = minimumPaymentRateField->NumericValue();
  v.currentPayment = currentPaymentField->NumericValue();
  v.escrow = escrowField->NumericValue();
  v.useMinimum = useMinimumCheck->isChecked();
  v.consolidate = consolidateCheck->isChecked();
  v.negotiate = negotiateCheck->isChecked();
  v.negotiatedBalance = negotiatedBalanceField->NumericValue();
  v.negotiatedRate = negotiatedInterestRateField->NumericValue();
  v.negotiatedPayment = negotiatedMinimumPaymentField->NumericValue();
  v.compounding = LookupCompoundingPeriod(compoundingChoice->currentIndex());
  return v;
}

Debt DebtDialog::EnteredDebt() const { return DebtFromValues(Values()); }

void DebtDialog::PopulateFields(int index) {
  const DebtList& debts = session_.Plan().Debts;
  SetValues(debts.ValidRow(index) ? DebtValuesOf(debts.At(index)) : DebtValues{});
  UpdateVisibility();
  debtEdited_ = false;
}

void DebtDialog::SaveChanges(int index) { session_.EditDebt(index, EnteredDebt()); }

void DebtDialog::EnableBackNext() {
  const int count = session_.Plan().Debts.GetDebtCount();
  previousButton->setEnabled(currentDebt_ > 0);
  nextButton->setEnabled(currentDebt_ < count - 1);
  selectedDebtLabel->setText(QString("%1 of %2").arg(currentDebt_ + 1).arg(count));
}

void DebtDialog::UpdateVisibility() {
  currentPaymentField->setVisible(!useMinimumCheck->isChecked());
  paymentLabel->setVisible(useMinimumCheck->isChecked());
  negotiatedGroup->setVisible(negotiateCheck->isChecked() && permitNegotiate_);
}

void DebtDialog::FieldChanged() {
  debtEdited_ = true;
  paymentLabel->setText(Q(FormatMoney(EffectiveMinimumPayment(Values()), 2, session_.Regional())));
}

void DebtDialog::UseMinimumClicked() {
  UpdateVisibility();
  debtEdited_ = true;
}

void DebtDialog::NegotiateClicked() {
  if (negotiateCheck->isChecked()) {
    DebtValues v = Values();
    if (PrefillRestructuredTerms(v)) {
      negotiatedBalanceField->SetNumericValue(v.negotiatedBalance);
      negotiatedInterestRateField->SetNumericValue(v.negotiatedRate);
      negotiatedMinimumPaymentField->SetNumericValue(v.negotiatedPayment);
    }
  }
  UpdateVisibility();
  debtEdited_ = true;
}

void DebtDialog::Move(int step) {
  const int count = session_.Plan().Debts.GetDebtCount();
  const int target = currentDebt_ + step;
  if (target < 0 || target >= count) return;
  if (debtEdited_) {
    // A debt that OK would refuse is not stored by moving on either: the same messages, and
    // the dialog stays on it so it can be put right.
    if (!CloseQuery()) return;
    wroteBack_ = true;
    SaveChanges(currentDebt_);
  }
  currentDebt_ = target;
  PopulateFields(currentDebt_);
  emit debtShown(currentDebt_);
  EnableBackNext();
}

void DebtDialog::CalculatePayment() {
  PaymentCalculator calculator(session_.Regional(), this);
  calculator.SetBalance(negotiatedBalanceField->NumericValue());
  calculator.SetRate(negotiatedInterestRateField->NumericValue() / 100.0);
  if (calculator.exec() == QDialog::Accepted) {
    negotiatedMinimumPaymentField->SetNumericValue(calculator.Payment());
  }
}

bool DebtDialog::CloseQuery() {
  const ClosingResult result = RunClosingChecks(
      Values(), negotiateCheck->isChecked() && permitNegotiate_, session_.Regional(), messages_);
  if (result.focus) {
    switch (*result.focus) {
      case DebtFocus::MinimumAmount:
        minimumPaymentField->setFocus();
        break;
      case DebtFocus::MinimumRate:
        minimumPaymentRateField->setFocus();
        break;
      case DebtFocus::CurrentPayment:
        currentPaymentField->setFocus();
        break;
      case DebtFocus::NegotiatedPayment:
        negotiatedMinimumPaymentField->setFocus();
        break;
    }
  }
  return result.mayClose;
}

void DebtDialog::accept() {
  if (!CloseQuery()) return;
  if (adding_) {
    session_.AddDebt(EnteredDebt());
  } else {
    SaveChanges(currentDebt_);
  }
  closing_ = true;
  QDialog::accept();
}

void DebtDialog::reject() {
  cancelled_ = true;
  closing_ = true;
  QDialog::reject();
}

void DebtDialog::closeEvent(QCloseEvent* event) {
  // The window's own close button: the same checks as OK, then it counts as Cancel.
  if (closing_) {
    event->accept();
    return;
  }
  if (!CloseQuery()) {
    event->ignore();
    return;
  }
  closing_ = true;
  event->accept();
  QDialog::done(QDialog::Rejected);
}

void DebtDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!adding_) EnableBackNext();
}

bool DebtDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const QVariant helpFile = watched->property(kHelpProperty);
    if (helpFile.isValid()) {
      helpText->setPlainText(
          QString::fromUtf8(ReadHelpText(programFolder_, helpFile.toString().toStdString())));
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace ardvane
