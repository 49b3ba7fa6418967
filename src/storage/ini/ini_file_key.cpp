#include "storage/ini/ini_file_key.h"

#include <algorithm>
#include <ctime>

#include "platform/file_identity.h"
#include "platform/removal_check.h"
#include "platform/win32_errors.h"
#include "storage/ini/ini_file_iterator.h"
#include "storage/model/disk_name.h"
#include "storage/model/store_messages.h"

namespace {

constexpr char16_t kIsSession[] = u"Is Session";

// Whether `name` is "Is Session", compared as it is read rather than after measuring it: every
// key of a session walk is asked this, and most value names differ in their first characters.
bool IsSessionName(const char16_t* name) {
  if (!name) return false;
  for (size_t i = 0;; ++i) {
    if (name[i] != kIsSession[i]) return false;
    if (name[i] == 0) return true;
  }
}

std::string Native(const VUnicodeString& path) { return path.ToUtf8(); }

// Whether two names are equal without regard to case when both are ASCII (each character folds
// to one character, so names of different lengths differ); nothing when either is not.
std::optional<bool> AsciiEqualsNoCase(std::string_view a, std::string_view b) {
  bool ascii = true;
  bool equal = a.size() == b.size();
  for (size_t i = 0; i < a.size(); ++i) ascii = ascii && static_cast<unsigned char>(a[i]) < 0x80;
  for (size_t i = 0; i < b.size(); ++i) ascii = ascii && static_cast<unsigned char>(b[i]) < 0x80;
  if (!ascii) return std::nullopt;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (size_t i = 0; equal && i < a.size(); ++i) equal = lower(a[i]) == lower(b[i]);
  return equal;
}

// Finds the entry of `folder` whose name equals `name` without regard to case, among `entries`
// when they are given, else among those listed into `listed`.
std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name,
                                            bool wantFolder,
                                            const std::vector<vfs::FolderEntry>* given = nullptr,
                                            std::vector<vfs::FolderEntry>* listed = nullptr) {
  std::vector<vfs::FolderEntry> own;
  std::vector<vfs::FolderEntry>& fill = listed ? *listed : own;
  if (!given && (folder.empty() || !vfs::ListFolder(folder, fill).ok())) return std::nullopt;
  const std::vector<vfs::FolderEntry>& entries = given ? *given : fill;
  // Names that are not ASCII are compared as key names (a value file's without its ".ini").
  std::u16string wanted;
  for (const auto& entry : entries) {
    if (entry.isDirectory != wantFolder || (entry.isDirectory && entry.isLink)) continue;
    // Two ASCII names are compared on their bytes: a key of a large folder that has no value
    // file compares every name of the folder, and converting each cost most of the time.
    if (auto same = AsciiEqualsNoCase(entry.name, name)) {
      if (*same) return vfs::JoinPath(folder, entry.name);
      continue;
    }
    std::string_view part = VSubKeyPartOfEntry(entry);
    if (part.empty()) continue;
    if (wanted.empty())
      wanted = vtext::FromUtf8(wantFolder || name.size() < 4 ? name : name.substr(0, name.size() - 4));
    if (vtext::EqualsNoCase(VKeyNameFromDisk(part, entries), wanted)) return vfs::JoinPath(folder, entry.name);
  }
  return std::nullopt;
}

// Whether the sorted `names` hold `name`. The name after the last one found is tried first:
// a walk opens the sub-keys in the order they were listed, and is then answered with one
// comparison rather than a search.
bool InListing(const std::vector<std::string>& names, size_t& next, std::string_view name) {
  if (names.empty()) return false;
  if (next < names.size() && names[next] == name) {
    ++next;
    return true;
  }
  auto found = std::lower_bound(names.begin(), names.end(), name,
                                [](std::string_view a, std::string_view b) { return a < b; });
  if (found == names.end() || *found != name) return false;
  next = static_cast<size_t>(found - names.begin()) + 1;
  return true;
}

}  // namespace

std::chrono::steady_clock::time_point VIniFileKey::ListingClock() {
  // The coarse clock counts from the same start as the steady clock, at the kernel's tick.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return std::chrono::steady_clock::time_point(std::chrono::seconds(now.tv_sec) +
                                               std::chrono::nanoseconds(now.tv_nsec));
}

// ---- locations ----

