#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "base/status.h"
#include "engine/settings.h"
#include "settings/recent_plans.h"
#include "settings/startup_settings.h"

namespace ardvane {

// One window's side of Settings.ini: the preferences as the window last loaded or saved them
// (the baseline a save compares with) and its recent plans. Several windows may run on one
// program folder; each saves only what it changed (see SavePreferences).
class SettingsStore {
 public:
  // Starts from what start-up read: its stored settings are the baseline, its recent plans
  // the list. When Settings.ini could not be read at start (StartupSettings::
  // SettingsWritable), nothing is ever written to it from this store.
  SettingsStore(std::filesystem::path programFolder, const StartupSettings& startup);

  // Saves what changed since the baseline (and the recent plans' changes). On success
  // `current` becomes the baseline and the recent plans are the list as stored. On failure
  // nothing changes here, so a later save tries again. A store that may not write succeeds
  // without writing: its user was told at start.
  Status Save(const AppSettings& current, const std::string& planDirectory,
              const std::string& planFileName);

  // Save, for the window: a failure hands its message (naming the file and the reason) to
  // `report`, which shows it.
  void SaveOrReport(const AppSettings& current, const std::string& planDirectory,
                    const std::string& planFileName,
                    const std::function<void(const std::string&)>& report);

  const AppSettings& Baseline() const { return baseline_; }
  RecentPlans& Recent() { return recent_; }
  const RecentPlans& Recent() const { return recent_; }

 private:
  std::filesystem::path programFolder_;
  AppSettings baseline_;
  RecentPlans recent_;
  bool writable_;
};

}  // namespace ardvane
