#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace ardvane {

// A scratch program folder holding a copy of the shipped payload (Params.ini, the sample plan,
// Templates/, Language.kdf, Help/), removed with everything in it.
class PayloadFolder {
 public:
  PayloadFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("ardvane-bench-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::copy(ARDVANE_DIST_FOLDER, path_, std::filesystem::copy_options::recursive);
  }
  ~PayloadFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  PayloadFolder(const PayloadFolder&) = delete;
  PayloadFolder& operator=(const PayloadFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace ardvane
