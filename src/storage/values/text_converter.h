// The converter that LoadFromText uses when the caller brings none: booleans as 0, 1, true or
// false, and no string conversion of its own (so strings take the text as it is).
#pragma once

#include "storage/model/profile_data.h"

class VDefaultTextConverter : public IProfileTextConverter {
 public:
  bool ToBool(const VUnicodeString& text, bool& value, VReportMessageParams& error) override;
  bool ToString(const VUnicodeString& text, VUnicodeString& value,
                VReportMessageParams& error) override;

  static VDefaultTextConverter& Instance();
};