void VIniFileKey::Location::ResolveFolder() {
  if (folderResolved) return;
  folderResolved = true;
  switch (vfs::KindOfPath(folder)) {
    case vfs::PathKind::Folder: return;
    case vfs::PathKind::LinkToFolder: throughLink = true; return;
    default: break;
  }
  auto listed = std::make_shared<std::vector<vfs::FolderEntry>>();
  if (auto found =
          FindIgnoringCase(vfs::ParentFolder(folder), vfs::BaseName(folder), true, nullptr, listed.get()))
    folder = *found;
  if (!listed->empty()) {
    siblings = std::move(listed);
    siblingsListed = ListingClock();
  }
}

void VIniFileKey::Location::ResolveFile() {
  if (fileResolved) return;
  fileResolved = true;
  if (vfs::Stat(valueFile).exists) return;
  // The exact name was looked for just now; only another spelling of it is taken from a listing
  // made a moment ago.
  constexpr auto kSiblingsFresh = std::chrono::seconds(2);
  std::string parent = vfs::ParentFolder(valueFile);
  const std::vector<vfs::FolderEntry>* known = nullptr;
  if (siblings && ListingClock() - siblingsListed < kSiblingsFresh &&
      parent == vfs::ParentFolder(folder))
    known = siblings.get();
  if (auto found = FindIgnoringCase(parent, vfs::BaseName(valueFile), false, known))
    valueFile = *found;
  siblings.reset();
}

VIniFileKey::Location VIniFileKey::SubLocation(Location& parent, std::u16string_view name) const {
  Location location;
  if (!parent.IsSet()) return location;
  // The sub-key lives in the parent's folder as it is really named.
  parent.ResolveFolder();
  location.throughLink = parent.throughLink;
  // Built in place, as vfs::JoinPath joins a folder and a name without slashes: every key opened
  // comes here, and building the paths through temporary strings cost several allocations each.
  std::string_view base = parent.folder;
  while (base.size() > 1 && base.back() == '/') base.remove_suffix(1);
  bool ascii = std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; });
  std::string& folder = location.folder;
  folder.reserve(base.size() + 1 + (ascii ? name.size() : name.size() * 3));
  folder.append(base);
  if (!folder.empty() && folder.back() != '/') folder.push_back('/');
  if (ascii) {
    size_t at = folder.size();
    folder.resize(at + name.size());
    for (size_t i = 0; i < name.size(); ++i) folder[at + i] = static_cast<char>(name[i]);
  } else {
    folder.append(vtext::ToUtf8(name));
  }
  location.valueFile.reserve(folder.size() + 4);
  location.valueFile.append(folder).append(".ini");
  location.folderResolved = false;
  location.fileResolved = false;
  return location;
}

// ---- construction ----

namespace {

VIniFileKey::Location RootLocation(std::string folder) {
  VIniFileKey::Location location;
  location.valueFile = RootValueFile(folder);
  location.formerFile = FormerRootValueFile(folder);
  location.folder = std::move(folder);
  return location;
}

}  // namespace


VIniFileKey::VIniFileKey(const VUnicodeString& folder, const VUnicodeString& personalFolder,
                         bool readOnly, const VProfileSecurity* security, vfs::Env* env)
    : readOnly_(readOnly), env_(env) {
  main_ = RootLocation(Native(folder));
  if (!personalFolder.empty()) {
    personal_ = RootLocation(Native(personalFolder));
    // Another spelling of the configuration folder is the configuration folder: its personal
    // file would be the main file, and each save would overwrite one with the other.
    if (vfs::SameFileOrFolder(personal_.folder, main_.folder)) personal_ = Location();
  }
  if (security) security_ = *security;
}

VIniFileKey::VIniFileKey(Location main, Location personal, bool readOnly,
                         const VProfileSecurity* security, uint32_t invalidNameError,
                         vfs::Env* env)
    : main_(std::move(main)),
      personal_(std::move(personal)),
      readOnly_(readOnly),
      invalidNameError_(invalidNameError),
      env_(env) {
  if (security) security_ = *security;
  if (invalidNameError_) lastError_.SetError(invalidNameError_);
}

VIniFileKey::~VIniFileKey() {
  if (!readOnly_) Write();
}

// Value files may hold secrets (a password under the empty passphrase is as good as plain): new
// files and folders are the owner's alone whatever the umask. Existing ones keep their modes, so
// a folder shared on purpose stays shared.
mode_t VIniFileKey::FileMode() const { return 0600; }

