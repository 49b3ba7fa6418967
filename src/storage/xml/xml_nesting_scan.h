// The XML parser descends one level of recursion for every element it opens, with no limit of its
// own, so a hostile file of a few megabytes of "<a><a><a>..." would exhaust the stack. This scan
// walks the text the way the parser does, without recursion, and tells how deep the elements go
// before the parser is let loose on it.
#pragma once

#include <cstddef>

struct VXmlNestingScan {
  // The deepest element nesting seen (a lone root element is 1).
  size_t maxDepth = 0;
  // The scan reached the limit: `offset` is where the first element beyond it starts.
  bool tooDeep = false;
  // The scan met text the parser rejects; it stopped there (`offset`). The parser reports the
  // reason itself.
  bool malformed = false;
  size_t offset = 0;
};

// Scans NUL-terminated text (UTF-8, with or without a byte-order mark) as the parser of the XML
// store reads it (with VXmlFileKey::XmlDocument::kParseFlags) and stops as soon as an element
// would open deeper than `limit`.
VXmlNestingScan VScanXmlNesting(const char* text, size_t limit);
