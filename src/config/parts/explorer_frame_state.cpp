#include "config/parts/explorer_frame_state.h"

#include <string>

bool VExplorerFrameStateFields::Parse(std::u16string_view text,
                                      VExplorerFrameStateFields& state) {
  VExplorerFrameStateFields parsed;
  int32_t flag = 0;
  size_t pos = 0;
  if (!vscan::Int(text, pos, flag) || !vscan::Char(text, pos, u',') ||
      !vscan::Int(text, pos, parsed.number2) || !vscan::Char(text, pos, u',') ||
      !vscan::Int(text, pos, parsed.number3) || pos != text.size())
    return false;
  parsed.flag = flag != 0;
  state = parsed;
  return true;
}

VUnicodeString VExplorerFrameStateFields::Format() const {
  return U8(std::to_string(flag ? 1 : 0) + ',' + std::to_string(number2) + ',' +
            std::to_string(number3));
}
