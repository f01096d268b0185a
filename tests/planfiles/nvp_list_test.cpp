#include "planfiles/nvp_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace ardvane {
namespace {

std::string Listing(const NameValueList& list) {
  std::string text;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    text += list.Node(i).Name + "=" + list.Node(i).Value + " ";
  }
  return text;
}

TEST(NvpListTest, InsertSortedPutsRepeatedNamesFirst) {
  NameValueList list;
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"b", "1"}, {"B", "2"}, {"a", "3"}, {"b", "4"}, {"", "5"}, {"c", "6"}, {"b", "7"}}) {
    list.InsertSorted(std::make_unique<NameValuePair>(name, value));
  }
  // Byte order: "" < "B" < "a" < "b" < "c"; the newest "b" stands first.
  EXPECT_EQ(Listing(list), "=5 B=2 a=3 b=7 b=4 b=1 c=6 ");
}

// Every name of every list size is found, every absent name is not, and a batch insert
// equals inserting one node at a time.
TEST(NvpListTest, FindEntryAndBatchInsertAgreeWithTheSimpleForms) {
  std::mt19937 random(11);
  for (std::size_t size = 0; size <= 40; ++size) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < size; ++i) names.push_back(std::to_string(random() % 30));
    NameValueList oneByOne;
    NameValueList batch;
    std::vector<std::unique_ptr<NameValuePair>> nodes;
    for (std::size_t i = 0; i < size; ++i) {
      oneByOne.InsertSorted(std::make_unique<NameValuePair>(names[i], std::to_string(i)));
      nodes.push_back(std::make_unique<NameValuePair>(names[i], std::to_string(i)));
    }
    batch.InsertAllSorted(std::move(nodes));
    ASSERT_EQ(Listing(batch), Listing(oneByOne)) << size;
    for (int n = -1; n <= 30; ++n) {
      const std::string name = std::to_string(n);
      const bool present = std::find(names.begin(), names.end(), name) != names.end();
      const NameValuePair* found = oneByOne.FindEntry(name);
      EXPECT_EQ(found != nullptr, present) << "size " << size << " name " << name;
      if (found != nullptr) {
        EXPECT_EQ(found->Name, name);
      }
      EXPECT_EQ(oneByOne.ValueOf(name), found != nullptr ? found->Value : "");
    }
  }
}

TEST(NvpListTest, SetReplacesByNameAndKeepsNameOrder) {
  NvpSet<NameValuePair> set;
  set.Replace(std::make_unique<NameValuePair>("x", "1"));
  set.Replace(std::make_unique<NameValuePair>("a", "2"));
  set.Replace(std::make_unique<NameValuePair>("x", "3"));
  std::string listing;
  for (const auto& [name, node] : set) listing += name + "=" + node->Value + " ";
  EXPECT_EQ(listing, "a=2 x=3 ");
  EXPECT_EQ(set.ValueOf("x"), "3");
  EXPECT_EQ(set.Find("b"), nullptr);
}

}  // namespace
}  // namespace ardvane
