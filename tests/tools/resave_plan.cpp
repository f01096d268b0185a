// resave_plan PROGRAM_FOLDER PLAN OUT: opens the plan file PLAN as the window opens one (the
// parameters of PROGRAM_FOLDER's Params.ini, the regional settings of the command line, today's
// date) and writes it to OUT as the window's Save As does. scripts/compare-results.sh runs it
// to compare the plan writer of two builds. Errors go to standard error, exit status 1.
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

#include "engine/calendar.h"
#include "planfiles/plan_session.h"
#include "settings/settings_files.h"

namespace {

using namespace ardvane;

// Answers nothing but the Save As dialog, with the file named on the command line.
class FixedPrompts : public PlanPrompts {
 public:
  explicit FixedPrompts(std::filesystem::path out) : out_(std::move(out)) {}
  SaveAnswer AskSaveChanges(const std::string&) override { return SaveAnswer::Cancel; }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::filesystem::path> ChooseOpenFile(const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path&,
                                                      const std::string&) override {
    return out_;
  }
  void ShowError(const std::string& message) override { std::cerr << message << "\n"; }

 private:
  std::filesystem::path out_;
};

DayNumber Today() {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "Usage: resave_plan PROGRAM_FOLDER PLAN OUT\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const RegionalSettings regional;
  PlanParameters params;
  if (ParamsFileExists(folder)) {
    StatusOr<PlanParameters> loaded = LoadParams(folder, regional);
    if (!loaded.ok()) {
      std::cerr << "resave_plan: " << loaded.status().message() << "\n";
      return 1;
    }
    params = *std::move(loaded);
  }
  FixedPrompts prompts(argv[3]);
  PlanSession session(params, regional, Today(), prompts);
  const Status status = session.TryOpenFile(argv[2]);
  if (!status.ok()) {
    std::cerr << "resave_plan: " << status.message() << "\n";
    return 1;
  }
  return session.SavePlan(true) ? 0 : 1;
}
