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
  chkConsolidate->setVisible(params.PermitConsolidate);
  chkNegotiate->setVisible(permitNegotiate_);
  ntmskMinimumPaymentRate->setEnabled(!params.DisableMinimumPaymentRate);
  // Without restructuring the dialog is compact: the terms column and its spacer go.
  pnlSpacer->setVisible(permitNegotiate_);
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
  // The fields, created in tab order.
  txtName = new QLineEdit(this);
  WatchHelp(txtName, "description.txt");
  connect(txtName, &QLineEdit::textChanged, this, &DebtDialog::FieldChanged);
  ntmskBalance = NewMask(mtCurrency, 2, "balance.txt");
  ntmskInterestRate = NewMask(mtPercent, 3, "interestrate.txt");
  ntmskMinimumPayment = NewMask(mtCurrency, 2, "minimumamount.txt");
  ntmskMinimumPaymentRate = NewMask(mtPercent, 1, "minimumrate.txt");
  chkUseMinimum = new QCheckBox(this);
  WatchHelp(chkUseMinimum, "useminimum.txt");
  connect(chkUseMinimum, &QCheckBox::clicked, this, &DebtDialog::UseMinimumClicked);
  ntmskCurrentPayment = NewMask(mtCurrency, 2, "payment.txt");
  lblPayment = new QLabel(this);
  ntmskEscrow = NewMask(mtCurrency, 2, "escrow.txt");
  cboCompoundingPeriod = new QComboBox(this);
  cboCompoundingPeriod->addItems({"Daily", "Monthly", "Quarterly", "Semi-Annually", "Annually"});
  WatchHelp(cboCompoundingPeriod, "compounding.txt");
  connect(cboCompoundingPeriod, &QComboBox::currentIndexChanged, this, &DebtDialog::FieldChanged);
  chkConsolidate = new QCheckBox("Consolidate this debt into a new consolidation loan", this);
  WatchHelp(chkConsolidate, "consolidate.txt");
  connect(chkConsolidate, &QCheckBox::clicked, this, &DebtDialog::FieldChanged);

  chkNegotiate = new QCheckBox("Refinance / Restructure this debt", this);
  WatchHelp(chkNegotiate, "negotiate.txt");
  connect(chkNegotiate, &QCheckBox::clicked, this, &DebtDialog::NegotiateClicked);
  grpNegotiate = new QGroupBox("Restructured Terms", this);
  ntmskNegotiatedBalance = NewMask(mtCurrency, 2, "negotiatedbalance.txt");
  ntmskNegotiatedInterestRate = NewMask(mtPercent, 3, "negotiatedinterestrate.txt");
  ntmskNegotiatedMinimumPayment = NewMask(mtCurrency, 2, "negotiatedminimumamount.txt");
  spdbtnCalculate = new QToolButton(this);
  spdbtnCalculate->setText("...");
  spdbtnCalculate->setToolTip("Calculate Payment");
  spdbtnCalculate->setFocusPolicy(Qt::NoFocus);
  connect(spdbtnCalculate, &QToolButton::clicked, this, &DebtDialog::CalculatePayment);

  btnPrevious = new QPushButton("<-", this);
  WatchHelp(btnPrevious, "priordebt.txt");
  connect(btnPrevious, &QPushButton::clicked, this, [this] { Move(-1); });
  lblSelectedDebt = new QLabel(this);
  lblSelectedDebt->setAlignment(Qt::AlignCenter);
  btnNext = new QPushButton("->", this);
  WatchHelp(btnNext, "nextdebt.txt");
  connect(btnNext, &QPushButton::clicked, this, [this] { Move(+1); });
  BitBtn1 = new QPushButton("OK", this);
  BitBtn1->setDefault(true);
  WatchHelp(BitBtn1, "OK.txt");
  connect(BitBtn1, &QPushButton::clicked, this, &DebtDialog::accept);
  BitBtn2 = new QPushButton("Cancel", this);
  WatchHelp(BitBtn2, "cancel.txt");
  connect(BitBtn2, &QPushButton::clicked, this, &DebtDialog::reject);

  grpHelp = new QGroupBox("Help", this);
  memoHelp = new QPlainTextEdit(grpHelp);
  memoHelp->setReadOnly(true);
  memoHelp->setFocusPolicy(Qt::NoFocus);

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
  addRow("Description", txtName, 2);
  addRow("Current Balance", ntmskBalance);
  addRow("Annual Interest Rate", ntmskInterestRate);
  addRow("Minimum Monthly Payment ($)", ntmskMinimumPayment);
  addRow("Minimum Monthly Payment (%)", ntmskMinimumPaymentRate);
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
    useBox->addWidget(chkUseMinimum, 0, Qt::AlignHCenter);
    useBox->addWidget(minimum, 0, Qt::AlignHCenter);
    fields->addLayout(useBox, row - 2, 2, 2, 1, Qt::AlignVCenter);
  }
  addRow("Current Monthly Payment", ntmskCurrentPayment);
  fields->addWidget(lblPayment, row - 1, 1);
  // The label stands in for the field; keep the row's height when they swap.
  lblPayment->setMinimumHeight(ntmskCurrentPayment->sizeHint().height());
  addRow("Monthly Escrow Payment", ntmskEscrow);
  addRow("Compounding Period", cboCompoundingPeriod);
  fields->addWidget(chkConsolidate, row++, 0, 1, 3);
  fields->setColumnStretch(1, 1);
  fields->setRowStretch(row, 1);

  // The restructured terms, right of the debt's own.
  auto* terms = new QGridLayout(grpNegotiate);
  terms->addWidget(new QLabel("Balance", grpNegotiate), 0, 0);
  terms->addWidget(ntmskNegotiatedBalance, 0, 1);
  terms->addWidget(new QLabel("Annual Interest Rate", grpNegotiate), 1, 0);
  terms->addWidget(ntmskNegotiatedInterestRate, 1, 1);
  terms->addWidget(new QLabel("Minimum Monthly Payment ($)", grpNegotiate), 2, 0);
  terms->addWidget(ntmskNegotiatedMinimumPayment, 2, 1);
  terms->addWidget(spdbtnCalculate, 2, 2);
  terms->setColumnStretch(1, 1);

  pnlSpacer = new QWidget(this);
  auto* right = new QVBoxLayout(pnlSpacer);
  right->setContentsMargins(0, 0, 0, 0);
  right->addWidget(chkNegotiate);
  right->addWidget(grpNegotiate);
  right->addStretch(1);

  auto* top = new QHBoxLayout;
  top->addLayout(fields, 1);
  top->addSpacing(fontMetrics().averageCharWidth() * 2);
  top->addWidget(pnlSpacer, 1);

  auto* helpLayout = new QVBoxLayout(grpHelp);
  helpLayout->addWidget(memoHelp);
  // Room for a help paragraph at the platform's font: about seven lines.
  memoHelp->setFixedHeight(memoHelp->fontMetrics().lineSpacing() * 7 + 2 * memoHelp->frameWidth() +
                           8);

  pnlNavigate = new QWidget(this);
  auto* navigate = new QHBoxLayout(pnlNavigate);
  navigate->setContentsMargins(0, 0, 0, 0);
  navigate->addWidget(btnPrevious);
  navigate->addWidget(lblSelectedDebt);
  navigate->addWidget(btnNext);
  lblSelectedDebt->setMinimumWidth(fontMetrics().horizontalAdvance("000 of 000") + 8);
  const int arrowWidth = fontMetrics().horizontalAdvance("->") * 3;
  btnPrevious->setFixedWidth(arrowWidth);
  btnNext->setFixedWidth(arrowWidth);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pnlNavigate);
  buttons->addStretch(1);
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);

  auto* main = new QVBoxLayout(this);
  main->addLayout(top);
  main->addWidget(grpHelp);
  main->addLayout(buttons);
  main->setSizeConstraint(QLayout::SetFixedSize);

  const std::pair<QWidget*, const char*> names[] = {
      {txtName, "txtName"},
      {ntmskBalance, "ntmskBalance"},
      {ntmskInterestRate, "ntmskInterestRate"},
      {ntmskMinimumPayment, "ntmskMinimumPayment"},
      {ntmskMinimumPaymentRate, "ntmskMinimumPaymentRate"},
      {chkUseMinimum, "chkUseMinimum"},
      {ntmskCurrentPayment, "ntmskCurrentPayment"},
      {lblPayment, "lblPayment"},
      {ntmskEscrow, "ntmskEscrow"},
      {cboCompoundingPeriod, "cboCompoundingPeriod"},
      {chkConsolidate, "chkConsolidate"},
      {pnlSpacer, "pnlSpacer"},
      {chkNegotiate, "chkNegotiate"},
      {grpNegotiate, "grpNegotiate"},
      {ntmskNegotiatedBalance, "ntmskNegotiatedBalance"},
      {ntmskNegotiatedInterestRate, "ntmskNegotiatedInterestRate"},
      {ntmskNegotiatedMinimumPayment, "ntmskNegotiatedMinimumPayment"},
      {spdbtnCalculate, "spdbtnCalculate"},
      {pnlNavigate, "pnlNavigate"},
      {btnPrevious, "btnPrevious"},
      {lblSelectedDebt, "lblSelectedDebt"},
      {btnNext, "btnNext"},
      {BitBtn1, "BitBtn1"},
      {BitBtn2, "BitBtn2"},
      {grpHelp, "grpHelp"},
      {memoHelp, "memoHelp"},
  };
  for (const auto& [widget, name] : names) widget->setObjectName(name);
}

