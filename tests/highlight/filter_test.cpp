// Filters over real configuration folders: found only with "Is Session", written whole when new
// and by change afterwards, and their texts.
#include <gtest/gtest.h>

#include "config/highlight/filter_store.h"
#include "config/session_tree.h"
#include "platform/win32_errors.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

class FilterTest : public SessionTreeTest {
 protected:
  std::string FilterFile(const std::string& name) { return Cfg("Filters/" + name + ".ini"); }
  std::string Lines(const std::string& name) {
    std::string bytes = qtest::ReadFile(FilterFile(name));
    return bytes.substr(0, 3) == kBom ? bytes.substr(3) : bytes;
  }
  SessionDatabase db_;
  FilterStore store_{db_};
};

TEST_F(FilterTest, AKeyWithoutIsSessionIsNotAFilterWhateverItHolds) {
  qtest::WriteFile(FilterFile("Loose"), kBom +
                   "D:\"Filter Type\"=00000001\r\n"
                   "Z:\"Filter Criteria\"=00000001\r\n *.tmp\r\n"
                   "D:\"Match Filter Case\"=00000001\r\n"
                   "D:\"Apply Filter to Folders\"=00000001\r\n");
  EXPECT_FALSE(store_.Open(u"Loose"));
  EXPECT_FALSE(store_.Exists(u"Loose"));
  EXPECT_TRUE(store_.List().IsEmpty());
  VReportMessageParams error;
  EXPECT_FALSE(store_.Delete(u"Loose", error));
  EXPECT_EQ(error.GetMessageId(), win32::kFileNotFound);
  EXPECT_TRUE(qtest::Exists(FilterFile("Loose")));

  // Saving a filter under that name marks the key and writes every value.
  VRef<FilterConfig> filter(new FilterConfig(u"Loose"));
  filter->Load(nullptr);
  ASSERT_TRUE(store_.Save(*filter.Get(), false, error)) << error.GetText().ToUtf8();
  EXPECT_EQ(Lines("Loose"),
            "D:\"Filter Type\"=00000000\r\n"
            "D:\"Match Filter Case\"=00000000\r\n"
            "D:\"Apply Filter to Folders\"=00000000\r\n"
            "D:\"Is Session\"=00000001\r\n"
            "Z:\"Filter Criteria\"=00000000\r\n");
  EXPECT_TRUE(store_.Exists(u"Loose"));
}

TEST_F(FilterTest, ANewFilterIsWrittenWholeAndAChangedOneOnlyWhereItChanged) {
  VRef<FilterConfig> filter(new FilterConfig(u"Logs"));
  filter->Load(nullptr);
  filter->filterType = static_cast<int>(FilterType::Exclude);
  filter->filterCriteria = FilterConfig::SplitCriteria(u" *.log;*.txt ;; ");
  VReportMessageParams error;
  ASSERT_TRUE(store_.Save(*filter.Get(), false, error)) << error.GetText().ToUtf8();
  EXPECT_EQ(Lines("Logs"),
            "D:\"Is Session\"=00000001\r\n"
            "D:\"Filter Type\"=00000001\r\n"
            "D:\"Match Filter Case\"=00000000\r\n"
            "D:\"Apply Filter to Folders\"=00000000\r\n"
            "Z:\"Filter Criteria\"=00000002\r\n *.log\r\n *.txt\r\n");
  EXPECT_EQ(Names(store_.List()), (Strings{"Logs"}));

  VRef<FilterConfig> loaded = store_.Open(u"Logs");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetTypeText(), u"Exclude");
  EXPECT_EQ(loaded->GetCriteriaText(), u"*.log; *.txt");
  EXPECT_FALSE(loaded->IsModified());
  // Another program changes a value meanwhile; saving this object's own change leaves it be.
  std::string lines = Lines("Logs");
  lines.replace(lines.find("\"Match Filter Case\"=00000000"), 28, "\"Match Filter Case\"=00000001");
  qtest::WriteFile(FilterFile("Logs"), kBom + lines);
  loaded->applyToFolders = true;
  ASSERT_TRUE(store_.Save(*loaded.Get(), false, error));
  EXPECT_NE(Lines("Logs").find("\"Match Filter Case\"=00000001\r\nD:\"Apply Filter to Folders\"=00000001"),
            std::string::npos)
      << Lines("Logs");
  // Under force every value is written.
  ASSERT_TRUE(store_.Save(*loaded.Get(), true, error));
  EXPECT_NE(Lines("Logs").find("\"Match Filter Case\"=00000000"), std::string::npos);
}

