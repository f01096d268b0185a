#include "reports/document_output.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <deque>
#include <memory>
#include <optional>

#include "platform/picture_embedding.h"
#include "reports/text_boxes.h"
#include "tests/fake_opener.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"

namespace ardvane {
namespace {

using namespace std::string_literals;

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

AppSettings Switches(bool strategy, bool projections, bool schedule) {
  AppSettings settings;
  settings.PrintPlanStrategy = strategy;
  settings.PrintPayoffProjections = projections;
  settings.PrintPayoffSchedule = schedule;
  return settings;
}

TEST(PictureBoxesTest, ThePlanStrategyBoxesAndThePayoffProjectionsPageMoveThePictures) {
  struct Case {
    bool strategy, projections, schedule;
    int payoffDates, balances;
  };
  const Case cases[] = {
      {false, true, true, 9, 8},  {true, true, true, 15, 14}, {false, false, true, 8, 0},
      {true, false, true, 14, 0}, {false, true, false, 0, 8}, {true, true, false, 0, 14},
      {true, false, false, 0, 0},
  };
  for (const Case& c : cases) {
    const PictureBoxNumbers boxes =
        PictureBoxesFor(Switches(c.strategy, c.projections, c.schedule));
    EXPECT_EQ(boxes.payoffDates, c.payoffDates) << c.strategy << c.projections << c.schedule;
    EXPECT_EQ(boxes.balances, c.balances) << c.strategy << c.projections << c.schedule;
  }
}

// A report with `count` text boxes, each holding its own number.
std::string ReportWithBoxes(int count) {
  std::string html = "<html><body>\r\n";
  for (int i = 1; i <= count; ++i) {
    html += "<p>Before " + std::to_string(i) +
            "</p>\r\n<div class=\"textbox\" style=\"width:" + std::to_string(i) + "px\">box " +
            std::to_string(i) + "</div>\r\n";
  }
  return html + "</body></html>\r\n";
}

EmbeddedPicture Picture(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return EmbedImage(image).value();
}

// The picture stored in a box, decoded back from its data: address.
QImage PictureIn(std::string_view content) {
  const std::string prefix = "<img src=\"data:image/png;base64,";
  EXPECT_EQ(content.substr(0, prefix.size()), prefix) << content.substr(0, 80);
  const std::size_t end = content.find('"', prefix.size());
  const QByteArray png = QByteArray::fromBase64(
      QByteArray::fromStdString(std::string(content.substr(prefix.size(), end - prefix.size()))));
  return QImage::fromData(png, "PNG");
}

class PlaceGraphicsTest : public ::testing::Test {
 protected:
  const EmbeddedPicture payoff = Picture(20, 10, Qt::red);
  const EmbeddedPicture balances = Picture(30, 15, Qt::blue);
};

TEST_F(PlaceGraphicsTest, EachPictureReplacesTheContentOfItsBoxOnly) {
  for (const bool strategy : {false, true}) {
    const int boxCount = strategy ? 15 : 9;
    const std::string before = ReportWithBoxes(boxCount);
    std::string after = before;
    const Status placed = PlaceGraphics(&after, Switches(strategy, true, true), &payoff, &balances);
    ASSERT_TRUE(placed.ok()) << placed.message();

    const std::vector<TextBox> boxes = FindTextBoxes(after);
    ASSERT_EQ(boxes.size(), static_cast<std::size_t>(boxCount));
    const auto content = [&](int number) {
      const TextBox& box = boxes[number - 1];
      return std::string_view(after).substr(box.contentBegin, box.contentEnd - box.contentBegin);
    };
    const int balancesBox = strategy ? 14 : 8;
    const QImage balancesPicture = PictureIn(content(balancesBox));
    EXPECT_EQ(balancesPicture.size(), QSize(30, 15));
    EXPECT_EQ(balancesPicture.pixelColor(3, 3), QColor(Qt::blue));
    const QImage payoffPicture = PictureIn(content(balancesBox + 1));
    EXPECT_EQ(payoffPicture.size(), QSize(20, 10));
    EXPECT_EQ(payoffPicture.pixelColor(3, 3), QColor(Qt::red));
    EXPECT_NE(content(balancesBox).find("width=\"30\" height=\"15\""), std::string::npos);
    // The other boxes, and each box's own attributes, stay as written.
    for (int i = 1; i < balancesBox; ++i) EXPECT_EQ(content(i), "box " + std::to_string(i));
    EXPECT_EQ(after.substr(0, boxes[balancesBox - 1].contentBegin),
              before.substr(0, boxes[balancesBox - 1].contentBegin));
  }
}

TEST_F(PlaceGraphicsTest, WithoutThePayoffProjectionsPageThePayoffPictureTakesBoxEight) {
  std::string html = ReportWithBoxes(8);
  ASSERT_TRUE(PlaceGraphics(&html, Switches(false, false, true), &payoff, &balances).ok());
  const TextBox box = FindTextBoxes(html).at(7);
  EXPECT_EQ(PictureIn(std::string_view(html).substr(box.contentBegin)).size(), QSize(20, 10));
  EXPECT_EQ(html.find("base64"), html.rfind("base64"));  // one picture only
}

TEST_F(PlaceGraphicsTest, AMissingBoxFailsAndLeavesTheDocumentAsItWasAndNoPictureLeavesItsBox) {
  const std::string before = ReportWithBoxes(8);  // the payoff box 9 is missing
  std::string html = before;
  const Status missing = PlaceGraphics(&html, Switches(false, true, true), &payoff, &balances);
  EXPECT_EQ(missing.message(), "The report has no text box \"Text Box 9\".");
  EXPECT_EQ(html, before);

  html = ReportWithBoxes(9);
  ASSERT_TRUE(PlaceGraphics(&html, Switches(false, true, true), nullptr, &balances).ok());
  EXPECT_NE(html.find(">box 9</div>"), std::string::npos);
  EXPECT_EQ(html.find(">box 8</div>"), std::string::npos);
}

TEST(ReportFileNameTest, NameDateAndLanguageWord) {
  PlanDocument plan;
  plan.FirstName = "John";
  plan.LastName = "Smith";
  plan.Date = EncodeDate(2005, 3, 15);
  RegionalSettings dashes = testing::kPointRegional;
  dashes.shortDateFormat = "yyyy-MM-dd";
  EXPECT_EQ(ReportFileName(plan, true, "English", testing::kPointRegional),
            "Smith, John 3.15.2005 English.doc");
  EXPECT_EQ(ReportFileName(plan, false, "English", testing::kPointRegional),
            "Smith, John 3.15.2005.doc");
  EXPECT_EQ(ReportFileName(plan, true, "Spanish", dashes), "Smith, John 2005-03-15 Spanish.doc");
  // A "/" typed into a name would otherwise name a folder.
  plan.LastName = "Ana/Luis";
  EXPECT_EQ(ReportFileName(plan, false, "", testing::kPointRegional),
            "Ana.Luis, John 3.15.2005.doc");

  EXPECT_EQ(ReportFilePath("/p/Reports/", "a.doc"), "/p/Reports/a.doc");
  EXPECT_EQ(ReportFilePath("/p/Reports", "a.doc"), "/p/Reports/a.doc");
}

TEST(ReportFileNameTest, AForgingNameMakesAReportNameOfOneLine) {
  // A last name that, written as it is, would put a second line into the print log.
  PlanDocument plan;
  plan.LastName = "Smith\r\n1/1/2008 9:00:00 AM\t/r/\tOther, Client 1.1.2008.doc\t42\r\nX";
  plan.FirstName = "John";
  plan.Date = EncodeDate(2005, 3, 15);
  EXPECT_EQ(ReportFileName(plan, false, "", testing::kPointRegional),
            "Smith  1.1.2008 9_00_00 AM .r. Other, Client 1.1.2008.doc 42  X, John 3.15.2005.doc");
}

TEST(ReportFolderTest, AnEmptyOrRelativeFolderLiesInTheProgramFolder) {
  const std::filesystem::path program = "/opt/ardvane";
  EXPECT_EQ(ReportFolder("", program), "/opt/ardvane/Reports/");
  EXPECT_EQ(ReportFolder("  ", program), "/opt/ardvane/Reports/");
  EXPECT_EQ(ReportFolder("out", program), "/opt/ardvane/out/");
  EXPECT_EQ(ReportFolder("out/", program), "/opt/ardvane/out/");
  EXPECT_EQ(ReportFolder("/srv/reports", program), "/srv/reports/");
  EXPECT_EQ(ReportFolder("/srv/reports/", program), "/srv/reports/");
  // A program folder given relative still gives an absolute folder.
  EXPECT_EQ(ReportFolder("", "rel"),
            (std::filesystem::current_path() / "rel" / "Reports").string() + "/");
  // A file in the folder (a report, the notes): one "/" between, whether the setting ends in
  // one or not.
  EXPECT_EQ(ReportFilePath("/r/", "n.rtf"), std::filesystem::path("/r/n.rtf"));
  EXPECT_EQ(ReportFilePath("/r", "n.rtf"), std::filesystem::path("/r/n.rtf"));
}

// The window's side of a print, answered by the test. Without an opener the desktop answers
// at once with `openResult`; with one, the opener is run as the desktop would.
class FakeSurroundings : public PrintSurroundings {
 public:
  FileExistsAnswer AskFileExists(const std::string& path) override {
    asked.push_back(path);
    return choice;
  }
  void OpenDocument(const std::string& path, DesktopOpenDone done) override {
    opened.push_back(path);
    if (opener) {
      OpenWithDesktop(path, *opener, nullptr, std::move(done));
    } else {
      done(openResult);
    }
  }
  void ShowInformation(const std::string& message) override { messages.push_back(message); }
  bool Confirm(const std::string& question) override {
    questions.push_back(question);
    return confirm;
  }
  LocalDateTime Now() override { return {EncodeDate(2024, 6, 15), 10, 30, 0}; }

