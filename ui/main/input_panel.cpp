#include "ui/main/input_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "engine/calendar.h"
#include "figures/strategies.h"
#include "ui/main/debt_grid_view.h"
#include "ui/widgets/amount_field.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {

namespace {

double Units(Money amount) { return static_cast<double>(amount.Units()); }

}  // namespace

QDate ToQDate(DayNumber day) {
  const CivilDate date = DecodeDate(day);
  return QDate(date.year, date.month, date.day);
}

DayNumber FromQDate(const QDate& date) {
  return EncodeDate(date.year(), date.month(), date.day());
}

InputPanel::InputPanel(const RegionalSettings& regional, DesignPixels px, QWidget* parent)
    : QWidget(parent), regional_(regional), px_(px) {
  setObjectName("pnlLeft");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 2, 4);
  BuildClient();
  BuildDebts();
  BuildAssumptions();
  BuildNewLoan();
  SetTabOrder();
}

AmountField* InputPanel::Mask(QWidget* parent, const char* name, AmountKind type, int decimals,
                              double limit) {
  auto* m = new AmountField(regional_, parent);
  m->setObjectName(name);
  m->SetMaskType(type);
  m->SetDecimalPlaces(decimals);
  if (limit > 0) {
    m->SetMaximumValue(limit);
    m->SetMinimumValue(-limit);
  }
  m->setAlignment(Qt::AlignRight);
  // Wide enough for $185,000.00 whole at this platform's font.
  m->setMinimumWidth(std::max(px_(75), m->fontMetrics().horizontalAdvance("$185,000.00") + px_(12)));
  return m;
}

void InputPanel::BuildClient() {
  auto* client = new QGroupBox("1. Provide &Client Information", this);
  client->setObjectName("grpClient");
  auto* row = new QHBoxLayout(client);
  firstNameField = new QLineEdit(client);
  firstNameField->setObjectName("txtFirstName");
  lastNameField = new QLineEdit(client);
  lastNameField->setObjectName("txtLastName");
  auto* first = new QLabel("First Name", client);
  first->setBuddy(firstNameField);
  auto* last = new QLabel("Last Name", client);
  last->setBuddy(lastNameField);
  row->addWidget(first);
  row->addWidget(firstNameField, 1);
  row->addWidget(last);
  row->addWidget(lastNameField, 1);
  static_cast<QVBoxLayout*>(layout())->addWidget(client);
}

void InputPanel::BuildDebts() {
  auto* debts = new QGroupBox("2. Enter &Debts", this);
  debts->setObjectName("grpDebts");
  auto* debtsLayout = new QVBoxLayout(debts);
  debtGrid = new DebtGridView(debts);
  debtGrid->setObjectName("gridDebts");
  const QFontMetrics metrics(debtGrid->font());
  debtGrid->verticalHeader()->setDefaultSectionSize(std::max(px_(18), metrics.height() + 6));
  debtsLayout->addWidget(debtGrid, 1);
  auto* strip = new QHBoxLayout;
  const auto button = [debts](const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(caption, debts);
    b->setObjectName(name);
    b->setToolTip(hint);
    return b;
  };
  newDebtButton = button("bitbtnNew", "&New", "Add a new debt (Insert)");
  editDebtButton = button("bitbtnEdit", "Ed&it", "Edit this debt (Enter)");
  deleteDebtButton = button("bitbtnDelete", "Dele&te", "Delete this debt (Delete)");
  moveUpButton = button("bitbtnUp", "", "Move this debt up one row (Ctrl+Up)");
  moveUpButton->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
  moveUpButton->setAccessibleName("Move up");
  moveDownButton = button("bitbtnDown", "", "Move this debt down one row (Ctrl+Down)");
  moveDownButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  moveDownButton->setAccessibleName("Move down");
  strip->addWidget(newDebtButton);
  strip->addWidget(editDebtButton);
  strip->addWidget(deleteDebtButton);
  strip->addStretch(1);
  strip->addWidget(moveUpButton);
  strip->addWidget(moveDownButton);
  debtsLayout->addLayout(strip);
  static_cast<QVBoxLayout*>(layout())->addWidget(debts, 1);
}

