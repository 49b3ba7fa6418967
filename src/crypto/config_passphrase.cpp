// The process-wide passphrase cache behind config_passphrase.h. One mutex orders this process's
// threads around the cache object; the cache's own lock orders the processes around its fields.
#include "crypto/config_passphrase.h"

#include <mutex>

#include "crypto/passphrase_cache.h"

namespace {

class VConfigPassphraseState {
 public:
  static VConfigPassphraseState& Instance() {
    static auto* state = new VConfigPassphraseState();  // outlives static destructors
    return *state;
  }

  template <typename Function>
  auto With(Function function) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!cache_.IsOpen()) {
      VReportMessageParams ignored;  // without memory for a block every field reads as unset
      cache_.OpenPrivate(ignored);
    }
    return function(cache_);
  }

  bool OpenShared(const VSharedMemoryNames& names, VReportMessageParams& error) {
    std::lock_guard<std::mutex> lock(mutex_);
    cache_.Close();
    return cache_.OpenShared(names, error);
  }

  void Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    cache_.Close();
  }

 private:
  std::mutex mutex_;
  VPassphraseCache cache_;
};

VConfigPassphraseState& State() { return VConfigPassphraseState::Instance(); }

}  // namespace

VUnicodeString GetConfigPassphrase() {
  return State().With([](VPassphraseCache& cache) { return cache.LoadPassphrase(); });
}

void SetConfigPassphrase(const char16_t* passphrase) {
  VReportMessageParams ignored;
  StoreConfigPassphrase(passphrase, ignored);
}

bool StoreConfigPassphrase(const char16_t* passphrase, VReportMessageParams& error) {
  return State().With(
      [&](VPassphraseCache& cache) { return cache.StorePassphrase(passphrase, error); });
}

bool IsConfigPassphraseDisabled() {
  return State().With([](VPassphraseCache& cache) { return cache.IsDisabled(); });
}

void SetConfigPassphraseDisabled(bool disabled) {
  State().With([disabled](VPassphraseCache& cache) { cache.SetDisabled(disabled); });
}

bool IsConfigPassphraseSettled() {
  return State().With([](VPassphraseCache& cache) { return cache.IsSettled(); });
}

bool TryTakeConfigPassphraseBusy() {
  return State().With([](VPassphraseCache& cache) { return cache.TryTakeBusy(); });
}

void ReleaseConfigPassphraseBusy() {
  State().With([](VPassphraseCache& cache) { cache.ReleaseBusy(); });
}

bool OpenSharedConfigPassphraseCache(const VSharedMemoryNames& names, VReportMessageParams& error) {
  return State().OpenShared(names, error);
}

void CloseConfigPassphraseCache() { State().Close(); }

bool IsConfigPassphraseCacheShared() {
  return State().With([](VPassphraseCache& cache) { return cache.IsShared(); });
}

uint32_t GetConfigPassphraseCacheHolders() {
  return State().With([](VPassphraseCache& cache) {
    return cache.IsShared() ? cache.ReferenceCount() : 1u;
  });
}
