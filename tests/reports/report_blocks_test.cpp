#include "reports/report_blocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ardvane {
namespace {

using Kind = ReportBlock::Kind;

std::vector<Kind> KindsOf(const ReportBlocks& document) {
  std::vector<Kind> kinds;
  for (const ReportBlock& block : document.body) kinds.push_back(block.kind);
  return kinds;
}

TEST(ReportBlocksTest, TopLevelElementsAreTypedBlocksThatWriteBackTheSameBytes) {
  const std::string html =
      "\xEF\xBB\xBF<html><head><title>t</title></head>\r\n<BODY class=\"x\">\r\n"
      "<div title=\"footer\"><p>Page 1</p></div>\r\n"
      "<p>&nbsp;</p><p>&nbsp;</p>\r\n"
      "<h2 class=\"page\" style=\"page-break-before: always\">Debts</h2>\r\n"
      "<p>text <b>bold</b> <span style=\"page-break-before: always\">new page</span></p>\r\n"
      "<table class=\"grid\"><tr><td><table><tr><td>in</td></tr></table></td></tr></table>\r\n"
      "after <i>the table</i>\r\n"
      "<div class=\"textbox\"><img src=\"data:image/png;base64,AA\" alt=\"\"></div>\r\n"
      "<div class=\"textbox\"><h3>boxed</h3><p style=\"page-break-before: always\">x</p></div>\r\n"
      "</body></html>\r\n";
  const ReportBlocks document = CutReportBlocks(html);
  EXPECT_EQ(document.Text(), html);
  EXPECT_TRUE(document.hasBody);
  EXPECT_EQ(document.head, "\xEF\xBB\xBF<html><head><title>t</title></head>\r\n");
  EXPECT_EQ(document.bodyTag, "<BODY class=\"x\">");
  EXPECT_EQ(document.tail, "</body></html>\r\n");
  EXPECT_EQ(KindsOf(document),
            (std::vector<Kind>{Kind::kPageFooter, Kind::kParagraph, Kind::kParagraph,
                               Kind::kHeading, Kind::kParagraph, Kind::kParagraph, Kind::kTable,
                               Kind::kParagraph, Kind::kPicture, Kind::kParagraph}));
  const auto html_of = [&](std::size_t i) { return document.body[i].html; };
  // Blanks go with the block before them; those at the start of the body with the first.
  EXPECT_EQ(html_of(0), "\r\n<div title=\"footer\"><p>Page 1</p></div>\r\n");
  EXPECT_EQ(html_of(1), "<p>&nbsp;</p>");
  EXPECT_EQ(html_of(3), "<h2 class=\"page\" style=\"page-break-before: always\">Debts</h2>\r\n");
  // An inline element that asks for a new page starts a block; other inline ones do not.
  EXPECT_EQ(html_of(4), "<p>text <b>bold</b> ");
  EXPECT_EQ(html_of(5), "<span style=\"page-break-before: always\">new page</span></p>\r\n");
  // A table, a table in it and the blanks after it; the text after it is a block of its own.
  EXPECT_EQ(html_of(6),
            "<table class=\"grid\"><tr><td><table><tr><td>in</td></tr></table></td></tr>"
            "</table>\r\n");
  EXPECT_EQ(html_of(7), "after <i>the table</i>\r\n");
  // What a box holds is not cut, nor does it start a page.
  EXPECT_EQ(html_of(9),
            "<div class=\"textbox\"><h3>boxed</h3><p style=\"page-break-before: always\">x</p>"
            "</div>\r\n");
  EXPECT_EQ((std::vector<bool>{false, false, false, true, false, true, false, false, false, false}),
            [&] {
              std::vector<bool> pages;
              for (const ReportBlock& block : document.body) pages.push_back(block.newPage);
              return pages;
            }());
}

TEST(ReportBlocksTest, DocumentsCutShortOrMalformedWriteBackWhole) {
  const std::string cases[] = {
      "",
      "<p>no body</p>",
      "<html><body><p>no end</p>",
      "</body><body>",
      "<body><table><tr><td>never closed</td></tr></body>",
      "<body><p>a</p><table><tr><td>1</td></tr></table></body>tail",
      "<body><div title=\"footer\"><p>never closed</p></body>",
      "<body><p>a<</p></body>",
      "<body>\r\n</body>",
      "<body><h1 style=\"page-break-before: always\">",
  };
  for (const std::string& html : cases) {
    const ReportBlocks document = CutReportBlocks(html);
    EXPECT_EQ(document.Text(), html) << html;
  }
  EXPECT_FALSE(CutReportBlocks("<p>no body</p>").hasBody);
  // A table without its end tag is text, and holds what follows it.
  const ReportBlocks open = CutReportBlocks("<body><table><tr><td>1</td></tr><p>x</p></body>");
  ASSERT_EQ(open.body.size(), 1u);
  EXPECT_EQ(open.body[0].kind, Kind::kParagraph);
}

TEST(ReportBlocksTest, PageFootersAreLeftOut) {
  EXPECT_EQ(DropPageFooters("<body><p>a</p><DIV TITLE=\"footer\"><div><p>b</p></div>"
                            "<sdfield type=PAGE>1</sdfield></DIV><p>c</p>"
                            "<div title='header'>h</div><div title=\"footers\">d</div>"
                            "<div class=\"textbox\">e</div></body>"),
            "<body><p>a</p><p>c</p><div title=\"footers\">d</div>"
            "<div class=\"textbox\">e</div></body>");
  // One that is never closed takes the rest of the document with it.
  EXPECT_EQ(DropPageFooters("<p>a</p><div title=\"footer\"><p>b</p>"), "<p>a</p>");
  const std::string plain = "<p>no footer</p><div>x</div>";
  EXPECT_EQ(DropPageFooters(plain), plain);
}

}  // namespace
}  // namespace ardvane
