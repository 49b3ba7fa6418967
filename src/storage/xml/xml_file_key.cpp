#include "storage/xml/xml_file_key.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "storage/xml/xml_document.h"
#include "storage/xml/xml_file_iterator.h"
#include "storage/xml/xml_value_text.h"

namespace {

using Node = VXmlFileKey::Node;
using XmlDocument = VXmlFileKey::XmlDocument;

// Keys hold values, and lists hold items, one and two levels below the key.
constexpr size_t kMaxKeyDepth = VXmlFileKey::kMaxDepth - 2;

std::string Utf8(std::u16string_view text) { return vtext::ToUtf8(text); }

// `text` in UTF-8, held in `out` and made in its storage when the text is ASCII, as names and
// most values are.
std::string_view Utf8Into(std::string& out, std::u16string_view text) {
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 0x80) {
      out = Utf8(text);
      break;
    }
    out[i] = static_cast<char>(text[i]);
  }
  return out;
}

// The levels of a sub-key path: separated by "/" or "\", empty levels ignored.
std::vector<std::u16string> SplitPath(const char16_t* path) {
  std::vector<std::u16string> levels;
  std::u16string current;
  for (const char16_t* p = path ? path : u""; *p; ++p) {
    if (*p == u'/' || *p == u'\\') {
      if (!current.empty()) levels.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(*p);
    }
  }
  if (!current.empty()) levels.push_back(std::move(current));
  return levels;
}

bool IsValueElement(const Node* node) {
  if (node->type() != rapidxml::node_element) return false;
  std::string_view kind = XmlDocument::NodeName(node);
  return kind == XmlDocument::kDword || kind == XmlDocument::kString ||
         kind == XmlDocument::kBinary || kind == XmlDocument::kArray;
}

}  // namespace

VXmlFileKey::VXmlFileKey(const VUnicodeString& path, uint8_t flags, bool readOnly, vfs::Env* env)
    : path_(path),
      flags_(flags),
      readOnly_(readOnly),
      document_(new XmlDocument(path.ToUtf8(), flags, readOnly, env)) {}

VXmlFileKey::VXmlFileKey(const VXmlFileKey& parent, Node* element, size_t depth,
                         VUnicodeString name)
    : path_(parent.path_),
      flags_(parent.flags_),
      readOnly_(parent.readOnly_),
      document_(parent.document_),
      element_(element),
      depth_(depth),
      name_(std::move(name)) {}

Node* VXmlFileKey::Walk(Node* from, const std::vector<std::string>& levels, bool create) {
  XmlDocument& document = *document_.Get();
  Node* current = from;
  for (size_t i = 0; i < levels.size() && current; ++i) {
    Node* next = document.FindChild(current, XmlDocument::kKey, levels[i]);
    if (!next && create) {
      next = document.AppendElement(current, XmlDocument::kKey, levels[i]);
      document.MarkChanged();
    }
    current = next;
  }
  return current;
}

// Releasing the document writes it when this was its last holder.
VXmlFileKey::~VXmlFileKey() = default;

// ---- the element of this key ----

VXmlFileKey::XmlDocument& VXmlFileKey::Document() {
  XmlDocument& document = *document_.Get();
  if (!document.EnsureLoaded()) lastError_ = document.LoadError();
  return document;
}

Node* VXmlFileKey::Element() {
  XmlDocument& document = Document();
  if (!element_ && !refusal_) element_ = document.Root();
  return element_;
}

Node* VXmlFileKey::UsableAnchor() {
  Node* element = Element();
  if (refusal_) {
    lastError_.Reset(refusal_);
    for (const auto& insert : refusalInserts_) lastError_.AddInsert(insert);
    return nullptr;
  }
  // A key deleted through another handle is no longer reachable from the document: its values
  // must neither be read nor silently written into nowhere. Once found reachable, the element
  // stays so until something is taken out of the document, so the walk up is not made for each
  // value read or written.
  const uint64_t detachments = document_->Detachments();
  if (element && element == checkedElement_ && detachments == checkedAt_) return element;
  for (const Node* node = element; node; node = node->parent()) {
    if (node->type() == rapidxml::node_document) {
      checkedElement_ = element;
      checkedAt_ = detachments;
      return element;
    }
  }
  lastError_.Reset(kMsgXmlKeyDeleted);
  lastError_.AddInsert(name_);
  return nullptr;
}

