// The remote end of a connection as protocols keep it: the firewall name with its default from
// the older flag and its resolution, the user name placeholder, and the pre-connect command
// carried from its plain older form into an encrypted one.
#include <gtest/gtest.h>

#include "config/session/remote_host_config.h"
#include "platform/app_info.h"
#include "session_test_env.h"

namespace {

class RemoteHost : public SessionFolderTest {
 protected:
  RemoteHostConfig LoadFrom(const std::string& lines) {
    folder_.WriteLines("s", lines);
    RemoteHostConfig config;
    folder_.WithKey(u"s", [&](VProfileKey& key) { config.Load(&key, 3); });
    return config;
  }
};

TEST_F(RemoteHost, TheFirewallNameDefaultsFromTheOlderFlagAndNamesASessionByItsPrefix) {
  EXPECT_EQ(LoadFrom("D:\"Use Firewall\"=00000001\r\n").GetFirewallName(), u"DefaultTerminalFirewall");
  EXPECT_EQ(LoadFrom("D:\"Use Firewall\"=00000000\r\n").GetFirewallName(), u"None");
  EXPECT_EQ(LoadFrom("").GetFirewallName(), u"None");
  // The stored name wins over the older flag.
  EXPECT_EQ(LoadFrom("D:\"Use Firewall\"=00000001\r\nS:\"Firewall Name\"=web\r\n").GetFirewallName(), u"web");

  RemoteHostConfig jump = LoadFrom("S:\"Firewall Name\"=session:Lab\\jump\r\nS:\"Hostname\"=db1\r\n");
  VUnicodeString path;
  ASSERT_TRUE(jump.GetFirewallSession(path));
  EXPECT_EQ(path, u"Lab\\jump");
  EXPECT_EQ(jump.GetFirewall(), nullptr);  // a session, not a firewall
  EXPECT_EQ(jump.GetHostname(), u"db1");

  RemoteHostConfig bare = LoadFrom("S:\"Firewall Name\"=Session:\r\n");
  EXPECT_FALSE(bare.GetFirewallSession(path));  // the prefix alone is a firewall's name
  EXPECT_EQ(bare.GetFirewall(), nullptr);         // and there is no such firewall

  // A stored firewall is opened from the item database; the per-connection name overrides it.
  folder_.WriteLines("Firewalls/web", "S:\"Firewall Type\"=http\r\nS:\"Firewall Address\"=proxy\r\n");
  RemoteHostConfig viaWeb = LoadFrom("S:\"Firewall Name\"=web\r\n");
  ASSERT_NE(viaWeb.GetFirewall(), nullptr);
  EXPECT_EQ(viaWeb.GetFirewall()->GetItemName(), u"web");
  viaWeb.SetConnectionFirewallName(u"Session:Lab\\jump");
  EXPECT_EQ(viaWeb.GetFirewall(), nullptr);
  EXPECT_EQ(viaWeb.GetEffectiveFirewallName(), u"Session:Lab\\jump");
  EXPECT_EQ(viaWeb.GetFirewallName(), u"web");  // the stored one is unchanged
}

TEST_F(RemoteHost, TheUserNamePlaceholderIsExpandedOnlyWhenAsked) {
  RemoteHostConfig config = LoadFrom("S:\"Username\"=%username%\r\n");
  EXPECT_EQ(config.GetUsername(false), u"%username%");
  EXPECT_EQ(config.GetUsername(true).ToUtf8(), vapp::UserName());
  EXPECT_EQ(LoadFrom("S:\"Username\"=%USERNAME%x\r\n").GetUsername(true), u"%USERNAME%x");
}

TEST_F(RemoteHost, ThePlainPreConnectCommandIsCarriedOnceAndBlanked) {
  SetConfigPassphrase(u"pw");
  RemoteHostConfig config = LoadFrom("S:\"Local Shell Command Pre-connect\"=ssh-add -l\r\n");
  EXPECT_EQ(config.GetPreConnectCommand(), u"ssh-add -l");
  folder_.WithKey(u"s", [&](VProfileKey& key) { EXPECT_TRUE(config.Save(key, false)); });
  std::string lines = folder_.Lines("s");
  EXPECT_NE(lines.find("S:\"Local Shell Command Pre-connect\"=\r\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("S:\"Local Shell Command Pre-connect V2\"=02:"), std::string::npos) << lines;
  EXPECT_EQ(lines.find("ssh-add"), std::string::npos) << lines;

  // Loaded again, the encrypted form is read and nothing is carried twice.
  RemoteHostConfig again;
  folder_.WithKey(u"s", [&](VProfileKey& key) { again.Load(&key, 3); }, true);
  EXPECT_EQ(again.GetPreConnectCommand(), u"ssh-add -l");

  // A copy holds the same values.
  RemoteHostConfig copy(again);
  EXPECT_EQ(copy.GetPreConnectCommand(), u"ssh-add -l");
  EXPECT_EQ(copy.GetFirewallName(), u"None");
}

}  // namespace
