// The built-in ANSI palettes and colour schemes, in list order. Their colours are fixed; their
// display names come from the library's catalogue in the language texts are shown in, so a
// scheme that uses "its own" palette names the palette of its own display name.
#pragma once

#include <vector>

#include "config/colors/color_text.h"

namespace vcolors {

constexpr size_t kBuiltInPaletteCount = 15;
constexpr size_t kBuiltInSchemeCount = 22;

std::vector<AnsiPaletteEntry> BuiltInPalettes();
// Every built-in scheme carries the options of a new entry (1, 1, 1), whatever older schemes
// were converted before them, so that the built-ins are the same in every configuration.
std::vector<ColorSchemeEntry> BuiltInSchemes();

bool IsBuiltInPaletteName(std::u16string_view name);
bool IsBuiltInSchemeName(std::u16string_view name);
// The name an older scheme has when it follows the desktop's window colours.
VUnicodeString PlatformSchemeName();

// The desktop's window text and window background colours. The desktop offers no such query
// without a toolkit, so this is black on white, the colours of a plain window.
void GetPlatformColors(VColor& foreground, VColor& background);

}  // namespace vcolors
