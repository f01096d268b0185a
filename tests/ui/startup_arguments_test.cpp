#include "ui/startup_arguments.h"

#include <gtest/gtest.h>

namespace ardvane {
namespace {

TEST(StartupArgumentsTest, WordsJoinIntoOnePathAndBeatTheLastFile) {
  const StartupRequest split =
      ReadStartupArguments({"/home/ana/My", "Plans/a.bvx"}, "/plans/last.bvx", true);
  EXPECT_TRUE(split.openRequested);
  EXPECT_EQ(split.fileToOpen, "/home/ana/My Plans/a.bvx");
  EXPECT_FALSE(split.batch);

  const StartupRequest last = ReadStartupArguments({}, "/plans/last.bvx", true);
  EXPECT_EQ(last.fileToOpen, "/plans/last.bvx");
  EXPECT_FALSE(ReadStartupArguments({}, "/plans/gone.bvx", false).openRequested);
}

TEST(StartupArgumentsTest, AReportRequestIsNoPartOfThePath) {
  const StartupRequest both = ReadStartupArguments({"plan.bvx", "-<p>Report1"}, "", false);
  EXPECT_EQ(both.fileToOpen, "plan.bvx");
  EXPECT_TRUE(both.batch);
  EXPECT_EQ(both.batchReportName, "Report1");

  // A report alone still asks to open a plan, whose empty name then fails to open.
  const StartupRequest alone = ReadStartupArguments({"-<p>Report1"}, "/plans/last.bvx", true);
  EXPECT_TRUE(alone.openRequested);
  EXPECT_EQ(alone.fileToOpen, "");
  EXPECT_EQ(alone.batchReportName, "Report1");
}

}  // namespace
}  // namespace ardvane
