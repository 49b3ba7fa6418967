// Colour scheme and ANSI palette entries and their text form. A colour is a 32-bit colour
// reference: red in the low byte, then green, then blue, the top byte zero. Its text form is
// eight upper-case hexadecimal digits, red, green, blue and "00" ("FF800000" is orange).
//
// A scheme entry is one string of nineteen comma-separated fields: the name, the three option
// bytes as six hexadecimal digits (overstrike bold, show underline, enable blink), the eight
// foregrounds, the eight backgrounds, then the palette name. A palette entry is the name and its
// sixteen colours: seventeen fields. Neither name may hold a comma, since the comma ends it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/unicode_string.h"

using VColor = uint32_t;

constexpr VColor MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<VColor>(red) | (static_cast<VColor>(green) << 8) |
         (static_cast<VColor>(blue) << 16);
}
// From the RRGGBB form people write colours in (0xFF8000 is orange).
constexpr VColor ColorFromRgb(uint32_t rgb) {
  return MakeColor(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                   static_cast<uint8_t>(rgb));
}
constexpr uint32_t RgbOfColor(VColor color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// The eight text attributes in slot order: slot = 1 for bold + 2 for underline + 4 for blink.
constexpr size_t kAttributeCount = 8;
constexpr size_t kPaletteColorCount = 16;
constexpr size_t kSchemeFieldCount = 19;
constexpr size_t kPaletteFieldCount = 17;

struct ColorSchemeEntry {
  VUnicodeString name;
  VUnicodeString paletteName;
  // A new entry draws all three attributes.
  uint8_t overstrikeBold = 1;
  uint8_t showUnderline = 1;
  uint8_t enableBlink = 1;
  std::array<VColor, kAttributeCount> foregrounds{};
  std::array<VColor, kAttributeCount> backgrounds{};
  bool operator==(const ColorSchemeEntry&) const = default;
};

struct AnsiPaletteEntry {
  VUnicodeString name;
  std::array<VColor, kPaletteColorCount> colors{};
  bool operator==(const AnsiPaletteEntry&) const = default;
};

namespace vcolors {

VUnicodeString ColorToText(VColor color);
// Six or eight hexadecimal digits, red, green and blue first (any fourth byte is not part of a
// colour and is dropped); nothing for anything else.
std::optional<VColor> ColorFromText(std::u16string_view text);

// The first field of an entry string: its name.
std::u16string_view EntryName(std::u16string_view entry);
// Whether `name` can be the name of an entry: not empty, no comma, no line break (a multi-string
// value holds one entry per string).
bool IsValidEntryName(std::u16string_view name);

VUnicodeString FormatScheme(const ColorSchemeEntry& scheme);
VUnicodeString FormatPalette(const AnsiPaletteEntry& palette);
// Nothing unless the entry has exactly its number of fields and every colour and the option
// bytes read as hexadecimal.
std::optional<ColorSchemeEntry> ParseScheme(std::u16string_view entry);
std::optional<AnsiPaletteEntry> ParsePalette(std::u16string_view entry);

}  // namespace vcolors
