// Settling the configuration passphrase once per process at start-up: creating it on first use,
// asking for it and checking it, letting the user go on without it, carrying out a change the
// user asked for earlier, and sharing the outcome with the user's other processes through the
// passphrase cache, so that they find it settled and do not ask again.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "config/database/secret_passes.h"
#include "crypto/passphrase_console.h"
#include "crypto/passphrase_dialogs.h"
#include "environment/user_questions.h"
#include "report/report_message_params.h"

// Flags of InitializeConfigPassphrase: kPassphraseConsoleMode (1), kPassphraseNoPrompting (2)
// and kPassphraseDisableIfNeeded (4), from passphrase_busy_wait.h.

// What the start-up step talks to. Null members take the process's own: the user's terminal,
// the dialogs the user interface registered, no progress window in console mode.
struct VPassphraseStartupServices {
  IPassphraseConsole* console = nullptr;
  IPassphraseDialogs* dialogs = nullptr;
  // The progress of the passes over the secrets in console mode (dialogs bring their own).
  ISecretPassProgress* consoleProgress = nullptr;
  // The pauses while another process is busy with the passphrase (tests shorten them).
  std::function<void(std::chrono::milliseconds)> sleep;
  // On first use the passphrase handed over by the caller becomes the configuration's, without
  // asking anybody. Off, the caller's passphrase is only tried against an existing one and a new
  // configuration asks for its passphrase as usual (or fails where nobody may be asked). A host
  // whose user names the passphrase outside any prompt (an environment variable) turns it on.
  bool givenPassphraseCreates = false;
};

// Registered by the user interface; the caller keeps the object alive while registered.
void SetPassphraseDialogs(IPassphraseDialogs* dialogs);

// Returns 0 when the passphrase is settled (known, empty or disabled), 1223 when it was cancelled
// or cannot be settled without prompting (`report` says why, unless the user cancelled), 50 when
// a requested change cannot be done here (console mode). With 0, `report` may still carry a
// message: the items whose secrets a pass could not handle. `passphrase` (may be null) is tried
// before anyone is asked; on first use it becomes the passphrase only with
// `services.givenPassphraseCreates`.
uint32_t InitializeConfigPassphrase(uint32_t flags, VReportMessageParams& report,
                                    const char16_t* passphrase);
uint32_t InitializeConfigPassphrase(uint32_t flags, VReportMessageParams& report,
                                    const char16_t* passphrase,
                                    const VPassphraseStartupServices& services);

// Changes the passphrase now: the old one (none on a reset) is made the configuration's while
// every secret is carried to the new one, then the new check value is saved and the new
// passphrase cached. The global configuration must be writable, or nothing is done. When the
// check value cannot be saved after all, the secrets are carried back (when the old passphrase is
// known) and the old passphrase stays. While the secrets are carried, the global configuration
// records the change (passphrase_change_record.h): a change stopped part way is finished by
// running it again, or by the next start given the new passphrase; secrets already under the new
// passphrase are left as they are and are no failure. Another change is refused until then.
// False with the reason in `error`; `result` names the items a pass could not handle.
bool CarryOutConfigPassphraseChange(std::optional<std::u16string_view> oldPassphrase,
                                    std::u16string_view newPassphrase,
                                    ISecretPassProgress* progress, VSecretPassResult& result,
                                    VReportMessageParams& error);

// Finishes a change that was stopped part way, given the passphrase it was going to (the old one
// comes out of the record). False with the reason in `error`, also when no such change is
// recorded for `newPassphrase`.
bool FinishStoppedConfigPassphraseChange(std::u16string_view newPassphrase,
                                         ISecretPassProgress* progress, VSecretPassResult& result,
                                         VReportMessageParams& error);

// Asks whether to change the passphrase at the next start and records the answer in the shared
// global configuration's "Change Config Passphrase" (the caller saves it). Returns the answer.
bool LaunchChangeConfigPassphrasePrompt(IUserQuestions& questions);
