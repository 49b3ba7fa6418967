#include "crypto/passphrase_cache.h"

#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "crypto/crypto_messages.h"
#include "crypto/passphrase_cache_block.h"
#include "crypto/v2_codec.h"
#include "platform/ipc_lock.h"
#include "platform/process_identity.h"
#include "platform/win32_errors.h"

namespace {

VPassphraseCacheArea* AreaOf(const VSharedMemoryCache& memory) {
  return reinterpret_cast<VPassphraseCacheArea*>(memory.Block());
}

// A writer that died part-way through copying the passphrase text left it torn: the cache then
// holds no passphrase, so that the next process asks for it again rather than using garbage.
void RepairAfterDeadHolder(VPassphraseCacheArea& area) {
  if (area.trailer.textWriting) {
    explicit_bzero(area.block.passphrase, sizeof area.block.passphrase);
    area.trailer.textWriting = 0;
  }
}

uint64_t OwnStartTime() {
  static const uint64_t startTime = vproc::ProcessStartTime(getpid());
  return startTime;
}

}  // namespace

VSharedMemoryNames BuildPassphraseCacheNames(int productId, bool integrated, uid_t uid,
                                             std::string_view scope) {
  std::string product = integrated ? std::string() : "{" + std::to_string(productId) + "}";
  std::string user = "-" + std::to_string(uid);
  if (!scope.empty()) user += "-" + std::string(scope);
  return {kPassphraseCacheMappingName + product + user, kPassphraseCacheLockName + product + user};
}

void ReportSharedObjectProblem(const VSharedObjectStatus& status, VReportMessageParams& error) {
  VUnicodeString name = VUnicodeString::FromUtf8(status.objectName);
  switch (status.problem) {
    case VSharedObjectProblem::None:
      error.Reset(0);
      return;
    case VSharedObjectProblem::NotPrivate: {
      error.Reset(crypto_messages::kSharedObjectNotPrivate);
      error.AddInsert(name);
      error.AddInsertFormatted(u"%1!u!", status.owner);
      char octal[8];
      snprintf(octal, sizeof octal, "%04o", static_cast<unsigned>(status.mode));
      error.AddInsertNarrow(octal);
      return;
    }
    case VSharedObjectProblem::Incompatible:
      error.Reset(crypto_messages::kSharedObjectIncompatible);
      error.AddInsert(name);
      return;
    case VSharedObjectProblem::System:
      error.Reset(crypto_messages::kSharedObjectUnusable);
      error.AddInsert(name);
      error.AddInsert(VFormatCatalogueMessage(status.code, {}, true));
      return;
  }
}

template <typename Function>
auto VPassphraseCache::WithArea(Function function) const {
  VIpcLockGuard guard(memory_.Lock());
  VPassphraseCacheArea& area = *AreaOf(memory_);
  if (guard.PreviousHolderDied()) RepairAfterDeadHolder(area);
  return function(area);
}

bool VPassphraseCache::OpenShared(const VSharedMemoryNames& names, VReportMessageParams& error) {
  openedFirst_ = false;
  VSharedObjectStatus status;
  if (!memory_.OpenShared(names, sizeof(VPassphraseCacheArea), status)) {
    ReportSharedObjectProblem(status, error);
    return false;
  }
  openedFirst_ = WithArea([](VPassphraseCacheArea& area) {
    if (area.block.inUse) return false;
    area.block.inUse = 1;
    return true;
  });
  return true;
}

bool VPassphraseCache::OpenPrivate(VReportMessageParams& error) {
  VSharedObjectStatus status;
  if (!memory_.OpenPrivate(sizeof(VPassphraseCacheArea), status)) {
    ReportSharedObjectProblem(status, error);
    return false;
  }
  WithArea([](VPassphraseCacheArea& area) { area.block.inUse = 1; });
  openedFirst_ = true;
  return true;
}

