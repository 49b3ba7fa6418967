// quillane global show|set|save over real configuration folders, and the defaults that come
// from the desktop (font smoothing, keyboard layout, temporary folder).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"

namespace {

using qtest::Quillane;
using qtest::RunResult;
using qtest::TempDir;

class GlobalCommands : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args, std::map<std::string, std::string> extra = {}) {
    args.insert(args.begin(), {"--config", dir / "cfg"});
    std::map<std::string, std::string> env = qtest::HostEnv(dir);
    env["XKB_DEFAULT_LAYOUT"] = "us";
    env["TMPDIR"] = "/var/tmp/q";
    for (auto& [name, value] : extra) env[name] = value;
    return Quillane(args, env);
  }
  std::string Global() { return qtest::ReadFile(dir / "cfg/Global.ini"); }
  TempDir dir;
};

TEST_F(GlobalCommands, ShowListsEverySettingAsASaveWouldWriteIt) {
  RunResult all = Q({"--json", "global", "show"});
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out.find("[{\"name\": \"Config Passphrase\", \"kind\": \"string\", \"value\": \"\", "
                         "\"stored\": false}, {\"name\": \"Change Config Passphrase\""),
            0u);
  EXPECT_NE(all.out.find("{\"name\": \"LMB Custom Toolbar Data\", \"kind\": \"binary\", "
                         "\"value\": null, \"stored\": false}"),
            std::string::npos);
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Global.ini"));  // showing writes nothing

  RunResult some = Q({"--json", "global", "show", "mru count", "Lumbrel Bookmarks",
                      "Synchronize App Log Directory", "Printer Font v2"});
  ASSERT_EQ(some.status, 0) << some.err;
  EXPECT_EQ(some.out.find(
                "[{\"name\": \"MRU Count\", \"kind\": \"dword\", \"value\": 4, \"stored\": false}, "
            "{\"name\": \"Lumbrel Bookmarks\", \"kind\": \"multi\", \"value\": [], \"stored\": false}, "
                "{\"name\": \"Synchronize App Log Directory\", "),
            0u);
  EXPECT_NE(some.out.find("\"value\": \"/var/tmp/q\""), std::string::npos);
  EXPECT_NE(some.out.find("\"value\": \"f3ffffff"), std::string::npos);  // height -13 first

  RunResult text = Q({"global", "show", "Tab Width", "Session Manager Window State"});
  EXPECT_EQ(text.out, "int\tTab Width\t40\tdefault\n"
                      "dock state\tSession Manager Window State\t1,0,0,0,0,0,0,0\tdefault\n");
  RunResult unknown = Q({"global", "show", "No Such Setting"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, "quillane: There is no setting named 'No Such Setting'.\n");
}

