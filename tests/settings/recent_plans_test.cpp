#include "settings/recent_plans.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "settings/ini_text.h"

namespace ardvane {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentPlansTest, MostRecentFirstEachPathOnceAtMostSix) {
  RecentPlans recent;
  for (const char* path : {"/p/1.bvx", "/p/2.bvx", "/p/3.bvx", "/p/./2.bvx"}) recent.Add(path);
  EXPECT_EQ(recent.Paths(), (Paths{"/p/2.bvx", "/p/3.bvx", "/p/1.bvx"}));
  for (const char* path : {"/p/4.bvx", "/p/5.bvx", "/p/6.bvx", "/p/7.bvx"}) recent.Add(path);
  EXPECT_EQ(recent.Paths(),
            (Paths{"/p/7.bvx", "/p/6.bvx", "/p/5.bvx", "/p/4.bvx", "/p/2.bvx", "/p/3.bvx"}));
  // Paths a line of Settings.ini cannot hold as they are.
  for (const char* path : {"", "/p/a\nb.bvx", "/p/a\rb.bvx", " /p/a.bvx", "/p/a.bvx\t"}) {
    recent.Add(path);
  }
  recent.Remove("/p/5.bvx");
  recent.Remove("/p/none.bvx");
  EXPECT_EQ(recent.Paths(), (Paths{"/p/7.bvx", "/p/6.bvx", "/p/4.bvx", "/p/2.bvx", "/p/3.bvx"}));

  // A list as stored is cleaned the same way.
  EXPECT_EQ(RecentPlans({"/a.bvx", "", "/b/../a.bvx", "/b.bvx", "/c.bvx", "/d.bvx", "/e.bvx",
                         "/f.bvx", "/g.bvx"})
                .Paths(),
            (Paths{"/a.bvx", "/b.bvx", "/c.bvx", "/d.bvx", "/e.bvx", "/f.bvx"}));
}

// Another window stored its list meanwhile: this window's changes are made again on it, in
// the order they were made.
TEST(RecentPlansTest, RebaseKeepsWhatAnotherWindowStored) {
  RecentPlans recent({"/old.bvx", "/gone.bvx", "/kept.bvx"});
  recent.Add("/mine.bvx");
  recent.Remove("/gone.bvx");
  recent.Remove("/again.bvx");
  recent.Add("/again.bvx");  // removed, then opened once more: it stays
  EXPECT_TRUE(recent.HasChanges());
  recent.Rebase({"/theirs.bvx", "/gone.bvx", "/old.bvx", "/kept.bvx", "/2.bvx", "/3.bvx"});
  EXPECT_EQ(recent.Paths(), (Paths{"/again.bvx", "/mine.bvx", "/theirs.bvx", "/old.bvx",
                                   "/kept.bvx", "/2.bvx"}));
  EXPECT_FALSE(recent.HasChanges());
  recent.Rebase({"/theirs.bvx"});  // without changes of its own, the list is the stored one
  EXPECT_EQ(recent.Paths(), Paths{"/theirs.bvx"});
}

TEST(RecentPlansTest, DropIfMissing) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("ardvane-recent-" + std::to_string(::getpid()) + ".bvx");
  std::ofstream(file) << "x";
  RecentPlans recent;
  recent.Add("/no/such/plan.bvx");
  recent.Add(file.string());
  recent.Add(file.parent_path().string());  // a folder is no plan
  EXPECT_FALSE(recent.DropIfMissing(file.string()));
  EXPECT_TRUE(recent.DropIfMissing(file.parent_path().string()));
  EXPECT_TRUE(recent.DropIfMissing("/no/such/plan.bvx"));
  EXPECT_EQ(recent.Paths(), Paths{file.string()});
  std::filesystem::remove(file);
  EXPECT_NE(MissingRecentPlanMessage("/p/A.bvx").find("\"/p/A.bvx\""), std::string::npos);
}

TEST(RecentPlansTest, StoredUnderKeysOfTheirOwn) {
  IniText ini("[recent plans]\nfile2=/b.bvx\nFile1=/a.bvx\nFile5=/e.bvx\nFile7=/x.bvx\n");
  EXPECT_EQ(ReadRecentPlans(ini), (Paths{"/a.bvx", "/b.bvx", "/e.bvx"}));
  WriteRecentPlans(ini, {"/c.bvx", "/a.bvx"});
  EXPECT_EQ(ini.Bytes(), "[recent plans]\nfile2=/a.bvx\nFile1=/c.bvx\nFile7=/x.bvx\n");
  WriteRecentPlans(ini, {});
  EXPECT_EQ(ini.Bytes(), "[recent plans]\nFile7=/x.bvx\n");
}

}  // namespace
}  // namespace ardvane
