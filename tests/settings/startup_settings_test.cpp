#include "settings/startup_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_files.h"
#include "settings/settings_store.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"

namespace ardvane {
namespace {
namespace fs = std::filesystem;

// A Settings.ini or Params.ini that is there but cannot be read: too large, or a folder.
enum class Damage { kTooLarge, kFolder };

class StartupSettingsTest : public ::testing::Test {
 protected:
  StartupSettings Load(std::optional<fs::path> paramsFile = std::nullopt,
                       std::optional<fs::path> settingsFile = std::nullopt) {
    StartupFiles files;
    files.programFolder = folder.path();
    files.regional = testing::kPointRegional;
    files.paramsFile = std::move(paramsFile);
    files.settingsFile = std::move(settingsFile);
    return LoadStartupSettings(files);
  }
  void Spoil(const char* name, Damage damage) {
    if (damage == Damage::kFolder) {
      fs::create_directory(folder / name);
    } else {
      testing::WriteFile(folder / name,
                         "[Print]\nLanguage=1\n" + std::string(kMaxIniFileSize, ';'));
    }
  }
  AppSettings Defaults() { return DefaultPreferences(folder.path()); }

  testing::TempFolder folder;
};

TEST_F(StartupSettingsTest, AFirstStartHasNoFilesAndNoProblem) {
  const StartupSettings startup = Load();
  EXPECT_TRUE(startup.Problem().ok()) << startup.Problem().message();
  EXPECT_TRUE(startup.SettingsWritable());
  // Without Params.ini every parameter is zero, off or empty, not each key's default.
  EXPECT_EQ(startup.params, PlanParameters());
  EXPECT_EQ(startup.storedSettings, Defaults());
  EXPECT_EQ(startup.settings, Defaults());
  EXPECT_TRUE(startup.recentPlans.empty());
}

TEST_F(StartupSettingsTest, ReadsBothFilesAndAppliesThePermissions) {
  testing::WriteFile(folder / kSettingsFileName,
                     "[Company]\nName=Acme\n[Print]\nLanguage=1\n[Recent Plans]\nFile1=/p/A.bvx\n");
  testing::WriteFile(folder / kParamsFileName, "[Default]\nTerm=5\n[Permissions]\nLanguage=0\n");
  StartupSettings startup = Load();
  ASSERT_TRUE(startup.Problem().ok()) << startup.Problem().message();
  EXPECT_EQ(startup.params.DefaultTerm, 5);
  EXPECT_EQ(startup.settings.CompanyName, "Acme");
  // Spanish is not permitted: the run prints in English, while the file keeps its value.
  EXPECT_EQ(startup.storedSettings.PrintLanguage, 1);
  EXPECT_EQ(startup.settings.PrintLanguage, 0);
  EXPECT_EQ(startup.recentPlans, std::vector<std::string>{"/p/A.bvx"});

  testing::WriteFile(folder / kParamsFileName, "[Permissions]\nLanguage=1\n");
  startup = Load();
  EXPECT_EQ(startup.settings.PrintLanguage, 1);
}

TEST_F(StartupSettingsTest, AnUnreadableParamsFileIsNamedAndGivesEachKeysDefault) {
  for (const Damage damage : {Damage::kTooLarge, Damage::kFolder}) {
    SCOPED_TRACE(damage == Damage::kFolder ? "folder" : "too large");
    testing::WriteFile(folder / kSettingsFileName, "[Company]\nName=Acme\n");
    Spoil(kParamsFileName, damage);
    const StartupSettings startup = Load();
    const std::string named = "\"" + (folder / kParamsFileName).string() + "\": ";
    EXPECT_EQ(startup.paramsStatus.message().rfind(named, 0), 0u) << startup.paramsStatus.message();
    EXPECT_GT(startup.paramsStatus.message().size(), named.size()) << "no reason given";
    EXPECT_EQ(startup.Problem(), startup.paramsStatus);
    EXPECT_EQ(startup.params, DefaultParams(testing::kPointRegional));
    // Settings.ini is read and may be written as usual.
    EXPECT_TRUE(startup.settingsStatus.ok());
    EXPECT_TRUE(startup.SettingsWritable());
    EXPECT_EQ(startup.settings.CompanyName, "Acme");
    fs::remove_all(folder / kParamsFileName);
  }
}

TEST_F(StartupSettingsTest, AnUnreadableSettingsFileIsNamedGivesDefaultsAndIsNotWritten) {
  for (const Damage damage : {Damage::kTooLarge, Damage::kFolder}) {
    SCOPED_TRACE(damage == Damage::kFolder ? "folder" : "too large");
    testing::WriteFile(folder / kParamsFileName, "[Permissions]\nLanguage=1\n");
    Spoil(kSettingsFileName, damage);
    const StartupSettings startup = Load();
    const std::string named = "\"" + (folder / kSettingsFileName).string() + "\": ";
    EXPECT_EQ(startup.settingsStatus.message().rfind(named, 0), 0u)
        << startup.settingsStatus.message();
    EXPECT_EQ(startup.settingsStatus.code(), Status::Code::kIoError);
    EXPECT_EQ(startup.Problem(), startup.settingsStatus);
    EXPECT_TRUE(startup.paramsStatus.ok());
    EXPECT_FALSE(startup.SettingsWritable());
    EXPECT_EQ(startup.storedSettings, Defaults());
    EXPECT_TRUE(startup.recentPlans.empty());

    // A store made from it leaves the file alone, also when its settings changed.
    const std::string before =
        damage == Damage::kFolder ? std::string() : testing::ReadFile(folder / kSettingsFileName);
    SettingsStore store(folder.path(), startup);
    AppSettings changed = startup.settings;
    changed.CompanyName = "Acme";
    store.Recent().Add("/p/A.bvx");
    EXPECT_TRUE(store.Save(changed, "/p/", "A.bvx").ok());
    if (damage == Damage::kFolder) {
      EXPECT_TRUE(fs::is_directory(folder / kSettingsFileName));
    } else {
      EXPECT_EQ(testing::ReadFile(folder / kSettingsFileName), before);
    }
    fs::remove_all(folder / kSettingsFileName);
  }
}

TEST_F(StartupSettingsTest, NamedFilesMustBeThere) {
  const fs::path params = folder / "office-params.ini";
  const fs::path settings = folder / "office-settings.ini";
  StartupSettings startup = Load(params, std::nullopt);
  EXPECT_TRUE(startup.paramsStatus.IsNotFound());
  EXPECT_EQ(startup.Problem().message().rfind("\"" + params.string() + "\": ", 0), 0u)
      << startup.Problem().message();

  startup = Load(std::nullopt, settings);
  EXPECT_TRUE(startup.paramsStatus.ok());
  EXPECT_TRUE(startup.settingsStatus.IsNotFound());
  EXPECT_EQ(startup.Problem().message().rfind("\"" + settings.string() + "\": ", 0), 0u)
      << startup.Problem().message();

  // Named files are read in place of the folder's, which may be damaged.
  Spoil(kParamsFileName, Damage::kFolder);
  Spoil(kSettingsFileName, Damage::kFolder);
  testing::WriteFile(params, "[Default]\nTerm=7\n");
  testing::WriteFile(settings, "[Company]\nName=Office\n");
  startup = Load(params, settings);
  EXPECT_TRUE(startup.Problem().ok()) << startup.Problem().message();
  EXPECT_EQ(startup.params.DefaultTerm, 7);
  EXPECT_EQ(startup.settings.CompanyName, "Office");
}

TEST_F(StartupSettingsTest, WithBothFilesUnreadableTheParametersAreNamedFirst) {
  Spoil(kParamsFileName, Damage::kFolder);
  Spoil(kSettingsFileName, Damage::kTooLarge);
  const StartupSettings startup = Load();
  EXPECT_FALSE(startup.paramsStatus.ok());
  EXPECT_FALSE(startup.settingsStatus.ok());
  EXPECT_EQ(startup.Problem(), startup.paramsStatus);
}

}  // namespace
}  // namespace ardvane
