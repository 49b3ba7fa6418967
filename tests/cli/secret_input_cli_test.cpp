// Secrets given without a command line: the VALUE of session set, firewall set and global set
// taken from an environment variable or from one line of standard input, and every way of giving
// it wrongly refused before anything is saved.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

using qtest::RunResult;

class SecretInput : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args, std::map<std::string, std::string> extra = {},
              const std::string& input = {}) {
    args.insert(args.begin(), {"--config", dir / "cfg", "--passphrase-env", "PP"});
    std::map<std::string, std::string> env = qtest::HostEnv(dir);
    env["PP"] = "pass";
    for (auto& [name, value] : extra) env[name] = value;
    return qtest::Quillane(args, env, input);
  }
  // The plaintext `session show --secrets` gives for a session's secret.
  std::string Plaintext(const std::string& session, const std::string& setting) {
    RunResult shown = Q({"session", "show", session, setting, "--secrets"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    size_t tab = shown.out.rfind('\t');
    return tab == std::string::npos ? "" : shown.out.substr(tab + 1, shown.out.size() - tab - 2);
  }
  qtest::TempDir dir;
};

TEST_F(SecretInput, TheValueComesFromAVariableOrFromOneLineOfStandardInput) {
  ASSERT_EQ(Q({"session", "create", "r"}).status, 0);
  RunResult fromEnv = Q({"session", "set", "r", "Monitor Password V2", "--value-env", "SECRET"},
                        {{"SECRET", "from env"}});
  ASSERT_EQ(fromEnv.status, 0) << fromEnv.err;
  EXPECT_EQ(Plaintext("r", "Monitor Password V2"), "from env");
  std::string stored = qtest::ReadFile(dir / "cfg/Sessions/r.ini");
  EXPECT_NE(stored.find("S:\"Monitor Password V2\"=02:"), std::string::npos);
  EXPECT_EQ(stored.find("from env"), std::string::npos);

  // Only the line feed goes; spaces and a backslash are the secret's own.
  RunResult fromStdin = Q({"session", "set", "r", "Monitor Password V2", "--value-stdin"}, {},
                          " two words \\ \n");
  ASSERT_EQ(fromStdin.status, 0) << fromStdin.err;
  EXPECT_EQ(Plaintext("r", "Monitor Password V2"), " two words \\\\ ");  // escaped in text output

  RunResult noFeed = Q({"session", "set", "r", "Monitor Password V2", "--value-stdin"}, {}, "last");
  ASSERT_EQ(noFeed.status, 0) << noFeed.err;
  EXPECT_EQ(Plaintext("r", "Monitor Password V2"), "last");

  RunResult firewall = Q({"firewall", "set", "fw", "Firewall Password V2", "--value-stdin"}, {},
                         "fw secret\n");
  ASSERT_EQ(firewall.status, 0) << firewall.err;
  RunResult shown = Q({"--json", "firewall", "show", "fw", "Firewall Password V2", "--secrets"});
  EXPECT_NE(shown.out.find("\"plaintext\": \"fw secret\""), std::string::npos) << shown.out;

  RunResult global =
      Q({"global", "set", "Connect Expand Path", "--value-env", "V"}, {{"V", "Lab/deep"}});
  ASSERT_EQ(global.status, 0) << global.err;
  EXPECT_NE(Q({"global", "show", "Connect Expand Path"}).out.find("\tLab/deep\t"), std::string::npos);
}

TEST_F(SecretInput, AValueGivenWronglyIsRefusedWithItsCauseAndNothingIsSaved) {
  ASSERT_EQ(Q({"session", "create", "r"}).status, 0);
  ASSERT_EQ(Q({"session", "set", "r", "Monitor Password V2", "kept"}).status, 0);
  const std::string before = qtest::ReadFile(dir / "cfg/Sessions/r.ini");
  struct Case {
    std::vector<std::string> args;
    std::map<std::string, std::string> env;
    std::string input;
    std::string cause;
  } cases[] = {
      {{"--value-env", "UNSET_VARIABLE"}, {}, "", "UNSET_VARIABLE named by --value-env is not set"},
      {{"--value-env", "V", "--value-stdin"}, {{"V", "x"}}, "y\n", "not both"},
      {{"--value-stdin"}, {}, "", "no line on standard input"},
      {{"--value-stdin"}, {}, "first\nsecond\n", "more than one"},
      {{"--value-stdin"}, {}, "caf\xE9\n", "not valid UTF-8"},
      {{"--value-env", "V"}, {{"V", "caf\xE9"}}, "", "not valid UTF-8"},
      {{"extra", "--value-env", "V"}, {{"V", "x"}}, "", "expected PATH NAME VALUE"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"session", "set", "r", "Monitor Password V2"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    RunResult run = Q(args, c.env, c.input);
    EXPECT_EQ(run.status, 2) << c.cause;
    EXPECT_NE(run.err.find(c.cause), std::string::npos) << run.err;
  }
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/Sessions/r.ini"), before);
  EXPECT_EQ(Plaintext("r", "Monitor Password V2"), "kept");
}

}  // namespace
