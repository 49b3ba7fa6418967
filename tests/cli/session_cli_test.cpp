// quillane session show|set|create|delete over real configuration folders.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>

#include "support/test_support.h"

namespace {

using qtest::Quillane;
using qtest::RunResult;
using qtest::TempDir;

class SessionCommands : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args, std::map<std::string, std::string> extra = {}) {
    args.insert(args.begin(), {"--config", dir / "cfg"});
    std::map<std::string, std::string> env = qtest::HostEnv(dir);
    for (auto& [name, value] : extra) env[name] = value;
    return Quillane(args, env);
  }
  std::string Session(const std::string& path) {
    return qtest::ReadFile(dir / ("cfg/Sessions/" + path + ".ini"));
  }
  TempDir dir;
};

TEST_F(SessionCommands, CreateMakesASessionFromTheDefaultSession) {
  ASSERT_EQ(Q({"session", "set", "Default", "Scrollback", "0x100"}).status, 0);
  RunResult made = Q({"session", "create", "Lab/router1"});
  ASSERT_EQ(made.status, 0) << made.err;
  std::string lines = Session("Lab/router1");
  EXPECT_NE(lines.find("D:\"Scrollback\"=00000100\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Is Session\"=00000001\r\n"), std::string::npos);
  // The first terminal protocol of the modules installed beside the host, with its settings.
  EXPECT_NE(lines.find("S:\"Protocol Name\"=SSH2\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"[SSH2] Port\"=00000016\r\n"), std::string::npos);
  // A session is its value file; its folder is made, but no empty folder beside the file.
  EXPECT_TRUE(qtest::Exists(dir / "cfg/Sessions/Lab.ini") || qtest::Exists(dir / "cfg/Sessions/Lab"));
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Sessions/Lab/router1"));

  RunResult again = Q({"session", "create", "lab/ROUTER1"});
  EXPECT_EQ(again.status, 3);
  EXPECT_EQ(again.err, "quillane: 'ROUTER1' is already in use.\n");
  RunResult illegal = Q({"--json", "session", "create", "Lab/a*b"});
  EXPECT_EQ(illegal.status, 3);
  EXPECT_NE(illegal.out.find("\"id\": \"0xE1380501\""), std::string::npos);
}

