// Names the stores must handle soundly: the longest name a file system holds, names on disk that
// are not UTF-8, empty value names, value files that cannot be read, and expansions that would
// grow without bound.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "key_entries.h"
#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "storage/ini/ini_file_store.h"
#include "storage/model/store_messages.h"
#include "storage/registry/registry_key.h"
#include "storage/registry/registry_store.h"
#include "storage/registry_test_env.h"
#include "storage/xml/xml_file_store.h"
#include "support/test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<vfs::FolderEntry> entries;
  EXPECT_TRUE(vfs::ListFolder(folder, entries).ok());
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

class IniStore : public ::testing::Test {
 protected:
  qtest::TempDir dir;
  VIniFileStoreFactory factory{U8(dir.Path())};
};

// ---- the longest names ----

using IniNameLength = IniStore;

TEST_F(IniNameLength, EveryNameTheCheckPassesCanBeSavedAndTheNextIsRefused) {
  long limit = vfs::MaxNameLength(dir.Path());
  ASSERT_GT(limit, 40);
  // The value file adds ".ini"; the temporary file written first must not take more.
  const size_t longest = static_cast<size_t>(limit) - 4;
  for (size_t length : {longest - 18, longest - 17, longest - 1, longest}) {
    std::u16string name(length, u'n');
    VProfileStore store(false, &factory);
    VProfileKey& root = *store.GetRootKey();
    VReportMessageParams* error = nullptr;
    EXPECT_TRUE(root.ValidateSubKeyName(name.c_str(), &error)) << length;
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->GetMessageId(), 0u);
    error->Release();
    VProfileKey key(root, name.c_str(), kProfileKeyCreate);
    ASSERT_TRUE(key.WriteString(u"V", u"kept"));
    ASSERT_TRUE(key.Flush()) << length << ": " << key.GetLastError().GetTextOneLineTrimmed().ToUtf8();
    EXPECT_EQ(qtest::ReadFile(dir / (std::string(length, 'n') + ".ini")), kBom + "S:\"V\"=kept\r\n");
    // A rewrite goes through a temporary file too, and leaves none behind.
    ASSERT_TRUE(key.WriteString(u"V", u"again"));
    ASSERT_TRUE(key.Flush());
  }
  for (const std::string& name : FolderNames(dir.Path()))
    EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;

  std::u16string tooLong(longest + 1, u'n');
  VProfileStore store(true, &factory);
  VReportMessageParams* error = nullptr;
  EXPECT_FALSE(store.GetRootKey()->ValidateSubKeyName(tooLong.c_str(), &error));
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->GetMessageId(), win32::kFilenameExcedRange);
  error->Release();
}

TEST(RegistryNameLength, TheLongestNameTheCheckPassesCanBeSaved) {
  RegistryTestEnv env;
  qtest::MakeDirs(env.User("SOFTWARE"));
  long limit = vfs::MaxNameLength(env.User("SOFTWARE"));
  ASSERT_GT(limit, 40);
  std::u16string name(static_cast<size_t>(limit) - 4, u'r');
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE");
  VProfileStore store(false, &factory);
  VProfileKey& root = *store.GetRootKey();
  VReportMessageParams* error = nullptr;
  EXPECT_TRUE(root.ValidateSubKeyName(name.c_str(), &error));
  if (error) error->Release();
  VProfileKey key(root, name.c_str(), kProfileKeyCreate);
  ASSERT_TRUE(key.WriteString(u"V", u"kept")) << key.GetLastError().GetTextOneLineTrimmed().ToUtf8();
  EXPECT_EQ(qtest::ReadFile(env.User("SOFTWARE/" + std::string(name.size(), 'r') + ".ini")),
            kBom + "S:\"V\"=kept\r\n");
  name.push_back(u'r');
  EXPECT_FALSE(root.ValidateSubKeyName(name.c_str(), &error));
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->GetMessageId(), win32::kFilenameExcedRange);
  error->Release();
}

TEST(TemporaryNames, ALongNameIsReplacedWithoutTemporaryFilesLeft) {
  qtest::TempDir dir;
  long limit = vfs::MaxNameLength(dir.Path());
  ASSERT_GT(limit, 40);
  // Multi-byte characters up to the limit: the shortened temporary name must not cut one.
  std::string name;
  while (name.size() + 2 <= static_cast<size_t>(limit)) name += "\xC3\xA9";
  std::string path = dir / name;
  VStatus written = vfs::ReplaceFileContents(path, "one");
  ASSERT_TRUE(written.ok()) << written.Code();
  written = vfs::ReplaceFileContents(path, "two");
  ASSERT_TRUE(written.ok()) << written.Code();
  EXPECT_EQ(qtest::ReadFile(path), "two");
  EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{name});
}

