// The protocol modules through the host: quillane protocols, sessions of every protocol created,
// set in one go, read back byte for byte and by a second process, their secrets re-encrypted,
// and their values kept by a host that has no module for them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using qtest::Quillane;
using qtest::RunResult;
using qtest::TempDir;

struct Listed {
  std::string kind;
  std::string value;
};

// The lines "KIND<TAB>NAME<TAB>VALUE<TAB>stored|default" of session show, by name.
std::map<std::string, Listed> ParseListing(const std::string& out) {
  std::map<std::string, Listed> listed;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    if (fields.size() >= 4) listed[fields[1]] = {fields[0], fields[2]};
  }
  return listed;
}

class ProtocolCommands : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args, const std::string& app = "Karvell",
              const std::string& program = QUILLANE_CLI_PATH) {
    args.insert(args.begin(), {"--config", dir / "cfg", "--app", app, "--passphrase-env", "P"});
    std::map<std::string, std::string> env = qtest::HostEnv(dir);
    env["P"] = passphrase;
    env["N"] = "renewed";
    return qtest::Run(program, args, env);
  }
  std::string SessionFile(const std::string& path) {
    return qtest::ReadFile(dir / ("cfg/Sessions/" + path + ".ini"));
  }
  std::string HostFolder() const { return fs::path(QUILLANE_CLI_PATH).parent_path().string(); }

  TempDir dir;
  std::string passphrase = "pass";
};

TEST_F(ProtocolCommands, ProtocolsTellsWhatEachRowOfTheProductGave) {
  RunResult text = Q({"protocols"});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::string folder = HostFolder();
  EXPECT_EQ(text.out,
            "3\tSSH2\tloaded\t" + folder + "/SSH2.so\n"
            "3\tSSH1\tskipped\t" + folder + "/SSH2.so\tSSH1.enable is not beside the SSH2 module\n"
            "3\tTelnet\tloaded\t" + folder + "/Telnet.so\n"
            "3\tTelnet/SSL\tloaded\t" + folder + "/TelnetSSL.so\n"
            "3\tRLogin\tloaded\t" + folder + "/RLogin.so\n"
            "3\tSerial\tloaded\t" + folder + "/Serial.so\n"
            "3\tTAPI\tskipped\t" + folder + "/TAPI.so\tno telephony service on this system\n"
            "3\tMarks\tmissing\t" + folder + "/Marks.so\tThe protocol module is not installed.\n"
            "3\tRaw\tloaded\t" + folder + "/Raw.so\n");
  RunResult json = Q({"--json", "protocols"}, "Lumbrel");
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.out.find("[{\"product_id\": 6, \"name\": \"SFTP\", \"display\": \"SFTP\", \"module\": \"" +
                          folder + "/SFTP.so\", \"state\": \"loaded\", \"error\": null}"),
            0u)
      << json.out;
  EXPECT_NE(json.out.find("{\"product_id\": 6, \"name\": \"FTP/SSL (explicit)\", \"display\": "
                          "\"FTP/TLS (explicit)\", \"module\": \"" + folder + "/FTPSSL.so\", "
                          "\"state\": \"loaded\", \"error\": null}"),
            std::string::npos)
      << json.out;

  // FIPS mode set by an administrator in the global key rules out SSH1 and the TLS protocol.
  qtest::WriteFile(dir / "cfg/Global.ini", "D:\"Enable FIPS Mode\"=00000001\r\n");
  RunResult fips = Q({"protocols"});
  EXPECT_NE(fips.out.find("3\tTelnet/SSL\tskipped\t" + folder +
                          "/TelnetSSL.so\tTLS protocols are not allowed in FIPS mode\n"),
            std::string::npos)
      << fips.out;
  EXPECT_NE(fips.out.find("3\tSSH1\tskipped\t" + folder + "/SSH2.so\tSSH1 is not allowed in FIPS mode\n"),
            std::string::npos);
}

