// quillane --xml FILE: every key command on one settings file.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

const std::string kHead =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Tolvane version=\"3.0\">\n";

qtest::RunResult Xml(const std::string& file, std::vector<std::string> args) {
  args.insert(args.begin(), {"--lang", "en", "--xml", file});
  return qtest::Quillane(args);
}

class XmlCli : public ::testing::Test {
 protected:
  qtest::TempDir dir;
  std::string file = dir / "settings.xml";
};

TEST_F(XmlCli, SetWritesTheFileAndGetReadsItBack) {
  EXPECT_EQ(Xml(file, {"key", "set", "Sessions/Lab/host1", "Hostname", "--string", "a & b"}).status, 0);
  EXPECT_EQ(Xml(file, {"key", "set", "Sessions\\Lab\\host1", "Port", "--dword", "0x16"}).status, 0);
  EXPECT_EQ(Xml(file, {"key", "set", "Sessions/Lab/host1", "Block", "--binary", "00ab"}).status, 0);
  EXPECT_EQ(Xml(file, {"key", "set", "Sessions/Lab/host1", "Lines", "--multi", "one", "two"}).status, 0);
  EXPECT_EQ(qtest::ReadFile(file), kHead +
                                       "\t<key name=\"Sessions\">\n"
                                       "\t\t<key name=\"Lab\">\n"
                                       "\t\t\t<key name=\"host1\">\n"
                                       "\t\t\t\t<string name=\"Hostname\">a &amp; b</string>\n"
                                       "\t\t\t\t<dword name=\"Port\">22</dword>\n"
                                       "\t\t\t\t<binary name=\"Block\">00ab</binary>\n"
                                       "\t\t\t\t<array name=\"Lines\">\n"
                                       "\t\t\t\t\t<string>one</string>\n"
                                       "\t\t\t\t\t<string>two</string>\n"
                                       "\t\t\t\t</array>\n"
                                       "\t\t\t</key>\n"
                                       "\t\t</key>\n"
                                       "\t</key>\n"
                                       "</Tolvane>\n");
  qtest::RunResult get = Xml(file, {"key", "get", "Sessions/Lab/host1", "Hostname"});
  EXPECT_EQ(get.status, 0);
  EXPECT_EQ(get.out, "a & b\n");
  qtest::RunResult values = Xml(file, {"key", "values", "Sessions/Lab/host1"});
  EXPECT_EQ(values.out,
            "string\tHostname\ta & b\n"
            "dword\tPort\t22\n"
            "binary\tBlock\t00ab\n"
            "multi\tLines\tone\\ntwo\n");
  qtest::RunResult list = Xml(file, {"--json", "key", "list", "Sessions"});
  EXPECT_EQ(list.out, "[{\"name\": \"Lab\", \"type\": 4}]\n");
  qtest::RunResult json = Xml(file, {"--json", "key", "get", "Sessions/Lab/host1", "Port"});
  EXPECT_EQ(json.out, "{\"name\": \"Port\", \"kind\": \"dword\", \"value\": 22}\n");
}

// Reading commands never rewrite the file, and a file without write permission is refused.
TEST_F(XmlCli, ReadingCommandsAndARefusedWriteLeaveTheFileAlone) {
  ASSERT_EQ(Xml(file, {"key", "set", "Global", "A", "--string", "x"}).status, 0);
  const std::string before = qtest::ReadFile(file);
  EXPECT_EQ(Xml(file, {"key", "exists", "Sessions/Lab"}).status, 1);
  EXPECT_EQ(Xml(file, {"key", "list", "Nowhere"}).status, 1);
  EXPECT_EQ(Xml(file, {"key", "get", "Global", "Missing"}).status, 1);
  EXPECT_EQ(Xml(file, {"key", "values", "Global"}).status, 0);
  EXPECT_EQ(Xml(file, {}).status, 0);
  EXPECT_EQ(qtest::ReadFile(file), before);
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  qtest::RunResult set = Xml(file, {"key", "set", "Global", "A", "--string", "y"});
  EXPECT_EQ(set.status, 3);
  EXPECT_NE(set.err.find("could not be saved"), std::string::npos) << set.err;
  qtest::RunResult remove = Xml(file, {"key", "delete", "Global"});
  EXPECT_EQ(remove.status, 3);
  EXPECT_EQ(qtest::ReadFile(file), before);
}

