#include "figures/cent_search.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace ardvane {
namespace {

struct BisectCase {
  std::int64_t failing, passing;
  std::set<std::int64_t> passes;  // cents that pass; every other amount fails
  std::int64_t expected;
};

// Each answer worked by hand: the halving path from (failing, passing), e.g. (0, 10) over
// {4 and up} tries 5 (pass), 2 (fail), 3 (fail), 4 (pass) and stops at 4.
TEST(BisectCents, FindsTheCentWhereTheSearchTurns) {
  std::set<std::int64_t> fromFour;
  for (std::int64_t c = 4; c <= 10; ++c) fromFour.insert(c);
  const std::vector<BisectCase> cases = {
      {0, 10, fromFour, 4},
      {0, 1, {1}, 1},  // already a cent apart: nothing is tried
      {9, 10, {10}, 10},
      {0, 100, {50, 51, 100}, 50},  // 50 passes, then everything tried below it fails
      {0, 100, {26, 100}, 100},     // 50, 75, 87, ... fail: 26 is never tried
      {1000, 1'000'000'00, {}, 1'000'000'00},
  };
  for (const BisectCase& c : cases) {
    std::vector<std::int64_t> tried;
    const std::int64_t found = BisectCents(c.failing, c.passing, [&](std::int64_t cents) {
      tried.push_back(cents);
      return c.passes.count(cents) > 0;
    });
    EXPECT_EQ(found, c.expected) << c.failing << ".." << c.passing;
    for (std::int64_t cents : tried) {
      EXPECT_GT(cents, c.failing) << c.failing << ".." << c.passing;
      EXPECT_LT(cents, c.passing) << c.failing << ".." << c.passing;
    }
  }
}

TEST(BisectCents, HalvesTheRange) {
  int calls = 0;
  BisectCents(0, 1'000'000'00, [&](std::int64_t) { return ++calls, false; });
  EXPECT_EQ(calls, 27);  // ceil(log2(100,000,000)): the figure the --needed limits assume
  EXPECT_EQ(MoneyFromCents(21237), Money::FromCount(2123700));
}

}  // namespace
}  // namespace ardvane
