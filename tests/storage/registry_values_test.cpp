// Values of the registry store: what reaches the disk, when, and how each kind reads back.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <thread>

#include "key_entries.h"
#include "platform/win32_errors.h"
#include "storage/ini/ini_entry_scan.h"
#include "storage/registry/registry_store.h"
#include "storage/registry_test_env.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

// A hive pair of its own and a factory on the user's SOFTWARE\Tolvane, for every test here.
class RegistryValues : public ::testing::Test {
 protected:
  RegistryTestEnv env;
  VRegistryStoreFactory factory{VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane"};
};

TEST_F(RegistryValues, WrittenValueFileHasTheIniLineFormat) {
  VProfileStore store(&factory);
  VProfileKey karvell(*store.GetRootKey(), u"Karvell", kProfileKeyCreate);
  ASSERT_TRUE(karvell.WriteString(u"Config Path", u"/home/ada/cfg"));
  ASSERT_TRUE(karvell.WriteDword(u"Flags", 250));
  const uint8_t bytes[] = {0x00, 0xab, 0xff};
  ASSERT_TRUE(karvell.WriteBinary(u"Blob", bytes, 3));
  ASSERT_TRUE(karvell.WriteMultiSz(u"List", VStringArray{u"one", u"two"}));
  EXPECT_EQ(qtest::ReadFile(env.User("SOFTWARE/Tolvane/Karvell.ini")),
            kBom +
                "S:\"Config Path\"=/home/ada/cfg\r\n"
                "D:\"Flags\"=000000fa\r\n"
                "B:\"Blob\"=00000003\r\n 00 ab ff\r\n"
                "Z:\"List\"=00000002\r\n one\r\n two\r\n");
  // The key's folder exists for its sub-keys; the user's hive is private to the user.
  struct stat st {};
  ASSERT_EQ(stat(env.User("SOFTWARE/Tolvane/Karvell").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(stat(env.User("SOFTWARE/Tolvane/Karvell.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(RegistryValues, EveryWriteIsVisibleToAnotherStoreAtOnce) {
  VProfileStore writer(&factory);
  VProfileKey key(*writer.GetRootKey(), u"Karvell", kProfileKeyCreate);

  auto readBack = [&](const char16_t* name, VUnicodeString& value) {
    VProfileStore reader(true, &factory);
    VProfileKey readerKey(*reader.GetRootKey(), u"Karvell");
    return readerKey.ReadString(name, value);
  };
  VUnicodeString value;
  ASSERT_TRUE(key.WriteString(u"Config Path", u"/a"));
  ASSERT_TRUE(readBack(u"Config Path", value));
  EXPECT_EQ(value, u"/a");
  ASSERT_TRUE(key.WriteString(u"Config Path", u"/b"));
  ASSERT_TRUE(readBack(u"Config Path", value));
  EXPECT_EQ(value, u"/b");
  ASSERT_TRUE(key.DeleteValue(u"Config Path"));
  EXPECT_FALSE(readBack(u"Config Path", value));

  // A handle that was open before the change sees it too: reads go to the disk.
  VProfileStore other(&factory);
  VProfileKey otherKey(*other.GetRootKey(), u"Karvell");
  ASSERT_TRUE(key.WriteDword(u"Count", 1));
  VDword count = 0;
  ASSERT_TRUE(otherKey.ReadDword(u"Count", count));
  EXPECT_EQ(count, 1u);
  ASSERT_TRUE(otherKey.WriteDword(u"Count", 2));
  ASSERT_TRUE(key.ReadDword(u"Count", count));
  EXPECT_EQ(count, 2u);
}

TEST_F(RegistryValues, WritersOfDifferentValuesNeverLoseEachOthersChanges) {
  {
    VProfileStore store(&factory);
    VProfileKey key(*store.GetRootKey(), u"Shared", kProfileKeyCreate);
  }
  auto writeMany = [&](const std::u16string& prefix) {
    VProfileStore store(&factory);
    VProfileKey key(*store.GetRootKey(), u"Shared");
    for (int i = 0; i < 40; ++i) {
      std::u16string name = prefix + vtext::FromUtf8(std::to_string(i));
      EXPECT_TRUE(key.WriteDword(name.c_str(), static_cast<VDword>(i))) << key.GetLastError().GetMessageId();
    }
  };
  std::thread first(writeMany, u"first ");
  std::thread second(writeMany, u"second ");
  first.join();
  second.join();
  VProfileStore store(true, &factory);
  VProfileKey key(*store.GetRootKey(), u"Shared");
  EXPECT_EQ(ListEntries(key, true).size(), 80u);
}

TEST_F(RegistryValues, ReadingAnotherKindFailsWithDataTypeMismatch) {
  VProfileStore store(&factory);
  VProfileKey& root = *store.GetRootKey();
  ASSERT_TRUE(root.WriteString(u"Text", u"12"));
  ASSERT_TRUE(root.WriteDword(u"Number", 12));

  VDword number = 99;
  EXPECT_FALSE(root.ReadDword(u"Text", number));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kDatatypeMismatch);
  EXPECT_EQ(number, 99u);

  VUnicodeString text = u"unchanged";
  EXPECT_FALSE(root.ReadString(u"Number", text));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kDatatypeMismatch);
  EXPECT_EQ(text, u"unchanged");

  VStringArray list;
  EXPECT_FALSE(root.ReadMultiSz(u"Text", list));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kDatatypeMismatch);
  VDword size = 0;
  EXPECT_FALSE(root.ReadBinary(u"Number", nullptr, size));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kDatatypeMismatch);

  // A missing value is a different failure, and a success clears the last error.
  EXPECT_FALSE(root.ReadDword(u"Absent", number));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kFileNotFound);
  EXPECT_TRUE(root.ReadDword(u"Number", number));
  EXPECT_EQ(root.GetLastError().GetMessageId(), 0u);
}

// The forms of reference themselves are the platform's; here: which kind expands, and when.
TEST_F(RegistryValues, ExpandableStringsAreStoredAsWrittenAndReadExpanded) {
  qtest::ScopedEnv home("QTEST_REG_HOME", "/home/ada"), unset("QTEST_REG_UNSET", nullptr);
  qtest::WriteFile(env.User("SOFTWARE/Tolvane.ini"),
                   kBom + "E:\"Read\"=%QTEST_REG_HOME%\\cfg and $QTEST_REG_UNSET\r\n"
                          "S:\"Plain\"=$QTEST_REG_HOME\r\n");
  VProfileStore store(&factory);
  auto* root = static_cast<VRegistryProfileKey*>(store.GetRootKey()->GetPrivateKey());
  VUnicodeString value;
  ASSERT_TRUE(root->ReadString(u"Read", value));
  EXPECT_EQ(value, u"/home/ada\\cfg and $QTEST_REG_UNSET");
  ASSERT_TRUE(root->ReadString(u"Plain", value));  // a plain string is never expanded
  EXPECT_EQ(value, u"$QTEST_REG_HOME");
  // The expandable kind lists as a string and is only a string.
  EXPECT_EQ(ListEntries(*store.GetRootKey(), true)[0], (KeyEntries::value_type{"Read", 1}));
  VDword number = 0;
  EXPECT_FALSE(store.GetRootKey()->ReadDword(u"Read", number));
  EXPECT_EQ(store.GetRootKey()->GetLastError().GetMessageId(), win32::kDatatypeMismatch);

  ASSERT_TRUE(root->Key().WriteExpandString(u"Data", u"${QTEST_REG_HOME}/data"));
  EXPECT_EQ(qtest::ReadFile(env.User("SOFTWARE/Tolvane.ini")),
            kBom + "E:\"Read\"=%QTEST_REG_HOME%\\cfg and $QTEST_REG_UNSET\r\n"
                   "S:\"Plain\"=$QTEST_REG_HOME\r\nE:\"Data\"=${QTEST_REG_HOME}/data\r\n");
  ASSERT_TRUE(root->ReadString(u"Data", value));
  EXPECT_EQ(value, u"/home/ada/data");
  // Writing a plain string over it makes it plain.
  ASSERT_TRUE(root->WriteString(u"Data", u"$HOME"));
  ASSERT_TRUE(root->ReadString(u"Data", value));
  EXPECT_EQ(value, u"$HOME");
}

TEST_F(RegistryValues, ValueNamesMatchWithoutRegardToCaseAndKeepTheirSpelling) {
  VProfileStore store(&factory);
  VProfileKey& root = *store.GetRootKey();
  ASSERT_TRUE(root.WriteString(u"Hostname", u"a"));
  ASSERT_TRUE(root.WriteString(u"HOSTNAME", u"b"));
  VUnicodeString value;
  ASSERT_TRUE(root.ReadString(u"hostname", value));
  EXPECT_EQ(value, u"b");
  EXPECT_EQ(qtest::ReadFile(env.User("SOFTWARE/Tolvane.ini")), kBom + "S:\"Hostname\"=b\r\n");
  ASSERT_TRUE(root.DeleteValue(u"hostNAME"));
  EXPECT_FALSE(root.ReadString(u"Hostname", value));
  // Deleting what is not there fails and writes nothing.
  EXPECT_FALSE(root.DeleteValue(u"Hostname"));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kFileNotFound);
}

