// Stored time texts come from configuration files: any text must either be refused or give a
// time whose own text reads back as the same time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/values/file_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text =
      vtext::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  VFileTime time = VFileTime::FromTicks(7);
  if (!VParseTimeText(text, time)) {
    if (time.Ticks() != 7) abort();  // a refused text changes nothing
    return 0;
  }
  VUnicodeString formatted;
  if (!VFormatTimeText(time, formatted)) abort();
  VFileTime again;
  if (!VParseTimeText(formatted, again) || again.Ticks() != time.Ticks()) abort();
  // The text form keeps milliseconds only: every parsed time is a whole number of them.
  if (time.Ticks() % 10000 != 0) abort();
  return 0;
}
