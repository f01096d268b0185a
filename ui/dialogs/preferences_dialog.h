#pragma once

#include <QDialog>
#include <filesystem>

#include "engine/settings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ardvane {

// The preferences dialog: the company details, e-mail address and report folder, the
// compounding period of new consolidation loans (only with the permission "Consolidate"), the
// report sections (the contract only when Templates/Contract.ktf is installed) and the print
// language (only with the permission "Language").
//
// The controls are filled from `settings`; OK writes them back into `settings` (hidden
// controls included, so a hidden value stays what it was) and the caller recalculates.
// Cancel leaves `settings` untouched.
class PreferencesDialog : public QDialog {
  Q_OBJECT

 public:
  PreferencesDialog(AppSettings& settings, const PlanParameters& params,
                    std::filesystem::path programFolder, QWidget* parent);

 public slots:
  void accept() override;

 private:
  AppSettings& settings_;
  std::filesystem::path programFolder_;

  QLineEdit* txtCompanyName = nullptr;
  QLineEdit* txtCompanyAddress = nullptr;
  QLineEdit* txtCompanyCityStateZip = nullptr;
  QLineEdit* txtCompanyPhone = nullptr;
  QLineEdit* txtCompanyFax = nullptr;
  QLineEdit* txtCompanyWebSite = nullptr;
  QLineEdit* txtEMail = nullptr;
  QLineEdit* txtReportDirectory = nullptr;
  QGroupBox* grpGeneral = nullptr;
  QComboBox* cboCompounding = nullptr;
  QCheckBox* chkCurrentDebts = nullptr;
  QCheckBox* chkPlanStrategy = nullptr;
  QCheckBox* chkPayoffProjections = nullptr;
  QCheckBox* chkOptions = nullptr;
  QCheckBox* chkNewLoan = nullptr;
  QCheckBox* chkReturnOnInvestment = nullptr;
  QCheckBox* chkPayoffSchedule = nullptr;
  QCheckBox* chkImmediateResults = nullptr;
  QCheckBox* chkPaymentSchedule = nullptr;
  QCheckBox* chkMonthlyPaymentTables = nullptr;
  QCheckBox* chkAmortizationTables = nullptr;
  QCheckBox* chkInvestmentProjection = nullptr;
  QCheckBox* chkPrintContract = nullptr;
  QCheckBox* chkStrategiesCompared = nullptr;
  QGroupBox* grpLanguage = nullptr;
  QRadioButton* optEnglish = nullptr;
  QRadioButton* optSpanish = nullptr;
  QRadioButton* optAsk = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
};

}  // namespace ardvane
