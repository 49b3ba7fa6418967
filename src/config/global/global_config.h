// The application-wide settings of every product of the family, kept as the values of the key
// "Global" (Global.ini in a configuration folder). One row of the member table per setting
// gives its stored name, kind and default; the object adds what the rows cannot say: defaults
// that depend on whether the configuration is new or on older forms of a setting, the
// per-object lock, and the steps that surround a save.
#pragma once

#include <cstdint>
#include <mutex>
#include <string_view>

#include "config/parts/dock_window_state.h"
#include "config/parts/printer_config.h"
#include "config/global/remembered_session_list.h"
#include "config/parts/subkey_copy.h"
#include "crypto/profile_secrets.h"
#include "platform/unknown.h"
#include "storage/values/profile_path.h"
#include "config/parts/explorer_frame_state.h"
#include "config/parts/list_view_state.h"
#include "config/parts/tab_state.h"
#include "storage/values/profile_values.h"

// The configuration format written as "Version"; the folder checks also accept the earlier one.
inline constexpr const char16_t* kConfigurationFormatTag =
    u"7B2F2717-85C8-4729-8394-3B7697039CEB";
inline constexpr const char16_t* kEarlierConfigurationFormatTag =
    u"0311ABC6-1CDD-46fc-A08A-0D7C00242FCA";
// The name of the first built-in ANSI palette, selected until the user picks another.
inline constexpr const char16_t* kBuiltInPaletteName = u"Standard";
// A log topic colour that means "the log's standard colour for this topic".
inline constexpr uint32_t kStandardTopicColor = 0xFFFFFFFF;

class GlobalConfig : public VUnknown<IUnknown>, public VProfileComposite {
 public:
  // An object of defaults for `productId` (3 terminal, 6 and 9 file transfer, ...), not yet
  // loaded.
  explicit GlobalConfig(int productId);

  int GetProductIdOfObject() const { return product_; }
  // Loads every setting from `key` (null, or a key that does not exist: every default). Never
  // fails: what is missing or unreadable takes its default and is flagged for writing.
  void LoadFromKey(const VProfileKey* key);
  // Takes every setting from `key`, or its default where the key lacks it, and flags each for
  // writing; the passphrase check value and the change request stay as they were.
  void Merge(const VProfileKey& key);
  // Makes the next save write every value, as a forced one would: after a merge, and after a
  // save whose file could not be written (its values count as saved in memory only).
  void FlagEverySettingForWriting();
  // Whether the loaded key had no "Version", that is, the configuration is being made now.
  bool IsNewConfiguration() const { return isNew_; }
  // Read from "Disable All Scripting" and never written: an administrator's switch.
  bool IsScriptingDisabled() const { return disableAllScripting.current; }
  // The setting stored under `keyName` (without regard to case), or null.
  VProfileData* FindSetting(std::u16string_view keyName) { return FindMember(keyName); }

  // Under the object's lock: re-forms the view states, writes the quick-synchronize profile with
  // force when it changed, then saves every member (all of them with `force`).
  bool Save(VProfileKey& key, bool force) override;
  void Commit() override;
  void Revert() override;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();
  // The number of rows that are settings of this object's own (neither nested objects nor
  // sub-keys).
  static size_t OwnSettingCount();
  // The sixteen ANSI colours a configuration starts with (sessions start with them too).
  static CustomColors StandardAnsiColors();

  // ---- the settings, in load order ----

  // Passphrase and connect dialog
  VProfileEncryptedString configPassphrase;
  VProfile<bool> changeConfigPassphrase;
  VProfile<bool> showConnectDialog;
  VProfile<bool> showDetailsOnConnectDialog;
  VProfile<bool> showQuickConnectDialog;
  VProfile<bool> showTransferOnlySessions;
  VProfile<bool> showTerminalOnlySessions;
  VProfile<bool> useDockableSessionManager;
  VProfile<bool> autoSaveOptions;
  VProfile<bool> showToolbar;
  VProfileWindowPlacement windowPlacement;
  VProfileWindowPlacement connectDialogSize;
  VProfileString connectExpandPath;
  VProfile<bool> isExpanded;
  VProfile<bool> disableAeroPeek;
  VProfile<bool> sortAlphabetical;
  VProfile<bool> hideDotSessionFiles;
  VProfileString sessionOptionsTreeSelected;
  VProfile<bool> saveConnectDialogFolderState;
  VProfile<unsigned int> sessionFilterDelay;
  VProfile<int> connectDialogSortOrder;

