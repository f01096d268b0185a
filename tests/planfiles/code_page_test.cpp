#include "planfiles/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace ardvane {
namespace {

TEST(CodePageTest, ValidUtf8IsKeptWhatTheFileSays) {
  for (const bool saysUtf8 : {false, true}) {
    for (const std::string text :
         {"plain <ASCII> \t\r\n", "Kołodziej żółw €", "\xF0\x9F\x98\x80", "\xEF\xBF\xBD"}) {
      EXPECT_EQ(FileTextToUtf8(text, saysUtf8), text);
    }
  }
}

TEST(CodePageTest, FilesThatSayUtf8LoseOnlyTheirDamagedSequences) {
  struct Case {
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"Ko\xB3odziej ż", "Ko\uFFFDodziej ż"},                          // a Windows-1252 byte
      {"a\xC3", "a\uFFFD"},                                            // cut short
      {"\xC3<b>", "\uFFFD<b>"},                                        // markup is not eaten
      {"\x80\xBFx", "\uFFFDx"},                                        // stray continuations
      {"\xC0\x80|\xE0\x80\xBC|\xED\xA0\x80", "\uFFFD|\uFFFD|\uFFFD"},  // over-long, surrogate
      {"\xF8\x88\x80\x80\x80z\xFF", "\uFFFD\uFFFDz\uFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileTextToUtf8(c.bytes, true), c.expected) << c.bytes;
}

TEST(CodePageTest, OtherBytesAreWindows1252) {
  EXPECT_EQ(FileTextToUtf8("Se\xF1or \x80 \x93x\x94 \x9F", false), "Señor € “x” Ÿ");
  EXPECT_EQ(FileTextToUtf8("\x81\x8D\x8F\x90\x9D", false), "\u0081\u008D\u008F\u0090\u009D");
  // One byte that is not UTF-8 makes the whole text Windows-1252.
  EXPECT_EQ(FileTextToUtf8("\xC3\xA9 \xE9", false), "Ã© é");
  std::string every;
  for (int byte = 1; byte < 256; ++byte) every += static_cast<char>(byte);
  EXPECT_TRUE(IsValidUtf8(FileTextToUtf8(every, false)));
}

}  // namespace
}  // namespace ardvane