// ---- names on disk that are not UTF-8 ----

using IniDiskNames = IniStore;

TEST_F(IniDiskNames, NamesThatAreNotUtf8ListDistinctlyAndReachTheirOwnFiles) {
  qtest::WriteFile(dir / "caf\xE8.ini", kBom + "S:\"V\"=grave\r\n");
  qtest::WriteFile(dir / "caf\xE9.ini", kBom + "S:\"V\"=acute\r\n");
  qtest::MakeDirs(dir / "na\xEFve");
  VProfileStore store(false, &factory);
  VProfileKey& root = *store.GetRootKey();
  // Each stray byte reads as its Windows-1252 character, so different names stay different.
  KeyEntries listed = ListEntries(root, false);
  EXPECT_EQ(listed, (KeyEntries{{"caf\xC3\xA8", kProfileTypeFileKey},
                                {"caf\xC3\xA9", kProfileTypeFileKey},
                                {"na\xC3\xAFve", kProfileTypeFolderKey}}));
  VUnicodeString value;
  {
    VProfileKey grave(root, u"caf\u00E8");
    ASSERT_TRUE(grave.ReadString(u"V", value));
    EXPECT_EQ(value, u"grave");
    VProfileKey acute(root, u"caf\u00E9");
    ASSERT_TRUE(acute.ReadString(u"V", value));
    EXPECT_EQ(value, u"acute");
    // Writing through the listed name changes the file that is there, not a new one.
    ASSERT_TRUE(acute.WriteString(u"W", u"added"));
    ASSERT_TRUE(acute.Flush());
  }
  EXPECT_EQ(qtest::ReadFile(dir / "caf\xE9.ini"), kBom + "S:\"V\"=acute\r\nS:\"W\"=added\r\n");
  EXPECT_EQ(qtest::ReadFile(dir / "caf\xE8.ini"), kBom + "S:\"V\"=grave\r\n");
  EXPECT_FALSE(qtest::Exists(dir / "caf\xC3\xA9.ini"));
  EXPECT_TRUE(root.SubKeyExists(u"na\u00EFve"));
  EXPECT_TRUE(root.SubKeyExists(u"CAF\u00C9"));  // as any key, without regard to case
  // Deleting one leaves the other.
  ASSERT_TRUE(root.DeleteSubKey(u"caf\u00E8"));
  EXPECT_FALSE(qtest::Exists(dir / "caf\xE8.ini"));
  EXPECT_TRUE(qtest::Exists(dir / "caf\xE9.ini"));
}

TEST_F(IniDiskNames, ANameThatReadsAsAnotherEntrysUtf8NameIsStillItsOwnKey) {
  // "caf\xE9" reads as "café", which the next file spells in UTF-8.
  qtest::WriteFile(dir / "caf\xE9.ini", kBom + "S:\"V\"=stray\r\n");
  qtest::WriteFile(dir / "caf\xC3\xA9.ini", kBom + "S:\"V\"=utf8\r\n");
  VProfileStore store(true, &factory);
  VProfileKey& root = *store.GetRootKey();
  KeyEntries listed = ListEntries(root, false);
  ASSERT_EQ(listed.size(), 2u);
  std::u16string stray = u"caf\uF7E9";  // the byte 0xE9 as a private-use character
  VUnicodeString value;
  VProfileKey utf8(root, u"caf\u00E9");
  ASSERT_TRUE(utf8.ReadString(u"V", value));
  EXPECT_EQ(value, u"utf8");
  VProfileKey other(root, stray.c_str());
  ASSERT_TRUE(other.ReadString(u"V", value));
  EXPECT_EQ(value, u"stray");
  // Both listed names reach a key, each its own.
  std::vector<std::string> values;
  for (const auto& [name, type] : listed) {
    VProfileKey key(root, VUnicodeString::FromUtf8(name).c_str());
    ASSERT_TRUE(key.ReadString(u"V", value)) << name;
    values.push_back(value.ToUtf8());
  }
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::string>{"stray", "utf8"}));
}