void InputPanel::BuildAssumptions() {
  assumptionsGroup = new QGroupBox("3. Establish Plan &Assumptions", this);
  assumptionsGroup->setObjectName("grpAssumptions");
  auto* form = new QGridLayout(assumptionsGroup);
  form->setVerticalSpacing(2);
  const auto smallButton = [this](const char* name, const char* hint) {
    auto* b = new QPushButton("...", assumptionsGroup);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setFixedWidth(std::max(px_(22), b->fontMetrics().horizontalAdvance("...") + px_(12)));
    return b;
  };
  planDateField = new QDateEdit(assumptionsGroup);
  planDateField->setObjectName("dtpPlanDate");
  planDateField->setCalendarPopup(true);
  // Qt's date patterns spell the year and month as the regional pattern does, apart from the
  // day-of-week and era letters the short date never uses.
  planDateField->setDisplayFormat(Q(regional_.shortDateFormat));
  planDateField->setMinimumDate(QDate(1900, 1, 1));
  planDateField->setMaximumDate(QDate(9999, 12, 31));
  priorityChoice = new QComboBox(assumptionsGroup);
  priorityChoice->setObjectName("cboPriority");
  for (int code = 0; code < kPriorityCodeCount; ++code) {
    priorityChoice->addItem(Q(std::string(PriorityCaption(code))));
  }
  priorityChoice->setMaxVisibleItems(10);
  powerPaymentButton = smallButton("btnAccelerator", "Power payment options");
  powerPaymentField = Mask(assumptionsGroup, "ntmskAccelerator", kCurrencyAmount, 2, 99999);
  annualPowerPaymentField =
      Mask(assumptionsGroup, "ntmskAnnualAccelerator", kCurrencyAmount, 2, 99999);
  returnRateField = Mask(assumptionsGroup, "ntmskReturnRate", kPercentAmount, 2, 0);
  setupFeeButton = smallButton("btnSetupFee", "Plan fees");
  feesAmountField = Mask(assumptionsGroup, "ntmskFeesAmount", kCurrencyAmount, 2, 0);
  percentSetupFeeLabel = new QLabel(assumptionsGroup);
  percentSetupFeeLabel->setObjectName("lblPercentSetupFee");
  percentSetupFeeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  percentSetupFeeLabel->setToolTip(
      "The fee charged differs from the fee entered: click to see why");
  percentSetupFeeLabel->installEventFilter(this);
  SetFeeLabelLook(false);
  monthlyFeeField = Mask(assumptionsGroup, "ntmskMonthlyFee", kCurrencyAmount, 2, 0);

  const auto caption = [this](const char* text, QWidget* buddy) {
    auto* label = new QLabel(text, assumptionsGroup);
    label->setBuddy(buddy);
    return label;
  };
  int row = 0;
  form->addWidget(caption("Plan date", planDateField), row, 1);
  form->addWidget(planDateField, row, 2, 1, 2);
  ++row;
  form->addWidget(caption("Debt paydown priority", priorityChoice), row, 1);
  form->addWidget(priorityChoice, row, 2, 1, 4);
  ++row;
  form->addWidget(powerPaymentButton, row, 0);
  form->addWidget(caption("Power payment", powerPaymentField), row, 1);
  form->addWidget(powerPaymentField, row, 2);
  form->addWidget(caption("+", nullptr), row, 3);
  form->addWidget(annualPowerPaymentField, row, 4);
  form->addWidget(caption("/year", nullptr), row, 5);
  ++row;
  form->addWidget(caption("Investment growth rate", returnRateField), row, 1);
  form->addWidget(returnRateField, row, 2);
  ++row;
  form->addWidget(setupFeeButton, row, 0);
  form->addWidget(caption("Plan administration fees", feesAmountField), row, 1);
  // The label of the fee charged lies under the fee field and shows when the field hides.
  form->addWidget(percentSetupFeeLabel, row, 2);
  form->addWidget(feesAmountField, row, 2);
  form->addWidget(caption("+", nullptr), row, 3);
  form->addWidget(monthlyFeeField, row, 4);
  form->addWidget(caption("/month", nullptr), row, 5);
  // Fields keep a sensible width on a wide window; the room left goes to their right.
  form->setColumnStretch(2, 1);
  form->setColumnStretch(4, 1);
  form->setColumnStretch(6, 2);
  static_cast<QVBoxLayout*>(layout())->addWidget(assumptionsGroup);
}

