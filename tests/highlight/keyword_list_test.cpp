// Keyword lists through the item database over real configuration folders: the older list
// converted, entries that cannot be read kept, the bytes written.
#include <gtest/gtest.h>

#include "config/highlight/highlight_config.h"
#include "config/session_tree.h"
#include "report/message_catalogue.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

class KeywordListTest : public SessionTreeTest {
 protected:
  std::string ListFile(const std::string& name) { return Cfg("Keywords/" + name + ".ini"); }
  void WriteList(const std::string& name, const std::string& lines) {
    qtest::WriteFile(ListFile(name), kBom + lines);
  }
  std::string Lines(const std::string& name) {
    std::string bytes = qtest::ReadFile(ListFile(name));
    return bytes.substr(0, 3) == kBom ? bytes.substr(3) : bytes;
  }
  bool Save(HighlightConfig& list) {
    VReportMessageParams error;
    bool saved = db_.SaveItem(list, error);
    EXPECT_TRUE(saved) << error.GetText().ToUtf8();
    return saved;
  }
  SessionDatabase db_;
};

std::vector<std::string> Texts(const HighlightConfig& list) {
  std::vector<std::string> out;
  for (const KeywordEntry& entry : list.GetKeywords()) out.push_back(entry.text.ToUtf8());
  return out;
}

TEST_F(KeywordListTest, TheOlderListOfThreeWordsIsConvertedAndBlankedOnSave) {
  WriteList("Errors", "S:\"Keyword List\"=error warning fail\r\n");
  VRef<HighlightConfig> list = db_.OpenKeywordList(u"Errors");
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->ConvertedOlderList());
  ASSERT_EQ(list->GetKeywords().size(), 3u);
  EXPECT_EQ(Texts(*list.Get()), (std::vector<std::string>{"error", "warning", "fail"}));
  for (const KeywordEntry& entry : list->GetKeywords()) {
    EXPECT_EQ(entry.value, 0x000000FFu);
    EXPECT_EQ(entry.flags, 0);
  }
  EXPECT_FALSE(list->GetMatchCase());
  ASSERT_TRUE(Save(*list.Get()));
  EXPECT_EQ(Lines("Errors"),
            "S:\"Keyword List\"=\r\n"
            "D:\"Match Case\"=00000000\r\n"
            "Z:\"Keyword List V2\"=00000003\r\n"
            " \"error\",000000ff,00000000\r\n"
            " \"warning\",000000ff,00000000\r\n"
            " \"fail\",000000ff,00000000\r\n");
  // Read again: the current form, nothing older to convert, nothing to write.
  VRef<HighlightConfig> again = db_.OpenKeywordList(u"Errors");
  ASSERT_TRUE(again);
  EXPECT_FALSE(again->ConvertedOlderList());
  EXPECT_EQ(again->GetKeywords(), list->GetKeywords());
  EXPECT_FALSE(again->IsModified());
}

TEST_F(KeywordListTest, AKeywordHoldingACommaSurvivesSaveAndLoad) {
  VRef<HighlightConfig> list(new HighlightConfig(u"Mixed"));
  list->Load(nullptr);
  list->SetKeywords({{u"error, fatal", 0x00FF0000, 1}, {u"x,y,z", 0xFF, 0}});
  list->SetMatchCase(true);
  ASSERT_TRUE(Save(*list.Get()));
  EXPECT_EQ(Lines("Mixed"),
            "D:\"Match Case\"=00000001\r\n"
            "Z:\"Keyword List V2\"=00000002\r\n"
            " \"error, fatal\",00ff0000,00000001\r\n"
            " \"x,y,z\",000000ff,00000000\r\n");
  VRef<HighlightConfig> again = db_.OpenKeywordList(u"Mixed");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->GetKeywordEntries(), list->GetKeywords());
  EXPECT_TRUE(again->GetMatchCase());
}

