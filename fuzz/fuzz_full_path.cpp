// Folder names reach FullPath from command lines and from forwarding addresses stored in
// configuration folders. Any text must give a clean full path (or a refusal), and that path must
// come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string full;
  uint32_t error = 0;
  if (!vfs::FullPath(text, full, error)) {
    if (error == 0 || !full.empty()) abort();  // a refusal says why and gives nothing
    return 0;
  }
  if (full.empty() || full[0] != '/') abort();
  if (full.size() > 1 && full.back() == '/') abort();
  if (full.find("//") != std::string::npos) abort();
  for (const char* part : {"/./", "/../"}) {
    if ((full + "/").find(part) != std::string::npos) abort();
  }
  std::string again;
  if (!vfs::FullPath(full, again, error) || again != full) abort();
  return 0;
}
