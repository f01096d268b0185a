#include "ui/widgets/amount_field.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

#include "tests/test_regional.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace ardvane {
namespace {

using testing::kPointRegional;

// A window with the field under test and a second line edit to move the focus to.
class AmountFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    field_ = new AmountField(kPointRegional, window_.get());
    other_ = new QLineEdit(window_.get());
    layout->addWidget(field_);
    layout->addWidget(other_);
    window_->show();
    window_->activateWindow();
    QApplication::setActiveWindow(window_.get());
    QCoreApplication::processEvents();
    // Activation gives the first field the focus; the tests start outside it.
    other_->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QObject::connect(field_, &AmountField::changed,
                     [this] { changes_.push_back(field_->NumericValue()); });
    QObject::connect(field_, &AmountField::entered,
                     [this] { events_.push_back("enter " + field_->text()); });
    QObject::connect(field_, &AmountField::exited,
                     [this] { events_.push_back("exit " + field_->text()); });
  }

  void Currency(double minimum = 0, double maximum = 0) {
    field_->SetMaskType(kCurrencyAmount);
    field_->SetLimits(minimum, maximum);
    changes_.clear();
  }
  void Enter() {
    field_->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(field_->hasFocus());
  }
  void Leave() {
    other_->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_FALSE(field_->hasFocus());
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(field_, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(field_, &release);
  }
  // Types ASCII characters, whose key codes are their character codes.
  void Type(const QString& text) {
    for (const QChar c : text) Key(c.toUpper().unicode(), Qt::NoModifier, QString(c));
  }
  void Control(int key) { Key(key, Qt::ControlModifier, QString(QChar(key - Qt::Key_A + 1))); }

  std::vector<double> changes_;  // NumericValue at each changed()
  std::vector<QString> events_;
  std::unique_ptr<QWidget> window_;  // after what its signals write to
  AmountField* field_ = nullptr;
  QLineEdit* other_ = nullptr;
};

TEST_F(AmountFieldTest, FacesSwitchOnFocus) {
  EXPECT_EQ(field_->text(), "0.00%");  // a new field shows its value formatted
  Currency();
  field_->SetNumericValue(1234.5);
  EXPECT_EQ(field_->text(), "$1,234.50");
  EXPECT_EQ(changes_, std::vector<double>{1234.5});
  Enter();
  EXPECT_EQ(field_->text(), "1234.5");
  EXPECT_EQ(field_->selectedText(), "1234.5");
  Leave();
  EXPECT_EQ(field_->text(), "$1,234.50");
  // entered() comes before the typing face, exited() after the display face; neither
  // switch of face counts as a change.
  EXPECT_EQ(events_, (std::vector<QString>{"enter $1,234.50", "exit $1,234.50"}));
  EXPECT_EQ(changes_.size(), 1u);
}

