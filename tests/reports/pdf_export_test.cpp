#include "reports/pdf_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

#include "reports/pdf_layout.h"
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
  const StatusOr<std::string> letter = RenderReportPdf(ReportHtml(), PaperSize::kLetter);
  ASSERT_TRUE(letter.ok()) << letter.status().message();
  const testing::PdfFacts facts = ReadPdfFacts(*letter);
  EXPECT_EQ(facts.pictures, 2);
  EXPECT_EQ(facts.pages, 3);
  EXPECT_EQ(facts.title, "Plan for Ana & Luis");
  EXPECT_EQ(facts.mediaBox.substr(0, 11), "0 0 612.000") << facts.mediaBox;  // 8.5 x 11 in

  const StatusOr<std::string> a4 = RenderReportPdf(ReportHtml(), PaperSize::kA4);
  ASSERT_TRUE(a4.ok()) << a4.status().message();
  EXPECT_EQ(ReadPdfFacts(*a4).mediaBox.substr(0, 11), "0 0 595.000") << ReadPdfFacts(*a4).mediaBox;
  EXPECT_EQ(ReadPdfFacts(*a4).pages, 3);
}

TEST(PdfExportTest, APdfThatCannotBeWrittenLeavesTheOldOneAndTheReport) {
  TempFolder folder;
  const auto report = folder / "Report.doc";
  WriteFile(report, ReportHtml());

  // A folder that is not there.
  const auto nowhere = folder / "missing" / "Report.pdf";
  EXPECT_EQ(
      WriteReportPdf(report, nowhere, PaperSize::kA4).message(),
      "The PDF could not be saved as \"" + nowhere.string() + "\": " + std::strerror(ENOENT) + ".");
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

  // An older PDF that may not be replaced stays as it was.
  const auto pdf = folder / "Report.pdf";
  WriteFile(pdf, "the older PDF");
  ASSERT_EQ(::chmod(pdf.c_str(), 0444), 0);
  const Status readOnly = WriteReportPdf(report, pdf, PaperSize::kA4);
  EXPECT_EQ(readOnly.code(), Status::Code::kIoError);
  EXPECT_NE(readOnly.message().find(pdf.string()), std::string::npos) << readOnly.message();
  EXPECT_EQ(ReadFile(pdf), "the older PDF");
  EXPECT_EQ(ReadFile(report), ReportHtml());

  // A report that is not there gives no PDF.
  const Status noReport = WriteReportPdf(folder / "none.doc", folder / "none.pdf", PaperSize::kA4);
  EXPECT_TRUE(noReport.IsNotFound());
  EXPECT_EQ(noReport.message(), "The report could not be read: \"" +
                                    (folder / "none.doc").string() +
                                    "\": " + std::strerror(ENOENT));
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
  bool Confirm(const std::string& question) override {
    questions.push_back(question);
    return true;
  }
  std::vector<std::string> questions;

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
  FakeSurroundings surroundings;
  std::size_t questionsBeforeGenerating = 0;
  job.generate = [&](const std::filesystem::path& path, bool dropStalePdf) {
    ++generated;
    WriteFile(path, ReportHtml());
    questionsBeforeGenerating = surroundings.questions.size();
    if (dropStalePdf) std::filesystem::remove(PdfPathFor(path));
    return true;
  };

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
  EXPECT_EQ(surroundings.information,
            std::vector<std::string>{PdfSavedMessage(folder / "Ana.pdf")});

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

  // A report written again beside an older PDF of this program: the user is asked before the
  // report is written whether it goes, as it would show other figures.
  const std::filesystem::path beside = PdfPathFor(job.reportPath);
  surroundings.chosen = beside;
  ASSERT_EQ(ExportReportPdf(job, surroundings).pdf, beside);
  EXPECT_TRUE(surroundings.questions.empty());
  surroundings.fileExists = FileExistsAnswer::Overwrite;
  surroundings.chosen = folder / "Ana.pdf";
  ASSERT_EQ(ExportReportPdf(job, surroundings).pdf, folder / "Ana.pdf");
  ASSERT_EQ(surroundings.questions.size(), 1u);
  EXPECT_EQ(questionsBeforeGenerating, 1u);
  EXPECT_FALSE(std::filesystem::exists(beside));
}

