// Where the Mapped Keys page finds the mappings it edits, and how it writes them back. A session
// keeps its own mappings inline unless it selects a custom key map, whose file then holds them.
// The page edits a copy and writes only on OK, and only what changed: the session's own key map
// when it was edited, or the key map file through the key map's own save (which replaces the
// file in one step), never over a change another program made to it meanwhile.
#pragma once

#include <string>

#include "config/keymap/keymap.h"
#include "report/report_message_params.h"

class TerminalConfig;

// "Custom" as the key map name means the mappings live in the file "Keymap Filename" names.
bool UsesKeymapFile(const TerminalConfig& terminal);

struct MappedKeysSource {
  enum class Kind {
    kSession,      // the session's own mappings ("Keymap v4")
    kFile,         // the custom key map file, read
    kUnavailable,  // the custom key map file is not named or cannot be read: nothing to edit
  };
  Kind kind = Kind::kSession;
  VUnicodeString fileName;  // the custom key map file as the session names it
  std::string bytesRead;    // the file as it was read, to notice another writer before saving
  Keymap mappings;          // the copy the page edits
  std::string written;      // the mappings as they would be written when read, to notice edits
  // kUnavailable: why (empty when no file is named). kFile: lines of the file that could not be
  // read (they are kept and written back as they were), or empty.
  VUnicodeString problem;
};

// Reads what the page edits for `terminal`: a copy of the session's own mappings, or the custom
// key map file loaded as any key map file is (by its path, else from the "keymaps" folder).
MappedKeysSource ReadMappedKeys(const TerminalConfig& terminal);

// True when the page's copy differs from what was read.
bool MappedKeysChanged(const MappedKeysSource& source);

enum class MappedKeysWrite { kUnchanged, kWritten, kChangedElsewhere, kFailed };

// Writes the edited copy where it came from when it changed. A file that another program changed
// since it was read is left alone (kChangedElsewhere); a failed save leaves the file as it was
// (kFailed, with the reason in `error`). Once written, `source` holds the copy as what was read.
MappedKeysWrite WriteMappedKeys(MappedKeysSource& source, TerminalConfig& terminal,
                                VReportMessageParams& error);
