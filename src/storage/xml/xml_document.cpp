#include "storage/xml/xml_document.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>

#include <rapidxml/rapidxml_print.hpp>

#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "storage/text/text_file.h"
#include "storage/xml/xml_nesting_scan.h"

namespace {

using Node = VXmlFileKey::Node;
using XmlDocument = VXmlFileKey::XmlDocument;

// What the printer writes around an element besides its kind, name and text: brackets, the
// attribute's quotes, the line break and the indentation of a value a few keys deep.
constexpr size_t kElementMarkup = 16;

VUnicodeString Number(uint64_t value) { return VUnicodeString::FromUtf8(std::to_string(value)); }

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsAllSpace(std::string_view text) {
  for (char c : text) {
    if (!IsXmlSpace(c)) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool IsValueKind(std::string_view kind) {
  return kind == XmlDocument::kDword || kind == XmlDocument::kString ||
         kind == XmlDocument::kBinary;
}

bool IsTextNode(const Node* node) {
  return node->type() == rapidxml::node_data || node->type() == rapidxml::node_cdata;
}

// A value element is written back exactly as read when it is empty, holds one run of text, or
// holds one CDATA section (the form used for text made of white space only, which the parser
// would otherwise drop). Anything else (text split by comments, stray child elements) is joined
// into one text first, or the printer's indentation would creep into the value.
bool IsCanonicalValue(const Node* element) {
  const Node* child = element->first_node();
  if (!child) return true;
  if (child->next_sibling()) return false;
  if (child->type() == rapidxml::node_cdata) return true;
  return child->type() == rapidxml::node_data &&
         !IsAllSpace(std::string_view(child->value(), child->value_size()));
}

// A declaration is only allowed at the very start of a file.
bool IsMisplacedMarkup(const Node* node) { return node->type() == rapidxml::node_declaration; }

}  // namespace

XmlDocument::XmlDocument(std::string path, uint8_t flags, bool readOnly, vfs::Env* env)
    : path_(std::move(path)), env_(env), flags_(flags), readOnly_(readOnly) {}

void XmlDocument::DeleteThis() {
  if (changed_ && !readOnly_ && !loadFailed_) {
    // Nobody is left to tell: callers who need the outcome flush before letting go.
    VReportMessageParams ignored;
    Write(ignored);
  }
  delete this;
}

// ---- loading ----

bool XmlDocument::EnsureLoaded() {
  if (loaded_) return !loadFailed_;
  vfs::FileInfo info = vfs::Stat(path_, env_);
  fileExisted_ = info.exists;
  if (!info.exists) {
    CreateEmpty();
    loaded_ = true;
    return true;
  }
  if (!info.isRegular) {
    CreateEmpty();
    loaded_ = true;
    uint32_t code = info.isDirectory ? win32::kDirectory : win32::kInvalidHandle;
    Fail(kMsgXmlFileUnreadable,
         {VUnicodeString::FromUtf8(path_), VReportMessageParams(code).GetTextOneLineTrimmed()});
    return false;
  }
  if (info.size > kMaxFileSize) {
    CreateEmpty();
    loaded_ = true;
    Fail(kMsgXmlFileTooLarge, {VUnicodeString::FromUtf8(path_), Number(info.size), Number(kMaxFileSize)});
    return false;
  }
  std::string bytes;
  if (VStatus read = VTextFile::ReadLocked(path_, bytes, kMaxFileSize, env_); !read.ok()) {
    CreateEmpty();
    loaded_ = true;
    const uint32_t error = read.Code();
    if (error == win32::kFileNotFound || error == win32::kPathNotFound) return true;  // gone meanwhile
    VReportMessageParams why;
    why.SetStatus(read);
    Fail(kMsgXmlFileUnreadable, {VUnicodeString::FromUtf8(path_), why.GetTextOneLineTrimmed()});
    return false;
  }
  return LoadFromBytes(bytes);
}

bool XmlDocument::LoadFromBytes(std::string_view bytes) {
  ++detachments_;
  loaded_ = true;
  loadFailed_ = false;
  loadError_.Reset(0);
  changed_ = false;
  try {
    if (bytes.size() > kMaxFileSize) {
      CreateEmpty();
      Fail(kMsgXmlFileTooLarge,
           {VUnicodeString::FromUtf8(path_), Number(bytes.size()), Number(kMaxFileSize)});
      return false;
    }
    // The parser reads UTF-8. A UTF-8 file is parsed as it stands (offsets in messages are then
    // offsets in the file); other encodings are converted first.
    std::string_view text = bytes;
    std::string converted;
    const bool utf16 = bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" ||
                                             bytes.substr(0, 2) == "\xFE\xFF");
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (utf16 || !vtext::IsValidUtf8(text)) {
      converted = vtext::ToUtf8(VTextFile::Decode(bytes));
      text = converted;
    }
    if (IsAllSpace(text)) {
      // An empty file (just created, or emptied) holds nothing that could be lost.
      CreateEmpty();
      return true;
    }
    // The parser works in place, and the file's own bytes are kept for the places in messages.
    // Room for the terminator first: growing a settings file's worth of bytes by one copies it.
    buffer_.clear();
    buffer_.reserve(text.size() + 1);
    buffer_.assign(text.begin(), text.end());
    buffer_.push_back('\0');
    if (const void* nul = std::memchr(buffer_.data(), '\0', text.size())) {
      size_t offset = static_cast<size_t>(static_cast<const char*>(nul) - buffer_.data());
      FailAtOffset(kMsgXmlNullCharacter, nullptr, offset, text);
      return false;
    }
    VXmlNestingScan scan = VScanXmlNesting(buffer_.data(), VXmlFileKey::kMaxDepth);
    if (scan.tooDeep) {
      FailAtOffset(kMsgXmlNestedTooDeep, nullptr, scan.offset, text);
      return false;
    }
    DropAllIndexes();
    document_ = std::make_unique<rapidxml::xml_document<char>>();
    try {
      document_->parse<kParseFlags>(buffer_.data());
    } catch (const rapidxml::parse_error& error) {
      const char* where = error.where<char>();
      size_t offset = where ? static_cast<size_t>(where - buffer_.data()) : 0;
      FailAtOffset(kMsgXmlNotWellFormed, error.what(), offset, text);
      return false;
    }
    if (text.find("&#") != std::string_view::npos) {
      bool nul = false;
      if (const char* value = FindUnwritableValue(nul)) {
        size_t offset = static_cast<size_t>(value - buffer_.data());
        if (nul) {
          FailAtOffset(kMsgXmlNullCharacter, nullptr, offset, text);
        } else {
          FailAtOffset(kMsgXmlNotWellFormed, "invalid numeric character entity", offset, text);
        }
        return false;
      }
    }
    return CheckLayout();
  } catch (const std::bad_alloc&) {
    CreateEmpty();
    Fail(win32::kNotEnoughMemory, {});
    return false;
  }
}

const char* XmlDocument::FindUnwritableValue(bool& nul) const {
  auto unwritable = [&](const char* text, size_t size) {
    if (!size) return false;
    nul = std::memchr(text, '\0', size) != nullptr;
    return nul || !vtext::IsValidUtf8(std::string_view(text, size));
  };
  std::vector<const Node*> pending{document_.get()};
  while (!pending.empty()) {
    const Node* node = pending.back();
    pending.pop_back();
    if (unwritable(node->value(), node->value_size())) return node->value();
    for (auto* attribute = node->first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
      if (unwritable(attribute->value(), attribute->value_size())) return attribute->value();
    }
    for (const Node* child = node->first_node(); child; child = child->next_sibling())
      pending.push_back(child);
  }
  return nullptr;
}

bool XmlDocument::CheckLayout() {
  Node* root = nullptr;
  for (Node* child = document_->first_node(); child; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    if (root) {
      CreateEmpty();
      Fail(kMsgXmlSeveralRoots, {VUnicodeString::FromUtf8(path_)});
      return false;
    }
    root = child;
  }
  if (!root) {
    CreateEmpty();
    Fail(kMsgXmlNoRoot, {VUnicodeString::FromUtf8(path_)});
    return false;
  }
  if (NodeName(root) != kRootName) {
    std::string found(NodeName(root));
    CreateEmpty();
    Fail(kMsgXmlWrongRoot, {VUnicodeString::FromUtf8(path_), VUnicodeString::FromUtf8(found)});
    return false;
  }
  root_ = root;
  holdsReadElements_ = true;
  return true;
}

void XmlDocument::CreateEmpty() {
  ++detachments_;
  DropAllIndexes();
  document_ = std::make_unique<rapidxml::xml_document<char>>();
  buffer_.clear();
  holdsReadElements_ = false;
  Node* declaration = document_->allocate_node(rapidxml::node_declaration);
  declaration->append_attribute(document_->allocate_attribute("version", "1.0"));
  declaration->append_attribute(document_->allocate_attribute("encoding", "UTF-8"));
  document_->append_node(declaration);
  root_ = document_->allocate_node(rapidxml::node_element, kRootName.data(), nullptr,
                                   kRootName.size());
  root_->append_attribute(document_->allocate_attribute("version", "3.0"));
  document_->append_node(root_);
}

void XmlDocument::Fail(uint32_t id, std::initializer_list<VUnicodeString> inserts) {
  loadFailed_ = true;
  loadError_.Reset(id);
  for (const auto& insert : inserts) loadError_.AddInsert(insert);
}

void XmlDocument::FailAtOffset(uint32_t id, const char* reason, size_t offset,
                               std::string_view text) {
  if (offset > text.size()) offset = text.size();
  size_t line = 1;
  size_t column = 1;
  for (size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      ++column;  // count characters, not the bytes of one UTF-8 sequence
    }
  }
  CreateEmpty();
  VUnicodeString path = VUnicodeString::FromUtf8(path_);
  switch (id) {
    case kMsgXmlNotWellFormed:
      Fail(id, {path, VUnicodeString::FromUtf8(reason ? reason : "?"), Number(line), Number(column),
                Number(offset)});
      break;
    case kMsgXmlNestedTooDeep:
      Fail(id, {path, Number(VXmlFileKey::kMaxDepth), Number(line), Number(column), Number(offset)});
      break;
    default:
      Fail(id, {path, Number(line), Number(column), Number(offset)});
      break;
  }
}