Node* VXmlFileKey::UsableElement() {
  Node* anchor = UsableAnchor();
  if (!anchor || missing_.empty()) return anchor;
  // Another handle may have made the key since: from then on it is that element.
  Node* found = Walk(anchor, missing_, false);
  if (found) {
    element_ = found;
    missing_.clear();
  }
  return found;
}

Node* VXmlFileKey::WritableAnchor() {
  Node* element = UsableAnchor();
  if (!element) return nullptr;
  if (document_->LoadFailed()) {
    // The file could not be read: changing it would replace the user's settings with an almost
    // empty document, so nothing is accepted for it.
    lastError_ = document_->LoadError();
    return nullptr;
  }
  return element;
}

Node* VXmlFileKey::WritableElement() {
  Node* anchor = WritableAnchor();
  if (!anchor || missing_.empty()) return anchor;
  try {
    element_ = Walk(anchor, missing_, true);
  } catch (const std::bad_alloc&) {
    lastError_.SetError(win32::kNotEnoughMemory);
    return nullptr;
  }
  missing_.clear();
  return element_;
}

bool VXmlFileKey::CheckStorable(std::u16string_view text, const char16_t* name) {
  long c = VXmlFirstUnstorableChar(text);
  if (c < 0) return true;
  lastError_.Reset(kMsgXmlUnstorableChar);
  lastError_.AddInsert(name ? name : u"");
  lastError_.AddInsert(vtext::FormatHex(static_cast<uint32_t>(c), 4, true));
  return false;
}

bool VXmlFileKey::CheckValueName(const char16_t* name) {
  // An element without a name is never found again by a read, so the value would be written and
  // then lost; the INI store refuses the same name for the same reason.
  if (!*name) {
    lastError_.SetError(win32::kInvalidName);
    return false;
  }
  return CheckStorable(name, name);
}

// ---- values ----

Node* VXmlFileKey::FindValue(std::string_view kind, const char16_t* name) {
  if (!name) return nullptr;
  return FindValue(kind, Utf8Into(nameUtf8_, name));
}

Node* VXmlFileKey::FindValue(std::string_view kind, std::string_view utf8Name) {
  Node* element = UsableElement();
  if (!element) return nullptr;
  return document_->FindChild(element, kind, utf8Name);
}

bool VXmlFileKey::ParseDword(const Node* element, std::u16string_view name, VDword& value) {
  std::string scratch;
  std::string_view text = XmlDocument::TextView(element, scratch);
  uint32_t number = 0;
  if (!VXmlParseDword(text, number)) {
    lastError_.Reset(kMsgXmlBadNumber);
    lastError_.AddInsert(VUnicodeString(name));
    lastError_.AddInsert(VUnicodeString::FromUtf8(text));
    return false;
  }
  value = number;
  return true;
}

bool VXmlFileKey::ReadString(const char16_t* name, VUnicodeString& value) {
  Node* element = FindValue(XmlDocument::kString, name);
  if (!element) return false;
  value = VUnicodeString::FromUtf8(XmlDocument::TextView(element, textUtf8_));
  return true;
}

bool VXmlFileKey::ReadDword(const char16_t* name, VDword& value) {
  Node* element = FindValue(XmlDocument::kDword, name);
  return element && ParseDword(element, name, value);
}

bool VXmlFileKey::ReadPreparedDword(const VPreparedName& name, VDword& value) {
  Node* element = FindValue(XmlDocument::kDword, name.Utf8());
  return element && ParseDword(element, name.Text(), value);
}

bool VXmlFileKey::ReadPreparedString(const VPreparedName& name, VUnicodeString& value) {
  Node* element = FindValue(XmlDocument::kString, name.Utf8());
  if (!element) return false;
  value = VUnicodeString::FromUtf8(XmlDocument::TextView(element, textUtf8_));
  return true;
}

void VXmlFileKey::ForEachValueName(
    const std::function<void(const VUnicodeString& name, int type)>& visit) {
  VisitValues(nullptr, visit);
}

