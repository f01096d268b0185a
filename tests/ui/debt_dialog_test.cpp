#include "ui/dialogs/debt_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <set>
#include <vector>

#include "planfiles/plan_session.h"
#include "tests/test_regional.h"
#include "ui/dialogs/payment_calculator.h"
#include "ui/widgets/amount_field.h"

namespace ardvane {
namespace {

const std::filesystem::path kDistFolder = ARDVANE_DIST_DIR;

class NoPrompts : public PlanPrompts {
 public:
  SaveAnswer AskSaveChanges(const std::string&) override { return SaveAnswer::No; }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::filesystem::path> ChooseOpenFile(const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path&,
                                                      const std::string&) override {
    return std::nullopt;
  }
  void ShowError(const std::string&) override {}
};

class RecordingSink : public MessageSink {
 public:
  void ShowInformation(const std::string& text) override { shown.push_back(text); }
  void ShowWarning(const std::string& text) override { shown.push_back(text); }
  bool ConfirmWarning(const std::string& text) override {
    shown.push_back(text);
    return true;
  }
  std::vector<std::string> shown;
};

Debt Row(const char* name, double balance, double rate, double payment, double minAmount,
         double minRate = 0) {
  Debt f;
  f.Name = name;
  f.Balance = balance;
  f.InterestRate = Percent(rate);
  f.CurrentPayment = payment;
  f.MinimumPaymentAmount = minAmount;
  f.MinimumPaymentPercent = Percent(minRate);
  return f;
}

PlanParameters Permissions(bool negotiate) {
  PlanParameters params;
  params.PermitConsolidate = true;
  params.PermitNegotiate = negotiate;
  return params;
}

class DebtDialogTest : public ::testing::Test {
 protected:
  explicit DebtDialogTest(bool negotiate = true)
      : session(Permissions(negotiate), testing::kPointRegional, 0, prompts) {}

  template <typename T>
  T* Find(QObject& parent, const char* name) {
    T* widget = parent.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  AmountField* Mask(DebtDialog& dialog, const char* name) {
    return Find<AmountField>(dialog, name);
  }
  void Click(DebtDialog& dialog, const char* button) { Find<QPushButton>(dialog, button)->click(); }

  NoPrompts prompts;
  RecordingSink messages;
  PlanSession session;
};

TEST_F(DebtDialogTest, ClosingChecksKeepTheDialogOpenUntilThePaymentsWork) {
  session.AddDebt(Row("Card", 10000, 12, 100, 50));
  DebtDialog dialog(session, messages, kDistFolder, nullptr);
  dialog.StartEdit(0);
  dialog.show();

  // The monthly interest is 100; a payment of 100 does not pay the debt down.
  Click(dialog, "BitBtn1");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            "Current payment must be greater than the monthly interest on the loan ($100.00).");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.focusWidget(), Mask(dialog, "ntmskCurrentPayment"));

  // The window's close button runs the same checks.
  dialog.close();
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(dialog.isVisible());

