#include "crypto/console_entry.h"

#include <string.h>

namespace {

constexpr uint8_t kCtrlC = 0x03;
constexpr uint8_t kCtrlH = 0x08;
constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kDel = 0x7F;
// The Windows console's marker before the code of a key that has no character.
constexpr uint8_t kExtendedKeyPrefix = 224;

// The terminal is in raw mode: a new line needs its carriage return spelled out.
std::string ToTerminal(std::u16string_view text) {
  std::string utf8 = vtext::ToUtf8(text);
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) out += '\r';
    out += utf8[i];
  }
  return out;
}

// The bytes a well-formed second byte of a UTF-8 sequence may take after `lead`.
bool IsValidSecondByte(uint8_t lead, uint8_t byte) {
  switch (lead) {
    case 0xE0: return byte >= 0xA0 && byte <= 0xBF;  // no overlong forms
    case 0xED: return byte >= 0x80 && byte <= 0x9F;  // no surrogates
    case 0xF0: return byte >= 0x90 && byte <= 0xBF;
    case 0xF4: return byte >= 0x80 && byte <= 0x8F;  // nothing above U+10FFFF
    default: return byte >= 0x80 && byte <= 0xBF;
  }
}

}  // namespace

VConsoleEntryEditor::VConsoleEntryEditor(std::u16string_view prompt,
                                         const VConsoleEntryOptions& options)
    : prompt_(ToTerminal(prompt)), options_(options) {
  entry_.SetSensitive(true);
  // Room for the longest entry up front, so the buffer is never moved and left unwiped behind.
  entry_.reserve(options_.maxUnits + 2);
}

VConsoleEntryEditor::~VConsoleEntryEditor() { ClearPending(); }

void VConsoleEntryEditor::ClearPending() {
  explicit_bzero(pending_, sizeof pending_);
  pendingLength_ = 0;
  pendingNeeded_ = 0;
}

void VConsoleEntryEditor::Start(std::string& echo) { echo += prompt_; }

VConsoleEntryState VConsoleEntryEditor::Feed(uint8_t byte, std::string& echo) {
  if (state_ != VConsoleEntryState::Reading) return state_;
  switch (decode_) {
    case Decode::Ground:
      FeedGround(byte, echo);
      break;
    case Decode::Utf8:
      if (!FeedUtf8(byte, echo)) FeedGround(byte, echo);
      break;
    case Decode::Escape:
      if (byte == '[') {
        decode_ = Decode::Csi;
      } else if (byte == 'O') {
        decode_ = Decode::Ss3;
      } else if (byte >= 0x20 && byte != kDel) {
        decode_ = Decode::Ground;  // Alt and a key: not part of a passphrase
      } else {
        decode_ = Decode::Ground;  // the Esc key, then another control key
        Finish(VConsoleEntryState::Cancelled, echo);
      }
      break;
    case Decode::Csi:  // parameters and intermediates up to one final byte
      if (byte >= 0x40 && byte <= 0x7E) {
        decode_ = Decode::Ground;
      } else if (byte < 0x20 || byte > 0x3F) {
        decode_ = Decode::Ground;
        FeedGround(byte, echo);
      }
      break;
    case Decode::Ss3:
      decode_ = Decode::Ground;
      if (byte < 0x20 || byte > 0x7E) FeedGround(byte, echo);
      break;
  }
  return state_;
}

void VConsoleEntryEditor::FeedGround(uint8_t byte, std::string& echo) {
  if (byte == kCtrlC) return Finish(VConsoleEntryState::Cancelled, echo);
  if (byte == '\r' || byte == '\n') return Enter(echo);
  if (byte == kCtrlH || byte == kDel) return Backspace(echo);
  if (byte == kEsc) {
    decode_ = Decode::Escape;
    return;
  }
  if (byte < 0x20) return;  // other control keys
  if (byte < 0x80) return Append(byte, echo);
  if (byte >= 0xC2 && byte <= 0xF4) {
    decode_ = Decode::Utf8;
    pending_[0] = byte;
    pendingLength_ = 1;
    pendingNeeded_ = byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
  }
  // A stray continuation byte or a byte that never starts UTF-8 is dropped.
}

