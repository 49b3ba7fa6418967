// The quillane host's key and message commands, run as a real process on real folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"

namespace {

using qtest::Quillane;
using qtest::RunResult;
using qtest::TempDir;

class KeyCommands : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {"--config", dir / "cfg"});
    return Quillane(args, Env(), input);
  }
  std::map<std::string, std::string> Env() { return qtest::HostEnv(dir); }
  TempDir dir;
};

TEST_F(KeyCommands, SetGetAndListEveryKind) {
  EXPECT_EQ(Q({"key", "set", "Sessions/Lab/host1", "Hostname", "--string", "host1"}).status, 0);
  EXPECT_EQ(Q({"key", "set", "Sessions\\Lab\\host1", "Port", "--dword", "0x16"}).status, 0);
  EXPECT_EQ(Q({"key", "set", "Sessions/Lab/host1", "Blob", "--binary", "00ab"}).status, 0);
  EXPECT_EQ(Q({"key", "set", "Sessions/Lab/host1", "List", "--multi", "a", "--b", "c d"}).status, 0);
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/Sessions/Lab/host1.ini"),
            "\xEF\xBB\xBFS:\"Hostname\"=host1\r\nD:\"Port\"=00000016\r\nB:\"Blob\"=00000002\r\n"
            " 00 ab\r\nZ:\"List\"=00000003\r\n a\r\n --b\r\n c d\r\n");

  RunResult get = Q({"key", "get", "Sessions/Lab/host1", "Port"});
  EXPECT_EQ(get.status, 0);
  EXPECT_EQ(get.out, "22\n");
  EXPECT_EQ(Q({"key", "get", "Sessions/Lab/host1", "List"}).out, "a\n--b\nc d\n");
  EXPECT_EQ(Q({"--json", "key", "get", "/Sessions/Lab/host1/", "Blob"}).out,
            "{\"name\": \"Blob\", \"kind\": \"binary\", \"value\": \"00ab\"}\n");
  EXPECT_EQ(Q({"key", "values", "Sessions/Lab/host1"}).out,
            "binary\tBlob\t00ab\nstring\tHostname\thost1\nmulti\tList\ta\\n--b\\nc d\ndword\tPort\t22\n");
  EXPECT_EQ(Q({"--json", "key", "values", "Sessions/Lab/host1"}).out,
            "[{\"name\": \"Blob\", \"kind\": \"binary\", \"value\": \"00ab\"}, "
            "{\"name\": \"Hostname\", \"kind\": \"string\", \"value\": \"host1\"}, "
            "{\"name\": \"List\", \"kind\": \"multi\", \"value\": [\"a\", \"--b\", \"c d\"]}, "
            "{\"name\": \"Port\", \"kind\": \"dword\", \"value\": 22}]\n");
  EXPECT_EQ(Q({"key", "list", "Sessions"}).out, "Lab\t5\n");
  EXPECT_EQ(Q({"--json", "key", "list", "Sessions/Lab"}).out, "[{\"name\": \"host1\", \"type\": 6}]\n");
  EXPECT_EQ(Q({"--json", "key", "set", "K", "V", "--string", ""}).out, "{}\n");
}

