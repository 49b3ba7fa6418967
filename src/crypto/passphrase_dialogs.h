// The three passphrase dialogs, as the start-up step asks them: create a passphrase, enter it (or
// go without it), and change, remove or reset it. The options user interface implements them;
// the rules their entries follow are in passphrase_check.h. The same object answers the "another
// process is busy with the passphrase" box and gives the progress window of the passes over the
// saved secrets.
#pragma once

#include <cstdint>

#include "crypto/passphrase_busy_wait.h"
#include "crypto/passphrase_check.h"
#include "crypto/secret_pass_progress.h"

// What the create dialog shows (message ids; %1 is the application name where there is one).
struct VCreatePassphraseTexts {
  uint32_t title = 0;
  uint32_t explanation = 0;     // why a passphrase
  uint32_t neededAtStart = 0;   // under the first choice
  uint32_t withoutWarning = 0;  // under the second choice
  // The configuration already holds a global configuration: its secrets are about to be moved
  // to the current encryption, so the dialog first warns (0x61380059) and names the folder.
  bool warnExistingConfiguration = false;
  VUnicodeString configurationFolder;
};

// The texts for the running product: the pair's texts when the applications are integrated, the
// product's own warning otherwise.
VCreatePassphraseTexts GetCreatePassphraseTexts(int productId, bool integrated);

enum class VEnterPassphraseChoice {
  Entered,          // a correct passphrase, in the passphrase argument
  ContinueWithout,  // run without the passphrase: secrets are not used and not saved
  ChangeRequested,  // the change button: the user wants to change, remove or reset it
  Cancelled,
};

class IPassphraseDialogs : public IPassphraseBusyDialog {
 public:
  // True with the chosen passphrase ("with": typed twice, equal, not empty; "without": empty);
  // false when cancelled.
  virtual bool CreatePassphrase(const VCreatePassphraseTexts& texts,
                                VUnicodeString& passphrase) = 0;
  // Asks until the passphrase is correct (ValidateEnteredPassphrase) or the user decides
  // otherwise.
  virtual VEnterPassphraseChoice EnterPassphrase(const VPassphraseVerifier& verify,
                                                 VUnicodeString& passphrase) = 0;
  // True with a change that passed ValidatePassphraseChange; false when cancelled. The change
  // mode starts preselected.
  virtual bool ChangePassphrase(const VPassphraseVerifier& verify, VPassphraseChange& change) = 0;
  // The progress window of the passes over the saved secrets; null when there is none.
  virtual ISecretPassProgress* GetSecretPassProgress() = 0;
};