TEST_F(AmountFieldTest, ClickSelectsTheWholeTypingFace) {
  Currency();
  field_->SetNumericValue(1234.5);
  // A click gives the focus first (the application does that for a real click), then the
  // line edit's own press handling would place the cursor.
  field_->setFocus(Qt::MouseFocusReason);
  const QPoint at = field_->rect().center();
  QMouseEvent press(QEvent::MouseButtonPress, at, field_->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(field_, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, field_->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(field_, &release);
  ASSERT_TRUE(field_->hasFocus());
  EXPECT_EQ(field_->selectedText(), "1234.5");
}

// Another window taking the activation is no exit: nothing is sent to a window that may be
// closing. When the focus moved on meanwhile, the field learns of it on coming back.
TEST_F(AmountFieldTest, WindowLosingActivationIsNoExit) {
  Currency();
  field_->SetNumericValue(5);
  Enter();
  QWidget popup;
  popup.show();
  popup.activateWindow();
  QApplication::setActiveWindow(&popup);
  QCoreApplication::processEvents();
  EXPECT_EQ(field_->text(), "5");
  EXPECT_EQ(events_, std::vector<QString>{"enter $5.00"});
  other_->setFocus(Qt::OtherFocusReason);
  QApplication::setActiveWindow(window_.get());
  QCoreApplication::processEvents();
  EXPECT_EQ(field_->text(), "$5.00");
  EXPECT_EQ(events_, (std::vector<QString>{"enter $5.00", "exit $5.00"}));
}

TEST_F(AmountFieldTest, TypedValueIsRoundedAtOnceAndShownOnLeaving) {
  Currency();
  Enter();
  Type("123.456");
  EXPECT_EQ(field_->text(), "123.456");
  EXPECT_EQ(field_->NumericValue(), 123.46);
  ASSERT_EQ(changes_.size(), 7u);  // one per key, the value already updated
  EXPECT_EQ(changes_.back(), 123.46);
  Leave();
  EXPECT_EQ(field_->text(), "$123.46");
}

TEST_F(AmountFieldTest, ValueBeyondLimitsIsLimitedWhileTheTypedTextStays) {
  Currency(-99999, 99999);
  Enter();
  Type("150000");
  EXPECT_EQ(field_->text(), "150000");
  EXPECT_EQ(field_->NumericValue(), 99999);
  Leave();
  EXPECT_EQ(field_->text(), "$99,999.00");
  // Far beyond what a double holds, in a field without limits: 15 digits at most.
  Currency();
  Enter();
  Type(QString(400, '9'));
  EXPECT_EQ(field_->NumericValue(), 9999999999999.99);
  Leave();
  EXPECT_EQ(field_->text(), "$9,999,999,999,999.99");
}

TEST_F(AmountFieldTest, MinusKeyOnlyWithANegativeLimitAndOnlyAtTheFront) {
  Currency();  // no limits: no minus key
  Enter();
  Type("-5");
  EXPECT_EQ(field_->text(), "5");
  Leave();
  field_->SetNumericValue(-5);  // the program may still set a negative value
  EXPECT_EQ(field_->text(), "-$5.00");

  Currency(-99999, 99999);
  field_->SetText(QString());
  Enter();
  Type("-");
  EXPECT_EQ(field_->text(), "-");
  Type("5-");
  EXPECT_EQ(field_->text(), "-5");  // refused after a digit
  field_->selectAll();
  Type("-");
  EXPECT_EQ(field_->text(), "-");  // accepted over the whole text
  // An unfinished number keeps its text and counts as 0, and typing goes on.
  Type(".");
  EXPECT_EQ(field_->text(), "-.");
  EXPECT_EQ(field_->NumericValue(), 0);
  Type("5");
  EXPECT_EQ(field_->NumericValue(), -0.5);
  Leave();
  EXPECT_EQ(field_->text(), "-$0.50");
}

// A negative sign no keyboard has is typed with "-"; a keypad comma types the point.
TEST(AmountFieldLocaleTest, MinusKeyAndKeypadDecimalInAnotherLocale) {
  RegionalSettings regional = testing::kCommaRegional;
  regional.negativeSign = "\u2212";
  QWidget window;
  AmountField field(regional, &window);
  field.SetLimits(-100, 100);
  field.SetText(QString());
  for (const auto& [key, modifiers, text] : {std::tuple{Qt::Key_Minus, Qt::NoModifier, "-"},
                                             {Qt::Key_1, Qt::NoModifier, "1"},
                                             {Qt::Key_Comma, Qt::KeypadModifier, ","},
                                             {Qt::Key_5, Qt::NoModifier, "5"}}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString::fromUtf8(text));
    QApplication::sendEvent(&field, &press);
  }
  EXPECT_EQ(field.text(), QString::fromUtf8("\u22121.5"));
  EXPECT_EQ(field.NumericValue(), -1.5);
}

TEST_F(AmountFieldTest, DecimalPointRules) {
  Currency();
  Enter();
  Type("1.2.3");
  EXPECT_EQ(field_->text(), "1.23");
  field_->SetDecimalPlaces(0);
  field_->SetText(QString());
  Type("4.5");
  EXPECT_EQ(field_->text(), "45");
}

TEST_F(AmountFieldTest, ClearedFieldStaysEmptyWithValueZero) {
  Currency();
  field_->SetNumericValue(12);
  Enter();
  Key(Qt::Key_Backspace, Qt::NoModifier, "\b");  // the whole text is selected
  EXPECT_EQ(field_->text(), "");
  Leave();
  EXPECT_EQ(field_->text(), "");
  EXPECT_EQ(field_->NumericValue(), 0);
  field_->SetNumericValue(0);  // a zero set by the program shows
  EXPECT_EQ(field_->text(), "$0.00");
  field_->SetShowZero(false);
  EXPECT_EQ(field_->text(), "");
}

TEST_F(AmountFieldTest, ClipboardKeys) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  Currency(0, 99999);
  field_->SetNumericValue(12);
  Enter();
  clipboard->setText("$1,000");  // not a number: ignored
  Control(Qt::Key_V);
  EXPECT_EQ(field_->text(), "12");
  clipboard->setText("2500.125");
  Control(Qt::Key_V);
  EXPECT_EQ(field_->text(), "2500.125");
  EXPECT_EQ(field_->NumericValue(), 2500.12);
  clipboard->setText("-5");  // a number, limited like a typed one
  Control(Qt::Key_V);
  EXPECT_EQ(field_->NumericValue(), 0);

  field_->SetText("42");
  Control(Qt::Key_C);
  EXPECT_EQ(clipboard->text(), "42");
  clipboard->setText("kept");
  Control(Qt::Key_T);
  EXPECT_EQ(field_->text(), "");
  EXPECT_EQ(field_->NumericValue(), 0);
  EXPECT_EQ(clipboard->text(), "kept");

  // Other ways around the filter are closed: cut, undo, and Ctrl+Y's paste.
  field_->SetText("42");
  field_->selectAll();
  Control(Qt::Key_X);
  Control(Qt::Key_Z);
  Control(Qt::Key_Y);
  Key(Qt::Key_Insert, Qt::ShiftModifier);  // paste, through the paste test
  EXPECT_EQ(field_->text(), "42");
}

TEST_F(AmountFieldTest, LengthLimitAppliesToTypingOnly) {
  Currency();
  field_->SetMaximumLength(4);
  field_->SetNumericValue(123456.5);
  Enter();
  EXPECT_EQ(field_->text(), "123456.5");  // never cut on entering
  Type("12345");
  EXPECT_EQ(field_->text(), "1234");
}

TEST_F(AmountFieldTest, SettingsApplyTheValueAgain) {
  field_->SetDecimalPlaces(3);
  field_->SetNumericValue(7.125);
  EXPECT_EQ(field_->text(), "7.125%");
  field_->SetDecimalPlaces(2);
  EXPECT_EQ(field_->NumericValue(), 7.12);  // ties to even
  EXPECT_EQ(field_->text(), "7.12%");
  field_->SetMaskType(kNumberAmount);
  EXPECT_EQ(field_->text(), "7.12");
}

TEST_F(AmountFieldTest, WideEnoughForALargeAmount) {
  Currency();
  field_->SetNumericValue(185000);
  const int needed = QFontMetrics(field_->font()).horizontalAdvance("$185,000.00");
  EXPECT_GT(field_->minimumSizeHint().width(), needed);
  EXPECT_GE(field_->sizeHint().width(), field_->minimumSizeHint().width());
}

}  // namespace
}  // namespace ardvane
