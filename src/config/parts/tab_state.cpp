#include "config/parts/tab_state.h"

#include <string>

bool VTabStateFields::Parse(std::u16string_view text, VTabStateFields& state) {
  VTabStateFields parsed;
  size_t pos = 0;
  if (!vscan::Int(text, pos, parsed.number1) || !vscan::Char(text, pos, u',') ||
      !vscan::Int(text, pos, parsed.number2) || !vscan::Char(text, pos, u',') ||
      !vscan::Int(text, pos, parsed.number3))
    return false;
  if (pos < text.size()) {
    if (!vscan::Char(text, pos, u';')) return false;
    while (pos < text.size()) {
      if (!parsed.items.empty() && !vscan::Char(text, pos, u',')) return false;
      int32_t item = 0;
      if (!vscan::Int(text, pos, item)) return false;
      parsed.items.push_back(item);
    }
  }
  state = std::move(parsed);
  return true;
}

VUnicodeString VTabStateFields::Format() const {
  std::string text = std::to_string(number1) + ',' + std::to_string(number2) + ',' +
                     std::to_string(number3) + ';';
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) text += ',';
    text += std::to_string(items[i]);
  }
  return U8(text);
}
