// The desktop's user-dirs.dirs file names the download folder: any text must give either nothing
// or an absolute path, never the home folder itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/desktop_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string home = "/home/someone";
  std::string folder = vdesktop::DownloadFolderFromUserDirs(text, home);
  if (folder.empty()) return 0;
  if (folder.front() != '/' || folder == home || folder.find('"') != std::string::npos ||
      folder.find('\n') != std::string::npos)
    abort();
  return 0;
}
