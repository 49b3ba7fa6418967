#include "storage/xml/xml_nesting_scan.h"

#include <rapidxml/rapidxml.hpp>

// The scan takes every decision exactly where the parser takes it and with the parser's own
// character classes, so that the two agree on where each element opens and closes. Errors of the
// parser that cannot change where a construct ends (a bad entity, an unknown closing name) are
// left to the parser: it stops at them, having gone no deeper than the scan went.
namespace {

using Tables = rapidxml::internal::lookup_tables<0>;

inline unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
inline bool IsSpace(char c) { return Tables::lookup_whitespace[Byte(c)] != 0; }
inline bool IsNameChar(char c) { return Tables::lookup_node_name[Byte(c)] != 0; }
inline bool IsAttributeNameChar(char c) { return Tables::lookup_attribute_name[Byte(c)] != 0; }
inline bool IsTextChar(char c) { return Tables::lookup_text[Byte(c)] != 0; }
inline bool IsAttributeValueChar(char quote, char c) {
  return (quote == '\'' ? Tables::lookup_attribute_data_1 : Tables::lookup_attribute_data_2)[Byte(c)] != 0;
}

inline void SkipSpace(const char*& p) {
  while (IsSpace(*p)) ++p;
}

// True when `p` begins with `literal`; stops at the first difference, so never reads past a NUL.
inline bool StartsWith(const char* p, const char* literal) {
  for (; *literal; ++p, ++literal) {
    if (*p != *literal) return false;
  }
  return true;
}

// Skips to just past `terminator`; false at the end of the text.
inline bool SkipPast(const char*& p, const char* terminator) {
  while (!StartsWith(p, terminator)) {
    if (!*p) return false;
    ++p;
  }
  while (*terminator++) ++p;
  return true;
}

bool SkipAttributes(const char*& p) {
  while (IsAttributeNameChar(*p)) {
    ++p;
    while (IsAttributeNameChar(*p)) ++p;
    SkipSpace(p);
    if (*p != '=') return false;
    ++p;
    SkipSpace(p);
    const char quote = *p;
    if (quote != '\'' && quote != '"') return false;
    ++p;
    // Entity references consist of value characters only, so they end where plain text ends.
    while (IsAttributeValueChar(quote, *p)) ++p;
    if (*p != quote) return false;
    ++p;
    SkipSpace(p);
  }
  return true;
}

bool SkipDoctype(const char*& p) {
  while (*p != '>') {
    if (*p == '[') {
      ++p;
      size_t depth = 1;
      while (depth > 0) {
        if (*p == '[') {
          ++depth;
        } else if (*p == ']') {
          --depth;
        } else if (*p == '\0') {
          return false;
        }
        ++p;
      }
    } else if (*p == '\0') {
      return false;
    } else {
      ++p;
    }
  }
  ++p;
  return true;
}

enum class NodeKind { kOther, kEmptyElement, kOpenElement };

// Reads one node after its "<". An open element's start tag ended with ">": its contents follow.
bool ScanNode(const char*& p, NodeKind& kind) {
  kind = NodeKind::kOther;
  if (*p == '?') {
    ++p;
    if ((p[0] == 'x' || p[0] == 'X') && (p[1] == 'm' || p[1] == 'M') &&
        (p[2] == 'l' || p[2] == 'L') && IsSpace(p[3])) {
      p += 4;
      SkipSpace(p);
      if (!SkipAttributes(p)) return false;
      if (p[0] != '?' || p[1] != '>') return false;
      p += 2;
      return true;
    }
    // Processing instructions are skipped whole.
    return SkipPast(p, "?>");
  }
  if (*p == '!') {
    if (StartsWith(p + 1, "--")) {
      p += 3;
      return SkipPast(p, "-->");
    }
    if (StartsWith(p + 1, "[CDATA[")) {
      p += 8;
      return SkipPast(p, "]]>");
    }
    if (StartsWith(p + 1, "DOCTYPE") && IsSpace(p[8])) {
      p += 9;
      return SkipDoctype(p);
    }
    // Other "<!" constructs are skipped up to the next ">".
    ++p;
    return SkipPast(p, ">");
  }
  const char* name = p;
  while (IsNameChar(*p)) ++p;
  if (p == name) return false;
  SkipSpace(p);
  if (!SkipAttributes(p)) return false;
  if (*p == '>') {
    ++p;
    kind = NodeKind::kOpenElement;
    return true;
  }
  if (*p == '/' && p[1] == '>') {
    p += 2;
    kind = NodeKind::kEmptyElement;
    return true;
  }
  return false;
}

}  // namespace

VXmlNestingScan VScanXmlNesting(const char* text, size_t limit) {
  VXmlNestingScan scan;
  const char* p = text;
  if (StartsWith(p, "\xEF\xBB\xBF")) p += 3;
  size_t depth = 0;
  auto stop = [&](bool malformed) {
    scan.malformed = malformed;
    scan.offset = static_cast<size_t>(p - text);
    return scan;
  };
  for (;;) {
    const char* contentsStart = p;
    SkipSpace(p);
    if (depth > 0 && *p != '<' && *p != '\0') {
      // Text inside an element runs from the end of the previous node to the next "<".
      p = contentsStart;
      while (IsTextChar(*p)) ++p;
    }
    if (*p == '\0') {
      if (depth > 0) return stop(true);
      return scan;
    }
    if (*p != '<') return stop(true);  // text outside every element
    if (depth > 0 && p[1] == '/') {
      p += 2;
      while (IsNameChar(*p)) ++p;
      SkipSpace(p);
      if (*p != '>') return stop(true);
      ++p;
      --depth;
      continue;
    }
    const char* nodeStart = p;
    ++p;
    NodeKind kind = NodeKind::kOther;
    if (!ScanNode(p, kind)) return stop(true);
    if (kind == NodeKind::kOther) continue;
    // An empty element ("<a/>") is a level of the tree too, though it opens no contents.
    if (depth + 1 > limit) {
      p = nodeStart;
      scan.tooDeep = true;
      return stop(false);
    }
    if (depth + 1 > scan.maxDepth) scan.maxDepth = depth + 1;
    if (kind == NodeKind::kOpenElement) ++depth;
  }
}