  // Mouse, clipboard and paste
  VProfile<bool> copyOnSelect;
  VProfile<int> pasteOnMiddleButton;
  VProfile<int> pasteOnRightButton;
  VProfile<bool> promptOnMultiLinePaste;
  VProfileWindowPlacement confirmMultiLinePasteDialogSize;
  VProfile<bool> hideMousePointerOnKeypress;
  VProfile<bool> reuseDisconnectedTabs;
  VProfile<bool> appendNumberWhenConnectingSameSession;
  VProfile<bool> openUrlWithCtrlClick;
  VProfileString quotationCharacters;
  VProfile<bool> insertPastedTextBetweenQuotationCharacters;
  VProfile<bool> showPromptOnPasteAsQuotation;

  // Terminal window behaviour
  VProfile<bool> showConnectionClosedDialog;
  VProfile<bool> showConfirmDisconnectDialog;
  VProfile<bool> disableResize;
  VProfile<bool> clipOnResize;
  VProfile<bool> showCursorPositionIndicator;
  VProfile<bool> showWindowSizeIndicator;
  VProfile<int> useSystemCaret;
  VProfile<bool> focusDoesNotAffectBlink;
  ProfilePath audioBellSoundFile;
  VProfile<bool> executeEscapeSequence;
  VProfile<int> suppressExecuteEscapeSequenceExitCodes;
  VProfile<int> altSelectsMenu;
  VProfile<int> checkShellTelnetCommand;
  VProfile<int> useOldIcons;
  ProfilePath terminalLogFile;
  VProfile<bool> showElapsedTime;
  VProfile<bool> neverShowSeconds;
  VProfile<bool> alphaTransparency;
  VProfile<unsigned char> activeWindowAlphaTransparency;
  VProfile<unsigned char> inactiveWindowAlphaTransparency;
  VProfile<bool> showDefaultKeyMappings;
  VProfile<int> suppressMappedKeyIsDefaultWarning;
  VProfile<bool> swapEnterAndCtrlEnterInCommandWindow;
  VProfile<bool> tripleClickSelectionIncludesNewline;
  PrinterConfig printer;
  VProfile<int> ejectPageInterval;
  VProfile<bool> enablePrintScreenKey;
  VProfile<bool> disableAllPrinting;

  // Status indicators: text colour, then background colour, per session state
  VProfile<int> connectedColor;
  VProfile<int> backgroundConnectedColor;
  VProfile<int> disconnectedColor;
  VProfile<int> backgroundDisconnectedColor;
  VProfile<int> newInputColor;
  VProfile<int> backgroundNewInputColor;
  VProfile<int> inactivityColor;
  VProfile<int> backgroundInactivityColor;
  VProfile<int> lockedColor;
  VProfile<int> backgroundLockedColor;
  VProfile<int> scriptColor;
  VProfile<int> backgroundScriptColor;
  VProfile<bool> showStatusIndicators;
  VProfile<int> statusIndicatorStyle;
  VProfile<int> statusIndicatorWidth;

