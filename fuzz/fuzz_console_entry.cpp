// Console prompts take whatever bytes a terminal (or someone pasting into it) sends. Whatever they
// are, a masked prompt never shows a typed character, and the entry is well-formed UTF-16 within
// its length limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "crypto/console_entry.h"

namespace {

constexpr char16_t kPrompt[] = u"Passphrase: ";

size_t CodePoints(std::u16string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
    if (low) abort();  // a low surrogate must follow a high one
    if (high) {
      if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) abort();
      ++i;
    }
    ++count;
  }
  return count;
}

size_t Count(std::string_view text, std::string_view what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
    ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 8192) return 0;
  VConsoleEntryOptions options;
  options.masked = (data[0] & 1) == 0;
  options.allowEmpty = (data[0] & 2) != 0;
  options.maxUnits = (data[0] & 4) ? 5 : 1024;
  std::string_view keys(reinterpret_cast<const char*>(data + 1), size - 1);

  VConsoleEntryRun run = RunConsoleEntry(keys, kPrompt, options);
  if (run.state == VConsoleEntryState::Reading) abort();
  if (run.entry.size() > options.maxUnits) abort();
  size_t characters = CodePoints(run.entry);
  if (run.state == VConsoleEntryState::Cancelled && !run.entry.empty()) abort();
  if (run.state == VConsoleEntryState::Entered && run.entry.empty() && !options.allowEmpty) abort();
  if (!options.masked) return 0;

  // Masked: the screen shows prompts, asterisks, erasures, new lines and bells, nothing else.
  std::string screen = run.echo;
  for (size_t at; (at = screen.find("Passphrase: ")) != std::string::npos;) screen.erase(at, 12);
  size_t erasures = Count(screen, "\b \b");
  for (char c : screen) {
    if (c != '*' && c != '\b' && c != ' ' && c != '\r' && c != '\n' && c != '\a') abort();
  }
  if (run.state == VConsoleEntryState::Entered &&
      Count(screen, "*") - erasures != characters) {
    abort();
  }
  return 0;
}