// ---- the layout ----

std::string_view XmlDocument::NodeName(const Node* node) {
  return std::string_view(node->name(), node->name_size());
}

std::string_view XmlDocument::NameOf(const Node* element) {
  const auto* attribute =
      element->first_attribute(kNameAttribute.data(), kNameAttribute.size(), true);
  if (!attribute) return {};
  return std::string_view(attribute->value(), attribute->value_size());
}

std::string_view XmlDocument::TextView(const Node* element, std::string& scratch) {
  const Node* child = element->first_node();
  if (!child) return std::string_view(element->value(), element->value_size());
  if (!child->next_sibling() && IsTextNode(child))
    return std::string_view(child->value(), child->value_size());
  scratch = TextOf(element);
  return scratch;
}

std::string XmlDocument::TextOf(const Node* element) {
  const Node* child = element->first_node();
  if (!child) return std::string(element->value(), element->value_size());
  std::string text;
  for (; child; child = child->next_sibling()) {
    if (IsTextNode(child)) text.append(child->value(), child->value_size());
  }
  return text;
}

namespace {

// Below this many children a plain walk is quicker than hashing. A key being written walks its
// children for every new value, so the index is made early: a session's hundred and fifty
// values written into a new element would otherwise cost thousands of comparisons.
constexpr size_t kIndexThreshold = 16;

}  // namespace

