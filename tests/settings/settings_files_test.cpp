#include "settings/settings_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "settings/startup_settings.h"
#include "tests/test_regional.h"

namespace ardvane {
namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;

class SettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("ardvane-settings-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(std::random_device()()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) {
    std::ostringstream text;
    text << std::ifstream(folder_ / name, std::ios::binary).rdbuf();
    return text.str();
  }
  AppSettings Defaults() {
    AppSettings s;
    s.ReportDirectory = folder_.string() + "/Reports/";
    return s;
  }
  fs::path folder_;
};

TEST(ParseIniIntegerTest, DecimalAndHexadecimal) {
  const std::pair<const char*, int> valid[] = {{"0", 0},
                                               {"42", 42},
                                               {"-7", -7},
                                               {"+5", 5},
                                               {" 12\t", 12},
                                               {"0x0F", 15},
                                               {"0X0f", 15},
                                               {"$10", 16},
                                               {"-$10", -16},
                                               {"$ff", 255},
                                               {"2147483647", INT_MAX},
                                               {"-2147483648", INT_MIN}};
  for (const auto& [text, expected] : valid) {
    EXPECT_EQ(ParseIniInteger(text), expected) << "\"" << text << "\"";
  }
  for (const char* text : {"", " ", "yes", "1.5", "0x", "$", "--1", "0x-1", "$+1", "12abc", "1 2",
                           "2147483648", "0x80000000", "99999999999999999999999"}) {
    EXPECT_EQ(ParseIniInteger(text), std::nullopt) << "\"" << text << "\"";
  }
}

TEST_F(SettingsFilesTest, MissingSettingsFileGivesDefaults) {
  EXPECT_EQ(LoadPreferences(folder_).value(), Defaults());
  EXPECT_EQ(Defaults().ReportDirectory, folder_.string() + "/Reports/");
}

TEST_F(SettingsFilesTest, ReadsSettingsValues) {
  struct Case {
    std::string text;
    void (*expect)(AppSettings&);
  };
  const Case cases[] = {
      {"", [](AppSettings&) {}},
      {"[Print]\nCurrent Debts=0", [](AppSettings& s) { s.PrintCurrentDebts = false; }},
      {"[Print]\nCurrent Debts=2", [](AppSettings&) {}},
      {"[Print]\nCurrent Debts=yes", [](AppSettings&) {}},
      {"[Print]\nLanguage=99\nPlan Fees=0",
       [](AppSettings& s) { s.PrintLanguage = 99, s.PrintPlanFees = false; }},
      {"[Settings]\nReport Directory=\nCompounding Period=$C",
       [](AppSettings& s) { s.ReportDirectory = "", s.DefaultCompoundingPeriod = 12; }},
      {"[company]\r\nNAME =  Acme Debt  \r\n[PRINT]\r\nplan strategy=0\r\n",
       [](AppSettings& s) { s.CompanyName = "Acme Debt", s.PrintPlanStrategy = false; }},
      {"\xEF\xBB\xBF[Company]\nName=Acme", [](AppSettings& s) { s.CompanyName = "Acme"; }},
      // A section line without "]" still opens the section.
      {"[Print\nOptions=0", [](AppSettings& s) { s.PrintOptions = false; }},
      // The strategies compared are off unless the file turns them on.
      {"[Print]\nStrategies Compared=1", [](AppSettings& s) { s.PrintStrategiesCompared = true; }},
      {"[Print]\nLanguage=1\n\0[Print]\nContract=0"s, [](AppSettings& s) { s.PrintLanguage = 1; }},
      {"[Print]\nLanguage=1\n" + std::string(kMaxIniFileSize, ';'), [](AppSettings&) {}},
  };
  for (const Case& c : cases) {
    Write(kSettingsFileName, c.text);
    AppSettings expected = Defaults();
    c.expect(expected);
    // A file too large to read fails; start-up then takes the defaults.
    const StatusOr<AppSettings> read = LoadPreferences(folder_);
    EXPECT_EQ(read.ok(), c.text.size() <= kMaxIniFileSize) << c.text.substr(0, 80);
    EXPECT_EQ(read.value_or(DefaultPreferences(folder_)), expected) << c.text.substr(0, 80);
  }
}

