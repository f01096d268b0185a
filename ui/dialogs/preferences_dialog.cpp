#include "ui/dialogs/preferences_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "engine/debt.h"
#include "settings/preferences_rules.h"
#include "ui/widgets/design_pixels.h"
#include "ui/widgets/dialog_buttons.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

std::string S(const QLineEdit* field) { return field->text().toStdString(); }

QLineEdit* NewField(QWidget* parent, const char* name, const std::string& text, int width) {
  auto* edit = new QLineEdit(Q(text), parent);
  edit->setObjectName(name);
  edit->setMinimumWidth(width);
  return edit;
}

QCheckBox* NewCheck(QWidget* parent, const char* name, const char* caption, bool on) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setChecked(on);
  return box;
}

}  // namespace

PreferencesDialog::PreferencesDialog(AppSettings& settings, const PlanParameters& params,
                                     std::filesystem::path programFolder, QWidget* parent)
    : QDialog(parent), settings_(settings), programFolder_(std::move(programFolder)) {
  setObjectName("frmPreferences");
  setWindowTitle("Preferences");
  const DesignPixels px(*this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CompanyGroup(px));
  layout->addWidget(SystemGroup(px));
  layout->addWidget(NewLoanGroup(params.PermitConsolidate));
  layout->addWidget(PrintSectionsGroup());
  layout->addWidget(LanguageGroup(px, params.PermitLanguage));

  const OkCancelButtons buttons = AddOkCancelRow(*this, *layout);
  okButton = buttons.ok;
  cancelButton = buttons.cancel;

  setMinimumWidth(px(632));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* PreferencesDialog::CompanyGroup(const DesignPixels& px) {
  auto* company = new QGroupBox("Company Settings", this);
  company->setObjectName("grpCompany");
  auto* companyGrid = new QGridLayout(company);
  const AppSettings& settings = settings_;
  companyNameField = NewField(company, "txtCompanyName", settings.CompanyName, px(200));
  companyAddressField = NewField(company, "txtCompanyAddress", settings.CompanyAddress, px(200));
  companyCityStateZipField =
      NewField(company, "txtCompanyCityStateZip", settings.CompanyCityStateZip, px(200));
  companyPhoneField = NewField(company, "txtCompanyPhone", settings.CompanyPhone, px(200));
  companyFaxField = NewField(company, "txtCompanyFax", settings.CompanyFax, px(200));
  companyWebSiteField = NewField(company, "txtCompanyWebSite", settings.CompanyWebSite, px(200));
  const std::pair<const char*, QLineEdit*> left[] = {{"Name", companyNameField},
                                                     {"Address", companyAddressField},
                                                     {"City, State Zip", companyCityStateZipField}};
  const std::pair<const char*, QLineEdit*> right[] = {
      {"Phone", companyPhoneField}, {"Fax", companyFaxField}, {"Web Site", companyWebSiteField}};
  for (int row = 0; row < 3; ++row) {
    companyGrid->addWidget(new QLabel(left[row].first, company), row, 0);
    companyGrid->addWidget(left[row].second, row, 1);
    companyGrid->addWidget(new QLabel(right[row].first, company), row, 3);
    companyGrid->addWidget(right[row].second, row, 4);
  }
  companyGrid->setColumnMinimumWidth(2, px(16));
  companyGrid->setColumnStretch(1, 1);
  companyGrid->setColumnStretch(4, 1);
  return company;
}

QGroupBox* PreferencesDialog::SystemGroup(const DesignPixels& px) {
  auto* system = new QGroupBox("System Settings", this);
  system->setObjectName("grpSystem");
  auto* systemGrid = new QGridLayout(system);
  emailField = NewField(system, "txtEMail", settings_.CompanyEMail, px(353));
  reportDirectoryField = NewField(system, "txtReportDirectory", settings_.ReportDirectory, px(353));
  systemGrid->addWidget(new QLabel("EMail Address", system), 0, 0);
  systemGrid->addWidget(emailField, 0, 1);
  systemGrid->addWidget(new QLabel("Printed Report Output Directory", system), 1, 0);
  systemGrid->addWidget(reportDirectoryField, 1, 1);
  systemGrid->setColumnStretch(2, 1);
  return system;
}

// The compounding period of new consolidation loans.
QGroupBox* PreferencesDialog::NewLoanGroup(bool permitted) {
  generalGroup = new QGroupBox("General Preferences", this);
  generalGroup->setObjectName("grpGeneral");
  auto* general = new QHBoxLayout(generalGroup);
  compoundingChoice = new QComboBox(generalGroup);
  compoundingChoice->setObjectName("cboCompounding");
  compoundingChoice->addItems({"Daily", "Monthly", "Quarterly", "Semi-Annually", "Annually"});
  compoundingChoice->setCurrentIndex(
      LookupItemIndex(CompoundingFromCode(settings_.DefaultCompoundingPeriod)));
  general->addWidget(new QLabel("Proposed consolidation loans compound", generalGroup));
  general->addWidget(compoundingChoice);
  general->addStretch(1);
  generalGroup->setVisible(permitted);
  return generalGroup;
}

// The report sections in four columns; the tab order runs down each column.
QGroupBox* PreferencesDialog::PrintSectionsGroup() {
  auto* sections = new QGroupBox("Print Sections", this);
  sections->setObjectName("grpPrintSections");
  auto* sectionsGrid = new QGridLayout(sections);
  const AppSettings& s = settings_;
  const auto check = [sections](const char* name, const char* caption, bool on) {
    return NewCheck(sections, name, caption, on);
  };
  currentDebtsCheck = check("chkCurrentDebts", "Current Debts", s.PrintCurrentDebts);
  planStrategyCheck = check("chkPlanStrategy", "Plan Strategy", s.PrintPlanStrategy);
  payoffProjectionsCheck =
      check("chkPayoffProjections", "Payoff Projections", s.PrintPayoffProjections);
  optionsCheck = check("chkOptions", "Options", s.PrintOptions);
  newLoanCheck = check("chkNewLoan", "New Loan", s.PrintNewLoan);
  returnOnInvestmentCheck =
      check("chkReturnOnInvestment", "Return on Investment", s.PrintReturnOnInvestment);
  payoffScheduleCheck = check("chkPayoffSchedule", "Payoff Schedule", s.PrintPayoffSchedule);
  immediateResultsCheck = check("chkImmediateResults", "Cost of Delay", s.PrintImmediateResults);
  paymentScheduleCheck = check("chkPaymentSchedule", "Payment Schedule", s.PrintPaymentSchedule);
  monthlyPaymentTablesCheck =
      check("chkMonthlyPaymentTables", "Monthly Payment Tables", s.PrintMonthlyPaymentTables);
  amortizationTablesCheck =
      check("chkAmortizationTables", "Amortization Tables", s.PrintAmortizationTables);
  investmentProjectionCheck =
      check("chkInvestmentProjection", "Investment Projection", s.PrintInvestmentProjections);
  printContractCheck = check("chkPrintContract", "Contract", s.PrintContract);
  strategiesComparedCheck =
      check("chkStrategiesCompared", "Strategies Compared", s.PrintStrategiesCompared);
  QCheckBox* columns[4][4] = {
      {currentDebtsCheck, planStrategyCheck, payoffProjectionsCheck, optionsCheck},
      {newLoanCheck, returnOnInvestmentCheck, payoffScheduleCheck, immediateResultsCheck},
      {paymentScheduleCheck, monthlyPaymentTablesCheck, amortizationTablesCheck,
       investmentProjectionCheck},
      {printContractCheck, strategiesComparedCheck, nullptr, nullptr}};
  QWidget* previous = nullptr;
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      QCheckBox* box = columns[col][row];
      if (!box) continue;
      sectionsGrid->addWidget(box, row, col);
      if (previous) setTabOrder(previous, box);
      previous = box;
    }
  }
  printContractCheck->setVisible(ContractTemplateExists(programFolder_));
  return sections;
}

