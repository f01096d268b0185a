#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"

namespace ardvane {

// Where the program's start-up reads its parameters and settings from.
struct StartupFiles {
  std::filesystem::path programFolder;  // Params.ini and Settings.ini, unless named below
  RegionalSettings regional;            // the decimal separator of Params.ini's numbers
  std::optional<std::filesystem::path> paramsFile;    // in place of the folder's Params.ini
  std::optional<std::filesystem::path> settingsFile;  // in place of the folder's Settings.ini
};

// What the program starts with. Every way of starting it (the window, the plan queries of the
// command line, the batch report) reads it through LoadStartupSettings and so under one
// policy:
// - no Params.ini in the program folder: every parameter zero, off or empty; no Settings.ini:
//   every preference's default (a first start). Neither is a failure.
// - a file that is there but cannot be read, or a file named in StartupFiles that is not
//   there: its status names the file and the reason ("\"file\": reason"), and its values are
//   every key's default (DefaultParams, DefaultPreferences). The command line refuses to run
//   on them, since defaults in place of the adviser's values give other figures without a
//   word; the window says so, carries on, and leaves Settings.ini alone (SettingsWritable).
struct StartupSettings {
  PlanParameters params;
  AppSettings storedSettings;  // as read from Settings.ini: what a later save compares with
  AppSettings settings;        // storedSettings with the permissions applied (ApplyPermissions)
  std::vector<std::string> recentPlans;  // kept in Settings.ini; none when it cannot be read
  Status paramsStatus;
  Status settingsStatus;

  // The first failure, the parameters' before the settings'; ok when there is none.
  const Status& Problem() const { return paramsStatus.ok() ? settingsStatus : paramsStatus; }
  // Whether Settings.ini may be written in this session: not when it is there but could not
  // be read, since a save would put defaults in place of values nobody has seen.
  bool SettingsWritable() const { return settingsStatus.ok(); }
};

StartupSettings LoadStartupSettings(const StartupFiles& files);

// The start-up permission rule: without the permission "Language" the print language is
// English (0).
void ApplyPermissions(AppSettings& settings, const PlanParameters& params);

}  // namespace ardvane
