#include "environment/text_lists.h"

#include <cctype>

std::vector<std::string> SplitNonEmpty(std::string_view text, char separator) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(separator, pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) out.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  size_t start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return std::string_view();
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(start, end - start + 1);
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}
