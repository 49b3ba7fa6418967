#include "config/colors/color_text.h"

#include <vector>

namespace vcolors {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void AppendByte(VUnicodeString& out, uint32_t byte) {
  out += kHexDigits[(byte >> 4) & 0xF];
  out += kHexDigits[byte & 0xF];
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

std::optional<uint8_t> ByteAt(std::u16string_view text, size_t at) {
  int high = HexValue(text[at]);
  int low = HexValue(text[at + 1]);
  if (high < 0 || low < 0) return std::nullopt;
  return static_cast<uint8_t>(high * 16 + low);
}

std::vector<std::u16string_view> SplitFields(std::u16string_view entry) {
  std::vector<std::u16string_view> fields;
  while (true) {
    size_t comma = entry.find(u',');
    fields.push_back(entry.substr(0, comma));
    if (comma == std::u16string_view::npos) break;
    entry.remove_prefix(comma + 1);
  }
  return fields;
}

}  // namespace

VUnicodeString ColorToText(VColor color) {
  VUnicodeString text;
  AppendByte(text, color);
  AppendByte(text, color >> 8);
  AppendByte(text, color >> 16);
  AppendByte(text, 0);
  return text;
}

std::optional<VColor> ColorFromText(std::u16string_view text) {
  if (text.size() != 6 && text.size() != 8) return std::nullopt;
  uint8_t bytes[4] = {};
  for (size_t i = 0; i < text.size() / 2; ++i) {
    std::optional<uint8_t> byte = ByteAt(text, i * 2);
    if (!byte) return std::nullopt;
    bytes[i] = *byte;
  }
  return MakeColor(bytes[0], bytes[1], bytes[2]);
}

std::u16string_view EntryName(std::u16string_view entry) {
  return entry.substr(0, entry.find(u','));
}

bool IsValidEntryName(std::u16string_view name) {
  return !name.empty() && name.find_first_of(u",\r\n") == std::u16string_view::npos &&
         name.find(u'\0') == std::u16string_view::npos;
}

VUnicodeString FormatScheme(const ColorSchemeEntry& scheme) {
  VUnicodeString text = scheme.name;
  text += u',';
  AppendByte(text, scheme.overstrikeBold);
  AppendByte(text, scheme.showUnderline);
  AppendByte(text, scheme.enableBlink);
  for (VColor color : scheme.foregrounds) text += u"," + ColorToText(color);
  for (VColor color : scheme.backgrounds) text += u"," + ColorToText(color);
  text += u',';
  text += scheme.paletteName;
  return text;
}

VUnicodeString FormatPalette(const AnsiPaletteEntry& palette) {
  VUnicodeString text = palette.name;
  for (VColor color : palette.colors) text += u"," + ColorToText(color);
  return text;
}

std::optional<ColorSchemeEntry> ParseScheme(std::u16string_view entry) {
  std::vector<std::u16string_view> fields = SplitFields(entry);
  if (fields.size() != kSchemeFieldCount || fields[0].empty() || fields[1].size() != 6)
    return std::nullopt;
  ColorSchemeEntry scheme;
  scheme.name = VUnicodeString(fields[0]);
  uint8_t* options[] = {&scheme.overstrikeBold, &scheme.showUnderline, &scheme.enableBlink};
  for (size_t i = 0; i < 3; ++i) {
    std::optional<uint8_t> byte = ByteAt(fields[1], i * 2);
    if (!byte) return std::nullopt;
    *options[i] = *byte;
  }
  for (size_t i = 0; i < kAttributeCount * 2; ++i) {
    std::optional<VColor> color = ColorFromText(fields[2 + i]);
    if (!color) return std::nullopt;
    (i < kAttributeCount ? scheme.foregrounds[i] : scheme.backgrounds[i - kAttributeCount]) = *color;
  }
  scheme.paletteName = VUnicodeString(fields[kSchemeFieldCount - 1]);
  return scheme;
}

std::optional<AnsiPaletteEntry> ParsePalette(std::u16string_view entry) {
  std::vector<std::u16string_view> fields = SplitFields(entry);
  if (fields.size() != kPaletteFieldCount || fields[0].empty()) return std::nullopt;
  AnsiPaletteEntry palette;
  palette.name = VUnicodeString(fields[0]);
  for (size_t i = 0; i < kPaletteColorCount; ++i) {
    std::optional<VColor> color = ColorFromText(fields[1 + i]);
    if (!color) return std::nullopt;
    palette.colors[i] = *color;
  }
  return palette;
}

}  // namespace vcolors
