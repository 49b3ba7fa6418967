// The stored form of a keyword and the conversion of the older single-string list.
#include <gtest/gtest.h>

#include "config/highlight/keyword_entries.h"

namespace {

std::vector<std::string> Utf8(const VStringArray& list) {
  std::vector<std::string> out;
  for (const VUnicodeString& item : list) out.push_back(item.ToUtf8());
  return out;
}

TEST(KeywordEntries, ReadAndWrittenInTheQuotedFormWithEightHexDigits) {
  std::optional<KeywordEntry> entry = vkeywords::ParseEntry(u"\"error\",00ff00FF,00000003");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->text, u"error");
  EXPECT_EQ(entry->value, 0x00FF00FFu);
  EXPECT_EQ(entry->flags, 3);
  EXPECT_EQ(vkeywords::FormatEntry(*entry), u"\"error\",00ff00ff,00000003");
  // Fewer digits read as the number they write; the keyword runs to the next quote only.
  entry = vkeywords::ParseEntry(u"\"a, b\",ff,1");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->text, u"a, b");
  EXPECT_EQ(vkeywords::FormatEntry(*entry), u"\"a, b\",000000ff,00000001");
  EXPECT_EQ(vkeywords::ParseEntry(vkeywords::FormatEntry(*entry)), entry);
}

TEST(KeywordEntries, AnEntryThatCannotBeReadIsRefusedRatherThanGuessed) {
  for (const char16_t* bad :
       {u"", u"error,000000ff,00000000", u"\"error,000000ff,00000000", u"\"error\"",
        u"\"error\",", u"\"error\",000000ff", u"\"error\",000000ff,", u"\"error\",zz,00",
        u"\"error\",000000ff,0000000g", u"\"error\",000000ff,00000100", u"\"error\",1ffffffff,0",
        u"\"error\",ff,0,extra", u"\"error\" ,ff,0", u"\"error\",-1,0", u"\"error\", ff,0"}) {
    EXPECT_FALSE(vkeywords::ParseEntry(bad)) << VUnicodeString(bad).ToUtf8();
  }
}

TEST(KeywordEntries, OnlyKeywordsThatReadBackTheSameCanBeStored) {
  EXPECT_TRUE(vkeywords::IsStorableKeyword(u"a, b c"));
  EXPECT_TRUE(vkeywords::IsStorableKeyword(u"^ERR[0-9]+$"));
  for (const std::u16string& bad : {std::u16string(), std::u16string(u"say \"hi\""),
                                    std::u16string(u"two\nlines"), std::u16string(u"cr\r"),
                                    std::u16string(u"nul\0x", 5)})
    EXPECT_FALSE(vkeywords::IsStorableKeyword(bad));
}

TEST(KeywordEntries, TheOlderListOfWordsBecomesEntriesOfTheDefaultValue) {
  EXPECT_EQ(Utf8(vkeywords::ConvertOlderList(u"error warning fail")),
            (std::vector<std::string>{"\"error\",000000ff,00000000", "\"warning\",000000ff,00000000",
                                      "\"fail\",000000ff,00000000"}));
  // Runs of spaces make no empty keyword.
  EXPECT_EQ(Utf8(vkeywords::ConvertOlderList(u"  one   two ")),
            (std::vector<std::string>{"\"one\",000000ff,00000000", "\"two\",000000ff,00000000"}));
  EXPECT_TRUE(vkeywords::ConvertOlderList(u"").IsEmpty());
}

TEST(KeywordEntries, TheOlderListOfPairsKeepsEachValueAsWritten) {
  EXPECT_EQ(Utf8(vkeywords::ConvertOlderList(u"error,ff0000,warn ing, 00FF00")),
            (std::vector<std::string>{"\"error\",ff0000,00000000", "\"warn ing\",00FF00,00000000"}));
  // Not pairs of a keyword and a number: the text is words, commas and all.
  EXPECT_EQ(Utf8(vkeywords::ConvertOlderList(u"a,x")),
            (std::vector<std::string>{"\"a,x\",000000ff,00000000"}));
  EXPECT_EQ(Utf8(vkeywords::ConvertOlderList(u"a,b")),  // "b" is a hexadecimal value
            (std::vector<std::string>{"\"a\",b,00000000"}));
  EXPECT_EQ(Utf8(vkeywords::ConvertOlderList(u"a,ff,b")),
            (std::vector<std::string>{"\"a,ff,b\",000000ff,00000000"}));
  EXPECT_EQ(Utf8(vkeywords::ConvertOlderList(u",ff")),
            (std::vector<std::string>{"\",ff\",000000ff,00000000"}));
  // Every converted entry reads.
  for (const char16_t* older : {u"error,ff0000,warn, 00FF00", u"error warning fail"})
    for (const VUnicodeString& entry : vkeywords::ConvertOlderList(older))
      EXPECT_TRUE(vkeywords::ParseEntry(entry)) << entry.ToUtf8();
}

}  // namespace