  Mask(dialog, "ntmskCurrentPayment")->SetNumericValue(100.01);
  Click(dialog, "BitBtn1");
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(session.Plan().Debts.At(0).CurrentPayment, 100.01);
}

TEST_F(DebtDialogTest, MovingWritesChangedDebtsBackAndCancelKeepsThem) {
  session.AddDebt(Row("A", 1000, 10, 50, 20));
  session.AddDebt(Row("B", 2000, 10, 50, 20));
  session.AddDebt(Row("C", 3000, 10, 50, 20));
  session.SetChanged(false);
  DebtDialog dialog(session, messages, kDistFolder, nullptr);
  std::vector<int> shownRows;
  QObject::connect(&dialog, &DebtDialog::debtShown, [&](int index) { shownRows.push_back(index); });
  dialog.StartEdit(1);
  dialog.show();
  auto* label = Find<QLabel>(dialog, "lblSelectedDebt");
  EXPECT_EQ(label->text(), "2 of 3");

  // Stepping without a change writes nothing back.
  Click(dialog, "btnPrevious");
  EXPECT_FALSE(dialog.WroteBack());
  EXPECT_FALSE(Find<QPushButton>(dialog, "btnPrevious")->isEnabled());
  Click(dialog, "btnNext");

  Mask(dialog, "ntmskBalance")->SetNumericValue(2500.5);
  Click(dialog, "btnNext");
  EXPECT_TRUE(dialog.WroteBack());
  EXPECT_EQ(session.Plan().Debts.At(1).Balance, 2500.5);
  EXPECT_TRUE(session.Changed());
  EXPECT_EQ(dialog.CurrentDebt(), 2);
  EXPECT_EQ(label->text(), "3 of 3");
  EXPECT_FALSE(Find<QPushButton>(dialog, "btnNext")->isEnabled());
  EXPECT_EQ(Find<QLineEdit>(dialog, "txtName")->text(), "C");
  EXPECT_EQ(Mask(dialog, "ntmskBalance")->NumericValue(), 3000);
  EXPECT_FALSE(dialog.DebtEdited());
  EXPECT_EQ(shownRows, (std::vector<int>{0, 1, 2}));

  // Cancel: no checks, the debt shown is not stored, the one written back stays.
  Mask(dialog, "ntmskBalance")->SetNumericValue(1);
  Mask(dialog, "ntmskCurrentPayment")->SetNumericValue(0);
  Click(dialog, "BitBtn2");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(dialog.Cancelled());
  EXPECT_EQ(session.Plan().Debts.At(2).Balance, 3000);
  EXPECT_EQ(session.Plan().Debts.At(1).Balance, 2500.5);
}

TEST_F(DebtDialogTest, MovingOnRefusesADebtThatOkRefuses) {
  // The card's minimum is 2 % of 10,000 = 200; its payment is lowered to 150 before moving.
  const struct {
    const char* button;
    int start;
  } moves[] = {{"btnNext", 0}, {"btnPrevious", 1}};
  for (const auto& move : moves) {
    PlanSession plan(Permissions(true), testing::kPointRegional, 0, prompts);
    plan.AddDebt(Row("Card", 10000, 12, 250, 50, 2));
    plan.AddDebt(Row("Card", 10000, 12, 250, 50, 2));
    plan.SetChanged(false);
    const DebtList stored = plan.Plan().Debts;
    messages.shown.clear();

    DebtDialog dialog(plan, messages, kDistFolder, nullptr);
    dialog.StartEdit(move.start);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    Mask(dialog, "ntmskCurrentPayment")->SetNumericValue(150);
    Click(dialog, move.button);
    ASSERT_EQ(messages.shown.size(), 1u) << move.button;
    EXPECT_EQ(messages.shown[0],
              "Current payment must be equal to or greater than the minimum payment ($200.00).");
    EXPECT_EQ(dialog.CurrentDebt(), move.start) << move.button;
    EXPECT_EQ(Find<QLabel>(dialog, "lblSelectedDebt")->text(),
              QString("%1 of 2").arg(move.start + 1));
    EXPECT_EQ(Mask(dialog, "ntmskCurrentPayment")->NumericValue(), 150);
    EXPECT_EQ(dialog.focusWidget(), Mask(dialog, "ntmskCurrentPayment"));

    // Cancel then leaves the plan as it was.
    Click(dialog, "BitBtn2");
    EXPECT_FALSE(dialog.WroteBack()) << move.button;
    EXPECT_TRUE(plan.Plan().Debts == stored) << move.button;
    EXPECT_FALSE(plan.Changed()) << move.button;
  }
}

TEST_F(DebtDialogTest, SingleDebtAndAdd) {
  session.AddDebt(Row("Only", 1000, 10, 50, 20));
  {
    DebtDialog dialog(session, messages, kDistFolder, nullptr);
    dialog.StartEdit(0);
    dialog.show();
    EXPECT_EQ(Find<QLabel>(dialog, "lblSelectedDebt")->text(), "1 of 1");
    EXPECT_FALSE(Find<QPushButton>(dialog, "btnPrevious")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(dialog, "btnNext")->isEnabled());
  }

  DebtDialog dialog(session, messages, kDistFolder, nullptr);
  dialog.StartAdd();
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Add Debt");
  EXPECT_EQ(dialog.CurrentDebt(), 1);
  EXPECT_FALSE(Find<QWidget>(dialog, "pnlNavigate")->isVisible());
  Find<QLineEdit>(dialog, "txtName")->setText("Store card");
  Mask(dialog, "ntmskBalance")->SetNumericValue(1200);
  Mask(dialog, "ntmskInterestRate")->SetNumericValue(21.99);
  Mask(dialog, "ntmskMinimumPayment")->SetNumericValue(25);
  Mask(dialog, "ntmskCurrentPayment")->SetNumericValue(75);
  Find<QCheckBox>(dialog, "chkConsolidate")->click();
  Click(dialog, "BitBtn1");
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_EQ(session.Plan().Debts.GetDebtCount(), 2);
  const Debt added = session.Plan().Debts.At(1);
  EXPECT_EQ(added.Name, "Store card");
  EXPECT_EQ(added.InterestRate, Percent(21.99));
  EXPECT_EQ(added.CurrentPayment, 75);
  EXPECT_TRUE(added.Consolidate);
  EXPECT_EQ(added.Compounding, CompoundingPeriod::Monthly);
}

// A balance of 1e15 typed in full: the field holds 15 digits at most, so what reaches the
// debt is an amount that money holds exactly, never one that the calculation would clamp.
TEST_F(DebtDialogTest, ABalanceTypedBeyondMoneyNeverReachesTheDebt) {
  DebtDialog dialog(session, messages, kDistFolder, nullptr);
  dialog.StartAdd();
  dialog.show();
  dialog.activateWindow();
  QApplication::setActiveWindow(&dialog);
  Find<QLineEdit>(dialog, "txtName")->setText("Huge");
  AmountField* balance = Mask(dialog, "ntmskBalance");
  balance->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  ASSERT_TRUE(balance->hasFocus());
  for (const char c : std::string("1000000000000000")) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (c - '0'), Qt::NoModifier, QString(QChar(c)));
    QApplication::sendEvent(balance, &key);
  }
  Mask(dialog, "ntmskMinimumPayment")->SetNumericValue(25);
  Mask(dialog, "ntmskCurrentPayment")->SetNumericValue(75);
  Click(dialog, "BitBtn1");
  ASSERT_EQ(session.Plan().Debts.GetDebtCount(), 1);
  const double stored = session.Plan().Debts.At(0).Balance;
  EXPECT_EQ(stored, 9999999999999.99);
  EXPECT_TRUE(Money::HoldsUnits(stored));
}

