// The quillane host's keymap commands, run as a real process on real files.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

using qtest::Quillane;
using qtest::RunResult;
using qtest::TempDir;

class KeymapCommands : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", dir / "cfg"});
    return Quillane(args, qtest::HostEnv(dir));
  }
  std::string Fixture(const std::string& name) {
    return std::string(QUILLANE_FIXTURES) + "/keymaps/" + name;
  }
  TempDir dir;
};

TEST_F(KeymapCommands, SetShowAndUnsetAFileWithItsBytesOnDisk) {
  const std::string file = dir / "a.key";
  EXPECT_EQ(Q({"keymap", "set", file, "Ctrl-Shift-VK_F5", "SEND", "ls\\r"}).status, 0);
  EXPECT_EQ(Q({"keymap", "set", file, "AC VK_M", "RUN", "/x.py", "--fast"}).status, 0);
  EXPECT_EQ(Q({"keymap", "set", file, "VK_F1", "MENU_COPY"}).status, 0);
  EXPECT_EQ(Q({"keymap", "set", file, "N VK_F1", "MENU_PASTE"}).status, 0);  // replaces
  EXPECT_EQ(qtest::ReadFile(file),
            "\xEF\xBB\xBFVersion = 1\r\nCS\tVK_F5               \t\"ls\\r\"\r\n"
            "AC\tVK_M                \tRUN(\"/x.py\")(\"--fast\")\r\n"
            "N\tVK_F1               \tMENU_PASTE\r\n");
  RunResult show = Q({"keymap", "show", file});
  EXPECT_EQ(show.status, 0) << show.err;
  EXPECT_EQ(show.out, "Ctrl-Shift-VK_F5\tSEND\tls\\\\r\nAlt-Ctrl-VK_M\tRUN\t/x.py\t--fast\nVK_F1\tMENU_PASTE\n");
  EXPECT_EQ(Q({"--json", "keymap", "show", file}).out,
            "{\"header\": \"Version = 1\", \"mappings\": [{\"key\": \"Ctrl-Shift-VK_F5\", \"code\": 201326708, "
            "\"action\": \"SEND\", \"arguments\": [\"ls\\\\r\"]}, {\"key\": \"Alt-Ctrl-VK_M\", \"code\": "
            "335544397, \"action\": \"RUN\", \"arguments\": [\"/x.py\", \"--fast\"]}, {\"key\": \"VK_F1\", "
            "\"code\": 112, \"action\": \"MENU_PASTE\", \"arguments\": []}]}\n");
  EXPECT_EQ(Q({"keymap", "unset", file, "Alt-Ctrl-VK_M"}).status, 0);
  RunResult again = Q({"keymap", "unset", file, "Alt-Ctrl-VK_M"});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("has no binding"), std::string::npos);
  EXPECT_EQ(Q({"keymap", "show", file}).out, "Ctrl-Shift-VK_F5\tSEND\tls\\\\r\nVK_F1\tMENU_PASTE\n");
}

TEST_F(KeymapCommands, WrongKeysActionsAndArgumentCountsAreUsageErrorsThatWriteNothing) {
  const std::string file = dir / "b.key";
  for (std::vector<std::string> args : {std::vector<std::string>{"Foo-VK_X", "MENU_COPY"},
                                        {"VK_F1", "NO_SUCH"},
                                        {"VK_F1", "NONE"},
                                        {"VK_F1", "SEND"},
                                        {"VK_F1", "MENU_COPY", "extra"},
                                        {"XX VK_F1", "MENU_COPY"}}) {
    args.insert(args.begin(), {"keymap", "set", file});
    RunResult run = Q(args);
    EXPECT_EQ(run.status, 2) << args[3] << " " << args[4];
    EXPECT_FALSE(qtest::Exists(file));
  }
  EXPECT_EQ(Q({"keymap", "show", dir / "missing.key"}).status, 1);
  EXPECT_EQ(Q({"keymap", "unset", dir / "missing.key", "VK_F1"}).status, 1);
}

