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
  auto result = vfs::FullPath(text);
  if (!result) {
    if (result.Code() == 0) abort();  // a refusal says why
    return 0;
  }
  const std::string& full = *result;
  if (full.empty() || full[0] != '/') abort();
  if (full.size() > 1 && full.back() == '/') abort();
  if (full.find("//") != std::string::npos) abort();
  for (const char* part : {"/./", "/../"}) {
    if ((full + "/").find(part) != std::string::npos) abort();
  }
  auto again = vfs::FullPath(full);
  if (!again || *again != full) abort();
  return 0;
}
