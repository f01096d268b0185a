#include "reports/pdf_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QImage>

#include "tests/planfiles/test_files.h"
#include "tests/test_pdf.h"

namespace ardvane {
namespace {

using testing::ReadFile;
using testing::ReadPdfFacts;
using testing::TempFolder;
using testing::WriteFile;

std::string PngDataUri(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::darkBlue);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return "data:image/png;base64," + png.toBase64().toStdString();
}

// A report document as the templates make it: a title, the pictures in text boxes, and
// sections that start new pages.
std::string ReportHtml() {
  const auto picture = [](int width, int height) {
    return "<div class=\"textbox\"><img src=\"" + PngDataUri(width, height) + "\" width=\"" +
           std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" alt=\"\"></div>";
  };
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Plan for Ana &amp; Luis"
         "</title></head><body><h1>Cover</h1>\r\n"
         "<h2 style=\"page-break-before: always\">Projections</h2>\r\n" +
         picture(730, 380) +
         "\r\n<h2 style=\"page-break-before: always\">Payoff Schedule</h2>\r\n" +
         // Wider than any page: scaled down, not cut off.
         picture(2400, 500) + "\r\n</body></html>\r\n";
}

TEST(PdfExportTest, ThePdfHoldsBothPicturesOnePagePerSectionOnThePaperAsked) {
  std::string error;
  const std::optional<std::string> letter = RenderReportPdf(ReportHtml(), PaperSize::kLetter, &error);
  ASSERT_TRUE(letter) << error;
  const testing::PdfFacts facts = ReadPdfFacts(*letter);
  EXPECT_EQ(facts.pictures, 2);
  EXPECT_EQ(facts.pages, 3);
  EXPECT_EQ(facts.title, "Plan for Ana & Luis");
  EXPECT_EQ(facts.mediaBox.substr(0, 11), "0 0 612.000") << facts.mediaBox;  // 8.5 x 11 in

  const std::optional<std::string> a4 = RenderReportPdf(ReportHtml(), PaperSize::kA4, &error);
  ASSERT_TRUE(a4) << error;
  EXPECT_EQ(ReadPdfFacts(*a4).mediaBox.substr(0, 11), "0 0 595.000") << ReadPdfFacts(*a4).mediaBox;
  EXPECT_EQ(ReadPdfFacts(*a4).pages, 3);
}

TEST(PdfExportTest, APdfThatCannotBeWrittenLeavesTheOldOneAndTheReport) {
  TempFolder folder;
  const auto report = folder / "Report.doc";
  WriteFile(report, ReportHtml());
  std::string error;

  // A folder that is not there.
  const auto nowhere = folder / "missing" / "Report.pdf";
  EXPECT_FALSE(WriteReportPdf(report, nowhere, PaperSize::kA4, &error));
  EXPECT_NE(error.find("The PDF could not be saved as \"" + nowhere.string() + "\": "),
            std::string::npos)
      << error;
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

  // An older PDF that may not be replaced stays as it was.
  const auto pdf = folder / "Report.pdf";
  WriteFile(pdf, "the older PDF");
  ASSERT_EQ(::chmod(pdf.c_str(), 0444), 0);
  error.clear();
  EXPECT_FALSE(WriteReportPdf(report, pdf, PaperSize::kA4, &error));
  EXPECT_NE(error.find(pdf.string()), std::string::npos) << error;
  EXPECT_EQ(ReadFile(pdf), "the older PDF");
  EXPECT_EQ(ReadFile(report), ReportHtml());

  // A report that is not there gives no PDF.
  error.clear();
  EXPECT_FALSE(WriteReportPdf(folder / "none.doc", folder / "none.pdf", PaperSize::kA4, &error));
  EXPECT_EQ(error.rfind("The report could not be read: ", 0), 0u) << error;
  EXPECT_FALSE(std::filesystem::exists(folder / "none.pdf"));
}

// Answers the export's questions as a test sets them up and records what it was told.
class FakeSurroundings : public PdfExportSurroundings {
 public:
  FileExistsAnswer AskFileExists(const std::string& path) override {
    asked.push_back(path);
    return fileExists;
  }
  std::optional<std::filesystem::path> ChoosePdfFile(const std::filesystem::path& folder,
                                                     const std::string& proposedName) override {
    proposed = folder / proposedName;
    return chosen;
  }
  void ShowInformation(const std::string& message) override { information.push_back(message); }
  void ShowError(const std::string& message) override {
    EXPECT_EQ(busy, 0) << "the busy cursor hides the error";
    errors.push_back(message);
  }
  void ShowBusy(bool on) override { busy += on ? 1 : -1; }

