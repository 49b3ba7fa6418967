#include "storage/values/profile_sz.h"

#include <string>

#include "storage/values/setting_text.h"
#include "storage/values/text_converter.h"

bool VProfileSz::ReadValue(const VProfileKey& key, const VUnicodeString& valueName,
                           VUnicodeString* value) {
  if (value) return ReadNamedString(key, valueName, *value);
  VUnicodeString text;
  return ReadNamedString(key, valueName, text);
}

bool VProfileSz::WriteValue(VProfileKey& key, const VUnicodeString& valueName,
                            const VUnicodeString& value) {
  return key.WriteString(valueName.c_str(), value.c_str());
}

bool VProfileSz::StoredValueOf(const VUnicodeString& value, VStoredValue& out) const {
  out = VStoredValue::String(value);
  return true;
}

bool VProfileSz::TextToValue(const VUnicodeString& text, VUnicodeString& value,
                             VReportMessageParams&) const {
  value = text;
  return true;
}

bool VProfileSz::LoadedTextToValue(const VUnicodeString& text, IProfileTextConverter* converter,
                                   VUnicodeString& value, VReportMessageParams& error) const {
  if (!converter) converter = &VDefaultTextConverter::Instance();
  VUnicodeString converted;
  if (converter->ToString(text, converted, error)) {
    value = std::move(converted);
    return true;
  }
  if (error.GetMessageId() != kMsgTextConversionNotHandled) return false;
  error.Reset(0);
  value = text;
  return true;
}

bool VProfileSz::ValueToVariantAs(const VUnicodeString& value, VVariant& out,
                                  VReportMessageParams&) const {
  out = VVariant::String(value);
  return true;
}

bool VProfileSz::VariantToValue(const VVariant& in, VUnicodeString& value,
                                VReportMessageParams& error) const {
  switch (in.vt) {
    case VT_BSTR:
      value = in.text;
      return true;
    case VT_EMPTY:
      value.clear();
      return true;
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
      value = U8(std::to_string(in.number));
      return true;
    default:
      return ConversionFailed(error);
  }
}

bool VProfileSz::ConversionFailed(VReportMessageParams& error) const {
  error.Reset(kMsgConversionFailed);
  error.AddInsert(GetName());
  return false;
}

bool VProfileMultiSz::StoredValueOf(const VStringArray& value, VStoredValue& out) const {
  out = VStoredValue::MultiSz(value);
  return true;
}

bool VProfileMultiSz::TextToValue(const VUnicodeString&, VStringArray&,
                                  VReportMessageParams& error) const {
  VSettingError(error, kMsgSettingNeedsList, GetName());
  return false;
}

bool VProfileMultiSz::ValueToVariantAs(const VStringArray& value, VVariant& out,
                                       VReportMessageParams&) const {
  VVariant array;
  array.vt = VT_ARRAY | VT_VARIANT;
  for (const auto& item : value) array.items.push_back(VVariant::String(item));
  out = std::move(array);
  return true;
}

bool VProfileMultiSz::VariantToValue(const VVariant& in, VStringArray& value,
                                     VReportMessageParams& error) const {
  auto failed = [&] {
    error.Reset(kMsgConversionFailed);
    error.AddInsert(GetName());
    return false;
  };
  if (in.vt != (VT_ARRAY | VT_VARIANT)) return failed();
  VStringArray list;
  for (const auto& item : in.items) {
    if (item.vt != VT_BSTR) return failed();
    list.Add(item.text);
  }
  value = std::move(list);
  return true;
}
