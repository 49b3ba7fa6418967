#include "config/colors/color_lists.h"

#include <cstring>

#include "config/colors/color_builtins.h"
#include "config/colors/color_messages.h"
#include "report/report_message_params.h"

namespace {

VUnicodeString Warning(uint32_t id, std::initializer_list<VUnicodeString> inserts) {
  VStringArray list;
  for (const VUnicodeString& insert : inserts) list.Add(insert);
  VUnicodeString text = VFormatCatalogueMessage(id, list);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) text.pop_back();
  return text;
}

uint32_t LittleEndianAt(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  return value;
}

// Older values larger than this are not schemes; nothing that size is read into memory.
constexpr VDword kMaxOlderValue = 4096;

}  // namespace

// ---- ProfileColorsBase ----

size_t ProfileColorsBase::Find(std::u16string_view name) const {
  for (size_t i = 0; i < Current().GetSize(); ++i)
    if (vcolors::EntryName(Current()[i]) == name) return i;
  std::optional<size_t> builtIn = BuiltInIndex(name);
  if (!builtIn) return kNotFound;
  for (size_t i = 0; i < Current().GetSize(); ++i)
    if (BuiltInIndex(vcolors::EntryName(Current()[i])) == builtIn) return i;
  return kNotFound;
}

bool ProfileColorsBase::SameEntry(std::u16string_view a, std::u16string_view b) const {
  if (a == b) return true;
  std::optional<size_t> builtIn = BuiltInIndex(a);
  return builtIn && BuiltInIndex(b) == builtIn;
}

std::vector<VUnicodeString> ProfileColorsBase::GetNames() const {
  std::vector<VUnicodeString> names;
  for (const VUnicodeString& entry : Current()) names.emplace_back(vcolors::EntryName(entry));
  return names;
}

void ProfileColorsBase::SetEntry(const VUnicodeString& entry) {
  std::u16string_view name = vcolors::EntryName(entry);
  size_t index = Find(name);
  if (index == kNotFound) {
    Current().Add(entry);
    return;
  }
  // What is stored keeps its name: another language's name of a built-in is not written in.
  VUnicodeString replaced(vcolors::EntryName(Current()[index]));
  replaced += std::u16string_view(entry).substr(name.size());
  Current()[index] = std::move(replaced);
}

bool ProfileColorsBase::RemoveEntry(std::u16string_view name) {
  size_t index = Find(name);
  if (index == kNotFound) return false;
  Current().RemoveAt(index);
  return true;
}

bool ProfileColorsBase::Read(const VProfileKey& key) {
  otherKind_ = false;
  if (VProfileStringArray::Read(key)) return true;
  // Absent (or of another kind): what this configuration had before the list, if anything.
  Current() = Defaults(&key);
  // A value of this name of another kind is not ours to replace unasked.
  key.ForEachValueName([&](const VUnicodeString& valueName, int type) {
    if (valueName == GetName() && type != kProfileTypeMultiSz) otherKind_ = true;
  });
  return false;
}

bool ProfileColorsBase::Save(VProfileKey& key, bool force) {
  if (otherKind_ && !IsModified() && Current() == saved) {
    writePending = false;
    return true;
  }
  if (!VProfileStringArray::Save(key, force)) return false;
  otherKind_ = false;
  return true;
}

std::vector<VUnicodeString> ProfileColorsBase::GetLoadWarnings() const {
  std::vector<VUnicodeString> warnings;
  if (otherKind_) warnings.push_back(Warning(kMsgColorSettingWrongKind, {GetName()}));
  VUnicodeString unread;
  for (const VUnicodeString& entry : saved) {
    if (IsReadableEntry(entry)) continue;
    if (!unread.empty()) unread += u"\n";
    unread += entry;
  }
  if (!unread.empty()) warnings.push_back(Warning(kMsgColorEntriesUnreadable, {GetName(), unread}));
  return warnings;
}

// ---- ProfileColorSchemeListV2 ----

std::optional<ColorSchemeEntry> ProfileColorSchemeListV2::GetScheme(std::u16string_view name) const {
  size_t index = Find(name);
  if (index == kNotFound) return std::nullopt;
  return vcolors::ParseScheme(Current()[index]);
}

size_t ProfileColorSchemeListV2::ReplacePalette(std::u16string_view from, const VUnicodeString& to) {
  size_t changed = 0;
  for (VUnicodeString& entry : Current()) {
    std::optional<ColorSchemeEntry> scheme = vcolors::ParseScheme(entry);
    if (!scheme || !vcolors::SamePaletteName(scheme->paletteName, from)) continue;
    scheme->paletteName = to;
    entry = vcolors::FormatScheme(*scheme);
    ++changed;
  }
  return changed;
}

