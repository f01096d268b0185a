#include "planfiles/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace ardvane {
namespace {

TEST(CodePageTest, DecodeUtf8) {
  struct Case {
    std::string utf8;
    std::string expected;
  } cases[] = {
      {"plain <ASCII> \t\r\n", "plain <ASCII> \t\r\n"},
      {"\xC3\xA9\xC3\xBF\xC2\xA0", "\xE9\xFF\xA0"},          // Latin-1 range
      {"\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8", "\x80\x93\x9F"},  // the 0x80 to 0x9F block
      {"\xC2\x81\xC2\x8D\xC2\x80", "\x81\x8D\xBF"},          // unassigned 0x81, 0x8D
      {"\xE2\x98\xBA|\xF0\x9F\x98\x80|", "\xBF|\xBF|"},      // not in 1252, 4 bytes
      {"a\xC3", "a\xBF"},                                    // cut short
      {"\xE9t\xE9", "\xBFt\xBF"},                            // Latin-1 taken for UTF-8
      {"\xC3<b>", "\xBF<b>"},                                // markup is not eaten
      {"\x80\xBFx", "\xBF\xBFx"},                            // stray continuations
      {"\xC0\x80|\xC1\x81|\xE0\x80\xBC", "\xBF|\xBF|\xBF"},  // over-long forms
      {"\xF8\x88\x80\x80\x80z\xFF", "\xBFz\xBF"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeUtf8(c.utf8), c.expected) << c.utf8;
}

TEST(CodePageTest, EveryByteRoundTripsThroughItsCodePoint) {
  const char32_t high[] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                           0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t code = byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : char32_t(byte);
    EXPECT_EQ(Windows1252ByteOf(code), byte) << byte;
  }
  EXPECT_EQ(Windows1252ByteOf(0x80), -1);
  EXPECT_EQ(Windows1252ByteOf(0x263A), -1);
}

}  // namespace
}  // namespace ardvane
