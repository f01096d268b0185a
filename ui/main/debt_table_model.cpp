#include "ui/main/debt_table_model.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include "ui/widgets/qt_text.h"

namespace ardvane {

DebtTableModel::DebtTableModel(const RegionalSettings& regional, DebtGridColumns columns,
                               QObject* parent)
    : QAbstractTableModel(parent),
      regional_(regional),
      columns_(columns),
      headings_(DebtGridHeadings(columns)) {}

void DebtTableModel::Show(const PlanDocument& plan, const PlanResults& results) {
  const int count = plan.Debts.GetDebtCount();
  std::vector<DebtGridRow> rows;
  rows.reserve(count);
  for (int i = 0; i < count; ++i) {
    rows.push_back(MakeDebtGridRow(plan, results, i, columns_, regional_));
  }
  if (rows.size() == rows_.size()) {
    // Same rows: the selection and the scroll position stay where they are.
    rows_ = std::move(rows);
    if (!rows_.empty()) {
      emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
    return;
  }
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int DebtTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DebtTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant DebtTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const DebtGridRow& row = rows_[index.row()];
  switch (role) {
    case Qt::DisplayRole:
      return Q(row.cells[index.column()]);
    case Qt::DecorationRole:
      if (row.neverPaidOff && index.column() == kDebtGridPayoffColumn) {
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
      }
      return {};
    case Qt::ToolTipRole:
      // The whole name, where a long one does not fit its column; else the payoff hint.
      if (!row.hint.empty()) return Q(row.hint);
      return index.column() == 0 ? QVariant(Q(row.cells[0])) : QVariant();
    case Qt::AccessibleDescriptionRole:
      return row.hint.empty() ? QVariant() : QVariant(Q(row.hint));
    case Qt::TextAlignmentRole:
      return DebtGridColumnIsAmount(index.column())
                 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant DebtTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) return Q(headings_[section]);
  return {};
}

std::vector<std::vector<std::string>> DebtTableModel::RowTexts(const std::vector<int>& rows) const {
  std::vector<std::vector<std::string>> texts;
  for (int row : rows) {
    if (row >= 0 && row < rowCount()) texts.push_back(rows_[row].cells);
  }
  return texts;
}

std::string DebtTableModel::Hint(int row) const {
  return row >= 0 && row < rowCount() ? rows_[row].hint : std::string();
}

}  // namespace ardvane
