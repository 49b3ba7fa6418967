// The settings of the global configuration, in load order. GlobalConfig declares its members
// and builds its member table from this one list (QL_MEMBERS, QL_MEMBER_TABLE), so that no
// member can be without its row or row without its member. The rows are expanded in
// global_config.cpp, so the names their defaults use are those seen there.
#pragma once

#define GLOBAL_CONFIG_MEMBERS(SETTING, OBJECT)                                                     \
  /* Passphrase and connect dialog */                                                              \
  SETTING(VProfileEncryptedString, configPassphrase, u"Config Passphrase")                         \
  SETTING(VProfile<bool>, changeConfigPassphrase, u"Change Config Passphrase", false)              \
  SETTING(VProfile<bool>, showConnectDialog, u"Show Connect Dialog", true)                         \
  SETTING(VProfile<bool>, showDetailsOnConnectDialog, u"Show Details on Connect Dialog", true)     \
  SETTING(VProfile<bool>, showQuickConnectDialog, u"Show Quick Connect Dialog", false)             \
  SETTING(VProfile<bool>, showTransferOnlySessions, u"Show Transfer Only Sessions", true)          \
  SETTING(VProfile<bool>, showTerminalOnlySessions, u"Show Terminal Only Sessions", true)          \
  SETTING(VProfile<bool>, useDockableSessionManager, u"Use Dockable Session Manager", true,        \
          .Lmb())                                                                                  \
  SETTING(VProfile<bool>, autoSaveOptions, u"Auto Save Options", true)                             \
  SETTING(VProfile<bool>, showToolbar, u"Show Toolbar", true, .Lmb())                              \
  SETTING(VProfileWindowPlacement, windowPlacement, u"Window Placement")                           \
  SETTING(VProfileWindowPlacement, connectDialogSize, u"Connect Dialog Size")                      \
  SETTING(VProfileString, connectExpandPath, u"Connect Expand Path")                               \
  SETTING(VProfile<bool>, isExpanded, u"Is Expanded", true)                                        \
  SETTING(VProfile<bool>, disableAeroPeek, u"Disable Aero Peek", false)                            \
  SETTING(VProfile<bool>, sortAlphabetical, u"Sort Alphabetical", true)                            \
  SETTING(VProfile<bool>, hideDotSessionFiles, u"Hide Dot Session Files", true)                    \
  SETTING(VProfileString, sessionOptionsTreeSelected, u"Session Options Tree Selected",            \
          u"Session+")                                                                             \
  SETTING(VProfile<bool>, saveConnectDialogFolderState, u"Save Connect Dialog Folder State", true) \
  SETTING(VProfile<unsigned int>, sessionFilterDelay, u"Session Filter Delay", 250)                \
  SETTING(VProfile<int>, connectDialogSortOrder, u"Connect Dialog Sort Order",                     \
          QL_COMPUTED(GlobalConfig::DefaultConnectDialogSortOrder))                                \
  /* Mouse, clipboard and paste */                                                                 \
  SETTING(VProfile<bool>, copyOnSelect, u"Copy On Select", true)                                   \
  SETTING(VProfile<int>, pasteOnMiddleButton, u"Paste On Middle Button", 0)                        \
  SETTING(VProfile<int>, pasteOnRightButton, u"Paste On Right Button", 1)                          \
  SETTING(VProfile<bool>, promptOnMultiLinePaste, u"Prompt On Multi-Line Paste", true)             \
  SETTING(VProfileWindowPlacement, confirmMultiLinePasteDialogSize,                                \
          u"Confirm Multi-Line Paste Dialog Size")                                                 \
  SETTING(VProfile<bool>, hideMousePointerOnKeypress, u"Hide Mouse Pointer On Keypress", true)     \
  SETTING(VProfile<bool>, reuseDisconnectedTabs, u"Reuse Disconnected Tabs", true)                 \
  SETTING(VProfile<bool>, appendNumberWhenConnectingSameSession,                                   \
          u"Append Number When Connecting Same Session", true)                                     \
  SETTING(VProfile<bool>, openUrlWithCtrlClick, u"Open URL with CTRL+click", true)                 \
  SETTING(VProfileString, quotationCharacters, u"Quotation Characters", u"\"")                     \
  SETTING(VProfile<bool>, insertPastedTextBetweenQuotationCharacters,                              \
          u"Insert Pasted Text Between Quotation Characters", true)                                \
  SETTING(VProfile<bool>, showPromptOnPasteAsQuotation, u"Show Prompt On Paste As Quotation",      \
          true)                                                                                    \
  /* Terminal window behaviour */                                                                  \
  SETTING(VProfile<bool>, showConnectionClosedDialog, u"Show Connection Closed Dialog", false)     \
  SETTING(VProfile<bool>, showConfirmDisconnectDialog, u"Show Confirm Disconnect Dialog", true)    \
  SETTING(VProfile<bool>, disableResize, u"Disable Resize", false)                                 \
  SETTING(VProfile<bool>, clipOnResize, u"Clip On Resize", false)                                  \
  SETTING(VProfile<bool>, showCursorPositionIndicator, u"Show Cursor Position Indicator", true)    \
  SETTING(VProfile<bool>, showWindowSizeIndicator, u"Show Window Size Indicator", true)            \
  SETTING(VProfile<int>, useSystemCaret, u"Use System Caret", 0)                                   \
  SETTING(VProfile<bool>, focusDoesNotAffectBlink, u"Focus Does Not Affect Blink", false)          \
  SETTING(ProfilePath, audioBellSoundFile, u"Audio Bell Sound File")                               \
  SETTING(VProfile<bool>, executeEscapeSequence, u"Execute Escape Sequence", false)                \
  SETTING(VProfile<int>, suppressExecuteEscapeSequenceExitCodes,                                   \
          u"Suppress Execute Escape Sequence Exit Codes", 0)                                       \
  SETTING(VProfile<int>, altSelectsMenu, u"Alt Selects Menu", 1)                                   \
  SETTING(VProfile<int>, checkShellTelnetCommand, u"Check Shell Telnet Command", 1)                \
  SETTING(VProfile<int>, useOldIcons, u"Use Old Icons", 0)                                         \
  SETTING(ProfilePath, terminalLogFile, u"Terminal Log File")                                      \
  SETTING(VProfile<bool>, showElapsedTime, u"Show Elapsed Time", false)                            \
  SETTING(VProfile<bool>, neverShowSeconds, u"Never Show Seconds", false)                          \
  SETTING(VProfile<bool>, alphaTransparency, u"Alpha Transparency", false)                         \
  SETTING(VProfile<unsigned char>, activeWindowAlphaTransparency,                                  \
          u"Active Window Alpha Transparency", 255)                                                \
  SETTING(VProfile<unsigned char>, inactiveWindowAlphaTransparency,                                \
          u"Inactive Window Alpha Transparency", 255)                                              \
  SETTING(VProfile<bool>, showDefaultKeyMappings, u"Show Default Key Mappings", false)             \
  SETTING(VProfile<int>, suppressMappedKeyIsDefaultWarning,                                        \
          u"Suppress Mapped Key Is Default Warning", 0)                                            \
  SETTING(VProfile<bool>, swapEnterAndCtrlEnterInCommandWindow,                                    \
          u"Swap Enter and Ctrl+Enter in Command Window", false)                                   \
  SETTING(VProfile<bool>, tripleClickSelectionIncludesNewline,                                     \
          u"Triple-Click Selection Includes Newline", false)                                       \
  OBJECT(PrinterConfig, printer)                                                                   \
  SETTING(VProfile<int>, ejectPageInterval, u"Eject Page Interval", 0)                             \
  SETTING(VProfile<bool>, enablePrintScreenKey, u"Enable Print Screen Key", false)                 \
  SETTING(VProfile<bool>, disableAllPrinting, u"Disable All Printing", false)                      \
  /* Status indicators: text colour, then background colour, per session state */                  \
  SETTING(VProfile<int>, connectedColor, u"Connected Color", 0x28C828)                             \
  SETTING(VProfile<int>, backgroundConnectedColor, u"Background Connected Color", 0xAAFFAA)        \
  SETTING(VProfile<int>, disconnectedColor, u"Disconnected Color", 0x0000FF)                       \
  SETTING(VProfile<int>, backgroundDisconnectedColor, u"Background Disconnected Color", 0xAAAAFF)  \
  SETTING(VProfile<int>, newInputColor, u"New Input Color", 0xFF0000)                              \
  SETTING(VProfile<int>, backgroundNewInputColor, u"Background New Input Color", 0xFFC88C)         \
  SETTING(VProfile<int>, inactivityColor, u"Inactivity Color", 0x00FFFF)                           \
  SETTING(VProfile<int>, backgroundInactivityColor, u"Background Inactivity Color", 0xA0FFFF)      \
  SETTING(VProfile<int>, lockedColor, u"Locked Color", 0xAAAAAA)                                   \
  SETTING(VProfile<int>, backgroundLockedColor, u"Background Locked Color", 0xAAAAAA)              \
  SETTING(VProfile<int>, scriptColor, u"Script Color", 0x800080)                                   \
  SETTING(VProfile<int>, backgroundScriptColor, u"Background Script Color", 0xFFB9DC)              \
  SETTING(VProfile<bool>, showStatusIndicators, u"Show Status Indicators", true)                   \
  SETTING(VProfile<int>, statusIndicatorStyle, u"Status Indicator Style", 0)                       \
  SETTING(VProfile<int>, statusIndicatorWidth, u"Status Indicator Width", 2, .Clamp(1, 10))        \
  /* Tabs and chrome */                                                                            \
  SETTING(VProfile<int>, tabWidth, u"Tab Width", QL_COMPUTED(GlobalConfig::DefaultTabWidth),       \
          .Clamp(20, INT32_MAX))                                                                   \
  SETTING(VProfile<bool>, tabWidthIsMinimum, u"Tab Width Is Minimum", true)                        \
  SETTING(VProfile<int>, doubleClickAction, u"Double Click Action", 0)                             \
  SETTING(VProfile<int>, tabLocation, u"Tab Location", 0)                                          \
  SETTING(VProfile<bool>, closeButtonOnTabs, u"Close Button On Tabs", true)                        \
  SETTING(VProfile<bool>, confirmCloseMultipleTabs, u"Confirm Close Multiple Tabs", false)         \
  SETTING(VProfile<bool>, showMultipleTabsOnly, u"Show Multiple Tabs Only", false)                 \
  SETTING(VProfile<bool>, enableTabSwitchingHistory, u"Enable Tab Switching History", false)       \
  SETTING(VProfile<bool>, showInactivityStatus, u"Show Inactivity Status", false)                  \
  SETTING(VProfile<int>, inactivityTimeoutValue, u"Inactivity Timeout Value", 5000)                \
  SETTING(VProfile<bool>, showScriptIndicator, u"Show Script Indicator", false)                    \
  SETTING(VProfileTabState, karvellTabStateV2, u"Karvell Tab State V2",                            \
          QL_COMPUTED(GlobalConfig::DefaultKarvellTabState))                                       \
  SETTING(VProfile<bool>, launchNewWindowsInASeparateProcess,                                      \
          u"Launch New Windows in a Separate Process", false)                                      \
  SETTING(VProfile<bool>, autoReconnect, u"Auto Reconnect", false)                                 \
  SETTING(VProfile<int>, autoReconnectInterval, u"Auto Reconnect Interval", 5)                     \
  SETTING(VProfile<bool>, showMenuBar, u"Show Menu Bar", true, .Lmb())                             \
  SETTING(VProfile<bool>, hiddenMenuBarCanBeAccessed, u"Hidden Menu Bar Can Be Accessed", false)   \
  SETTING(VProfile<bool>, showStatusBar, u"Show Status Bar", true, .Lmb())                         \
  SETTING(VProfile<bool>, showSessionManager, u"Show Session Manager", true, .Lmb())               \
  SETTING(ProfileDockWindowState, sessionManagerWindowState, u"Session Manager Window State",      \
          u"1,0,0,0,0,0,0,0", .Lmb())                                                              \
  SETTING(VProfile<bool>, showConnectBar, u"Show Connect Bar", true)                               \
  SETTING(VProfile<bool>, showChatWindow, u"Show Chat Window",                                     \
          QL_COMPUTED(GlobalConfig::DefaultShowChatWindow))                                        \
  SETTING(VProfile<bool>, userButtonBar, u"User Button Bar", false)                                \
  SETTING(VProfile<int>, buttonBarLocation, u"Button Bar Location", 0)                             \
  SETTING(VProfile<int>, maxChatWindowHistory, u"Max Chat Window History", 200)                    \
  SETTING(VProfile<int>, chatWindowHeight, u"Chat Window Height", -1)                              \
  SETTING(VProfile<int>, hexViewBuffer, u"Hex View Buffer", 100)                                   \
  SETTING(VProfile<bool>, showSessionTabs, u"Show Session Tabs", true)                             \
  SETTING(VProfile<int>, initialSendCommandsToValue, u"Initial Send Commands To Value",            \
          QL_COMPUTED(GlobalConfig::DefaultInitialSendCommandsTo))                                 \
  SETTING(VProfile<int>, maxButtonBarNameWidth, u"Max Button Bar Name Width", 125)                 \
  SETTING(VProfile<int>, maxScrollbackBufferSize, u"Max Scrollback Buffer Size", 128000)           \
  SETTING(VProfile<bool>, horizontalScrollbar, u"Horizontal Scrollbar", false)                     \
  SETTING(VProfile<bool>, verticalScrollbar, u"Vertical Scrollbar", true)                          \
  SETTING(VProfile<bool>, saveNewConnectEntries, u"Save New Connect Entries", true)                \
  SETTING(VProfile<bool>, openSessionsInTab, u"Open Sessions In Tab", true)                        \
  SETTING(VProfile<int>, xPosition, u"X Position", 0)                                              \
  SETTING(VProfile<int>, yPosition, u"Y Position", 0)                                              \
  SETTING(VProfile<bool>, saveSessionWindowState, u"Save Session Window State", false)             \
  SETTING(VProfile<int>, viewLeftMargin, u"View Left Margin", 3, .Clamp(0, 1024))                  \
  SETTING(VProfile<int>, mruCount, u"MRU Count", 4, .Clamp(0, 16))                                 \
  SETTING(VProfile<int>, scriptMruCount, u"Script MRU Count", 10, .Clamp(0, 10))                   \
  SETTING(VProfile<short>, maxColumns, u"Max Columns", 256, .Clamp(132, 32000))                    \
  SETTING(VProfile<bool>, allowProportionalFonts, u"Allow Proportional Fonts", false)              \
  SETTING(VProfile<bool>, enableFontSmoothing, u"Enable Font Smoothing",                           \
          QL_COMPUTED(GlobalConfig::DefaultFontSmoothing))                                         \
  SETTING(VProfileString, connectDialogFont, u"Connect Dialog Font")                               \
  /* Sessions on start-up */                                                                       \
  SETTING(VProfile<bool>, useAutoSession, u"Use Auto Session", false, .Lmb())                      \
  SETTING(VProfileString, autoSessionName, u"Auto Session Name", , .Lmb())                         \
  SETTING(VProfile<bool>, useRememberedSessions, u"Use Remembered Sessions", false, .Lmb())        \
  SETTING(ProfileRememberedSessionList, rememberedSessions, u"Remembered Sessions List V2", ,      \
          .LmbName(u"Remembered Sessions List LMB"))                                               \
  /* Miscellaneous application behaviour */                                                        \
  SETTING(VProfile<int>, disableClose, u"Disable Close", 0)                                        \
  SETTING(VProfile<int>, singleInstance, u"Single Instance", 0)                                    \
  SETTING(VProfileString, clipboardDataFormat, u"Clipboard Data Format")                           \
  SETTING(VProfile<int>, lineSendDelay, u"Line Send Delay", 5, .LoadOnly())                        \
  SETTING(VProfile<int>, characterSendDelay, u"Character Send Delay", 0, .LoadOnly())              \
  SETTING(VProfile<bool>, useKeychain, u"Use Keychain", false)                                     \
  SETTING(VProfile<bool>, useLargeTabBar, u"Use Large Tab Bar", false)                             \
  SETTING(VProfile<bool>, limitWindowsTaskbarPreviewThumbnails,                                    \
          u"Limit Windows Taskbar Preview Thumbnails", true)                                       \
  SETTING(VProfile<bool>, zoomOnCtrlScrollwheel, u"Zoom on Ctrl Scrollwheel", true)                \
  SETTING(VProfile<bool>, zoomOnKeyboardShortcut, u"Zoom on Keyboard Shortcut",                    \
          QL_COMPUTED(GlobalConfig::DefaultZoomOnKeyboardShortcut))                                \
  SETTING(VProfile<bool>, hideSessionAnsiColorPage, u"Hide Session ANSI Color Page", true)         \
  SETTING(VProfile<bool>, minimizeToTray, u"Minimize To Tray", false)                              \
  SETTING(VProfileString, globalOptionsTreeState, u"Global Options Tree State", u"1001000100")     \
  SETTING(VProfileString, globalOptionsTreeSelected, u"Global Options Tree Selected", u"Global+")  \
  SETTING(VProfileString, sessionOptionsTreeState, u"Session Options Tree State",                  \
          u"1010000101010010")                                                                     \
  SETTING(ProfilePath, lastScriptRun, u"Last Script Run")                                          \
  SETTING(ProfilePath, scriptDirectory, u"Script Directory")                                       \
  SETTING(VProfile<int>, httpUseRegistryEntry, u"HTTP Use Registry Entry", 1)                      \
  SETTING(ProfilePath, httpBrowserApplication, u"HTTP Browser Application")                        \
  SETTING(VProfile<int>, httpUseDde, u"HTTP Use DDE", 0)                                           \
  /* Colours */                                                                                    \
  SETTING(VProfileCustomColors, customColors, u"Custom Colors",                                    \
          QL_COMPUTED(GlobalConfig::DefaultCustomColors))                                          \
  SETTING(VProfileCustomColors, ansiColorRgb, u"ANSI Color RGB",                                   \
          QL_COMPUTED(GlobalConfig::DefaultAnsiColors))                                            \
  SETTING(ProfileAnsiPaletteList, ansiPalettes, u"ANSI Color Palettes",                           \
          QL_COMPUTED(GlobalConfig::DefaultColorList<ProfileAnsiPaletteList>))                     \
  SETTING(VProfileString, currentAnsiPalette, u"Current ANSI Palette", kBuiltInPaletteName)        \
  SETTING(ProfileColorSchemeListV2, colorSchemes, u"Color Schemes",                                \
          QL_COMPUTED(GlobalConfig::DefaultColorList<ProfileColorSchemeListV2>))                   \
  SETTING(VProfile<bool>, useDefaultSessionColorOnStartup,                                         \
          u"Use Default Session Color On Startup", false)                                          \
  /* Toolbars and theme */                                                                         \
  SETTING(ProfilePath, menuToolbarFile, u"Menu Toolbar File")                                      \
  SETTING(VProfileBlob, lmbCustomToolbarData, u"LMB Custom Toolbar Data")                          \
  SETTING(VProfile<int>, lumbrelToolbarTheme, u"Lumbrel Toolbar Theme", 10)                        \
  SETTING(VProfile<int>, karvellToolbarTheme, u"Karvell Toolbar Theme", 10)                        \
  SETTING(VProfile<int>, darkThemeHighlightColor, u"Dark Theme Highlight Color", 0x0074E8)         \
  /* Terminal file transfer and TFTP server */                                                     \
  SETTING(VProfile<bool>, zModemUploadAscii, u"ZModem Upload ASCII", false)                        \
  SETTING(VProfile<bool>, kermitUploadAscii, u"Kermit Upload ASCII", false)                        \
  SETTING(ProfilePath, tftpLogFile, u"Tftp Log File")                                              \
  SETTING(VProfile<unsigned short>, tftpServerPort, u"Tftp Server Port", 69)                       \
  SETTING(VProfile<int>, tftpServerStartOption, u"TFTP Server Start Option", 2)                    \
  SETTING(VProfileString, tftpServerUploadDirectory, u"TFTP Server Upload Directory")              \
  SETTING(VProfileString, tftpServerDownloadDirectory, u"TFTP Server Download Directory")          \
  SETTING(VProfile<bool>, restrictConnectionsToTftpServer, u"Restrict Connections To TFTP Server", \
          false)                                                                                   \
  SETTING(VProfile<unsigned int>, tftpResendTimeout, u"TFTP Resend Timeout", 1)                    \
  /* Suppressed prompts and terminal extras */                                                     \
  SETTING(VProfile<int>, suppressDifferentGeometryDialog, u"Suppress Different Geometry Dialog",   \
          0)                                                                                       \
  SETTING(VProfile<bool>, suppressMultipleSessionsWarning, u"Suppress Multiple Sessions Warning",  \
          false)                                                                                   \
  SETTING(VProfile<int>, suppressDisconnectSelectedPrompt, u"Suppress Disconnect Selected Prompt", \
          0)                                                                                       \
  SETTING(VProfile<int>, suppressDisconnectAllPrompt, u"Suppress Disconnect All Prompt", 0)        \
  SETTING(VProfile<int>, suppressEditMultipleSessionsDialog,                                       \
          u"Suppress Edit Multiple Sessions Dialog", 0)                                            \
  SETTING(VProfile<bool>, treatCjkAmbiguousCharsAsWide, u"Treat CJK Ambiguous Chars As Wide",      \
          false)                                                                                   \
  SETTING(VProfile<bool>, exitWhenLastSessionIsDisconnected,                                       \
          u"Exit When Last Session Is Disconnected", false)                                        \
  SETTING(VProfile<bool>, showCommandWindowTitleBar, u"Show Command Window Title Bar", true)       \
  SETTING(VProfile<bool>, altNSwitchesToNthTab, u"ALT+N Switches To Nth Tab", true)                \
  /* Update offers: each product family keeps its own */                                           \
  SETTING(VProfile<int>, ostrelNeverCheckForUpdates, u"Ostrel Never Check For Updates", 0,         \
          .LmbName(u"LMB Never Check For Updates"))                                                \
  SETTING(VProfile<unsigned long>, ostrelUpdatePromptDate, u"Ostrel Update Prompt Date",           \
          QL_COMPUTED(GlobalConfig::DefaultUpdatePromptDate), .LmbName(u"LMB Update Prompt Date")) \
  /* File transfer */                                                                              \
  SETTING(VProfile<int>, transferType, u"Transfer Type", 3)                                        \
  SETTING(VProfile<int>, overwriteAction, u"Overwrite Action", 0)                                  \
  SETTING(VProfileString, anonymousPassword, u"Anonymous Password")                                \
  SETTING(VProfile<bool>, enableLogFile, u"Enable Log File", false)                                \
  SETTING(ProfilePath, logFile, u"Log File", u"${TLV_USER_DATA_PATH}/log.txt")                     \
  SETTING(VProfile<bool>, enableSynchronizeAppLog, u"Enable Synchronize App Log", true)            \
  SETTING(ProfilePath, synchronizeAppLogDirectory, u"Synchronize App Log Directory",               \
          QL_COMPUTED(GlobalConfig::DefaultSynchronizeAppLogDirectory))                            \
  SETTING(VProfile<bool>, logUsesGenericWriteFlag, u"Log Uses Generic Write Flag", false)          \
  SETTING(VProfileString, filePermissions, u"File Permissions")                                    \
  SETTING(VProfileString, directoryPermissions, u"Directory Permissions")                          \
  SETTING(VProfile<int>, timeout, u"Timeout", 180)                                                 \
  SETTING(VProfile<int>, logBufferSize, u"Log Buffer Size", 500)                                   \
  SETTING(ProfilePath, initialLocalFolder, u"Initial Local Folder")                                \
  SETTING(ProfilePath, lastLocalDirectory, u"Last Local Directory")                                \
  SETTING(ProfilePath, cacheDirectory, u"Cache Directory")                                         \
  SETTING(ProfilePath, defaultDownloadDirectory, u"Default Download Directory")                    \
  SETTING(ProfilePath, downloadDirectory, u"Download Directory")                                   \
  SETTING(VProfile<int>, receiveBufferSize, u"Receive Buffer Size", 65535)                         \
  SETTING(VProfile<int>, sendBufferSize, u"Send Buffer Size", 65535)                               \
  SETTING(VProfile<bool>, newSessionUsesWizard, u"New Session Uses Wizard", true)                  \
  SETTING(VProfile<int>, moveFilesToRecycleBin, u"Move Files To Recycle Bin", 1)                   \
  SETTING(VProfile<int>, remoteEditUploadAction, u"Remote Edit Upload Action", 0)                  \
  SETTING(VProfile<bool>, remoteEditUploadOnModifyV2, u"Remote Edit Upload On Modify V2", true)    \
  SETTING(VProfile<int>, keepAlive, u"Keep Alive", 0)                                              \
  SETTING(VProfile<int>, dataConnectionType, u"Data Connection Type", 2)                           \
  SETTING(VProfile<bool>, disableServerToServerTransfers, u"Disable Server To Server Transfers",   \
          false)                                                                                   \
  SETTING(VProfile<bool>, disableDirectoryTreeDetection, u"Disable Directory Tree Detection",      \
          false)                                                                                   \
  SETTING(VProfile<bool>, verifyRetrieveFileStatus, u"Verify Retrieve File Status", true)          \
  SETTING(VProfile<bool>, resolveSymbolicLinks, u"Resolve Symbolic Links", false)                  \
  SETTING(VProfile<int>, closeOnDisconnect, u"Close on Disconnect", 0)                             \
  SETTING(VProfile<unsigned long>, disconnectAfterResumeTimeout,                                   \
          u"Disconnect After Resume Timeout", 0)                                                   \
  SETTING(VProfileString, openWithProgramTitle, u"Open With Program Title", u"Notepad")            \
  SETTING(VProfile<int>, openWithTransferType, u"Open With Transfer Type", 1)                      \
  SETTING(VProfile<int>, restoreSessionDirectory, u"Restore Session Directory", 0)                 \
  SETTING(VProfile<int>, retryAttempts, u"Retry Attempts", 20)                                     \
  SETTING(VProfile<int>, retryDelay, u"Retry Delay", 10)                                           \
  SETTING(VProfile<int>, hideDotFiles, u"Hide Dot Files", 1)                                       \
  SETTING(VProfile<int>, displayLocalTimeForRemoteFiles, u"Display Local Time for Remote Files",   \
          0)                                                                                       \
  SETTING(VProfile<int>, hideHiddenFiles, u"Hide Hidden Files", 0)                                 \
  SETTING(VProfile<int>, displayExplorerFilenames, u"Display Explorer Filenames", 0)               \
  SETTING(VProfile<int>, displayAttributesColumn, u"Display Attributes Column", 0)                 \
  SETTING(VProfile<int>, listViewNumberStyle, u"List View Number Style", 0)                        \
  SETTING(VProfile<int>, listViewSortStyle, u"List View Sort Style",                               \
          QL_COMPUTED(GlobalConfig::DefaultListViewSortStyle))                                     \
  SETTING(VProfile<int>, transferViewNumberStyle, u"Transfer View Number Style", 2)                \
  SETTING(VProfile<int>, displayFolderTree, u"Display Folder Tree", 1)                             \
  SETTING(VProfile<int>, displayLog, u"Display Log", 1)                                            \
  SETTING(VProfile<bool>, displaySeconds, u"Display Seconds", false)                               \
  SETTING(VProfile<bool>, retainFileVersionNumber, u"Retain File Version Number", false)           \
  SETTING(VProfile<int>, promptToResumeOnConnect, u"Prompt to Resume on Connect", 1)               \
  OBJECT(SynchronizeProfile, quickSync, u"QuickSync")                                              \
  SETTING(VProfile<unsigned int>, logTopicRequestTextColor, u"Log Topic Request Text Color",       \
          kStandardTopicColor)                                                                     \
  SETTING(VProfile<unsigned int>, logTopicResponseTextColor, u"Log Topic Response Text Color",     \
          kStandardTopicColor)                                                                     \
  SETTING(VProfile<unsigned int>, logTopicInformationTextColor,                                    \
          u"Log Topic Information Text Color", kStandardTopicColor)                                \
  SETTING(VProfile<unsigned int>, logTopicWarningTextColor, u"Log Topic Warning Text Color",       \
          kStandardTopicColor)                                                                     \
  SETTING(VProfile<unsigned int>, logTopicErrorTextColor, u"Log Topic Error Text Color",           \
          kStandardTopicColor)                                                                     \
  SETTING(VProfileWindowPlacement, mainFrameWindowSize, u"MainFrame Window Size")                  \
  SETTING(VProfileWindowPlacement, localFrameWindowSize, u"LocalFrame Window Size")                \
  SETTING(VProfileWindowPlacement, remoteFrameWindowSize, u"RemoteFrame Window Size")              \
  SETTING(VProfileWindowPlacement, transferWindowPlacement, u"Transfer Window Placement")          \
  SETTING(VProfile<int>, saveSessionWindowAttributes, u"Save Session Window Attributes", 0)        \
  SETTING(VProfileListViewState, localListViewState, u"Local ListView State")                      \
  SETTING(VProfileListViewState, remoteListViewState, u"Remote ListView State")                    \
  SETTING(VProfileListViewState, syncDBDialogListViewState, u"SyncDBDialog ListView State")        \
  SETTING(VProfileExplorerFrameState, localExplorerFrameState, u"Local ExplorerFrame State",       \
          u"1,-1,200")                                                                             \
  SETTING(VProfileExplorerFrameState, remoteExplorerFrameState, u"Remote ExplorerFrame State",     \
          u"1,1000,200")                                                                           \
  SETTING(VProfileTabState, lumbrelTabStateV2, u"Lumbrel Tab State V2",                            \
          QL_COMPUTED(GlobalConfig::DefaultLumbrelTabState))                                       \
  SETTING(VProfileExplorerFrameState, lumbrelLocalTabState, u"Lumbrel Local Tab State",            \
          u"1,-1,200")                                                                             \
  SETTING(VProfileExplorerFrameState, lumbrelRemoteTabState, u"Lumbrel Remote Tab State",          \
          u"1,1000,200")                                                                           \
  SETTING(VProfile<bool>, localWindowOnBottomOrRight, u"Local Window on Bottom or Right", false)   \
  SETTING(VProfileWindowPlacement, synchronizeWindowPlacement, u"Synchronize Window Placement")    \
  SETTING(VProfileExplorerFrameState, synchronizeExplorerFrameState,                               \
          u"Synchronize ExplorerFrame State", u"1,0,-1")                                           \
  SETTING(VProfileListViewState, synchronizeListViewState, u"Synchronize ListView State")          \
  SETTING(VProfile<bool>, alwaysPromptForAuthInfo, u"Always Prompt For Auth Info", false)          \
  SETTING(VProfile<bool>, refreshAfterAllTransfersComplete,                                        \
          u"Refresh After All Transfers Complete", false)                                          \
  SETTING(ProfilePath, connectSoundFile, u"Connect Sound File")                                    \
  SETTING(ProfilePath, disconnectSoundFile, u"Disconnect Sound File")                              \
  SETTING(ProfilePath, transferCompleteSoundFile, u"Transfer Complete Sound File")                 \
  SETTING(ProfilePath, errorSoundFile, u"Error Sound File")                                        \
  SETTING(VProfile<bool>, showTransferQueueWindow, u"Show Transfer Queue Window", true)            \
  SETTING(VProfile<bool>, suspendQueuedTransfers, u"Suspend Queued Transfers", false)              \
  SETTING(VProfileListViewState, transferQueueState, u"Transfer Queue State")                      \
  SETTING(VProfile<int>, transferQueueHeight, u"Transfer Queue Height", 150)                       \
  SETTING(VProfile<bool>, ftpEnablePortRange, u"FTP Enable Port Range", false)                     \
  SETTING(VProfile<unsigned short>, ftpPortRangeMinimum, u"FTP Port Range Minimum", 1025)          \
  SETTING(VProfile<unsigned short>, ftpPortRangeMaximum, u"FTP Port Range Maximum", 65535)         \
  SETTING(VProfile<bool>, lmbclBackslashesAlwaysPathSeparators,                                    \
          u"LMBCL Backslashes Always Path Separators", false)                                      \
  SETTING(VProfile<bool>, showWindowToolbar, u"Show Window Toolbar", true)                         \
  SETTING(VProfile<int>, lumbrelDefaultActionForFiles, u"Lumbrel Default Action For Files",        \
          QL_COMPUTED(GlobalConfig::DefaultLumbrelActionForFiles))                                 \
  SETTING(VProfile<int>, lumbrelSingleInstance, u"Lumbrel Single Instance", 1)                     \
  /* Housekeeping and late additions */                                                            \
  SETTING(VProfile<bool>, krvlFirewallMigrated, u"KRVL Firewall Migrated", false)                  \
  SETTING(VProfileString, version, u"Version", kConfigurationFormatTag)                            \
  SETTING(VProfileString, locale, u"Locale")                                                       \
  SETTING(VProfile<bool>, setLocaleEnvironmentVariablesForLocalShell,                              \
          u"Set locale environment variables for local shell", true)                               \
  SETTING(VProfile<bool>, installedFtpSites, u"Installed FTP Sites", false)                        \
  SETTING(VProfile<bool>, disableAllScripting, u"Disable All Scripting", false, .LoadOnly())       \
  SETTING(VProfile<bool>, serializeConnections, u"Serialize Connections", false)                   \
  SETTING(VProfile<bool>, neverUseCachedFileForRemoteEditing,                                      \
          u"Never Use Cached File for Remote Editing", false)                                      \
  SETTING(VProfile<int>, suppressReadOnlySessionOptionsWarning,                                    \
          u"Suppress Read Only Session Options Warning", 0)                                        \
  SETTING(VProfile<bool>, rightClickPopupShown, u"Right Click Popup Shown", false)                 \
  SETTING(VProfile<bool>, ostrelXmlFileFixed, u"Ostrel XML File Fixed", false)                     \
  SETTING(VProfile<bool>, karvellXmlFileFixed, u"Karvell XML File Fixed", false)                   \
  SETTING(VProfile<bool>, lumbrelXmlFileFixed, u"Lumbrel XML File Fixed", false)                   \
  SETTING(VProfile<bool>, usePreviousQuickSyncSettings, u"Use Previous QuickSync Settings", false) \
  SETTING(ProfilePath, certificatePath, u"Certificate Path")                                       \
  SETTING(VProfileListViewState, pyrrelAgentKeysListViewState,                                     \
          u"Pyrrel Agent Keys ListView State")                                                     \
  SETTING(VProfile<bool>, keepSharedMemoryAgentOpen, u"Keep Shared Memory Agent Open", true)       \
  SETTING(VProfile<unsigned int>, bandwidthLimit, u"Bandwidth Limit", 0)                           \
  SETTING(VProfile<unsigned int>, maximumParallelTransfers, u"Maximum Parallel Transfers", 1,      \
          .Clamp(1, UINT32_MAX))                                                                   \
  SETTING(VProfile<unsigned int>, refreshDelay, u"Refresh Delay", 900)                             \
  SETTING(VProfileStringArray, lumbrelBookmarks, u"Lumbrel Bookmarks")                             \
  SETTING(VProfileWindowPlacement, manageBookmarksDialogSize, u"Manage Bookmarks Dialog Size")     \
  SETTING(VProfile<bool>, useDefaultTransferTypeForAllFiles,                                       \
          u"Use Default Transfer Type For All Files", false)                                       \
  SETTING(VProfileLogFont, hexViewFont, u"Hex View Font",                                          \
          QL_COMPUTED(GlobalConfig::DefaultHexViewFont))                                           \
  SETTING(VProfile<bool>, showSessionsDialog, u"Show Sessions Dialog", true)                       \
  SETTING(VProfile<bool>, hideAutoReconnectDialog, u"Hide Auto Reconnect Dialog", false)
