#include "settings/startup_settings.h"

#include "settings/preferences_rules.h"
#include "settings/settings_files.h"

namespace ardvane {

StartupSettings LoadStartupSettings(const StartupFiles& files) {
  StartupSettings startup;
  if (files.paramsFile || ParamsFileExists(files.programFolder)) {
    StatusOr<PlanParameters> params = files.paramsFile
                                          ? LoadParamsFile(*files.paramsFile, files.regional)
                                          : LoadParams(files.programFolder, files.regional);
    startup.paramsStatus = params.status();
    startup.params = params.ok() ? std::move(params).value() : DefaultParams(files.regional);
  }

  StatusOr<AppSettings> settings =
      files.settingsFile ? LoadPreferencesFile(*files.settingsFile, files.programFolder)
                         : LoadPreferences(files.programFolder);
  startup.settingsStatus = settings.status();
  startup.storedSettings =
      settings.ok() ? std::move(settings).value() : DefaultPreferences(files.programFolder);
  if (startup.settingsStatus.ok() && !files.settingsFile) {
    startup.recentPlans = LoadRecentPlans(files.programFolder);
  }

  startup.settings = startup.storedSettings;
  ApplyPermissions(startup.settings, startup.params);
  return startup;
}

void ApplyPermissions(AppSettings& settings, const PlanParameters& params) {
  if (!params.PermitLanguage) settings.PrintLanguage = kPrintLanguageEnglish;
}

}  // namespace ardvane
