// Time stamps kept as text: year:month:day:hour:minute:second:milliseconds.
#pragma once

#include "storage/values/file_time.h"
#include "storage/values/profile_value2.h"

// The storage kind: a string that holds a time. Text that is not a valid time counts as absent.
class VProfileTimeSz : public VProfileSz {
 protected:
  bool ReadAs(const VProfileKey& key, VFileTime& value);
  // False, writing nothing, for a time that has no text form (after the last storable year).
  bool WriteAs(VProfileKey& key, const VFileTime& value);
  bool StoredValueOf(const VFileTime& value, VStoredValue& out) const;
  bool TextToValue(const VUnicodeString& text, VFileTime& value, VReportMessageParams& error) const;
  bool LoadedTextToValue(const VUnicodeString&, IProfileTextConverter*, VFileTime&,
                         VReportMessageParams& error) const {
    return NotSupported(error);
  }
  bool ValueToVariantAs(const VFileTime&, VVariant&, VReportMessageParams& error) const {
    return NotSupported(error);
  }
  bool VariantToValue(const VVariant&, VFileTime&, VReportMessageParams& error) const {
    return NotSupported(error);
  }
};

class VProfileTime : public VProfile2<VFileTime, VProfileTimeSz> {
 public:
  using VProfile2::VProfile2;
  using VProfile2::operator=;
};
