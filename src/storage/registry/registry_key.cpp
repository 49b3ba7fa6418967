#include "storage/registry/registry_key.h"

#include <algorithm>
#include <map>
#include <optional>

#include "platform/environment_strings.h"
#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "storage/model/disk_name.h"
#include "storage/model/profile_store.h"
#include "storage/model/root_value_file.h"
#include "storage/text/text_file.h"

namespace {

constexpr char kValueFileSuffix[] = ".ini";
// The type code of a sub-key in listings of the registry (and XML) stores.
constexpr int kSubKeyType = kProfileTypeXmlKey;

// Finds the folder and the value file of the key `name` in `parent`, without regard to case; an
// exact match is preferred. A key found only one way takes the other path from the found name;
// a key found nowhere takes `name` as given.
void LocateIn(vfs::Env* env, const std::string& parent, const VUnicodeString& name,
              std::string& folder, std::string& valueFile, bool& exists) {
  folder = vfs::JoinPath(parent, name.ToUtf8());
  valueFile = folder + kValueFileSuffix;
  bool folderFound = vfs::IsDirectory(folder, env);
  bool fileFound = vfs::IsRegularFileOrOther(valueFile, env);
  if (!folderFound || !fileFound) {
    std::vector<vfs::FolderEntry> entries;
    if (vfs::ListFolder(parent, entries, env).ok()) {
      for (const auto& entry : entries) {
        std::string_view part = VSubKeyPartOfEntry(entry);
        if (part.empty() || (entry.isDirectory ? folderFound : fileFound)) continue;
        if (!vtext::EqualsNoCase(VKeyNameFromDisk(part, entries), name)) continue;
        if (entry.isDirectory) {
          folder = vfs::JoinPath(parent, entry.name);
          folderFound = true;
        } else {
          valueFile = vfs::JoinPath(parent, entry.name);
          fileFound = true;
        }
      }
    }
    // One key, one spelling: the part that is missing follows the part that was found.
    if (folderFound && !fileFound) valueFile = folder + kValueFileSuffix;
    if (fileFound && !folderFound) folder = valueFile.substr(0, valueFile.size() - 4);
  }
  exists = folderFound || fileFound;
}

// A key is created only where the user may write: the nearest existing level above it must be a
// folder the user may change (root included, as for read-only files).
bool MayCreateFolder(vfs::Env* env, const std::string& folder) {
  std::string level = vfs::ParentFolder(folder);
  for (int depth = 0; depth < 256 && !vfs::Stat(level, env).exists; ++depth) {
    std::string parent = vfs::ParentFolder(level);
    if (parent == level) break;
    level = parent;
  }
  return vfs::MayWriteFolder(level, env);
}

int TypeCode(const VIniFileData& data) {
  int type = data.GetType();
  return type >= kProfileTypeDword && type <= kProfileTypeMultiSz ? type : -1;
}

}  // namespace

VRegistryKey::VRegistryKey(std::string folder, std::string valueFile, bool privateTree,
                           vfs::Env* env)
    : folder_(std::move(folder)),
      valueFile_(std::move(valueFile)),
      privateTree_(privateTree),
      env_(env) {}

VRegistryKey* VRegistryKey::Open(VRegistryHive hive, const std::vector<VUnicodeString>& levels,
                                 bool readOnly, const VProfileSecurity* security, vfs::Env* env) {
  std::string hiveFolder = VRegistryHiveFolder(hive);
  bool privateTree =
      hive == VRegistryHive::CurrentUser || (security && security->IsOwnerOnly());
  std::string folder = hiveFolder;
  std::string valueFile = RootValueFile(hiveFolder);
  for (const auto& level : levels) {
    if (!vfs::IsSafeComponent(level) || IsReservedKeyName(level)) {
      auto* key = new VRegistryKey(std::string(), std::string(), privateTree, env);
      key->Fail(key->openError_ = win32::kInvalidName);
      return key;
    }
    std::string parent = folder;
    bool exists = false;
    LocateIn(env, parent, level, folder, valueFile, exists);
  }
  auto* key = new VRegistryKey(folder, valueFile, privateTree, env);
  if (levels.empty()) key->formerFile_ = FormerRootValueFile(hiveFolder);
  key->OpenAs(readOnly, vfs::ParentFolder(hiveFolder));
  return key;
}