bool VPassphraseCache::StorePassphrase(const char16_t* passphrase, VReportMessageParams& error) {
  if (!IsOpen()) {
    error.SetError(win32::kInvalidHandle);
    return false;
  }
  VUnicodeString text;
  text.SetSensitive(true);
  if (passphrase && !CryptUtils::EncryptV2String(passphrase, u"", nullptr, text, error))
    return false;
  if (text.size() + 1 > kPassphraseCacheTextUnits) {
    error.Reset(crypto_messages::kPassphraseTooLongToCache);
    error.AddInsertFormatted(u"%1!u!", static_cast<uint32_t>(text.size()));
    error.AddInsertFormatted(u"%1!u!", static_cast<uint32_t>(kPassphraseCacheTextUnits - 1));
    return false;
  }
  WithArea([&text](VPassphraseCacheArea& area) {
    char16_t* slot = area.block.passphrase;
    area.trailer.textWriting = 1;
    std::copy(text.begin(), text.end(), slot);
    std::fill(slot + text.size(), slot + kPassphraseCacheTextUnits, u'\0');
    area.trailer.textWriting = 0;
  });
  return true;
}

VUnicodeString VPassphraseCache::LoadPassphrase() const {
  VUnicodeString passphrase;
  passphrase.SetSensitive(true);
  if (!IsOpen()) return passphrase;
  VUnicodeString text;
  text.SetSensitive(true);
  text.reserve(kPassphraseCacheTextUnits);
  WithArea([&text](VPassphraseCacheArea& area) {
    const char16_t* slot = area.block.passphrase;
    // A text without its terminator is damaged and read as no passphrase.
    const char16_t* end = std::find(slot, slot + kPassphraseCacheTextUnits, u'\0');
    if (end != slot + kPassphraseCacheTextUnits) text.assign(slot, end);
  });
  VReportMessageParams ignored;
  if (!text.empty() && !CryptUtils::DecryptV2String(text, u"", passphrase, ignored))
    passphrase.Wipe();
  return passphrase;
}

bool VPassphraseCache::HasPassphrase() const {
  if (!IsOpen()) return false;
  return WithArea([](VPassphraseCacheArea& area) { return area.block.passphrase[0] != u'\0'; });
}

bool VPassphraseCache::IsDisabled() const {
  if (!IsOpen()) return false;
  return WithArea([](VPassphraseCacheArea& area) { return area.block.disabled != 0; });
}

void VPassphraseCache::SetDisabled(bool disabled) {
  if (!IsOpen()) return;
  WithArea([disabled](VPassphraseCacheArea& area) { area.block.disabled = disabled ? 1 : 0; });
}

bool VPassphraseCache::IsSettled() const {
  if (!IsOpen()) return false;
  return WithArea([](VPassphraseCacheArea& area) {
    return area.block.disabled != 0 || area.block.passphrase[0] != u'\0';
  });
}

bool VPassphraseCache::TryTakeBusy() {
  if (!IsOpen()) return false;
  pid_t self = getpid();
  uint64_t startTime = OwnStartTime();
  return WithArea([self, startTime](VPassphraseCacheArea& area) {
    VPassphraseCacheTrailer& trailer = area.trailer;
    if (area.block.busy && vproc::IsProcessRunning(trailer.busyPid, trailer.busyStartTime))
      return false;
    area.block.busy = 1;
    trailer.busyPid = self;
    trailer.busyStartTime = startTime;
    return true;
  });
}

void VPassphraseCache::ReleaseBusy() {
  if (!IsOpen()) return;
  pid_t self = getpid();
  WithArea([self](VPassphraseCacheArea& area) {
    if (!area.block.busy || area.trailer.busyPid != self) return;
    area.block.busy = 0;
    area.trailer.busyPid = 0;
    area.trailer.busyStartTime = 0;
  });
}

bool VPassphraseCache::IsBusy() const {
  if (!IsOpen()) return false;
  return WithArea([](VPassphraseCacheArea& area) {
    return area.block.busy != 0 &&
           vproc::IsProcessRunning(area.trailer.busyPid, area.trailer.busyStartTime);
  });
}
