#include "config/highlight/profile_item_name.h"

bool ProfileItemName::Read(const VProfileKey& key) {
  otherKind_ = false;
  if (VProfileString::Read(key)) return true;
  key.ForEachValueName([&](const VUnicodeString& valueName, int type) {
    if (valueName == GetName() && type != kProfileTypeString) otherKind_ = true;
  });
  return false;
}

bool ProfileItemName::Load(const VProfileKey* key) {
  otherKind_ = false;
  bool present = VProfileString::Load(key);
  if (otherKind_) writePending = false;
  return present;
}

bool ProfileItemName::Save(VProfileKey& key, bool force) {
  // Even a forced save leaves it: the value is there, only not in a form this release reads.
  if (otherKind_ && !IsModified()) {
    writePending = false;
    return true;
  }
  if (!VProfileString::Save(key, force)) return false;
  otherKind_ = false;
  return true;
}

bool ProfileItemName::SetFromText(const VUnicodeString& text, VReportMessageParams& error) {
  if (!VProfileString::SetFromText(text, error)) return false;
  // Set by a person: written whatever was stored before.
  if (otherKind_) writePending = true;
  otherKind_ = false;
  return true;
}
