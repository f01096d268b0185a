#pragma once
// A throw-away program folder for report tests, the context a report is assembled in, and the
// report tests' one fixture: a plan with its parameters, settings and calculation, assembled.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "engine/plan_calculation.h"
#include "planfiles/plan_file.h"
#include "reports/report_context.h"
#include "reports/report_generator.h"
#include "tests/test_regional.h"



namespace ardvane::testing {

class ProgramFolder {
 public:
  ProgramFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ardvane-report-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

  // Writes `content` to the file at `relative`, making its folders.
  void Write(const std::filesystem::path& relative, const std::string& content) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

 private:
  std::filesystem::path path_;
};

// The context the program assembles the report of `plan` in, with `results` its calculation
// (which the report may re-run) and the United States regional settings.
inline ReportContext ContextFor(const PlanDocument& plan, PlanResults& results,
                                const PlanParameters& params, const AppSettings& settings,
                                std::filesystem::path programFolder,
                                Language language = Language::kEnglish) {
  return MakeReportContext(plan, results, params, settings, kPointRegional, programFolder, language,
                           nullptr, {});
}

// A plan, the installation's parameters and the adviser's settings, calculated and assembled
// into a report with the United States regional settings.
struct ReportFixture {
  PlanDocument plan;
  PlanParameters params;
  AppSettings settings;
  PlanResults results;
  std::vector<std::filesystem::path> missing;  // the paragraphs the last assembly did not find

  // Reads the shipped sample plan into `plan`, consolidation and negotiation permitted (as the
  // shipped Params.ini permits them).
  void ReadSample() {
    params.PermitConsolidate = params.PermitNegotiate = true;
    const Status status = ReadData(std::filesystem::path(ARDVANE_DIST_DIR) / "Sample.bvx", plan,
                                   PlanReadContext{kPointRegional, params, 0});
    EXPECT_TRUE(status.ok()) << status.message();
  }

  // Calculates the plan and assembles its report from the paragraphs of the program folder
  // `folder`, in `language`.
  std::string AssembleText(const std::filesystem::path& folder,
                           Language language = Language::kEnglish) {
    results = Calculate(plan, params, settings);
    const ReportContext context = ContextFor(plan, results, params, settings, folder, language);
    AssembledReport report = AssembleReport(context);
    missing = report.missingParagraphs;
    return report.text;
  }
};

}  // namespace ardvane::testing
