// A folder's stored display order is text from a file: any list must order the names found into
// a permutation of them, with the unlisted ones last in name order, and the order written back
// must read back as itself, so that listing a folder does not rewrite its folder data every time.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "config/database/folder_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first line is the stored list; each further line a name found in the folder.
  std::u16string text =
      vtext::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  size_t newline = text.find(u'\n');
  std::u16string stored = text.substr(0, newline);
  std::vector<VUnicodeString> found;
  bool representable = true;
  while (newline != std::u16string::npos) {
    size_t next = text.find(u'\n', newline + 1);
    size_t length = next == std::u16string::npos ? next : next - newline - 1;
    std::u16string name = text.substr(newline + 1, length);
    newline = next;
    if (name.empty()) continue;  // no key has an empty name
    if (name.find(ProfileFolderData::kListSeparator) != std::u16string::npos) representable = false;
    found.emplace_back(name);
  }
  VStringArray ordered = ProfileFolderData::Order(found, stored);
  std::vector<VUnicodeString> result(ordered.begin(), ordered.end());
  std::vector<VUnicodeString> sortedFound = found;
  std::sort(sortedFound.begin(), sortedFound.end());
  std::vector<VUnicodeString> sortedResult = result;
  std::sort(sortedResult.begin(), sortedResult.end());
  if (sortedFound != sortedResult) abort();
  if (representable) {
    VStringArray again = ProfileFolderData::Order(found, ProfileFolderData::Join(ordered));
    if (again != ordered) abort();
  }
  return 0;
}
