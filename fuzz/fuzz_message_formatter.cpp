// Message texts come from catalogue files and inserts from anywhere (file names, values read from
// configurations): the formatter must take any pattern with any inserts, and never read past
// either.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/message_formatter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // First byte: how many inserts and which width; the rest splits at NUL into pattern and inserts.
  uint8_t control = data[0];
  std::u16string all;
  for (size_t i = 1; i + 1 < size; i += 2) all.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  std::vector<std::u16string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= all.size(); ++i) {
    if (i == all.size() || all[i] == 0) {
      parts.push_back(all.substr(start, i - start));
      start = i + 1;
    }
  }
  std::vector<VFormatArg> args;
  for (size_t i = 1; i < parts.size() && args.size() < (control & 0x1F); ++i) {
    if (i % 3 == 0) args.push_back(VFormatArg::Number(static_cast<uint32_t>(parts[i].size() * 2654435761u)));
    else if (i % 3 == 1) args.push_back(VFormatArg::Text(parts[i]));
    else args.push_back(VFormatArg::Number64(parts[i].size() * 0x9E3779B97F4A7C15ull));
  }
  int widths[4] = {0, kMaxWidthOneLine, 20, 1};
  std::u16string out;
  bool ok = VFormatMessageText(parts[0], &args, widths[(control >> 5) & 3], out);
  std::u16string markers;
  // Ignoring the inserts always succeeds and keeps every marker.
  if (!VFormatMessageText(parts[0], nullptr, 0, markers)) abort();
  (void)ok;
  std::vector<std::u16string> texts(parts.begin() + (parts.empty() ? 0 : 1), parts.end());
  VFormatString(parts[0], texts);
  return 0;
}
