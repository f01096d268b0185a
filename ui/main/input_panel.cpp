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

namespace ardvane {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

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
  txtFirstName = new QLineEdit(client);
  txtFirstName->setObjectName("txtFirstName");
  txtLastName = new QLineEdit(client);
  txtLastName->setObjectName("txtLastName");
  auto* first = new QLabel("First Name", client);
  first->setBuddy(txtFirstName);
  auto* last = new QLabel("Last Name", client);
  last->setBuddy(txtLastName);
  row->addWidget(first);
  row->addWidget(txtFirstName, 1);
  row->addWidget(last);
  row->addWidget(txtLastName, 1);
  static_cast<QVBoxLayout*>(layout())->addWidget(client);
}

void InputPanel::BuildDebts() {
  auto* debts = new QGroupBox("2. Enter &Debts", this);
  debts->setObjectName("grpDebts");
  auto* debtsLayout = new QVBoxLayout(debts);
  gridDebts = new DebtGridView(debts);
  gridDebts->setObjectName("gridDebts");
  const QFontMetrics metrics(gridDebts->font());
  gridDebts->verticalHeader()->setDefaultSectionSize(std::max(px_(18), metrics.height() + 6));
  debtsLayout->addWidget(gridDebts, 1);
  auto* strip = new QHBoxLayout;
  const auto button = [debts](const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(caption, debts);
    b->setObjectName(name);
    b->setToolTip(hint);
    return b;
  };
  bitbtnNew = button("bitbtnNew", "&New", "Add a new debt (Insert)");
  bitbtnEdit = button("bitbtnEdit", "Ed&it", "Edit this debt (Enter)");
  bitbtnDelete = button("bitbtnDelete", "Dele&te", "Delete this debt (Delete)");
  bitbtnUp = button("bitbtnUp", "", "Move this debt up one row (Ctrl+Up)");
  bitbtnUp->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
  bitbtnUp->setAccessibleName("Move up");
  bitbtnDown = button("bitbtnDown", "", "Move this debt down one row (Ctrl+Down)");
  bitbtnDown->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  bitbtnDown->setAccessibleName("Move down");
  strip->addWidget(bitbtnNew);
  strip->addWidget(bitbtnEdit);
  strip->addWidget(bitbtnDelete);
  strip->addStretch(1);
  strip->addWidget(bitbtnUp);
  strip->addWidget(bitbtnDown);
  debtsLayout->addLayout(strip);
  static_cast<QVBoxLayout*>(layout())->addWidget(debts, 1);
}

