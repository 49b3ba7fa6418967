// Sessions in the store: folders, the template "Default", names, and applying the template's
// changes to every session, read-only ones included.
#include <sys/stat.h>

#include "config/database/session_database_instance.h"
#include "config/session/session_messages.h"
#include "config/session/session_name.h"
#include "session_test_env.h"

namespace {

using SessionStoreTest = SessionFolderTest;

// In a configuration folder a key without a value file has no "Is Session": it is a folder, whose
// own data is its "__FolderData__" entry.
TEST_F(SessionStoreTest, AKeyWithoutIsSessionIsAFolderThatIsWalkedNotOpened) {
  WriteSession("Lab/router1", "D:\"Is Session\"=00000001\r\n");
  WriteSession("Lab/Deep/switch", "D:\"Is Session\"=00000001\r\n");
  WriteSession("Lab/__FolderData__", "S:\"Folder Note\"=kept with the folder\r\n");
  WriteSession("top", "D:\"Is Session\"=00000001\r\n");
  VReportMessageParams error;
  EXPECT_EQ(OpenSessionByPath(VUnicodeString(u"Lab"), error), nullptr);
  EXPECT_EQ(error.GetMessageId(), kMsgSessionIsFolder);
  EXPECT_EQ(OpenSessionByPath(VUnicodeString(u"Lab\\missing"), error), nullptr);
  EXPECT_EQ(error.GetMessageId(), kMsgSessionMissing);
  VRef<SessionConfig> session = Open(u"Lab/router1");
  ASSERT_TRUE(session);
  EXPECT_EQ(session->GetSessionName(), u"router1");
  EXPECT_EQ(session->GetSessionPath(), u"Lab/router1");

  std::vector<VUnicodeString> all = ListSessionPaths();
  std::sort(all.begin(), all.end());
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0], u"Lab\\Deep\\switch");
  EXPECT_EQ(all[1], u"Lab\\router1");
  EXPECT_EQ(all[2], u"top");
  EXPECT_EQ(ListSessionPaths(VUnicodeString(u"Lab/Deep")).size(), 1u);
}

TEST_F(SessionStoreTest, DefaultIsMadeOfDefaultsAndSavedTheFirstTimeItIsOpened) {
  EXPECT_FALSE(folder_.HasFile("Sessions/Default"));
  VRef<SessionConfig> session = Open(u"Default");
  ASSERT_TRUE(session);
  EXPECT_TRUE(session->IsDefaultSession());
  EXPECT_EQ(session->terminal.emulation.Current(), u"Xterm");
  EXPECT_EQ(session->lineSendDelay.current, 5);
  EXPECT_EQ(session->uploadDirectory.Current(), VUnicodeString::FromUtf8(user_ / "home"));
  EXPECT_EQ(session->downloadDirectory.Current(), VUnicodeString::FromUtf8(user_ / "home/Downloads"));
  // The template may stay without a protocol; an ordinary session gets "None".
  EXPECT_EQ(session->GetTerminalProtocolName(), u"");
  std::string lines = Session("Default");
  EXPECT_TRUE(Has(lines, "D:\"Is Session\"=00000001"));
  EXPECT_TRUE(Has(lines, "S:\"Monitor Listen Address\"=0.0.0.0:22"));
  EXPECT_TRUE(Has(lines, "D:\"Max Transfer Buffers\"=00000004"));
  EXPECT_EQ(lines.find("Keymap v4"), std::string::npos);  // written only once it exists

  // The download folder the desktop names.
  qtest::WriteFile(user_ / "config/user-dirs.dirs",
                   "# comment\nXDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n");
  VReportMessageParams error;
  ASSERT_TRUE(CreateSessionFromDefault(VUnicodeString(u"Lab\\new"), error));
  session = Open(u"Lab/new");
  EXPECT_EQ(session->GetTerminalProtocolName(), u"None");
  EXPECT_EQ(session->downloadDirectory.Current(), VUnicodeString::FromUtf8(user_ / "home/Downloads"));
  EXPECT_FALSE(CreateSessionFromDefault(VUnicodeString(u"Lab\\new"), error));
  EXPECT_EQ(error.GetMessageId(), kMsgSessionExists);
  folder_.WriteLines("Sessions/Default", "D:\"Is Session\"=00000001\r\n");
  EXPECT_EQ(Open(u"Default")->downloadDirectory.Current(),
            VUnicodeString::FromUtf8(user_ / "home/Fetched"));
}

