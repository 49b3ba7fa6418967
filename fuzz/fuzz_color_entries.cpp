// Colour scheme and palette entries are strings anyone may have edited in a configuration, and
// older schemes are binary values of any size: any input must read without harm, and an entry
// that reads must be written in a form that reads back to the same entry and is written the
// same way again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/colors/color_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The same bytes as an older binary scheme: only exactly 68 of them make one.
  std::optional<ColorSchemeEntry> older = ProfileColorSchemeListV2::FromOlderBinary(u"Older", bytes);
  if (older.has_value() != (size == ProfileColorSchemeListV2::kOlderSchemeSize)) std::abort();
  if (older && vcolors::ParseScheme(vcolors::FormatScheme(*older)) != older) std::abort();

  std::u16string text = vtext::FromNarrow(bytes);
  ProfileColorSchemeListV2 schemes;
  ProfileAnsiPaletteList palettes;
  std::u16string_view rest = text;
  while (!rest.empty()) {
    size_t end = rest.find(u'\n');
    VUnicodeString line(rest.substr(0, end));
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    if (std::optional<ColorSchemeEntry> scheme = vcolors::ParseScheme(line)) {
      VUnicodeString written = vcolors::FormatScheme(*scheme);
      if (vcolors::ParseScheme(written) != scheme) std::abort();
      if (vcolors::FormatScheme(*vcolors::ParseScheme(written)) != written) std::abort();
    }
    if (std::optional<AnsiPaletteEntry> palette = vcolors::ParsePalette(line)) {
      VUnicodeString written = vcolors::FormatPalette(*palette);
      if (vcolors::ParsePalette(written) != palette) std::abort();
    }
    schemes.SetEntry(line);
    palettes.SetEntry(line);
    // Every entry set is found again by its name, whatever the rest of it holds.
    if (schemes.Find(vcolors::EntryName(line)) == ProfileColorsBase::kNotFound) std::abort();
  }
  VUnicodeString current = u"Standard";
  for (const VUnicodeString& name : palettes.GetNames())
    vcolors::DeletePalette(palettes, schemes, current, name);
  if (palettes.GetCount() != 0) std::abort();
  return 0;
}
