// The XML settings file store: what reaches the file, and what reads back.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "key_entries.h"
#include "platform/win32_errors.h"
#include "storage/ini/ini_file_store.h"
#include "storage/xml/xml_file_key.h"
#include "storage/xml/xml_file_store.h"
#include "support/test_support.h"

namespace {

const std::string kHead =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Tolvane version=\"3.0\">\n";

// One store on a file, as callers make it: store first, keys inside it.
struct XmlStore {
  explicit XmlStore(const std::string& path, bool readOnly = false)
      : factory(U8(path)), store(readOnly, &factory) {}
  VProfileKey& Root() { return *store.GetRootKey(); }
  VXmlFileStoreFactory factory;
  VProfileStore store;
};

// A temporary folder and the settings file path in it, for every test here.
class XmlFileStoreTest : public ::testing::Test {
 protected:
  qtest::TempDir dir;
  std::string path = dir / "settings.xml";
};
using XmlFileStoreLayout = XmlFileStoreTest;
using XmlFileStoreValues = XmlFileStoreTest;
using XmlFileStoreKeys = XmlFileStoreTest;
using XmlFileStoreWriting = XmlFileStoreTest;
using XmlFileStoreInterface = XmlFileStoreTest;

TEST_F(XmlFileStoreLayout, NewFileHoldsDeclarationRootKeyAndString) {
  {
    XmlStore xml(path);
    VProfileKey global(xml.Root(), u"Global");
    EXPECT_TRUE(global.WriteString(u"Hostname", u"host1"));
  }
  EXPECT_EQ(qtest::ReadFile(path), kHead +
                                       "\t<key name=\"Global\">\n"
                                       "\t\t<string name=\"Hostname\">host1</string>\n"
                                       "\t</key>\n"
                                       "</Tolvane>\n");
}

TEST_F(XmlFileStoreLayout, ValuesWrittenOneAfterAnotherKeepTheirOwnNamesAndTexts) {
  // Long and short, ASCII and not, one after another through the same key: nothing of one
  // value's name or text is left in the next.
  {
    XmlStore xml(path);
    VProfileKey key(xml.Root(), u"K");
    VStringArray list;
    list.Add(u"caf\u00e9 \U0001F600");
    list.Add(u"x");
    EXPECT_TRUE(key.WriteString(u"A rather long value name", u"a rather long value text"));
    EXPECT_TRUE(key.WriteString(u"N\u00e4me", u"T\u00e9xt"));
    EXPECT_TRUE(key.WriteString(u"B", u"b"));
    EXPECT_TRUE(key.WriteMultiSz(u"L", list));
    EXPECT_TRUE(key.WriteDword(u"D", 7));
    EXPECT_TRUE(key.WriteString(u"B", u""));
  }
  EXPECT_EQ(qtest::ReadFile(path),
            kHead +
                "\t<key name=\"K\">\n"
                "\t\t<string name=\"A rather long value name\">a rather long value text</string>\n"
                "\t\t<string name=\"N\xC3\xA4me\">T\xC3\xA9xt</string>\n"
                "\t\t<string name=\"B\"/>\n"
                "\t\t<array name=\"L\">\n"
                "\t\t\t<string>caf\xC3\xA9 \xF0\x9F\x98\x80</string>\n"
                "\t\t\t<string>x</string>\n"
                "\t\t</array>\n"
                "\t\t<dword name=\"D\">7</dword>\n"
                "\t</key>\n"
                "</Tolvane>\n");
}

TEST_F(XmlFileStoreLayout, NumbersAreDecimalAndBytesAreLowerCaseHex) {
  const uint8_t bytes[] = {0x00, 0xAB};
  {
    XmlStore xml(path);
    EXPECT_TRUE(xml.Root().WriteBinary(u"Block", bytes, 2));
    EXPECT_TRUE(xml.Root().WriteDword(u"Delay", 250));
    EXPECT_TRUE(xml.Root().WriteDword(u"Max", 0xFFFFFFFFu));
    EXPECT_TRUE(xml.Root().WriteBinary(u"None", nullptr, 0));
  }
  EXPECT_EQ(qtest::ReadFile(path), kHead +
                                       "\t<binary name=\"Block\">00ab</binary>\n"
                                       "\t<dword name=\"Delay\">250</dword>\n"
                                       "\t<dword name=\"Max\">4294967295</dword>\n"
                                       "\t<binary name=\"None\"/>\n"
                                       "</Tolvane>\n");
  XmlStore xml(path);
  // The size alone; a buffer too small is refused untouched; a larger one takes the bytes.
  VDword size = 0;
  EXPECT_TRUE(xml.Root().ReadBinary(u"Block", nullptr, size));
  EXPECT_EQ(size, 2u);
  uint8_t small[1] = {9};
  size = 1;
  EXPECT_FALSE(xml.Root().ReadBinary(u"Block", small, size));
  EXPECT_EQ(small[0], 9);
  uint8_t read[4] = {};
  size = sizeof read;
  EXPECT_TRUE(xml.Root().ReadBinary(u"Block", read, size));
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(read[1], 0xAB);
  VDword number = 0;
  EXPECT_TRUE(xml.Root().ReadDword(u"Max", number));
  EXPECT_EQ(number, 0xFFFFFFFFu);
  size = 7;
  EXPECT_TRUE(xml.Root().ReadBinary(u"None", nullptr, size));
  EXPECT_EQ(size, 0u);
}

TEST_F(XmlFileStoreLayout, ListsHoldOneStringElementPerItem) {
  {
    XmlStore xml(path);
    EXPECT_TRUE(xml.Root().WriteMultiSz(u"Lines", VStringArray{u"one", u"", u"three"}));
    EXPECT_TRUE(xml.Root().WriteMultiSz(u"Empty", VStringArray{}));
  }
  EXPECT_EQ(qtest::ReadFile(path), kHead +
                                       "\t<array name=\"Lines\">\n"
                                       "\t\t<string>one</string>\n"
                                       "\t\t<string/>\n"
                                       "\t\t<string>three</string>\n"
                                       "\t</array>\n"
                                       "\t<array name=\"Empty\"/>\n"
                                       "</Tolvane>\n");
  XmlStore xml(path);
  VStringArray lines;
  EXPECT_TRUE(xml.Root().ReadMultiSz(u"Lines", lines));
  EXPECT_EQ(lines, (VStringArray{u"one", u"", u"three"}));
  VStringArray empty{u"stale"};
  EXPECT_TRUE(xml.Root().ReadMultiSz(u"Empty", empty));
  EXPECT_TRUE(empty.IsEmpty());
}

TEST_F(XmlFileStoreLayout, PathOpensNestedKeysAndCreatesThemOnDisk) {
  {
    XmlStore xml(path);
    VProfileKey host(xml.Root(), u"Sessions/Lab/host1", kProfileKeyCreate);
    EXPECT_TRUE(host.Flush());
  }
  EXPECT_EQ(qtest::ReadFile(path), kHead +
                                       "\t<key name=\"Sessions\">\n"
                                       "\t\t<key name=\"Lab\">\n"
                                       "\t\t\t<key name=\"host1\"/>\n"
                                       "\t\t</key>\n"
                                       "\t</key>\n"
                                       "</Tolvane>\n");
  XmlStore xml(path);
  EXPECT_TRUE(xml.Root().SubKeyExists(u"Sessions"));
  EXPECT_TRUE(xml.Root().SubKeyExists(u"Sessions\\Lab\\host1"));
  VProfileKey lab(xml.Root(), u"Sessions\\Lab");
  EXPECT_EQ(ListEntries(lab, false), (KeyEntries{{"host1", 4}}));
}

TEST_F(XmlFileStoreKeys, LookingAtMissingKeysAddsNothingToTheFile) {
  {
    XmlStore xml(path);
    VProfileKey global(xml.Root(), u"Global", kProfileKeyCreate);
    ASSERT_TRUE(global.WriteString(u"Hostname", u"h"));
  }
  const std::string before = qtest::ReadFile(path);
  {
    XmlStore xml(path);
    VProfileKey sessions(xml.Root(), u"Sessions");
    VProfileKey host(xml.Root(), u"Sessions/Lab/host1");
    VProfileKey below(sessions, u"Lab");  // a missing key under a missing key
    EXPECT_FALSE(xml.Root().SubKeyExists(u"Sessions"));
    EXPECT_FALSE(sessions.SubKeyExists(u"Lab"));
    VUnicodeString value;
    VDword number = 0;
    EXPECT_FALSE(host.ReadString(u"Hostname", value));
    EXPECT_FALSE(below.ReadDword(u"Is Session", number));
    EXPECT_FALSE(host.GetLastError().IsError());  // missing, not broken
    EXPECT_TRUE(ListEntries(sessions, false).empty());
    EXPECT_TRUE(ListEntries(below, true).empty());
    // Removing what is not there succeeds and makes nothing either.
    EXPECT_TRUE(below.DeleteValue(u"Hostname"));
    EXPECT_TRUE(sessions.DeleteSubKey(u"Lab"));
    // A value that is refused makes no key for it.
    EXPECT_FALSE(below.WriteString(u"", u"x"));
    EXPECT_FALSE(xml.Root().SubKeyExists(u"Sessions"));
    EXPECT_TRUE(host.Flush());
    EXPECT_TRUE(xml.Root().Flush());
    EXPECT_EQ(qtest::ReadFile(path), before);
    // A later change elsewhere writes the file without the keys that were only looked for.
    VProfileKey global(xml.Root(), u"Global");
    ASSERT_TRUE(global.WriteDword(u"Port", 22));
    EXPECT_TRUE(xml.Root().Flush());
  }
  EXPECT_EQ(qtest::ReadFile(path), kHead +
                                       "\t<key name=\"Global\">\n"
                                       "\t\t<string name=\"Hostname\">h</string>\n"
                                       "\t\t<dword name=\"Port\">22</dword>\n"
                                       "\t</key>\n"
                                       "</Tolvane>\n");
}

TEST_F(XmlFileStoreKeys, AKeyOpenedWithoutCreateIsMadeByItsFirstWrite) {
  {
    XmlStore xml(path);
    VProfileKey lab(xml.Root(), u"Sessions/Lab");
    VProfileKey host(lab, u"host1");
    VProfileKey other(xml.Root(), u"Sessions\\Lab\\host1");
    // The first write makes every missing level, once.
    ASSERT_TRUE(host.WriteString(u"Hostname", u"h1"));
    EXPECT_TRUE(xml.Root().SubKeyExists(u"Sessions/Lab/host1"));
    ASSERT_TRUE(host.WriteDword(u"Port", 22));
    // Handles opened before see the key made through another one, values and all.
    VUnicodeString value;
    EXPECT_TRUE(other.ReadString(u"Hostname", value));
    EXPECT_EQ(value, u"h1");
    EXPECT_EQ(ListEntries(lab, false), (KeyEntries{{"host1", 4}}));
    ASSERT_TRUE(other.WriteString(u"Username", u"ada"));
    // The create flag makes the key at once, and the levels of a missing parent with it.
    VProfileKey missing(xml.Root(), u"Made");
    VProfileKey made(missing, u"Below", kProfileKeyCreate);
    EXPECT_TRUE(xml.Root().SubKeyExists(u"Made\\Below"));
    EXPECT_TRUE(missing.SubKeyExists(u"Below"));
    EXPECT_TRUE(xml.Root().Flush());
  }
  EXPECT_EQ(qtest::ReadFile(path), kHead +
                                       "\t<key name=\"Sessions\">\n"
                                       "\t\t<key name=\"Lab\">\n"
                                       "\t\t\t<key name=\"host1\">\n"
                                       "\t\t\t\t<string name=\"Hostname\">h1</string>\n"
                                       "\t\t\t\t<dword name=\"Port\">22</dword>\n"
                                       "\t\t\t\t<string name=\"Username\">ada</string>\n"
                                       "\t\t\t</key>\n"
                                       "\t\t</key>\n"
                                       "\t</key>\n"
                                       "\t<key name=\"Made\">\n"
                                       "\t\t<key name=\"Below\"/>\n"
                                       "\t</key>\n"
                                       "</Tolvane>\n");
}

TEST_F(XmlFileStoreLayout, IterationFollowsTheOrderOfFirstWriting) {
  {
    XmlStore xml(path);
    EXPECT_TRUE(xml.Root().WriteString(u"A", u"1"));
    VProfileKey k(xml.Root(), u"K", kProfileKeyCreate);
    EXPECT_TRUE(xml.Root().WriteDword(u"B", 2));
    // Replacing a value keeps its place.
    EXPECT_TRUE(xml.Root().WriteString(u"A", u"again"));
  }
  XmlStore xml(path);
  EXPECT_EQ(ListEntries(xml.Root(), true), (KeyEntries{{"A", 1}, {"B", 0}}));
  EXPECT_EQ(ListEntries(xml.Root(), false), (KeyEntries{{"K", 4}}));
  VUnicodeString text;
  EXPECT_TRUE(xml.Root().ReadString(u"A", text));
  EXPECT_EQ(text, u"again");
}

TEST_F(XmlFileStoreValues, KindsAreSeparateValuesAndDeleteRemovesEveryKind) {
  XmlStore xml(path);
  VProfileKey& root = xml.Root();
  // Absent values leave the out-argument alone.
  VDword number = 42;
  VUnicodeString text(u"keep");
  VStringArray list{u"keep"};
  EXPECT_FALSE(root.ReadDword(u"X", number));
  EXPECT_FALSE(root.ReadString(u"X", text));
  EXPECT_FALSE(root.ReadMultiSz(u"X", list));
  EXPECT_EQ(number, 42u);
  EXPECT_EQ(text, u"keep");
  EXPECT_EQ(list, (VStringArray{u"keep"}));
  EXPECT_TRUE(root.WriteDword(u"X", 7));
  EXPECT_TRUE(root.WriteString(u"X", u"seven"));
  EXPECT_TRUE(root.ReadDword(u"X", number));
  EXPECT_EQ(number, 7u);
  EXPECT_TRUE(root.ReadString(u"X", text));
  EXPECT_EQ(text, u"seven");
  EXPECT_FALSE(root.ReadMultiSz(u"X", list));
  // Names compare exactly.
  EXPECT_FALSE(root.ReadString(u"x", text));
  EXPECT_TRUE(root.DeleteValue(u"X"));
  EXPECT_FALSE(root.ReadDword(u"X", number));
  EXPECT_FALSE(root.ReadString(u"X", text));
  EXPECT_TRUE(root.DeleteValue(u"never there"));
}

TEST_F(XmlFileStoreValues, TextsComeBackExactly) {
  const std::vector<std::u16string> texts = {
      u"", u"   ", u"\t", u"  leading", u"trailing  ", u"<tag attr=\"v\">&amp;</tag>",
      u"it's \"quoted\"", u"line one\nline two", u"crlf\r\nend", u"]]> outside CDATA",
      u"caf\u00e9 \u65e5\u672c \U0001F600", u"&unknown; &#65;"};
  {
    XmlStore xml(path);
    for (size_t i = 0; i < texts.size(); ++i) {
      std::u16string name = u"T" + vtext::FormatHex(static_cast<uint32_t>(i), 2);
      EXPECT_TRUE(xml.Root().WriteString(name.c_str(), texts[i].c_str()));
    }
    EXPECT_TRUE(xml.Root().WriteMultiSz(u"List", VStringArray{u" ", u"a&b", u""}));
    EXPECT_TRUE(xml.Root().WriteString(u"name with \"quote\" & 'apostrophe' <x>", u"v"));
  }
  XmlStore xml(path);
  for (size_t i = 0; i < texts.size(); ++i) {
    std::u16string name = u"T" + vtext::FormatHex(static_cast<uint32_t>(i), 2);
    VUnicodeString text(u"unchanged");
    EXPECT_TRUE(xml.Root().ReadString(name.c_str(), text));
    EXPECT_EQ(text, texts[i]) << i;
  }
  VStringArray list;
  EXPECT_TRUE(xml.Root().ReadMultiSz(u"List", list));
  EXPECT_EQ(list, (VStringArray{u" ", u"a&b", u""}));
  VUnicodeString text;
  EXPECT_TRUE(xml.Root().ReadString(u"name with \"quote\" & 'apostrophe' <x>", text));
}

TEST_F(XmlFileStoreValues, CharactersXmlCannotHoldAreRefusedWithAReason) {
  {
    XmlStore xml(path);
    EXPECT_FALSE(xml.Root().WriteString(u"Escape", u"\x1b[A"));
    EXPECT_EQ(xml.Root().GetLastError().GetMessageId(), kMsgXmlUnstorableChar);
    EXPECT_EQ(xml.Root().GetLastError().GetInserts()[1], u"001B");
    const char16_t lone[] = {u'a', 0xD800, 0};
    EXPECT_FALSE(xml.Root().WriteString(u"Lone", lone));
    EXPECT_FALSE(xml.Root().WriteString(lone, u"text"));
    EXPECT_FALSE(xml.Root().WriteMultiSz(u"List", VStringArray{u"ok", u"\x01"}));
    VProfileKey bad(xml.Root(), u"bad\x02name", kProfileKeyCreate);
    EXPECT_EQ(bad.GetLastError().GetMessageId(), kMsgXmlUnstorableChar);
    EXPECT_FALSE(bad.WriteString(u"a", u"b"));
    VReportMessageParams* error = nullptr;
    EXPECT_FALSE(xml.Root().ValidateSubKeyName(u"x\x03", &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->GetMessageId(), win32::kInvalidName);
    error->Release();
    // Tabs and line breaks are fine.
    EXPECT_TRUE(xml.Root().WriteString(u"Fine", u"a\tb\nc"));
  }
  std::string bytes = qtest::ReadFile(path);
  EXPECT_EQ(bytes.find("Escape"), std::string::npos);
  EXPECT_EQ(bytes.find("bad"), std::string::npos);
  EXPECT_NE(bytes.find("<string name=\"Fine\">a\tb\nc</string>"), std::string::npos);
}

TEST_F(XmlFileStoreKeys, DeletingAKeyRemovesItsTreeAndItsHandlesStopWorking) {
  {
    XmlStore xml(path);
    VProfileKey sessions(xml.Root(), u"Sessions", kProfileKeyCreate);
    VProfileKey host(sessions, u"Lab/host1", kProfileKeyCreate);
    ASSERT_TRUE(host.WriteString(u"Hostname", u"h"));
    EXPECT_TRUE(sessions.DeleteSubKey(u"Lab"));
    EXPECT_FALSE(sessions.SubKeyExists(u"Lab"));
    VUnicodeString text;
    EXPECT_FALSE(host.ReadString(u"Hostname", text));
    // A write through the handle of a deleted key would go nowhere: it fails instead.
    EXPECT_FALSE(host.WriteString(u"Hostname", u"again"));
    EXPECT_EQ(host.GetLastError().GetMessageId(), kMsgXmlKeyDeleted);
    EXPECT_TRUE(sessions.DeleteSubKey(u"not there"));
    EXPECT_TRUE(sessions.Flush());
  }
  EXPECT_EQ(qtest::ReadFile(path), kHead + "\t<key name=\"Sessions\"/>\n</Tolvane>\n");
}

TEST_F(XmlFileStoreKeys, KeysNestAsDeepAsTheFileCanBeReadBack) {
  std::u16string deepest;
  for (size_t i = 0; i < VXmlFileKey::kMaxDepth - 3; ++i) deepest += u"k/";
  {
    XmlStore xml(path);
    VProfileKey key(xml.Root(), deepest.c_str(), kProfileKeyCreate);
    EXPECT_TRUE(key.WriteMultiSz(u"List", VStringArray{u"item"}));
    VProfileKey tooDeep(key, u"one more", kProfileKeyCreate);
    EXPECT_EQ(tooDeep.GetLastError().GetMessageId(), kMsgXmlKeyTooDeep);
    EXPECT_FALSE(tooDeep.WriteString(u"a", u"b"));
    EXPECT_TRUE(key.Flush());
  }
  XmlStore xml(path);
  VProfileKey key(xml.Root(), deepest.c_str());
  VStringArray list;
  EXPECT_TRUE(key.ReadMultiSz(u"List", list));
  EXPECT_FALSE(xml.Root().GetLastError().IsError());
}

TEST_F(XmlFileStoreKeys, LargeFoldersFindTheFirstOfEachNameAfterChanges) {
  // A folder of many sessions, one of them twice (a hand edit), is looked up by an index.
  std::string file = "<Tolvane><key name=\"Sessions\">";
  for (int i = 0; i < 200; ++i) {
    file += "<key name=\"s" + std::to_string(i) + "\"><dword name=\"n\">" + std::to_string(i) +
            "</dword></key>";
  }
  file += "<key name=\"s7\"><dword name=\"n\">999</dword></key></key></Tolvane>";
  qtest::WriteFile(path, file);
  XmlStore xml(path);
  VProfileKey sessions(xml.Root(), u"Sessions");
  auto number = [&](const char16_t* name) -> long {
    if (!sessions.SubKeyExists(name)) return -1;
    VProfileKey key(sessions, name);
    VDword n = 0;
    return key.ReadDword(u"n", n) ? static_cast<long>(n) : -2;
  };
  EXPECT_EQ(number(u"s7"), 7);
  EXPECT_EQ(number(u"s199"), 199);
  EXPECT_EQ(number(u"s200"), -1);
  ASSERT_TRUE(sessions.DeleteSubKey(u"s7"));  // both of that name go
  EXPECT_EQ(number(u"s7"), -1);
  EXPECT_EQ(number(u"s8"), 8);
  {
    VProfileKey again(sessions, u"s7", kProfileKeyCreate);
    ASSERT_TRUE(again.WriteDword(u"n", 77));
  }
  {
    VProfileKey added(sessions, u"s200", kProfileKeyCreate);
    ASSERT_TRUE(added.WriteDword(u"n", 200));
  }
  EXPECT_EQ(number(u"s7"), 77);
  EXPECT_EQ(number(u"s200"), 200);
  // Many values in one key: replacing one keeps it in place, deleting one leaves the others.
  for (int i = 0; i < 100; ++i)
    ASSERT_TRUE(xml.Root().WriteDword((u"v" + vtext::FormatHex(i, 2)).c_str(), i));
  ASSERT_TRUE(xml.Root().WriteDword(u"v05", 500));
  ASSERT_TRUE(xml.Root().DeleteValue(u"v06"));
  VDword n = 0;
  EXPECT_TRUE(xml.Root().ReadDword(u"v05", n));
  EXPECT_EQ(n, 500u);
  EXPECT_FALSE(xml.Root().ReadDword(u"v06", n));
  EXPECT_TRUE(xml.Root().ReadDword(u"v07", n));
  // A value of another kind under the same name is a value of its own.
  ASSERT_TRUE(xml.Root().WriteString(u"v05", u"text"));
  VUnicodeString text;
  EXPECT_TRUE(xml.Root().ReadString(u"v05", text));
  EXPECT_EQ(text, VUnicodeString(u"text"));
  EXPECT_TRUE(xml.Root().ReadDword(u"v05", n));
  EXPECT_EQ(n, 500u);
  EXPECT_FALSE(xml.Root().ReadString(u"v07", text));
  ASSERT_TRUE(xml.Root().DeleteValue(u"v05"));  // both kinds go
  auto values = ListEntries(xml.Root(), true);
  ASSERT_EQ(values.size(), 98u);
  EXPECT_EQ(values[5].first, "v07");
}

TEST_F(XmlFileStoreWriting, TheLastHolderWritesAndTheStoreReadsTheFileWhenFirstUsed) {
  XmlStore first(path);
  auto key = std::make_unique<VProfileKey>(first.Root(), u"Global", kProfileKeyCreate);
  ASSERT_TRUE(key->WriteDword(u"Count", 1));
  key.reset();
  // The root still holds the document: nothing written yet.
  EXPECT_FALSE(qtest::Exists(path));
  ASSERT_TRUE(first.Root().Flush());
  XmlStore second(path);
  VProfileKey global(second.Root(), u"Global");
  VDword count = 0;
  EXPECT_TRUE(global.ReadDword(u"Count", count));
  EXPECT_EQ(count, 1u);
}

// Neither a store opened read-only nor a file without write permission is ever rewritten.
TEST_F(XmlFileStoreWriting, ReadOnlyStoresAndFilesAreNeverRewritten) {
  {
    XmlStore xml(path);
    ASSERT_TRUE(xml.Root().WriteString(u"Keep", u"me"));
  }
  const std::string before = qtest::ReadFile(path);
  {
    XmlStore xml(path, true);
    EXPECT_FALSE(xml.Root().CanWrite());
    VProfileKey created(xml.Root(), u"New", kProfileKeyCreate);
    EXPECT_TRUE(created.WriteString(u"a", u"b"));
    EXPECT_TRUE(xml.Root().DeleteValue(u"Keep"));
    VUnicodeString text;
    EXPECT_TRUE(created.ReadString(u"a", text));  // the change is there for this store...
    EXPECT_FALSE(created.Flush());                // ...and is refused for the file
    EXPECT_EQ(created.GetLastError().GetMessageId(), win32::kAccessDenied);
  }
  EXPECT_EQ(qtest::ReadFile(path), before);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  XmlStore xml(path);
  EXPECT_FALSE(xml.Root().CanWrite());
  EXPECT_TRUE(xml.Root().WriteString(u"Keep", u"changed"));
  EXPECT_FALSE(xml.Root().Flush());
  EXPECT_EQ(xml.Root().GetLastError().GetMessageId(), win32::kAccessDenied);
  EXPECT_EQ(qtest::ReadFile(path), before);
}

TEST_F(XmlFileStoreWriting, MissingFoldersAreCreatedAndAFileThatCannotBeWrittenIsReported) {
  {
    XmlStore xml(dir / "new/folder/settings.xml");
    ASSERT_TRUE(xml.Root().WriteString(u"a", u"b"));
    EXPECT_TRUE(xml.Root().Flush());
  }
  EXPECT_TRUE(qtest::Exists(dir / "new/folder/settings.xml"));
  qtest::WriteFile(dir / "plain", "not a folder");
  XmlStore xml(dir / "plain/settings.xml");
  EXPECT_TRUE(xml.Root().CanWrite());
  EXPECT_TRUE(xml.Root().WriteString(u"a", u"b"));
  EXPECT_FALSE(xml.Root().Flush());
  EXPECT_TRUE(xml.Root().GetLastError().IsError());
}

// Security cannot be applied to a file, a rewrite has nothing to do, every name a key can be
// given is valid, and access lists travel as lists.
TEST_F(XmlFileStoreInterface, OperationsWithoutMeaningHereAndAccessLists) {
  XmlStore xml(path);
  EXPECT_FALSE(xml.Root().ApplySecurity(VProfileSecurity()));
  EXPECT_TRUE(xml.Root().Rewrite());
  for (const char16_t* name : {u"CON", u"a.b", u"..", u"with space", u"x/y"}) {
    VReportMessageParams* error = nullptr;
    EXPECT_TRUE(xml.Root().ValidateSubKeyName(name, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->GetMessageId(), 0u);
    error->Release();
  }
  VProfileSecurity security({{0x1, u"read"}, {0x2, u"write"}});
  security.AddEntry({u"", u"alice", true, 0x3});
  security.AddEntry({u"corp", u"bob", false, 0x1});
  ASSERT_TRUE(xml.Root().WriteSecurity(u"Access", security));
  VProfileSecurity read({{0x1, u"read"}, {0x2, u"write"}});
  ASSERT_TRUE(xml.Root().ReadSecurity(u"Access", read));
  EXPECT_EQ(read.Entries(), security.Entries());
}

// A tree copied into a settings file and out again into another folder comes back byte for byte;
// an empty one makes nothing.
TEST_F(XmlFileStoreInterface, TreesCopyBetweenFolderAndFileStores) {
  VIniFileStoreFactory there(U8(dir / "config")), back(U8(dir / "back"));
  {
    VProfileStore ini(&there);
    VProfileKey sessions(*ini.GetRootKey(), u"Sessions", kProfileKeyCreate);
    VProfileKey host(sessions, u"host1", kProfileKeyCreate);
    const uint8_t block[] = {0xDE, 0xAD};
    // In the order a copy lists them, so that the files can be compared.
    ASSERT_TRUE(host.WriteBinary(u"Block", block, 2) && host.WriteString(u"Hostname", u"example") &&
                host.WriteDword(u"Port", 22) &&
                host.WriteMultiSz(u"Script", VStringArray{u"a", u"b"}));
  }
  {
    VProfileStore ini(true, &there);
    XmlStore xml(path);
    EXPECT_TRUE(CopyProfileKey(xml.Root(), *ini.GetRootKey()));
    EXPECT_TRUE(xml.Root().Flush());
  }
  {
    VProfileStore ini(&back);
    XmlStore xml(path, true);
    EXPECT_TRUE(CopyProfileKey(*ini.GetRootKey(), xml.Root()));
    // An empty key copies as nothing: no file, no folder.
    VProfileKey empty(*ini.GetRootKey(), u"Empty"), nowhere(*ini.GetRootKey(), u"Nowhere");
    EXPECT_TRUE(CopyProfileKey(nowhere, empty));
  }
  EXPECT_FALSE(qtest::Exists(dir / "back/Nowhere.ini") || qtest::Exists(dir / "back/Nowhere"));
  EXPECT_NE(qtest::ReadFile(path).find("<binary name=\"Block\">dead</binary>"),
            std::string::npos);
  EXPECT_EQ(qtest::ReadFile(dir / "back/Sessions/host1.ini"),
            qtest::ReadFile(dir / "config/Sessions/host1.ini"));
}

}  // namespace
