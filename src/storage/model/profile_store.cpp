#include "storage/model/profile_store.h"

#include <atomic>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

std::atomic<VProfileStoreFactoryGetter> gFactoryGetter{nullptr};

// A key that stands in when no back end could be had: every operation fails.
class VUnavailableKey : public VProfilePrivateKey {
 public:
  explicit VUnavailableKey(uint32_t error) : lastError_(error) {}
  bool ReadSecurity(const char16_t*, VProfileSecurity&) override { return false; }
  bool ReadMultiSz(const char16_t*, VStringArray&) override { return false; }
  bool ReadBinary(const char16_t*, void*, VDword&) override { return false; }
  bool ReadString(const char16_t*, VUnicodeString&) override { return false; }
  bool ReadDword(const char16_t*, VDword&) override { return false; }
  bool WriteSecurity(const char16_t*, const VProfileSecurity&) override { return false; }
  bool WriteMultiSz(const char16_t*, const VStringArray&) override { return false; }
  bool WriteBinary(const char16_t*, const void*, VDword) override { return false; }
  bool WriteString(const char16_t*, const char16_t*) override { return false; }
  bool WriteDword(const char16_t*, VDword) override { return false; }
  bool DeleteValue(const char16_t*) override { return false; }
  bool DeleteSubKey(const char16_t*) override { return false; }
  bool SubKeyExists(const char16_t*) override { return false; }
  bool ValidateSubKeyName(const char16_t*, VReportMessageParams** error) override {
    if (error) *error = new VReportMessageParams(lastError_.GetMessageId());
    return false;
  }
  bool CanWrite() override { return false; }
  bool ApplySecurity(const VProfileSecurity&) override { return false; }
  VReportMessageParams& GetLastError() override { return lastError_; }
  bool Rewrite() override { return false; }
  void MergePersonalData(const char16_t*) override {}
  VProfilePrivateKey* OpenPrivateSubKey(const char16_t*, const VProfileSecurity*, int) override {
    return new VUnavailableKey(lastError_.GetMessageId());
  }
  VProfilePrivateKeyIterator* CreatePrivateKeyIterator(bool) override;

 private:
  VReportMessageParams lastError_;
};

class VEmptyIterator : public VProfilePrivateKeyIterator {
 public:
  bool Next(VUnicodeString&, int&) override { return false; }
  bool Next(VUnicodeString&) override { return false; }
};

VProfilePrivateKeyIterator* VUnavailableKey::CreatePrivateKeyIterator(bool) {
  return new VEmptyIterator;
}

constexpr uint32_t kErrorInvalidFunction = 1;

}  // namespace

void VProfilePrivateKey::ForEachValueName(
    const std::function<void(const VUnicodeString& name, int type)>& visit) {
  std::unique_ptr<VProfilePrivateKeyIterator> iterator(CreatePrivateKeyIterator(true));
  VUnicodeString name;
  int type = 0;
  while (iterator && iterator->Next(name, type)) visit(name, type);
}

bool VProfilePrivateKey::HoldsValues() {
  std::unique_ptr<VProfilePrivateKeyIterator> iterator(CreatePrivateKeyIterator(true));
  VUnicodeString name;
  return iterator && iterator->Next(name);
}

void VProfilePrivateKey::ForEachValueNameExcept(
    const VValueNameSet& skip, const std::function<void(const VUnicodeString& name, int type)>& visit) {
  ForEachValueName([&](const VUnicodeString& name, int type) {
    if (!skip.Contains(name)) visit(name, type);
  });
}

bool VProfilePrivateKey::ReadPreparedDword(const VPreparedName& name, VDword& value) {
  VDword read = 0;
  if (!ReadDword(name.Text().c_str(), read)) return false;
  value = read;
  return true;
}

bool VProfilePrivateKey::ReadPreparedString(const VPreparedName& name, VUnicodeString& value) {
  VUnicodeString read;
  if (!ReadString(name.Text().c_str(), read)) return false;
  value = std::move(read);
  return true;
}

void VSetProfileFactoryGetter(VProfileStoreFactoryGetter getter) { gFactoryGetter = getter; }
VProfileStoreFactoryGetter VGetProfileFactoryGetter() { return gFactoryGetter.load(); }

VProfileStore::VProfileStore(VProfileStoreFactory* factory) { Build(factory); }

VProfileStore::VProfileStore(bool readOnly, VProfileStoreFactory* factory) : readOnly_(readOnly) {
  Build(factory);
}