// The text of each page of a PDF as `pdftotext -layout` reads it; nothing when the tool is
// not installed (poppler-utils).
std::optional<std::vector<std::string>> PageTexts(const std::string& pdf) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return std::nullopt;
  QProcess process;
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QStringLiteral("-"), QStringLiteral("-")});
  process.write(pdf.data(), static_cast<qint64>(pdf.size()));
  process.closeWriteChannel();
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return std::nullopt;
  std::vector<std::string> pages;
  for (const QByteArray& page : process.readAllStandardOutput().split('\f')) {
    pages.push_back(page.toStdString());
  }
  if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos)
    pages.pop_back();
  return pages;
}

// The money figures of `text` that are not whole ("$184,573.5" where a line broke).
std::vector<std::string> BrokenFigures(const std::string& text) {
  static const QRegularExpression kCandidate(QStringLiteral(R"(\$[0-9][0-9,.]*|\$\s*$)"),
                                             QRegularExpression::MultilineOption);
  static const QRegularExpression kWhole(
      QStringLiteral(R"(^\$[0-9]{1,3}(,[0-9]{3})*\.[0-9]{2}[.,]?$)"));
  std::vector<std::string> broken;
  auto it = kCandidate.globalMatch(QString::fromStdString(text));
  while (it.hasNext()) {
    const QString figure = it.next().captured();
    if (!kWhole.match(figure).hasMatch()) broken.push_back(figure.toStdString());
  }
  return broken;
}

std::string Head() {
  return ReadFile(std::filesystem::path(ARDVANE_DIST_DIR) / "Templates" / "English" / "Header.ktf");
}

// A long schedule as the report writes it: before, a table per row after a table of the
// heading row; now, one table with its heading row in <thead>, a page footer of an office
// suite and headings that ask to stay with what follows. Its figures are wider than the
// columns ask for.
std::string ScheduleHtml(bool newForm, int rows) {
  const std::string table =
      "<table class=\"rows\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">";
  const std::string headings =
      "<tr><th width=\"8%\">Year</th><th width=\"8%\">Month</th><th width=\"16%\" "
      "align=\"right\">Beginning balance</th><th width=\"12%\" align=\"right\">Interest</th>"
      "<th width=\"14%\" align=\"right\">Monthly payment</th><th width=\"14%\" "
      "align=\"right\">Extra payment</th><th width=\"14%\" align=\"right\">Total payment</th>"
      "<th width=\"14%\" align=\"right\">Ending balance</th></tr>";
  std::string html = Head();
  if (newForm) {
    html +=
        "<div title=\"footer\"><p align=\"center\">Footer of the office suite "
        "<sdfield type=PAGE subtype=RANDOM format=PAGE>1</sdfield></p></div>";
  }
  html +=
      "<h2 class=\"page\" style=\"page-break-before: always; page-break-after: avoid\">"
      "Amortization Table: Mortgage</h2>\n<p>This debt is the 1st to be paid off.</p>\n";
  html += newForm ? table + "<thead>" + headings + "</thead><tbody>\n"
                  : table + "\n" + headings + "\n</table>\n";
  for (int i = 0; i < rows; ++i) {
    const std::string row = "<tr><td width=\"8%\">" + std::to_string(2026 + i / 12) +
                            "</td><td width=\"8%\">Sep</td><td align=\"right\">$184,573," +
                            std::to_string(100 + i % 900) +
                            ".54</td><td align=\"right\">$91,914.39</td><td align=\"right\">"
                            "$1,390,000.00</td><td align=\"right\">$163,000.65</td>"
                            "<td align=\"right\">$1,553,000.65</td><td align=\"right\">"
                            "$175,086,512.57</td></tr>";
    html += newForm ? row + "\n" : table + row + "</table>\n";
  }
  if (newForm) html += "</tbody></table>\n";
  return html + "</body>\n</html>\n";
}