VRegistryKey* VRegistryKey::OpenSubKey(const char16_t* name, bool readOnly,
                                       const VProfileSecurity* security, bool create) const {
  bool privateTree = privateTree_ || (security && security->IsOwnerOnly());
  std::u16string_view component(name ? name : u"");
  // A parent not made yet still has its place: what is below it is found (or made) there.
  const bool usable = IsOpen() || createOnWrite_;
  if (!usable || !vfs::IsSafeComponent(component) || IsReservedKeyName(component)) {
    // Nothing is opened or created under a parent without a handle or for a name that could
    // lead out of the hive.
    auto* key = new VRegistryKey(std::string(), std::string(), privateTree, env_);
    key->openError_ = usable ? win32::kInvalidName : openError_;
    key->Fail(key->openError_);
    return key;
  }
  std::string folder;
  std::string valueFile;
  bool exists = false;
  LocateIn(env_, folder_, VUnicodeString(component), folder, valueFile, exists);
  auto* key = new VRegistryKey(folder, valueFile, privateTree, env_);
  const std::string& syncUpTo = IsOpen() ? folder_ : syncUpTo_;
  if (!readOnly && !create && !exists) {
    key->createOnWrite_ = true;
    key->syncUpTo_ = syncUpTo;
    key->Fail(key->openError_ = win32::kFileNotFound);
    return key;
  }
  key->OpenAs(readOnly, syncUpTo);
  return key;
}

void VRegistryKey::OpenAs(bool readOnly, const std::string& syncUpTo) {
  uint32_t createError = 0;  // why the key could not be created, when it could not
  if (!readOnly) {
    bool folderExisted = vfs::IsDirectory(folder_, env_);
    VStatus made;
    if (!folderExisted && !MayCreateFolder(env_, folder_)) {
      createError = win32::kAccessDenied;
    } else if (made = vfs::CreateFolderTree(folder_, FolderMode(), env_); !made.ok()) {
      createError = made.Code();
    } else {
      VStatus synced;
      if (!folderExisted) {
        // The new key must survive a crash like a written value does.
        std::string level = folder_;
        for (int depth = 0; depth < 64 && synced.ok(); ++depth) {
          level = vfs::ParentFolder(level);
          synced = vfs::SyncFolder(level, env_);
          if (level == syncUpTo || level == "/" || level == ".") break;
        }
      }
      if (!synced.ok()) {
        Fail(synced);
        openError_ = synced.Code();
        return;
      }
      vfs::FileInfo file = vfs::Stat(valueFile_, env_);
      if (vfs::MayWriteFolder(folder_, env_) && vfs::MayWriteFolder(vfs::ParentFolder(valueFile_)) &&
          !(file.exists && (file.readOnly || file.isDirectory))) {
        rights_ = kReadWriteRights;
        Succeed();
        return;
      }
    }
  }
  // Opening for reading creates nothing.
  vfs::FileInfo folder = vfs::Stat(folder_, env_);
  vfs::FileInfo file = vfs::Stat(valueFile_, env_);
  bool folderFound = folder.exists && folder.isDirectory;
  bool fileFound = file.exists && !file.isDirectory;
  if (!folderFound && !fileFound) {
    // A key that could not be created is reported with the reason, rather than as missing.
    openError_ = createError ? createError : win32::kFileNotFound;
  } else if ((folderFound && !vfs::MayRead(folder_, env_)) || (fileFound && !vfs::MayRead(valueFile_, env_))) {
    openError_ = win32::kAccessDenied;
  } else {
    rights_ = kReadRights;
    openError_ = 0;
    Succeed();
    return;
  }
  Fail(openError_);
}

bool VRegistryKey::Succeed() {
  lastError_.SetError(0);
  return true;
}

bool VRegistryKey::Fail(uint32_t code) {
  lastError_.SetError(code);
  return false;
}

bool VRegistryKey::Fail(const VStatus& status) {
  lastError_.SetStatus(status);
  return false;
}