bool VXmlFileKey::HoldsValues() {
  // The children the value iterator would list, up to the first; usually the first child.
  Node* element = UsableElement();
  if (!element) return false;
  for (const Node* child = element->first_node(); child; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    const int type = Iterator::TypeOfKind(XmlDocument::NodeName(child));
    if (type >= 0 && type != kProfileTypeXmlKey && !XmlDocument::NameOf(child).empty()) return true;
  }
  return false;
}

void VXmlFileKey::ForEachValueNameExcept(
    const VValueNameSet& skip, const std::function<void(const VUnicodeString& name, int type)>& visit) {
  VisitValues(&skip, visit);
}

void VXmlFileKey::VisitValues(const VValueNameSet* skip,
                              const std::function<void(const VUnicodeString& name, int type)>& visit) {
  Node* element = UsableElement();
  if (!element) return;
  // Taken before the first visit, which may change the key; a value removed since is passed over.
  struct Entry {
    const Node* child;
    int type;
  };
  std::vector<Entry> entries;
  for (const Node* child = element->first_node(); child; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    const int type = Iterator::TypeOfKind(XmlDocument::NodeName(child));
    if (type < 0 || type == kProfileTypeXmlKey) continue;
    const std::string_view name = XmlDocument::NameOf(child);
    if (name.empty()) continue;
    if (skip) {
      // Names are compared as they read: ASCII as it is, anything else through its text.
      bool ascii = true;
      for (char c : name) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
      if (ascii ? skip->Contains(name, VValueNameHash(name))
                : skip->Contains(VUnicodeString::FromUtf8(name)))
        continue;
    }
    entries.push_back({child, type});
  }
  VRef<XmlDocument> held = document_;  // the elements live as long as the document
  VUnicodeString name;
  for (const Entry& entry : entries) {
    if (entry.child->parent() != element) continue;
    name = VUnicodeString::FromUtf8(XmlDocument::NameOf(entry.child));
    visit(name, entry.type);
  }
}

bool VXmlFileKey::ReadBinary(const char16_t* name, void* buffer, VDword& size) {
  Node* element = FindValue(XmlDocument::kBinary, name);
  if (!element) return false;
  std::vector<uint8_t> bytes;
  if (!VXmlParseBinary(XmlDocument::TextOf(element), bytes)) {
    lastError_.Reset(kMsgXmlBadBinary);
    lastError_.AddInsert(name);
    return false;
  }
  const auto length = static_cast<VDword>(bytes.size());
  if (buffer) {
    if (size < length) {
      lastError_.SetError(win32::kInsufficientBuffer);
      return false;
    }
    if (length) std::memcpy(buffer, bytes.data(), length);
  }
  size = length;
  return true;
}

bool VXmlFileKey::ReadMultiSz(const char16_t* name, VStringArray& value) {
  Node* element = FindValue(XmlDocument::kArray, name);
  if (!element) return false;
  VStringArray items;
  for (Node* child = element->first_node(); child; child = child->next_sibling()) {
    if (child->type() == rapidxml::node_element &&
        XmlDocument::NodeName(child) == XmlDocument::kString)
      items.Add(VUnicodeString::FromUtf8(XmlDocument::TextOf(child)));
  }
  value = std::move(items);
  return true;
}

bool VXmlFileKey::ReadSecurity(const char16_t* name, VProfileSecurity& security) {
  VStringArray lines;
  if (ReadMultiSz(name, lines)) return security.FromStrings(lines);
  VDword size = 0;
  if (!ReadBinary(name, nullptr, size)) return false;
  std::vector<uint8_t> bytes(size);
  return ReadBinary(name, bytes.data(), size) && security.FromSecurityDescriptor(bytes.data(), size);
}

// The element a value named `name` is written in: null (with the reason) when the key cannot be
// written or the name cannot be stored.
VXmlFileKey::Node* VXmlFileKey::ElementForValue(const char16_t* name) {
  if (!WritableAnchor()) return nullptr;
  if (!name) {
    lastError_.SetError(win32::kInvalidParameter);
    return nullptr;
  }
  // A refused value makes no key either.
  return CheckValueName(name) ? WritableElement() : nullptr;
}