TEST(PdfExportTest, LongWordsAreOfferedBreaksOutsideTagsEntitiesAndCharacters) {
  const QChar space(0x200B);
  // Words up to 48 characters, tags and attributes are left as they are.
  const QString shortWords = QStringLiteral("<p title=\"") + QString(200, u'T') +
                             QStringLiteral("\">") + QString(48, u'x') + u' ' +
                             QString(48, u'y') + QStringLiteral("</p>");
  EXPECT_EQ(OfferBreaksInLongWords(shortWords), shortWords);

  // A long word: a break every 8 characters after the 48th, none in the tag in it.
  const QString longWord = QString(60, u'a') + QStringLiteral("<b class=\"") + QString(60, u'c') +
                           QStringLiteral("\">") + QString(20, u'b') + QStringLiteral("</b>");
  const QString offered = OfferBreaksInLongWords(longWord);
  EXPECT_EQ(QString(offered).remove(space), longWord);
  EXPECT_EQ(offered.count(space), 4);  // before characters 48, 56, 64 and 72
  EXPECT_TRUE(offered.startsWith(QString(48, u'a') + space + QString(8, u'a') + space));
  EXPECT_TRUE(offered.contains(QStringLiteral("<b class=\"") + QString(60, u'c') + u'"'));

  // An entity counts as one character and is never cut; nor is a letter from its mark.
  QString marked;
  for (int i = 0; i < 40; ++i) marked += QStringLiteral("e\u0301&amp;");
  const QString marks = OfferBreaksInLongWords(marked);
  EXPECT_EQ(QString(marks).remove(space), marked);
  EXPECT_GT(marks.count(space), 0);
  for (qsizetype at = marks.indexOf(space); at >= 0; at = marks.indexOf(space, at + 1)) {
    ASSERT_LT(at + 1, marks.size());
    EXPECT_NE(marks[at + 1], QChar(0x0301)) << at;
    EXPECT_TRUE(marks[at + 1] == u'e' || marks[at + 1] == u'&') << at;
  }

  // A stray "&" is no entity when a tag comes before the next ";": the tag is still skipped.
  const QString stray = QString(60, u'a') + QStringLiteral("&T<b s=\"a;") + QString(60, u'c') +
                        QStringLiteral("\">x</b>");
  const QString strayOffered = OfferBreaksInLongWords(stray);
  EXPECT_EQ(QString(strayOffered).remove(space), stray);
  EXPECT_TRUE(strayOffered.contains(QStringLiteral("<b s=\"a;") + QString(60, u'c') + u'"'))
      << strayOffered.toStdString();
}

TEST(PdfExportTest, LongSchedulesKeepTheirFiguresWholeAndTheirHeadingsOnEveryPage) {
  for (const bool newForm : {false, true}) {
    SCOPED_TRACE(newForm ? "one table with <thead>" : "a table per row");
    const StatusOr<std::string> pdf =
        RenderReportPdf(ScheduleHtml(newForm, 150), PaperSize::kLetter);
    ASSERT_TRUE(pdf.ok()) << pdf.status().message();
    const auto pages = PageTexts(*pdf);
    if (!pages) GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_GE(pages->size(), 3u);
    for (std::size_t page = 0; page < pages->size(); ++page) {
      const std::string& text = (*pages)[page];
      SCOPED_TRACE("page " + std::to_string(page + 1) + ":\n" + text);
      EXPECT_EQ(BrokenFigures(text), std::vector<std::string>());
      // The heading row on every page, each heading whole.
      for (const char* heading : {"Year", "Month", "Beginning", "Interest", "Ending"}) {
        EXPECT_NE(text.find(heading), std::string::npos) << heading;
      }
      EXPECT_EQ(text.find("Mont\n"), std::string::npos);
      // The page's own number at its foot, and nothing of the document's footer.
      EXPECT_EQ(text.find("Footer of the office suite"), std::string::npos);
      const std::size_t last = text.find_last_not_of(" \n");
      const std::size_t start = text.find_last_of(" \n", last) + 1;
      EXPECT_EQ(text.substr(start, last + 1 - start), std::to_string(page + 1));
    }
    // The heading stays with the table's first rows.
    EXPECT_NE(pages->front().find("Amortization Table: Mortgage"), std::string::npos);
    EXPECT_NE(pages->front().find("2026"), std::string::npos);
  }
}

// The index of the first page whose text has `text` as a whole word; -1 when none has.
int PageOf(const std::vector<std::string>& pages, const std::string& text) {
  for (std::size_t page = 0; page < pages.size(); ++page) {
    if (pages[page].find(text + "\n") != std::string::npos ||
        pages[page].find(text + " ") != std::string::npos) {
      return static_cast<int>(page);
    }
  }
  return -1;
}

