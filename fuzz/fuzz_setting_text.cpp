// Settings typed by a person on the command line: numbers, booleans and bytes must be refused or
// read as values that print back to the same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "storage/values/profile_multi_line.h"
#include "storage/values/setting_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text =
      vtext::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  struct Range {
    int64_t min, max;
    int bits;
  };
  for (Range range : {Range{0, 255, 8}, Range{-32768, 32767, 16}, Range{INT32_MIN, INT32_MAX, 32},
                      Range{0, UINT32_MAX, 32}, Range{0, 2, 32}}) {
    int64_t value = 0;
    if (!VParseSettingNumber(text, range.min, range.max, range.bits, value)) continue;
    if (value < range.min || value > range.max) abort();
    int64_t again = 0;
    if (!VParseSettingNumber(vtext::FromUtf8(std::to_string(value)), range.min, range.max,
                             range.bits, again) ||
        again != value)
      abort();
  }
  bool flag = false;
  VParseSettingBool(text, flag);
  std::vector<uint8_t> bytes;
  if (VParseSettingBytes(text, bytes)) {
    std::vector<uint8_t> again;
    if (!VParseSettingBytes(VFormatSettingBytes(bytes.data(), bytes.size()), again) ||
        again != bytes)
      abort();
  }
  // A multi-line text splits into lines without line breaks, and joins back to the same lines.
  VProfileMultiLineString lines;
  lines.SetText(text);
  for (const auto& line : lines.Current()) {
    if (line.find_first_of(u"\r\n") != std::u16string::npos) abort();
  }
  VProfileMultiLineString again;
  again.SetText(lines.GetText());
  if (!(again.Current() == lines.Current()) && !lines.Current().IsEmpty()) {
    // A single empty line joins to the empty text, which is no lines at all.
    if (!(lines.Current().GetSize() == 1 && lines.Current()[0].empty())) abort();
  }
  return 0;
}