TEST_F(KeyCommands, MissingThingsExitOneWithTheCatalogueText) {
  Q({"key", "set", "Sessions/host1", "Hostname", "--string", "h"});
  RunResult value = Q({"key", "get", "Sessions/host1", "Nope"});
  EXPECT_EQ(value.status, 1);
  EXPECT_EQ(value.err, "quillane: The value 'Nope' does not exist in the key 'Sessions\\host1'.\n");
  RunResult kind = Q({"--json", "key", "get", "Sessions/host1", "Hostname", "--kind", "dword"});
  EXPECT_EQ(kind.status, 1);
  EXPECT_NE(kind.out.find("\"id\": \"0xE13F0003\""), std::string::npos);
  RunResult key = Q({"--json", "key", "list", "Sessions/none"});
  EXPECT_EQ(key.status, 1);
  EXPECT_EQ(key.out, "{\"error\": {\"id\": \"0xE13F0002\", \"text\": \"The key 'Sessions\\\\none' does not exist.\"}}\n");
  EXPECT_EQ(Q({"key", "unset", "Sessions/host1", "Nope"}).status, 1);
  EXPECT_EQ(Q({"key", "delete", "Sessions/none"}).status, 1);
  RunResult exists = Q({"--json", "key", "exists", "Sessions/none"});
  EXPECT_EQ(exists.status, 1);
  EXPECT_EQ(exists.out, "{\"exists\": false}\n");
  EXPECT_EQ(exists.err, "");
  EXPECT_EQ(Q({"key", "exists", "Sessions/host1"}).status, 0);
  RunResult french = Quillane({"--lang", "fr", "--config", dir / "cfg", "key", "list", "X"}, Env());
  EXPECT_EQ(french.err, "quillane: La cl\xC3\xA9 \xC2\xAB X \xC2\xBB n'existe pas.\n");
}

TEST_F(KeyCommands, UnsetDeleteCopyRewrite) {
  Q({"key", "set", "Sessions/Lab/host1", "A", "--string", "1"});
  Q({"key", "set", "Sessions/Lab/host1", "B", "--dword", "2"});
  Q({"key", "set", "Sessions/Lab/sub/host2", "C", "--string", "3"});
  EXPECT_EQ(Q({"key", "unset", "Sessions/Lab/host1", "B"}).status, 0);
  EXPECT_EQ(Q({"key", "values", "Sessions/Lab/host1"}).out, "string\tA\t1\n");

  EXPECT_EQ(Q({"key", "copy", "Sessions/Lab", "Backup/Lab"}).status, 0);
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/Backup/Lab/sub/host2.ini"),
            qtest::ReadFile(dir / "cfg/Sessions/Lab/sub/host2.ini"));
  RunResult into = Q({"key", "copy", "Sessions", "Sessions/Lab/again"});
  EXPECT_EQ(into.status, 3);
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Sessions/Lab/again"));

  EXPECT_EQ(Q({"key", "delete", "Sessions/Lab"}).status, 0);
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Sessions/Lab"));
  EXPECT_EQ(Q({"key", "delete", "/"}).status, 2);

  qtest::WriteFile(dir / "cfg/Old.ini", "S:\"A\"=1\n");
  EXPECT_EQ(Q({"key", "rewrite", "Old"}).status, 0);
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/Old.ini"), "\xEF\xBB\xBFS:\"A\"=1\r\n");
}

TEST_F(KeyCommands, PersonalDataGoesToItsFolderAndMergesBack) {
  std::vector<std::string> personal = {"--config", dir / "cfg", "--personal", dir / "mine"};
  auto withPersonal = [&](std::vector<std::string> args) {
    args.insert(args.begin(), personal.begin(), personal.end());
    return Quillane(args, Env());
  };
  EXPECT_EQ(withPersonal({"key", "set", "Sessions/h", "Password V2", "--string", "02:ab"}).status, 0);
  EXPECT_EQ(withPersonal({"key", "set", "Sessions/h", "Hostname", "--string", "h"}).status, 0);
  EXPECT_EQ(qtest::ReadFile(dir / "mine/Sessions/h.ini"), "\xEF\xBB\xBFS:\"Password V2\"=02:ab\r\n");
  EXPECT_EQ(withPersonal({"key", "get", "Sessions/h", "Password V2"}).out, "02:ab\n");
  EXPECT_EQ(Q({"key", "merge-personal", "Sessions/h", dir / "mine"}).status, 0);
  EXPECT_FALSE(qtest::Exists(dir / "mine/Sessions/h.ini"));
  EXPECT_EQ(Q({"key", "get", "Sessions/h", "Password V2"}).out, "02:ab\n");
}

