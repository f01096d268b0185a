// The shipped templates assembled over the sample plan.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "planfiles/plan_file.h"
#include "reports/report_generator.h"
#include "reports/text_boxes.h"
#include "tests/reports/report_test_files.h"
#include "tests/test_regional.h"

namespace ardvane {
namespace {

using testing::kPointRegional;
const std::filesystem::path kDist = ARDVANE_DIST_DIR;

// Checks that every element is closed in order (void elements excepted); returns the first
// fault, or the empty text.
std::string CheckWellFormed(const std::string& html) {
  static const std::set<std::string> kVoid = {"meta", "br", "img", "hr", "col", "link", "input"};
  std::vector<std::string> open;
  std::size_t at = 0;
  while ((at = html.find('<', at)) != std::string::npos) {
    const std::size_t end = html.find('>', at);
    if (end == std::string::npos) return "unfinished tag at " + std::to_string(at);
    std::string tag = html.substr(at + 1, end - at - 1);
    at = end + 1;
    if (tag.empty() || tag[0] == '!') continue;
    const bool closing = tag[0] == '/';
    std::string name;
    for (std::size_t i = closing ? 1 : 0; i < tag.size() && std::isalnum(static_cast<unsigned char>(tag[i])); ++i) {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(tag[i])));
    }
    if (kVoid.count(name)) continue;
    if (!closing) {
      open.push_back(name);
    } else if (open.empty() || open.back() != name) {
      return "</" + name + "> closes <" + (open.empty() ? "" : open.back()) + "> at " +
             std::to_string(at);
    } else {
      open.pop_back();
    }
  }
  return open.empty() ? "" : "<" + open.back() + "> left open";
}

// The sample plan with the company's details and every section the settings print by default.
struct SampleReport : testing::ReportFixture {
  SampleReport() {
    ReadSample();
    settings.CompanyName = "Norte Debt Advisers";
    settings.CompanyAddress = "12 Main Street";
    settings.CompanyPhone = "555-0100";
  }

  std::string Assemble(Language language) { return AssembleText(kDist, language); }
};

TEST(ReportTemplatesTest, BothLanguagesHaveTheSameParagraphs) {
  std::set<std::string> english, spanish;
  for (const auto& entry : std::filesystem::directory_iterator(kDist / "Templates/English")) {
    english.insert(entry.path().filename().string());
  }
  for (const auto& entry : std::filesystem::directory_iterator(kDist / "Templates/Spanish")) {
    spanish.insert(entry.path().filename().string());
  }
  EXPECT_EQ(english, spanish);
  EXPECT_EQ(english.size(), 76u);
}

// For the eight combinations of the three switches that move the pictures: the document is
// well-formed, holds the boxes the templates promise, and the picture boxes lie in their
// sections (the balances chart on the payoff projections page, the payoff dates chart on the
// payoff schedule page).
TEST(ReportTemplatesTest, PictureBoxesLandInTheirSections) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    for (int combination = 0; combination < 8; ++combination) {
      SampleReport report;
      report.settings.PrintPlanStrategy = combination & 1;
      report.settings.PrintPayoffProjections = combination & 2;
      report.settings.PrintPayoffSchedule = combination & 4;
      const std::string html = report.Assemble(language);
      SCOPED_TRACE("language " +
                   std::string(language == Language::kEnglish ? "English" : "Spanish") +
                   ", combination " + std::to_string(combination));
      EXPECT_EQ(CheckWellFormed(html), "");
      EXPECT_TRUE(report.missing.empty()) << report.missing.front();

      const auto boxes = FindTextBoxes(html);
      const int a = report.settings.PrintPlanStrategy ? 6 : 0;
      const std::size_t expected = 7 + a + (report.settings.PrintPayoffProjections ? 1 : 0) +
                                   (report.settings.PrintPayoffSchedule ? 1 : 0);
      ASSERT_EQ(boxes.size(), expected);
      const auto sectionOf = [&](const TextBox& box) {
        const std::size_t heading = html.rfind("<h2", box.begin);
        return heading == std::string::npos ? std::string("cover")
                                            : html.substr(heading, html.find("</h2>", heading) - heading);
      };
      const std::string projections = language == Language::kEnglish
                                          ? "Current Plan vs. Proposed Plan"
                                          : "Plan actual frente al plan propuesto";
      const std::string schedule =
          language == Language::kEnglish ? "Payoff Schedule" : "Calendario de liquidación";
      if (report.settings.PrintPayoffProjections) {
        EXPECT_NE(sectionOf(boxes[a + 8 - 1]).find(projections), std::string::npos);
      }
      if (report.settings.PrintPayoffSchedule) {
        const int t = report.settings.PrintPayoffProjections ? a + 9 : a + 8;
        EXPECT_NE(sectionOf(boxes[t - 1]).find(schedule), std::string::npos);
      }
    }
  }
}

TEST(ReportTemplatesTest, TheWholeSampleReportIsWellFormedAndComplete) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    SampleReport report;
    report.settings.PrintStrategiesCompared = true;  // every section, the optional one too
    const std::string html = report.Assemble(language);
    EXPECT_EQ(CheckWellFormed(html), "")
        << (language == Language::kEnglish ? "English" : "Spanish");
    EXPECT_TRUE(report.missing.empty()) << report.missing.front();
    EXPECT_EQ(html.find("[$"), std::string::npos)
        << "every placeholder of the templates receives a value: "
        << html.substr(html.find("[$"), 40);
    EXPECT_NE(html.find("Maria Sample"), std::string::npos);
    EXPECT_NE(html.find("Norte Debt Advisers"), std::string::npos);
  }
  SampleReport spanish;
  const std::string html = spanish.Assemble(Language::kSpanish);
  EXPECT_NE(html.find("Hipoteca"), std::string::npos);
  EXPECT_NE(html.find("Préstamo de consolidación"), std::string::npos);
  // The strategies compared are translated, their table joined under one heading row.
  spanish.settings.PrintStrategiesCompared = true;
  const std::string strategies = spanish.Assemble(Language::kSpanish);
  EXPECT_NE(strategies.find("Comparación de estrategias"), std::string::npos);
  EXPECT_NE(strategies.find("Mayor tasa de interés / Minimizar intereses"), std::string::npos);
  EXPECT_NE(strategies.find("(su plan"), std::string::npos);
  const auto page = strategies.find("Comparación de estrategias");
  const auto head = strategies.find("<thead>", page);
  ASSERT_NE(head, std::string::npos);
  // One table: its heading, then every row before the table closes.
  EXPECT_LT(strategies.find("Mayor tasa de interés", page), strategies.find("</table>", head));
  EXPECT_LT(strategies.find("Maximizar patrimonio", page), strategies.find("</table>", head));
}

}  // namespace
}  // namespace ardvane
