// Paths the session store refuses whoever asks: the folder data name, and a session below a
// session. Nothing is written for a refused path.
#include "config/session/session_messages.h"
#include "config/session/session_name.h"
#include "session_test_env.h"

namespace {

using SessionPathsTest = SessionFolderTest;

TEST_F(SessionPathsTest, TheFolderDataNameIsRefusedByEveryOperation) {
  WriteSession("Lab/__FolderData__", "S:\"Session List\"=router1\r\n");
  WriteSession("Lab/router1", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"Lab/router1");
  ASSERT_TRUE(session);
  for (const char16_t* path : {u"Lab/__FolderData__", u"Lab\\__folderDATA__", u"__FolderData__/x"}) {
    VReportMessageParams error;
    EXPECT_FALSE(SaveSessionAtPath(*session.Get(), VUnicodeString(path), true, error));
    EXPECT_EQ(error.GetMessageId(), kMsgSessionNameReserved);
    EXPECT_FALSE(CreateSessionFromDefault(VUnicodeString(path), error));
    EXPECT_EQ(error.GetMessageId(), kMsgSessionNameReserved);
    EXPECT_FALSE(DeleteSessionAtPath(VUnicodeString(path), error));
    EXPECT_EQ(error.GetMessageId(), kMsgSessionNameReserved);
    EXPECT_EQ(OpenSessionByPath(VUnicodeString(path), error), nullptr);
    EXPECT_EQ(error.GetMessageId(), kMsgSessionNameReserved);
  }
  VReportMessageParams error;
  EXPECT_FALSE(ValidateSessionName(VUnicodeString(u"Lab"), VUnicodeString(),
                                   VUnicodeString(u"__FOLDERDATA__"), true, nullptr, error));
  EXPECT_EQ(error.GetMessageId(), kMsgSessionNameReserved);
  EXPECT_EQ(Session("Lab/__FolderData__"), "S:\"Session List\"=router1\r\n");
  EXPECT_FALSE(qtest::Exists(SessionFile("__FolderData__")));
  EXPECT_FALSE(qtest::Exists(SessionFile("__FolderData__/x")));
}

TEST_F(SessionPathsTest, ASessionIsNotSavedBelowASession) {
  WriteSession("Router", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"Router");
  ASSERT_TRUE(session);
  VReportMessageParams error;
  EXPECT_FALSE(SaveSessionAtPath(*session.Get(), VUnicodeString(u"Router\\x"), true, error));
  EXPECT_EQ(error.GetMessageId(), kMsgSessionInsideSession);
  EXPECT_FALSE(qtest::Exists(SessionFile("Router/x")));
  EXPECT_FALSE(qtest::Exists(SessionFile("Router").substr(0, SessionFile("Router").size() - 4)));
  // A session that is already there below one (made by an older version) is still saved.
  WriteSession("Router/old", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> old = Open(u"Router/old");
  ASSERT_TRUE(old);
  EXPECT_TRUE(SaveAt(*old.Get(), u"Router/old", true));
}

}  // namespace
