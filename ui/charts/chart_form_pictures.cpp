#include "ui/charts/chart_form_pictures.h"

#include <QImage>

namespace ardvane {

StatusOr<DrawnPicture> ChartFormPictures::Draw(ReportPicture kind, Language language) {
  const bool spanish = language == Language::kSpanish;
  const bool payoff = kind == ReportPicture::kPayoffDates;
  const ChartFormKind form =
      payoff ? (spanish ? ChartFormKind::kPayoffSpanish : ChartFormKind::kPayoff)
             : (spanish ? ChartFormKind::kBalancesSpanish : ChartFormKind::kBalances);
  const StatusOr<QImage> drawn = forms_.Form(form).Draw();
  if (!drawn.ok()) return drawn.status();
  const QImage& image = *drawn;
  StatusOr<EmbeddedPicture> embedded = EmbedImage(image);
  StatusOr<std::string> bitmap =
      embedded.ok() ? BitmapFileBytes(image) : StatusOr<std::string>(embedded.status());
  if (!bitmap.ok()) {
    return bitmap.status().WithMessage(
        std::string(payoff ? "The payoff chart" : "The balances chart") +
        " could not be drawn for the report: " + bitmap.status().message() + ".");
  }
  return DrawnPicture{std::move(embedded).value(), std::move(bitmap).value()};
}

}  // namespace ardvane
