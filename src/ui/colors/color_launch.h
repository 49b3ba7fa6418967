// Opening the colour scheme editor from elsewhere: the Appearance page's Edit and New buttons,
// the colour scheme page, the main window. Each edits the lists in memory; the caller saves the
// configuration (or the dialog that holds the page does, on OK).
#pragma once

#include "config/colors/color_lists.h"

class GlobalConfig;
class QWidget;

// Edits the scheme `name` of `schemes` in the "Color Scheme" dialog. True when OK changed it; a
// scheme that is not there or cannot be read is reported and left alone.
bool EditColorScheme(QWidget* parent, ProfileColorSchemeListV2& schemes,
                     const ProfileAnsiPaletteList& palettes, const VUnicodeString& name);
// The name dialog of a new scheme (refusing an empty name, a comma and a name `schemes` has);
// empty when cancelled.
VUnicodeString AskNewColorSchemeName(QWidget* parent, const ProfileColorSchemeListV2& schemes);
// Copies the scheme `basedOn` under `name` (black on white with the first palette when there is
// no readable such scheme), opens the copy in the "Color Scheme" dialog and on OK adds it to
// `schemes`. True with the name in `created` when a scheme was added.
bool NewNamedColorScheme(QWidget* parent, ProfileColorSchemeListV2& schemes,
                         const ProfileAnsiPaletteList& palettes, const VUnicodeString& basedOn,
                         const VUnicodeString& name, VUnicodeString& created);
// Asks for a new name, copies the scheme `basedOn` under it (black on white with the first
// palette when there is no readable such scheme), opens the copy in the "Color Scheme" dialog
// and on OK adds it to `schemes`. True with the new name in `created` when a scheme was added.
bool NewColorScheme(QWidget* parent, ProfileColorSchemeListV2& schemes,
                    const ProfileAnsiPaletteList& palettes, const VUnicodeString& basedOn,
                    VUnicodeString& created);

// The same on the global configuration's own lists.
bool LaunchColorSchemeDialog(QWidget* parent, GlobalConfig& config, const VUnicodeString& scheme);
bool LaunchNewColorSchemeDialog(QWidget* parent, GlobalConfig& config,
                                const VUnicodeString& basedOn, VUnicodeString& created);
// The new scheme's name already chosen (the Appearance page asks it first).
bool LaunchNamedNewColorSchemeDialog(QWidget* parent, GlobalConfig& config,
                                     const VUnicodeString& basedOn, const VUnicodeString& name,
                                     VUnicodeString& created);
