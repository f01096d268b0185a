#include "ui/widgets/amount_field.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

#include "ui/widgets/qt_text.h"

namespace ardvane {

AmountField::AmountField(const RegionalSettings& regional, QWidget* parent)
    : QLineEdit(parent), regional_(regional) {
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  connect(this, &QLineEdit::textChanged, this, &AmountField::OnTextChanged);
  // The focus can move to another widget of the window while the window is inactive; this
  // field then gets no focus-out event and learns of it here.
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (typing_ && now != nullptr && now != this && now->window() == window()) LeaveTypingFace();
  });
  SetNumericValue(0);
}

// The focus moves on while the base widget is being destroyed; by then this field is gone.
AmountField::~AmountField() { disconnect(focusWatch_); }

void AmountField::SetMaskType(AmountKind maskType) {
  maskType_ = maskType;
  updateGeometry();
  SetNumericValue(value_);
}

void AmountField::SetMaximumValue(double maximum) { maximum_ = maximum; }

void AmountField::SetMinimumValue(double minimum) {
  if (minimum == minimum_) return;
  minimum_ = minimum;
  negativeEntryAllowed_ = minimum_ < 0 || minimum_ == maximum_;
}

void AmountField::SetLimits(double minimum, double maximum) {
  SetMaximumValue(maximum);
  SetMinimumValue(minimum);
}

void AmountField::SetMaximumLength(int maximumLength) {
  maximumLength_ = std::max(0, maximumLength);
}

void AmountField::SetDecimalPlaces(int decimalPlaces) {
  decimalPlaces_ = std::clamp(decimalPlaces, 0, kMaxDecimalPlaces);
  decimalEntryAllowed_ = decimalPlaces_ >= 1;
  updateGeometry();
  SetNumericValue(value_);
}

void AmountField::SetShowZero(bool showZero) {
  showZero_ = showZero;
  SetNumericValue(value_);
}

void AmountField::SetNumericValue(double value) {
  SetText(Q(PlainAmount(value, regional_.negativeSign)));
}

void AmountField::SetText(const QString& text) {
  ReplaceText(text);
  ApplyText();
  if (!typing_) ShowDisplayFace();
  emit changed();
}

void AmountField::OnTextChanged() {
  if (formatting_) return;
  ApplyText();
  emit changed();
}

void AmountField::ApplyText() {
  const std::optional<double> parsed = ParseAmount(text().toStdString(), regional_.negativeSign);
  value_ = LimitAndRound(parsed.value_or(0), minimum_, maximum_, decimalPlaces_);
}

void AmountField::ReplaceText(const QString& text) {
  formatting_ = true;
  setText(text);
  formatting_ = false;
}

void AmountField::ShowDisplayFace() {
  if (text().isEmpty()) return;  // an emptied field stays empty
  ReplaceText(Q(FormatAmount(value_, decimalPlaces_, maskType_, showZero_, regional_)));
}

void AmountField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Back from our own context menu or from another window: still the same typing.
  if (typing_) return;
  typing_ = true;
  emit entered();
  if (!text().isEmpty()) ReplaceText(Q(PlainAmount(value_, regional_.negativeSign)));
  selectAll();
  // A click would put the cursor where it lands; the whole text is selected after it instead.
  selectOnRelease_ = event->reason() == Qt::MouseFocusReason;
}

void AmountField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Our own context menu, or the window losing activation (another program, a message box,
  // the window closing or being destroyed): the field keeps the focus within its window and
  // stays in the typing face, without signals that would reach a window being torn down.
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) {
    return;
  }
  LeaveTypingFace();
}

void AmountField::LeaveTypingFace() {
  if (!typing_) return;
  typing_ = false;
  selectOnRelease_ = false;
  ApplyText();
  ShowDisplayFace();
  emit exited();
}

QString AmountField::TypedCharacter(const QKeyEvent& event) const {
  const QString typed = event.text();
  // A locale's negative sign that no keyboard has (U+2212 in some locales) is typed with "-".
  const QString minus = Q(regional_.negativeSign).left(1);
  if (typed == QLatin1String("-") && !minus.isEmpty()) return minus;
  // The keypad's decimal key gives the locale's separator; the field always takes ".".
  if ((event.modifiers() & Qt::KeypadModifier) && typed == Q(regional_.decimalSeparator)) {
    return QStringLiteral(".");
  }
  return typed;
}

