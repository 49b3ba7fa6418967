#include "report/message_formatter.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::string Digits(uint64_t value, unsigned base, bool upper) {
  const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  if (value == 0) return "0";
  std::string out;
  while (value) {
    out.insert(out.begin(), alphabet[value % base]);
    value /= base;
  }
  return out;
}

// Reads a number from a string argument printed with a numeric conversion.
bool ParseNumber(std::u16string_view text, uint64_t& bits) {
  std::string narrow;
  for (char16_t c : text) {
    if (c > 0x7F) return false;
    narrow.push_back(static_cast<char>(c));
  }
  if (narrow.empty()) return false;
  char* end = nullptr;
  errno = 0;
  if (narrow[0] == '-') {
    long long v = std::strtoll(narrow.c_str(), &end, 0);
    bits = static_cast<uint64_t>(v);
  } else {
    bits = std::strtoull(narrow.c_str(), &end, 0);
  }
  return end && *end == '\0' && errno == 0;
}

// Wraps lines longer than `width` at the last space before the limit.
std::u16string Wrap(const std::u16string& text, size_t width) {
  std::u16string out;
  size_t lineStart = 0;
  size_t lastSpace = std::u16string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    out.push_back(c);
    if (c == u'\n') {
      lineStart = out.size();
      lastSpace = std::u16string::npos;
      continue;
    }
    if (c == u' ') lastSpace = out.size() - 1;
    if (out.size() - lineStart > width && lastSpace != std::u16string::npos) {
      out.replace(lastSpace, 1, u"\r\n");
      lineStart = lastSpace + 2;
      lastSpace = std::u16string::npos;
    }
  }
  return out;
}

}  // namespace

bool VFormatPrintfArg(std::u16string_view spec, const VFormatArg& arg, std::u16string& out) {
  size_t i = 0;
  bool left = false, plus = false, space = false, alt = false, zero = false;
  for (; i < spec.size(); ++i) {
    char16_t c = spec[i];
    if (c == u'-') left = true;
    else if (c == u'+') plus = true;
    else if (c == u' ') space = true;
    else if (c == u'#') alt = true;
    else if (c == u'0') zero = true;
    else break;
  }
  size_t width = 0;
  while (i < spec.size() && IsDigit(spec[i])) width = width * 10 + (spec[i++] - u'0');
  bool hasPrecision = false;
  size_t precision = 0;
  if (i < spec.size() && spec[i] == u'.') {
    hasPrecision = true;
    ++i;
    while (i < spec.size() && IsDigit(spec[i])) precision = precision * 10 + (spec[i++] - u'0');
  }
  bool wide64 = arg.kind == VFormatArg::Kind::Number64;
  bool shortArg = false, charArg = false;
  // Length modifiers: h hh l ll I32 I64 w z j t L.
  while (i < spec.size()) {
    std::u16string_view rest = spec.substr(i);
    if (rest.substr(0, 3) == u"I64") { wide64 = true; i += 3; }
    else if (rest.substr(0, 3) == u"I32") { wide64 = false; i += 3; }
    else if (rest.substr(0, 2) == u"ll") { wide64 = true; i += 2; }
    else if (rest.substr(0, 2) == u"hh") { charArg = true; i += 2; }
    else if (rest[0] == u'h') { shortArg = true; ++i; }
    else if (rest[0] == u'l' || rest[0] == u'w' || rest[0] == u'L') { ++i; }
    else if (rest[0] == u'z' || rest[0] == u'j' || rest[0] == u't') { wide64 = true; ++i; }
    else break;
  }
  if (i + 1 != spec.size()) return false;
  char16_t conversion = spec[i];
  if (std::u16string_view(u"sScCdiuxXop").find(conversion) == std::u16string_view::npos) return false;

  std::u16string body;
  std::u16string sign;
  bool numeric = true;
  uint64_t bits = arg.bits;
  if (conversion == u's' || conversion == u'S') {
    numeric = false;
    if (arg.kind == VFormatArg::Kind::String) {
      body = arg.text;
    } else {
      body = Ascii(std::to_string(arg.kind == VFormatArg::Kind::Number64
                                      ? bits
                                      : static_cast<uint64_t>(static_cast<uint32_t>(bits))));
    }
    if (hasPrecision && body.size() > precision) body.resize(precision);
  } else if (conversion == u'c' || conversion == u'C') {
    numeric = false;
    if (arg.kind == VFormatArg::Kind::String) {
      body = arg.text.substr(0, 1);
    } else {
      body.push_back(static_cast<char16_t>(bits));
    }
  } else {
    if (arg.kind == VFormatArg::Kind::String) {
      // A text handed to a numeric type prints as the number it holds, or as itself.
      if (!ParseNumber(arg.text, bits)) {
        body = arg.text;
        numeric = false;
      }
    }
    if (numeric) {
      if (!wide64) bits &= 0xFFFFFFFFull;
      if (shortArg) bits &= 0xFFFF;
      if (charArg) bits &= 0xFF;
      switch (conversion) {
        case u'd':
        case u'i': {
          int64_t value;
          if (charArg) value = static_cast<int8_t>(bits);
          else if (shortArg) value = static_cast<int16_t>(bits);
          else if (!wide64) value = static_cast<int32_t>(bits);
          else value = static_cast<int64_t>(bits);
          if (value < 0) {
            sign = u"-";
            body = Ascii(Digits(static_cast<uint64_t>(-(value + 1)) + 1, 10, false));
          } else {
            if (plus) sign = u"+";
            else if (space) sign = u" ";
            body = Ascii(Digits(static_cast<uint64_t>(value), 10, false));
          }
          break;
        }
        case u'u': body = Ascii(Digits(bits, 10, false)); break;
        case u'x':
          body = Ascii(Digits(bits, 16, false));
          if (alt && bits) sign = u"0x";
          break;
        case u'X':
          body = Ascii(Digits(bits, 16, true));
          if (alt && bits) sign = u"0X";
          break;
        case u'o': body = Ascii(Digits(bits, 8, false)); break;
        case u'p': body = Ascii(Digits(bits, 16, true)); break;
        default: return false;
      }
      if (hasPrecision && body.size() < precision) body.insert(0, precision - body.size(), u'0');
    }
  }
  size_t length = sign.size() + body.size();
  if (length >= width) {
    out += sign + body;
  } else if (left) {
    out += sign + body + std::u16string(width - length, u' ');
  } else if (zero && numeric && !hasPrecision) {
    out += sign + std::u16string(width - length, u'0') + body;
  } else {
    out += std::u16string(width - length, u' ') + sign + body;
  }
  return true;
}