  FileExistsAnswer choice = FileExistsAnswer::Cancel;
  DesktopOpenResult openResult = DesktopOpenResult::kOpened;
  std::optional<DesktopOpener> opener;
  bool confirm = false;
  std::vector<std::string> asked, opened, messages, questions;
};

class PrepareReportFileTest : public ::testing::Test {
 protected:
  PrintJob Job() {
    PrintJob job;
    job.reportDirectory = (folder / "Reports").string() + "/";
    job.reportPath = folder / "Reports" / "Smith, John 6.15.2024.doc";
    job.programFolder = folder.path();
    job.printLog = true;
    job.generate = [this](const std::filesystem::path& path, bool dropStalePdf) {
      generated.push_back(path.string());
      questionsBeforeGenerating = surroundings.questions.size();
      droppedStalePdf = dropStalePdf;
      if (!generateSucceeds) return false;
      WriteFile(path, "new report");
      if (dropStalePdf) std::filesystem::remove(PdfPathFor(path));
      return true;
    };
    return job;
  }
  // Runs the print and waits for its outcome.
  PrintOutcome Print(const PrintJob& job) {
    std::optional<PrintOutcome> outcome;
    PrepareReportFile(job, fake, [&](const PrintOutcome& done) { outcome = done; });
    EXPECT_TRUE(testing::WaitUntil([&] { return outcome.has_value(); }));
    return outcome.value_or(PrintOutcome{});
  }
  std::string Log() const { return ReadFile(folder / "PrintLog.kdf"); }

