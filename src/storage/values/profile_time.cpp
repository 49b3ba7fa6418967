#include "storage/values/profile_time.h"

#include "platform/win32_errors.h"
#include "storage/values/setting_text.h"

bool VProfileTimeSz::ReadAs(const VProfileKey& key, VFileTime& value) {
  VUnicodeString text;
  if (!ReadValue(key, GetName(), &text)) return false;
  return VParseTimeText(text, value);
}

bool VProfileTimeSz::WriteAs(VProfileKey& key, const VFileTime& value) {
  VUnicodeString text;
  if (!VFormatTimeText(value, text)) {
    key.GetLastError().SetError(win32::kInvalidData);
    return false;
  }
  return WriteValue(key, GetName(), text);
}

bool VProfileTimeSz::StoredValueOf(const VFileTime& value, VStoredValue& out) const {
  VUnicodeString text;
  if (!VFormatTimeText(value, text)) return false;
  out = VStoredValue::String(text);
  return true;
}

bool VProfileTimeSz::TextToValue(const VUnicodeString& text, VFileTime& value,
                                 VReportMessageParams& error) const {
  if (VParseTimeText(text, value)) return true;
  VSettingError(error, kMsgSettingTime, GetName(), &text);
  return false;
}
