#include "config/sync/synchronize_profile.h"

#include <limits>

#include "config/sync/sync_messages.h"
#include "config/sync/synchronize_names.h"
#include "storage/values/setting_text.h"

using syncnames::Field;
using syncnames::IndexedName;
using syncnames::Part;

namespace {

bool IsFixedName(std::u16string_view name) {
  return name == syncnames::kLastSyncTime || name == syncnames::kFilter ||
         name == syncnames::kAutoTransfer || name == syncnames::kTemporaryFile;
}

// A value the profile reads and writes itself; everything else in its key is another program's.
bool IsOwnName(std::u16string_view name) {
  IndexedName parsed;
  return IsFixedName(name) || syncnames::Parse(name, parsed);
}

bool ReadBool(const VProfileKey& key, const VUnicodeString& name, bool fallback) {
  VDword value = 0;
  return key.ReadDword(name.c_str(), value) ? value != 0 : fallback;
}

// Whether a save of `settings` writes the indexed value `name`.
bool Writes(const SynchronizeSettings& settings, const IndexedName& name) {
  if (name.task >= settings.tasks.size()) return false;
  const SynchronizeTask& task = settings.tasks[name.task];
  switch (name.part) {
    case Part::Task:
      return true;
    case Part::Source:
      return name.item < task.sources.size();
    case Part::Target:
      return name.item < task.targets.size();
  }
  return false;
}

VUnicodeString Name(Part part, uint32_t task, uint32_t item, Field field) {
  return syncnames::Format(IndexedName{part, task, item, field});
}

// Stores that make keys only when asked need the flag for a key that is not there yet.
int CreateFlag(const VProfileKey& parent, const char16_t* name) {
  return parent.SubKeyExists(name) ? 0 : kProfileKeyCreate;
}

}  // namespace

SynchronizeProfile::SynchronizeProfile(const char16_t* subkeyName) : subkeyName_(subkeyName) {
  if (subkeyName_) SetName(subkeyName_);
}

const VMemberTable& SynchronizeProfile::GetMemberTable() const {
  // The values are indexed by the profile's own lists: no fixed table describes them.
  static const VMemberTable table{std::span<const VMemberRow>()};
  return table;
}

void SynchronizeProfile::OnBeforeLoad(const VProfileKey* key) {
  if (!key) {
    ReadFrom(nullptr);
  } else if (!subkeyName_) {
    ReadFrom(key);
  } else if (key->SubKeyExists(subkeyName_)) {
    VProfileKey sub(*key, subkeyName_);
    ReadFrom(&sub);
  } else {
    ReadFrom(nullptr);
  }
}

void SynchronizeProfile::ReadFrom(const VProfileKey& key) { ReadFrom(&key); }

void SynchronizeProfile::ReadFrom(const VProfileKey* key) {
  settings = SynchronizeSettings();
  others_ = VProfileSubkeyCopy::Node();
  if (subkeyName_) others_.name = subkeyName_;
  lastSyncStored_ = false;
  writePending = false;
  if (!key) {
    loaded_ = settings;
    return;
  }

  VUnicodeString text;
  if (key->ReadString(syncnames::kLastSyncTime, text) &&
      VParseTimeText(text, settings.lastSyncTime)) {
    lastSyncStored_ = true;
  } else {
    // The older form is the time itself in eight bytes; it is left in place for older programs
    // and the current form is written at the next save.
    uint8_t bytes[VFileTime::kStoredSize];
    VDword size = sizeof bytes;
    if (key->ReadBinary(syncnames::kOlderLastSyncTime, bytes, size) && size == sizeof bytes) {
      settings.lastSyncTime.FromBytes(bytes);
      writePending = true;
    }
  }

  for (uint32_t i = 0; i < std::numeric_limits<uint32_t>::max(); ++i) {
    SynchronizeTask task;
    if (!key->ReadString(Name(Part::Task, i, 0, Field::Name).c_str(), task.name)) break;
    VDword type = 0;
    if (key->ReadDword(Name(Part::Task, i, 0, Field::Type).c_str(), type))
      task.type = static_cast<int32_t>(type);
    task.masterOverwrites = ReadBool(*key, Name(Part::Task, i, 0, Field::MasterOverwrites), false);
    // A source or target list ends at the first index without a session: what lies beyond a
    // gap is not part of the profile.
    for (uint32_t j = 0; j < std::numeric_limits<uint32_t>::max(); ++j) {
      SynchronizeSource source;
      if (!key->ReadString(Name(Part::Source, i, j, Field::Session).c_str(), source.session)) break;
      key->ReadString(Name(Part::Source, i, j, Field::Path).c_str(), source.path);
      source.recurse = ReadBool(*key, Name(Part::Source, i, j, Field::Recurse), true);
      task.sources.push_back(std::move(source));
    }
    for (uint32_t j = 0; j < std::numeric_limits<uint32_t>::max(); ++j) {
      SynchronizeTarget target;
      if (!key->ReadString(Name(Part::Target, i, j, Field::Session).c_str(), target.session)) break;
      key->ReadString(Name(Part::Target, i, j, Field::Path).c_str(), target.path);
      task.targets.push_back(std::move(target));
    }
    settings.tasks.push_back(std::move(task));
  }

  key->ReadString(syncnames::kFilter, settings.filter);
  settings.autoTransfer = ReadBool(*key, syncnames::kAutoTransfer, false);
  settings.temporaryFile = ReadBool(*key, syncnames::kTemporaryFile, true);

  VProfileKeyIterator values(*key, true);
  VUnicodeString name;
  int type = 0;
  while (values.Next(name, type)) {
    if (IsOwnName(name)) continue;
    VStoredValue value;
    if (ReadStoredValue(*key, name, type, value)) others_.values.emplace_back(name, value);
  }
  VProfileKeyIterator keys(*key, false);
  while (keys.Next(name, type)) {
    VProfileSubkeyCopy::Node child;
    child.name = name;
    VProfileKey sub(*key, name.c_str());
    VProfileSubkeyCopy::ReadNode(sub, child);
    others_.children.push_back(std::move(child));
  }
  loaded_ = settings;
}

