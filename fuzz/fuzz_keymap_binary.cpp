// The binary key map of older sessions comes from the store as it was written, perhaps cut short
// or damaged: reading never goes past its bytes, and what it gives is written as lines that read
// back as the same keys and actions.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/keymap/keymap.h"
#include "config/keymap/keymap_binary.h"


// A script file holding `")` followed by `("` cannot be told from the end of the file name. The
// writer follows the name with `")("`, so a name that merely ends in `")` and blanks, or in `") (`,
// is just as ambiguous once written: the search runs over the name as it stands in the line.
static bool AmbiguousScriptFile(const KeyMapping& m) {
  if (m.action != 2) return false;
  const std::u16string written = m.first + u"\")(\"";
  for (size_t at = written.find(u"\")"); at < m.first.size(); at = written.find(u"\")", at + 1)) {
    size_t next = at + 2;
    while (next < written.size() && (written[next] == u' ' || written[next] == u'\t')) ++next;
    if (written.compare(next, 2, u"(\"") == 0) return true;
  }
  return false;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Keymap map;
  size_t read = vkeymap::ReadBinaryKeymap(bytes, map);
  // Each entry takes at least a key code and two terminating NULs.
  if (read > size / 6 || map.GetCount() > read) abort();
  for (size_t i = 0; i < map.GetCount(); ++i)
    if (AmbiguousScriptFile(map.GetAt(i))) return 0;
  VStringArray lines = map.ToStrings();
  Keymap again;
  if (!again.LoadStrings(lines, false) || !again.GetLoadErrors().empty()) abort();
  if (again.GetCount() != map.GetCount()) abort();
  for (size_t i = 0; i < map.GetCount(); ++i) {
    if (again.GetAt(i).keyCode != map.GetAt(i).keyCode) abort();
    if (again.GetAt(i).action != map.GetAt(i).action) abort();
  }
  if (again.ToStrings() != lines) abort();
  return 0;
}
