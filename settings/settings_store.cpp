#include "settings/settings_store.h"

#include "settings/settings_files.h"

namespace ardvane {

SettingsStore::SettingsStore(std::filesystem::path programFolder, const StartupSettings& startup)
    : programFolder_(std::move(programFolder)),
      baseline_(startup.storedSettings),
      recent_(startup.recentPlans),
      writable_(startup.SettingsWritable()) {}

Status SettingsStore::Save(const AppSettings& current, const std::string& planDirectory,
                           const std::string& planFileName) {
  if (!writable_) return Status::Ok();
  Status saved =
      SavePreferences(baseline_, current, programFolder_, planDirectory, planFileName, &recent_);
  if (saved.ok()) baseline_ = current;
  return saved;
}

void SettingsStore::SaveOrReport(const AppSettings& current, const std::string& planDirectory,
                                 const std::string& planFileName,
                                 const std::function<void(const std::string&)>& report) {
  const Status saved = Save(current, planDirectory, planFileName);
  if (!saved.ok() && report) report(saved.message());
}

}  // namespace ardvane