TEST_F(KeywordListTest, EntriesThatCannotBeReadAreSkippedReportedAndNeverLost) {
  WriteList("Odd",
            "Z:\"Keyword List V2\"=00000005\r\n"
            " no quote,000000ff,00000000\r\n"
            " \"good\",ff,0\r\n"
            " \"bad hex\",zz,00000000\r\n"
            " \"wide flag\",000000ff,00000100\r\n"
            " \"last\",00ff0000,00000002\r\n"
            "D:\"Match Case\"=00000001\r\n");
  std::string before = qtest::ReadFile(ListFile("Odd"));
  VRef<HighlightConfig> list = db_.OpenKeywordList(u"Odd");
  ASSERT_TRUE(list);
  EXPECT_EQ(Texts(*list.Get()), (std::vector<std::string>{"good", "last"}));
  ASSERT_EQ(list->GetUnreadableEntries().size(), 3u);
  std::vector<VUnicodeString> warnings = list->GetLoadWarnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].ToUtf8().find("'Odd'"), std::string::npos);
  EXPECT_NE(warnings[0].ToUtf8().find("\"bad hex\",zz,00000000"), std::string::npos);

  // Saved unchanged: the bytes stay as they were, short hexadecimal fields included.
  ASSERT_TRUE(Save(*list.Get()));
  EXPECT_EQ(qtest::ReadFile(ListFile("Odd")), before);

  // Changed: the readable entries in the current form, then the others as they were.
  std::vector<KeywordEntry> keywords = list->GetKeywords();
  keywords.push_back({u"new", 0xFF, 0});
  list->SetKeywords(keywords);
  ASSERT_TRUE(Save(*list.Get()));
  EXPECT_EQ(Lines("Odd"),
            "D:\"Match Case\"=00000001\r\n"
            "Z:\"Keyword List V2\"=00000006\r\n"
            " \"good\",000000ff,00000000\r\n"
            " \"last\",00ff0000,00000002\r\n"
            " \"new\",000000ff,00000000\r\n"
            " no quote,000000ff,00000000\r\n"
            " \"bad hex\",zz,00000000\r\n"
            " \"wide flag\",000000ff,00000100\r\n");
}

TEST_F(KeywordListTest, AListStoredAsAnotherKindIsKeptUntilItsKeywordsAreSet) {
  Put("Keywords\\Plain", false, {{u"Keyword List V2", u"just text"}});
  VRef<HighlightConfig> list = db_.OpenKeywordList(u"Plain");
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->GetKeywords().empty());
  ASSERT_EQ(list->GetLoadWarnings().size(), 1u);
  list->SetMatchCase(true);
  ASSERT_TRUE(Save(*list.Get()));
  EXPECT_EQ(Lines("Plain"), "S:\"Keyword List V2\"=just text\r\nD:\"Match Case\"=00000001\r\n");
  list->SetKeywords({{u"now", 0xFF, 0}});
  ASSERT_TRUE(Save(*list.Get()));
  EXPECT_EQ(Lines("Plain"),
            "D:\"Match Case\"=00000001\r\nZ:\"Keyword List V2\"=00000001\r\n \"now\",000000ff,00000000\r\n");
}

TEST_F(KeywordListTest, AnOlderListThatIsNotTextIsReportedAndLeftAsItIs) {
  WriteList("Number", "D:\"Keyword List\"=00000007\r\n");
  VRef<HighlightConfig> list = db_.OpenKeywordList(u"Number");
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->GetKeywords().empty());
  EXPECT_FALSE(list->ConvertedOlderList());
  std::vector<VUnicodeString> warnings = list->GetLoadWarnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].ToUtf8().find("'Keyword List'"), std::string::npos);
  list->SetKeywords({{u"new", 0xFF, 0}});
  ASSERT_TRUE(Save(*list.Get()));
  EXPECT_EQ(Lines("Number"),
            "D:\"Keyword List\"=00000007\r\nD:\"Match Case\"=00000000\r\n"
            "Z:\"Keyword List V2\"=00000001\r\n \"new\",000000ff,00000000\r\n");
}

