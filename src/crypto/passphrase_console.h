// Console prompts for passphrases: an interface that the passphrase steps talk to, and its
// implementation on the user's terminal. The terminal is read one key at a time in raw mode, with
// nothing echoed but what console_entry.h decides; its mode is restored on every way out,
// including signals that end or stop the process.
#pragma once

#include <string_view>

#include "crypto/console_entry.h"
#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class IPassphraseConsole {
 public:
  enum class Result { Entered, Cancelled, Failed };

  virtual ~IPassphraseConsole() = default;
  // Shows `prompt` and reads one entry. Failed (with `error`) when there is no terminal.
  virtual Result ReadEntry(std::u16string_view prompt, const VConsoleEntryOptions& options,
                           VUnicodeString& entry, VReportMessageParams& error) = 0;
  // Shows a line of text between prompts.
  virtual bool WriteLine(std::u16string_view text, VReportMessageParams& error) = 0;
};

// The controlling terminal (/dev/tty), or standard input when that is a terminal.
class VTerminalConsole : public IPassphraseConsole {
 public:
  Result ReadEntry(std::u16string_view prompt, const VConsoleEntryOptions& options,
                   VUnicodeString& entry, VReportMessageParams& error) override;
  bool WriteLine(std::u16string_view text, VReportMessageParams& error) override;
};