QGroupBox* PreferencesDialog::LanguageGroup(const DesignPixels& px, bool permitted) {
  languageGroup = new QGroupBox("Language", this);
  languageGroup->setObjectName("grpLanguage");
  auto* language = new QHBoxLayout(languageGroup);
  englishOption = new QRadioButton("English", languageGroup);
  englishOption->setObjectName("optEnglish");
  spanishOption = new QRadioButton("Spanish", languageGroup);
  spanishOption->setObjectName("optSpanish");
  askOption = new QRadioButton("Ask me each time", languageGroup);
  askOption->setObjectName("optAsk");
  // A language setting other than 0, 1 and 99 selects none of the three.
  auto* choices = new QButtonGroup(languageGroup);
  choices->setExclusive(false);
  for (QRadioButton* option : {englishOption, spanishOption, askOption}) {
    option->setAutoExclusive(false);
    choices->addButton(option);
  }
  englishOption->setChecked(settings_.PrintLanguage == kPrintLanguageEnglish);
  spanishOption->setChecked(settings_.PrintLanguage == kPrintLanguageSpanish);
  askOption->setChecked(settings_.PrintLanguage == kPrintLanguageAsk);
  choices->setExclusive(true);
  language->addWidget(new QLabel("Always print in", languageGroup));
  language->addWidget(englishOption);
  language->addWidget(spanishOption);
  language->addSpacing(px(16));
  language->addWidget(new QLabel("OR", languageGroup));
  language->addSpacing(px(16));
  language->addWidget(askOption);
  language->addStretch(1);
  languageGroup->setVisible(permitted);
  return languageGroup;
}

