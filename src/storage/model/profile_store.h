// The profile: a tree of named keys holding named values of four kinds (32-bit number, string,
// byte block, list of strings). Public handles are small concrete classes made on the stack; each
// owns one back-end object behind an abstract private interface.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"
#include "storage/model/profile_security.h"
#include "storage/model/value_name.h"

using VDword = uint32_t;

// Iterator type codes.
enum VProfileEntryType : int {
  kProfileTypeDword = 0,
  kProfileTypeString = 1,
  kProfileTypeBinary = 2,
  kProfileTypeMultiSz = 3,
  kProfileTypeXmlKey = 4,
  kProfileTypeFolderKey = 5,     // sub-key kept as a folder only
  kProfileTypeFileKey = 6,       // sub-key kept as a value file only
  kProfileTypeFolderFileKey = 7  // both
};

// Flag bits of OpenPrivateSubKey and of VProfileKey's sub-key constructor.
constexpr int kProfileKeyCreate = 1;
// The caller listed the parent a moment ago and no sub-key of this name was there in any case:
// a store that finds names without regard to case need not look for another spelling.
constexpr int kProfileKeyKnownNew = 2;

class VProfilePrivateKeyIterator {
 public:
  virtual ~VProfilePrivateKeyIterator() = default;
  virtual bool Next(VUnicodeString& name, int& type) = 0;
  virtual bool Next(VUnicodeString& name) = 0;
};

class VProfilePrivateKey {
 public:
  virtual ~VProfilePrivateKey() = default;
  virtual bool ReadSecurity(const char16_t* name, VProfileSecurity& security) = 0;
  virtual bool ReadMultiSz(const char16_t* name, VStringArray& value) = 0;
  virtual bool ReadBinary(const char16_t* name, void* buffer, VDword& size) = 0;
  virtual bool ReadString(const char16_t* name, VUnicodeString& value) = 0;
  virtual bool ReadDword(const char16_t* name, VDword& value) = 0;
  virtual bool WriteSecurity(const char16_t* name, const VProfileSecurity& security) = 0;
  virtual bool WriteMultiSz(const char16_t* name, const VStringArray& value) = 0;
  virtual bool WriteBinary(const char16_t* name, const void* data, VDword size) = 0;
  virtual bool WriteString(const char16_t* name, const char16_t* value) = 0;
  virtual bool WriteDword(const char16_t* name, VDword value) = 0;
  virtual bool DeleteValue(const char16_t* name) = 0;
  virtual bool DeleteSubKey(const char16_t* name) = 0;
  virtual bool SubKeyExists(const char16_t* name) = 0;
  virtual bool ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) = 0;
  virtual bool CanWrite() = 0;
  virtual bool ApplySecurity(const VProfileSecurity& security) = 0;
  virtual VReportMessageParams& GetLastError() = 0;
  virtual bool Rewrite() = 0;
  virtual void MergePersonalData(const char16_t* folder) = 0;
  virtual VProfilePrivateKey* OpenPrivateSubKey(const char16_t* name,
                                                const VProfileSecurity* security, int flags) = 0;
  virtual VProfilePrivateKeyIterator* CreatePrivateKeyIterator(bool values) = 0;
  // Writes what a caching back end holds now, instead of when the key is released, so that the
  // caller learns whether it reached storage. Back ends that write through have nothing to do.
  virtual bool Flush() { return true; }
  // Whether the key writes its own changes when released (and a failure there would go
  // unseen), rather than through its store or at once: such a key is flushed by a caller that
  // must know every write succeeded before letting it go.
  virtual bool WritesOnRelease() const { return false; }
  // Every value's name and type code in no particular order: for callers that look at all of a
  // key's values and need no listing order (the iterator sorts).
  virtual void ForEachValueName(const std::function<void(const VUnicodeString& name, int type)>& visit);
  // Whether the key holds any value: what the first step of a value iterator tells, for stores
  // that can say it without listing every value.
  virtual bool HoldsValues();
  // ForEachValueName without the names that `skip` holds as spelt: a configuration object looks
  // at the values its members do not read, and a store that indexes its names in UTF-8 can tell
  // those apart without making each name's UTF-16 form.
  virtual void ForEachValueNameExcept(const VValueNameSet& skip,
                                      const std::function<void(const VUnicodeString& name, int type)>& visit);
  // Reads by a prepared name, for stores that look names up by their UTF-8 form and hash; the
  // others read by the name's text. Unlike the reads by text, these leave `value` as it was when
  // the value cannot be read, so that a caller may read straight into the value it holds.
  virtual bool ReadPreparedDword(const VPreparedName& name, VDword& value);
  virtual bool ReadPreparedString(const VPreparedName& name, VUnicodeString& value);
};

class VProfilePrivateStore {
 public:
  virtual ~VProfilePrivateStore() = default;
  virtual VProfilePrivateKey* CreateRootKey(bool readOnly) = 0;
};

class VProfileStoreFactory {
 public:
  VProfileStoreFactory() = default;
  virtual ~VProfileStoreFactory() = default;
  virtual VProfilePrivateStore* CreatePrivateStore() = 0;

 private:
  void* reserved_ = nullptr;
};

class VProfileKey;

class VProfileStore {
 public:
  // With a null factory the one returned by the host's registered getter is used.
  explicit VProfileStore(VProfileStoreFactory* factory = nullptr);
  VProfileStore(bool readOnly, VProfileStoreFactory* factory);
  ~VProfileStore();
  VProfileStore(const VProfileStore&) = delete;
  VProfileStore& operator=(const VProfileStore&) = delete;

