#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "engine/settings.h"
#include "settings/recent_plans.h"

namespace ardvane {

// One window's side of Settings.ini: the preferences as the window last loaded or saved them
// (the baseline a save compares with) and its recent plans. Several windows may run on one
// program folder; each saves only what it changed (see SavePreferences).
class SettingsStore {
 public:
  explicit SettingsStore(std::filesystem::path programFolder);

  // Reads Settings.ini as LoadPreferences does, with the recent plans; the preferences read
  // become the baseline. A file that cannot be read gives every default and sets `error`.
  AppSettings Load(std::string* error = nullptr);

  // Saves what changed since the baseline (and the recent plans' changes). On success
  // `current` becomes the baseline and the recent plans are the list as stored. On failure
  // nothing changes here, so a later save tries again, and `error` gets the message.
  bool Save(const AppSettings& current, const std::string& planDirectory,
            const std::string& planFileName, std::string* error);

  // Save, for the window: a failure hands its message (naming the file and the reason) to
  // `report`, which shows it. True when saved.
  bool SaveOrReport(const AppSettings& current, const std::string& planDirectory,
                    const std::string& planFileName,
                    const std::function<void(const std::string&)>& report);

  const AppSettings& Baseline() const { return baseline_; }
  RecentPlans& Recent() { return recent_; }
  const RecentPlans& Recent() const { return recent_; }

 private:
  std::filesystem::path programFolder_;
  AppSettings baseline_;
  RecentPlans recent_;
};

}  // namespace ardvane
