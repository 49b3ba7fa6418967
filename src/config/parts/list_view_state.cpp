#include "config/parts/list_view_state.h"

#include <string>

bool VListViewStateFields::Parse(std::u16string_view text, VListViewStateFields& state) {
  VListViewStateFields parsed;
  size_t pos = 0;
  if (!vscan::Int(text, pos, parsed.number1) || !vscan::Char(text, pos, u',') ||
      !vscan::Int(text, pos, parsed.number2) || !vscan::Char(text, pos, u',') ||
      !vscan::Unsigned(text, pos, parsed.number3) || !vscan::Char(text, pos, u',') ||
      !vscan::Int(text, pos, parsed.number4) || !vscan::Char(text, pos, u',') ||
      !vscan::Int(text, pos, parsed.number5))
    return false;
  while (pos < text.size()) {
    VListViewColumnInfo column;
    int64_t flag = 0;
    if (!vscan::Char(text, pos, u',') || !vscan::Int(text, pos, column.first) ||
        !vscan::Char(text, pos, u',') || !vscan::Number(text, pos, 0, UINT8_MAX, flag) ||
        !vscan::Char(text, pos, u',') || !vscan::Int(text, pos, column.last))
      return false;
    column.flag = static_cast<uint8_t>(flag);
    parsed.columns.push_back(column);
  }
  state = std::move(parsed);
  return true;
}

VUnicodeString VListViewStateFields::Format() const {
  std::string text = std::to_string(number1) + ',' + std::to_string(number2) + ',' +
                     std::to_string(number3) + ',' + std::to_string(number4) + ',' +
                     std::to_string(number5);
  for (const auto& column : columns) {
    text += ',' + std::to_string(column.first) + ',' + std::to_string(column.flag) + ',' +
            std::to_string(column.last);
  }
  return U8(text);
}
