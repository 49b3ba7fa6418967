// quillane session import-ssh-config over a real OpenSSH client configuration in a test home.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using qtest::RunResult;

std::string ProgramFolder() { return fs::path(QUILLANE_CLI_PATH).parent_path().string(); }
bool Ssh2ModuleInstalled() { return qtest::Exists(ProgramFolder() + "/SSH2.so"); }

class SshImport : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", dir / "cfg"});
    return qtest::Quillane(args, qtest::HostEnv(dir));
  }
  void Write(const std::string& relative, const std::string& text) {
    qtest::WriteFile(dir / ("home/" + relative), text);
    ASSERT_EQ(::chmod((dir / ("home/" + relative)).c_str(), 0600), 0);
  }
  // Every file of the configuration folder with its bytes.
  std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> files;
    if (!fs::exists(dir / "cfg")) return files;
    for (const auto& entry : fs::recursive_directory_iterator(dir / "cfg")) {
      if (entry.is_regular_file()) files[entry.path().string()] = qtest::ReadFile(entry.path().string());
    }
    return files;
  }
  void WriteConfig(const std::string& bastionPort) {
    Write(".ssh/config",
          "# work hosts\n"
          "Include conf.d/*.conf\n"
          "Host bastion\n"
          "    HostName \"bastion.example.com\"\n"
          "    User=ops\n"
          "    Port " + bastionPort + "\n"
          "Host web1 web2 *.internal !web3\n"
          "    HostName %h.example.com\n"
          "    Port = 2222\n"
          "    IdentityFile \"~/.ssh/keys/web key\"\n"
          "    ProxyJump bastion\n"
          "Match host db exec \"true\"\n"
          "    Port 1\n"
          "Host *\n"
          "    USER deploy\n");
    Write(".ssh/conf.d/10-db.conf",
          "Host db\n"
          "  HostName db.example.com\n"
          "  ProxyJump outside.example.com\n");
  }
  qtest::TempDir dir;
};

TEST_F(SshImport, AMissingOrUnreadableConfigurationIsReported) {
  RunResult missing = Q({"session", "import-ssh-config"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "quillane: The OpenSSH client configuration '" + dir / "home/.ssh/config" +
                             "' could not be read: the file cannot be found\n");
  Write("shared", "Host a\n");
  ASSERT_EQ(::chmod((dir / "home/shared").c_str(), 0666), 0);
  RunResult shared = Q({"--json", "session", "import-ssh-config", "~/shared"});
  EXPECT_EQ(shared.status, 3);
  EXPECT_NE(shared.out.find("\"id\": \"0xE13F00C0\""), std::string::npos) << shared.out;
  EXPECT_NE(shared.err.find("bad owner or permissions"), std::string::npos) << shared.err;
  EXPECT_EQ(Q({"session", "import-ssh-config", "a", "b"}).status, 2);
  RunResult help = Q({"session", "--help"});
  EXPECT_NE(help.out.find("quillane session import-ssh-config [FILE]"), std::string::npos);
}

TEST_F(SshImport, WithoutTheSsh2ModuleNothingIsMade) {
  // The same host program in a folder without modules.
  WriteConfig("22");
  fs::create_directories(dir / "bare");
  const std::string bare = dir / "bare/quillane";
  fs::copy_file(QUILLANE_CLI_PATH, bare);
  RunResult result = qtest::Run(bare, {"--config", dir / "cfg", "session", "import-ssh-config",
                                       "--folder", "Imported"},
                                qtest::HostEnv(dir));
  EXPECT_EQ(result.status, 3);
  const std::string folder = fs::path(bare).parent_path().string();
  EXPECT_NE(result.err.find("the SSH2 protocol module is not installed in '" + folder + "'"),
            std::string::npos)
      << result.err;
  EXPECT_TRUE(Snapshot().empty());
}

TEST_F(SshImport, CreatesUpdatesSkipsAndASecondRunChangesNothing) {
  ASSERT_TRUE(Ssh2ModuleInstalled()) << "SSH2.so is built beside quillane in " << ProgramFolder();
  WriteConfig("22");
  RunResult first = Q({"--json", "session", "import-ssh-config", "--folder", "Imported"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.out.find("\"created\": [\"Imported\\\\db\", \"Imported\\\\bastion\", "
                           "\"Imported\\\\web1\", \"Imported\\\\web2\"], \"updated\": []"),
            std::string::npos)
      << first.out;
  for (const char* skipped :
       {"{\"host\": \"*.internal\", \"reason\": \"a wildcard pattern matches many hosts, not one\"}",
        "{\"host\": \"!web3\", \"reason\": \"a negated pattern names no host\"}",
        "{\"host\": \"Match host db exec true\", \"reason\": \"Match blocks are decided when connecting",
        "{\"host\": \"db\", \"reason\": \"ProxyJump outside.example.com left out: the jump host is not "
        "imported as a session\"}"}) {
    EXPECT_NE(first.out.find(skipped), std::string::npos) << skipped << "\n" << first.out;
  }

  RunResult web = Q({"session", "show", "Imported/web1", "Protocol Name", "Hostname", "[SSH2] Port",
                     "Username", "Firewall Name", "Identity Filename V2"});
  ASSERT_EQ(web.status, 0) << web.err;
  for (const std::string& value :
       {std::string("\tSSH2\t"), std::string("\tweb1.example.com\t"), std::string("\t2222\t"),
        std::string("\tdeploy\t"), std::string("\tSession:Imported\\\\bastion\t"),
        "\t" + dir / "home/.ssh/keys/web key\t"}) {
    EXPECT_NE(web.out.find(value), std::string::npos) << value << "\n" << web.out;
  }
  RunResult db = Q({"session", "show", "Imported/db", "Firewall Name", "Username"});
  EXPECT_NE(db.out.find("\tNone\t"), std::string::npos) << db.out;

  // Again: nothing created, nothing updated, not a byte written.
  std::map<std::string, std::string> before = Snapshot();
  RunResult second = Q({"--json", "session", "import-ssh-config", "--folder", "Imported"});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_NE(second.out.find("\"created\": [], \"updated\": []"), std::string::npos) << second.out;
  EXPECT_EQ(Snapshot(), before);

  // A changed host is updated, alone; a dry run says so and writes nothing.
  WriteConfig("2200");
  RunResult dry = Q({"--json", "session", "import-ssh-config", "--folder", "Imported", "--dry-run"});
  ASSERT_EQ(dry.status, 0) << dry.err;
  EXPECT_NE(dry.out.find("\"created\": [], \"updated\": [\"Imported\\\\bastion\"]"), std::string::npos)
      << dry.out;
  EXPECT_EQ(Snapshot(), before);
  RunResult third = Q({"session", "import-ssh-config", "--folder", "Imported"});
  ASSERT_EQ(third.status, 0) << third.err;
  EXPECT_NE(third.out.find("updated\tImported\\\\bastion\n"), std::string::npos) << third.out;
  EXPECT_EQ(third.out.find("created\t"), std::string::npos) << third.out;
  EXPECT_NE(Q({"session", "show", "Imported/bastion", "[SSH2] Port"}).out.find("\t2200\t"),
            std::string::npos);
}

}  // namespace