mode_t VIniFileKey::FolderMode() const { return 0700; }

bool VIniFileKey::RefuseInvalid() {
  if (!invalidNameError_) return false;
  lastError_.SetError(invalidNameError_);
  return true;
}

// ---- loading and writing ----

bool VIniFileKey::ReadFileInto(Location& location, VIniValueMap& map, bool* existed,
                               ReadFile* readFile) {
  std::string bytes;
  if (existed) *existed = false;
  vfs::FileVersion version;
  VStatus read = VTextFile::ReadLocked(location.valueFile, bytes, version, env_);
  if (!read.ok() && !location.fileResolved) {
    std::string exact = location.valueFile;
    location.ResolveFile();
    if (location.valueFile != exact)
      read = VTextFile::ReadLocked(location.valueFile, bytes, version, env_);
  }
  location.fileResolved = true;
  if (!read.ok() && !location.formerFile.empty() &&
      (read.Code() == win32::kFileNotFound || read.Code() == win32::kPathNotFound))
    read = VTextFile::ReadLocked(location.formerFile, bytes, vfs::kMaxSettingsFileSize, env_);
  if (!read.ok()) {
    // A missing file holds no values (nor does one whose name is too long to exist). One that
    // is there but cannot be read (no access, a pipe, a file too large) is reported, and the key
    // will not write it: its values would be replaced by this handle's changes alone.
    const uint32_t error = read.Code();
    if (error != win32::kFileNotFound && error != win32::kPathNotFound &&
        error != win32::kFilenameExcedRange) {
      VReportMessageParams reason;
      reason.SetStatus(read);
      VReportMessageParams unreadable(kMsgValueFileUnreadable);
      unreadable.AddInsert(VUnicodeString(vtext::FromNarrow(location.valueFile)).c_str());
      unreadable.AddInsert(reason.GetTextOneLineTrimmed().c_str());
      lastError_ = unreadable;
      unreadable_ = std::move(unreadable);
    }
    return false;
  }
  if (existed) *existed = true;
  std::string_view kept = map.AddFile(std::move(bytes));
  // Only the value file's own bytes can stand for it at the next write, not a former place's.
  if (readFile && version.known) *readFile = {version, kept, location.valueFile};
  return true;
}

std::string VIniFileKey::StartingBytes(const Location& location, std::string_view current,
                                       bool existed) const {
  if (existed || location.formerFile.empty()) return std::string(current);
  std::string former;
  if (!VTextFile::ReadLocked(location.formerFile, former, vfs::kMaxSettingsFileSize, env_).ok())
    former.clear();
  return former;
}

VIniValueMap& VIniFileKey::LoadedMap() {
  if (!map_) {
    map_ = std::make_unique<VIniValueMap>();
    bool read = false;
    if (!invalidNameError_) {
      read = ReadFileInto(main_, *map_, nullptr, &mainRead_);
      if (personal_.IsSet()) read = ReadFileInto(personal_, *map_, &personalFileExisted_) || read;
    }
    mapFromNothing_ = !read;
    dirty_ = false;
  }
  return *map_;
}

const vfs::FileInfo& VIniFileKey::ValueFileInfo() {
  if (!valueFileInfo_) {
    valueFileInfo_ = vfs::Stat(main_.valueFile);
    if (!valueFileInfo_->exists && !main_.fileResolved) {
      main_.ResolveFile();
      valueFileInfo_ = vfs::Stat(main_.valueFile);
    }
  }
  return *valueFileInfo_;
}

bool VIniFileKey::PersonalIsMain() {
  // Another spelling of the configuration folder (a link to it, "DIR/.") would make the two
  // files one, and the second write would replace the first: the folders are told apart by
  // what they are on disk, not by how they are written.
  return personal_.IsSet() && (vfs::SameFileOrFolder(personal_.valueFile, main_.valueFile) ||
                               vfs::SameFileOrFolder(personal_.folder, main_.folder));
}

void VIniFileKey::ApplyChanges(VIniValueMap& target) {
  // In the handle's own order, so that new values are added as they were first written.
  if (map_) map_->ApplyChangesTo(target);
}

std::string VIniFileKey::Merged(const std::string* under, std::string onDisk, bool split,
                                bool personalPart) {
  VIniValueMap fresh;
  if (under) fresh.AddFile(*under);
  fresh.AddFile(std::move(onDisk));
  ApplyChanges(fresh);
  std::string mainFile;
  std::string personalFile;
  fresh.Serialize(split, mainFile, personalFile);
  return personalPart ? personalFile : mainFile;
}

