// The storage kind of byte blocks: fixed structures (fonts, placements, margins, colour tables)
// kept as their little-endian bytes. A stored block longer than the structure is refused, a
// shorter one fills its beginning and leaves the rest as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/model/profile_data.h"
#include "storage/model/profile_store.h"
#include "storage/values/setting_text.h"
#include "storage/values/stored_value.h"

class VProfileBinary : public VProfileData {
 public:
  static constexpr int kStoredType = kProfileTypeBinary;

 protected:
  // Reads the block `valueName` over the first bytes of `bytes` (`size` of them at most).
  static bool ReadBlock(const VProfileKey& key, const VUnicodeString& valueName, uint8_t* bytes,
                        VDword size);

  template <class S>
  bool ReadAs(const VProfileKey& key, S& value) {
    uint8_t bytes[S::kStoredSize];
    value.ToBytes(bytes);
    if (!ReadBlock(key, GetName(), bytes, S::kStoredSize)) return false;
    value.FromBytes(bytes);
    return true;
  }
  template <class S>
  bool WriteAs(VProfileKey& key, const S& value) {
    uint8_t bytes[S::kStoredSize];
    value.ToBytes(bytes);
    return key.WriteBinary(GetName().c_str(), bytes, S::kStoredSize);
  }
  template <class S>
  bool StoredValueOf(const S& value, VStoredValue& out) const {
    std::vector<uint8_t> bytes(S::kStoredSize);
    value.ToBytes(bytes.data());
    out = VStoredValue::Binary(std::move(bytes));
    return true;
  }
  // The structure's bytes in hexadecimal, exactly as many as it has.
  template <class S>
  bool TextToValue(const VUnicodeString& text, S& value, VReportMessageParams& error) const {
    std::vector<uint8_t> bytes;
    if (!VParseSettingBytes(text, bytes) || bytes.size() != S::kStoredSize) {
      VSettingError(error, kMsgSettingFixedBytes, GetName(), &text,
                    {U8(std::to_string(S::kStoredSize))});
      return false;
    }
    value.FromBytes(bytes.data());
    return true;
  }
  template <class S>
  bool LoadedTextToValue(const VUnicodeString&, IProfileTextConverter*, S&,
                         VReportMessageParams& error) const {
    return NotSupported(error);
  }
  template <class S>
  bool ValueToVariantAs(const S&, VVariant&, VReportMessageParams& error) const {
    return NotSupported(error);
  }
  template <class S>
  bool VariantToValue(const VVariant&, S&, VReportMessageParams& error) const {
    return NotSupported(error);
  }
};
