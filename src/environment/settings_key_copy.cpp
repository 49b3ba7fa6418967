#include "environment/settings_key_copy.h"

#include <vector>

#include "platform/win32_errors.h"

bool KeyHasValue(const VProfileKey& key, const char16_t* name) {
  VDword dword = 0;
  if (key.ReadDword(name, dword)) return true;
  VUnicodeString text;
  if (key.ReadString(name, text)) return true;
  VDword size = 0;
  if (key.ReadBinary(name, nullptr, size)) return true;
  VStringArray list;
  return key.ReadMultiSz(name, list);
}

namespace {

bool CopyValue(VProfileKey& destination, const VProfileKey& source, const VUnicodeString& name,
               int type, VReportMessageParams& error) {
  const char16_t* n = name.c_str();
  bool ok = false;
  switch (type) {
    case kProfileTypeDword: {
      VDword value = 0;
      ok = source.ReadDword(n, value) && destination.WriteDword(n, value);
      break;
    }
    case kProfileTypeString: {
      VUnicodeString value;
      value.SetSensitive(true);
      ok = source.ReadString(n, value) && destination.WriteString(n, value.c_str());
      break;
    }
    case kProfileTypeBinary: {
      VDword size = 0;
      if (!source.ReadBinary(n, nullptr, size)) break;
      std::vector<uint8_t> bytes(size);
      ok = source.ReadBinary(n, bytes.data(), size) &&
           destination.WriteBinary(n, bytes.data(), size);
      break;
    }
    case kProfileTypeMultiSz: {
      VStringArray value;
      ok = source.ReadMultiSz(n, value) && destination.WriteMultiSz(n, value);
      break;
    }
    default:
      return true;
  }
  if (!ok) {
    error = destination.GetLastError().IsError() ? destination.GetLastError()
                                                 : source.GetLastError();
    if (!error.IsError()) error.SetError(win32::kInvalidData);
  }
  return ok;
}

}  // namespace

bool CopyKeyValues(VProfileKey& destination, const VProfileKey& source, bool onlyMissing,
                   VReportMessageParams& error) {
  {
    VProfileKeyIterator values(source, true);
    VUnicodeString name;
    int type = 0;
    while (values.Next(name, type)) {
      if (onlyMissing && KeyHasValue(destination, name.c_str())) continue;
      if (!CopyValue(destination, source, name, type, error)) return false;
    }
  }
  VProfileKeyIterator keys(source, false);
  VUnicodeString name;
  int type = 0;
  while (keys.Next(name, type)) {
    VProfileKey from(source, name.c_str());
    VProfileKey to(destination, name.c_str(), kProfileKeyCreate);
    if (!CopyKeyValues(to, from, onlyMissing, error)) return false;
  }
  return true;
}