void VIniFileKey::ReportWriteFailure(bool personalFile, bool personalWritten,
                                     const VStatus& error) {
  VReportMessageParams reason;
  reason.SetStatus(error);
  if (personalFile) {
    lastError_.Reset(kMsgPersonalValuesNotWritten);
    lastError_.AddInsert(VUnicodeString(vtext::FromUtf8(personal_.valueFile)));
  } else if (personalWritten) {
    // The user must know where the values are: the personal ones are saved, the others are
    // still as they were in the main file.
    lastError_.Reset(kMsgOnlyPersonalValuesWritten);
    lastError_.AddInsert(VUnicodeString(vtext::FromUtf8(personal_.valueFile)));
    lastError_.AddInsert(VUnicodeString(vtext::FromUtf8(main_.valueFile)));
  } else {
    lastError_.SetStatus(error);
    return;
  }
  lastError_.AddInsert(reason.GetTextOneLineTrimmed());
}

bool VIniFileKey::WriteChanges(bool writePersonal, const vfs::ReplaceOptions& options) {
  if (writePersonal) {
    // Personal values that are still in the main file (kept there before the personal folder
    // was used) move with the first write; what the personal file holds wins over them.
    std::string mainBytes;
    bool mainRead =
        VTextFile::ReadLocked(main_.valueFile, mainBytes, vfs::kMaxSettingsFileSize, env_).ok() ||
        (!main_.formerFile.empty() &&
         VTextFile::ReadLocked(main_.formerFile, mainBytes, vfs::kMaxSettingsFileSize, env_).ok());
    auto updatePersonal = [&](std::string_view current, bool existed, std::string& replacement) {
      replacement = Merged(mainRead ? &mainBytes : nullptr,
                           StartingBytes(personal_, current, existed), true, true);
      return VStatus();
    };
    // First the personal file: a failure here leaves both files as they were.
    if (VStatus written = vfs::UpdateFileContents(personal_.valueFile, updatePersonal, options, env_);
        !written.ok()) {
      ReportWriteFailure(true, false, written);
      return false;
    }
    personalFileExisted_ = true;
  }
  // When the file under the lock is the one this handle's values were read from (or there is
  // still none, and none was read), those values with the handle's changes are the new file as
  // they stand: reading them again and applying the changes would give the same bytes.
  const std::string_view readBytes = mainRead_.bytes;
  auto updateMain = [&](std::string_view current, bool existed, std::string& replacement) {
    const bool asRead = !writePersonal &&
                        (existed ? mainRead_.version.known && current.data() == readBytes.data() &&
                                       current.size() == readBytes.size()
                                 : mapFromNothing_ && main_.formerFile.empty());
    if (asRead) {
      std::string unused;
      map_->Serialize(false, replacement, unused);
    } else {
      replacement = Merged(nullptr, StartingBytes(main_, current, existed), writePersonal, false);
    }
    return VStatus();
  };
  // What this handle read of the main file stands for it while nobody has changed it since, so
  // that a change is read once and written once.
  vfs::ReplaceOptions mainOptions = options;
  if (mainRead_.version.known && mainRead_.path == main_.valueFile) {
    mainOptions.knownVersion = &mainRead_.version;
    mainOptions.knownBytes = mainRead_.bytes;
  }
  // A failure here leaves the main file as it was; the personal values, if any, are already in
  // the personal file.
  VStatus written = vfs::UpdateFileContents(main_.valueFile, updateMain, mainOptions, env_);
  // The file is another one now (or may be): the next write reads it again.
  mainRead_ = ReadFile();
  if (!written.ok()) {
    ReportWriteFailure(false, writePersonal, written);
    return false;
  }
  return true;
}

