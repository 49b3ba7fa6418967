#include "storage/xml/xml_file_iterator.h"

int VXmlFileKey::Iterator::TypeOfKind(std::string_view kind) {
  using D = VXmlFileKey::XmlDocument;
  if (kind == D::kDword) return kProfileTypeDword;
  if (kind == D::kString) return kProfileTypeString;
  if (kind == D::kBinary) return kProfileTypeBinary;
  if (kind == D::kArray) return kProfileTypeMultiSz;
  if (kind == D::kKey) return kProfileTypeXmlKey;
  return -1;
}

std::vector<VXmlFileKey::Iterator::Entry> VXmlFileKey::Iterator::List(const Node* parent,
                                                                      bool values) {
  std::vector<Entry> entries;
  if (!parent) return entries;
  for (const Node* child = parent->first_node(); child; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    int type = TypeOfKind(XmlDocument::NodeName(child));
    if (type < 0 || (type == kProfileTypeXmlKey) == values) continue;
    std::string_view name = XmlDocument::NameOf(child);
    if (name.empty()) continue;
    entries.push_back({VUnicodeString::FromUtf8(name), type, child});
  }
  return entries;
}

bool VXmlFileKey::Iterator::Next(VUnicodeString& name, int& type) {
  while (next_ < entries_.size()) {
    const Entry& entry = entries_[next_++];
    if (entry.element->parent() != parent_) continue;  // deleted since
    name = entry.name;
    type = entry.type;
    return true;
  }
  return false;
}

bool VXmlFileKey::Iterator::Next(VUnicodeString& name) {
  int type = 0;
  return Next(name, type);
}
