#include "platform/environment_strings.h"

#include <stdlib.h>

#include "platform/unicode_string.h"

namespace vapp {
namespace {

bool IsNameStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool IsNameChar(char16_t c) { return IsNameStart(c) || (c >= u'0' && c <= u'9'); }

// The length of a delimited name starting at `from` and ended by `close`; npos when there is no
// valid one.
size_t DelimitedName(std::u16string_view text, size_t from, char16_t close) {
  for (size_t i = from; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == close) return i > from ? i - from : std::u16string_view::npos;
    if (c == u'=' || c == u'\r' || c == u'\n' || c == u'\0') break;
  }
  return std::u16string_view::npos;
}

std::optional<std::u16string> ProcessVariable(std::u16string_view name) {
  std::string narrow = vtext::ToUtf8(name);
  // A name holding NUL cannot be an environment variable's.
  if (narrow.find('\0') != std::string::npos) return std::nullopt;
  const char* value = getenv(narrow.c_str());
  if (!value) return std::nullopt;
  return vtext::FromNarrow(value);
}

}  // namespace

std::optional<std::u16string> ExpandEnvironmentStringsWithin(std::u16string_view text,
                                                             const VariableLookup& lookup,
                                                             size_t limit) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char16_t c = text[i];
    size_t nameStart = 0;
    size_t nameLength = std::u16string_view::npos;
    size_t referenceEnd = 0;
    if (c == u'%') {
      nameStart = i + 1;
      nameLength = DelimitedName(text, nameStart, u'%');
      referenceEnd = nameStart + nameLength + 1;
    } else if (c == u'$' && i + 1 < text.size() && text[i + 1] == u'{') {
      nameStart = i + 2;
      nameLength = DelimitedName(text, nameStart, u'}');
      referenceEnd = nameStart + nameLength + 1;
    } else if (c == u'$' && i + 1 < text.size() && IsNameStart(text[i + 1])) {
      nameStart = i + 1;
      size_t end = nameStart;
      while (end < text.size() && IsNameChar(text[end])) ++end;
      nameLength = end - nameStart;
      referenceEnd = end;
    }
    if (nameLength == std::u16string_view::npos) {
      if (out.size() >= limit) return std::nullopt;
      out.push_back(c);
      ++i;
      continue;
    }
    std::optional<std::u16string> value = lookup(text.substr(nameStart, nameLength));
    std::u16string_view inserted = value ? std::u16string_view(*value) : text.substr(i, referenceEnd - i);
    // Checked before appending, so that an expansion refused never takes the memory it asked for.
    if (inserted.size() > limit - out.size()) return std::nullopt;
    out.append(inserted);
    i = referenceEnd;
  }
  return out;
}

std::u16string ExpandEnvironmentStrings(std::u16string_view text, const VariableLookup& lookup) {
  return *ExpandEnvironmentStringsWithin(text, lookup, std::u16string::npos);
}

std::u16string ExpandEnvironmentStrings(std::u16string_view text) {
  return ExpandEnvironmentStrings(text, &ProcessVariable);
}

std::optional<std::u16string> ExpandEnvironmentStringsWithin(std::u16string_view text,
                                                             size_t limit) {
  return ExpandEnvironmentStringsWithin(text, &ProcessVariable, limit);
}

}  // namespace vapp