TEST_F(FilterTest, TextsOfTheTypeAndCriteria) {
  FilterConfig filter(u"T");
  filter.Load(nullptr);
  EXPECT_EQ(filter.GetTypeText(), u"Include");
  EXPECT_EQ(filter.GetCriteriaText(), u"");
  filter.filterType = 7;  // not a type this release knows: shown, not renamed
  EXPECT_EQ(filter.GetTypeText(), u"7");
  filter.filterCriteria = VStringArray{u"a*", u"b?"};
  EXPECT_EQ(filter.GetCriteriaText(), u"a*; b?");
  EXPECT_TRUE(FilterConfig::SplitCriteria(u" ; ;").IsEmpty());
  EXPECT_EQ(FilterConfig::SplitCriteria(u"one file.txt").GetSize(), 1u);
}

TEST_F(FilterTest, DeleteRemovesOneFilterAndAnEmptyNameNamesNone) {
  Put("Filters\\A", false, {{u"Is Session", u"1"}});
  Put("Filters\\B", false, {{u"Is Session", u"1"}});
  VReportMessageParams error;
  // An empty name would be "Filters" itself, and with it every filter.
  EXPECT_FALSE(store_.Open(u""));
  EXPECT_FALSE(store_.Delete(u"", error));
  EXPECT_FALSE(store_.Delete(u"A\\..", error));
  FilterConfig empty(u"");
  empty.Load(nullptr);
  EXPECT_FALSE(store_.Save(empty, false, error));
  EXPECT_EQ(error.GetMessageId(), win32::kInvalidName);
  EXPECT_EQ(Names(store_.List()), (Strings{"A", "B"}));
  ASSERT_TRUE(store_.Delete(u"A", error)) << error.GetText().ToUtf8();
  EXPECT_EQ(Names(store_.List()), (Strings{"B"}));
  EXPECT_FALSE(store_.Delete(u"A", error));
  EXPECT_EQ(error.GetMessageId(), win32::kFileNotFound);
}

TEST_F(FilterTest, TheSettingsFileKeepsFiltersAsTheFolderDoes) {
  UseXml();
  Put("Filters\\Loose", false, {{u"Filter Type", u"1"}});
  EXPECT_FALSE(store_.Exists(u"Loose"));
  VRef<FilterConfig> filter(new FilterConfig(u"Logs"));
  filter->Load(nullptr);
  filter->filterCriteria = VStringArray{u"*.log"};
  filter->matchFilterCase = true;
  VReportMessageParams error;
  ASSERT_TRUE(store_.Save(*filter.Get(), false, error)) << error.GetText().ToUtf8();
  EXPECT_EQ(Names(store_.List()), (Strings{"Logs"}));
  VRef<FilterConfig> loaded = store_.Open(u"Logs");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetCriteriaText(), u"*.log");
  EXPECT_TRUE(loaded->matchFilterCase.current);
  EXPECT_FALSE(loaded->IsModified());
  ASSERT_TRUE(store_.Delete(u"Logs", error)) << error.GetText().ToUtf8();
  EXPECT_FALSE(store_.Exists(u"Logs"));
  EXPECT_NE(qtest::ReadFile(XmlPath()).find("Loose"), std::string::npos);
}

}  // namespace