bool VFormatMessageText(std::u16string_view pattern, const std::vector<VFormatArg>* args,
                        int maxWidth, std::u16string& out) {
  out.clear();
  out.reserve(pattern.size() + 32);
  const bool oneLine = maxWidth != 0;
  size_t i = 0;
  while (i < pattern.size()) {
    char16_t c = pattern[i];
    if (c == u'\r' || c == u'\n') {
      // A line break of the text itself: kept, or a single space when lines are joined.
      if (c == u'\r' && i + 1 < pattern.size() && pattern[i + 1] == u'\n') ++i;
      out += oneLine ? u" " : u"\r\n";
      ++i;
      continue;
    }
    if (c != u'%') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 >= pattern.size()) {
      out.push_back(u'%');
      break;
    }
    char16_t next = pattern[i + 1];
    if (next >= u'1' && next <= u'9') {
      size_t start = i;
      size_t j = i + 1;
      int number = next - u'0';
      if (j + 1 < pattern.size() && IsDigit(pattern[j + 1])) {
        number = number * 10 + (pattern[j + 1] - u'0');
        ++j;
      }
      ++j;
      std::u16string_view spec;
      bool hasSpec = false;
      if (j < pattern.size() && pattern[j] == u'!') {
        size_t close = pattern.find(u'!', j + 1);
        if (close != std::u16string_view::npos) {
          spec = pattern.substr(j + 1, close - j - 1);
          hasSpec = true;
          j = close + 1;
        } else if (args) {
          return false;  // a type that is never closed
        }
        // Without inserts the unclosed type is copied as the text it is.
      }
      if (!args) {
        out.append(pattern.substr(start, j - start));
      } else {
        if (static_cast<size_t>(number) > args->size()) return false;
        const VFormatArg& arg = (*args)[static_cast<size_t>(number) - 1];
        if (!VFormatPrintfArg(hasSpec ? spec : u"s", arg, out)) return false;
      }
      i = j;
      continue;
    }
    switch (next) {
      case u'0': goto done;  // end of message, without the final line break
      case u'n': out += u"\r\n"; break;
      case u'r': out += u"\r"; break;
      case u't': out += u"\t"; break;
      case u'b': out += u" "; break;
      default: out.push_back(next); break;  // %% %. %! "% " and any other character
    }
    i += 2;
  }
done:
  if (maxWidth > 0 && maxWidth < kMaxWidthOneLine) out = Wrap(out, static_cast<size_t>(maxWidth));
  return true;
}

std::u16string VFormatString(std::u16string_view pattern, const std::vector<std::u16string>& args) {
  std::vector<VFormatArg> formatted;
  formatted.reserve(args.size());
  for (const auto& a : args) formatted.push_back(VFormatArg::Text(a));
  std::u16string out;
  if (VFormatMessageText(pattern, &formatted, 0, out)) return out;
  VFormatMessageText(pattern, nullptr, 0, out);
  return out;
}
