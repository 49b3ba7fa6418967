#include "config/colors/color_builtins.h"

#include "config/colors/color_messages.h"
#include "report/message_catalogue.h"

namespace vcolors {
namespace {

// RRGGBB, ANSI colours 0 to 15.
constexpr uint32_t kPaletteRgb[kBuiltInPaletteCount][kPaletteColorCount] = {
    {0x000000, 0xA00000, 0x00A000, 0xA0A000, 0x0000A0, 0xA000A0, 0x00A0A0, 0xC0C0C0,
     0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF},
    {0x573D26, 0xBE2D26, 0x6BA18A, 0xE99D2A, 0x5A86AD, 0xAC80A6, 0x74A6AD, 0xE0DBB7,
     0x9B6C4A, 0xE84627, 0x95D8BA, 0xD0D150, 0xB8D3ED, 0xD19ECB, 0x93CFD7, 0xFFF9D5},
    {0x000000, 0xC37372, 0x72C373, 0xC2C372, 0x7372C3, 0xC372C2, 0x72C2C3, 0xD9D9D9,
     0x323232, 0xDBAAAA, 0xAADBAA, 0xDADBAA, 0xAAAADB, 0xDBAADA, 0xAADADB, 0xFFFFFF},
    {0x181818, 0x810009, 0x48513B, 0xCC8B3F, 0x576D8C, 0x724D7C, 0x5C4F4B, 0xAEA47F,
     0x555555, 0xAC3835, 0xA6A75D, 0xDCDF7C, 0x3097C6, 0xD33061, 0xF3DBB2, 0xF4F4F4},
    {0x000000, 0xFF5555, 0x55FF55, 0xFFFF55, 0x5555FF, 0xFF55FF, 0x55FFFF, 0xBBBBBB,
     0x555555, 0xFF5555, 0x55FF55, 0xFFFF55, 0x5555FF, 0xFF55FF, 0x55FFFF, 0xFFFFFF},
    {0x4D4D4D, 0xFF2B2B, 0x98FB98, 0xF0E68C, 0xCD853F, 0xFFDEAD, 0xFFA0A0, 0xF5DEB3,
     0x555555, 0xFF5555, 0x55FF55, 0xFFFF55, 0x87CEFF, 0xFF55FF, 0xFFD700, 0xFFFFFF},
    {0x353535, 0xD25252, 0xA5C261, 0xFFC66D, 0x6C99BB, 0xD197D9, 0xBED6FF, 0xEEEEEC,
     0x535353, 0xF00C0C, 0xC2E075, 0xE1E48B, 0x8AB7D9, 0xEFB5F7, 0xDCF4FF, 0xFFFFFF},
    {0x323232, 0xD25252, 0x7FE173, 0xFFC66D, 0x4099FF, 0xF680FF, 0xBED6FF, 0xEEEEEC,
     0x535353, 0xF07070, 0x9DFF91, 0xFFE48B, 0x5EB7F7, 0xFF9DFF, 0xDCF4FF, 0xFFFFFF},
    {0x303030, 0xD370A3, 0x6D9E3F, 0xB58858, 0x6095C5, 0xAC7BDE, 0x3BA275, 0xCFCFCF,
     0x686868, 0xFFA7DA, 0xA3D572, 0xEFBD8B, 0x98CBFE, 0xE5B0FF, 0x75DAA9, 0xFFFFFF},
    {0x000000, 0xCC0000, 0x009600, 0xD06B00, 0x0000CC, 0xCC00CC, 0x0087CC, 0xCCCCCC,
     0x808080, 0xCC0000, 0x009600, 0xD06B00, 0x0000CC, 0xCC00CC, 0x0087CC, 0xFFFFFF},
    {0x073642, 0xDC322F, 0x859900, 0xB58900, 0x268BD2, 0xD33682, 0x2AA198, 0xEEE8D5,
     0x002B38, 0xCB4B16, 0x586E75, 0x657B83, 0x839496, 0x6C71C4, 0x93A1A1, 0xFDF6E3},
    {0x25292A, 0xF24840, 0x629655, 0xB68800, 0x2075C7, 0x797FD4, 0x15968D, 0xD2D8D9,
     0x25292A, 0xF24840, 0x629655, 0xB68800, 0x2075C7, 0x797FD4, 0x15968D, 0xD2D8D9},
    {0x073642, 0xDC322F, 0x859900, 0xB58900, 0x268BD2, 0xD33682, 0x2AA198, 0xEEE8D5,
     0x002B38, 0xCB4B16, 0x586E75, 0x657B83, 0x839496, 0x6C71C4, 0x93A1A1, 0xFDF6E3},
    {0x8E908C, 0xFF3334, 0x9EC400, 0xEAB700, 0x5795E6, 0xB777E0, 0x54CED6, 0xEFEFEF,
     0x000000, 0xC82829, 0x718C00, 0xF5871F, 0x4271AE, 0x8959A8, 0x3E999F, 0xD6D6D6},
    {0x4D4D4D, 0x705050, 0x60B48A, 0xF0DFAF, 0x506070, 0xDC8CC3, 0x8CD0D3, 0xDCDCCC,
     0x709080, 0xDCA3A3, 0xC3BF9F, 0xE0CF9F, 0x94BFF3, 0xEC93D3, 0x93E0E3, 0xFFFFFF},
};

struct BuiltInScheme {
  uint32_t foreground;
  uint32_t background;
  bool ownPalette;  // else the first built-in palette
};

constexpr BuiltInScheme kSchemes[kBuiltInSchemeCount] = {
    {0x657B83, 0xFDF6E3, true},  {0xE0DBB7, 0x2A1F1D, true},  {0x000000, 0x00FFFF, false},
    {0x000000, 0xFFFBF0, false}, {0xD9E6F2, 0x29262F, true},  {0xAEA47A, 0x191C27, true},
    {0xFFFFFF, 0x000000, true},  {0xFFFFFF, 0x333333, true},  {0xFFFFFF, 0x323232, true},
    {0xFFFBF0, 0x008080, false}, {0xFFFFFF, 0x323232, true},  {0xA0A0A0, 0x232323, true},
    {0x000000, 0xFFFFFF, false}, {0x3B2322, 0xDFDBC3, true},  {0xD2D8D9, 0x3D3F41, true},
    {0x839496, 0x002B36, true},  {0x4D4D4C, 0xFAFAFA, true},  {0x00FF00, 0x000000, false},
    {0xFFFFFF, 0x000000, false}, {0xFFFFFF, 0x0000FF, false}, {0xFFFF00, 0x000000, false},
    {0xDCDCCC, 0x3F3F3F, true},
};
// The third scheme tells the attributes apart: every odd slot (bold) is drawn in blue.
constexpr size_t kAlternatingScheme = 2;
constexpr uint32_t kAlternateForeground = 0x0000FF;

constexpr VLanguage kLanguages[] = {VLanguage::English, VLanguage::French};

VUnicodeString CatalogueText(uint32_t id, VLanguage language) {
  std::u16string text;
  if (const VMessageModule* module = VGetLibraryMessageModule()) module->Find(id, language, text);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' '))
    text.pop_back();
  return VUnicodeString(text);
}

