#include "ui/dialogs/accelerator_dialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "engine/month_names.h"
#include "figures/display_formats.h"
#include "inputs/plan_fee_values.h"
#include "planfiles/plan_session.h"
#include "ui/widgets/amount_field.h"
#include "ui/widgets/dialog_buttons.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

constexpr double kAcceleratorLimit = 99999;

constexpr const char* kParagraphs[] = {
    "The power payment is an additional payment amount that goes straight to principal for "
    "fast debt elimination.",
    "The Ardvane allows you to illustrate up to three different power payments.  The first "
    "power payment will be used in the main analysis, and the other two will be illustrated as "
    "options in the printed plan.",
    "Each power payment has a monthly and an annual amount.  The monthly amount will be "
    "applied to the analysis every month.  The annual amount will be applied once per year in "
    "the month you select.",
    "Power payments can be either positive or negative.  To illustrate additional money being "
    "applied to the analysis (an increased total payment), enter a positive number.  To "
    "illustrate a reduced total payment amount, enter a negative number.",
};

struct Row {
  const char* caption;
  const char* monthly;
  const char* annual;
  const char* month;
};
constexpr Row kRows[3] = {
    {"Power payment", "ntmskAccelerator", "ntmskAnnualAccelerator", "cboAcceleratorMonth"},
    {"Optional power payment 1", "ntmskAccelerator1", "ntmskAnnualAccelerator1",
     "cboAcceleratorMonth1"},
    {"Optional power payment 2", "ntmskAccelerator2", "ntmskAnnualAccelerator2",
     "cboAcceleratorMonth2"},
};

// The month a year before the proposed debt-free date, or five years after the plan month
// for a plan that never gets there; never before the plan month.
QDate DefaultGoal(DayNumber planDate, DayNumber proposedDebtFree) {
  const YearMonth start = YearMonthOf(planDate);
  YearMonth goal = YearMonthOf(AddMonths(planDate, 60));
  if (proposedDebtFree > 0) goal = std::max(start, YearMonthOf(AddMonths(proposedDebtFree, -12)));
  return QDate(goal.year, goal.month, 1);
}

}  // namespace