void InputPanel::BuildAssumptions() {
  grpAssumptions = new QGroupBox("3. Establish Plan &Assumptions", this);
  grpAssumptions->setObjectName("grpAssumptions");
  auto* form = new QGridLayout(grpAssumptions);
  form->setVerticalSpacing(2);
  const auto smallButton = [this](const char* name, const char* hint) {
    auto* b = new QPushButton("...", grpAssumptions);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setFixedWidth(std::max(px_(22), b->fontMetrics().horizontalAdvance("...") + px_(12)));
    return b;
  };
  dtpPlanDate = new QDateEdit(grpAssumptions);
  dtpPlanDate->setObjectName("dtpPlanDate");
  dtpPlanDate->setCalendarPopup(true);
  // Qt's date patterns spell the year and month as the regional pattern does, apart from the
  // day-of-week and era letters the short date never uses.
  dtpPlanDate->setDisplayFormat(Q(regional_.shortDateFormat));
  dtpPlanDate->setMinimumDate(QDate(1900, 1, 1));
  dtpPlanDate->setMaximumDate(QDate(9999, 12, 31));
  cboPriority = new QComboBox(grpAssumptions);
  cboPriority->setObjectName("cboPriority");
  for (int code = 0; code < kPriorityCodeCount; ++code) {
    cboPriority->addItem(Q(std::string(PriorityCaption(code))));
  }
  cboPriority->setMaxVisibleItems(10);
  btnAccelerator = smallButton("btnAccelerator", "Power payment options");
  ntmskAccelerator = Mask(grpAssumptions, "ntmskAccelerator", mtCurrency, 2, 99999);
  ntmskAnnualAccelerator = Mask(grpAssumptions, "ntmskAnnualAccelerator", mtCurrency, 2, 99999);
  ntmskReturnRate = Mask(grpAssumptions, "ntmskReturnRate", mtPercent, 2, 0);
  btnSetupFee = smallButton("btnSetupFee", "Plan fees");
  ntmskFeesAmount = Mask(grpAssumptions, "ntmskFeesAmount", mtCurrency, 2, 0);
  lblPercentSetupFee = new QLabel(grpAssumptions);
  lblPercentSetupFee->setObjectName("lblPercentSetupFee");
  lblPercentSetupFee->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblPercentSetupFee->setToolTip("The fee charged differs from the fee entered: click to see why");
  lblPercentSetupFee->installEventFilter(this);
  SetFeeLabelLook(false);
  ntmskMonthlyFee = Mask(grpAssumptions, "ntmskMonthlyFee", mtCurrency, 2, 0);

  const auto caption = [this](const char* text, QWidget* buddy) {
    auto* label = new QLabel(text, grpAssumptions);
    label->setBuddy(buddy);
    return label;
  };
  int row = 0;
  form->addWidget(caption("Plan date", dtpPlanDate), row, 1);
  form->addWidget(dtpPlanDate, row, 2, 1, 2);
  ++row;
  form->addWidget(caption("Debt paydown priority", cboPriority), row, 1);
  form->addWidget(cboPriority, row, 2, 1, 4);
  ++row;
  form->addWidget(btnAccelerator, row, 0);
  form->addWidget(caption("Power payment", ntmskAccelerator), row, 1);
  form->addWidget(ntmskAccelerator, row, 2);
  form->addWidget(caption("+", nullptr), row, 3);
  form->addWidget(ntmskAnnualAccelerator, row, 4);
  form->addWidget(caption("/year", nullptr), row, 5);
  ++row;
  form->addWidget(caption("Investment growth rate", ntmskReturnRate), row, 1);
  form->addWidget(ntmskReturnRate, row, 2);
  ++row;
  form->addWidget(btnSetupFee, row, 0);
  form->addWidget(caption("Plan administration fees", ntmskFeesAmount), row, 1);
  // The label of the fee charged lies under the fee field and shows when the field hides.
  form->addWidget(lblPercentSetupFee, row, 2);
  form->addWidget(ntmskFeesAmount, row, 2);
  form->addWidget(caption("+", nullptr), row, 3);
  form->addWidget(ntmskMonthlyFee, row, 4);
  form->addWidget(caption("/month", nullptr), row, 5);
  // Fields keep a sensible width on a wide window; the room left goes to their right.
  form->setColumnStretch(2, 1);
  form->setColumnStretch(4, 1);
  form->setColumnStretch(6, 2);
  static_cast<QVBoxLayout*>(layout())->addWidget(grpAssumptions);
}

void InputPanel::BuildNewLoan() {
  grpConsolidation = new QGroupBox("4. Determine New &Loan Parameters", this);
  grpConsolidation->setObjectName("grpConsolidation");
  auto* loan = new QGridLayout(grpConsolidation);
  loan->setVerticalSpacing(2);
  chkConsolidate = new QCheckBox("C&onsolidate debts and finance the initial setup fee",
                                 grpConsolidation);
  chkConsolidate->setObjectName("chkConsolidate");
  btnRecommendations = new QPushButton("&Recommendations", grpConsolidation);
  btnRecommendations->setObjectName("btnRecommendations");
  btnRecommendations->setFlat(true);
  btnRecommendations->setCursor(Qt::PointingHandCursor);
  btnRecommendations->setStyleSheet(
      "QPushButton { color: blue; text-decoration: underline; border: none; padding: 0 2px; }"
      "QPushButton:focus { outline: 1px dotted; border: 1px dotted palette(text); }"
      "QPushButton:disabled { color: gray; }");
  ntmskInterestRate = Mask(grpConsolidation, "ntmskInterestRate", mtPercent, 3, 0);
  chkInterestOnly = new QCheckBox("Interest Onl&y", grpConsolidation);
  chkInterestOnly->setObjectName("chkInterestOnly");
  ntmskFeesRate = Mask(grpConsolidation, "ntmskFeesRate", mtPercent, 3, 0);
  ntmskConsolidationFees = Mask(grpConsolidation, "ntmskConsolidationFees", mtCurrency, 2, 0);
  ntmskTerm = Mask(grpConsolidation, "ntmskTerm", mtNumber, 0, 0);
  lblCashOut = new QLabel("Cash out", grpConsolidation);
  lblCashOut->setObjectName("lblCashOut");
  ntmskCashOut = Mask(grpConsolidation, "ntmskCashOut", mtCurrency, 2, 999999999);
  lblCashOut->setBuddy(ntmskCashOut);
  const auto caption = [this](const char* text, QWidget* buddy) {
    auto* label = new QLabel(text, grpConsolidation);
    label->setBuddy(buddy);
    return label;
  };
  loan->addWidget(chkConsolidate, 0, 0, 1, 4);
  loan->addWidget(btnRecommendations, 0, 4);
  loan->addWidget(caption("Interest rate", ntmskInterestRate), 1, 0);
  loan->addWidget(ntmskInterestRate, 1, 1);
  loan->addWidget(chkInterestOnly, 1, 2, 1, 2);
  loan->addWidget(caption("Fees/Points", ntmskFeesRate), 2, 0);
  loan->addWidget(ntmskFeesRate, 2, 1);
  loan->addWidget(caption("+", nullptr), 2, 2);
  loan->addWidget(ntmskConsolidationFees, 2, 3);
  loan->addWidget(caption("Term (years)", ntmskTerm), 3, 0);
  loan->addWidget(ntmskTerm, 3, 1);
  loan->addWidget(lblCashOut, 4, 0);
  loan->addWidget(ntmskCashOut, 4, 1);
  loan->setColumnStretch(1, 1);
  loan->setColumnStretch(3, 1);
  loan->setColumnStretch(5, 2);
  static_cast<QVBoxLayout*>(layout())->addWidget(grpConsolidation);
}

