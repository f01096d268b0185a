#include "ui/main/debt_grid_view.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

namespace ardvane {

DebtGridView::DebtGridView(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move inside it
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);

  // The name column drawn again over the left edge; it shares the grid's model, selection
  // and vertical scrolling, and never takes the focus.
  frozen_ = new QTableView(this);
  frozen_->setObjectName("gridDebtsNames");
  frozen_->setFocusPolicy(Qt::NoFocus);
  frozen_->verticalHeader()->hide();
  frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frozen_->horizontalHeader()->setHighlightSections(false);
  frozen_->setSelectionBehavior(QAbstractItemView::SelectRows);
  frozen_->setSelectionMode(QAbstractItemView::SingleSelection);
  frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  frozen_->setWordWrap(false);
  frozen_->setTextElideMode(Qt::ElideNone);
  frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setFrameShape(QFrame::NoFrame);
  frozen_->setStyleSheet("QTableView { border-right: 1px solid palette(mid); }");
  viewport()->stackUnder(frozen_);
  frozen_->viewport()->installEventFilter(this);

  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int section, int, int size) {
            if (section != 0) return;
            frozen_->setColumnWidth(0, size);
            UpdateFrozenGeometry();
          });
  connect(verticalHeader(), &QHeaderView::sectionResized, this,
          [this](int section, int, int size) { frozen_->setRowHeight(section, size); });
  connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(frozen_, &QTableView::doubleClicked, this, [this] { emit editRequested(); });
  connect(this, &QTableView::doubleClicked, this, [this] { emit editRequested(); });
  viewport()->installEventFilter(this);
}

void DebtGridView::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  frozen_->setModel(model);
  frozen_->setSelectionModel(selectionModel());
  connect(model, &QAbstractItemModel::modelReset, this, &DebtGridView::SyncFrozenColumns);
  SyncFrozenColumns();
}

void DebtGridView::SyncFrozenColumns() {
  if (!model()) return;
  for (int col = 1; col < model()->columnCount(); ++col) frozen_->setColumnHidden(col, true);
  frozen_->setColumnWidth(0, columnWidth(0));
  frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
  frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
  UpdateFrozenGeometry();
  frozen_->show();
}

int DebtGridView::HeightForRows(int rows) const {
  return horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() +
         horizontalScrollBar()->sizeHint().height() + 2 * frameWidth();
}

QSize DebtGridView::minimumSizeHint() const {
  return QSize(QTableView::minimumSizeHint().width(), HeightForRows(5));
}

QSize DebtGridView::sizeHint() const {
  return QSize(QTableView::sizeHint().width(), HeightForRows(7));
}

void DebtGridView::UpdateFrozenGeometry() {
  frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
  frozen_->setGeometry(frameWidth(), frameWidth(), columnWidth(0),
                       viewport()->height() + horizontalHeader()->height());
}

void DebtGridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  UpdateFrozenGeometry();
}

bool DebtGridView::viewportEvent(QEvent* event) {
  // The heading's height is known once the grid is laid out.
  if (event->type() == QEvent::Resize || event->type() == QEvent::Show) UpdateFrozenGeometry();
  return QTableView::viewportEvent(event);
}

void DebtGridView::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Insert:
      emit addRequested();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (model() && model()->rowCount() > 0) emit editRequested();
      return;
    case Qt::Key_Delete:
      if (model() && model()->rowCount() > 0) emit deleteRequested();
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (ctrl) {
        emit moveRequested(event->key() == Qt::Key_Up);
        return;
      }
      break;
    case Qt::Key_Menu:
      RequestMenuAtCurrentRow();
      return;
    case Qt::Key_F10:
      if (event->modifiers() == Qt::ShiftModifier) {
        RequestMenuAtCurrentRow();
        return;
      }
      break;
    default:
      if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
        return;
      }
  }
  QTableView::keyPressEvent(event);
}

QItemSelectionModel::SelectionFlags DebtGridView::selectionCommand(const QModelIndex& index,
                                                                const QEvent*) const {
  if (!index.isValid()) return QItemSelectionModel::NoUpdate;
  return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

bool DebtGridView::eventFilter(QObject* watched, QEvent* event) {
  const bool emptyPlan = !model() || model()->rowCount() == 0;
  if ((watched == viewport() || watched == frozen_->viewport()) &&
      event->type() == QEvent::MouseButtonRelease && emptyPlan &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    emit addRequested();
    return true;
  }
  if ((watched == viewport() || watched == frozen_->viewport()) &&
      event->type() == QEvent::ContextMenu) {
    const auto* menu = static_cast<QContextMenuEvent*>(event);
    if (menu->reason() == QContextMenuEvent::Mouse) {
      if (model() && model()->rowCount() > 0) emit menuRequested(menu->globalPos());
    } else {
      RequestMenuAtCurrentRow();
    }
    return true;
  }
  if (watched == frozen_->viewport() && event->type() == QEvent::Wheel) {
    // Scrolling over the names scrolls the grid.
    QCoreApplication::sendEvent(viewport(), event);
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

void DebtGridView::RequestMenuAtCurrentRow() {
  if (!model() || model()->rowCount() == 0) return;
  const int row = std::max(0, currentIndex().row());
  // Below the name of the row, where the frozen column shows it.
  const QRect name = frozen_->visualRect(model()->index(row, 0));
  emit menuRequested(frozen_->viewport()->mapToGlobal(name.bottomLeft()));
}

QModelIndex DebtGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
  // A cell moved to by Left must not end up under the frozen names.
  if (cursorAction == MoveLeft && current.column() > 0 &&
      visualRect(current).topLeft().x() < frozen_->columnWidth(0)) {
    const int newValue =
        horizontalScrollBar()->value() + visualRect(current).topLeft().x() - frozen_->columnWidth(0);
    horizontalScrollBar()->setValue(newValue);
  }
  return current;
}

void DebtGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid()) return;
  if (index.column() > 0) {
    QTableView::scrollTo(index, hint);
    return;
  }
  // The name is always in view: only the rows scroll, the columns stay where they are.
  const int x = horizontalScrollBar()->value();
  QTableView::scrollTo(index, hint);
  horizontalScrollBar()->setValue(x);
}

}  // namespace ardvane
