// The OpenSSH client configuration reader: lines, patterns, the first value that wins, Match
// blocks, and Include over real files (relative names, globs, loops, nesting, permissions).
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "environment/ssh_client_config.h"
#include "environment/ssh_config_files.h"
#include "support/test_support.h"

namespace {

using sshcfg::Config;

struct Split {
  bool ok;
  std::string keyword;
  std::vector<std::string> args;
  std::string problem;
};

Split SplitOf(const std::string& line) {
  Split out;
  out.ok = sshcfg::SplitLine(line, out.keyword, out.args, out.problem);
  return out;
}

using Args = std::vector<std::string>;

TEST(SshClientConfigLines, KeywordsSeparatorsQuotesAndComments) {
  // Keywords in any case, separated by blanks or one "=" with or without blanks around it.
  for (const char* line : {"Port 2222", "port=2222", "PORT = 2222", "  Port =2222", "\tPort= 2222\r"}) {
    Split s = SplitOf(line);
    EXPECT_TRUE(s.ok) << line;
    EXPECT_EQ(s.keyword, "port") << line;
    EXPECT_EQ(s.args, Args{"2222"}) << line;
  }
  EXPECT_EQ(SplitOf("Host a b\t c").args, (Args{"a", "b", "c"}));
  EXPECT_EQ(SplitOf("IdentityFile \"~/my keys/id ed\"").args, Args{"~/my keys/id ed"});
  EXPECT_EQ(SplitOf("User 'two words' x").args, (Args{"two words", "x"}));
  EXPECT_EQ(SplitOf("HostName \"quote\\\"d\"").args, Args{"quote\"d"});
  EXPECT_EQ(SplitOf("HostName a\\ b").args, Args{"a b"});
  EXPECT_EQ(SplitOf("HostName ab\"c d\"e").args, Args{"abc de"});
  EXPECT_EQ(SplitOf("HostName \"\"").args, Args{""});
  // "#" starts a comment only at the start of an argument.
  EXPECT_EQ(SplitOf("Port 22 # the usual").args, Args{"22"});
  EXPECT_EQ(SplitOf("HostName a#b").args, Args{"a#b"});
  EXPECT_TRUE(SplitOf("   # a comment").keyword.empty());
  EXPECT_TRUE(SplitOf("").keyword.empty());
  EXPECT_TRUE(SplitOf("Host").args.empty());

  Split open = SplitOf("HostName \"never closed");
  EXPECT_FALSE(open.ok);
  EXPECT_EQ(open.problem, "a quotation mark is not closed");
  EXPECT_TRUE(open.args.empty());
  EXPECT_FALSE(SplitOf("Po-rt 22").ok);
  EXPECT_FALSE(SplitOf("=22").ok);
}

TEST(SshClientConfigPatterns, WildcardsNegationAndCase) {
  EXPECT_TRUE(sshcfg::MatchPattern("*", "anything"));
  EXPECT_TRUE(sshcfg::MatchPattern("*.example.com", "Web.EXAMPLE.com"));
  EXPECT_FALSE(sshcfg::MatchPattern("*.example.com", "example.com"));
  EXPECT_TRUE(sshcfg::MatchPattern("db?", "db1"));
  EXPECT_FALSE(sshcfg::MatchPattern("db?", "db12"));
  EXPECT_TRUE(sshcfg::MatchPattern("a*b*c", "aXXbYYbZc"));
  EXPECT_FALSE(sshcfg::MatchPattern("a*b*c", "aXXbYY"));
  EXPECT_TRUE(sshcfg::MatchPattern("", ""));
  // A long pattern of stars against a long name does not take exponential time.
  EXPECT_FALSE(sshcfg::MatchPattern(std::string(200, '*') + "x", std::string(5000, 'a')));

  EXPECT_TRUE(sshcfg::MatchPatternList({"*.lan", "!secret.lan"}, "web.lan"));
  EXPECT_FALSE(sshcfg::MatchPatternList({"*.lan", "!secret.lan"}, "secret.lan"));
  EXPECT_FALSE(sshcfg::MatchPatternList({"!secret.lan"}, "web.lan"));  // nothing positive
  EXPECT_FALSE(sshcfg::MatchPatternList({}, "web"));

  EXPECT_TRUE(sshcfg::IsConcretePattern("web1"));
  EXPECT_FALSE(sshcfg::IsConcretePattern("web*"));
  EXPECT_FALSE(sshcfg::IsConcretePattern("web?"));
  EXPECT_FALSE(sshcfg::IsConcretePattern("!web"));
  EXPECT_FALSE(sshcfg::IsConcretePattern(""));

  EXPECT_TRUE(sshcfg::MatchFileName("*.conf", "a.conf"));
  EXPECT_FALSE(sshcfg::MatchFileName("*.conf", ".hidden.conf"));
  EXPECT_TRUE(sshcfg::MatchFileName(".*.conf", ".hidden.conf"));
  EXPECT_FALSE(sshcfg::MatchFileName("*.conf", "A.CONF"));
}

TEST(SshClientConfigResolve, FirstValueWinsAndMatchBlocksAreLeftOut) {
  Config config = sshcfg::ParseText(
      "User everyone\n"  // before any Host: applies to every host
      "Host web db\n"
      "  HostName %h.example.com\n"
      "  Port 2200\n"
      "Host web\n"
      "  Port 9999\n"      // web's Port was set above: ignored
      "  User webadmin\n"  // but the global User came first
      "Match host db exec \"test -f /x\"\n"
      "  Port 1\n"
      "  IdentityFile ~/.ssh/match\n"
      "Match all\n"
      "  IdentityFile ~/.ssh/all\n"
      "Host *\n"
      "  ProxyCommand nc %h %p\n"
      "  ProxyJump never\n"
      "Host\n",
      "config", nullptr);
  sshcfg::HostSettings web = sshcfg::Resolve(config, "WEB");  // aliases match without case
  EXPECT_EQ(web.hostName, "%h.example.com");
  EXPECT_EQ(web.port, "2200");
  EXPECT_EQ(web.user, "everyone");
  EXPECT_EQ(web.identityFile, "~/.ssh/all");
  EXPECT_EQ(web.proxyCommand, "nc %h %p");
  EXPECT_FALSE(web.proxyJump);  // the first of the two ways wins
  sshcfg::HostSettings other = sshcfg::Resolve(config, "other");
  EXPECT_FALSE(other.hostName);
  EXPECT_FALSE(other.port);

  ASSERT_EQ(config.matchBlocks.size(), 1u);
  EXPECT_EQ(config.matchBlocks[0].reason, "Match host db exec test -f /x");
  EXPECT_EQ(config.matchBlocks[0].line, 8);
  ASSERT_EQ(config.hostLines.size(), 4u);
  EXPECT_EQ(config.hostLines[0].patterns, (Args{"web", "db"}));
  ASSERT_EQ(config.problems.size(), 1u);
  EXPECT_EQ(config.problems[0].reason, "Host needs at least one pattern");
  EXPECT_EQ(config.problems[0].line, 16);
}

TEST(SshClientConfigResolve, UnreadableLinesAreReportedAndSkipped) {
  Config config = sshcfg::ParseText(
      "Host a\n"
      "  HostName \"open\n"
      "  Hostname fine\n"
      "  Include sub\n"
      "  Bad-Keyword x\n"
      + std::string("  User a\0b\n", 11),
      "cfg", nullptr);
  EXPECT_EQ(sshcfg::Resolve(config, "a").hostName, "fine");
  EXPECT_FALSE(sshcfg::Resolve(config, "a").user);
  ASSERT_EQ(config.problems.size(), 4u);
  EXPECT_EQ(config.problems[0].line, 2);
  EXPECT_EQ(config.problems[1].reason, "Include sub is not followed here");
  EXPECT_EQ(config.problems[2].line, 5);
  EXPECT_EQ(config.problems[3].reason, "the line holds a NUL byte");
}

TEST(SshClientConfigResolve, TokensExpand) {
  auto tokens = [](char letter, std::string& text) {
    if (letter != 'h') return false;
    text = "web";
    return true;
  };
  std::string out, problem;
  EXPECT_TRUE(sshcfg::ExpandTokens("%h.lan:100%%", tokens, out, problem));
  EXPECT_EQ(out, "web.lan:100%");
  EXPECT_FALSE(sshcfg::ExpandTokens("%z", tokens, out, problem));
  EXPECT_EQ(problem, "the token %z cannot be used here");
  EXPECT_FALSE(sshcfg::ExpandTokens("end%", tokens, out, problem));
}

class SshConfigFiles : public ::testing::Test {
 protected:
  void Write(const std::string& relative, const std::string& text, mode_t mode = 0600) {
    qtest::WriteFile(dir_ / relative, text);
    ASSERT_EQ(::chmod((dir_ / relative).c_str(), mode), 0);
  }
  Config Parse(const std::string& relative) {
    sshcfg::DiskFileSource source(dir_.Path(), dir_ / ".ssh");
    Config config;
    std::string problem;
    EXPECT_TRUE(sshcfg::ParseFile(dir_ / relative, source, config, problem)) << problem;
    return config;
  }
  // The first pattern of each Host line, in the order read.
  Args FirstPatterns(const Config& config) {
    Args out;
    for (const auto& line : config.hostLines) out.push_back(line.patterns[0]);
    return out;
  }
  std::vector<std::string> Reasons(const Config& config) {
    std::vector<std::string> out;
    for (const auto& p : config.problems) out.push_back(p.reason);
    return out;
  }
  qtest::TempDir dir_;
};

TEST_F(SshConfigFiles, IncludeResolvesRelativeNamesHomeAndGlobsInOrder) {
  Write(".ssh/config",
        "Include conf.d/*.conf ~/extra/one\n"
        "Host *\n"
        "  User fallback\n");
  Write(".ssh/conf.d/20-b.conf", "Host b\n  HostName b.lan\n  User bee\n");
  Write(".ssh/conf.d/10-a.conf", "Host a\n  HostName a.lan\n");
  Write(".ssh/conf.d/.hidden.conf", "Host hidden\n");
  Write(".ssh/conf.d/notes.txt", "Host notes\n");
  Write("extra/one", "Host c\n  Port 2022\n");
  Config config = Parse(".ssh/config");
  EXPECT_EQ(FirstPatterns(config), (Args{"a", "b", "c", "*"}));
  EXPECT_EQ(sshcfg::Resolve(config, "b").user, "bee");
  EXPECT_EQ(sshcfg::Resolve(config, "a").user, "fallback");
  EXPECT_EQ(sshcfg::Resolve(config, "c").port, "2022");
  EXPECT_EQ(config.hostLines[0].file, dir_ / ".ssh/conf.d/10-a.conf");
  EXPECT_TRUE(config.problems.empty()) << Reasons(config).front();
}

TEST_F(SshConfigFiles, IncludeInsideHostAppliesOnlyToThatHost) {
  Write(".ssh/config",
        "Host jump\n"
        "  Include jump.conf\n"
        "  User after\n"
        "Host other\n"
        "  HostName other.lan\n");
  Write(".ssh/jump.conf", "Port 2201\nHost jump\n  HostName jump.lan\n");
  Config config = Parse(".ssh/config");
  EXPECT_EQ(sshcfg::Resolve(config, "jump").port, "2201");
  EXPECT_EQ(sshcfg::Resolve(config, "jump").hostName, "jump.lan");
  EXPECT_EQ(sshcfg::Resolve(config, "jump").user, "after");
  EXPECT_FALSE(sshcfg::Resolve(config, "other").port);
  ASSERT_EQ(config.hostLines.size(), 3u);
  EXPECT_EQ(config.hostLines[1].enclosing, std::vector<Args>{Args{"jump"}});
}

TEST_F(SshConfigFiles, IncludeLoopsDepthAndMissingFilesAreRefusedWithAReason) {
  Write(".ssh/config", "Include a\nHost top\n");
  Write(".ssh/a", "Include b\nHost in-a\n");
  Write(".ssh/b", "Include a\nInclude config\nInclude missing\nInclude none*\nHost in-b\n");
  Config config = Parse(".ssh/config");
  EXPECT_EQ(FirstPatterns(config), (Args{"in-b", "in-a", "top"}));
  std::vector<std::string> reasons = Reasons(config);
  ASSERT_EQ(reasons.size(), 3u);
  EXPECT_EQ(reasons[0], "Include " + (dir_ / ".ssh/a") + " would read a file that includes it: refused");
  EXPECT_EQ(reasons[1], "Include " + (dir_ / ".ssh/config") + " would read a file that includes it: refused");
  EXPECT_EQ(reasons[2], "Include " + (dir_ / ".ssh/missing") + ": the file cannot be found");

  // A chain of new names ends at the depth limit.
  for (int i = 0; i < 20; ++i) Write(".ssh/chain" + std::to_string(i), "Include chain" + std::to_string(i + 1) + "\n");
  Config chain = Parse(".ssh/chain0");
  ASSERT_EQ(chain.problems.size(), 1u);
  EXPECT_EQ(chain.problems[0].reason, "Include chain17 is nested too deeply");

  // Files that each include all the next ones twice are read a bounded number of times.
  for (int i = 0; i < 12; ++i) {
    std::string next = "wide" + std::to_string(i + 1);
    Write(".ssh/wide" + std::to_string(i), "Include " + next + " " + next + "\nHost h" + std::to_string(i) + "\n");
  }
  Config wide = Parse(".ssh/wide0");
  ASSERT_FALSE(wide.problems.empty());
  EXPECT_NE(wide.problems.back().reason.find("more than 256 files included in all"), std::string::npos);
  EXPECT_LE(wide.hostLines.size(), 257u);
}

TEST_F(SshConfigFiles, FilesOthersCanChangeAreRefused) {
  Write(".ssh/config", "Include shared\nHost mine\n");
  Write(".ssh/shared", "Host planted\n", 0666);
  Config config = Parse(".ssh/config");
  ASSERT_EQ(config.hostLines.size(), 1u);
  EXPECT_EQ(config.hostLines[0].patterns, Args{"mine"});
  ASSERT_EQ(config.problems.size(), 1u);
  EXPECT_NE(config.problems[0].reason.find("bad owner or permissions"), std::string::npos);

  sshcfg::DiskFileSource source(dir_.Path(), dir_ / ".ssh");
  Config out;
  std::string problem;
  EXPECT_FALSE(sshcfg::ParseFile(dir_ / ".ssh/shared", source, out, problem));
  EXPECT_FALSE(sshcfg::ParseFile(dir_ / ".ssh/absent", source, out, problem));
  EXPECT_EQ(problem, "the file cannot be found");
  EXPECT_FALSE(sshcfg::ParseFile(dir_ / ".ssh", source, out, problem));  // a folder
}

}  // namespace
