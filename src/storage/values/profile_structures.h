// Settings holding fixed structures kept as byte blocks: window placements, fonts (with the
// fallback to the older font form), page margins and colour tables.
#pragma once

#include "storage/values/profile_value2.h"
#include "storage/values/stored_structures.h"

class VProfileWindowPlacement : public VProfile2<VWindowPlacement, VProfileBinary> {
 public:
  using VProfile2::VProfile2;
  using VProfile2::operator=;
};

// A font. When the value is missing and its name has the " v2" of the current form ("Normal
// Font v2"), the older 64-byte value under the name without it ("Normal Font") is taken, its
// face name widened; the value is then flagged so that the current form is written at the next
// save. The older value is left as it is, for older programs sharing the folder.
class VProfileLogFont : public VProfile2<VLogFont, VProfileBinary> {
 public:
  using VProfile2::VProfile2;
  using VProfile2::operator=;

  bool Read(const VProfileKey& key) override;
};

using VProfileMargins = VProfile2<VMarginData, VProfileBinary>;
using VProfileCustomColors = VProfile2<CustomColors, VProfileBinary>;
using VProfileColorScheme = VProfile2<ColorScheme, VProfileBinary>;
