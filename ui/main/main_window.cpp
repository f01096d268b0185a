#include "ui/main/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "engine/calculation_limits.h"
#include "figures/display_formats.h"
#include "figures/plan_statements.h"
#include "figures/strategies.h"
#include "inputs/plan_fee_values.h"
#include "inputs/set_payment.h"
#include "ui/charts/chart_forms.h"
#include "ui/dialogs/notes_window.h"
#include "ui/dialogs/setup_fee_dialog.h"
#include "ui/main/debt_grid_view.h"
#include "ui/main/debt_table_model.h"
#include "ui/main/input_panel.h"
#include "ui/main/plan_history.h"
#include "ui/main/results_panel.h"
#include "ui/main/strategies_page.h"
#include "ui/widgets/amount_field.h"
#include "ui/widgets/qt_text.h"
#include "ui/widgets/scrolling.h"

namespace ardvane {
namespace {

StartupFiles StartupFilesOf(const MainWindowOptions& options) {
  StartupFiles files;
  files.programFolder = options.programFolder;
  files.regional = options.regional;
  return files;
}

}  // namespace

MainWindow::MainWindow(MainWindowOptions options, WindowPrompts& prompts, QWidget* parent)
    : MainWindow(options, LoadStartupSettings(StartupFilesOf(options)), prompts, parent) {}

MainWindow::MainWindow(MainWindowOptions& options, StartupSettings startup, WindowPrompts& prompts,
                       QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      prompts_(prompts),
      settingsStore_(options_.programFolder, startup),
      settings_(startup.settings),
      params_(std::move(startup.params)),
      session_(params_, options_.regional, options_.today, prompts),
      history_(session_, [this](int row) { ShowRestoredPlan(row); }) {
  setObjectName("frmMain");
  setWindowTitle("Ardvane +");
  // Every edit calculates the plan and may compare its strategies: a plan too large for that
  // is not opened.
  session_.RefusePlansBeyond(kWindowLimit);
  px_ = DesignPixels(*this);

  chartForms_ = std::make_unique<ChartForms>(options_.regional, options_.programFolder, this);
  BuildMenuAndToolBar();
  BuildPanels();
  statusBar()->setObjectName("StatusBar1");
  ConnectInputs();
  ConnectDebtGrid();
  qApp->installEventFilter(this);  // F8 and F10 reach the window before any control
  RefreshRecentPlans();
  ShowStartupProblems(startup);
  Start(options_.arguments);
}

void MainWindow::ShowStartupProblems(const StartupSettings& startup) {
  // Built by appending: g++ 12 warns falsely (-Wrestrict) about a literal plus a string.
  const auto show = [this](const Status& status, const char* consequence) {
    if (status.ok()) return;
    std::string message("Could not read ");
    message.append(status.message()).append(".\n\n").append(consequence);
    prompts_.ShowWarning(message);
  };
  show(startup.paramsStatus, "The program uses the default parameters.");
  show(startup.settingsStatus,
       "The program uses the default settings and leaves this file as it is until it is "
       "started again.");
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::BuildPanels() {
  in_ = new InputPanel(options_.regional, px_, this);
  out_ = new ResultsPanel(options_.regional, px_, this);
  debtModel_ = new DebtTableModel(
      options_.regional, DebtGridColumns{params_.PermitConsolidate, params_.PermitNegotiate}, this);
  in_->debtGrid->setModel(debtModel_);
  // Widths for the design font, widened so money such as $185,000.00 always shows whole.
  const QFontMetrics metrics(in_->debtGrid->font());
  const int padding = px_(12);
  const int money = std::max(px_(75), metrics.horizontalAdvance("$185,000.00") + padding);
  // The payoff column: the warning icon and "Never".
  const int icon = in_->debtGrid->style()->pixelMetric(QStyle::PM_SmallIconSize);
  const int payoff = icon + metrics.horizontalAdvance("Never") + 2 * padding;
  for (int col = 0; col < debtModel_->columnCount(); ++col) {
    int width = col == 0                       ? px_(150)
                : col == kDebtGridPayoffColumn ? payoff
                : col <= 7                     ? money
                                               : px_(60);
    const QString heading = debtModel_->headerData(col, Qt::Horizontal).toString();
    width = std::max(width, metrics.horizontalAdvance(heading) + padding);
    in_->debtGrid->setColumnWidth(col, width);
  }

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName("splitter");
  splitter->setHandleWidth(6);
  splitter->setOpaqueResize(true);
  splitter->setChildrenCollapsible(false);
  QScrollArea* left = Scrolling(in_, splitter);
  // The results scroll page by page, below their tab bar.
  QWidget* right = out_;
  splitter->addWidget(left);
  splitter->addWidget(right);
  // A larger window widens both halves, the results twice as much: more of the grid's
  // columns come into view, and the charts grow.
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 2);
  setCentralWidget(splitter);

  // Each half as wide as its texts need, the window as wide as both and as tall as the left
  // half with seven debts in view, within the screen. Where the screen is smaller, the halves
  // scroll.
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int leftNeeds = std::max(px_(385), in_->sizeHint().width()) + scrollBar;
  in_->setMinimumWidth(leftNeeds - scrollBar);
  // Where there is room, the grid also shows its payoff column without hiding another.
  const int leftWidth = leftNeeds + in_->debtGrid->columnWidth(kDebtGridPayoffColumn);
  const int rightWidth =
      std::max(px_(800 - 385 - 6), out_->pages->tabBar()->sizeHint().width() + px_(24));
  left->setMinimumWidth(std::min(leftNeeds, px_(200)));
  right->setMinimumWidth(px_(200));
  const int chrome = menuBar()->sizeHint().height() + px_(41) + statusBar()->sizeHint().height();
  QSize wanted(leftWidth + 6 + rightWidth,
               std::max(px_(600), in_->sizeHint().height() + chrome + px_(16)));
  setMinimumSize(std::min(px_(480), wanted.width()), std::min(px_(360), wanted.height()));
  if (const QScreen* screen = this->screen()) {
    const QSize room = screen->availableGeometry().size();
    wanted = wanted.boundedTo(room).expandedTo(minimumSize());
    setMinimumSize(minimumSize().boundedTo(room));
  }
  resize(wanted);
  // The inputs are the daily work: they keep their whole width unless that leaves the results
  // less than a quarter, and the results scroll sideways first.
  const int leftShare = std::min(leftWidth, wanted.width() * 3 / 4);
  splitter->setSizes({leftShare, wanted.width() - leftShare - 6});
}

void MainWindow::ConnectInputs() {
  // Each edit goes straight into the plan as a step of its history; the session marks the
  // plan changed only when the value really changes. What is typed into one field is one
  // step, and leaving the field ends it and recalculates.
  const auto typed = [this](const QString& step, auto store) {
    if (!filling_) history_.Edit(step, [&](PlanSession&) { store(); }, {.typing = true});
  };
  const auto endTyping = [this] {
    history_.EndTyping();
    Recalculate();
  };
  connect(in_->firstNameField, &QLineEdit::textChanged, this, [this, typed](const QString& text) {
    typed("Client Name", [&] { session_.SetFirstName(text.toStdString()); });
  });
  connect(in_->lastNameField, &QLineEdit::textChanged, this, [this, typed](const QString& text) {
    typed("Client Name", [&] { session_.SetLastName(text.toStdString()); });
  });
  for (QLineEdit* name : {in_->firstNameField, in_->lastNameField}) {
    connect(name, &QLineEdit::editingFinished, &history_, &PlanHistory::EndTyping);
  }
  connect(in_->planDateField, &QDateEdit::dateChanged, this, [this, typed](const QDate& date) {
    typed("Plan Date", [&] { session_.SetPlanDate(FromQDate(date)); });
  });
  connect(in_->planDateField, &QDateEdit::editingFinished, this, endTyping);
  // Choosing a day in the drop-down calendar closes it up: that recalculates too.
  connect(in_->planDateField->calendarWidget(), &QCalendarWidget::clicked, this, endTyping);
  connect(in_->priorityChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (filling_ || index < 0) return;
    history_.Edit("Priority",
                  [index](PlanSession& s) { return s.SetPriority(PriorityFromCode(index)); });
    Recalculate();
  });
  const auto onChange = [this, typed, endTyping](AmountField* field, const QString& step,
                                                 auto store) {
    connect(field, &AmountField::changed, this, [typed, step, store] { typed(step, store); });
    connect(field, &AmountField::exited, this, endTyping);
  };
  onChange(in_->powerPaymentField, "Power Payment", [this] { StoreAccelerator(); });
  onChange(in_->annualPowerPaymentField, "Power Payment", [this] { StoreAccelerator(); });
  onChange(in_->returnRateField, "Return Rate",
           [this] { session_.SetReturnRate(Percent(in_->returnRateField->NumericValue())); });
  onChange(in_->feesAmountField, "Plan Fee", [this] {
    session_.SetSetupFee(Money::FromUnits(in_->feesAmountField->NumericValue()));
  });
  onChange(in_->monthlyFeeField, "Monthly Fee", [this] {
    session_.SetManagementFee(Money::FromUnits(in_->monthlyFeeField->NumericValue()));
  });
  for (AmountField* field : {in_->interestRateField, in_->feesRateField,
                             in_->consolidationFeesField, in_->termField, in_->cashOutField}) {
    onChange(field, "Consolidation", [this] { StoreConsolidationTerms(); });
  }
  connect(in_->consolidateCheck, &QCheckBox::clicked, this, [this](bool checked) {
    history_.Edit("Consolidation", [checked](PlanSession& s) { return s.SetConsolidate(checked); });
    Recalculate();
  });
  connect(in_->interestOnlyCheck, &QCheckBox::clicked, this, [this] {
    history_.Edit("Consolidation", [this](PlanSession&) { StoreConsolidationTerms(); });
    Recalculate();
  });
  connect(in_->setupFeeButton, &QPushButton::clicked, this, &MainWindow::EditPlanFee);
  connect(in_, &InputPanel::feeClicked, this, &MainWindow::EditPlanFee);
  connect(in_->powerPaymentButton, &QPushButton::clicked, this, &MainWindow::EditPowerPayment);
  connect(in_->recommendationsButton, &QPushButton::clicked, this, &MainWindow::ShowRecommendation);
  connect(out_->detailsButton, &QPushButton::clicked, this, &MainWindow::ShowMonthlyTables);
  connect(out_->pages, &QTabWidget::currentChanged, this, [this] {
    if (strategiesStale_) RefreshStrategies();
  });
  // A chosen strategy goes through the priority list, as if chosen there; queued, because
  // the recalculation refills the table whose event chose it.
  connect(out_->strategiesPage, &StrategiesPage::strategyChosen, in_->priorityChoice,
          &QComboBox::setCurrentIndex, Qt::QueuedConnection);
}

void MainWindow::ConnectDebtGrid() {
  DebtGridView* grid = in_->debtGrid;
  connect(in_->newDebtButton, &QPushButton::clicked, this, [this] { EnterDebt(true); });
  connect(in_->editDebtButton, &QPushButton::clicked, this, [this] { EnterDebt(false); });
  connect(in_->deleteDebtButton, &QPushButton::clicked, this, &MainWindow::DeleteDebt);
  connect(in_->moveUpButton, &QPushButton::clicked, this, [this] { MoveDebt(true); });
  connect(in_->moveDownButton, &QPushButton::clicked, this, [this] { MoveDebt(false); });
  connect(grid, &DebtGridView::addRequested, this, [this] { EnterDebt(true); });
  connect(grid, &DebtGridView::editRequested, this, [this] {
    if (session_.Plan().Debts.GetDebtCount() > 0) EnterDebt(false);
  });
  connect(grid, &DebtGridView::deleteRequested, this, &MainWindow::DeleteDebt);
  connect(grid, &DebtGridView::moveRequested, this, &MainWindow::MoveDebt);
  connect(grid, &DebtGridView::copyRequested, this, &MainWindow::CopySelectedDebts);

  debtMenu_ = new QMenu(this);
  debtMenu_->setObjectName("popDebt");
  connect(debtMenu_->addAction("Ed&it Debt…"), &QAction::triggered, this,
          [this] { EnterDebt(false); });
  connect(debtMenu_->addAction("Dele&te Debt"), &QAction::triggered, this, &MainWindow::DeleteDebt);
  debtMenu_->addSeparator();
  debtMenu_->addAction(setPaymentAction_);
  connect(grid, &DebtGridView::menuRequested, this, [this](const QPoint& globalPos) {
    ShowSelectedDebt();
    debtMenu_->popup(globalPos);
  });
  connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &MainWindow::ShowSelectedDebt);
}

