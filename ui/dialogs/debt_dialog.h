#pragma once

#include <QDialog>
#include <filesystem>

#include "engine/debt.h"
#include "inputs/debt_checks.h"
#include "inputs/message_sink.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace ardvane {

class PlanSession;
class AmountField;

// The debt entry dialog: one debt at a time, with stepping to the previous or next debt while
// editing (each changed debt is written back as the dialog moves on), a help box that follows
// the focus, and closing checks that keep the dialog open while the payments cannot pay the
// debt down. Moving on from a changed debt runs the same checks first: a debt that fails them
// is not written back, and the dialog stays on it.
//
// Made for one add or one edit and then released. The permissions of the session's
// parameters decide what it shows: "Consolidate" the consolidation box, "Negotiate" the
// restructuring box and its terms (without it the dialog is compact), and "Minimum Payment
// Rate" under "Disable" disables the minimum rate. Help texts are read from
// `programFolder`/Help/.
//
// On OK, after the checks pass, the dialog stores the debt itself: an add appends it with
// AddDebt, an edit writes the current debt back with EditDebt. The caller recalculates after
// OK, and after Cancel when WroteBack() is set. Cancel (and Escape) close without checks; the
// window's close button runs the checks and then counts as Cancel.
class DebtDialog : public QDialog {
  Q_OBJECT

 public:
  DebtDialog(PlanSession& session, MessageSink& messages, std::filesystem::path programFolder,
             QWidget* parent);

  // A new debt: caption "Add Debt", empty fields, compounding "Monthly", no navigation; the
  // current debt is the index the new row will get.
  void StartAdd();
  // The debt of row `index` (0-based) of the session's plan, caption "Edit Debt".
  void StartEdit(int index);

  int CurrentDebt() const { return currentDebt_; }
  bool DebtEdited() const { return debtEdited_; }
  // A debt was written back while moving between debts.
  bool WroteBack() const { return wroteBack_; }
  bool Cancelled() const { return cancelled_; }

  // The fields as numbers and flags, and as the row texts that would be stored.
  DebtValues Values() const;
  Debt EnteredDebt() const;

  void PopulateFields(int index);
  void SaveChanges(int index);
  void EnableBackNext();

 signals:
  // The dialog moved to the debt of row `index`; the main window selects it in its grid.
  void debtShown(int index);

 public slots:
  void accept() override;
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  // The parts of the layout: the fields made in tab order, the debt's own terms, the
  // restructured terms beside them, and the object names tests find the widgets by.
  void CreateFields();
  QGridLayout* DebtTermsLayout();
  QWidget* NegotiatePanel();
  void NameWidgets();
  void SetValues(const DebtValues& values);
  AmountField* NewMask(int maskType, int decimals, const char* helpFile);
  void WatchHelp(QWidget* control, const char* helpFile);
  void FieldChanged();
  void UseMinimumClicked();
  void NegotiateClicked();
  void Move(int step);
  void CalculatePayment();
  bool CloseQuery();
  void UpdateVisibility();

  PlanSession& session_;
  MessageSink& messages_;
  std::filesystem::path programFolder_;
  bool permitNegotiate_ = false;

  int currentDebt_ = 0;
  bool debtEdited_ = false;
  bool wroteBack_ = false;
  bool cancelled_ = false;
  bool adding_ = false;
  bool closing_ = false;  // OK or Cancel decided; a close event then needs no checks

  QLineEdit* nameField = nullptr;
  AmountField* balanceField = nullptr;
  AmountField* interestRateField = nullptr;
  AmountField* minimumPaymentField = nullptr;
  AmountField* minimumPaymentRateField = nullptr;
  QCheckBox* useMinimumCheck = nullptr;
  AmountField* currentPaymentField = nullptr;
  QLabel* paymentLabel = nullptr;
  AmountField* escrowField = nullptr;
  QComboBox* compoundingChoice = nullptr;
  QCheckBox* consolidateCheck = nullptr;
  QWidget* negotiatePanel = nullptr;
  QCheckBox* negotiateCheck = nullptr;
  QGroupBox* negotiatedGroup = nullptr;
  AmountField* negotiatedBalanceField = nullptr;
  AmountField* negotiatedInterestRateField = nullptr;
  AmountField* negotiatedMinimumPaymentField = nullptr;
  QToolButton* calculatePaymentButton = nullptr;
  QWidget* navigatePanel = nullptr;
  QPushButton* previousButton = nullptr;
  QLabel* selectedDebtLabel = nullptr;
  QPushButton* nextButton = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
  QGroupBox* helpGroup = nullptr;
  QPlainTextEdit* helpText = nullptr;
};

}  // namespace ardvane
