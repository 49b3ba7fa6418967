// The INI folder store: a profile kept as a folder tree with one value file per key.
#pragma once

#include "platform/env.h"
#include "storage/model/profile_store.h"

class VIniFileStore : public VProfilePrivateStore {
 public:
  VIniFileStore(const VUnicodeString& folder, const VUnicodeString& personalFolder,
                vfs::Env* env = vfs::Env::Default())
      : folder_(folder), personalFolder_(personalFolder), env_(env) {}
  VProfilePrivateKey* CreateRootKey(bool readOnly) override;

 private:
  VUnicodeString folder_;
  VUnicodeString personalFolder_;
  vfs::Env* env_;
};

class VIniFileStoreFactory : public VProfileStoreFactory {
 public:
  // `env` is the environment every key of the store works through (a test's, to inject faults).
  explicit VIniFileStoreFactory(const VUnicodeString& folder,
                                const VUnicodeString& personalFolder = VUnicodeString(),
                                vfs::Env* env = vfs::Env::Default())
      : folder_(folder), personalFolder_(personalFolder), env_(env) {}
  VProfilePrivateStore* CreatePrivateStore() override {
    return new VIniFileStore(folder_, personalFolder_, env_);
  }
  const VUnicodeString& GetFolder() const { return folder_; }
  const VUnicodeString& GetPersonalFolder() const { return personalFolder_; }

 private:
  VUnicodeString folder_;
  VUnicodeString personalFolder_;
  vfs::Env* env_;
};
