#include "ui/main/main_window.h"

#include <QAction>
#include <QCalendarWidget>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtCharts/QChartView>

#include "engine/calendar.h"
#include "engine/consolidation_recommendation.h"
#include "engine/vorn_util.h"
#include "figures/csv_tables.h"
#include "figures/display_formats.h"
#include "figures/payoff_payment.h"
#include "figures/strategies.h"
#include "reports/document_output.h"
#include "reports/pdf_export.h"
#include "reports/report_language.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/accelerator_dialog.h"
#include "ui/charts/chart_form_pictures.h"
#include "ui/charts/chart_forms.h"
#include "ui/dialogs/debt_dialog.h"
#include "ui/dialogs/detail_window.h"
#include "ui/dialogs/notes_window.h"
#include "ui/charts/plan_charts.h"
#include "ui/dialogs/recommendation_window.h"
#include "inputs/plan_fee_values.h"
#include "ui/dialogs/preferences_dialog.h"
#include "settings/settings_files.h"
#include "ui/dialogs/setup_fee_dialog.h"
#include "ui/startup_arguments.h"
#include "ui/main/strategies_page.h"
#include "ui/widgets/vorn_mask.h"

namespace ardvane {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kPurple(128, 0, 128);

QString Q(const std::string& text) { return QString::fromStdString(text); }

QDate ToQDate(DayNumber day) {
  const CivilDate date = DecodeDate(day);
  return QDate(date.year, date.month, date.day);
}

DayNumber FromQDate(const QDate& date) {
  return EncodeDate(date.year(), date.month(), date.day());
}

// Qt's date patterns spell the year and month as the regional pattern does, apart from the
// day-of-week and era letters the short date never uses.
QString DatePattern(const RegionalSettings& regional) { return Q(regional.shortDateFormat); }

}  // namespace