std::vector<std::pair<VUnicodeString, VStoredValue>> SynchronizeProfile::StoredValues() const {
  std::vector<std::pair<VUnicodeString, VStoredValue>> out;
  VUnicodeString time;
  // A profile that never ran and never stored a time gets none; a time after the last year the
  // text form can hold is not written (it never comes from a clock).
  if ((lastSyncStored_ || settings.lastSyncTime.Ticks() != 0) &&
      VFormatTimeText(settings.lastSyncTime, time))
    out.emplace_back(syncnames::kLastSyncTime, VStoredValue::String(time));
  for (uint32_t i = 0; i < settings.tasks.size(); ++i) {
    const SynchronizeTask& task = settings.tasks[i];
    out.emplace_back(Name(Part::Task, i, 0, Field::Name), VStoredValue::String(task.name));
    out.emplace_back(Name(Part::Task, i, 0, Field::Type),
                     VStoredValue::Dword(static_cast<VDword>(task.type)));
    out.emplace_back(Name(Part::Task, i, 0, Field::MasterOverwrites),
                     VStoredValue::Dword(task.masterOverwrites ? 1 : 0));
    for (uint32_t j = 0; j < task.sources.size(); ++j) {
      const SynchronizeSource& source = task.sources[j];
      out.emplace_back(Name(Part::Source, i, j, Field::Session), VStoredValue::String(source.session));
      out.emplace_back(Name(Part::Source, i, j, Field::Path), VStoredValue::String(source.path));
      out.emplace_back(Name(Part::Source, i, j, Field::Recurse),
                       VStoredValue::Dword(source.recurse ? 1 : 0));
    }
    for (uint32_t j = 0; j < task.targets.size(); ++j) {
      const SynchronizeTarget& target = task.targets[j];
      out.emplace_back(Name(Part::Target, i, j, Field::Session), VStoredValue::String(target.session));
      out.emplace_back(Name(Part::Target, i, j, Field::Path), VStoredValue::String(target.path));
    }
  }
  out.emplace_back(syncnames::kFilter, VStoredValue::String(settings.filter));
  out.emplace_back(syncnames::kAutoTransfer, VStoredValue::Dword(settings.autoTransfer ? 1 : 0));
  out.emplace_back(syncnames::kTemporaryFile, VStoredValue::Dword(settings.temporaryFile ? 1 : 0));
  return out;
}

bool SynchronizeProfile::WriteTo(VProfileKey& key) {
  bool ok = true;
  bool timeWritten = false;
  for (const auto& [name, value] : StoredValues()) {
    ok = WriteStoredValue(key, name, value) && ok;
    if (name == syncnames::kLastSyncTime) timeWritten = true;
  }
  std::vector<VUnicodeString> stale;
  key.ForEachValueName([&](const VUnicodeString& name, int) {
    IndexedName parsed;
    if (syncnames::Parse(name, parsed) && !Writes(settings, parsed)) stale.push_back(name);
  });
  for (const VUnicodeString& name : stale) ok = key.DeleteValue(name.c_str()) && ok;
  for (const auto& [name, value] : others_.values) ok = WriteStoredValue(key, name, value) && ok;
  for (const VProfileSubkeyCopy::Node& child : others_.children) {
    VProfileKey sub(key, child.name.c_str(), CreateFlag(key, child.name.c_str()));
    if (!VProfileSubkeyCopy::WriteNode(sub, child)) {
      if (ok) key.GetLastError() = sub.GetLastError();
      ok = false;
    }
  }
  if (timeWritten) lastSyncStored_ = true;
  return key.Flush() && ok;
}