void MainWindow::ShowSelectedDebt() {
  const int row = SelectedGridRow() - 1;
  const std::optional<SetPaymentOffer> offer =
      SetPaymentOfferFor(session_.Plan(), results_, row, options_.regional);
  setPaymentAction_->setEnabled(offer.has_value());
  // The payment's text is the menu's, with no mnemonic of its own.
  setPaymentAction_->setText(offer ? "Set Pa&yment: " + Q(offer->text).replace('&', "&&")
                                   : QString("Set Pa&yment"));
  const std::string hint = debtModel_->Hint(row);
  if (hint.empty()) {
    statusBar()->clearMessage();
  } else {
    statusBar()->showMessage(Q(session_.Plan().Debts.NameOf(row) + ": " + hint));
  }
}

void MainWindow::StoreAccelerator() {
  Accelerator accelerator = session_.Plan().Accelerators[0];
  accelerator.Monthly = Money::FromUnits(in_->powerPaymentField->NumericValue());
  accelerator.Annual = Money::FromUnits(in_->annualPowerPaymentField->NumericValue());
  session_.SetAccelerator(0, accelerator);
}

void MainWindow::StoreConsolidationTerms() {
  ConsolidationLoanTerms terms = session_.Plan().ConsolidationLoan;
  terms.InterestRate = Percent(in_->interestRateField->NumericValue());
  terms.FeesRate = Percent(in_->feesRateField->NumericValue());
  terms.FeesAmount = Money::FromUnits(in_->consolidationFeesField->NumericValue());
  terms.Term = in_->termField->NumericValue();
  terms.CashOut = Money::FromUnits(in_->cashOutField->NumericValue());
  terms.InterestOnly = in_->interestOnlyCheck->isChecked();
  session_.SetConsolidationLoan(terms);
}

