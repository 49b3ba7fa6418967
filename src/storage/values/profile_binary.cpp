#include "storage/values/profile_binary.h"

bool VProfileBinary::ReadBlock(const VProfileKey& key, const VUnicodeString& valueName,
                               uint8_t* bytes, VDword size) {
  // A block longer than the structure is refused outright (the value counts as absent), so no
  // back end gets the chance to copy part of it.
  VDword length = 0;
  if (!key.ReadBinary(valueName.c_str(), nullptr, length) || length > size) return false;
  VDword room = size;
  return key.ReadBinary(valueName.c_str(), bytes, room);
}
