// Any text as a mimeapps.list: making an application the default of a type gives a list whose
// default for that type is the application, and keeps every line that was not about that type.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "environment/mime_apps_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string type = "x-scheme-handler/ssh";
  const std::string id = "tolvane-karvell.desktop";
  std::string changed = mimeapps::SetDefault(text, type, id);
  auto defaults = mimeapps::Lookup(changed, mimeapps::kDefaultGroup, type);
  if (defaults.empty() || defaults.front() != id) abort();
  auto added = mimeapps::Lookup(changed, mimeapps::kAddedGroup, type);
  if (added.empty() || added.front() != id) abort();
  // A second time changes nothing.
  if (mimeapps::SetDefault(changed, type, id) != changed) abort();
  // Every line of the input that does not name the type is still there.
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.find(type) != std::string_view::npos) continue;
    if (changed.find(line) == std::string::npos) abort();
  }
  std::string value;
  mimeapps::ReadDesktopValue(text, "Exec", value);
  return 0;
}
