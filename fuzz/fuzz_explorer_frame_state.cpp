// The view states are texts in configuration files: any text must either be refused or give a
// state whose own text reads back as the same state and is written the same way again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/parts/explorer_frame_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text =
      vtext::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  VExplorerFrameStateFields state;
  if (!VExplorerFrameStateFields::Parse(text, state)) return 0;
  VUnicodeString formatted = state.Format();
  VExplorerFrameStateFields again;
  if (!VExplorerFrameStateFields::Parse(formatted, again) || !(again == state)) abort();
  if (again.Format() != formatted) abort();
  return 0;
}