// One protocol of the table, the product it is used with and a setting that names the
// connection.
struct ProtocolCase {
  const char* app;
  const char* part;  // "Protocol Name" or "Transfer Protocol Name"
  const char* protocol;
};

TEST_F(ProtocolCommands, EveryProtocolsSettingsRoundTripThroughTheHost) {
  ASSERT_EQ(Q({"passphrase", "init"}).status, 0);
  ASSERT_EQ(Q({"session", "create", "plain"}).status, 0);
  ASSERT_EQ(Q({"session", "set", "plain", "Protocol Name", "None"}).status, 0);
  std::map<std::string, Listed> own = ParseListing(Q({"session", "show", "plain"}).out);
  std::map<std::string, Listed> ownLmb = ParseListing(Q({"session", "show", "plain"}, "Lumbrel").out);
  ASSERT_GT(own.size(), 100u);

  const ProtocolCase cases[] = {
      {"Karvell", "Protocol Name", "SSH2"},       {"Karvell", "Protocol Name", "Telnet"},
      {"Karvell", "Protocol Name", "Telnet/SSL"}, {"Karvell", "Protocol Name", "RLogin"},
      {"Karvell", "Protocol Name", "Serial"},     {"Karvell", "Protocol Name", "Raw"},
      {"Lumbrel", "Transfer Protocol Name", "SFTP"},
      {"Lumbrel", "Transfer Protocol Name", "FTP"},
      {"Lumbrel", "Transfer Protocol Name", "FTP/SSL (implicit)"},
      {"Lumbrel", "Transfer Protocol Name", "FTP/SSL (explicit)"},
      {"Lumbrel", "Transfer Protocol Name", "SCP"},
  };
  int index = 0;
  for (const ProtocolCase& c : cases) {
    SCOPED_TRACE(c.protocol);
    const std::string path = "p" + std::to_string(index++);
    ASSERT_EQ(Q({"session", "create", path}, c.app).status, 0);
    RunResult chosen = Q({"session", "set", path, c.part, c.protocol}, c.app);
    ASSERT_EQ(chosen.status, 0) << chosen.err;
    std::map<std::string, Listed> listed = ParseListing(Q({"session", "show", path}, c.app).out);
    const std::map<std::string, Listed>& base = std::string(c.app) == "Lumbrel" ? ownLmb : own;

    // Every setting of the protocol's part gets a value other than its default, in one call.
    std::vector<std::string> set = {"session", "set", path};
    std::map<std::string, std::string> expected;  // name -> value as listed
    std::map<std::string, std::string> secrets;
    int n = 0;
    for (const auto& [name, info] : listed) {
      if (base.count(name)) continue;
      ++n;
      std::string value;
      if (info.kind == "bool") value = info.value == "1" ? "0" : "1";
      else if (info.kind == "int") value = name.find("Port") != std::string::npos ? "2022" : std::to_string(7 + n);
      else if (info.kind == "path") value = dir / ("home/keys/file" + std::to_string(n));
      else if (info.kind == "encrypted") value = "secret " + std::to_string(n);
      else if (name.find("Authentication Methods") != std::string::npos) value = "password,publickey";
      else if (name.find("Host Key Algorithms") != std::string::npos) value = "ssh-ed25519,rsa-sha2-512";
      else value = "text " + std::to_string(n) + " of " + c.protocol;
      set.push_back(name);
      set.push_back(value);
      (info.kind == "encrypted" ? secrets : expected)[name] = value;
    }
    ASSERT_GE(n, 2);
    RunResult changed = Q(set, c.app);
    ASSERT_EQ(changed.status, 0) << changed.err;
    const std::string bytes = SessionFile(path);
    EXPECT_NE(bytes.find(std::string("S:\"") + c.part + "\"=" + c.protocol + "\r\n"), std::string::npos);

    // A second process reads every value back, the secrets decrypted.
    std::map<std::string, Listed> again = ParseListing(Q({"session", "show", path}, c.app).out);
    for (const auto& [name, value] : expected) {
      EXPECT_EQ(again[name].value, value) << name;
      if (again[name].kind == "int") {
        EXPECT_NE(bytes.find("D:\"" + name + "\"="), std::string::npos) << name;
      } else if (again[name].kind == "string") {
        EXPECT_NE(bytes.find("S:\"" + name + "\"=" + value + "\r\n"), std::string::npos) << name;
      }
    }
    for (const auto& [name, value] : secrets) {
      RunResult secret = Q({"session", "show", path, name, "--secrets"}, c.app);
      EXPECT_NE(secret.out.find("\t" + value + "\n"), std::string::npos) << name << ": " << secret.out;
      EXPECT_NE(bytes.find("S:\"" + name + "\"=02:"), std::string::npos) << name;
      EXPECT_EQ(bytes.find(value), std::string::npos) << name;  // never in clear
    }
    // A process that loads and saves the session again writes the same bytes.
    const char* anchor = std::string(c.protocol) == "Serial" ? "[Serial] Device" : "Hostname";
    ASSERT_EQ(Q({"session", "set", path, anchor, expected[anchor]}, c.app).status, 0);
    EXPECT_EQ(SessionFile(path), bytes);
  }

  // A passphrase change re-encrypts the protocols' secrets with the rest.
  const std::string before = SessionFile("p0");
  RunResult change = Q({"passphrase", "change", "--new-env", "N"});
  ASSERT_EQ(change.status, 0) << change.err;
  EXPECT_NE(SessionFile("p0"), before);
  passphrase = "renewed";
  RunResult renewed = Q({"session", "show", "p0", "Password V2", "--secrets"});
  EXPECT_NE(renewed.out.find("\tsecret "), std::string::npos) << renewed.out;
}