  // Tabs and chrome
  VProfile<int> tabWidth;
  VProfile<bool> tabWidthIsMinimum;
  VProfile<int> doubleClickAction;
  VProfile<int> tabLocation;
  VProfile<bool> closeButtonOnTabs;
  VProfile<bool> confirmCloseMultipleTabs;
  VProfile<bool> showMultipleTabsOnly;
  VProfile<bool> enableTabSwitchingHistory;
  VProfile<bool> showInactivityStatus;
  VProfile<int> inactivityTimeoutValue;
  VProfile<bool> showScriptIndicator;
  VProfileTabState karvellTabStateV2;
  VProfile<bool> launchNewWindowsInASeparateProcess;
  VProfile<bool> autoReconnect;
  VProfile<int> autoReconnectInterval;
  VProfile<bool> showMenuBar;
  VProfile<bool> hiddenMenuBarCanBeAccessed;
  VProfile<bool> showStatusBar;
  VProfile<bool> showSessionManager;
  ProfileDockWindowState sessionManagerWindowState;
  VProfile<bool> showConnectBar;
  VProfile<bool> showChatWindow;
  VProfile<bool> userButtonBar;
  VProfile<int> buttonBarLocation;
  VProfile<int> maxChatWindowHistory;
  VProfile<int> chatWindowHeight;
  VProfile<int> hexViewBuffer;
  VProfile<bool> showSessionTabs;
  VProfile<int> initialSendCommandsToValue;
  VProfile<int> maxButtonBarNameWidth;
  VProfile<int> maxScrollbackBufferSize;
  VProfile<bool> horizontalScrollbar;
  VProfile<bool> verticalScrollbar;
  VProfile<bool> saveNewConnectEntries;
  VProfile<bool> openSessionsInTab;
  VProfile<int> xPosition;
  VProfile<int> yPosition;
  VProfile<bool> saveSessionWindowState;
  VProfile<int> viewLeftMargin;
  VProfile<int> mruCount;
  VProfile<int> scriptMruCount;
  VProfile<short> maxColumns;
  VProfile<bool> allowProportionalFonts;
  VProfile<bool> enableFontSmoothing;
  VProfileString connectDialogFont;

  // Sessions on start-up
  VProfile<bool> useAutoSession;
  VProfileString autoSessionName;
  VProfile<bool> useRememberedSessions;
  ProfileRememberedSessionList rememberedSessions;

  // Miscellaneous application behaviour
  VProfile<int> disableClose;
  VProfile<int> singleInstance;
  VProfileString clipboardDataFormat;
  VProfile<int> lineSendDelay;
  VProfile<int> characterSendDelay;
  VProfile<bool> useKeychain;
  VProfile<bool> useLargeTabBar;
  VProfile<bool> limitWindowsTaskbarPreviewThumbnails;
  VProfile<bool> zoomOnCtrlScrollwheel;
  VProfile<bool> zoomOnKeyboardShortcut;
  VProfile<bool> hideSessionAnsiColorPage;
  VProfile<bool> minimizeToTray;
  VProfileString globalOptionsTreeState;
  VProfileString globalOptionsTreeSelected;
  VProfileString sessionOptionsTreeState;
  ProfilePath lastScriptRun;
  ProfilePath scriptDirectory;
  VProfile<int> httpUseRegistryEntry;
  ProfilePath httpBrowserApplication;
  VProfile<int> httpUseDde;

  // Colours
  VProfileCustomColors customColors;
  VProfileCustomColors ansiColorRgb;
  VProfileSubkeyCopy ansiPalettes{u"ANSI Color Palettes"};
  VProfileString currentAnsiPalette;
  VProfileSubkeyCopy colorSchemes{u"Color Schemes"};
  VProfile<bool> useDefaultSessionColorOnStartup;

  // Toolbars and theme
  ProfilePath menuToolbarFile;
  VProfileBlob lmbCustomToolbarData;
  VProfile<int> lumbrelToolbarTheme;
  VProfile<int> karvellToolbarTheme;
  VProfile<int> darkThemeHighlightColor;

  // Terminal file transfer and TFTP server
  VProfile<bool> zModemUploadAscii;
  VProfile<bool> kermitUploadAscii;
  ProfilePath tftpLogFile;
  VProfile<unsigned short> tftpServerPort;
  VProfile<int> tftpServerStartOption;
  VProfileString tftpServerUploadDirectory;
  VProfileString tftpServerDownloadDirectory;
  VProfile<bool> restrictConnectionsToTftpServer;
  VProfile<unsigned int> tftpResendTimeout;

  // Suppressed prompts and terminal extras
  VProfile<int> suppressDifferentGeometryDialog;
  VProfile<bool> suppressMultipleSessionsWarning;
  VProfile<int> suppressDisconnectSelectedPrompt;
  VProfile<int> suppressDisconnectAllPrompt;
  VProfile<int> suppressEditMultipleSessionsDialog;
  VProfile<bool> treatCjkAmbiguousCharsAsWide;
  VProfile<bool> exitWhenLastSessionIsDisconnected;
  VProfile<bool> showCommandWindowTitleBar;
  VProfile<bool> altNSwitchesToNthTab;