TEST_F(SessionCommands, ShowListsEverySettingAndSecretsOnRequest) {
  ASSERT_EQ(Q({"session", "create", "router1"}).status, 0);
  RunResult set = Q({"--passphrase-env", "PP", "session", "set", "router1", "monitor password v2",
                     "s3cret"},
                    {{"PP", "pass"}});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_NE(Session("router1").find("S:\"Monitor Password V2\"=02:"), std::string::npos);

  RunResult shown = Q({"session", "show", "router1", "Rows", "Disable Resize", "SCP Shell Prompts",
                       "Printer Name", "Transfer Protocol Name"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.out, "int\tRows\t24\tstored\n"
                       "tri-state\tDisable Resize\t2\tstored\n"
                       "string array\tSCP Shell Prompts\t\"? \",0,\"\\\\n\"\tstored\n"
                       "string\tPrinter Name\t\tstored\n"
                       "string\tTransfer Protocol Name\tNone\tstored\n");
  RunResult secrets = Q({"--json", "--passphrase-env", "PP", "session", "show", "router1",
                         "Monitor Password V2", "PGP Upload Command V2", "--secrets"},
                        {{"PP", "pass"}});
  ASSERT_EQ(secrets.status, 0) << secrets.err;
  EXPECT_NE(secrets.out.find("\"stored\": true, \"plaintext\": \"s3cret\"}"), std::string::npos);
  EXPECT_NE(secrets.out.find("\"plaintext\": \"\"}"), std::string::npos);
  RunResult wrong = Q({"--json", "session", "show", "router1", "Monitor Password V2", "--secrets"});
  EXPECT_NE(wrong.out.find("\"plaintext\": \"\"}"), std::string::npos);

  RunResult all = Q({"--json", "session", "show", "router1"});
  EXPECT_EQ(all.out.find("[{\"name\": \"Emulation\", \"kind\": \"string\", \"value\": \"Xterm\""), 0u);
  EXPECT_EQ(all.out.find("plaintext"), std::string::npos);
  // The session's own settings end with the protocol names; its protocol's settings follow.
  EXPECT_NE(all.out.find("{\"name\": \"Transfer Protocol Name\", \"kind\": \"string\", "
                         "\"value\": \"None\", \"stored\": true}, {\"name\": \"Hostname\""),
            std::string::npos);
  EXPECT_NE(all.out.find("{\"name\": \"[SSH2] Strict Host Key Checking\", \"kind\": \"dword\", "
                         "\"value\": 1, \"stored\": true}]"),
            std::string::npos) << all.out.substr(all.out.size() - 300);
}

TEST_F(SessionCommands, SetConvertsValuesAndRefusesWhatDoesNotFit) {
  ASSERT_EQ(Q({"session", "create", "s"}).status, 0);
  EXPECT_EQ(Q({"session", "set", "s", "Lumbrel Bookmarks", "[\"/srv\", \"/tmp\"]"}).status, 0);
  EXPECT_EQ(Q({"session", "set", "s", "Auto Reconnect", "1"}).status, 0);
  EXPECT_EQ(Q({"session", "set", "s", "Description", "one\ntwo"}).status, 0);
  std::string lines = Session("s");
  EXPECT_NE(lines.find("Z:\"Lumbrel Bookmarks\"=00000002\r\n /srv\r\n /tmp\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Auto Reconnect\"=00000001\r\n"), std::string::npos);
  EXPECT_NE(lines.find("Z:\"Description\"=00000002\r\n one\r\n two\r\n"), std::string::npos);

  EXPECT_EQ(Q({"session", "set", "s", "Auto Reconnect", "3"}).status, 3);
  EXPECT_EQ(Q({"session", "set", "s", "Lumbrel Bookmarks", "/srv"}).status, 3);
  EXPECT_EQ(Q({"session", "set", "s", "Login Script V3", "not a script"}).status, 3);
  EXPECT_EQ(Q({"session", "set", "s", "No Such Setting", "1"}).status, 1);
  EXPECT_EQ(Q({"session", "set", "missing", "Rows", "1"}).status, 1);
  EXPECT_EQ(Session("s"), lines);  // nothing half-written

  chmod((dir / "cfg/Sessions/s.ini").c_str(), 0444);
  RunResult readOnly = Q({"session", "set", "s", "Rows", "30"});
  EXPECT_EQ(readOnly.status, 3);
  EXPECT_EQ(readOnly.err, "quillane: The session 's' is read-only and cannot be changed.\n");
  EXPECT_EQ(Q({"session", "delete", "s"}).status, 3);
  chmod((dir / "cfg/Sessions/s.ini").c_str(), 0644);
}

// What happened to the files of one folder, as the kernel tells it: files closed after reading
// only, and files renamed into place.
struct FolderEvents {
  std::map<std::string, int> readCloses;
  std::map<std::string, int> renamedTo;
};

FolderEvents WatchWhile(const std::string& folder, const std::function<void()>& action) {
  FolderEvents events;
  int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  EXPECT_GE(fd, 0);
  // Opens are watched too, though not counted: the kernel merges an event with the one before
  // it when both are alike, and two reads in a row would otherwise show as one.
  EXPECT_GE(inotify_add_watch(fd, folder.c_str(), IN_OPEN | IN_CLOSE_NOWRITE | IN_MOVED_TO), 0);
  action();
  alignas(inotify_event) char buffer[65536];
  for (;;) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    for (ssize_t at = 0; at < got;) {
      auto* event = reinterpret_cast<inotify_event*>(buffer + at);
      std::string name = event->len ? event->name : "";
      if (event->mask & IN_CLOSE_NOWRITE) ++events.readCloses[name];
      if (event->mask & IN_MOVED_TO) ++events.renamedTo[name];
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  close(fd);
  return events;
}

TEST_F(SessionCommands, SetReadsTheSessionFileOnceAndReplacesItOnce) {
  ASSERT_EQ(Q({"session", "create", "Lab/db1"}).status, 0);
  RunResult set;
  FolderEvents events = WatchWhile(dir / "cfg/Sessions/Lab", [&] {
    set = Q({"session", "set", "Lab/db1", "Rows", "30"});
  });
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(events.readCloses["db1.ini"], 1);
  EXPECT_EQ(events.renamedTo["db1.ini"], 1);
  EXPECT_NE(Session("Lab/db1").find("D:\"Rows\"=0000001e\r\n"), std::string::npos);
}

TEST_F(SessionCommands, DeleteRemovesASessionButNotAFolder) {
  ASSERT_EQ(Q({"session", "create", "Lab/r1"}).status, 0);
  RunResult folder = Q({"session", "delete", "Lab"});
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err, "quillane: 'Lab' is a folder of sessions, not a session.\n");
  EXPECT_EQ(Q({"session", "show", "Lab"}).status, 1);
  ASSERT_EQ(Q({"session", "delete", "Lab/r1"}).status, 0);
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Sessions/Lab/r1.ini"));
  EXPECT_EQ(Q({"session", "delete", "Lab/r1"}).status, 1);
  EXPECT_EQ(Q({"session", "frobnicate"}).status, 2);
}

}  // namespace