TfrmMain::TfrmMain(MainWindowOptions options, WindowPrompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      prompts_(prompts),
      settings_(LoadPreferences(options_.programFolder)),
      params_(ParamsFileExists(options_.programFolder)
                  ? LoadParams(options_.programFolder, options_.regional)
                  : PlanParameters{}),
      session_(params_, options_.regional, options_.today, prompts) {
  setObjectName("frmMain");
  setWindowTitle("Ardvane +");
  // The layout was drawn for a font whose average character is 5 pixels wide.
  scale_ = std::max(1.0, fontMetrics().averageCharWidth() / 5.0);
  resize(Px(800), Px(600));

  chartForms_ = std::make_unique<ChartForms>(options_.regional, options_.programFolder, this);
  BuildMenuAndToolBar();
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName("splitter");
  splitter->setHandleWidth(6);
  splitter->setOpaqueResize(true);
  splitter->addWidget(BuildLeftPanel());
  splitter->addWidget(BuildRightPanel());
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  // Each half at least as wide as its texts need; the window as wide as both.
  QWidget* left = splitter->widget(0);
  left->setMinimumWidth(std::max(Px(385), left->sizeHint().width()));
  const int right = std::max(Px(800 - 385 - 6), pages_->tabBar()->sizeHint().width() + Px(24));
  resize(std::max(width(), left->minimumWidth() + 6 + right), height());
  splitter->setSizes({left->minimumWidth(), width() - left->minimumWidth() - 6});
  setCentralWidget(splitter);
  statusBar()->setObjectName("StatusBar1");
  ConnectInputs();
  qApp->installEventFilter(this);  // F8 and F10 reach the window before any control
  Start(options_.arguments);
}

TfrmMain::~TfrmMain() { qApp->removeEventFilter(this); }

int TfrmMain::Px(int designPixels) const {
  return static_cast<int>(designPixels * scale_ + 0.5);
}

void TfrmMain::BuildMenuAndToolBar() {
  QMenu* file = menuBar()->addMenu("&File");
  QAction* newAction = file->addAction("&New", QKeySequence(Qt::CTRL | Qt::Key_N));
  QAction* openAction = file->addAction("&Open", QKeySequence(Qt::CTRL | Qt::Key_O));
  QAction* saveAction = file->addAction("&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
  QAction* saveAsAction = file->addAction("Save &As", QKeySequence(Qt::Key_F12));
  file->addSeparator();
  printAction_ = file->addAction("&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
  exportPdfAction_ = file->addAction("&Export PDF…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  exportPdfAction_->setObjectName("ExportPdf1");
  file->addSeparator();
  QAction* exitAction = file->addAction("E&xit");
  QMenu* edit = menuBar()->addMenu("&Edit");
  preferencesAction_ = edit->addAction("&Preferences");
  QMenu* help = menuBar()->addMenu("&Help");
  QAction* aboutAction = help->addAction("&About");

  connect(newAction, &QAction::triggered, this, &TfrmMain::spdbtnNewClick);
  connect(openAction, &QAction::triggered, this, &TfrmMain::spdbtnOpenClick);
  connect(saveAction, &QAction::triggered, this, [this] { spdbtnSaveClick(false); });
  connect(saveAsAction, &QAction::triggered, this, [this] { spdbtnSaveClick(true); });
  connect(exitAction, &QAction::triggered, this, &QWidget::close);
  connect(aboutAction, &QAction::triggered, this, &TfrmMain::About1Click);
  connect(preferencesAction_, &QAction::triggered, this, &TfrmMain::Preferences1Click);
  connect(printAction_, &QAction::triggered, this, &TfrmMain::spdbtnPrintClick);
  connect(exportPdfAction_, &QAction::triggered, this, &TfrmMain::ExportPdfClick);

  popLanguage_ = new QMenu(this);
  popLanguage_->setObjectName("popLanguage");
  QAction* english = popLanguage_->addAction("English");
  english->setObjectName("English1");
  english->setData(0);
  QAction* spanish = popLanguage_->addAction("Spanish");
  spanish->setObjectName("Spanish1");
  spanish->setData(1);
  connect(popLanguage_, &QMenu::triggered, this,
          [this](QAction* item) { English1Click(item->data().toInt()); });

  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setMinimumHeight(Px(41));
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  const auto button = [this, bar](const char* name, const char* caption, const char* hint,
                                  QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAutoRaise(true);
    b->setIcon(style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->addWidget(b);
    return b;
  };
  spdbtnNew_ = button("spdbtnNew", "New", "Create a new plan", QStyle::SP_FileIcon);
  spdbtnOpen_ = button("spdbtnOpen", "Open", "Open an existing plan", QStyle::SP_DialogOpenButton);
  spdbtnSave_ = button("spdbtnSave", "Save", "Save this plan", QStyle::SP_DialogSaveButton);
  spdbtnNotes_ = button("spdbtnNotes", "Notes", "Make notes on this plan",
                        QStyle::SP_FileDialogDetailedView);
  spdbtnForm_ = button("spdbtnForm", "Form", "Open the data collection form",
                       QStyle::SP_FileDialogContentsView);
  spdbtnPrint_ = button("spdbtnPrint", "Print", "Print this plan", QStyle::SP_FileDialogListView);
  connect(spdbtnNew_, &QToolButton::clicked, this, &TfrmMain::spdbtnNewClick);
  connect(spdbtnOpen_, &QToolButton::clicked, this, &TfrmMain::spdbtnOpenClick);
  connect(spdbtnSave_, &QToolButton::clicked, this, [this] { spdbtnSaveClick(false); });
  connect(spdbtnNotes_, &QToolButton::clicked, this, &TfrmMain::spdbtnNotesClick);
  connect(spdbtnForm_, &QToolButton::clicked, this, &TfrmMain::spdbtnFormClick);
  connect(spdbtnPrint_, &QToolButton::clicked, this, &TfrmMain::spdbtnPrintClick);
}

QWidget* TfrmMain::BuildLeftPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("pnlLeft");
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(4, 4, 2, 4);

  // 1. Client.
  auto* client = new QGroupBox("1. Provide Client Information", panel);
  client->setObjectName("grpClient");
  auto* clientRow = new QHBoxLayout(client);
  txtFirstName_ = new QLineEdit(client);
  txtFirstName_->setObjectName("txtFirstName");
  txtLastName_ = new QLineEdit(client);
  txtLastName_->setObjectName("txtLastName");
  clientRow->addWidget(new QLabel("First Name", client));
  clientRow->addWidget(txtFirstName_, 1);
  clientRow->addWidget(new QLabel("Last Name", client));
  clientRow->addWidget(txtLastName_, 1);
  layout->addWidget(client);

  // 2. Debts.
  auto* debts = new QGroupBox("2. Enter Debts", panel);
  debts->setObjectName("grpDebts");
  auto* debtsLayout = new QVBoxLayout(debts);
  gridDebts_ = new QTableWidget(debts);
  gridDebts_->setObjectName("gridDebts");
  gridDebts_->setSelectionBehavior(QAbstractItemView::SelectRows);
  gridDebts_->setSelectionMode(QAbstractItemView::SingleSelection);
  gridDebts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  gridDebts_->verticalHeader()->hide();
  gridDebts_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  gridDebts_->horizontalHeader()->setHighlightSections(false);
  gridDebts_->setWordWrap(false);
  gridDebts_->setTextElideMode(Qt::ElideNone);
  gridDebts_->installEventFilter(this);
  gridDebts_->viewport()->installEventFilter(this);
  debtsLayout->addWidget(gridDebts_, 1);
  auto* strip = new QHBoxLayout;
  const auto debtButton = [debts](const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(caption, debts);
    b->setObjectName(name);
    b->setToolTip(hint);
    return b;
  };
  bitbtnNew_ = debtButton("bitbtnNew", "New", "Add a new debt");
  bitbtnEdit_ = debtButton("bitbtnEdit", "Edit", "Edit this debt");
  bitbtnDelete_ = debtButton("bitbtnDelete", "Delete", "Delete this debt");
  bitbtnUp_ = debtButton("bitbtnUp", "", "Move this debt up one row");
  bitbtnUp_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
  bitbtnDown_ = debtButton("bitbtnDown", "", "Move this debt down one row");
  bitbtnDown_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  strip->addWidget(bitbtnNew_);
  strip->addWidget(bitbtnEdit_);
  strip->addWidget(bitbtnDelete_);
  strip->addStretch(1);
  strip->addWidget(bitbtnUp_);
  strip->addWidget(bitbtnDown_);
  debtsLayout->addLayout(strip);
  layout->addWidget(debts, 1);

  // 3. Plan assumptions.
  const RegionalSettings& regional = options_.regional;
  grpAssumptions_ = new QGroupBox("3. Establish Plan Assumptions", panel);
  grpAssumptions_->setObjectName("grpAssumptions");
  grpAssumptions_->setMouseTracking(true);
  grpAssumptions_->installEventFilter(this);
  auto* form = new QGridLayout(grpAssumptions_);
  form->setVerticalSpacing(2);
  const auto mask = [this, &regional](QWidget* parent, const char* name, TMaskType type,
                                      int decimals, double limit) {
    auto* m = new TVornMask(regional, parent);
    m->setObjectName(name);
    m->SetMaskType(type);
    m->SetDecimalPlaces(decimals);
    if (limit > 0) {
      m->SetMaximumValue(limit);
      m->SetMinimumValue(-limit);
    }
    m->setAlignment(Qt::AlignRight);
    m->setMinimumWidth(Px(75));
    return m;
  };
  const auto smallButton = [this](QWidget* parent, const char* name, const char* hint) {
    auto* b = new QPushButton("...", parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setFixedWidth(Px(22));
    return b;
  };
  dtpPlanDate_ = new QDateEdit(grpAssumptions_);
  dtpPlanDate_->setObjectName("dtpPlanDate");
  dtpPlanDate_->setCalendarPopup(true);
  dtpPlanDate_->setDisplayFormat(DatePattern(regional));
  dtpPlanDate_->setMinimumDate(QDate(1900, 1, 1));
  dtpPlanDate_->setMaximumDate(QDate(9999, 12, 31));
  cboPriority_ = new QComboBox(grpAssumptions_);
  cboPriority_->setObjectName("cboPriority");
  for (int code = 0; code < kPriorityCodeCount; ++code) {
    cboPriority_->addItem(Q(std::string(PriorityCaption(code))));
  }
  cboPriority_->setMaxVisibleItems(10);
  btnAccelerator_ = smallButton(grpAssumptions_, "btnAccelerator", "Power payment options");
  ntmskAccelerator_ = mask(grpAssumptions_, "ntmskAccelerator", mtCurrency, 2, 99999);
  ntmskAnnualAccelerator_ = mask(grpAssumptions_, "ntmskAnnualAccelerator", mtCurrency, 2, 99999);
  ntmskReturnRate_ = mask(grpAssumptions_, "ntmskReturnRate", mtPercent, 2, 0);
  btnSetupFee_ = smallButton(grpAssumptions_, "btnSetupFee", "Plan fees");
  ntmskFeesAmount_ = mask(grpAssumptions_, "ntmskFeesAmount", mtCurrency, 2, 0);
  lblPercentSetupFee_ = new QLabel(grpAssumptions_);
  lblPercentSetupFee_->setObjectName("lblPercentSetupFee");
  lblPercentSetupFee_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblPercentSetupFee_->setMouseTracking(true);
  lblPercentSetupFee_->installEventFilter(this);
  SetFeeLabelLook(false);
  ntmskMonthlyFee_ = mask(grpAssumptions_, "ntmskMonthlyFee", mtCurrency, 2, 0);

  const auto caption = [this](const char* text) {
    auto* label = new QLabel(text, grpAssumptions_);
    return label;
  };
  int row = 0;
  form->addWidget(caption("Plan date"), row, 1);
  form->addWidget(dtpPlanDate_, row, 2, 1, 2);
  ++row;
  form->addWidget(caption("Debt paydown priority"), row, 1);
  form->addWidget(cboPriority_, row, 2, 1, 4);
  ++row;
  form->addWidget(btnAccelerator_, row, 0);
  form->addWidget(caption("Power payment"), row, 1);
  form->addWidget(ntmskAccelerator_, row, 2);
  form->addWidget(caption("+"), row, 3);
  form->addWidget(ntmskAnnualAccelerator_, row, 4);
  form->addWidget(caption("/year"), row, 5);
  ++row;
  form->addWidget(caption("Investment growth rate"), row, 1);
  form->addWidget(ntmskReturnRate_, row, 2);
  ++row;
  form->addWidget(btnSetupFee_, row, 0);
  form->addWidget(caption("Plan administration fees"), row, 1);
  // The label of the fee charged lies under the fee field and shows when the field hides.
  form->addWidget(lblPercentSetupFee_, row, 2);
  form->addWidget(ntmskFeesAmount_, row, 2);
  form->addWidget(caption("+"), row, 3);
  form->addWidget(ntmskMonthlyFee_, row, 4);
  form->addWidget(caption("/month"), row, 5);
  form->setColumnStretch(2, 1);
  form->setColumnStretch(4, 1);
  layout->addWidget(grpAssumptions_);

  // 4. New loan.
  grpConsolidation_ = new QGroupBox("4. Determine New Loan Parameters", panel);
  grpConsolidation_->setObjectName("grpConsolidation");
  auto* loan = new QGridLayout(grpConsolidation_);
  loan->setVerticalSpacing(2);
  chkConsolidate_ = new QCheckBox("Consolidate debts and finance the initial setup fee",
                                  grpConsolidation_);
  chkConsolidate_->setObjectName("chkConsolidate");
  btnRecommendations_ = new QPushButton("Recommendations", grpConsolidation_);
  btnRecommendations_->setObjectName("btnRecommendations");
  btnRecommendations_->setFlat(true);
  btnRecommendations_->setStyleSheet(
      "QPushButton { color: blue; text-decoration: underline; border: none; }"
      "QPushButton:disabled { color: gray; }");
  ntmskInterestRate_ = mask(grpConsolidation_, "ntmskInterestRate", mtPercent, 3, 0);
  chkInterestOnly_ = new QCheckBox("Interest Only", grpConsolidation_);
  chkInterestOnly_->setObjectName("chkInterestOnly");
  ntmskFeesRate_ = mask(grpConsolidation_, "ntmskFeesRate", mtPercent, 3, 0);
  ntmskConsolidationFees_ = mask(grpConsolidation_, "ntmskConsolidationFees", mtCurrency, 2, 0);
  ntmskTerm_ = mask(grpConsolidation_, "ntmskTerm", mtNumber, 0, 0);
  lblCashOut_ = new QLabel("Cash out", grpConsolidation_);
  lblCashOut_->setObjectName("lblCashOut");
  ntmskCashOut_ = mask(grpConsolidation_, "ntmskCashOut", mtCurrency, 2, 999999999);
  loan->addWidget(chkConsolidate_, 0, 0, 1, 4);
  loan->addWidget(btnRecommendations_, 0, 4);
  loan->addWidget(new QLabel("Interest rate", grpConsolidation_), 1, 0);
  loan->addWidget(ntmskInterestRate_, 1, 1);
  loan->addWidget(chkInterestOnly_, 1, 2, 1, 2);
  loan->addWidget(new QLabel("Fees/Points", grpConsolidation_), 2, 0);
  loan->addWidget(ntmskFeesRate_, 2, 1);
  loan->addWidget(new QLabel("+", grpConsolidation_), 2, 2);
  loan->addWidget(ntmskConsolidationFees_, 2, 3);
  loan->addWidget(new QLabel("Term (years)", grpConsolidation_), 3, 0);
  loan->addWidget(ntmskTerm_, 3, 1);
  loan->addWidget(lblCashOut_, 4, 0);
  loan->addWidget(ntmskCashOut_, 4, 1);
  loan->setColumnStretch(1, 1);
  loan->setColumnStretch(3, 1);
  layout->addWidget(grpConsolidation_);
  return panel;
}

QWidget* TfrmMain::BuildRightPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("pnlRight");
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 4, 4, 4);
  pages_ = new QTabWidget(panel);
  pages_->setObjectName("PageControl1");
  pages_->setDocumentMode(true);
  layout->addWidget(pages_, 1);

  const auto figure = [this](QWidget* parent, const char* name, const QColor* colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (colour) {
      QPalette palette = label->palette();
      palette.setColor(QPalette::WindowText, *colour);
      label->setPalette(palette);
    }
    figures_[name] = label;
    return label;
  };
  const auto head = [](QWidget* parent, const char* text, const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
  };
  const auto chartView = [](QWidget* parent, const char* name) {
    auto* view = new QChartView(parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(200);
    return view;
  };

  // Payoff Schedule.
  auto* payoff = new QWidget(pages_);
  payoff->setObjectName("tsPayoffSchedule");
  auto* payoffLayout = new QVBoxLayout(payoff);
  auto* payoffGrid = new QGridLayout;
  payoffGrid->addWidget(head(payoff, "Current", kNavy), 0, 1);
  payoffGrid->addWidget(head(payoff, "Proposed", kPurple), 0, 2);
  payoffGrid->addWidget(new QLabel("Months until debt free", payoff), 1, 0);
  payoffGrid->addWidget(figure(payoff, "lblPayoffMonthsCurrent", &kNavy), 1, 1);
  payoffGrid->addWidget(figure(payoff, "lblPayoffMonthsProposed", &kPurple), 1, 2);
  payoffGrid->addWidget(new QLabel("Years until debt free", payoff), 2, 0);
  payoffGrid->addWidget(figure(payoff, "lblPayoffYearsCurrent", &kNavy), 2, 1);
  payoffGrid->addWidget(figure(payoff, "lblPayoffYearsProposed", &kPurple), 2, 2);
  payoffGrid->addWidget(new QLabel("Debt free date", payoff), 3, 0);
  payoffGrid->addWidget(figure(payoff, "lblPayoffDateCurrent", &kNavy), 3, 1);
  payoffGrid->addWidget(figure(payoff, "lblPayoffDateProposed", &kPurple), 3, 2);
  payoffGrid->setColumnStretch(0, 1);
  payoffGrid->setColumnMinimumWidth(1, Px(90));
  payoffGrid->setColumnMinimumWidth(2, Px(90));
  payoffLayout->addLayout(payoffGrid);
  graphPayoffDates_ = chartView(payoff, "graphPayoffDates");
  payoffLayout->addWidget(graphPayoffDates_, 1);
  pages_->addTab(payoff, "Payoff Schedule");

  // Interest Paid.
  auto* interest = new QWidget(pages_);
  interest->setObjectName("tsInterestPaid");
  auto* interestLayout = new QVBoxLayout(interest);
  auto* interestGrid = new QGridLayout;
  interestGrid->addWidget(head(interest, "Current", kNavy), 0, 1);
  interestGrid->addWidget(head(interest, "Proposed", kPurple), 0, 2);
  interestGrid->addWidget(new QLabel("Total interest paid", interest), 1, 0);
  interestGrid->addWidget(figure(interest, "lblInterestCurrent", &kNavy), 1, 1);
  interestGrid->addWidget(figure(interest, "lblInterestProposed", &kPurple), 1, 2);
  interestGrid->addWidget(new QLabel("Interest saved", interest), 2, 0);
  interestGrid->addWidget(figure(interest, "lblInterestDifference", nullptr), 2, 2);
  interestGrid->addWidget(new QLabel("Return on investment", interest), 3, 0);
  interestGrid->addWidget(figure(interest, "lblReturnOnInvestment", nullptr), 3, 2);
  interestGrid->setColumnStretch(0, 1);
  interestGrid->setColumnMinimumWidth(1, Px(100));
  interestGrid->setColumnMinimumWidth(2, Px(100));
  interestLayout->addLayout(interestGrid);
  // Says which debts the totals leave out, when a plan never pays some debt off.
  auto* interestNote = new QLabel(interest);
  interestNote->setObjectName("lblNeverPaidOffNote");
  interestNote->setWordWrap(true);
  interestNote->hide();
  figures_["lblNeverPaidOffNote"] = interestNote;
  interestLayout->addWidget(interestNote);
  chart1_ = chartView(interest, "Chart1");
  interestLayout->addWidget(chart1_, 1);
  pages_->addTab(interest, "Interest Paid");

  // Projected Balances.
  auto* balances = new QWidget(pages_);
  balances->setObjectName("tsProjectedBalances");
  auto* balancesLayout = new QVBoxLayout(balances);
  auto* balancesGrid = new QGridLayout;
  balancesGrid->addWidget(head(balances, "Current", kNavy), 0, 2);
  balancesGrid->addWidget(head(balances, "Proposed", kPurple), 0, 3);
  balancesGrid->addWidget(new QLabel("Debt balance in", balances), 1, 0);
  balancesGrid->addWidget(figure(balances, "lblEarlyYear", nullptr), 1, 1);
  balancesGrid->addWidget(figure(balances, "lblDebtBalanceCurrent", &kNavy), 1, 2);
  balancesGrid->addWidget(figure(balances, "lblDebtBalanceProposed", &kPurple), 1, 3);
  balancesGrid->addWidget(new QLabel("Investment value in", balances), 2, 0);
  balancesGrid->addWidget(figure(balances, "lblLateYear", nullptr), 2, 1);
  balancesGrid->addWidget(figure(balances, "lblInvestmentValueCurrent", &kNavy), 2, 2);
  balancesGrid->addWidget(figure(balances, "lblInvestmentValueProposed", &kPurple), 2, 3);
  figures_["lblEarlyYear"]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  figures_["lblLateYear"]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  balancesGrid->setColumnStretch(1, 1);
  balancesGrid->setColumnMinimumWidth(2, Px(100));
  balancesGrid->setColumnMinimumWidth(3, Px(100));
  balancesLayout->addLayout(balancesGrid);
  chart3_ = chartView(balances, "Chart3");
  balancesLayout->addWidget(chart3_, 1);
  pages_->addTab(balances, "Projected Balances");

  // New Loan.
  newLoanPage_ = new QWidget(pages_);
  newLoanPage_->setObjectName("tsNewLoan");
  auto* loanLayout = new QVBoxLayout(newLoanPage_);
  loanLayout->addWidget(new QLabel("The details of the new loan are as follows:", newLoanPage_));
  const auto group = [&](const char* title,
                         std::initializer_list<std::pair<const char*, const char*>> rows) {
    auto* box = new QGroupBox(title, newLoanPage_);
    auto* grid = new QGridLayout(box);
    int r = 0;
    for (const auto& [text, name] : rows) {
      if (r == static_cast<int>(rows.size()) - 1) {
        auto* rule = new QFrame(box);
        rule->setFrameShape(QFrame::HLine);
        grid->addWidget(rule, r++, 1);
      }
      grid->addWidget(new QLabel(text, box), r, 0);
      grid->addWidget(figure(box, name, nullptr), r, 1);
      ++r;
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnMinimumWidth(1, Px(110));
    loanLayout->addWidget(box);
  };
  group("Balance", {{"Total balance of paid-off loans", "lblPayoffBalance"},
                    {"Initial setup fee", "lblOtherFees"},
                    {"Fees/Points", "lblFees"},
                    {"Cash paid out (Paid in)", "lblCashPayment"},
                    {"New loan amount", "lblConsolidationLoanAmount"}});
  group("Payment", {{"Total payment of paid-off loans", "lblPayoffPayment"},
                    {"New loan payment", "lblConsolidationLoanPayment"},
                    {"Difference", "lblDifferencePayment"}});
  group("Interest Rate", {{"Average interest rate of paid-off loans", "lblCurrentInterestRate"},
                          {"New loan interest rate", "lblConsolidationInterestRate"},
                          {"Difference", "lblDifferenceInterestRate"}});
  loanLayout->addStretch(1);
  pages_->addTab(newLoanPage_, "New Loan");

  // Strategies: computed only while in view.
  strategiesPage_ = new StrategiesPage(options_.regional, pages_);
  pages_->addTab(strategiesPage_, "Strategies");

  auto* detailsStrip = new QHBoxLayout;
  detailsStrip->addStretch(1);
  bitbtnDetails_ = new QPushButton("Details", panel);
  bitbtnDetails_->setObjectName("bitbtnDetails");
  bitbtnDetails_->setToolTip("View the monthly tables for this plan");
  detailsStrip->addWidget(bitbtnDetails_);
  layout->addLayout(detailsStrip);
  return panel;
}

void TfrmMain::ConnectInputs() {
  // Each edit goes straight into the plan; the session marks the plan changed only when the
  // value really changes. Leaving a field recalculates.
  connect(txtFirstName_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!filling_) session_.SetFirstName(text.toStdString());
  });
  connect(txtLastName_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!filling_) session_.SetLastName(text.toStdString());
  });
  connect(dtpPlanDate_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
    if (!filling_) session_.SetPlanDate(FromQDate(date));
  });
  connect(dtpPlanDate_, &QDateEdit::editingFinished, this, &TfrmMain::Recalculate);
  // Choosing a day in the drop-down calendar closes it up: that recalculates too.
  connect(dtpPlanDate_->calendarWidget(), &QCalendarWidget::clicked, this,
          &TfrmMain::Recalculate);
  connect(cboPriority_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (filling_ || index < 0) return;
    session_.SetPriority(index);
    Recalculate();
  });
  const auto onChange = [this](TVornMask* field, auto store) {
    connect(field, &TVornMask::changed, this, [this, store] {
      if (!filling_) store();
    });
    connect(field, &TVornMask::exited, this, &TfrmMain::Recalculate);
  };
  onChange(ntmskAccelerator_, [this] { StoreAccelerator(); });
  onChange(ntmskAnnualAccelerator_, [this] { StoreAccelerator(); });
  onChange(ntmskReturnRate_, [this] { session_.SetReturnRate(ntmskReturnRate_->NumericValue()); });
  onChange(ntmskFeesAmount_, [this] {
    session_.SetSetupFee(Money::FromUnits(ntmskFeesAmount_->NumericValue()));
  });
  onChange(ntmskMonthlyFee_, [this] {
    session_.SetManagementFee(Money::FromUnits(ntmskMonthlyFee_->NumericValue()));
  });
  for (TVornMask* field : {ntmskInterestRate_, ntmskFeesRate_, ntmskConsolidationFees_,
                           ntmskTerm_, ntmskCashOut_}) {
    onChange(field, [this] { StoreConsolidationTerms(); });
  }
  connect(chkConsolidate_, &QCheckBox::clicked, this, [this](bool checked) {
    session_.SetConsolidate(checked);
    Recalculate();
  });
  connect(chkInterestOnly_, &QCheckBox::clicked, this, [this] {
    StoreConsolidationTerms();
    Recalculate();
  });

  connect(bitbtnNew_, &QPushButton::clicked, this, [this] { bitbtnNewClick(true); });
  connect(bitbtnEdit_, &QPushButton::clicked, this, [this] { bitbtnNewClick(false); });
  connect(bitbtnDelete_, &QPushButton::clicked, this, &TfrmMain::bitbtnDeleteClick);
  connect(bitbtnUp_, &QPushButton::clicked, this, [this] { bitbtnUpClick(true); });
  connect(bitbtnDown_, &QPushButton::clicked, this, [this] { bitbtnUpClick(false); });
  connect(btnSetupFee_, &QPushButton::clicked, this, &TfrmMain::spdbtnSetupFeeClick);
  connect(btnAccelerator_, &QPushButton::clicked, this, &TfrmMain::spdbtnAcceleratorClick);
  connect(gridDebts_, &QTableWidget::cellDoubleClicked, this, [this] {
    if (session_.Plan().Debts.GetDebtCount() > 0) bitbtnNewClick(false);
  });
  connect(bitbtnDetails_, &QPushButton::clicked, this, &TfrmMain::bitbtnDetailsClick);
  connect(pages_, &QTabWidget::currentChanged, this, [this] {
    if (strategiesStale_) RefreshStrategies();
  });
  // A chosen strategy goes through the priority list, as if chosen there; queued, because
  // the recalculation refills the table whose event chose it.
  connect(strategiesPage_, &StrategiesPage::strategyChosen, cboPriority_,
          &QComboBox::setCurrentIndex, Qt::QueuedConnection);
  connect(btnRecommendations_, &QPushButton::clicked, this, &TfrmMain::bitbtnRecommendationClick);
}

