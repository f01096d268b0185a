#include "reports/report_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ardvane {
namespace {

// U+2068 and U+2069 in UTF-8: the fence around a value with direction controls.
const std::string kFsi = "\xE2\x81\xA8";
const std::string kPdi = "\xE2\x81\xA9";
const std::string kRlo = "\xE2\x80\xAE";  // U+202E
const std::string kRlm = "\xE2\x80\x8F";  // U+200F

TEST(ReportHtmlTextTest, KeepsTextAndDropsWhatHtmlForbids) {
  const struct {
    std::string value, html;
  } cases[] = {
      {"Ana & Luis <b>\"O'Neil\"</b>", "Ana &amp; Luis &lt;b&gt;&quot;O&#39;Neil&quot;&lt;/b&gt;"},
      {"[$FirstName$]", "[$FirstName$]"},
      // Controls go; tab, line feed, carriage return and CR LF are one blank each.
      {std::string("Car\x01loan\x1F\x7F", 10), "Carloan"},
      {std::string("a\0b", 3), "ab"},
      {"a\tb\nc\r\nd\re", "a b c d e"},
      {"a\n\nb", "a  b"},
      // C1 controls (U+0080..U+009F) go; U+00A0 and later stay.
      {"x\xC2\x80y\xC2\x85z\xC2\x9F!\xC2\xA0.", "xyz!\xC2\xA0."},
      // Letters of any script, emoji and marks stay as they are.
      {"\xD7\xA9\xD7\xA8\xD7\x94 \xD8\xB1\xD9\x87\xD9\x86 \xF0\x9F\x92\xB3 Ren\xC3\xA9" + kRlm,
       "\xD7\xA9\xD7\xA8\xD7\x94 \xD8\xB1\xD9\x87\xD9\x86 \xF0\x9F\x92\xB3 Ren\xC3\xA9" + kRlm},
      // Bytes that are no UTF-8 character: a lone continuation, a C1 control as Latin-1, an
      // overlong form, a surrogate, a cut-off sequence.
      {"a\x80"
       "b\x85"
       "c\xC0\xAF"
       "d\xED\xA0\x80"
       "e\xE2\x80",
       "a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD"
       "c\xEF\xBF\xBD\xEF\xBF\xBD"
       "d\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
       "e\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReportHtmlText(c.value), c.html) << c.value;
}

TEST(ReportHtmlTextTest, DirectionControlsCannotReachTheTextAround) {
  // An override is fenced; the fence's end closes it.
  EXPECT_EQ(ReportHtmlText("Maria" + kRlo), kFsi + "Maria" + kRlo + kPdi);
  // An isolate the value leaves open is closed before the fence.
  const std::string rli = "\xE2\x81\xA7";  // U+2067
  EXPECT_EQ(ReportHtmlText(rli + "x"), kFsi + rli + "x" + kPdi + kPdi);
  // A closing isolate that closes nothing of the value's own would end the fence early.
  EXPECT_EQ(ReportHtmlText(kPdi + "x" + kRlo), kFsi + "x" + kRlo + kPdi);
  EXPECT_EQ(ReportHtmlText(rli + "a" + kPdi + kPdi + "b"), kFsi + rli + "a" + kPdi + "b" + kPdi);
}

// Only the blanks inside a figure hold it together; the words around it may still wrap.
TEST(KeepFiguresWholeTest, JoinsDatesAndAmountsAndNothingElse) {
  const std::string nb = "\xC2\xA0";  // U+00A0
  const struct {
    std::string value, kept;
  } cases[] = {
      {"174 months (February 2031)", "174" + nb + "months (February" + nb + "2031)"},
      {"174 meses (febrero de 2031)", "174" + nb + "meses (febrero" + nb + "de" + nb + "2031)"},
      {"1 234,50 €", "1" + nb + "234,50" + nb + "€"},
      {"Never: Capital One and Store card", "Never: Capital One and Store card"},
      {"Never: Card 2 and Visa", "Never: Card" + nb + "2" + nb + "and Visa"},
      // "de" joins only on its way to a number.
      {"Banco de Chile", "Banco de Chile"},
      {"x  de 5", "x " + nb + "de" + nb + "5"},
      {" 5 ", nb + "5" + nb},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(KeepFiguresWhole(c.value), c.kept) << c.value;
}

TEST(KeepFiguresWholeTest, FindsThePlaceholdersOfTableCells) {
  EXPECT_EQ(PlaceholdersInCells("<h2>[$Title$]</h2><table><tr><th>[$Head$]</th>"
                                "<td align=\"right\">[$Date$] and\n[$Amount$]</td></tr></table>"
                                "<p>[$Sentence$] <b>[$Bold$]</b></p><thead>[$Thead$]</thead>"
                                "<td>[$Open$"),
            (std::set<std::string, std::less<>>{"Date", "Amount", "Head"}));
  // A table inside a cell: its end does not end the outer cell.
  EXPECT_EQ(PlaceholdersInCells("<td><table><tr><td>[$A$]</td></tr></table>[$B$]</td>[$C$]"),
            (std::set<std::string, std::less<>>{"A", "B"}));
}

}  // namespace
}  // namespace ardvane
