// Reading by a prepared name gives what reading by the name's text gives, in the INI store (which
// looks the prepared form up directly) and in the stores that read by the text; and a listing
// that leaves out a set of names leaves out exactly those, as spelt.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ini_folder.h"
#include "storage/ini/ini_value_map.h"
#include "storage/xml/xml_file_store.h"

namespace {

const char kLines[] =
    "D:\"Number\"=0000002a\r\n"
    "S:\"Text\"=first\r\n"
    "S:\"Gr\xC3\xBC\xC3\x9F" "e\"=caf\xC3\xA9\r\n"
    "S:\"A Name Long Enough To Hash Both Ends\"=long\r\n"
    "S:\"Text\"=second\r\n"  // a repeated name: the later value counts
    "D:\"As Text\"=00000001\r\n"
    "S:\"Number Too\"=7\r\n";

std::vector<std::u16string> Names() {
  return {u"Number", u"Text", u"Gr\u00fc\u00dfe", u"A Name Long Enough To Hash Both Ends",
          u"As Text", u"Number Too", u"number", u"TEXT", u"Absent", u""};
}

// Every name read both ways from `key`: the same answer and the same value.
void ExpectSameReads(const VProfileKey& key) {
  for (const std::u16string& text : Names()) {
    SCOPED_TRACE(vtext::ToUtf8(text));
    VPreparedName prepared{VUnicodeString(text)};
    VDword plainNumber = 99;
    VDword preparedNumber = 99;
    EXPECT_EQ(key.ReadDword(prepared, preparedNumber), key.ReadDword(text.c_str(), plainNumber));
    EXPECT_EQ(preparedNumber, plainNumber);
    VUnicodeString plainText(u"unchanged");
    VUnicodeString preparedText(u"unchanged");
    EXPECT_EQ(key.ReadString(prepared, preparedText), key.ReadString(text.c_str(), plainText));
    EXPECT_EQ(preparedText, plainText);
  }
}

TEST(PreparedNameReads, TheIniStoreAnswersAsByTheNamesText) {
  IniFolder folder;
  folder.WriteLines("Key", kLines);
  // Each way of reading first: before the file is read, and after.
  for (bool preparedFirst : {true, false}) {
    SCOPED_TRACE(preparedFirst);
    folder.WithKey(u"Key", [&](VProfileKey& key) {
      VDword number = 0;
      if (preparedFirst) {
        ASSERT_TRUE(key.ReadDword(VPreparedName(VUnicodeString(u"Number")), number));
      } else {
        ASSERT_TRUE(key.ReadDword(u"Number", number));
      }
      EXPECT_EQ(number, 42u);
      VUnicodeString text;
      ASSERT_TRUE(key.ReadString(VPreparedName(VUnicodeString(u"Text")), text));
      EXPECT_EQ(text, u"second");
      ExpectSameReads(key);
    });
  }
}

TEST(PreparedNameReads, TheValueMapFindsPreparedNamesAsSpelt) {
  VIniValueMap map;
  map.AddFile(kLines);
  VPreparedName wide{VUnicodeString(u"Gr\u00fc\u00dfe")};
  VUnicodeString text;
  ASSERT_TRUE(map.ReadString(wide.Utf8(), wide.Hash(), text));
  EXPECT_EQ(text, u"caf\u00e9");
  VPreparedName otherCase{VUnicodeString(u"TEXT")};
  EXPECT_FALSE(map.ReadString(otherCase.Utf8(), otherCase.Hash(), text));
  // A value stored after the file was read is found by its prepared name too.
  map.Store(u"Later", std::make_unique<VIniFileDataDword>(5));
  VPreparedName later{VUnicodeString(u"Later")};
  uint32_t number = 0;
  ASSERT_TRUE(map.ReadDword(later.Utf8(), later.Hash(), number));
  EXPECT_EQ(number, 5u);
  EXPECT_TRUE(map.Remove(u"Later"));
  EXPECT_FALSE(map.ReadDword(later.Utf8(), later.Hash(), number));
}

// The values of kLines written into a key of another store.
void WriteValues(VProfileKey& key) {
  ASSERT_TRUE(key.WriteDword(u"Number", 42));
  ASSERT_TRUE(key.WriteString(u"Text", u"second"));
  ASSERT_TRUE(key.WriteString(u"Gr\u00fc\u00dfe", u"caf\u00e9"));
  ASSERT_TRUE(key.WriteString(u"A Name Long Enough To Hash Both Ends", u"long"));
  ASSERT_TRUE(key.WriteDword(u"As Text", 1));
  ASSERT_TRUE(key.WriteString(u"Number Too", u"7"));
}

TEST(PreparedNameReads, StoresThatReadByTextAnswerTheSame) {
  qtest::TempDir dir;
  VXmlFileStoreFactory factory(U8(dir / "settings.xml"));
  {
    VProfileStore store(false, &factory);
    VProfileKey key(*store.GetRootKey(), u"Key", kProfileKeyCreate);
    WriteValues(key);
    ASSERT_TRUE(key.Flush());
  }
  VProfileStore store(true, &factory);
  VProfileKey key(*store.GetRootKey(), u"Key");
  VUnicodeString text;
  ASSERT_TRUE(key.ReadString(VPreparedName(VUnicodeString(u"Text")), text));
  EXPECT_EQ(text, u"second");
  ExpectSameReads(key);
}

std::vector<std::u16string> ListedExcept(const VProfileKey& key, const VValueNameSet& skip) {
  std::vector<std::u16string> names;
  key.ForEachValueNameExcept(skip, [&](const VUnicodeString& name, int) { names.push_back(name); });
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PreparedNameReads, AListingLeavesOutExactlyTheNamesOfTheSet) {
  // Names as spelt only: another spelling of a name in the set is listed.
  VValueNameSet skip(std::vector<VUnicodeString>{u"Number", u"Gr\u00fc\u00dfe", u"text",
                                                  u"A Name Long Enough To Hash Both Ends",
                                                  u"Not There"});
  EXPECT_TRUE(skip.Contains(u"Number"));
  EXPECT_FALSE(skip.Contains(u"number"));
  const std::vector<std::u16string> expected = {u"As Text", u"Number Too", u"Text"};
  IniFolder folder;
  folder.WriteLines("Key", kLines);
  folder.WithKey(u"Key", [&](VProfileKey& key) {
    EXPECT_EQ(ListedExcept(key, skip), expected);
    // An empty set leaves out nothing.
    EXPECT_EQ(ListedExcept(key, VValueNameSet()).size(), 6u);
  });
  // The stores without their own way filter their plain listing.
  qtest::TempDir dir;
  VXmlFileStoreFactory factory(U8(dir / "settings.xml"));
  VProfileStore store(false, &factory);
  VProfileKey key(*store.GetRootKey(), u"Key", kProfileKeyCreate);
  WriteValues(key);
  EXPECT_EQ(ListedExcept(key, skip), expected);
}

}  // namespace