void TfrmMain::StoreAccelerator() {
  Accelerator accelerator = session_.Plan().Accelerators[0];
  accelerator.Monthly = Money::FromUnits(ntmskAccelerator_->NumericValue());
  accelerator.Annual = Money::FromUnits(ntmskAnnualAccelerator_->NumericValue());
  session_.SetAccelerator(0, accelerator);
}

void TfrmMain::StoreConsolidationTerms() {
  ConsolidationLoanTerms terms = session_.Plan().ConsolidationLoan;
  terms.InterestRate = ntmskInterestRate_->NumericValue();
  terms.FeesRate = ntmskFeesRate_->NumericValue();
  terms.FeesAmount = Money::FromUnits(ntmskConsolidationFees_->NumericValue());
  terms.Term = ntmskTerm_->NumericValue();
  terms.CashOut = Money::FromUnits(ntmskCashOut_->NumericValue());
  terms.InterestOnly = chkInterestOnly_->isChecked();
  session_.SetConsolidationLoan(terms);
}

void TfrmMain::Start(const std::vector<std::string>& arguments) {
  session_.SetPlanDirectory((options_.programFolder / "data").string());
  ::ardvane::ApplyPermissions(settings_, params_);
  std::error_code ec;
  const bool lastFileExists =
      !settings_.LastFile.empty() && std::filesystem::is_regular_file(settings_.LastFile, ec);
  const StartupRequest request =
      ReadStartupArguments(arguments, settings_.LastFile, lastFileExists);
  SetupDebtsGrid();
  ApplyPermissions();

  bool opened = false;
  if (request.openRequested) {
    const std::string& name = request.fileToOpen;
    opened = !name.empty() && session_.TryOpenFile(name).ok();
    if (!opened) {
      // A plan that cannot be read is not shown under its name: the next Save would overwrite
      // the client's file with an empty plan.
      prompts_.ShowError("Could not open file " + name);
    }
  }
  if (!opened) {
    session_.SetDefaults();
    session_.SetChanged(false);
  }
  ShowPlan();
  EnableButtons();
  UpdateCaption();
  results_ = Calculate(session_.Plan(), params_, settings_, options_.regional);
  PopulateDebtsGrid();
  PopulateScreenValues();
  if (gridDebts_->rowCount() > 0) SelectGridRow(1);
}

