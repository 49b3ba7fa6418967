// What each page of the Global Options dialog edits: its controls as rows naming the stored
// global setting, the label, the kind, and for lists the stored number of each entry.
#include "ui/global_options/global_settings_page.h"
#include "ui/global_options/global_messages.h"

namespace {

using K = SettingControlKind;
using namespace global_ui;

BoundSetting Row(const char16_t* key, uint32_t label, SettingControlKind kind) {
  BoundSetting bound;
  bound.key = key;
  bound.labelId = label;
  bound.kind = kind;
  return bound;
}
BoundSetting Check(const char16_t* key, uint32_t label) { return Row(key, label, K::Check); }
BoundSetting Text(const char16_t* key, uint32_t label) { return Row(key, label, K::Text); }
BoundSetting Number(const char16_t* key, uint32_t label, int64_t min = 0, int64_t max = 0) {
  BoundSetting bound = Row(key, label, K::Number);
  bound.min = min;
  bound.max = max;
  return bound;
}
BoundSetting Choice(const char16_t* key, uint32_t label, std::vector<SettingChoice> choices) {
  BoundSetting bound = Row(key, label, K::Choice);
  bound.choices = std::move(choices);
  return bound;
}
BoundSetting File(const char16_t* key, uint32_t label, uint32_t title = 0,
                        uint32_t filter = 0, const char* pattern = nullptr,
                        const char* defaultName = nullptr) {
  BoundSetting bound = Row(key, label, K::File);
  bound.browseTitleId = title;
  bound.filterId = filter;
  bound.pattern = pattern;
  bound.defaultName = defaultName;
  return bound;
}
BoundSetting Folder(const char16_t* key, uint32_t label, uint32_t title = 0) {
  BoundSetting bound = Row(key, label, K::Folder);
  bound.browseTitleId = title;
  return bound;
}

}  // namespace

std::vector<BoundSetting> GeneralSettings() {
  return {
      Check(u"Show Connection Closed Dialog", kGenConnectionClosed),
      Check(u"Show Confirm Disconnect Dialog", kGenConfirmDisconnect),
      Check(u"Show Connect Dialog", kGenShowConnectDialog),
      Check(u"Save Connect Dialog Folder State", kGenFolderState),
      Check(u"New Session Uses Wizard", kGenWizard),
      Check(u"Use Dockable Session Manager", kGenDockable),
      Check(u"Show Toolbar", kGenToolbar),
      Check(u"Show Status Bar", kGenStatusBar),
      Check(u"Show Menu Bar", kGenMenuBar),
      Check(u"Show Connect Bar", kGenConnectBar),
      Choice(u"Connect Dialog Sort Order", kGenSortOrder,
             {{0, kGenSortAlpha}, {1, kGenSortLogical}, {2, kGenSortManual}}),
      Number(u"MRU Count", kGenMru),
      Check(u"Minimize To Tray", kGenTray),
  };
}

std::vector<BoundSetting> TerminalSettings() {
  return {
      Check(u"Save Session Window State", kTermWindowState),
      Check(u"Auto Reconnect", kTermAutoReconnect),
      Check(u"Open Sessions In Tab", kTermTabs),
      Check(u"Exit When Last Session Is Disconnected", kTermExitLast),
      Check(u"Prompt On Multi-Line Paste", kTermPastePrompt),
      Text(u"Quotation Characters", kTermQuotes),
      Check(u"Copy On Select", kTermCopyOnSelect),
      Check(u"Paste On Middle Button", kTermPasteMiddle),
      Check(u"Hide Mouse Pointer On Keypress", kTermHidePointer),
      Check(u"Open URL with CTRL+click", kTermUrlClick),
      Check(u"Triple-Click Selection Includes Newline", kTermTripleClick),
  };
}