void MainWindow::Start(const std::vector<std::string>& arguments) {
  session_.SetPlanDirectory((options_.programFolder / "data").string());
  std::error_code ec;
  const bool lastFileExists =
      !settings_.LastFile.empty() && std::filesystem::is_regular_file(settings_.LastFile, ec);
  // The plan-path words join into one path (a path with blanks may come in pieces); without
  // words, the last plan used is opened when it is still there.
  std::string name = arguments.empty() && lastFileExists ? settings_.LastFile : std::string();
  for (const std::string& word : arguments) {
    if (!name.empty()) name += ' ';
    name += word;
  }
  ApplyPermissions();

  bool opened = false;
  if (!arguments.empty() || lastFileExists) {
    const Status status =
        name.empty() ? Status::NotFound("no plan file is named") : session_.TryOpenFile(name);
    opened = status.ok();
    if (!opened) {
      // A plan that cannot be read is not shown under its name: the next Save would overwrite
      // the client's file with an empty plan. One too large for the window says why.
      std::string message = "Could not open file ";
      message += name;
      if (status.message().starts_with(kWindowLimit.notDone)) {
        message += "\n\n";
        message += status.message();
      }
      prompts_.ShowError(message);
    }
  }
  if (!opened) {
    session_.SetDefaults();
    session_.SetChanged(false);
  }
  ShowNewPlan();
  if (opened) RememberPlan();
}

