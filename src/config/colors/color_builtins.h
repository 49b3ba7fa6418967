// The built-in ANSI palettes and colour schemes, in list order. Their colours are fixed; their
// display names come from the library's catalogue in the language texts are shown in, so a
// scheme that uses "its own" palette names the palette of its own display name.
//
// A configuration keeps the names of the language it was first saved under, and may be opened
// under another: a built-in is therefore known by its position in the list, which any of its
// names in any language of the catalogue leads to.
#pragma once

#include <optional>
#include <vector>

#include "config/colors/color_text.h"

namespace vcolors {

constexpr size_t kBuiltInPaletteCount = 15;
constexpr size_t kBuiltInSchemeCount = 22;

std::vector<AnsiPaletteEntry> BuiltInPalettes();
// Every built-in scheme carries the options of a new entry (1, 1, 1), whatever older schemes
// were converted before them, so that the built-ins are the same in every configuration.
std::vector<ColorSchemeEntry> BuiltInSchemes();

// The position of the built-in that `name` names in any language; nothing for any other name.
std::optional<size_t> BuiltInPaletteIndex(std::u16string_view name);
std::optional<size_t> BuiltInSchemeIndex(std::u16string_view name);
bool IsBuiltInPaletteName(std::u16string_view name);
bool IsBuiltInSchemeName(std::u16string_view name);
// The name an older scheme has when it follows the desktop's window colours, in the language
// texts are shown in; IsPlatformSchemeName knows it in every language.
VUnicodeString PlatformSchemeName();
bool IsPlatformSchemeName(std::u16string_view name);

// The desktop's window text and window background colours. The desktop offers no such query
// without a toolkit, so this is black on white, the colours of a plain window.
void GetPlatformColors(VColor& foreground, VColor& background);

}  // namespace vcolors
