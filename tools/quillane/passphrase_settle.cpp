#include "quillane/passphrase_settle.h"

#include <unistd.h>

#include <iostream>

#include "crypto/config_passphrase.h"
#include "crypto/crypto_messages.h"
#include "environment/console_progress.h"
#include "environment/passphrase_startup.h"
#include "platform/win32_errors.h"
#include "quillane/setting_commands.h"

namespace cli {
namespace {

constexpr uint32_t kMsgSecretsNotUsed = 0xE13F0081;  // %1: why

// Where nobody can answer: every prompt ends as if nobody may be asked.
class NobodyConsole : public IPassphraseConsole {
 public:
  Result ReadEntry(std::u16string_view, const VConsoleEntryOptions&, VUnicodeString&,
                   VReportMessageParams& error) override {
    error.Reset(crypto_messages::kPassphraseNeedsPrompting);
    return Result::Failed;
  }
  // Only the wait for another process that is busy with the passphrase has a line to show before
  // anything is read: that is the reason the run cannot go on.
  bool WriteLine(std::u16string_view, VReportMessageParams& error) override {
    error.Reset(crypto_messages::kPassphraseBusyElsewhere);
    return false;
  }
};

}  // namespace

const char* PassphraseStateName() {
  if (IsConfigPassphraseDisabled()) return "disabled";
  return IsConfigPassphraseSettled() ? "known" : "unknown";
}

int SettlePassphrase(Context& context, PassphraseUse use, uint32_t extraFlags, bool mention) {
  uint32_t flags = kPassphraseConsoleMode | extraFlags;
  VConsoleSecretPassProgress progress(stderr, false);
  NobodyConsole nobody;
  VPassphraseStartupServices services;
  services.consoleProgress = &progress;
  // --passphrase-env names the passphrase outright: on a new configuration it is the one chosen.
  services.givenPassphraseCreates = true;
  // Only a person at a terminal can answer; a script or a scheduled run is never asked. Without
  // --no-prompt, going without the passphrase where it would be asked stays possible there.
  if (context.options.noPrompt) {
    flags |= kPassphraseNoPrompting;
  } else if (!isatty(STDIN_FILENO)) {
    if (flags & kPassphraseDisableIfNeeded) services.console = &nobody;
    else flags |= kPassphraseNoPrompting;
  }
  bool given = !context.options.passphraseEnv.empty();
  VUnicodeString passphrase = CommandLinePassphrase(context);

  VReportMessageParams report;
  uint32_t code =
      InitializeConfigPassphrase(flags, report, given ? passphrase.c_str() : nullptr, services);
  if (code == win32::kSuccess) {
    // Settled, but a pass over the secrets left some items as they were.
    if (report.IsError()) std::cerr << "quillane: " << Utf8(report.GetTextTrimmed()) << std::endl;
    return kExitOk;
  }

  // The passphrase given was tried first; when nobody may be asked, it was wrong.
  if (given && report.GetMessageId() == crypto_messages::kPassphraseNeedsPrompting)
    report.Reset(crypto_messages::kPassphraseNotCorrect);
  if (!report.IsError()) report.SetError(win32::kCancelled);
  if (use == PassphraseUse::Required) return context.Fail(kExitFailed, report);

  // This run alone goes without it: a private cache, so that the user's other processes sharing
  // this configuration are not switched off too.
  CloseConfigPassphraseCache();
  SetConfigPassphraseDisabled(true);
  if (mention) {
    VReportMessageParams note(kMsgSecretsNotUsed);
    note.AddInsert(report.GetTextOneLineTrimmed());
    std::cerr << "quillane: " << Utf8(note.GetTextTrimmed()) << std::endl;
  }
  return kExitOk;
}

}  // namespace cli