bool VIniFileKey::Write() {
  if (!map_ || !dirty_) return true;
  if (readOnly_ || invalidNameError_) {
    lastError_.SetError(invalidNameError_ ? invalidNameError_ : win32::kAccessDenied);
    return false;
  }
  if (unreadable_) {
    lastError_ = *unreadable_;
    return false;
  }
  if (PersonalIsMain()) personal_ = Location();
  const bool changesPersonal = personal_.IsSet() && map_->ChangesPersonal();
  const bool writePersonal = personal_.IsSet() && (map_->HasPersonalData() ||
                                                   personalFileExisted_ || changesPersonal);
  // A value file of another case that is already there is the one written.
  main_.ResolveFile();
  if (writePersonal) personal_.ResolveFile();
  vfs::ReplaceOptions options;
  options.newFileMode = FileMode();
  options.newFolderMode = FolderMode();
  bool ok = WriteChanges(writePersonal, options);
  valueFileInfo_.reset();
  // A failed write keeps the values in memory so that a later write can try again.
  if (ok) {
    dirty_ = false;
    map_->ClearChanges();
    // The file exists now: a later write applies only the changes made after this one.
    mapFromNothing_ = false;
  }
  return ok;
}

bool VIniFileKey::Flush() { return Write(); }

void VIniFileKey::ForEachValueName(
    const std::function<void(const VUnicodeString& name, int type)>& visit) {
  if (!invalidNameError_) LoadedMap().ForEachName(visit);
}

void VIniFileKey::ForEachValueNameExcept(
    const VValueNameSet& skip, const std::function<void(const VUnicodeString& name, int type)>& visit) {
  if (!invalidNameError_) LoadedMap().ForEachNameExcept(skip, visit);
}

bool VIniFileKey::Rewrite() {
  if (RefuseInvalid()) return false;
  // Written from the files as they are on disk when locked, with this handle's changes: a
  // rewrite from what was read a moment ago would undo what other processes wrote meanwhile.
  LoadedMap();
  dirty_ = true;
  return Write();
}

void VIniFileKey::MergePersonalData(const char16_t* folder) {
  if (RefuseInvalid()) return;
  Location personal;
  if (main_.formerFile.empty()) {
    personal.folder = Native(VUnicodeString(folder));
    personal.valueFile = personal.folder + ".ini";
  } else {
    // The root key's personal values are where a root key keeps its values.
    personal = RootLocation(Native(VUnicodeString(folder)));
  }
  // Merging a file into itself and then removing the "personal" one would remove the key's
  // only file.
  if (vfs::SameFileOrFolder(personal.valueFile, main_.valueFile) ||
      vfs::SameFileOrFolder(personal.folder, main_.folder)) {
    lastError_.Reset(kMsgPersonalFolderIsConfigFolder);
    return;
  }
  // The file that is read is the one removed after the merge, and only a file that was read:
  // one that exists but cannot be read keeps its values and is reported.
  personal.fileResolved = false;
  personal.ResolveFile();
  std::string read = vfs::Stat(personal.valueFile, env_).exists || personal.formerFile.empty()
                         ? personal.valueFile
                         : personal.formerFile;
  std::string personalBytes;
  VStatus personalStatus =
      VTextFile::ReadLocked(read, personalBytes, vfs::kMaxSettingsFileSize, env_);
  const bool personalRead = personalStatus.ok();
  if (!personalRead && vfs::Stat(read, env_).exists) {
    lastError_.SetStatus(personalStatus);
    return;
  }
  // The personal values join the main file as it is on disk when locked, with this handle's
  // own changes, so that nothing another process wrote meanwhile is undone.
  auto update = [&](std::string_view current, bool existed, std::string& replacement) {
    VIniValueMap fresh;
    fresh.AddFile(StartingBytes(main_, current, existed));
    if (personalRead) fresh.AddFile(personalBytes);
    ApplyChanges(fresh);
    fresh.MovePersonalToGeneral();
    std::string unused;
    fresh.Serialize(false, replacement, unused);
    return VStatus();
  };
  main_.ResolveFile();
  vfs::ReplaceOptions options;
  options.newFileMode = FileMode();
  options.newFolderMode = FolderMode();
  if (VStatus written = vfs::UpdateFileContents(main_.valueFile, update, options, env_);
      !written.ok()) {
    lastError_.SetStatus(written);
    return;
  }
  personal_ = Location();
  personalFileExisted_ = false;
  dirty_ = false;
  // The handle's own view follows what was written.
  map_.reset();
  mainRead_ = ReadFile();
  valueFileInfo_.reset();
  if (personalRead) {
    if (VStatus removed = vfs::RemoveFile(read, env_); !removed.ok()) lastError_.SetStatus(removed);
  }
}

// ---- values ----

