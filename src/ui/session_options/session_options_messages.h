// The texts of the Session Options dialog's frame, its Connection and Logon Actions pages, and
// the question asked after the Default session was edited (user-interface catalogue, block
// 0x1000-0x10FF of facility 0x139).
#pragma once

#include <cstdint>

namespace session_options_messages {

constexpr uint32_t kTitle = 0x61391000;          // %1: session name, %2: read-only suffix
constexpr uint32_t kTitleMultiple = 0x61391001;
constexpr uint32_t kReadOnlySuffix = 0x61391002;

// Titles of the frame's own pages (the tree shows the first line).
constexpr uint32_t kPageConnection = 0x61391003;
constexpr uint32_t kPageLogonActions = 0x61391004;

constexpr uint32_t kReadOnlyPrompt = 0x61391014;
constexpr uint32_t kApplyDefaultQuestion = 0x61391015;
constexpr uint32_t kApplyDefaultWarning = 0x61391016;
constexpr uint32_t kApplyDefaultOnly = 0x61391017;
constexpr uint32_t kApplyDefaultAll = 0x61391018;
constexpr uint32_t kApplyDefaultTitle = 0x61391019;

// Connection page.
constexpr uint32_t kNameLabel = 0x61391020;
constexpr uint32_t kProtocolLabel = 0x61391021;
constexpr uint32_t kTerminalProtocolLabel = 0x61391022;
constexpr uint32_t kTransferProtocolLabel = 0x61391023;
constexpr uint32_t kPreConnectLabel = 0x61391024;
constexpr uint32_t kDescriptionLabel = 0x61391025;
constexpr uint32_t kProtocolNone = 0x61391026;
constexpr uint32_t kProtocolMissing = 0xE1391027;  // %1: the protocol's name
constexpr uint32_t kBothProtocolsNone = 0xE1391028;

// Logon Actions page and its expect/send entry dialog.
constexpr uint32_t kAutomateLogon = 0x61391030;
constexpr uint32_t kExpectColumn = 0x61391031;
constexpr uint32_t kSendColumn = 0x61391032;
constexpr uint32_t kAddEntry = 0x61391033;
constexpr uint32_t kEditEntry = 0x61391034;
constexpr uint32_t kDeleteEntry = 0x61391035;
constexpr uint32_t kSendInitialCr = 0x61391036;
constexpr uint32_t kUseScriptFile = 0x61391037;
constexpr uint32_t kScriptFileLabel = 0x61391038;
constexpr uint32_t kScriptArgumentsLabel = 0x61391039;
constexpr uint32_t kSelectScriptTitle = 0x6139103A;
constexpr uint32_t kScriptFilesFilter = 0x6139103B;  // %1: the patterns
constexpr uint32_t kEntryTitle = 0x6139103C;
constexpr uint32_t kEntryExpectLabel = 0x6139103D;
constexpr uint32_t kEntrySendLabel = 0x6139103E;
constexpr uint32_t kEntryHide = 0x6139103F;
constexpr uint32_t kLogonScriptGroup = 0x61391040;

}  // namespace session_options_messages
