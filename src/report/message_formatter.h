// Formats catalogue texts: insertion markers %1..%99 with an optional printf-style type between
// exclamation marks, the escapes %% %n %r %t %0 %. %! and "% ", and an optional line width.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct VFormatArg {
  enum class Kind { String, Number32, Number64 };
  Kind kind = Kind::String;
  std::u16string text;
  uint64_t bits = 0;  // the number's bits; signed or unsigned by the conversion that prints it

  static VFormatArg Text(std::u16string_view value) { return {Kind::String, std::u16string(value), 0}; }
  static VFormatArg Number(uint32_t value) { return {Kind::Number32, {}, value}; }
  static VFormatArg Number64(uint64_t value) { return {Kind::Number64, {}, value}; }
};

// Width 0 keeps the line breaks of the text; 255 turns them into spaces (only %n breaks a line);
// any other width also wraps lines longer than it at a space.
constexpr int kMaxWidthOneLine = 255;

// Formats `pattern`. With `args` null the insertion markers are copied to the output unchanged.
// Returns false when the arguments do not fit the pattern (a marker without an argument, a bad
// printf type); `out` is then unspecified.
bool VFormatMessageText(std::u16string_view pattern, const std::vector<VFormatArg>* args,
                        int maxWidth, std::u16string& out);

// printf-style conversion of one argument, e.g. spec "08x" or "I64u" or "-10s".
bool VFormatPrintfArg(std::u16string_view spec, const VFormatArg& arg, std::u16string& out);

// Convenience: formats a pattern with string arguments; on a mismatch the markers stay in place.
std::u16string VFormatString(std::u16string_view pattern, const std::vector<std::u16string>& args);
