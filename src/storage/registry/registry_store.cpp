#include "storage/registry/registry_store.h"

#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "storage/model/root_value_file.h"

VProfilePrivateKey* VRegistryStore::CreateRootKey(bool readOnly) {
  return new VRegistryProfileKey(readOnly,
                                 VRegistryKey::Open(hive_, VSplitRegistryPath(path_), readOnly,
                                                    nullptr, env_));
}

bool VRegistryProfileKey::ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) {
  std::u16string_view candidate(name ? name : u"");
  uint32_t code = 0;
  if (!vfs::IsSafeComponent(candidate) || IsReservedKeyName(candidate)) {
    code = win32::kInvalidName;
  } else {
    // The value file adds ".ini" to the name.
    long budget = vfs::MaxNameLength(key_->Folder());
    if (budget > 4 && vtext::ToUtf8(candidate).size() > static_cast<size_t>(budget - 4))
      code = win32::kFilenameExcedRange;
  }
  if (error) *error = new VReportMessageParams(code);
  return code == 0;
}

VProfilePrivateKey* VRegistryProfileKey::OpenPrivateSubKey(const char16_t* name,
                                                           const VProfileSecurity* security,
                                                           int flags) {
  // Only the create flag makes a missing key: a look at one must leave the hive as it was.
  return new VRegistryProfileKey(
      readOnly_, key_->OpenSubKey(name, readOnly_, security, (flags & kProfileKeyCreate) != 0));
}

VProfilePrivateKeyIterator* VRegistryProfileKey::CreatePrivateKeyIterator(bool values) {
  class Iterator : public VProfilePrivateKeyIterator {
   public:
    explicit Iterator(std::vector<VRegistryKey::Entry> entries) : entries_(std::move(entries)) {}
    bool Next(VUnicodeString& name, int& type) override {
      if (next_ >= entries_.size()) return false;
      name = entries_[next_].name;
      type = entries_[next_].type;
      ++next_;
      return true;
    }
    bool Next(VUnicodeString& name) override {
      int type = 0;
      return Next(name, type);
    }

   private:
    std::vector<VRegistryKey::Entry> entries_;
    size_t next_ = 0;
  };
  // The listing is taken now: a key changed while it is walked is seen as it was.
  return new Iterator(values ? key_->ListValues() : key_->ListSubKeys());
}
