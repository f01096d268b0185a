#pragma once

#include <string>
#include <vector>

namespace ardvane {

class IniText;

inline constexpr size_t kMaxRecentPlans = 6;
// Where Settings.ini keeps the list: keys "File1" (the most recent) to "File6".
inline constexpr char kRecentPlansSection[] = "Recent Plans";

// The plans last opened or saved, most recent first, at most kMaxRecentPlans, each path once.
// Paths are compared after lexical normalisation ("/a/./b.bvx" is "/a/b.bvx"), with case.
//
// Another window on the same program folder may change the stored list meanwhile, so the
// list remembers this window's own additions and removals until they are stored: Rebase
// applies them, in the order they were made, to the list as stored now.
class RecentPlans {
 public:
  RecentPlans() = default;
  // A list as read: paths Add would ignore and repetitions are dropped, and it is cut to the maximum.
  explicit RecentPlans(const std::vector<std::string>& paths);

  const std::vector<std::string>& Paths() const { return paths_; }
  bool Empty() const { return paths_.empty(); }

  // A plan opened or saved: first in the list, its earlier place dropped; the oldest plan
  // leaves when the list would grow past the maximum. A path Settings.ini cannot hold as it
  // is (empty, with a line end or NUL, or with a blank at either end) is ignored.
  void Add(const std::string& path);
  // Drops `path` from the list.
  void Remove(const std::string& path);
  // For a plan picked from the list: when no regular file is at `path` any more, it is dropped
  // and the result is true (the window then says so with MissingRecentPlanMessage).
  bool DropIfMissing(const std::string& path);

  // True when Add or Remove changed something not yet stored.
  bool HasChanges() const { return !changes_.empty(); }
  // Replaces the list by `stored` with this window's changes made again on it, and forgets
  // the changes (they are now part of the list).
  void Rebase(const std::vector<std::string>& stored);

 private:
  struct Change {
    bool added;
    std::string path;
  };
  static void Apply(std::vector<std::string>& paths, const Change& change);

  std::vector<std::string> paths_;
  std::vector<Change> changes_;
};

// The message for a picked plan that is no longer there.
std::string MissingRecentPlanMessage(const std::string& path);

// The list stored in the section kRecentPlansSection of `ini`.
std::vector<std::string> ReadRecentPlans(const IniText& ini);
// Stores `paths` as "File1" onwards and removes the keys of list places now empty.
void WriteRecentPlans(IniText& ini, const std::vector<std::string>& paths);

}  // namespace ardvane
