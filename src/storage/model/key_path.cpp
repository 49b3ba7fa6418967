#include "storage/model/key_path.h"

#include <algorithm>

VKeyPath VKeyPath::Split(std::u16string_view text, bool slashToo) {
  VKeyPath path;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = slashToo ? text.find_first_of(u"\\/", start) : text.find(kSeparator, start);
    if (end == std::u16string_view::npos) end = text.size();
    if (end > start) path.levels_.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return path;
}

VKeyPath VKeyPath::Parse(std::u16string_view text) { return Split(text, true); }

VKeyPath VKeyPath::ParseUtf8(std::string_view text) {
  return Split(VUnicodeString::FromUtf8(std::string(text)), true);
}

VKeyPath VKeyPath::ParseBackslashed(std::u16string_view text) { return Split(text, false); }

VKeyPath VKeyPath::Prefix(size_t count) const {
  VKeyPath prefix;
  prefix.levels_.assign(levels_.begin(), levels_.begin() + std::min(count, levels_.size()));
  return prefix;
}

VKeyPath VKeyPath::Child(const VUnicodeString& name) const {
  VKeyPath child = *this;
  child.levels_.push_back(name);
  return child;
}

VUnicodeString VKeyPath::Join(const VUnicodeString& folder, const VUnicodeString& name) {
  if (folder.empty()) return name;
  VUnicodeString joined = folder;
  joined.push_back(kSeparator);
  joined += name;
  return joined;
}

VUnicodeString VKeyPath::Text() const {
  VUnicodeString text;
  for (const auto& level : levels_) {
    if (!text.empty()) text.push_back(kSeparator);
    text += level;
  }
  return text;
}