bool VRegistryKey::AdoptIfMade() {
  if (IsOpen() || !createOnWrite_) return IsOpen();
  if (!vfs::Stat(folder_, env_).exists && !vfs::Stat(valueFile_, env_).exists) return false;
  createOnWrite_ = false;
  OpenAs(false, syncUpTo_);
  return IsOpen();
}

bool VRegistryKey::RequireOpen() {
  AdoptIfMade();
  return IsOpen() || Fail(openError_);
}

bool VRegistryKey::RequireWrite() {
  if (!AdoptIfMade() && createOnWrite_) {
    createOnWrite_ = false;
    OpenAs(false, syncUpTo_);
  }
  if (!RequireOpen()) return false;
  return (rights_ & kSetValue) || Fail(win32::kAccessDenied);
}

bool VRegistryKey::RequireWritable() {
  if (AdoptIfMade() || !createOnWrite_) return RequireWrite();
  return MayCreateFolder(env_, folder_) || Fail(win32::kAccessDenied);
}

bool VRegistryKey::CanWrite() const {
  if (!IsOpen() && createOnWrite_) return MayCreateFolder(env_, folder_);
  return (rights_ & (kSetValue | kCreateSubKey)) == (kSetValue | kCreateSubKey);
}

// ---- values ----

std::string VRegistryKey::StartingBytes(std::string_view current, bool existed) const {
  if (existed || formerFile_.empty()) return std::string(current);
  std::string former;
  if (!VTextFile::ReadLocked(formerFile_, former, vfs::kMaxSettingsFileSize, env_).ok()) former.clear();
  return former;
}

bool VRegistryKey::LoadValues(VRegistryValueFile& values) {
  if (!RequireOpen()) return false;
  std::string bytes;
  if (VStatus read = VTextFile::ReadLocked(valueFile_, bytes, vfs::kMaxSettingsFileSize, env_); !read.ok()) {
    if (read.Code() != win32::kFileNotFound && read.Code() != win32::kPathNotFound)
      return Fail(read);
    bytes = StartingBytes(std::string_view(), false);
  }
  values.Parse(bytes);
  return true;
}

VIniFileData* VRegistryKey::FindValue(VRegistryValueFile& values, const char16_t* name) {
  if (!LoadValues(values)) return nullptr;
  VIniFileData* data = values.Find(name ? name : u"");
  if (!data) Fail(win32::kFileNotFound);
  return data;
}

bool VRegistryKey::ReadDword(const char16_t* name, uint32_t& value) {
  VRegistryValueFile values;
  VIniFileData* data = FindValue(values, name);
  if (!data) return false;
  return data->GetDword(value) ? Succeed() : Fail(win32::kDatatypeMismatch);
}

bool VRegistryKey::ReadString(const char16_t* name, VUnicodeString& value) {
  VRegistryValueFile values;
  VIniFileData* data = FindValue(values, name);
  if (!data) return false;
  VUnicodeString text;
  if (!data->GetString(text)) return Fail(win32::kDatatypeMismatch);
  if (size_t nul = text.find(u'\0'); nul != std::u16string::npos) text.resize(nul);
  if (!data->IsExpandable()) {
    value = text;
    return Succeed();
  }
  std::optional<std::u16string> expanded =
      vapp::ExpandEnvironmentStringsWithin(text, std::max(kMaxExpandedLength, text.size()));
  if (!expanded) {
    lastError_.Reset(kMsgRegistryExpansionTooLong);
    lastError_.AddInsert(name ? name : u"");
    lastError_.AddInsertFormatted(nullptr, static_cast<uint32_t>(kMaxExpandedLength));
    return false;
  }
  value = VUnicodeString(std::move(*expanded));
  return Succeed();
}

bool VRegistryKey::ReadBinary(const char16_t* name, void* buffer, uint32_t& size) {
  VRegistryValueFile values;
  VIniFileData* data = FindValue(values, name);
  if (!data) return false;
  if (data->GetType() != kProfileTypeBinary) return Fail(win32::kDatatypeMismatch);
  // A buffer too small for the block leaves `size` as given.
  return data->GetBinary(buffer, size) ? Succeed() : Fail(win32::kMoreData);
}

