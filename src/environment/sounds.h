// Playing a sound file without waiting for it, through the desktop's sound players.
#pragma once

#include <string>

#include "platform/env.h"
#include "platform/unicode_string.h"

// The player that would play a file: the first of "paplay" and "aplay" found on $PATH (`path`
// when not empty), or empty when there is none.
std::string FindSoundPlayer(const std::string& path = std::string(),
                            vfs::Env* env = vfs::Env::Default());

// Plays the sound file `file` (made absolute against the current folder) and returns at once;
// true when a player was started. An empty name, a file that is not there and a machine without
// a player stay silent (false). Without `noDefault`, a missing file plays the desktop's bell
// sound where the sound theme has one; with it, a missing file stays silent.
bool PlaySoundFile(const VUnicodeString& file, bool noDefault, vfs::Env* env = vfs::Env::Default());
