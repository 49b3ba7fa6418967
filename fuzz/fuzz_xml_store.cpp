// Settings files come from other machines, other tools and other people: the loader must take any
// bytes without crashing or running out of stack. Beyond that, three promises are checked:
// - the nesting scan goes exactly as deep as the parser would (else the depth guard is unsound);
// - a file that loads can be written back, and the written text loads to the same keys and values;
// - writing is stable: the written text, loaded and written again, is the same text;
// - lookups by kind and name find the first such child, indexed or not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "storage/xml/xml_document.h"
#include "storage/xml/xml_nesting_scan.h"

namespace {

using Node = VXmlFileKey::Node;
using Document = VXmlFileKey::XmlDocument;

size_t TreeDepth(const Node* document) {
  size_t deepest = 0;
  std::vector<std::pair<const Node*, size_t>> pending{{document, 0}};
  while (!pending.empty()) {
    auto [node, depth] = pending.back();
    pending.pop_back();
    if (depth > deepest) deepest = depth;
    for (const Node* child = node->first_node(); child; child = child->next_sibling()) {
      if (child->type() == rapidxml::node_element) pending.emplace_back(child, depth + 1);
    }
  }
  return deepest;
}

// Every key and value that the store can reach, in document order.
std::string Contents(Document& document) {
  std::string out;
  std::vector<std::pair<const Node*, std::string>> pending{{document.Root(), "/"}};
  while (!pending.empty()) {
    auto [key, path] = pending.back();
    pending.pop_back();
    std::vector<std::pair<const Node*, std::string>> subKeys;
    for (const Node* child = key->first_node(); child; child = child->next_sibling()) {
      if (child->type() != rapidxml::node_element) continue;
      std::string kind(Document::NodeName(child));
      std::string name(Document::NameOf(child));
      if (kind == Document::kKey) {
        out += path + " key [" + name + "]\n";
        subKeys.emplace_back(child, path + name + "/");
      } else if (kind == Document::kArray) {
        out += path + " array [" + name + "]";
        for (const Node* item = child->first_node(); item; item = item->next_sibling()) {
          if (item->type() == rapidxml::node_element && Document::NodeName(item) == Document::kString)
            out += " [" + Document::TextOf(item) + "]";
        }
        out += "\n";
      } else if (kind == Document::kDword || kind == Document::kString || kind == Document::kBinary) {
        out += path + " " + kind + " [" + name + "] = [" + Document::TextOf(child) + "]\n";
      }
    }
    for (auto it = subKeys.rbegin(); it != subKeys.rend(); ++it) pending.push_back(*it);
  }
  return out;
}

// Lookups (indexed in large elements) find the first child of each kind and name, as a walk does.
void CheckLookups(Document& document) {
  std::vector<Node*> pending{document.Root()};
  while (!pending.empty()) {
    Node* key = pending.back();
    pending.pop_back();
    for (Node* child = key->first_node(); child; child = child->next_sibling()) {
      if (child->type() != rapidxml::node_element) continue;
      std::string_view kind = Document::NodeName(child);
      std::string_view name = Document::NameOf(child);
      Node* first = key->first_node();
      while (first && !(first->type() == rapidxml::node_element &&
                        Document::NodeName(first) == kind && Document::NameOf(first) == name))
        first = first->next_sibling();
      if (document.FindChild(key, kind, name) != first) abort();
      if (kind == Document::kKey) pending.push_back(child);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);

  std::vector<char> text(bytes.begin(), bytes.end());
  text.push_back('\0');
  VXmlNestingScan scan = VScanXmlNesting(text.data(), VXmlFileKey::kMaxDepth);
  if (!scan.tooDeep) {
    auto parsed = std::make_unique<rapidxml::xml_document<char>>();
    bool ok = true;
    try {
      parsed->parse<Document::kParseFlags>(text.data());
    } catch (const rapidxml::parse_error&) {
      ok = false;
    }
    if (ok && (scan.malformed || TreeDepth(parsed.get()) != scan.maxDepth)) abort();
  }

  VRef<Document> first(new Document("fuzz.xml", 0, true));
  if (!first->LoadFromBytes(bytes)) return 0;
  const std::string contents = Contents(*first.Get());
  CheckLookups(*first.Get());
  const std::string written = first->Print();
  if (Contents(*first.Get()) != contents) abort();
  VRef<Document> second(new Document("fuzz.xml", 0, true));
  if (!second->LoadFromBytes(written)) abort();
  if (Contents(*second.Get()) != contents) abort();
  if (second->Print() != written) abort();
  return 0;
}