AcceleratorDialog::AcceleratorDialog(PlanSession& session, const RegionalSettings& regional,
                                     const PlanParameters& params, const AppSettings& settings,
                                     DayNumber proposedDebtFree, QWidget* parent)
    : QDialog(parent),
      session_(session),
      regional_(regional),
      params_(params),
      settings_(settings) {
  setObjectName("frmAccelerator");
  setWindowTitle("Power Payment");
  auto* layout = new QVBoxLayout(this);
  const std::vector<QLabel*> paragraphs = AddParagraphs(*layout);
  QGridLayout* options = PowerPaymentRows();
  layout->addSpacing(6);
  layout->addLayout(options);
  layout->addSpacing(6);
  layout->addLayout(GoalRow(proposedDebtFree));
  ConnectGoal();
  ShowNeededPowerPayment();
  // The paragraphs wrap at the width of the three rows below them.
  const int textWidth =
      std::max(options->sizeHint().width(), fontMetrics().averageCharWidth() * 80);
  for (QLabel* label : paragraphs) label->setFixedWidth(textWidth);

  const OkCancelButtons buttons = AddOkCancelRow(*this, *layout);
  okButton = buttons.ok;
  cancelButton = buttons.cancel;
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::vector<QLabel*> AcceleratorDialog::AddParagraphs(QVBoxLayout& layout) {
  std::vector<QLabel*> paragraphs;
  for (const char* paragraph : kParagraphs) {
    auto* label = new QLabel(paragraph, this);
    label->setWordWrap(true);
    layout.addWidget(label);
    paragraphs.push_back(label);
  }
  return paragraphs;
}

QGridLayout* AcceleratorDialog::PowerPaymentRows() {
  const int fieldWidth = fontMetrics().horizontalAdvance("($99,999.00)") + 16;
  const auto amountField = [&](const char* name, Money value) {
    auto* field = new AmountField(regional_, this);
    field->setObjectName(name);
    field->SetMaskType(kCurrencyAmount);
    field->SetDecimalPlaces(2);
    field->SetLimits(-kAcceleratorLimit, kAcceleratorLimit);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(fieldWidth);
    field->SetNumericValue(static_cast<double>(value.Units()));
    return field;
  };
  auto* grid = new QGridLayout;
  for (int i = 0; i < 3; ++i) {
    const Accelerator& accelerator = session_.Plan().Accelerators[i];
    monthly_[i] = amountField(kRows[i].monthly, accelerator.Monthly);
    annual_[i] = amountField(kRows[i].annual, accelerator.Annual);
    month_[i] = new QComboBox(this);
    month_[i]->setObjectName(kRows[i].month);
    for (int m = 1; m <= 12; ++m) month_[i]->addItem(Q(GetMonthName(m, Language::kEnglish)));
    month_[i]->setMaxVisibleItems(12);
    month_[i]->setCurrentIndex(MonthListIndex(accelerator.Month));
    grid->addWidget(new QLabel(kRows[i].caption, this), i, 0);
    grid->addWidget(monthly_[i], i, 1);
    grid->addWidget(new QLabel("per month and", this), i, 2);
    grid->addWidget(annual_[i], i, 3);
    grid->addWidget(new QLabel("each", this), i, 4);
    grid->addWidget(month_[i], i, 5);
  }
  grid->setColumnStretch(6, 1);
  return grid;
}

// What it takes to be debt free by a chosen month.
QHBoxLayout* AcceleratorDialog::GoalRow(DayNumber proposedDebtFree) {
  const DayNumber planDate = session_.Plan().Date;
  auto* goalRow = new QHBoxLayout;
  auto* goalCaption = new QLabel("Debt free &by", this);
  debtFreeByField_ = new QDateEdit(this);
  debtFreeByField_->setObjectName("dtpDebtFreeBy");
  debtFreeByField_->setDisplayFormat("MMM yyyy");
  const CivilDate start = DecodeDate(planDate);
  debtFreeByField_->setMinimumDate(QDate(start.year, start.month, 1));
  debtFreeByField_->setMaximumDate(QDate(9999, 12, 1));
  debtFreeByField_->setDate(DefaultGoal(planDate, proposedDebtFree));
  goalCaption->setBuddy(debtFreeByField_);
  neededPowerPaymentLabel_ = new QLabel(this);
  neededPowerPaymentLabel_->setObjectName("lblNeededPowerPayment");
  neededPowerPaymentLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  useNeededButton_ = new QPushButton("&Use", this);
  useNeededButton_->setObjectName("btnUseNeeded");
  useNeededButton_->setToolTip("Put this amount into the monthly power payment");
  useNeededButton_->setAutoDefault(false);
  goalRow->addWidget(goalCaption);
  // The colon follows the month as in a sentence, without the row's gap.
  auto* month = new QHBoxLayout;
  month->setSpacing(1);
  month->addWidget(debtFreeByField_);
  month->addWidget(new QLabel(":", this));
  goalRow->addLayout(month);
  goalRow->addWidget(neededPowerPaymentLabel_);
  goalRow->addWidget(useNeededButton_);
  goalRow->addStretch(1);
  return goalRow;
}

void AcceleratorDialog::ConnectGoal() {
  connect(debtFreeByField_, &QDateEdit::dateChanged, this,
          &AcceleratorDialog::ShowNeededPowerPayment);
  // The goal keeps the yearly amount and month the dialog shows for the plan's own option.
  connect(annual_[0], &AmountField::changed, this, &AcceleratorDialog::ShowNeededPowerPayment);
  connect(month_[0], &QComboBox::currentIndexChanged, this,
          &AcceleratorDialog::ShowNeededPowerPayment);
  connect(useNeededButton_, &QPushButton::clicked, this, [this] {
    if (needed_.attainable) {
      monthly_[0]->SetNumericValue(static_cast<double>(needed_.powerPayment.Units()));
    }
  });
}

YearMonth AcceleratorDialog::GoalMonth() const {
  const QDate date = debtFreeByField_->date();
  return {date.year(), date.month()};
}

void AcceleratorDialog::ShowNeededPowerPayment() {
  PlanDocument plan = session_.Plan();
  plan.Accelerators[0].Annual = Money::FromUnits(annual_[0]->NumericValue());
  plan.Accelerators[0].Month = MonthFromListIndex(month_[0]->currentIndex());
  needed_ = FindPowerPaymentForGoal(plan, params_, settings_, GoalMonth());
  QString text = "not attainable";
  if (needed_.attainable) {
    text = Q(FormatMoney(needed_.powerPayment, 2, regional_)) + " a month";
    if (needed_.powerPayment == Money()) text += " (debt free by then without one)";
  }
  neededPowerPaymentLabel_->setText(text);
  useNeededButton_->setEnabled(needed_.attainable);
}

void AcceleratorDialog::accept() {
  for (int i = 0; i < 3; ++i) {
    Accelerator accelerator;
    accelerator.Monthly = Money::FromUnits(monthly_[i]->NumericValue());
    accelerator.Annual = Money::FromUnits(annual_[i]->NumericValue());
    accelerator.Month = MonthFromListIndex(month_[i]->currentIndex());
    session_.SetAccelerator(i, accelerator);
  }
  QDialog::accept();
}

}  // namespace ardvane