TEST_F(SettingsFilesTest, LanguageNeedsPermission) {
  Write(kSettingsFileName, "[Print]\nLanguage=99\n");
  EXPECT_FALSE(ParamsFileExists(folder_));
  AppSettings settings = LoadPreferences(folder_).value();
  ApplyPermissions(settings, PlanParameters());  // no Params.ini
  EXPECT_EQ(settings.PrintLanguage, 0);

  Write(kParamsFileName, "[Permissions]\nLanguage=1\n");
  ASSERT_TRUE(ParamsFileExists(folder_));
  settings = LoadPreferences(folder_).value();
  ApplyPermissions(settings, LoadParams(folder_, testing::kPointRegional).value());
  EXPECT_EQ(settings.PrintLanguage, 99);
}

TEST_F(SettingsFilesTest, ReadsEveryParameter) {
  Write(kParamsFileName,
        "[Version]\nName=Credit Union\n[Override]\nNew Loan Payment=450,25\n"
        "[Default]\nPaydown Priority=3\nTerm=0x0F\nAccelerator 1=100\nAccelerator 2=200,5\n"
        "Accelerator 3=300\nSetup Fee=1500,50\nDown Payment=400\nMonthly Fee=30\n"
        "Return Rate=6\nSetup Fee Rate=12,5\nFees=3\nInterest Rate=8,25\nConsolidate=1\n"
        "Minimum Setup Fee=500\nMinimum Savings=600\nMinimum Down Payment=700\n"
        "[Permissions]\nConsolidate=1\nNegotiate=1\nCashOut=1\nLanguage=1\nPrint Log=1\n"
        "[Disable]\nMinimum Payment Rate=1\n");
  PlanParameters expected;
  expected.VersionName = "Credit Union";
  expected.NewLoanPaymentOverride = Money::FromCount(4502500);
  expected.DefaultPaydownPriority = 3;
  expected.DefaultTerm = 15;
  expected.DefaultAccelerator1 = Money::FromCount(1000000);
  expected.DefaultAccelerator2 = Money::FromCount(2005000);
  expected.DefaultAccelerator3 = Money::FromCount(3000000);
  expected.DefaultSetupFee = Money::FromCount(15005000);
  expected.DefaultDownPayment = Money::FromCount(4000000);
  expected.DefaultMonthlyFee = Money::FromCount(300000);
  expected.DefaultReturnRate = 0.06;
  expected.DefaultSetupFeeRate = 0.125;
  expected.DefaultFees = 0.03;
  expected.DefaultInterestRate = 0.0825;
  expected.DefaultConsolidate = true;
  expected.DefaultMinSetupFee = Money::FromCount(5000000);
  expected.DefaultMinSavings = Money::FromCount(6000000);
  expected.DefaultMinDownPayment = Money::FromCount(7000000);
  expected.PermitConsolidate = expected.PermitNegotiate = expected.PermitCashOut = true;
  expected.PermitLanguage = expected.PermitPrintLog = expected.DisableMinimumPaymentRate = true;
  EXPECT_EQ(LoadParams(folder_, testing::kCommaRegional).value(), expected);
}

TEST_F(SettingsFilesTest, ParameterDefaultsAndUnreadableValues) {
  // The defaults of a Params.ini without keys.
  PlanParameters defaults;
  defaults.DefaultTerm = 30;
  defaults.DefaultSetupFee = Money::FromCount(30000000);
  defaults.DefaultMonthlyFee = Money::FromCount(250000);
  defaults.DefaultFees = 0.02;
  defaults.DefaultInterestRate = 0.07;
  struct Case {
    std::string text;
    void (*expect)(PlanParameters&);
  };
  const Case cases[] = {
      {"", [](PlanParameters&) {}},
      {"[Default]\nSetup Fee=1500.50",
       [](PlanParameters& p) { p.DefaultSetupFee = Money::FromCount(15005000); }},
      {"[Default]\nSetup Fee=1,500.50\nMonthly Fee=\nDown Payment=1e300", [](PlanParameters&) {}},
      {"[Default]\nReturn Rate=6\nInterest Rate=x\nFees=",
       [](PlanParameters& p) { p.DefaultReturnRate = 0.06; }},
      {"[Default]\nTerm=$10\nPaydown Priority=two", [](PlanParameters& p) { p.DefaultTerm = 16; }},
      {"[Override]\nNew Loan Payment=", [](PlanParameters&) {}},
      {"[Override]\nNew Loan Payment=abc", [](PlanParameters&) {}},
      {"[Permissions]\nConsolidate=yes\nCashOut=0x1",
       [](PlanParameters& p) { p.PermitCashOut = true; }},
      {std::string(2 * kMaxIniFileSize, '\0'), [](PlanParameters&) {}},
  };
  for (const Case& c : cases) {
    Write(kParamsFileName, c.text);
    PlanParameters expected = defaults;
    c.expect(expected);
    const StatusOr<PlanParameters> read = LoadParams(folder_, testing::kPointRegional);
    EXPECT_EQ(read.ok(), c.text.size() <= kMaxIniFileSize) << c.text.substr(0, 80);
    EXPECT_EQ(read.value_or(DefaultParams(testing::kPointRegional)), expected)
        << c.text.substr(0, 80);
  }
}

