#include "environment/settings_key_copy.h"

#include "platform/win32_errors.h"
#include "storage/values/stored_value.h"

bool KeyHasValue(const VProfileKey& key, const char16_t* name) {
  VStoredValue value;
  for (int type = kProfileTypeDword; type <= kProfileTypeMultiSz; ++type) {
    if (ReadStoredValue(key, name, type, value)) return true;
  }
  return false;
}

namespace {

bool CopyValue(VProfileKey& destination, const VProfileKey& source, const VUnicodeString& name,
               int type, VReportMessageParams& error) {
  if (type < kProfileTypeDword || type > kProfileTypeMultiSz) return true;
  VStoredValue value;
  value.text.SetSensitive(true);
  if (ReadStoredValue(source, name, type, value) && WriteStoredValue(destination, name, value))
    return true;
  error = destination.GetLastError().IsError() ? destination.GetLastError() : source.GetLastError();
  if (!error.IsError()) error.SetError(win32::kInvalidData);
  return false;
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
