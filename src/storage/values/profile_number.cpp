#include "storage/values/profile_number.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "storage/values/setting_text.h"
#include "storage/values/text_converter.h"

bool VProfileDword::SaveDword(VProfileKey& key, bool force, bool modified, VDword value) {
  if (force || writePending || modified) {
    if (!key.WriteDword(GetName().c_str(), value)) return false;
  }
  writePending = false;
  return true;
}

bool VProfileDword::ConversionFailed(VReportMessageParams& error) const {
  error.Reset(kMsgConversionFailed);
  error.AddInsert(GetName());
  return false;
}

bool VProfileDword::SettingTextError(uint32_t id, const VUnicodeString& text,
                                     VReportMessageParams& error,
                                     std::initializer_list<VUnicodeString> more) const {
  VSettingError(error, id, GetName(), &text, more);
  return false;
}

bool VProfileDword::ParseNumberText(const VUnicodeString& text, int radix, VDword& value,
                                    VReportMessageParams& error) const {
  if (radix != 0 && (radix < 2 || radix > 36)) return ConversionFailed(error);
  std::string narrow;
  for (char16_t c : text) {
    if (c > 0x7F) break;  // nothing after a non-ASCII character can be part of the number
    narrow.push_back(static_cast<char>(c));
  }
  const char* start = narrow.c_str();
  char* end = nullptr;
  errno = 0;
  long long number = std::strtoll(start, &end, radix);
  // The C rules end the number at the first character that cannot continue it ("0x1f" in radix
  // 10 is 0); text without any digit, or a number beyond 32 bits, is refused instead of
  // becoming 0 or a truncated value.
  if (end == start || errno == ERANGE || number < INT32_MIN || number > UINT32_MAX)
    return ConversionFailed(error);
  value = static_cast<VDword>(number);
  return true;
}

bool VProfileDword::VariantNumber(const VVariant& in, int64_t& value) {
  switch (in.vt) {
    case VT_BOOL:
      value = in.number ? 1 : 0;
      return true;
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
      value = in.number;
      return true;
    case VT_BSTR:
      return VParseSettingNumber(in.text, INT32_MIN, UINT32_MAX, 32, value);
    default:
      return false;
  }
}

bool VProfileDword::FitNumber(int64_t number, int64_t min, int64_t max, int bits,
                              int64_t& value) {
  if (number >= min && number <= max) {
    value = number;
    return true;
  }
  // The same bits seen with the other sign (0xFFFFFFFF for -1, or -1 for 0xFFFF).
  if (bits >= 64) return false;
  int64_t span = int64_t{1} << bits;
  int64_t other = number < 0 ? number + span : number - span;
  if (number < -(span / 2) || number >= span) return false;
  if (other >= min && other <= max) {
    value = other;
    return true;
  }
  return false;
}

template <class T>
bool VProfile<T>::LoadFromText(const VUnicodeString& text, IProfileTextConverter* converter,
                               VReportMessageParams& error) {
  if constexpr (std::is_same_v<T, bool>) {
    if (!converter) converter = &VDefaultTextConverter::Instance();
    bool value = false;
    if (!converter->ToBool(text, value, error)) {
      if (error.GetMessageId() == kMsgTextConversionNotHandled || !error.IsError())
        return ConversionFailed(error);
      return false;
    }
    TakeLoaded(value);
    return true;
  } else {
    VDword stored = 0;
    if (!ParseNumberText(text, radix, stored, error)) return false;
    TakeLoaded(FromDword(stored));
    return true;
  }
}

template <class T>
bool VProfile<T>::ValueToVariant(VVariant& out, VReportMessageParams&) const {
  if constexpr (std::is_same_v<T, VTriState>) {
    // An automation boolean has no third state: "not set" is the empty variant.
    if (current == TriStateNotSet) {
      out = VVariant();
    } else {
      out = VVariant::Bool(current == TriStateOn);
    }
  } else if constexpr (Traits::kVarType == VT_BOOL) {
    out = VVariant::Bool(current);
  } else if constexpr (Traits::kVarType == VT_I1) {
    out = VVariant::Integer(VT_I1, static_cast<int8_t>(current));
  } else if constexpr (Traits::kVarType == VT_I2) {
    out = VVariant::Integer(VT_I2, static_cast<int16_t>(current));
  } else if constexpr (Traits::kVarType == VT_UI2) {
    out = VVariant::Integer(VT_UI2, static_cast<uint16_t>(current));
  } else {
    out = VVariant::Integer(VT_UI4, ToDword(current));
  }
  return true;
}

template <class T>
bool VProfile<T>::ValueFromVariant(const VVariant& in, VReportMessageParams& error) {
  if constexpr (std::is_same_v<T, VTriState>) {
    if (in.vt == VT_EMPTY) {
      current = TriStateNotSet;
      return true;
    }
  }
  int64_t number = 0;
  if (!VariantNumber(in, number)) return ConversionFailed(error);
  if constexpr (std::is_same_v<T, bool>) {
    current = number != 0;
    return true;
  } else {
    int64_t value = 0;
    if (!FitNumber(number, Traits::kMin, Traits::kMax, Traits::kBits, value))
      return ConversionFailed(error);
    SetNumber(value);
    return true;
  }
}

template <class T>
bool VProfile<T>::SetFromText(const VUnicodeString& text, VReportMessageParams& error) {
  if constexpr (std::is_same_v<T, bool>) {
    bool value = false;
    if (!VParseSettingBool(text, value)) return SettingTextError(kMsgSettingBool, text, error);
    current = value;
    return true;
  } else {
    int64_t value = 0;
    if (!VParseSettingNumber(text, Traits::kMin, Traits::kMax, Traits::kBits, value)) {
      if constexpr (std::is_same_v<T, VTriState>) {
        return SettingTextError(kMsgSettingTriState, text, error);
      } else {
        return SettingTextError(
            kMsgSettingNumber, text, error,
            {U8(std::to_string(Traits::kMin)), U8(std::to_string(Traits::kMax))});
      }
    }
    SetNumber(value);
    return true;
  }
}

template class VProfile<bool>;
template class VProfile<unsigned char>;
template class VProfile<short>;
template class VProfile<unsigned short>;
template class VProfile<int>;
template class VProfile<unsigned int>;
template class VProfile<unsigned long>;
template class VProfile<VTriState>;