// Replaces the text of the value `name` of one kind, or appends a new element for it.
bool VXmlFileKey::StoreText(std::string_view kind, const char16_t* name, std::string_view text) {
  Node* element = ElementForValue(name);
  if (!element) return false;
  try {
    XmlDocument& document = *document_.Get();
    std::string_view key = Utf8Into(nameUtf8_, name);
    Node* value = document.FindChild(element, kind, key);
    if (!value) value = document.AppendElement(element, kind, key);
    document.SetText(value, text);
    document.MarkChanged();
  } catch (const std::bad_alloc&) {
    lastError_.SetError(win32::kNotEnoughMemory);
    return false;
  }
  return true;
}

bool VXmlFileKey::WriteDword(const char16_t* name, VDword value) {
  return StoreText(XmlDocument::kDword, name, VXmlFormatDword(value));
}

bool VXmlFileKey::WriteString(const char16_t* name, const char16_t* value) {
  std::u16string_view text(value ? value : u"");
  if (!CheckStorable(text, name)) return false;
  return StoreText(XmlDocument::kString, name, Utf8Into(textUtf8_, text));
}

bool VXmlFileKey::WriteBinary(const char16_t* name, const void* data, VDword size) {
  if (size && !data) {
    lastError_.SetError(win32::kInvalidParameter);
    return false;
  }
  return StoreText(XmlDocument::kBinary, name, VXmlFormatBinary(data, size));
}

bool VXmlFileKey::WriteMultiSz(const char16_t* name, const VStringArray& value) {
  for (const auto& item : value) {
    if (!CheckStorable(item, name)) return false;
  }
  Node* element = ElementForValue(name);
  if (!element) return false;
  try {
    XmlDocument& document = *document_.Get();
    std::string_view key = Utf8Into(nameUtf8_, name);
    Node* list = document.FindChild(element, XmlDocument::kArray, key);
    if (!list) list = document.AppendElement(element, XmlDocument::kArray, key);
    document.RemoveAllChildren(list);
    list->value("", 0);
    for (const auto& item : value)
      document.SetText(document.AppendElement(list, XmlDocument::kString),
                       Utf8Into(textUtf8_, item));
    document.MarkChanged();
  } catch (const std::bad_alloc&) {
    lastError_.SetError(win32::kNotEnoughMemory);
    return false;
  }
  return true;
}

bool VXmlFileKey::WriteSecurity(const char16_t* name, const VProfileSecurity& security) {
  return WriteMultiSz(name, security.ToStrings());
}

bool VXmlFileKey::DeleteValue(const char16_t* name) {
  if (!WritableAnchor()) return false;
  if (!name) {
    lastError_.SetError(win32::kInvalidParameter);
    return false;
  }
  Node* element = UsableElement();
  if (!element) return true;  // a key that is not there holds no value to remove
  // Every value of that name goes, whatever its kind, so that no read of the name succeeds after.
  std::string key = Utf8(name);
  bool removed = false;
  for (Node* child = element->first_node(); child;) {
    Node* next = child->next_sibling();
    if (IsValueElement(child) && XmlDocument::NameOf(child) == key) {
      document_->RemoveChild(element, child);
      removed = true;
    }
    child = next;
  }
  if (removed) document_->MarkChanged();
  return true;
}

// ---- sub-keys ----

Node* VXmlFileKey::FindKeyPath(const char16_t* path, Node** parent, std::string* last) {
  Node* element = UsableElement();
  if (!element) return nullptr;
  std::vector<std::u16string> levels = SplitPath(path);
  if (levels.empty()) return nullptr;
  Node* current = element;
  for (size_t i = 0; i < levels.size(); ++i) {
    std::string level = Utf8(levels[i]);
    if (i + 1 == levels.size()) {
      if (parent) *parent = current;
      if (last) *last = level;
    }
    current = document_->FindChild(current, XmlDocument::kKey, level);
    if (!current) return nullptr;
  }
  return current;
}

bool VXmlFileKey::SubKeyExists(const char16_t* name) {
  return FindKeyPath(name, nullptr, nullptr) != nullptr;
}

