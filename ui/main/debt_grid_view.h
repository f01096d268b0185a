#pragma once

#include <QTableView>

namespace ardvane {

// The debt grid: one selected row at a time, arrow keys inside, Tab and Shift+Tab out, and
// the debt's name frozen at the left while the other columns scroll sideways beneath it.
// Keys with a command of their own are passed on as signals:
//   Insert                 addRequested
//   Enter, double-click    editRequested
//   Delete                 deleteRequested
//   Ctrl+Up, Ctrl+Down     moveRequested(up)
//   Ctrl+C                 copyRequested
//   Menu, Shift+F10        menuRequested, at the current row
// A right click asks for the menu too (menuRequested, where it was clicked, after the row is
// selected). A click on the empty grid below the rows of a plan without debts asks to add one.
class DebtGridView : public QTableView {
  Q_OBJECT

 public:
  explicit DebtGridView(QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;
  // The frozen copy of the name column (for tests).
  QTableView* FrozenColumn() const { return frozen_; }
  // Height of the heading and `rows` rows, with the frame and a horizontal scroll bar.
  int HeightForRows(int rows) const;
  // Room for seven debts, and never less than five.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void addRequested();
  void editRequested();
  void deleteRequested();
  void moveRequested(bool up);
  void copyRequested();
  // The debt's menu, to be shown at `globalPos`.
  void menuRequested(const QPoint& globalPos);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  bool viewportEvent(QEvent* event) override;
  // The current debt is always the one selected row, whatever keys moved to it.
  QItemSelectionModel::SelectionFlags selectionCommand(
      const QModelIndex& index, const QEvent* event = nullptr) const override;

 private:
  void UpdateFrozenGeometry();
  void RequestMenuAtCurrentRow();
  void SyncFrozenColumns();

  QTableView* frozen_ = nullptr;
};

}  // namespace ardvane
