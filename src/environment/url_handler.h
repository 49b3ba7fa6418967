// The terminal application as the user's handler of its link schemes (ssh:, telnet:, ...), the
// way desktops keep it: a desktop entry in the user's applications folder that takes those
// schemes, and the associations in the user's mimeapps.list.
#pragma once

#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "platform/unicode_string.h"

constexpr uint32_t kMsgDefaultApplicationDescription = 0x6138012D;

struct VUrlScheme {
  VUnicodeString scheme;       // "ssh"
  VUnicodeString displayName;  // "SSH"
};

struct VDefaultApplication {
  VUnicodeString applicationName;
  VUnicodeString path;
  VUnicodeString description;
  std::vector<VUrlScheme> schemes;
};

// The link schemes of the terminal application, with their display names.
std::vector<VUrlScheme> KarvellUrlSchemes();

// The handler settings of the terminal application: filled, and true, only when it can be
// launched.
bool GetKarvellDefaultApplicationSettings(VDefaultApplication& out);

// "tolvane-karvell.desktop" for Karvell: the maker's name and the application's, in lower case.
std::string DesktopIdOf(const VDefaultApplication& app);
// Where the desktop entry and the associations are written for this user.
std::string UserDesktopEntryPath(const VDefaultApplication& app);
std::string UserMimeAppsPath();

// Writes the desktop entry and makes it the default of every scheme in mimeapps.list, keeping
// every other line of that file. Fails, with nothing changed in mimeapps.list, when the entry
// cannot be written or the path cannot be put in one.
VStatus RegisterDefaultApplication(const VDefaultApplication& app,
                                   vfs::Env* env = vfs::Env::Default());

// Whether the desktop's choice for `scheme` is this application: the first mimeapps.list (the
// user's, for the current desktop first, then the system's) naming an installed default for
// "x-scheme-handler/<scheme>" names this desktop entry, and the entry starts this program.
bool IsDefaultApplicationForScheme(const VDefaultApplication& app, const VUnicodeString& scheme,
                                   vfs::Env* env = vfs::Env::Default());
