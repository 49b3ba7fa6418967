// The binary key map of older sessions comes from the store as it was written, perhaps cut short
// or damaged: reading never goes past its bytes, and what it gives is written as lines that read
// back as the same keys and actions.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/keymap/keymap.h"
#include "config/keymap/keymap_binary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Keymap map;
  size_t read = vkeymap::ReadBinaryKeymap(bytes, map);
  // Each entry takes at least a key code and two terminating NULs.
  if (read > size / 6 || map.GetCount() > read) abort();
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