bool VIniFileKey::ReadDword(const char16_t* name, VDword& value) {
  if (invalidNameError_) return false;
  if (!map_ && IsSessionName(name)) {
    // Session trees are walked this way: the existence of the value file answers without
    // reading it, with one call to the file system.
    bool exists = main_.fileKnownToExist || vfs::IsRegularFileOrOther(main_.valueFile);
    if (!exists && !main_.fileResolved) {
      main_.ResolveFile();
      exists = vfs::IsRegularFileOrOther(main_.valueFile);
    }
    main_.fileResolved = true;
    if (exists) {
      value = 1;
      return true;
    }
  }
  return LoadedMap().ReadDword(name, value);
}

bool VIniFileKey::ReadString(const char16_t* name, VUnicodeString& value) {
  return LoadedMap().ReadString(name, value);
}

bool VIniFileKey::ReadPreparedDword(const VPreparedName& name, VDword& value) {
  // Before the values are read, a number may be answered without reading them (see ReadDword).
  if (invalidNameError_ || !map_) return VProfilePrivateKey::ReadPreparedDword(name, value);
  return map_->ReadDword(name.Utf8(), name.Hash(), value);
}

bool VIniFileKey::ReadPreparedString(const VPreparedName& name, VUnicodeString& value) {
  // The value map sets `value` only when it has a string to give.
  return LoadedMap().ReadString(name.Utf8(), name.Hash(), value);
}

bool VIniFileKey::ReadBinary(const char16_t* name, void* buffer, VDword& size) {
  VIniFileData* data = LoadedMap().Find(name);
  return data && data->GetBinary(buffer, size);
}

bool VIniFileKey::ReadMultiSz(const char16_t* name, VStringArray& value) {
  VIniFileData* data = LoadedMap().Find(name);
  return data && data->GetMultiSz(value);
}

bool VIniFileKey::ReadSecurity(const char16_t* name, VProfileSecurity& security) {
  VStringArray lines;
  if (ReadMultiSz(name, lines)) return security.FromStrings(lines);
  VDword size = 0;
  if (!ReadBinary(name, nullptr, size)) return false;
  std::vector<uint8_t> bytes(size);
  return ReadBinary(name, bytes.data(), size) && security.FromSecurityDescriptor(bytes.data(), size);
}

bool VIniFileKey::StoreValue(const char16_t* name, std::unique_ptr<VIniFileData> data) {
  if (RefuseInvalid()) return false;
  // The file format has no escapes: a name with a double quote or a line break would make the
  // rest of the file unreadable, so it is refused rather than written.
  const std::u16string_view key = name ? std::u16string_view(name) : std::u16string_view();
  if (!name || !VIsStorableIniName(key)) {
    lastError_.SetError(win32::kInvalidName);
    return false;
  }
  // Writing back the value the key already holds changes no value: a configuration object saves
  // every setting, and counting those would overwrite what other processes changed meanwhile.
  // The file is still written, so that a save learns whether it can be.
  LoadedMap().StoreChange(key, std::move(data));
  dirty_ = true;
  return true;
}

bool VIniFileKey::WriteDword(const char16_t* name, VDword value) {
  return StoreValue(name, std::make_unique<VIniFileDataDword>(value));
}

bool VIniFileKey::WriteString(const char16_t* name, const char16_t* value) {
  const std::u16string_view text = value ? std::u16string_view(value) : std::u16string_view();
  if (!VIsStorableIniText(text)) {
    lastError_.SetError(win32::kInvalidData);
    return false;
  }
  return StoreValue(name, std::make_unique<VIniFileDataString>(VUnicodeString(text)));
}

bool VIniFileKey::WriteBinary(const char16_t* name, const void* data, VDword size) {
  return StoreValue(name, std::make_unique<VIniFileDataBinary>(data, size));
}

bool VIniFileKey::WriteMultiSz(const char16_t* name, const VStringArray& value) {
  for (const auto& item : value) {
    if (!VIsStorableIniText(item)) {
      lastError_.SetError(win32::kInvalidData);
      return false;
    }
  }
  return StoreValue(name, std::make_unique<VIniFileDataStringSz>(value));
}

bool VIniFileKey::WriteSecurity(const char16_t* name, const VProfileSecurity& security) {
  return WriteMultiSz(name, security.ToStrings());
}

bool VIniFileKey::DeleteValue(const char16_t* name) {
  if (RefuseInvalid()) return false;
  LoadedMap().RemoveChange(name ? name : u"");
  dirty_ = true;
  return true;
}

