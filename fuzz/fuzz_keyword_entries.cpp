// Keyword entries are strings anyone may have edited in a configuration, and the older list is
// free text: any input must read without harm, an entry that reads must be written in a form
// that reads back to the same entry, and every word of an older list of words must come back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/highlight/keyword_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text = vtext::FromNarrow(std::string_view(reinterpret_cast<const char*>(data), size));
  std::u16string_view rest = text;
  while (true) {
    size_t end = rest.find(u'\n');
    std::u16string_view line = rest.substr(0, end);
    if (std::optional<KeywordEntry> entry = vkeywords::ParseEntry(line)) {
      VUnicodeString written = vkeywords::FormatEntry(*entry);
      if (vkeywords::ParseEntry(written) != entry) std::abort();
      if (vkeywords::FormatEntry(*vkeywords::ParseEntry(written)) != written) std::abort();
      if (entry->text.find(u'"') != std::u16string::npos) std::abort();
    }
    if (end == std::u16string_view::npos) break;
    rest.remove_prefix(end + 1);
  }

  VStringArray converted = vkeywords::ConvertOlderList(text);
  // Words without a quote always convert into entries that read back as those words.
  bool plainWords = text.find(u'"') == std::u16string::npos && text.find(u',') == std::u16string::npos;
  size_t words = 0;
  for (const VUnicodeString& entry : converted) {
    std::optional<KeywordEntry> read = vkeywords::ParseEntry(entry);
    if (plainWords && (!read || read->value != vkeywords::kDefaultHighlightValue)) std::abort();
    if (read && read->text.empty()) std::abort();
    ++words;
  }
  if (plainWords && words == 0 && text.find_first_not_of(u' ') != std::u16string::npos) std::abort();
  return 0;
}
