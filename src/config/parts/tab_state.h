// The state of a tab bar: three numbers, a semicolon, then a list of numbers separated by
// commas, e.g. "1,1,0;" (an empty list) or "1,1,0;0,2". A text of the three numbers alone (no
// semicolon) is read as having an empty list.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "storage/values/profile_text_state.h"

struct VTabStateFields {
  static constexpr const char* kKindName = "tab state";
  static constexpr const char16_t* kForm = u"N,N,N;[N[,N]...]";

  int32_t number1 = 0;
  int32_t number2 = 0;
  int32_t number3 = 0;
  std::vector<int32_t> items;

  static bool Parse(std::u16string_view text, VTabStateFields& state);
  VUnicodeString Format() const;
  bool operator==(const VTabStateFields& other) const = default;
};

class VProfileTabState : public VProfileTextState<VTabStateFields> {
 public:
  using VProfileTextState::VProfileTextState;
};