void InputPanel::BuildNewLoan() {
  consolidationGroup = new QGroupBox("4. Determine New &Loan Parameters", this);
  consolidationGroup->setObjectName("grpConsolidation");
  auto* loan = new QGridLayout(consolidationGroup);
  loan->setVerticalSpacing(2);
  consolidateCheck =
      new QCheckBox("C&onsolidate debts and finance the initial setup fee", consolidationGroup);
  consolidateCheck->setObjectName("chkConsolidate");
  recommendationsButton = new QPushButton("&Recommendations", consolidationGroup);
  recommendationsButton->setObjectName("btnRecommendations");
  recommendationsButton->setFlat(true);
  recommendationsButton->setCursor(Qt::PointingHandCursor);
  recommendationsButton->setStyleSheet(
      "QPushButton { color: blue; text-decoration: underline; border: none; padding: 0 2px; }"
      "QPushButton:focus { outline: 1px dotted; border: 1px dotted palette(text); }"
      "QPushButton:disabled { color: gray; }");
  interestRateField = Mask(consolidationGroup, "ntmskInterestRate", kPercentAmount, 3, 0);
  interestOnlyCheck = new QCheckBox("Interest Onl&y", consolidationGroup);
  interestOnlyCheck->setObjectName("chkInterestOnly");
  feesRateField = Mask(consolidationGroup, "ntmskFeesRate", kPercentAmount, 3, 0);
  consolidationFeesField =
      Mask(consolidationGroup, "ntmskConsolidationFees", kCurrencyAmount, 2, 0);
  termField = Mask(consolidationGroup, "ntmskTerm", kNumberAmount, 0, 0);
  cashOutLabel = new QLabel("Cash out", consolidationGroup);
  cashOutLabel->setObjectName("lblCashOut");
  cashOutField = Mask(consolidationGroup, "ntmskCashOut", kCurrencyAmount, 2, 999999999);
  cashOutLabel->setBuddy(cashOutField);
  const auto caption = [this](const char* text, QWidget* buddy) {
    auto* label = new QLabel(text, consolidationGroup);
    label->setBuddy(buddy);
    return label;
  };
  loan->addWidget(consolidateCheck, 0, 0, 1, 4);
  loan->addWidget(recommendationsButton, 0, 4);
  loan->addWidget(caption("Interest rate", interestRateField), 1, 0);
  loan->addWidget(interestRateField, 1, 1);
  loan->addWidget(interestOnlyCheck, 1, 2, 1, 2);
  loan->addWidget(caption("Fees/Points", feesRateField), 2, 0);
  loan->addWidget(feesRateField, 2, 1);
  loan->addWidget(caption("+", nullptr), 2, 2);
  loan->addWidget(consolidationFeesField, 2, 3);
  loan->addWidget(caption("Term (years)", termField), 3, 0);
  loan->addWidget(termField, 3, 1);
  loan->addWidget(cashOutLabel, 4, 0);
  loan->addWidget(cashOutField, 4, 1);
  loan->setColumnStretch(1, 1);
  loan->setColumnStretch(3, 1);
  loan->setColumnStretch(5, 2);
  static_cast<QVBoxLayout*>(layout())->addWidget(consolidationGroup);
}

