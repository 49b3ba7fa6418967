// The settings of a session's terminal part, in load order. TerminalConfig declares its members
// and builds its member table from this one list (QL_MEMBERS, QL_MEMBER_TABLE), so that no
// member can be without its row or row without its member. The rows are expanded in
// terminal_config.cpp, so the names their defaults use (the emulation and face constants) are
// those seen there.
#pragma once

#define TERMINAL_CONFIG_MEMBERS(SETTING, OBJECT)                                                   \
  SETTING(VProfileString, emulation, u"Emulation", kEmulationXterm)                                \
  SETTING(VProfile<bool>, ansiColor, u"ANSI Color", true)                                          \
  SETTING(VProfile<bool>, colorSchemeOverridesAnsiColor, u"Color Scheme Overrides Ansi Color",     \
          true)                                                                                    \
  SETTING(VProfileString, defaultScs, u"Default SCS")                                              \
  SETTING(VProfile<bool>, useGlobalAnsiColors, u"Use Global ANSI Colors", true)                    \
  SETTING(VProfileCustomColors, ansiColorRgb, u"ANSI Color RGB",                                   \
          QL_COMPUTED(TerminalConfig::DefaultAnsiColors))                                          \
  SETTING(VProfileWindowPlacement, windowPlacement, u"Window Placement")                           \
  SETTING(VProfile<bool>, isFullScreen, u"Is Full Screen", false)                                  \
  SETTING(VProfile<int>, rows, u"Rows", 24)                                                        \
  SETTING(VProfile<int>, cols, u"Cols", 80)                                                        \
  SETTING(VProfile<int>, scrollback, u"Scrollback", 500)                                           \
  SETTING(VProfile<bool>, syncViewRows, u"Sync View Rows", true)                                   \
  SETTING(VProfile<bool>, syncViewCols, u"Sync View Cols", true)                                   \
  SETTING(VProfile<int>, resizeMode, u"Resize Mode",                                               \
          QL_COMPUTED(TerminalConfig::DefaultResizeMode))                                          \
  SETTING(VProfile<VTriState>, horizontalScrollbar, u"Horizontal Scrollbar", TriStateNotSet)       \
  SETTING(VProfile<VTriState>, verticalScrollbar, u"Vertical Scrollbar", TriStateNotSet)           \
  SETTING(VProfile<unsigned int>, foreground, u"Foreground", 0x000000)                             \
  SETTING(VProfile<unsigned int>, background, u"Background", 0xFFFFFF)                             \
  SETTING(VProfileString, fontFamily, u"Font Family", kTerminalFace)                               \
  SETTING(ProfileItemName, colorScheme, u"Color Scheme")                                           \
  SETTING(VProfileLogFont, normalFont, u"Normal Font v2",                                          \
          QL_COMPUTED(TerminalConfig::DefaultFont))                                                \
  SETTING(VProfileLogFont, narrowFont, u"Narrow Font v2",                                          \
          QL_COMPUTED(TerminalConfig::DefaultFont))                                                \
  SETTING(VProfile<bool>, useNarrowFont, u"Use Narrow Font", false)                                \
  SETTING(VProfileString, outputTransformerName, u"Output Transformer Name", u"UTF-8")             \
  SETTING(VProfile<bool>, useUnicodeLineDrawing, u"Use Unicode Line Drawing",                      \
          QL_COMPUTED(TerminalConfig::DefaultUnicodeLineDrawing))                                  \
  SETTING(VProfile<bool>, blinkingCursor, u"Blinking Cursor", true)                                \
  SETTING(VProfile<int>, cursorStyle, u"Cursor Style", 0)                                          \
  SETTING(VProfile<bool>, useCursorColor, u"Use Cursor Color", false)                              \
  SETTING(VProfile<unsigned int>, cursorColor, u"Cursor Color", 0)                                 \
  SETTING(VProfile<bool>, mapDelete, u"Map Delete", false)                                         \
  SETTING(VProfile<bool>, mapBackspace, u"Map Backspace", false)                                   \
  SETTING(VProfileString, keymapName, u"Keymap Name")                                              \
  SETTING(ProfilePath, keymapFilename, u"Keymap Filename")                                         \
  SETTING(VProfile<bool>, useAlternateKeyboard, u"Use Alternate Keyboard", false)                  \
  SETTING(VProfile<bool>, emacsMode, u"Emacs Mode", false)                                         \
  SETTING(VProfile<bool>, emacsMode8Bit, u"Emacs Mode 8 Bit", false)                               \
  SETTING(VProfile<bool>, preserveAltGr, u"Preserve Alt-Gr", false)                                \
  SETTING(ProfileKeymap, keymap, u"Keymap v4")                                                     \
  SETTING(VProfile<bool>, jumpScroll, u"Jump Scroll", true)                                        \
  SETTING(VProfile<bool>, minimizeDrawingWhileJumpScrolling,                                       \
          u"Minimize Drawing While Jump Scrolling", true)                                          \
  SETTING(VProfile<bool>, keypadMode, u"Keypad Mode", false)                                       \
  SETTING(VProfile<bool>, lineWrap, u"Line Wrap", true)                                            \
  SETTING(VProfile<bool>, cursorKeyMode, u"Cursor Key Mode", false)                                \
  SETTING(VProfile<bool>, newlineMode, u"Newline Mode", false)                                     \
  SETTING(VProfile<bool>, enable80132ColumnSwitching, u"Enable 80-132 Column Switching",           \
          QL_COMPUTED(TerminalConfig::DefaultColumnSwitching))                                     \
  SETTING(VProfile<bool>, ignore80132WhenMaximized,                                                \
          u"Ignore 80-132 Column Switching When Maximized or Full Screen", false)                  \
  SETTING(VProfile<bool>, enableCursorKeyModeSwitching, u"Enable Cursor Key Mode Switching", true) \
  SETTING(VProfile<bool>, enableKeypadModeSwitching, u"Enable Keypad Mode Switching", true)        \
  SETTING(VProfile<bool>, enableLineWrapModeSwitching, u"Enable Line Wrap Mode Switching", true)   \
  SETTING(VProfile<bool>, enableAlternateScreenSwitching, u"Enable Alternate Screen Switching",    \
          true)                                                                                    \
  SETTING(VProfile<bool>, waitForStringsIgnoresColor, u"WaitForStrings Ignores Color", false)      \
  SETTING(VProfile<bool>, sgrZeroResetsAnsiColor, u"SGR Zero Resets ANSI Color", true)             \
  SETTING(VProfile<bool>, scoLineWrap, u"SCO Line Wrap", false)                                    \
  SETTING(VProfile<bool>, displayTab, u"Display Tab", false)                                       \
  SETTING(VProfileString, displayTabString, u"Display Tab String")                                 \
  SETTING(VProfile<bool>, audioBell, u"Audio Bell", true)                                          \
  SETTING(VProfile<bool>, visualBell, u"Visual Bell", false)                                       \
  SETTING(VProfile<bool>, scrollToClear, u"Scroll To Clear", true)                                 \
  SETTING(VProfile<bool>, closeOnDisconnect, u"Close On Disconnect", false)                        \
  SETTING(VProfile<bool>, clearOnDisconnect, u"Clear On Disconnect", false)                        \
  SETTING(VProfile<bool>, scrollToBottomOnOutput, u"Scroll To Bottom On Output", true)             \
  SETTING(VProfile<bool>, scrollToBottomOnKeypress, u"Scroll To Bottom On Keypress", true)         \
  SETTING(VProfile<bool>, cuaCopyPaste, u"CUA Copy Paste", false)                                  \
  SETTING(VProfile<bool>, useTerminalType, u"Use Terminal Type", false)                            \
  SETTING(VProfileString, terminalType, u"Terminal Type")                                          \
  SETTING(VProfile<bool>, enableXterm256Color, kEnableXterm256Color,                               \
          QL_COMPUTED(TerminalConfig::DefaultXterm256Color))                                       \
  SETTING(VProfileString, answerback, u"Answerback")                                               \
  SETTING(VProfile<bool>, useAnswerback, u"Use Answerback", false)                                 \
  SETTING(VProfile<bool>, usePosition, u"Use Position", false)                                     \
  SETTING(VProfile<int>, xPositionRelativeLeft, u"X Position Relative Left", 0)                    \
  SETTING(VProfile<int>, yPositionRelativeTop, u"Y Position Relative Top", 0)                      \
  SETTING(VProfile<bool>, localEcho, u"Local Echo", false)                                         \
  SETTING(VProfile<bool>, strip8thBit, u"Strip 8th Bit", false)                                    \
  SETTING(VProfile<bool>, shiftForcesLocalMouseOperations, u"Shift Forces Local Mouse Operations", \
          true)                                                                                    \
  SETTING(VProfile<bool>, ignoreWindowTitleChangeRequests, u"Ignore Window Title Change Requests", \
          false)                                                                                   \
  SETTING(VProfile<bool>, copyTranslatesAnsiLineDrawing,                                           \
          u"Copy Translates ANSI Line Drawing Characters", false)                                  \
  SETTING(VProfile<bool>, copyAsRtfAndPlainText, u"Copy to clipboard as RTF and plain text",       \
          false)                                                                                   \
  SETTING(VProfile<bool>, translateIncomingCrToCrlf, u"Translate Incoming CR To CRLF", false)      \
  SETTING(VProfile<bool>, dumbTerminalIgnoresCrlf, u"Dumb Terminal Ignores CRLF", false)           \
  SETTING(VProfile<bool>, useSymbolicNamesForNonPrintable,                                         \
          u"Use Symbolic Names For Non-Printable Characters", false)                               \
  SETTING(VProfile<VTriState>, userButtonBar, u"User Button Bar", TriStateNotSet)                  \
  SETTING(VProfileString, userButtonBarName, u"User Button Bar Name")                              \
  SETTING(VProfile<VTriState>, showChatWindow, u"Show Chat Window", TriStateNotSet)                \
  SETTING(ProfilePath, userFontMap, u"User Font Map")                                              \
  SETTING(ProfilePath, userLineDrawingMap, u"User Line Drawing Map")                               \
  SETTING(VProfile<bool>, hardResetOnEscC, u"Hard Reset on ESC c", false)                          \
  SETTING(VProfile<bool>, ignoreShiftOutSequence, u"Ignore Shift Out Sequence", false)             \
  SETTING(VProfile<bool>, enableTn3270BaseColors, u"Enable TN3270 Base Colors", false)