TEST_F(RegistryValues, BinaryAndListEdgeCases) {
  VProfileStore store(&factory);
  VProfileKey& root = *store.GetRootKey();
  const uint8_t bytes[4] = {1, 2, 3, 4};
  ASSERT_TRUE(root.WriteBinary(u"Block", bytes, 4));
  VDword size = 0;
  ASSERT_TRUE(root.ReadBinary(u"Block", nullptr, size));
  EXPECT_EQ(size, 4u);
  uint8_t small[3] = {};
  size = 3;
  EXPECT_FALSE(root.ReadBinary(u"Block", small, size));
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kMoreData);
  ASSERT_TRUE(root.WriteMultiSz(u"Empty", VStringArray()));
  VStringArray list{u"x"};
  ASSERT_TRUE(root.ReadMultiSz(u"Empty", list));
  EXPECT_TRUE(list.IsEmpty());
  // Texts the line format cannot hold are refused, and the file is left as it was.
  std::string before = qtest::ReadFile(env.User("SOFTWARE/Tolvane.ini"));
  EXPECT_FALSE(root.WriteString(u"Two lines", u"a\nb"));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kInvalidData);
  EXPECT_FALSE(root.WriteString(u"Quote\"d", u"a"));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kInvalidName);
  EXPECT_FALSE(root.WriteMultiSz(u"List", VStringArray{u"ok", u"not\rok"}));
  EXPECT_EQ(qtest::ReadFile(env.User("SOFTWARE/Tolvane.ini")), before);
}

