#include "settings/recent_plans.h"

#include <algorithm>
#include <filesystem>

#include "settings/ini_text.h"

namespace ardvane {

namespace {

std::string Normal(const std::string& path) {
  return std::filesystem::path(path).lexically_normal().string();
}

std::string KeyName(size_t place) {
  std::string key = "File";
  key += std::to_string(place + 1);
  return key;
}

// A value of Settings.ini is one line without blanks around it.
bool Storable(std::string_view path) {
  return !path.empty() && path.find_first_of(std::string_view("\r\n\0", 3)) == path.npos &&
         path.front() != ' ' && path.front() != '\t' && path.back() != ' ' && path.back() != '\t';
}

}  // namespace

RecentPlans::RecentPlans(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (!Storable(path) || paths_.size() == kMaxRecentPlans) continue;
    const std::string normal = Normal(path);
    if (std::find(paths_.begin(), paths_.end(), normal) == paths_.end()) {
      paths_.push_back(normal);
    }
  }
}

void RecentPlans::Apply(std::vector<std::string>& paths, const Change& change) {
  std::erase(paths, change.path);
  if (change.added) {
    paths.insert(paths.begin(), change.path);
    if (paths.size() > kMaxRecentPlans) paths.resize(kMaxRecentPlans);
  }
}

void RecentPlans::Add(const std::string& path) {
  if (!Storable(path)) return;
  Change change{true, Normal(path)};
  Apply(paths_, change);
  changes_.push_back(std::move(change));
}

void RecentPlans::Remove(const std::string& path) {
  Change change{false, Normal(path)};
  Apply(paths_, change);
  changes_.push_back(std::move(change));
}

bool RecentPlans::DropIfMissing(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) return false;
  Remove(path);
  return true;
}

void RecentPlans::Rebase(const std::vector<std::string>& stored) {
  paths_ = RecentPlans(stored).paths_;
  for (const Change& change : changes_) Apply(paths_, change);
  changes_.clear();
}

std::string MissingRecentPlanMessage(const std::string& path) {
  std::string message = "The plan \"";
  message += path;
  message += "\" is no longer there. It has been removed from the recent plans.";
  return message;
}

std::vector<std::string> ReadRecentPlans(const IniText& ini) {
  std::vector<std::string> paths;
  for (size_t place = 0; place < kMaxRecentPlans; ++place) {
    if (std::optional<std::string> path = ini.Value(kRecentPlansSection, KeyName(place))) {
      paths.push_back(std::move(*path));
    }
  }
  return RecentPlans(paths).Paths();
}

void WriteRecentPlans(IniText& ini, const std::vector<std::string>& paths) {
  for (size_t place = 0; place < kMaxRecentPlans; ++place) {
    if (place < paths.size()) {
      ini.Set(kRecentPlansSection, KeyName(place), paths[place]);
    } else {
      ini.Erase(kRecentPlansSection, KeyName(place));
    }
  }
}

}  // namespace ardvane
