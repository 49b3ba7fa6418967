// Value files of the INI store come from disk, possibly from another machine: the decoder and the
// entry reader must take any bytes. Entries read back must also survive a write and a re-read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "storage/ini_file_data.h"
#include "storage/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::u16string text = VTextFile::Decode(bytes);
  struct Entry {
    VUnicodeString name;
    std::unique_ptr<VIniFileData> data;
  };
  std::vector<Entry> entries;
  VReadIniEntries(text, [&](VUnicodeString&& name, std::unique_ptr<VIniFileData>&& value) {
    entries.push_back({std::move(name), std::move(value)});
  });
  // Whatever was read is written again and must read back as the same entries.
  VTextFile out;
  for (const auto& entry : entries) {
    if (VIsStorableIniName(entry.name)) entry.data->Write(out, entry.name);
  }
  std::u16string again = VTextFile::Decode(out.Bytes());
  size_t count = 0;
  VReadIniEntries(again, [&](VUnicodeString&&, std::unique_ptr<VIniFileData>&& value) {
    if (!value) abort();
    ++count;
  });
  size_t storable = 0;
  for (const auto& entry : entries) storable += VIsStorableIniName(entry.name) ? 1 : 0;
  if (count != storable) abort();
  return 0;
}
