// The rules of the "Map Selected Key" dialog without its widgets: the function categories and
// their lists, how a send string is shown and stored, what an unmapped key proposes, how a
// launch command is split, and what OK stores in the key map.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/keymap/keymap.h"
#include "config/keymap/keymap_functions.h"
#include "platform/unicode_string.h"

namespace selectedkey {

enum Category : int {
  kSendString = 0,
  kMenu,
  kScrollbar,
  kTelnet,
  kTn3270,
  kVt,
  kSsh,
  kSetButtonBar,
  kRunScript,
  kLaunchApplication,
  kDisable,
  kCategoryCount,
};

struct CodeRange {
  uint32_t first, last;
};
CodeRange RangeOf(Category category);
// The category whose range holds `action`; NONE (an unmapped key) is a send string.
Category CategoryOf(uint32_t action);
// The categories that are a list of named functions.
bool IsFunctionList(Category category);

struct ListEntry {
  uint32_t code;
  VUnicodeString text;
};
// The names of the category's codes in code order (VT_F15 and VT_F16 carry their other names).
std::vector<ListEntry> FunctionList(Category category);

// A stored send string as the edit shows it: "\r\n" becomes a real line break, a doubled
// "\\r\\n" the four characters "\r\n".
VUnicodeString SendStringForDisplay(std::u16string_view stored);
// And back: the four characters "\r\n" are doubled, real line breaks (CR LF, LF or CR) become
// "\r\n".
VUnicodeString SendStringForStorage(std::u16string_view shown);

// What an unmapped key proposes to send from the text it produces: a printable character as
// itself, a control character (and DEL) in octal ("\033"); the backslash, which would start an
// escape, and the double quote, which ends the string in a key map file, in octal too. Nothing for
// the keypad arrows (scan codes 72, 75, 77, 80 without the extended flag), for a key producing no
// text or more than one character (a dead key, a ligature).
VUnicodeString DefaultSendString(std::u16string_view produced, unsigned scanCode, bool extended);

// "prog args": a program in double quotes may hold blanks; otherwise it ends at the first blank.
void SplitCommand(std::u16string_view command, VUnicodeString& program, VUnicodeString& arguments);
VUnicodeString JoinCommand(std::u16string_view program, std::u16string_view arguments);

// What the dialog's OK chose for a key.
struct Choice {
  uint32_t action = kActionNone;
  VUnicodeString first;
  VUnicodeString second;
};
// Stores `choice` for `keyCode` (NONE removes the key's mapping). True when the key's function or
// one of its strings changed.
bool StoreChoice(IKeymap& keymap, uint32_t keyCode, const Choice& choice);
// The key's current mapping (NONE with empty strings when unmapped).
Choice CurrentChoice(const IKeymap& keymap, uint32_t keyCode);

}  // namespace selectedkey
