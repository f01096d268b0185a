#pragma once

#include <QLineEdit>

#include "engine/regional_settings.h"
#include "figures/amount_format.h"

namespace ardvane {

// The numeric entry field in which every amount, rate and count is typed. It holds
// NumericValue, always within its limits and rounded to DecimalPlaces, and has two faces:
//   - the display face while it does not have the keyboard focus: the value written by
//     FormatAmount ("$1,234.50", "7.500%", "1,234"); an empty text stays empty;
//   - the typing face while it has the focus: the bare number (PlainAmount, "1234.5"), all of
//     it selected on entering. Typed characters pass the key filter (AcceptsKey and at most
//     MaximumLength characters); every change of the text is parsed, limited and rounded into
//     NumericValue at once, but the text itself stays as typed until the field is left.
// Ctrl+V replaces the text with the clipboard's text when that is a number and ignores it
// otherwise; Ctrl+C copies the text; Ctrl+T empties the field. Other ways in (cut, undo, drag
// and drop, middle-click paste, input methods) are closed, so the text is always a number or
// a number being typed.
//
// Signals: changed() after every change of the text that is parsed (typing, a paste, the
// program setting the value or a setting), with NumericValue already updated; switching
// between the faces does not count. entered() when the field gets the focus, before the
// typing face is shown; exited() when the focus moves to another widget of the window, after
// the display face is shown. The window itself losing activation (another program, a message
// box, the window closing) is no exit: the field keeps its typing face and sends nothing.
class AmountField : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(double NumericValue READ NumericValue WRITE SetNumericValue)
  Q_PROPERTY(double MaximumValue READ MaximumValue WRITE SetMaximumValue)
  Q_PROPERTY(double MinimumValue READ MinimumValue WRITE SetMinimumValue)
  Q_PROPERTY(int MaximumLength READ MaximumLength WRITE SetMaximumLength)
  Q_PROPERTY(int DecimalPlaces READ DecimalPlaces WRITE SetDecimalPlaces)
  Q_PROPERTY(bool ShowZero READ ShowZero WRITE SetShowZero)

 public:
  // A percent field with 2 decimals, no limits, value 0, shown as "0.00%". The regional
  // settings are copied.
  AmountField(const RegionalSettings& regional, QWidget* parent);
  ~AmountField() override;

  AmountKind MaskType() const { return maskType_; }
  // Stores the kind, then sets the current value again.
  void SetMaskType(AmountKind maskType);

  // Limits: when the two are equal there is no limit at all (the default: both 0).
  double MaximumValue() const { return maximum_; }
  // Stores the limit; the value is not limited again until it next changes.
  void SetMaximumValue(double maximum);
  double MinimumValue() const { return minimum_; }
  // Stores the limit (when different) and allows the minus key exactly when the new minimum is
  // below 0 or equal to the maximum. A field whose minimum never changed from 0 does not take
  // the minus key, though the program may still set a negative value.
  void SetMinimumValue(double minimum);
  // Maximum first, then minimum, e.g. SetLimits(-99999, 99999).
  void SetLimits(double minimum, double maximum);

  // Most characters that may be typed; 0 for no limit. It never cuts a text already there.
  int MaximumLength() const { return maximumLength_; }
  void SetMaximumLength(int maximumLength);

  int DecimalPlaces() const { return decimalPlaces_; }
  // Stores the count (within 0..kMaxDecimalPlaces), then sets the current value again, so
  // fewer decimals round it again. The "." key is taken only with at least one decimal.
  void SetDecimalPlaces(int decimalPlaces);

  // When off, a value that comes to 0 at the field's decimals shows as an empty field.
  bool ShowZero() const { return showZero_; }
  void SetShowZero(bool showZero);

  // The limited, rounded value; a percent field holds the percent itself (7.5 for 7.50%).
  double NumericValue() const { return value_; }
  // The text becomes the plain form of `value`, which is parsed (limited and rounded) and,
  // unless the field has the focus, shown in the display face.
  void SetNumericValue(double value);
  // Sets the text from the program as a paste does: parsed, limited and rounded, and shown in
  // the display face unless the field has the focus or the text is empty. Text that is not a
  // number gives the value 0 and stays as it is until the field is left. (QLineEdit's setText
  // also parses the text and sends changed(), but leaves the text as given.)
  void SetText(const QString& text);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void changed();
  void entered();
  void exited();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OnTextChanged();
  // The display face again, then exited(); nothing when not typing.
  void LeaveTypingFace();
  // Parses the current text into value_ (limited and rounded).
  void ApplyText();
  // Replaces the text without parsing it (a change of face).
  void ReplaceText(const QString& text);
  void ShowDisplayFace();
  void PasteFromClipboard();
  void CopyToClipboard();
  void ClearKeepingClipboard();
  // The character a key stands for in the field: "-" types the locale's negative sign, the
  // keypad's decimal key types ".".
  QString TypedCharacter(const QKeyEvent& event) const;
  bool KeyAccepted(const QString& typed) const;
  int ContentWidth() const;

  RegionalSettings regional_;
  AmountKind maskType_ = kPercentAmount;
  double maximum_ = 0;
  double minimum_ = 0;
  int maximumLength_ = 0;
  int decimalPlaces_ = 2;
  bool showZero_ = true;
  double value_ = 0;
  bool decimalEntryAllowed_ = true;
  bool negativeEntryAllowed_ = false;
  bool typing_ = false;      // the typing face is shown
  bool formatting_ = false;  // the field is rewriting its own text
  bool selectOnRelease_ = false;
  QMetaObject::Connection focusWatch_;
};

}  // namespace ardvane
