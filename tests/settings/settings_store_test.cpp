#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>

#include "settings/settings_files.h"
#include "settings/startup_settings.h"

namespace ardvane {
namespace {
namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("ardvane-store-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(std::random_device()()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  fs::path folder_;
};

// Two windows on one program folder: each save changes only what its window changed.
TEST_F(SettingsStoreTest, TwoWindowsKeepEachOthersChanges) {
  std::ofstream(folder_ / kSettingsFileName)
      << "[Company]\nName=Acme\n[Recent Plans]\nFile1=/p/Old.bvx\nFile2=/p/Gone.bvx\n";
  SettingsStore a(folder_, LoadStartupSettings({folder_, {}, {}, {}}));
  SettingsStore b(folder_, LoadStartupSettings({folder_, {}, {}, {}}));
  AppSettings inA = a.Baseline();
  AppSettings inB = b.Baseline();
  EXPECT_EQ(a.Recent().Paths(), (Paths{"/p/Old.bvx", "/p/Gone.bvx"}));

  inB.CompanyName = "Acme Debt Help";
  b.Recent().Add("/p/B.bvx");
  ASSERT_TRUE(b.Save(inB, "/p/", "B.bvx").ok());
  inA.PrintLanguage = 1;
  a.Recent().Add("/p/A.bvx");
  EXPECT_TRUE(a.Recent().DropIfMissing("/p/Gone.bvx"));
  ASSERT_TRUE(a.Save(inA, "", "Untitled.bvx").ok());

  AppSettings stored = LoadPreferences(folder_).value();
  EXPECT_EQ(stored.CompanyName, "Acme Debt Help");
  EXPECT_EQ(stored.PrintLanguage, 1);
  EXPECT_EQ(stored.LastFile, "/p/B.bvx");  // A had no saved plan
  const Paths merged{"/p/A.bvx", "/p/B.bvx", "/p/Old.bvx"};
  EXPECT_EQ(LoadRecentPlans(folder_), merged);
  EXPECT_EQ(a.Recent().Paths(), merged);

  // Each window's baseline is now what it saved: later saves still leave the other's keys.
  inA.PrintOptions = false;
  ASSERT_TRUE(a.Save(inA, "", "").ok());
  inB.PrintContract = false;
  ASSERT_TRUE(b.Save(inB, "", "").ok());
  stored = LoadPreferences(folder_).value();
  EXPECT_EQ(stored.CompanyName, "Acme Debt Help");
  EXPECT_EQ(stored.PrintLanguage, 1);
  EXPECT_FALSE(stored.PrintOptions);
  EXPECT_FALSE(stored.PrintContract);
  EXPECT_EQ(b.Recent().Paths(), merged);  // B changed nothing in the list and now sees A's
  EXPECT_EQ(b.Baseline(), inB);
}

// A failed save is reported with the file and the reason, and tried again by the next save.
TEST_F(SettingsStoreTest, FailedSaveIsReportedAndKeptForTheNextSave) {
  const fs::path missing = folder_ / "moved";
  SettingsStore store(missing, LoadStartupSettings({missing, {}, {}, {}}));
  AppSettings settings = store.Baseline();
  const AppSettings loaded = settings;
  settings.CompanyName = "Acme";
  store.Recent().Add("/p/A.bvx");
  std::vector<std::string> reports;
  const auto report = [&reports](const std::string& message) { reports.push_back(message); };
  store.SaveOrReport(settings, "", "", report);
  ASSERT_EQ(reports.size(), 1u);
  const std::string file = (missing / kSettingsFileName).string();
  EXPECT_EQ(reports[0].rfind("Could not save the settings in \"" + file + "\": ", 0), 0)
      << reports[0];
  EXPECT_GT(reports[0].size(), file.size() + 36) << "no reason given: " << reports[0];
  EXPECT_EQ(store.Baseline(), loaded);
  EXPECT_TRUE(store.Recent().HasChanges());

  fs::create_directory(missing);
  store.SaveOrReport(settings, "", "", report);
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_EQ(LoadPreferences(missing).value().CompanyName, "Acme");
  EXPECT_EQ(LoadRecentPlans(missing), Paths{"/p/A.bvx"});
}

}  // namespace
}  // namespace ardvane
