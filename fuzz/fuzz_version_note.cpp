// Executables found beside the host are files of any content: the note reader must take any bytes.
#include <cstddef>
#include <cstdint>

#include "platform/version_note.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VFileVersionInfo info;
  VParseVersionNote(data, size, info);
  return 0;
}
