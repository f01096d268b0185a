#include "reports/report_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "figures/payoff_payment.h"
#include "figures/report_formats.h"
#include "figures/strategies.h"
#include "planfiles/plan_file.h"
#include "reports/report_text.h"
#include "tests/figures/test_plans.h"
#include "tests/reports/report_test_files.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::kPointRegional;
using testing::M;
using testing::MakeDebt;
using testing::ProgramFolder;

// Every paragraph of the report and every placeholder any of them receives.
const char* const kParagraphs[] = {
    "Header", "CoverPage", "CurrentDebtsPage", "DebtTable", "DebtTableFooter", "Escrow",
    "PlanStrategyPage", "Margin5", "Margin4", "NegativeMargin", "AnnualAccelerator",
    "CurrentVsProposedPage", "OptionsPage", "Option1", "OptionX", "OptionXReduction",
    "OptionXValues", "OptionsCloser", "ConsolidationLoanPage", "PlanFeesPage", "NewLoanPage",
    "InvestmentReturnPage", "PayoffSchedulePage", "PayoffTable", "PayoffTableFooter",
    "ImmediateResultsPage", "Actions", "CompanyNameClose", "CompanyAddressClose",
    "CompanyCityStateZipClose", "CompanyPhoneClose", "CompanyFaxClose", "CompanyWebSiteClose",
    "PaymentScheduleHeader", "PaymentScheduleTable", "ProposedPaymentException",
    "MonthlyPaymentSchedulePage", "MonthlyPaymentScheduleTableHeader",
    "MonthlyPaymentScheduleTable", "MonthlyPaymentScheduleTableFooter",
    "AmortizationTableHeader", "AmortizationTable", "InvestmentHeader", "InvestmentTable",
    "Contract", "WorkoutAgreement", "Closer", "ContractFinanced", "ContractFeeBalance",
    "ContractTerms", "ContractMonthlyFee", "ContactUs", "CurrentNeverPaidOff",
    "ProposedNeverPaidOff", "AmortizationTableHeaderNever", "StrategiesComparedPage",
    "StrategiesComparedTable", "CoverPromise", "CoverPromiseNeverPaidOff", "CoverDetails",
    "NeverPaidOffLead", "NeverPaidOffLeadDebt", "NeverPaidOffLeadEnd", "ActionsCloser",
    "ActionsCloserNeverPaidOff", "StrategiesComparedNote", "FeeNote", "ContractFeeNote",
    "PlanFeesNotePage", "PlanStrategyInvestment", "PlanStrategyInvestmentNeverPaidOff",
    "CurrentVsProposedPageNeverPaidOff", "StrategiesComparedPageNeverPaidOff",
    "OptionsPageNeverPaidOff", "PayoffTableFooterNeverPaidOff", "InvestmentNeverPaidOff"};
const char* const kPlaceholders[] = {
    "FirstName", "LastName", "CompanyName", "Month", "Day", "Suffix", "Year", "Description",
    "InterestRate", "Payment", "Balance", "Escrow", "TotalWithEscrow", "Option#", "Accelerator",
    "SelectedOption", "AnnualAccelerator", "PeriodicPayment", "ProposedPayoffYears",
    "InterestSaved", "Term", "ConsolidationPayoffYears", "CurrentPayoffDate",
    "ProposedPayoffDate", "DebtName", "MinPayment", "ExtraPayment", "TotalPayment",
    "MinimumPayment", "Margin", "Fees", "Savings", "Priority", "BegBal", "EndBal",
    "CurrentPayment", "ProposedPayment", "PaymentChange", "Difference", "CurrentPayoffTime",
    "ProposedPayoffTime", "CurrentInterest", "ProposedInterest", "ProposedInterestSavings",
    "InvestmentValue", "CashPayment", "PayoffRate", "ConsolidationRate", "DifferenceRate",
    "DifferencePayment", "ConsolidationPayment", "ConsolidationBalance", "AnnualReturn",
    "ProposedMonthlyInterestSavings", "FinancedSetupFee", "NewLoanPayment", "PlanPayment",
    "Company", "SetupFee", "DownPayment", "DebtNames", "DebtFreeIn", "OverThePlan",
    "PaymentsNeeded", "Strategy", "Notes", "DebtFree", "TotalInterest", "MonthYear",
    "DebtFreeWhen", "PointsBase", "FeeFinancingInterest", "ProposedInterestSavingsPreFee",
    "ClientName", "AdviserName", "MonthlyFee", "CurrentExcess", "Negotiations", "NewLoanSavings",
    "AdminFee", "FeeBalance", "TodayUnpaid", "Saving", "PaymentsNeededText", "NeverPaidOff",
    "PowerPayment", "SavingLabel", "SavingCell", "Investment", "AverageSaving", "Results",
    "FeeNote", "Note", "PayoffTime"};

// One filled paragraph of a marker template: its name and the values it received.
struct Filled {
  std::string name;
  std::map<std::string, std::string> values;
  std::string operator[](const std::string& key) const {
    const auto found = values.find(key);
    return found == values.end() ? "?" : found->second;
  }
};

// A program folder whose paragraphs write their name and their values on one line:
// "Name<TAB>Key=value<TAB>...". A value that was not given stays "[$Key$]" and is dropped.
class MarkerFolder : public ProgramFolder {
 public:
  explicit MarkerFolder(const std::string& language = "English") {
    for (const char* paragraph : kParagraphs) {
      std::string line = paragraph;
      for (const char* key : kPlaceholders) line += std::string("\t") + key + "=[$" + key + "$]";
      Write("Templates/" + language + "/" + paragraph + ".ktf", line + "\r\n");
    }
  }
};

std::vector<Filled> Parse(const std::string& text) {
  std::vector<Filled> filled;
  // The byte order mark that makes LibreOffice read the document as HTML comes first.
  EXPECT_TRUE(text.starts_with(kReportDocumentStart)) << text.substr(0, 40);
  std::istringstream lines(text.substr(std::min(text.size(), kReportDocumentStart.size())));
  std::string line;
  while (std::getline(lines, line)) {
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << "lines end in CR LF";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    Filled paragraph;
    std::getline(fields, paragraph.name, '\t');
    std::string field;
    while (std::getline(fields, field, '\t')) {
      const auto equals = field.find('=');
      const std::string key = field.substr(0, equals);
      const std::string value = field.substr(equals + 1);
      if (value != "[$" + key + "$]") paragraph.values[key] = value;
    }
    filled.push_back(std::move(paragraph));
  }
  return filled;
}

std::vector<std::string> Names(const std::vector<Filled>& filled) {
  std::vector<std::string> names;
  for (const Filled& paragraph : filled) names.push_back(paragraph.name);
  return names;
}

std::vector<Filled> Only(const std::vector<Filled>& filled, const std::string& name) {
  std::vector<Filled> found;
  for (const Filled& paragraph : filled) {
    if (paragraph.name == name) found.push_back(paragraph);
  }
  return found;
}

AppSettings NoSections() {
  AppSettings settings;
  settings.PrintCurrentDebts = settings.PrintPlanStrategy = settings.PrintPayoffProjections =
      settings.PrintOptions = settings.PrintNewLoan = settings.PrintReturnOnInvestment =
          settings.PrintPayoffSchedule = settings.PrintImmediateResults =
              settings.PrintPaymentSchedule = settings.PrintMonthlyPaymentTables =
                  settings.PrintAmortizationTables = settings.PrintInvestmentProjections =
                      settings.PrintContract = false;
  return settings;
}

