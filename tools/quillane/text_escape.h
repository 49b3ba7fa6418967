// How names and values appear in text output: one item is one line, so the characters that
// would break a line or a field are written as escapes ("\\", "\n", "\r", "\t"). JSON output is
// escaped by JSON's own rules instead.
#pragma once

#include <string>
#include <string_view>

#include "platform/unicode_string.h"

namespace cli {

std::string EscapeText(std::string_view utf8);
std::string EscapeText(const VUnicodeString& text);

}  // namespace cli
