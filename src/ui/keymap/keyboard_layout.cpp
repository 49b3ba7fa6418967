#include "ui/keymap/keyboard_layout.h"

#include <vector>

namespace keylayout {

namespace {

constexpr Entry K(const char16_t* label, unsigned scan, int width = 24, bool fixed = false,
                  unsigned font = kFontText, bool extended = false, int height = 24) {
  return Entry{Kind::Key, label, width, height, scan, extended, fixed, font};
}
// A navigation or function key: fixed legend.
constexpr Entry F(const char16_t* label, unsigned scan, int width = 24, bool extended = false,
                  unsigned font = kFontText, int height = 24) {
  return Entry{Kind::Key, label, width, height, scan, extended, true, font};
}
constexpr Entry S(int width) { return Entry{Kind::Spacer, u"SPACER", width, 0, 0, false, false, 0}; }
constexpr Entry N(int advance) {
  return Entry{Kind::NewRow, u"NEWROW", advance, 0, 0, false, false, 0};
}
constexpr bool E = true;

constexpr Entry kMain[] = {
    // Function row.
    F(u"Esc", 1, 24, false, kFontEscape), S(24), F(u"F1", 59), F(u"F2", 60), F(u"F3", 61),
    F(u"F4", 62), S(12), F(u"F5", 63), F(u"F6", 64), F(u"F7", 65), F(u"F8", 66), S(12),
    F(u"F9", 67), F(u"F10", 68), F(u"F11", 87), F(u"F12", 88), S(12), F(u"Print", 55, 36, E),
    F(u"Scroll", 70, 36), F(u"Pause", 69, 36), N(12), N(24),
    // Digits.
    K(u"`", 41), K(u"1", 2), K(u"2", 3), K(u"3", 4), K(u"4", 5), K(u"5", 6), K(u"6", 7),
    K(u"7", 8), K(u"8", 9), K(u"9", 10), K(u"0", 11), K(u"-", 12), K(u"=", 13),
    K(u"\u2190", 14, 48, false, kFontSymbol), S(12), F(u"Ins", 82, 36, E), F(u"Home", 71, 36, E),
    F(u"PgUp", 73, 36, E), S(12), F(u"Num", 69, 36, E), F(u"/", 53, 36, E), F(u"*", 55, 36),
    F(u"-", 74, 36), N(24),
    // Top letter row.
    K(u"\u21B9", 15, 36, false, kFontSymbol), K(u"Q", 16), K(u"W", 17), K(u"E", 18), K(u"R", 19),
    K(u"T", 20), K(u"Y", 21), K(u"U", 22), K(u"I", 23), K(u"O", 24), K(u"P", 25), K(u"[", 26),
    K(u"]", 27), K(u"\\", 43, 36), S(12), F(u"Del", 83, 36, E), F(u"End", 79, 36, E),
    F(u"PgDn", 81, 36, E), S(12), F(u"Home", 71, 36), F(u"\u2191", 72, 36, false, kFontSymbol),
    F(u"PgUp", 73, 36), F(u"+", 78, 36, false, kFontText, 48), N(24),
    // Home row.
    S(40), K(u"A", 30), K(u"S", 31), K(u"D", 32), K(u"F", 33), K(u"G", 34), K(u"H", 35),
    K(u"J", 36), K(u"K", 37), K(u"L", 38), K(u";", 39), K(u"'", 40),
    K(u"\u21B5", 28, 56, false, kFontSymbol), S(24), S(108),
    F(u"\u2190", 75, 36, false, kFontSymbol), F(u"", 76, 36), F(u"\u2192", 77, 36, false, kFontSymbol),
    F(u"", 78, 0, E), N(24),
    // Bottom letter row.
    S(56), K(u"Z", 44), K(u"X", 45), K(u"C", 46), K(u"V", 47), K(u"B", 48), K(u"N", 49),
    K(u"M", 50), K(u",", 51), K(u".", 52), K(u"/", 53), S(64), S(12), S(36),
    F(u"\u2191", 72, 36, E, kFontSymbol), S(36), S(12), F(u"End", 79, 36),
    F(u"\u2193", 80, 36, false, kFontSymbol), F(u"PgDn", 81, 36),
    F(u"\u21B5", 28, 36, E, kFontSymbol, 48), N(24),
    // Space row.
    S(100), K(u"Space", 57, 160), S(100), S(12), F(u"\u2190", 75, 36, E, kFontSymbol),
    F(u"\u2193", 80, 36, E, kFontSymbol), F(u"\u2192", 77, 36, E, kFontSymbol), S(12),
    F(u"Ins", 82, 72), F(u"Del", 83, 36), N(24),
};
static_assert(std::size(kMain) == 123);

// Laid over the gaps the main block leaves at the left and right of its lower rows.
constexpr Entry kModifiers[] = {
    N(36),         N(24),       N(24),        F(u"Caps", 0, 40), N(24), F(u"SHIFT", 0, 56),
    S(240),        F(u"SHIFT", 0, 64),        N(24),             F(u"CTRL", 0, 40), S(20),
    F(u"ALT", 0, 40), S(160),   F(u"ALT", 0, 40), S(20),         F(u"CTRL", 0, 40), N(24),
};

constexpr uint32_t kVkNumpad0 = 0x60;
constexpr uint32_t kVkDecimal = 0x6E;

constexpr NumpadEntry D(const char16_t* label, unsigned scan, uint32_t vk, int width = 36) {
  return NumpadEntry{F(label, scan, width), vk};
}
constexpr NumpadEntry NR(int advance) { return NumpadEntry{N(advance), 0}; }

constexpr NumpadEntry kNumpad[] = {
    NR(36), NR(24),
    D(u"7", 71, kVkNumpad0 + 7), D(u"8", 72, kVkNumpad0 + 8), D(u"9", 73, kVkNumpad0 + 9), NR(24),
    D(u"4", 75, kVkNumpad0 + 4), D(u"5", 76, kVkNumpad0 + 5), D(u"6", 77, kVkNumpad0 + 6), NR(24),
    D(u"1", 79, kVkNumpad0 + 1), D(u"2", 80, kVkNumpad0 + 2), D(u"3", 81, kVkNumpad0 + 3), NR(24),
    D(u"0", 82, kVkNumpad0, 72), D(u".", 83, kVkDecimal), NR(24),
};

}  // namespace

std::span<const Entry> MainTable() { return kMain; }
std::span<const Entry> ModifierTable() { return kModifiers; }
std::span<const NumpadEntry> NumpadTable() { return kNumpad; }

std::vector<Placed> Place(std::span<const Entry> table, int left) {
  std::vector<Placed> placed;
  int x = left;
  int y = 0;
  for (size_t i = 0; i < table.size(); ++i) {
    const Entry& entry = table[i];
    switch (entry.kind) {
      case Kind::Spacer:
        x += entry.width;
        break;
      case Kind::NewRow:
        x = left;
        y += entry.width;
        break;
      case Kind::Key:
        placed.push_back(Placed{i, x, y, entry.width, entry.height});
        x += entry.width;
        break;
    }
  }
  return placed;
}

std::optional<size_t> FindKey(unsigned scanCode, bool extended) {
  for (size_t i = 0; i < std::size(kMain); ++i) {
    const Entry& entry = kMain[i];
    if (entry.kind == Kind::Key && entry.scanCode == scanCode && entry.extended == extended)
      return i;
  }
  return std::nullopt;
}

}  // namespace keylayout
