#include "storage/ini_file_key.h"

#include <algorithm>

#include "platform/win32_errors.h"
#include "storage/ini_file_iterator.h"

namespace {

constexpr char16_t kIsSession[] = u"Is Session";

const std::unordered_map<std::u16string, size_t>& PersonalIndex() {
  static const auto* index = [] {
    auto* map = new std::unordered_map<std::u16string, size_t>;
    const auto& names = VIniFileKey::PersonalNames();
    for (size_t i = 0; i < names.size(); ++i) (*map)[names[i]] = i;
    return map;
  }();
  return *index;
}

std::string Native(const VUnicodeString& path) { return path.ToUtf8(); }

// Finds the entry of `folder` whose name equals `name` without regard to case.
std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name,
                                            bool wantFolder) {
  std::vector<vfs::FolderEntry> entries;
  uint32_t error = 0;
  if (!vfs::ListFolder(folder, entries, error)) return std::nullopt;
  std::u16string wanted = vtext::FromUtf8(name);
  for (const auto& entry : entries) {
    if (entry.isDirectory == wantFolder && vtext::EqualsNoCase(vtext::FromUtf8(entry.name), wanted))
      return vfs::JoinPath(folder, entry.name);
  }
  return std::nullopt;
}

}  // namespace

const std::vector<std::u16string>& VIniFileKey::PersonalNames() {
  static const std::vector<std::u16string> names = {
      u"Username", u"Password", u"Password V2", u"Login Script V2", u"Login Script V3",
      u"Session Password Saved", u"Local Shell Command Pre-connect",
      u"Local Shell Command Pre-connect V2", u"Account", u"Account V2", u"Monitor Username",
      u"Monitor Password", u"Monitor Password V2", u"Normal Font v2", u"Narrow Font v2",
      u"Use Narrow Font", u"SCP Shell Password", u"SCP Shell Password V2", u"PGP Upload Command",
      u"PGP Upload Command V2", u"PGP Download Command", u"PGP Download Command V2"};
  return names;
}

// ---- the value map ----

VIniFileKey::Map::Map() {
  const auto& names = PersonalNames();
  personal_.reserve(names.size());
  for (const auto& name : names) personal_.push_back({VUnicodeString(name), nullptr});
  general_.reserve(100);
}

VIniFileKey::Element* VIniFileKey::Map::FindElement(std::u16string_view name) {
  auto personal = PersonalIndex().find(std::u16string(name));
  if (personal != PersonalIndex().end() && personal_[personal->second].data)
    return &personal_[personal->second];
  auto general = generalIndex_.find(std::u16string(name));
  if (general != generalIndex_.end()) return &general_[general->second];
  return nullptr;
}

VIniFileData* VIniFileKey::Map::Find(std::u16string_view name) const {
  Element* element = const_cast<Map*>(this)->FindElement(name);
  return element ? element->data.get() : nullptr;
}

void VIniFileKey::Map::Store(const VUnicodeString& name, std::unique_ptr<VIniFileData> data) {
  if (Element* element = FindElement(name)) {
    element->data = std::move(data);
    return;
  }
  // A personal name without data reuses its fixed slot.
  auto personal = PersonalIndex().find(name);
  if (personal != PersonalIndex().end()) {
    personal_[personal->second].data = std::move(data);
    return;
  }
  generalIndex_[name] = general_.size();
  general_.push_back({name, std::move(data)});
}

bool VIniFileKey::Map::Remove(std::u16string_view name) {
  Element* element = FindElement(name);
  if (!element) return false;
  element->data.reset();
  return true;
}

void VIniFileKey::Map::MovePersonalToGeneral() {
  for (auto& element : personal_) {
    if (!element.data) continue;
    auto it = generalIndex_.find(element.name);
    if (it != generalIndex_.end()) {
      general_[it->second].data = std::move(element.data);
    } else {
      generalIndex_[element.name] = general_.size();
      general_.push_back({element.name, std::move(element.data)});
    }
  }
}

bool VIniFileKey::Map::HasPersonalData() const {
  return std::any_of(personal_.begin(), personal_.end(),
                     [](const Element& e) { return e.data != nullptr; });
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

VIniFileKey::Location VIniFileKey::SubLocation(const Location& parent,
                                               const VUnicodeString& name) const {
  Location location;
  if (!parent.IsSet()) return location;
  std::string component = Native(name);
  location.folder = vfs::JoinPath(parent.folder, component);
  location.valueFile = location.folder + ".ini";
  vfs::FileInfo folder = vfs::Stat(location.folder);
  vfs::FileInfo file = vfs::Stat(location.valueFile);
  if (folder.exists || file.exists) return location;
  // Not there under its exact name: a folder copied from a case-insensitive system may hold it
  // under another case.
  if (auto found = FindIgnoringCase(parent.folder, component, true)) location.folder = *found;
  if (auto found = FindIgnoringCase(parent.folder, component + ".ini", false))
    location.valueFile = *found;
  return location;
}

// ---- loading and writing ----

bool VIniFileKey::ReadFileInto(const std::string& path, Map& map, bool* existed) {
  std::string bytes;
  uint32_t error = 0;
  if (existed) *existed = false;
  if (!VTextFile::ReadLocked(path, bytes, error)) return false;
  if (existed) *existed = true;
  std::u16string text = VTextFile::Decode(bytes);
  VReadIniEntries(text, [&](VUnicodeString&& name, std::unique_ptr<VIniFileData>&& data) {
    map.Store(name, std::move(data));
  });
  return true;
}

VIniFileKey::Map& VIniFileKey::LoadedMap() {
  if (!map_) {
    map_ = std::make_unique<Map>();
    if (!invalidNameError_) {
      ReadFileInto(main_.valueFile, *map_);
      if (personal_.IsSet()) ReadFileInto(personal_.valueFile, *map_, &personalFileExisted_);
    }
    dirty_ = false;
  }
  return *map_;
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
    for (auto* array : {&map_->Personal(), &map_->General()}) {
      const bool personal = array == &map_->Personal();
      for (const auto& element : *array) {
        if (!element.data || (element.data->GetType() == kProfileTypeMultiSz) != lists) continue;
        element.data->Write(personal && writePersonal ? personalFile : mainFile, element.name);
      }
    }
  }
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
  // A failed write keeps the values in memory so that a later write can try again.
  if (ok) dirty_ = false;
  return ok;
}

