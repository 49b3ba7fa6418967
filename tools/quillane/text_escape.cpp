#include "quillane/text_escape.h"

namespace cli {

std::string EscapeText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string EscapeText(const VUnicodeString& text) { return EscapeText(text.ToUtf8()); }

}  // namespace cli