void TfrmMain::ApplyPermissions() {
  const bool consolidate = params_.PermitConsolidate;
  grpConsolidation_->setVisible(consolidate);
  const bool cashOut = consolidate && params_.PermitCashOut;
  lblCashOut_->setVisible(cashOut);
  ntmskCashOut_->setVisible(cashOut);
  grpConsolidation_->setFixedHeight(grpConsolidation_->sizeHint().height());
  pages_->setTabVisible(pages_->indexOf(newLoanPage_), consolidate);
  pages_->setCurrentIndex(consolidate ? pages_->indexOf(newLoanPage_) : 0);
}

void TfrmMain::ShowPlan() {
  filling_ = true;
  const PlanDocument& plan = session_.Plan();
  txtFirstName_->setText(Q(plan.FirstName));
  txtLastName_->setText(Q(plan.LastName));
  dtpPlanDate_->setDate(ToQDate(plan.Date));
  cboPriority_->setCurrentIndex(plan.Priority >= 0 && plan.Priority < cboPriority_->count()
                                    ? plan.Priority
                                    : -1);
  ntmskAccelerator_->SetNumericValue(static_cast<double>(plan.Accelerators[0].Monthly.Units()));
  ntmskAnnualAccelerator_->SetNumericValue(
      static_cast<double>(plan.Accelerators[0].Annual.Units()));
  ntmskReturnRate_->SetNumericValue(plan.ReturnRate);
  ntmskFeesAmount_->SetNumericValue(static_cast<double>(plan.SetupFee.Units()));
  ntmskMonthlyFee_->SetNumericValue(static_cast<double>(plan.ManagementFee.Units()));
  chkConsolidate_->setChecked(plan.Consolidate);
  const ConsolidationLoanTerms& loan = plan.ConsolidationLoan;
  ntmskInterestRate_->SetNumericValue(loan.InterestRate);
  chkInterestOnly_->setChecked(loan.InterestOnly);
  ntmskFeesRate_->SetNumericValue(loan.FeesRate);
  ntmskConsolidationFees_->SetNumericValue(static_cast<double>(loan.FeesAmount.Units()));
  ntmskTerm_->SetNumericValue(loan.Term);
  ntmskCashOut_->SetNumericValue(static_cast<double>(loan.CashOut.Units()));
  filling_ = false;
}

