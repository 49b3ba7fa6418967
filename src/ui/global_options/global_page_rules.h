// The rules of the Global Options pages that are more than "this control edits that setting":
// which General controls a host allows, the start-up choice of the Default Session page, and the
// checks of the Web Browser, FTP, Sound and file-transfer log settings. Plain functions, so each
// rule is tested without a widget.
#pragma once

#include <string_view>
#include <vector>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

// What the host's three General-page flags and the running product allow on the General page.
struct GeneralPageRules {
  std::vector<std::u16string_view> disabled;  // stored names of controls shown but not editable
  std::vector<std::u16string_view> hidden;    // stored names of controls not shown at all
};
// `trayAgent`: the host can minimise to the tray agent. `menuBarFixed`, `toolbarFixed`: the host
// shows those bars whatever the setting says. The connect bar belongs to the terminal products;
// the file-transfer-only product (9) has none of the dialog, view and session controls.
GeneralPageRules GeneralRules(int productId, bool trayAgent, bool menuBarFixed,
                              bool toolbarFixed);
bool OffersConnectBar(int productId);

// The three start-up behaviours of the Default Session page.
enum class StartupSessions { None, Remembered, Auto };
StartupSessions StartupFromSettings(bool useAutoSession, bool useRemembered);
// Auto sessions are kept in "Auto Session Name" as one text, the paths separated by
// semicolons (a session path never holds one: the session-name check refuses it).
VStringArray SplitAutoSessions(const VUnicodeString& stored);
VUnicodeString JoinAutoSessions(const VStringArray& sessions);
// False with the page's message when auto sessions are chosen and none is listed.
bool CheckAutoSessions(StartupSessions choice, const VStringArray& sessions,
                       VReportMessageParams& error);

// With the desktop's default browser not used, the program must be given.
bool CheckBrowserProgram(bool useDefault, const VUnicodeString& program,
                         VReportMessageParams& error);
// A sound file is optional; one that is named must be a readable file.
bool CheckSoundFile(const VUnicodeString& path, VReportMessageParams& error);
// The transfer log: a full path whose name holds none of the characters file names cannot hold
// on the family's platforms, in a folder that exists and may be written.
bool CheckTransferLogPath(const VUnicodeString& path, VReportMessageParams& error);
// The local PORT range, when limited, must not run backwards.
bool CheckPortRange(bool limited, int64_t lowest, int64_t highest, VReportMessageParams& error);