bool VConsoleEntryEditor::FeedUtf8(uint8_t byte, std::string& echo) {
  uint8_t lead = pending_[0];
  bool valid = pendingLength_ == 1 ? IsValidSecondByte(lead, byte) : (byte & 0xC0) == 0x80;
  if (!valid) {
    bool extendedKey = lead == kExtendedKeyPrefix && pendingLength_ == 1;
    ClearPending();
    decode_ = Decode::Ground;
    return extendedKey;  // the prefix's key is swallowed; anything else is read afresh
  }
  pending_[pendingLength_++] = byte;
  if (pendingLength_ < pendingNeeded_) return true;
  char32_t character = lead & (0xFF >> (pendingNeeded_ + 1));
  for (size_t i = 1; i < pendingLength_; ++i) character = (character << 6) | (pending_[i] & 0x3F);
  ClearPending();
  decode_ = Decode::Ground;
  Append(character, echo);
  return true;
}

void VConsoleEntryEditor::Append(char32_t character, std::string& echo) {
  size_t units = character > 0xFFFF ? 2 : 1;
  if (entry_.size() + units > options_.maxUnits) {
    echo += '\a';
    return;
  }
  if (units == 2) {
    char32_t offset = character - 0x10000;
    entry_.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    entry_.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
  } else {
    entry_.push_back(static_cast<char16_t>(character));
  }
  if (options_.masked) {
    echo += '*';
  } else {
    echo += vtext::ToUtf8(std::u16string_view(entry_).substr(entry_.size() - units));
  }
}

void VConsoleEntryEditor::Backspace(std::string& echo) {
  if (entry_.empty()) return;
  char16_t last = entry_.back();
  entry_.back() = u'\0';
  entry_.pop_back();
  if (last >= 0xDC00 && last <= 0xDFFF && !entry_.empty() && entry_.back() >= 0xD800 &&
      entry_.back() <= 0xDBFF) {
    entry_.back() = u'\0';
    entry_.pop_back();
  }
  echo += "\b \b";
}

void VConsoleEntryEditor::Enter(std::string& echo) {
  if (entry_.empty() && !options_.allowEmpty) {
    echo += "\r\n";
    echo += prompt_;
    return;
  }
  Finish(VConsoleEntryState::Entered, echo);
}

void VConsoleEntryEditor::Finish(VConsoleEntryState state, std::string& echo) {
  ClearPending();
  state_ = state;
  echo += "\r\n";
}

VConsoleEntryState VConsoleEntryEditor::EndEscape(std::string& echo) {
  if (state_ == VConsoleEntryState::Reading && decode_ == Decode::Escape) {
    decode_ = Decode::Ground;
    Finish(VConsoleEntryState::Cancelled, echo);
  }
  return state_;
}

VConsoleEntryState VConsoleEntryEditor::EndOfInput(std::string& echo) {
  if (state_ == VConsoleEntryState::Reading) Finish(VConsoleEntryState::Cancelled, echo);
  return state_;
}

VConsoleEntryRun RunConsoleEntry(std::string_view keys, std::u16string_view prompt,
                                 const VConsoleEntryOptions& options) {
  VConsoleEntryRun run;
  VConsoleEntryEditor editor(prompt, options);
  editor.Start(run.echo);
  for (char key : keys) {
    if (editor.Feed(static_cast<uint8_t>(key), run.echo) != VConsoleEntryState::Reading) break;
  }
  if (editor.AwaitsEscapeSequence()) editor.EndEscape(run.echo);
  run.state = editor.EndOfInput(run.echo);
  run.entry.SetSensitive(true);
  if (run.state == VConsoleEntryState::Entered) run.entry = editor.Entry();
  return run;
}
