// The registry store: the profile model on a registry hive, for the small per-user and
// per-machine settings that must be found before any configuration folder is known.
#pragma once

#include <memory>

#include "storage/model/profile_store.h"
#include "storage/registry/registry_key.h"

class VRegistryStore : public VProfilePrivateStore {
 public:
  VRegistryStore(VRegistryHive hive, const VUnicodeString& path,
                 vfs::Env* env = vfs::Env::Default())
      : hive_(hive), path_(path), env_(env) {}
  VProfilePrivateKey* CreateRootKey(bool readOnly) override;

 private:
  VRegistryHive hive_;
  VUnicodeString path_;
  vfs::Env* env_;
};

class VRegistryStoreFactory : public VProfileStoreFactory {
 public:
  VRegistryStoreFactory(VRegistryHive hive, const VUnicodeString& path,
                        vfs::Env* env = vfs::Env::Default())
      : hive_(hive), path_(path), env_(env) {}
  VProfilePrivateStore* CreatePrivateStore() override {
    return new VRegistryStore(hive_, path_, env_);
  }
  // Re-points the factory; stores made before keep their own hive and path.
  void Set(VRegistryHive hive, const VUnicodeString& path) {
    hive_ = hive;
    path_ = path;
  }
  VRegistryHive GetHive() const { return hive_; }
  const VUnicodeString& GetPath() const { return path_; }

 private:
  VRegistryHive hive_;
  VUnicodeString path_;
  vfs::Env* env_;
};

// A key of the registry store: forwards each operation to its open registry key.
class VRegistryProfileKey : public VProfilePrivateKey {
 public:
  VRegistryProfileKey(bool readOnly, VRegistryKey* key) : readOnly_(readOnly), key_(key) {}

  bool ReadSecurity(const char16_t* name, VProfileSecurity& s) override { return key_->ReadSecurity(name, s); }
  bool ReadMultiSz(const char16_t* name, VStringArray& v) override { return key_->ReadMultiSz(name, v); }
  bool ReadBinary(const char16_t* name, void* b, VDword& size) override { return key_->ReadBinary(name, b, size); }
  bool ReadString(const char16_t* name, VUnicodeString& v) override { return key_->ReadString(name, v); }
  bool ReadDword(const char16_t* name, VDword& v) override { return key_->ReadDword(name, v); }
  bool WriteSecurity(const char16_t* name, const VProfileSecurity& s) override { return key_->WriteSecurity(name, s); }
  bool WriteMultiSz(const char16_t* name, const VStringArray& v) override { return key_->WriteMultiSz(name, v); }
  bool WriteBinary(const char16_t* name, const void* d, VDword size) override { return key_->WriteBinary(name, d, size); }
  bool WriteString(const char16_t* name, const char16_t* v) override { return key_->WriteString(name, v); }
  bool WriteDword(const char16_t* name, VDword v) override { return key_->WriteDword(name, v); }
  bool DeleteValue(const char16_t* name) override { return key_->DeleteValue(name); }
  bool DeleteSubKey(const char16_t* name) override { return key_->DeleteSubKey(name); }
  bool SubKeyExists(const char16_t* name) override { return key_->SubKeyExists(name); }
  // Every name a folder can be called is accepted.
  bool ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) override;
  bool CanWrite() override { return key_->CanWrite(); }
  bool ApplySecurity(const VProfileSecurity& s) override { return key_->ApplySecurity(s); }
  VReportMessageParams& GetLastError() override { return key_->GetLastError(); }
  // Values go to disk as they are written: there is nothing to reload or redistribute.
  bool Rewrite() override { return true; }
  void MergePersonalData(const char16_t*) override {}
  VProfilePrivateKey* OpenPrivateSubKey(const char16_t* name, const VProfileSecurity* security,
                                        int flags) override;
  VProfilePrivateKeyIterator* CreatePrivateKeyIterator(bool values) override;

  VRegistryKey& Key() { return *key_; }

 private:
  bool readOnly_;
  std::unique_ptr<VRegistryKey> key_;
};