TEST(RegistryDiskNames, NamesThatAreNotUtf8ListDistinctlyAndReachTheirOwnFiles) {
  RegistryTestEnv env;
  qtest::WriteFile(env.User("SOFTWARE/caf\xE8.ini"), kBom + "S:\"V\"=grave\r\n");
  qtest::WriteFile(env.User("SOFTWARE/caf\xE9.ini"), kBom + "S:\"V\"=acute\r\n");
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE");
  VProfileStore store(true, &factory);
  VProfileKey& root = *store.GetRootKey();
  EXPECT_EQ(ListEntries(root, false), (KeyEntries{{"caf\xC3\xA8", kProfileTypeXmlKey},
                                                  {"caf\xC3\xA9", kProfileTypeXmlKey}}));
  VUnicodeString value;
  VProfileKey acute(root, u"caf\u00E9");
  ASSERT_TRUE(acute.ReadString(u"V", value));
  EXPECT_EQ(value, u"acute");
}

// ---- empty value names ----

TEST(XmlValueNames, AnEmptyValueNameIsRefusedAsItCouldNeverBeReadBack) {
  qtest::TempDir dir;
  std::string path = dir / "settings.xml";
  VXmlFileStoreFactory factory(U8(path));
  {
    VProfileStore store(false, &factory);
    VProfileKey key(*store.GetRootKey(), u"K", kProfileKeyCreate);
    ASSERT_TRUE(key.WriteString(u"Kept", u"1"));
    EXPECT_FALSE(key.WriteString(u"", u"x"));
    EXPECT_EQ(key.GetLastError().GetMessageId(), win32::kInvalidName);
    EXPECT_FALSE(key.WriteDword(u"", 1));
    EXPECT_EQ(key.GetLastError().GetMessageId(), win32::kInvalidName);
    EXPECT_FALSE(key.WriteMultiSz(u"", VStringArray{u"a"}));
    EXPECT_EQ(key.GetLastError().GetMessageId(), win32::kInvalidName);
    const uint8_t byte = 1;
    EXPECT_FALSE(key.WriteBinary(u"", &byte, 1));
    EXPECT_EQ(key.GetLastError().GetMessageId(), win32::kInvalidName);
  }
  std::string file = qtest::ReadFile(path);
  EXPECT_NE(file.find("<string name=\"Kept\">1</string>"), std::string::npos) << file;
  EXPECT_EQ(file.find("name=\"\""), std::string::npos) << file;
}

// ---- value files that cannot be read ----

using IniUnreadable = IniStore;

TEST_F(IniUnreadable, AValueFileThatCannotBeReadIsReportedAndNeverReplaced) {
  // A folder where the value file should be cannot be read, whoever runs the test.
  qtest::MakeDirs(dir / "Global.ini");
  VProfileStore store(false, &factory);
  VProfileKey key(*store.GetRootKey(), u"Global");
  VDword number = 0;
  EXPECT_FALSE(key.ReadDword(u"Any", number));
  EXPECT_EQ(key.GetLastError().GetMessageId(), kMsgValueFileUnreadable);
  std::string text = key.GetLastError().GetTextOneLineTrimmed().ToUtf8();
  EXPECT_NE(text.find(dir / "Global.ini"), std::string::npos) << text;
  // The key's values are unknown, so it will not write what would replace them.
  EXPECT_TRUE(key.WriteDword(u"Any", 1));
  EXPECT_FALSE(key.Flush());
  EXPECT_EQ(key.GetLastError().GetMessageId(), kMsgValueFileUnreadable);
  EXPECT_TRUE(vfs::IsDirectory(dir / "Global.ini"));
}

// Whether a key is a session is answered by its value file being there; its values, which cannot
// be read, are reported when they are asked for.
TEST_F(IniUnreadable, AKeyWhoseFileCannotBeReadIsASessionWhoseValuesAreReported) {
  ASSERT_EQ(mkfifo((dir / "Pipe.ini").c_str(), 0644), 0);
  VProfileStore store(true, &factory);
  VProfileKey key(*store.GetRootKey(), u"Pipe");
  VDword isSession = 0;
  EXPECT_TRUE(key.ReadDword(u"Is Session", isSession));
  EXPECT_EQ(isSession, 1u);
  EXPECT_NE(key.GetLastError().GetMessageId(), kMsgValueFileUnreadable);
  key.GetLastError().Reset(0);
  VDword number = 0;
  EXPECT_FALSE(key.ReadDword(u"Any", number));
  EXPECT_EQ(key.GetLastError().GetMessageId(), kMsgValueFileUnreadable);
}

