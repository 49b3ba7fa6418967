// A small tagged value standing in for the automation VARIANT: the type tags used by typed
// settings, integers, booleans, UTF-16 strings and arrays of variants.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/unicode_string.h"

enum VVarType : uint16_t {
  VT_EMPTY = 0,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_BSTR = 8,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_ARRAY = 0x2000,
};

struct VVariant {
  uint16_t vt = VT_EMPTY;
  int64_t number = 0;  // every integer type and VT_BOOL (true is -1, as VARIANT_TRUE)
  VUnicodeString text;  // VT_BSTR
  std::vector<VVariant> items;  // VT_ARRAY | VT_VARIANT

  static VVariant Bool(bool value) { VVariant v; v.vt = VT_BOOL; v.number = value ? -1 : 0; return v; }
  static VVariant Integer(uint16_t type, int64_t value) { VVariant v; v.vt = type; v.number = value; return v; }
  static VVariant String(const VUnicodeString& value) { VVariant v; v.vt = VT_BSTR; v.text = value; return v; }
};
