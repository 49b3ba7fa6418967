// Key paths come from command lines as bytes. Any text must split into non-empty levels free of
// separators, and the joined text must split into the same levels again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "storage/model/key_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  VKeyPath path = VKeyPath::ParseUtf8(text);
  for (const auto& level : path.Levels()) {
    if (level.empty()) abort();
    if (level.find(u'\\') != std::u16string::npos || level.find(u'/') != std::u16string::npos)
      abort();
  }
  VUnicodeString joined = path.Text();
  if (!(VKeyPath::Parse(joined) == path)) abort();
  if (!(VKeyPath::ParseBackslashed(joined) == path)) abort();
  if (!path.Empty() && !(path.Parent().Child(path.Last()) == path)) abort();
  return 0;
}