  TempFolder folder;
  std::shared_ptr<FakeSurroundings> fake = std::make_shared<FakeSurroundings>();
  FakeSurroundings& surroundings = *fake;
  std::vector<std::string> generated;
  bool generateSucceeds = true;
  std::size_t questionsBeforeGenerating = 0;
  bool droppedStalePdf = false;
};

TEST_F(PrepareReportFileTest, ANewReportIsMadeInANewFolderOpenedAndLogged) {
  const PrintJob job = Job();
  const PrintOutcome outcome = Print(job);
  EXPECT_TRUE(outcome.generated);
  EXPECT_TRUE(surroundings.asked.empty());
  EXPECT_EQ(ReadFile(job.reportPath), "new report");
  EXPECT_EQ(surroundings.opened, std::vector<std::string>{job.reportPath.string()});
  EXPECT_TRUE(outcome.logged);
  EXPECT_EQ(Log(), "Date/Time\tPath\tFile Name\tResult\r\n6/15/2024 10:30:00 AM\t" +
                       (folder / "Reports").string() + "/\tSmith, John 6.15.2024.doc\t42\r\n");
}

TEST_F(PrepareReportFileTest, TheAnswerAboutAnExistingFileDecidesWhatHappens) {
  const PrintJob job = Job();
  std::filesystem::create_directory(folder / "Reports");

  // Cancel: the old file untouched, not opened, not logged.
  WriteFile(job.reportPath, "old report");
  surroundings.choice = FileExistsAnswer::Cancel;
  Print(job);
  EXPECT_EQ(surroundings.asked, std::vector<std::string>{job.reportPath.string()});
  EXPECT_TRUE(generated.empty());
  EXPECT_TRUE(surroundings.opened.empty());
  EXPECT_EQ(ReadFile(job.reportPath), "old report");
  EXPECT_FALSE(std::filesystem::exists(folder / "PrintLog.kdf"));

  // Open it: the old file opened unchanged, no log line.
  surroundings.choice = FileExistsAnswer::Open;
  PrintOutcome outcome = Print(job);
  EXPECT_TRUE(generated.empty());
  EXPECT_EQ(surroundings.opened.size(), 1u);
  EXPECT_EQ(ReadFile(job.reportPath), "old report");
  EXPECT_FALSE(outcome.logged);
  EXPECT_FALSE(std::filesystem::exists(folder / "PrintLog.kdf"));

  // Overwrite it: rebuilt, opened and logged.
  surroundings.choice = FileExistsAnswer::Overwrite;
  outcome = Print(job);
  EXPECT_EQ(generated.size(), 1u);
  EXPECT_EQ(ReadFile(job.reportPath), "new report");
  EXPECT_EQ(surroundings.opened.size(), 2u);
  EXPECT_TRUE(outcome.logged);
  EXPECT_NE(Log().find("\t42\r\n"), std::string::npos);
}

TEST_F(PrepareReportFileTest, FailuresAlongTheWay) {
  // The desktop cannot open it: the word processor message, and the code is logged.
  PrintJob job = Job();
  surroundings.openResult = DesktopOpenResult::kFailed;
  Print(job);
  EXPECT_EQ(surroundings.messages, std::vector<std::string>{kWordProcessorMissing});
  EXPECT_NE(Log().find("\tSmith, John 6.15.2024.doc\t2\r\n"), std::string::npos);

  // The log cannot be written: its own message; the report stands.
  std::filesystem::remove(folder / "PrintLog.kdf");
  std::filesystem::create_directory(folder / "PrintLog.kdf");
  surroundings.openResult = DesktopOpenResult::kOpened;
  surroundings.messages.clear();
  surroundings.choice = FileExistsAnswer::Overwrite;
  const PrintOutcome logFailed = Print(job);
  EXPECT_TRUE(logFailed.generated);
  EXPECT_FALSE(logFailed.logged);
  EXPECT_EQ(surroundings.messages, std::vector<std::string>{kCouldNotLogPrint});

  // The report is not written: nothing is opened or logged.
  generateSucceeds = false;
  surroundings.opened.clear();
  const PrintOutcome notSaved = Print(job);
  EXPECT_FALSE(notSaved.generated);
  EXPECT_FALSE(notSaved.opened);
  EXPECT_TRUE(surroundings.opened.empty());
}

TEST_F(PrepareReportFileTest, TheDesktopsVerdictIsSaidAndLoggedOnceKnown) {
  const PrintJob job = Job();
  const std::string logged = "\tSmith, John 6.15.2024.doc\t";
  const struct {
    const char* name;
    const char* script;
    DesktopOpenResult result;
    const char* logCode;  // what the print log says of it
    bool message;
  } openers[] = {
      // No program for the file type: xdg-open exits with a non-zero status.
      {"fails", "exit 3", DesktopOpenResult::kFailed, "2", true},
      {"opens", "exit 0", DesktopOpenResult::kOpened, "42", false},
      // Still running after its patience: taken as opened, although it fails later.
      {"lingers", "sleep 3; exit 1", DesktopOpenResult::kOpened, "42", false},
  };
  for (const auto& c : openers) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(folder / "PrintLog.kdf");
    surroundings.messages.clear();
    surroundings.choice = FileExistsAnswer::Overwrite;
    surroundings.opener =
        testing::FakeOpener(folder.path(), c.name, c.script, std::chrono::milliseconds(300));
    std::optional<PrintOutcome> outcome;
    PrepareReportFile(job, fake, [&](const PrintOutcome& done) { outcome = done; });
    // The command returns before the desktop has answered; nothing is logged yet.
    EXPECT_FALSE(outcome.has_value());
    EXPECT_FALSE(std::filesystem::exists(folder / "PrintLog.kdf"));
    ASSERT_TRUE(testing::WaitUntil([&] { return outcome.has_value(); }));
    EXPECT_EQ(outcome->openResult, c.result);
    EXPECT_TRUE(outcome->logged);
    EXPECT_NE(Log().find(logged + c.logCode + "\r\n"), std::string::npos) << Log();
    EXPECT_EQ(surroundings.messages, c.message ? std::vector<std::string>{kWordProcessorMissing}
                                               : std::vector<std::string>{});
  }
}

TEST_F(PrepareReportFileTest, AStalePdfOfThisProgramIsRemovedOnlyWhenTheUserSaysSo) {
  const PrintJob job = Job();
  std::filesystem::create_directory(folder / "Reports");
  const std::filesystem::path pdf = PdfPathFor(job.reportPath);
  // Qt writes the creator as UTF-16 text with a byte order mark.
  const std::string ours =
      "%PDF-1.4\n1 0 obj\n<<\n/Creator (\xfe\xff\0A\0r\0d\0v\0a\0n\0e)\n>>\nendobj\n"s;
  WriteFile(pdf, ours);
  EXPECT_TRUE(PdfMadeByThisProgram(pdf));

  // Asked before the new report is written, so that it is taken away with the older report
  // and never stands beside the new one.
  surroundings.confirm = false;
  Print(job);
  ASSERT_EQ(surroundings.questions.size(), 1u);
  EXPECT_EQ(questionsBeforeGenerating, 1u);
  EXPECT_NE(surroundings.questions[0].find(pdf.string()), std::string::npos);
  EXPECT_FALSE(droppedStalePdf);
  EXPECT_TRUE(std::filesystem::exists(pdf));

  surroundings.choice = FileExistsAnswer::Overwrite;
  surroundings.confirm = true;
  Print(job);
  EXPECT_EQ(surroundings.questions.size(), 2u);
  EXPECT_EQ(questionsBeforeGenerating, 2u);
  EXPECT_TRUE(droppedStalePdf);
  EXPECT_FALSE(std::filesystem::exists(pdf));

  // Another program's PDF, or one opened as it is, is no business of the print.
  WriteFile(pdf, "%PDF-1.4\n1 0 obj\n<<\n/Creator (Writer)\n>>\nendobj\n");
  EXPECT_FALSE(PdfMadeByThisProgram(pdf));
  Print(job);
  surroundings.choice = FileExistsAnswer::Open;
  WriteFile(pdf, ours);
  Print(job);
  EXPECT_EQ(surroundings.questions.size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(pdf));
  EXPECT_FALSE(PdfMadeByThisProgram(folder / "no such.pdf"));
}

}  // namespace
}  // namespace ardvane
