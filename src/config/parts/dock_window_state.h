// Where a dockable window (the session manager) was and whether it was shown, kept as a short
// text of numbers: shown, floating, the docked side, the docked size, then the floating frame's
// left, top, right and bottom. "1,0,0,0,0,0,0,0" is a shown window docked on the left at the
// size the host picks.
#pragma once

#include <cstdint>
#include <string_view>

#include "storage/values/profile_text_state.h"

struct VDockWindowStateFields {
  static constexpr const char* kKindName = "dock state";
  static constexpr const char16_t* kForm = u"N,N,N,N,N,N,N,N";

  enum Side : int32_t { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };

  bool visible = true;  // stored as a number; any non-zero number is true
  bool floating = false;
  int32_t side = kLeft;  // 0..3
  int32_t size = 0;      // width or height of the docked window; 0 lets the host choose
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  static bool Parse(std::u16string_view text, VDockWindowStateFields& state);
  VUnicodeString Format() const;
  bool operator==(const VDockWindowStateFields& other) const = default;
};

class ProfileDockWindowState : public VProfileTextState<VDockWindowStateFields> {
 public:
  using VProfileTextState::VProfileTextState;
};
