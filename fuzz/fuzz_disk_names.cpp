// Names on disk become key names whatever bytes they hold. Within one folder, two entries that
// are different keys must never get names that one lookup would take for the same key, and every
// key name must survive being written out as UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "storage/model/disk_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One entry per line; a first byte with its low bit set makes a folder, else a value file.
  std::vector<vfs::FolderEntry> folder;
  std::string text(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  // Up to 16 entries: fewer than the private-use candidates, which only that many crafted entries
  // could all take.
  while (start < text.size() && folder.size() < 16) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string name = text.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    vfs::FolderEntry entry;
    entry.isDirectory = (static_cast<unsigned char>(name[0]) & 1) != 0;
    entry.name = entry.isDirectory ? name : name + ".ini";
    folder.push_back(std::move(entry));
  }
  std::vector<std::u16string> names;
  for (const auto& entry : folder) {
    std::string_view part = VSubKeyPartOfEntry(entry);
    if (part.empty()) abort();  // every entry made here stands for a key
    names.push_back(VKeyNameFromDisk(part, folder));
    if (vtext::FromUtf8(vtext::ToUtf8(names.back())) != names.back()) abort();
  }
  for (size_t i = 0; i < folder.size(); ++i) {
    std::string_view a = VSubKeyPartOfEntry(folder[i]);
    for (size_t j = 0; j < folder.size(); ++j) {
      std::string_view b = VSubKeyPartOfEntry(folder[j]);
      if (i == j || a == b) continue;
      bool aValid = vtext::IsValidUtf8(a);
      bool bValid = vtext::IsValidUtf8(b);
      // A stray-byte name never stands for a name spelled in UTF-8, in any case.
      if (!aValid && bValid && vtext::EqualsNoCase(names[i], names[j])) abort();
      // Two stray-byte names never become the very same name.
      if (!aValid && !bValid && names[i] == names[j]) abort();
    }
  }
  return 0;
}
