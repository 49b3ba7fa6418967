#include "config/parts/subkey_copy.h"

namespace {

// Stores that make keys only when asked need the flag for a key that is not there yet; a key
// that exists is opened as it is.
int CreateFlag(const VProfileKey& parent, const VUnicodeString& name) {
  return parent.SubKeyExists(name.c_str()) ? 0 : kProfileKeyCreate;
}

}  // namespace

VProfileSubkeyCopy::VProfileSubkeyCopy(const char16_t* subkeyName) {
  contents_.name = subkeyName;
  saved_.name = subkeyName;
  SetName(subkeyName);
}

const VMemberTable& VProfileSubkeyCopy::GetMemberTable() const {
  static const VMemberTable table{std::span<const VMemberRow>()};
  return table;
}

void VProfileSubkeyCopy::SetContents(const Node& contents) {
  VUnicodeString keep = contents_.name;
  contents_ = contents;
  contents_.name = keep;
}

void VProfileSubkeyCopy::OnBeforeLoad(const VProfileKey* key) {
  Node node;
  node.name = contents_.name;
  if (key && key->SubKeyExists(node.name.c_str())) {
    VProfileKey sub(*key, node.name.c_str());
    ReadNode(sub, node);
  }
  contents_ = node;
  saved_ = node;
  writePending = false;
}

void VProfileSubkeyCopy::ReadNode(const VProfileKey& key, Node& node) {
  VProfileKeyIterator values(key, true);
  VUnicodeString valueName;
  int type = 0;
  while (values.Next(valueName, type)) {
    VStoredValue value;
    if (ReadStoredValue(key, valueName, type, value)) node.values.emplace_back(valueName, value);
  }
  VProfileKeyIterator keys(key, false);
  VUnicodeString childName;
  while (keys.Next(childName, type)) {
    Node child;
    child.name = childName;
    VProfileKey sub(key, childName.c_str());
    ReadNode(sub, child);
    node.children.push_back(std::move(child));
  }
}

bool VProfileSubkeyCopy::WriteNode(VProfileKey& key, const Node& node) {
  bool ok = true;
  for (const auto& [valueName, value] : node.values)
    ok = WriteStoredValue(key, valueName, value) && ok;
  for (const Node& child : node.children) {
    VProfileKey sub(key, child.name.c_str(), CreateFlag(key, child.name));
    if (!WriteNode(sub, child)) {
      // The parent reports why, as the sub-key's handle goes now.
      if (ok) key.GetLastError() = sub.GetLastError();
      ok = false;
    }
  }
  // A caching back end writes here, so that a refused write is reported rather than lost.
  return key.Flush() && ok;
}

bool VProfileSubkeyCopy::Save(VProfileKey& key, bool force) {
  if (!force && !writePending && !IsModified()) return true;
  if (!IsEmpty()) {
    VProfileKey sub(key, contents_.name.c_str(), CreateFlag(key, contents_.name));
    if (!WriteNode(sub, contents_)) {
      key.GetLastError() = sub.GetLastError();
      return false;
    }
  }
  writePending = false;
  saved_ = contents_;
  return true;
}

void VProfileSubkeyCopy::CopyValue(const VProfileData& other) {
  auto* same = dynamic_cast<const VProfileSubkeyCopy*>(&other);
  if (same && same != this && vtext::EqualsNoCase(same->contents_.name, contents_.name))
    contents_ = same->contents_;
}

void VProfileSubkeyCopy::DoCommit() {
  if (IsModified()) writePending = true;
  saved_ = contents_;
}
