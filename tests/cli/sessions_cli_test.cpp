// quillane sessions and quillane find over real configuration folders and settings files, and the
// session count of the overview.
#include <gtest/gtest.h>

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

}  // namespace
