#include "ui/chart_form_pictures.h"

namespace ardvane {

bool ChartFormPictures::Save(ReportPicture kind, int language, const std::filesystem::path& path,
                             std::string* error) {
  const bool spanish = language == 1;
  const ChartFormKind form =
      kind == ReportPicture::kPayoffDates
          ? (spanish ? ChartFormKind::kPayoffSpanish : ChartFormKind::kPayoff)
          : (spanish ? ChartFormKind::kBalancesSpanish : ChartFormKind::kBalances);
  QString message;
  if (forms_.Form(form).SaveBitmap(QString::fromStdString(path.string()), &message)) return true;
  *error = message.toStdString();
  return false;
}

}  // namespace ardvane
