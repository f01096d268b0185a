#include "platform/paper_size.h"

#include <gtest/gtest.h>

namespace ardvane {
namespace {

TEST(PaperSizeTest, LetterWhereTheTerritoryUsesItA4Elsewhere) {
  const struct {
    QLocale locale;
    PaperSize paper;
  } cases[] = {
      {QLocale::c(), PaperSize::kLetter},  // counts as the United States
      {QLocale(QLocale::English, QLocale::UnitedStates), PaperSize::kLetter},
      {QLocale(QLocale::Spanish, QLocale::UnitedStates), PaperSize::kLetter},
      {QLocale(QLocale::French, QLocale::Canada), PaperSize::kLetter},
      {QLocale(QLocale::Spanish, QLocale::Mexico), PaperSize::kLetter},
      {QLocale(QLocale::Spanish, QLocale::Chile), PaperSize::kLetter},
      {QLocale(QLocale::Filipino, QLocale::Philippines), PaperSize::kLetter},
      {QLocale(QLocale::English, QLocale::UnitedKingdom), PaperSize::kA4},
      {QLocale(QLocale::Spanish, QLocale::Spain), PaperSize::kA4},
      {QLocale(QLocale::Spanish, QLocale::Argentina), PaperSize::kA4},
      {QLocale(QLocale::German, QLocale::Germany), PaperSize::kA4},
      {QLocale(QLocale::English, QLocale::Australia), PaperSize::kA4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PaperSizeForLocale(c.locale), c.paper) << c.locale.name().toStdString();
  }
}

}  // namespace
}  // namespace ardvane