std::vector<BoundSetting> AppearanceSettings() {
  return {
      Check(u"Show Session Tabs", kAppTabs),
      Check(u"Horizontal Scrollbar", kAppHScroll),
      Check(u"Vertical Scrollbar", kAppVScroll),
      Check(u"Show Chat Window", kAppChat),
      Choice(u"Button Bar Location", kAppButtonBar, {{0, kBottom}, {1, kTop}}),
      Check(u"Enable Font Smoothing", kAppSmooth),
      Choice(u"Initial Send Commands To Value", kAppSendTo,
             {{0, kAppSendActive}, {1, kAppSendVisible}, {2, kAppSendAll}}),
      Number(u"View Left Margin", kAppLeftMargin),
      Number(u"Max Columns", kAppMaxColumns),
      Number(u"Max Button Bar Name Width", kAppNameWidth, 0, 1000),
      Number(u"Max Chat Window History", kAppHistory, 0, 10000),
      Number(u"Hex View Buffer", kAppHexBuffer, 1, 1000000),
      Check(u"Show Cursor Position Indicator", kAppCursorPos),
      Check(u"Show Window Size Indicator", kAppWindowSize),
      Check(u"Use System Caret", kAppCaret),
  };
}

std::vector<BoundSetting> TabsSettings() {
  return {
      Choice(u"Status Indicator Style", kTabIndicator, {{0, kTabRectangle}, {1, kTabIcon}}),
      Number(u"Status Indicator Width", kTabIndicatorWidth),
      Check(u"Show Inactivity Status", kTabInactivity),
      Number(u"Inactivity Timeout Value", kTabInactivityTime, 0, 86400000),
      Check(u"Show Script Indicator", kTabScript),
      Number(u"Tab Width", kTabWidth, 20, 2000),
      Choice(u"Double Click Action", kTabDoubleClick,
             {{0, kTabDoNothing}, {1, kTabClone}, {2, kTabRename}}),
      Choice(u"Tab Location", kTabLocation, {{0, kTop}, {1, kBottom}}),
      Check(u"Confirm Close Multiple Tabs", kTabConfirmClose),
      Check(u"Show Multiple Tabs Only", kTabSingle),
      Check(u"Enable Tab Switching History", kTabHistory),
      Check(u"ALT+N Switches To Nth Tab", kTabAltN),
      Check(u"Reuse Disconnected Tabs", kTabReuse),
      Check(u"Append Number When Connecting Same Session", kTabNumber),
  };
}

std::vector<BoundSetting> WebBrowserSettings() {
  // Programs on this platform carry no extension: the filter offers every file.
  return {
      Check(u"HTTP Use Registry Entry", kWebDefault),
      File(u"HTTP Browser Application", kWebProgram, kWebBrowseTitle, kWebFilter, "*"),
  };
}

std::vector<BoundSetting> TftpSettings() {
  return {
      Choice(u"TFTP Server Start Option", kTftpStart,
             {{0, kNever}, {1, kTftpOnStartup}, {2, kTftpOnDemand}}),
      Folder(u"TFTP Server Upload Directory", kTftpUpload),
      Folder(u"TFTP Server Download Directory", kTftpDownload),
      Check(u"Restrict Connections To TFTP Server", kTftpRestrict),
      Number(u"Tftp Server Port", kTftpPort, 1, 65535),
      File(u"Tftp Log File", kTftpLog, 0, kTftpLogFilter, "*.log", "tftp.log"),
  };
}

std::vector<BoundSetting> TerminalAdvancedSettings() {
  return {
      Check(u"Execute Escape Sequence", kAdvEscape),
      Check(u"Disable Resize", kAdvResize),
      Check(u"Serialize Connections", kAdvSerialize),
      Check(u"Zoom on Ctrl Scrollwheel", kAdvZoomWheel),
      Check(u"Zoom on Keyboard Shortcut", kAdvZoomKeys),
      Check(u"Swap Enter and Ctrl+Enter in Command Window", kAdvSwapEnter),
      File(u"Menu Toolbar File", kAdvMenuFile, kAdvMenuTitle, kAdvMenuFilter, "*.mnu"),
  };
}

