// What the colour scheme editor, the palette panel and the ANSI Color pages decide, without
// widgets: how each preview row looks, the colour the Foreground and Background buttons show
// for a selection of rows, the checks of a new scheme or palette name, the colours a Reset
// restores, and the palette deletion that is written as soon as it is made.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "config/colors/color_lists.h"
#include "report/report_message_params.h"

class GlobalConfig;

namespace coloredit {

// The colour a button shows when the selected rows do not share one.
constexpr VColor kDifferingColor = MakeColor(0xC0, 0xC0, 0xC0);
constexpr size_t kAnsiRowCount = 16;

enum class SchemeView { Basic, Advanced, Ansi };

// ANSI rows go black, black bold, red, red bold, ...: the palette colour each one shows.
constexpr size_t AnsiColorOfRow(size_t row) { return row / 2 + (row % 2 ? 8 : 0); }

struct RowLook {
  VColor foreground = 0;
  VColor background = 0;
  bool bold = false;       // drawn by overstrike
  bool underline = false;
};
// An attribute row: the scheme's colours for that slot, with its bold and underline drawn where
// the slot has those bits and the scheme's options draw them.
RowLook AttributeRowLook(const ColorSchemeEntry& scheme, size_t slot);
// An ANSI row: the palette colour on the scheme's normal background; bold rows overstruck when
// the scheme draws bold that way.
RowLook AnsiRowLook(const ColorSchemeEntry& scheme, const AnsiPaletteEntry& palette, size_t row);

// The colour every row of `mask` has, or kDifferingColor when they differ (or none is selected).
VColor SharedColor(const std::array<VColor, kAttributeCount>& colors, uint32_t mask);
bool RowsShareColor(const std::array<VColor, kAttributeCount>& colors, uint32_t mask);
void SetColorOfRows(std::array<VColor, kAttributeCount>& colors, uint32_t mask, VColor color);

// 0 when `name` can name a new scheme (or palette) of `list`; else the id of the complaint (the
// "already exists" one takes the name as its insert).
uint32_t CheckNewSchemeName(std::u16string_view name, const ProfileColorSchemeListV2& list);
uint32_t CheckNewPaletteName(std::u16string_view name, const ProfileAnsiPaletteList& list);

// The colours a Reset restores a palette named `name` from: the built-in palette of that name,
// else the first built-in palette.
AnsiPaletteEntry ResetSource(std::u16string_view name);
// Restores the normal (0-7) or the bold (8-15) colours of `palette`.
void ResetGroup(AnsiPaletteEntry& palette, bool bold);

// The palette a scheme is shown with: its own when the list has it, else the first built-in.
AnsiPaletteEntry PaletteOfScheme(const ColorSchemeEntry& scheme,
                                 const ProfileAnsiPaletteList& palettes);

// Deletes palette `name` from the configuration being edited (schemes that used it and a
// current palette that was it fall back to the first built-in palette) and writes the deletion
// into the store's global key at once: the palette list, the scheme list and the current
// palette as they were last saved, with only this deletion made, so that other changes still
// being edited are written by OK or dropped by Cancel as before. False with the reason when the
// palette is not there or the store refused the write (the configuration being edited then
// keeps the palette too).
bool DeletePaletteNow(GlobalConfig& config, std::u16string_view name, VReportMessageParams& error);

}  // namespace coloredit
