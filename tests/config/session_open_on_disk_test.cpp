// Opening a session by its path over what a configuration folder may really hold: links to
// folders, names in another case, value files without "Is Session", and folders that are not
// sessions, and session files that are there but cannot be read.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "config/session/session_messages.h"
#include "session_test_env.h"

namespace {

using SessionOpenOnDiskTest = SessionFolderTest;

constexpr char kRows[] = "D:\"Is Session\"=00000001\r\nD:\"Rows\"=00000030\r\n";

// The session's rows, or -1 when it did not open; `error` holds the reason then.
int RowsOf(const char16_t* path, uint32_t* error = nullptr) {
  VReportMessageParams why;
  VRef<SessionConfig> session(OpenSessionByPath(VUnicodeString(path), why));
  if (error) *error = why.GetMessageId();
  return session ? session->terminal.rows.current : -1;
}

TEST_F(SessionOpenOnDiskTest, LinksToFoldersInsideTheStoreAreNotEntered) {
  WriteSession("Real/s1", kRows);
  WriteSession("Other/s2", kRows);
  const std::filesystem::path sessions = std::filesystem::path(SessionFile("Real")).parent_path();
  // A folder reached through a link, with and without a value file of its own beside the link.
  ASSERT_EQ(symlink((sessions / "Real").c_str(), (sessions / "Linked").c_str()), 0);
  ASSERT_EQ(symlink((sessions / "Real").c_str(), (sessions / "LinkedSession").c_str()), 0);
  WriteSession("LinkedSession", kRows);
  // A session's own folder that is a link: its value file still makes it a session.
  ASSERT_EQ(symlink((sessions / "Other").c_str(), (sessions / "s3").c_str()), 0);
  WriteSession("s3", "D:\"Is Session\"=00000001\r\nD:\"Rows\"=00000031\r\n");

  EXPECT_EQ(RowsOf(u"Real/s1"), 48);
  uint32_t error = 0;
  EXPECT_EQ(RowsOf(u"Linked/s1", &error), -1);
  EXPECT_EQ(error, kMsgSessionMissing);
  EXPECT_EQ(RowsOf(u"LinkedSession/s1", &error), -1);
  EXPECT_EQ(error, kMsgSessionMissing);
  EXPECT_EQ(RowsOf(u"LinkedSession"), 48);
  EXPECT_EQ(RowsOf(u"Linked", &error), -1);
  EXPECT_EQ(error, kMsgSessionMissing);
  EXPECT_EQ(RowsOf(u"s3"), 49);
  EXPECT_EQ(RowsOf(u"s3/s2", &error), -1);
  EXPECT_EQ(error, kMsgSessionMissing);
}

TEST_F(SessionOpenOnDiskTest, NamesInAnotherCaseAndFilesWithoutTheMarkOpenAsSessions) {
  // As copied from a system that ignores case.
  WriteSession("Lab/Router", kRows);
  // A value file written by hand without "Is Session" is a session all the same.
  WriteSession("bare", "D:\"Rows\"=00000032\r\n");
  EXPECT_EQ(RowsOf(u"lab/router"), 48);
  EXPECT_EQ(RowsOf(u"LAB/ROUTER"), 48);
  EXPECT_EQ(RowsOf(u"bare"), 50);
  uint32_t error = 0;
  EXPECT_EQ(RowsOf(u"lab", &error), -1);
  EXPECT_EQ(error, kMsgSessionIsFolder);
  EXPECT_EQ(RowsOf(u"lab/missing", &error), -1);
  EXPECT_EQ(error, kMsgSessionMissing);
  EXPECT_EQ(RowsOf(u"nothing/router", &error), -1);
  EXPECT_EQ(error, kMsgSessionMissing);
}

// Opened with defaults, such a session would be saved over what the file holds.
TEST_F(SessionOpenOnDiskTest, ASessionFileThatCannotBeReadIsReportedNotOpenedEmpty) {
  WriteSession("Lab/keep", kRows);
  const std::string pipe = SessionFile("Lab/pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  uint32_t error = 0;
  EXPECT_EQ(RowsOf(u"Lab/pipe", &error), -1);
  EXPECT_EQ(error, kMsgSessionUnreadable);
  // Asked again, it is reported again; the session beside it opens.
  EXPECT_EQ(RowsOf(u"Lab/pipe", &error), -1);
  EXPECT_EQ(error, kMsgSessionUnreadable);
  EXPECT_EQ(RowsOf(u"Lab/keep"), 48);
}

}  // namespace
