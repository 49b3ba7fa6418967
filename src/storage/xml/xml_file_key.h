// A key of the XML settings file: an element of a document that every key of one store shares.
// The file is read once, when a key first needs it, and written whole when the last key holding a
// changed document lets it go (or when a key is flushed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unknown.h"
#include "platform/env.h"
#include "storage/model/profile_store.h"

namespace rapidxml {
template <class Ch>
class xml_node;
}

// Messages of the XML store (library facility).
constexpr uint32_t kMsgXmlFileUnreadable = 0xE1380401;    // %1 file, %2 system reason
constexpr uint32_t kMsgXmlNotWellFormed = 0xE1380402;     // %1 file, %2 reason, %3 line, %4 column, %5 offset
constexpr uint32_t kMsgXmlNestedTooDeep = 0xE1380403;     // %1 file, %2 limit, %3 line, %4 column, %5 offset
constexpr uint32_t kMsgXmlWrongRoot = 0xE1380404;         // %1 file, %2 root element found
constexpr uint32_t kMsgXmlNoRoot = 0xE1380405;            // %1 file
constexpr uint32_t kMsgXmlSeveralRoots = 0xE1380406;      // %1 file
constexpr uint32_t kMsgXmlFileTooLarge = 0xE1380407;      // %1 file, %2 size, %3 limit
constexpr uint32_t kMsgXmlKeyTooDeep = 0xE1380408;        // %1 key name, %2 limit
constexpr uint32_t kMsgXmlKeyDeleted = 0xE1380409;        // %1 key name
constexpr uint32_t kMsgXmlUnstorableChar = 0xE138040A;    // %1 name, %2 code point
constexpr uint32_t kMsgXmlBadNumber = 0xE138040B;         // %1 value name, %2 text
constexpr uint32_t kMsgXmlBadBinary = 0xE138040C;         // %1 value name
constexpr uint32_t kMsgXmlNullCharacter = 0xE138040D;     // %1 file, %2 line, %3 column, %4 offset

class VXmlFileKey : public VProfilePrivateKey {
 public:
  class XmlDocument;
  class Iterator;
  using Node = rapidxml::xml_node<char>;

  // Elements may be nested this deep at most (the root element is level 1): deeper files are
  // refused when read, and keys are not created where their values would go deeper.
  static constexpr size_t kMaxDepth = 256;

  // The root key of a store on the file `path`.
  VXmlFileKey(const VUnicodeString& path, uint8_t flags, bool readOnly,
              vfs::Env* env = vfs::Env::Default());
  ~VXmlFileKey() override;

