#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include <QImage>

#include "engine/plan_calculation.h"
#include "planfiles/plan_file.h"
#include "reports/document_output.h"
#include "reports/pdf_export.h"
#include "reports/report_tables.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_pdf.h"
#include "tests/test_regional.h"

namespace ardvane {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// Pictures of one colour each, their bitmaps named after them; a picture may be made to fail.
class PlainPictures : public ReportPictures {
 public:
  explicit PlainPictures(QColor colour) : colour_(colour) {}
  StatusOr<DrawnPicture> Draw(ReportPicture kind, Language) override {
    const bool payoff = kind == ReportPicture::kPayoffDates;
    if (payoff ? failPayoff : failBalances) {
      return Status::InvalidData(
          "The balances chart could not be drawn for the report: too large.");
    }
    QImage image(payoff ? 40 : 60, 20, QImage::Format_RGB32);
    image.fill(colour_);
    DrawnPicture picture{EmbedImage(image).value(), payoff ? "BM payoff" : "BM balances"};
    drawn.push_back(picture.embedded.dataUri);
    return picture;
  }
  bool failPayoff = false, failBalances = false;
  std::vector<std::string> drawn;

 private:
  QColor colour_;
};

// The sample plan in a program folder of the shipped templates, with every section on.
class ReportWritingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path dist = ARDVANE_DIST_DIR;
    std::filesystem::copy(dist / "Templates", folder / "Templates",
                          std::filesystem::copy_options::recursive);
    ASSERT_TRUE(ReadData(dist / "Sample.bvx", plan, PlanReadContext{regional, params, 0}).ok());
    results = Calculate(plan, params, settings);
    context.plan = &plan;
    context.results = &results;
    context.params = &params;
    context.settings = &settings;
    context.regional = &regional;
    context.programFolder = folder.path();
    context.pictures = &pictures;
    context.showError = [this](const std::string& message) { errors.push_back(message); };
  }

  TempFolder folder;
  const RegionalSettings regional = testing::kPointRegional;
  PlanParameters params;
  AppSettings settings;  // every section
  PlanDocument plan;
  PlanResults results;
  PlainPictures pictures{Qt::darkGreen};
  ReportContext context;
  std::vector<std::string> errors;
};

TEST_F(ReportWritingTest, AReportHoldsThePicturesOfItsOwnRunNotThoseInTheProgramFolder) {
  // Another run's copies, as they would be while it writes them.
  WriteFile(folder / "Paydown.bmp", "another client's payoff chart");
  WriteFile(folder / "Balances.bmp", "another client's balances");
  const std::filesystem::path report = folder / "Sample.doc";
  const ReportDocumentOutcome outcome = WriteReportDocument(context, report);
  ASSERT_TRUE(outcome.complete) << (errors.empty() ? "" : errors[0]);
  const std::string html = ReadFile(report);
  ASSERT_EQ(pictures.drawn.size(), 2u);
  EXPECT_EQ(testing::CountOf(html, "<img src=\"data:"), 2);
  for (const std::string& picture : pictures.drawn) {
    EXPECT_NE(html.find("<img src=\"" + picture + "\""), std::string::npos);
  }
  // The copies are this run's own now, for the office's use only.
  EXPECT_EQ(ReadFile(folder / "Paydown.bmp"), "BM payoff");
  EXPECT_EQ(ReadFile(folder / "Balances.bmp"), "BM balances");

  // A copy that cannot be written leaves the report saved, but not whole, and says why.
  std::filesystem::remove(folder / "Balances.bmp");
  std::filesystem::create_directory(folder / "Balances.bmp");
  const ReportDocumentOutcome withoutCopy = WriteReportDocument(context, report);
  EXPECT_TRUE(withoutCopy.saved);
  EXPECT_FALSE(withoutCopy.complete);
  EXPECT_EQ(errors, std::vector<std::string>{"Could not save the chart picture " +
                                             (folder / "Balances.bmp").string() + ": " +
                                             std::strerror(EISDIR)});
}

