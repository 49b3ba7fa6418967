// The passes over every saved secret: re-encryption when the configuration passphrase changes,
// and the first encryption pass after a passphrase is first chosen (which rewrites secrets still
// kept in an older form). Each visits every saved session and then every saved firewall, loading
// each and saving those it changed, on a worker thread behind a progress window.
//
// An item that cannot be done (a read-only file, a secret that does not decrypt under the old
// passphrase) is named in the result: after a change, its secrets still need the previous
// passphrase, which nobody may remember later, so the user has to be told which ones they are.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "crypto/secret_pass_progress.h"

class SessionDatabase;

struct VSecretPassResult {
  bool reEncryption = false;  // a change of passphrase, rather than the first pass
  size_t sessions = 0;   // sessions visited
  size_t firewalls = 0;  // firewalls visited
  std::vector<VSecretPassFailure> failures;
  bool Succeeded() const { return failures.empty(); }
};

// Carries every secret from `oldPassphrase` to `newPassphrase` (without an old passphrase, a
// reset: every secret becomes empty under the new one). The caller has made the old passphrase
// the configuration passphrase, so that secrets in older forms are read under it. `database`
// null: the host's item database, or one on the registered store.
VSecretPassResult ReEncryptSensitiveData(std::optional<std::u16string_view> oldPassphrase,
                                         std::u16string_view newPassphrase,
                                         ISecretPassProgress* progress,
                                         SessionDatabase* database = nullptr);
// Loads every session and firewall under the configuration passphrase and saves those whose
// secrets loading carried from an older form, which then stand in the current form.
VSecretPassResult EncryptSensitiveDataFirstTime(ISecretPassProgress* progress,
                                                SessionDatabase* database = nullptr);

// "The sensitive data of N items could not be re-encrypted ...: kind 'name' (why); ..." (after
// the first pass: "... stays in its older form"). False, `message` untouched, when nothing
// failed.
bool DescribeSecretPassFailures(const VSecretPassResult& result, VReportMessageParams& message);