TEST_F(DebtDialogTest, UseMinimumShowsTheEffectiveMinimumInPlaceOfThePayment) {
  Debt row = Row("Card", 10000, 12, 0, 50, 2);
  row.UseMinimum = true;
  session.AddDebt(row);
  DebtDialog dialog(session, messages, kDistFolder, nullptr);
  dialog.StartEdit(0);
  dialog.show();
  auto* label = Find<QLabel>(dialog, "lblPayment");
  EXPECT_FALSE(Mask(dialog, "ntmskCurrentPayment")->isVisible());
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), "$200.00");  // 2 % of 10,000 beats the 50
  Mask(dialog, "ntmskMinimumPaymentRate")->SetNumericValue(0);
  EXPECT_EQ(label->text(), "$50.00");
  Find<QCheckBox>(dialog, "chkUseMinimum")->click();
  EXPECT_TRUE(Mask(dialog, "ntmskCurrentPayment")->isVisible());
  EXPECT_TRUE(dialog.DebtEdited());
}

TEST_F(DebtDialogTest, RestructuringPrefillsTheTermsAndTheCalculatorFillsThePayment) {
  session.AddDebt(Row("Card", 5000, 18, 150, 100));
  DebtDialog dialog(session, messages, kDistFolder, nullptr);
  dialog.StartEdit(0);
  dialog.show();
  auto* group = Find<QGroupBox>(dialog, "grpNegotiate");
  EXPECT_FALSE(group->isVisible());
  Find<QCheckBox>(dialog, "chkNegotiate")->click();
  EXPECT_TRUE(group->isVisible());
  EXPECT_EQ(Mask(dialog, "ntmskNegotiatedBalance")->NumericValue(), 5000);
  EXPECT_EQ(Mask(dialog, "ntmskNegotiatedInterestRate")->NumericValue(), 18);
  EXPECT_EQ(Mask(dialog, "ntmskNegotiatedMinimumPayment")->NumericValue(), 100);

  // The calculator opens modally; answer it from the event loop it runs.
  Mask(dialog, "ntmskNegotiatedBalance")->SetNumericValue(10000);
  Mask(dialog, "ntmskNegotiatedInterestRate")->SetNumericValue(6);
  auto runCalculator = [&](bool ok) {
    QTimer::singleShot(0, [ok] {
      auto* calculator = qobject_cast<PaymentCalculator*>(QApplication::activeModalWidget());
      ASSERT_NE(calculator, nullptr);
      EXPECT_EQ(calculator->findChild<QLabel*>("lblBalance")->text(), "$10,000.00");
      EXPECT_EQ(calculator->findChild<QLabel*>("lblInterestRate")->text(), "6.000%");
      EXPECT_EQ(calculator->findChild<QLabel*>("lblPayment")->text(), "$59.96");
      calculator->findChild<AmountField*>("ntmskTerm")->SetNumericValue(12);
      if (ok) {
        calculator->accept();
      } else {
        calculator->reject();
      }
    });
    Find<QToolButton>(dialog, "spdbtnCalculate")->click();
  };
  runCalculator(false);
  EXPECT_EQ(Mask(dialog, "ntmskNegotiatedMinimumPayment")->NumericValue(), 100);
  runCalculator(true);
  // 10000 × 0.005 / (1 − 1.005^−12) = 860.66
  EXPECT_EQ(Mask(dialog, "ntmskNegotiatedMinimumPayment")->NumericValue(), 860.66);
}

