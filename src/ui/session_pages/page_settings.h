// A page's own copy of the session settings it edits, named by their stored names: read from the
// session when the page opens, changed by the controls, and written back only when the dialog
// saves, and then only the settings the page changed, so two pages showing one setting cannot
// undo each other's edit.
#pragma once

#include <map>
#include <string>
#include <variant>

#include "platform/unicode_string.h"
#include "storage/values/profile_number.h"

class SessionConfig;

// bool for on/off settings, int for numbers, VTriState for settings that may follow the global
// options, text for strings, paths and secrets (as plaintext).
using PageValue = std::variant<bool, int, VTriState, VUnicodeString>;

class PageSettings {
 public:
  // Reads `name` from `session` (its own settings, the terminal part, then the protocol parts).
  // False when the session has no such setting or it is of a kind a page cannot edit.
  bool Read(SessionConfig& session, std::u16string_view name);
  // Writes every value that differs from what Read found; false (and the names in `failed`)
  // when one could not be written.
  bool Write(SessionConfig& session, std::u16string* failed = nullptr) const;
  // Whether anything differs from what was read.
  bool IsChanged() const;
  bool IsChanged(std::u16string_view name) const;

  bool Has(std::u16string_view name) const { return values_.count(Key(name)) != 0; }
  bool GetBool(std::u16string_view name) const;
  int GetInt(std::u16string_view name) const;
  VTriState GetTriState(std::u16string_view name) const;
  VUnicodeString GetText(std::u16string_view name) const;
  // Sets a value of the kind the setting was read as (a bool into an int setting is 0 or 1).
  void Set(std::u16string_view name, const PageValue& value);
  const PageValue* Find(std::u16string_view name) const;

 private:
  struct Entry {
    PageValue read;
    PageValue value;
  };
  static std::u16string Key(std::u16string_view name) { return std::u16string(name); }
  std::map<std::u16string, Entry> values_;
};

// The value of one setting of `session` as a page holds it; false as for PageSettings::Read.
bool ReadSessionSetting(SessionConfig& session, std::u16string_view name, PageValue& value);
// Stores `value` into the setting (converted to its kind); false when it cannot be.
bool WriteSessionSetting(SessionConfig& session, std::u16string_view name, const PageValue& value);