void DebtDialog::StartAdd() {
  adding_ = true;
  setWindowTitle("Add Debt");
  currentDebt_ = session_.Plan().Debts.GetDebtCount();
  SetValues(DebtValues{});
  pnlNavigate->hide();
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
  txtName->setText(Q(v.name));
  ntmskBalance->SetNumericValue(v.balance);
  ntmskInterestRate->SetNumericValue(v.interestRate);
  ntmskMinimumPayment->SetNumericValue(v.minimumAmount);
  ntmskMinimumPaymentRate->SetNumericValue(v.minimumRate);
  ntmskCurrentPayment->SetNumericValue(v.currentPayment);
  ntmskEscrow->SetNumericValue(v.escrow);
  ntmskNegotiatedBalance->SetNumericValue(v.negotiatedBalance);
  ntmskNegotiatedInterestRate->SetNumericValue(v.negotiatedRate);
  ntmskNegotiatedMinimumPayment->SetNumericValue(v.negotiatedPayment);
  chkUseMinimum->setChecked(v.useMinimum);
  chkConsolidate->setChecked(v.consolidate);
  chkNegotiate->setChecked(v.negotiate);
  cboCompoundingPeriod->setCurrentIndex(LookupItemIndex(v.compounding));
  FieldChanged();
}

DebtValues DebtDialog::Values() const {
  DebtValues v;
  v.name = txtName->text().toStdString();
  v.balance = ntmskBalance->NumericValue();
  v.interestRate = ntmskInterestRate->NumericValue();
  v.minimumAmount = ntmskMinimumPayment->NumericValue();
  v.minimumRate = ntmskMinimumPaymentRate->NumericValue();
  v.currentPayment = ntmskCurrentPayment->NumericValue();
  v.escrow = ntmskEscrow->NumericValue();
  v.useMinimum = chkUseMinimum->isChecked();
  v.consolidate = chkConsolidate->isChecked();
  v.negotiate = chkNegotiate->isChecked();
  v.negotiatedBalance = ntmskNegotiatedBalance->NumericValue();
  v.negotiatedRate = ntmskNegotiatedInterestRate->NumericValue();
  v.negotiatedPayment = ntmskNegotiatedMinimumPayment->NumericValue();
  v.compounding = LookupCompoundingPeriod(cboCompoundingPeriod->currentIndex());
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
  btnPrevious->setEnabled(currentDebt_ > 0);
  btnNext->setEnabled(currentDebt_ < count - 1);
  lblSelectedDebt->setText(QString("%1 of %2").arg(currentDebt_ + 1).arg(count));
}

