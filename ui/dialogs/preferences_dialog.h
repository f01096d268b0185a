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

class DesignPixels;

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
  // The dialog's group boxes, top to bottom, each made with its controls filled from the
  // settings; the consolidation and language groups show only when `permitted`.
  QGroupBox* CompanyGroup(const DesignPixels& px);
  QGroupBox* SystemGroup(const DesignPixels& px);
  QGroupBox* NewLoanGroup(bool permitted);
  QGroupBox* PrintSectionsGroup();
  QGroupBox* LanguageGroup(const DesignPixels& px, bool permitted);

  AppSettings& settings_;
  std::filesystem::path programFolder_;

  QLineEdit* companyNameField = nullptr;
  QLineEdit* companyAddressField = nullptr;
  QLineEdit* companyCityStateZipField = nullptr;
  QLineEdit* companyPhoneField = nullptr;
  QLineEdit* companyFaxField = nullptr;
  QLineEdit* companyWebSiteField = nullptr;
  QLineEdit* emailField = nullptr;
  QLineEdit* reportDirectoryField = nullptr;
  QGroupBox* generalGroup = nullptr;
  QComboBox* compoundingChoice = nullptr;
  QCheckBox* currentDebtsCheck = nullptr;
  QCheckBox* planStrategyCheck = nullptr;
  QCheckBox* payoffProjectionsCheck = nullptr;
  QCheckBox* optionsCheck = nullptr;
  QCheckBox* newLoanCheck = nullptr;
  QCheckBox* returnOnInvestmentCheck = nullptr;
  QCheckBox* payoffScheduleCheck = nullptr;
  QCheckBox* immediateResultsCheck = nullptr;
  QCheckBox* paymentScheduleCheck = nullptr;
  QCheckBox* monthlyPaymentTablesCheck = nullptr;
  QCheckBox* amortizationTablesCheck = nullptr;
  QCheckBox* investmentProjectionCheck = nullptr;
  QCheckBox* printContractCheck = nullptr;
  QCheckBox* strategiesComparedCheck = nullptr;
  QGroupBox* languageGroup = nullptr;
  QRadioButton* englishOption = nullptr;
  QRadioButton* spanishOption = nullptr;
  QRadioButton* askOption = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
};

}  // namespace ardvane
