#include "ui/charts/chart_form_pictures.h"

#include <QImage>

namespace ardvane {

std::optional<DrawnPicture> ChartFormPictures::Draw(ReportPicture kind, Language language,
                                                    std::string* error) {
  const bool spanish = language == Language::kSpanish;
  const bool payoff = kind == ReportPicture::kPayoffDates;
  const ChartFormKind form =
      payoff ? (spanish ? ChartFormKind::kPayoffSpanish : ChartFormKind::kPayoff)
             : (spanish ? ChartFormKind::kBalancesSpanish : ChartFormKind::kBalances);
  QString cause;
  const QImage image = forms_.Form(form).Draw(&cause);
  if (image.isNull()) {
    *error = cause.toStdString();
    return std::nullopt;
  }
  std::string reason;
  std::optional<EmbeddedPicture> embedded = EmbedImage(image, &reason);
  std::optional<std::string> bitmap;
  if (embedded) bitmap = BitmapFileBytes(image, &reason);
  if (!bitmap) {
    *error = std::string(payoff ? "The payoff chart" : "The balances chart") +
             " could not be drawn for the report: " + reason + ".";
    return std::nullopt;
  }
  return DrawnPicture{std::move(*embedded), std::move(*bitmap)};
}

}  // namespace ardvane