// ---- sub-keys ----

bool VIniFileKey::SubKeyExists(const char16_t* name) {
  if (invalidNameError_ || !vfs::IsSafeComponent(name) || IsReservedKeyName(name)) return false;
  Location sub = SubLocation(main_, name);
  if (sub.throughLink || ApplyListing(sub)) return !sub.throughLink || sub.fileKnownToExist;
  // A link to a folder is not a sub-key: only a value file beside it would make one.
  vfs::PathKind kind = vfs::KindOfPath(sub.folder);
  bool isFolder = kind == vfs::PathKind::Folder;
  if (isFolder || vfs::IsRegularFileOrOther(sub.valueFile)) {
    lastSeen_ = SeenSubKey{std::move(sub.folder), isFolder, !isFolder, ListingClock()};
    return true;
  }
  if (kind == vfs::PathKind::LinkToFolder) return false;
  sub.ResolveFolder();
  sub.ResolveFile();
  return (!sub.throughLink && vfs::IsDirectory(sub.folder)) ||
         vfs::IsRegularFileOrOther(sub.valueFile);
}

bool VIniFileKey::ApplyListing(Location& main) const {
  // A listing of this key's folder made a moment ago tells where the sub-key is on disk. Only
  // what it saw counts: a name it lacks may have been made since, and is looked for as usual.
  constexpr auto kListingFresh = std::chrono::seconds(2);
  if (!main.IsSet() || !listing_ || ListingClock() - listing_->made >= kListingFresh) return false;
  // Looked up as views of the paths just made: the session walk does this for every key.
  // (SubLocation made the value file the folder's path with ".ini" added.)
  std::string_view folder = main.folder;
  if (size_t slash = folder.find_last_of('/'); slash != std::string_view::npos)
    folder.remove_prefix(slash + 1);
  std::string_view file =
      std::string_view(main.valueFile).substr(main.valueFile.size() - folder.size() - 4);
  bool seen = false;
  if (InListing(listing_->folders, listing_->nextFolder, folder)) {
    main.folderResolved = true;
    seen = true;
  } else if (InListing(listing_->links, listing_->nextLink, folder)) {
    main.folderResolved = true;
    main.throughLink = true;
  }
  if (InListing(listing_->files, listing_->nextFile, file)) {
    main.fileResolved = true;
    main.fileKnownToExist = true;
    seen = true;
  }
  return seen;
}

bool VIniFileKey::DeleteSubKey(const char16_t* name) {
  if (RefuseInvalid()) return false;
  if (!vfs::IsSafeComponent(name) || IsReservedKeyName(name)) {
    lastError_.SetError(win32::kInvalidName);
    return false;
  }
  std::vector<Location> subs;
  for (Location* parent : {&main_, &personal_}) {
    if (!parent->IsSet()) continue;
    Location sub = SubLocation(*parent, name);
    sub.ResolveFolder();
    sub.ResolveFile();
    subs.push_back(std::move(sub));
  }
  // A read-only file was made so on purpose: it is never removed with its tree, and the whole
  // deletion is refused before anything is gone rather than leaving half a tree.
  for (const Location& sub : subs) {
    for (const std::string* path : {&sub.valueFile, &sub.folder}) {
      std::string blocker = vfs::FirstUnremovableEntry(*path);
      if (blocker.empty()) continue;
      lastError_.Reset(kMsgTreeHoldsReadOnlyEntry);
      lastError_.AddInsert(VUnicodeString(vtext::FromUtf8(blocker)));
      return false;
    }
  }
  VStatus failure;
  for (const Location& sub : subs) {
    for (VStatus removed : {vfs::RemoveTree(sub.folder, env_), vfs::RemoveFile(sub.valueFile, env_)})
      if (failure.ok() && !removed.ok()) failure = removed;
  }
  if (!failure.ok()) lastError_.SetStatus(failure);
  return failure.ok();
}

