// The children of one large element by kind and name, for finding the first child of each
// without walking all the others. Entries hold only the child and the hash of its kind and name:
// the text is read from the child itself when a hash matches, so that indexing a key of a few
// hundred values costs one allocation rather than one per value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include <rapidxml/rapidxml.hpp>

class VXmlChildIndex {
 public:
  using Node = rapidxml::xml_node<char>;

  explicit VXmlChildIndex(size_t expected = 0);

  // The first indexed child of that kind and name, or null.
  Node* Find(std::string_view kind, std::string_view name) const;
  // Adds a child unless one of the same kind and name is there already (the first one wins).
  void Add(Node* child);
  size_t Size() const { return size_; }

  static std::string_view KindOf(const Node* child);
  static std::string_view NameOf(const Node* child);

 private:
  // The child's kind and name are kept beside it (views of the document's own text, which does
  // not change while the index lives), so that a look-up compares them without reading the
  // child's node and its attribute first.
  struct Slot {
    size_t hash = 0;
    Node* child = nullptr;
    const char* kind = nullptr;
    const char* name = nullptr;
    uint32_t kindSize = 0;
    uint32_t nameSize = 0;
  };
  static size_t Hash(std::string_view kind, std::string_view name);
  Node* FindHashed(size_t hash, std::string_view kind, std::string_view name) const;
  void Grow();
  // Places an entry known not to be there yet.
  void Place(const Slot& slot);

  std::vector<Slot> slots_;  // a power of two in size, never more than two thirds full
  size_t size_ = 0;
};