bool VXmlFileKey::DeleteSubKey(const char16_t* name) {
  if (!WritableAnchor()) return false;
  if (SplitPath(name).empty()) {
    lastError_.SetError(win32::kInvalidName);
    return false;
  }
  Node* parent = nullptr;
  std::string last;
  if (!FindKeyPath(name, &parent, &last)) return true;  // nothing of that name: nothing to remove
  bool removed = false;
  for (Node* child = parent->first_node(); child;) {
    Node* next = child->next_sibling();
    if (child->type() == rapidxml::node_element &&
        XmlDocument::NodeName(child) == XmlDocument::kKey && XmlDocument::NameOf(child) == last) {
      document_->RemoveChild(parent, child);
      removed = true;
    }
    child = next;
  }
  if (removed) document_->MarkChanged();
  return true;
}

bool VXmlFileKey::ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) {
  // Any name will do for an element attribute, except characters that no XML file can hold.
  uint32_t code = VXmlFirstUnstorableChar(name ? name : u"") < 0 ? 0 : win32::kInvalidName;
  if (error) *error = new VReportMessageParams(code);
  return code == 0;
}

bool VXmlFileKey::CanWrite() {
  // Read first, so that a file that cannot be read explains itself in GetLastError.
  if (Document().LoadFailed()) return false;
  if (readOnly_ || refusal_) return false;
  vfs::FileInfo info = vfs::Stat(document_->Path());
  return !(info.exists && info.readOnly);
}

VProfilePrivateKey* VXmlFileKey::OpenPrivateSubKey(const char16_t* name, const VProfileSecurity*,
                                                   int flags) {
  std::vector<std::u16string> levels = SplitPath(name);
  VUnicodeString keyName(levels.empty() ? std::u16string() : levels.back());
  auto refused = [&](uint32_t id, std::initializer_list<VUnicodeString> inserts) {
    auto* key = new VXmlFileKey(*this, nullptr, depth_, keyName);
    key->refusal_ = id;
    for (const auto& insert : inserts) key->refusalInserts_.Add(insert);
    key->lastError_.Reset(id);
    for (const auto& insert : inserts) key->lastError_.AddInsert(insert);
    return key;
  };
  Node* anchor = UsableAnchor();
  if (!anchor) {
    auto* key = refused(lastError_.GetMessageId(), {});
    key->refusalInserts_ = lastError_.GetInserts();
    key->lastError_ = lastError_;
    return key;
  }
  for (const auto& level : levels) {
    long c = VXmlFirstUnstorableChar(level);
    if (c >= 0) {
      return refused(kMsgXmlUnstorableChar,
                     {level, vtext::FormatHex(static_cast<uint32_t>(c), 4, true)});
    }
  }
  if (depth_ + levels.size() > kMaxKeyDepth) {
    return refused(kMsgXmlKeyTooDeep,
                   {keyName, VUnicodeString::FromUtf8(std::to_string(kMaxKeyDepth - 1))});
  }
  try {
    // The path from the deepest level known to be there: this key's element, or for a key not
    // made yet its anchor followed by its own missing levels.
    Node* from = UsableElement();
    std::vector<std::string> path;
    if (!from) {
      from = anchor;
      path = missing_;
    }
    for (const auto& level : levels) path.push_back(Utf8(level));
    if (flags & kProfileKeyCreate) {
      return new VXmlFileKey(*this, Walk(from, path, true), depth_ + levels.size(), keyName);
    }
    // Without the create flag nothing is added: the new key keeps the levels that are missing
    // and makes them only when something is written into it.
    size_t found = 0;
    for (; found < path.size(); ++found) {
      Node* next = document_->FindChild(from, XmlDocument::kKey, path[found]);
      if (!next) break;
      from = next;
    }
    auto* key = new VXmlFileKey(*this, from, depth_ + levels.size(), keyName);
    key->missing_.assign(path.begin() + static_cast<std::ptrdiff_t>(found), path.end());
    return key;
  } catch (const std::bad_alloc&) {
    return refused(win32::kNotEnoughMemory, {});
  }
}

VProfilePrivateKeyIterator* VXmlFileKey::CreatePrivateKeyIterator(bool values) {
  Node* element = UsableElement();
  return new Iterator(document_, element, Iterator::List(element, values));
}

bool VXmlFileKey::Flush() {
  XmlDocument& document = Document();
  if (!document.IsChanged()) return true;
  return document.Write(lastError_);
}
