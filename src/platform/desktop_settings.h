// What the user's desktop says about a few preferences that settings take as their defaults:
// whether fonts are smoothed, which keyboard layout is in use, where temporary files go.
#pragma once

#include <string>
#include <string_view>

#include "platform/unicode_string.h"

namespace vdesktop {

// fontconfig's "antialias" answer for an ordinary font request. The library is opened at run
// time, so a machine without it simply answers false; the answer is worked out once a process.
bool FontSmoothingEnabled();

// The first layout of XKBLAYOUT="..." in the text of a keyboard defaults file
// (/etc/default/keyboard); empty when the text names none.
std::string LayoutFromKeyboardDefaults(std::string_view text);
// The user's primary keyboard layout: $XKB_DEFAULT_LAYOUT (its first entry), else the system's
// keyboard defaults file, else "us" (what the keyboard code assumes when nothing is configured).
std::string KeyboardLayout();
// Whether a layout name ("us", "gb", "us(intl)", "gb,de") is one of the English layouts.
bool IsEnglishLayout(std::string_view layout);

// The user's temporary folder: $TMPDIR when set, else /tmp.
VUnicodeString TemporaryFolder();

// The download folder named by XDG_DOWNLOAD_DIR in the text of a user-dirs.dirs file, with
// "$HOME" at its start replaced by `home`; empty when the text names none (or names the home
// folder itself, which the desktop takes to mean "no download folder").
std::string DownloadFolderFromUserDirs(std::string_view text, std::string_view home);
// The user's download folder: what $XDG_CONFIG_HOME/user-dirs.dirs names, else ~/Downloads.
VUnicodeString DownloadFolder();

// Whether the font the desktop would draw `face` with has the box-drawing characters (U+2500
// to U+257F); false when fontconfig is not there to say.
bool FontHasLineDrawing(std::u16string_view face);

}  // namespace vdesktop