// A plan of two debts with every section off, its calculation and a report context over them.
struct Report : testing::ReportFixture {
  Report() {
    settings = NoSections();
    plan.FirstName = "Ana";
    plan.LastName = "Ruiz";
    plan.Date = EncodeDate(2015, 3, 22);
    plan.ReturnRate = Percent(6);
    plan.Debts.AddDebt(MakeDebt("Visa", 3000, 18.9, 150, 60));
    plan.Debts.AddDebt(MakeDebt("Car loan", 6000, 7, 250, 250));
  }

  std::vector<Filled> Assemble(const std::filesystem::path& folder,
                               Language language = Language::kEnglish) {
    return Parse(AssembleText(folder, language));
  }
};

TEST(AssembleReportTest, WithEverySwitchOffHoldsHeaderCoverAndCloser) {
  MarkerFolder folder;
  Report report;
  report.settings.CompanyName = "Brevant & Co";
  const auto filled = report.Assemble(folder.path());
  EXPECT_EQ(Names(filled), (std::vector<std::string>{"Header", "CoverPage", "CoverPromise",
                                                     "CoverDetails", "Closer"}));
  EXPECT_EQ(filled[0]["CompanyName"], "Brevant &amp; Co");
  EXPECT_EQ(filled[3]["Day"], "22");
  EXPECT_EQ(filled[3]["Suffix"], "nd");
  EXPECT_EQ(filled[3]["Month"], "March");
  EXPECT_EQ(filled[3]["Year"], "2015");
  EXPECT_TRUE(report.missing.empty());
}

TEST(AssembleReportTest, PlanTextsAreEscapedAndTheCompanyIsTheAdvisersOwn) {
  MarkerFolder folder;
  Report report;
  report.plan.FirstName = "Ana & Luis";
  report.plan.LastName = "\"Zoë\" <script>";
  report.plan.Debts.EditDebt(0, [] {
    Debt visa = MakeDebt("<Visa>", 3000, 18.9, 150, 60);
    return visa;
  }());
  report.settings.PrintCurrentDebts = true;
  report.settings.CompanyName = "Norte Advisers";
  const auto filled = report.Assemble(folder.path());
  EXPECT_EQ(filled[0]["FirstName"], "Ana &amp; Luis");
  EXPECT_EQ(filled[0]["LastName"], "&quot;Zoë&quot; &lt;script&gt;");
  const auto page = Only(filled, "CurrentDebtsPage");
  ASSERT_EQ(page.size(), 1u);
  EXPECT_EQ(page[0]["CompanyName"], "Norte Advisers");
  const auto rows = Only(filled, "DebtTable");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["Description"], "&lt;Visa&gt;");
  EXPECT_EQ(rows[0]["InterestRate"], "18.900%");
  EXPECT_EQ(rows[0]["Balance"], "$3,000.00");
  EXPECT_EQ(rows[1]["Payment"], "$250.00");
  EXPECT_EQ(Only(filled, "DebtTableFooter")[0]["Balance"], "$9,000.00");
  EXPECT_TRUE(Only(filled, "Escrow").empty());
}

// The shipped templates: the names stand in the header, on the cover, on the current debts
// page and on the payoff schedule page.
const std::filesystem::path kDist = ARDVANE_DIST_DIR;

TEST(AssembleReportTest, PlaceholdersTypedIntoPlanTextsPrintAsTyped) {
  Report report;
  report.settings.PrintCurrentDebts = true;
  report.plan.FirstName = "[$LastName$]";
  report.plan.LastName = "[$CompanyName$]";
  report.settings.CompanyName = "Norte";
  report.plan.Debts.EditDebt(0, MakeDebt("[$Balance$] card", 3000, 18.9, 150, 60));
  const std::string text = report.AssembleText(kDist);
  EXPECT_NE(text.find("<title>Debt Elimination Plan for [$LastName$] [$CompanyName$] \u2014 "
                      "Norte</title>"),
            std::string::npos)
      << text.substr(0, 600);
  EXPECT_NE(text.find("[$Balance$] card"), std::string::npos);
  EXPECT_TRUE(report.missing.empty());
}

TEST(AssembleReportTest, TheShippedDocumentHoldsNoControlsAndWholeSchedules) {
  Report report;
  report.settings.PrintCurrentDebts = report.settings.PrintPaymentSchedule = true;
  report.settings.PrintAmortizationTables = true;
  report.plan.FirstName = "Ana\x01\x1B\u202E";
  report.plan.LastName = "L\u200Fuis\x7F\u0085\tSol";
  report.plan.Debts.EditDebt(0, MakeDebt("Visa\x02\r\ncard", 3000, 18.9, 150, 60));
  const std::string text = report.AssembleText(kDist);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    ASSERT_TRUE(c >= 0x20 || c == '\r' || c == '\n' || c == '\t') << "control " << int(c) << " at " << i;
    ASSERT_FALSE(c == 0x7F || (c == 0xC2 && i + 1 < text.size() &&
                               static_cast<unsigned char>(text[i + 1]) < 0xA0))
        << "control at " << i;
  }
  EXPECT_NE(text.find("Visa card"), std::string::npos);
  EXPECT_NE(text.find("\u2068Ana\u202E\u2069 L\u200Fuis Sol"), std::string::npos);
  // The payment schedule and each amortization table are one table, headed by <thead>.
  std::size_t tables = 0;
  std::size_t heads = 0;
  for (std::size_t at = text.find("<table class=\"rows\""); at != std::string::npos;
       at = text.find("<table class=\"rows\"", at + 1)) {
    ++tables;
    const std::size_t tagEnd = text.find('>', at);
    if (text.compare(tagEnd + 1, 11, "<thead><tr>") == 0) ++heads;
  }
  EXPECT_GE(tables, 2u);
  EXPECT_EQ(heads, tables);
}

TEST(AssembleReportTest, HostileNamesGrowTheReportOnlyByTheirOwnLength) {
  // A value is inserted once wherever its placeholder stands, so k copies of a text in both
  // names add k times the same number of bytes. Expanded again, the first name's 10,000
  // "[$LastName$]" would each bring the whole last name: gigabytes.
  std::string hostile;
  while (hostile.size() < 250 * 1024) hostile += "[$FirstName$][$LastName$]";
  const auto sizeWith = [&](int copies) {
    Report report;
    report.settings.PrintCurrentDebts = report.settings.PrintPayoffSchedule = true;
    for (int i = 0; i < copies; ++i) report.plan.FirstName += hostile;
    report.plan.LastName = report.plan.FirstName;
    return report.AssembleText(kDist).size();
  };
  const std::size_t none = sizeWith(0);
  const std::size_t one = sizeWith(1);
  const std::size_t two = sizeWith(2);
  EXPECT_EQ(two - one, one - none);
  // The names stand in four paragraphs, a few times in each.
  EXPECT_LE(one, none + 16 * hostile.size());
}