void InputPanel::SetTabOrder() {
  // Reading order: left to right, then down.
  const QWidget* order[] = {firstNameField,
                            lastNameField,
                            debtGrid,
                            newDebtButton,
                            editDebtButton,
                            deleteDebtButton,
                            moveUpButton,
                            moveDownButton,
                            planDateField,
                            priorityChoice,
                            powerPaymentButton,
                            powerPaymentField,
                            annualPowerPaymentField,
                            returnRateField,
                            setupFeeButton,
                            feesAmountField,
                            monthlyFeeField,
                            consolidateCheck,
                            recommendationsButton,
                            interestRateField,
                            interestOnlyCheck,
                            feesRateField,
                            consolidationFeesField,
                            termField,
                            cashOutField};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
  }
}

void InputPanel::ShowPlan(const PlanDocument& plan) {
  firstNameField->setText(Q(plan.FirstName));
  lastNameField->setText(Q(plan.LastName));
  planDateField->setDate(ToQDate(plan.Date));
  const int priority = PriorityCode(plan.Priority);
  priorityChoice->setCurrentIndex(priority >= 0 && priority < priorityChoice->count() ? priority
                                                                                       : -1);
  powerPaymentField->SetNumericValue(Units(plan.Accelerators[0].Monthly));
  annualPowerPaymentField->SetNumericValue(Units(plan.Accelerators[0].Annual));
  returnRateField->SetNumericValue(plan.ReturnRate.Value());
  feesAmountField->SetNumericValue(Units(plan.SetupFee));
  monthlyFeeField->SetNumericValue(Units(plan.ManagementFee));
  consolidateCheck->setChecked(plan.Consolidate);
  const ConsolidationLoanTerms& loan = plan.ConsolidationLoan;
  interestRateField->SetNumericValue(loan.InterestRate.Value());
  interestOnlyCheck->setChecked(loan.InterestOnly);
  feesRateField->SetNumericValue(loan.FeesRate.Value());
  consolidationFeesField->SetNumericValue(Units(loan.FeesAmount));
  termField->SetNumericValue(loan.Term);
  cashOutField->SetNumericValue(Units(loan.CashOut));
}

void InputPanel::ShowPermissions(bool consolidation, bool cashOut) {
  consolidationGroup->setVisible(consolidation);
  cashOutLabel->setVisible(consolidation && cashOut);
  cashOutField->setVisible(consolidation && cashOut);
  consolidationGroup->setFixedHeight(consolidationGroup->sizeHint().height());
}

void InputPanel::ShowFeeCharged(const std::string& feeText, bool feeAsEntered) {
  percentSetupFeeLabel->setText(Q(feeText));
  feesAmountField->setVisible(feeAsEntered);
  percentSetupFeeLabel->setVisible(!feeAsEntered);  // it lies under the field
}

void InputPanel::FitNameColumn(int least, int most) {
  const int wanted = std::max(static_cast<const QAbstractItemView*>(debtGrid)->sizeHintForColumn(0),
                              debtGrid->horizontalHeader()->sectionSizeHint(0));
  debtGrid->setColumnWidth(0, std::clamp(wanted, least, most));
}

void InputPanel::SetFeeLabelLook(bool link) {
  QFont font = percentSetupFeeLabel->font();
  font.setBold(true);
  font.setUnderline(link);
  percentSetupFeeLabel->setFont(font);
  QPalette palette = percentSetupFeeLabel->palette();
  palette.setColor(QPalette::WindowText,
                   link ? QColor(Qt::blue) : QApplication::palette().color(QPalette::WindowText));
  percentSetupFeeLabel->setPalette(palette);
  // The hand shows over the figure always: it can be clicked whenever it shows.
  percentSetupFeeLabel->setCursor(Qt::PointingHandCursor);
}

bool InputPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == percentSetupFeeLabel) {
    switch (event->type()) {
      case QEvent::Enter:
        SetFeeLabelLook(true);
        break;
      case QEvent::Leave:
      case QEvent::Hide:
        SetFeeLabelLook(false);
        break;
      case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
          SetFeeLabelLook(false);
          emit feeClicked();
          return true;
        }
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace ardvane
