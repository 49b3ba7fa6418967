// quillane export and import between real configurations: a round trip between passphrases,
// the backup and the modes of the files made, the passphrase question's outcomes, sessions
// created from "Default", and settings files that try to write outside the configuration.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "support/test_support.h"

namespace {

using qtest::RunResult;

class MoveCli : public ::testing::Test {
 protected:
  RunResult Q(const std::vector<std::string>& args,
              const std::map<std::string, std::string>& extra = {}) {
    auto env = qtest::HostEnv(dir_);
    env["PA"] = "first passphrase";
    env["PB"] = "second passphrase";
    for (const auto& [name, value] : extra) env[name] = value;
    // The host's environment drops empty variables; the empty passphrase is set on the way in.
    std::vector<std::string> command{"PE=", QUILLANE_CLI_PATH};
    command.insert(command.end(), args.begin(), args.end());
    return qtest::Run("/usr/bin/env", command, env);
  }
  // A command on configuration `name` under passphrase variable `var`.
  RunResult On(const std::string& name, const std::string& var, std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", dir_ / name, "--passphrase-env", var});
    return Q(args);
  }
  void Must(const RunResult& result) { ASSERT_EQ(result.status, 0) << result.err << result.out; }

  // Every setting of a session with secrets as their plaintext, and nothing that varies
  // between two encryptions of the same text.
  std::string Values(const std::string& config, const std::string& var, const std::string& path) {
    RunResult shown = On(config, var, {"session", "show", path, "--secrets"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    std::istringstream lines(shown.out);
    std::string line, out;
    while (std::getline(lines, line)) {
      std::vector<std::string> fields;
      std::stringstream split(line);
      std::string field;
      while (std::getline(split, field, '\t')) fields.push_back(field);
      if (fields.size() >= 5 && fields[0] == "encrypted") fields[2] = "";
      for (const auto& f : fields) out += f + "|";
      out += "\n";
    }
    return out;
  }
  std::string Plain(const std::string& config, const std::string& var, const std::string& path,
                    const std::string& name) {
    RunResult shown = On(config, var, {"session", "show", path, name, "--secrets"});
    std::string out = shown.out;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    std::vector<std::string> fields;
    std::stringstream split(out);
    std::string field;
    while (std::getline(split, field, '\t')) fields.push_back(field);
    if (!fields.empty() && fields[0] == "encrypted") return fields.size() >= 5 ? fields[4] : "";
    return fields.size() >= 3 ? fields[2] : "";
  }
  static mode_t Mode(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
  }
  // The exporting configuration: sessions at the root and in folders, secrets, a firewall.
  void MakeSource() {
    Must(On("a", "PA", {"passphrase", "init"}));
    Must(On("a", "PA", {"session", "create", "Lab/Routers/r1"}));
    Must(On("a", "PA", {"session", "set", "Lab/Routers/r1", "Rows", "40"}));
    Must(On("a", "PA", {"session", "set", "Lab/Routers/r1", "Monitor Password V2", "s3cret"}));
    Must(On("a", "PA", {"session", "set", "Lab/Routers/r1", "Monitor Username", "alice"}));
    Must(On("a", "PA", {"session", "create", "top"}));
    Must(On("a", "PA", {"session", "set", "top", "SCP Shell Password V2", "other"}));
    Must(On("a", "PA", {"firewall", "set", "fw1", "Firewall Password V2", "fwpass"}));
  }

  // A secret of a protocol no module here knows, already under the importer's passphrase, in a
  // session the file does not give whole (so the session is built from the file and "Default"):
  // skipped, it is emptied too, not read back from the file.
  void ExpectKeptSecretEmptied() {
    std::string session = dir_ / "a/Sessions/Lab/Routers/r1.ini";
    std::string bytes = qtest::ReadFile(session);
    const std::string monitor = "S:\"Monitor Password V2\"=";
    size_t at = bytes.find(monitor);
    ASSERT_NE(at, std::string::npos) << bytes;
    std::string secret = bytes.substr(at + monitor.size(), bytes.find("\r\n", at) - at - monitor.size());
    ASSERT_EQ(secret.rfind("02:", 0), 0u) << secret;
    qtest::WriteFile(session, bytes + "S:\"Zephyr Password V2\"=" + secret + "\r\n");
    std::string file = dir_ / "kept.xml";
    Must(On("a", "PA", {"export", file}));
    std::string xml = qtest::ReadFile(file);
    ASSERT_NE(xml.find("Zephyr Password V2"), std::string::npos);
    const std::string rows = "<dword name=\"Rows\">40</dword>";
    ASSERT_NE(xml.find(rows), std::string::npos) << xml.substr(0, 2000);
    xml.erase(xml.find(rows), rows.size());
    qtest::WriteFile(file, xml);
    Must(On("e", "PA", {"passphrase", "init"}));
    Must(On("e", "PA", {"session", "set", "Default", "Rows", "24"}));
    Must(On("e", "PA", {"--no-prompt", "import", file, "--skip-secrets"}));
    std::string imported = qtest::ReadFile(dir_ / "e/Sessions/Lab/Routers/r1.ini");
    EXPECT_NE(imported.find("S:\"Zephyr Password V2\"=\r\n"), std::string::npos) << imported;
    EXPECT_EQ(imported.find(secret), std::string::npos);
    EXPECT_NE(imported.find("S:\"Monitor Username\"=alice\r\n"), std::string::npos);
    EXPECT_NE(imported.find("D:\"Rows\"=00000018\r\n"), std::string::npos);  // from "Default"
  }

  qtest::TempDir dir_;
};

TEST_F(MoveCli, RoundTripCarriesEverySecretToTheOtherPassphrase) {
  MakeSource();
  Must(On("b", "PB", {"passphrase", "init"}));
  std::string file = dir_ / "out/settings.xml";
  qtest::MakeDirs(dir_ / "out");
  RunResult exported = On("a", "PA", {"--json", "export", file});
  Must(exported);
  EXPECT_NE(exported.out.find("\"sessions\": 3"), std::string::npos) << exported.out;
  EXPECT_NE(exported.out.find("\"backup\": null"), std::string::npos);
  // It holds the exporter's secrets: its owner's alone, as its log.
  EXPECT_EQ(Mode(file), 0600u);
  EXPECT_EQ(Mode(dir_ / "out/settings.log"), 0600u);
  EXPECT_EQ(qtest::Run("/usr/bin/xmllint", {"--noout", file}).status, 0);
  EXPECT_NE(qtest::ReadFile(dir_ / "out/settings.log").find(",valid,"), std::string::npos);

  RunResult imported =
      On("b", "PB", {"--json", "--no-prompt", "import", file, "--file-passphrase-env", "PA"});
  Must(imported);
  for (std::string path : {"Lab/Routers/r1", "top", "Default"})
    EXPECT_EQ(Values("b", "PB", path), Values("a", "PA", path)) << path;
  EXPECT_EQ(Plain("b", "PB", "Lab/Routers/r1", "Monitor Password V2"), "s3cret");
  EXPECT_EQ(Plain("b", "PB", "top", "SCP Shell Password V2"), "other");
  RunResult firewall = On("b", "PB", {"firewall", "show", "fw1", "Firewall Password V2", "--secrets"});
  EXPECT_NE(firewall.out.find("fwpass"), std::string::npos) << firewall.out << firewall.err;

  // Again: nothing changes.
  std::string before = Values("b", "PB", "Lab/Routers/r1");
  Must(On("b", "PB", {"--no-prompt", "import", file, "--file-passphrase-env", "PA"}));
  EXPECT_EQ(Values("b", "PB", "Lab/Routers/r1"), before);
  RunResult listed = On("b", "PB", {"--json", "sessions", "--recursive"});
  EXPECT_NE(listed.out.find("Lab\\\\Routers\\\\r1"), std::string::npos) << listed.out;
}

TEST_F(MoveCli, SkippingSecretsImportsThemEmptyAndEverythingElseEqual) {
  MakeSource();
  Must(On("b", "PB", {"passphrase", "init"}));
  std::string file = dir_ / "s.xml";
  Must(On("a", "PA", {"export", file}));
  Must(On("b", "PB", {"--no-prompt", "import", file, "--skip-secrets"}));
  EXPECT_EQ(Plain("b", "PB", "Lab/Routers/r1", "Monitor Password V2"), "");
  EXPECT_EQ(Plain("b", "PB", "Lab/Routers/r1", "Monitor Username"), "alice");
  EXPECT_EQ(Plain("b", "PB", "Lab/Routers/r1", "Rows"), "40");
  // Also when the file's secrets are under this configuration's own passphrase, where nothing
  // would be asked.
  Must(On("d", "PA", {"passphrase", "init"}));
  Must(On("d", "PA", {"--no-prompt", "import", file, "--skip-secrets"}));
  EXPECT_EQ(Plain("d", "PA", "Lab/Routers/r1", "Monitor Password V2"), "");
  EXPECT_EQ(Plain("d", "PA", "top", "SCP Shell Password V2"), "");
  EXPECT_EQ(Plain("d", "PA", "Lab/Routers/r1", "Monitor Username"), "alice");

  // Nobody to ask and no choice made: the run stops before it changes anything.
  Must(On("c", "PB", {"passphrase", "init"}));
  ExpectKeptSecretEmptied();
  RunResult refused = On("c", "PB", {"--json", "--no-prompt", "import", file});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.out.find("0xE138110C"), std::string::npos) << refused.out;
  EXPECT_FALSE(qtest::Exists(dir_ / "c/Sessions/top.ini"));
  // A wrong passphrase is refused the same way.
  RunResult wrong = On("c", "PB", {"--no-prompt", "import", file, "--file-passphrase-env", "PB"});
  EXPECT_EQ(wrong.status, 3);
  EXPECT_FALSE(qtest::Exists(dir_ / "c/Sessions/top.ini"));
}

TEST_F(MoveCli, SamePassphraseAndEmptyPassphraseNeedNoQuestion) {
  MakeSource();
  std::string file = dir_ / "s.xml";
  Must(On("a", "PA", {"export", file}));
  Must(On("same", "PA", {"passphrase", "init"}));
  Must(On("same", "PA", {"--no-prompt", "import", file}));
  EXPECT_EQ(Plain("same", "PA", "Lab/Routers/r1", "Monitor Password V2"), "s3cret");

  // Exported under the empty passphrase: recognised through it.
  Must(On("empty", "PE", {"passphrase", "init"}));
  Must(On("empty", "PE", {"session", "create", "e1"}));
  Must(On("empty", "PE", {"session", "set", "e1", "Monitor Password V2", "blank"}));
  std::string emptyFile = dir_ / "e.xml";
  Must(On("empty", "PE", {"export", emptyFile}));
  Must(On("b", "PB", {"passphrase", "init"}));
  Must(On("b", "PB", {"--no-prompt", "import", emptyFile}));
  EXPECT_EQ(Plain("b", "PB", "e1", "Monitor Password V2"), "blank");
}

TEST_F(MoveCli, ExportKeepsTheOlderFileAsBackup) {
  MakeSource();
  std::string file = dir_ / "keep.xml";
  Must(On("a", "PA", {"export", file}));
  std::string first = qtest::ReadFile(file);
  chmod(file.c_str(), 0644);
  Must(On("a", "PA", {"session", "set", "top", "Rows", "33"}));
  RunResult second = On("a", "PA", {"--json", "export", file});
  Must(second);
  EXPECT_NE(second.out.find("keep.bak"), std::string::npos) << second.out;
  EXPECT_EQ(qtest::ReadFile(dir_ / "keep.bak"), first);
  EXPECT_EQ(Mode(dir_ / "keep.bak"), 0600u);
  EXPECT_NE(qtest::ReadFile(file), first);

  // A folder that cannot take the file: an error naming it, and nothing else made.
  RunResult missing = On("a", "PA", {"--json", "export", dir_ / "nowhere/x.xml"});
  EXPECT_EQ(missing.status, 3);
  EXPECT_NE(missing.out.find("0xE1381100"), std::string::npos) << missing.out;
}

TEST_F(MoveCli, ASessionThatCannotBeWrittenStaysWholeAndTheOthersAreImported) {
  MakeSource();
  Must(On("b", "PB", {"passphrase", "init"}));
  std::string file = dir_ / "s.xml";
  Must(On("a", "PA", {"export", file}));
  Must(On("b", "PB", {"--no-prompt", "import", file, "--file-passphrase-env", "PA"}));
  Must(On("a", "PA", {"session", "set", "top", "Rows", "44"}));
  Must(On("a", "PA", {"session", "set", "Lab/Routers/r1", "Rows", "45"}));
  Must(On("a", "PA", {"export", file}));
  std::string top = dir_ / "b/Sessions/top.ini";
  std::string topBytes = qtest::ReadFile(top);
  chmod(top.c_str(), 0444);
  RunResult imported =
      On("b", "PB", {"--json", "--no-prompt", "import", file, "--file-passphrase-env", "PA"});
  EXPECT_EQ(imported.status, 3);
  EXPECT_NE(imported.out.find("0xE1381103"), std::string::npos) << imported.out;
  EXPECT_EQ(qtest::ReadFile(top), topBytes);
  EXPECT_EQ(Plain("b", "PB", "Lab/Routers/r1", "Rows"), "45");
  // The configuration keeps its own passphrase.
  Must(On("b", "PB", {"passphrase", "check"}));
}

// A settings file written by hand, as someone else could send it.
std::string SettingsFile(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Tolvane version=\"3.0\">\n" + body +
         "</Tolvane>\n";
}

TEST_F(MoveCli, MissingSessionStartsFromDefaultAndMissingGlobalIsAWarning) {
  Must(On("b", "PB", {"passphrase", "init"}));
  Must(On("b", "PB", {"session", "set", "Default", "Cols", "132"}));
  Must(On("b", "PB", {"global", "set", "Tab Width", "40"}));
  std::string globalBefore = qtest::ReadFile(dir_ / "b/Global.ini");
  std::string file = dir_ / "hand.xml";
  qtest::WriteFile(file, SettingsFile(
      "<key name=\"Sessions\"><key name=\"Far\"><key name=\"new\">"
      "<dword name=\"Is Session\">1</dword><dword name=\"Rows\">50</dword>"
      "</key></key><key name=\"__FolderData__\"><string name=\"x\">y</string></key></key>\n"));
  RunResult imported = On("b", "PB", {"--json", "--no-prompt", "import", file, "--skip-secrets"});
  Must(imported);
  EXPECT_NE(imported.out.find("\"sessions\": 1"), std::string::npos) << imported.out;
  EXPECT_EQ(Plain("b", "PB", "Far/new", "Rows"), "50");
  EXPECT_EQ(Plain("b", "PB", "Far/new", "Cols"), "132");
  EXPECT_FALSE(qtest::Exists(dir_ / "b/Sessions/__FolderData__.ini"));
  EXPECT_NE(qtest::ReadFile(dir_ / "hand.log").find("warn,The settings file holds no Global"),
            std::string::npos);
  EXPECT_EQ(qtest::ReadFile(dir_ / "b/Global.ini"), globalBefore);
}

TEST_F(MoveCli, CarriedFilesAreWrittenOnlyInsideTheConfigurationFolders) {
  Must(On("b", "PB", {"passphrase", "init"}));
  std::string outside = dir_ / "outside";
  qtest::MakeDirs(outside);
  qtest::MakeDirs(dir_ / "b/folder-there");
  ASSERT_EQ(symlink(outside.c_str(), (dir_ / "b/link").c_str()), 0);
  qtest::WriteFile(dir_ / "home/.bashrc", "original\n");
  auto entry = [](int n, const std::string& path) {
    return "<key name=\"File " + std::to_string(n) + "\"><string name=\"Path\">" + path +
           "</string><binary name=\"Contents\">6576696c0a</binary></key>";
  };
  std::string file = dir_ / "hostile.xml";
  qtest::WriteFile(file, SettingsFile(
      "<key name=\"Files\">" + entry(0, "${TLV_CONFIG_PATH}/../home/.bashrc") +
      entry(1, outside + "/planted") + entry(2, "${TLV_CONFIG_PATH}/link/planted") +
      entry(3, "${TLV_CONFIG_PATH}/folder-there") + entry(4, "../../.bashrc") +
      entry(5, "${TLV_CONFIG_PATH}/Sounds/bell.wav") + "</key>\n"));
  RunResult imported = On("b", "PB", {"--json", "--no-prompt", "import", file, "--skip-secrets"});
  Must(imported);
  EXPECT_EQ(qtest::ReadFile(dir_ / "home/.bashrc"), "original\n");
  EXPECT_FALSE(qtest::Exists(outside + "/planted"));
  EXPECT_TRUE(qtest::Exists(dir_ / "b/folder-there"));
  EXPECT_EQ(qtest::ReadFile(dir_ / "b/Sounds/bell.wav"), "evil\n");
  for (std::string refused : {"../home/.bashrc", "/planted", "link/planted", "folder-there\"",
                              "\"../../.bashrc"})
    EXPECT_NE(imported.out.find(refused), std::string::npos) << refused << "\n" << imported.out;
  EXPECT_NE(imported.out.find("Sounds/bell.wav\"]"), std::string::npos) << imported.out;
}

TEST_F(MoveCli, CarriedFileWithoutReadableContentsLeavesTheFileThere) {
  Must(On("b", "PB", {"passphrase", "init"}));
  qtest::WriteFile(dir_ / "b/Sounds/bell.wav", "kept\n");
  qtest::WriteFile(dir_ / "b/Sounds/ring.wav", "kept too\n");
  auto entry = [](int n, const std::string& path, const std::string& contents) {
    return "<key name=\"File " + std::to_string(n) + "\"><string name=\"Path\">" + path +
           "</string>" + contents + "</key>";
  };
  std::string file = dir_ / "damaged.xml";
  qtest::WriteFile(file, SettingsFile(
      "<key name=\"Files\">" + entry(0, "${TLV_CONFIG_PATH}/Sounds/bell.wav", "") +
      entry(1, "${TLV_CONFIG_PATH}/Sounds/ring.wav", "<string name=\"Contents\">x</string>") +
      entry(2, "${TLV_CONFIG_PATH}/Sounds/empty.wav", "<binary name=\"Contents\"></binary>") +
      "</key>\n"));
  RunResult imported = On("b", "PB", {"--json", "--no-prompt", "import", file, "--skip-secrets"});
  EXPECT_EQ(qtest::ReadFile(dir_ / "b/Sounds/bell.wav"), "kept\n") << imported.out;
  EXPECT_EQ(qtest::ReadFile(dir_ / "b/Sounds/ring.wav"), "kept too\n") << imported.out;
  // Contents that are there and empty are an empty file.
  ASSERT_TRUE(qtest::Exists(dir_ / "b/Sounds/empty.wav")) << imported.out;
  EXPECT_EQ(qtest::ReadFile(dir_ / "b/Sounds/empty.wav"), "");
  EXPECT_NE(qtest::ReadFile(dir_ / "damaged.log").find("bell.wav"), std::string::npos);
}

}  // namespace