TEST_F(KeymapCommands, CheckListsEveryComplaintAndFailsOnlyAtTheThirdError) {
  RunResult two = Q({"keymap", "check", Fixture("two_errors.key")});
  EXPECT_EQ(two.status, 0);
  EXPECT_EQ(two.out,
            "3\tLine 3: 'X' is not a modifier letter (N, A, C, S or E).\n"
            "4\tLine 4: 'VK_NOPE' is not a key name.\n");
  RunResult three = Q({"--json", "keymap", "check", Fixture("three_errors.key")});
  EXPECT_EQ(three.status, 3);
  EXPECT_NE(three.out.find("{\"line\": 5, \"text\": \"Line 5: the arguments of RUN"), std::string::npos);
  EXPECT_NE(three.out.find("\"loaded\": false"), std::string::npos) << three.out;
  EXPECT_NE(three.err.find("three_errors.key"), std::string::npos);
  // A file with errors is not rewritten by a change: the load failed.
  qtest::WriteFile(dir / "three.key", qtest::ReadFile(Fixture("three_errors.key")));
  EXPECT_EQ(Q({"keymap", "set", dir / "three.key", "VK_F9", "MENU_COPY"}).status, 3);
  EXPECT_EQ(qtest::ReadFile(dir / "three.key"), qtest::ReadFile(Fixture("three_errors.key")));
  EXPECT_EQ(Q({"keymap", "check", dir / "absent.key"}).status, 1);
}

TEST_F(KeymapCommands, FilesAreFoundInTheKeymapsFolderOfTheConfiguration) {
  qtest::WriteFile(dir / "cfg/keymaps/lab.key", "Version = 1\r\nN VK_F1 MENU_COPY\r\n");
  RunResult show = Q({"keymap", "show", "lab.key"});
  EXPECT_EQ(show.status, 0) << show.err;
  EXPECT_EQ(show.out, "VK_F1\tMENU_COPY\n");
}

TEST_F(KeymapCommands, ASessionsOwnKeymapIsChangedAndShown) {
  ASSERT_EQ(Q({"session", "create", "Lab/h1"}).status, 0);
  EXPECT_EQ(Q({"keymap", "set", "--session", "Lab/h1", "cs VK_F5", "SEND", "x\\r"}).status, 0);
  EXPECT_EQ(Q({"keymap", "set", "--session", "Lab/h1", "Windows-VK_F5", "DISABLED"}).status, 0);
  EXPECT_NE(qtest::ReadFile(dir / "cfg/Sessions/Lab/h1.ini")
                .find("Z:\"Keymap v4\"=00000002\r\n CS\tVK_F5               \t\"x\\r\"\r\n"
                      " N\t0x40000074          \tDISABLED\r\n"),
            std::string::npos);
  EXPECT_EQ(Q({"keymap", "show", "--session", "Lab/h1"}).out,
            "Ctrl-Shift-VK_F5\tSEND\tx\\\\r\nWindows-VK_F5\tDISABLED\n");
  EXPECT_EQ(Q({"keymap", "show", "--session", "Lab/none"}).status, 1);

  // A stored line this release cannot read is reported, shown around and kept through a change.
  ASSERT_EQ(Q({"key", "set", "Sessions/Lab/h1", "Keymap v4", "--multi", "N VK_NOPE MENU_COPY",
               "N\tVK_F1\tMENU_PASTE"}).status, 0);
  RunResult shown = Q({"keymap", "show", "--session", "Lab/h1"});
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out, "VK_F1\tMENU_PASTE\n");
  EXPECT_NE(shown.err.find("Line 1: 'VK_NOPE' is not a key name."), std::string::npos) << shown.err;
  EXPECT_EQ(Q({"keymap", "set", "--session", "Lab/h1", "VK_F2", "MENU_FIND"}).status, 0);
  EXPECT_EQ(Q({"key", "get", "Sessions/Lab/h1", "Keymap v4"}).out,
            "N VK_NOPE MENU_COPY\nN\\tVK_F1               \\tMENU_PASTE\nN\\tVK_F2               \\tMENU_FIND\n");
}

TEST_F(KeymapCommands, NamesListBothKeyTablesAndTheFunctions) {
  RunResult keys = Q({"keymap", "names", "keys"});
  EXPECT_EQ(std::count(keys.out.begin(), keys.out.end(), '\n'), 108 + 223);
  EXPECT_NE(keys.out.find("VK_F5\t116\n"), std::string::npos);
  EXPECT_NE(keys.out.find("VK_CONTEXT 1\t17825792\n"), std::string::npos);
  RunResult functions = Q({"--json", "keymap", "names", "functions"});
  EXPECT_NE(functions.out.find("{\"name\": \"VT_F15\", \"code\": 254}"), std::string::npos);
  EXPECT_EQ(Q({"keymap", "names", "other"}).status, 2);
}

}  // namespace