  VProfileKey* GetRootKey() { return root_; }
  bool IsReadOnly() const { return readOnly_; }
  // Used by VProfileKey to make a second handle on the root.
  VProfilePrivateKey* CreatePrivateRootKey();

 private:
  void Build(VProfileStoreFactory* factory);

  VProfilePrivateStore* private_ = nullptr;
  VProfileKey* root_ = nullptr;
  bool readOnly_ = false;
};

class VProfileKey {
 public:
  explicit VProfileKey(VProfileStore& store);
  // Opens (bit 0 of flags: creates) the sub-key `name` of `parent`. Never fails: a missing key
  // gives a handle on which reads fail.
  VProfileKey(const VProfileKey& parent, const char16_t* name, int flags = 0);
  // Adopts a private key (back ends and the store use this).
  explicit VProfileKey(VProfilePrivateKey* adopted) : private_(adopted) {}
  virtual ~VProfileKey();
  VProfileKey(const VProfileKey&) = delete;
  VProfileKey& operator=(const VProfileKey&) = delete;

  bool ReadSecurity(const char16_t* name, VProfileSecurity& s) const { return private_->ReadSecurity(name, s); }
  bool ReadMultiSz(const char16_t* name, VStringArray& v) const { return private_->ReadMultiSz(name, v); }
  bool ReadBinary(const char16_t* name, void* b, VDword& size) const { return private_->ReadBinary(name, b, size); }
  bool ReadString(const char16_t* name, VUnicodeString& v) const { return private_->ReadString(name, v); }
  bool ReadDword(const char16_t* name, VDword& v) const { return private_->ReadDword(name, v); }
  bool ReadDword(const VPreparedName& name, VDword& v) const { return private_->ReadPreparedDword(name, v); }
  bool ReadString(const VPreparedName& name, VUnicodeString& v) const {
    return private_->ReadPreparedString(name, v);
  }
  bool WriteSecurity(const char16_t* name, const VProfileSecurity& s) { return private_->WriteSecurity(name, s); }
  bool WriteMultiSz(const char16_t* name, const VStringArray& v) { return private_->WriteMultiSz(name, v); }
  bool WriteBinary(const char16_t* name, const void* d, VDword size) { return private_->WriteBinary(name, d, size); }
  bool WriteString(const char16_t* name, const char16_t* v) { return private_->WriteString(name, v); }
  bool WriteDword(const char16_t* name, VDword v) { return private_->WriteDword(name, v); }
  bool DeleteValue(const char16_t* name) { return private_->DeleteValue(name); }
  bool DeleteSubKey(const char16_t* name) { return private_->DeleteSubKey(name); }
  bool SubKeyExists(const char16_t* name) const { return private_->SubKeyExists(name); }
  bool ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) const {
    return private_->ValidateSubKeyName(name, error);
  }
  bool CanWrite() const { return private_->CanWrite(); }
  bool ApplySecurity(const VProfileSecurity& s) { return private_->ApplySecurity(s); }
  VReportMessageParams& GetLastError() const { return private_->GetLastError(); }
  bool Rewrite() { return private_->Rewrite(); }
  void MergePersonalData(const char16_t* folder) { private_->MergePersonalData(folder); }
  bool Flush() { return private_->Flush(); }
  void ForEachValueName(const std::function<void(const VUnicodeString& name, int type)>& visit) const {
    private_->ForEachValueName(visit);
  }
  bool HoldsValues() const { return private_->HoldsValues(); }
  void ForEachValueNameExcept(const VValueNameSet& skip,
                              const std::function<void(const VUnicodeString& name, int type)>& visit) const {
    private_->ForEachValueNameExcept(skip, visit);
  }

  VProfilePrivateKey* GetPrivateKey() const { return private_; }

 private:
  VProfilePrivateKey* private_ = nullptr;
  void* reserved_ = nullptr;
};

class VProfileKeyIterator {
 public:
  VProfileKeyIterator(const VProfileKey& key, bool values);
  virtual ~VProfileKeyIterator();
  VProfileKeyIterator(const VProfileKeyIterator&) = delete;
  VProfileKeyIterator& operator=(const VProfileKeyIterator&) = delete;
  virtual bool Next(VUnicodeString& name, int& type);
  virtual bool Next(VUnicodeString& name);

 private:
  VProfilePrivateKeyIterator* private_ = nullptr;
};

// Where a copy stopped: the path of the key (relative to the copy's destination, levels joined by
// "\\", empty for the destination itself) and the reason.
struct VProfileCopyFailure {
  VUnicodeString path;
  VReportMessageParams error;
};
// Copies every value and sub-key of `source` below `destination`; false at the first failure,
// which `failure` (when given) describes. Every sub-key written is flushed and checked, so a
// copy that reports success is on disk; `destination` itself is left for the caller to flush.
bool CopyProfileKey(const VProfileKey& destination, const VProfileKey& source,
                    VProfileCopyFailure* failure = nullptr);

using VProfileStoreFactoryGetter = VProfileStoreFactory* (*)();
// Registers the getter that every store built without an explicit factory calls.
void VSetProfileFactoryGetter(VProfileStoreFactoryGetter getter);
VProfileStoreFactoryGetter VGetProfileFactoryGetter();