TEST_F(GlobalCommands, SetChangesOneSettingAndSavesTheConfiguration) {
  RunResult set = Q({"global", "set", "MRU Count", "0x0c"});
  ASSERT_EQ(set.status, 0) << set.err;
  std::string file = Global();
  EXPECT_NE(file.find("D:\"MRU Count\"=0000000c\r\n"), std::string::npos);
  EXPECT_NE(file.find("D:\"List View Sort Style\"=00000002\r\n"), std::string::npos);  // new
  EXPECT_EQ(Q({"global", "show", "MRU Count"}).out, "int\tMRU Count\t12\tstored\n");

  EXPECT_EQ(Q({"global", "set", "Lumbrel Bookmarks", "[\"a b\", \"c\"]"}).status, 0);
  EXPECT_NE(Global().find("Z:\"Lumbrel Bookmarks\"=00000002\r\n a b\r\n c\r\n"), std::string::npos);
  EXPECT_EQ(Q({"global", "set", "Show Toolbar", "false"}).status, 0);
  EXPECT_NE(Global().find("D:\"Show Toolbar\"=00000000\r\n"), std::string::npos);

  // Lumbrel keeps its own value of a product setting.
  EXPECT_EQ(Q({"--app", "Lumbrel", "global", "set", "Show Toolbar LMB", "1"}).status, 0);
  EXPECT_NE(Global().find("D:\"Show Toolbar LMB\"=00000001\r\n"), std::string::npos);
  EXPECT_EQ(Q({"--app", "Lumbrel", "global", "show", "Show Toolbar"}).status, 1);
  EXPECT_EQ(Q({"global", "show", "Show Toolbar"}).out, "bool\tShow Toolbar\t0\tstored\n");

  const std::string before = Global();
  RunResult range = Q({"global", "set", "MRU Count", "17"});
  EXPECT_EQ(range.status, 3);
  EXPECT_NE(range.err.find("a whole number from 0 to 16"), std::string::npos);
  EXPECT_EQ(Q({"global", "set", "Lumbrel Bookmarks", "a"}).status, 3);
  EXPECT_EQ(Q({"global", "set", "Line Send Delay", "3"}).status, 3);
  RunResult check = Q({"--json", "global", "set", "Config Passphrase", "secret"});
  EXPECT_EQ(check.status, 3);
  EXPECT_NE(check.out.find("\"id\": \"0xE13F0040\""), std::string::npos);
  EXPECT_EQ(Q({"global", "set", "Nothing", "1"}).status, 1);
  EXPECT_EQ(Q({"global", "set", "MRU Count"}).status, 2);
  EXPECT_EQ(Global(), before);  // refused changes leave the file as it was
}

TEST_F(GlobalCommands, SaveWritesFlaggedValuesOrEverythingAndReportsAFileItCannotWrite) {
  ASSERT_EQ(Q({"global", "save"}).status, 0);
  std::string first = Global();
  EXPECT_NE(first.find("S:\"Version\"=7B2F2717-85C8-4729-8394-3B7697039CEB\r\n"), std::string::npos);
  // A hand-edited value survives an unforced save and is rewritten the same by a forced one.
  qtest::WriteFile(dir / "cfg/Global.ini", first + "D:\"Someone Else's\"=00000001\r\n");
  ASSERT_EQ(Q({"global", "save"}).status, 0);
  ASSERT_EQ(Q({"--json", "global", "save", "--force"}).out, "{}\n");
  EXPECT_NE(Global().find("D:\"Someone Else's\"=00000001\r\n"), std::string::npos);

  ASSERT_EQ(chmod((dir / "cfg/Global.ini").c_str(), 0444), 0);
  RunResult refused = Q({"global", "save", "--force"});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.err.find("The key 'Global' could not be saved"), std::string::npos);
  EXPECT_EQ(Q({"global", "save", "extra"}).status, 2);
}

TEST_F(GlobalCommands, DefaultsFollowTheDesktop) {
  auto shown = [&](const std::string& name, std::map<std::string, std::string> env) {
    return Q({"global", "show", name}, env).out;
  };
  EXPECT_EQ(shown("Zoom on Keyboard Shortcut", {{"XKB_DEFAULT_LAYOUT", "gb,de"}}),
            "bool\tZoom on Keyboard Shortcut\t1\tdefault\n");
  EXPECT_EQ(shown("Zoom on Keyboard Shortcut", {{"XKB_DEFAULT_LAYOUT", "de(nodeadkeys)"}}),
            "bool\tZoom on Keyboard Shortcut\t0\tdefault\n");
  for (bool antialias : {true, false}) {
    std::string conf = dir / (antialias ? "on.conf" : "off.conf");
    qtest::WriteFile(conf, std::string("<?xml version=\"1.0\"?><fontconfig><match target=\"pattern\">"
                                       "<edit name=\"antialias\" mode=\"assign\"><bool>") +
                               (antialias ? "true" : "false") + "</bool></edit></match></fontconfig>");
    EXPECT_EQ(shown("Enable Font Smoothing", {{"FONTCONFIG_FILE", conf}}),
              std::string("bool\tEnable Font Smoothing\t") + (antialias ? "1" : "0") + "\tdefault\n");
  }
}

}  // namespace
