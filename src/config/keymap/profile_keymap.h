// A session's own key map, stored in the session's key as a multi-string value ("Keymap v4"), one
// string per mapping in the line format. The stored strings stay as they were read until the key
// map is changed, so that a line this release cannot read is written back untouched. Sessions
// saved before the line format are converted when "Keymap v4" is missing: "Keymap v3" (lines
// whose send strings had single backslashes before "\r\n"), then the binary "Keymap v2" and
// "Keymap"; the older value is blanked when the converted one is saved.
#pragma once

#include "config/keymap/keymap.h"
#include "config/parts/optional_list.h"

class ProfileKeymap : public VProfileOptionalStringArray, public Keymap {
 public:
  static constexpr const char16_t* kOlderLineName = u"Keymap v3";
  static constexpr const char16_t* kOlderBinaryNames[] = {u"Keymap v2", u"Keymap"};

  ProfileKeymap() = default;
  ProfileKeymap(const ProfileKeymap&) = default;
  ProfileKeymap& operator=(const ProfileKeymap&) = default;

  // Both bases have a Load and a Save: the setting's (a key) and the key map file's (a name).
  using VProfileOptionalStringArray::Load;
  using Keymap::Load;
  using VProfileOptionalStringArray::Save;
  using Keymap::Save;
  using VProfileOptionalStringArray::KindName;
  using VProfileOptionalStringArray::kStoredType;

  bool Read(const VProfileKey& key) override;
  bool Save(VProfileKey& key, bool force) override;
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) override;
  bool SetFromList(const VStringArray& list, VReportMessageParams& error);
  void DoRevert() override;

  // Changes to the mappings rewrite the stored strings.
  void Add(const KeyMapping& mapping) override;
  void SetAt(size_t index, const KeyMapping& mapping) override;
  void RemoveAt(size_t index) override;
  void RemoveAll() override;
  using Keymap::GetCount;

  // The older value the mappings were converted from at the last load, or null.
  const char16_t* ConvertedFrom() const { return convertedFrom_; }
  // The lines of the stored value that could not be read, as a warning naming the setting; false
  // when every line was read.
  bool GetLoadReport(VReportMessageParams& report) const;

 private:
  void Reparse();
  void StoreMappings();

  const char16_t* convertedFrom_ = nullptr;
  bool blankOlder_ = false;
};