bool VRegistryKey::ReadMultiSz(const char16_t* name, VStringArray& value) {
  VRegistryValueFile values;
  VIniFileData* data = FindValue(values, name);
  if (!data) return false;
  return data->GetMultiSz(value) ? Succeed() : Fail(win32::kDatatypeMismatch);
}

bool VRegistryKey::ReadSecurity(const char16_t* name, VProfileSecurity& security) {
  VRegistryValueFile values;
  VIniFileData* data = FindValue(values, name);
  if (!data) return false;
  VStringArray lines;
  if (data->GetMultiSz(lines))
    return security.FromStrings(lines) ? Succeed() : Fail(win32::kInvalidData);
  uint32_t size = 0;
  if (data->GetType() != kProfileTypeBinary || !data->GetBinary(nullptr, size))
    return Fail(win32::kDatatypeMismatch);
  std::vector<uint8_t> bytes(size);
  if (!data->GetBinary(bytes.data(), size) ||
      !security.FromSecurityDescriptor(bytes.data(), size))
    return Fail(win32::kInvalidData);
  return Succeed();
}

bool VRegistryKey::StoreValue(const char16_t* name, const MakeData& make) {
  if (!RequireWritable()) return false;
  // The value file has no escapes: a name with a double quote or a line break would make the
  // rest of the file unreadable, so it is refused rather than written.
  if (!name || !VIsStorableIniName(name)) return Fail(win32::kInvalidName);
  if (!RequireWrite()) return false;
  VUnicodeString valueName(name);
  vfs::ReplaceOptions options;
  options.newFileMode = FileMode();
  options.newFolderMode = FolderMode();
  VStatus written = vfs::UpdateFileContents(
      valueFile_,
      [&](std::string_view current, bool existed, std::string& replacement) {
        VRegistryValueFile values;
        values.Parse(StartingBytes(current, existed));
        // Made afresh at each call: the update runs again when another writer got there first.
        values.Set(valueName, make());
        replacement = values.Serialize();
        return VStatus();
      },
      options, env_);
  return written.ok() ? Succeed() : Fail(written);
}

bool VRegistryKey::WriteDword(const char16_t* name, uint32_t value) {
  return StoreValue(name, [&] { return std::make_unique<VIniFileDataDword>(value); });
}

bool VRegistryKey::WriteString(const char16_t* name, const char16_t* value) {
  if (value && !VIsStorableIniText(value)) return RequireWritable() && Fail(win32::kInvalidData);
  return StoreValue(name,
                    [&] { return std::make_unique<VIniFileDataString>(VUnicodeString(value)); });
}

bool VRegistryKey::WriteExpandString(const char16_t* name, const char16_t* value) {
  if (value && !VIsStorableIniText(value)) return RequireWritable() && Fail(win32::kInvalidData);
  return StoreValue(
      name, [&] { return std::make_unique<VIniFileDataExpandString>(VUnicodeString(value)); });
}

bool VRegistryKey::WriteBinary(const char16_t* name, const void* data, uint32_t size) {
  if (!data && size) return RequireWritable() && Fail(win32::kInvalidParameter);
  return StoreValue(name, [&] { return std::make_unique<VIniFileDataBinary>(data, size); });
}

bool VRegistryKey::WriteMultiSz(const char16_t* name, const VStringArray& value) {
  for (const auto& item : value) {
    if (!VIsStorableIniText(item)) return RequireWritable() && Fail(win32::kInvalidData);
  }
  return StoreValue(name, [&] { return std::make_unique<VIniFileDataStringSz>(value); });
}

bool VRegistryKey::WriteSecurity(const char16_t* name, const VProfileSecurity& security) {
  return WriteMultiSz(name, security.ToStrings());
}

bool VRegistryKey::DeleteValue(const char16_t* name) {
  if (!RequireWritable()) return false;
  if (!IsOpen()) return Fail(win32::kFileNotFound);  // a key not made yet holds no value
  VUnicodeString valueName(name ? name : u"");
  vfs::ReplaceOptions options;
  options.createFolders = false;
  options.newFileMode = FileMode();
  VStatus written = vfs::UpdateFileContents(
      valueFile_,
      [&](std::string_view current, bool existed, std::string& replacement) {
        VRegistryValueFile values;
        values.Parse(StartingBytes(current, existed));
        // Nothing to delete, and nothing is written.
        if (!values.Remove(valueName)) return VStatus::Error(win32::kFileNotFound);
        replacement = values.Serialize();
        return VStatus();
      },
      options, env_);
  return written.ok() ? Succeed() : Fail(written);
}

