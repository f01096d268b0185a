#include "base/file_names.h"

#include <gtest/gtest.h>

#include <string>

namespace ardvane {
namespace {

TEST(SafeFileNameTest, WhatNoFileSystemTakesIsReplaced) {
  const struct {
    std::string stem;
    const char* expected;
  } cases[] = {
      {"Smith, John 3.15.2005 English", "Smith, John 3.15.2005 English.doc"},
      {"Peña, Zoë", "Peña, Zoë.doc"},
      {"Ana/Luis", "Ana.Luis.doc"},
      {"a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i.doc"},
      {std::string("tab\there\0nul\x7F"
                   "del\xC2\x85"
                   "nel",
                   21),
       "tab here nul del nel.doc"},
      {"..hidden", "__hidden.doc"},
      {"https:127.0.0.1:8767", "https_127.0.0.1_8767.doc"},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeFileName(c.stem, ".doc"), c.expected) << c.stem;
  // Without an extension the name cannot end in a blank or a dot, nor be empty or "..".
  EXPECT_EQ(SafeFileName("name. .", ""), "name___");
  EXPECT_EQ(SafeFileName("..", ""), "__");
  EXPECT_EQ(SafeFileName("", ""), "_");
  // Nor, with one, only the extension: ".rtf" would be a hidden file.
  EXPECT_EQ(SafeFileName("", ".rtf"), "_.rtf");
}

TEST(SafeFileNameTest, ALongNameIsCutBetweenCharacters) {
  // "é" is two bytes; 300 of them cannot end on a whole character at every cut.
  std::string stem;
  for (int i = 0; i < 300; ++i) stem += "\xC3\xA9";
  for (const std::string prefix : {"", "a"}) {
    const std::string name = SafeFileName(prefix + stem, ".rtf");
    EXPECT_LE(name.size(), kMaxFileNameBytes);
    EXPECT_GE(name.size(), kMaxFileNameBytes - 1);
    EXPECT_TRUE(name.ends_with("\xC3\xA9.rtf")) << prefix;
  }
  EXPECT_EQ(SafeFileName(std::string(300, 'x'), ".doc"), std::string(251, 'x') + ".doc");
}

}  // namespace
}  // namespace ardvane
