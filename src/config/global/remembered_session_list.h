// The sessions to open again at start-up: a list of session paths ("Lab\router1"), one string
// each. The terminal product stores it as "Remembered Sessions List V2"; the file-transfer
// products as "Remembered Sessions List LMB".
//
// Older terminal configurations kept the list in one string, "Remembered Sessions List", with
// the paths separated by "|" (a character no session or folder name may hold). When the V2 list
// is absent that string is converted, and the list is flagged so that the V2 form is written at
// the next save; the older string is left for older programs sharing the folder.
#pragma once

#include "storage/values/profile_value2.h"

class ProfileRememberedSessionList : public VProfileStringArray {
 public:
  static constexpr const char16_t* kOlderName = u"Remembered Sessions List";
  static constexpr char16_t kOlderSeparator = u'|';

  using VProfileStringArray::operator=;

  bool Read(const VProfileKey& key) override;

  // The paths of the older single-string form; blanks around each are dropped, empty ones too.
  static VStringArray FromOlderText(std::u16string_view text);
};