TEST_F(KeywordListTest, TheSettingsFileKeepsListsAsTheFolderDoes) {
  UseXml();
  Put("Keywords\\Old", false, {{u"Keyword List", u"error warning fail"}});
  VRef<HighlightConfig> list = db_.OpenKeywordList(u"Old");
  ASSERT_TRUE(list);
  EXPECT_EQ(Texts(*list.Get()), (std::vector<std::string>{"error", "warning", "fail"}));
  list->SetKeywords({{u"a, b", 0x12345678, 0xFF}});
  ASSERT_TRUE(Save(*list.Get()));
  VRef<HighlightConfig> again = db_.OpenKeywordList(u"Old");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->GetKeywords(), list->GetKeywords());
  EXPECT_FALSE(again->ConvertedOlderList());
  std::string xml = qtest::ReadFile(XmlPath());
  EXPECT_NE(xml.find("a, b&quot;,12345678,000000ff<"), std::string::npos) << xml;
}

TEST_F(KeywordListTest, TheTextForNoListOpensNothingInEitherLanguage) {
  Put("Keywords\\(None)", false, {{u"Keyword List", u"a b"}});
  Put("Keywords\\(Aucune)", false, {{u"Keyword List", u"a b"}});
  Put("Keywords\\Real", false, {{u"Keyword List", u"a b"}});
  for (VLanguage language : {VLanguage::English, VLanguage::French}) {
    VSetMessageLanguage(language);
    EXPECT_FALSE(db_.OpenKeywordList(u"(None)"));
    EXPECT_FALSE(db_.OpenKeywordList(u"(Aucune)"));
    EXPECT_TRUE(db_.OpenKeywordList(u"Real"));
  }
  VResetMessageLanguage();
  EXPECT_TRUE(SessionDatabase::IsNoKeywordListName(u"(None)"));
  EXPECT_FALSE(SessionDatabase::IsNoKeywordListName(u"(none)"));
  EXPECT_FALSE(SessionDatabase::IsNoKeywordListName(u""));
  // A key without a list, a missing key and names that are no item open nothing either.
  Put("Keywords\\Empty", false, {{u"Match Case", u"1"}});
  EXPECT_FALSE(db_.OpenKeywordList(u"Empty"));
  EXPECT_FALSE(db_.OpenKeywordList(u"Missing"));
  EXPECT_FALSE(db_.OpenKeywordList(u""));
  EXPECT_FALSE(db_.OpenKeywordList(u"Keywords\\Real"));
}

TEST_F(KeywordListTest, CommitAndRevertCarryTheKeywordsWithTheValues) {
  VRef<HighlightConfig> list(new HighlightConfig(u"Edit"));
  list->Load(nullptr);
  list->SetKeywords({{u"one", 0xFF, 0}});
  EXPECT_TRUE(list->IsModified());
  list->DoRevert();
  EXPECT_TRUE(list->GetKeywords().empty());
  list->SetKeywords({{u"two", 0xFF, 0}});
  list->DoCommit();
  EXPECT_EQ(list->keywordList.Current().GetSize(), 1u);
  ASSERT_TRUE(Save(*list.Get()));
  VRef<HighlightConfig> again = db_.OpenKeywordList(u"Edit");
  ASSERT_TRUE(again);
  EXPECT_EQ(Texts(*again.Get()), (std::vector<std::string>{"two"}));
  // A copy takes the keywords that were changed in the other object.
  VRef<HighlightConfig> copy(new HighlightConfig(u"Copy"));
  copy->Load(nullptr);
  again->SetKeywords({{u"three", 1, 2}});
  copy->CopyValue(*again.Get());
  EXPECT_EQ(copy->GetKeywords(), again->GetKeywords());
}

}  // namespace