void TfrmMain::UpdateCaption() { setWindowTitle(Q("Ardvane - " + session_.PlanFileName())); }

void TfrmMain::Recalculate() { BitBtn1Click(); }

void TfrmMain::BitBtn1Click() {
  results_ = Calculate(session_.Plan(), params_, settings_, options_.regional);
  PopulateScreenValues();
}

void TfrmMain::EnableButtons() {
  const bool any = session_.Plan().Debts.GetDebtCount() > 0;
  bitbtnEdit_->setEnabled(any);
  bitbtnDelete_->setEnabled(any);
  bitbtnDetails_->setEnabled(any);
  spdbtnPrint_->setEnabled(any);
  printAction_->setEnabled(any);
  exportPdfAction_->setEnabled(any);
}

void TfrmMain::SetupDebtsGrid() {
  QStringList headings = {"Description", "Balance",    "Int Rate",   "Current Pmt",
                          "Min Pmt($)",  "Min Pmt(%)", "Compounding"};
  if (params_.PermitConsolidate) headings << "Consolidate";
  if (params_.PermitNegotiate) headings << "Restructure";
  gridDebts_->setColumnCount(headings.size());
  gridDebts_->setHorizontalHeaderLabels(headings);
  // Widths for the design font, widened so money such as $185,000.00 always shows whole.
  const QFontMetrics metrics(gridDebts_->font());
  const int padding = Px(10);
  const int money = std::max(Px(75), metrics.horizontalAdvance("$185,000.00") + padding);
  for (int col = 0; col < headings.size(); ++col) {
    int width = col == 0 ? Px(150) : col <= 6 ? money : Px(60);
    width = std::max(width, metrics.horizontalAdvance(headings[col]) + padding);
    gridDebts_->setColumnWidth(col, width);
  }
  gridDebts_->verticalHeader()->setDefaultSectionSize(std::max(Px(18), metrics.height() + 4));
}

