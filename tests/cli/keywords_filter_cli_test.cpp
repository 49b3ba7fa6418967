// quillane keywords and filter over a real configuration folder: what each sub-command prints,
// the files it writes, and what it refuses.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

class KeywordsFilterCliTest : public ::testing::Test {
 protected:
  qtest::RunResult Q(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", dir_ / "config"});
    return qtest::Quillane(args, qtest::HostEnv(dir_));
  }
  std::string File(const std::string& key) { return qtest::ReadFile(dir_ / ("config/" + key + ".ini")); }
  qtest::TempDir dir_;
};

TEST_F(KeywordsFilterCliTest, KeywordListsAreSetShownListedAndDeleted) {
  auto r = Q({"keywords", "set", "Errors", "error", "fatal, really", "error", "--match-case", "on"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(File("Keywords/Errors"), kBom +
            "D:\"Match Case\"=00000001\r\n"
            "Z:\"Keyword List V2\"=00000002\r\n"
            " \"error\",000000ff,00000000\r\n"
            " \"fatal, really\",000000ff,00000000\r\n");
  r = Q({"--json", "keywords", "show", "Errors"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"name\": \"Errors\", \"match_case\": true, \"keywords\": ["
            "{\"text\": \"error\", \"value\": \"000000ff\", \"flags\": \"00000000\"}, "
            "{\"text\": \"fatal, really\", \"value\": \"000000ff\", \"flags\": \"00000000\"}]}\n");
  r = Q({"keywords", "show", "Errors"});
  EXPECT_EQ(r.out, "name\tErrors\nmatch_case\ton\nkeyword\terror\t000000ff\t00000000\n"
                   "keyword\tfatal, really\t000000ff\t00000000\n");

  // A word kept keeps its value and flags; only what is given changes.
  qtest::WriteFile(dir_ / "config/Keywords/Errors.ini", kBom +
                   "Z:\"Keyword List V2\"=00000002\r\n \"error\",00ff0000,00000002\r\n"
                   " \"old\",000000ff,00000000\r\nD:\"Match Case\"=00000001\r\n");
  r = Q({"keywords", "set", "Errors", "warn", "error"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(File("Keywords/Errors"), kBom +
            "D:\"Match Case\"=00000001\r\n"
            "Z:\"Keyword List V2\"=00000002\r\n"
            " \"warn\",000000ff,00000000\r\n"
            " \"error\",00ff0000,00000002\r\n");
  r = Q({"keywords", "set", "Errors", "--match-case", "off"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(File("Keywords/Errors").find("D:\"Match Case\"=00000000\r\n"), 3u);
  EXPECT_NE(File("Keywords/Errors").find(" \"error\",00ff0000,00000002\r\n"), std::string::npos);

  ASSERT_EQ(Q({"keywords", "set", "Alpha", "a"}).status, 0);
  r = Q({"--json", "keywords", "list"});
  EXPECT_EQ(r.out, "[\"Alpha\", \"Errors\"]\n");
  r = Q({"keywords", "delete", "Alpha"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(qtest::Exists(dir_ / "config/Keywords/Alpha.ini"));
  EXPECT_EQ(Q({"keywords", "list"}).out, "Errors\n");
  r = Q({"keywords", "show", "Alpha"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("There is no keyword list named 'Alpha'."), std::string::npos) << r.err;
  EXPECT_EQ(Q({"keywords", "delete", "Alpha"}).status, 1);
}

TEST_F(KeywordsFilterCliTest, TheOlderListIsShownConvertedAndUnreadableEntriesAreReportedAndKept) {
  qtest::WriteFile(dir_ / "config/Keywords/Old.ini", kBom + "S:\"Keyword List\"=error warning fail\r\n");
  auto r = Q({"--json", "keywords", "show", "Old"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("{\"text\": \"fail\", \"value\": \"000000ff\", \"flags\": \"00000000\"}]"),
            std::string::npos)
      << r.out;
  // Showing writes nothing.
  EXPECT_EQ(File("Keywords/Old"), kBom + "S:\"Keyword List\"=error warning fail\r\n");

  std::string odd = kBom + "Z:\"Keyword List V2\"=00000002\r\n broken\r\n \"ok\",ff,0\r\n";
  qtest::WriteFile(dir_ / "config/Keywords/Odd.ini", odd);
  r = Q({"keywords", "show", "Odd"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "name\tOdd\nmatch_case\toff\nkeyword\tok\t000000ff\t00000000\n");
  size_t said = r.err.find("could not be read; they are kept as they are and not highlighted:");
  ASSERT_NE(said, std::string::npos) << r.err;
  EXPECT_NE(r.err.find("broken", said), std::string::npos) << r.err;
  r = Q({"keywords", "set", "Odd", "ok", "new"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(File("Keywords/Odd"), kBom +
            "D:\"Match Case\"=00000000\r\nZ:\"Keyword List V2\"=00000003\r\n"
            " \"ok\",000000ff,00000000\r\n \"new\",000000ff,00000000\r\n broken\r\n");
}

TEST_F(KeywordsFilterCliTest, KeywordsThatCannotBeStoredAndReservedNamesAreRefused) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string complaint;
  } cases[] = {
      {{"keywords", "set", "L", "say \"hi\""}, 2, "'say \"hi\"' cannot be a keyword"},
      {{"keywords", "set", "L", ""}, 2, "'' cannot be a keyword"},
      {{"keywords", "set", "L", "a\nb"}, 2, "cannot be a keyword"},
      {{"keywords", "set", "(None)", "a"}, 2, "'(None)' means no keyword list"},
      {{"keywords", "set", "(Aucune)", "a"}, 2, "means no keyword list"},
      {{"keywords", "set", "L", "a", "--match-case", "yes"}, 2, "--match-case takes on or off"},
      {{"keywords", "set", "L"}, 2, "WORDs or --match-case"},
      {{"keywords", "set", "a\\b", "x"}, 3, "'a\\b' could not be saved"},
  };
  for (const Case& c : cases) {
    auto r = Q(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[2];
    EXPECT_NE(r.err.find(c.complaint), std::string::npos) << r.err;
  }
  EXPECT_FALSE(qtest::Exists(dir_ / "config/Keywords"));
}

TEST_F(KeywordsFilterCliTest, FiltersAreSetShownListedAndDeleted) {
  auto r = Q({"filter", "set", "Logs", "--type", "exclude", "--criteria", "*.log; *.txt;", "--folders", "on"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(File("Filters/Logs"), kBom +
            "D:\"Is Session\"=00000001\r\n"
            "D:\"Filter Type\"=00000001\r\n"
            "D:\"Match Filter Case\"=00000000\r\n"
            "D:\"Apply Filter to Folders\"=00000001\r\n"
            "Z:\"Filter Criteria\"=00000002\r\n *.log\r\n *.txt\r\n");
  r = Q({"--json", "filter", "show", "Logs"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "{\"name\": \"Logs\", \"type\": \"Exclude\", \"criteria\": [\"*.log\", \"*.txt\"], "
                   "\"match_case\": false, \"apply_to_folders\": true}\n");
  r = Q({"filter", "show", "Logs"});
  EXPECT_EQ(r.out, "name\tLogs\ntype\tExclude\ncriteria\t*.log; *.txt\nmatch_case\toff\n"
                   "apply_to_folders\ton\n");
  r = Q({"filter", "set", "Logs", "--type", "include", "--criteria", ""});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Q({"--json", "filter", "show", "Logs"}).out,
            "{\"name\": \"Logs\", \"type\": \"Include\", \"criteria\": [], \"match_case\": false, "
            "\"apply_to_folders\": true}\n");
  EXPECT_EQ(Q({"filter", "list"}).out, "Logs\n");
  ASSERT_EQ(Q({"filter", "delete", "Logs"}).status, 0);
  EXPECT_EQ(Q({"--json", "filter", "list"}).out, "[]\n");
  EXPECT_EQ(Q({"filter", "show", "Logs"}).status, 1);
}

TEST_F(KeywordsFilterCliTest, AFilterKeyWithoutIsSessionIsNotFoundAndBadInputChangesNothing) {
  std::string loose = kBom + "D:\"Filter Type\"=00000001\r\nZ:\"Filter Criteria\"=00000001\r\n *.tmp\r\n"
                             "D:\"Match Filter Case\"=00000000\r\nD:\"Apply Filter to Folders\"=00000000\r\n";
  qtest::WriteFile(dir_ / "config/Filters/Loose.ini", loose);
  auto r = Q({"filter", "show", "Loose"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("There is no filter named 'Loose'."), std::string::npos) << r.err;
  EXPECT_EQ(Q({"filter", "list"}).out, "");
  EXPECT_EQ(Q({"filter", "delete", "Loose"}).status, 1);
  EXPECT_EQ(Q({"filter", "delete", ""}).status, 1);
  struct Case {
    std::vector<std::string> args;
    std::string complaint;
  } cases[] = {
      {{"filter", "set", "Loose", "--type", "both"}, "--type takes include or exclude"},
      {{"filter", "set", "Loose", "--criteria", " ; "}, "holds no file name pattern"},
      {{"filter", "set", "Loose", "--folders", "1"}, "--folders takes on or off"},
  };
  for (const Case& c : cases) {
    r = Q(c.args);
    EXPECT_EQ(r.status, 2) << c.args[3];
    EXPECT_NE(r.err.find(c.complaint), std::string::npos) << r.err;
  }
  EXPECT_EQ(qtest::ReadFile(dir_ / "config/Filters/Loose.ini"), loose);
  EXPECT_TRUE(qtest::Exists(dir_ / "config/Filters/Loose.ini"));
}

}  // namespace

namespace {

TEST_F(KeywordsFilterCliTest, ASessionNamingAListOrSchemeThatIsNotThereIsShownWithAWarningAndKept) {
  ASSERT_EQ(Q({"keywords", "set", "Errors", "error"}).status, 0);
  qtest::WriteFile(dir_ / "config/Sessions/host.ini",
                   kBom + "S:\"Keyword Set\"=Gone\r\nS:\"Color Scheme\"=Nowhere\r\n");
  auto r = Q({"session", "show", "host", "Keyword Set", "Color Scheme"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("warning: The session's keyword list 'Gone' does not exist"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("warning: The session's colour scheme 'Nowhere' does not exist"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("Gone"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Nowhere"), std::string::npos) << r.out;

  // Names that find their list and scheme say nothing.
  qtest::WriteFile(dir_ / "config/Sessions/host.ini",
                   kBom + "S:\"Keyword Set\"=Errors\r\nS:\"Color Scheme\"=Ember\r\n");
  r = Q({"session", "show", "host", "Keyword Set"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("warning"), std::string::npos) << r.err;
}

}  // namespace
