#include "settings/preferences_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace ardvane {
namespace {

// Settings.ini keeps the print language as a code (0, 1, 99) and keeps any other number it
// holds; Print reads a report language from the code, or asks.
TEST(PrintLanguageTest, TheSettingsCodeBecomesTheReportLanguageOrAQuestion) {
  struct Case {
    int code;
    std::optional<Language> language;
  };
  const std::vector<Case> cases = {
      {0, Language::kEnglish}, {1, Language::kSpanish}, {99, std::nullopt},
      {2, Language::kEnglish}, {-1, Language::kEnglish}, {98, Language::kEnglish},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintLanguageOf(c.code), c.language) << c.code;
}

TEST(PrintLanguageTest, ThePreferencesChoiceIsTheCodePrintReadsBack) {
  EXPECT_EQ(PrintLanguageOf(LanguageSetting(true, false, false, 5)), Language::kEnglish);
  EXPECT_EQ(PrintLanguageOf(LanguageSetting(false, true, false, 5)), Language::kSpanish);
  EXPECT_EQ(PrintLanguageOf(LanguageSetting(false, false, true, 5)), std::nullopt);
  EXPECT_EQ(LanguageSetting(false, false, false, 5), 5) << "no choice keeps what the file holds";
}

}  // namespace
}  // namespace ardvane
