// The terminal part of a session: emulation, screen size, appearance, keyboard, modes. Its
// values live in the session's own key and load before the session's other settings.
#pragma once

#include "config/parts/optional_list.h"
#include "storage/values/profile_path.h"
#include "storage/values/profile_values.h"

// The IBM terminal models a TN3270 session may be, with the screen each one fixes.
struct Tn3270Model {
  const char16_t* terminalType;
  int rows;
  int cols;
};
// The models in order; the first is what an unknown type becomes.
extern const Tn3270Model kTn3270Models[4];

class TerminalConfig : public VProfileComposite {
 public:
  TerminalConfig() = default;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  VProfileString emulation;
  VProfile<bool> ansiColor;
  VProfile<bool> colorSchemeOverridesAnsiColor;
  VProfileString defaultScs;
  VProfile<bool> useGlobalAnsiColors;
  VProfileCustomColors ansiColorRgb;
  VProfileWindowPlacement windowPlacement;
  VProfile<bool> isFullScreen;
  VProfile<int> rows;
  VProfile<int> cols;
  VProfile<int> scrollback;
  VProfile<bool> syncViewRows;
  VProfile<bool> syncViewCols;
  VProfile<int> resizeMode;
  VProfile<VTriState> horizontalScrollbar;
  VProfile<VTriState> verticalScrollbar;
  VProfile<unsigned int> foreground;
  VProfile<unsigned int> background;
  VProfileString fontFamily;
  VProfileString colorScheme;
  VProfileLogFont normalFont;
  VProfileLogFont narrowFont;
  VProfile<bool> useNarrowFont;
  VProfileString outputTransformerName;
  VProfile<bool> useUnicodeLineDrawing;
  VProfile<bool> blinkingCursor;
  VProfile<int> cursorStyle;
  VProfile<bool> useCursorColor;
  VProfile<unsigned int> cursorColor;
  VProfile<bool> mapDelete;
  VProfile<bool> mapBackspace;
  VProfileString keymapName;
  ProfilePath keymapFilename;
  VProfile<bool> useAlternateKeyboard;
  VProfile<bool> emacsMode;
  VProfile<bool> emacsMode8Bit;
  VProfile<bool> preserveAltGr;
  VProfileOptionalStringArray keymap;
  VProfile<bool> jumpScroll;
  VProfile<bool> minimizeDrawingWhileJumpScrolling;
  VProfile<bool> keypadMode;
  VProfile<bool> lineWrap;
  VProfile<bool> cursorKeyMode;
  VProfile<bool> newlineMode;
  VProfile<bool> enable80132ColumnSwitching;
  VProfile<bool> ignore80132WhenMaximized;
  VProfile<bool> enableCursorKeyModeSwitching;
  VProfile<bool> enableKeypadModeSwitching;
  VProfile<bool> enableLineWrapModeSwitching;
  VProfile<bool> enableAlternateScreenSwitching;
  VProfile<bool> waitForStringsIgnoresColor;
  VProfile<bool> sgrZeroResetsAnsiColor;
  VProfile<bool> scoLineWrap;
  VProfile<bool> displayTab;
  VProfileString displayTabString;
  VProfile<bool> audioBell;
  VProfile<bool> visualBell;
  VProfile<bool> scrollToClear;
  VProfile<bool> closeOnDisconnect;
  VProfile<bool> clearOnDisconnect;
  VProfile<bool> scrollToBottomOnOutput;
  VProfile<bool> scrollToBottomOnKeypress;
  VProfile<bool> cuaCopyPaste;
  VProfile<bool> useTerminalType;
  VProfileString terminalType;
  VProfile<bool> enableXterm256Color;
  VProfileString answerback;
  VProfile<bool> useAnswerback;
  VProfile<bool> usePosition;
  VProfile<int> xPositionRelativeLeft;
  VProfile<int> yPositionRelativeTop;
  VProfile<bool> localEcho;
  VProfile<bool> strip8thBit;
  VProfile<bool> shiftForcesLocalMouseOperations;
  VProfile<bool> ignoreWindowTitleChangeRequests;
  VProfile<bool> copyTranslatesAnsiLineDrawing;
  VProfile<bool> copyAsRtfAndPlainText;
  VProfile<bool> translateIncomingCrToCrlf;
  VProfile<bool> dumbTerminalIgnoresCrlf;
  VProfile<bool> useSymbolicNamesForNonPrintable;
  VProfile<VTriState> userButtonBar;
  VProfileString userButtonBarName;
  VProfile<VTriState> showChatWindow;
  ProfilePath userFontMap;
  ProfilePath userLineDrawingMap;
  VProfile<bool> hardResetOnEscC;
  VProfile<bool> ignoreShiftOutSequence;
  VProfile<bool> enableTn3270BaseColors;

 protected:
  void OnBeforeLoad(const VProfileKey* key) override;
  void OnAfterLoad(const VProfileKey* key) override;

 private:
  void DefaultAnsiColors(VProfileCustomColors& value, const VProfileKey* key);
  void DefaultResizeMode(VProfile<int>& value, const VProfileKey* key);
  void DefaultFont(VProfileLogFont& value, const VProfileKey* key);
  void DefaultUnicodeLineDrawing(VProfile<bool>& value, const VProfileKey* key);
  void DefaultColumnSwitching(VProfile<bool>& value, const VProfileKey* key);
  void DefaultXterm256Color(VProfile<bool>& value, const VProfileKey* key);

  bool clearTerminalType_ = false;  // "Xterm-256color" was the type: the flag replaces it
};