TEST_F(ReportWritingTest, ThePdfReadsTheWrittenDocumentAsItReadsTheFinishedOne) {
  // "Export PDF" of a report written before reads it back from its file: joined again and cut
  // again, it must give the PDF the very parts the finished document gave.
  const FinishedReport finished = FinishReport(context);
  ASSERT_TRUE(finished.status.ok()) << finished.status.message();
  const std::string written = finished.document.Text();
  EXPECT_EQ(JoinTableRuns(written), written);
  const std::vector<PdfPart> direct = PdfPartsOf(finished.document);
  const std::vector<PdfPart> reread = PdfPartsOf(CutReportBlocks(JoinTableRuns(written)));
  ASSERT_EQ(direct.size(), reread.size());
  EXPECT_GT(direct.size(), 20u);
  for (std::size_t k = 0; k < direct.size(); ++k) {
    EXPECT_EQ(direct[k].kind, reread[k].kind) << k;
    EXPECT_EQ(direct[k].newPage, reread[k].newPage) << k;
    EXPECT_EQ(direct[k].html, reread[k].html) << k;
  }
}

TEST_F(ReportWritingTest, APictureOrAPdfThatCannotBeDrawnReplacesNeitherTheReportNorItsPdf) {
  const std::filesystem::path report = folder / "Sample.doc";
  const PdfRequest pdf = PdfRequestFor(folder / "Sample.pdf", PaperSize::kLetter);
  WriteFile(report, "the older report");
  WriteFile(pdf.path, "the older PDF");
  pictures.failBalances = true;
  const ReportDocumentOutcome outcome = WriteReportDocument(context, report, &pdf);
  EXPECT_FALSE(outcome.saved);
  EXPECT_EQ(errors, std::vector<std::string>{
                        "The balances chart could not be drawn for the report: too large."});
  EXPECT_EQ(ReadFile(report), "the older report");
  EXPECT_EQ(ReadFile(pdf.path), "the older PDF");
  EXPECT_FALSE(std::filesystem::exists(folder / "Paydown.bmp"));

  pictures.failBalances = false;
  errors.clear();
  const PdfRequest failingPdf{pdf.path, [](const ReportBlocks&) -> StatusOr<std::string> {
                                return Status::IoError("The PDF could not be drawn.");
                              }};
  EXPECT_FALSE(WriteReportDocument(context, report, &failingPdf).saved);
  EXPECT_EQ(errors, std::vector<std::string>{"Could not make the PDF \"" + pdf.path.string() +
                                             "\": The PDF could not be drawn."});
  EXPECT_EQ(ReadFile(report), "the older report");
  EXPECT_EQ(ReadFile(pdf.path), "the older PDF");
}

TEST_F(ReportWritingTest, TheReportAndItsPdfAreWrittenTogetherOrNotAtAll) {
  const std::filesystem::path report = folder / "Sample.doc";
  const PdfRequest pdf = PdfRequestFor(folder / "Sample.pdf", PaperSize::kLetter);
  ReportDocumentOutcome outcome = WriteReportDocument(context, report, &pdf);
  ASSERT_TRUE(outcome.complete) << (errors.empty() ? "" : errors[0]);
  const testing::PdfFacts facts = testing::ReadPdfFacts(ReadFile(pdf.path));
  EXPECT_EQ(facts.pictures, 2);
  EXPECT_GT(facts.pages, 10);
  EXPECT_TRUE(PdfMadeByThisProgram(pdf.path));
  EXPECT_EQ(StalePdfBeside(report), pdf.path);

  // A PDF that may not be replaced keeps the older report too.
  WriteFile(report, "the older report");
  ASSERT_EQ(::chmod(pdf.path.c_str(), 0444), 0);
  const std::string olderPdf = ReadFile(pdf.path);
  outcome = WriteReportDocument(context, report, &pdf);
  EXPECT_FALSE(outcome.saved);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Could not write the PDF \"" + pdf.path.string() + "\": ", 0), 0u)
      << errors[0];
  EXPECT_EQ(ReadFile(report), "the older report");
  EXPECT_EQ(ReadFile(pdf.path), olderPdf);
}

