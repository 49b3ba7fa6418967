// Key map files and stored key maps are text anyone may have edited: any text must load without
// harm, and a key map that loaded must write a file that loads back to the same mappings and is
// written the same way again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/keymap/keymap.h"
#include "storage/text/text_file.h"


// A script file holding `")` followed by `("` cannot be told from the end of the file name.
static bool AmbiguousScriptFile(const KeyMapping& m) {
  if (m.action != 2) return false;
  for (size_t at = m.first.find(u"\")"); at != std::u16string::npos; at = m.first.find(u"\")", at + 1)) {
    size_t next = at + 2;
    while (next < m.first.size() && (m.first[next] == u' ' || m.first[next] == u'\t')) ++next;
    if (m.first.compare(next, 2, u"(\"") == 0 || next == m.first.size()) return true;
  }
  return false;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Keymap map;
  VReportMessageParams report;
  // Text that does not survive UTF-8 (lone surrogates of a UTF-16 file) is only parsed.
  std::u16string text = VTextFile::Decode(bytes);
  bool loaded = map.LoadText(text, u"fuzz.key", report);
  // Nothing after the line of the third error is read (one line may hold several errors).
  const auto& errors = map.GetLoadErrors();
  for (size_t i = Keymap::kMaxErrors; i < errors.size(); ++i)
    if (errors[i].line != errors[Keymap::kMaxErrors - 1].line) abort();
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
    // escapes.
    bool plain = true;
    for (const auto* s : {&a.first, &a.second})
      for (char16_t c : *s) plain = plain && c >= 0x20 && c != 0x7F;
    if (AmbiguousScriptFile(a)) continue;
    if (plain && !(a == b)) abort();
  }
  bool ambiguous = false;
  for (size_t i = 0; i < map.GetCount(); ++i) ambiguous = ambiguous || AmbiguousScriptFile(map.GetAt(i));
  if (!ambiguous && again.FileBytes() != written) abort();

  // The same lines as a session stores them.
  VStringArray lines = map.ToStrings();
  Keymap stored;
  stored.LoadStrings(lines, false);
  if (stored.GetCount() != map.GetCount()) abort();
  return 0;
}
