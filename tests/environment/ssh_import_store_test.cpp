// Importing planned SSH2 sessions into a real configuration folder, with a stand-in for the SSH2
// protocol module that keeps the settings an import sets: made, changed, left unwritten when
// already up to date, and never left half made.
#include <gtest/gtest.h>

#include "config/session_test_env.h"
#include "environment/ssh_client_config.h"
#include "environment/ssh_import.h"
#include "environment/ssh_import_store.h"

namespace {

// The settings of the SSH2 part that an import sets, under their stored names.
class Ssh2Stand : public ConnectConfig {
 public:
  explicit Ssh2Stand(const VUnicodeString& protocol) : protocol_(protocol) {}
  VUnicodeString GetProtocolName() const override { return protocol_; }
  ConnectConfig* Clone() const override { return new Ssh2Stand(*this); }
  bool IsUsable() const override { return !hostname.Current().empty(); }
  const VMemberTable& GetMemberTable() const override {
    static const VMemberRow kRows[] = {
        QL_ROW(Ssh2Stand, hostname, u"Hostname"),
        QL_ROW(Ssh2Stand, firewall, u"Firewall Name", u"None"),
        QL_ROW(Ssh2Stand, username, u"Username"),
        QL_ROW(Ssh2Stand, port, u"[SSH2] Port", 22),
        QL_ROW(Ssh2Stand, identity, u"Identity Filename V2"),
    };
    static const VMemberTable table(kRows);
    return table;
  }
  VProfileString hostname;
  VProfileString firewall;
  VProfileString username;
  VProfile<int> port;
  VProfileString identity;

 private:
  Ssh2Stand(const Ssh2Stand&) = default;
  VUnicodeString protocol_;
};

class SshImportStore : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    ConnectProtocolEntry entry;
    entry.protocolName = u"SSH2";
    entry.productId = 3;
    entry.factory = [](const ConnectProtocolEntry& e) -> ConnectConfig* { return new Ssh2Stand(e.protocolName); };
    ASSERT_GE(GetConnectProtocolTable().Register(entry), 0);
  }
  sshimport::Result Import(const std::string& text, bool dryRun = false) {
    sshcfg::Config config = sshcfg::ParseText(text, "config", nullptr);
    sshimport::Plan plan = sshimport::MakePlan(config, u"Imported", {"/home/ada", "ada", "desk"});
    sshimport::StoreTarget target;
    return sshimport::Apply(plan, target, dryRun);
  }
  // Every session file's bytes.
  std::map<std::string, std::string> Files() {
    std::map<std::string, std::string> out;
    for (const char* name : {"Imported/jump", "Imported/web", "Imported/new", "Default"})
      out[name] = Session(name);
    return out;
  }
};

const char kConfig[] =
    "Host jump\n  HostName jump.example.com\n  User ops\n"
    "Host web\n  HostName 'web.example.com'\n  Port 2222\n  ProxyJump jump\n"
    "  IdentityFile ~/.ssh/id_web\n";

TEST_F(SshImportStore, MakesSessionsThenWritesNothingWhenNothingChanged) {
  sshimport::Result first = Import(kConfig);
  EXPECT_EQ(first.created, (std::vector<VUnicodeString>{u"Imported\\jump", u"Imported\\web"}));
  EXPECT_TRUE(first.updated.empty());
  for (const auto& skipped : first.skipped) ADD_FAILURE() << skipped.host << ": " << skipped.reason;
  std::string web = Session("Imported/web");
  for (const char* line : {"S:\"Protocol Name\"=SSH2\r\n", "S:\"Hostname\"=web.example.com\r\n",
                           "D:\"[SSH2] Port\"=000008ae\r\n",
                           "S:\"Firewall Name\"=Session:Imported\\jump\r\n",
                           "S:\"Identity Filename V2\"=/home/ada/.ssh/id_web\r\n"}) {
    EXPECT_NE(web.find(line), std::string::npos) << line << "\n" << web;
  }
  EXPECT_NE(Session("Imported/jump").find("S:\"Username\"=ops\r\n"), std::string::npos);

  std::map<std::string, std::string> before = Files();
  std::string stamp = SessionFile("Imported/web");
  struct stat st1 {};
  ASSERT_EQ(::stat(stamp.c_str(), &st1), 0);
  sshimport::Result second = Import(kConfig);
  EXPECT_TRUE(second.created.empty());
  EXPECT_TRUE(second.updated.empty());
  EXPECT_EQ(Files(), before);
  struct stat st2 {};
  ASSERT_EQ(::stat(stamp.c_str(), &st2), 0);
  EXPECT_EQ(st1.st_ino, st2.st_ino);  // not even rewritten with the same bytes
}