TEST_F(SessionStoreTest, NamesAreCheckedInOrderAndTheCurrentNameIsNotTaken) {
  WriteSession("Lab/router1", "D:\"Is Session\"=00000001\r\n");
  VReportMessageParams error;
  auto check = [&](const char16_t* folder, const char16_t* current, const char16_t* proposed) {
    error.Reset(0);
    return ValidateSessionName(VUnicodeString(folder), VUnicodeString(current),
                               VUnicodeString(proposed), false, nullptr, error);
  };
  EXPECT_FALSE(check(u"Lab", u"", u""));
  EXPECT_EQ(error.GetTextTrimmed(), u"The name must be specified.");
  EXPECT_FALSE(check(u"Lab", u"", u"a|b"));
  EXPECT_EQ(error.GetTextTrimmed(), u"The name contains an illegal character: ' | '");
  EXPECT_FALSE(check(u"Lab", u"", u"com1"));
  EXPECT_EQ(error.GetTextTrimmed(),
            u"com1 is a reserved device name on Windows and cannot be used as a name.");
  EXPECT_FALSE(check(u"Lab", u"", u"ROUTER1"));
  EXPECT_EQ(error.GetTextTrimmed(), u"'ROUTER1' is already in use.");
  EXPECT_TRUE(check(u"Lab", u"router1", u"Router1"));
  EXPECT_TRUE(check(u"", u"", u"router1"));
  EXPECT_FALSE(check(u"", u"", u"Lab"));
}

TEST_F(SessionStoreTest, ApplyingTheTemplateUpdatesWritableSessionsAndCountsReadOnlyOnes) {
  for (int i = 0; i < 10; ++i)
    WriteSession("s" + std::to_string(i), "D:\"Is Session\"=00000001\r\nD:\"Rows\"=00000019\r\n");
  const std::string readOnlyBytes = qtest::ReadFile(SessionFile("s3"));
  chmod(SessionFile("s3").c_str(), 0444);
  chmod(SessionFile("s7").c_str(), 0444);
  VRef<SessionConfig> defaults = Open(u"Default");
  VReportMessageParams error;
  ASSERT_TRUE(defaults->SetSetting(u"Scrollback", VUnicodeString(u"9000"), error));
  ASSERT_TRUE(defaults->SetSetting(u"Idle Timeout", VUnicodeString(u"30"), error));
  ApplyDefaultCounts counts;
  ApplyDefaultSessionChangesToAll(*defaults.Get(), counts);
  EXPECT_EQ(counts.total, 10);
  EXPECT_EQ(counts.notUpdated, 2);
  VReportMessageParams message;
  ASSERT_TRUE(DescribeApplyDefaultResult(counts, message));
  EXPECT_EQ(message.GetTextTrimmed(),
            u"Of your 10 sessions, 2 could not be updated because they are currently read-only.");
  EXPECT_EQ(qtest::ReadFile(SessionFile("s3")), readOnlyBytes);
  std::string lines = Session("s4");
  EXPECT_TRUE(Has(lines, "D:\"Scrollback\"=00002328"));
  EXPECT_TRUE(Has(lines, "D:\"Idle Timeout\"=0000001e"));
  EXPECT_TRUE(Has(lines, "D:\"Rows\"=00000019"));  // not changed in the template: kept
  ApplyDefaultCounts none{10, 0};
  EXPECT_FALSE(DescribeApplyDefaultResult(none, message));
}

TEST_F(SessionStoreTest, TheItemDatabaseListsSessionsMadeAndDeletedHere) {
  SessionDatabase& db = *GetSessionDatabase();
  db.InvalidateAll();
  WriteSession("Lab/old", "D:\"Is Session\"=00000001\r\n");
  VStringArray names;
  ASSERT_TRUE(db.ListSessions(u"Lab", names));  // now in the cache
  ASSERT_TRUE(db.ListFolders(u"", names));
  VReportMessageParams error;
  ASSERT_TRUE(CreateSessionFromDefault(u"Lab/new", error));
  ASSERT_TRUE(CreateSessionFromDefault(u"Far/Away/s", error));
  ASSERT_TRUE(db.ListSessions(u"Lab", names));
  EXPECT_EQ(names, (VStringArray{u"old", u"new"}));
  ASSERT_TRUE(db.ListFolders(u"", names));
  EXPECT_EQ(names, (VStringArray{u"Lab", u"Far"}));
  ASSERT_TRUE(DeleteSessionAtPath(u"Lab/old", error));
  ASSERT_TRUE(db.ListSessions(u"Lab", names));
  EXPECT_EQ(names, (VStringArray{u"new"}));
  db.InvalidateAll();
}

TEST_F(SessionStoreTest, ParentWindowAndHostDataReachTheProtocolParts) {
  RegisterSample(u"SSH2", 3);
  WriteSession("s", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"s");
  int window = 0;
  SetConnectConfigParentWindow(session.Get(), &window);
  EXPECT_EQ(session->GetTerminalConnectConfig()->GetCommonConfig()->GetParentWindow(), &window);
  VRef<SessionConfig> copy(static_cast<SessionConfig*>(session->Clone()));
  EXPECT_EQ(copy->GetTerminalConnectConfig()->GetCommonConfig(), &copy->GetCommonConfig());
  EXPECT_EQ(copy->GetCommonConfig().GetParentWindow(), &window);
  EXPECT_EQ(copy->GetFirewallNames()[0], u"None");
}

}  // namespace