TEST(PdfExportTest, AHeadingNeverStandsAloneAtTheFootOfAPage) {
  // Filler lines push a heading, its lead-in paragraph and a long table a line further
  // down each time, so that the foot of the first page falls at each of them in turn.
  bool spannedPages = false;
  for (int filler = 30; filler < 62; ++filler) {
    std::string html = Head();
    for (int line = 0; line < filler; ++line)
      html += "<p>Filler " + std::to_string(line) + "</p>\n";
    html +=
        "<h3>Schedule</h3>\n<p>A lead-in paragraph.</p>\n<table class=\"rows\" width=\"100%\" "
        "border=\"1\" cellpadding=\"3\"><tr><th>Debt</th><th align=\"right\">Payment</th></tr>";
    for (int row = 0; row < 40; ++row) {
      html += "<tr><td>" +
              std::string(row == 0   ? "top-row"
                          : row == 2 ? "third-row"
                                     : "Card") +
              "</td><td align=\"right\">$1,234.56</td></tr>";
    }
    html += "</table></body></html>";
    const StatusOr<std::string> pdf = RenderReportPdf(html, PaperSize::kA4);
    ASSERT_TRUE(pdf.ok()) << pdf.status().message();
    const auto pages = PageTexts(*pdf);
    if (!pages) GTEST_SKIP() << "pdftotext is not installed";
    SCOPED_TRACE(std::to_string(filler) + " lines before:\n" + pages->front());
    const int heading = PageOf(*pages, "Schedule");
    ASSERT_NE(heading, -1);
    spannedPages = spannedPages || heading > 0;
    EXPECT_EQ(PageOf(*pages, "A lead-in paragraph."), heading);
    EXPECT_EQ(PageOf(*pages, "Debt"), heading);
    EXPECT_EQ(PageOf(*pages, "top-row"), heading);
    EXPECT_EQ(PageOf(*pages, "third-row"), heading);
  }
  EXPECT_TRUE(spannedPages) << "the heading never reached the second page";

  // Headings between short tables, at every height of a page: each stays with its table.
  std::string html = Head();
  for (int section = 0; section < 40; ++section) {
    html += "<h3>Section " + std::to_string(section) +
            "</h3>\n<table class=\"grid\" width=\"100%\" "
            "border=\"1\"><tr><th>Debt</th><th align=\"right\">Payment</th></tr>";
    for (int row = 0; row < 1 + section % 7; ++row) {
      html += "<tr><td>" + std::string(row == 0 ? "top-of-" + std::to_string(section) : "Card") +
              "</td><td align=\"right\">$1,234.56</td></tr>";
    }
    html += "</table>\n";
  }
  html += "</body></html>";
  const StatusOr<std::string> pdf = RenderReportPdf(html, PaperSize::kA4);
  ASSERT_TRUE(pdf.ok()) << pdf.status().message();
  const auto pages = PageTexts(*pdf);
  ASSERT_TRUE(pages);
  for (int section = 0; section < 40; ++section) {
    const std::string heading = "Section " + std::to_string(section);
    EXPECT_NE(PageOf(*pages, heading), -1) << heading;
    EXPECT_EQ(PageOf(*pages, heading), PageOf(*pages, "top-of-" + std::to_string(section)))
        << heading;
  }
}

TEST(PdfExportTest, NamesWithBidiMarksAndControlCharactersGiveAPdf) {
  const std::string names[] = {"\u202EMaria \u200FSample", "\u0645\u0631\u064A\u0645",
                               "\u05E9\u05E8\u05D4 \U0001F600",
                               "a\x01\x02\x1b"
                               "b",
                               std::string(30000, 'N')};
  std::string html = Head() + "<div class=\"textbox\">";
  for (const std::string& name : names) html += "<p>" + name + "</p>";
  html +=
      "</div><table class=\"grid\" width=\"100%\" border=\"1\"><tr><th>Debt</th>"
      "<th>Balance</th></tr>";
  for (const std::string& name : names) {
    html += "<tr><td>" + name + "</td><td align=\"right\">$1,234.56</td></tr>";
  }
  html += "</table></body></html>";
  const StatusOr<std::string> pdf = RenderReportPdf(html, PaperSize::kA4);
  ASSERT_TRUE(pdf.ok()) << pdf.status().message();
  EXPECT_GE(ReadPdfFacts(*pdf).pages, 1);
}

