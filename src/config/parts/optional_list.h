// A list setting that is written only once it exists: absent from the key, it stays absent
// through saves (a forced one too) until something is put in it. Used where the mere presence
// of an empty value would hide an older form that a later release still converts.
#pragma once

#include "storage/values/profile_value2.h"

class VProfileOptionalStringArray : public VProfileStringArray {
 public:
  bool Read(const VProfileKey& key) override {
    present_ = VProfileStringArray::Read(key);
    return present_;
  }
  bool Save(VProfileKey& key, bool force) override {
    if (!present_ && Current().IsEmpty() && saved.IsEmpty()) {
      writePending = false;
      return true;
    }
    if (!VProfileStringArray::Save(key, force)) return false;
    present_ = true;
    return true;
  }
  bool GetStoredValue(VStoredValue& value) const override {
    if (!present_ && Current().IsEmpty()) return false;
    return VProfileStringArray::GetStoredValue(value);
  }
  bool IsPresent() const { return present_; }

 private:
  bool present_ = false;
};
