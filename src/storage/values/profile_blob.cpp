#include "storage/values/profile_blob.h"

bool VProfileBlob::Read(const VProfileKey& key) {
  VStoredValue value;
  if (!ReadStoredValue(key, GetName(), kProfileTypeBinary, value)) return false;
  current = std::move(value.bytes);
  inStore_ = !current.empty();
  return true;
}

bool VProfileBlob::Load(const VProfileKey* key) {
  writePending = false;
  inStore_ = false;
  bool present = key && Read(*key);
  if (!present) writePending = true;
  saved = current;
  return present;
}

bool VProfileBlob::Save(VProfileKey& key, bool force) {
  if (current.empty()) {
    if (inStore_) {
      if (!key.DeleteValue(GetName().c_str())) return false;
      inStore_ = false;
    }
  } else if (force || writePending || IsModified()) {
    if (!key.WriteBinary(GetName().c_str(), current.data(), static_cast<VDword>(current.size())))
      return false;
    inStore_ = true;
  }
  writePending = false;
  saved = current;
  return true;
}

void VProfileBlob::CopyValue(const VProfileData& other) {
  if (auto* same = dynamic_cast<const VProfileBlob*>(&other)) current = same->current;
}

void VProfileBlob::DoCommit() {
  if (IsModified()) writePending = true;
  saved = current;
}

bool VProfileBlob::GetStoredValue(VStoredValue& value) const {
  if (current.empty()) return false;
  value = VStoredValue::Binary(current);
  return true;
}

bool VProfileBlob::SetFromText(const VUnicodeString& text, VReportMessageParams& error) {
  std::vector<uint8_t> bytes;
  if (!VParseSettingBytes(text, bytes)) {
    VSettingError(error, kMsgSettingBytes, GetName(), &text);
    return false;
  }
  current = std::move(bytes);
  return true;
}