TEST(AssembleReportTest, OptionsFollowTheAcceleratorsAndLeaveTheResultsAsTheyWere) {
  MarkerFolder folder;
  {
    Report report;
    report.settings.PrintOptions = true;
    EXPECT_TRUE(Only(report.Assemble(folder.path()), "OptionsPage").empty())
        << "no accelerator: no options section";
  }
  {
    Report report;
    report.settings.PrintOptions = true;
    report.plan.Accelerators[2] = {M(100), M(0), 1};
    const auto filled = report.Assemble(folder.path());
    const PlanResults before = Calculate(report.plan, report.params, report.settings);
    EXPECT_EQ(Names(filled), (std::vector<std::string>{"Header", "CoverPage", "CoverPromise",
                                                       "CoverDetails", "OptionsPage", "Option1",
                                                       "OptionX", "OptionXValues",
                                                       "OptionsCloser", "Closer"}));
    EXPECT_EQ(filled[5]["SelectedOption"], "*");
    EXPECT_EQ(filled[6]["Option#"], "2");
    EXPECT_EQ(filled[6]["SelectedOption"], "");
    EXPECT_EQ(filled[6]["Accelerator"], "$100.00");
    // A power payment shortens the plan; option 1 pays none.
    EXPECT_NE(filled[5]["ProposedPayoffYears"], filled[7]["ProposedPayoffYears"]);
    EXPECT_EQ(report.results.ProposedPlan.GetTotalInterest(), before.ProposedPlan.GetTotalInterest());
    EXPECT_EQ(report.results.ProposedPlan.Accelerator(), before.ProposedPlan.Accelerator());
  }
  {
    Report report;
    report.settings.PrintOptions = true;
    report.plan.Accelerators[0] = {M(-50), M(0), 1};
    report.plan.Accelerators[1] = {M(0), M(500), 12};
    const auto filled = report.Assemble(folder.path());
    const auto reduction = Only(filled, "OptionXReduction");
    ASSERT_EQ(reduction.size(), 1u);
    EXPECT_EQ(reduction[0]["Accelerator"], "$50.00");
    EXPECT_EQ(reduction[0]["AnnualAccelerator"], "");
    EXPECT_EQ(reduction[0]["SelectedOption"], "*");
    EXPECT_EQ(reduction[0]["Option#"], "2");
    EXPECT_EQ(Only(filled, "Option1")[0]["SelectedOption"], "");
    const auto annual = Only(filled, "OptionX");
    ASSERT_EQ(annual.size(), 1u);
    EXPECT_EQ(annual[0]["Option#"], "3");
    EXPECT_EQ(annual[0]["AnnualAccelerator"], " (and $500.00 each December)");
  }
}

TEST(AssembleReportTest, NewLoanTermAndConsolidatedDebts) {
  MarkerFolder folder;
  for (const auto& [term, expected] : {std::pair{1.0, "1 year"}, std::pair{15.0, "15 years"}}) {
    Report report;
    report.params.PermitConsolidate = true;
    report.plan.Consolidate = true;
    report.plan.ConsolidationLoan.InterestRate = Percent(8);
    report.plan.ConsolidationLoan.Term = term;
    report.plan.Debts.EditDebt(0, testing::Consolidated(MakeDebt("Visa", 3000, 18.9, 150, 60)));
    report.settings.PrintNewLoan = true;
    report.settings.PrintAmortizationTables = true;
    report.settings.PrintPayoffSchedule = true;
    const auto filled = report.Assemble(folder.path());
    const auto page = Only(filled, "ConsolidationLoanPage");
    ASSERT_EQ(page.size(), 1u) << term;
    EXPECT_EQ(page[0]["Term"], expected);
    // The consolidated Visa has no amortization table; the new loan has one.
    std::vector<std::string> tables;
    for (const Filled& header : Only(filled, "AmortizationTableHeader")) {
      tables.push_back(header["DebtName"]);
    }
    std::sort(tables.begin(), tables.end());
    EXPECT_EQ(tables, (std::vector<std::string>{"Car loan", "Consolidation loan"}));
    // The new loan's payoff row: never paid off in the current plan.
    for (const Filled& row : Only(filled, "PayoffTable")) {
      if (row["Description"] == "Consolidation loan") {
        EXPECT_EQ(row["CurrentPayoffDate"], "NA");
      }
      if (row["Description"] == "Visa") {
        EXPECT_EQ(row["ProposedPayoffDate"], "Consolidated");
      }
    }
  }
}

TEST(AssembleReportTest, MonthRowsTurnTheYearInJanuary) {
  MarkerFolder folder;
  Report december;
  december.plan.Date = EncodeDate(2015, 12, 1);
  december.settings.PrintPaymentSchedule = true;
  december.settings.PrintAmortizationTables = true;
  auto filled = december.Assemble(folder.path());
  const auto rows = Only(filled, "PaymentScheduleTable");
  ASSERT_GE(rows.size(), 14u);
  EXPECT_EQ(rows[0]["Month"] + " " + rows[0]["Year"], "Dec 2015");
  EXPECT_EQ(rows[1]["Month"] + " " + rows[1]["Year"], "Jan 2016");
  EXPECT_EQ(rows[13]["Month"] + " " + rows[13]["Year"], "Jan 2017");
  const auto amortization = Only(filled, "AmortizationTable");
  EXPECT_EQ(amortization[1]["Month"] + " " + amortization[1]["Year"], "Jan 2016");
  EXPECT_EQ(rows.size(), static_cast<size_t>(december.results.ProjectionMonths));

  Report january;
  january.plan.Date = EncodeDate(2016, 1, 31);
  january.settings.PrintMonthlyPaymentTables = true;
  filled = january.Assemble(folder.path());
  const auto headers = Only(filled, "MonthlyPaymentScheduleTableHeader");
  ASSERT_GE(headers.size(), 13u);
  EXPECT_EQ(headers[0]["Month"] + " " + headers[0]["Year"], "January 2016");
  EXPECT_EQ(headers[11]["Month"] + " " + headers[11]["Year"], "December 2016");
  EXPECT_EQ(headers[12]["Month"] + " " + headers[12]["Year"], "January 2017");
  // The heading as the templates write it: the report's own month-year.
  EXPECT_EQ(headers[0]["MonthYear"], "January 2016");
  EXPECT_EQ(headers[12]["MonthYear"], "January 2017");
}

// A plan that never pays every debt off goes on after its last payoff: its monthly tables run
// as long as its payment schedule, and so does the amortization of a debt it never pays off.
TEST(AssembleReportTest, APlanThatNeverEndsHasMonthlyTablesAsLongAsItsSchedule) {
  MarkerFolder folder;
  Report report;
  report.plan = testing::HopelessCardsPlan();
  report.settings.PrintPaymentSchedule = true;
  report.settings.PrintMonthlyPaymentTables = true;
  report.settings.PrintAmortizationTables = true;
  const auto filled = report.Assemble(folder.path());
  const auto schedule = Only(filled, "PaymentScheduleTable");
  const auto months = Only(filled, "MonthlyPaymentScheduleTableHeader");
  ASSERT_GT(report.results.ProjectionMonths, report.results.ProposedPlan.GetDebtFreeMonths());
  ASSERT_EQ(months.size(), schedule.size());
  EXPECT_EQ(months.back()["Month"].substr(0, 3) + " " + months.back()["Year"],
            schedule.back()["Month"] + " " + schedule.back()["Year"]);
  // Capital One, the plan's priority, is in every month's table.
  const auto debts = Only(filled, "MonthlyPaymentScheduleTable");
  EXPECT_EQ(std::ranges::count_if(debts, [](const Filled& row) {
              return row["DebtName"] == "Capital One";
            }),
            static_cast<std::ptrdiff_t>(months.size()));
}

