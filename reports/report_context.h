#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "reports/report_generator.h"

namespace ardvane {

// The context of one report, as the window and the batch report both make it: the plan just
// calculated into `results`, the parameters and settings the run started with (with the
// permissions applied), the regional settings and the program folder, the report's language
//, its pictures (may be null: none are drawn) and where its error
// messages go (may be empty). The context points at its arguments, which must outlive it.
ReportContext MakeReportContext(const PlanDocument& plan, PlanResults& results,
                                const PlanParameters& params, const AppSettings& settings,
                                const RegionalSettings& regional,
                                const std::filesystem::path& programFolder, Language language,
                                ReportPictures* pictures,
                                std::function<void(const std::string&)> showError);

}  // namespace ardvane