void InputPanel::SetTabOrder() {
  // Reading order: left to right, then down.
  const QWidget* order[] = {
      txtFirstName,     txtLastName,        gridDebts,          bitbtnNew,
      bitbtnEdit,       bitbtnDelete,       bitbtnUp,           bitbtnDown,
      dtpPlanDate,      cboPriority,        btnAccelerator,     ntmskAccelerator,
      ntmskAnnualAccelerator, ntmskReturnRate, btnSetupFee,     ntmskFeesAmount,
      ntmskMonthlyFee,  chkConsolidate,     btnRecommendations, ntmskInterestRate,
      chkInterestOnly,  ntmskFeesRate,      ntmskConsolidationFees, ntmskTerm,
      ntmskCashOut};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
  }
}

void InputPanel::ShowPlan(const PlanDocument& plan) {
  txtFirstName->setText(Q(plan.FirstName));
  txtLastName->setText(Q(plan.LastName));
  dtpPlanDate->setDate(ToQDate(plan.Date));
  const int priority = PriorityCode(plan.Priority);
  cboPriority->setCurrentIndex(priority >= 0 && priority < cboPriority->count() ? priority : -1);
  ntmskAccelerator->SetNumericValue(Units(plan.Accelerators[0].Monthly));
  ntmskAnnualAccelerator->SetNumericValue(Units(plan.Accelerators[0].Annual));
  ntmskReturnRate->SetNumericValue(plan.ReturnRate.Value());
  ntmskFeesAmount->SetNumericValue(Units(plan.SetupFee));
  ntmskMonthlyFee->SetNumericValue(Units(plan.ManagementFee));
  chkConsolidate->setChecked(plan.Consolidate);
  const ConsolidationLoanTerms& loan = plan.ConsolidationLoan;
  ntmskInterestRate->SetNumericValue(loan.InterestRate.Value());
  chkInterestOnly->setChecked(loan.InterestOnly);
  ntmskFeesRate->SetNumericValue(loan.FeesRate.Value());
  ntmskConsolidationFees->SetNumericValue(Units(loan.FeesAmount));
  ntmskTerm->SetNumericValue(loan.Term);
  ntmskCashOut->SetNumericValue(Units(loan.CashOut));
}

void InputPanel::ShowPermissions(bool consolidation, bool cashOut) {
  grpConsolidation->setVisible(consolidation);
  lblCashOut->setVisible(consolidation && cashOut);
  ntmskCashOut->setVisible(consolidation && cashOut);
  grpConsolidation->setFixedHeight(grpConsolidation->sizeHint().height());
}

void InputPanel::ShowFeeCharged(const std::string& feeText, bool feeAsEntered) {
  lblPercentSetupFee->setText(Q(feeText));
  ntmskFeesAmount->setVisible(feeAsEntered);
  lblPercentSetupFee->setVisible(!feeAsEntered);  // it lies under the field
}

void InputPanel::FitNameColumn(int least, int most) {
  const int wanted = std::max(static_cast<const QAbstractItemView*>(gridDebts)->sizeHintForColumn(0),
                              gridDebts->horizontalHeader()->sectionSizeHint(0));
  gridDebts->setColumnWidth(0, std::clamp(wanted, least, most));
}

void InputPanel::SetFeeLabelLook(bool link) {
  QFont font = lblPercentSetupFee->font();
  font.setBold(true);
  font.setUnderline(link);
  lblPercentSetupFee->setFont(font);
  QPalette palette = lblPercentSetupFee->palette();
  palette.setColor(QPalette::WindowText,
                   link ? QColor(Qt::blue) : QApplication::palette().color(QPalette::WindowText));
  lblPercentSetupFee->setPalette(palette);
  // The hand shows over the figure always: it can be clicked whenever it shows.
  lblPercentSetupFee->setCursor(Qt::PointingHandCursor);
}

bool InputPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblPercentSetupFee) {
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
