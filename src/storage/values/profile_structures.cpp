#include "storage/values/profile_structures.h"

#include <cstring>

bool VProfileLogFont::Read(const VProfileKey& key) {
  if (VProfile2::Read(key)) return true;
  size_t marker = GetName().find(u" v2");
  if (marker == VUnicodeString::npos) return false;
  VUnicodeString olderName(GetName().substr(0, marker));
  uint8_t bytes[VLogFont::kLegacyStoredSize] = {};
  if (!ReadBlock(key, olderName, bytes, VLogFont::kLegacyStoredSize)) return false;
  Current() = VLogFont::FromLegacyBytes(bytes);
  writePending = true;
  return true;
}
