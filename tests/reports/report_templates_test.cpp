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

struct SampleReport {
  PlanDocument plan;
  PlanParameters params;
  AppSettings settings;
  PlanResults results;
  std::vector<std::filesystem::path> missing;  // paragraphs not found

  SampleReport() {
    params.PermitConsolidate = true;
    params.PermitNegotiate = true;
    const ReadStatus status =
        ReadData(kDist / "Sample.bvx", plan, PlanReadContext{kPointRegional, params, 0});
    EXPECT_TRUE(status.ok()) << status.error;
    settings.CompanyName = "Norte Debt Advisers";
    settings.CompanyAddress = "12 Main Street";
    settings.CompanyPhone = "555-0100";
  }

  std::string Assemble(int language) {
    results = Calculate(plan, params, settings);
    ReportContext context =
        testing::ContextFor(plan, results, params, settings, kDist, language);
    AssembledReport report = AssembleReport(context);
    missing = report.missingParagraphs;
    return report.text;
  }
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
  for (const int language : {0, 1}) {
    for (int combination = 0; combination < 8; ++combination) {
      SampleReport report;
      report.settings.PrintPlanStrategy = combination & 1;
      report.settings.PrintPayoffProjections = combination & 2;
      report.settings.PrintPayoffSchedule = combination & 4;
      const std::string html = report.Assemble(language);
      SCOPED_TRACE("language " + std::to_string(language) + ", combination " +
                   std::to_string(combination));
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
      const std::string projections = language == 0 ? "Current Plan vs. Proposed Plan"
                                                    : "Plan actual frente al plan propuesto";
      const std::string schedule = language == 0 ? "Payoff Schedule" : "Calendario de liquidación";
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
  for (const int language : {0, 1}) {
    SampleReport report;
    report.settings.PrintStrategiesCompared = true;  // every section, the optional one too
    const std::string html = report.Assemble(language);
    EXPECT_EQ(CheckWellFormed(html), "") << language;
    EXPECT_TRUE(report.missing.empty()) << report.missing.front();
    EXPECT_EQ(html.find("[$"), std::string::npos)
        << "every placeholder of the templates receives a value: "
        << html.substr(html.find("[$"), 40);
    EXPECT_NE(html.find("Maria Sample"), std::string::npos);
    EXPECT_NE(html.find("Norte Debt Advisers"), std::string::npos);
  }
  SampleReport spanish;
  const std::string html = spanish.Assemble(1);
  EXPECT_NE(html.find("Hipoteca"), std::string::npos);
  EXPECT_NE(html.find("Préstamo de consolidación"), std::string::npos);
  // The strategies compared are translated, their table joined under one heading row.
  spanish.settings.PrintStrategiesCompared = true;
  const std::string strategies = spanish.Assemble(1);
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
