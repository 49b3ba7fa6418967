#include "ui/session_pages/page_settings.h"

#include "config/session/session_config.h"

namespace {

// The number settings a page edits; every other number kind is left to its own editor.
template <class T>
bool ReadNumber(VProfileData* data, PageValue& value) {
  auto* number = dynamic_cast<VProfile<T>*>(data);
  if (!number) return false;
  if constexpr (std::is_same_v<T, bool>) {
    value = static_cast<bool>(number->current);
  } else if constexpr (std::is_same_v<T, VTriState>) {
    value = static_cast<VTriState>(number->current);
  } else {
    value = static_cast<int>(number->current);
  }
  return true;
}

int AsInt(const PageValue& value) {
  if (auto* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  if (auto* i = std::get_if<int>(&value)) return *i;
  if (auto* t = std::get_if<VTriState>(&value)) return static_cast<int>(*t);
  return 0;
}

template <class T>
bool WriteNumber(VProfileData* data, const PageValue& value) {
  auto* number = dynamic_cast<VProfile<T>*>(data);
  if (!number) return false;
  number->SetNumber(AsInt(value));
  return true;
}

}  // namespace

bool ReadSessionSetting(SessionConfig& session, std::u16string_view name, PageValue& value) {
  VProfileData* data = session.FindSetting(name);
  if (!data) return false;
  if (ReadNumber<bool>(data, value) || ReadNumber<VTriState>(data, value) ||
      ReadNumber<int>(data, value) || ReadNumber<short>(data, value) ||
      ReadNumber<unsigned int>(data, value))
    return true;
  if (auto* text = dynamic_cast<VProfileString*>(data)) {
    value = VUnicodeString(text->Current());
    return true;
  }
  if (auto* secret = dynamic_cast<VProfileEncryptedString*>(data)) {
    value = secret->GetPlaintext();
    return true;
  }
  return false;
}

bool WriteSessionSetting(SessionConfig& session, std::u16string_view name, const PageValue& value) {
  VProfileData* data = session.FindSetting(name);
  if (!data) return false;
  if (WriteNumber<bool>(data, value) || WriteNumber<VTriState>(data, value) ||
      WriteNumber<int>(data, value) || WriteNumber<short>(data, value) ||
      WriteNumber<unsigned int>(data, value))
    return true;
  const auto* text = std::get_if<VUnicodeString>(&value);
  if (!text) return false;
  if (auto* string = dynamic_cast<VProfileString*>(data)) {
    string->Current() = *text;
    return true;
  }
  if (auto* secret = dynamic_cast<VProfileEncryptedString*>(data)) return secret->SetPlaintext(*text);
  return false;
}

bool PageSettings::Read(SessionConfig& session, std::u16string_view name) {
  PageValue value;
  if (!ReadSessionSetting(session, name, value)) return false;
  values_[Key(name)] = Entry{value, value};
  return true;
}

bool PageSettings::Write(SessionConfig& session, std::u16string* failed) const {
  bool ok = true;
  for (const auto& [name, entry] : values_) {
    if (entry.value == entry.read) continue;
    if (!WriteSessionSetting(session, name, entry.value)) {
      ok = false;
      if (failed) {
        if (!failed->empty()) *failed += u", ";
        *failed += name;
      }
    }
  }
  return ok;
}

bool PageSettings::IsChanged() const {
  for (const auto& [name, entry] : values_)
    if (!(entry.value == entry.read)) return true;
  return false;
}

bool PageSettings::IsChanged(std::u16string_view name) const {
  auto it = values_.find(Key(name));
  return it != values_.end() && !(it->second.value == it->second.read);
}

const PageValue* PageSettings::Find(std::u16string_view name) const {
  auto it = values_.find(Key(name));
  return it == values_.end() ? nullptr : &it->second.value;
}

bool PageSettings::GetBool(std::u16string_view name) const {
  const PageValue* value = Find(name);
  return value && AsInt(*value) != 0;
}

int PageSettings::GetInt(std::u16string_view name) const {
  const PageValue* value = Find(name);
  return value ? AsInt(*value) : 0;
}

VTriState PageSettings::GetTriState(std::u16string_view name) const {
  const PageValue* value = Find(name);
  if (!value) return TriStateNotSet;
  if (auto* t = std::get_if<VTriState>(value)) return *t;
  return AsInt(*value) ? TriStateOn : TriStateOff;
}

VUnicodeString PageSettings::GetText(std::u16string_view name) const {
  const PageValue* value = Find(name);
  if (!value) return VUnicodeString();
  if (auto* text = std::get_if<VUnicodeString>(value)) return *text;
  return VUnicodeString();
}

void PageSettings::Set(std::u16string_view name, const PageValue& value) {
  auto it = values_.find(Key(name));
  if (it == values_.end()) return;  // a setting the page never read is not written
  PageValue& held = it->second.value;
  if (std::holds_alternative<VUnicodeString>(held)) {
    if (auto* text = std::get_if<VUnicodeString>(&value)) held = *text;
  } else if (std::holds_alternative<bool>(held)) {
    held = AsInt(value) != 0;
  } else if (std::holds_alternative<VTriState>(held)) {
    held = static_cast<VTriState>(AsInt(value));
  } else if (!std::holds_alternative<VUnicodeString>(value)) {
    held = AsInt(value);
  }
}
