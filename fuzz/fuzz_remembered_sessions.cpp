// The older remembered-session list is one stored text: any text must split into non-empty
// session paths that hold no separator and no surrounding blanks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/global/remembered_session_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text =
      vtext::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  VStringArray paths = ProfileRememberedSessionList::FromOlderText(text);
  for (size_t i = 0; i < paths.GetSize(); ++i) {
    const VUnicodeString& path = paths[i];
    if (path.empty() || path.find(u'|') != std::u16string::npos) abort();
    if (path.front() == u' ' || path.back() == u' ') abort();
  }
  return 0;
}