TEST_F(SettingsFilesTest, WritesKeysInOrderAndReadsThemBack) {
  AppSettings s = Defaults();
  s.CompanyName = "Acme Debt";
  s.CompanyEMail = "info@acme.example";
  s.DefaultCompoundingPeriod = 0;
  s.PrintOptions = s.PrintContract = false;
  s.PrintStrategiesCompared = true;
  s.PrintLanguage = 99;
  // A new file gets every key, also those left at their defaults.
  const Status saved = SavePreferences(Defaults(), s, folder_, "/home/pat/plans/", "Smith.bvx");
  ASSERT_TRUE(saved.ok()) << saved.message();
  EXPECT_EQ(Read(kSettingsFileName),
            "[Company]\nName=Acme Debt\nAddress=\nCityStateZip=\nPhone=\nFax=\nWebSite=\n"
            "EMail=info@acme.example\n\n[Settings]\nCompounding Period=0\nReport Directory=" +
                s.ReportDirectory +
                "\nLast File=/home/pat/plans/Smith.bvx\n\n[Print]\nCurrent Debts=1\n"
                "Plan Strategy=1\nPayoff Projections=1\nOptions=0\nNew Loan=1\n"
                "Return On Investment=1\nPayoff Schedule=1\nImmediate Results=1\n"
                "Payment Schedule=1\nMonthly Payment Tables=1\nAmortization Tables=1\n"
                "Investment Projections=1\nContract=0\nStrategies Compared=1\nLanguage=99\n");
  s.LastFile = "/home/pat/plans/Smith.bvx";
  EXPECT_EQ(LoadPreferences(folder_).value(), s);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(SettingsFilesTest, LastFileOnlyForASavedPlan) {
  const std::string old = "[Settings]\nLast File=/old/Jones.bvx\n";
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"/home/pat/", "Untitled.bvx", "/old/Jones.bvx"},
      {"/home/pat/", "Smith.bvx", "/home/pat/Smith.bvx"},
      {"/home/pat/", "", "/old/Jones.bvx"}};
  for (const auto& [directory, name, expected] : cases) {
    Write(kSettingsFileName, old);
    ASSERT_TRUE(SavePreferences(Defaults(), Defaults(), folder_, directory, name).ok());
    EXPECT_EQ(LoadPreferences(folder_).value().LastFile, expected) << directory << name;
  }
}

