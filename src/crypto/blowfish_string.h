// The oldest stored form of a few secrets, read only to carry them into the current form:
// hexadecimal of a double Blowfish encryption under two keys fixed in the program. An outer pass
// under the second key covers the whole text; an inner pass under the first key covers all but
// four bytes of filler at each end. A leading "u" marks a UTF-16 plaintext, "l" a UTF-16
// plaintext with a zero unit after every character, anything else an 8-bit one.
//
// The two keys are this program's own. Values written by releases built with other keys do not
// decode here: they read as garbage or as malformed, and the user enters the secret again.
#pragma once

#include <string_view>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class VCipherBlowfish;

class VBlowfishString : public VUnicodeString {
 public:
  enum class Kind { Narrow, Wide, WideSparse };

  VBlowfishString() = default;
  explicit VBlowfishString(const VUnicodeString& text, int mode = 0)
      : VUnicodeString(text), mode_(mode) {}

  // 0: CBC, big-endian words, 16-byte keys (what migration reads); 1: little-endian words,
  // no chaining, 32-byte keys; 2: little-endian words.
  void SetMode(int mode) { mode_ = mode; }
  int GetMode() const { return mode_; }

  // The plaintext of the held text. An empty text is the empty plaintext. A text that is not
  // hexadecimal or not whole 8-byte blocks fails and gives the empty plaintext. Without an
  // integrity check, a text written under other keys may decode to garbage.
  bool GetPlaintext(VUnicodeString& plaintext, VReportMessageParams& error) const;
  static bool Decode(std::u16string_view text, int mode, VUnicodeString& plaintext,
                     VReportMessageParams& error);

  // Writes `plaintext` in this form with random filler. The library never stores this form; tests
  // and tools use it to produce values as older releases left them.
  static bool Encode(std::u16string_view plaintext, Kind kind, int mode, VUnicodeString& text,
                     VReportMessageParams& error);

 private:
  int mode_ = 0;
};
