// The member table of a session's terminal part and the rules that a plain row cannot say.
#include "config/session/terminal_config.h"

#include "config/parts/emulation_table.h"
#include "config/global/global_config.h"
#include "platform/desktop_settings.h"

const Tn3270Model kTn3270Models[4] = {
    {u"IBM-3278-2", 24, 80},
    {u"IBM-3278-3", 32, 80},
    {u"IBM-3278-4", 43, 80},
    {u"IBM-3278-5", 27, 132},
};

namespace {

constexpr const char16_t* kXterm256Color = u"Xterm-256color";
constexpr const char16_t* kOlderColumnSwitching = u"Enable 80/132 Column Switching";
constexpr const char16_t* kEnableXterm256Color = u"Enable Xterm-256color";
constexpr const char16_t* kTerminalFace = u"Lucida Console";
// When neither view size follows the window, the window follows the view.
constexpr int kResizeModeFixedView = 2;

}  // namespace

const VMemberTable& TerminalConfig::MemberTable() {
  using T = TerminalConfig;
  static const VMemberRow kRows[] = {
      QL_ROW(T, emulation, u"Emulation", kEmulationXterm),
      QL_ROW(T, ansiColor, u"ANSI Color", true),
      QL_ROW(T, colorSchemeOverridesAnsiColor, u"Color Scheme Overrides Ansi Color", true),
      QL_ROW(T, defaultScs, u"Default SCS"),
      QL_ROW(T, useGlobalAnsiColors, u"Use Global ANSI Colors", true),
      QL_ROW(T, ansiColorRgb, u"ANSI Color RGB", QL_COMPUTED(T::DefaultAnsiColors)),
      QL_ROW(T, windowPlacement, u"Window Placement"),
      QL_ROW(T, isFullScreen, u"Is Full Screen", false),
      QL_ROW(T, rows, u"Rows", 24),
      QL_ROW(T, cols, u"Cols", 80),
      QL_ROW(T, scrollback, u"Scrollback", 500),
      QL_ROW(T, syncViewRows, u"Sync View Rows", true),
      QL_ROW(T, syncViewCols, u"Sync View Cols", true),
      QL_ROW(T, resizeMode, u"Resize Mode", QL_COMPUTED(T::DefaultResizeMode)),
      QL_ROW(T, horizontalScrollbar, u"Horizontal Scrollbar", TriStateNotSet),
      QL_ROW(T, verticalScrollbar, u"Vertical Scrollbar", TriStateNotSet),
      QL_ROW(T, foreground, u"Foreground", 0x000000),
      QL_ROW(T, background, u"Background", 0xFFFFFF),
      QL_ROW(T, fontFamily, u"Font Family", kTerminalFace),
      QL_ROW(T, colorScheme, u"Color Scheme"),
      QL_ROW(T, normalFont, u"Normal Font v2", QL_COMPUTED(T::DefaultFont)),
      QL_ROW(T, narrowFont, u"Narrow Font v2", QL_COMPUTED(T::DefaultFont)),
      QL_ROW(T, useNarrowFont, u"Use Narrow Font", false),
      QL_ROW(T, outputTransformerName, u"Output Transformer Name", u"UTF-8"),
      QL_ROW(T, useUnicodeLineDrawing, u"Use Unicode Line Drawing",
             QL_COMPUTED(T::DefaultUnicodeLineDrawing)),
      QL_ROW(T, blinkingCursor, u"Blinking Cursor", true),
      QL_ROW(T, cursorStyle, u"Cursor Style", 0),
      QL_ROW(T, useCursorColor, u"Use Cursor Color", false),
      QL_ROW(T, cursorColor, u"Cursor Color", 0),
      QL_ROW(T, mapDelete, u"Map Delete", false),
      QL_ROW(T, mapBackspace, u"Map Backspace", false),
      QL_ROW(T, keymapName, u"Keymap Name"),
      QL_ROW(T, keymapFilename, u"Keymap Filename"),
      QL_ROW(T, useAlternateKeyboard, u"Use Alternate Keyboard", false),
      QL_ROW(T, emacsMode, u"Emacs Mode", false),
      QL_ROW(T, emacsMode8Bit, u"Emacs Mode 8 Bit", false),
      QL_ROW(T, preserveAltGr, u"Preserve Alt-Gr", false),
      QL_ROW(T, keymap, u"Keymap v4"),
      QL_ROW(T, jumpScroll, u"Jump Scroll", true),
      QL_ROW(T, minimizeDrawingWhileJumpScrolling, u"Minimize Drawing While Jump Scrolling", true),
      QL_ROW(T, keypadMode, u"Keypad Mode", false),
      QL_ROW(T, lineWrap, u"Line Wrap", true),
      QL_ROW(T, cursorKeyMode, u"Cursor Key Mode", false),
      QL_ROW(T, newlineMode, u"Newline Mode", false),
      QL_ROW(T, enable80132ColumnSwitching, u"Enable 80-132 Column Switching",
             QL_COMPUTED(T::DefaultColumnSwitching)),
      QL_ROW(T, ignore80132WhenMaximized,
             u"Ignore 80-132 Column Switching When Maximized or Full Screen", false),
      QL_ROW(T, enableCursorKeyModeSwitching, u"Enable Cursor Key Mode Switching", true),
      QL_ROW(T, enableKeypadModeSwitching, u"Enable Keypad Mode Switching", true),
      QL_ROW(T, enableLineWrapModeSwitching, u"Enable Line Wrap Mode Switching", true),
      QL_ROW(T, enableAlternateScreenSwitching, u"Enable Alternate Screen Switching", true),
      QL_ROW(T, waitForStringsIgnoresColor, u"WaitForStrings Ignores Color", false),
      QL_ROW(T, sgrZeroResetsAnsiColor, u"SGR Zero Resets ANSI Color", true),
      QL_ROW(T, scoLineWrap, u"SCO Line Wrap", false),
      QL_ROW(T, displayTab, u"Display Tab", false),
      QL_ROW(T, displayTabString, u"Display Tab String"),
      QL_ROW(T, audioBell, u"Audio Bell", true),
      QL_ROW(T, visualBell, u"Visual Bell", false),
      QL_ROW(T, scrollToClear, u"Scroll To Clear", true),
      QL_ROW(T, closeOnDisconnect, u"Close On Disconnect", false),
      QL_ROW(T, clearOnDisconnect, u"Clear On Disconnect", false),
      QL_ROW(T, scrollToBottomOnOutput, u"Scroll To Bottom On Output", true),
      QL_ROW(T, scrollToBottomOnKeypress, u"Scroll To Bottom On Keypress", true),
      QL_ROW(T, cuaCopyPaste, u"CUA Copy Paste", false),
      QL_ROW(T, useTerminalType, u"Use Terminal Type", false),
      QL_ROW(T, terminalType, u"Terminal Type"),
      QL_ROW(T, enableXterm256Color, kEnableXterm256Color, QL_COMPUTED(T::DefaultXterm256Color)),
      QL_ROW(T, answerback, u"Answerback"),
      QL_ROW(T, useAnswerback, u"Use Answerback", false),
      QL_ROW(T, usePosition, u"Use Position", false),
      QL_ROW(T, xPositionRelativeLeft, u"X Position Relative Left", 0),
      QL_ROW(T, yPositionRelativeTop, u"Y Position Relative Top", 0),
      QL_ROW(T, localEcho, u"Local Echo", false),
      QL_ROW(T, strip8thBit, u"Strip 8th Bit", false),
      QL_ROW(T, shiftForcesLocalMouseOperations, u"Shift Forces Local Mouse Operations", true),
      QL_ROW(T, ignoreWindowTitleChangeRequests, u"Ignore Window Title Change Requests", false),
      QL_ROW(T, copyTranslatesAnsiLineDrawing, u"Copy Translates ANSI Line Drawing Characters",
             false),
      QL_ROW(T, copyAsRtfAndPlainText, u"Copy to clipboard as RTF and plain text", false),
      QL_ROW(T, translateIncomingCrToCrlf, u"Translate Incoming CR To CRLF", false),
      QL_ROW(T, dumbTerminalIgnoresCrlf, u"Dumb Terminal Ignores CRLF", false),
      QL_ROW(T, useSymbolicNamesForNonPrintable,
             u"Use Symbolic Names For Non-Printable Characters", false),
      QL_ROW(T, userButtonBar, u"User Button Bar", TriStateNotSet),
      QL_ROW(T, userButtonBarName, u"User Button Bar Name"),
      QL_ROW(T, showChatWindow, u"Show Chat Window", TriStateNotSet),
      QL_ROW(T, userFontMap, u"User Font Map"),
      QL_ROW(T, userLineDrawingMap, u"User Line Drawing Map"),
      QL_ROW(T, hardResetOnEscC, u"Hard Reset on ESC c", false),
      QL_ROW(T, ignoreShiftOutSequence, u"Ignore Shift Out Sequence", false),
      QL_ROW(T, enableTn3270BaseColors, u"Enable TN3270 Base Colors", false),
  };
  static const VMemberTable table(kRows);
  return table;
}