void PreferencesDialog::accept() {
  AppSettings& s = settings_;
  s.CompanyName = S(companyNameField);
  s.CompanyAddress = S(companyAddressField);
  s.CompanyCityStateZip = S(companyCityStateZipField);
  s.CompanyPhone = S(companyPhoneField);
  s.CompanyFax = S(companyFaxField);
  s.CompanyWebSite = S(companyWebSiteField);
  s.CompanyEMail = S(emailField);
  reportDirectoryField->setText(Q(ReportFolderSetting(S(reportDirectoryField), programFolder_)));
  s.ReportDirectory = S(reportDirectoryField);
  // Taken over from the list also while it is hidden: it shows the period it was filled with.
  s.DefaultCompoundingPeriod =
      CompoundingCode(LookupCompoundingPeriod(compoundingChoice->currentIndex()));
  s.PrintCurrentDebts = currentDebtsCheck->isChecked();
  s.PrintPlanStrategy = planStrategyCheck->isChecked();
  s.PrintPayoffProjections = payoffProjectionsCheck->isChecked();
  s.PrintOptions = optionsCheck->isChecked();
  s.PrintNewLoan = newLoanCheck->isChecked();
  s.PrintReturnOnInvestment = returnOnInvestmentCheck->isChecked();
  s.PrintPayoffSchedule = payoffScheduleCheck->isChecked();
  s.PrintImmediateResults = immediateResultsCheck->isChecked();
  s.PrintPaymentSchedule = paymentScheduleCheck->isChecked();
  s.PrintMonthlyPaymentTables = monthlyPaymentTablesCheck->isChecked();
  s.PrintAmortizationTables = amortizationTablesCheck->isChecked();
  s.PrintInvestmentProjections = investmentProjectionCheck->isChecked();
  s.PrintContract = printContractCheck->isChecked();
  s.PrintStrategiesCompared = strategiesComparedCheck->isChecked();
  s.PrintLanguage = LanguageSetting(englishOption->isChecked(), spanishOption->isChecked(),
                                    askOption->isChecked(), s.PrintLanguage);
  QDialog::accept();
}

}  // namespace ardvane
