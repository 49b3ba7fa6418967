#include "config/keymap/profile_keymap.h"

#include <vector>

#include "config/keymap/keymap_binary.h"
#include "config/keymap/keymap_messages.h"

namespace {

// More than any key map holds; a larger value is not a key map.
constexpr VDword kMaxBinaryKeymap = 16u << 20;

}  // namespace

bool ProfileKeymap::Read(const VProfileKey& key) {
  convertedFrom_ = nullptr;
  blankOlder_ = false;
  if (VProfileOptionalStringArray::Read(key)) {
    Reparse();
    return true;
  }
  // No current value: the newest older form there is becomes the current one.
  VStringArray lines;
  if (key.ReadMultiSz(kOlderLineName, lines) && !lines.IsEmpty()) {
    LoadStrings(lines, true);
    convertedFrom_ = kOlderLineName;
  } else {
    for (const char16_t* name : kOlderBinaryNames) {
      VDword size = 0;
      if (!key.ReadBinary(name, nullptr, size) || size == 0 || size > kMaxBinaryKeymap) continue;
      std::vector<char> bytes(size);
      VDword room = size;
      if (!key.ReadBinary(name, bytes.data(), room)) continue;
      Keymap converted;
      vkeymap::ReadBinaryKeymap(std::string_view(bytes.data(), std::min(room, size)), converted);
      static_cast<Keymap&>(*this) = converted;
      convertedFrom_ = name;
      break;
    }
  }
  if (!convertedFrom_) {
    Keymap::RemoveAll();
    return false;
  }
  Current() = ToStrings();
  blankOlder_ = true;
  this->writePending = true;
  return true;
}

bool ProfileKeymap::Save(VProfileKey& key, bool force) {
  if (!VProfileOptionalStringArray::Save(key, force)) return false;
  if (blankOlder_ && convertedFrom_) {
    // The older value goes only once the current one is in the key.
    bool blanked = convertedFrom_ == kOlderLineName
                       ? key.WriteMultiSz(convertedFrom_, VStringArray())
                       : key.WriteBinary(convertedFrom_, nullptr, 0);
    if (!blanked) return false;
    blankOlder_ = false;
  }
  return true;
}

bool ProfileKeymap::SetFromText(const VUnicodeString& text, VReportMessageParams& error) {
  if (!VProfileOptionalStringArray::SetFromText(text, error)) return false;
  Reparse();
  return true;
}

bool ProfileKeymap::SetFromList(const VStringArray& list, VReportMessageParams& error) {
  if (!VProfileOptionalStringArray::SetFromList(list, error)) return false;
  Reparse();
  return true;
}

void ProfileKeymap::DoRevert() {
  VProfileOptionalStringArray::DoRevert();
  Reparse();
}

void ProfileKeymap::Add(const KeyMapping& mapping) {
  Keymap::Add(mapping);
  StoreMappings();
}

void ProfileKeymap::SetAt(size_t index, const KeyMapping& mapping) {
  Keymap::SetAt(index, mapping);
  StoreMappings();
}

void ProfileKeymap::RemoveAt(size_t index) {
  Keymap::RemoveAt(index);
  StoreMappings();
}

void ProfileKeymap::RemoveAll() {
  Keymap::RemoveAll();
  StoreMappings();
}

void ProfileKeymap::Reparse() { LoadStrings(Current(), false); }

void ProfileKeymap::StoreMappings() { Current() = ToStrings(); }

bool ProfileKeymap::GetLoadReport(VReportMessageParams& report) const {
  if (GetLoadErrors().empty()) return false;
  VUnicodeString list;
  for (const KeymapLineError& error : GetLoadErrors()) {
    if (!list.empty()) list += u"\n";
    list += error.text;
  }
  report.Reset(kMsgKeymapSettingErrors);
  report.AddInsert(GetName());
  report.AddInsert(list);
  return true;
}
