#include "ui/dialogs/detail_window.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "base/atomic_file.h"
#include "figures/csv_tables.h"
#include "figures/detail_tables.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

const QColor kNavyText(0, 0, 128);
const QColor kPurpleText(128, 0, 128);

// A list entry as part of a file name: characters that folders or desktops trip on go.
std::string FileNamePart(std::string text) {
  for (char& c : text) {
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|') {
      c = '-';
    }
  }
  return text;
}

// One of the three tables' choices, in the colour of its plan's figures (none for `colour`
// null).
QRadioButton* NewPlanChoice(QWidget* parent, const char* name, const char* caption,
                            const QColor* colour) {
  auto* option = new QRadioButton(caption, parent);
  option->setObjectName(name);
  if (colour) {
    QPalette palette = option->palette();
    palette.setColor(QPalette::WindowText, *colour);
    palette.setColor(QPalette::ButtonText, *colour);
    option->setPalette(palette);
  }
  return option;
}

}  // namespace

// A monthly table as a Qt model; each cell is written when the view asks for it.
class MonthlyTableModel : public QAbstractTableModel {
 public:
  MonthlyTableModel(const RegionalSettings& regional, QObject* parent)
      : QAbstractTableModel(parent), regional_(regional) {}

  void SetTable(MonthlyTable table, QColor colour) {
    beginResetModel();
    table_ = std::move(table);
    colour_ = colour;
    endResetModel();
  }
  const MonthlyTable& Table() const { return table_; }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : table_.RowCount();
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : table_.ColumnCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    switch (role) {
      case Qt::DisplayRole:
        return Q(table_.Cell(index.row(), index.column(), regional_));
      case Qt::TextAlignmentRole:
        return QVariant::fromValue(MonthlyTable::IsMoneyColumn(index.column())
                                       ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
      case Qt::ForegroundRole:
        return colour_.isValid() ? QVariant(colour_) : QVariant();
    }
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= table_.ColumnCount()) return {};
    return Q(table_.Headings()[static_cast<size_t>(section)]);
  }

 private:
  const RegionalSettings& regional_;
  MonthlyTable table_;
  QColor colour_;
};

DetailWindow::DetailWindow(const PlanDocument& plan, const PlanResults& results,
                           const RegionalSettings& regional, WindowPrompts& prompts,
                           std::filesystem::path planPath, QWidget* parent)
    : QDialog(parent),
      plan_(plan),
      results_(results),
      regional_(regional),
      prompts_(prompts),
      planPath_(std::move(planPath)) {
  setObjectName("frmDetail");
  setWindowTitle("Details");
  px_ = DesignPixels(*this);

  QGroupBox* debts = DebtsGroup();
  QGroupBox* tables = AmortizationGroup();
  auto* body = new QHBoxLayout;
  body->addWidget(debts);
  body->addWidget(tables, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(ButtonRow());

  FillDebtList();
  ConnectChoices();
  PlaceOnScreen(parent);
  ShowSelectedTable();
}

QGroupBox* DetailWindow::DebtsGroup() {
  auto* debts = new QGroupBox("Debts", this);
  debts->setObjectName("grpDebts");
  debts->setFixedWidth(px_(161));
  auto* debtsLayout = new QVBoxLayout(debts);
  auto* hint = new QLabel("Select a debt to view its amortization schedule", debts);
  hint->setAlignment(Qt::AlignCenter);
  hint->setWordWrap(true);
  debtList_ = new QListWidget(debts);
  debtList_->setObjectName("listDebts");
  debtsLayout->addWidget(hint);
  debtsLayout->addWidget(debtList_, 1);
  return debts;
}

QGroupBox* DetailWindow::AmortizationGroup() {
  amortizationGroup_ = new QGroupBox("Amortization Schedule", this);
  amortizationGroup_->setObjectName("grpAmortization");
  auto* tablesLayout = new QVBoxLayout(amortizationGroup_);
  tablesLayout->addLayout(PlanChoices());

  noAmortizationLabel_ = new QLabel(amortizationGroup_);
  noAmortizationLabel_->setObjectName("pnlNoAmortization");
  noAmortizationLabel_->setFrameShape(QFrame::StyledPanel);
  noAmortizationLabel_->setAlignment(Qt::AlignCenter);
  noAmortizationLabel_->setWordWrap(true);
  noAmortizationLabel_->setFixedHeight(px_(73));
  noAmortizationLabel_->hide();
  tablesLayout->addWidget(noAmortizationLabel_);

  neverPaidOffLabel_ = new QLabel(amortizationGroup_);
  neverPaidOffLabel_->setObjectName("lblNeverPaidOff");
  neverPaidOffLabel_->setWordWrap(true);
  neverPaidOffLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                              Qt::TextSelectableByKeyboard);
  neverPaidOffLabel_->hide();
  tablesLayout->addWidget(neverPaidOffLabel_);

  amortizationGrid_ = new QTableView(amortizationGroup_);
  amortizationGrid_->setObjectName("gridAmortization");
  amortizationModel_ = new MonthlyTableModel(regional_, this);
  investmentGrid_ = new QTableView(amortizationGroup_);
  investmentGrid_->setObjectName("gridInvestment");
  investmentModel_ = new MonthlyTableModel(regional_, this);
  tablesLayout->addWidget(amortizationGrid_, 1);
  tablesLayout->addWidget(investmentGrid_, 1);
  tablesLayout->addStretch(0);

  // Widths hold the widest figures of the largest tables: all debts together in either plan,
  // and the whole projection.
  const DayNumber date = plan_.Date;
  SetUpGrid(amortizationGrid_, amortizationModel_,
            {MonthlyTable::Amortization(results_, date, true, -1),
             MonthlyTable::Amortization(results_, date, false, -1)},
            {40, 35, 85, 65, 65, 65, 85});
  SetUpGrid(investmentGrid_, investmentModel_, {MonthlyTable::Investment(results_, date)},
            {40, 35, 85, 65, 65, 85});
  investmentGrid_->hide();
  return amortizationGroup_;
}

