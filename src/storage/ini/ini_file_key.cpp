#include "storage/ini/ini_file_key.h"

#include <algorithm>
#include <ctime>

#include "platform/win32_errors.h"
#include "storage/ini/ini_file_iterator.h"

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

// Finds the entry of `folder` whose name equals `name` without regard to case.
std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name,
                                            bool wantFolder) {
  std::vector<vfs::FolderEntry> entries;
  uint32_t error = 0;
  if (folder.empty() || !vfs::ListFolder(folder, entries, error)) return std::nullopt;
  std::u16string wanted = vtext::FromUtf8(name);
  for (const auto& entry : entries) {
    if (entry.isDirectory != wantFolder || (entry.isDirectory && entry.isLink)) continue;
    // Two ASCII names are compared on their bytes: a key of a large folder that has no value
    // file compares every name of the folder, and converting each cost most of the time.
    if (auto same = AsciiEqualsNoCase(entry.name, name)) {
      if (*same) return vfs::JoinPath(folder, entry.name);
      continue;
    }
    if (vtext::EqualsNoCase(vtext::FromUtf8(entry.name), wanted)) return vfs::JoinPath(folder, entry.name);
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
  switch (vfs::KindOf(folder)) {
    case vfs::EntryKind::Folder: return;
    case vfs::EntryKind::LinkToFolder: throughLink = true; return;
    default: break;
  }
  if (auto found = FindIgnoringCase(vfs::ParentFolder(folder), vfs::BaseName(folder), true))
    folder = *found;
}

void VIniFileKey::Location::ResolveFile() {
  if (fileResolved) return;
  fileResolved = true;
  if (vfs::Stat(valueFile).exists) return;
  if (auto found = FindIgnoringCase(vfs::ParentFolder(valueFile), vfs::BaseName(valueFile), false))
    valueFile = *found;
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

VIniFileKey::VIniFileKey(const VUnicodeString& folder, const VUnicodeString& personalFolder,
                         bool readOnly, const VProfileSecurity* security)
    : readOnly_(readOnly) {
  main_.folder = Native(folder);
  main_.valueFile = main_.folder + ".ini";
  if (!personalFolder.empty() && !vtext::EqualsNoCase(personalFolder, folder)) {
    personal_.folder = Native(personalFolder);
    personal_.valueFile = personal_.folder + ".ini";
  }
  if (security) security_ = *security;
}

VIniFileKey::VIniFileKey(Location main, Location personal, bool readOnly,
                         const VProfileSecurity* security, uint32_t invalidNameError)
    : main_(std::move(main)),
      personal_(std::move(personal)),
      readOnly_(readOnly),
      invalidNameError_(invalidNameError) {
  if (security) security_ = *security;
  if (personal_.IsSet() && vtext::EqualsNoCase(vtext::FromUtf8(personal_.folder),
                                               vtext::FromUtf8(main_.folder)))
    personal_ = Location();
  if (invalidNameError_) lastError_.SetError(invalidNameError_);
}

VIniFileKey::~VIniFileKey() {
  if (!readOnly_) Write();
}

mode_t VIniFileKey::FileMode() const {
  return security_ && security_->IsOwnerOnly() ? 0600 : 0666;
}

mode_t VIniFileKey::FolderMode() const {
  return security_ && security_->IsOwnerOnly() ? 0700 : 0777;
}

bool VIniFileKey::RefuseInvalid() {
  if (!invalidNameError_) return false;
  lastError_.SetError(invalidNameError_);
  return true;
}

// ---- loading and writing ----

bool VIniFileKey::ReadFileInto(Location& location, VIniValueMap& map, bool* existed) {
  std::string bytes;
  uint32_t error = 0;
  if (existed) *existed = false;
  bool read = VTextFile::ReadLocked(location.valueFile, bytes, error);
  if (!read && !location.fileResolved) {
    std::string exact = location.valueFile;
    location.ResolveFile();
    if (location.valueFile != exact) read = VTextFile::ReadLocked(location.valueFile, bytes, error);
  }
  location.fileResolved = true;
  if (!read) return false;
  if (existed) *existed = true;
  map.AddFile(std::move(bytes));
  return true;
}

VIniValueMap& VIniFileKey::LoadedMap() {
  if (!map_) {
    map_ = std::make_unique<VIniValueMap>();
    if (!invalidNameError_) {
      ReadFileInto(main_, *map_);
      if (personal_.IsSet()) ReadFileInto(personal_, *map_, &personalFileExisted_);
    }
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

bool VIniFileKey::Write() {
  if (!map_ || !dirty_) return true;
  if (readOnly_ || invalidNameError_) {
    lastError_.SetError(invalidNameError_ ? invalidNameError_ : win32::kAccessDenied);
    return false;
  }
  const bool writePersonal =
      personal_.IsSet() && (map_->HasPersonalData() || personalFileExisted_);
  VTextFile mainFile;
  VTextFile personalFile;
  // Lists go after every other kind, as readers of older versions expect.
  for (bool lists : {false, true}) {
    map_->ForEach([&](const VUnicodeString& name, VIniFileData& data, bool personal) {
      if ((data.GetType() == kProfileTypeMultiSz) != lists) return;
      data.Write(personal && writePersonal ? personalFile : mainFile, name);
    });
  }
  // A value file of another case that is already there is the one written.
  main_.ResolveFile();
  if (writePersonal) personal_.ResolveFile();
  vfs::ReplaceOptions options;
  options.newFileMode = FileMode();
  options.newFolderMode = FolderMode();
  bool ok = true;
  uint32_t error = 0;
  if (!vfs::ReplaceFileContents(main_.valueFile, mainFile.Bytes(), options, error)) {
    lastError_.SetError(error);
    ok = false;
  }
  if (writePersonal) {
    uint32_t personalError = 0;
    if (!vfs::ReplaceFileContents(personal_.valueFile, personalFile.Bytes(), options,
                                  personalError)) {
      if (ok) lastError_.SetError(personalError);
      ok = false;
    } else {
      personalFileExisted_ = true;
    }
  }
  valueFileInfo_.reset();
  // A failed write keeps the values in memory so that a later write can try again.
  if (ok) dirty_ = false;
  return ok;
}

bool VIniFileKey::Flush() { return Write(); }

void VIniFileKey::ForEachValueName(
    const std::function<void(const VUnicodeString& name, int type)>& visit) {
  if (!invalidNameError_) LoadedMap().ForEachName(visit);
}

bool VIniFileKey::Rewrite() {
  if (RefuseInvalid()) return false;
  if (map_) {
    ReadFileInto(main_, *map_);
    if (personal_.IsSet()) ReadFileInto(personal_, *map_, &personalFileExisted_);
  } else {
    LoadedMap();
  }
  dirty_ = true;
  return Write();
}

void VIniFileKey::MergePersonalData(const char16_t* folder) {
  if (RefuseInvalid()) return;
  if (!map_) {
    map_ = std::make_unique<VIniValueMap>();
    ReadFileInto(main_, *map_);
  }
  Location personal;
  personal.folder = Native(VUnicodeString(folder));
  personal.valueFile = personal.folder + ".ini";
  ReadFileInto(personal, *map_);
  map_->MovePersonalToGeneral();
  personal_ = Location();
  personalFileExisted_ = false;
  dirty_ = true;
  if (Write()) {
    uint32_t error = 0;
    if (!vfs::RemoveFile(personal.valueFile, error)) lastError_.SetError(error);
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
  if (!name || !VIsStorableIniName(name)) {
    lastError_.SetError(win32::kInvalidName);
    return false;
  }
  LoadedMap().Store(name, std::move(data));
  dirty_ = true;
  return true;
}

bool VIniFileKey::WriteDword(const char16_t* name, VDword value) {
  return StoreValue(name, std::make_unique<VIniFileDataDword>(value));
}

bool VIniFileKey::WriteString(const char16_t* name, const char16_t* value) {
  if (value && !VIsStorableIniText(value)) {
    lastError_.SetError(win32::kInvalidData);
    return false;
  }
  return StoreValue(name, std::make_unique<VIniFileDataString>(VUnicodeString(value)));
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
  LoadedMap().Remove(name);
  dirty_ = true;
  return true;
}

// ---- sub-keys ----

bool VIniFileKey::SubKeyExists(const char16_t* name) {
  if (invalidNameError_ || !vfs::IsSafeComponent(name)) return false;
  Location sub = SubLocation(main_, name);
  if (sub.throughLink || ApplyListing(sub)) return !sub.throughLink || sub.fileKnownToExist;
  // A link to a folder is not a sub-key: only a value file beside it would make one.
  vfs::EntryKind kind = vfs::KindOf(sub.folder);
  bool isFolder = kind == vfs::EntryKind::Folder;
  if (isFolder || vfs::IsRegularFileOrOther(sub.valueFile)) {
    lastSeen_ = SeenSubKey{std::move(sub.folder), isFolder, !isFolder, ListingClock()};
    return true;
  }
  if (kind == vfs::EntryKind::LinkToFolder) return false;
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
  if (!vfs::IsSafeComponent(name)) {
    lastError_.SetError(win32::kInvalidName);
    return false;
  }
  bool ok = true;
  uint32_t error = 0;
  for (Location* parent : {&main_, &personal_}) {
    if (!parent->IsSet()) continue;
    Location sub = SubLocation(*parent, name);
    sub.ResolveFolder();
    sub.ResolveFile();
    if (!vfs::RemoveTree(sub.folder, error)) ok = false;
    if (!vfs::RemoveFile(sub.valueFile, error)) ok = false;
  }
  if (!ok) lastError_.SetError(error);
  return ok;
}

bool VIniFileKey::ValidateSubKeyName(const char16_t* name, VReportMessageParams** error) {
  uint32_t code = 0;
  std::u16string_view candidate(name ? name : u"");
  if (invalidNameError_) {
    code = invalidNameError_;
  } else if (!vfs::IsSafeComponent(candidate)) {
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
  if (invalidNameError_ || !vfs::IsSafeComponent(component)) {
    // Nothing is opened or created for such a name: it could lead outside the folder.
    return new VIniFileKey(Location(), Location(), readOnly_, security,
                           invalidNameError_ ? invalidNameError_ : win32::kInvalidName);
  }
  Location main = SubLocation(main_, component);
  Location personal = SubLocation(personal_, component);
  if (main.throughLink || personal.throughLink) {
    return new VIniFileKey(Location(), Location(), readOnly_, security,
                           win32::kCantResolveFilename);
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
  if (flags & kProfileKeyCreate) {
    // An existing folder of another case is the one the key stands for.
    main.ResolveFolder();
    if (personal.IsSet()) personal.ResolveFolder();
    // A key is never made inside a link to a folder: what is saved below it would land
    // wherever the link leads.
    if (main.throughLink || personal.throughLink) {
      return new VIniFileKey(Location(), Location(), readOnly_, security,
                             win32::kCantResolveFilename);
    }
  }
  auto* key = new VIniFileKey(std::move(main), std::move(personal), readOnly_, security, 0);
  if (flags & kProfileKeyCreate) {
    uint32_t error = 0;
    if (!vfs::CreateFolderTree(key->main_.folder, key->FolderMode(), error) ||
        (key->personal_.IsSet() &&
         !vfs::CreateFolderTree(key->personal_.folder, key->FolderMode(), error)))
      key->lastError_.SetError(error);
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
