#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "figures/debt_grid.h"

namespace ardvane {

// The debt grid's rows: one per debt of the plan, as the last calculation shows them. The
// window calls Show after each calculation; the rows are worked out then, once.
class DebtTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  DebtTableModel(const RegionalSettings& regional, DebtGridColumns columns,
                 QObject* parent = nullptr);

  void Show(const PlanDocument& plan, const PlanResults& results);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The shown texts of the given rows, for the clipboard.
  std::vector<std::vector<std::string>> RowTexts(const std::vector<int>& rows) const;
  // What payment would pay off the debt of `row`, when the current plan never does; else "".
  std::string Hint(int row) const;

 private:
  const RegionalSettings& regional_;
  DebtGridColumns columns_;
  std::vector<std::string> headings_;
  std::vector<DebtGridRow> rows_;
};

}  // namespace ardvane