TEST_F(XmlCli, UnsetDeleteAndCopyAreSaved) {
  ASSERT_EQ(Xml(file, {"key", "set", "Sessions/a", "Host", "--string", "h"}).status, 0);
  ASSERT_EQ(Xml(file, {"key", "set", "Sessions/a", "Port", "--dword", "22"}).status, 0);
  EXPECT_EQ(Xml(file, {"key", "copy", "Sessions/a", "Sessions/b"}).status, 0);
  EXPECT_EQ(Xml(file, {"key", "get", "Sessions/b", "Host"}).out, "h\n");
  EXPECT_EQ(Xml(file, {"key", "unset", "Sessions/b", "Host"}).status, 0);
  EXPECT_EQ(Xml(file, {"key", "get", "Sessions/b", "Host"}).status, 1);
  EXPECT_EQ(Xml(file, {"key", "delete", "Sessions/a"}).status, 0);
  EXPECT_EQ(Xml(file, {"key", "exists", "Sessions/a"}).status, 1);
  EXPECT_EQ(Xml(file, {"key", "exists", "Sessions/b"}).status, 0);
  EXPECT_EQ(qtest::ReadFile(file), kHead +
                                       "\t<key name=\"Sessions\">\n"
                                       "\t\t<key name=\"b\">\n"
                                       "\t\t\t<dword name=\"Port\">22</dword>\n"
                                       "\t\t</key>\n"
                                       "\t</key>\n"
                                       "</Tolvane>\n");
  EXPECT_EQ(Xml(file, {"key", "delete", "Sessions/a"}).status, 1);
}

TEST_F(XmlCli, AFileThatDoesNotParseIsReportedAndNeverWritten) {
  const std::string broken = "<Tolvane>\n<key name=\"Global\">\n<string name=\"a\">x</key>\n";
  qtest::WriteFile(file, broken);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"key", "set", "Global", "b", "--string", "y"},
        std::vector<std::string>{"key", "list", "/"}, std::vector<std::string>{"key", "get", "Global", "a"},
        std::vector<std::string>{"key", "delete", "Global"}, std::vector<std::string>{}}) {
    qtest::RunResult result = Xml(file, args);
    EXPECT_EQ(result.status, 3) << (args.empty() ? "overview" : args[1]);
    EXPECT_NE(result.err.find("quillane: The settings file '" + file +
                              "' is not valid XML: invalid closing tag name (line 3, column 24, offset 53)"),
              std::string::npos)
        << result.err;
  }
  qtest::RunResult json = Xml(file, {"--json", "key", "exists", "Global"});
  EXPECT_EQ(json.status, 3);
  EXPECT_NE(json.out.find("\"id\": \"0xE1380402\""), std::string::npos) << json.out;
  EXPECT_EQ(qtest::ReadFile(file), broken);
  // A file of another kind is refused the same way.
  qtest::WriteFile(file, "<html><body/></html>");
  qtest::RunResult other = Xml(file, {"key", "set", "Global", "b", "--string", "y"});
  EXPECT_EQ(other.status, 3);
  EXPECT_NE(other.err.find("its root element is 'html' instead of 'Tolvane'"), std::string::npos);
  EXPECT_EQ(qtest::ReadFile(file), "<html><body/></html>");
}

TEST_F(XmlCli, OverviewNamesTheFile) {
  qtest::RunResult missing = Xml(file, {"--json"});
  EXPECT_NE(missing.out.find("\"store\": \"xml\""), std::string::npos) << missing.out;
  EXPECT_NE(missing.out.find("\"exists\": false"), std::string::npos) << missing.out;
  ASSERT_EQ(Xml(file, {"key", "set", "Global", "A", "--dword", "1"}).status, 0);
  qtest::RunResult present = Xml(file, {});
  EXPECT_NE(present.out.find("Store:          xml " + file + " (from --xml)"), std::string::npos)
      << present.out;
  EXPECT_NE(present.out.find("  Global\n"), std::string::npos) << present.out;
}

}  // namespace