void TfrmMain::PopulateDebtsGrid() {
  const PlanDocument& plan = session_.Plan();
  const DebtRows& rows = plan.Debts;
  const RegionalSettings& regional = options_.regional;
  const int count = rows.GetDebtCount();
  const int columns = gridDebts_->columnCount();
  gridDebts_->setRowCount(std::max(count, 1));
  const auto set = [this](int row, int col, const std::string& text, bool right) {
    QTableWidgetItem* item = gridDebts_->item(row, col);
    if (!item) {
      item = new QTableWidgetItem;
      gridDebts_->setItem(row, col, item);
    }
    item->setText(Q(text));
    item->setTextAlignment(right ? (Qt::AlignRight | Qt::AlignVCenter)
                                 : (Qt::AlignLeft | Qt::AlignVCenter));
  };
  const auto number = [&regional](const std::string& cell) {
    return StrToFloatSafe(cell, regional.decimalSeparator);
  };
  for (int i = 0; i < count; ++i) {
    std::string name = rows.Cell(i, DebtCol::Name);
    // The warning row says, on hovering, what payment would pay the debt off.
    std::string hint;
    if (DebtNeverPaysOff(results_, i)) {
      name += " - WARNING";
      if (const auto payments = PayoffPaymentsFor(results_, i)) {
        hint = PayoffPaymentsText(*payments, regional);
      }
    }
    set(i, 0, name, false);
    set(i, 1, FormatMoneyUnits(number(rows.Cell(i, DebtCol::Balance)), 2, regional), true);
    set(i, 2, FormatPercent3(number(rows.Cell(i, DebtCol::InterestRate)), regional), true);
    const TLoan* loan = results_.CurrentPlan.GetLoan(i);
    set(i, 3, FormatMoney(loan ? loan->GetScheduledPayment() : Money(), 2, regional), true);
    set(i, 4, FormatMoneyUnits(number(rows.Cell(i, DebtCol::MinimumPaymentAmount)), 2, regional),
        true);
    set(i, 5,
        FormatPercent1(number(rows.Cell(i, DebtCol::MinimumPaymentPercent)), regional),
        true);
    set(i, 6,
        LookupCompoundingPeriodName(StrToIntDefault(rows.Cell(i, DebtCol::CompoundingPeriod), 1)),
        false);
    int col = 7;
    if (params_.PermitConsolidate) {
      set(i, col++, rows.IsSet(i, DebtCol::Consolidate) ? "Yes" : "No", false);
    }
    if (params_.PermitNegotiate) {
      set(i, col++, rows.IsSet(i, DebtCol::Negotiate) ? "Yes" : "No", false);
    }
    for (int c = 0; c < columns; ++c) gridDebts_->item(i, c)->setToolTip(Q(hint));
  }
  if (count == 0) {
    for (int col = 0; col < columns; ++col) {
      set(0, col, "", false);
      gridDebts_->item(0, col)->setToolTip(QString());
    }
  }
  UpdateCaption();
}

void TfrmMain::PopulateScreenValues() {
  const RegionalSettings& regional = options_.regional;
  const PlanDocument& plan = session_.Plan();
  const auto show = [this](const char* name, const std::string& text) {
    Figure(name)->setText(Q(text));
  };
  UpdateCaption();

  shownFigures_ = ComputePlanFigures(plan, results_);
  const PlanFigures& f = shownFigures_;

  // Payoff schedule. A plan that never pays some debt off shows "Never" and names the debts.
  const auto showPayoff = [&](const char* months, const char* years, const char* date,
                              const DebtFreeFigures& figures, DayNumber day) {
    const bool debtFree = figures.DebtFree();
    show(months, debtFree ? std::to_string(figures.months) : "Never");
    show(years, debtFree ? FormatYears(figures.years, regional) : "Never");
    show(date, debtFree ? FormatMonthYear(day) : "Never");
    const QString why =
        debtFree ? QString() : Q("Never paid off: " + JoinNames(figures.neverPaidOffNames));
    for (const char* name : {months, years, date}) Figure(name)->setToolTip(why);
  };
  showPayoff("lblPayoffMonthsCurrent", "lblPayoffYearsCurrent", "lblPayoffDateCurrent",
             f.current, f.laterDebtFreeDate);
  showPayoff("lblPayoffMonthsProposed", "lblPayoffYearsProposed", "lblPayoffDateProposed",
             f.proposed, f.proposed.date);
  show("lblLateYear", FormatMonthYear(f.laterDebtFreeDate));
  show("lblEarlyYear", FormatMonthYear(f.proposed.date));

  // Interest paid.
  show("lblInterestCurrent", FormatMoney(f.current.totalInterest, 2, regional));
  show("lblInterestProposed", FormatMoney(f.proposed.totalInterest, 2, regional));
  show("lblInterestDifference", FormatMoney(f.interestSaved, 2, regional));
  show("lblReturnOnInvestment", FormatPercent2(f.AnnualReturnPercent(), regional));
  std::string note;
  if (!f.current.DebtFree()) {
    note = "The current total and the interest saved leave out the interest of debts never "
           "paid off today: " + JoinNames(f.current.neverPaidOffNames) + ".";
  }
  if (!f.proposed.DebtFree()) {
    if (!note.empty()) note += " ";
    note += "The proposed total leaves out the interest of debts the plan never pays off: " +
            JoinNames(f.proposed.neverPaidOffNames) + ".";
  }
  show("lblNeverPaidOffNote", note);
  Figure("lblNeverPaidOffNote")->setVisible(!note.empty());

  // Projected balances.
  show("lblDebtBalanceCurrent", FormatMoney(f.currentBalanceAtProposedEnd, 2, regional));
  show("lblInvestmentValueCurrent", FormatMoney(Money(), 2, regional));
  show("lblDebtBalanceProposed", FormatMoney(f.proposedBalanceAtProposedEnd, 2, regional));
  show("lblInvestmentValueProposed", FormatMoney(f.investmentValue, 2, regional));

  // New loan.
  const NewLoanFigures& loan = f.newLoan;
  show("lblPayoffBalance", FormatMoney(loan.payoffBalance, 2, regional));
  show("lblOtherFees", FormatMoney(loan.setupFee, 2, regional));
  show("lblFees", FormatMoney(loan.lenderFees, 2, regional));
  show("lblCashPayment", FormatMoney(loan.cashPayment, 2, regional));
  show("lblConsolidationLoanAmount", FormatMoney(loan.amount, 2, regional));
  show("lblPayoffPayment", FormatMoney(loan.payoffPayment, 2, regional));
  show("lblConsolidationLoanPayment", FormatMoney(loan.payment, 2, regional));
  show("lblDifferencePayment", FormatMoney(loan.paymentDifference, 2, regional));
  show("lblCurrentInterestRate", FormatPercent3(loan.payoffRatePercent, regional));
  show("lblConsolidationInterestRate", FormatPercent3(loan.ratePercent, regional));
  show("lblDifferenceInterestRate", FormatPercent3(loan.rateDifferencePercent, regional));

  // Charts, on screen and in the report's chart forms.
  FillPayoffDatesChart(*graphPayoffDates_->chart(), plan, results_, WindowPayoffTexts(), regional);
  FillInterestChart(*chart1_->chart(), results_, WindowInterestTexts(), regional);
  FillBalancesChart(*chart3_->chart(), plan, results_, WindowBalancesTexts(), regional);
  chartForms_->Refresh(plan, results_, params_);

  // The fee charged; the entry field shows only while it is the fee entered.
  lblPercentSetupFee_->setText(Q(FormatMoney(results_.ActualSetupFee, 0, regional)));
  const bool feeAsEntered =
      results_.ActualSetupFee == Money::FromUnits(ntmskFeesAmount_->NumericValue());
  ntmskFeesAmount_->setVisible(feeAsEntered);
  lblPercentSetupFee_->setVisible(!feeAsEntered);  // it lies under the field

  if (setupFeeDialog_) setupFeeDialog_->ShowFigures(MakeSetupFeeFigures(plan, results_, regional));

  strategiesStale_ = true;
  RefreshStrategies();
}

void TfrmMain::RefreshStrategies() {
  if (pages_->currentWidget() != strategiesPage_) return;
  strategiesPage_->ShowComparison(
      CompareStrategies(session_.Plan(), params_, settings_, options_.regional));
  strategiesStale_ = false;
}