Node* XmlDocument::FindChild(const Node* parent, std::string_view kind, std::string_view name) {
  if (VXmlChildIndex* index = IndexOf(parent)) return index->Find(kind, name);
  size_t walked = 0;
  Node* match = nullptr;
  for (Node* child = parent->first_node(); child; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    ++walked;
    if (!match && NodeName(child) == kind && NameOf(child) == name) {
      match = child;
      if (walked < kIndexThreshold) return match;
    }
  }
  if (walked >= kIndexThreshold) {
    VXmlChildIndex& entries = indexes_.try_emplace(parent, walked).first->second;
    for (Node* child = parent->first_node(); child; child = child->next_sibling()) {
      if (child->type() == rapidxml::node_element) entries.Add(child);  // the first one wins
    }
  }
  return match;
}

void XmlDocument::RemoveChild(Node* parent, Node* child) {
  ++detachments_;
  parent->remove_node(child);
  // Another child of the same kind and name may now be the first: the index is made again.
  DropIndex(parent);
  DropIndex(child);
}

void XmlDocument::RemoveAllChildren(Node* element) {
  // Only an element with children can have an index; a value being written usually has none, and
  // is not worth a look-up among the indexes of every large key.
  if (!element->first_node()) return;
  // The text of a value goes without counting: no key lives there.
  for (const Node* child = element->first_node(); child; child = child->next_sibling()) {
    if (child->type() == rapidxml::node_element) {
      ++detachments_;
      break;
    }
  }
  element->remove_all_nodes();
  DropIndex(element);
}