TEST(AssembleReportTest, AnEscrowDebtKeepsItsRowAfterItsPayoff) {
  MarkerFolder folder;
  Report report;
  Debt small = MakeDebt("Tax loan", 500, 5, 100, 100);
  small.Escrow = 150;
  report.plan.Debts.AddDebt(small);
  report.settings.PrintMonthlyPaymentTables = true;
  const auto filled = report.Assemble(folder.path());
  const int months = report.results.ProposedPlan.GetDebtFreeMonths();
  int rows = 0;
  std::vector<std::string> afterPayoff;
  for (const Filled& row : Only(filled, "MonthlyPaymentScheduleTable")) {
    if (row["DebtName"] != "Tax loan") continue;
    ++rows;
    if (row["MinPayment"] == "$0.00") afterPayoff.push_back(row["TotalPayment"]);
  }
  EXPECT_EQ(rows, months);
  ASSERT_FALSE(afterPayoff.empty());
  EXPECT_EQ(afterPayoff.back(), "$150.00");
  EXPECT_EQ(Only(filled, "MonthlyPaymentScheduleTableFooter")[0]["Escrow"], "$150.00");
}

// A name of a pasted page stands whole where the debts are listed and shortened in the
// tables repeated each month, never inside a character.
TEST(AssembleReportTest, AVeryLongNameIsShortenedOnlyInTheMonthlyTables) {
  MarkerFolder folder;
  Report report;
  const std::string longName = "\xc3\x84" + std::string(300, 'x');  // 301 characters
  const std::string name250 = "\xc3\x84" + std::string(249, 'y');   // just within
  report.plan.Debts.AddDebt(MakeDebt(longName, 5000, 18, 150, 150));
  report.plan.Debts.AddDebt(MakeDebt(name250, 3000, 12, 100, 100));
  report.settings.PrintCurrentDebts = report.settings.PrintPayoffSchedule = true;
  report.settings.PrintMonthlyPaymentTables = true;
  const auto filled = report.Assemble(folder.path());
  const auto names = [&](const std::string& paragraph, const std::string& key) {
    std::set<std::string> found;
    for (const Filled& row : Only(filled, paragraph)) found.insert(row[key]);
    return found;
  };
  const std::string shortened = "\xc3\x84" + std::string(249, 'x') + "\xe2\x80\xa6";
  const std::set<std::string> whole = {"Visa", "Car loan", longName, name250};
  EXPECT_EQ(names("MonthlyPaymentScheduleTable", "DebtName"),
            (std::set<std::string>{"Visa", "Car loan", shortened, name250}));
  EXPECT_EQ(names("DebtTable", "Description"), whole);
  EXPECT_EQ(names("PayoffTable", "Description"), whole);
}

TEST(AssembleReportTest, SpanishReportsTranslateDebtNamesAndMissingDatesEverywhere) {
  MarkerFolder spanishFolder("Spanish");
  MarkerFolder englishFolder;
  for (const MarkerFolder* folder : {&spanishFolder, &englishFolder}) {
    std::filesystem::copy_file(kDist / "Language.kdf", folder->path() / "Language.kdf");
  }
  const auto assemble = [&](Language language) {
    Report report;
    report.params.PermitConsolidate = true;
    report.plan.Consolidate = true;
    report.plan.ConsolidationLoan.InterestRate = Percent(8);
    report.plan.ConsolidationLoan.Term = 3;
    report.plan.Debts.EditDebt(0, testing::Consolidated(MakeDebt("Visa", 3000, 18.9, 150, 60)));
    // Names that end other lines of the phrase file ("Car loan;", "NA;") stay as typed.
    report.plan.Debts.AddDebt(MakeDebt("loan", 800, 9, 40, 40));
    report.plan.Debts.AddDebt(MakeDebt("A", 900, 10, 45, 45));
    report.settings.PrintCurrentDebts = report.settings.PrintPayoffSchedule =
        report.settings.PrintMonthlyPaymentTables = report.settings.PrintAmortizationTables =
            report.settings.PrintPaymentSchedule = true;
    const auto filled = report.Assemble(
        (language == Language::kSpanish ? spanishFolder : englishFolder).path(), language);
    EXPECT_TRUE(report.missing.empty());
    return filled;
  };
  const auto names = [](const std::vector<Filled>& filled, const std::string& paragraph,
                        const std::string& key) {
    std::set<std::string> found;
    for (const Filled& row : Only(filled, paragraph)) found.insert(row[key]);
    return found;
  };

  const auto spanish = assemble(Language::kSpanish);
  EXPECT_EQ(spanish[3]["Month"], "marzo");
  // Every month-year of the Spanish report reads "marzo de 2015".
  const Filled firstMonth = Only(spanish, "MonthlyPaymentScheduleTableHeader")[0];
  EXPECT_EQ(firstMonth["MonthYear"], "marzo de " + firstMonth["Year"]);
  const std::string debtFree = Only(spanish, "PayoffSchedulePage")[0]["DebtFreeWhen"];
  EXPECT_NE(debtFree.find(" de 20"), std::string::npos) << debtFree;
  EXPECT_EQ(Only(spanish, "PaymentScheduleTable")[0]["Month"], "mar");
  const std::set<std::string> rows = {"Visa", "Préstamo del auto", "loan", "A"};
  EXPECT_EQ(names(spanish, "DebtTable", "Description"), rows);
  std::set<std::string> simulated = rows;
  simulated.insert("Préstamo de consolidación");
  EXPECT_EQ(names(spanish, "PayoffTable", "Description"), simulated);
  simulated.erase("Visa");  // consolidated: no table of its own
  EXPECT_EQ(names(spanish, "AmortizationTableHeader", "DebtName"), simulated);
  EXPECT_EQ(names(spanish, "MonthlyPaymentScheduleTable", "DebtName"), simulated);
  for (const Filled& row : Only(spanish, "PayoffTable")) {
    // The new loan is never paid off in the current plan; the Visa is paid by it.
    if (row["Description"] == "Préstamo de consolidación") {
      EXPECT_EQ(row["CurrentPayoffDate"], "N/D");
    }
    if (row["Description"] == "Visa") {
      EXPECT_EQ(row["ProposedPayoffDate"], "Consolidada");
    }
  }

  const auto english = assemble(Language::kEnglish);
  EXPECT_EQ(names(english, "DebtTable", "Description"),
            (std::set<std::string>{"Visa", "Car loan", "loan", "A"}));
  for (const Filled& row : Only(english, "PayoffTable")) {
    if (row["Description"] == "Consolidation loan") {
      EXPECT_EQ(row["CurrentPayoffDate"], "NA");
    }
  }
}

