#pragma once
// A throw-away program folder for report tests, and the context a report is assembled in.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

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
  ReportContext context;
  context.plan = &plan;
  context.results = &results;
  context.params = &params;
  context.settings = &settings;
  context.regional = &kPointRegional;
  context.programFolder = std::move(programFolder);
  context.language = language;
  return context;
}

}  // namespace ardvane::testing
