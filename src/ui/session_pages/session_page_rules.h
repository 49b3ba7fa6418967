// The rules of the built-in Session Options pages, as plain functions over the entries: what is
// refused (and with which message), which controls depend on which, and the conversions between
// what a control shows and what is stored. The pages call these; tests drive them directly.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/unicode_string.h"
#include "storage/values/stored_structures.h"

class ProfileColorSchemeListV2;

// A refused entry: the catalogue message and its inserts.
struct RuleFailure {
  uint32_t id = 0;
  std::vector<VUnicodeString> inserts;
};
using RuleResult = std::optional<RuleFailure>;

// A whole decimal number, optionally signed, blanks around it allowed; false otherwise (and for
// numbers beyond an int).
bool ParsePageInteger(std::u16string_view text, int& value);
// An integer within [min, max], else the platform's range message (also for text that is not a
// number).
RuleResult CheckIntegerRange(std::u16string_view text, int min, int max, int& value);

// Terminal: an anti-idle string that is switched on must not be empty.
RuleResult CheckAntiIdle(bool enabled, std::u16string_view text);

// Emulation: the key map names the page offers besides the stored one. "Custom" is a key map
// file, and then the alternate keyboard is on.
inline constexpr const char16_t* kCustomKeymapName = u"Custom";
bool IsCustomKeymap(std::u16string_view keymapName);
// With a custom key map the file must be named and must load (by its name, else from the
// "keymaps" folder of the configuration folder).
RuleResult CheckCustomKeymap(std::u16string_view keymapName, const VUnicodeString& fileName);

// The fixed screen sizes of the TN3270 models; false for a model that is not one.
bool Tn3270ModelSize(std::u16string_view model, int& rows, int& cols);
const std::vector<VUnicodeString>& Tn3270Models();
bool IsTn3270(std::u16string_view emulation);

// Emacs: which controls may be used, and the preserve option once ALT-as-meta changed.
struct EmacsEnabling {
  bool altAsMeta = false;  // the ALT-as-meta box
  bool dependents = false;  // the preserve box and the meta-style choice
};
EmacsEnabling EmacsRules(std::u16string_view emulation, bool altAsMeta);
// Clearing ALT-as-meta clears the preserve option too.
bool PreserveAltGrAfter(bool altAsMeta, bool preserve);

// Log File: the name's last part (after the last '/') must hold no control character; with a new
// log at midnight the name must contain "%D".
RuleResult CheckLogFileName(std::u16string_view fileName, bool newLogAtMidnight);
// Which of the two checks refused (so the page knows both put the focus on the name).
bool IsLogFileNameCharacterFailure(const RuleFailure& failure);

// Window: an initial position is an integer; negative values count from the right or bottom
// edge. "-0" (the right or bottom edge itself) cannot be told from 0 by the number the session
// stores, so it is refused with its own message rather than saved as the opposite edge.
RuleResult ParseInitialPosition(std::u16string_view text, int& value);

// X/Y/Zmodem: the stored packet size shown as one of the two choices.
int XmodemPacketChoice(int stored);

// File Transfer: with synchronized browsing both folders are needed; which field is refused.
enum class SyncField { None, Local, Remote };
RuleResult CheckSynchronizedBrowsing(bool synchronize, std::u16string_view localFolder,
                                     std::u16string_view remoteFolder, SyncField& field);
// A local folder that was changed must be a folder that exists; an empty one is left to the
// other checks.
RuleResult CheckLocalFolder(const VUnicodeString& folder);

// Advanced (file transfer): with PGP on, both commands are needed; `uploadEmpty` tells which
// field to put the focus on.
RuleResult CheckPgpCommands(bool usePgp, std::u16string_view upload, std::u16string_view download,
                            bool& uploadEmpty);

// Appearance: the name of a new colour scheme must not name one there already (built-ins in any
// language included); blanks around it do not count.
RuleResult CheckNewSchemeName(const ProfileColorSchemeListV2& schemes, std::u16string_view name);

// Appearance: a font chosen over the stored one. The size is kept in tenths of a point and as
// the height at 96 dots per inch (negative: the character height); weight and slant follow the
// choice; the other fields stay as they were.
VLogFont ChosenFont(const VLogFont& stored, std::u16string_view face, double points, bool bold,
                    bool italic);
// The size of a stored font in points: its tenths, else its height at 96 dots per inch; 10 when
// neither is known.
double FontPoints(const VLogFont& font);

// Printing: which controls may be used.
struct PrintingEnabling {
  bool useGlobal = false;
  bool panel = false;
};
PrintingEnabling PrintingRules(bool printingAvailable, bool useGlobalSettings);
