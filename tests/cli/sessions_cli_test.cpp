// quillane sessions and quillane find over real configuration folders and settings files, and the
// session count of the overview.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_support.h"

namespace {

class SessionListCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* path : {"Default", "web", "Lab/router1", "Lab/switch", "Lab/Deep/router2"})
      qtest::WriteFile(dir / ("cfg/Sessions/" + std::string(path) + ".ini"),
                       "\xEF\xBB\xBF" "D:\"Is Session\"=00000001\r\n");
    qtest::MakeDirs(dir / "cfg/Sessions/Empty");
    qtest::WriteFile(dir / "cfg/Sessions/Lab/__FolderData__.ini",
                     "\xEF\xBB\xBF" "S:\"Session List\"=switch:router1\r\n");
  }
  std::string Q(std::vector<std::string> args, int status = 0,
                const std::string& store = "--config", const std::string& where = "cfg") {
    args.insert(args.begin(), {store, dir / where});
    qtest::RunResult run = qtest::Quillane(args, qtest::HostEnv(dir));
    EXPECT_EQ(run.status, status) << run.err;
    return run.out + run.err;
  }
  qtest::TempDir dir;
};

TEST_F(SessionListCommands, SessionsListsAFolderInDisplayOrderOrEverySessionBelowIt) {
  EXPECT_EQ(Q({"--json", "sessions"}),
            "{\"folders\": [\"Empty\", \"Lab\"], \"sessions\": [\"Default\", \"web\"]}\n");
  EXPECT_EQ(Q({"sessions", "/Lab/"}), "Deep\tfolder\nswitch\tsession\nrouter1\tsession\n");
  // The order found was recorded for the host.
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/Sessions/Lab/__FolderData__.ini"),
            "\xEF\xBB\xBF" "S:\"Session List\"=switch:router1\r\nS:\"Folder List\"=Deep\r\n");
  EXPECT_EQ(Q({"--json", "sessions", "--recursive"}),
            "{\"sessions\": [\"Default\", \"Lab\\\\Deep\\\\router2\", \"Lab\\\\router1\", "
            "\"Lab\\\\switch\", \"web\"]}\n");
  // Text output escapes the backslashes between the levels too, as every backslash of a value.
  EXPECT_EQ(Q({"sessions", "Lab\\Deep", "--recursive"}), "Lab\\\\Deep\\\\router2\n");
  EXPECT_EQ(Q({"sessions", "Lab/Nowhere"}, 1),
            "quillane: The session folder 'Lab\\Nowhere' does not exist.\n");
  Q({"sessions", "web"}, 1);  // a session is not a folder
  Q({"sessions", "a", "b"}, 2);
  EXPECT_EQ(Q({"--json", "sessions"}, 0, "--config", "new"),
            "{\"folders\": [], \"sessions\": []}\n");
  // The overview counts every session and folder.
  EXPECT_NE(Q({}).find("Sessions:       5\nFolders:        3\n"), std::string::npos);
  EXPECT_NE(Q({"--json"}).find("\"sessions\": 5, \"folders\": 3"), std::string::npos);
}

TEST_F(SessionListCommands, FindOffersSessionsWhoseNamesHoldTheText) {
  EXPECT_EQ(Q({"--json", "find", "ROUTER"}), "[\"Lab\\\\Deep\\\\router2\", \"Lab\\\\router1\"]\n");
  EXPECT_EQ(Q({"find", "e"}), "Lab\\\\Deep\\\\router2\nLab\\\\router1\nweb\n");  // not Default
  EXPECT_EQ(Q({"--json", "find", ""}), "[]\n");
  Q({"find"}, 2);
  // The settings file store answers the same way; one that cannot be read says so.
  qtest::WriteFile(dir / "settings.xml",
                   "<?xml version=\"1.0\"?>\n<Tolvane version=\"3.0\"><key name=\"Sessions\">"
                   "<key name=\"Lab\"><key name=\"db1\"><dword name=\"Is Session\">1</dword></key>"
                   "</key><key name=\"db2\"><dword name=\"Is Session\">1</dword></key></key>"
                   "</Tolvane>\n");
  EXPECT_EQ(Q({"--json", "find", "DB"}, 0, "--xml", "settings.xml"), "[\"Lab\\\\db1\", \"db2\"]\n");
  qtest::WriteFile(dir / "broken.xml", "not xml");
  Q({"find", "x"}, 3, "--xml", "broken.xml");
}