void MainWindow::ApplyPermissions() {
  in_->ShowPermissions(params_.PermitConsolidate, params_.PermitCashOut);
  out_->ShowPermissions(params_.PermitConsolidate);
}

void MainWindow::ShowPlan() {
  filling_ = true;
  in_->ShowPlan(session_.Plan());
  filling_ = false;
}

void MainWindow::ShowNewPlan() {
  ShowPlan();
  Recalculate();
  SelectGridRow(1);
  history_.Reset();
}

void MainWindow::ShowRestoredPlan(int row) {
  const int gridRow = row < 0 ? SelectedGridRow() : row + 1;
  ShowPlan();
  AfterDebtListChange(gridRow);
  if (notes_) notes_->ShowPlanNotes();
}

void MainWindow::UpdateCaption() { setWindowTitle(Q("Ardvane - " + session_.PlanFileName())); }

void MainWindow::Recalculate() {
  results_ = Calculate(session_.Plan(), params_, settings_);
  ShowResults();
}

void MainWindow::ShowResults() {
  const PlanDocument& plan = session_.Plan();
  const RegionalSettings& regional = options_.regional;
  UpdateCaption();
  const int selected = SelectedGridRow();
  debtModel_->Show(plan, results_);
  in_->FitNameColumn(px_(150), px_(260));
  SelectGridRow(selected);
  shownFigures_ = ComputePlanFigures(plan, results_);
  shownStatements_ = ComputePlanStatements(plan, params_, settings_, results_);
  out_->ShowResults(plan, results_, shownFigures_, shownStatements_);
  chartForms_->Refresh(plan, results_, shownFigures_, params_);

  // The fee charged; the entry field shows only while it is the fee entered.
  const bool feeAsEntered =
      results_.ActualSetupFee == Money::FromUnits(in_->feesAmountField->NumericValue());
  in_->ShowFeeCharged(FormatMoney(results_.ActualSetupFee, 0, regional), feeAsEntered);
  if (setupFeeDialog_) setupFeeDialog_->ShowFigures(MakeSetupFeeFigures(plan, results_, regional));
  EnableButtons();
  ShowSelectedDebt();

  strategiesStale_ = true;
  RefreshStrategies();
}