TEST(PdfExportTest, ARowTallerThanAPageGoesOnOverThePagesWholeUnderItsHeadings) {
  // A name of 3,000 numbered words in four looks (plain, bold, coloured, italic), in two rows:
  // each word must be shown once in each, the second drawn from the first one's layout.
  constexpr int kWords = 3000;
  constexpr const char* kLooks[][2] = {
      {"", ""}, {"<b>", "</b>"}, {"<font color=\"#c00000\">", "</font>"}, {"<i>", "</i>"}};
  std::string name;
  for (int word = 0; word < kWords; ++word) {
    char text[16];
    std::snprintf(text, sizeof text, "n%05d ", word);
    const auto& look = kLooks[word / 7 % 4];
    name += look[0] + std::string(text) + look[1];
  }
  const std::string html = Head() +
                           "<h2>Your Current Debts</h2><table class=\"grid\" "
                           "width=\"100%\" border=\"1\"><tr><th>Debt</th><th>Balance</th></tr>"
                           "<tr><td>" +
                           name + "</td><td align=\"right\">$50,000.00</td></tr><tr><td>" + name +
                           "</td><td align=\"right\">$60,000.00</td></tr>"
                           "<tr><td>Car loan</td><td align=\"right\">$5,000.00</td></tr>"
                           "</table></body></html>";
  const StatusOr<std::string> pdf = RenderReportPdf(html, PaperSize::kA4);
  ASSERT_TRUE(pdf.ok()) << pdf.status().message();
  const auto pages = PageTexts(*pdf);
  if (!pages) GTEST_SKIP() << "pdftotext is not installed";
  ASSERT_GE(pages->size(), 5u);
  std::vector<int> shown(kWords, 0);
  for (const std::string& page : *pages) {
    EXPECT_NE(page.find("Debt"), std::string::npos) << page;
    for (std::size_t at = page.find('n'); at != std::string::npos; at = page.find('n', at + 1)) {
      if (at + 6 <= page.size() && std::isdigit(static_cast<unsigned char>(page[at + 1]))) {
        ++shown[static_cast<std::size_t>(std::atoi(page.substr(at + 1, 5).c_str()))];
      }
    }
  }
  for (int word = 0; word < kWords; ++word) EXPECT_EQ(shown[word], 2) << "word " << word;
  EXPECT_NE(pages->back().find("Car loan"), std::string::npos);
  EXPECT_NE(pages->front().find("$50,000.00"), std::string::npos) << "at the top of the row";
  EXPECT_EQ(pages->back().find("$50,000.00"), std::string::npos);
}

TEST(PdfExportTest, TextHoldingTheCharacterThatPartsItsStretchesIsDrawnWhole) {
  // The text between tables is laid out in one document whose stretches a paragraph of
  // U+E000 parts; a document holding such a paragraph itself is laid out another way.
  const std::string table = "<table border=\"1\"><tr><td>$1.00</td></tr></table>";
  const std::string html = Head() + "<p>alpha-text</p>" + table + "<p>&#xE000;</p>" +
                           "<p>beta-text</p>" + table + "<p>gamma-text</p></body></html>";
  const StatusOr<std::string> pdf = RenderReportPdf(html, PaperSize::kA4);
  ASSERT_TRUE(pdf.ok()) << pdf.status().message();
  const auto pages = PageTexts(*pdf);
  if (!pages) GTEST_SKIP() << "pdftotext is not installed";
  ASSERT_EQ(pages->size(), 1u);
  const std::string& text = pages->front();
  EXPECT_LT(text.find("alpha-text"), text.find("beta-text")) << text;
  EXPECT_LT(text.find("beta-text"), text.find("gamma-text")) << text;
  EXPECT_NE(text.find("gamma-text"), std::string::npos) << text;

  // No text at all: the table alone.
  const StatusOr<std::string> tableOnly =
      RenderReportPdf("<html><body>" + table + "</body></html>", PaperSize::kA4);
  ASSERT_TRUE(tableOnly.ok()) << tableOnly.status().message();
  EXPECT_NE(PageTexts(*tableOnly)->front().find("$1.00"), std::string::npos);
}

