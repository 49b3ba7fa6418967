// A folder synchronization profile: a list of tasks, each pairing source folders with target
// folders (local or through a saved session), and the options that apply to all of them. It is
// kept as values of one key under indexed names (synchronize_names.h); the file-transfer client's
// quick synchronize keeps one in the global configuration's "QuickSync", and named profiles are
// items below "SynchronizeDB".
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "config/parts/subkey_copy.h"
#include "storage/values/file_time.h"
#include "storage/values/profile_composite.h"

struct SynchronizeSource {
  VUnicodeString session;
  VUnicodeString path;
  bool recurse = true;
  bool operator==(const SynchronizeSource& other) const = default;
};

struct SynchronizeTarget {
  VUnicodeString session;
  VUnicodeString path;
  bool operator==(const SynchronizeTarget& other) const = default;
};

struct SynchronizeTask {
  VUnicodeString name;
  int32_t type = 0;  // set by the client's dialogs and kept as it is
  bool masterOverwrites = false;
  std::vector<SynchronizeSource> sources;
  std::vector<SynchronizeTarget> targets;
  bool operator==(const SynchronizeTask& other) const = default;
};

// What a profile holds, apart from values of other programs that it keeps without knowing.
struct SynchronizeSettings {
  VFileTime lastSyncTime;  // 0: never run
  std::vector<SynchronizeTask> tasks;
  VUnicodeString filter;  // the name of a filter, or empty
  bool autoTransfer = false;
  bool temporaryFile = true;
  bool operator==(const SynchronizeSettings& other) const = default;
};

class SynchronizeProfile : public VProfileComposite {
 public:
  // With `subkeyName` the profile lives in that sub-key of the key it is loaded from and saved
  // to ("QuickSync" of the global configuration); without one, in that key itself.
  explicit SynchronizeProfile(const char16_t* subkeyName = nullptr);

  // The profile as it is now; change it freely, IsModified compares it with the loaded copy.
  SynchronizeSettings settings;

  // The loaded copy the changes are measured against.
  const SynchronizeSettings& GetLoaded() const { return loaded_; }
  // The values of the key that are none of the profile's own, kept so that a save (also into
  // another store) loses nothing another program stored there.
  const VProfileSubkeyCopy::Node& GetOtherValues() const { return others_; }

  // Every value a save writes, in the order it writes them.
  std::vector<std::pair<VUnicodeString, VStoredValue>> StoredValues() const;
  // Sets one value from a person's text, by its stored name: a fixed name, or an indexed one
  // whose index is that of an existing task, source or target or the next one (which is then
  // added with the defaults). False, nothing changed, with a message naming the value when the
  // name is not one of the profile's, would leave a gap, or the text does not fit the kind.
  bool SetValue(std::u16string_view storedName, const VUnicodeString& text,
                VReportMessageParams& error);

  const VMemberTable& GetMemberTable() const override;
  // Writes the profile when forced, flagged or changed: every value of StoredValues, the values
  // of other programs, and the removal of indexed values left from tasks, sources and targets
  // that are no longer there (they would otherwise come back at the next load). A profile at its
  // defaults whose sub-key does not exist writes nothing. False when a value was refused.
  bool Save(VProfileKey& key, bool force) override;
  bool IsModified() const override;
  void CopyValue(const VProfileData& other) override;
  void DoCommit() override;
  void DoRevert() override { settings = loaded_; }

  // Reads a profile from `key` itself (no sub-key): what Load does after finding its key.
  void ReadFrom(const VProfileKey& key);
  // Writes into `key` itself, whether changed or not; false when a value was refused (the
  // reason is in the key's last error).
  bool WriteTo(VProfileKey& key);

 protected:
  void OnBeforeLoad(const VProfileKey* key) override;

 private:
  void ReadFrom(const VProfileKey* key);  // null: every default

  const char16_t* subkeyName_;
  SynchronizeSettings loaded_;
  VProfileSubkeyCopy::Node others_;
  bool lastSyncStored_ = false;  // the key holds "Last Sync Time V2"
};