std::vector<BoundSetting> FileTransferSettings() {
  return {
      Choice(u"Transfer Type", kFtType, {{1, kFtAscii}, {2, kFtBinary}, {3, kFtPromptType}}),
      Check(u"Use Default Transfer Type For All Files", kFtAllFiles),
      Choice(u"Overwrite Action", kFtExisting,
             {{0, kFtConfirm}, {1, kFtAlways}, {2, kFtNeverOverwrite}, {3, kFtIfOlder}}),
      Check(u"Prompt to Resume on Connect", kFtResume),
      Check(u"Close on Disconnect", kFtCloseOnDisconnect),
      Check(u"Restore Session Directory", kFtRestoreDir),
      Choice(u"Lumbrel Default Action For Files", kFtEnterAction,
             {{0, kFtTransferFile}, {1, kFtOpenFile}}),
      Number(u"Retry Attempts", kFtRetries, 0, 1000),
      Number(u"Retry Delay", kFtRetryDelay, 0, 3600),
      Choice(u"Remote Edit Upload Action", kFtRemoteEdit,
             {{0, kFtPrompt}, {1, kFtAlwaysUpload}, {2, kFtNeverUpload}}),
  };
}

std::vector<BoundSetting> OptionsSettings() {
  return {
      Folder(u"Initial Local Folder", kOptLocal, kOptLocalPrompt),
      Folder(u"Default Download Directory", kOptDownload, kOptDownloadPrompt),
      Folder(u"Cache Directory", kOptCache, kOptCachePrompt),
      Text(u"Anonymous Password", kOptAnonymous),
      Check(u"Disable Directory Tree Detection", kOptTreeDetect),
      Check(u"Verify Retrieve File Status", kOptVerify),
      Number(u"Maximum Parallel Transfers", kOptParallel, 1, 100),
      Number(u"Bandwidth Limit", kOptBandwidth, 0, 10000000),
      Check(u"Resolve Symbolic Links", kOptResolve),
  };
}

std::vector<BoundSetting> AdvancedOptionsSettings() {
  return {
      Check(u"Move Files To Recycle Bin", kAftTrash),
      Number(u"Keep Alive", kAftKeepAlive, 0, 3600),
      Check(u"Never Use Cached File for Remote Editing", kAftNoCache),
      Check(u"Enable Log File", kAftLog),
      File(u"Log File", kAftLogFile, 0, 0, nullptr, "log.txt"),
      Text(u"File Permissions", kAftFilePerms),
      Text(u"Directory Permissions", kAftDirPerms),
      Check(u"Suspend Queued Transfers", kAftSuspend),
  };
}

std::vector<BoundSetting> ViewSettings() {
  return {
      Check(u"Display Attributes Column", kViewAttributes),
      Check(u"Display Folder Tree", kViewTree),
      Choice(u"List View Number Style", kViewNumberStyle,
             {{0, kViewAbbreviated}, {1, kViewPlain}, {2, kViewPunctuated}}),
      Check(u"Hide Dot Files", kViewDotFiles),
      Check(u"Display Local Time for Remote Files", kViewLocalTime),
      Check(u"Display Log", kViewLog),
      Check(u"Local Window on Bottom or Right", kViewLocalBottom),
      Number(u"Log Buffer Size", kViewLogBuffer, 0, 1000000),
  };
}

std::vector<BoundSetting> FtpSettings() {
  return {
      Number(u"Receive Buffer Size", kFtpReceive),
      Number(u"Send Buffer Size", kFtpSend),
      Choice(u"Data Connection Type", kFtpData,
             {{0, kFtpActive}, {1, kFtpPassive}, {2, kFtpPassiveFirst}}),
      Check(u"Disable Server To Server Transfers", kFtpServerToServer),
      Check(u"FTP Enable Port Range", kFtpPortRange),
      Number(u"FTP Port Range Minimum", kFtpFrom, 1, 65535),
      Number(u"FTP Port Range Maximum", kFtpTo, 1, 65535),
  };
}

std::vector<BoundSetting> TlsSettings() {
  return {File(u"Certificate Path", kTlsCertificate)};
}

std::vector<BoundSetting> SoundSettings() {
  std::vector<BoundSetting> rows;
  for (auto [key, label] : {std::pair{u"Connect Sound File", kSoundConnect},
                            std::pair{u"Disconnect Sound File", kSoundDisconnect},
                            std::pair{u"Transfer Complete Sound File", kSoundComplete},
                            std::pair{u"Error Sound File", kSoundError}})
    rows.push_back(File(key, label, kSoundBrowse, kSoundFilter, "*.wav *.ogg *.oga *.flac"));
  return rows;
}
