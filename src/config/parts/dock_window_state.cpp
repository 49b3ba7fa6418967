#include "config/parts/dock_window_state.h"

#include <string>

bool VDockWindowStateFields::Parse(std::u16string_view text, VDockWindowStateFields& state) {
  int32_t numbers[8] = {};
  size_t pos = 0;
  for (size_t i = 0; i < 8; ++i) {
    if (i && !vscan::Char(text, pos, u',')) return false;
    if (!vscan::Int(text, pos, numbers[i])) return false;
  }
  if (pos != text.size()) return false;
  if (numbers[2] < kLeft || numbers[2] > kBottom) return false;
  VDockWindowStateFields parsed;
  parsed.visible = numbers[0] != 0;
  parsed.floating = numbers[1] != 0;
  parsed.side = numbers[2];
  parsed.size = numbers[3];
  parsed.left = numbers[4];
  parsed.top = numbers[5];
  parsed.right = numbers[6];
  parsed.bottom = numbers[7];
  state = parsed;
  return true;
}

VUnicodeString VDockWindowStateFields::Format() const {
  std::string text;
  for (int32_t number : {int32_t{visible}, int32_t{floating}, side, size, left, top, right, bottom}) {
    if (!text.empty()) text += ',';
    text += std::to_string(number);
  }
  return U8(text);
}