TEST_F(ProtocolCommands, SeveralPairsOneSaveAndProtocolsThatCannotBeChosen) {
  ASSERT_EQ(Q({"session", "create", "db1"}).status, 0);
  RunResult set = Q({"session", "set", "db1", "Protocol Name", "Telnet", "Hostname", "db1.example.com",
                     "[Telnet] Port", "2323", "Rows", "40"});
  ASSERT_EQ(set.status, 0) << set.err;
  std::string bytes = SessionFile("db1");
  EXPECT_NE(bytes.find("S:\"Protocol Name\"=Telnet\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("S:\"Hostname\"=db1.example.com\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("D:\"[Telnet] Port\"=00000913\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("D:\"Rows\"=00000028\r\n"), std::string::npos);

  // The identity file is a path setting: stored (and listed, as a save writes it) with the path
  // variable of its folder.
  const std::string key = dir / "xdg/Tolvane/Karvell/SSH/id_ed25519";
  ASSERT_EQ(Q({"session", "set", "db1", "Protocol Name", "SSH2", "Identity Filename V2", key}).status, 0);
  bytes = SessionFile("db1");
  EXPECT_NE(bytes.find("S:\"Identity Filename V2\"=${TLV_SSH_DATA_PATH}/id_ed25519\r\n"),
            std::string::npos)
      << bytes;
  EXPECT_EQ(Q({"session", "show", "db1", "Identity Filename V2"}).out,
            "path\tIdentity Filename V2\t${TLV_SSH_DATA_PATH}/id_ed25519\tstored\n");
  // The Telnet values stay in the key for when Telnet is chosen again.
  EXPECT_NE(bytes.find("D:\"[Telnet] Port\"=00000913\r\n"), std::string::npos);

  // A bad pair anywhere changes nothing; an odd count is a usage error; the options of a
  // protocol the session does not use are not its settings.
  EXPECT_EQ(Q({"session", "set", "db1", "Hostname", "other", "[SSH2] Port", "70000"}).status, 3);
  EXPECT_EQ(Q({"session", "set", "db1", "Hostname", "other", "No Such Setting", "1"}).status, 1);
  EXPECT_EQ(Q({"session", "set", "db1", "Hostname", "other", "Rows"}).status, 2);
  EXPECT_EQ(Q({"session", "set", "db1", "[Telnet] Port", "24"}).status, 1);
  // A protocol chosen with a setting refused changes nothing either.
  EXPECT_EQ(Q({"session", "set", "db1", "Protocol Name", "Telnet", "[Telnet] Port", "0"}).status, 3);
  EXPECT_EQ(Q({"session", "set", "db1", "Protocol Name", "Raw", "[SSH2] Port", "22"}).status, 1);
  EXPECT_EQ(SessionFile("db1"), bytes);

  // A protocol of the table whose module is not loaded, and one that is no protocol at all.
  RunResult ssh1 = Q({"--json", "session", "set", "db1", "Protocol Name", "SSH1"});
  EXPECT_EQ(ssh1.status, 3);
  EXPECT_NE(ssh1.out.find("0xE1370003"), std::string::npos) << ssh1.out;
  EXPECT_NE(ssh1.err.find("SSH2.so' is not installed, so the SSH1 protocol is not available"),
            std::string::npos)
      << ssh1.err;
  EXPECT_EQ(Q({"session", "set", "db1", "Protocol Name", "Gopher"}).status, 3);
  EXPECT_EQ(SessionFile("db1"), bytes);

  // A list of methods takes only the methods it knows, each once.
  ASSERT_EQ(Q({"session", "create", "db2"}).status, 0);
  const std::string before = SessionFile("db2");
  for (const char* methods : {"password,rot13", "password,password", ""}) {
    RunResult refused = Q({"session", "set", "db2", "[SSH2] Authentication Methods", methods});
    EXPECT_EQ(refused.status, 3) << methods;
    EXPECT_NE(refused.err.find("takes a comma-separated list of publickey, keyboard-interactive, "
                               "password, gssapi-with-mic"),
              std::string::npos)
        << refused.err;
  }
  EXPECT_EQ(SessionFile("db2"), before);
  ASSERT_EQ(Q({"session", "set", "db2", "[SSH2] Authentication Methods", "keyboard-interactive, password"}).status, 0);
  EXPECT_NE(SessionFile("db2").find("S:\"[SSH2] Authentication Methods\"=keyboard-interactive, password\r\n"),
            std::string::npos);
}

