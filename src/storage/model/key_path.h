// The path of a key below some starting key: its levels, split once from "A\B\C" or "A/B/C",
// and joined again with backslashes where a path is shown or stored. Every command and lookup
// that names a key by its path goes through this type, so that a path means the same wherever
// it is given.
#pragma once

#include <string_view>
#include <vector>

#include "platform/unicode_string.h"

class VKeyPath {
 public:
  static constexpr char16_t kSeparator = u'\\';

  VKeyPath() = default;
  explicit VKeyPath(std::vector<VUnicodeString> levels) : levels_(std::move(levels)) {}

  // Levels separated by backslashes or slashes; empty levels (leading, trailing or doubled
  // separators) are dropped.
  static VKeyPath Parse(std::u16string_view text);
  static VKeyPath ParseUtf8(std::string_view text);
  // The same, with only backslashes separating levels: for paths the library itself made,
  // whose levels may hold a slash in stores that allow one.
  static VKeyPath ParseBackslashed(std::u16string_view text);

  const std::vector<VUnicodeString>& Levels() const { return levels_; }
  bool Empty() const { return levels_.empty(); }
  size_t Size() const { return levels_.size(); }
  const VUnicodeString& Last() const { return levels_.back(); }
  // The first `count` levels.
  VKeyPath Prefix(size_t count) const;
  VKeyPath Parent() const { return Prefix(levels_.empty() ? 0 : levels_.size() - 1); }
  VKeyPath Child(const VUnicodeString& name) const;
  // The levels joined with single backslashes ("" for the empty path).
  VUnicodeString Text() const;
  // `folder`'s text with `name` below it, without splitting either.
  static VUnicodeString Join(const VUnicodeString& folder, const VUnicodeString& name);

  bool operator==(const VKeyPath& other) const { return levels_ == other.levels_; }

 private:
  static VKeyPath Split(std::u16string_view text, bool slashToo);
  std::vector<VUnicodeString> levels_;
};