TEST_F(RegistryValues, TextAfterADamagedLineSurvivesWrites) {
  qtest::WriteFile(env.User("SOFTWARE/Tolvane.ini"),
                   kBom + "S:\"A\"=1\r\n\r\nS:\"Hidden\"=2\r\nnot an entry\r\n");
  VProfileStore store(&factory);
  VProfileKey& root = *store.GetRootKey();
  VUnicodeString value;
  EXPECT_FALSE(root.ReadString(u"Hidden", value));  // a blank line ends what is read
  ASSERT_TRUE(root.WriteString(u"B", u"3"));
  ASSERT_TRUE(root.WriteString(u"C", u"4"));
  EXPECT_EQ(qtest::ReadFile(env.User("SOFTWARE/Tolvane.ini")),
            kBom + "S:\"A\"=1\r\nS:\"B\"=3\r\nS:\"C\"=4\r\n\r\nS:\"Hidden\"=2\r\nnot an entry\r\n");
}

TEST_F(RegistryValues, ValueFilesInOtherEncodingsAreReadAndRewrittenAsUtf8) {
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("S:\"Name\"=caf\xE9\r\n")) {
    utf16.push_back(c);
    utf16.push_back('\0');
  }
  qtest::WriteFile(env.User("SOFTWARE/Tolvane.ini"), utf16);
  VProfileStore store(&factory);
  VProfileKey& root = *store.GetRootKey();
  VUnicodeString value;
  ASSERT_TRUE(root.ReadString(u"Name", value));
  EXPECT_EQ(value, u"caf\u00e9");
  ASSERT_TRUE(root.WriteDword(u"N", 1));
  EXPECT_EQ(qtest::ReadFile(env.User("SOFTWARE/Tolvane.ini")),
            kBom + "S:\"Name\"=caf\xC3\xA9\r\nD:\"N\"=00000001\r\n");
}

TEST_F(RegistryValues, IniStoreDoesNotTakeExpandableLines) {
  // The "E" kind belongs to the registry: an INI value file stops reading at such a line.
  const std::string bytes = kBom + "S:\"A\"=1\r\nE:\"B\"=$HOME\r\nS:\"C\"=3\r\n";
  size_t count = 0;
  std::string converted;
  std::string_view text = VIniTextAsUtf8(bytes, converted);
  size_t stop = VScanIniEntries(text, [&](const VIniRawEntry&) { ++count; });
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(text.substr(stop, 4), "E:\"B");
  count = 0;
  stop = VScanIniEntries(text, [&](const VIniRawEntry&) { ++count; }, VIniLineKinds::Registry);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(stop, text.size());
}

}  // namespace
