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

namespace ardvane {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QLineEdit* field) { return field->text().toStdString(); }

}  // namespace

PreferencesDialog::PreferencesDialog(AppSettings& settings, const PlanParameters& params,
                                     std::filesystem::path programFolder, QWidget* parent)
    : QDialog(parent), settings_(settings), programFolder_(std::move(programFolder)) {
  setObjectName("frmPreferences");
  setWindowTitle("Preferences");
  const DesignPixels px(*this);
  auto* layout = new QVBoxLayout(this);

  const auto field = [this](QWidget* parent, const char* name, const std::string& text, int width) {
    auto* edit = new QLineEdit(Q(text), parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(width);
    return edit;
  };

  // 1. Company.
  auto* company = new QGroupBox("Company Settings", this);
  company->setObjectName("grpCompany");
  auto* companyGrid = new QGridLayout(company);
  txtCompanyName = field(company, "txtCompanyName", settings.CompanyName, px(200));
  txtCompanyAddress = field(company, "txtCompanyAddress", settings.CompanyAddress, px(200));
  txtCompanyCityStateZip =
      field(company, "txtCompanyCityStateZip", settings.CompanyCityStateZip, px(200));
  txtCompanyPhone = field(company, "txtCompanyPhone", settings.CompanyPhone, px(200));
  txtCompanyFax = field(company, "txtCompanyFax", settings.CompanyFax, px(200));
  txtCompanyWebSite = field(company, "txtCompanyWebSite", settings.CompanyWebSite, px(200));
  const std::pair<const char*, QLineEdit*> left[] = {{"Name", txtCompanyName},
                                                     {"Address", txtCompanyAddress},
                                                     {"City, State Zip", txtCompanyCityStateZip}};
  const std::pair<const char*, QLineEdit*> right[] = {
      {"Phone", txtCompanyPhone}, {"Fax", txtCompanyFax}, {"Web Site", txtCompanyWebSite}};
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
  txtEMail = field(system, "txtEMail", settings.CompanyEMail, px(353));
  txtReportDirectory = field(system, "txtReportDirectory", settings.ReportDirectory, px(353));
  systemGrid->addWidget(new QLabel("EMail Address", system), 0, 0);
  systemGrid->addWidget(txtEMail, 0, 1);
  systemGrid->addWidget(new QLabel("Printed Report Output Directory", system), 1, 0);
  systemGrid->addWidget(txtReportDirectory, 1, 1);
  systemGrid->setColumnStretch(2, 1);
  layout->addWidget(system);

  // 3. New consolidation loans.
  grpGeneral = new QGroupBox("General Preferences", this);
  grpGeneral->setObjectName("grpGeneral");
  auto* general = new QHBoxLayout(grpGeneral);
  cboCompounding = new QComboBox(grpGeneral);
  cboCompounding->setObjectName("cboCompounding");
  cboCompounding->addItems({"Daily", "Monthly", "Quarterly", "Semi-Annually", "Annually"});
  cboCompounding->setCurrentIndex(
      LookupItemIndex(CompoundingFromCode(settings.DefaultCompoundingPeriod)));
  general->addWidget(new QLabel("Proposed consolidation loans compound", grpGeneral));
  general->addWidget(cboCompounding);
  general->addStretch(1);
  grpGeneral->setVisible(params.PermitConsolidate);
  layout->addWidget(grpGeneral);

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
  chkCurrentDebts = check("chkCurrentDebts", "Current Debts", settings.PrintCurrentDebts);
  chkPlanStrategy = check("chkPlanStrategy", "Plan Strategy", settings.PrintPlanStrategy);
  chkPayoffProjections =
      check("chkPayoffProjections", "Payoff Projections", settings.PrintPayoffProjections);
  chkOptions = check("chkOptions", "Options", settings.PrintOptions);
  chkNewLoan = check("chkNewLoan", "New Loan", settings.PrintNewLoan);
  chkReturnOnInvestment =
      check("chkReturnOnInvestment", "Return on Investment", settings.PrintReturnOnInvestment);
  chkPayoffSchedule = check("chkPayoffSchedule", "Payoff Schedule", settings.PrintPayoffSchedule);
  chkImmediateResults =
      check("chkImmediateResults", "Cost of Delay", settings.PrintImmediateResults);
  chkPaymentSchedule =
      check("chkPaymentSchedule", "Payment Schedule", settings.PrintPaymentSchedule);
  chkMonthlyPaymentTables = check("chkMonthlyPaymentTables", "Monthly Payment Tables",
                                  settings.PrintMonthlyPaymentTables);
  chkAmortizationTables =
      check("chkAmortizationTables", "Amortization Tables", settings.PrintAmortizationTables);
  chkInvestmentProjection = check("chkInvestmentProjection", "Investment Projection",
                                  settings.PrintInvestmentProjections);
  chkPrintContract = check("chkPrintContract", "Contract", settings.PrintContract);
  chkStrategiesCompared =
      check("chkStrategiesCompared", "Strategies Compared", settings.PrintStrategiesCompared);
  QCheckBox* columns[4][4] = {
      {chkCurrentDebts, chkPlanStrategy, chkPayoffProjections, chkOptions},
      {chkNewLoan, chkReturnOnInvestment, chkPayoffSchedule, chkImmediateResults},
      {chkPaymentSchedule, chkMonthlyPaymentTables, chkAmortizationTables, chkInvestmentProjection},
      {chkPrintContract, chkStrategiesCompared, nullptr, nullptr}};
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
  chkPrintContract->setVisible(ContractTemplateExists(programFolder_));
  layout->addWidget(sections);

  // 5. Language.
  grpLanguage = new QGroupBox("Language", this);
  grpLanguage->setObjectName("grpLanguage");
  auto* language = new QHBoxLayout(grpLanguage);
  optEnglish = new QRadioButton("English", grpLanguage);
  optEnglish->setObjectName("optEnglish");
  optSpanish = new QRadioButton("Spanish", grpLanguage);
  optSpanish->setObjectName("optSpanish");
  optAsk = new QRadioButton("Ask me each time", grpLanguage);
  optAsk->setObjectName("optAsk");
  // A language setting other than 0, 1 and 99 selects none of the three.
  auto* choices = new QButtonGroup(grpLanguage);
  choices->setExclusive(false);
  for (QRadioButton* option : {optEnglish, optSpanish, optAsk}) {
    option->setAutoExclusive(false);
    choices->addButton(option);
  }
  optEnglish->setChecked(settings.PrintLanguage == 0);
  optSpanish->setChecked(settings.PrintLanguage == 1);
  optAsk->setChecked(settings.PrintLanguage == 99);
  choices->setExclusive(true);
  language->addWidget(new QLabel("Always print in", grpLanguage));
  language->addWidget(optEnglish);
  language->addWidget(optSpanish);
  language->addSpacing(px(16));
  language->addWidget(new QLabel("OR", grpLanguage));
  language->addSpacing(px(16));
  language->addWidget(optAsk);
  language->addStretch(1);
  grpLanguage->setVisible(params.PermitLanguage);
  layout->addWidget(grpLanguage);

  const OkCancelButtons buttons = AddOkCancelRow(*this, *layout);
  btnOK = buttons.ok;
  btnCancel = buttons.cancel;

  setMinimumWidth(px(632));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PreferencesDialog::accept() {
  AppSettings& s = settings_;
  s.CompanyName = S(txtCompanyName);
  s.CompanyAddress = S(txtCompanyAddress);
  s.CompanyCityStateZip = S(txtCompanyCityStateZip);
  s.CompanyPhone = S(txtCompanyPhone);
  s.CompanyFax = S(txtCompanyFax);
  s.CompanyWebSite = S(txtCompanyWebSite);
  s.CompanyEMail = S(txtEMail);
  txtReportDirectory->setText(Q(ReportFolderSetting(S(txtReportDirectory), programFolder_)));
  s.ReportDirectory = S(txtReportDirectory);
  // Taken over from the list also while it is hidden: it shows the period it was filled with.
  s.DefaultCompoundingPeriod =
      CompoundingCode(LookupCompoundingPeriod(cboCompounding->currentIndex()));
  s.PrintCurrentDebts = chkCurrentDebts->isChecked();
  s.PrintPlanStrategy = chkPlanStrategy->isChecked();
  s.PrintPayoffProjections = chkPayoffProjections->isChecked();
  s.PrintOptions = chkOptions->isChecked();
  s.PrintNewLoan = chkNewLoan->isChecked();
  s.PrintReturnOnInvestment = chkReturnOnInvestment->isChecked();
  s.PrintPayoffSchedule = chkPayoffSchedule->isChecked();
  s.PrintImmediateResults = chkImmediateResults->isChecked();
  s.PrintPaymentSchedule = chkPaymentSchedule->isChecked();
  s.PrintMonthlyPaymentTables = chkMonthlyPaymentTables->isChecked();
  s.PrintAmortizationTables = chkAmortizationTables->isChecked();
  s.PrintInvestmentProjections = chkInvestmentProjection->isChecked();
  s.PrintContract = chkPrintContract->isChecked();
  s.PrintStrategiesCompared = chkStrategiesCompared->isChecked();
  s.PrintLanguage = LanguageSetting(optEnglish->isChecked(), optSpanish->isChecked(),
                                    optAsk->isChecked(), s.PrintLanguage);
  QDialog::accept();
}

}  // namespace ardvane
