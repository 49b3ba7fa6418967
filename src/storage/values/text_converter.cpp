#include "storage/values/text_converter.h"

#include "storage/values/setting_text.h"

bool VDefaultTextConverter::ToBool(const VUnicodeString& text, bool& value,
                                   VReportMessageParams& error) {
  if (VParseSettingBool(text, value)) return true;
  error.Reset(kMsgTextConversionNotHandled);
  return false;
}

bool VDefaultTextConverter::ToString(const VUnicodeString&, VUnicodeString&,
                                     VReportMessageParams& error) {
  error.Reset(kMsgTextConversionNotHandled);
  return false;
}

VDefaultTextConverter& VDefaultTextConverter::Instance() {
  static VDefaultTextConverter converter;
  return converter;
}
