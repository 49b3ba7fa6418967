// A byte block of any length (toolbar layouts and similar data that only its owner reads).
#pragma once

#include <cstdint>
#include <vector>

#include "storage/values/profile_binary.h"

class VProfileBlob : public VProfileBinary {
 public:
  std::vector<uint8_t> current;
  std::vector<uint8_t> saved;

  VProfileBlob() = default;
  explicit VProfileBlob(const VUnicodeString& valueName) { SetName(valueName); }

  static constexpr const char* KindName() { return "blob"; }

  bool Read(const VProfileKey& key);
  bool Load(const VProfileKey* key);

  // A block of length 0 is never written. When the value held bytes in the store and is now
  // empty, the stored block is deleted instead, so that the old bytes do not come back at the
  // next load.
  bool Save(VProfileKey& key, bool force) override;
  bool IsModified() const override { return current != saved; }
  void CopyValue(const VProfileData& other) override;
  VProfileData* GetMember(int) override { return this; }
  void DoCommit() override;
  void DoRevert() override { current = saved; }

  // ---- what the member tables use ----
  bool GetStoredValue(VStoredValue& value) const;  // false when empty: nothing is written
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error);

 private:
  bool inStore_ = false;  // the store holds a non-empty block of ours, as far as we know
};
