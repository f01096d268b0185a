#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "engine/regional_settings.h"
#include "figures/strategies.h"

class QLabel;
class QTableWidget;

namespace ardvane {

// The page "Strategies": one row per set of paydown priority codes that give the plan the
// same figures (StrategyComparison::groups), with the debt-free months and date, the total
// interest, the interest saved, the return on the fees and the investment value. The plan's
// own priority is bold and says "(this plan)"; every row that saves the most interest has a
// tinted background and says "★ Most saved", so the mark does not rest on colour alone.
//
// The page only shows what it is given; the main window decides when the figures are worth
// computing (only while the page is in view).
class StrategiesPage : public QWidget {
  Q_OBJECT

 public:
  StrategiesPage(const RegionalSettings& regional, QWidget* parent);

  // Shows `comparison`, one row per group; the row of the plan's own priority is current.
  // `note`, when not empty, is shown under the table (why today's interest differs by row).
  void ShowComparison(const StrategyComparison& comparison, const std::string& note = {});
  // The code a row stands for: the plan's own code when its group holds it, else the
  // group's lowest code. -1 for a row that does not exist.
  int CodeOfRow(int row) const;
  QTableWidget* Table() const { return table_; }

 signals:
  // A row was chosen (double-click, Enter or Return): the plan should use `code`.
  void strategyChosen(int code);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ChooseRow(int row);

  const RegionalSettings& regional_;
  QTableWidget* table_ = nullptr;
  QLabel* note_ = nullptr;
  std::vector<int> rowCodes_;
};

}  // namespace ardvane