QHBoxLayout* DetailWindow::PlanChoices() {
  currentOption_ = NewPlanChoice(amortizationGroup_, "optCurrent", "Current", &kNavyText);
  proposedOption_ = NewPlanChoice(amortizationGroup_, "optProposed", "Proposed", &kPurpleText);
  investmentOption_ = NewPlanChoice(amortizationGroup_, "optInvestment", "Investment", nullptr);
  currentOption_->setChecked(true);
  auto* choices = new QHBoxLayout;
  choices->addWidget(currentOption_);
  choices->addWidget(proposedOption_);
  choices->addWidget(investmentOption_);
  choices->addStretch(1);
  return choices;
}

QHBoxLayout* DetailWindow::ButtonRow() {
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Button1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* exportButton = new QPushButton("Export &CSV\u2026", this);
  exportButton->setObjectName("btnExportCsv");
  exportButton->setToolTip("Save the monthly tables for a spreadsheet");
  exportButton->setAutoDefault(false);
  auto* exportMenu = new QMenu(exportButton);
  QAction* shown = exportMenu->addAction("&Table shown\u2026");
  shown->setObjectName("ExportShownCsv");
  QAction* all = exportMenu->addAction("&All amortization tables, both plans\u2026");
  all->setObjectName("ExportAllCsv");
  exportButton->setMenu(exportMenu);
  connect(shown, &QAction::triggered, this, &DetailWindow::ExportShownTable);
  connect(all, &QAction::triggered, this, &DetailWindow::ExportAllTables);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(exportButton);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addStretch(1);
  // Balances the export button, so OK stays in the middle.
  buttons->addSpacing(exportButton->sizeHint().width());
  return buttons;
}

void DetailWindow::FillDebtList() {
  for (const std::string& entry : DetailListEntries(plan_, results_)) {
    debtList_->addItem(Q(entry));
  }
  debtList_->setCurrentRow(0);
}

void DetailWindow::ConnectChoices() {
  connect(debtList_, &QListWidget::currentRowChanged, this, &DetailWindow::ShowSelectedTable);
  for (QRadioButton* option : {currentOption_, proposedOption_, investmentOption_}) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) ShowSelectedTable();
    });
  }
}