void DebtDialog::UpdateVisibility() {
  ntmskCurrentPayment->setVisible(!chkUseMinimum->isChecked());
  lblPayment->setVisible(chkUseMinimum->isChecked());
  grpNegotiate->setVisible(chkNegotiate->isChecked() && permitNegotiate_);
}

void DebtDialog::FieldChanged() {
  debtEdited_ = true;
  lblPayment->setText(Q(FormatMoney(EffectiveMinimumPayment(Values()), 2, session_.Regional())));
}

void DebtDialog::UseMinimumClicked() {
  UpdateVisibility();
  debtEdited_ = true;
}

void DebtDialog::NegotiateClicked() {
  if (chkNegotiate->isChecked()) {
    DebtValues v = Values();
    if (PrefillRestructuredTerms(v)) {
      ntmskNegotiatedBalance->SetNumericValue(v.negotiatedBalance);
      ntmskNegotiatedInterestRate->SetNumericValue(v.negotiatedRate);
      ntmskNegotiatedMinimumPayment->SetNumericValue(v.negotiatedPayment);
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
  calculator.SetBalance(ntmskNegotiatedBalance->NumericValue());
  calculator.SetRate(ntmskNegotiatedInterestRate->NumericValue() / 100.0);
  if (calculator.exec() == QDialog::Accepted) {
    ntmskNegotiatedMinimumPayment->SetNumericValue(calculator.Payment());
  }
}

bool DebtDialog::CloseQuery() {
  const ClosingResult result = RunClosingChecks(
      Values(), chkNegotiate->isChecked() && permitNegotiate_, session_.Regional(), messages_);
  if (result.focus) {
    switch (*result.focus) {
      case DebtFocus::MinimumAmount:
        ntmskMinimumPayment->setFocus();
        break;
      case DebtFocus::MinimumRate:
        ntmskMinimumPaymentRate->setFocus();
        break;
      case DebtFocus::CurrentPayment:
        ntmskCurrentPayment->setFocus();
        break;
      case DebtFocus::NegotiatedPayment:
        ntmskNegotiatedMinimumPayment->setFocus();
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
      memoHelp->setPlainText(
          QString::fromUtf8(ReadHelpText(programFolder_, helpFile.toString().toStdString())));
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace ardvane