void TerminalConfig::OnBeforeLoad(const VProfileKey*) { clearTerminalType_ = false; }

void TerminalConfig::OnAfterLoad(const VProfileKey*) {
  // An emulation this installation does not have (or a name nobody knows) becomes Xterm; the
  // older spelling "SCO-ANSI" is read as the current one.
  VUnicodeString known = FindEmulation(emulation.Current());
  emulation = known.empty() ? VUnicodeString(kEmulationXterm) : known;

  if (clearTerminalType_) terminalType = VUnicodeString();

  // A 3270 screen is the model's, whatever the stored size says.
  if (vtext::EqualsNoCase(emulation.Current(), kEmulationTn3270)) {
    const Tn3270Model* model = &kTn3270Models[0];
    for (const Tn3270Model& candidate : kTn3270Models) {
      if (vtext::EqualsNoCase(terminalType.Current(), candidate.terminalType)) model = &candidate;
    }
    terminalType = VUnicodeString(model->terminalType);
    rows = model->rows;
    cols = model->cols;
  }
}

void TerminalConfig::DefaultAnsiColors(VProfileCustomColors& value, const VProfileKey*) {
  value = GlobalConfig::StandardAnsiColors();
}

void TerminalConfig::DefaultResizeMode(VProfile<int>& value, const VProfileKey*) {
  value = (!syncViewRows.current && !syncViewCols.current) ? kResizeModeFixedView : 0;
}

void TerminalConfig::DefaultFont(VProfileLogFont& value, const VProfileKey*) {
  VLogFont font;
  font.height = -13;         // 10 points on a 96-dot screen
  font.weight = 400;         // normal
  font.pitchAndFamily = 49;  // fixed pitch, modern family
  font.SetFaceName(fontFamily.Current());
  value = font;
}

void TerminalConfig::DefaultUnicodeLineDrawing(VProfile<bool>& value, const VProfileKey*) {
  value = vdesktop::FontHasLineDrawing(normalFont.GetFaceName());
}

void TerminalConfig::DefaultColumnSwitching(VProfile<bool>& value, const VProfileKey* key) {
  VDword older = 1;
  value = !(key && key->ReadDword(kOlderColumnSwitching, older)) || older != 0;
}

void TerminalConfig::DefaultXterm256Color(VProfile<bool>& value, const VProfileKey* key) {
  value = false;
  VDword stored = 0;
  if (key && key->ReadDword(kEnableXterm256Color, stored)) return;
  // Before the flag existed, the colours were asked for with the terminal type.
  if (vtext::EqualsNoCase(terminalType.Current(), kXterm256Color)) {
    value = true;
    clearTerminalType_ = true;
  }
}