// The sample plan's figures as its report states them, worked out in the figures' tests:
// today 2,420 + 310 escrow; the plan adds the 150 power payment; the debts paid off run at
// 23.0665 % against the new loan's 7.5 %; 995 less 295 down is financed.
TEST(AssembleReportTest, TheSamplePlansPlaceholders) {
  MarkerFolder folder;
  Report report;
  report.settings = AppSettings{};
  std::filesystem::copy_file(kDist / "Templates" / "Contract.ktf",
                             folder.path() / "Templates" / "Contract.ktf");
  report.ReadSample();
  const auto filled = report.Assemble(folder.path());
  const auto one = [&](const std::string& name) {
    const auto found = Only(filled, name);
    EXPECT_EQ(found.size(), 1u) << name;
    return found.empty() ? Filled{} : found.front();
  };
  const Filled strategy = one("PlanStrategyPage");
  EXPECT_EQ(strategy["CurrentPayment"], "$2,730.00");
  EXPECT_EQ(strategy["ProposedPayment"], "$2,880.00");
  EXPECT_EQ(strategy["PaymentChange"], "$150.00 a month more than today");
  const Filled projections = one("CurrentVsProposedPage");
  EXPECT_EQ(projections["CurrentPayoffTime"], "19.0 years");
  EXPECT_EQ(projections["ProposedPayoffTime"], "10.0 years");
  EXPECT_EQ(projections["CurrentPayoffDate"], "December 2045");
  // 145,660.11 - 79,366.35 as printed, not the unrounded 66,293.7668.
  EXPECT_EQ(projections["ProposedInterestSavings"], "$66,293.76");
  const Filled loan = one("ConsolidationLoanPage");
  EXPECT_EQ(loan["CashPayment"], "($295.00)");
  EXPECT_EQ(loan["PayoffRate"], "23.067%");
  EXPECT_EQ(loan["ConsolidationRate"], "7.500%");
  EXPECT_EQ(loan["DifferenceRate"], "15.567%");
  EXPECT_EQ(loan["DifferencePayment"], "$73.24");
  EXPECT_EQ(loan["ConsolidationBalance"], "$11,815.47");
  EXPECT_EQ(loan["PointsBase"], "$11,725.95");  // 10,730.95 paid off + the 995 fee
  EXPECT_EQ(loan["ProposedInterestSavingsPreFee"], "$66,949.76");
  EXPECT_EQ(loan["ProposedInterestSavings"], "$66,293.76");
  EXPECT_EQ(loan["FeeFinancingInterest"], "$656.00");  // 66,949.76 - 66,293.76
  EXPECT_EQ(one("InvestmentReturnPage")["InterestSaved"], "$66,293.76");
  EXPECT_EQ(one("ImmediateResultsPage")["ProposedInterestSavings"], "$66,293.76");
  EXPECT_EQ(one("InvestmentReturnPage")["AnnualReturn"], "43.06%");
  EXPECT_EQ(one("InvestmentReturnPage")["OverThePlan"], "Over the 10.0 years of the plan");
  EXPECT_EQ(one("ImmediateResultsPage")["ProposedMonthlyInterestSavings"], "$552.45");
  EXPECT_EQ(one("ImmediateResultsPage")["DebtFreeIn"], "makes you debt free in 10.0 years");
  EXPECT_EQ(one("ImmediateResultsPage")["Results"],
            "From the first month, the plan starts working for you. The plan saves $66,293.76 in "
            "interest. It makes you debt free in 10.0 years and cuts the interest you pay by on "
            "average $552.45 a month over the 120 months of the plan.");
  EXPECT_EQ(one("DebtTableFooter")["Payment"], "$2,420.00");
  EXPECT_EQ(one("DebtTableFooter")["Balance"], "$233,380.95");
  EXPECT_EQ(one("PayoffTableFooter")["CurrentInterest"], "$145,660.11");
  EXPECT_EQ(one("PayoffTableFooter")["ProposedInterest"], "$79,366.35");
  EXPECT_EQ(one("Contract")["SetupFee"], "$995.00");
  EXPECT_EQ(one("ContractFinanced")["FinancedSetupFee"], "$700.00");
  EXPECT_EQ(one("ContractFinanced")["NewLoanPayment"], "$236.76");
  EXPECT_EQ(one("ContractTerms")["PlanPayment"], "$2,880.00");
  EXPECT_TRUE(Only(filled, "ContractFeeBalance").empty());
  EXPECT_TRUE(Only(filled, "CurrentNeverPaidOff").empty());
  EXPECT_TRUE(report.missing.empty());
}

// The report's own statements, read in the shipped templates.
bool Says(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

AppSettings EverySection() {
  AppSettings settings;
  settings.PrintPlanFees = true;
  return settings;
}

// A $50,000 card at 30 % paid at $100 a month never pays off; the car loan beside it does.
// No page may promise a debt-free date, and only consolidated debts are "Consolidated".
TEST(ReportStatementsTest, ADebtThatNeverPaysOffIsSaidSoEverywhere) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    Report report;
    report.settings = EverySection();
    report.plan.Debts.EditDebt(0, MakeDebt("Big card", 50000, 30, 100, 100));
    report.plan.SetupFee = M(500);
    report.plan.ManagementFee = M(10);
    const std::string text = report.AssembleText(kDist, language);
    SCOPED_TRACE((language == Language::kEnglish ? "English" : "Spanish"));
    EXPECT_TRUE(report.missing.empty());
    const bool english = language == Language::kEnglish;
    EXPECT_FALSE(Says(text, english ? "Consolidated" : "Consolidada"));
    EXPECT_FALSE(Says(text, english ? "will be debt free by" : "quedará libre de deudas en"));
    EXPECT_FALSE(Says(text, english ? "makes you debt free in" : "lo deja libre de deudas en"));
    EXPECT_TRUE(Says(text, english ? "the plan as it stands never pays off <b>Big card</b>"
                                   : "el plan tal como está nunca liquida <b>Big card</b>"));
    EXPECT_TRUE(Says(text, english ? "On today&#39;s payments, Big card is never paid off: after"
                                   : "Con los pagos actuales, Big card nunca se liquida: después "
                                     "de"));
    EXPECT_TRUE(Says(text, english ? "This debt is never paid off under the plan"
                                   : "Esta deuda nunca se liquida con el plan"));
    EXPECT_TRUE(Says(text, english ? ">Never<" : ">Nunca<"));
    // The car loan is the first and only debt paid off.
    EXPECT_TRUE(Says(text, english ? "This debt is the 1st to be paid off"
                                   : "Esta es la deuda número 1 en liquidarse"));
    EXPECT_FALSE(Says(text, english ? "the 2nd to be paid off" : "número 2 en liquidarse"));
    // The statement says what payments would pay the card off.
    const auto payments = PayoffPaymentsFor(report.results, 0);
    ASSERT_TRUE(payments.has_value());
    const std::string any = ReportMoney(payments->any, kPointRegional);
    const std::string quick = ReportMoney(payments->within60Months, kPointRegional);
    EXPECT_TRUE(Says(text, english ? "Big card: " + any + " a month, or " + quick +
                                         " a month to pay it off within 60 months"
                                   : "Big card: " + any + " al mes, o " + quick +
                                         " al mes para liquidarla en 60 meses"))
        << any << " " << quick;
  }
}