bool SynchronizeProfile::Save(VProfileKey& key, bool force) {
  if (!force && !writePending && !IsModified()) return true;
  bool ok = true;
  if (!subkeyName_) {
    ok = WriteTo(key);
  } else if (key.SubKeyExists(subkeyName_) || !(settings == SynchronizeSettings()) ||
             !others_.values.empty() || !others_.children.empty()) {
    VProfileKey sub(key, subkeyName_, CreateFlag(key, subkeyName_));
    ok = WriteTo(sub);
    if (!ok) key.GetLastError() = sub.GetLastError();
  }
  if (!ok) return false;
  loaded_ = settings;
  writePending = false;
  return true;
}

bool SynchronizeProfile::IsModified() const { return !(settings == loaded_); }

void SynchronizeProfile::CopyValue(const VProfileData& other) {
  auto* same = dynamic_cast<const SynchronizeProfile*>(&other);
  if (same && same != this) settings = same->settings;
}

void SynchronizeProfile::DoCommit() {
  if (IsModified()) writePending = true;
  loaded_ = settings;
}

// ---- setting one value from text ----

namespace {

bool ParseBool(const VUnicodeString& name, const VUnicodeString& text, bool& value,
               VReportMessageParams& error) {
  if (VParseSettingBool(text, value)) return true;
  VSettingError(error, kMsgSettingBool, name, &text);
  return false;
}

}  // namespace

bool SynchronizeProfile::SetValue(std::u16string_view storedName, const VUnicodeString& text,
                                  VReportMessageParams& error) {
  const VUnicodeString name(storedName);
  if (name == syncnames::kFilter) {
    settings.filter = text;
    return true;
  }
  if (name == syncnames::kAutoTransfer) return ParseBool(name, text, settings.autoTransfer, error);
  if (name == syncnames::kTemporaryFile) return ParseBool(name, text, settings.temporaryFile, error);
  if (name == syncnames::kLastSyncTime) {
    VFileTime time;
    if (!VParseTimeText(text, time)) {
      VSettingError(error, kMsgSettingTime, name, &text);
      return false;
    }
    settings.lastSyncTime = time;
    return true;
  }
  IndexedName parsed;
  if (!syncnames::Parse(storedName, parsed)) {
    VSettingError(error, kMsgSettingUnknown, name);
    return false;
  }
  // Checked before anything changes, so that a refused value adds no task, source or target.
  size_t tasks = settings.tasks.size();
  bool newTask = parsed.task == tasks;
  if (parsed.task > tasks) {
    VSettingError(error, kMsgSyncIndexGap, name, nullptr, {U8("Task[" + std::to_string(tasks) + "]")});
    return false;
  }
  size_t items = 0;
  if (!newTask) {
    const SynchronizeTask& task = settings.tasks[parsed.task];
    items = parsed.part == Part::Source ? task.sources.size() : task.targets.size();
  }
  if (parsed.part != Part::Task && parsed.item > items) {
    VUnicodeString missing = syncnames::Format({parsed.part, parsed.task,
                                                static_cast<uint32_t>(items), Field::Session});
    missing.resize(missing.size() - 8);  // without ".Session"
    VSettingError(error, kMsgSyncIndexGap, name, nullptr, {missing});
    return false;
  }
  bool flag = false;
  int64_t number = 0;
  switch (parsed.field) {
    case Field::Type:
      if (!VParseSettingNumber(text, std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max(), 32, number)) {
        VSettingError(error, kMsgSettingNumber, name, &text,
                      {u"-2147483648", u"2147483647"});
        return false;
      }
      break;
    case Field::MasterOverwrites:
    case Field::Recurse:
      if (!ParseBool(name, text, flag, error)) return false;
      break;
    default:
      break;
  }
  if (newTask) settings.tasks.emplace_back();
  SynchronizeTask& task = settings.tasks[parsed.task];
  if (parsed.part == Part::Source && parsed.item == task.sources.size()) task.sources.emplace_back();
  if (parsed.part == Part::Target && parsed.item == task.targets.size()) task.targets.emplace_back();
  switch (parsed.part) {
    case Part::Task:
      if (parsed.field == Field::Name) task.name = text;
      else if (parsed.field == Field::Type) task.type = static_cast<int32_t>(number);
      else task.masterOverwrites = flag;
      break;
    case Part::Source: {
      SynchronizeSource& source = task.sources[parsed.item];
      if (parsed.field == Field::Session) source.session = text;
      else if (parsed.field == Field::Path) source.path = text;
      else source.recurse = flag;
      break;
    }
    case Part::Target: {
      SynchronizeTarget& target = task.targets[parsed.item];
      if (parsed.field == Field::Session) target.session = text;
      else target.path = text;
      break;
    }
  }
  return true;
}
