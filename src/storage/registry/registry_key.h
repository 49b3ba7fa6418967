// One open key of a registry hive. The hive is a folder tree: the key is a folder (its sub-keys)
// and a value file beside it. Every write goes to disk before it returns and every read looks at
// the disk, so all handles on a key, in this process or another, see the same values.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"
#include "report/report_message_params.h"
#include "storage/model/profile_security.h"
#include "storage/registry/registry_hive.h"
#include "storage/registry/registry_value_file.h"

// An expandable string whose expansion would pass the length limit: %1 value name, %2 limit.
constexpr uint32_t kMsgRegistryExpansionTooLong = 0xE1380A00;

class VRegistryKey {
 public:
  // The longest text an expandable string may expand to, as the registry allows; a stored text
  // longer than this already is read as it is, but references never make it grow past either.
  static constexpr size_t kMaxExpandedLength = 32767;

  // Access rights, with the registry's own values.
  static constexpr uint32_t kQueryValue = 0x0001;
  static constexpr uint32_t kSetValue = 0x0002;
  static constexpr uint32_t kCreateSubKey = 0x0004;
  static constexpr uint32_t kEnumerateSubKeys = 0x0008;
  static constexpr uint32_t kNotify = 0x0010;
  static constexpr uint32_t kReadControl = 0x00020000;
  static constexpr uint32_t kReadRights = kQueryValue | kEnumerateSubKeys;
  static constexpr uint32_t kReadWriteRights =
      kQueryValue | kSetValue | kCreateSubKey | kEnumerateSubKeys | kNotify | kReadControl;

  // Opens the key at `levels` below the root of `hive`. Unless `readOnly`, the key is opened or
  // created for reading and writing; when that is not possible (or when `readOnly`) it is opened
  // for reading only, without creating anything. When neither works the key has no handle: every
  // operation fails with the reason the open failed.
  // Every file and folder of the key and its sub-keys is reached through `env`.
  static VRegistryKey* Open(VRegistryHive hive, const std::vector<VUnicodeString>& levels,
                            bool readOnly, const VProfileSecurity* security = nullptr,
                            vfs::Env* env = vfs::Env::Default());
  // Opens the sub-key `name` the same way, except that a missing key is created only with
  // `create`: without it, nothing is made until the first value is written into the key (or
  // into a key below it). A name that cannot be one folder name is refused (123) and nothing
  // is created.
  VRegistryKey* OpenSubKey(const char16_t* name, bool readOnly,
                           const VProfileSecurity* security = nullptr, bool create = true) const;
  ~VRegistryKey() = default;
  VRegistryKey(const VRegistryKey&) = delete;
  VRegistryKey& operator=(const VRegistryKey&) = delete;

  bool ReadSecurity(const char16_t* name, VProfileSecurity& security);
  bool ReadMultiSz(const char16_t* name, VStringArray& value);
  bool ReadBinary(const char16_t* name, void* buffer, uint32_t& size);
  // Accepts plain and expandable strings; an expandable one comes back with the references to
  // environment variables replaced. The text ends at its first null character.
  bool ReadString(const char16_t* name, VUnicodeString& value);
  bool ReadDword(const char16_t* name, uint32_t& value);
  bool WriteSecurity(const char16_t* name, const VProfileSecurity& security);
  bool WriteMultiSz(const char16_t* name, const VStringArray& value);
  bool WriteBinary(const char16_t* name, const void* data, uint32_t size);
  bool WriteString(const char16_t* name, const char16_t* value);
  bool WriteDword(const char16_t* name, uint32_t value);
  bool DeleteValue(const char16_t* name);
  // Removes the sub-key with all its sub-keys. Nothing is removed unless all of it can be.
  bool DeleteSubKey(const char16_t* name);
  bool SubKeyExists(const char16_t* name);
  bool CanWrite() const;
  bool ApplySecurity(const VProfileSecurity& security);
  VReportMessageParams& GetLastError() { return lastError_; }

  // Stores a string whose environment references are expanded when it is read.
  bool WriteExpandString(const char16_t* name, const char16_t* value);

  bool IsOpen() const { return rights_ != 0; }
  uint32_t Rights() const { return rights_; }
  const std::string& Folder() const { return folder_; }
  const std::string& ValueFile() const { return valueFile_; }

  struct Entry {
    VUnicodeString name;
    int type;
  };
  // The sub-keys, in the order of their names without regard to case, each with type 4.
  std::vector<Entry> ListSubKeys();
  // The values in the order they were first stored, with their type codes (0 to 3; -1 for a
  // kind the model does not know).
  std::vector<Entry> ListValues();

 private:
  VRegistryKey(std::string folder, std::string valueFile, bool privateTree, vfs::Env* env);
  void OpenAs(bool readOnly, const std::string& syncUpTo);
  bool Succeed();
  bool Fail(uint32_t code);
  bool Fail(const VStatus& status);
  bool RequireOpen();
  // Makes a key that was opened without being created, then requires the right to write.
  bool RequireWrite();
  // As RequireWrite, but a key not made yet is only checked for whether it could be made: for
  // what fails or changes nothing, which must not leave a key behind.
  bool RequireWritable();
  // A key not made yet that another handle has made since is opened as it stands; true when
  // the key is open now.
  bool AdoptIfMade();
  // Reads the value file; a missing file is a key without values.
  bool LoadValues(VRegistryValueFile& values);
  VIniFileData* FindValue(VRegistryValueFile& values, const char16_t* name);
  using MakeData = std::function<std::unique_ptr<VIniFileData>()>;
  bool StoreValue(const char16_t* name, const MakeData& make);
  // Where a sub-key lives: found without regard to case; a new one takes `name` as given.
  void Locate(const VUnicodeString& name, std::string& folder, std::string& valueFile,
              bool& exists) const;
  // New files and folders are the owner's alone: they may hold secrets. Existing ones keep their
  // modes unless security is applied.
  mode_t FileMode() const { return 0600; }
  mode_t FolderMode() const { return 0700; }

  std::string folder_;
  std::string valueFile_;
  // Where older versions kept the hive root's values (beside the hive's folder), read while
  // `valueFile_` does not exist; empty for every other key.
  std::string formerFile_;
  // The bytes a change starts from: the value file's, or its former place's when it has none.
  std::string StartingBytes(std::string_view current, bool existed) const;
  // Files and folders created in this tree are the user's alone (the user's hive, or a key
  // created with an owner-only access list).
  bool privateTree_ = false;
  vfs::Env* env_;
  uint32_t rights_ = 0;
  uint32_t openError_ = 0;
  // Opened on a writable store without being created, and not there: merely looking at a key
  // must not add it, so it is made by the first write. `syncUpTo_` is where the folders made
  // then are synced up to.
  bool createOnWrite_ = false;
  std::string syncUpTo_;
  VReportMessageParams lastError_;
};