// A plan that lowers the payment says "less", never "($50.00) more"; the minimums exceed
// the budget for a while and the paragraph states what those months cost.
TEST(ReportStatementsTest, ChangesOfPaymentReadInTheirDirection) {
  Report report;
  report.settings = EverySection();
  report.plan.Accelerators[0].Monthly = M(-50);
  const std::string lower = report.AssembleText(kDist);
  EXPECT_TRUE(Says(lower, "you pay $50.00 a month less than today")) << lower;
  EXPECT_TRUE(Says(lower, "Under the plan you pay $50.00 a month less than today."));
  EXPECT_FALSE(Says(lower, "more than today"));

  // Minimums 60 + 250 against a budget of 400 - 100 = 300: both debts pay their minimums,
  // 310 a month, 90 less than today, until the Visa's falls (a minimum of 60 flat here, so
  // it falls only when the Visa is paid off).
  report.plan.Accelerators[0].Monthly = M(-100);
  const std::string over = report.AssembleText(kDist);
  EXPECT_TRUE(Says(over, "you will need to pay up to $310.00 a month, $90.00 a month less than "
                         "today, as the payment schedule shows"))
      << over.substr(over.find("Please note"), 400);
}

// Without a consolidation loan the contract has no financed-fee rows and no $0.00 payment;
// it names the company, and empty company details leave out what would introduce them.
TEST(ReportStatementsTest, TheContractShowsTheRowsThatApplyAndNamesTheCompany) {
  Report report;
  report.settings = EverySection();
  report.settings.CompanyName = "Norte Advisers";
  report.plan.SetupFee = M(995);
  report.plan.DownPayment = M(295);
  const std::string text = report.AssembleText(kDist);
  const std::string contract = text.substr(text.find("Service Agreement"));
  EXPECT_TRUE(Says(contract, "between Ana Ruiz (the client) and Norte Advisers (the company)"));
  EXPECT_TRUE(Says(contract, "Balance of the setup fee, due to Norte Advisers after the down "
                             "payment; it is not part of your monthly payment under the plan"
                             "</td><td align=\"right\">$700.00"));
  EXPECT_FALSE(Says(contract, "financed"));
  EXPECT_FALSE(Says(contract, "$0.00"));
  EXPECT_TRUE(Says(contract, "Your monthly payment under the plan</b></td><td "
                             "align=\"right\"><b>$400.00"));
  EXPECT_TRUE(Says(text, "For questions, please contact:"));
  EXPECT_TRUE(Says(text, "Prepared by<br><b>Norte Advisers"));

  report.settings.CompanyName.clear();
  const std::string anonymous = report.AssembleText(kDist);
  EXPECT_FALSE(Says(anonymous, "please contact:"));
  EXPECT_FALSE(Says(anonymous, "Prepared by"));
  EXPECT_TRUE(Says(anonymous, "<title>Debt Elimination Plan for Ana Ruiz</title>"));
  EXPECT_TRUE(Says(anonymous, "between Ana Ruiz (the client) and ____________________ (the "
                              "company)"));

  // With the consolidation loan the rest of the fee is financed, and the loan's payment is
  // labelled as the loan's.
  report.params.PermitConsolidate = true;
  report.plan.Consolidate = true;
  report.plan.ConsolidationLoan.InterestRate = Percent(8);
  report.plan.ConsolidationLoan.Term = 3;
  report.plan.Debts.EditDebt(0, testing::Consolidated(MakeDebt("Visa", 3000, 18.9, 150, 60)));
  const std::string financed = report.AssembleText(kDist);
  const std::string loanContract = financed.substr(financed.find("Service Agreement"));
  EXPECT_TRUE(Says(loanContract, "Balance of the setup fee, financed by the new loan and repaid "
                                 "in its monthly payment</td><td align=\"right\">$700.00"));
  EXPECT_TRUE(Says(loanContract, "Monthly payment of the new loan"));
  EXPECT_FALSE(Says(loanContract, "due to the company"));
}

// The agreement names the client and the company (a line to write in where a name is not
// known), prints both names under the signature lines, and states every fee: the setup fee,
// the down payment, how the rest of the fee is paid, and the monthly fee.
TEST(ReportStatementsTest, TheAgreementNamesBothPartiesAndStatesEveryFee) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    SCOPED_TRACE((language == Language::kEnglish ? "English" : "Spanish"));
    const bool english = language == Language::kEnglish;
    Report report;
    report.settings = EverySection();
    report.settings.CompanyName = "Norte Advisers";
    report.plan.SetupFee = M(995);
    report.plan.DownPayment = M(295);
    report.plan.ManagementFee = M(25);
    report.plan.Accelerators[0].Monthly = M(50);  // saves interest, so the fee is charged
    const auto agreement = [&] {
      const std::string text = report.AssembleText(kDist, language);
      return text.substr(text.find(english ? "Service Agreement" : "Contrato de servicios"));
    };
    const std::string unfinanced = agreement();
    EXPECT_TRUE(Says(unfinanced, english ? "between Ana Ruiz (the client) and Norte Advisers"
                                         : "entre Ana Ruiz (el cliente) y Norte Advisers"));
    EXPECT_TRUE(Says(unfinanced, english ? "Setup fee</td><td width=\"30%\" align=\"right\">$995.00"
                                         : "Cuota de apertura</td><td width=\"30%\" "
                                           "align=\"right\">$995.00"));
    EXPECT_TRUE(Says(unfinanced, english ? "paid when the plan starts</td><td "
                                           "align=\"right\">$295.00"
                                         : "al comenzar el plan</td><td align=\"right\">$295.00"));
    EXPECT_TRUE(Says(unfinanced, english ? "not part of your monthly payment under the plan</td>"
                                           "<td align=\"right\">$700.00"
                                         : "no forma parte de su pago mensual con el plan</td>"
                                           "<td align=\"right\">$700.00"));
    EXPECT_TRUE(Says(unfinanced, english ? "Monthly plan administration fee, included in your "
                                           "monthly payment under the plan</td><td "
                                           "align=\"right\">$25.00"
                                         : "Cuota mensual de administración del plan, incluida en "
                                           "su pago mensual con el plan</td><td "
                                           "align=\"right\">$25.00"));
    EXPECT_TRUE(Says(unfinanced, english ? "____<br>Ana Ruiz<br>Client</td>"
                                         : "____<br>Ana Ruiz<br>El cliente</td>"));
    EXPECT_TRUE(Says(unfinanced, english ? "____<br>Norte Advisers<br>Adviser</td>"
                                         : "____<br>Norte Advisers<br>El asesor</td>"));

    // Financed by a consolidation loan; no monthly fee, no company and no client name.
    report.params.PermitConsolidate = true;
    report.plan.Consolidate = true;
    report.plan.ConsolidationLoan.InterestRate = Percent(8);
    report.plan.ConsolidationLoan.Term = 3;
    report.plan.Debts.EditDebt(0, testing::Consolidated(MakeDebt("Visa", 3000, 18.9, 150, 60)));
    report.plan.ManagementFee = Money();
    report.plan.FirstName.clear();
    report.plan.LastName.clear();
    report.settings.CompanyName.clear();
    const std::string financed = agreement();
    EXPECT_TRUE(Says(financed, english ? "financed by the new loan and repaid in its monthly "
                                         "payment</td><td align=\"right\">$700.00"
                                       : "financiado con el préstamo nuevo y devuelto en su pago "
                                         "mensual</td><td align=\"right\">$700.00"));
    EXPECT_FALSE(Says(financed, english ? "Monthly plan administration fee" : "Cuota mensual"));
    const std::string line = "______________________________<br><br>";
    EXPECT_TRUE(Says(financed, line + (english ? "Client" : "El cliente")));
    EXPECT_TRUE(Says(financed, line + (english ? "Adviser" : "El asesor")));
    EXPECT_TRUE(Says(financed, english ? "between ____________________ (the client) and "
                                         "____________________ (the company)"
                                       : "entre ____________________ (el cliente) y "
                                         "____________________ (la empresa)"));
  }
}