TEST_F(ProtocolCommands, AHostWithoutTheModuleKeepsTheProtocolAndItsValues) {
  ASSERT_EQ(Q({"passphrase", "init"}).status, 0);
  ASSERT_EQ(Q({"session", "create", "r"}).status, 0);
  ASSERT_EQ(Q({"session", "set", "r", "Protocol Name", "SSH2", "Hostname", "r.example.com",
               "[SSH2] Port", "2200", "Password V2", "pw", "[SSH2] Compression", "1"})
                .status,
            0);
  // The same host program in a folder without modules.
  fs::create_directories(dir / "bare");
  const std::string bare = dir / "bare/quillane";
  fs::copy_file(QUILLANE_CLI_PATH, bare);
  RunResult shown = Q({"session", "show", "r", "Protocol Name"}, "Karvell", bare);
  EXPECT_EQ(shown.out, "string\tProtocol Name\tSSH2\tstored\n");
  RunResult changed = Q({"session", "set", "r", "Rows", "30"}, "Karvell", bare);
  ASSERT_EQ(changed.status, 0) << changed.err;
  std::string bytes = SessionFile("r");
  EXPECT_NE(bytes.find("S:\"Protocol Name\"=SSH2\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("S:\"Hostname\"=r.example.com\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("D:\"[SSH2] Port\"=00000898\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("D:\"[SSH2] Compression\"=00000001\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("S:\"Password V2\"=02:"), std::string::npos);
  // With the modules again, every value is the protocol's.
  RunResult back = Q({"session", "show", "r", "[SSH2] Port", "Password V2", "--secrets"});
  EXPECT_EQ(back.out.find("int\t[SSH2] Port\t2200\tstored"), 0u) << back.out;
  EXPECT_NE(back.out.find("\tpw\n"), std::string::npos) << back.out;
}

}  // namespace