std::optional<ColorSchemeEntry> ProfileColorSchemeListV2::FromOlderBinary(
    const VUnicodeString& name, std::string_view bytes) {
  if (bytes.size() != kOlderSchemeSize) return std::nullopt;
  ColorSchemeEntry scheme;
  scheme.name = name;
  // The first byte held something the text form has no place for.
  scheme.overstrikeBold = static_cast<uint8_t>(bytes[1]);
  scheme.showUnderline = static_cast<uint8_t>(bytes[2]);
  scheme.enableBlink = static_cast<uint8_t>(bytes[3]);
  for (size_t i = 0; i < kAttributeCount; ++i) {
    scheme.foregrounds[i] = LittleEndianAt(bytes, 4 + 4 * i) & 0xFFFFFF;
    scheme.backgrounds[i] = LittleEndianAt(bytes, 4 + 4 * (kAttributeCount + i)) & 0xFFFFFF;
  }
  if (vcolors::IsPlatformSchemeName(name)) {
    VColor foreground = 0, background = 0;
    vcolors::GetPlatformColors(foreground, background);
    scheme.foregrounds.fill(foreground);
    scheme.backgrounds.fill(background);
  }
  scheme.paletteName = vcolors::BuiltInPalettes().front().name;
  return scheme;
}

VStringArray ProfileColorSchemeListV2::Defaults(const VProfileKey* key) {
  olderSkipped_.clear();
  VStringArray list;
  if (key && key->SubKeyExists(kOlderSubkey)) {
    VProfileKey older(*key, kOlderSubkey);
    VProfileKeyIterator values(older, true);
    VUnicodeString valueName;
    int type = 0;
    while (values.Next(valueName, type)) {
      if (type != kProfileTypeBinary) {
        olderSkipped_.emplace_back(valueName, 0);
        continue;
      }
      VDword size = 0;
      older.ReadBinary(valueName.c_str(), nullptr, size);
      std::string bytes;
      if (size == kOlderSchemeSize) {
        bytes.resize(size);
        VDword room = size;
        if (!older.ReadBinary(valueName.c_str(), bytes.data(), room) || room != size) bytes.clear();
      }
      std::optional<ColorSchemeEntry> scheme = FromOlderBinary(valueName, bytes);
      if (!scheme || !vcolors::IsValidEntryName(valueName)) {
        olderSkipped_.emplace_back(valueName, size > kMaxOlderValue ? kMaxOlderValue : size);
        continue;
      }
      list.Add(vcolors::FormatScheme(*scheme));
    }
  }
  for (const ColorSchemeEntry& scheme : vcolors::BuiltInSchemes()) {
    // An older scheme of a built-in's name stands for it: names stay unique.
    bool taken = false;
    for (const VUnicodeString& entry : list)
      taken = taken || SameEntry(vcolors::EntryName(entry), scheme.name);
    if (!taken) list.Add(vcolors::FormatScheme(scheme));
  }
  return list;
}

bool ProfileColorSchemeListV2::IsReadableEntry(std::u16string_view entry) const {
  return vcolors::ParseScheme(entry).has_value();
}

std::vector<VUnicodeString> ProfileColorSchemeListV2::GetLoadWarnings() const {
  std::vector<VUnicodeString> warnings = ProfileColorsBase::GetLoadWarnings();
  for (const auto& [valueName, size] : olderSkipped_)
    warnings.push_back(Warning(kMsgOlderSchemeUnreadable,
                               {valueName, VUnicodeString(vtext::FromUtf8(std::to_string(size)))}));
  return warnings;
}

// ---- ProfileAnsiPaletteList ----

std::optional<AnsiPaletteEntry> ProfileAnsiPaletteList::GetPalette(std::u16string_view name) const {
  size_t index = Find(name);
  if (index == kNotFound) return std::nullopt;
  return vcolors::ParsePalette(Current()[index]);
}

VUnicodeString ProfileAnsiPaletteList::GetDefaultPaletteName() const {
  if (Current().IsEmpty()) return vcolors::BuiltInPalettes().front().name;
  return VUnicodeString(vcolors::EntryName(Current()[0]));
}

VStringArray ProfileAnsiPaletteList::Defaults(const VProfileKey*) {
  VStringArray list;
  for (const AnsiPaletteEntry& palette : vcolors::BuiltInPalettes())
    list.Add(vcolors::FormatPalette(palette));
  return list;
}

bool ProfileAnsiPaletteList::IsReadableEntry(std::u16string_view entry) const {
  return vcolors::ParsePalette(entry).has_value();
}

namespace vcolors {

bool SamePaletteName(std::u16string_view a, std::u16string_view b) {
  if (a == b) return true;
  std::optional<size_t> builtIn = BuiltInPaletteIndex(a);
  return builtIn && BuiltInPaletteIndex(b) == builtIn;
}

bool DeletePalette(ProfileAnsiPaletteList& palettes, ProfileColorSchemeListV2& schemes,
                   VUnicodeString& currentPalette, std::u16string_view name) {
  size_t index = palettes.Find(name);
  if (index == ProfileColorsBase::kNotFound) return false;
  // The entry removed may be kept under another language's name than the one asked for.
  VUnicodeString deleted(EntryName(palettes.GetEntry(index)));
  palettes.RemoveEntry(deleted);
  VUnicodeString fallback = BuiltInPalettes().front().name;
  // The first built-in, under the name this configuration keeps it by, when it is there.
  size_t first = palettes.Find(fallback);
  if (first != ProfileColorsBase::kNotFound) fallback = VUnicodeString(EntryName(palettes.GetEntry(first)));
  schemes.ReplacePalette(deleted, fallback);
  if (SamePaletteName(currentPalette, deleted)) currentPalette = fallback;
  return true;
}

}  // namespace vcolors
