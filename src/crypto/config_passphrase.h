// The configuration passphrase of this process: the one every encrypted setting is read and
// written under, and whether the user chose to run without it. Deliberately narrow, so that the
// store behind it (now one process-wide holder) can become a cache shared between processes
// without touching its callers.
#pragma once

#include "platform/unicode_string.h"

// The passphrase in use, or empty when none is known. The copy is marked sensitive.
VUnicodeString GetConfigPassphrase();
// Stores a passphrase; null empties it.
void SetConfigPassphrase(const char16_t* passphrase);
// True when the user chose to run without the passphrase: secrets then read as empty and new
// ones are not saved.
bool IsConfigPassphraseDisabled();
void SetConfigPassphraseDisabled(bool disabled);
