#include "planfiles/xml_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "test_files.h"

namespace ardvane {
namespace {

using testing::TempFolder;
using testing::WriteFile;

// One line per reported part: type, name, [content], then the attributes in list order.
std::string Describe(const XmlParser& parser) {
  std::string line(PartTypeName(parser.PartType()));
  line += " " + parser.PartName() + " [" + parser.PartContent() + "]";
  for (std::size_t i = 0; i < parser.PartAttributes().Count(); ++i) {
    const TAttr& attr = parser.PartAttributes()[i];
    line += " " + attr.Name + "=" + attr.Value;
  }
  return line;
}

std::vector<std::string> Scan(XmlParser& parser, std::size_t limit = 1000000) {
  std::vector<std::string> parts;
  parser.BeginScan();
  while (parts.size() < limit && parser.NextPart()) parts.push_back(Describe(parser));
  return parts;
}

std::vector<std::string> Scan(std::string_view document) {
  XmlParser parser;
  parser.LoadFromBuffer(document);
  return Scan(parser);
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += part + "\n";
  return text;
}

struct Case {
  std::string document;
  std::string parts;  // Joined(Scan(document))
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(Joined(Scan(c.document)), c.parts) << c.document;
}

TEST(XmlParserTest, CutsTagsAndAttributes) {
  ExpectCases({
      {R"(<Debt Name="A &amp; B" Balance="10"/>)", "Empty Tag Debt [] Balance=10 Name=A & B\n"},
      {R"(<a x="1"/>)", "Empty Tag a [] x=1\n"},
      {R"(<a x="1" />)", "Empty Tag a [] x=1\n"},
      {"<a>", "Start Tag a []\n"},
      {"</a>", "End Tag a []\n"},
      {"</a x='&amp;'>", "End Tag a [] x=&amp;\n"},  // end tags are analysed, not processed
      {R"(<a x="line1&#10;line2"/>)", "Empty Tag a [] x=line1\nline2\n"},
      {R"(<a x=y z="2"/>)", "Empty Tag a [] x=2\n"},
      {"<a x='it\"s' y=\"<b>/\"/>", "Empty Tag a [] x=it\"s y=<b>/\n"},
      {"<a\tx\r\n=\n'1'>", "Start Tag a [] x=1\n"},
      {R"(<a 1="x" b="y">t)", "Start Tag a []\nText a [t]\n"},  // a bad name ends the list
      {R"(<a x/>)", "Start Tag a []\n"},  // "/" is skipped while "=" is awaited
      {R"(<a b="2" a="1" b="3"/>)", "Empty Tag a [] a=1 b=3 b=2\n"},
      {"<client><Client>", "Start Tag client []\nStart Tag Client []\n"},
      {"<a>\r\n  <b/>\r\n</a>", "Start Tag a []\nEmpty Tag b []\nEnd Tag a []\n"},
      {"<a> x \t y </a>", "Start Tag a []\nText a [x y]\nEnd Tag a [x y]\n"},
      {"<><b/>", "Start Tag  []\nEmpty Tag b []\n"},  // "<>" does not swallow the next tag
      {"</a/>", "End Tag a []\n"},
      {"< a>", "Start Tag  a []\n"},
  });
}

TEST(XmlParserTest, CutsTheOtherParts) {
  ExpectCases({
      {"<?xml version=\"1.0\" encoding='utf-8'?><a/>",
       "XML Prolog  [] encoding=utf-8 version=1.0\nEmpty Tag a []\n"},
      {"<?xml-stylesheet href=\"x\"?>", "PI xml-stylesheet [href=\"x\"] href=x\n"},
      {"<?xml?>", "PI xml []\n"},
      {"<?go  now?>", "PI go [now]\n"},
      {"<!-- a <b> -- c -->x", "Comment  []\nText  [x]\n"},
      {"<a/><!--x-->", "Empty Tag a []\nComment a []\n"},  // a comment keeps the old name
      {"<![CDATA[ <a> & ]]>", "CDATA  [ <a> & ]\n"},
      {"<!DOCTYPE plan><a/>", "DTD Declaration  []\nEmpty Tag a []\n"},
      // Unclosed parts run to the end of the document.
      {"<!-- a <b/>", "Comment  []\n"},
      {"<![CDATA[ a <b/>", "CDATA  [ a <b/>]\n"},
      {"<?pi a <b/>", "PI pi [a <b/>]\n"},
      {"<a x='1>", "Start Tag a [] x=1>\n"},
      {"<a", "Start Tag a []\n"},
      {"<", "Start Tag  []\n"},
      {"</", "End Tag  []\n"},
      {"", ""},
  });
}

TEST(XmlParserTest, ResolvesReferencesInText) {
  ExpectCases({
      {"A&B", "Text  [AB]\n"},  // no ";" follows: the "&" is dropped
      {"&lt;&gt;&amp;&apos;&quot;", "Text  [<>&'\"]\n"},
      {"&#65;&#x42;&#X43;", "Text  [ABC]\n"},
      {"&#233;|&#8364;|&#x263A;|&#x1F600;", "Text  [é|€|☺|😀]\n"},
      {"[&#;&#x;&#12a;&#0;&#99999999999;]", "Text  [[ ]]\n"},  // blanks, collapsed
      {"&nbsp;x", "Text  [nbspx]\n"},                          // undeclared: the name
      {"A & B &amp; C", "Text  [A B & C]\n"},
      // A stray "&" does not reach across markup for a ";".
      {"x & y<b z=\"1;\"/>", "Text  [x y]\nEmpty Tag b [x y] z=1;\n"},
  });
}

TEST(XmlParserTest, ProcessesAttributeValues) {
  ExpectCases({
      {R"(<a x="&lt;b&gt; &apos;&quot;"/>)", "Empty Tag a [] x=<b> '\"\n"},
      {R"(<a x="&amp;#65;"/>)", "Empty Tag a [] x=A\n"},
      {R"(<a x="&amp;lt;"/>)", "Empty Tag a [] x=&lt;\n"},
      {R"(<a x="R & D; &foo; &#x41"/>)", "Empty Tag a [] x=R & D; &foo; &#x41\n"},
      {R"(<a x="a&&amp;b"/>)", "Empty Tag a [] x=a&&b\n"},
      {"<a x=\"1\t2\r\n3\"/>", "Empty Tag a [] x=1 2  3\n"},
      // Written as references, tab and line breaks are kept.
      {"<a x=\"1&#9;2&#13;&#10;3&#x0C;\"/>", "Empty Tag a [] x=1\t2\r\n3\f\n"},
      {R"(<a x="&#xZZ;&#0;"/>)", "Empty Tag a [] x=  \n"},
  });
}

TEST(XmlParserTest, ReadsTheWorkedPlanFile) {
  const std::string plan =
      "<Client FirstName=\"Zuzu\" LastName=\"Zeved\">\r\n"
      "  <Accelerator1 Monthly=\"150\" Annual=\"1200\" Month=\"12\"/>\r\n"
      "  <Plan Date=\"39462\" ReturnRate=\"8\" Priority=\"0\" Consolidate=\"\"/>\r\n"
      "  <Debt Name=\"Store card &quot;Gold&quot;\" Balance=\"2340.75\" "
      "UseMinimum=\"Use Minimum\"/>\r\n"
      "  <Note Content=\"Client & spouse both attended.\"/>\r\n"
      "  <Note Content=\"Pay <b>first</b>\"/>\r\n"
      "  <Note Content=\"Caf\xE9 \xFC\"/>\r\n"
      "</Client>\r\n";
  XmlParser parser;
  parser.LoadFromBuffer(plan);
  std::vector<std::string> seen;
  parser.BeginScan();
  while (parser.NextPart()) {
    if (parser.PartType() != XmlPartKind::StartTag && parser.PartType() != XmlPartKind::EmptyTag) {
      continue;
    }
    const AttributeList& attrs = parser.PartAttributes();
    if (parser.PartName() == "Client") seen.push_back(attrs.ValueOf("FirstName"));
    if (parser.PartName() == "Plan") {
      seen.push_back(attrs.ValueOf("Date") + "/" + attrs.ValueOf("Consolidate") + "/" +
                     attrs.ValueOf("Missing"));
    }
    if (parser.PartName() == "Debt") {
      seen.push_back(attrs.ValueOf("Name") + "/" + attrs.ValueOf("UseMinimum"));
    }
    if (parser.PartName() == "Note") seen.push_back(attrs.ValueOf("Content"));
  }
  const std::vector<std::string> expected = {
      "Zuzu",
      "39462//",
      "Store card \"Gold\"/Use Minimum",
      "Client & spouse both attended.",
      "Pay <b>first</b>",
      "Café ü"};  // not UTF-8 throughout: Windows-1252
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(parser.NextPart());
  EXPECT_FALSE(parser.NextPart());
}

TEST(XmlParserTest, TextIsUtf8WhateverTheFileHolds) {
  const std::string body =
      "<a x=\"Caf\xC3\xA9 &#233;\">\xE2\x82\xAC&#8364;<![CDATA[\xC3\xBC]]></a>";
  const std::string parts =
      "Start Tag a [] x=Café é\nText a [€€] x=Café é\nCDATA a [ü] x=Café é\nEnd Tag a [ü]\n";
  const std::string old = "<a x=\"Caf\xE9\">\x80</a>";
  ExpectCases({
      {body, parts},
      {"<?xml version=\"1.0\"?>" + body, "XML Prolog  [] version=1.0\n" + parts},
      // Not UTF-8 throughout and not said to be: Windows-1252.
      {old, "Start Tag a [] x=Café\nText a [€] x=Café\nEnd Tag a [€]\n"},
      {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + old,
       "XML Prolog  [] encoding=windows-1252 version=1.0\nStart Tag a [] x=Café\nText a [€] "
       "x=Café\nEnd Tag a [€]\n"},
      // Said to be UTF-8 (a prolog without an encoding says so too): damaged bytes are lost.
      {"<?xml version=\"1.0\"?>" + old,
       "XML Prolog  [] version=1.0\nStart Tag a [] x=Caf\uFFFD\nText a [\uFFFD] x=Caf\uFFFD\n"
       "End Tag a [\uFFFD]\n"},
      {"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\xC3\xA9</a>",
       "XML Prolog  [] encoding=windows-1252 version=1.0\nStart Tag a []\nText a [é]\n"
       "End Tag a [é]\n"},
  });
  XmlParser parser;
  parser.LoadFromBuffer("<?xml version='1.0' encoding='utf-8' standalone='yes'?>");
  Scan(parser);
  EXPECT_EQ(parser.DeclaredVersion(), "1.0");
  EXPECT_EQ(parser.DeclaredEncoding(), "utf-8");
  EXPECT_TRUE(parser.DeclaredStandalone());
  EXPECT_EQ(parser.ActiveEncoding(), "UTF-8");
  // A new document starts without the old one's encoding.
  parser.LoadFromBuffer("<a>\xC3\xA9</a>");
  EXPECT_EQ(Scan(parser)[1], "Text a [\xC3\xA9]");
}

TEST(XmlParserTest, CollapseTextOffReportsTextAsItStands) {
  XmlParser parser;
  parser.LoadFromBuffer("<a>\r\n  <b> x  y </b></a>");
  parser.SetCollapseText(false);
  EXPECT_EQ(Joined(Scan(parser)),
            "Start Tag a []\nText a [\r\n  ]\nStart Tag b [\r\n  ]\nText b [ x  y ]\n"
            "End Tag b [ x  y ]\nEnd Tag a [ x  y ]\n");
}

TEST(XmlParserTest, AppliesTheInternalSubset) {
  const std::string dtd =
      "<!DOCTYPE plan [\n"
      "  <!ATTLIST Debt Kind (card|loan) 'card' Ref NMTOKENS #IMPLIED>\n"
      "  <!ELEMENT Debt EMPTY>\n"
      "  <!ATTLIST Debt Owner CDATA #FIXED 'me' Note CDATA #REQUIRED>\n"
      "  <!ENTITY co \"Acme &amp; Co\">\n"
      "  <!ENTITY tag \"<b x='&co;'/>\">\n"
      "  <!ENTITY % decl \"<!ENTITY late 'L'>\"> %decl;\n"
      "  <!-- a comment --> <?pi data?>\n"
      "]>\n";
  ExpectCases({
      {dtd + "<Debt Ref='  a \n b ' Owner='you'/>",
       "DTD Declaration  []\nEmpty Tag Debt [] Kind=card Owner=me Ref=a b\n"},
      {dtd + "<x>&co;|&late;|&tag;|</x>",
       "DTD Declaration  []\nStart Tag x []\nText x [Acme & Co|L|]\n"
       "Empty Tag b [Acme & Co|L|] x=Acme & Co\nText b [|] x=Acme & Co\nEnd Tag x [|]\n"},
  });
  XmlParser parser;
  parser.LoadFromBuffer(dtd + "<Debt Ref='r' Kind='loan'/>");
  Scan(parser);
  EXPECT_EQ(parser.DoctypeName(), "plan");
  const AttributeList& attrs = parser.PartAttributes();
  ASSERT_NE(attrs.Find("Kind"), nullptr);
  EXPECT_EQ(attrs.Find("Kind")->ValueKind, AttrValueKind::Normal);
  EXPECT_EQ(attrs.Find("Kind")->AttrType, AttrKind::Enumeration);
  EXPECT_EQ(attrs.Find("Ref")->ValueKind, AttrValueKind::Implied);
  EXPECT_EQ(attrs.Find("Owner")->ValueKind, AttrValueKind::Fixed);
  EXPECT_EQ(attrs.Find("Note"), nullptr);
  const ElementDefinition* debt = parser.Elements().Find("Debt");
  ASSERT_NE(debt, nullptr);
  EXPECT_EQ(debt->ElemType, ElemKind::Empty);
  EXPECT_EQ(debt->AttrDefs.Count(), 4u);  // the list before <!ELEMENT> was kept
}

// Records every declaration and serves external texts from memory.
class RecordingParser : public XmlParser {
 public:
  std::map<std::string, std::string> files;
  std::vector<std::string> declarations;
  int opened = 0;

 protected:
  std::unique_ptr<XmlParser> OpenExternal(const std::string& systemId, const std::string&,
                                          const std::string&) override {
    ++opened;
    auto parser = std::make_unique<XmlParser>();
    if (files.count(systemId) != 0) parser->LoadFromBuffer(files[systemId]);
    return parser;
  }
  void DeclarationSeen(const DtdDeclaration& declaration) override {
    declarations.push_back(std::to_string(static_cast<int>(declaration.Kind)) + ":" +
                           declaration.Name);
  }
};

TEST(XmlParserTest, ReadsTheDoctypeOnceAndRedeclarationsReplace) {
  RecordingParser parser;
  parser.files["ext.dtd"] = "<!ENTITY e 'external'><!ENTITY % p SYSTEM 'p.ent'>%p;";
  parser.files["p.ent"] = "<!ATTLIST a x CDATA 'px'>";
  parser.files["text.ent"] = "<b/>from file";
  parser.LoadFromBuffer(
      "<!DOCTYPE a SYSTEM 'ext.dtd' [<!ENTITY e 'internal'><!ENTITY f SYSTEM 'text.ent'>"
      "<!ELEMENT a ANY><!ELEMENT a EMPTY>]><a/>&e;&f;<!DOCTYPE z><!DOCTYPE z>");
  const std::string expected =
      "DTD Declaration  []\nEmpty Tag a []\nText a [internal]\nEmpty Tag b [internal]\n"
      "Text b [from file]\nDTD Declaration  []\nDTD Declaration  []\n";
  EXPECT_EQ(Joined(Scan(parser)), expected);
  const std::vector<std::string> declarations = {"3:e", "4:p", "2:a", "3:e", "3:f",
                                                 "1:a", "1:a", "0:a", "0:z", "0:z"};
  EXPECT_EQ(parser.declarations, declarations);
  // The second <!ELEMENT a> dropped the attribute list read from p.ent.
  EXPECT_EQ(parser.Elements().Find("a")->AttrDefs.Count(), 0u);
  // A second scan skips the document's first DOCTYPE but not the later ones.
  EXPECT_EQ(Joined(Scan(parser)), expected);
  EXPECT_EQ(parser.declarations.size(), declarations.size() + 2);
}

TEST(XmlParserTest, EntityEndingWithItsEnclosingEntityLosesNothing) {
  ExpectCases({{"<!DOCTYPE d [<!ENTITY in '<i/>'><!ENTITY out 'o&in;'>]>&out;<after/>",
                "DTD Declaration  []\nText  [o]\nEmpty Tag i [o]\nEmpty Tag after [o]\n"}});
}

// A reference never enters an entity already being expanded, so a loop stops where it would
// repeat; a bomb stops at the expansion budget, so what a scan reports stays within twice it.
TEST(XmlParserTest, EntityLoopsAndBombsStayBounded) {
  ExpectCases({
      {"<!DOCTYPE d [<!ENTITY a 'x&a;'>]><t v='&a;'>&a;</t>",
       "DTD Declaration  []\nStart Tag t [] v=x\nText t [x] v=x\nEnd Tag t [x]\n"},
      {"<!DOCTYPE d [<!ENTITY a '&b;'><!ENTITY b '<t v=\"&a;\"/>&a;'>]>&a;&b;",
       "DTD Declaration  []\nEmpty Tag t [] v=\nEmpty Tag t [] v=\n"},
      {"<!DOCTYPE d [<!ENTITY % p '%p;'> %p; <!ELEMENT e %p;>]><e/>",
       "DTD Declaration  []\nEmpty Tag e []\n"},
  });

  std::string bomb = "<!DOCTYPE d [<!ENTITY l0 'lollollollollollollollollol'>";
  for (int i = 1; i < 10; ++i) {
    const std::string previous = "&l" + std::to_string(i - 1) + ";";
    std::string value;
    for (int k = 0; k < 10; ++k) value += previous;
    bomb += "<!ENTITY l" + std::to_string(i) + " '" + value + "'>";
  }
  bomb += "<!ENTITY % p0 '<!ENTITY z \"z\">'>";
  for (int i = 1; i < 30; ++i) {
    bomb += "<!ENTITY % p" + std::to_string(i) + " '%p" + std::to_string(i - 1) + ";%p" +
            std::to_string(i - 1) + ";'>";
  }
  bomb += "%p29;]><t v='&l9;'>&l9;</t><after/>";
  // l9 would be 27 x 10^9 bytes; 2^29 copies of p0 would declare z as often.
  XmlParser parser;
  parser.LoadFromBuffer(bomb);
  parser.BeginScan();
  std::size_t total = 0;
  std::vector<std::string> names;
  while (parser.NextPart()) {
    names.push_back(parser.PartName());
    total += parser.PartContent().size();
    for (std::size_t i = 0; i < parser.PartAttributes().Count(); ++i) {
      total += parser.PartAttributes()[i].Value.size();
    }
  }
  EXPECT_GT(total, 0u);
  EXPECT_LE(total, 2 * XmlParser::kExpansionBudget);
  EXPECT_EQ(names.back(), "after");  // the markup after the bomb is still read
  // p29 nests thirty deep, past kMaxEntityDepth: p0's declaration is never reached.
  EXPECT_EQ(parser.GeneralEntities().Find("z"), nullptr);
}

// Sizes that a quadratic list or a recursive descent would not survive (their speed is
// measured in bench/xml_parser_bench.cpp); every part still comes back.
TEST(XmlParserTest, ReadsHugeAndDeepInput) {
  std::string many = "<a";
  for (int i = 200000; i > 0; --i) many += " n" + std::to_string(i) + "=''";  // descending names
  many += "/>";
  XmlParser parser;
  parser.LoadFromBuffer(many);
  parser.BeginScan();
  ASSERT_TRUE(parser.NextPart());
  ASSERT_EQ(parser.PartAttributes().Count(), 200000u);
  EXPECT_EQ(parser.PartAttributes()[0].Name, "n1");  // in name order
  EXPECT_EQ(parser.PartAttributes()[199999].Name, "n99999");
  EXPECT_FALSE(parser.NextPart());

  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "<d>";
  const std::vector<std::string> parts = Scan(deep);
  ASSERT_EQ(parts.size(), 200000u);
  EXPECT_EQ(parts.back(), "Start Tag d []");

  EXPECT_TRUE(Scan(std::string(1 << 20, '&')).empty());  // every "&" lacks its ";"

  std::string declarations = "<!DOCTYPE d [<!ATTLIST e";
  for (int i = 100000; i > 0; --i) declarations += " a" + std::to_string(i) + " CDATA 'v'";
  declarations += ">";
  for (int i = 100000; i > 0; --i) {
    declarations +=
        "<!ENTITY n" + std::to_string(i) + " ''><!ELEMENT e" + std::to_string(i) + " ANY>";
  }
  declarations += "]><e/>";
  parser.LoadFromBuffer(declarations);
  parser.BeginScan();
  ASSERT_TRUE(parser.NextPart());
  EXPECT_EQ(parser.GeneralEntities().Count(), 100000u);
  EXPECT_EQ(parser.Elements().Count(), 100001u);  // e1 to e100000 and e of the attribute list
  ASSERT_TRUE(parser.NextPart());
  EXPECT_EQ(parser.PartName(), "e");
  EXPECT_EQ(parser.PartAttributes().Count(), 100000u);  // each default from the list
  EXPECT_EQ(parser.PartAttributes().ValueOf("a50000"), "v");
}

// What survives damage: a cut document reads as the whole one up to its last part, and in
// random bytes every part but text starts at a "<" (nothing is made up) and a second scan
// gives the same parts.
TEST(XmlParserTest, TruncationsAndArbitraryBytesKeepWhatIsThere) {
  const std::string plan =
      "<!DOCTYPE c [<!ENTITY e 'x'>]><?xml version='1.0'?><Client FirstName='Zuzu'>\r\n"
      "  <Debt Name=\"Car &amp; &e; &#65;\" Balance=\"12500.5\"/><![CDATA[c]]><!--n--><?p?>\r\n"
      "</Client>\r\n";
  const std::vector<std::string> whole = Scan(plan);
  ASSERT_EQ(Joined(whole),
            "DTD Declaration  []\nXML Prolog  [] version=1.0\nStart Tag Client [] FirstName=Zuzu\n"
            "Empty Tag Debt [] Balance=12500.5 Name=Car & x A\n"
            "CDATA Debt [c] Balance=12500.5 Name=Car & x A\n"
            "Comment Debt [c] Balance=12500.5 Name=Car & x A\nPI p []\nEnd Tag Client []\n");
  for (std::size_t length = 0; length <= plan.size(); ++length) {
    const std::vector<std::string> parts = Scan(plan.substr(0, length));
    ASSERT_LE(parts.size(), whole.size()) << length;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) EXPECT_EQ(parts[i], whole[i]) << length;
  }

  std::mt19937 random(7);
  const std::string alphabet = "<>/?!-[]&#;='\" \n\tax0%\xC3\xA9\x80";
  for (int round = 0; round < 3000; ++round) {
    std::string document;
    const int length = static_cast<int>(random() % 200);
    for (int i = 0; i < length; ++i) {
      document +=
          round % 2 == 0 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
    }
    XmlParser parser;
    parser.LoadFromBuffer(document);
    const std::vector<std::string> parts = Scan(parser);
    const auto texts = static_cast<std::size_t>(
        std::count_if(parts.begin(), parts.end(),
                      [](const std::string& part) { return part.starts_with("Text "); }));
    const auto markup = parts.size() - texts;
    ASSERT_LE(markup, static_cast<std::size_t>(std::count(document.begin(), document.end(), '<')))
        << document;
    ASSERT_LE(texts, markup + 1) << document;
    ASSERT_EQ(Scan(parser), parts) << document;
  }
}

TEST(XmlParserTest, LoadsFilesAndResolvesExternalIdsBesideThem) {
  TempFolder folder;
  WriteFile(folder / "sub.dtd", "<!ENTITY who 'Zuzu'>");
  const std::string big = (folder / "big.ent").string();
  WriteFile(big, "");
  std::filesystem::resize_file(big, XmlParser::kMaxExternalBytes + 1);
  const std::string plan = (folder / "plan.bvx").string();
  WriteFile(plan,
            "<!DOCTYPE c SYSTEM 'sub.dtd' [<!ENTITY big SYSTEM 'big.ent'><!ENTITY gone SYSTEM "
            "'missing.ent'><!ENTITY dev SYSTEM '/dev/zero'>]><c n='&who;&big;&gone;&dev;'>"
            "&big;&gone;&dev;</c>");
  XmlParser parser;
  ASSERT_TRUE(parser.LoadFile(plan));
  EXPECT_EQ(parser.Source(), plan);
  EXPECT_EQ(Joined(Scan(parser)), "DTD Declaration  []\nStart Tag c [] n=Zuzu\nEnd Tag c []\n");

  EXPECT_FALSE(parser.LoadFile((folder / "missing.bvx").string()));
  EXPECT_TRUE(Scan(parser).empty());
  EXPECT_EQ(parser.GeneralEntities().Count(), 0u);
  EXPECT_FALSE(parser.LoadFile(big, XmlParser::kMaxExternalBytes));
  EXPECT_FALSE(parser.LoadFile(folder.path().string()));  // a folder
}

}  // namespace
}  // namespace ardvane
