// The colour scheme list and the ANSI palette list of the global configuration: multi-string
// values, one entry string per scheme or palette, found by the entry's first field (its name).
//
// The entry strings stay as they were read; an entry this release cannot read is kept and
// written back untouched, and reported. A list stored as another kind of value is left as it is
// in the store (the built-ins stand in for it until the list is changed), and reported.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "config/colors/color_builtins.h"
#include "config/colors/color_text.h"
#include "storage/values/profile_value2.h"

class ProfileColorsBase : public VProfileStringArray {
 public:
  static constexpr size_t kNotFound = static_cast<size_t>(-1);

  ProfileColorsBase() = default;
  ProfileColorsBase(const ProfileColorsBase&) = default;
  ProfileColorsBase& operator=(const ProfileColorsBase&) = default;
  using VProfileStringArray::operator=;

  // The index of the entry whose first field is `name` exactly; else, when `name` names a
  // built-in in any language, the entry of that built-in under whichever of its names the list
  // keeps; else kNotFound.
  size_t Find(std::u16string_view name) const;
  // The position among the built-ins that `name` names in any language, or nothing.
  virtual std::optional<size_t> BuiltInIndex(std::u16string_view name) const = 0;
  // Whether two names name the same entry: equal, or names of one built-in.
  bool SameEntry(std::u16string_view a, std::u16string_view b) const;
  std::vector<VUnicodeString> GetNames() const;
  size_t GetCount() const { return Current().GetSize(); }
  // The entry string at `index` (the array's OutOfRange for a wrong index).
  const VUnicodeString& GetEntry(size_t index) const { return Current()[index]; }
  // Replaces the entry of the same name (Find), else adds `entry` at the end. A built-in kept
  // under its name of another language keeps that name.
  void SetEntry(const VUnicodeString& entry);
  // False when there is no entry of that name.
  bool RemoveEntry(std::u16string_view name);

  // The list this configuration has when it stores none: the built-ins, after what an older
  // form in `key` (when given) held. A load takes it when the list is absent.
  virtual VStringArray Defaults(const VProfileKey* key) = 0;
  // The built-ins, then the stored list (or what stands for it); true when the list was stored.
  bool LoadList(const VProfileKey* key) {
    Current() = Defaults(nullptr);
    return Load(key);
  }
  // Whether this release can read an entry string.
  virtual bool IsReadableEntry(std::u16string_view entry) const = 0;

  bool Read(const VProfileKey& key) override;
  bool Save(VProfileKey& key, bool force) override;

  // What the last load passed over or kept unread, one catalogue text per warning, each naming
  // the setting or value; empty when there is nothing to say.
  virtual std::vector<VUnicodeString> GetLoadWarnings() const;
  bool StoredAsOtherKind() const { return otherKind_; }

 protected:
  bool otherKind_ = false;
};

class ProfileColorSchemeListV2 : public ProfileColorsBase {
 public:
  // The subkey of the same name in which older releases kept one binary value per scheme.
  static constexpr const char16_t* kOlderSubkey = u"Color Schemes";
  static constexpr size_t kOlderSchemeSize = 68;

  using ProfileColorsBase::operator=;

  std::optional<ColorSchemeEntry> GetScheme(std::u16string_view name) const;
  void SetScheme(const ColorSchemeEntry& scheme) { SetEntry(vcolors::FormatScheme(scheme)); }
  std::optional<size_t> BuiltInIndex(std::u16string_view name) const override {
    return vcolors::BuiltInSchemeIndex(name);
  }
  // Makes every readable scheme that uses palette `from` (under any of its names) use palette
  // `to`; how many changed.
  size_t ReplacePalette(std::u16string_view from, const VUnicodeString& to);

  // The older schemes of `key`'s subkey converted (palette "Standard"), then the built-ins.
  // Older schemes are read only when the list itself is absent.
  VStringArray Defaults(const VProfileKey* key) override;
  bool IsReadableEntry(std::u16string_view entry) const override;
  std::vector<VUnicodeString> GetLoadWarnings() const override;

  // One older binary scheme; nothing unless it has exactly 68 bytes.
  static std::optional<ColorSchemeEntry> FromOlderBinary(const VUnicodeString& name,
                                                         std::string_view bytes);

 private:
  // The older values passed over by the last conversion, with their sizes.
  std::vector<std::pair<VUnicodeString, size_t>> olderSkipped_;
};

class ProfileAnsiPaletteList : public ProfileColorsBase {
 public:
  using ProfileColorsBase::operator=;

  std::optional<AnsiPaletteEntry> GetPalette(std::u16string_view name) const;
  void SetPalette(const AnsiPaletteEntry& palette) { SetEntry(vcolors::FormatPalette(palette)); }
  std::optional<size_t> BuiltInIndex(std::u16string_view name) const override {
    return vcolors::BuiltInPaletteIndex(name);
  }
  // The name of the first entry: the palette used where none is chosen.
  VUnicodeString GetDefaultPaletteName() const;

  VStringArray Defaults(const VProfileKey* key) override;
  bool IsReadableEntry(std::u16string_view entry) const override;
};

namespace vcolors {

// Whether two palette names name the same palette: equal, or names of one built-in.
bool SamePaletteName(std::u16string_view a, std::u16string_view b);

// Deletes palette `name` and makes the schemes that used it, and the current palette when it
// was that one, fall back to the first built-in palette ("Standard"). False when there is no
// such palette.
bool DeletePalette(ProfileAnsiPaletteList& palettes, ProfileColorSchemeListV2& schemes,
                   VUnicodeString& currentPalette, std::u16string_view name);

}  // namespace vcolors
