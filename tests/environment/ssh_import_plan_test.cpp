// What an import of an OpenSSH client configuration plans: one SSH2 session per concrete host
// with its settings, and every host or block left out with the reason.
#include <gtest/gtest.h>

#include <map>

#include "environment/ssh_client_config.h"
#include "environment/ssh_import.h"

namespace {

using sshimport::Plan;

const sshimport::LocalContext kLocal{"/home/ada", "ada", "desk.example.org"};

Plan PlanOf(const std::string& text, const VUnicodeString& folder = u"Imported") {
  return sshimport::MakePlan(sshcfg::ParseText(text, "config", nullptr), folder, kLocal);
}

std::map<std::string, std::string> SettingsOf(const Plan& plan, const std::string& host) {
  std::map<std::string, std::string> out;
  for (const auto& session : plan.sessions) {
    if (session.host != host) continue;
    for (const auto& setting : session.settings) out[setting.name.ToUtf8()] = setting.value;
  }
  return out;
}

std::string ReasonFor(const Plan& plan, const std::string& host) {
  std::string out;
  for (const auto& skipped : plan.skipped) {
    if (skipped.host == host) out += (out.empty() ? "" : " | ") + skipped.reason;
  }
  return out;
}

TEST(SshImportPlan, OneSessionPerConcreteHostWithItsSettings) {
  Plan plan = PlanOf(
      "Host bastion\n"
      "  HostName bastion.example.com\n"
      "  User ops\n"
      "Host web1 web2 *.lan !web3\n"
      "  HostName %h.example.com\n"
      "  Port 2222\n"
      "  IdentityFile ~/.ssh/id_%u_%h\n"
      "  ProxyJump bastion\n"
      "Host plain\n"
      "Host *\n"
      "  User default-user\n"
      "  IdentityFile %d/.ssh/id_default\n");
  ASSERT_EQ(plan.sessions.size(), 4u);
  EXPECT_EQ(plan.sessions[0].path, u"Imported\\bastion");
  EXPECT_EQ(plan.sessions[0].settings[0].name, u"Protocol Name");
  EXPECT_EQ(plan.sessions[0].settings[0].value, "SSH2");
  EXPECT_EQ(SettingsOf(plan, "bastion"),
            (std::map<std::string, std::string>{{"Protocol Name", "SSH2"},
                                                {"Hostname", "bastion.example.com"},
                                                {"[SSH2] Port", "22"},
                                                {"Username", "ops"},
                                                {"Identity Filename V2", "/home/ada/.ssh/id_default"}}));
  EXPECT_EQ(SettingsOf(plan, "web2"),
            (std::map<std::string, std::string>{{"Protocol Name", "SSH2"},
                                                {"Hostname", "web2.example.com"},
                                                {"[SSH2] Port", "2222"},
                                                {"Username", "default-user"},
                                                {"Identity Filename V2", "/home/ada/.ssh/id_ada_web2.example.com"},
                                                {"Firewall Name", "Session:Imported\\bastion"}}));
  EXPECT_EQ(SettingsOf(plan, "plain")["Hostname"], "plain");
  EXPECT_EQ(ReasonFor(plan, "*.lan"), "a wildcard pattern matches many hosts, not one");
  EXPECT_EQ(ReasonFor(plan, "!web3"), "a negated pattern names no host");
  EXPECT_EQ(ReasonFor(plan, "*"), "a wildcard pattern matches many hosts, not one");
  EXPECT_EQ(plan.skipped.size(), 3u);

  // At the top of Sessions without a folder.
  EXPECT_EQ(PlanOf("Host solo\n", u"").sessions[0].path, u"solo");
  EXPECT_EQ(PlanOf("Host solo\n", u"A/B").sessions[0].path, u"A\\B\\solo");
  Plan top = PlanOf("Host default\n", u"");
  EXPECT_TRUE(top.sessions.empty());
  EXPECT_EQ(ReasonFor(top, "default"), "Default is the template of new sessions, not a host");
  EXPECT_EQ(PlanOf("Host default\n").sessions[0].path, u"Imported\\default");
}

TEST(SshImportPlan, ProxyJumpOnlyThroughAnImportedHostOfTheSameUserAndPort) {
  Plan plan = PlanOf(
      "Host j\n  User jo\n  Port 2200\n"
      "Host ok1\n  ProxyJump j\n"
      "Host ok2\n  ProxyJump jo@j:2200\n"
      "Host ok3\n  ProxyJump ssh://J\n"
      "Host far\n  ProxyJump elsewhere.example.com\n"
      "Host wronguser\n  ProxyJump root@j\n"
      "Host wrongport\n  ProxyJump j:22\n"
      "Host hops\n  ProxyJump j,ok1\n"
      "Host self\n  ProxyJump self\n"
      "Host none\n  ProxyJump none\n"
      "Host cmd\n  ProxyCommand ssh -W %h:%p j\n");
  ASSERT_EQ(plan.sessions.size(), 11u);
  for (const char* host : {"ok1", "ok2", "ok3"})
    EXPECT_EQ(SettingsOf(plan, host)["Firewall Name"], "Session:Imported\\j") << host;
  for (const char* host : {"far", "wronguser", "wrongport", "hops", "self", "none", "cmd"})
    EXPECT_EQ(SettingsOf(plan, host).count("Firewall Name"), 0u) << host;
  EXPECT_EQ(ReasonFor(plan, "far"),
            "ProxyJump elsewhere.example.com left out: the jump host is not imported as a session");
  EXPECT_EQ(ReasonFor(plan, "wronguser"),
            "ProxyJump root@j left out: its user or port differs from the session Imported\\j");
  EXPECT_EQ(ReasonFor(plan, "wrongport"),
            "ProxyJump j:22 left out: its user or port differs from the session Imported\\j");
  EXPECT_EQ(ReasonFor(plan, "hops"), "ProxyJump j,ok1 left out: a session goes through one jump host only");
  EXPECT_EQ(ReasonFor(plan, "self"), "ProxyJump self left out: the host would go through itself");
  EXPECT_EQ(ReasonFor(plan, "none"), "");
  EXPECT_EQ(ReasonFor(plan, "cmd"), "ProxyCommand left out (not supported): the session connects directly");
}

TEST(SshImportPlan, HostsThatCannotBeImportedAreSkippedWithTheReason) {
  Plan plan = PlanOf(
      "Host badport\n  Port 70000\n"
      "Host wordport\n  Port ssh\n"
      "Host badname\n  HostName %r.lan\n"
      "Host Dup\n"
      "Host dup\n"
      "Host a/b\n"
      "Host relkey\n  IdentityFile keys/id\n  User %u-x\n"
      "Host nokey\n  IdentityFile none\n"
      "Match host m\n"
      "Host m\n"  // a Host line ends the Match block
      "Host jump\n  Include x\n");
  EXPECT_EQ(ReasonFor(plan, "badport"), "Port 70000 is not a port number from 1 to 65535");
  EXPECT_EQ(ReasonFor(plan, "wordport"), "Port ssh is not a port number from 1 to 65535");
  EXPECT_EQ(ReasonFor(plan, "badname"), "HostName %r.lan: the token %r cannot be used here");
  EXPECT_EQ(ReasonFor(plan, "dup"), "the host was named before (config line 7)");
  EXPECT_EQ(ReasonFor(plan, "a/b"), "a session name cannot hold \"/\" or \"\\\"");
  EXPECT_EQ(ReasonFor(plan, "relkey"), "IdentityFile keys/id left out: not a full path");
  EXPECT_EQ(SettingsOf(plan, "relkey")["Username"], "ada-x");
  EXPECT_EQ(SettingsOf(plan, "nokey").count("Identity Filename V2"), 0u);
  EXPECT_EQ(ReasonFor(plan, "Match host m"),
            "Match blocks are decided when connecting; their settings are not imported (config line 15)");
  std::vector<std::string> hosts;
  for (const auto& session : plan.sessions) hosts.push_back(session.host);
  EXPECT_EQ(hosts, (std::vector<std::string>{"Dup", "relkey", "nokey", "m", "jump"}));
}

TEST(SshImportPlan, HostsNamedUnderMatchOrAnIncludeThatCannotReachThemAreSkipped) {
  sshcfg::Config config;
  config.hostLines.push_back({{"under"}, {}, true, "f", 3});
  config.hostLines.push_back({{"nested"}, {{"outer"}}, false, "f", 4});
  config.hostLines.push_back({{"reached"}, {{"reach*"}}, false, "f", 5});
  Plan plan = sshimport::MakePlan(config, u"", kLocal);
  EXPECT_EQ(ReasonFor(plan, "under"), "named under a Match block, decided only when connecting");
  EXPECT_EQ(ReasonFor(plan, "nested"), "included under a Host line that does not match it");
  ASSERT_EQ(plan.sessions.size(), 1u);
  EXPECT_EQ(plan.sessions[0].host, "reached");
}

// A store that answers from a table, to see how outcomes become the result.
class TableTarget : public sshimport::SessionTarget {
 public:
  std::map<std::string, sshimport::Outcome> outcomes;
  std::vector<bool> dryRuns;
  sshimport::Outcome Apply(const sshimport::PlannedSession& session, bool dryRun,
                           std::string& reason) override {
    dryRuns.push_back(dryRun);
    reason = "refused by the store";
    return outcomes.at(session.host);
  }
};

TEST(SshImportPlan, ApplyListsCreatedUpdatedAndFailedButNotUnchanged) {
  Plan plan = PlanOf("Host new old same broken *\n");
  TableTarget target;
  target.outcomes = {{"new", sshimport::Outcome::kCreated},
                     {"old", sshimport::Outcome::kUpdated},
                     {"same", sshimport::Outcome::kUnchanged},
                     {"broken", sshimport::Outcome::kFailed}};
  sshimport::Result result = sshimport::Apply(plan, target, true);
  EXPECT_EQ(result.created, std::vector<VUnicodeString>{u"Imported\\new"});
  EXPECT_EQ(result.updated, std::vector<VUnicodeString>{u"Imported\\old"});
  ASSERT_EQ(result.skipped.size(), 2u);
  EXPECT_EQ(result.skipped[0].host, "*");
  EXPECT_EQ(result.skipped[1].host, "broken");
  EXPECT_EQ(result.skipped[1].reason, "refused by the store");
  EXPECT_EQ(target.dryRuns, std::vector<bool>(4, true));
}

}  // namespace
