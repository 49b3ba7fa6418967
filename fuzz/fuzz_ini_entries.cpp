// Value files of the INI store and of the registry hives come from disk, possibly from another
// machine: the decoder and the entry reader must take any bytes. Entries read back must also
// survive a write and a re-read, and a registry value file rewritten once must come back
// byte for byte when rewritten again (what a writer could not read is carried along, never lost
// or grown).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/environment_strings.h"
#include "storage/ini_entry_scan.h"
#include "storage/ini_value_map.h"
#include "storage/registry_value_file.h"
#include "storage/text_file.h"

namespace {

void CheckRoundTrip(const std::string& bytes, VIniLineKinds kinds) {
  struct Entry {
    VUnicodeString name;
    std::unique_ptr<VIniFileData> data;
  };
  std::string converted;
  std::string_view text = VIniTextAsUtf8(bytes, converted);
  std::vector<Entry> entries;
  size_t stop = VScanIniEntries(
      text,
      [&](const VIniRawEntry& raw) {
        entries.push_back({VUnicodeString(vtext::FromUtf8(raw.name)), VMakeIniData(raw)});
      },
      kinds);
  if (stop > text.size()) abort();
  // Whatever was read is written again and must read back as the same entries.
  VTextFile out;
  for (const auto& entry : entries) {
    if (!entry.data) abort();
    if (VIsStorableIniName(entry.name)) entry.data->Write(out, entry.name);
  }
  std::string again = out.Bytes();
  std::string_view againText = VIniTextAsUtf8(again, converted);
  size_t count = 0;
  VScanIniEntries(againText, [&](const VIniRawEntry&) { ++count; }, kinds);
  size_t storable = 0;
  for (const auto& entry : entries) storable += VIsStorableIniName(entry.name) ? 1 : 0;
  if (count != storable) abort();
}

// The INI key's value map over the same bytes: every value it holds survives a write and a
// second read unchanged.
void CheckValueMap(const std::string& bytes) {
  VIniValueMap map;
  map.AddFile(bytes);
  VTextFile out;
  std::vector<std::pair<VUnicodeString, int>> names;
  map.ForEach([&](const VUnicodeString& name, VIniFileData& data, bool) {
    if (!VIsStorableIniName(name)) return;
    data.Write(out, name);
    names.emplace_back(name, data.GetType());
  });
  VIniValueMap again;
  again.AddFile(out.Bytes());
  for (const auto& [name, type] : names) {
    VIniFileData* first = map.Find(name);
    VIniFileData* second = again.Find(name);
    if (!first || !second || second->GetType() != type) abort();
    VUnicodeString a, b;
    if (first->GetString(a) != second->GetString(b) || a != b) abort();
  }
}

void CheckRegistryFile(const std::string& bytes) {
  VRegistryValueFile first;
  first.Parse(bytes);
  std::string once = first.Serialize();
  VRegistryValueFile second;
  second.Parse(once);
  if (second.Entries().size() != first.Entries().size()) abort();
  if (second.Serialize() != once) abort();
  for (const auto& entry : first.Entries()) {
    if (!entry.data->IsExpandable()) continue;
    VUnicodeString text;
    if (!entry.data->GetString(text)) abort();
    // References to variables that are not set come back as they were written.
    auto unset = [](std::u16string_view) -> std::optional<std::u16string> { return std::nullopt; };
    if (vapp::ExpandEnvironmentStrings(text, unset) != text) abort();
    auto set = [](std::u16string_view name) -> std::optional<std::u16string> {
      return std::u16string(name.size() % 3, u'%');
    };
    vapp::ExpandEnvironmentStrings(text, set);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(bytes, VIniLineKinds::Ini);
  CheckRoundTrip(bytes, VIniLineKinds::Registry);
  CheckValueMap(bytes);
  CheckRegistryFile(bytes);
  return 0;
}