// Walks stay inside the store: a link to a folder below the store's root is no folder of the
// tree, and nothing is made through one; the configuration folder itself may be a link.
TEST_F(SessionListCommands, LinksToFoldersInsideTheStoreAreNeitherWalkedNorWrittenThrough) {
  ASSERT_EQ(symlink("..", (dir / "cfg/Sessions/Lab/up").c_str()), 0);
  qtest::MakeDirs(dir / "outside");
  ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "cfg/Sessions/out").c_str()), 0);
  // Text output escapes the backslashes between levels.
  const std::string all = "Default\nLab\\\\Deep\\\\router2\nLab\\\\router1\nLab\\\\switch\nweb\n";
  EXPECT_EQ(Q({"sessions", "--recursive"}), all);
  EXPECT_EQ(Q({"find", "o"}), "Lab\\\\Deep\\\\router2\nLab\\\\router1\n");
  EXPECT_EQ(Q({"sessions", "Lab"}), "Deep\tfolder\nswitch\tsession\nrouter1\tsession\n");
  Q({"sessions", "out"}, 1);
  Q({"sessions", "Lab/up/web"}, 1);
  // Refused, and nothing is written where the link leads.
  std::string refused = Q({"session", "create", "out/x"}, 3);
  EXPECT_NE(refused.find("out\\x"), std::string::npos) << refused;
  EXPECT_NE(access((dir / "outside/x.ini").c_str(), F_OK), 0);
  Q({"session", "create", "Lab/up/Lab/y"}, 3);
  EXPECT_NE(access((dir / "cfg/Sessions/Lab/y.ini").c_str(), F_OK), 0);
  // The configuration folder reached through a link is the configuration folder.
  ASSERT_EQ(symlink((dir / "cfg").c_str(), (dir / "linked").c_str()), 0);
  EXPECT_EQ(Q({"sessions", "--recursive"}, 0, "--config", "linked"), all);
  Q({"session", "create", "Lab/z"}, 0, "--config", "linked");
  EXPECT_EQ(access((dir / "cfg/Sessions/Lab/z.ini").c_str(), F_OK), 0);
}

// A tree deeper than the longest path the system takes: both commands take time in proportion
// to the depth, show what they can reach, and name the folder they could not read.
TEST_F(SessionListCommands, FoldersTooDeepToReadAreReportedAndTheRestIsShown) {
  // Made level by level from the folder above, as no path reaches the bottom.
  int fd = open((dir / "cfg/Sessions").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  for (int level = 0; level < 2200; ++level) {
    ASSERT_EQ(mkdirat(fd, "d", 0755), 0) << level;
    if (level == 10 || level == 2199) {
      int file = openat(fd, level == 10 ? "d/near.ini" : "d/far.ini", O_WRONLY | O_CREAT, 0644);
      ASSERT_GE(file, 0);
      close(file);
    }
    int next = openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    ASSERT_GE(next, 0);
    fd = next;
  }
  close(fd);
  std::string near = "d";
  // As text output writes it, each backslash doubled.
  for (int level = 0; level < 10; ++level) near += "\\\\d";
  near += "\\\\near";
  std::string listed = Q({"sessions", "d", "--recursive"});
  EXPECT_NE(listed.find(near + "\n"), std::string::npos);
  EXPECT_EQ(listed.find("far"), std::string::npos);
  EXPECT_NE(listed.find("quillane: skipped the folder d\\d"), std::string::npos);
  std::string json = Q({"--json", "sessions", "--recursive"});
  EXPECT_NE(json.find("\"skipped\": [{\"folder\": \"d\\\\d"), std::string::npos) << json.substr(0, 300);
  std::string found = Q({"find", "ar"});
  EXPECT_EQ(found.find("far"), std::string::npos);
  EXPECT_NE(found.find(near + "\n"), std::string::npos);
  EXPECT_NE(found.find("quillane: skipped the folder d\\d"), std::string::npos);
}

}  // namespace