TEST(PaymentCalculatorTest, PaymentFollowsTheTermWithinItsLimits) {
  PaymentCalculator calculator(testing::kPointRegional, nullptr);
  calculator.SetBalance(10000);
  calculator.SetRate(0.06);
  calculator.show();
  EXPECT_EQ(calculator.Term(), 360);
  EXPECT_NEAR(calculator.Payment(), 59.9551, 1e-9);
  auto* term = calculator.findChild<AmountField*>("ntmskTerm");
  term->SetNumericValue(5000);  // limited to 999
  EXPECT_EQ(calculator.Term(), 999);
  term->SetNumericValue(0);  // limited to 1: one payment of balance and a month's interest
  EXPECT_EQ(calculator.Term(), 1);
  EXPECT_NEAR(calculator.Payment(), 10050, 1e-9);
  EXPECT_EQ(calculator.findChild<QLabel*>("lblPayment")->text(), "$10,050.00");
}

TEST(PaymentCalculatorTest, TheTermFieldShowsTheTermThePaymentUses) {
  PaymentCalculator calculator(testing::kPointRegional, nullptr);
  calculator.SetBalance(10000);
  calculator.SetRate(0.06);
  calculator.show();
  QApplication::setActiveWindow(&calculator);
  auto* term = calculator.findChild<AmountField*>("ntmskTerm");
  auto* payment = calculator.findChild<QLabel*>("lblPayment");
  const auto type = [term](Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(term, &press);
  };
  term->setFocus();
  ASSERT_TRUE(term->hasFocus());

  // A typed 0 is the shortest term, one month, and the field says so at once.
  type(Qt::Key_0, "0");
  EXPECT_EQ(calculator.Term(), 1);
  EXPECT_EQ(term->text().toStdString(), "1");
  EXPECT_EQ(payment->text().toStdString(), "$10,050.00");

  // 10000 × 0.005 / (1 − 1.005^−12) = 860.66
  term->selectAll();
  type(Qt::Key_1, "1");
  type(Qt::Key_2, "2");
  EXPECT_EQ(calculator.Term(), 12);
  EXPECT_EQ(payment->text().toStdString(), "$860.66");

  // An emptied field is a term still being typed: the payment stays, and on leaving the field
  // shows the term it was worked out for.
  term->selectAll();
  type(Qt::Key_Backspace, "");
  EXPECT_EQ(term->text().toStdString(), "");
  EXPECT_EQ(calculator.Term(), 12);
  EXPECT_EQ(payment->text().toStdString(), "$860.66");
  calculator.findChild<QPushButton*>("btnOK")->setFocus();
  EXPECT_EQ(term->text().toStdString(), "12");
  EXPECT_EQ(calculator.Term(), 12);
}

