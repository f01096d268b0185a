#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf8.h"

namespace ardvane {
namespace {

TEST(TextTest, TrimAndBlankTakeTheirSetOfBlanks) {
  EXPECT_EQ(Trim(" \t12 5\t "), "12 5");
  EXPECT_EQ(Trim("\n12\n"), "\n12\n");  // a typed value's blanks are space and tab
  EXPECT_EQ(Trim("\r\n12 \f", kWhiteSpace), "12");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank(" \t"));
  EXPECT_FALSE(IsBlank(" \n"));
  EXPECT_TRUE(IsBlank(" \n", kWhiteSpace));
  EXPECT_EQ(AsciiLower("TD Font-Weight \xc3\x84"), "td font-weight \xc3\x84");
}

TEST(TextTest, QuotesRoundTrip) {
  EXPECT_EQ(EncodeQuotes("Jo \"JJ\""), "Jo &quot;JJ&quot;");
  EXPECT_EQ(DecodeQuotes("Jo &quot;JJ&quot;"), "Jo \"JJ\"");
  EXPECT_EQ(DecodeQuotes(EncodeQuotes("\"\"&quot;")), "\"\"\"");
  EXPECT_EQ(EncodeQuotes("R&D <b>"), "R&D <b>");
}

// Each kind of ill-formed sequence, and the characters on either side of it.
TEST(Utf8Test, DecodesWellFormedSequencesAndReplacesEachIllFormedByte) {
  const std::string text =
      "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"  // a, e acute, euro, an emoji
      "\x80\xc0\xaf\xe0\x80\xaf\xed\xa0\x80\xf4\x90\x80\x80\xe2\x82";  // then broken
  std::u32string decoded;
  for (std::size_t at = 0; at < text.size();) decoded += NextUtf8Character(text, &at);
  EXPECT_EQ(decoded.substr(0, 4), U"a\u00e9\u20ac\U0001F600");
  // A stray continuation, over-long forms, a surrogate, a value beyond U+10FFFF and a
  // sequence cut short: one replacement per byte, never a character read from them.
  EXPECT_EQ(decoded.substr(4), std::u32string(15, kReplacementCharacter));
  EXPECT_TRUE(IsValidUtf8(text.substr(0, 10)));
  EXPECT_FALSE(IsValidUtf8(text));
  EXPECT_FALSE(IsValidUtf8("\xe2\x82"));

  std::string written;
  for (const char32_t code : decoded.substr(0, 4)) AppendUtf8(written, code);
  EXPECT_EQ(written, text.substr(0, 10));

  // A prefix counts characters, never ending inside one.
  EXPECT_EQ(Utf8Prefix(text, 3), "a\xc3\xa9\xe2\x82\xac");
  EXPECT_EQ(Utf8Prefix(text, 5), text.substr(0, 11));  // the stray byte counts as one
  EXPECT_EQ(Utf8Prefix("ab", 9), "ab");
  EXPECT_EQ(Utf8Prefix("ab", 0), "");
}

}  // namespace
}  // namespace ardvane