void TfrmMain::SetFeeLabelLook(bool link) {
  QFont font = lblPercentSetupFee_->font();
  font.setBold(true);
  font.setUnderline(link);
  lblPercentSetupFee_->setFont(font);
  QPalette palette = lblPercentSetupFee_->palette();
  palette.setColor(QPalette::WindowText,
                   link ? QColor(Qt::blue) : QApplication::palette().color(QPalette::WindowText));
  lblPercentSetupFee_->setPalette(palette);
  lblPercentSetupFee_->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

int TfrmMain::SelectedGridRow() const {
  const int row = gridDebts_->currentRow();
  return row < 0 ? 0 : row + 1;
}

void TfrmMain::SelectGridRow(int gridRow) {
  const int row = std::clamp(gridRow - 1, 0, std::max(0, gridDebts_->rowCount() - 1));
  gridDebts_->setCurrentCell(row, std::max(0, gridDebts_->currentColumn()));
  gridDebts_->selectRow(row);
}

void TfrmMain::spdbtnNewClick() {
  if (session_.NewPlan()) ShowPlan();
  results_ = Calculate(session_.Plan(), params_, settings_, options_.regional);
  PopulateDebtsGrid();
  BitBtn1Click();
  EnableButtons();
  SelectGridRow(1);
}

void TfrmMain::spdbtnOpenClick() {
  if (session_.OpenPlan()) {
    ShowPlan();
    results_ = Calculate(session_.Plan(), params_, settings_, options_.regional);
    PopulateDebtsGrid();
    SelectGridRow(1);
  }
  EnableButtons();
  BitBtn1Click();
}

void TfrmMain::spdbtnSaveClick(bool saveAs) {
  session_.SavePlan(saveAs);
  UpdateCaption();
}

void TfrmMain::AfterDebtListChange(int gridRowToSelect) {
  results_ = Calculate(session_.Plan(), params_, settings_, options_.regional);
  PopulateDebtsGrid();
  PopulateScreenValues();
  EnableButtons();
  SelectGridRow(gridRowToSelect);
}

void TfrmMain::bitbtnNewClick(bool add) {
  const int count = session_.Plan().Debts.GetDebtCount();
  if (!add && count == 0) return;
  const int selected = add ? count : std::clamp(SelectedGridRow() - 1, 0, count - 1);
  if (!add) {
    if (auto warning = NoPayoffWarning(session_.Plan(), results_, selected, options_.regional)) {
      prompts_.ShowWarning(*warning);
    }
  }
  // The dialog stores the debt itself: on OK, and while it moves between debts.
  TfrmDebt dialog(session_, prompts_, options_.programFolder, this);
  if (add) {
    dialog.StartAdd();
  } else {
    dialog.StartEdit(selected);
  }
  connect(&dialog, &TfrmDebt::debtShown, this, [this](int index) { SelectGridRow(index + 1); });
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (!accepted && !dialog.WroteBack()) return;
  const int current = dialog.CurrentDebt();
  results_ = Calculate(session_.Plan(), params_, settings_, options_.regional);
  if (auto warning = NoPayoffWarning(session_.Plan(), results_, current, options_.regional)) {
    prompts_.ShowWarning(*warning);
  }
  PopulateDebtsGrid();
  PopulateScreenValues();
  EnableButtons();
  SelectGridRow(session_.Plan().Debts.GetDebtCount() == 0 ? 1 : current + 1);
}

void TfrmMain::bitbtnDeleteClick() {
  const auto next = session_.DeleteSelectedDebt(SelectedGridRow());
  if (!next) return;
  AfterDebtListChange(*next);
}

void TfrmMain::bitbtnUpClick(bool up) {
  const auto target = session_.SwapOrder(SelectedGridRow() - 1, up);
  if (!target) return;
  AfterDebtListChange(*target + 1);
}

void TfrmMain::CopySelectedDebts() {
  if (session_.Plan().Debts.GetDebtCount() == 0) return;
  std::vector<int> selected;
  for (const QModelIndex& index : gridDebts_->selectionModel()->selectedRows()) {
    selected.push_back(index.row());
  }
  if (selected.empty()) return;
  std::sort(selected.begin(), selected.end());
  std::vector<std::vector<std::string>> rows;
  for (int row : selected) {
    std::vector<std::string>& cells = rows.emplace_back();
    for (int col = 0; col < gridDebts_->columnCount(); ++col) {
      const QTableWidgetItem* item = gridDebts_->item(row, col);
      cells.push_back(item ? item->text().toStdString() : std::string());
    }
  }
  QApplication::clipboard()->setText(Q(TabSeparatedRows(rows)));
}

std::string TfrmMain::InformationText() const {
  const RegionalSettings& regional = options_.regional;
  const PlanFigures& f = shownFigures_;
  std::string text = "Current Total Payment:    " + FormatMoney(f.current.monthlyOutlay, 2, regional);
  text += "\n\nProposed Total Payment:  " + FormatMoney(f.proposed.monthlyOutlay, 2, regional);
  text += "\n\nAnnual Return:  " + FormatPercent2(f.AnnualReturnPercent(), regional);
  text += "\n\nTotal Escrow:  " + FormatMoney(f.escrow, 2, regional);
  // A plan without debts has no loan to name a priority for.
  const TLoan* loan = results_.ProposedPlan.GetLoan(SelectedGridRow() - 1);
  text += "\n\nSelected Debt Priority:  " + (loan ? std::to_string(loan->PayoffOrder()) : "");
  return text;
}

void TfrmMain::About1Click() {
  TfrmAbout about(options_.programFolder, options_.versionText, params_.VersionName, this);
  about.exec();
}

void TfrmMain::bitbtnDetailsClick() {
  TfrmDetail details(session_.Plan(), results_, options_.regional, prompts_,
                     std::filesystem::path(session_.PlanDirectory()) / session_.PlanFileName(),
                     this);
  details.exec();
}

void TfrmMain::bitbtnRecommendationClick() {
  if (session_.Plan().Debts.GetDebtCount() == 0) {
    prompts_.ShowInformation(kNoDebtsToRecommend);
    return;
  }
  TfrmRecommendation recommendation(session_.Plan(), results_, options_.regional,
                                    [this] { SelectDebtsToConsolidate(true); }, this);
  recommendation.exec();
}

void TfrmMain::SelectDebtsToConsolidate(bool announce) {
  const int selected = SelectedGridRow();
  DebtRows rows = session_.Plan().Debts;
  const bool changed = ::ardvane::SelectDebtsToConsolidate(
      rows, session_.Plan().ConsolidationLoan.InterestRate, options_.regional);
  for (int i = 0; i < rows.GetDebtCount(); ++i) {
    if (rows.Cell(i, DebtCol::Consolidate) != session_.Plan().Debts.Cell(i, DebtCol::Consolidate)) {
      session_.EditDebt(i, rows.Row(i));
    }
  }
  results_ = Calculate(session_.Plan(), params_, settings_, options_.regional);
  PopulateDebtsGrid();
  SelectGridRow(selected);
  PopulateScreenValues();
  session_.SetChanged(true);
  if (announce) prompts_.ShowInformation(ConsolidationOutcomeMessage(changed));
}

void TfrmMain::spdbtnSetupFeeClick() {
  SetFeeLabelLook(false);
  // The dialog writes the plan; this shows its fee in the fee field and recalculates.
  const auto recalculate = [this] {
    filling_ = true;
    ntmskFeesAmount_->SetNumericValue(static_cast<double>(session_.Plan().SetupFee.Units()));
    filling_ = false;
    BitBtn1Click();
  };
  TfrmSetupFee dialog(session_, options_.regional, recalculate, this);
  setupFeeDialog_ = &dialog;
  PopulateScreenValues();
  dialog.exec();
  setupFeeDialog_ = nullptr;
}

void TfrmMain::spdbtnAcceleratorClick() {
  const DebtFreeFigures& proposed = shownFigures_.proposed;
  TfrmAccelerator dialog(session_, options_.regional, params_, settings_,
                         proposed.DebtFree() ? proposed.date : 0, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const Accelerator& first = session_.Plan().Accelerators[0];
  filling_ = true;
  ntmskAccelerator_->SetNumericValue(static_cast<double>(first.Monthly.Units()));
  ntmskAnnualAccelerator_->SetNumericValue(static_cast<double>(first.Annual.Units()));
  filling_ = false;
  StoreAccelerator();
  Recalculate();
}

void TfrmMain::Preferences1Click() {
  TfrmPreferences dialog(settings_, params_, options_.programFolder, this);
  if (dialog.exec() == QDialog::Accepted) Recalculate();
}

void TfrmMain::spdbtnNotesClick() {
  if (!notes_) {
    auto now = options_.now;
    if (!now) now = [today = options_.today] { return LocalDateTime{today, 0, 0, 0}; };
    notes_ = new TfrmNotes(session_, settings_, options_.regional, prompts_, std::move(now),
                           nullptr, this);
  }
  notes_->OpenNotes();
}

namespace {

// The print command's questions and actions, answered by the window's prompts.
class WindowPrintSurroundings : public PrintSurroundings {
 public:
  WindowPrintSurroundings(WindowPrompts& prompts, const MainWindowOptions& options)
      : prompts_(prompts), options_(options) {}
  FileExistsAnswer AskFileExists(const std::string& path) override {
    return prompts_.AskFileExists(path);
  }
  int OpenDocument(const std::string& path) override { return prompts_.OpenDocument(path); }
  void ShowInformation(const std::string& message) override { prompts_.ShowInformation(message); }
  bool Confirm(const std::string& question) override { return prompts_.Confirm(question); }
  LocalDateTime Now() override {
    return options_.now ? options_.now() : LocalDateTime{options_.today, 0, 0, 0};
  }

 private:
  WindowPrompts& prompts_;
  const MainWindowOptions& options_;
};

// The PDF export's questions and messages, answered by the window's prompts.
class WindowPdfSurroundings : public PdfExportSurroundings {
 public:
  explicit WindowPdfSurroundings(WindowPrompts& prompts) : prompts_(prompts) {}
  FileExistsAnswer AskFileExists(const std::string& path) override {
    return prompts_.AskFileExists(path);
  }
  std::optional<std::filesystem::path> ChoosePdfFile(const std::filesystem::path& folder,
                                                     const std::string& proposedName) override {
    return prompts_.ChoosePdfFile(folder, proposedName);
  }
  void ShowInformation(const std::string& message) override { prompts_.ShowInformation(message); }
  void ShowError(const std::string& message) override { prompts_.ShowError(message); }
  bool Confirm(const std::string& question) override { return prompts_.Confirm(question); }
  void ShowBusy(bool busy) override {
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }

 private:
  WindowPrompts& prompts_;
};

}  // namespace

void TfrmMain::spdbtnPrintClick() { StartReport(false); }

void TfrmMain::ExportPdfClick() { StartReport(true); }

void TfrmMain::StartReport(bool pdf) {
  reportAsPdf_ = pdf;
  BitBtn1Click();
  if (settings_.PrintLanguage == 99) {
    // Just below the Print button; nothing happens until a language is chosen.
    popLanguage_->popup(spdbtnPrint_->mapToGlobal(QPoint(0, spdbtnPrint_->height() + 20)));
    return;
  }
  English1Click(settings_.PrintLanguage);
}

void TfrmMain::English1Click(int language) {
  ReportLanguage_ = language;
  if (reportAsPdf_) {
    ExportReportPdf();
  } else {
    PrepareReportFile();
  }
}

std::filesystem::path TfrmMain::ReportFilePath() const {
  const std::string languageWord = Translate("English", ReportLanguage_, options_.programFolder);
  return ::ardvane::ReportFilePath(
      settings_.ReportDirectory,
      ReportFileName(session_.Plan(), params_.PermitLanguage, languageWord, options_.regional));
}

bool TfrmMain::WriteReport(const std::filesystem::path& path) {
  ChartFormPictures pictures(*chartForms_);
  ReportContext context;
  context.plan = &session_.Plan();
  context.results = &results_;
  context.params = &params_;
  context.settings = &settings_;
  context.regional = &options_.regional;
  context.programFolder = options_.programFolder;
  context.language = ReportLanguage_;
  context.showError = [this](const std::string& message) { prompts_.ShowError(message); };
  context.pictures = &pictures;
  const ReportDocumentOutcome outcome = WriteReportDocument(context, path);
  // One box at the end of the run names every paragraph that was not found.
  if (!outcome.missingParagraphs.empty()) {
    std::string message;
    for (const std::filesystem::path& paragraph : outcome.missingParagraphs) {
      if (!message.empty()) message += '\n';
      message += MissingParagraphMessage(paragraph);
    }
    prompts_.ShowError(message);
  }
  return outcome.saved;
}

void TfrmMain::PrepareReportFile() {
  PrintJob job;
  job.reportDirectory = settings_.ReportDirectory;
  job.reportPath = ReportFilePath();
  job.programFolder = options_.programFolder;
  job.printLog = params_.PermitPrintLog;
  job.regional = options_.regional;
  job.generate = [this](const std::filesystem::path& path) { return WriteReport(path); };
  WindowPrintSurroundings surroundings(prompts_, options_);
  ::ardvane::PrepareReportFile(job, surroundings);
}

void TfrmMain::ExportReportPdf() {
  PdfExportJob job;
  job.reportDirectory = settings_.ReportDirectory;
  job.reportPath = ReportFilePath();
  job.paper = options_.paper;
  job.generate = [this](const std::filesystem::path& path) { return WriteReport(path); };
  WindowPdfSurroundings surroundings(prompts_);
  ::ardvane::ExportReportPdf(job, surroundings);
}

void TfrmMain::spdbtnFormClick() {
  const std::filesystem::path form = options_.programFolder / "Templates" / "DataSheet.doc";
  std::error_code ec;
  if (std::filesystem::exists(form, ec)) {
    prompts_.OpenDocument(form.string());
  } else {
    prompts_.ShowInformation("Data Form not found:\n\n" + form.string());
  }
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isActiveWindow()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10) {
      prompts_.ShowInformation(InformationText());
      return true;
    }
    if (key->key() == Qt::Key_F8) {
      chartForms_->ShowEnglishForms();
      return true;
    }
  }
  if (watched == gridDebts_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      bitbtnNewClick(false);
      return true;
    }
    if (key->matches(QKeySequence::Copy)) {
      CopySelectedDebts();
      return true;
    }
  }
  if (watched == gridDebts_->viewport() && event->type() == QEvent::MouseButtonRelease &&
      session_.Plan().Debts.GetDebtCount() == 0) {
    bitbtnNewClick(true);
    return true;
  }
  if (watched == lblPercentSetupFee_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    spdbtnSetupFeeClick();
    return true;
  }
  if (watched == lblPercentSetupFee_ && event->type() == QEvent::Enter) SetFeeLabelLook(true);
  if (watched == grpAssumptions_ && event->type() == QEvent::MouseMove) SetFeeLabelLook(false);
  if (watched == lblPercentSetupFee_ && event->type() == QEvent::Leave) SetFeeLabelLook(false);
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // Leaving a field by closing the window still keeps what was typed.
  if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
  if (!session_.CheckForChanges()) {
    event->ignore();
    return;
  }
  std::string ignored;  // the preferences are a convenience; a failure must not keep the window
  SavePreferences(LoadPreferences(options_.programFolder), settings_, options_.programFolder,
                  session_.PlanDirectory(), session_.PlanFileName(), &ignored);
  for (ChartFormKind kind : {ChartFormKind::kPayoff, ChartFormKind::kPayoffSpanish,
                             ChartFormKind::kBalances, ChartFormKind::kBalancesSpanish}) {
    chartForms_->Form(kind).close();
  }
  if (notes_) notes_->hide();
  event->accept();
}

}  // namespace ardvane