bool AmountField::KeyAccepted(const QString& typed) const {
  const QString current = text();
  const QString selected = selectedText();
  if (!AcceptsKey(current.toStdString(), selected.toStdString(), typed.toStdString(),
                  decimalEntryAllowed_, negativeEntryAllowed_, regional_.negativeSign)) {
    return false;
  }
  return maximumLength_ == 0 || current.size() - selected.size() + typed.size() <= maximumLength_;
}

void AmountField::keyPressEvent(QKeyEvent* event) {
  const bool control = event->modifiers() & Qt::ControlModifier;
  if (event->matches(QKeySequence::Paste)) {
    PasteFromClipboard();
    event->accept();
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    CopyToClipboard();
    event->accept();
    return;
  }
  if (control && event->key() == Qt::Key_T) {
    ClearKeepingClipboard();
    event->accept();
    return;
  }
  // Everything else that would put text in without the key filter or the paste test: cut,
  // undo and redo (which bring back older texts), and the line edit's own Ctrl+letter keys
  // (Ctrl+Y pastes on some platforms). Ctrl+A (select all) stays.
  const bool controlLetter = control && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z;
  if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo) ||
      event->matches(QKeySequence::Redo) ||
      (controlLetter && !event->matches(QKeySequence::SelectAll))) {
    event->accept();
    return;
  }
  const QString typed = TypedCharacter(*event);
  if (!typed.isEmpty() && typed.at(0).isPrint()) {
    if (KeyAccepted(typed)) insert(typed);
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void AmountField::PasteFromClipboard() {
  const QString pasted = QGuiApplication::clipboard()->text().trimmed();
  if (!IsCompleteAmount(pasted.toStdString(), regional_.negativeSign)) return;
  // A paste longer than the typing limit is refused rather than cut to another number.
  if (maximumLength_ > 0 && pasted.size() > maximumLength_) return;
  SetText(pasted);
}

void AmountField::CopyToClipboard() { QGuiApplication::clipboard()->setText(text()); }

void AmountField::ClearKeepingClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(clipboard->text());
  SetText(QString());
}

void AmountField::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    event->accept();  // no pasting of the mouse selection
    return;
  }
  QLineEdit::mousePressEvent(event);
}

void AmountField::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
  if (selectOnRelease_) {
    selectOnRelease_ = false;
    if (!hasSelectedText()) selectAll();
  }
}

void AmountField::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction(tr("&Copy"), this, &AmountField::CopyToClipboard);
  copy->setEnabled(!text().isEmpty());
  menu.addAction(tr("&Paste"), this, &AmountField::PasteFromClipboard);
  menu.addSeparator();
  menu.addAction(tr("Select &All"), this, &QLineEdit::selectAll);
  menu.exec(event->globalPos());
}

int AmountField::ContentWidth() const {
  // Wide enough for a large amount of the field's kind, e.g. -$185,000.00 or -100.000%.
  const double sample = maskType_ == kPercentAmount ? -100.0 : -185000.0;
  const QString text = Q(FormatAmount(sample, decimalPlaces_, maskType_, true, regional_));
  const QMargins margins = textMargins();
  constexpr int kLineEditMargins = 2 * 2 + 1;  // the line edit's inner margins and the cursor
  return QFontMetrics(font()).horizontalAdvance(text) + kLineEditMargins + margins.left() +
         margins.right();
}

QSize AmountField::minimumSizeHint() const {
  const QSize base = QLineEdit::minimumSizeHint();
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QSize needed = style()->sizeFromContents(QStyle::CT_LineEdit, &option,
                                                 QSize(ContentWidth(), base.height()), this);
  return {std::max(base.width(), needed.width()), base.height()};
}

QSize AmountField::sizeHint() const {
  const QSize base = QLineEdit::sizeHint();
  return {std::max(base.width(), minimumSizeHint().width()), base.height()};
}

}  // namespace ardvane
