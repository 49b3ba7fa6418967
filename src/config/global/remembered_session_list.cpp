#include "config/global/remembered_session_list.h"

namespace {

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

VStringArray ProfileRememberedSessionList::FromOlderText(std::u16string_view text) {
  VStringArray paths;
  while (true) {
    size_t end = text.find(kOlderSeparator);
    std::u16string_view path = TrimBlanks(text.substr(0, end));
    if (!path.empty()) paths.Add(VUnicodeString(path));
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return paths;
}

bool ProfileRememberedSessionList::Read(const VProfileKey& key) {
  if (VProfileStringArray::Read(key)) return true;
  // Only the terminal's V2 list has an older form; the LMB list never had one.
  static constexpr std::u16string_view kV2Suffix = u" V2";
  std::u16string_view mine = GetName();
  if (mine.size() <= kV2Suffix.size() || mine.substr(mine.size() - kV2Suffix.size()) != kV2Suffix)
    return false;
  VUnicodeString older;
  if (!key.ReadString(kOlderName, older)) return false;
  Current() = FromOlderText(older);
  // Taken from the older form: the current form is written at the next save.
  writePending = true;
  return true;
}
