// The INI folder store: a profile kept as a folder tree with one value file per key.
#pragma once

#include "storage/model/profile_store.h"

class VIniFileStore : public VProfilePrivateStore {
 public:
  VIniFileStore(const VUnicodeString& folder, const VUnicodeString& personalFolder)
      : folder_(folder), personalFolder_(personalFolder) {}
  VProfilePrivateKey* CreateRootKey(bool readOnly) override;

 private:
  VUnicodeString folder_;
  VUnicodeString personalFolder_;
};

class VIniFileStoreFactory : public VProfileStoreFactory {
 public:
  explicit VIniFileStoreFactory(const VUnicodeString& folder,
                                const VUnicodeString& personalFolder = VUnicodeString())
      : folder_(folder), personalFolder_(personalFolder) {}
  VProfilePrivateStore* CreatePrivateStore() override {
    return new VIniFileStore(folder_, personalFolder_);
  }
  const VUnicodeString& GetFolder() const { return folder_; }
  const VUnicodeString& GetPersonalFolder() const { return personalFolder_; }

 private:
  VUnicodeString folder_;
  VUnicodeString personalFolder_;
};
