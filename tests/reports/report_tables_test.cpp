#include "reports/report_tables.h"

#include <gtest/gtest.h>

#include <string>

namespace ardvane {
namespace {

const std::string kRows = "<table class=\"rows\" width=\"100%\">";
const std::string kGrid = "<table class=\"grid\">";
const std::string kHead = "<tr><th>Year</th><th>Balance</th></tr>";
std::string Row(const std::string& year) { return "<tr><td>" + year + "</td><td>$1.00</td></tr>"; }

TEST(JoinTableRunsTest, JoinsRowTablesUnderOneHeading) {
  // The shape the schedule templates write: a heading table, then one table per row.
  const std::string html = "<h2>Schedule</h2>\r\n" + kRows + "\r\n" + kHead + "\r\n</table>\r\n" +
                           kRows + Row("2026") + "</table>\r\n" + kRows + Row("2027") +
                           "</table>\r\n<h2>Next</h2>";
  EXPECT_EQ(JoinTableRuns(html), "<h2>Schedule</h2>\r\n" + kRows + "<thead>" + kHead +
                                     "</thead><tbody>" + Row("2026") + "\r\n" + Row("2027") +
                                     "</tbody></table>\r\n<h2>Next</h2>");
}

TEST(JoinTableRunsTest, JoinsOnlyWhatIsSafeToJoin) {
  const struct {
    std::string html, joined;
  } cases[] = {
      // A lone table gets its heading rows and body; a table without headings a body.
      {kGrid + kHead + Row("1") + "<tr class=\"total\"><td>T</td></tr></table>",
       kGrid + "<thead>" + kHead + "</thead><tbody>" + Row("1") +
           "\r\n<tr class=\"total\"><td>T</td></tr></tbody></table>"},
      {kGrid + Row("1") + "</table>", kGrid + "<tbody>" + Row("1") + "</tbody></table>"},
      // Different start tags, or anything but white space between, keep tables apart.
      {kRows + Row("1") + "</table>" + kGrid + Row("2") + "</table>",
       kRows + "<tbody>" + Row("1") + "</tbody></table>" + kGrid + "<tbody>" + Row("2") +
           "</tbody></table>"},
      {kGrid + Row("1") + "</table><p>&nbsp;</p>" + kGrid + Row("2") + "</table>",
       kGrid + "<tbody>" + Row("1") + "</tbody></table><p>&nbsp;</p>" + kGrid + "<tbody>" +
           Row("2") + "</tbody></table>"},
      // Heading rows of a later table are rows like any other.
      {kGrid + Row("1") + "</table>" + kGrid + kHead + "</table>",
       kGrid + "<tbody>" + Row("1") + "\r\n" + kHead + "</tbody></table>"},
      // Tables the adviser shaped are left as written and end a run.
      {kGrid + "<thead>" + kHead + "</thead>" + Row("1") + "</table>" + kGrid + Row("2") +
           "</table>",
       kGrid + "<thead>" + kHead + "</thead>" + Row("1") + "</table>" + kGrid + "<tbody>" +
           Row("2") + "</tbody></table>"},
      {kGrid + "<tr><td>" + kGrid + Row("in") + "</table></td></tr></table>",
       kGrid + "<tr><td>" + kGrid + Row("in") + "</table></td></tr></table>"},
      {kGrid + "text" + Row("1") + "</table>", kGrid + "text" + Row("1") + "</table>"},
      // An unfinished table, or none at all, comes back unchanged.
      {"<p>a</p>" + kGrid + Row("1"), "<p>a</p>" + kGrid + Row("1")},
      {"<p><tablet></p>", "<p><tablet></p>"},
  };
  for (const auto& c : cases) EXPECT_EQ(JoinTableRuns(c.html), c.joined) << c.html;
}

TEST(JoinTableRunsTest, AJoinedDocumentComesBackAsItIs) {
  // The PDF of a report read back from its file joins it again.
  const std::string html = "<h2>Schedule</h2>\r\n" + kRows + kHead + "</table>\r\n" + kRows +
                           Row("2026") + "</table>\r\n" + kRows + Row("2027") + "</table>\r\n" +
                           kGrid + Row("1") + "</table>" + kGrid + kHead + Row("2") + "</table>";
  const std::string joined = JoinTableRuns(html);
  EXPECT_EQ(JoinTableRuns(joined), joined);
}

}  // namespace
}  // namespace ardvane