TEST(PdfExportTest, DocumentsCutShortOrMalformedStillGiveAPdf) {
  for (const std::string html :
       {"", "plain text", "<html><body>", "<body><table>", "<body><table><tr><td>$1.00",
        "<body><table><tr><td colspan=\"99999\">x</td></tr><tr><td>y</td></tr></table></body>",
        "<body><table><thead><tr><th>A</th></tr></thead></table></body>",
        "<body><table><tr><td>a</td></tr></table><table><tr><td>b</td></tr>",
        "<body><div title=\"footer\"><table><tr><td>x</td></tr></table>",
        "<body><p style=\"page-break-before: always\"></p><h1>x</h1></body>",
        "<body><table><tr><td>&#0; &#xD800; &#x110000; &bogus; &amp</td></tr></table></body>"}) {
    const StatusOr<std::string> pdf = RenderReportPdf(html, PaperSize::kA4);
    ASSERT_TRUE(pdf.ok()) << html << ": " << pdf.status().message();
    EXPECT_GE(ReadPdfFacts(*pdf).pages, 1) << html;
  }
}

TEST(PdfExportTest, PartsStartAtTablesAndPageBreaksOutsideBoxesWithoutPageFooters) {
  const std::string head = "<html><head><style>h3 { color: red }</style></head><body>";
  const std::string document =
      head +
      "<p>cover</p><div class=\"textbox\"><h3>in a box</h3><table><tr><td>boxed</td>"
      "</tr></table></div>\n<table class=\"grid\"><tr><td><table><tr><td>inner</td></tr>"
      "</table></td></tr></table>\r\n"
      "<h2 class=\"page\" style=\"page-break-before: always\">A</h2><p>a</p>"
      "<div title=\"footer\"><p>page</p></div>\r\n"
      "<TABLE style=\"page-break-before: always\"><tr><td>1</td></tr></TABLE>"
      "<p style=\"page-break-before:always\">C</p></body></html>";
  const std::vector<PdfPart> parts = PdfPartsOf(CutReportBlocks(document));
  using Kind = PdfPart::Kind;
  ASSERT_EQ(parts.size(), 5u);
  const auto body = [&](std::size_t i) { return parts[i].html; };
  // A table in a box stays in its text; a table in a table goes with the outer one.
  EXPECT_EQ(body(0),
            "<p>cover</p><div class=\"textbox\"><h3>in a box</h3><table><tr><td>boxed</td>"
            "</tr></table></div>\n");
  EXPECT_EQ(body(1),
            "<table class=\"grid\"><tr><td><table><tr><td>inner</td></tr></table></td></tr>"
            "</table>");
  EXPECT_EQ(body(2), "<h2 class=\"page\" style=\"page-break-before: always\">A</h2><p>a</p>\r\n");
  EXPECT_EQ(body(3), "<TABLE style=\"page-break-before: always\"><tr><td>1</td></tr></TABLE>");
  EXPECT_EQ(body(4), "<p style=\"page-break-before:always\">C</p>");
  EXPECT_EQ((std::vector<Kind>{parts[0].kind, parts[1].kind, parts[2].kind, parts[3].kind,
                               parts[4].kind}),
            (std::vector<Kind>{Kind::kText, Kind::kTable, Kind::kText, Kind::kTable, Kind::kText}));
  EXPECT_EQ((std::vector<bool>{parts[0].newPage, parts[1].newPage, parts[2].newPage,
                               parts[3].newPage, parts[4].newPage}),
            (std::vector<bool>{false, false, true, true, true}));
  // Blanks between two tables make no part; a document without a body is one part of text.
  const std::vector<PdfPart> tables = PdfPartsOf(CutReportBlocks(
      "<body><table><tr><td>1</td></tr></table>\r\n \r\n<table><tr><td>2</td></tr></table>"
      "</body>"));
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_EQ(tables[1].html, "<table><tr><td>2</td></tr></table>");
  const std::vector<PdfPart> bodiless = PdfPartsOf(CutReportBlocks("<p>x</p><table></table>"));
  ASSERT_EQ(bodiless.size(), 1u);
  EXPECT_EQ(bodiless[0].html, "<p>x</p><table></table>");
}

}  // namespace
}  // namespace ardvane
