// Iteration over the sub-keys or the values of an XML key, in document order (the order in which
// they were first written).
#pragma once

#include <vector>

#include "storage/xml/xml_document.h"

class VXmlFileKey::Iterator : public VProfilePrivateKeyIterator {
 public:
  struct Entry {
    VUnicodeString name;
    int type;
    const Node* element;
  };
  // The entries are taken when the iterator is made; those removed from `parent` since are
  // skipped. The iterator holds the document, so the elements stay valid.
  Iterator(VRef<XmlDocument> document, const Node* parent, std::vector<Entry> entries)
      : document_(std::move(document)), parent_(parent), entries_(std::move(entries)) {}
  bool Next(VUnicodeString& name, int& type) override;
  bool Next(VUnicodeString& name) override;

  // The children of `parent` of one category: "key" elements (type 4), or the value elements
  // (types 0 to 3). Elements of other names, and elements without a name, are not entries.
  static std::vector<Entry> List(const Node* parent, bool values);
  // The type of an element of this kind: 0 to 3 for values, 4 for a key, -1 for anything else.
  static int TypeOfKind(std::string_view kind);

 private:
  VRef<XmlDocument> document_;
  const Node* parent_;
  std::vector<Entry> entries_;
  size_t next_ = 0;
};
