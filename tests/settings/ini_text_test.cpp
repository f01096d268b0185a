#include "settings/ini_text.h"

#include <gtest/gtest.h>

namespace ardvane {
namespace {

TEST(IniTextTest, AKeyBeforeAnySectionIsSetWhereItReadsBack) {
  const struct {
    const char* before;
    const char* after;
  } cases[] = {
      {"", "k=v\n"},
      {"\xEF\xBB\xBF; top\r\n[S]\r\na=1\r\n", "\xEF\xBB\xBFk=v\r\n; top\r\n[S]\r\na=1\r\n"},
      {"x=1\n; c\n[S]\nk=s\n", "x=1\nk=v\n; c\n[S]\nk=s\n"},
      {"x=1", "x=1\nk=v\n"},
  };
  for (const auto& c : cases) {
    IniText ini(c.before);
    ini.Set("", "k", "v");
    EXPECT_EQ(ini.Bytes(), c.after) << c.before;
    EXPECT_EQ(IniText(ini.Bytes()).Value("", "k"), "v") << c.before;
    EXPECT_EQ(IniText(ini.Bytes()).Value("S", "k"), IniText(c.before).Value("S", "k"));
  }
}

}  // namespace
}  // namespace ardvane
