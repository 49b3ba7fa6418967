#include "quillane/value_source.h"

#include <cstdlib>
#include <iostream>
#include <iterator>

#include "crypto/clear_buffer.h"
#include "crypto/passphrase_console.h"
#include "platform/terminal.h"
#include "platform/unicode_string.h"

namespace cli {
namespace {

// One line of standard input without its line feed. Anything after that line is refused rather
// than dropped: a value cut short without a word would be saved as if it were whole.
std::string ReadOneLine() {
  // A person typing a secret sees asterisks, as when a passphrase is asked for.
  if (vterm::StandardInputIsTerminal()) {
    VTerminalConsole console;
    VConsoleEntryOptions options;
    options.allowEmpty = true;
    VUnicodeString entry;
    entry.SetSensitive(true);
    VReportMessageParams error;
    auto result = console.ReadEntry(u"Value: ", options, entry, error);
    if (result == IPassphraseConsole::Result::Entered) return entry.ToUtf8();
    if (result == IPassphraseConsole::Result::Cancelled)
      throw UsageError("--value-stdin: the entry was cancelled");
    throw UsageError("--value-stdin: the terminal could not be read: " +
                     error.GetTextOneLineTrimmed().ToUtf8());
  }
  std::string bytes((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  if (bytes.empty()) throw UsageError("--value-stdin found no line on standard input");
  size_t end = bytes.find('\n');
  if (end != std::string::npos && end + 1 != bytes.size()) {
    VWipeString(bytes);
    throw UsageError("--value-stdin takes one line, but standard input holds more than one");
  }
  std::string line = bytes.substr(0, end);
  VWipeString(bytes);
  return line;
}

}  // namespace

std::vector<std::string> PositionalsWithValue(const ParsedArgs& args, size_t count,
                                              const char* expected) {
  bool fromEnv = args.values.count(kValueEnvFlag) > 0;
  bool fromStdin = args.switches.count(kValueStdinFlag) > 0;
  if (fromEnv && fromStdin)
    throw UsageError(std::string("give ") + kValueEnvFlag + " or " + kValueStdinFlag + ", not both");
  std::vector<std::string> positionals = args.positionals;
  if (!fromEnv && !fromStdin) {
    if (positionals.size() != count) throw UsageError(std::string("expected ") + expected);
    return positionals;
  }
  const char* source = fromEnv ? kValueEnvFlag : kValueStdinFlag;
  if (positionals.size() != count - 1)
    throw UsageError(std::string("expected ") + expected + ", with VALUE given by " + source +
                     " instead of on the command line");
  std::string value;
  if (fromEnv) {
    const std::string& name = args.values.at(kValueEnvFlag);
    const char* text = std::getenv(name.c_str());
    if (!text) throw UsageError("the environment variable " + name + " named by --value-env is not set");
    value = text;
  } else {
    value = ReadOneLine();
  }
  if (!vtext::IsValidUtf8(value)) {
    VWipeString(value);
    throw UsageError(std::string("the value given by ") + source + " is not valid UTF-8");
  }
  positionals.push_back(std::move(value));
  return positionals;
}

}  // namespace cli
