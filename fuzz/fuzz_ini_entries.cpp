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
#include "storage/ini/ini_entry_scan.h"
#include "storage/ini/ini_value_map.h"
#include "storage/registry/registry_value_file.h"
#include "storage/text/text_file.h"

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

// Byte blocks decoded one character at a time, as a reference for the decoder: it reads the
// common layout three characters at a time, and must come to the same bytes or refuse alike.
bool ReferenceBinary(std::string_view body, uint32_t count, std::vector<uint8_t>& out) {
  auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  out.clear();
  size_t pos = 0;
  while (out.size() < count) {
    if (pos >= body.size()) return false;
    size_t end = body.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = body.size();
    std::string_view line = body.substr(pos, end - pos);
    pos = end < body.size() ? end + (body[end] == '\r' && end + 1 < body.size() && body[end + 1] == '\n' ? 2 : 1)
                            : body.size();
    if (line.empty()) return false;
    bool any = false;
    for (size_t i = 0; i < line.size();) {
      char c = line[i];
      if (c == ' ' || c == '\t' || c == '\v' || c == '\f') {
        ++i;
        continue;
      }
      if (i + 1 >= line.size() || hex(line[i]) < 0 || hex(line[i + 1]) < 0 || out.size() >= count)
        return false;
      out.push_back(static_cast<uint8_t>(hex(line[i]) << 4 | hex(line[i + 1])));
      any = true;
      i += 2;
    }
    if (!any) return false;
  }
  return true;
}

// Every byte block the scanner accepted decodes to what the reference gives; the reads that a
// value map answers from the entry as read equal those of the value made from it.
void CheckReadShortcuts(const std::string& bytes) {
  std::string converted;
  std::string_view text = VIniTextAsUtf8(bytes, converted);
  VScanIniEntries(text, [&](const VIniRawEntry& raw) {
    // A name ends at the first double quote after its opening one, followed by "=".
    size_t end = static_cast<size_t>(raw.name.data() - text.data()) + raw.name.size();
    if (raw.name.find('"') != std::string_view::npos || end + 1 >= text.size() ||
        text[end] != '"' || text[end + 1] != '=')
      abort();
    // Numbers and counts read as digit by digit.
    if (raw.kind == 'D' || raw.kind == 'B' || raw.kind == 'Z') {
      uint32_t number = 0;
      for (size_t i = 0; i < 8 && i < raw.rest.size(); ++i) {
        char c = raw.rest[i];
        int digit = c >= '0' && c <= '9' ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) abort();
        number = number << 4 | static_cast<uint32_t>(digit);
      }
      if (raw.rest.size() != 8 || number != raw.number) abort();
    }
    if (raw.kind != 'B') return;
    std::vector<uint8_t> expected;
    if (!ReferenceBinary(raw.body, raw.number, expected)) abort();
    std::unique_ptr<VIniFileData> data = VMakeIniData(raw);
    uint32_t size = raw.number;
    std::vector<uint8_t> decoded(size + 1);
    if (!data || !data->GetBinary(decoded.data(), size) || size != raw.number) abort();
    decoded.resize(size);
    if (decoded != expected) abort();
  });
  VIniValueMap raw;
  raw.AddFile(bytes);
  VIniValueMap made;
  made.AddFile(bytes);
  std::vector<VUnicodeString> names;
  raw.ForEachName([&](const VUnicodeString& name, int) { names.push_back(name); });
  for (const auto& name : names) {
    uint32_t rawNumber = 0, madeNumber = 0;
    VUnicodeString rawText, madeText;
    bool rawHasNumber = raw.ReadDword(name, rawNumber);
    bool rawHasText = raw.ReadString(name, rawText);
    VIniFileData* data = made.Find(name);
    if (!data) abort();
    bool madeHasNumber = data->GetDword(madeNumber);
    bool madeHasText = data->GetString(madeText);
    if (rawHasNumber != madeHasNumber || (rawHasNumber && rawNumber != madeNumber)) abort();
    if (rawHasText != madeHasText || (rawHasText && rawText != madeText)) abort();
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
    std::u16string whole = vapp::ExpandEnvironmentStrings(text, set);
    // A limited expansion is the whole one when that fits, and refused when it does not.
    size_t limit = text.size() % 97;
    auto limited = vapp::ExpandEnvironmentStringsWithin(text, set, limit);
    if (whole.size() <= limit ? limited != whole : limited.has_value()) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(bytes, VIniLineKinds::Ini);
  CheckRoundTrip(bytes, VIniLineKinds::Registry);
  CheckValueMap(bytes);
  CheckReadShortcuts(bytes);
  CheckRegistryFile(bytes);
  return 0;
}