char* XmlDocument::Keep(std::string_view text) {
  char* copy = document_->allocate_string(nullptr, text.size() + 1);
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

Node* XmlDocument::AppendElement(Node* parent, std::string_view kind) {
  // Kinds are the layout's static names: the node may point at them.
  Node* element = document_->allocate_node(rapidxml::node_element, kind.data(), nullptr, kind.size());
  parent->append_node(element);
  addedSincePrint_ += 2 * kind.size() + kElementMarkup;
  return AppendIndexed(parent, element);
}

Node* XmlDocument::AppendElement(Node* parent, std::string_view kind, std::string_view name) {
  Node* element = document_->allocate_node(rapidxml::node_element, kind.data(), nullptr, kind.size());
  element->append_attribute(document_->allocate_attribute(
      kNameAttribute.data(), Keep(name), kNameAttribute.size(), name.size()));
  parent->append_node(element);
  addedSincePrint_ += 2 * kind.size() + kNameAttribute.size() + name.size() + kElementMarkup;
  return AppendIndexed(parent, element);
}

Node* XmlDocument::AppendIndexed(Node* parent, Node* element) {
  if (VXmlChildIndex* index = IndexOf(parent)) index->Add(element);
  return element;
}

VXmlChildIndex* XmlDocument::IndexOf(const Node* parent) {
  if (parent == lastIndexed_) return lastIndex_;
  auto found = indexes_.find(parent);
  if (found == indexes_.end()) return nullptr;
  lastIndexed_ = parent;
  lastIndex_ = &found->second;
  return lastIndex_;
}

void XmlDocument::DropIndex(const Node* parent) {
  if (parent == lastIndexed_) lastIndexed_ = nullptr;
  indexes_.erase(parent);
}

void XmlDocument::DropAllIndexes() {
  lastIndexed_ = nullptr;
  indexes_.clear();
}

void XmlDocument::SetText(Node* element, std::string_view text) {
  RemoveAllChildren(element);
  addedSincePrint_ += text.size();
  if (text.empty()) {
    element->value("", 0);
  } else if (IsAllSpace(text)) {
    element->value("", 0);
    Node* section = document_->allocate_node(rapidxml::node_cdata);
    section->value(Keep(text), text.size());
    element->append_node(section);
  } else {
    element->value(Keep(text), text.size());
  }
}

// ---- writing ----

void XmlDocument::EnsureDeclaration() {
  // One declaration, first in the file, saying UTF-8 (which the file is now, whatever it was
  // read as). The parser also takes declarations elsewhere; written there they would make the
  // file unreadable for other XML tools.
  const rapidxml::xml_attribute<char>* standalone = nullptr;
  for (Node* child = document_->first_node(); child;) {
    Node* next = child->next_sibling();
    if (child->type() == rapidxml::node_declaration && !standalone)
      standalone = child->first_attribute("standalone");
    if (IsMisplacedMarkup(child)) document_->remove_node(child);
    child = next;
  }
  Node* declaration = document_->allocate_node(rapidxml::node_declaration);
  declaration->append_attribute(document_->allocate_attribute("version", "1.0"));
  declaration->append_attribute(document_->allocate_attribute("encoding", "UTF-8"));
  if (standalone) {
    declaration->append_attribute(document_->allocate_attribute(
        "standalone", Keep(std::string_view(standalone->value(), standalone->value_size())), 0,
        standalone->value_size()));
  }
  document_->prepend_node(declaration);
}

void XmlDocument::Normalize() {
  ++detachments_;
  DropAllIndexes();
  std::vector<Node*> pending{root_};
  while (!pending.empty()) {
    Node* element = pending.back();
    pending.pop_back();
    for (Node* child = element->first_node(); child;) {
      Node* next = child->next_sibling();
      if (IsMisplacedMarkup(child) || child->type() == rapidxml::node_doctype)
        element->remove_node(child);
      child = next;
    }
    std::string_view kind = NodeName(element);
    std::string_view parentKind = element->parent() ? NodeName(element->parent()) : "";
    const bool inKey = element != root_ && (parentKind == kKey || element->parent() == root_);
    const bool isValue = (inKey && IsValueKind(kind)) || (parentKind == kArray && kind == kString);
    if (isValue) {
      if (!IsCanonicalValue(element)) SetText(element, TextOf(element));
      continue;
    }
    // Other elements keep their child elements; stray text between them is trimmed, because the
    // printer puts it on a line of its own and the indentation would be read back as part of it.
    Node* only = element->first_node();
    if (only && !only->next_sibling() && only->type() == rapidxml::node_data) continue;
    for (Node* child = element->first_node(); child;) {
      Node* next = child->next_sibling();
      if (child->type() == rapidxml::node_data) {
        std::string_view trimmed = Trim(std::string_view(child->value(), child->value_size()));
        if (trimmed.empty()) {
          element->remove_node(child);
        } else {
          child->value(trimmed.data(), trimmed.size());
        }
      } else if (child->type() == rapidxml::node_element) {
        pending.push_back(child);
      }
      child = next;
    }
  }
}

std::string XmlDocument::Print() {
  std::vector<char> printed = PrintBytes();
  return std::string(printed.begin(), printed.end());
}

std::vector<char> XmlDocument::PrintBytes() {
  if (holdsReadElements_) Normalize();
  EnsureDeclaration();
  // The printer writes one character at a time: a vector's append is inlined where a string's
  // is not, which halves the time of printing a large file.
  std::vector<char> printed;
  const size_t known = std::max(printedSize_, buffer_.size());
  printed.reserve(known + known / 4 + addedSincePrint_ + addedSincePrint_ / 4 + 4096);
  for (char c : std::string_view("\xEF\xBB\xBF")) printed.push_back(c);
  rapidxml::print(std::back_inserter(printed), *document_, 0);
  // The printer ends the document itself with one more line break than its last element.
  while (printed.size() >= 2 && printed.back() == '\n' && printed[printed.size() - 2] == '\n')
    printed.pop_back();
  printedSize_ = printed.size();
  addedSincePrint_ = 0;
  return printed;
}

bool XmlDocument::Write(VReportMessageParams& error) {
  if (!changed_) return true;
  if (loadFailed_) {
    error = loadError_;
    return false;
  }
  if (readOnly_) {
    error.SetError(win32::kAccessDenied);
    return false;
  }
  // A new file that would hold nothing is not made: keys opened and taken back again (a refused
  // write cleaning up after itself) leave no settings file behind.
  if (!fileExisted_ && root_ && !root_->first_node() &&
      !vfs::Stat(path_, env_).exists) {
    changed_ = false;
    return true;
  }
  // Written from the printer's own buffer: a copy of a large file costs as much again in memory
  // and a good part of the time of printing it.
  std::vector<char> bytes;
  try {
    bytes = PrintBytes();
  } catch (const std::bad_alloc&) {
    error.SetError(win32::kNotEnoughMemory);
    return false;
  }
  const std::string_view text(bytes.data(), bytes.size());
  if (VStatus written = vfs::ReplaceFileContents(path_, text, vfs::ReplaceOptions(), env_);
      !written.ok()) {
    error.SetStatus(written);
    return false;
  }
  changed_ = false;
  fileExisted_ = true;
  return true;
}
