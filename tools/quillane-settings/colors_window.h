// quillane-settings --colors: the colour schemes and ANSI palettes of the configuration in a
// dialog of two pages (the scheme list with the "Color Scheme" editor, and the ANSI Color page);
// OK saves the global configuration. With --grab DIR it draws the editor's pictures instead.
#pragma once

#include "settings_options.h"

namespace settings {

int RunColorsWindow(const Options& options);

}  // namespace settings
