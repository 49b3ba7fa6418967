// The configuration passphrase cache: the passphrase, the disabled flag and the busy flag, kept in
// a block that one user's processes share (or in a private block of the same layout), so that the
// passphrase is asked for once and every running application of the family uses it. Every read or
// write of a field holds the block's lock.
#pragma once

#include <sys/types.h>

#include <string_view>

#include "platform/shared_memory_cache.h"
#include "platform/unicode_string.h"
#include "report/report_message_params.h"

// The fixed names of the shared block and of its lock.
constexpr char kPassphraseCacheMappingName[] = "{BE251B73-D0CC-49D6-BAD8-73E1DF33D0DE}";
constexpr char kPassphraseCacheLockName[] = "{4F896D0D-BE15-474B-9673-7EE8C3FB1222}";

// The names for one user: an integrated pair of applications shares one block; otherwise each
// product has its own ("{<product id>}" appended). The user id follows, and then `scope` when it
// is not empty (one configuration's block apart from another's).
VSharedMemoryNames BuildPassphraseCacheNames(int productId, bool integrated, uid_t uid,
                                             std::string_view scope = {});

// Turns why a shared object could not be used into a message.
void ReportSharedObjectProblem(const VSharedObjectStatus& status, VReportMessageParams& error);

class VPassphraseCache {
 public:
  VPassphraseCache() = default;
  VPassphraseCache(const VPassphraseCache&) = delete;
  VPassphraseCache& operator=(const VPassphraseCache&) = delete;

  // Opens the block shared under `names`. On failure nothing is open and `error` says why.
  bool OpenShared(const VSharedMemoryNames& names, VReportMessageParams& error);
  // A block of this process only.
  bool OpenPrivate(VReportMessageParams& error);
  void Close() { memory_.Release(); }
  bool IsOpen() const { return memory_.IsOpen(); }
  bool IsShared() const { return memory_.IsShared(); }
  // Processes holding the block.
  uint32_t ReferenceCount() const { return memory_.ReferenceCount(); }
  // True when this process was the first to open the block (it found the in-use mark unset).
  bool OpenedFirst() const { return openedFirst_; }

  // Stores the passphrase (encrypted under the empty passphrase); null empties the cache. A
  // passphrase whose stored form does not fit is refused and the previous content kept.
  bool StorePassphrase(const char16_t* passphrase, VReportMessageParams& error);
  // The cached passphrase, marked sensitive; empty when none is cached or it cannot be read.
  VUnicodeString LoadPassphrase() const;
  bool HasPassphrase() const;
  bool IsDisabled() const;
  void SetDisabled(bool disabled);
  // Another process (or this one) settled the passphrase: one is cached or it is disabled.
  bool IsSettled() const;

  // Test and set of the busy flag. A flag left by a process that no longer runs is taken over.
  bool TryTakeBusy();
  // Clears the busy flag when this process holds it.
  void ReleaseBusy();
  bool IsBusy() const;

 private:
  template <typename Function>
  auto WithArea(Function function) const;

  VSharedMemoryCache memory_;
  bool openedFirst_ = false;
};
