// The state of a list view (column order, widths, sorting) as the host's views store it: five
// header numbers, then three numbers per column, all separated by commas, e.g. "1,0,3,0,1,0,1,120".
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "storage/values/profile_text_state.h"

struct VListViewColumnInfo {
  int32_t first = 0;  // the column's first 32-bit field
  uint8_t flag = 0;   // its 8-bit flag
  int32_t last = 0;   // its last 32-bit field
  bool operator==(const VListViewColumnInfo& other) const = default;
};

struct VListViewStateFields {
  static constexpr const char* kKindName = "list state";
  static constexpr const char16_t* kForm = u"N,N,N,N,N[,N,N,N]...";

  // The header's meaning belongs to the view that writes it; the third number is unsigned.
  int32_t number1 = 0;
  int32_t number2 = 0;
  uint32_t number3 = 0;
  int32_t number4 = 0;
  int32_t number5 = 0;
  std::vector<VListViewColumnInfo> columns;

  static bool Parse(std::u16string_view text, VListViewStateFields& state);
  VUnicodeString Format() const;
  bool operator==(const VListViewStateFields& other) const = default;
};

class VProfileListViewState : public VProfileTextState<VListViewStateFields> {
 public:
  using ColumnInfo = VListViewColumnInfo;
  using VProfileTextState::VProfileTextState;
};
