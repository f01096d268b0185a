#pragma once
// A throw-away program folder for report tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace ardvane::testing {

class ProgramFolder {
 public:
  ProgramFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ardvane-report-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

  // Writes `content` to the file at `relative`, making its folders.
  void Write(const std::filesystem::path& relative, const std::string& content) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace ardvane::testing
