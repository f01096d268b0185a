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

}  // namespace

PreferencesDialog::PreferencesDialog(AppSettings& settings, const PlanParameters& params,
                                     std::filesystem::path programFolder, QWidget* parent)
    : QDialog(parent), settings_(settings), programFolder_(std::move(programFolder)) {
  setObjectName("frmPreferences");
  setWindowTitle("Preferences");
  const DesignPixels px(*this);
  auto* layout = new QVBoxLayout(this);

  const auto field = [](QWidget* parent, const char* name, const std::string& text, int width) {
    auto* edit = new QLineEdit(Q(text), parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(width);
    return edit;
  };

  // 1. Company.
  auto* company = new QGroupBox("Company Settings", this);
  company->setObjectName("grpCompany");
  auto* companyGrid = new QGridLayout(company);
  companyNameField = field(company, "txtCompanyName", settings.CompanyName, px(200));
  companyAddressField = field(company, "txtCompanyAddress", settings.CompanyAddress, px(200));
  companyCityStateZipField =
      field(company, "txtCompanyCityStateZip", settings.CompanyCityStateZip, px(200));
  companyPhoneField = field(company, "txtCompanyPhone", settings.CompanyPhone, px(200));
  companyFaxField = field(company, "txtCompanyFax", settings.CompanyFax, px(200));
  companyWebSiteField = field(company, "txtCompanyWebSite", settings.CompanyWebSite, px(200));
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
  layout->addWidget(company);

  // 2. System.
  auto* system = new QGroupBox("System Settings", this);
  system->setObjectName("grpSystem");
  auto* systemGrid = new QGridLayout(system);
  emailField = field(system, "txtEMail", settings.CompanyEMail, px(353));
  reportDirectoryField = field(system, "txtReportDirectory", settings.ReportDirectory, px(353));
  systemGrid->addWidget(new QLabel("EMail Address", system), 0, 0);
  systemGrid->addWidget(emailField, 0, 1);
  systemGrid->addWidget(new QLabel("Printed Report Output Directory", system), 1, 0);
  systemGrid->addWidget(reportDirectoryField, 1, 1);
  systemGrid->setColumnStretch(2, 1);
  layout->addWidget(system);

  // 3. New consolidation loans.
  generalGroup = new QGroupBox("General Preferences", this);
  generalGroup->setObjectName("grpGeneral");
  auto* general = new QHBoxLayout(generalGroup);
  compoundingChoice = new QComboBox(generalGroup);
  compoundingChoice->setObjectName("cboCompounding");
  compoundingChoice->addItems({"Daily", "Monthly", "Quarterly", "Semi-Annually", "Annually"});
  compoundingChoice->setCurrentIndex(
      LookupItemIndex(CompoundingFromCode(settings.DefaultCompoundingPeriod)));
  general->addWidget(new QLabel("Proposed consolidation loans compound", generalGroup));
  general->addWidget(compoundingChoice);
  general->addStretch(1);
  generalGroup->setVisible(params.PermitConsolidate);
  layout->addWidget(generalGroup);

  // 4. Report sections, in four columns; the tab order runs down each column.
  auto* sections = new QGroupBox("Print Sections", this);
  sections->setObjectName("grpPrintSections");
  auto* sectionsGrid = new QGridLayout(sections);
  const auto check = [sections](const char* name, const char* caption, bool on) {
    auto* box = new QCheckBox(caption, sections);
    box->setObjectName(name);
    box->setChecked(on);
    return box;
  };
  currentDebtsCheck = check("chkCurrentDebts", "Current Debts", settings.PrintCurrentDebts);
  planStrategyCheck = check("chkPlanStrategy", "Plan Strategy", settings.PrintPlanStrategy);
  payoffProjectionsCheck =
      check("chkPayoffProjections", "Payoff Projections", settings.PrintPayoffProjections);
  optionsCheck = check("chkOptions", "Options", settings.PrintOptions);
  newLoanCheck = check("chkNewLoan", "New Loan", settings.PrintNewLoan);
  returnOnInvestmentCheck =
      check("chkReturnOnInvestment", "Return on Investment", settings.PrintReturnOnInvestment);
  payoffScheduleCheck = check("chkPayoffSchedule", "Payoff Schedule", settings.PrintPayoffSchedule);
  immediateResultsCheck =
      check("chkImmediateResults", "Cost of Delay", settings.PrintImmediateResults);
  paymentScheduleCheck =
      check("chkPaymentSchedule", "Payment Schedule", settings.PrintPaymentSchedule);
  monthlyPaymentTablesCheck = check("chkMonthlyPaymentTables", "Monthly Payment Tables",
                                    settings.PrintMonthlyPaymentTables);
  amortizationTablesCheck =
      check("chkAmortizationTables", "Amortization Tables", settings.PrintAmortizationTables);
  investmentProjectionCheck = check("chkInvestmentProjection", "Investment Projection",
                                    settings.PrintInvestmentProjections);
  printContractCheck = check("chkPrintContract", "Contract", settings.PrintContract);
  strategiesComparedCheck =
      check("chkStrategiesCompared", "Strategies Compared", settings.PrintStrategiesCompared);
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
  layout->addWidget(sections);

  // 5. Language.
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
  englishOption->setChecked(settings.PrintLanguage == kPrintLanguageEnglish);
  spanishOption->setChecked(settings.PrintLanguage == kPrintLanguageSpanish);
  askOption->setChecked(settings.PrintLanguage == kPrintLanguageAsk);
  choices->setExclusive(true);
  language->addWidget(new QLabel("Always print in", languageGroup));
  language->addWidget(englishOption);
  language->addWidget(spanishOption);
  language->addSpacing(px(16));
  language->addWidget(new QLabel("OR", languageGroup));
  language->addSpacing(px(16));
  language->addWidget(askOption);
  language->addStretch(1);
  languageGroup->setVisible(params.PermitLanguage);
  layout->addWidget(languageGroup);

  const OkCancelButtons buttons = AddOkCancelRow(*this, *layout);
  okButton = buttons.ok;
  cancelButton = buttons.cancel;

  setMinimumWidth(px(632));
  layout->setSizeConstraint(QLayout::SetFixedSize);
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
