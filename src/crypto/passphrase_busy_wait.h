// Taking the busy flag before entering or changing the configuration passphrase: while another
// process holds it, wait and try again; when the tries are spent, say so and let the user decide
// (or fail, where nobody may be asked). The flag, once taken, is held by a VPassphraseBusyHold.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "crypto/passphrase_console.h"
#include "report/report_message_params.h"

// Flags of the passphrase start-up step.
constexpr uint32_t kPassphraseConsoleMode = 1;
constexpr uint32_t kPassphraseNoPrompting = 2;
constexpr uint32_t kPassphraseDisableIfNeeded = 4;

enum class VPassphrasePromptMode { NoPrompting, Console, Dialogs };
VPassphrasePromptMode PassphrasePromptModeFromFlags(uint32_t flags);

// The dialog that says another process is busy with the passphrase: true for OK (try again),
// false for Cancel.
class IPassphraseBusyDialog {
 public:
  virtual ~IPassphraseBusyDialog() = default;
  virtual bool AskToContinue(VReportMessageParams& message) = 0;
};

struct VPassphraseBusyWait {
  VPassphrasePromptMode mode = VPassphrasePromptMode::Dialogs;
  IPassphraseConsole* console = nullptr;   // Console mode
  IPassphraseBusyDialog* dialog = nullptr;  // Dialogs mode
  // Both default to the real ones; tests put their own.
  std::function<void(std::chrono::milliseconds)> sleep;
  std::function<bool()> tryTake;  // TryTakeConfigPassphraseBusy
};

// Tries before the user is asked: 5, or 25 where nobody may be asked.
int PassphraseBusyTries(VPassphrasePromptMode mode);
// The pause after a failed try that left `remaining` tries: 250 ms to 1250 ms, rising as the tries
// run down in fives (((remaining div 5 + 1) x 5 - remaining) x 250 ms).
std::chrono::milliseconds PassphraseBusyPause(int remaining);

// Takes the busy flag. Returns 0 when it is taken, 1223 when the user cancelled (nothing in
// `error`) or nobody may be asked (`error` says why) or the console failed.
uint32_t WaitForConfigPassphraseBusy(const VPassphraseBusyWait& wait, VReportMessageParams& error);

// Releases the busy flag, when it was taken, on every way out of a scope.
class VPassphraseBusyHold {
 public:
  VPassphraseBusyHold() = default;
  ~VPassphraseBusyHold() { Release(); }
  VPassphraseBusyHold(const VPassphraseBusyHold&) = delete;
  VPassphraseBusyHold& operator=(const VPassphraseBusyHold&) = delete;

  // Waits as WaitForConfigPassphraseBusy does; the flag is held from a 0 result on.
  uint32_t Take(const VPassphraseBusyWait& wait, VReportMessageParams& error);
  void Release();
  bool IsHeld() const { return held_; }

 private:
  bool held_ = false;
};
