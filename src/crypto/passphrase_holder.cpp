// The process-wide holder behind config_passphrase.h: one sensitive string and one flag under a
// mutex, so that threads that save settings read a consistent passphrase.
#include <mutex>

#include "crypto/config_passphrase.h"

namespace {

class VPassphraseHolder {
 public:
  static VPassphraseHolder& Instance() {
    static VPassphraseHolder* holder = new VPassphraseHolder();  // outlives static destructors
    return *holder;
  }

  VUnicodeString Get() {
    std::lock_guard<std::mutex> lock(mutex_);
    VUnicodeString copy;
    copy.SetSensitive(true);
    copy = passphrase_;
    return copy;
  }
  void Set(const char16_t* passphrase) {
    std::lock_guard<std::mutex> lock(mutex_);
    passphrase_.Wipe();
    if (passphrase) passphrase_ = passphrase;
  }
  bool IsDisabled() {
    std::lock_guard<std::mutex> lock(mutex_);
    return disabled_;
  }
  void SetDisabled(bool disabled) {
    std::lock_guard<std::mutex> lock(mutex_);
    disabled_ = disabled;
  }

 private:
  VPassphraseHolder() { passphrase_.SetSensitive(true); }

  std::mutex mutex_;
  VUnicodeString passphrase_;
  bool disabled_ = false;
};

}  // namespace

VUnicodeString GetConfigPassphrase() { return VPassphraseHolder::Instance().Get(); }
void SetConfigPassphrase(const char16_t* passphrase) { VPassphraseHolder::Instance().Set(passphrase); }
bool IsConfigPassphraseDisabled() { return VPassphraseHolder::Instance().IsDisabled(); }
void SetConfigPassphraseDisabled(bool disabled) { VPassphraseHolder::Instance().SetDisabled(disabled); }