  // Update offers: each product family keeps its own
  VProfile<int> ostrelNeverCheckForUpdates;
  VProfile<unsigned long> ostrelUpdatePromptDate;

  // File transfer
  VProfile<int> transferType;
  VProfile<int> overwriteAction;
  VProfileString anonymousPassword;
  VProfile<bool> enableLogFile;
  ProfilePath logFile;
  VProfile<bool> enableSynchronizeAppLog;
  ProfilePath synchronizeAppLogDirectory;
  VProfile<bool> logUsesGenericWriteFlag;
  VProfileString filePermissions;
  VProfileString directoryPermissions;
  VProfile<int> timeout;
  VProfile<int> logBufferSize;
  ProfilePath initialLocalFolder;
  ProfilePath lastLocalDirectory;
  ProfilePath cacheDirectory;
  ProfilePath defaultDownloadDirectory;
  ProfilePath downloadDirectory;
  VProfile<int> receiveBufferSize;
  VProfile<int> sendBufferSize;
  VProfile<bool> newSessionUsesWizard;
  VProfile<int> moveFilesToRecycleBin;
  VProfile<int> remoteEditUploadAction;
  VProfile<bool> remoteEditUploadOnModifyV2;
  VProfile<int> keepAlive;
  VProfile<int> dataConnectionType;
  VProfile<bool> disableServerToServerTransfers;
  VProfile<bool> disableDirectoryTreeDetection;
  VProfile<bool> verifyRetrieveFileStatus;
  VProfile<bool> resolveSymbolicLinks;
  VProfile<int> closeOnDisconnect;
  VProfile<unsigned long> disconnectAfterResumeTimeout;
  VProfileString openWithProgramTitle;
  VProfile<int> openWithTransferType;
  VProfile<int> restoreSessionDirectory;
  VProfile<int> retryAttempts;
  VProfile<int> retryDelay;
  VProfile<int> hideDotFiles;
  VProfile<int> displayLocalTimeForRemoteFiles;
  VProfile<int> hideHiddenFiles;
  VProfile<int> displayExplorerFilenames;
  VProfile<int> displayAttributesColumn;
  VProfile<int> listViewNumberStyle;
  VProfile<int> listViewSortStyle;
  VProfile<int> transferViewNumberStyle;
  VProfile<int> displayFolderTree;
  VProfile<int> displayLog;
  VProfile<bool> displaySeconds;
  VProfile<bool> retainFileVersionNumber;
  VProfile<int> promptToResumeOnConnect;
  VProfileSubkeyCopy quickSync{u"QuickSync"};
  VProfile<unsigned int> logTopicRequestTextColor;
  VProfile<unsigned int> logTopicResponseTextColor;
  VProfile<unsigned int> logTopicInformationTextColor;
  VProfile<unsigned int> logTopicWarningTextColor;
  VProfile<unsigned int> logTopicErrorTextColor;
  VProfileWindowPlacement mainFrameWindowSize;
  VProfileWindowPlacement localFrameWindowSize;
  VProfileWindowPlacement remoteFrameWindowSize;
  VProfileWindowPlacement transferWindowPlacement;
  VProfile<int> saveSessionWindowAttributes;
  VProfileListViewState localListViewState;
  VProfileListViewState remoteListViewState;
  VProfileListViewState syncDBDialogListViewState;
  VProfileExplorerFrameState localExplorerFrameState;
  VProfileExplorerFrameState remoteExplorerFrameState;
  VProfileTabState lumbrelTabStateV2;
  VProfileExplorerFrameState lumbrelLocalTabState;
  VProfileExplorerFrameState lumbrelRemoteTabState;
  VProfile<bool> localWindowOnBottomOrRight;
  VProfileWindowPlacement synchronizeWindowPlacement;
  VProfileExplorerFrameState synchronizeExplorerFrameState;
  VProfileListViewState synchronizeListViewState;
  VProfile<bool> alwaysPromptForAuthInfo;
  VProfile<bool> refreshAfterAllTransfersComplete;
  ProfilePath connectSoundFile;
  ProfilePath disconnectSoundFile;
  ProfilePath transferCompleteSoundFile;
  ProfilePath errorSoundFile;
  VProfile<bool> showTransferQueueWindow;
  VProfile<bool> suspendQueuedTransfers;
  VProfileListViewState transferQueueState;
  VProfile<int> transferQueueHeight;
  VProfile<bool> ftpEnablePortRange;
  VProfile<unsigned short> ftpPortRangeMinimum;
  VProfile<unsigned short> ftpPortRangeMaximum;
  VProfile<bool> lmbclBackslashesAlwaysPathSeparators;
  VProfile<bool> showWindowToolbar;
  VProfile<int> lumbrelDefaultActionForFiles;
  VProfile<int> lumbrelSingleInstance;

