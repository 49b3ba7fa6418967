// Key map files and stored key maps are text anyone may have edited: any text must load without
// harm, and a key map that loaded must write a file that loads back to the same mappings and is
// written the same way again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/keymap/keymap.h"
#include "storage/text/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Keymap map;
  VReportMessageParams report;
  // Text that does not survive UTF-8 (lone surrogates of a UTF-16 file) is only parsed.
  std::u16string text = VTextFile::Decode(bytes);
  bool loaded = map.LoadText(text, u"fuzz.key", report);
  if (map.GetLoadErrors().size() > Keymap::kMaxErrors) abort();
  if (!loaded || vtext::FromUtf8(vtext::ToUtf8(text)) != text) return 0;

  std::string written = map.FileBytes();
  Keymap again;
  VReportMessageParams second;
  if (!again.LoadText(VTextFile::Decode(written), u"fuzz.key", second)) abort();
  if (again.GetCount() != map.GetCount()) abort();
  for (size_t i = 0; i < map.GetCount(); ++i) {
    const KeyMapping& a = map.GetAt(i);
    const KeyMapping& b = again.GetAt(i);
    if (a.keyCode != b.keyCode || a.action != b.action) abort();
    // Arguments keep their text unless they held control characters, which are written as
    // escapes, or a script file held the `")` that ends it.
    bool plain = true;
    for (const auto* s : {&a.first, &a.second})
      for (char16_t c : *s) plain = plain && c >= 0x20 && c != 0x7F;
    if (a.action == 2 && a.first.find(u"\")") != std::u16string::npos) plain = false;
    if (plain && !(a == b)) abort();
  }
  if (again.FileBytes() != written && again.GetLoadErrors().empty()) abort();

  // The same lines as a session stores them.
  VStringArray lines = map.ToStrings();
  Keymap stored;
  stored.LoadStrings(lines, false);
  if (stored.GetCount() != map.GetCount()) abort();
  return 0;
}
