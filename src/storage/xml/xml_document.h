// The parsed XML settings file shared by every key of one store. It owns the parser's document,
// its memory pool and the text the nodes point into, so they live exactly as long as the last
// key or iterator that holds the document.
#pragma once

#include "platform/env.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <rapidxml/rapidxml.hpp>

#include "storage/xml/xml_child_index.h"
#include "storage/xml/xml_file_key.h"

class VXmlFileKey::XmlDocument : public VUnknown<IUnknown> {
 public:
  // Element and attribute names of the file layout.
  static constexpr std::string_view kRootName = "Tolvane";
  static constexpr std::string_view kKey = "key";
  static constexpr std::string_view kDword = "dword";
  static constexpr std::string_view kString = "string";
  static constexpr std::string_view kBinary = "binary";
  static constexpr std::string_view kArray = "array";
  static constexpr std::string_view kNameAttribute = "name";

  // How the parser reads a settings file. Declarations, comments and the doctype are kept, so
  // that a file edited by hand keeps them when written back; closing tags must match their
  // element, so that a misnested file is refused instead of being read as a different tree.
  // Processing instructions are dropped: kept as nodes, one written "<?target>text?>" loses the
  // first character of its text to the parser's in-place terminator (a NUL, which would make the
  // written file unreadable).
  static constexpr int kParseFlags = rapidxml::parse_declaration_node |
                                     rapidxml::parse_comment_nodes | rapidxml::parse_doctype_node |
                                     rapidxml::parse_validate_closing_tags;

  // Files larger than this are refused rather than parsed into memory.
  static constexpr size_t kMaxFileSize = size_t{256} << 20;

  XmlDocument(std::string path, uint8_t flags, bool readOnly, vfs::Env* env = vfs::Env::Default());

  // Reads the file once; false when it could not be read or parsed (LoadError tells why).
  bool EnsureLoaded();
  // Builds the document from the bytes of a file (any encoding the text files support); the path
  // names the file in messages. Used by the loader, and directly by tests and the fuzz target.
  // Offsets in messages count bytes after the byte-order mark of a UTF-8 file, or of the UTF-8
  // form of a file in another encoding.
  bool LoadFromBytes(std::string_view bytes);
  bool LoadFailed() const { return loadFailed_; }
  const VReportMessageParams& LoadError() const { return loadError_; }

  Node* Root() { return root_; }
  bool IsReadOnly() const { return readOnly_; }
  bool IsChanged() const { return changed_; }
  void MarkChanged() { changed_ = true; }
  const std::string& Path() const { return path_; }
  uint8_t Flags() const { return flags_; }

  // Writes the whole document when it changed and may be written (atomic replace under the
  // exclusive lock). True when nothing had to be written.
  bool Write(VReportMessageParams& error);
  // The text that a write puts into the file (byte-order mark, declaration, root).
  std::string Print();

  // ---- elements of the layout ----
  // The "name" attribute of an element (empty when absent).
  static std::string_view NameOf(const Node* element);
  static std::string_view NodeName(const Node* node);
  // The text of a value element: its character data and CDATA sections joined.
  static std::string TextOf(const Node* element);
  // The same without a copy when the element holds one run of text or none, as nearly every
  // value does; otherwise the text is joined in `scratch`.
  static std::string_view TextView(const Node* element, std::string& scratch);
  // The first child element of `parent` of the given kind and name. Elements with many children
  // (a folder of thousands of sessions) get an index on first use, so that opening each of them
  // does not walk all the others.
  Node* FindChild(const Node* parent, std::string_view kind, std::string_view name);
  // Removes one child, or all children, of an element (keeping the indexes right).
  void RemoveChild(Node* parent, Node* child);
  void RemoveAllChildren(Node* element);
  // A new element of `kind` with a "name" attribute, appended to `parent`.
  Node* AppendElement(Node* parent, std::string_view kind, std::string_view name);
  // A new element of `kind` without attributes (the items of a list).
  Node* AppendElement(Node* parent, std::string_view kind);
  // Replaces the contents of a value element with `text`.
  void SetText(Node* element, std::string_view text);
  // Counts the changes that may have taken elements out of the document (removals, a new
  // reading): an element found in it when this last had a value is still in it.
  uint64_t Detachments() const { return detachments_; }

 protected:
  // The last holder is gone: a changed document is written before it is destroyed.
  void DeleteThis() override;

 private:
  ~XmlDocument() override = default;
  void CreateEmpty();
  void Fail(uint32_t id, std::initializer_list<VUnicodeString> inserts);
  void FailAtOffset(uint32_t id, const char* reason, size_t offset, std::string_view text);
  bool CheckLayout();
  // A character reference can make what the file itself cannot hold: "&#0;" a NUL, which would
  // end the next reading of the written file, and "&#xD800;" half a surrogate pair, which is not
  // UTF-8. Returns the start of the first value holding one (`nul` tells which), or null.
  const char* FindUnwritableValue(bool& nul) const;
  // Puts every element into the form the printer writes back unchanged (see the .cpp).
  void Normalize();
  void EnsureDeclaration();
  // What Print returns, in the buffer the printer filled.
  std::vector<char> PrintBytes();
  char* Keep(std::string_view text);
  Node* AppendIndexed(Node* parent, Node* element);

  std::string path_;
  vfs::Env* env_ = vfs::Env::Default();
  uint8_t flags_ = 0;
  bool readOnly_ = false;
  bool loaded_ = false;
  bool loadFailed_ = false;
  bool changed_ = false;
  bool fileExisted_ = false;  // whether the file was there when the document was loaded
  VReportMessageParams loadError_;
  std::unique_ptr<rapidxml::xml_document<char>> document_;
  // The parser works in place: the nodes point into this buffer, which lives with the document.
  std::vector<char> buffer_;
  Node* root_ = nullptr;
  // Whether the document holds elements read from a file. Only those can be in a form the printer
  // would not give back as read; what the key writes is in that form already.
  bool holdsReadElements_ = false;
  // Per parent element with many children: the first child of each kind and name.
  std::unordered_map<const Node*, VXmlChildIndex> indexes_;
  // The index looked up last: a key's reads come one after another, and the map of every large
  // element's index is large. Forgotten whenever an index goes.
  const Node* lastIndexed_ = nullptr;
  VXmlChildIndex* lastIndex_ = nullptr;
  VXmlChildIndex* IndexOf(const Node* parent);
  void DropIndex(const Node* parent);
  void DropAllIndexes();
  // About how many bytes the document prints to: the last print (or the file read) and what was
  // added since. The printer's buffer is reserved from it, because growing a buffer of tens of
  // megabytes by doubling copies it again at every step.
  size_t printedSize_ = 0;
  size_t addedSincePrint_ = 0;
  uint64_t detachments_ = 0;
};
