// What a console prompt does with each key: the entry and what is written back to the terminal,
// worked out from the bytes a terminal in raw mode sends, without touching the terminal itself
// (see passphrase_console.h for the part that does).
//
// Enter ends the entry (an empty one is accepted only where allowed; otherwise the prompt is shown
// again on a new line); Ctrl+C or Esc cancel after a new line; Backspace removes the last
// character and erases it; other characters are appended and echoed, as "*" when masked. A
// character typed as several UTF-8 bytes is one character. Keys that produce escape sequences
// (arrows, function keys) are ignored, as are Alt chords, other control characters, and a 224
// prefix with the key after it where the bytes cannot be UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/unicode_string.h"

struct VConsoleEntryOptions {
  bool masked = true;
  bool allowEmpty = false;
  // Characters beyond this many UTF-16 units are refused with a bell.
  size_t maxUnits = 1024;
};

enum class VConsoleEntryState { Reading, Entered, Cancelled };

class VConsoleEntryEditor {
 public:
  VConsoleEntryEditor(std::u16string_view prompt, const VConsoleEntryOptions& options);
  ~VConsoleEntryEditor();
  VConsoleEntryEditor(const VConsoleEntryEditor&) = delete;
  VConsoleEntryEditor& operator=(const VConsoleEntryEditor&) = delete;

  // Appends the prompt to `echo`.
  void Start(std::string& echo);
  // Takes one byte from the terminal and appends to `echo` what to write back.
  VConsoleEntryState Feed(uint8_t byte, std::string& echo);
  // An ESC came last: a key that sends a sequence sends the rest at once, so when nothing follows
  // shortly the terminal calls EndEscape, and it was the Esc key.
  bool AwaitsEscapeSequence() const { return decode_ == Decode::Escape; }
  VConsoleEntryState EndEscape(std::string& echo);
  // The terminal closed: the entry is cancelled.
  VConsoleEntryState EndOfInput(std::string& echo);

  VConsoleEntryState State() const { return state_; }
  // The entry so far, marked sensitive.
  const VUnicodeString& Entry() const { return entry_; }

 private:
  enum class Decode { Ground, Escape, Csi, Ss3, Utf8 };

  void FeedGround(uint8_t byte, std::string& echo);
  bool FeedUtf8(uint8_t byte, std::string& echo);  // false: `byte` is to be read afresh
  void Append(char32_t character, std::string& echo);
  void Backspace(std::string& echo);
  void Enter(std::string& echo);
  void Finish(VConsoleEntryState state, std::string& echo);
  void ClearPending();

  std::string prompt_;
  VConsoleEntryOptions options_;
  VUnicodeString entry_;
  VConsoleEntryState state_ = VConsoleEntryState::Reading;
  Decode decode_ = Decode::Ground;
  uint8_t pending_[4] = {};
  size_t pendingLength_ = 0;
  size_t pendingNeeded_ = 0;
};

struct VConsoleEntryRun {
  VConsoleEntryState state = VConsoleEntryState::Reading;
  VUnicodeString entry;
  std::string echo;
};

// Runs a prompt over a whole key sequence, as the terminal would: keys after the end of the entry
// are left, a trailing ESC is the Esc key, and running out of keys before Enter cancels.
VConsoleEntryRun RunConsoleEntry(std::string_view keys, std::u16string_view prompt,
                                 const VConsoleEntryOptions& options);