VUnicodeString CatalogueText(uint32_t id) { return CatalogueText(id, VGetMessageLanguage()); }

// Whether `name` is the text of `id` in one of the catalogue's languages.
bool IsTextInAnyLanguage(uint32_t id, std::u16string_view name) {
  for (VLanguage language : kLanguages) {
    VUnicodeString text = CatalogueText(id, language);
    if (!text.empty() && text == name) return true;
  }
  return false;
}

std::optional<size_t> IndexOfName(uint32_t firstId, size_t count, std::u16string_view name) {
  if (name.empty()) return std::nullopt;
  for (size_t i = 0; i < count; ++i)
    if (IsTextInAnyLanguage(firstId + static_cast<uint32_t>(i), name)) return i;
  return std::nullopt;
}

}  // namespace

std::vector<AnsiPaletteEntry> BuiltInPalettes() {
  std::vector<AnsiPaletteEntry> palettes(kBuiltInPaletteCount);
  for (size_t i = 0; i < kBuiltInPaletteCount; ++i) {
    palettes[i].name = CatalogueText(kMsgFirstBuiltInPaletteName + static_cast<uint32_t>(i));
    for (size_t c = 0; c < kPaletteColorCount; ++c) palettes[i].colors[c] = ColorFromRgb(kPaletteRgb[i][c]);
  }
  return palettes;
}

std::vector<ColorSchemeEntry> BuiltInSchemes() {
  VUnicodeString firstPalette = CatalogueText(kMsgFirstBuiltInPaletteName);
  std::vector<ColorSchemeEntry> schemes(kBuiltInSchemeCount);
  for (size_t i = 0; i < kBuiltInSchemeCount; ++i) {
    ColorSchemeEntry& scheme = schemes[i];
    scheme.name = CatalogueText(kMsgFirstBuiltInSchemeName + static_cast<uint32_t>(i));
    scheme.paletteName = kSchemes[i].ownPalette ? scheme.name : firstPalette;
    scheme.foregrounds.fill(ColorFromRgb(kSchemes[i].foreground));
    scheme.backgrounds.fill(ColorFromRgb(kSchemes[i].background));
    if (i == kAlternatingScheme)
      for (size_t slot = 1; slot < kAttributeCount; slot += 2)
        scheme.foregrounds[slot] = ColorFromRgb(kAlternateForeground);
  }
  return schemes;
}

std::optional<size_t> BuiltInPaletteIndex(std::u16string_view name) {
  return IndexOfName(kMsgFirstBuiltInPaletteName, kBuiltInPaletteCount, name);
}

std::optional<size_t> BuiltInSchemeIndex(std::u16string_view name) {
  return IndexOfName(kMsgFirstBuiltInSchemeName, kBuiltInSchemeCount, name);
}

bool IsBuiltInPaletteName(std::u16string_view name) {
  return BuiltInPaletteIndex(name).has_value();
}

bool IsBuiltInSchemeName(std::u16string_view name) { return BuiltInSchemeIndex(name).has_value(); }

VUnicodeString PlatformSchemeName() { return CatalogueText(kMsgPlatformSchemeName); }

bool IsPlatformSchemeName(std::u16string_view name) {
  return IsTextInAnyLanguage(kMsgPlatformSchemeName, name);
}

void GetPlatformColors(VColor& foreground, VColor& background) {
  foreground = MakeColor(0, 0, 0);
  background = MakeColor(0xFF, 0xFF, 0xFF);
}

}  // namespace vcolors