void DetailWindow::PlaceOnScreen(const QWidget* parent) {
  // As wide as the grid's columns need, never narrower than the drawn size.
  const int tableWidth = amortizationGrid_->horizontalHeader()->length() +
                         amortizationGrid_->verticalScrollBar()->sizeHint().width() +
                         2 * amortizationGrid_->frameWidth() + px_(24);
  resize(std::max(px_(640), px_(161) + tableWidth + px_(24)), px_(480));
  if (const QScreen* screen = parent ? parent->screen() : this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

DetailWindow::~DetailWindow() = default;

void DetailWindow::SetUpGrid(QTableView* grid, MonthlyTableModel* model,
                             const std::vector<MonthlyTable>& tables,
                             const std::vector<int>& designWidths) {
  grid->setModel(model);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setShowGrid(true);
  grid->setWordWrap(false);
  grid->setTextElideMode(Qt::ElideNone);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(
      std::max(px_(18), grid->fontMetrics().height() + 4));
  QHeaderView* header = grid->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setSectionsMovable(true);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);

  // The drawn widths, widened where this font needs more for a heading or for the widest
  // figure of any of `tables`.
  const QFontMetrics metrics(grid->font());
  const int padding = px_(10);
  const auto fit = [&metrics, padding](int& width, const std::string& text) {
    width = std::max(width, metrics.horizontalAdvance(Q(text)) + padding);
  };
  model->SetTable(tables.front(), QColor());
  for (int column = 0; column < model->Table().ColumnCount(); ++column) {
    int width = px_(designWidths[static_cast<size_t>(column)]);
    fit(width, model->Table().Headings()[static_cast<size_t>(column)]);
    if (MonthlyTable::IsMoneyColumn(column)) {
      for (const MonthlyTable& table : tables) {
        for (const std::string& text : table.WidestTexts(column, regional_)) fit(width, text);
      }
    } else {
      fit(width, column == 0 ? "0000" : "May");
    }
    grid->setColumnWidth(column, width);
  }
}

void DetailWindow::ShowSelectedTable() {
  noAmortizationLabel_->hide();
  neverPaidOffLabel_->hide();
  const int index = debtList_->currentRow() - 1;
  if (investmentOption_->isChecked()) {
    amortizationGrid_->hide();
    investmentGrid_->show();
    amortizationGroup_->setTitle("Investment Value Projection");
    debtList_->setEnabled(false);
    PopulateDataGrid(false, index);
    return;
  }
  const bool current = currentOption_->isChecked();
  investmentGrid_->hide();
  amortizationGrid_->show();
  amortizationGroup_->setTitle("Amortization Schedule");
  debtList_->setEnabled(true);
  if (ShowAmortization(plan_, results_, current, index)) {
    PopulateDataGrid(current, index);
    if (const auto note = NeverPaidOffTableNote(plan_, results_, current, index, regional_)) {
      neverPaidOffLabel_->setText(Q(*note));
      neverPaidOffLabel_->show();
    }
    return;
  }
  amortizationGrid_->hide();
  const QListWidgetItem* item = debtList_->currentItem();
  const std::string entry = item ? item->text().toStdString() : std::string();
  noAmortizationLabel_->setText(Q(NoAmortizationMessage(entry, current)));
  noAmortizationLabel_->show();
}

void DetailWindow::PopulateDataGrid(bool current, int index) {
  amortizationModel_->SetTable(MonthlyTable::Amortization(results_, plan_.Date, current, index),
                               current ? kNavyText : kPurpleText);
  if (investmentOption_->isChecked()) {
    investmentModel_->SetTable(MonthlyTable::Investment(results_, plan_.Date), QColor());
  }
}

void DetailWindow::ExportShownTable() {
  const std::string stem = planPath_.stem().string();
  if (investmentOption_->isChecked()) {
    ExportCsv(
        stem + " - Investment.csv",
        MonthlyTableCsv(MonthlyTable::Investment(results_, plan_.Date), CsvFlavour::kSpreadsheet));
    return;
  }
  const bool current = currentOption_->isChecked();
  const int index = debtList_->currentRow() - 1;
  const QListWidgetItem* item = debtList_->currentItem();
  const std::string entry = item ? item->text().toStdString() : std::string();
  if (!ShowAmortization(plan_, results_, current, index)) {
    prompts_.ShowInformation("There is no table to export: " +
                             NoAmortizationMessage(entry, current));
    return;
  }
  ExportCsv(stem + " - " + FileNamePart(entry) + (current ? " - Current.csv" : " - Proposed.csv"),
            MonthlyTableCsv(MonthlyTable::Amortization(results_, plan_.Date, current, index),
                            CsvFlavour::kSpreadsheet));
}

void DetailWindow::ExportAllTables() {
  ExportCsv(planPath_.stem().string() + " - Amortization.csv",
            AmortizationCsv(plan_, results_, CsvFlavour::kSpreadsheet));
}

void DetailWindow::ExportCsv(const std::string& proposedName, const std::string& csv) {
  const auto path = prompts_.ChooseCsvFile(planPath_.parent_path(), proposedName);
  if (!path) return;
  if (const Status written = WriteFileAtomically(*path, csv); !written.ok()) {
    prompts_.ShowError("The table could not be saved as " + path->string() + ": " +
                       written.message() + ". Nothing was changed there.");
  }
}

}  // namespace ardvane