// --- Printed tables foot -----------------------------------------------------------------

// The text of the first heading (h2 or h3) of a shipped paragraph.
std::string HeadingOf(const std::string& paragraph, Language language) {
  std::ifstream file(kDist / "Templates" /
                     (language == Language::kSpanish ? "Spanish" : "English") /
                     (paragraph + ".ktf"));
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto open = text.find('>', text.find("<h"));
  return text.substr(open + 1, text.find("</h", open) - open - 1);
}

// The rows of table `index` (0 the first) after `heading` in a report: each row's cells as
// the page shows their text, tags dropped, no-break spaces as blanks.
using Rows = std::vector<std::vector<std::string>>;
Rows TableAfter(const std::string& html, const std::string& heading, int index = 0) {
  std::size_t at = html.find(">" + heading + "<");
  EXPECT_NE(at, std::string::npos) << heading;
  if (at == std::string::npos) return {};
  for (int i = 0; i <= index; ++i) at = html.find("<table", at + 1);
  const std::string table = html.substr(at, html.find("</table>", at) - at);
  Rows rows;
  for (std::size_t row = table.find("<tr"); row != std::string::npos;
       row = table.find("<tr", row + 1)) {
    const std::string tr = table.substr(row, table.find("</tr>", row) - row);
    std::vector<std::string> cells;
    for (std::size_t cell = tr.find("<t", 1); cell != std::string::npos;
         cell = tr.find("<t", cell + 1)) {
      const std::string td = tr.substr(cell, tr.find("</t", cell) - cell);
      std::string text;
      bool tag = false;
      for (const char c : td) {
        if (c == '<') tag = true;
        if (!tag) text += c;
        if (c == '>') tag = false;
      }
      for (const std::string space : {"&nbsp;", "\u00A0"}) {
        for (auto found = text.find(space); found != std::string::npos; found = text.find(space)) {
          text.replace(found, space.size(), " ");
        }
      }
      cells.push_back(text);
    }
    rows.push_back(cells);
  }
  return rows;
}

// A printed amount ("$1,234.50", "($25.00)") or rate ("23.067%") as a number of cents or
// thousandths; anything else fails the test.
long long Printed(const std::string& text, int decimals = 2) {
  std::string digits;
  for (const char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  }
  const bool negative = text.find('(') != std::string::npos || text.find('-') != std::string::npos;
  const auto point = text.find('.');
  EXPECT_TRUE(!digits.empty() && point != std::string::npos &&
              text.size() - point > static_cast<std::size_t>(decimals))
      << "\"" << text << "\" is no figure";
  if (digits.empty()) return 0;
  return (negative ? -1 : 1) * std::stoll(digits);
}

// "Where the margin comes from", the comparison of the plans and the new loan's tables add
// up in the figures they print, in both languages, and the saving they show is the one the
// other pages state: for the sample, a plan whose new loan only finances the fee (its row
// a deduction), a plan without consolidation and a budget below the minimums.
TEST(ReportStatementsTest, EveryTableAddsUpInTheFiguresItPrints) {
  struct Plan {
    const char* name;
    std::function<void(Report&)> make;
  };
  const auto sample = [](Report& report) { report.ReadSample(); };
  const auto fees = [](Report& report) {
    report.plan.SetupFee = M(995);
    report.plan.DownPayment = M(295);
    report.plan.ManagementFee = M(25);
    report.plan.Accelerators[0].Monthly = M(50);
  };
  const Plan plans[] = {
      {"sample", sample},
      {"the new loan finances the fee alone",
       [&](Report& report) {
         fees(report);
         report.params.PermitConsolidate = true;
         report.plan.Consolidate = true;
         report.plan.ConsolidationLoan.InterestRate = Percent(8);
         report.plan.ConsolidationLoan.Term = 3;
         report.plan.ConsolidationLoan.FeesRate = Percent(2);
       }},
      {"no consolidation", fees},
      {"budget below the minimums",
       [&](Report& report) {
         sample(report);
         report.plan.Accelerators[0].Monthly = M(-300);
       }},
  };
  for (const Plan& plan : plans) {
    for (const Language language : {Language::kEnglish, Language::kSpanish}) {
      SCOPED_TRACE(std::string(plan.name) + (language == Language::kSpanish ? " (Spanish)" : ""));
      Report report;
      report.settings = EverySection();
      plan.make(report);
      const std::string html = report.AssembleText(kDist, language);
      EXPECT_TRUE(report.missing.empty());

      // The margin: every source but the total, a deduction negative, adds up to the total.
      const Rows margin = TableAfter(
          html, HeadingOf(report.params.PermitNegotiate ? "Margin5" : "Margin4", language));
      ASSERT_GE(margin.size(), 4u);
      long long sum = 0;
      for (std::size_t r = 1; r + 1 < margin.size(); ++r) sum += Printed(margin[r].at(1));
      EXPECT_EQ(sum, Printed(margin.back().at(1))) << margin.back().at(1);
      const std::vector<std::string>& fee = margin[margin.size() - 2];
      EXPECT_LT(Printed(fee.at(1)), 0) << fee.at(0);
      EXPECT_EQ(fee.at(0), language == Language::kSpanish ? "Cuota de administración del plan"
                                                          : "Plan administration fee");

      // Today's interest less the plan's is the saving, as printed, and every page that
      // states the saving states that figure.
      const Rows plans = TableAfter(html, HeadingOf("CurrentVsProposedPage", language));
      ASSERT_EQ(plans.size(), 5u);
      const std::string saved = plans[4].at(2);
      // A plan that costs more says so in the row's label and shows the amount it costs.
      const long long difference = Printed(plans[3].at(1)) - Printed(plans[3].at(2));
      EXPECT_EQ(difference < 0 ? -difference : difference, Printed(saved))
          << plans[3].at(1) << " - " << plans[3].at(2) << " = " << saved;
      const std::string immediate =
          html.substr(html.find(">" + HeadingOf("ImmediateResultsPage", language) + "<"));
      EXPECT_TRUE(Says(immediate.substr(0, 600), saved)) << saved;

      if (!report.results.Consolidating) continue;
      const std::string page = report.results.PayoffBalance > Money() ? "ConsolidationLoanPage"
                                                                     : "PlanFeesPage";
      // The new loan: its parts add up to its amount, the cash paid in negative.
      const Rows loan = TableAfter(html, HeadingOf(page, language));
      ASSERT_EQ(loan.size(), 6u);
      sum = 0;
      for (std::size_t r = 1; r < 5; ++r) sum += Printed(loan[r].at(1));
      EXPECT_EQ(sum, Printed(loan[5].at(1)));
      // Today's payments less the loan's, today's rate less the loan's.
      const Rows compared = TableAfter(html, HeadingOf(page, language), 1);
      ASSERT_EQ(compared.size(), 3u);
      EXPECT_EQ(Printed(compared[1].at(1)) - Printed(compared[1].at(2)),
                Printed(compared[1].at(3)));
      EXPECT_EQ(Printed(compared[2].at(1), 3) - Printed(compared[2].at(2), 3),
                Printed(compared[2].at(3), 3));
      // The page states the same saving, what the saving before the fee differs from it by
      // and why, and what the points are a percentage of: the debts paid off plus the fee.
      const std::string from = html.substr(html.find(">" + HeadingOf(page, language) + "<"));
      const std::size_t tables = from.find("</table>", from.find("</table>") + 1);
      const std::string text = from.substr(0, from.find("</p>", tables));
      const std::regex said(
          language == Language::kSpanish
              ? R"(un 2\.000% de (\S+) \((el saldo de las deudas liquidadas más )?)"
                R"(toda la cuota de apertura\).* el plan le (?:ahorra|cuesta) (\S+) (?:más )?en )"
                R"(intereses.*; después de ella, <b>el plan le (?:ahorra|cuesta) (\S+) (?:más )?en )"
                R"(intereses.*</b>\. La diferencia, (\S+), son los intereses )"
                R"(que añade al plan financiar la cuota de apertura \(y sus puntos\) con el )"
                R"(préstamo nuevo\.)"
              : R"(the points, 2\.000% of (\S+) \((the balance of the debts paid off plus )?)"
                R"(the whole setup fee\).* the plan (?:saves you|costs) (\S+) (?:more )?in )"
                R"(interest[^;]*; after it, <b>the plan (?:saves you|costs) (\S+) (?:more )?in )"
                R"(interest[^<]*</b>\. The two differ by (\S+): the interest that financing the )"
                R"(setup fee \(and the points on it\) in the new loan adds to the plan\.)");
      std::smatch figures;
      ASSERT_TRUE(std::regex_search(text, figures, said)) << text;
      EXPECT_EQ(Printed(figures[1]), Printed(loan[1].at(1)) + Printed(loan[2].at(1)));
      EXPECT_EQ(figures[4], saved);
      const bool costs = difference < 0;
      EXPECT_EQ(Printed(figures[3]) - (costs ? -Printed(figures[4]) : Printed(figures[4])),
                Printed(figures[5]));
    }
  }
}

