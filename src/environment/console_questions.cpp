#include "environment/console_questions.h"

#include <string>

#include "platform/terminal.h"

namespace {

std::string Text(VReportMessageParams& message) { return message.GetTextTrimmed().ToUtf8(); }

// What the person types is read in the clear: folders and yes/no are not secrets.
VConsoleEntryOptions Visible(size_t maxUnits) {
  VConsoleEntryOptions options;
  options.masked = false;
  options.allowEmpty = true;
  options.maxUnits = maxUnits;
  return options;
}

}  // namespace

bool VIsYesAnswer(std::u16string_view entry) {
  while (!entry.empty() && (entry.front() == u' ' || entry.front() == u'\t'))
    entry.remove_prefix(1);
  while (!entry.empty() && (entry.back() == u' ' || entry.back() == u'\t')) entry.remove_suffix(1);
  for (const char16_t* yes : {u"y", u"yes", u"o", u"oui"}) {
    if (vtext::EqualsNoCase(entry, yes)) return true;
  }
  return false;
}

VConsoleQuestions::VConsoleQuestions(bool mayPrompt, std::ostream& notices,
                                     IPassphraseConsole* console)
    : interactive_(mayPrompt && (console || vterm::StandardInputIsTerminal())),
      notices_(notices),
      console_(console ? *console : terminal_) {}

bool VConsoleQuestions::AskYesNo(VReportMessageParams& question) {
  VUnicodeString entry;
  VReportMessageParams error;
  if (interactive_ && console_.ReadEntry(U8(Text(question) + " [y/N] "), Visible(16), entry,
                                         error) == IPassphraseConsole::Result::Entered)
    return VIsYesAnswer(entry);
  if (!interactive_ || error.IsError()) notices_ << Text(question) << " [no]" << std::endl;
  return false;
}

void VConsoleQuestions::Notify(VReportMessageParams& message, VNoticeKind kind) {
  const char* prefix = kind == VNoticeKind::Error     ? "error: "
                       : kind == VNoticeKind::Warning ? "warning: "
                                                      : "";
  notices_ << prefix << Text(message) << std::endl;
}

bool VConsoleQuestions::AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) {
  VUnicodeString entry;
  VReportMessageParams error;
  // The offered folder is taken by pressing Enter.
  if (interactive_ &&
      console_.ReadEntry(U8(Text(prompt) + "\n[" + folder.ToUtf8() + "] "), Visible(4096), entry,
                         error) == IPassphraseConsole::Result::Entered) {
    if (!entry.empty()) folder = entry;
    folder.SetSensitive(false);
    return true;
  }
  if (!interactive_ || error.IsError()) notices_ << Text(prompt) << " [cancelled]" << std::endl;
  return false;
}
