#pragma once

#include "reports/report_generator.h"
#include "ui/charts/chart_forms.h"

namespace ardvane {

// The report's chart pictures drawn from the chart forms: the Spanish pair for a Spanish report,
// the English pair otherwise.
class ChartFormPictures : public ReportPictures {
 public:
  explicit ChartFormPictures(const ChartForms& forms) : forms_(forms) {}
  StatusOr<DrawnPicture> Draw(ReportPicture kind, Language language) override;

 private:
  const ChartForms& forms_;
};

}  // namespace ardvane
