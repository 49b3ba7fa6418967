#include "ui/colors/color_editing.h"

#include "config/colors/color_builtins.h"
#include "config/colors/color_messages.h"
#include "config/global/global_config.h"
#include "storage/model/profile_store.h"
#include "ui/colors/color_ui_messages.h"

namespace coloredit {
namespace {

// The key the global configuration is kept under in every store.
constexpr const char16_t* kGlobalKeyName = u"Global";

uint32_t CheckNewName(std::u16string_view name, const ProfileColorsBase& list, uint32_t emptyId) {
  if (name.empty()) return emptyId;
  if (name.find(u',') != std::u16string_view::npos) return color_messages::kNameHasComma;
  // A line break would split the entry in two strings of the stored list.
  if (!vcolors::IsValidEntryName(name)) return kMsgColorBadName;
  if (list.Find(name) != ProfileColorsBase::kNotFound) return color_messages::kNameExists;
  return 0;
}

}  // namespace

RowLook AttributeRowLook(const ColorSchemeEntry& scheme, size_t slot) {
  RowLook look;
  look.foreground = scheme.foregrounds[slot];
  look.background = scheme.backgrounds[slot];
  look.bold = (slot & 1) && scheme.overstrikeBold;
  look.underline = (slot & 2) && scheme.showUnderline;
  return look;
}

RowLook AnsiRowLook(const ColorSchemeEntry& scheme, const AnsiPaletteEntry& palette, size_t row) {
  RowLook look;
  look.foreground = palette.colors[AnsiColorOfRow(row)];
  look.background = scheme.backgrounds[0];
  look.bold = (row % 2) && scheme.overstrikeBold;
  return look;
}

bool RowsShareColor(const std::array<VColor, kAttributeCount>& colors, uint32_t mask) {
  bool any = false;
  VColor first = 0;
  for (size_t slot = 0; slot < kAttributeCount; ++slot) {
    if (!(mask & (1u << slot))) continue;
    if (!any) {
      first = colors[slot];
      any = true;
    } else if (colors[slot] != first) {
      return false;
    }
  }
  return any;
}

VColor SharedColor(const std::array<VColor, kAttributeCount>& colors, uint32_t mask) {
  if (!RowsShareColor(colors, mask)) return kDifferingColor;
  for (size_t slot = 0; slot < kAttributeCount; ++slot)
    if (mask & (1u << slot)) return colors[slot];
  return kDifferingColor;
}

void SetColorOfRows(std::array<VColor, kAttributeCount>& colors, uint32_t mask, VColor color) {
  for (size_t slot = 0; slot < kAttributeCount; ++slot)
    if (mask & (1u << slot)) colors[slot] = color;
}

uint32_t CheckNewSchemeName(std::u16string_view name, const ProfileColorSchemeListV2& list) {
  return CheckNewName(name, list, color_messages::kSchemeNameEmpty);
}

uint32_t CheckNewPaletteName(std::u16string_view name, const ProfileAnsiPaletteList& list) {
  return CheckNewName(name, list, color_messages::kPaletteNameEmpty);
}

AnsiPaletteEntry ResetSource(std::u16string_view name) {
  std::vector<AnsiPaletteEntry> builtIns = vcolors::BuiltInPalettes();
  std::optional<size_t> index = vcolors::BuiltInPaletteIndex(name);
  return builtIns[index ? *index : 0];
}

void ResetGroup(AnsiPaletteEntry& palette, bool bold) {
  AnsiPaletteEntry source = ResetSource(palette.name);
  size_t first = bold ? 8 : 0;
  for (size_t i = first; i < first + 8; ++i) palette.colors[i] = source.colors[i];
}

AnsiPaletteEntry PaletteOfScheme(const ColorSchemeEntry& scheme,
                                 const ProfileAnsiPaletteList& palettes) {
  if (std::optional<AnsiPaletteEntry> own = palettes.GetPalette(scheme.paletteName)) return *own;
  return vcolors::BuiltInPalettes()[0];
}

bool DeletePaletteNow(GlobalConfig& config, std::u16string_view name, VReportMessageParams& error) {
  // The values as the store has them, with only this deletion made.
  ProfileAnsiPaletteList palettes = config.ansiPalettes;
  palettes.Current() = config.ansiPalettes.saved;
  ProfileColorSchemeListV2 schemes = config.colorSchemes;
  schemes.Current() = config.colorSchemes.saved;
  VProfileString current = config.currentAnsiPalette;
  current.Current() = config.currentAnsiPalette.saved;
  VUnicodeString currentName = current.Current();
  bool stored = vcolors::DeletePalette(palettes, schemes, currentName, name);
  current = currentName;

  // The same deletion in what is being edited; it must be there, or there is nothing to delete.
  ProfileAnsiPaletteList editedPalettes = config.ansiPalettes;
  ProfileColorSchemeListV2 editedSchemes = config.colorSchemes;
  VUnicodeString editedCurrent = config.currentAnsiPalette.Current();
  if (!vcolors::DeletePalette(editedPalettes, editedSchemes, editedCurrent, name)) {
    error = VReportMessageParams(kMsgColorNoSuchPalette);
    error.AddInsert(VUnicodeString(name));
    return false;
  }

  if (stored) {
    VProfileStore store(false, nullptr);
    VProfileKey key(*store.GetRootKey(), kGlobalKeyName, 0);
    bool written = palettes.Save(key, true) && schemes.Save(key, true) && current.Save(key, true);
    if (!written || !key.Flush()) {
      error = key.GetLastError();
      return false;
    }
    config.ansiPalettes.saved = palettes.Current();
    config.colorSchemes.saved = schemes.Current();
    config.currentAnsiPalette.saved = current.Current();
  }
  config.ansiPalettes.Current() = editedPalettes.Current();
  config.colorSchemes.Current() = editedSchemes.Current();
  config.currentAnsiPalette = editedCurrent;
  return true;
}

}  // namespace coloredit