class CompactDebtDialogTest : public DebtDialogTest {
 protected:
  CompactDebtDialogTest() : DebtDialogTest(false) {}
};

TEST_F(CompactDebtDialogTest, WithoutRestructuringTheTermsStayHiddenAndUnchecked) {
  Debt row = Row("Card", 5000, 18, 10, 100);
  // A plan from an installation that allowed restructuring, with terms that would fail.
  row.Negotiate = true;
  row.NegotiatedBalance = 5000;
  row.NegotiatedInterestRate = Percent(18);
  row.NegotiatedPayment = 1;
  session.AddDebt(row);

  DebtDialog compact(session, messages, kDistFolder, nullptr);
  compact.StartEdit(0);
  compact.show();
  EXPECT_FALSE(Find<QCheckBox>(compact, "chkNegotiate")->isVisible());
  EXPECT_FALSE(Find<QWidget>(compact, "pnlSpacer")->isVisible());
  EXPECT_FALSE(Find<QGroupBox>(compact, "grpNegotiate")->isVisible());

  PlanSession wide(Permissions(true), testing::kPointRegional, 0, prompts);
  DebtDialog full(wide, messages, kDistFolder, nullptr);
  full.show();
  EXPECT_LT(compact.width(), full.width() * 3 / 4);

  // Only the payment-versus-minimum message; the hidden terms are kept as they are.
  Click(compact, "BitBtn1");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind("Current payment", 0), 0u);
  Mask(compact, "ntmskCurrentPayment")->SetNumericValue(100);
  Click(compact, "BitBtn1");
  EXPECT_EQ(compact.result(), QDialog::Accepted);
  EXPECT_TRUE(session.Plan().Debts.At(0).Negotiate);
  EXPECT_EQ(session.Plan().Debts.At(0).NegotiatedPayment, 1);
}

TEST_F(DebtDialogTest, HelpFollowsTheFocusAndEveryHelpFileIsShipped) {
  const std::filesystem::path empty = std::filesystem::path(::testing::TempDir()) / "no-help-here";
  DebtDialog dialog(session, messages, empty, nullptr);
  dialog.StartAdd();
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  auto* help = Find<QPlainTextEdit>(dialog, "memoHelp");
  Mask(dialog, "ntmskEscrow")->setFocus();
  EXPECT_EQ(help->toPlainText().toStdString(),
            "Help file not found:  " + (empty / "Help" / "escrow.txt").string());

  std::set<std::string> named;
  for (QWidget* widget : dialog.findChildren<QWidget*>()) {
    const QVariant file = widget->property("helpFile");
    if (!file.isValid()) continue;
    named.insert(file.toString().toStdString());
    EXPECT_TRUE(
        std::filesystem::is_regular_file(kDistFolder / "Help" / file.toString().toStdString()))
        << file.toString().toStdString();
  }
  EXPECT_EQ(named.size(), 18u);

  DebtDialog shipped(session, messages, kDistFolder, nullptr);
  shipped.StartAdd();
  shipped.show();
  QApplication::setActiveWindow(&shipped);
  Mask(shipped, "ntmskBalance")->setFocus();
  EXPECT_EQ(Find<QPlainTextEdit>(shipped, "memoHelp")->toPlainText().toStdString(),
            ReadHelpText(kDistFolder, "balance.txt"));
}

}  // namespace
}  // namespace ardvane