TEST_F(SettingsFilesTest, KeepsWhatItDoesNotWrite) {
  const std::string old =
      "; Ardvane settings\r\n\r\n[company]\r\n; the firm\r\nname=Old\r\nMotto=Debt free\r\n"
      "[Custom]\r\nAnswer=42\r\n[PRINT]\r\ncurrent debts=0\r\nPlan Fees=0\r\n[Broken\r\n"
      "Name=Kept\r\n; closing note\r\n";
  Write(kSettingsFileName, old);
  const AppSettings loaded = LoadPreferences(folder_).value();
  EXPECT_FALSE(loaded.PrintPlanFees);
  AppSettings s = loaded;
  s.CompanyName = "New\r\n[Print]\nLanguage=1\0x"s;  // no new lines, no end of text
  s.PrintCurrentDebts = s.PrintPlanFees = true;
  ASSERT_TRUE(SavePreferences(loaded, s, folder_, "", "Untitled.bvx").ok());
  // Changed keys keep their spelling; missing keys join the end of their section, or a new
  // section at the end; new lines end as the file's lines do.
  const std::string text = Read(kSettingsFileName);
  EXPECT_EQ(text,
            "; Ardvane settings\r\n\r\n[company]\r\n; the firm\r\nname=New  [Print] Language=1 x\r\n"
            "Motto=Debt free\r\nAddress=\r\nCityStateZip=\r\nPhone=\r\nFax=\r\nWebSite=\r\n"
            "EMail=\r\n[Custom]\r\nAnswer=42\r\n[PRINT]\r\ncurrent debts=1\r\nPlan Fees=0\r\n"
            "Plan Strategy=1\r\nPayoff Projections=1\r\nOptions=1\r\nNew Loan=1\r\n"
            "Return On Investment=1\r\nPayoff Schedule=1\r\nImmediate Results=1\r\n"
            "Payment Schedule=1\r\nMonthly Payment Tables=1\r\nAmortization Tables=1\r\n"
            "Investment Projections=1\r\nContract=1\r\nStrategies Compared=0\r\nLanguage=0\r\n"
            "[Broken\r\nName=Kept\r\n; closing note\r\n\r\n[Settings]\r\n"
            "Compounding Period=1\r\nReport Directory=" +
                s.ReportDirectory + "\r\n");
  const AppSettings reread = LoadPreferences(folder_).value();
  EXPECT_EQ(reread.CompanyName, "New  [Print] Language=1 x");
  EXPECT_EQ(reread.PrintLanguage, 0);
  EXPECT_TRUE(reread.PrintCurrentDebts);
  EXPECT_FALSE(reread.PrintPlanFees);
  // Saving again changes nothing.
  ASSERT_TRUE(SavePreferences(reread, reread, folder_, "", "Untitled.bvx").ok());
  EXPECT_EQ(Read(kSettingsFileName), text);
}

// Any bytes a value or a comment holds come back as they were: nothing in the file marks
// lines of the program's own.
TEST_F(SettingsFilesTest, BytesOfValuesAndCommentsSurvive) {
  const std::string marker = ";\x01\x02";
  ASSERT_TRUE(SavePreferences(Defaults(), Defaults(), folder_, "", "").ok());
  const std::string full = Read(kSettingsFileName);
  const std::string old = marker + "\n; " + marker + " kept\n" + full + marker + marker + "\n";
  Write(kSettingsFileName, old);
  const AppSettings loaded = LoadPreferences(folder_).value();
  AppSettings s = loaded;
  s.CompanyName = marker;
  s.CompanyFax = "=[x]\t#" + marker;
  ASSERT_TRUE(SavePreferences(loaded, s, folder_, "", "").ok());
  std::string expected = old;
  expected.replace(expected.find("Name=\n"), 6, "Name=" + marker + "\n");
  expected.replace(expected.find("Fax=\n"), 5, "Fax=" + s.CompanyFax + "\n");
  EXPECT_EQ(Read(kSettingsFileName), expected);
  EXPECT_EQ(LoadPreferences(folder_).value(), s);

  // And back: the value's line is the only one that changes.
  ASSERT_TRUE(SavePreferences(s, loaded, folder_, "", "").ok());
  EXPECT_EQ(Read(kSettingsFileName), old);
}

// The lines of `text`, each with its line end.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find_first_of("\r\n", pos);
    end = end == std::string::npos ? text.size() : end + (text.compare(end, 2, "\r\n") ? 1 : 2);
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return lines;
}

