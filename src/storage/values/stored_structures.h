// Fixed structures kept as byte blocks: fonts, window placements, page margins and colour tables.
// Each has the size and little-endian layout that configuration files written on Windows have,
// and is converted field by field, never copied as host memory.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/unicode_string.h"
#include "storage/model/profile_store.h"

// A font description: the 92 bytes of a wide-character LOGFONT followed by one 32-bit number.
struct VLogFont {
  static constexpr VDword kStoredSize = 96;
  // The older form: the same fields with a face name of 8-bit characters (60 bytes), then the
  // number.
  static constexpr VDword kLegacyStoredSize = 64;
  static constexpr size_t kFaceNameLength = 32;  // characters, the terminating zero included
  static constexpr const char* kKindName = "font";

  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  char16_t faceName[kFaceNameLength] = {};
  uint32_t extra = 0;

  // The face name up to its terminating zero.
  VUnicodeString GetFaceName() const;
  // Sets the face name, cut to 31 characters; the rest of the field is zeroed.
  void SetFaceName(std::u16string_view name);

  void ToBytes(uint8_t* out) const;
  void FromBytes(const uint8_t* in);
  // Reads the older 64-byte form; the 8-bit face name is decoded as UTF-8 when valid, else as
  // Windows-1252 (the code page such files were written in).
  static VLogFont FromLegacyBytes(const uint8_t* in);
  bool operator==(const VLogFont& other) const = default;
};

// Where a window is and how it is shown: eleven 32-bit fields.
struct VWindowPlacement {
  static constexpr VDword kStoredSize = 44;
  static constexpr const char* kKindName = "placement";

  uint32_t length = 0;
  uint32_t flags = 0;
  uint32_t showCmd = 0;
  int32_t minX = 0;
  int32_t minY = 0;
  int32_t maxX = 0;
  int32_t maxY = 0;
  int32_t normalLeft = 0;
  int32_t normalTop = 0;
  int32_t normalRight = 0;
  int32_t normalBottom = 0;

  void ToBytes(uint8_t* out) const;
  void FromBytes(const uint8_t* in);
  bool operator==(const VWindowPlacement& other) const = default;
};

// Page margins in inches: left, right, top, bottom, as four 64-bit floating-point numbers.
struct VMarginData {
  static constexpr VDword kStoredSize = 32;
  static constexpr const char* kKindName = "margins";

  double left = 0;
  double right = 0;
  double top = 0;
  double bottom = 0;

  void ToBytes(uint8_t* out) const;
  void FromBytes(const uint8_t* in);
  bool operator==(const VMarginData& other) const = default;
};

// Sixteen colours, each 0x00BBGGRR (red in the low byte).
struct CustomColors {
  static constexpr VDword kStoredSize = 64;
  static constexpr size_t kCount = 16;
  static constexpr const char* kKindName = "colours";

  uint32_t colors[kCount] = {};

  void ToBytes(uint8_t* out) const;
  void FromBytes(const uint8_t* in);
  bool operator==(const CustomColors& other) const = default;
};

// One colour scheme in the older binary form, kept as its 68 bytes until the colour schemes give
// them their fields.
struct ColorScheme {
  static constexpr VDword kStoredSize = 68;
  static constexpr const char* kKindName = "colour scheme";

  uint8_t bytes[kStoredSize] = {};

  void ToBytes(uint8_t* out) const;
  void FromBytes(const uint8_t* in);
  bool operator==(const ColorScheme& other) const = default;
};
