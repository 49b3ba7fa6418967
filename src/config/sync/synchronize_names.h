// The value names of a synchronize profile: fixed names for the profile's own settings and
// indexed ones for its tasks and their sources and targets ("Task[2].Source[0].Path").
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/unicode_string.h"

namespace syncnames {

inline constexpr const char16_t* kLastSyncTime = u"Last Sync Time V2";
inline constexpr const char16_t* kOlderLastSyncTime = u"Last Sync Time";
inline constexpr const char16_t* kFilter = u"Filter";
inline constexpr const char16_t* kAutoTransfer = u"Automatically Transfer Files";
inline constexpr const char16_t* kTemporaryFile = u"Transfer To Temporary File";

// Which list an indexed name belongs to.
enum class Part : uint8_t { Task, Source, Target };
// The last member of an indexed name.
enum class Field : uint8_t { Name, Type, MasterOverwrites, Session, Path, Recurse };

struct IndexedName {
  Part part = Part::Task;
  uint32_t task = 0;
  uint32_t item = 0;  // the source or target; 0 for a task's own fields
  Field field = Field::Name;
  bool operator==(const IndexedName& other) const = default;
};

// "Task[i].Name", "Task[i].Source[j].Path", ... Indexes are written in decimal without leading
// zeros, as the programs that share these profiles write them.
VUnicodeString Format(const IndexedName& name);
// The inverse of Format, exactly: only names Format makes are accepted (no leading zeros, no
// sign, no blanks, the exact case, a field that belongs to the part), so that a name read and
// written again is the same name and nothing else is ever taken for one of ours.
bool Parse(std::u16string_view text, IndexedName& name);

}  // namespace syncnames
