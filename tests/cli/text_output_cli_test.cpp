// Text output keeps one item a line whatever names and values hold: backslashes, line feeds,
// carriage returns and tabs are written as escapes, and a list is told from a text holding line
// feeds. JSON output carries the same names and values by JSON's own escapes.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

using qtest::RunResult;

// The settings file store keeps names and values with line breaks and tabs, which the folder
// store refuses; it shows what the escapes are for.
class TextOutput : public ::testing::Test {
 protected:
  std::string Q(std::vector<std::string> args, int status = 0) {
    args.insert(args.begin(), {"--xml", dir / "settings.xml"});
    RunResult run = qtest::Quillane(args, qtest::HostEnv(dir));
    EXPECT_EQ(run.status, status) << run.err;
    return run.out;
  }
  qtest::TempDir dir;
};

TEST_F(TextOutput, AListIsToldFromATextWithLineFeedsAndEveryBreakIsEscaped) {
  Q({"key", "set", "K", "text", "--string", "a\nb"});
  Q({"key", "set", "K", "list", "--multi", "a", "b"});
  Q({"key", "set", "K", "odd\tname\r", "--string", "back\\slash\ttab"});
  Q({"key", "set", "K", "line\nbreak", "--dword", "7"});

  EXPECT_EQ(Q({"key", "get", "K", "text"}), "a\\nb\n");
  EXPECT_EQ(Q({"key", "get", "K", "list"}), "a\nb\n");
  EXPECT_EQ(Q({"key", "get", "K", "odd\tname\r"}), "back\\\\slash\\ttab\n");
  EXPECT_EQ(Q({"key", "values", "K"}),
            "string\ttext\ta\\nb\n"
            "multi\tlist\ta\\nb\n"
            "string\todd\\tname\\r\tback\\\\slash\\ttab\n"
            "dword\tline\\nbreak\t7\n");
  EXPECT_EQ(Q({"--json", "key", "values", "K"}),
            "[{\"name\": \"text\", \"kind\": \"string\", \"value\": \"a\\nb\"}, "
            "{\"name\": \"list\", \"kind\": \"multi\", \"value\": [\"a\", \"b\"]}, "
            "{\"name\": \"odd\\tname\\r\", \"kind\": \"string\", \"value\": \"back\\\\slash\\ttab\"}, "
            "{\"name\": \"line\\nbreak\", \"kind\": \"dword\", \"value\": 7}]\n");
}

TEST_F(TextOutput, KeyAndSessionNamesStayOnTheirLineAndAPrintedPathIsAcceptedBack) {
  Q({"key", "set", "K/two\nlines", "v", "--dword", "1"});
  Q({"key", "set", "K/tab\there", "v", "--dword", "1"});
  EXPECT_EQ(Q({"key", "list", "K"}), "two\\nlines\t4\ntab\\there\t4\n");

  Q({"session", "create", "Lab/router1"});
  std::string printed = Q({"sessions", "--recursive"});
  EXPECT_NE(printed.find("Lab\\\\router1\n"), std::string::npos) << printed;
  // The escaped path, as a script would read it, names the same session.
  EXPECT_NE(Q({"session", "show", "Lab\\\\router1", "Rows"}).find("\tRows\t"), std::string::npos);
}

}  // namespace
