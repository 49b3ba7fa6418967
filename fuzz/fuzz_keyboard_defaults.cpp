// The system's keyboard defaults file is read for the layout name: any text must give either
// nothing or one bare layout name (no quotes, list separators, variants or blanks).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/desktop_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string layout = vdesktop::LayoutFromKeyboardDefaults(text);
  if (layout.find_first_of("\"',( \t\r\n") != std::string::npos) abort();
  // Whatever was found, the English test must accept its own answer without failing.
  (void)vdesktop::IsEnglishLayout(layout);
  return 0;
}