TEST_F(SshImportStore, ChangesOnlyWhatDiffersAndADryRunWritesNothing) {
  Import(kConfig);
  // A session set by hand keeps what the configuration does not name.
  {
    VReportMessageParams error;
    ASSERT_TRUE(UpdateSessionAtPath(
        u"Imported\\web",
        [](SessionConfig& session, VReportMessageParams& problem) {
          VProfileComposite::SettingRow row;
          ConnectConfig* part = session.GetTerminalConnectConfig();
          return part && part->FindSettingRow(u"Username", row) &&
                 VProfileComposite::SetSetting(row, u"by-hand", problem);
        },
        error));
  }
  std::string changed = std::string(kConfig) + "Host new\n";
  std::map<std::string, std::string> before = Files();
  std::string portChanged = changed;
  portChanged.replace(portChanged.find("2222"), 4, "2200");
  sshimport::Result dry = Import(portChanged, true);
  EXPECT_EQ(dry.created, std::vector<VUnicodeString>{u"Imported\\new"});
  EXPECT_EQ(dry.updated, std::vector<VUnicodeString>{u"Imported\\web"});
  EXPECT_EQ(Files(), before);
  EXPECT_FALSE(SessionKeyExists(u"Imported\\new"));

  sshimport::Result real = Import(portChanged);
  EXPECT_EQ(real.created, std::vector<VUnicodeString>{u"Imported\\new"});
  EXPECT_EQ(real.updated, std::vector<VUnicodeString>{u"Imported\\web"});
  std::string web = Session("Imported/web");
  EXPECT_NE(web.find("D:\"[SSH2] Port\"=00000898\r\n"), std::string::npos) << web;
  EXPECT_NE(web.find("S:\"Username\"=by-hand\r\n"), std::string::npos) << web;
  EXPECT_EQ(Session("Imported/jump"), before["Imported/jump"]);
}

TEST_F(SshImportStore, AnOldSessionOfAnotherProtocolIsTurnedIntoSsh2) {
  WriteSession("Imported/web", "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=None\r\n"
                               "S:\"Emulation\"=VT100\r\n");
  sshimport::Result result = Import("Host web\n  HostName w\n");
  EXPECT_EQ(result.updated, std::vector<VUnicodeString>{u"Imported\\web"});
  std::string web = Session("Imported/web");
  EXPECT_NE(web.find("S:\"Protocol Name\"=SSH2\r\n"), std::string::npos) << web;
  EXPECT_NE(web.find("S:\"Hostname\"=w\r\n"), std::string::npos) << web;
  EXPECT_NE(web.find("S:\"Emulation\"=VT100\r\n"), std::string::npos) << web;
}

TEST_F(SshImportStore, ARefusedSessionIsReportedAndLeavesNothingBehind) {
  ResetConnectProtocolTable();  // no SSH2: the protocol cannot be chosen
  sshimport::Result result = Import("Host web\n");
  EXPECT_TRUE(result.created.empty());
  ASSERT_EQ(result.skipped.size(), 1u);
  EXPECT_EQ(result.skipped[0].host, "web");
  EXPECT_FALSE(result.skipped[0].reason.empty());
  EXPECT_FALSE(SessionKeyExists(u"Imported\\web"));
  // A name sessions cannot have is refused before anything is made.
  sshimport::Result bad = Import("Host a*b\nHost 'x|y'\n");
  EXPECT_TRUE(bad.created.empty());
  ASSERT_EQ(bad.skipped.size(), 2u);
  EXPECT_EQ(bad.skipped[1].host, "x|y");
  EXPECT_NE(bad.skipped[1].reason.find("illegal character"), std::string::npos) << bad.skipped[1].reason;
  EXPECT_FALSE(SessionKeyExists(u"Imported\\x|y"));
}

}  // namespace
