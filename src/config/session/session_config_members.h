// The parts and settings of a session, in load order: the terminal part, the session's own
// settings, the printer part and the two protocol parts. SessionConfig declares its members and
// builds its member table from this one list (QL_MEMBERS, QL_MEMBER_TABLE), so that no member
// can be without its row or row without its member. The rows are expanded in
// session_config.cpp, so the names their defaults use are those seen there.
#pragma once

#define SESSION_CONFIG_MEMBERS(SETTING, OBJECT)                                                    \
  OBJECT(TerminalConfig, terminal)                                                                 \
  SETTING(VProfile<bool>, isSession, u"Is Session", true)                                          \
  SETTING(VProfile<bool>, useTitleBar, u"Use Title Bar", false)                                    \
  SETTING(VProfileString, titleBar, u"Title Bar")                                                  \
  SETTING(VProfile<bool>, showWyseLabelLine, u"Show Wyse Label Line", false)                       \
  SETTING(VProfile<bool>, sendInitialCarriageReturn, u"Send Initial Carriage Return", true)        \
  SETTING(VProfile<bool>, useLoginScript, u"Use Login Script", false)                              \
  SETTING(ProfileExpectSendList, loginScript, u"Login Script V3")                                  \
  SETTING(VProfile<bool>, useScriptFile, u"Use Script File", false)                                \
  SETTING(ProfilePath, scriptFilename, u"Script Filename")                                         \
  SETTING(VProfileString, scriptArguments, u"Script Arguments")                                    \
  SETTING(ProfilePath, uploadDirectory, u"Upload Directory",                                       \
          QL_COMPUTED(SessionConfig::DefaultUploadDirectory))                                      \
  SETTING(ProfilePath, downloadDirectory, u"Download Directory",                                   \
          QL_COMPUTED(SessionConfig::DefaultDownloadDirectory))                                    \
  SETTING(VProfile<int>, xmodemSendPacketSize, u"XModem Send Packet Size", 0)                      \
  SETTING(VProfileString, zmodemReceiveCommand, u"ZModem Receive Command", u"rz\\r")               \
  SETTING(VProfile<bool>, disableZmodem, u"Disable ZModem", false)                                 \
  SETTING(VProfile<bool>, zmodemUses32BitCrc, u"ZModem Uses 32 Bit CRC", false)                    \
  SETTING(VProfile<bool>, force1024ForZmodem, u"Force 1024 for ZModem", false)                     \
  SETTING(VProfile<bool>, zmodemEncodesDel, u"ZModem Encodes DEL", true)                           \
  SETTING(VProfile<bool>, zmodemLowerCaseOnUpload,                                                 \
          u"ZModem Force All Caps Filenames to Lower Case on Upload", true)                        \
  SETTING(VProfile<bool>, sendZmodemInitWhenUploadStarts, u"Send Zmodem Init When Upload Starts",  \
          false)                                                                                   \
  SETTING(ProfilePath, logFilename, u"Log Filename")                                               \
  SETTING(VProfileString, customLogMessageConnect, u"Custom Log Message Connect")                  \
  SETTING(VProfileString, customLogMessageDisconnect, u"Custom Log Message Disconnect")            \
  SETTING(VProfileString, customLogMessageEachLine, u"Custom Log Message Each Line")               \
  SETTING(VProfile<bool>, logOnlyCustom, u"Log Only Custom", false)                                \
  SETTING(VProfile<bool>, generateUniqueLogFileName,                                               \
          u"Generate Unique Log File Name When File In Use", true)                                 \
  SETTING(VProfile<bool>, logPrompt, u"Log Prompt", false)                                         \
  SETTING(VProfile<bool>, logMode, u"Log Mode", false)                                             \
  SETTING(VProfile<bool>, startLogUponConnect, u"Start Log Upon Connect", false)                   \
  SETTING(VProfile<bool>, rawLog, u"Raw Log", false)                                               \
  SETTING(VProfile<bool>, logMultipleSessions, u"Log Multiple Sessions", false)                    \
  SETTING(VProfile<bool>, newLogFileAtMidnight, u"New Log File At Midnight", false)                \
  SETTING(VProfile<int>, traceLevel, u"Trace Level", 0)                                            \
  SETTING(VProfile<int>, keyboardCharSendDelay, u"Keyboard Char Send Delay", 0)                    \
  SETTING(VProfile<bool>, useWordDelimiterChars, u"Use Word Delimiter Chars", false)               \
  SETTING(VProfileString, wordDelimiterChars, u"Word Delimiter Chars")                             \
  SETTING(VProfile<int>, idleTimeout, u"Idle Timeout", 0)                                          \
  SETTING(VProfileString, idleString, u"Idle String")                                              \
  SETTING(VProfile<bool>, idleNoopCheck, u"Idle NO-OP Check", false)                               \
  SETTING(VProfile<int>, idleNoopTimeout, u"Idle NO-OP Timeout", 60)                               \
  SETTING(VProfile<bool>, alwaysOnTop, u"AlwaysOnTop", false)                                      \
  SETTING(VProfile<int>, lineSendDelay, u"Line Send Delay",                                        \
          QL_COMPUTED(SessionConfig::DefaultLineSendDelay))                                        \
  SETTING(VProfile<int>, characterSendDelay, u"Character Send Delay",                              \
          QL_COMPUTED(SessionConfig::DefaultCharacterSendDelay))                                   \
  SETTING(VProfile<bool>, waitForPrompt, u"Wait For Prompt", false)                                \
  SETTING(VProfileString, waitForPromptText, u"Wait For Prompt Text")                              \
  SETTING(VProfile<int>, waitForPromptTimeout, u"Wait For Prompt Timeout", 0)                      \
  SETTING(VProfile<bool>, sendScrollWheelEventsToRemote, u"Send Scroll Wheel Events To Remote",    \
          false)                                                                                   \
  SETTING(VProfile<int>, positionCursorOnLeftClick, u"Position Cursor on Left Click", 0)           \
  SETTING(VProfile<bool>, highlightReverseVideo, u"Highlight Reverse Video",                       \
          QL_COMPUTED(SessionConfig::DefaultHighlightReverseVideo))                                \
  SETTING(VProfile<bool>, highlightBold, u"Highlight Bold",                                        \
          QL_COMPUTED(SessionConfig::DefaultHighlightBold))                                        \
  SETTING(VProfile<bool>, highlightColor, u"Highlight Color",                                      \
          QL_COMPUTED(SessionConfig::DefaultHighlightColor))                                       \
  SETTING(ProfileItemName, keywordSet, u"Keyword Set")                                             \
  SETTING(VProfileString, identString, u"Ident String")                                            \
  SETTING(VProfile<int>, rawEolMode, u"Raw EOL Mode", 0)                                           \
  SETTING(VProfile<int>, ejectPageInterval, u"Eject Page Interval", 0)                             \
  SETTING(VProfileString, monitorListenAddress, u"Monitor Listen Address", u"0.0.0.0:22")          \
  SETTING(VProfileString, monitorUsername, u"Monitor Username")                                    \
  SETTING(VProfileEncryptedString, monitorPassword, u"Monitor Password V2")                        \
  SETTING(VProfile<bool>, monitorAllowRemoteInput, u"Monitor Allow Remote Input", false)           \
  SETTING(VProfile<VTriState>, disableResize, u"Disable Resize", TriStateNotSet)                   \
  SETTING(VProfile<VTriState>, autoReconnect, u"Auto Reconnect", TriStateNotSet)                   \
  SETTING(VProfile<bool>, useGlobalPrintSettings, u"Use Global Print Settings", true)              \
  SETTING(VProfile<int>, operatingSystem, u"Operating System", 0)                                  \
  SETTING(VProfileString, timeZone, u"Time Zone")                                                  \
  SETTING(VProfileMultiLineString, description, u"Description")                                    \
  SETTING(VProfileString, lastDirectory, u"Last Directory")                                        \
  SETTING(ProfilePath, initialLocalDirectory, u"Initial Local Directory")                          \
  SETTING(ProfilePath, defaultDownloadDirectory, u"Default Download Directory")                    \
  SETTING(VProfile<int>, fileSystemCase, u"File System Case", 0)                                   \
  SETTING(VProfileString, fileCreationMask, u"File Creation Mask")                                 \
  SETTING(VProfile<VTriState>, disableDirectoryTreeDetection, u"Disable Directory Tree Detection", \
          TriStateNotSet)                                                                          \
  SETTING(VProfile<VTriState>, verifyRetrieveFileStatus, u"Verify Retrieve File Status",           \
          TriStateNotSet)                                                                          \
  SETTING(VProfile<VTriState>, resolveSymbolicLinks, u"Resolve Symbolic Links", TriStateNotSet)    \
  SETTING(VProfile<int>, restartDataSize, u"Restart Data Size", 0)                                 \
  SETTING(VProfileString, restartDatafilePath, u"Restart Datafile Path")                           \
  SETTING(VProfile<int>, maxTransferBuffers, u"Max Transfer Buffers", 4)                           \
  SETTING(VProfile<bool>, filenamesAlwaysUseUtf8, u"Filenames Always Use UTF8", false)             \
  SETTING(VProfile<bool>, useSeparateTransportForEveryConnection,                                  \
          u"Use A Separate Transport For Every Connection", false)                                 \
  SETTING(VProfile<bool>, useMultipleSftpChannels, u"Use Multiple SFTP Channels", false)           \
  SETTING(VProfile<bool>, disableStatForSftpDirectoryValidation,                                   \
          u"Disable STAT For SFTP Directory Validation", false)                                    \
  SETTING(VProfile<bool>, useStatForSftpDirectoryValidation,                                       \
          u"Use STAT For SFTP Directory Validation", false)                                        \
  SETTING(VProfile<bool>, disableMlsx, u"Disable MLSX", false)                                     \
  SETTING(VProfileWindowPlacement, remoteFrameWindowPlacement, u"RemoteFrame Window Placement")    \
  SETTING(VProfileExplorerFrameState, remoteExplorerFrameState, u"Remote ExplorerFrame State",     \
          u"1,1000,200")                                                                           \
  SETTING(VProfileListViewState, remoteListViewState, u"Remote ListView State")                    \
  SETTING(VProfileExplorerFrameState, lumbrelRemoteTabState, u"Lumbrel Remote Tab State",          \
          u"1,1000,200")                                                                           \
  SETTING(VProfileStringArray, lumbrelPostLoginUserCommands, u"Lumbrel Post Login User Commands")  \
  SETTING(VProfileStringArray, lumbrelBookmarks, u"Lumbrel Bookmarks")                             \
  SETTING(VProfile<int>, synchronizeAppTraceLevel, u"Synchronize App Trace Level", 1)              \
  SETTING(VProfile<bool>, lumbrelUseControlAddressForDataConnections,                              \
          u"Lumbrel Use Control Address For Data Connections", false)                              \
  SETTING(VProfileStringArray, scpShellPrompts, u"SCP Shell Prompts",                              \
          QL_COMPUTED(SessionConfig::DefaultScpShellPrompts))                                      \
  SETTING(VProfileEncryptedString, scpShellPassword, u"SCP Shell Password V2")                     \
  SETTING(VProfile<bool>, usePgpForAllTransfers, u"Use PGP For All Transfers", false)              \
  SETTING(VProfileEncryptedString, pgpUploadCommand, u"PGP Upload Command V2")                     \
  SETTING(VProfileEncryptedString, pgpDownloadCommand, u"PGP Download Command V2")                 \
  SETTING(VProfile<bool>, disableRemoteFileSystemWatches, u"Disable Remote File System Watches",   \
          false)                                                                                   \
  OBJECT(PrinterConfig, printer)                                                                   \
  OBJECT(ConnectConfigPtr, terminalPart, 0)                                                        \
  OBJECT(ConnectConfigPtr, transferPart, 1)
