#include "reports/report_context.h"

#include <utility>

namespace ardvane {

ReportContext MakeReportContext(const PlanDocument& plan, PlanResults& results,
                                const PlanParameters& params, const AppSettings& settings,
                                const RegionalSettings& regional,
                                const std::filesystem::path& programFolder, Language language,
                                ReportPictures* pictures,
                                std::function<void(const std::string&)> showError) {
  ReportContext context;
  context.plan = &plan;
  context.results = &results;
  context.params = &params;
  context.settings = &settings;
  context.regional = &regional;
  context.programFolder = programFolder;
  context.language = language;
  context.showError = std::move(showError);
  context.pictures = pictures;
  return context;
}

}  // namespace ardvane
