#include "planfiles/nvp_list.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "planfiles/xml_chars.h"

namespace ardvane {
namespace {

bool NameLess(const std::unique_ptr<NameValuePair>& a, const std::unique_ptr<NameValuePair>& b) {
  return a->Name < b->Name;
}

}  // namespace

NameValuePair* NameValueList::FindEntry(std::string_view name) const {
  if (nodes_.empty()) return nullptr;
  std::size_t lo = 0;
  std::size_t hi = nodes_.size();
  std::size_t previous = hi;  // no index yet
  for (;;) {
    const std::size_t mid = (lo + hi) / 2;
    if (mid == previous) return nullptr;
    previous = mid;
    const int order = std::string_view(nodes_[mid]->Name).compare(name);
    if (order == 0) return nodes_[mid].get();
    if (order < 0) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
}

std::string NameValueList::ValueOf(std::string_view name) const {
  const NameValuePair* node = FindEntry(name);
  return node != nullptr ? node->Value : std::string();
}

NameValuePair& NameValueList::InsertSorted(std::unique_ptr<NameValuePair> node) {
  // Directly after the last smaller name is the first position whose name is not smaller.
  const auto at = std::lower_bound(nodes_.begin(), nodes_.end(), node, NameLess);
  return **nodes_.insert(at, std::move(node));
}

void NameValueList::InsertAllSorted(std::vector<std::unique_ptr<NameValuePair>> nodes) {
  // A later node of a repeated name goes before the earlier ones: sort the new nodes in
  // reverse arrival order, stably, then merge them in front of equal existing names.
  std::reverse(nodes.begin(), nodes.end());
  std::stable_sort(nodes.begin(), nodes.end(), NameLess);
  std::vector<std::unique_ptr<NameValuePair>> merged;
  merged.reserve(nodes.size() + nodes_.size());
  std::merge(std::make_move_iterator(nodes.begin()), std::make_move_iterator(nodes.end()),
             std::make_move_iterator(nodes_.begin()), std::make_move_iterator(nodes_.end()),
             std::back_inserter(merged), NameLess);
  nodes_ = std::move(merged);
}

std::string_view AttrValueKindName(AttrValueKind kind) {
  static constexpr std::array<std::string_view, 4> kNames = {"Normal", "Implied", "Fixed",
                                                             "Default"};
  return NameOf(kNames, kind);
}

std::string_view AttrTypeName(AttrKind type) {
  static constexpr std::array<std::string_view, 11> kNames = {
      "Unknown",  "CDATA",   "ID",       "IDREF",    "IDREFS",     "ENTITY",
      "ENTITIES", "NMTOKEN", "NMTOKENS", "Notation", "Enumeration"};
  return NameOf(kNames, type);
}

}  // namespace ardvane
