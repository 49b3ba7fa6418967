// Reading value files: one pass over the file's text as UTF-8 that finds every entry without
// copying it, and the conversion of one found entry into a value object when it is asked for.
// Keys are often opened only for one or two values, so the rest are never converted.
#pragma once

#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "storage/ini/ini_file_data.h"

// One entry as found in the text: views into it.
struct VIniRawEntry {
  char kind = 0;                // 'D', 'S', 'E', 'B' or 'Z'
  std::string_view name;        // UTF-8
  std::string_view rest;        // the first line after "=": the text of S and E entries
  std::string_view body;        // the lines after the first (B and Z), line ends included
  uint32_t number = 0;          // D: the value; B: the byte count; Z: the string count
};

// The text of a value file as UTF-8, whatever its encoding: a UTF-8 file (with or without its
// byte-order mark) is used where it lies, other encodings are converted into `storage`. Invalid
// sequences of a marked UTF-8 file become U+FFFD, as when decoding it.
std::string_view VIniTextAsUtf8(std::string_view bytes, std::string& storage);

namespace ini_scan_detail {
// Hexadecimal digits by table: byte blocks are read digit by digit.
struct HexTable {
  int8_t value[256];
  constexpr HexTable() : value() {
    for (int c = 0; c < 256; ++c) value[c] = -1;
    for (int c = '0'; c <= '9'; ++c) value[c] = static_cast<int8_t>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) value[c] = static_cast<int8_t>(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c) value[c] = static_cast<int8_t>(c - 'A' + 10);
  }
};
inline constexpr HexTable kHex;

inline int HexValue(char c) { return kHex.value[static_cast<unsigned char>(c)]; }

// Eight hexadecimal digits, either case: every number and count of a file is written this way.
// Invalid digits are -1 in the table, so one test of the combined sign bits rejects them all.
inline bool ParseHex8(std::string_view text, uint32_t& value) {
  if (text.size() != 8) return false;
#if defined(__SSE2__)
  // All eight digits in one vector: checked by range, turned into their values, and paired
  // into four bytes, most significant first. Every number and count of every file comes here.
  uint64_t word;
  std::memcpy(&word, text.data(), 8);
  __m128i c = _mm_cvtsi64_si128(static_cast<long long>(word));
  // Bytes above 0x7f are negative here and fall outside both ranges.
  __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)),
                                _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
  __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20));
  __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                 _mm_cmplt_epi8(lower, _mm_set1_epi8('f' + 1)));
  if ((_mm_movemask_epi8(_mm_or_si128(digit, letter)) & 0xFF) != 0xFF) return false;
  __m128i nibbles = _mm_or_si128(_mm_and_si128(digit, _mm_sub_epi8(c, _mm_set1_epi8('0'))),
                                 _mm_andnot_si128(digit, _mm_sub_epi8(lower, _mm_set1_epi8('a' - 10))));
  // Each 16-bit lane holds a digit pair, the first digit low: it becomes the high nibble.
  __m128i pairs = _mm_or_si128(_mm_and_si128(_mm_slli_epi16(nibbles, 4), _mm_set1_epi16(0xF0)),
                               _mm_srli_epi16(nibbles, 8));
  uint32_t bytes = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(pairs, pairs)));
  value = __builtin_bswap32(bytes);
  return true;
#else
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
  int32_t d0 = kHex.value[p[0]], d1 = kHex.value[p[1]], d2 = kHex.value[p[2]],
          d3 = kHex.value[p[3]], d4 = kHex.value[p[4]], d5 = kHex.value[p[5]],
          d6 = kHex.value[p[6]], d7 = kHex.value[p[7]];
  if ((d0 | d1 | d2 | d3 | d4 | d5 | d6 | d7) < 0) return false;
  value = static_cast<uint32_t>(d0 << 28 | d1 << 24 | d2 << 20 | d3 << 16 | d4 << 12 | d5 << 8 |
                                d6 << 4 | d7);
  return true;
#endif
}

inline bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// The offset of the first CR or LF at or after `pos`, or the text's size: sixteen bytes at a
// time where the processor allows, since every line of every file is searched this way.
inline size_t FindLineEnd(std::string_view text, size_t pos) {
  const char* data = text.data();
  size_t size = text.size();
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; pos + 16 <= size; pos += 16) {
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
    int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
    if (mask) return pos + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
#endif
  for (; pos < size; ++pos) {
    if (data[pos] == '\r' || data[pos] == '\n') return pos;
  }
  return size;
}

// The offset of the first double quote of `line` at or after `pos`, or npos: searched in place
// sixteen bytes at a time, as every entry's name is, rather than through a library call per line.
inline size_t FindQuote(std::string_view line, size_t pos) {
  const char* data = line.data();
  size_t size = line.size();
#if defined(__SSE2__)
  const __m128i quote = _mm_set1_epi8('"');
  for (; pos + 16 <= size; pos += 16) {
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
    int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, quote));
    if (mask) return pos + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
#endif
  for (; pos < size; ++pos) {
    if (data[pos] == '"') return pos;
  }
  return std::string_view::npos;
}

// Lines end at CR, LF or CR LF.
struct Lines {
  std::string_view text;
  size_t pos = 0;

