#include "ui/main/strategies_page.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "figures/display_formats.h"
#include "figures/plan_figures.h"
#include "figures/plan_statements.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

enum Column { kStrategy, kDebtFree, kTotalInterest, kInterestSaved, kReturn, kInvestment };

QString DebtFreeText(const DebtFreeFigures& f) {
  if (!f.DebtFree()) return Q("Never: " + JoinNames(f.neverPaidOffNames));
  return Q(FormatWholeNumber(f.months) + (f.months == 1 ? " month\n" : " months\n") +
           FormatMonthYear(f.date));
}

// A tint of the palette's highlight over its base: the table's own text colour stays
// readable on it in light and dark palettes alike.
QColor MostSavedTint(const QPalette& palette) {
  const QColor base = palette.color(QPalette::Base);
  const QColor mark = palette.color(QPalette::Highlight);
  const auto mix = [](int a, int b) { return (a * 3 + b) / 4; };
  return QColor(mix(base.red(), mark.red()), mix(base.green(), mark.green()),
                mix(base.blue(), mark.blue()));
}

}  // namespace

StrategiesPage::StrategiesPage(const RegionalSettings& regional, QWidget* parent)
    : QWidget(parent), regional_(regional) {
  setObjectName("tsStrategies");
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(
      "The plan under every paydown priority. Priorities that give the same figures share a "
      "row. Double-click a row, or select it and press Enter, to use that priority.",
      this);
  intro->setWordWrap(true);
  layout->addWidget(intro);

  table_ = new QTableWidget(this);
  table_->setObjectName("gridStrategies");
  table_->setColumnCount(6);
  table_->setHorizontalHeaderLabels({"Strategy", "Debt free", "Total interest", "Interest saved",
                                     "Return on fees", "Investment value"});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setTabKeyNavigation(false);  // Tab leaves the table; the arrows move between rows
  table_->setFocusPolicy(Qt::StrongFocus);
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideNone);
  table_->verticalHeader()->hide();
  // Sized to the contents once a fill is complete (ShowComparison), not again at each cell.
  table_->horizontalHeader()->setStretchLastSection(false);
  table_->installEventFilter(this);
  layout->addWidget(table_, 1);
  note_ = new QLabel(this);
  note_->setObjectName("lblStrategiesNote");
  note_->setWordWrap(true);
  note_->hide();
  layout->addWidget(note_);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row) { ChooseRow(row); });
}

void StrategiesPage::ShowComparison(const StrategyComparison& comparison,
                                    const std::string& note) {
  note_->setText(Q(note));
  note_->setVisible(!note.empty());
  const int rows = static_cast<int>(comparison.groups.size());
  table_->setRowCount(rows);
  rowCodes_.assign(rows, -1);
  const QColor tint = MostSavedTint(table_->palette());
  const StatementWords words = EnglishStatementWords(regional_);
  int chosenRow = -1;
  for (int row = 0; row < rows; ++row) {
    const std::vector<int>& group = comparison.groups[row];
    const PriorityFigures& f = comparison.strategies[group.front()];
    const bool chosen = comparison.chosen && std::ranges::count(group, *comparison.chosen) > 0;
    rowCodes_[row] = chosen ? *comparison.chosen : group.front();
    if (chosen) chosenRow = row;

    QStringList names;
    for (int code : group) names << Q(std::string(PriorityCaption(code)));
    QString strategy = names.join("\n");
    if (chosen) strategy += "\n(this plan)";
    const bool paysEveryDebt = f.proposed.DebtFree();
    QString saved = Q(SavingCellText(f.shownInterestSaved, paysEveryDebt, words));
    if (f.mostSaved) saved += "\n\u2605 Most saved";
    const QString texts[] = {strategy,
                             DebtFreeText(f.proposed),
                             Q(FormatMoney(f.proposed.totalInterest, 2, regional_)),
                             saved,
                             ShowsReturn(f.shownInterestSaved, paysEveryDebt)
                                 ? Q(FormatPercent2(f.annualReturnFraction * 100, regional_))
                                 : QString(u'\u2014'),
                             Q(SavingFigureCellText(FormatMoney(f.investmentValue, 2, regional_),
                                                    paysEveryDebt))};
    for (int col = 0; col < 6; ++col) {
      auto* item = new QTableWidgetItem(texts[col]);
      const bool left = col == kStrategy || col == kDebtFree;
      item->setTextAlignment((left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      if (chosen) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
      }
      if (f.mostSaved) item->setBackground(tint);
      table_->setItem(row, col, item);
    }
  }
  table_->resizeColumnsToContents();
  table_->resizeRowsToContents();
  // The plan's own row is current, for the arrow keys, but not selected: the selection's
  // colour would hide the tint of a row that saves the most.
  table_->clearSelection();
  if (chosenRow >= 0) table_->setCurrentCell(chosenRow, 0, QItemSelectionModel::NoUpdate);
}

int StrategiesPage::CodeOfRow(int row) const {
  return row >= 0 && row < static_cast<int>(rowCodes_.size()) ? rowCodes_[row] : -1;
}

void StrategiesPage::ChooseRow(int row) {
  const int code = CodeOfRow(row);
  if (code >= 0) emit strategyChosen(code);
}

bool StrategiesPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ChooseRow(table_->currentRow());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace ardvane
