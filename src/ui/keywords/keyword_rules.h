// The rules of the keyword list editor, apart from its widgets: which words a list takes, what
// opening the editor with a word does, and which names a list may have. The dialog only moves
// text in and out and shows the messages these functions fill in.
#pragma once

#include <cstdint>
#include <vector>

#include "config/highlight/keyword_entries.h"
#include "platform/unicode_string.h"
#include "report/report_message_params.h"

namespace keyword_rules {

// Words that are not regular expressions are at most this long (the word field takes no more).
inline constexpr size_t kMaxKeywordChars = 256;
// The bit of an entry's flag byte that marks a regular expression.
inline constexpr uint8_t kRegexFlag = 0x01;
// The highlight value of an entry without a colour of its own.
inline constexpr uint32_t kNoColor = 255;

// Library and user-interface messages.
inline constexpr uint32_t kMsgKeywordBlank = 0xE138001A;       // %1 the keyword
inline constexpr uint32_t kMsgKeywordDuplicate = 0xE138001B;   // %1 the keyword
inline constexpr uint32_t kMsgRegexBlank = 0xE138002A;         // %1 the expression
inline constexpr uint32_t kMsgKeywordTooLong = 0xE138002C;     // %1 the limit
inline constexpr uint32_t kMsgListNameReserved = 0xE1380128;   // %1 the name
inline constexpr uint32_t kMsgConfirmDeleteList = 0x61380121;
inline constexpr uint32_t kMsgRegexInvalid = 0xE1391300;       // %1 expression, %2 why (ui)

inline bool IsRegex(const KeywordEntry& entry) { return (entry.flags & kRegexFlag) != 0; }

// Checks `text` as a keyword (a regular expression when `regex`) for `list`: no blank, not
// already in the list (without regard to case unless `matchCase`; the entry at `editing`, when
// not -1, is not compared with itself), a plain word no longer than kMaxKeywordChars, a text
// that can be stored, and an expression that compiles. False with the message in `error`.
bool CheckKeyword(const std::vector<KeywordEntry>& list, const VUnicodeString& text, bool regex,
                  bool matchCase, int editing, VReportMessageParams& error);

// The index of the entry whose text equals `text` (exactly under `matchCase`, else without
// regard to case); -1 when there is none.
int FindKeyword(const std::vector<KeywordEntry>& list, const VUnicodeString& text, bool matchCase);

// What opening the editor with a word does.
struct OpeningWord {
  enum class Outcome {
    None,      // no word given
    Selected,  // already in the list: that entry is selected
    Appended,  // valid: appended as a new entry (selected), OK gets the focus
    TooLong,   // cut to the limit, left in the word field, the limit message shown
    Refused,   // left in the word field with the message of its rule
  };
  Outcome outcome = Outcome::None;
  int index = -1;           // Selected, Appended
  VUnicodeString wordField;  // TooLong, Refused
  VReportMessageParams message;
};
// The first entry that repeats an earlier one under `matchCase` (a list built with Match case
// and then closed without it); -1 when every entry is another keyword.
int FirstRepeatedKeyword(const std::vector<KeywordEntry>& list, bool matchCase);

// Applies a word given on opening to `list` (appending it when it is valid).
OpeningWord ApplyOpeningWord(std::vector<KeywordEntry>& list, const VUnicodeString& word,
                             bool matchCase);

// Checks the name of a keyword list at OK: a valid item name (`existing` is the list's name as
// opened, empty for a new list; `nameTaken` tells that another list has the name) that does not
// mean "no keyword list".
bool CheckListName(const VUnicodeString& name, const VUnicodeString& existing, bool isNew,
                   bool nameTaken, VReportMessageParams& error);

// Moves the entry at `index` one place up (-1) or down (+1); the new index, or `index` when it
// cannot move.
int MoveEntry(std::vector<KeywordEntry>& list, int index, int direction);

// The highlight value of a colour (0x00BBGGRR) picked for an entry. Pure red would read as
// kNoColor, so it is kept one step of green away, which no eye tells apart.
uint32_t ColorValue(uint8_t red, uint8_t green, uint8_t blue);

}  // namespace keyword_rules