void MainWindow::EnableButtons() {
  const bool any = session_.Plan().Debts.GetDebtCount() > 0;
  in_->editDebtButton->setEnabled(any);
  in_->deleteDebtButton->setEnabled(any);
  in_->moveUpButton->setEnabled(any);
  in_->moveDownButton->setEnabled(any);
  out_->detailsButton->setEnabled(any);
  printButton_->setEnabled(any);
  printAction_->setEnabled(any);
  exportPdfAction_->setEnabled(any);
}

void MainWindow::RefreshStrategies() {
  if (out_->pages->currentWidget() != out_->strategiesPage) return;
  out_->strategiesPage->ShowComparison(
      CompareStrategies(session_.Plan(), params_, settings_),
      WriteStatements(shownStatements_, EnglishStatementWords(options_.regional)).strategies);
  strategiesStale_ = false;
}

int MainWindow::SelectedGridRow() const {
  const int row = in_->debtGrid->currentIndex().row();
  return row < 0 ? 0 : row + 1;
}

void MainWindow::SelectGridRow(int gridRow) {
  const int rows = debtModel_->rowCount();
  if (rows == 0) return;
  const int row = std::clamp(gridRow - 1, 0, rows - 1);
  const int column = std::max(0, in_->debtGrid->currentIndex().column());
  in_->debtGrid->selectionModel()->setCurrentIndex(
      debtModel_->index(row, column),
      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isActiveWindow()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // Shift+F10 is left to the control with the focus: it opens a context menu.
    if (key->key() == Qt::Key_F10 && !(key->modifiers() & Qt::ShiftModifier)) {
      prompts_.ShowInformation(InformationText());
      return true;
    }
    if (key->key() == Qt::Key_F8) {
      chartForms_->ShowEnglishForms();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Leaving a field by closing the window still keeps what was typed.
  if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
  if (!session_.CheckForChanges()) {
    event->ignore();
    return;
  }
  // A failure is said, but the window still closes: the preferences are a convenience.
  SaveSettings();
  for (ChartFormKind kind : {ChartFormKind::kPayoff, ChartFormKind::kPayoffSpanish,
                             ChartFormKind::kBalances, ChartFormKind::kBalancesSpanish}) {
    chartForms_->Form(kind).close();
  }
  if (notes_) notes_->hide();
  event->accept();
}

}  // namespace ardvane
