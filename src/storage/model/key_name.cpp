#include "storage/model/key_name.h"

#include <array>

#include "platform/win32_errors.h"

namespace {

constexpr std::array<std::u16string_view, 23> kReservedNames = {
    u"CON",  u"PRN",  u"AUX",  u"NUL",  u"COM1", u"COM2", u"COM3", u"COM4",
    u"COM5", u"COM6", u"COM7", u"COM8", u"COM9", u"LPT1", u"LPT2", u"LPT3",
    u"LPT4", u"LPT5", u"LPT6", u"LPT7", u"LPT8", u"LPT9", u"CLOCK$"};

constexpr std::u16string_view kIllegalCharacters = u"\\/:*?\"<>|";

}  // namespace

bool IsReservedDeviceName(std::u16string_view name) {
  for (std::u16string_view reserved : kReservedNames) {
    if (name.size() < reserved.size()) continue;
    if (!vtext::EqualsNoCase(name.substr(0, reserved.size()), reserved)) continue;
    if (name.size() == reserved.size() || name[reserved.size()] == u'.') return true;
  }
  return false;
}

bool ValidateKeyName(const char16_t* existingName, const char16_t* newName, bool isNew,
                     const char16_t* kindWord, bool alreadyExists, VReportMessageParams& error) {
  std::u16string_view name(newName ? newName : u"");
  const char16_t* kind = kindWord ? kindWord : u"";
  if (name.empty()) {
    error.Reset(kMsgNameMustBeSpecified);
    error.AddInsert(kind);
    return false;
  }
  for (char16_t illegal : kIllegalCharacters) {
    if (name.find(illegal) != std::u16string_view::npos) {
      const char16_t character[2] = {illegal, 0};
      error.Reset(kMsgNameIllegalCharacter);
      error.AddInsert(kind);
      error.AddInsert(character);
      return false;
    }
  }
  if (IsReservedDeviceName(name)) {
    error.Reset(kMsgNameReservedDevice);
    error.AddInsert(VUnicodeString(name));
    error.AddInsert(kind);
    return false;
  }
  if (alreadyExists) {
    bool renamingToItself =
        !isNew && existingName && vtext::EqualsNoCase(name, std::u16string_view(existingName));
    if (!renamingToItself) {
      error.Reset(kMsgNameAlreadyExists);
      error.AddInsert(kind);
      error.AddInsert(VUnicodeString(name));
      return false;
    }
  }
  return true;
}

bool StoreAcceptsKeyName(const VProfileKey& parent, const char16_t* name,
                         VReportMessageParams& error) {
  VReportMessageParams* refused = nullptr;
  bool accepted = parent.ValidateSubKeyName(name, &refused);
  if (!accepted) {
    if (refused) error = *refused;
    else error.Reset(win32::kInvalidName);
  }
  if (refused) refused->Release();
  return accepted;
}
