// The on-screen keyboard of the key map editor as three tables of entries: the main block (keys
// with their PC scan codes), the modifier toggles laid over the gaps the main block leaves for
// Caps, Shift, Ctrl and Alt, and the keypad digits shown while the number lock is on. Widths,
// heights and row advances are in dialog units; the page scales them to pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace keylayout {

enum class Kind { Key, Spacer, NewRow };

// Font of a legend.
enum Font : unsigned { kFontEscape = 1, kFontText = 2, kFontSymbol = 3 };

struct Entry {
  Kind kind;
  const char16_t* label;
  int width;  // a spacer's horizontal advance, a new row's vertical one
  int height;
  unsigned scanCode;
  bool extended;
  bool fixedLegend;  // the label is drawn whatever the layout makes the key produce
  unsigned font;
};

struct NumpadEntry {
  Entry entry;
  uint32_t virtualKey;  // VK_NUMPAD0..9 or VK_DECIMAL
};

// Horizontal offset of the number-lock table over the keypad.
constexpr int kNumpadOffset = 492;

std::span<const Entry> MainTable();
std::span<const Entry> ModifierTable();
std::span<const NumpadEntry> NumpadTable();

struct Placed {
  size_t index;  // in its table
  int x, y, width, height;
};

// The keys of a table with their places: spacers move right by their width, new rows return to
// `left` and move down by theirs. Spacers and rows themselves are not listed; keys of width 0
// are (they exist but are not drawn).
std::vector<Placed> Place(std::span<const Entry> table, int left = 0);

// The main-table key with this scan code and extended flag.
std::optional<size_t> FindKey(unsigned scanCode, bool extended);

}  // namespace keylayout
