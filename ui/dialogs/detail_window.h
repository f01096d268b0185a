#pragma once

#include <QColor>
#include <QDialog>
#include <filesystem>
#include <vector>

#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "figures/detail_tables.h"
#include "ui/widgets/design_pixels.h"
#include "ui/widgets/window_prompts.h"

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QRadioButton;
class QTableView;

namespace ardvane {

class MonthlyTableModel;

// The monthly tables window: the schedule of every debt, of all debts together or of the new
// loan, in the current (navy) or proposed (purple) plan, and the proposed plan's investment
// projection. It reads the plan and results it is given, which must outlive it, and changes
// nothing; the main window is blocked while it is open, so they cannot change underneath it.
// A debt never paid off shows the months both plans are compared over, with a note that says so.
//
// "Export CSV…" writes the table shown, or every amortization table of both plans, as CSV
// for a spreadsheet (CsvFlavour::kSpreadsheet) to a file the prompts choose, replacing it
// atomically; a failure is shown as an error and leaves any old file whole.
class DetailWindow : public QDialog {
  Q_OBJECT

 public:
  // `planPath` is the plan's file (its folder and name propose where the CSV goes).
  DetailWindow(const PlanDocument& plan, const PlanResults& results,
               const RegionalSettings& regional, WindowPrompts& prompts,
               std::filesystem::path planPath, QWidget* parent);
  ~DetailWindow() override;

  // Shows the table of the selected list entry and choice; runs on every click in the list
  // and on the three choices.
  void ShowSelectedTable();
  // Export CSV: the table shown (an amortization table or the investment projection), or
  // every amortization table of both plans in one file.
  void ExportShownTable();
  void ExportAllTables();

 private:
  // The window's parts, left to right and top to bottom: the list of debts; the group of the
  // tables with its choices of plan, its notes and its two grids; the row of buttons.
  QGroupBox* DebtsGroup();
  QGroupBox* AmortizationGroup();
  QHBoxLayout* PlanChoices();
  QHBoxLayout* ButtonRow();
  void FillDebtList();
  // The list and the three choices show the table they select.
  void ConnectChoices();
  // Sized for the grid's columns and centred on the screen of `parent` (or its own).
  void PlaceOnScreen(const QWidget* parent);
  void SetUpGrid(QTableView* grid, MonthlyTableModel* model,
                 const std::vector<MonthlyTable>& tables, const std::vector<int>& designWidths);
  void PopulateDataGrid(bool current, int index);
  void ExportCsv(const std::string& proposedName, const std::string& csv);

  const PlanDocument& plan_;
  const PlanResults& results_;
  const RegionalSettings& regional_;
  WindowPrompts& prompts_;
  std::filesystem::path planPath_;
  DesignPixels px_;

  QListWidget* debtList_ = nullptr;
  QGroupBox* amortizationGroup_ = nullptr;
  QRadioButton* currentOption_ = nullptr;
  QRadioButton* proposedOption_ = nullptr;
  QRadioButton* investmentOption_ = nullptr;
  QLabel* noAmortizationLabel_ = nullptr;
  QLabel* neverPaidOffLabel_ = nullptr;  // above a table that holds a debt never paid off
  QTableView* amortizationGrid_ = nullptr;
  QTableView* investmentGrid_ = nullptr;
  MonthlyTableModel* amortizationModel_ = nullptr;
  MonthlyTableModel* investmentModel_ = nullptr;
};

}  // namespace ardvane
