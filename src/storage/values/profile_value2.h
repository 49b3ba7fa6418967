// VProfile2<T, Storage>: a setting whose value is a T kept by the storage kind Storage (strings,
// lists, fixed structures, times). The object is itself the current T, usable wherever a T is;
// `saved` is the value last loaded or saved.
#pragma once

#include <type_traits>
#include <utility>

#include "storage/values/profile_binary.h"
#include "storage/values/profile_sz.h"

// The name of a value type in listings.
template <class T>
struct VValueKindName {
  static constexpr const char* kName = T::kKindName;
};
template <>
struct VValueKindName<VUnicodeString> {
  static constexpr const char* kName = "string";
};
template <>
struct VValueKindName<VStringArray> {
  static constexpr const char* kName = "string array";
};

template <class T, class Storage>
class VProfile2 : public Storage, public T {
 public:
  using ValueType = T;
  using StorageType = Storage;

  T saved{};

  VProfile2() : T() {}
  // Names the value and gives it a default, current and saved alike.
  VProfile2(const VUnicodeString& valueName, const T& defaultValue)
      : T(defaultValue), saved(defaultValue) {
    this->SetName(valueName);
  }
  VProfile2(const VProfile2&) = default;
  VProfile2& operator=(const VProfile2&) = default;
  VProfile2& operator=(const T& value) {
    Current() = value;
    return *this;
  }

  T& Current() { return *this; }
  const T& Current() const { return *this; }
  static constexpr const char* KindName() { return VValueKindName<T>::kName; }

  // Reads the stored value; false (current unchanged) when it is absent or unusable.
  virtual bool Read(const VProfileKey& key) {
    if constexpr (std::is_same_v<T, VUnicodeString> && std::is_same_v<Storage, VProfileSz>) {
      // A string is read straight into the value held, whose buffer the text then reuses: the
      // reads of strings set it only when they have one to give.
      return this->ReadAs(key, Current());
    } else {
      T value = Current();
      if (!this->ReadAs(key, value)) return false;
      Current() = std::move(value);
      return true;
    }
  }
  // Takes the stored value, or keeps the default and flags it for writing; the result becomes
  // the saved value. True when the value was present. (A Read that took an older form of the
  // value flags it itself, so that the current form is written at the next save.)
  bool Load(const VProfileKey* key) {
    this->writePending = false;
    bool present = key && Read(*key);
    if (!present) this->writePending = true;
    saved = Current();
    return present;
  }

  bool Save(VProfileKey& key, bool force) override {
    if (force || this->writePending || IsModified()) {
      if (!this->WriteAs(key, Current())) return false;
    }
    this->writePending = false;
    saved = Current();
    return true;
  }
  bool IsModified() const override { return !(Current() == saved); }
  void CopyValue(const VProfileData& other) override {
    if constexpr (std::is_base_of_v<VUnicodeString, T> && std::is_base_of_v<VProfileSz, Storage>) {
      // Any string setting will do, whatever class of string it holds.
      if (!dynamic_cast<const VProfileSz*>(&other)) return;
      if (auto* text = dynamic_cast<const VUnicodeString*>(&other))
        static_cast<VUnicodeString&>(Current()) = *text;
    } else {
      if (auto* same = dynamic_cast<const VProfile2*>(&other)) Current() = same->Current();
    }
  }
  VProfileData* GetMember(int) override { return this; }
  void DoCommit() override {
    if (IsModified()) this->writePending = true;
    saved = Current();
  }
  void DoRevert() override { Current() = saved; }

  bool LoadFromText(const VUnicodeString& text, IProfileTextConverter* converter,
                    VReportMessageParams& error) override {
    T value = Current();
    if (!this->LoadedTextToValue(text, converter, value, error)) return false;
    Current() = std::move(value);
    saved = Current();
    this->writePending = false;
    return true;
  }
  bool ValueToVariant(VVariant& out, VReportMessageParams& error) const override {
    return this->ValueToVariantAs(Current(), out, error);
  }
  bool ValueFromVariant(const VVariant& in, VReportMessageParams& error) override {
    T value = Current();
    if (!this->VariantToValue(in, value, error)) return false;
    Current() = std::move(value);
    return true;
  }

  // ---- what the member tables use ----
  // The value a save would write; false when a save would write nothing.
  virtual bool GetStoredValue(VStoredValue& value) const {
    return this->StoredValueOf(Current(), value);
  }
  // Takes a value given by a person; false with a message naming the setting when the text
  // does not fit.
  virtual bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) {
    T value = Current();
    if (!this->TextToValue(text, value, error)) return false;
    Current() = std::move(value);
    return true;
  }
  bool SetFromList(const VStringArray& list, VReportMessageParams&)
    requires std::is_same_v<T, VStringArray>
  {
    Current() = list;
    return true;
  }
};

using VProfileString = VProfile2<VUnicodeString, VProfileSz>;
using VProfileStringArray = VProfile2<VStringArray, VProfileMultiSz>;
