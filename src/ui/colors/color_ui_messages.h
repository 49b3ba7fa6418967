// Texts of the colour scheme editor, the palette panel and the ANSI Color pages (the user
// interface's catalogue, messages/ui_*.msg).
#pragma once

#include <cstdint>

namespace color_messages {

constexpr uint32_t kSchemeDialogTitle = 0x61391700;  // %1: the scheme's name
constexpr uint32_t kFirstAttributeName = 0x61391701;  // eight, in slot order
constexpr uint32_t kFirstAnsiRowName = 0x61391709;    // sixteen: black, black bold, red, ...
constexpr uint32_t kBasicView = 0x61391719;
constexpr uint32_t kAdvancedView = 0x6139171A;
constexpr uint32_t kAnsiView = 0x6139171B;
constexpr uint32_t kAttributesLabel = 0x6139171C;
constexpr uint32_t kForegroundButton = 0x6139171D;
constexpr uint32_t kBackgroundButton = 0x6139171E;
constexpr uint32_t kPaletteLabel = 0x6139171F;
constexpr uint32_t kOverstrikeBold = 0x61391720;
constexpr uint32_t kShowUnderline = 0x61391721;
constexpr uint32_t kEnableBlink = 0x61391722;
constexpr uint32_t kPreviewLabel = 0x61391723;
constexpr uint32_t kNewSchemeTitle = 0x61391724;
constexpr uint32_t kNameLabel = 0x61391725;
constexpr uint32_t kNewPaletteTitle = 0x61391726;
constexpr uint32_t kBasedOnLabel = 0x61391727;
constexpr uint32_t kSchemeNameEmpty = 0xE1391728;
constexpr uint32_t kNameHasComma = 0xE1391729;
constexpr uint32_t kNameExists = 0xE139172A;  // %1: the name
constexpr uint32_t kPaletteNameEmpty = 0xE139172B;
constexpr uint32_t kNormalColorsGroup = 0x6139172C;
constexpr uint32_t kBoldColorsGroup = 0x6139172D;
constexpr uint32_t kResetNormal = 0x6139172E;
constexpr uint32_t kResetBold = 0x6139172F;
constexpr uint32_t kPalettesLabel = 0x61391730;
constexpr uint32_t kNewPalette = 0x61391731;
constexpr uint32_t kDeletePalette = 0x61391732;
constexpr uint32_t kDeletePaletteQuestion = 0xA1391733;  // %1: the palette sessions fall back to
constexpr uint32_t kUseGlobalAnsiColors = 0x61391734;
constexpr uint32_t kAnsiColorPageTitle = 0x61391735;
constexpr uint32_t kColorSchemesPageTitle = 0x61391736;
constexpr uint32_t kSchemesLabel = 0x61391737;
constexpr uint32_t kEditScheme = 0x61391738;
constexpr uint32_t kNewScheme = 0x61391739;
constexpr uint32_t kDeleteScheme = 0x6139173A;
constexpr uint32_t kDeleteSchemeQuestion = 0xA139173B;
constexpr uint32_t kTransparencyGroup = 0x6139173C;
constexpr uint32_t kActiveWindow = 0x6139173D;
constexpr uint32_t kInactiveWindow = 0x6139173E;
constexpr uint32_t kPaletteDeletionNotWritten = 0xE139173F;  // %1: palette, %2: why
constexpr uint32_t kColorsWindowTitle = 0x61391740;
constexpr uint32_t kChooseColorTitle = 0x61391741;

}  // namespace color_messages