// Stops WriteReportDocument after the step named, as a crash there would.
struct Interrupted {};
class InterruptAfter {
 public:
  explicit InterruptAfter(std::string step) {
    SetReportWriteStepHook([step = std::move(step)](std::string_view done) {
      if (done == step) throw Interrupted{};
    });
  }
  ~InterruptAfter() { SetReportWriteStepHook({}); }
};

TEST_F(ReportWritingTest, NoRunStoppedHalfwayLeavesAnOlderPdfBesideTheNewDocument) {
  const std::filesystem::path report = folder / "Sample.doc";
  const PdfRequest pdf = PdfRequestFor(folder / "Sample.pdf", PaperSize::kLetter);
  const std::filesystem::path aside = SetAsidePathFor(pdf.path);
  ASSERT_TRUE(WriteReportDocument(context, report, &pdf).complete);
  // Another client's pair under the same name.
  WriteFile(report, "another client's report");
  const std::string olderPdf = ReadFile(pdf.path);

  {
    const InterruptAfter crash("document written");
    EXPECT_THROW(WriteReportDocument(context, report, &pdf), Interrupted);
  }
  EXPECT_NE(ReadFile(report), "another client's report");
  EXPECT_FALSE(std::filesystem::exists(pdf.path));
  EXPECT_TRUE(ReadFile(aside) == olderPdf);  // hidden, and gone with the next run
  ASSERT_TRUE(WriteReportDocument(context, report, &pdf).complete);
  EXPECT_TRUE(PdfMadeByThisProgram(pdf.path));
  EXPECT_FALSE(std::filesystem::exists(aside));

  // Stopped before the document is replaced: the older document stands alone.
  WriteFile(report, "another client's report");
  {
    const InterruptAfter crash("pdf set aside");
    EXPECT_THROW(WriteReportDocument(context, report, &pdf), Interrupted);
  }
  EXPECT_EQ(ReadFile(report), "another client's report");
  EXPECT_FALSE(std::filesystem::exists(pdf.path));
  ASSERT_TRUE(WriteReportDocument(context, report, &pdf).complete);
  EXPECT_FALSE(std::filesystem::exists(aside));
  EXPECT_TRUE(errors.empty()) << errors[0];

  // Written without a PDF, the report takes away this program's PDF of an earlier report.
  WriteFile(report, "another client's report");
  {
    const InterruptAfter crash("document written");
    EXPECT_THROW(WriteReportDocument(context, report, nullptr, true), Interrupted);
  }
  EXPECT_NE(ReadFile(report), "another client's report");
  EXPECT_FALSE(std::filesystem::exists(pdf.path));
  ASSERT_TRUE(WriteReportDocument(context, report, &pdf).complete);
  const ReportDocumentOutcome withoutPdf = WriteReportDocument(context, report, nullptr, true);
  EXPECT_TRUE(withoutPdf.complete);
  EXPECT_EQ(withoutPdf.removedPdf, pdf.path);
  EXPECT_FALSE(std::filesystem::exists(pdf.path));
  EXPECT_FALSE(std::filesystem::exists(aside));
  ASSERT_TRUE(WriteReportDocument(context, report, &pdf).complete);

  // A document that cannot be written puts the older PDF back beside the older document.
  WriteFile(report, "another client's report");
  const std::string pairedPdf = ReadFile(pdf.path);
  ASSERT_EQ(::chmod(report.c_str(), 0444), 0);
  EXPECT_FALSE(WriteReportDocument(context, report, &pdf).saved);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Could not write the report \"" + report.string() + "\": ", 0), 0u)
      << errors[0];
  EXPECT_EQ(ReadFile(report), "another client's report");
  EXPECT_TRUE(ReadFile(pdf.path) == pairedPdf);
  EXPECT_FALSE(std::filesystem::exists(aside));
}

}  // namespace
}  // namespace ardvane
