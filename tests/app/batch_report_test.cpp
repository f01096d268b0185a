#include "app/batch_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/command_parser.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_pdf.h"
#include "tests/test_regional.h"

namespace ardvane {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; ++at) ++count;
  return count;
}

class BatchReportTest : public ::testing::Test {
 protected:
  // The shipped program folder with its Reports folder.
  BatchReportTest() {
    std::filesystem::copy(ARDVANE_DIST_DIR, folder.path(),
                          std::filesystem::copy_options::recursive);
    std::filesystem::create_directory(folder / "Reports");
    env.programFolder = folder.path();
    env.regional = testing::kPointRegional;
    env.today = EncodeDate(2024, 6, 15);
  }
  // The report request that `words` make on the command line, in `language`, with a PDF on A4
  // when `pdf`.
  int Run(std::vector<std::string> words, Language language = Language::kEnglish,
          bool pdf = false) {
    err.str("");
    if (language == Language::kSpanish) words.insert(words.end(), {"--language", "Spanish"});
    if (pdf) words.push_back("--pdf");
    const Command command = ParseCommandLine(words);
    const auto* request = std::get_if<ReportRequest>(&command.action);
    if (request == nullptr) {
      ADD_FAILURE() << "not a report request: " << words.back();
      return -1;
    }
    return RunBatchReport(*request, PaperSize::kA4, env, err);
  }

  TempFolder folder;
  CommandLineEnvironment env;
  std::ostringstream err;
};

TEST_F(BatchReportTest, WritesTheReportWithBothPicturesAndReplacesAnOldOne) {
  const std::filesystem::path report = folder / "Reports" / "Report1.doc";
  WriteFile(report, "an older report");
  ASSERT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}), 0) << err.str();
  EXPECT_EQ(err.str(), "");
  const std::string html = ReadFile(report);
  EXPECT_EQ(Count(html, "data:image/png;base64,"), 2);
  EXPECT_NE(html.find("Maria Sample"), std::string::npos);
  EXPECT_NE(html.find("Debt Elimination Plan"), std::string::npos);  // English
  EXPECT_TRUE(std::filesystem::exists(folder / "Paydown.bmp"));
  // Nothing of the interactive print: no log.
  EXPECT_FALSE(std::filesystem::exists(folder / "PrintLog.kdf"));

  ASSERT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report2"}, Language::kSpanish), 0)
      << err.str();
  EXPECT_NE(ReadFile(folder / "Reports" / "Report2.doc").find("Plan de"), std::string::npos);
}

TEST_F(BatchReportTest, PdfIsWrittenBesideTheReportOrItsFailureSaidWithTheReportKept) {
  ASSERT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}, Language::kEnglish, true), 0)
      << err.str();
  EXPECT_TRUE(std::filesystem::exists(folder / "Reports" / "Report1.doc"));
  const testing::PdfFacts facts = testing::ReadPdfFacts(ReadFile(folder / "Reports" / "Report1.pdf"));
  EXPECT_EQ(facts.pictures, 2);
  EXPECT_NE(facts.title.find("Maria Sample"), std::string::npos) << facts.title;
  EXPECT_GE(facts.pages, 5);

  // A report written again without a PDF takes away the older PDF of its name, which this
  // program made: it would show other figures. Another program's PDF is left alone.
  ASSERT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}), 0) << err.str();
  EXPECT_FALSE(std::filesystem::exists(folder / "Reports" / "Report1.pdf"));
  EXPECT_NE(err.str().find("ardvane: removed \"" + (folder / "Reports" / "Report1.pdf").string() +
                           "\", a PDF this program made of an earlier report"),
            std::string::npos)
      << err.str();
  const std::string theirs = "%PDF-1.4\n1 0 obj\n<< /Creator (Writer) >>\nendobj\n";
  WriteFile(folder / "Reports" / "Report1.pdf", theirs);
  ASSERT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}), 0) << err.str();
  EXPECT_EQ(ReadFile(folder / "Reports" / "Report1.pdf"), theirs);
  EXPECT_EQ(err.str(), "");

  // A folder in the PDF's place: neither file is written, and the failure is said.
  std::filesystem::create_directory(folder / "Reports" / "Report2.pdf");
  EXPECT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report2"}, Language::kEnglish, true), 1);
  EXPECT_NE(err.str().find("ardvane: Could not write the PDF \""), std::string::npos)
      << err.str();
  EXPECT_FALSE(std::filesystem::exists(folder / "Reports" / "Report2.doc"));
}

TEST_F(BatchReportTest, EachMissingParagraphIsNamedOnceOnStandardError) {
  const std::filesystem::path english = folder / "Templates" / "English";
  std::filesystem::remove(english / "DebtTable.ktf");          // a row per debt
  std::filesystem::remove(english / "AmortizationTable.ktf");  // a row per month of each debt
  EXPECT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}), 1);
  EXPECT_EQ(err.str(), "ardvane: Could not find paragraph " + (english / "DebtTable.ktf").string() +
                           ".\nardvane: Could not find paragraph " +
                           (english / "AmortizationTable.ktf").string() + ".\n");
  EXPECT_NE(ReadFile(folder / "Reports" / "Report1.doc").find("Maria Sample"), std::string::npos);
}

TEST_F(BatchReportTest, FailuresWriteNoReportAndSayWhyOnStandardError) {
  // A plan that cannot be read: no report of an empty plan.
  const std::string missing = (folder / "missing plan.bvx").string();
  EXPECT_EQ(Run({(folder / "missing").string(), "plan.bvx", "-<p>Report1"}), 1);
  EXPECT_EQ(err.str().rfind("Could not open file " + missing + "\n", 0), 0u) << err.str();
  WriteFile(folder / "broken.bvx", "no plan in here");
  EXPECT_EQ(Run({(folder / "broken.bvx").string(), "-<p>Report1"}), 1);
  EXPECT_EQ(Run({"-<p>Report1"}), 1);  // no plan named
  EXPECT_EQ(err.str().rfind("Could not open file \n", 0), 0u) << err.str();
  EXPECT_TRUE(std::filesystem::is_empty(folder / "Reports"));

  // A missing report directory is made, one level as the window's print makes it; a deeper
  // missing path fails with its reason.
  std::filesystem::remove(folder / "Reports");
  EXPECT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}), 0) << err.str();
  EXPECT_TRUE(std::filesystem::exists(folder / "Reports" / "Report1.doc"));
  WriteFile(folder / "Settings.ini",
            "[Settings]\nReport Directory=" + (folder / "a" / "b").string() + "/\n");
  EXPECT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}), 1);
  EXPECT_NE(err.str().find("Could not write the report \"" +
                           (folder / "a" / "b" / "Report1.doc").string() +
                           "\": No such file or directory"),
            std::string::npos)
      << err.str();
  EXPECT_FALSE(std::filesystem::exists(folder / "a"));
  // An empty one (a hand-edited Settings.ini) is the program folder's Reports, not the current
  // folder.
  WriteFile(folder / "Settings.ini", "[Settings]\nReport Directory=\n");
  std::filesystem::remove(folder / "Reports" / "Report1.doc");
  EXPECT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}), 0) << err.str();
  EXPECT_TRUE(std::filesystem::exists(folder / "Reports" / "Report1.doc"));

  WriteFile(folder / "Params.ini", "[Permissions]\nLanguage=0\n");
  EXPECT_EQ(Run({(folder / "Sample.bvx").string(), "-<p>Report1"}, Language::kSpanish), 2);
}

}  // namespace
}  // namespace ardvane
