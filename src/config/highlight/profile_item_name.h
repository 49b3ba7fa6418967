// A setting that names an item kept elsewhere (a session's keyword list, its colour scheme). A
// stored value of another kind than text cannot be the name, and is not this release's to
// replace unasked: it is kept as stored, reported, and written over only when the setting is
// set.
#pragma once

#include "storage/values/profile_values.h"

class ProfileItemName : public VProfileString {
 public:
  using VProfileString::VProfileString;
  using VProfileString::operator=;

  // The stored value, or the default; a value of another kind leaves nothing to write.
  bool Load(const VProfileKey* key);
  bool Read(const VProfileKey& key) override;
  bool Save(VProfileKey& key, bool force) override;
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) override;

  // The last load found the value stored as another kind, kept as it is.
  bool StoredAsOtherKind() const { return otherKind_; }

 private:
  bool otherKind_ = false;
};