bool VIniFileKey::Flush() { return Write(); }

bool VIniFileKey::Rewrite() {
  if (RefuseInvalid()) return false;
  if (map_) {
    ReadFileInto(main_.valueFile, *map_);
    if (personal_.IsSet()) ReadFileInto(personal_.valueFile, *map_, &personalFileExisted_);
  } else {
    LoadedMap();
  }
  dirty_ = true;
  return Write();
}

void VIniFileKey::MergePersonalData(const char16_t* folder) {
  if (RefuseInvalid()) return;
  if (!map_) {
    map_ = std::make_unique<Map>();
    ReadFileInto(main_.valueFile, *map_);
  }
  Location personal;
  personal.folder = Native(VUnicodeString(folder));
  personal.valueFile = personal.folder + ".ini";
  ReadFileInto(personal.valueFile, *map_);
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
  if (!map_ && std::u16string_view(name) == kIsSession) {
    // Session trees are walked this way: the existence of the value file answers without
    // reading it.
    if (!valueFileInfo_) valueFileInfo_ = vfs::Stat(main_.valueFile);
    if (valueFileInfo_->exists && !valueFileInfo_->isDirectory) {
      value = 1;
      return true;
    }
  }
  VIniFileData* data = LoadedMap().Find(name);
  return data && data->GetDword(value);
}

bool VIniFileKey::ReadString(const char16_t* name, VUnicodeString& value) {
  VIniFileData* data = LoadedMap().Find(name);
  return data && data->GetString(value);
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
  LoadedMap().Store(VUnicodeString(name), std::move(data));
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
  Location sub = SubLocation(main_, VUnicodeString(name));
  return vfs::IsDirectory(sub.folder) || vfs::IsRegularFileOrOther(sub.valueFile);
}

bool VIniFileKey::DeleteSubKey(const char16_t* name) {
  if (RefuseInvalid()) return false;
  if (!vfs::IsSafeComponent(name)) {
    lastError_.SetError(win32::kInvalidName);
    return false;
  }
  bool ok = true;
  uint32_t error = 0;
  for (const Location* parent : {&main_, &personal_}) {
    if (!parent->IsSet()) continue;
    Location sub = SubLocation(*parent, VUnicodeString(name));
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
  if (!valueFileInfo_) valueFileInfo_ = vfs::Stat(main_.valueFile);
  return !(valueFileInfo_->exists && valueFileInfo_->readOnly);
}

VProfilePrivateKey* VIniFileKey::OpenPrivateSubKey(const char16_t* name,
                                                   const VProfileSecurity* security, int flags) {
  std::u16string_view component(name ? name : u"");
  if (invalidNameError_ || !vfs::IsSafeComponent(component)) {
    // Nothing is opened or created for such a name: it could lead outside the folder.
    return new VIniFileKey(Location(), Location(), readOnly_, security,
                           invalidNameError_ ? invalidNameError_ : win32::kInvalidName);
  }
  VUnicodeString sub(component);
  Location main = SubLocation(main_, sub);
  Location personal = SubLocation(personal_, sub);
  auto* key = new VIniFileKey(main, personal, readOnly_, security, 0);
  if (flags & kProfileKeyCreate) {
    uint32_t error = 0;
    if (!vfs::CreateFolderTree(main.folder, key->FolderMode(), error) ||
        (personal.IsSet() && !vfs::CreateFolderTree(personal.folder, key->FolderMode(), error)))
      key->lastError_.SetError(error);
  }
  return key;
}

VProfilePrivateKeyIterator* VIniFileKey::CreatePrivateKeyIterator(bool values) {
  if (invalidNameError_) return new Iterator(std::vector<Iterator::Entry>(), nullptr);
  std::vector<Iterator::Entry> entries;
  if (values) {
    Map& map = LoadedMap();
    for (auto* array : {&map.Personal(), &map.General()}) {
      for (const auto& element : *array) {
        if (element.data) entries.push_back({element.name, element.data->GetType()});
      }
    }
    return new Iterator(std::move(entries), this);
  }
  return new Iterator(Iterator::ListSubKeys(main_.folder), nullptr);
}

bool VIniFileKey::Iterator::StillHasValue(const VUnicodeString& name) const {
  return !key_ || (key_->map_ && key_->map_->Find(name) != nullptr);
}