bool VIniFileKey::ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) {
  uint32_t code = 0;
  std::u16string_view candidate(name ? name : u"");
  if (invalidNameError_) {
    code = invalidNameError_;
  } else if (!vfs::IsSafeComponent(candidate) || IsReservedKeyName(candidate)) {
    code = win32::kInvalidName;
  } else {
    // The value file adds ".ini" to the name, so four characters of the budget are taken.
    size_t length = vtext::ToUtf8(candidate).size();
    for (const Location* location : {&main_, &personal_}) {
      if (!location->IsSet()) continue;
      long budget = vfs::MaxNameLength(location->folder);
      if (budget > 4 && length > static_cast<size_t>(budget - 4)) {
        code = win32::kFilenameExcedRange;
        break;
      }
    }
  }
  if (error) *error = new VReportMessageParams(code);
  return code == 0;
}

bool VIniFileKey::CanWrite() {
  if (readOnly_ || invalidNameError_) return false;
  const vfs::FileInfo& info = ValueFileInfo();
  return !(info.exists && info.readOnly);
}

VProfilePrivateKey* VIniFileKey::OpenPrivateSubKey(const char16_t* name,
                                                   const VProfileSecurity* security, int flags) {
  std::u16string_view component(name ? name : u"");
  if (invalidNameError_ || !vfs::IsSafeComponent(component) || IsReservedKeyName(component)) {
    // Nothing is opened or created for such a name: it could lead outside the folder.
    return new VIniFileKey(Location(), Location(), readOnly_, security,
                           invalidNameError_ ? invalidNameError_ : win32::kInvalidName, env_);
  }
  Location main = SubLocation(main_, component);
  Location personal = SubLocation(personal_, component);
  if (main.throughLink || personal.throughLink) {
    return new VIniFileKey(Location(), Location(), readOnly_, security,
                           win32::kCantResolveFilename, env_);
  }
  ApplyListing(main);
  // Only what was found counts, and only a moment ago: the key may be gone since.
  constexpr auto kSeenFresh = std::chrono::seconds(2);
  if (lastSeen_ && lastSeen_->folder == main.folder && ListingClock() - lastSeen_->made < kSeenFresh) {
    if (lastSeen_->isFolder) main.folderResolved = true;
    if (lastSeen_->hasFile) {
      main.fileResolved = true;
      main.fileKnownToExist = true;
    }
  }
  if (flags & kProfileKeyKnownNew) {
    // Neither name exists in another case (the caller has just looked): the exact names are
    // used, and a file made since under them is still read and merged with on the first write.
    main.folderResolved = true;
    main.fileResolved = true;
  }
  if (flags & kProfileKeyCreate) {
    // An existing folder of another case is the one the key stands for.
    main.ResolveFolder();
    if (personal.IsSet()) personal.ResolveFolder();
    // A key is never made inside a link to a folder: what is saved below it would land
    // wherever the link leads.
    if (main.throughLink || personal.throughLink) {
      return new VIniFileKey(Location(), Location(), readOnly_, security,
                             win32::kCantResolveFilename, env_);
    }
  }
  auto* key = new VIniFileKey(std::move(main), std::move(personal), readOnly_, security, 0, env_);
  if (flags & kProfileKeyCreate) {
    VStatus made = vfs::CreateFolderTree(key->main_.folder, key->FolderMode(), env_);
    if (made.ok() && key->personal_.IsSet())
      made = vfs::CreateFolderTree(key->personal_.folder, key->FolderMode(), env_);
    if (!made.ok()) key->lastError_.SetStatus(made);
  }
  return key;
}

VProfilePrivateKeyIterator* VIniFileKey::CreatePrivateKeyIterator(bool values) {
  if (invalidNameError_) return new Iterator(std::vector<Iterator::Entry>(), nullptr);
  std::vector<Iterator::Entry> entries;
  if (values) {
    LoadedMap().ForEachName([&](const VUnicodeString& name, int type) {
      entries.push_back({name, type});
    });
    return new Iterator(std::move(entries), this);
  }
  main_.ResolveFolder();
  if (main_.throughLink) return new Iterator(std::vector<Iterator::Entry>(), nullptr);
  auto hint = std::make_shared<ListingHint>();
  uint32_t error = 0;
  auto iterator =
      new Iterator(Iterator::ListSubKeys(main_.folder, hint.get(), &error), nullptr, true);
  // A folder that is there but cannot be listed (too deep for a path, no permission) is not
  // shown as empty without a word: the reason stays for the caller to report.
  if (error) lastError_.SetError(error);
  listing_ = std::move(hint);
  return iterator;
}

bool VIniFileKey::Iterator::StillHasValue(const VUnicodeString& name) const {
  return !key_ || (key_->map_ && key_->map_->Find(name) != nullptr);
}
