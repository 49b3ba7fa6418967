#include "crypto/passphrase_busy_wait.h"

#include <thread>

#include "crypto/config_passphrase.h"
#include "crypto/crypto_messages.h"
#include "platform/win32_errors.h"

namespace {

constexpr uint32_t kBusyDialogMessage = 0x61380040;
constexpr uint32_t kBusyConsoleMessage = 0x61380045;

// One round of tries with pauses between them; true as soon as the flag is taken.
bool TryRound(const VPassphraseBusyWait& wait) {
  int remaining = PassphraseBusyTries(wait.mode);
  for (;;) {
    if (wait.tryTake ? wait.tryTake() : TryTakeConfigPassphraseBusy()) return true;
    if (--remaining < 1) return false;
    std::chrono::milliseconds pause = PassphraseBusyPause(remaining);
    if (wait.sleep) wait.sleep(pause);
    else std::this_thread::sleep_for(pause);
  }
}

}  // namespace

VPassphrasePromptMode PassphrasePromptModeFromFlags(uint32_t flags) {
  if (flags & kPassphraseNoPrompting) return VPassphrasePromptMode::NoPrompting;
  if (flags & kPassphraseConsoleMode) return VPassphrasePromptMode::Console;
  return VPassphrasePromptMode::Dialogs;
}

int PassphraseBusyTries(VPassphrasePromptMode mode) {
  return mode == VPassphrasePromptMode::NoPrompting ? 25 : 5;
}

std::chrono::milliseconds PassphraseBusyPause(int remaining) {
  return std::chrono::milliseconds(((remaining / 5 + 1) * 5 - remaining) * 250);
}

uint32_t WaitForConfigPassphraseBusy(const VPassphraseBusyWait& wait, VReportMessageParams& error) {
  error.Reset(0);
  for (;;) {
    if (TryRound(wait)) return win32::kSuccess;
    if (wait.mode == VPassphrasePromptMode::Console && wait.console) {
      VReportMessageParams message(kBusyConsoleMessage);
      if (!wait.console->WriteLine(message.GetTextTrimmed(), error)) return win32::kCancelled;
      VConsoleEntryOptions keyLine;
      keyLine.masked = false;
      keyLine.allowEmpty = true;
      VUnicodeString ignored;
      auto result = wait.console->ReadEntry(u"", keyLine, ignored, error);
      if (result != IPassphraseConsole::Result::Entered) return win32::kCancelled;
    } else if (wait.mode == VPassphrasePromptMode::Dialogs && wait.dialog) {
      VReportMessageParams message(kBusyDialogMessage);
      if (!wait.dialog->AskToContinue(message)) return win32::kCancelled;
    } else {
      // Nobody may be asked, or there is nobody to ask.
      error.Reset(crypto_messages::kPassphraseBusyElsewhere);
      return win32::kCancelled;
    }
  }
}

uint32_t VPassphraseBusyHold::Take(const VPassphraseBusyWait& wait, VReportMessageParams& error) {
  Release();
  uint32_t result = WaitForConfigPassphraseBusy(wait, error);
  held_ = result == win32::kSuccess;
  return result;
}

void VPassphraseBusyHold::Release() {
  if (held_) ReleaseConfigPassphraseBusy();
  held_ = false;
}