  bool ReadSecurity(const char16_t* name, VProfileSecurity& security) override;
  bool ReadMultiSz(const char16_t* name, VStringArray& value) override;
  bool ReadBinary(const char16_t* name, void* buffer, VDword& size) override;
  bool ReadString(const char16_t* name, VUnicodeString& value) override;
  bool ReadDword(const char16_t* name, VDword& value) override;
  bool WriteSecurity(const char16_t* name, const VProfileSecurity& security) override;
  bool WriteMultiSz(const char16_t* name, const VStringArray& value) override;
  bool WriteBinary(const char16_t* name, const void* data, VDword size) override;
  bool WriteString(const char16_t* name, const char16_t* value) override;
  bool WriteDword(const char16_t* name, VDword value) override;
  bool DeleteValue(const char16_t* name) override;
  bool DeleteSubKey(const char16_t* name) override;
  bool SubKeyExists(const char16_t* name) override;
  bool ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) override;
  bool CanWrite() override;
  bool ApplySecurity(const VProfileSecurity&) override { return false; }
  VReportMessageParams& GetLastError() override { return lastError_; }
  // The whole profile is one file: there is nothing to redistribute.
  bool Rewrite() override { return true; }
  void MergePersonalData(const char16_t*) override {}
  VProfilePrivateKey* OpenPrivateSubKey(const char16_t* name, const VProfileSecurity* security,
                                        int flags) override;
  VProfilePrivateKeyIterator* CreatePrivateKeyIterator(bool values) override;
  // Writes the shared document now when it changed; false with the reason in GetLastError.
  bool Flush() override;
  // Read straight from the elements, by names already in UTF-8: a configuration object loads a
  // hundred and fifty values this way.
  bool ReadPreparedDword(const VPreparedName& name, VDword& value) override;
  bool ReadPreparedString(const VPreparedName& name, VUnicodeString& value) override;
  void ForEachValueName(const std::function<void(const VUnicodeString& name, int type)>& visit) override;
  bool HoldsValues() override;
  void ForEachValueNameExcept(const VValueNameSet& skip,
                              const std::function<void(const VUnicodeString& name, int type)>& visit) override;

  uint8_t GetFlags() const { return flags_; }
  const VUnicodeString& GetPath() const { return path_; }

 private:
  VXmlFileKey(const VXmlFileKey& parent, Node* element, size_t depth, VUnicodeString name);

  // The document, read on first need; a document that could not be read puts its reason into
  // lastError_ (it then reads as empty and is never written).
  XmlDocument& Document();
  Node* Element();
  // The element this key hangs from: its own, or for a key that is not in the document the
  // deepest level that was there when it was opened. Null (with lastError_ set) when this key
  // cannot be used: a key refused when it was opened, or one deleted since.
  Node* UsableAnchor();
  // The key's own element: null when it cannot be used (lastError_ set) or when it is not in the
  // document (nothing set: a missing key reads as one without values).
  Node* UsableElement();
  // As UsableAnchor, and also refuses documents that will never be written back.
  Node* WritableAnchor();
  // The key's own element for a write: a key opened without being created is made now, with
  // every missing level above it. Null (with lastError_ set) when it cannot be written.
  Node* WritableElement();
  // The element at `levels` below `from`, or null when a level is missing; with `create`, the
  // missing levels are appended (and the document marked changed).
  Node* Walk(Node* from, const std::vector<std::string>& levels, bool create);
  Node* FindValue(std::string_view kind, const char16_t* name);
  Node* FindValue(std::string_view kind, std::string_view utf8Name);
  // The number `element` holds; false (with the reason, naming `name`) when it is not one.
  bool ParseDword(const Node* element, std::u16string_view name, VDword& value);
  // Visits the values not in `skip` (every one when null) in document order.
  void VisitValues(const VValueNameSet* skip,
                   const std::function<void(const VUnicodeString& name, int type)>& visit);
  Node* ElementForValue(const char16_t* name);
  bool StoreText(std::string_view kind, const char16_t* name, std::string_view text);
  // False (with the reason in lastError_) when `text` holds a character no XML file can hold;
  // `name` names the value or key in the message.
  bool CheckStorable(std::u16string_view text, const char16_t* name);
  // A value name that can be written and read back: not empty, and storable as text.
  bool CheckValueName(const char16_t* name);
  // Walks the levels of a path below this key; null when a level is missing.
  Node* FindKeyPath(const char16_t* path, Node** parent, std::string* last);

  VUnicodeString path_;
  uint8_t flags_ = 0;
  bool readOnly_ = false;
  VReportMessageParams lastError_;
  VRef<XmlDocument> document_;
  Node* element_ = nullptr;   // null for the root key until the document is read
  // Levels (UTF-8) below element_ that were missing when the key was opened without being
  // created: looking at a key must not add it to the document, or the next write of the file
  // would keep it and readers would take it for an existing (empty) key. Empty once the key is
  // in the document.
  std::vector<std::string> missing_;
  size_t depth_ = 1;          // level of the key itself (the root element is 1)
  VUnicodeString name_;       // the key's own name, for messages
  uint32_t refusal_ = 0;      // message that refuses every use of this key, or 0
  VStringArray refusalInserts_;
  // A write converts a value's name, and often its text, to UTF-8: these keep their storage from
  // one value to the next, so that a key written value by value does not allocate for each.
  std::string nameUtf8_;
  std::string textUtf8_;
  // The element last found reachable from the document, and the document's count of
  // detachments then (see UsableElement).
  const Node* checkedElement_ = nullptr;
  uint64_t checkedAt_ = 0;
};
