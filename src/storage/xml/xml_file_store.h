// The XML settings file store: a whole profile kept in one XML file.
#pragma once

#include <cstdint>

#include "platform/env.h"
#include "storage/model/profile_store.h"

class VXmlFileStore : public VProfilePrivateStore {
 public:
  // `flags` is carried to every key unchanged; the store gives it no meaning of its own.
  VXmlFileStore(const VUnicodeString& path, uint8_t flags, vfs::Env* env = vfs::Env::Default())
      : path_(path), flags_(flags), env_(env) {}
  // Each root key reads the file afresh when first used; sub-keys share their root's document.
  VProfilePrivateKey* CreateRootKey(bool readOnly) override;

 private:
  VUnicodeString path_;
  uint8_t flags_ = 0;
  vfs::Env* env_;
};

class VXmlFileStoreFactory : public VProfileStoreFactory {
 public:
  explicit VXmlFileStoreFactory(const VUnicodeString& path, uint8_t flags = 0,
                                vfs::Env* env = vfs::Env::Default())
      : path_(path), flags_(flags), env_(env) {}
  VProfilePrivateStore* CreatePrivateStore() override {
    return new VXmlFileStore(path_, flags_, env_);
  }
  const VUnicodeString& GetPath() const { return path_; }
  uint8_t GetFlags() const { return flags_; }

 private:
  VUnicodeString path_;
  uint8_t flags_ = 0;
  vfs::Env* env_;
};
