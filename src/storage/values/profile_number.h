// Settings kept as 32-bit values: flags, counts, colours, enumerations. VProfile<T> holds a T
// (narrowed from the stored 32 bits on reading) with the value last loaded or saved.
#pragma once

#include <climits>
#include <cstdint>
#include <type_traits>

#include "storage/model/profile_data.h"
#include "storage/model/profile_store.h"
#include "storage/values/stored_value.h"

// A setting that a session may fix or leave to the global configuration.
enum VTriState : int32_t { TriStateOff = 0, TriStateOn = 1, TriStateNotSet = 2 };

// What each number type is kept as in memory, its name in listings, the automation type it
// converts to and the range a person may give it.
template <class T>
struct VNumberTraits;

template <>
struct VNumberTraits<bool> {
  using Value = bool;
  static constexpr const char* kName = "bool";
  static constexpr uint16_t kVarType = VT_BOOL;
  static constexpr int64_t kMin = 0, kMax = 1;
  static constexpr int kBits = 1;
};
template <>
struct VNumberTraits<unsigned char> {
  using Value = unsigned char;
  static constexpr const char* kName = "uchar";
  static constexpr uint16_t kVarType = VT_I1;
  static constexpr int64_t kMin = 0, kMax = UCHAR_MAX;
  static constexpr int kBits = 8;
};
template <>
struct VNumberTraits<short> {
  using Value = short;
  static constexpr const char* kName = "short";
  static constexpr uint16_t kVarType = VT_I2;
  static constexpr int64_t kMin = SHRT_MIN, kMax = SHRT_MAX;
  static constexpr int kBits = 16;
};
template <>
struct VNumberTraits<unsigned short> {
  using Value = unsigned short;
  static constexpr const char* kName = "ushort";
  static constexpr uint16_t kVarType = VT_UI2;
  static constexpr int64_t kMin = 0, kMax = USHRT_MAX;
  static constexpr int kBits = 16;
};
template <>
struct VNumberTraits<int> {
  using Value = int32_t;
  static constexpr const char* kName = "int";
  static constexpr uint16_t kVarType = VT_UI4;
  static constexpr int64_t kMin = INT32_MIN, kMax = INT32_MAX;
  static constexpr int kBits = 32;
};
template <>
struct VNumberTraits<unsigned int> {
  using Value = uint32_t;
  static constexpr const char* kName = "uint";
  static constexpr uint16_t kVarType = VT_UI4;
  static constexpr int64_t kMin = 0, kMax = UINT32_MAX;
  static constexpr int kBits = 32;
};
// Windows keeps unsigned long in 32 bits, and so do the files: it stays 32 bits here too.
template <>
struct VNumberTraits<unsigned long> {
  using Value = uint32_t;
  static constexpr const char* kName = "ulong";
  static constexpr uint16_t kVarType = VT_UI4;
  static constexpr int64_t kMin = 0, kMax = UINT32_MAX;
  static constexpr int kBits = 32;
};
template <>
struct VNumberTraits<VTriState> {
  using Value = VTriState;
  static constexpr const char* kName = "tri-state";
  static constexpr uint16_t kVarType = VT_BOOL;
  static constexpr int64_t kMin = 0, kMax = 2;
  static constexpr int kBits = 32;
};

// The 32-bit kind: everything that does not depend on T.
class VProfileDword : public VProfileData {
 public:
  static constexpr int kStoredType = kProfileTypeDword;

 protected:
  // Writes `value` when forced, flagged or changed; clears the flag after a write that reached
  // the key. False (nothing changed) when the key refused the write.
  bool SaveDword(VProfileKey& key, bool force, bool modified, VDword value);
  // Parses `text` as strtol does in `radix`, and requires a digit and a 32-bit result.
  bool ParseNumberText(const VUnicodeString& text, int radix, VDword& value,
                       VReportMessageParams& error) const;
  // An integer, boolean or numeric string of a variant as a 64-bit number.
  static bool VariantNumber(const VVariant& in, int64_t& value);
  // Accepts `number` for a `bits`-wide value that lies within [min, max], either as it is or
  // read as that many bits with the other sign (0xFFFFFFFF for -1); the result is in `value`.
  static bool FitNumber(int64_t number, int64_t min, int64_t max, int bits, int64_t& value);
  bool ConversionFailed(VReportMessageParams& error) const;
  bool SettingTextError(uint32_t id, const VUnicodeString& text, VReportMessageParams& error,
                        std::initializer_list<VUnicodeString> more = {}) const;
};