TEST_F(IniUnreadable, AKeyWhoseNameIsTooLongForAFileIsMissingNotUnreadable) {
  std::u16string name(static_cast<size_t>(vfs::MaxNameLength(dir.Path())) + 1, u'n');
  VProfileStore store(true, &factory);
  VProfileKey key(*store.GetRootKey(), name.c_str());
  VDword number = 0;
  EXPECT_FALSE(key.ReadDword(u"Any", number));
  EXPECT_NE(key.GetLastError().GetMessageId(), kMsgValueFileUnreadable);
}

TEST_F(IniUnreadable, AFileWithoutReadPermissionIsReportedAndKeptWhole) {
  const std::string original = kBom + "S:\"Host\"=h1\r\nD:\"Port\"=00000016\r\n";
  qtest::WriteFile(dir / "Sessions/r1.ini", original);
  // Readable by nobody, writable by its owner: a write would replace the settings with the
  // changes alone.
  ASSERT_EQ(chmod((dir / "Sessions/r1.ini").c_str(), 0200), 0);
  ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
  ASSERT_EQ(chmod((dir / "Sessions").c_str(), 0777), 0);
  // Root reads any file, so the check runs in a process of another user then, which owns it.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0) {
      if (chown((dir / "Sessions/r1.ini").c_str(), 65534, 65534) != 0) _exit(10);
      if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0) _exit(11);
    }
    VIniFileStoreFactory childFactory(U8(dir.Path()));
    VProfileStore store(false, &childFactory);
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    VProfileKey key(sessions, u"r1");
    VUnicodeString host;
    if (key.ReadString(u"Host", host)) _exit(12);
    if (key.GetLastError().GetMessageId() != kMsgValueFileUnreadable) _exit(13);
    if (!key.WriteString(u"Host", u"h2")) _exit(14);
    if (key.Flush()) _exit(15);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  ASSERT_EQ(chmod((dir / "Sessions/r1.ini").c_str(), 0600), 0);
  EXPECT_EQ(qtest::ReadFile(dir / "Sessions/r1.ini"), original);
}

// ---- expandable strings ----

class RegistryExpansion : public ::testing::Test {
 protected:
  RegistryTestEnv env;
  VRegistryStoreFactory factory{VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane"};
  qtest::ScopedEnv big{"QTEST_EXPAND_BIG", std::string(1000, 'x')};

  // An expandable string of `count` references to the 1,000-character variable.
  void WriteReferences(const std::string& name, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "%QTEST_EXPAND_BIG%";
    lines_ += "E:\"" + name + "\"=" + text + "\r\n";
    qtest::WriteFile(env.User("SOFTWARE/Tolvane.ini"), kBom + lines_);
  }

 private:
  std::string lines_;
};

TEST_F(RegistryExpansion, AnExpansionPastTheLimitIsRefusedWithTheReason) {
  WriteReferences("Fits", 32);       // 32,000 characters
  WriteReferences("TooLong", 33);    // 33,000
  WriteReferences("Huge", 50000);    // would be fifty million
  VProfileStore store(true, &factory);
  VProfileKey& root = *store.GetRootKey();
  VUnicodeString value;
  ASSERT_TRUE(root.ReadString(u"Fits", value));
  EXPECT_EQ(value.size(), 32000u);
  for (const char16_t* name : {u"TooLong", u"Huge"}) {
    EXPECT_FALSE(root.ReadString(name, value));
    EXPECT_EQ(root.GetLastError().GetMessageId(), kMsgRegistryExpansionTooLong);
    std::string text = root.GetLastError().GetTextOneLineTrimmed().ToUtf8();
    EXPECT_NE(text.find("32767"), std::string::npos) << text;
  }
}

TEST_F(RegistryExpansion, AStoredTextLongerThanTheLimitStillReadsAsStored) {
  std::string stored(40000, 'a');
  qtest::WriteFile(env.User("SOFTWARE/Tolvane.ini"), kBom + "E:\"Long\"=" + stored + "\r\n");
  VProfileStore store(true, &factory);
  VUnicodeString value;
  ASSERT_TRUE(store.GetRootKey()->ReadString(u"Long", value));
  EXPECT_EQ(value.ToUtf8(), stored);
}

}  // namespace