  // Housekeeping and late additions
  VProfile<bool> krvlFirewallMigrated;
  VProfileString version;
  VProfileString locale;
  VProfile<bool> setLocaleEnvironmentVariablesForLocalShell;
  VProfile<bool> installedFtpSites;
  VProfile<bool> disableAllScripting;
  VProfile<bool> serializeConnections;
  VProfile<bool> neverUseCachedFileForRemoteEditing;
  VProfile<int> suppressReadOnlySessionOptionsWarning;
  VProfile<bool> rightClickPopupShown;
  VProfile<bool> ostrelXmlFileFixed;
  VProfile<bool> karvellXmlFileFixed;
  VProfile<bool> lumbrelXmlFileFixed;
  VProfile<bool> usePreviousQuickSyncSettings;
  ProfilePath certificatePath;
  VProfileListViewState pyrrelAgentKeysListViewState;
  VProfile<bool> keepSharedMemoryAgentOpen;
  VProfile<unsigned int> bandwidthLimit;
  VProfile<unsigned int> maximumParallelTransfers;
  VProfile<unsigned int> refreshDelay;
  VProfileStringArray lumbrelBookmarks;
  VProfileWindowPlacement manageBookmarksDialogSize;
  VProfile<bool> useDefaultTransferTypeForAllFiles;
  VProfileLogFont hexViewFont;
  VProfile<bool> showSessionsDialog;
  VProfile<bool> hideAutoReconnectDialog;

 protected:
  void OnBeforeLoad(const VProfileKey* key) override;

 private:
  // Defaults worked out at load time: from older forms of the setting, from whether the
  // configuration is new, or from the desktop.
  void DefaultConnectDialogSortOrder(VProfile<int>& value, const VProfileKey* key);
  void DefaultTabWidth(VProfile<int>& value, const VProfileKey* key);
  void DefaultShowChatWindow(VProfile<bool>& value, const VProfileKey* key);
  void DefaultInitialSendCommandsTo(VProfile<int>& value, const VProfileKey* key);
  void DefaultKarvellTabState(VProfileTabState& value, const VProfileKey* key);
  void DefaultLumbrelTabState(VProfileTabState& value, const VProfileKey* key);
  void DefaultFontSmoothing(VProfile<bool>& value, const VProfileKey* key);
  void DefaultZoomOnKeyboardShortcut(VProfile<bool>& value, const VProfileKey* key);
  void DefaultCustomColors(VProfileCustomColors& value, const VProfileKey* key);
  void DefaultAnsiColors(VProfileCustomColors& value, const VProfileKey* key);
  void DefaultUpdatePromptDate(VProfile<unsigned long>& value, const VProfileKey* key);
  void DefaultSynchronizeAppLogDirectory(ProfilePath& value, const VProfileKey* key);
  void DefaultListViewSortStyle(VProfile<int>& value, const VProfileKey* key);
  void DefaultLumbrelActionForFiles(VProfile<int>& value, const VProfileKey* key);
  void DefaultHexViewFont(VProfileLogFont& value, const VProfileKey* key);

  // The view states a save writes after re-forming their text.
  void ReformViewStates();

  std::mutex mutex_;  // held for the whole of save, commit and revert
  int product_;
  bool isNew_ = true;
};
