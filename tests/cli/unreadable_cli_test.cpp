// Settings that are there but cannot be read are reported, never shown as defaults or as absent.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

class UnreadableCli : public ::testing::Test {
 protected:
  // Runs the host as a user who may not read a file of mode 000: this user, or another one when
  // the tests run as root (who reads every file).
  qtest::RunResult RunAsReader(std::vector<std::string> args, bool inConfig = true) {
    if (inConfig) args.insert(args.begin(), {"--lang", "en", "--config", config});
    if (geteuid() != 0) return qtest::Quillane(args, qtest::HostEnv(dir));
    args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", QUILLANE_CLI_PATH});
    return qtest::Run("/usr/bin/setpriv", args, qtest::HostEnv(dir));
  }
  qtest::RunResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--lang", "en", "--config", config});
    return qtest::Quillane(args, qtest::HostEnv(dir));
  }
  // Makes the whole temporary tree usable by the other user, then takes reading `file` away.
  void MakeUnreadable(const std::string& file) {
    ASSERT_EQ(system(("chmod -R a+rwX '" + dir.Path() + "'").c_str()), 0);
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
  }
  void SetUp() override {
    if (geteuid() == 0 && access("/usr/bin/setpriv", X_OK) != 0)
      GTEST_SKIP() << "running as root without setpriv to become another user";
  }
  qtest::TempDir dir;
  std::string config = dir / "config";
};

TEST_F(UnreadableCli, AnUnreadableSessionIsReportedNotShownAsDefaults) {
  ASSERT_EQ(Run({"session", "create", "Lab/router1"}).status, 0);
  ASSERT_EQ(Run({"session", "set", "Lab/router1", "Scrollback", "2222"}).status, 0);
  std::string file = config + "/Sessions/Lab/router1.ini";
  std::string before = qtest::ReadFile(file);
  MakeUnreadable(file);

  auto show = RunAsReader({"session", "show", "Lab/router1"});
  EXPECT_EQ(show.status, 3);
  EXPECT_EQ(show.out, "");
  EXPECT_NE(show.err.find("The session 'Lab\\router1' could not be read"), std::string::npos) << show.err;
  EXPECT_NE(show.err.find(file), std::string::npos) << show.err;

  auto set = RunAsReader({"session", "set", "Lab/router1", "Scrollback", "23"});
  EXPECT_EQ(set.status, 3) << set.err;

  auto values = RunAsReader({"key", "values", "Sessions/Lab/router1"});
  EXPECT_EQ(values.status, 3);
  EXPECT_NE(values.err.find("could not be read"), std::string::npos) << values.err;

  auto get = RunAsReader({"key", "get", "Sessions/Lab/router1", "Scrollback"});
  EXPECT_EQ(get.status, 3);
  EXPECT_NE(get.err.find("The value 'Scrollback'"), std::string::npos) << get.err;

  ASSERT_EQ(chmod(file.c_str(), 0644), 0);
  EXPECT_EQ(qtest::ReadFile(file), before);
}

TEST_F(UnreadableCli, AnUnreadableGlobalConfigurationIsReported) {
  ASSERT_EQ(Run({"global", "set", "MRU Count", "12"}).status, 0);
  std::string file = config + "/Global.ini";
  std::string before = qtest::ReadFile(file);
  MakeUnreadable(file);
  auto show = RunAsReader({"global", "show"});
  EXPECT_EQ(show.status, 3);
  EXPECT_EQ(show.out, "");
  EXPECT_NE(show.err.find(file), std::string::npos) << show.err;
  auto set = RunAsReader({"global", "set", "MRU Count", "13"});
  EXPECT_EQ(set.status, 3);
  ASSERT_EQ(chmod(file.c_str(), 0644), 0);
  EXPECT_EQ(qtest::ReadFile(file), before);
}

TEST_F(UnreadableCli, AnUnreadableSettingsFileIsReportedBySessionAndGlobalCommands) {
  std::string file = dir / "settings.xml";
  auto xml = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--lang", "en", "--json", "--xml", file});
    return args;
  };
  ASSERT_EQ(qtest::Quillane(xml({"session", "create", "router1"}), qtest::HostEnv(dir)).status, 0);
  std::string before = qtest::ReadFile(file);
  MakeUnreadable(file);
  for (auto command : {std::vector<std::string>{"session", "show", "router1"},
                       std::vector<std::string>{"session", "delete", "router1"},
                       std::vector<std::string>{"global", "show"}}) {
    auto run = RunAsReader(xml(command), false);
    EXPECT_EQ(run.status, 3) << command[0] << " " << command[1];
    EXPECT_NE(run.out.find("\"id\": \"0xE1380401\""), std::string::npos) << run.out;
  }
  ASSERT_EQ(chmod(file.c_str(), 0644), 0);
  EXPECT_EQ(qtest::ReadFile(file), before);
}

TEST(ExpansionCli, AnExpandableStringPastTheLimitIsReportedByGetAndValues) {
  qtest::TempDir dir;
  std::string text;
  for (int i = 0; i < 40; ++i) text += "%QTEST_CLI_BIG%";
  qtest::WriteFile(dir / "registry/HKCU/SOFTWARE/Tolvane.ini",
                   kBom + "S:\"Plain\"=p\r\nE:\"Big\"=" + text + "\r\n");
  auto env = qtest::HostEnv(dir);
  env["QTEST_CLI_BIG"] = std::string(1000, 'x');
  auto get = qtest::Quillane({"--lang", "en", "--registry", "HKCU", "key", "get", "SOFTWARE/Tolvane", "Big"}, env);
  EXPECT_EQ(get.status, 3);
  EXPECT_NE(get.err.find("longer than 32767 characters"), std::string::npos) << get.err;
  auto values = qtest::Quillane({"--lang", "en", "--registry", "HKCU", "key", "values", "SOFTWARE/Tolvane"}, env);
  EXPECT_EQ(values.status, 3);
  EXPECT_NE(values.err.find("The value 'Big'"), std::string::npos) << values.err;
  auto plain = qtest::Quillane({"--lang", "en", "--registry", "HKCU", "key", "get", "SOFTWARE/Tolvane", "Plain"}, env);
  EXPECT_EQ(plain.out, "p\n");
}

}  // namespace
