#include "reports/report_language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "reports/report_document.h"
#include "tests/reports/report_test_files.h"

namespace ardvane {
namespace {

using testing::ProgramFolder;
using Lines = std::vector<std::string>;

TEST(TranslateTest, LooksPhrasesUpLineByLine) {
  ProgramFolder folder;
  folder.Write("Language.kdf",
               "English;Spanish\r\nPer year;por año\r\nyear;año\r\nand;y;o\r\neach;\r\n");
  const auto tr = [&](const char* phrase, Language language = Language::kSpanish) {
    return Translate(phrase, language, folder.path());
  };
  EXPECT_EQ(tr("English"), "Spanish");
  EXPECT_EQ(tr("year"), "por año") << "the key may stand inside a longer line; the first wins";
  EXPECT_EQ(tr("and"), "y;o") << "everything after the first semicolon";
  EXPECT_EQ(tr("each"), "each") << "an empty translation keeps the phrase";
  EXPECT_EQ(tr("Visa"), "Visa");
  EXPECT_EQ(tr("year", Language::kEnglish), "year") << "English reads no file";
  ProgramFolder empty;
  EXPECT_EQ(Translate("English", Language::kSpanish, empty.path()), "English") << "no Language.kdf";
}

TEST(TranslateTest, NamesAndShortPhrasesMatchOnlyTheWholePhraseOfALine) {
  ProgramFolder folder;
  folder.Write("Language.kdf",
               "English;Spanish\r\nVISA UNA;Visa Una\r\nCar loan;Préstamo del auto\r\n"
               "NA;N/D\r\nCar loan;otro\r\nEmpty;\r\n");
  const ReportPhrases spanish(folder.path(), Language::kSpanish);
  EXPECT_EQ(spanish.NoDate(), "N/D");
  EXPECT_EQ(spanish.Translate("NA"), "Visa Una") << "what the looser rule would print";
  EXPECT_EQ(spanish.TranslateExactly("Car loan"), "Préstamo del auto") << "the first line wins";
  EXPECT_EQ(spanish.TranslateExactly("loan"), "loan");
  EXPECT_EQ(spanish.TranslateExactly("A"), "A");
  EXPECT_EQ(spanish.TranslateExactly("Empty"), "Empty");
  const ReportPhrases english(folder.path(), Language::kEnglish);
  EXPECT_EQ(english.NoDate(), "NA");
  EXPECT_EQ(english.TranslateExactly("Car loan"), "Car loan");
}

TEST(TranslateTest, EveryShippedPhraseFindsItsOwnLine) {
  // Under the looser rule an earlier line ending in a phrase would take its place.
  const std::filesystem::path dist = ARDVANE_DIST_DIR;
  std::ifstream file(dist / "Language.kdf", std::ios::binary);
  const ReportPhrases phrases(dist, Language::kSpanish);
  std::string line;
  int lines = 0;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string phrase = line.substr(0, line.find(';'));
    const std::string translation = line.substr(line.find(';') + 1);
    EXPECT_EQ(phrases.Translate(phrase), translation) << line;
    EXPECT_EQ(phrases.TranslateExactly(phrase), translation) << line;
    ++lines;
  }
  EXPECT_GT(lines, 10);
  EXPECT_EQ(phrases.NoDate(), "N/D");
}

TEST(GetParagraphTest, ReadsTheLanguageFolderAndReportsWhatIsMissing) {
  ProgramFolder folder;
  folder.Write("Templates/English/Closer.ktf", "</body>\r\n</html>\r\n");
  folder.Write("Templates/Spanish/Closer.ktf", "<!-- es -->\n</html>");
  folder.Write("Templates/English/Blank.ktf", "\r\n");
  std::vector<std::string> shown;
  const auto show = [&](const std::string& text) { shown.push_back(text); };

  // Without Language.kdf every language reads the English folder.
  EXPECT_EQ(GetParagraph("Closer", Language::kSpanish, folder.path(), show),
            (Lines{"</body>", "</html>"}));
  folder.Write("Language.kdf", "English;Spanish\n");
  EXPECT_EQ(GetParagraph("Closer", Language::kEnglish, folder.path(), show),
            (Lines{"</body>", "</html>"}));
  EXPECT_EQ(GetParagraph("Closer", Language::kSpanish, folder.path(), show),
            (Lines{"<!-- es -->", "</html>"}));
  EXPECT_TRUE(shown.empty());

  EXPECT_TRUE(GetParagraph("Header", Language::kEnglish, folder.path(), show).empty());
  EXPECT_TRUE(GetParagraph("Blank", Language::kEnglish, folder.path(), show).empty());
  const std::string english = (folder.path() / "Templates" / "English").string();
  EXPECT_EQ(shown, (Lines{"Could not find paragraph " + english + "/Header.ktf.",
                          "Could not find paragraph " + english + "/Blank.ktf."}));
}

TEST(ReportSourcesTest, ReadsOnceAndCollectsEachMissingParagraphOnce) {
  ProgramFolder folder;
  folder.Write("Language.kdf", "English;Spanish\nyear;año\n");
  folder.Write("Templates/Spanish/Row.ktf", "<tr>[$A$]</tr>\n");
  ReportSources sources(folder.path(), Language::kSpanish);
  EXPECT_EQ(sources.Paragraph("Row"), Lines{"<tr>[$A$]</tr>"});
  // A second read would see the new text; the run keeps what it read.
  folder.Write("Templates/Spanish/Row.ktf", "changed\n");
  EXPECT_EQ(sources.Paragraph("Row"), Lines{"<tr>[$A$]</tr>"});
  for (int row = 0; row < 30; ++row) EXPECT_TRUE(sources.Paragraph("Missing").empty());
  EXPECT_TRUE(sources.Paragraph("AlsoMissing").empty());
  EXPECT_TRUE(sources.Paragraph("Missing").empty());
  const std::filesystem::path spanish = folder.path() / "Templates" / "Spanish";
  EXPECT_EQ(
      sources.missingParagraphs(),
      (std::vector<std::filesystem::path>{spanish / "Missing.ktf", spanish / "AlsoMissing.ktf"}));
  EXPECT_EQ(MissingParagraphMessage(spanish / "Missing.ktf"),
            "Could not find paragraph " + (spanish / "Missing.ktf").string() + ".");
  EXPECT_EQ(sources.Translate("year"), "año");
}

TEST(ReportSourcesTest, AParagraphFolderOutsideTemplatesIsRefusedAndNothingThereIsRead) {
  ProgramFolder folder;
  folder.Write("Secret/Row.ktf", "private\n");
  folder.Write("Templates/es/Row.ktf", "<tr>[$A$]</tr>\n");
  for (const std::string& named : std::vector<std::string>{
           "../Secret", "es/../../Secret", (folder.path() / "Secret").string()}) {
    folder.Write("Language.kdf", "English;" + named + "\n");
    ReportSources sources(folder.path(), Language::kSpanish);
    EXPECT_TRUE(sources.Paragraph("Row").empty()) << named;
    EXPECT_TRUE(sources.missingParagraphs().empty()) << named;
    EXPECT_NE(sources.folderStatus().message().find("\"" + named + "\""), std::string::npos)
        << sources.folderStatus().message();
    std::vector<std::string> shown;
    EXPECT_TRUE(
        GetParagraph("Row", Language::kSpanish, folder.path(), [&](const std::string& message) {
          shown.push_back(message);
        }).empty());
    EXPECT_EQ(shown, std::vector<std::string>{sources.folderStatus().message()});
  }
  folder.Write("Language.kdf", "English;es\n");
  ReportSources sources(folder.path(), Language::kSpanish);
  EXPECT_EQ(sources.Paragraph("Row"), Lines{"<tr>[$A$]</tr>"});
  EXPECT_TRUE(sources.folderStatus().ok());
}

// The system reads a path only up to a NUL byte: "Row.ktf\0" would read Templates/Row.ktf as
// every paragraph. A folder named with a control character is refused, and the message shows
// the character as "?".
TEST(ReportSourcesTest, AParagraphFolderWithAControlCharacterIsRefused) {
  ProgramFolder folder;
  folder.Write("Templates/Row.ktf", "<tr>[$A$]</tr>\n");
  for (const std::string& named :
       {std::string("Row.ktf\0", 8), std::string("es\0/x", 6), std::string("es\tx")}) {
    folder.Write("Language.kdf", "English;" + named + "\n");
    ReportSources sources(folder.path(), Language::kSpanish);
    EXPECT_TRUE(sources.Paragraph("Row").empty());
    EXPECT_TRUE(sources.missingParagraphs().empty());
    std::string shown = named;
    std::replace_if(
        shown.begin(), shown.end(), [](char c) { return c == '\0' || c == '\t'; }, '?');
    EXPECT_NE(sources.folderStatus().message().find("\"" + shown + "\""), std::string::npos)
        << sources.folderStatus().message();
  }
}

TEST(ReportDocumentTest, FillsInOnePassAndInsertsEachValueOnce) {
  ReportDocument report;
  report.addReplacement("[$FirstName$]", "Ana");
  report.addReplacement("[$LastName$]", "Ruiz");
  report.setTemplateText({"Dear [$FirstName$] [$LastName$],", "Dear [$firstname$],"});
  report.applyReplacements();
  EXPECT_EQ(report.reportText(), (Lines{"Dear Ana Ruiz,", "Dear [$firstname$],"}))
      << "placeholders are case-sensitive";

  // A value is inserted as it stands: placeholders in it, registered before or after its
  // own, are never replaced. A placeholder registered twice keeps its first value.
  report.clearReplacements();
  report.addReplacement("[$B$]", "b");
  report.addReplacement("[$A$]", "<[$B$]|[$C$]>");
  report.addReplacement("[$C$]", "c");
  report.addReplacement("[$C$]", "twice");
  report.setTemplateText({"[$A$] [$Unknown$] [$C$][$B$]", "[$A", "$]"});
  report.applyReplacements();
  EXPECT_EQ(report.reportText(), (Lines{"<[$B$]|[$C$]> [$Unknown$] cb", "[$A", "$]"}))
      << "a placeholder split over two lines is not matched";

  // Where two placeholders start at one position the one registered first wins; the scan
  // goes on after the text it replaced.
  report.clearReplacements();
  report.addReplacement("[$A$]", "long");
  report.addReplacement("[$A", "short");
  report.addReplacement("$]x", "never");
  report.setTemplateText({"[$A$]x [$A"});
  report.applyReplacements();
  EXPECT_EQ(report.reportText(), Lines{"longx short"});

  // A value with a line break becomes two lines.
  report.clearReplacements();
  report.addReplacement("[$X$]", "one\ntwo");
  report.setTemplateText({"[$X$]"});
  report.addTemplateTextString("end");
  report.applyReplacements();
  EXPECT_EQ(report.reportText(), (Lines{"one", "two", "end"}));
}

}  // namespace
}  // namespace ardvane
