// A save by a user who cannot give a shared value file back its group goes through, and the host
// says so on standard error: others who shared the file may have lost it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_support.h"

namespace {

TEST(SharedFolderCli, ASaveThatCannotKeepTheGroupWarnsAndSucceeds) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  if (access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "needs setpriv to change user";
  qtest::TempDir dir;
  ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);  // the other user makes its home folders here
  qtest::WriteFile(dir / "cfg/K.ini", "\xEF\xBB\xBFS:\"A\"=1\r\n");
  ASSERT_EQ(chmod((dir / "cfg").c_str(), 0777), 0);
  ASSERT_EQ(chown((dir / "cfg/K.ini").c_str(), 61000, 61010), 0);
  ASSERT_EQ(chmod((dir / "cfg/K.ini").c_str(), 0666), 0);
  std::vector<std::string> args = {"--reuid=61001", "--regid=61002", "--clear-groups",
                                   QUILLANE_CLI_PATH, "--config", dir / "cfg",
                                   "key", "set", "K", "A", "--string", "2"};
  qtest::RunResult run = qtest::Run("/usr/bin/setpriv", args, qtest::HostEnv(dir));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("quillane: warning: The file '" + dir / "cfg/K.ini" +
                         "' was saved, but it could not keep its group or permissions"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/K.ini"), "\xEF\xBB\xBFS:\"A\"=2\r\n");
}

}  // namespace
