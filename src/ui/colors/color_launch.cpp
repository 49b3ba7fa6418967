#include "ui/colors/color_launch.h"

#include "config/colors/color_messages.h"
#include "config/global/global_config.h"
#include "marrowby/message_box.h"
#include "ui/colors/color_scheme_dialog.h"
#include "ui/colors/new_color_dialogs.h"

namespace {

void Complain(QWidget* parent, uint32_t id, const VUnicodeString& name) {
  VReportMessageParams message(id);
  message.AddInsert(name);
  VMessageBox(parent, message, kMbOk | kMbIconError);
}

}  // namespace

bool EditColorScheme(QWidget* parent, ProfileColorSchemeListV2& schemes,
                     const ProfileAnsiPaletteList& palettes, const VUnicodeString& name) {
  if (schemes.Find(name) == ProfileColorsBase::kNotFound) {
    Complain(parent, kMsgColorNoSuchScheme, name);
    return false;
  }
  std::optional<ColorSchemeEntry> scheme = schemes.GetScheme(name);
  if (!scheme) {
    Complain(parent, kMsgColorEntryUnreadable, name);
    return false;
  }
  ColorSchemesDialog dialog(*scheme, palettes, parent);
  if (dialog.DoModal() != kIdOk) return false;
  if (dialog.Scheme() == *scheme) return false;
  schemes.SetScheme(dialog.Scheme());
  return true;
}

VUnicodeString AskNewColorSchemeName(QWidget* parent, const ProfileColorSchemeListV2& schemes) {
  NewColorSchemeDialog ask(schemes, parent);
  if (ask.DoModal() != kIdOk) return VUnicodeString();
  return ask.Name();
}

bool NewNamedColorScheme(QWidget* parent, ProfileColorSchemeListV2& schemes,
                         const ProfileAnsiPaletteList& palettes, const VUnicodeString& basedOn,
                         const VUnicodeString& name, VUnicodeString& created) {
  ColorSchemeEntry scheme;
  if (std::optional<ColorSchemeEntry> source = schemes.GetScheme(basedOn)) {
    scheme = *source;
  } else {
    scheme.paletteName = palettes.GetDefaultPaletteName();
    scheme.foregrounds.fill(MakeColor(0, 0, 0));
    scheme.backgrounds.fill(MakeColor(0xFF, 0xFF, 0xFF));
  }
  scheme.name = name;
  ColorSchemesDialog dialog(scheme, palettes, parent);
  if (dialog.DoModal() != kIdOk) return false;
  schemes.SetScheme(dialog.Scheme());
  created = dialog.Scheme().name;
  return true;
}

bool NewColorScheme(QWidget* parent, ProfileColorSchemeListV2& schemes,
                    const ProfileAnsiPaletteList& palettes, const VUnicodeString& basedOn,
                    VUnicodeString& created) {
  VUnicodeString name = AskNewColorSchemeName(parent, schemes);
  if (name.empty()) return false;
  return NewNamedColorScheme(parent, schemes, palettes, basedOn, name, created);
}

bool LaunchColorSchemeDialog(QWidget* parent, GlobalConfig& config, const VUnicodeString& scheme) {
  return EditColorScheme(parent, config.colorSchemes, config.ansiPalettes, scheme);
}

bool LaunchNewColorSchemeDialog(QWidget* parent, GlobalConfig& config,
                                const VUnicodeString& basedOn, VUnicodeString& created) {
  return NewColorScheme(parent, config.colorSchemes, config.ansiPalettes, basedOn, created);
}

bool LaunchNamedNewColorSchemeDialog(QWidget* parent, GlobalConfig& config,
                                     const VUnicodeString& basedOn, const VUnicodeString& name,
                                     VUnicodeString& created) {
  return NewNamedColorScheme(parent, config.colorSchemes, config.ansiPalettes, basedOn, name,
                             created);
}
