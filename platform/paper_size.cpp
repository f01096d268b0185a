#include "platform/paper_size.h"

#include <algorithm>
#include <iterator>

namespace ardvane {

PaperSize PaperSizeForLocale(const QLocale& locale) {
  if (locale.language() == QLocale::C) return PaperSize::kLetter;
  static constexpr QLocale::Territory kLetterTerritories[] = {
      QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,     QLocale::Belize,
      QLocale::Chile,        QLocale::Colombia,   QLocale::CostaRica,  QLocale::ElSalvador,
      QLocale::Guatemala,    QLocale::Nicaragua,  QLocale::Panama,     QLocale::Philippines,
      QLocale::PuertoRico,   QLocale::Venezuela,
  };
  const QLocale::Territory territory = locale.territory();
  return std::find(std::begin(kLetterTerritories), std::end(kLetterTerritories), territory) !=
                 std::end(kLetterTerritories)
             ? PaperSize::kLetter
             : PaperSize::kA4;
}

}  // namespace ardvane