  int busy = 0;
  FileExistsAnswer fileExists = FileExistsAnswer::Cancel;
  std::optional<std::filesystem::path> chosen;
  std::optional<std::filesystem::path> proposed;
  std::vector<std::string> asked, information, errors;
};

TEST(PdfExportTest, ExportWritesTheReportThenThePdfWhereTheUserChooses) {
  TempFolder folder;
  PdfExportJob job;
  job.reportDirectory = (folder / "Reports").string() + "/";
  job.reportPath = folder / "Reports" / "Sample, Ana 6.15.2024.doc";
  int generated = 0;
  job.generate = [&](const std::filesystem::path& path) {
    ++generated;
    WriteFile(path, ReportHtml());
    return true;
  };
  FakeSurroundings surroundings;

  // The dialog cancelled: the report is written (its folder made), no PDF, nothing said.
  PdfExportOutcome outcome = ExportReportPdf(job, surroundings);
  EXPECT_TRUE(outcome.generated);
  EXPECT_FALSE(outcome.pdf);
  EXPECT_EQ(surroundings.proposed, folder / "Reports" / "Sample, Ana 6.15.2024.pdf");
  EXPECT_TRUE(surroundings.information.empty());

  // An existing report: Cancel stops before anything; Open makes the PDF of it as it is.
  surroundings.chosen = folder / "Ana.pdf";
  outcome = ExportReportPdf(job, surroundings);
  EXPECT_EQ(surroundings.asked, std::vector<std::string>{job.reportPath.string()});
  EXPECT_FALSE(outcome.pdf);
  EXPECT_FALSE(std::filesystem::exists(folder / "Ana.pdf"));
  surroundings.fileExists = FileExistsAnswer::Open;
  outcome = ExportReportPdf(job, surroundings);
  EXPECT_FALSE(outcome.generated);
  EXPECT_EQ(generated, 1);
  ASSERT_EQ(outcome.pdf, folder / "Ana.pdf");
  EXPECT_EQ(ReadPdfFacts(ReadFile(folder / "Ana.pdf")).pictures, 2);
  EXPECT_EQ(surroundings.information, std::vector<std::string>{PdfSavedMessage(folder / "Ana.pdf")});

  // A PDF that cannot be written: the error, not the success.
  surroundings.chosen = folder / "missing" / "Ana.pdf";
  surroundings.information.clear();
  outcome = ExportReportPdf(job, surroundings);
  EXPECT_FALSE(outcome.pdf);
  EXPECT_TRUE(surroundings.information.empty());
  ASSERT_EQ(surroundings.errors.size(), 1u);
  EXPECT_NE(surroundings.errors[0].find("missing/Ana.pdf"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(job.reportPath));
  EXPECT_EQ(surroundings.busy, 0);
}

TEST(PdfExportTest, RowTablesJoinAndPiecesStartAtHeadingsAndBreaksOutsideBoxes) {
  const std::string row = "<table class=\"rows\" border=\"1\">";
  // Three row tables in a row become one; a table that opens differently, or text between,
  // keeps its own.
  EXPECT_EQ(JoinRowTables(row + "<tr><td>1</td></tr></table>\n" + row +
                          "<tr><td>2</td></tr></table>\r\n" + row + "<tr><td>3</td></tr></table>" +
                          "<table class=\"grid\"><tr><td>4</td></tr></table>" + row +
                          "<tr><td>5</td></tr></table><p>x</p>" + row + "<tr><td>6</td></tr></table>"),
            row + "<tr><td>1</td></tr><tr><td>2</td></tr><tr><td>3</td></tr></table>" +
                "<table class=\"grid\"><tr><td>4</td></tr></table>" + row +
                "<tr><td>5</td></tr></table><p>x</p>" + row + "<tr><td>6</td></tr></table>");

  const std::string head = "<html><head><style>h3 { color: red }</style></head><body>";
  const std::vector<ReportBlock> blocks = SplitReportBlocks(
      head + "<p>cover</p><div class=\"textbox\"><h3>in a box</h3><table><tr><td>boxed</td>"
             "</tr></table></div>\n<table class=\"grid\"><tr><td><table><tr><td>inner</td></tr>"
             "</table></td></tr></table>\r\n"
             "<h2 class=\"page\" style=\"page-break-before: always\">A</h2><p>a</p>"
             "<TABLE style=\"page-break-before: always\"><tr><td>1</td></tr></TABLE>"
             "<p style=\"page-break-before:always\">C</p></body></html>");
  using Kind = ReportBlock::Kind;
  ASSERT_EQ(blocks.size(), 5u);
  const auto body = [&](std::size_t i) { return blocks[i].html; };
  // A table in a box stays in its text; a table in a table goes with the outer one.
  EXPECT_EQ(body(0),
            "<p>cover</p><div class=\"textbox\"><h3>in a box</h3><table><tr><td>boxed</td>"
            "</tr></table></div>\n");
  EXPECT_EQ(body(1),
            "<table class=\"grid\"><tr><td><table><tr><td>inner</td></tr></table></td></tr>"
            "</table>");
  EXPECT_EQ(body(2), "<h2 class=\"page\" style=\"page-break-before: always\">A</h2><p>a</p>");
  EXPECT_EQ(body(3), "<TABLE style=\"page-break-before: always\"><tr><td>1</td></tr></TABLE>");
  EXPECT_EQ(body(4), "<p style=\"page-break-before:always\">C</p>");
  EXPECT_EQ((std::vector<Kind>{blocks[0].kind, blocks[1].kind, blocks[2].kind, blocks[3].kind,
                               blocks[4].kind}),
            (std::vector<Kind>{Kind::kText, Kind::kTable, Kind::kText, Kind::kTable, Kind::kText}));
  EXPECT_EQ((std::vector<bool>{blocks[0].newPage, blocks[1].newPage, blocks[2].newPage,
                               blocks[3].newPage, blocks[4].newPage}),
            (std::vector<bool>{false, false, true, true, true}));
}

}  // namespace
}  // namespace ardvane
