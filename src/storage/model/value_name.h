// Value names made ready for stores that index their names in UTF-8. A configuration object
// reads each of its hundred and fifty values by a name that never changes; working out the
// UTF-8 form and the hash of each name once, where the name is made, spares every read of every
// load from doing it again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unicode_string.h"

// The hash stores index value names by: their length and their first and last eight bytes. A
// file holds a hundred names, every one hashed while the file is read, and names that share both
// ends and the length are rare.
uint64_t VValueNameHash(std::string_view utf8);

class VPreparedName {
 public:
  explicit VPreparedName(VUnicodeString text);

  const VUnicodeString& Text() const { return text_; }
  const std::string& Utf8() const { return utf8_; }
  uint64_t Hash() const { return hash_; }

 private:
  VUnicodeString text_;
  std::string utf8_;
  uint64_t hash_;
};

// A fixed set of names compared exactly as spelt, looked up by UTF-8 form and hash (as a store
// holds them) or by the name itself.
class VValueNameSet {
 public:
  VValueNameSet() = default;
  explicit VValueNameSet(const std::vector<VUnicodeString>& names);

  bool Contains(std::string_view utf8, uint64_t hash) const;
  bool Contains(std::u16string_view name) const;
  size_t Size() const { return names_.size(); }

 private:
  std::vector<std::string> names_;
  std::vector<uint64_t> hashes_;
  std::vector<int32_t> slots_;  // open addressing over indexes into names_, -1 when free
};
