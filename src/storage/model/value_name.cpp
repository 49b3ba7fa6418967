#include "storage/model/value_name.h"

#include <cstring>

uint64_t VValueNameHash(std::string_view name) {
  uint64_t head = 0;
  uint64_t tail = 0;
  size_t n = name.size();
  if (n >= 8) {
    memcpy(&head, name.data(), 8);
    memcpy(&tail, name.data() + n - 8, 8);
  } else {
    for (size_t i = 0; i < n; ++i) head = head << 8 | static_cast<unsigned char>(name[i]);
  }
  uint64_t h = (head ^ (tail * 0x9E3779B97F4A7C15ull) ^ n) * 0xFF51AFD7ED558CCDull;
  return h ^ (h >> 31);
}

VPreparedName::VPreparedName(VUnicodeString text)
    : text_(std::move(text)), utf8_(vtext::ToUtf8(text_)), hash_(VValueNameHash(utf8_)) {}

VValueNameSet::VValueNameSet(const std::vector<VUnicodeString>& names) {
  size_t size = 16;
  while (size < names.size() * 2) size *= 2;
  slots_.assign(size, -1);
  size_t mask = size - 1;
  for (const VUnicodeString& name : names) {
    std::string utf8 = vtext::ToUtf8(name);
    uint64_t hash = VValueNameHash(utf8);
    if (Contains(utf8, hash)) continue;
    size_t i = hash & mask;
    while (slots_[i] >= 0) i = (i + 1) & mask;
    slots_[i] = static_cast<int32_t>(names_.size());
    names_.push_back(std::move(utf8));
    hashes_.push_back(hash);
  }
}

bool VValueNameSet::Contains(std::string_view utf8, uint64_t hash) const {
  if (slots_.empty()) return false;
  size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    int32_t index = slots_[i];
    if (index < 0) return false;
    auto at = static_cast<size_t>(index);
    if (hashes_[at] == hash && names_[at] == utf8) return true;
  }
}

bool VValueNameSet::Contains(std::u16string_view name) const {
  if (slots_.empty()) return false;
  std::string utf8 = vtext::ToUtf8(name);
  return Contains(utf8, VValueNameHash(utf8));
}