// ---- sub-keys ----

bool VRegistryKey::SubKeyExists(const char16_t* name) {
  if (!RequireOpen()) return false;
  if (!name || !vfs::IsSafeComponent(name) || IsReservedKeyName(name))
    return Fail(win32::kInvalidName);
  std::string folder;
  std::string valueFile;
  bool exists = false;
  LocateIn(env_, folder_, VUnicodeString(name), folder, valueFile, exists);
  return exists ? Succeed() : Fail(win32::kFileNotFound);
}

bool VRegistryKey::DeleteSubKey(const char16_t* name) {
  if (!RequireWritable()) return false;
  if (!IsOpen()) return Fail(win32::kFileNotFound);  // nor any key below it
  if (!name || !vfs::IsSafeComponent(name) || IsReservedKeyName(name))
    return Fail(win32::kInvalidName);
  std::string folder;
  std::string valueFile;
  bool exists = false;
  LocateIn(env_, folder_, VUnicodeString(name), folder, valueFile, exists);
  if (!exists) return Fail(win32::kFileNotFound);
  // Refused before anything is gone, so that a key is never left half deleted.
  VStatus status = vfs::TreeIsRemovable(folder, env_);
  if (status.ok()) status = vfs::TreeIsRemovable(valueFile, env_);
  if (!status.ok()) return Fail(status);
  status = vfs::RemoveTree(folder, env_);
  if (status.ok()) status = vfs::RemoveFile(valueFile, env_);
  // The removal must survive a crash as a written value does.
  if (status.ok()) status = vfs::SyncFolder(folder_, env_);
  return status.ok() ? Succeed() : Fail(status);
}

bool VRegistryKey::ApplySecurity(const VProfileSecurity& security) {
  if (!RequireOpen()) return false;
  bool ownerOnly = security.IsOwnerOnly();
  if (VStatus set = vfs::SetMode(folder_, ownerOnly ? 0700 : 0755, env_); !set.ok()) return Fail(set);
  if (vfs::IsRegularFileOrOther(valueFile_, env_)) {
    if (VStatus set = vfs::SetMode(valueFile_, ownerOnly ? 0600 : 0644, env_); !set.ok())
      return Fail(set);
  }
  privateTree_ = ownerOnly;
  return Succeed();
}

// ---- listing ----

std::vector<VRegistryKey::Entry> VRegistryKey::ListSubKeys() {
  std::vector<Entry> result;
  if (!RequireOpen()) return result;
  std::vector<vfs::FolderEntry> listing;
  if (VStatus listed = vfs::ListFolder(folder_, listing, env_); !listed.ok()) {
    // A key kept only as a value file has no sub-keys.
    if (listed.Code() != win32::kFileNotFound && listed.Code() != win32::kPathNotFound)
      Fail(listed);
    return result;
  }
  // One entry per key; a key kept in two spellings is listed under its folder's, which is the
  // one opening it follows.
  std::map<std::u16string, std::u16string, vtext::LessNoCase> names;
  for (const auto& item : listing) {
    // A link to a folder is no sub-key: walks would follow it round a cycle or out of the store.
    if (item.isDirectory && item.isLink) continue;
    std::string_view part = VSubKeyPartOfEntry(item);
    if (part.empty()) continue;
    std::u16string name = VKeyNameFromDisk(part, listing);
    auto [it, inserted] = names.try_emplace(name, name);
    if (!inserted && item.isDirectory) it->second = name;
  }
  for (const auto& [key, name] : names) result.push_back({VUnicodeString(name), kSubKeyType});
  Succeed();
  return result;
}

std::vector<VRegistryKey::Entry> VRegistryKey::ListValues() {
  std::vector<Entry> result;
  VRegistryValueFile values;
  if (!LoadValues(values)) return result;
  for (const auto& entry : values.Entries()) result.push_back({entry.name, TypeCode(*entry.data)});
  Succeed();
  return result;
}