void VProfileStore::Build(VProfileStoreFactory* factory) {
  if (!factory) {
    VProfileStoreFactoryGetter getter = gFactoryGetter.load();
    factory = getter ? getter() : nullptr;
  }
  // Without a registered factory there is no profile; keys then report every operation failed
  // instead of crashing the host.
  private_ = factory ? factory->CreatePrivateStore() : nullptr;
  root_ = new VProfileKey(CreatePrivateRootKey());
}

VProfilePrivateKey* VProfileStore::CreatePrivateRootKey() {
  if (!private_) return new VUnavailableKey(kErrorInvalidFunction);
  return private_->CreateRootKey(readOnly_);
}

VProfileStore::~VProfileStore() {
  // The root key goes after the private store, as its owner expects; a caching root key writes
  // from its own state and needs nothing of the store.
  delete private_;
  delete root_;
}

VProfileKey::VProfileKey(VProfileStore& store) : private_(store.CreatePrivateRootKey()) {}

VProfileKey::VProfileKey(const VProfileKey& parent, const char16_t* name, int flags)
    : private_(parent.private_->OpenPrivateSubKey(name, nullptr, flags)) {}

VProfileKey::~VProfileKey() { delete private_; }

VProfileKeyIterator::VProfileKeyIterator(const VProfileKey& key, bool values)
    : private_(key.GetPrivateKey()->CreatePrivateKeyIterator(values)) {}

VProfileKeyIterator::~VProfileKeyIterator() { delete private_; }

bool VProfileKeyIterator::Next(VUnicodeString& name, int& type) {
  return private_ && private_->Next(name, type);
}

bool VProfileKeyIterator::Next(VUnicodeString& name) { return private_ && private_->Next(name); }

namespace {

bool CopyValue(VProfileKey& target, const VProfileKey& source, const char16_t* n, int type) {
  switch (type) {
    case kProfileTypeDword: {
      VDword value = 0;
      return source.ReadDword(n, value) && target.WriteDword(n, value);
    }
    case kProfileTypeString: {
      VUnicodeString value;
      return source.ReadString(n, value) && target.WriteString(n, value.c_str());
    }
    case kProfileTypeBinary: {
      VDword size = 0;
      if (!source.ReadBinary(n, nullptr, size)) return false;
      std::vector<uint8_t> buffer(size);
      return source.ReadBinary(n, buffer.data(), size) &&
             target.WriteBinary(n, buffer.data(), size);
    }
    case kProfileTypeMultiSz: {
      VStringArray value;
      return source.ReadMultiSz(n, value) && target.WriteMultiSz(n, value);
    }
    default:
      return false;
  }
}

bool Fail(VProfileCopyFailure* failure, const VUnicodeString& path, const VProfileKey& key) {
  if (failure) {
    failure->path = path;
    failure->error = key.GetLastError();
    // A failed read leaves no reason in the key; say what kind of failure it was.
    if (!failure->error.IsError()) failure->error.SetError(kErrorInvalidFunction);
  }
  return false;
}

bool CopyTree(const VProfileKey& destination, const VProfileKey& source, const VUnicodeString& path,
              VProfileCopyFailure* failure) {
  VProfileKey& target = const_cast<VProfileKey&>(destination);
  {
    VProfileKeyIterator values(source, true);
    VUnicodeString name;
    int type = -1;
    while (values.Next(name, type)) {
      if (!CopyValue(target, source, name.c_str(), type)) return Fail(failure, path, destination);
    }
  }
  VProfileKeyIterator keys(source, false);
  VUnicodeString name;
  while (keys.Next(name)) {
    VUnicodeString subPath = path;
    if (!subPath.empty()) subPath += u"\\";
    subPath += name;
    VProfileKey from(source, name.c_str(), 0);
    VProfileKey to(destination, name.c_str(), 0);
    if (!CopyTree(to, from, subPath, failure)) return false;
    // Written now rather than when the key is released, where a failure would go unseen. A
    // store that writes one file for every key is left to the caller's flush of the
    // destination: flushing it at every sub-key would write the whole file each time.
    if (to.GetPrivateKey()->WritesOnRelease() && !to.Flush()) return Fail(failure, subPath, to);
  }
  return true;
}

}  // namespace

bool CopyProfileKey(const VProfileKey& destination, const VProfileKey& source,
                    VProfileCopyFailure* failure) {
  return CopyTree(destination, source, VUnicodeString(), failure);
}