  bool Next(std::string_view& line) {
    if (pos >= text.size()) return false;
    size_t end = FindLineEnd(text, pos);
    line = text.substr(pos, end - pos);
    if (end >= text.size()) {
      pos = text.size();
    } else {
      pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return true;
  }
};

#if defined(__SSE2__)
// Whether the 48 characters at `p` are sixteen bytes as the store writes them: a blank and two
// hexadecimal digits each. Every byte block of every file read is checked when the file is
// scanned, and this checks sixteen bytes with a few vector operations where the loop below
// takes each character in turn.
inline bool SixteenWrittenBytes(const char* p) {
  alignas(16) static constexpr char kBlanks[48] = {
      -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0,
      -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0};
  int all = 0xFFFF;
  for (int k = 0; k < 3; ++k) {
    __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    __m128i blankPlace = _mm_load_si128(reinterpret_cast<const __m128i*>(kBlanks + 16 * k));
    // Bytes above 0x7f are negative here and fall outside both ranges.
    __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)),
                                  _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
    __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20));
    __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                   _mm_cmplt_epi8(lower, _mm_set1_epi8('f' + 1)));
    __m128i blank = _mm_cmpeq_epi8(c, _mm_set1_epi8(' '));
    __m128i ok = _mm_or_si128(_mm_and_si128(blankPlace, blank),
                              _mm_andnot_si128(blankPlace, _mm_or_si128(digit, letter)));
    all &= _mm_movemask_epi8(ok);
  }
  return all == 0xFFFF;
}
#endif

// Walks the body lines of a byte block of `count` bytes; with `out`, decodes them.
inline bool BinaryBody(Lines& lines, uint32_t count, uint8_t* out) {
  uint32_t done = 0;
  while (done < count) {
    std::string_view line;
    if (!lines.Next(line) || line.empty()) return false;
    size_t i = 0;
    bool any = false;
#if defined(__SSE2__)
    // When only checking, sixteen bytes as the store writes them are taken at once; whatever
    // else the line holds goes to the loops below, which decide as before.
    while (!out && i + 48 <= line.size() && count - done >= 16 && SixteenWrittenBytes(line.data() + i)) {
      done += 16;
      any = true;
      i += 48;
    }
#endif
    // Files written by the store put each byte as a blank and two digits: those are taken three
    // characters at a time, the loop below handling whatever else a line holds exactly as before.
    while (i + 3 <= line.size() && line[i] == ' ') {
      int hi = HexValue(line[i + 1]);
      int lo = HexValue(line[i + 2]);
      if ((hi | lo) < 0 || done >= count) break;
      if (out) out[done] = static_cast<uint8_t>(hi << 4 | lo);
      ++done;
      any = true;
      i += 3;
    }
    while (i < line.size()) {
      if (IsSpace(line[i])) {
        ++i;
        continue;
      }
      if (i + 1 >= line.size()) return false;
      int hi = HexValue(line[i]);
      int lo = HexValue(line[i + 1]);
      if (hi < 0 || lo < 0 || done >= count) return false;  // damaged, or past the count
      if (out) out[done] = static_cast<uint8_t>(hi << 4 | lo);
      ++done;
      any = true;
      i += 2;
    }
    if (!any) return false;
  }
  return true;
}

}  // namespace ini_scan_detail

// Finds the entries in order until the first that cannot be read (a blank line, a damaged line,
// a kind not in `kinds`, the end), handing each to `take(const VIniRawEntry&)`. Entries with an
// empty name are skipped. Returns the offset where the entry that could not be read begins (the
// size of `text` when all were read). A template, so the per-entry call is inlined: this loop
// runs for every line of every value file read.
template <class Take>
size_t VScanIniEntries(std::string_view text, Take&& take, VIniLineKinds kinds = VIniLineKinds::Ini) {
  using namespace ini_scan_detail;
  Lines lines{text};
  std::string_view line;
  for (size_t entryStart = 0;; entryStart = lines.pos) {
    if (!lines.Next(line)) return text.size();
    if (line.size() < 5 || line[1] != ':' || line[2] != '"') return entryStart;
    size_t quote = FindQuote(line, 3);
    if (quote == std::string_view::npos || quote + 1 >= line.size() || line[quote + 1] != '=')
      return entryStart;
    VIniRawEntry entry;
    entry.kind = line[0];
    entry.name = line.substr(3, quote - 3);
    entry.rest = line.substr(quote + 2);
    size_t bodyStart = lines.pos;
    switch (entry.kind) {
      case 'D':
        if (!ParseHex8(entry.rest, entry.number)) return entryStart;
        break;
      case 'S':
        break;
      case 'E':
        if (kinds != VIniLineKinds::Registry) return entryStart;
        break;
      case 'B':
        if (!ParseHex8(entry.rest, entry.number) || !BinaryBody(lines, entry.number, nullptr))
          return entryStart;
        break;
      case 'Z': {
        if (!ParseHex8(entry.rest, entry.number)) return entryStart;
        for (uint32_t i = 0; i < entry.number; ++i) {
          std::string_view item;
          if (!lines.Next(item) || item.empty() || item[0] != ' ') return entryStart;
        }
        break;
      }
      default:
        return entryStart;
    }
    entry.body = text.substr(bodyStart, lines.pos - bodyStart);
    if (!entry.name.empty()) take(entry);
  }
}


// The value of a found entry.
std::unique_ptr<VIniFileData> VMakeIniData(const VIniRawEntry& entry);
