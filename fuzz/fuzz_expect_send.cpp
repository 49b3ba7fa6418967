// A login script's decrypted text comes from files that may have been edited by hand: any text
// must split into entries without failing, and entries must come back from their own text form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/session/expect_send_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  std::vector<ExpectSendEntry> entries;
  bool whole = ProfileExpectSendList::FromText(text, entries);
  VUnicodeString again = ProfileExpectSendList::ToText(entries);
  std::vector<ExpectSendEntry> back;
  if (!ProfileExpectSendList::FromText(again, back) || back != entries) abort();
  // A whole text is nothing but entries: three closed fields each.
  size_t separators = 0;
  for (char16_t c : text) separators += c == ProfileExpectSendList::kSeparator;
  if (whole && separators != 3 * entries.size()) abort();
  return 0;
}