TEST_F(KeyCommands, FailedWritesExitThree) {
  Q({"key", "set", "K", "A", "--string", "1"});
  chmod((dir / "cfg/K.ini").c_str(), 0444);
  RunResult result = Q({"key", "set", "K", "A", "--string", "2"});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err, "quillane: The key 'K' could not be saved: Access is denied.\n");
  EXPECT_EQ(Q({"key", "set", "K", "Bad\"Name", "--string", "x"}).status, 3);
  EXPECT_EQ(Q({"key", "set", "../escape", "A", "--string", "x"}).status, 3);
  EXPECT_FALSE(qtest::Exists(dir / "escape.ini"));
}

TEST_F(KeyCommands, WrongCommandLinesExitTwoWithUsage) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"key", "set", "K", "A", "--dword", "12x"},
           {"key", "set", "K", "A", "--dword", "-1"},
           {"key", "set", "K", "A", "--dword", "4294967296"},
           {"key", "set", "K", "A"},
           {"key", "set", "K", "A", "--string", "a", "--dword", "1"},
           {"key", "set", "K", "A", "--binary", "abc"},
           {"key", "get", "K"},
           {"key", "get", "K", "A", "--kind", "float"},
           {"key", "frobnicate"},
           {"frobnicate"},
           {"--lang", "de", "key", "list", "/"}}) {
    RunResult result = Q(args);
    EXPECT_EQ(result.status, 2) << args.back();
    EXPECT_NE(result.err.find("usage:"), std::string::npos);
  }
  RunResult help = Quillane({"key", "--help"}, Env());
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("quillane key name-check"), std::string::npos);
  EXPECT_EQ(Quillane({"--help"}, Env()).status, 0);
}

TEST_F(KeyCommands, NameCheckValidatesAsTheLibraryDoes) {
  EXPECT_EQ(Q({"key", "name-check", "session", "host1"}).status, 0);
  RunResult reserved = Q({"--json", "key", "name-check", "session", "com1"});
  EXPECT_EQ(reserved.status, 3);
  EXPECT_EQ(reserved.out,
            "{\"valid\": false, \"error\": {\"id\": \"0xE138000C\", \"text\": \"'com1' is a reserved "
            "device name and cannot be used as a session name.\"}}\n");
  EXPECT_EQ(Q({"key", "name-check", "folder", "Lab", "--taken", "--new"}).status, 3);
  EXPECT_EQ(Q({"key", "name-check", "folder", "lab", "--taken", "--existing", "Lab"}).status, 0);
}

TEST_F(KeyCommands, MessagesInBothLanguages) {
  RunResult english = Quillane({"message", "0xE138000B", "session", "*"}, Env());
  EXPECT_EQ(english.out, "The session name contains an illegal character: ' * '.\n");
  RunResult french = Quillane({"message", "E138002F"}, {{"LANG", "fr_FR.UTF-8"}, {"LC_ALL", ""}});
  EXPECT_EQ(french.out, "Les phrases de passe ne correspondent pas.\n");
  RunResult json = Quillane({"--json", "message", "0x5"}, Env());
  EXPECT_EQ(json.out, "{\"id\": \"0x00000005\", \"text\": \"Access is denied.\"}\n");
  RunResult unknown = Quillane({"message", "0xE1389999"}, Env());
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, "quillane: Could not retrieve the error text for error code 0xe1389999.\n");
}

TEST_F(KeyCommands, OverviewTellsWhereTheConfigurationIs) {
  RunResult fresh = Quillane({"--json"}, Env());
  EXPECT_EQ(fresh.status, 0);
  EXPECT_NE(fresh.out.find("\"location\": \"" + dir / "xdg/Tolvane/Karvell/Config" + "\""), std::string::npos);
  EXPECT_NE(fresh.out.find("\"exists\": false"), std::string::npos);
  auto env = Env();
  env["QUILLANE_CONFIG"] = dir / "cfg";
  Q({"key", "set", "Global", "A", "--dword", "1"});
  RunResult found = Quillane({"--app", "lumbrel"}, env);
  EXPECT_NE(found.out.find("Lumbrel"), std::string::npos);
  EXPECT_NE(found.out.find("(from QUILLANE_CONFIG)"), std::string::npos);
  EXPECT_NE(found.out.find("  Global\n"), std::string::npos);
}

}  // namespace
