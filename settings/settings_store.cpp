#include "settings/settings_store.h"

#include "settings/settings_files.h"

namespace ardvane {

SettingsStore::SettingsStore(std::filesystem::path programFolder)
    : programFolder_(std::move(programFolder)) {}

AppSettings SettingsStore::Load(std::string* error) {
  baseline_ = LoadPreferences(programFolder_, error);
  recent_ = RecentPlans(LoadRecentPlans(programFolder_));
  return baseline_;
}

bool SettingsStore::Save(const AppSettings& current, const std::string& planDirectory,
                         const std::string& planFileName, std::string* error) {
  if (!SavePreferences(baseline_, current, programFolder_, planDirectory, planFileName, error,
                       &recent_)) {
    return false;
  }
  baseline_ = current;
  return true;
}

bool SettingsStore::SaveOrReport(const AppSettings& current, const std::string& planDirectory,
                                 const std::string& planFileName,
                                 const std::function<void(const std::string&)>& report) {
  std::string error;
  if (Save(current, planDirectory, planFileName, &error)) return true;
  if (report) report(error);
  return false;
}

}  // namespace ardvane