// Lines a parser drops (a section line without a name, a line that is no entry, comments,
// blank lines, repeated sections and keys) must all come back, in their order and with their
// line ends, while the settings read back are the ones saved.
TEST_F(SettingsFilesTest, ASaveLosesNoLineAndASecondSaveChangesNothing) {
  const std::string old = "\n\n; top\n[Custom]\nA=1\n[\nB=2\nno entry\n=x\n[Print]\nLanguage=1\n";
  Write(kSettingsFileName, old);
  ASSERT_TRUE(SavePreferences(Defaults(), Defaults(), folder_, "", "").ok());
  const std::string saved = Read(kSettingsFileName);
  EXPECT_EQ(saved.rfind(old + "Current Debts=1\n", 0), 0) << saved;
  EXPECT_EQ(LoadPreferences(folder_).value().PrintLanguage, 1);  // not changed by this window

  const std::string vocabulary[] = {
      "",           "  ",          "; note",   "# hash note", "  ; indented", "[",
      "[ ]",        "[]",          "[Custom]", "[Open",       "[Print]",      "[Company",
      "Key=1",      "Name=Old",    "Language=5", "no entry",  "=no key",      "[Settings]",
      "Last File=/a.bvx", "[company] tail", " name =  Spaced  ", ";\x01\x02", "Options=0"};
  const char* const ends[] = {"\n", "\r\n", "\r"};
  const char* const names[] = {"", "New", ";\x01\x02", "a=b ; c", "[Print]"};
  std::mt19937 random(11);
  for (int i = 0; i < 80; ++i) {
    std::string file;
    for (int lines = static_cast<int>(random() % 14); lines > 0; --lines) {
      file += vocabulary[random() % std::size(vocabulary)] + ends[random() % std::size(ends)];
    }
    std::vector<std::string> kept;  // lines that must come back as they stood
    for (const std::string& line : LinesOf(file)) {
      // Lines of the keys saved here may change.
      if (line.find("ame") == std::string::npos && line.find("Language") == std::string::npos &&
          line.find("Options") == std::string::npos) {
        kept.push_back(line);
      }
    }
    Write(kSettingsFileName, file);
    const AppSettings loaded = LoadPreferences(folder_).value();
    AppSettings current = loaded;
    current.CompanyName = names[random() % std::size(names)];
    current.PrintLanguage = static_cast<int>(random() % 3);
    current.PrintOptions = random() % 2 == 0;
    ASSERT_TRUE(SavePreferences(loaded, current, folder_, "", "").ok()) << file;
    const std::string once = Read(kSettingsFileName);
    const std::vector<std::string> onceLines = LinesOf(once);
    auto at = onceLines.begin();
    for (const std::string& line : kept) {
      at = std::find(at, onceLines.end(), line);
      ASSERT_NE(at, onceLines.end()) << ::testing::PrintToString(line) << " from:\n"
                                     << ::testing::PrintToString(file) << "\nin:\n"
                                     << ::testing::PrintToString(once);
      ++at;
    }
    EXPECT_EQ(LoadPreferences(folder_).value(), current) << ::testing::PrintToString(file);
    ASSERT_TRUE(SavePreferences(current, current, folder_, "", "").ok());
    EXPECT_EQ(Read(kSettingsFileName), once) << ::testing::PrintToString(file);
  }
}

TEST_F(SettingsFilesTest, FailedSaveLeavesOldFileIntact) {
  struct Case {
    const char* what;
    std::string settings;  // the old Settings.ini, empty for none
    fs::path folder;
  };
  const fs::path file = folder_ / "not-a-folder";
  std::ofstream(file) << "x";
  const Case cases[] = {
      {"missing folder", "", folder_ / "missing"},
      {"folder is a file", "", file},
      {"too large", "[Custom]\nA=1\n" + std::string(kMaxIniFileSize, ';'), folder_},
      {"binary", "[Custom]\0A=1"s, folder_},
  };
  for (const Case& c : cases) {
    if (!c.settings.empty()) Write(kSettingsFileName, c.settings);
    const Status saved = SavePreferences(Defaults(), Defaults(), c.folder, "/p/", "A.bvx");
    EXPECT_FALSE(saved.ok()) << c.what;
    EXPECT_NE(saved.message().find(kSettingsFileName), std::string::npos)
        << c.what << ": " << saved.message();
    EXPECT_EQ(Read(kSettingsFileName), c.settings) << c.what;
    EXPECT_EQ(Read("not-a-folder"), "x");
  }
  fs::remove(folder_ / kSettingsFileName);
  fs::create_directory(folder_ / kSettingsFileName);
  EXPECT_FALSE(SavePreferences(Defaults(), Defaults(), folder_, "/p/", "A.bvx").ok());
  EXPECT_TRUE(fs::is_directory(folder_ / kSettingsFileName));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(SettingsFilesTest, ReplacementKeepsLinkRightsAndSignature) {
  Write("real.ini", "\xEF\xBB\xBF[Custom\nA=1\n");  // signature, unclosed section
  fs::permissions(folder_ / "real.ini", fs::perms(0640));
  fs::create_symlink("real.ini", folder_ / kSettingsFileName);
  ASSERT_TRUE(SavePreferences(Defaults(), Defaults(), folder_, "", "Untitled.bvx").ok());
  EXPECT_TRUE(fs::is_symlink(folder_ / kSettingsFileName));
  EXPECT_EQ(Read("real.ini").rfind("\xEF\xBB\xBF[Custom\nA=1\n\n[Company]\nName=\n", 0), 0);
  EXPECT_EQ(fs::status(folder_ / "real.ini").permissions(), fs::perms(0640));
}

}  // namespace
}  // namespace ardvane
