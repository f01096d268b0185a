#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ardvane {

// A name with a text value: the base of attributes and of every DTD record.
class NameValuePair {
 public:
  NameValuePair() = default;
  NameValuePair(std::string name, std::string value)
      : Name(std::move(name)), Value(std::move(value)) {}
  virtual ~NameValuePair() = default;

  std::string Name;
  std::string Value;
};

// An owning list of nodes kept in ascending byte order of name (case-sensitive). Names may
// repeat: a node inserted with a name already present goes before the nodes of that name.
class NameValueList {
 public:
  NameValueList() = default;
  NameValueList(const NameValueList&) = delete;
  NameValueList& operator=(const NameValueList&) = delete;
  NameValueList(NameValueList&&) = default;
  NameValueList& operator=(NameValueList&&) = default;
  virtual ~NameValueList() = default;

  std::size_t Count() const { return nodes_.size(); }
  // The node at `index` in name order; `index` must be below Count().
  NameValuePair& Node(std::size_t index) const { return *nodes_[index]; }

  // Binary search over [lo, hi), halving until the middle repeats. With repeated names
  // it returns one of them. Null when no node has the name.
  NameValuePair* FindEntry(std::string_view name) const;
  // The value of the node FindEntry finds, or empty text when there is none.
  std::string ValueOf(std::string_view name) const;

  // Inserts directly after the last node whose name is smaller, at the front when there is
  // none. Returns the inserted node.
  NameValuePair& InsertSorted(std::unique_ptr<NameValuePair> node);
  // The same as calling InsertSorted for each node in turn, in O(n log n) instead of
  // O(n^2) moves, so a tag with a great many attributes cannot stall the scanner.
  void InsertAllSorted(std::vector<std::unique_ptr<NameValuePair>> nodes);
  void Clear() { nodes_.clear(); }

 private:
  std::vector<std::unique_ptr<NameValuePair>> nodes_;
};

// A NameValueList whose nodes are all of type T.
template <class T>
class NvpListOf : public NameValueList {
 public:
  T& operator[](std::size_t index) const { return static_cast<T&>(Node(index)); }
  T* Find(std::string_view name) const { return static_cast<T*>(FindEntry(name)); }
  T& Add(std::unique_ptr<T> node) { return static_cast<T&>(InsertSorted(std::move(node))); }
};

// Uniquely named nodes of type T in ascending byte order of name: the lists of DTD
// declarations, where a later declaration replaces an earlier one of the same name.
// Lookup and replacement take logarithmic time, so a DTD with a great many declarations
// cannot stall the scanner. A node's Name must not change while it is in the set.
template <class T>
class NvpSet {
 public:
  using Map = std::map<std::string, std::unique_ptr<T>, std::less<>>;

  std::size_t Count() const { return nodes_.size(); }
  T* Find(std::string_view name) const {
    const auto found = nodes_.find(name);
    return found != nodes_.end() ? found->second.get() : nullptr;
  }
  std::string ValueOf(std::string_view name) const {
    const T* node = Find(name);
    return node != nullptr ? node->Value : std::string();
  }
  // Inserts the node, replacing one of the same name.
  T& Replace(std::unique_ptr<T> node) {
    std::unique_ptr<T>& slot = nodes_[node->Name];
    slot = std::move(node);
    return *slot;
  }
  void Clear() { nodes_.clear(); }
  // In name order; each entry is a (name, node) pair.
  typename Map::const_iterator begin() const { return nodes_.begin(); }
  typename Map::const_iterator end() const { return nodes_.end(); }

 private:
  Map nodes_;
};

// How an attribute of a tag got its value.
enum class AttrValueKind {
  Normal = 0,   // written in the tag
  Implied = 1,  // written in the tag, declared #IMPLIED
  Fixed = 2,    // declared #FIXED: the declared value always wins
  Default = 3,  // missing from the tag, supplied by the declared default
};

// The declared type of an attribute; Unknown when the element has no declaration of it.
enum class AttrKind {
  Unknown = 0,
  CData = 1,
  Id = 2,
  IdRef = 3,
  IdRefs = 4,
  Entity = 5,
  Entities = 6,
  NmToken = 7,
  NmTokens = 8,
  Notation = 9,
  Enumeration = 10,
};

// "Normal", "Implied", "Fixed", "Default".
std::string_view AttrValueKindName(AttrValueKind kind);
// "Unknown", "CDATA", "ID", ..., "Notation", "Enumeration".
std::string_view AttrTypeName(AttrKind type);

// One attribute of the current tag.
class TAttr : public NameValuePair {
 public:
  using NameValuePair::NameValuePair;

  AttrValueKind ValueKind = AttrValueKind::Normal;
  AttrKind AttrType = AttrKind::Unknown;
};

class AttributeList : public NvpListOf<TAttr> {};

}  // namespace ardvane
