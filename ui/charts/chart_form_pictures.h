#pragma once

#include "reports/report_generator.h"
#include "ui/charts/chart_forms.h"

namespace ardvane {

// The report's chart pictures drawn from the chart forms: the Spanish pair for language 1,
// the English pair otherwise.
class ChartFormPictures : public ReportPictures {
 public:
  explicit ChartFormPictures(const ChartForms& forms) : forms_(forms) {}
  std::optional<DrawnPicture> Draw(ReportPicture kind, int language, std::string* error) override;

 private:
  const ChartForms& forms_;
};

}  // namespace ardvane