template <class T>
class VProfile : public VProfileDword {
 public:
  using Traits = VNumberTraits<T>;
  using ValueType = typename Traits::Value;

  ValueType current{};
  ValueType saved{};
  int radix = 0;  // used only when a number is taken from text

  VProfile() = default;
  // Names the value and gives it a default, current and saved alike.
  VProfile(const VUnicodeString& valueName, ValueType defaultValue)
      : current(defaultValue), saved(defaultValue) {
    SetName(valueName);
  }
  VProfile& operator=(ValueType value) {
    current = value;
    return *this;
  }
  operator ValueType() const { return current; }  // NOLINT: used as the value it holds

  static constexpr const char* KindName() { return Traits::kName; }
  // The stored 32 bits narrowed to the value type; a boolean takes any non-zero value as true.
  static ValueType FromDword(VDword stored) {
    if constexpr (std::is_same_v<ValueType, bool>) {
      return stored != 0;
    } else {
      return static_cast<ValueType>(static_cast<int64_t>(stored));
    }
  }
  // Signed values are widened with their sign, as the 32-bit stored form has them.
  static VDword ToDword(ValueType value) {
    return static_cast<VDword>(static_cast<int64_t>(value));
  }

  // Reads the stored value; false (current unchanged) when it is absent.
  bool Read(const VProfileKey& key) {
    VDword stored = 0;
    if (!ReadOwnDword(key, stored)) return false;
    current = FromDword(stored);
    return true;
  }
  // Takes the stored value, or keeps the default and flags it for writing; the result becomes
  // the saved value. True when the value was present.
  bool Load(const VProfileKey* key) {
    writePending = false;
    bool present = key && Read(*key);
    if (!present) writePending = true;
    saved = current;
    return present;
  }

  bool Save(VProfileKey& key, bool force) override {
    if (!SaveDword(key, force, IsModified(), ToDword(current))) return false;
    saved = current;
    return true;
  }
  bool IsModified() const override { return current != saved; }
  void CopyValue(const VProfileData& other) override {
    if (auto* same = dynamic_cast<const VProfile*>(&other)) current = same->current;
  }
  VProfileData* GetMember(int) override { return this; }
  void DoCommit() override {
    if (IsModified()) writePending = true;
    saved = current;
  }
  void DoRevert() override { current = saved; }

  bool LoadFromText(const VUnicodeString& text, IProfileTextConverter* converter,
                    VReportMessageParams& error) override;
  bool ValueToVariant(VVariant& out, VReportMessageParams& error) const override;
  bool ValueFromVariant(const VVariant& in, VReportMessageParams& error) override;

  // ---- what the member tables use ----
  bool GetStoredValue(VStoredValue& value) const {
    value = VStoredValue::Dword(ToDword(current));
    return true;
  }
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error);
  void SetNumber(int64_t value) {
    if constexpr (std::is_same_v<ValueType, bool>) {
      current = value != 0;
    } else {
      current = static_cast<ValueType>(value);
    }
  }
  int64_t GetNumber() const { return static_cast<int64_t>(current); }
  void Clamp(int64_t min, int64_t max) {
    int64_t value = GetNumber();
    if (value < min) SetNumber(min);
    if (value > max) SetNumber(max);
  }

 private:
  void TakeLoaded(ValueType value) {
    current = saved = value;
    writePending = false;
  }
};

// The family is fixed: its members are built once, in profile_number.cpp.
extern template class VProfile<bool>;
extern template class VProfile<unsigned char>;
extern template class VProfile<short>;
extern template class VProfile<unsigned short>;
extern template class VProfile<int>;
extern template class VProfile<unsigned int>;
extern template class VProfile<unsigned long>;
extern template class VProfile<VTriState>;
