#include "storage/values/stored_value.h"

VStoredValue VStoredValue::Dword(VDword value) {
  VStoredValue v;
  v.type = kProfileTypeDword;
  v.dword = value;
  return v;
}

VStoredValue VStoredValue::String(const VUnicodeString& value) {
  VStoredValue v;
  v.type = kProfileTypeString;
  v.text = value;
  return v;
}

VStoredValue VStoredValue::Binary(std::vector<uint8_t> value) {
  VStoredValue v;
  v.type = kProfileTypeBinary;
  v.bytes = std::move(value);
  return v;
}

VStoredValue VStoredValue::MultiSz(const VStringArray& value) {
  VStoredValue v;
  v.type = kProfileTypeMultiSz;
  v.list = value;
  return v;
}

bool VStoredValue::operator==(const VStoredValue& other) const {
  if (type != other.type) return false;
  switch (type) {
    case kProfileTypeDword: return dword == other.dword;
    case kProfileTypeString: return text == other.text;
    case kProfileTypeBinary: return bytes == other.bytes;
    case kProfileTypeMultiSz: return list == other.list;
    default: return true;
  }
}

bool ReadStoredValue(const VProfileKey& key, const VUnicodeString& name, int type,
                     VStoredValue& value) {
  value.type = type;
  switch (type) {
    case kProfileTypeDword: return key.ReadDword(name.c_str(), value.dword);
    case kProfileTypeString: return key.ReadString(name.c_str(), value.text);
    case kProfileTypeBinary: {
      VDword size = 0;
      if (!key.ReadBinary(name.c_str(), nullptr, size)) return false;
      std::vector<uint8_t> bytes(size);
      // A null buffer would only ask for the size again: a block of length 0 needs a real one.
      uint8_t empty = 0;
      if (!key.ReadBinary(name.c_str(), size ? bytes.data() : &empty, size)) return false;
      bytes.resize(size);
      value.bytes = std::move(bytes);
      return true;
    }
    case kProfileTypeMultiSz: return key.ReadMultiSz(name.c_str(), value.list);
    default: return false;
  }
}

bool WriteStoredValue(VProfileKey& key, const VUnicodeString& name, const VStoredValue& value) {
  switch (value.type) {
    case kProfileTypeDword: return key.WriteDword(name.c_str(), value.dword);
    case kProfileTypeString: return key.WriteString(name.c_str(), value.text.c_str());
    case kProfileTypeBinary:
      return key.WriteBinary(name.c_str(), value.bytes.data(),
                             static_cast<VDword>(value.bytes.size()));
    case kProfileTypeMultiSz: return key.WriteMultiSz(name.c_str(), value.list);
    default: return false;
  }
}