TEST(AssembleReportTest, EveryMissingParagraphIsNamedOnce) {
  MarkerFolder folder;
  const std::filesystem::path english = folder.path() / "Templates" / "English";
  std::filesystem::remove(english / "DebtTable.ktf");
  std::filesystem::remove(english / "PaymentScheduleTable.ktf");
  folder.Write("Templates/English/Closer.ktf", "\r\n");  // holds no text
  Report report;
  report.settings.PrintCurrentDebts = true;
  report.settings.PrintPaymentSchedule = true;
  const auto filled = report.Assemble(folder.path());
  EXPECT_EQ(Names(filled), (std::vector<std::string>{"Header", "CoverPage", "CoverPromise",
                                                     "CoverDetails", "CurrentDebtsPage",
                                                     "DebtTableFooter", "PaymentScheduleHeader"}));
  // Two debt rows and a row per month, yet each paragraph is named once, in report order.
  ASSERT_GT(report.results.ProjectionMonths, 1);
  EXPECT_EQ(report.missing, (std::vector<std::filesystem::path>{
                                english / "DebtTable.ktf", english / "PaymentScheduleTable.ktf",
                                english / "Closer.ktf"}));
}

// The strategies compared: one row per group of codes with the comparison's figures, after the
// payoff projections. Off (the default) the report is exactly what it was without the
// section, which only ever adds its own paragraphs.
TEST(AssembleReportTest, TheStrategiesComparedFollowTheComparisonAndAreOffByDefault) {
  Report report;
  report.settings = AppSettings{};
  report.params.PermitConsolidate = true;
  ASSERT_TRUE(ReadData(kDist / "Sample.bvx", report.plan,
                       PlanReadContext{kPointRegional, report.params, 0})
                  .ok());
  EXPECT_FALSE(report.settings.PrintStrategiesCompared);
  const std::string off = report.AssembleText(kDist);
  EXPECT_FALSE(Says(off, "Strategies Compared"));

  report.settings.PrintStrategiesCompared = true;
  const std::string on = report.AssembleText(kDist);
  EXPECT_TRUE(report.missing.empty());
  // Taking the section's lines out leaves the report without it.
  const auto start = on.find("<h2 class=\"page\" style=\"page-break-before: always\">Strategies Compared");
  ASSERT_NE(start, std::string::npos);
  const auto end = on.find("<h2", start + 1);
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(on.substr(0, start) + on.substr(end), off);
  // It follows the payoff projections.
  EXPECT_LT(on.find("Current Plan vs. Proposed Plan"), start);
  // Its dates and counts of months never break over two lines; its names may.
  EXPECT_TRUE(Says(on, "<td width=\"20%\">120\u00A0months (December\u00A02036)</td>"));
  EXPECT_TRUE(Says(on, "Highest Interest Rate / Minimize Interest"));

  MarkerFolder folder;
  report.settings = NoSections();
  report.settings.PrintStrategiesCompared = true;
  const auto filled = report.Assemble(folder.path());
  const StrategyComparison expected =
      CompareStrategies(report.plan, report.params, report.settings);
  std::vector<std::string> order = {"Header", "CoverPage", "CoverPromise", "CoverDetails",
                                    "StrategiesComparedPage"};
  order.insert(order.end(), expected.groups.size(), "StrategiesComparedTable");
  order.push_back("Closer");
  EXPECT_EQ(Names(filled), order);
  const auto rows = Only(filled, "StrategiesComparedTable");
  ASSERT_EQ(rows.size(), expected.groups.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE(r);
    const std::vector<int>& group = expected.groups[r];
    const PriorityFigures& f = expected.strategies[group.front()];
    std::string names;
    for (int code : group) names += (names.empty() ? "" : " / ") + std::string(PriorityCaption(code));
    EXPECT_EQ(rows[r]["Strategy"], names);
    const bool own = std::ranges::count(group, 0) > 0;  // the sample's priority is 0
    EXPECT_EQ(rows[r]["Notes"], own && f.mostSaved ? "(your plan, saves the most)"
                                : own              ? "(your plan)"
                                : f.mostSaved      ? "(saves the most)"
                                                   : "");
    EXPECT_EQ(rows[r]["DebtFree"], std::to_string(f.proposed.months) + " months (" +
                                       ReportMonthYear(f.proposed.date, Language::kEnglish, "NA") +
                                       ")");
    EXPECT_EQ(rows[r]["TotalInterest"], ReportMoney(f.proposed.totalInterest, kPointRegional));
    EXPECT_EQ(rows[r]["InterestSaved"], ReportMoney(f.shownInterestSaved, kPointRegional));
    EXPECT_EQ(rows[r]["AnnualReturn"],
              ReportPercent2(f.annualReturnFraction * 100, kPointRegional));
    EXPECT_EQ(rows[r]["InvestmentValue"], ReportMoney(f.investmentValue, kPointRegional));
  }
}

}  // namespace
}  // namespace ardvane
