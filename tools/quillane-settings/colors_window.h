// quillane-settings --colors: the colour schemes and ANSI palettes of the configuration in a
// dialog of two pages (the scheme list with the "Color Scheme" editor, and the ANSI Color page);
// OK saves the global configuration. With --grab DIR it draws the editor's pictures instead.
#pragma once

#include "settings_options.h"

class QWidget;

namespace settings {

int RunColorsWindow(const Options& options);
// The main window's Color Schemes entry: the same dialog over the configuration in use.
void EditColorSchemes(QWidget* parent);

}  // namespace settings
