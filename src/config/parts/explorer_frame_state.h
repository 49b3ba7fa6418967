// The state of an explorer-style frame (a pane that can be shown and sized): a flag and two
// numbers, e.g. "1,-1,200".
#pragma once

#include <cstdint>
#include <string_view>

#include "storage/values/profile_text_state.h"

struct VExplorerFrameStateFields {
  static constexpr const char* kKindName = "frame state";
  static constexpr const char16_t* kForm = u"N,N,N";

  bool flag = false;  // stored as a number; any non-zero number is true
  int32_t number2 = 0;
  int32_t number3 = 0;

  static bool Parse(std::u16string_view text, VExplorerFrameStateFields& state);
  VUnicodeString Format() const;
  bool operator==(const VExplorerFrameStateFields& other) const = default;
};

class VProfileExplorerFrameState : public VProfileTextState<VExplorerFrameStateFields> {
 public:
  using VProfileTextState::VProfileTextState;
};
