// The INI folder store against real folders: file bytes, encodings, personal data, iteration.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "key_entries.h"
#include "storage/ini/ini_file_key.h"
#include "storage/ini/ini_file_store.h"
#include "support/test_support.h"

namespace {

using qtest::ReadFile;
using qtest::TempDir;
using qtest::WriteFile;

const std::string kBom = "\xEF\xBB\xBF";

struct Store {
  explicit Store(const std::string& folder, const std::string& personal = "", bool readOnly = false)
      : factory(U8(folder), U8(personal)), store(readOnly, &factory) {}
  VProfileKey& Root() { return *store.GetRootKey(); }
  VIniFileStoreFactory factory;
  VProfileStore store;
};

class IniFileStore : public ::testing::Test {
 protected:
  TempDir dir;
};

TEST_F(IniFileStore, KeyWithoutChangesLeavesNoFile) {
  {
    Store s(dir / "cfg");
    VProfileKey key(s.Root(), u"Global");
    VDword value = 7;
    EXPECT_FALSE(key.ReadDword(u"Anything", value));
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(s.Root().SubKeyExists(u"Global"));
  }
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Global.ini"));
  EXPECT_FALSE(qtest::Exists(dir / "cfg"));
}

TEST_F(IniFileStore, WritesTheExactBytesOfEachKind) {
  {
    Store s(dir / "cfg");
    VProfileKey key(s.Root(), u"Global");
    EXPECT_TRUE(key.WriteString(u"Hostname", u"host1"));
  }
  EXPECT_EQ(ReadFile(dir / "cfg/Global.ini"), kBom + "S:\"Hostname\"=host1\r\n");

  std::vector<uint8_t> bytes40(40), bytes32(32), bytes33(33);
  for (size_t i = 0; i < 40; ++i) bytes40[i] = static_cast<uint8_t>(i);
  {
    Store s(dir / "cfg");
    VProfileKey key(s.Root(), u"Kinds");
    key.WriteDword(u"Session Filter Delay", 250);
    key.WriteBinary(u"Forty", bytes40.data(), 40);
    key.WriteBinary(u"ThirtyTwo", bytes32.data(), 32);
    key.WriteBinary(u"ThirtyThree", bytes33.data(), 33);
    key.WriteBinary(u"Empty", nullptr, 0);
    key.WriteMultiSz(u"NoStrings", VStringArray());
    key.WriteMultiSz(u"Two", VStringArray{u"a b", u""});
    key.WriteString(u"Quote", u"say \"x=y\"");
  }
  std::string text = ReadFile(dir / "cfg/Kinds.ini");
  std::string zeros32;
  for (int i = 0; i < 32; ++i) zeros32 += " 00";
  std::string forty;
  for (int i = 0; i < 32; ++i) forty += " " + std::string(1, "0123456789abcdef"[i >> 4]) + "0123456789abcdef"[i & 15];
  // Lists are written after every other kind.
  EXPECT_EQ(text, kBom +
                      "D:\"Session Filter Delay\"=000000fa\r\n"
                      "B:\"Forty\"=00000028\r\n" + forty + "\r\n 20 21 22 23 24 25 26 27\r\n"
                      "B:\"ThirtyTwo\"=00000020\r\n" + zeros32 + "\r\n"
                      "B:\"ThirtyThree\"=00000021\r\n" + zeros32 + "\r\n 00\r\n"
                      "B:\"Empty\"=00000000\r\n"
                      "S:\"Quote\"=say \"x=y\"\r\n"
                      "Z:\"NoStrings\"=00000000\r\n"
                      "Z:\"Two\"=00000002\r\n a b\r\n \r\n");

  Store s(dir / "cfg");
  VProfileKey key(s.Root(), u"Kinds");
  VUnicodeString quote;
  EXPECT_TRUE(key.ReadString(u"Quote", quote));
  EXPECT_EQ(quote, u"say \"x=y\"");
  VStringArray list{u"stale"};
  EXPECT_TRUE(key.ReadMultiSz(u"NoStrings", list));
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_TRUE(key.ReadMultiSz(u"Two", list));
  EXPECT_EQ(list, (VStringArray{u"a b", u""}));
  VDword size = 0;
  EXPECT_TRUE(key.ReadBinary(u"Forty", nullptr, size));
  EXPECT_EQ(size, 40u);
  std::vector<uint8_t> back(40);
  VDword small = 39;
  EXPECT_FALSE(key.ReadBinary(u"Forty", back.data(), small));
  EXPECT_EQ(small, 39u);
  EXPECT_TRUE(key.ReadBinary(u"Forty", back.data(), size));
  EXPECT_EQ(back, bytes40);
}

TEST_F(IniFileStore, ReadsUntilTheFirstBlankOrDamagedLine) {
  WriteFile(dir / "cfg/K.ini",
            "S:\"A\"=1\r\nS:\"B\"=2\r\nD:\"C\"=0000000A\r\n\r\nS:\"D\"=4\r\n");
  WriteFile(dir / "cfg/Damaged.ini", "S:\"A\"=1\nD:\"N\"=12\nS:\"B\"=2\n");
  WriteFile(dir / "cfg/Repeat.ini", "S:\"A\"=first\nS:\"B\"=b\nS:\"A\"=last\n");
  Store s(dir / "cfg", "", true);
  VProfileKey key(s.Root(), u"K");
  EXPECT_EQ(ListEntries(key, true), (KeyEntries{{"A", 1}, {"B", 1}, {"C", 0}}));
  VDword c = 0;
  EXPECT_TRUE(key.ReadDword(u"C", c));
  EXPECT_EQ(c, 10u);

  VProfileKey damaged(s.Root(), u"Damaged");
  VUnicodeString text;
  EXPECT_TRUE(damaged.ReadString(u"A", text));
  EXPECT_FALSE(damaged.ReadString(u"B", text));

  VProfileKey repeat(s.Root(), u"Repeat");
  EXPECT_TRUE(repeat.ReadString(u"A", text));
  EXPECT_EQ(text, u"last");
}

TEST_F(IniFileStore, ReadsEveryEncodingAndWritesUtf8WithMark) {
  std::u16string utf16 = u"S:\"Name\"=Caf\u00e9 \u263A\r\nD:\"N\"=00000001\r\n";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char16_t c : utf16) {
    le.push_back(static_cast<char>(c & 0xFF));
    le.push_back(static_cast<char>(c >> 8));
    be.push_back(static_cast<char>(c >> 8));
    be.push_back(static_cast<char>(c & 0xFF));
  }
  WriteFile(dir / "cfg/LE.ini", le);
  WriteFile(dir / "cfg/BE.ini", be);
  WriteFile(dir / "cfg/Utf8.ini", "S:\"Name\"=Caf\xC3\xA9 \xE2\x98\xBA\n");
  WriteFile(dir / "cfg/Ansi.ini", "S:\"Name\"=Caf\xE9 \x80\n");
  {
    Store s(dir / "cfg");
    for (const char16_t* keyName : {u"LE", u"BE", u"Utf8"}) {
      VProfileKey key(s.Root(), keyName);
      VUnicodeString value;
      ASSERT_TRUE(key.ReadString(u"Name", value));
      EXPECT_EQ(value, u"Caf\u00e9 \u263A");
    }
    VProfileKey ansi(s.Root(), u"Ansi");
    VUnicodeString value;
    ASSERT_TRUE(ansi.ReadString(u"Name", value));
    EXPECT_EQ(value, u"Caf\u00e9 \u20AC");
    VProfileKey le16(s.Root(), u"LE");
    le16.WriteDword(u"N", 2);
  }
  EXPECT_EQ(ReadFile(dir / "cfg/LE.ini"),
            kBom + "S:\"Name\"=Caf\xC3\xA9 \xE2\x98\xBA\r\nD:\"N\"=00000002\r\n");
}

TEST_F(IniFileStore, PersonalValuesLiveInThePersonalFolder) {
  {
    Store s(dir / "cfg", dir / "personal");
    VProfileKey sessions(s.Root(), u"Sessions");
    VProfileKey key(sessions, u"host1");
    key.WriteString(u"Password V2", u"02:secret");
    key.WriteString(u"Hostname", u"host1");
    key.WriteString(u"username", u"not personal: names are case-sensitive");
  }
  EXPECT_EQ(ReadFile(dir / "cfg/Sessions/host1.ini"),
            kBom + "S:\"Hostname\"=host1\r\nS:\"username\"=not personal: names are case-sensitive\r\n");
  EXPECT_EQ(ReadFile(dir / "personal/Sessions/host1.ini"), kBom + "S:\"Password V2\"=02:secret\r\n");
  {
    Store s(dir / "cfg", dir / "personal");
    VProfileKey sessions(s.Root(), u"Sessions");
    VProfileKey key(sessions, u"host1");
    VUnicodeString value;
    EXPECT_TRUE(key.ReadString(u"Password V2", value));
    EXPECT_EQ(value, u"02:secret");
    EXPECT_TRUE(key.ReadString(u"Hostname", value));
    EXPECT_FALSE(key.ReadString(u"hostname", value));
    // Deleting the only personal value must reach the personal file, or it would come back.
    EXPECT_TRUE(key.DeleteValue(u"Password V2"));
    EXPECT_FALSE(key.ReadString(u"Password V2", value));
  }
  EXPECT_EQ(ReadFile(dir / "personal/Sessions/host1.ini"), kBom);
  {
    // Without a personal folder everything goes to the main file.
    Store s(dir / "flat");
    VProfileKey key(s.Root(), u"host1");
    key.WriteString(u"Password V2", u"02:x");
    key.WriteString(u"Hostname", u"h");
  }
  EXPECT_EQ(ReadFile(dir / "flat/host1.ini"),
            kBom + "S:\"Password V2\"=02:x\r\nS:\"Hostname\"=h\r\n");
}

TEST_F(IniFileStore, RewriteAndMergeMovePersonalValuesBetweenFiles) {
  WriteFile(dir / "cfg/host1.ini", "S:\"Hostname\"=h\r\nS:\"Username\"=me\r\n");
  {
    // Separation switched on: Rewrite moves the personal value out of the main file.
    Store s(dir / "cfg", dir / "personal");
    VProfileKey key(s.Root(), u"host1");
    EXPECT_TRUE(key.Rewrite());
  }
  EXPECT_EQ(ReadFile(dir / "cfg/host1.ini"), kBom + "S:\"Hostname\"=h\r\n");
  EXPECT_EQ(ReadFile(dir / "personal/host1.ini"), kBom + "S:\"Username\"=me\r\n");
  {
    // Separation switched off: the personal values come back and the personal file goes.
    Store s(dir / "cfg");
    VProfileKey key(s.Root(), u"host1");
    key.MergePersonalData(U8(dir / "personal/host1").c_str());
    EXPECT_FALSE(key.GetLastError().IsError());
  }
  EXPECT_EQ(ReadFile(dir / "cfg/host1.ini"), kBom + "S:\"Hostname\"=h\r\nS:\"Username\"=me\r\n");
  EXPECT_FALSE(qtest::Exists(dir / "personal/host1.ini"));
}

TEST_F(IniFileStore, SubKeysMergeFoldersAndFilesWithoutRegardToCase) {
  qtest::MakeDirs(dir / "cfg/a");
  WriteFile(dir / "cfg/A.ini", "");
  WriteFile(dir / "cfg/b.txt", "");
  WriteFile(dir / "cfg/c.ini", "");
  WriteFile(dir / "cfg/.ini", "");
  qtest::MakeDirs(dir / "cfg/Z");
  Store s(dir / "cfg");
  KeyEntries seen = ListEntries(s.Root(), false);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen[0].first == "a" || seen[0].first == "A");
  EXPECT_EQ(seen[0].second, 7);
  EXPECT_EQ(seen[1], (KeyEntries::value_type{"c", 6}));
  EXPECT_EQ(seen[2], (KeyEntries::value_type{"Z", 5}));

  // A key copied from a case-insensitive system is found under another case.
  WriteFile(dir / "cfg/Sessions/Host1.INI", "S:\"Hostname\"=h\r\n");
  VProfileKey sessions(s.Root(), u"sessions");
  EXPECT_TRUE(s.Root().SubKeyExists(u"SESSIONS"));
  VProfileKey key(sessions, u"host1");
  VUnicodeString value;
  EXPECT_TRUE(key.ReadString(u"Hostname", value));
}

TEST_F(IniFileStore, ValueNamesDifferingInCaseAreBothListed) {
  Store s(dir / "cfg");
  VProfileKey key(s.Root(), u"K");
  key.WriteString(u"b", u"1");
  key.WriteString(u"Username", u"2");
  key.WriteString(u"username", u"3");
  key.WriteString(u"A", u"4");
  VProfileKeyIterator values(key, true);
  key.DeleteValue(u"b");  // deleted after the iterator was made: skipped
  std::vector<std::u16string> names;
  VUnicodeString name;
  while (values.Next(name)) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"A", u"Username", u"username"}));
}

TEST_F(IniFileStore, IsSessionIsAnsweredFromTheFileAlone) {
  // The file is not even valid: the answer must come from its existence.
  WriteFile(dir / "cfg/Sessions/s1.ini", "garbage");
  qtest::MakeDirs(dir / "cfg/Sessions/folder");
  Store s(dir / "cfg");
  VProfileKey sessions(s.Root(), u"Sessions");
  VProfileKey s1(sessions, u"s1");
  VDword isSession = 0;
  EXPECT_TRUE(s1.ReadDword(u"Is Session", isSession));
  EXPECT_EQ(isSession, 1u);
  VProfileKey folder(sessions, u"folder");
  EXPECT_FALSE(folder.ReadDword(u"Is Session", isSession));
}

TEST_F(IniFileStore, DeletesSubKeyTreesInBothFolders) {
  WriteFile(dir / "cfg/Sessions/Lab/host1.ini", "S:\"A\"=1\r\n");
  WriteFile(dir / "cfg/Sessions/Lab.ini", "S:\"A\"=1\r\n");
  WriteFile(dir / "personal/Sessions/Lab/host1.ini", "S:\"Password\"=p\r\n");
  WriteFile(dir / "cfg/Sessions/Other.ini", "S:\"A\"=1\r\n");
  Store s(dir / "cfg", dir / "personal");
  VProfileKey sessions(s.Root(), u"Sessions");
  EXPECT_TRUE(sessions.DeleteSubKey(u"Lab"));
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Sessions/Lab"));
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Sessions/Lab.ini"));
  EXPECT_FALSE(qtest::Exists(dir / "personal/Sessions/Lab"));
  EXPECT_TRUE(qtest::Exists(dir / "cfg/Sessions/Other.ini"));
  EXPECT_TRUE(sessions.DeleteSubKey(u"Nothing"));
}

TEST_F(IniFileStore, NamesThatLeaveTheFolderAreRefused) {
  WriteFile(dir / "outside.ini", "S:\"A\"=keep\r\n");
  qtest::MakeDirs(dir / "cfg/Sessions");
  {
    Store s(dir / "cfg");
    VProfileKey sessions(s.Root(), u"Sessions");
    for (const char16_t* bad : {u"..", u".", u"../../outside", u"a/b", u""}) {
      VProfileKey key(sessions, bad, kProfileKeyCreate);
      EXPECT_EQ(key.GetLastError().GetMessageId(), 123u);
      EXPECT_FALSE(key.WriteString(u"A", u"overwritten"));
      VUnicodeString value;
      EXPECT_FALSE(key.ReadString(u"A", value));
      EXPECT_FALSE(sessions.SubKeyExists(bad));
      EXPECT_FALSE(sessions.DeleteSubKey(bad));
      VReportMessageParams* error = nullptr;
      EXPECT_FALSE(sessions.ValidateSubKeyName(bad, &error));
      ASSERT_NE(error, nullptr);
      EXPECT_EQ(error->GetMessageId(), 123u);
      error->Release();
      VProfileKey deeper(key, u"x", kProfileKeyCreate);
      EXPECT_FALSE(deeper.WriteDword(u"x", 1));
    }
  }
  EXPECT_EQ(ReadFile(dir / "outside.ini"), "S:\"A\"=keep\r\n");
  EXPECT_TRUE(qtest::Exists(dir / "cfg/Sessions"));
}

TEST_F(IniFileStore, TextsThatWouldBreakTheFileAreRefused) {
  {
    Store s(dir / "cfg");
    VProfileKey key(s.Root(), u"K");
    EXPECT_TRUE(key.WriteString(u"Before", u"1"));
    EXPECT_FALSE(key.WriteString(u"Name", u"two\r\nlines"));
    EXPECT_EQ(key.GetLastError().GetMessageId(), 13u);
    EXPECT_FALSE(key.WriteString(u"Bad\"Name", u"x"));
    EXPECT_FALSE(key.WriteMultiSz(u"List", VStringArray{u"ok", u"line\nbreak"}));
    EXPECT_TRUE(key.WriteString(u"After", u"2"));
  }
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), kBom + "S:\"Before\"=1\r\nS:\"After\"=2\r\n");
}

TEST_F(IniFileStore, ReadOnlyFilesAreNeverReplaced) {
  WriteFile(dir / "cfg/K.ini", "S:\"A\"=1\r\n");
  chmod((dir / "cfg/K.ini").c_str(), 0444);
  Store s(dir / "cfg");
  {
    VProfileKey key(s.Root(), u"K");
    EXPECT_FALSE(key.CanWrite());
    key.WriteString(u"A", u"2");
    EXPECT_FALSE(key.Flush());
    EXPECT_EQ(key.GetLastError().GetMessageId(), 5u);
  }
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), "S:\"A\"=1\r\n");
  Store readOnly(dir / "cfg2", "", true);
  VProfileKey key(readOnly.Root(), u"K");
  EXPECT_FALSE(key.CanWrite());
}

TEST_F(IniFileStore, AFailedWriteKeepsTheOldFileAndTheValues) {
  WriteFile(dir / "cfg/K.ini", kBom + "S:\"A\"=old\r\n");
  Store s(dir / "cfg");
  VProfileKey key(s.Root(), u"K");
  key.WriteString(u"A", u"new");
  // No temporary file can be made in a folder without write permission.
  // A file size limit makes the write of the new content fail part-way, as a full disk would,
  // whoever runs the test.
  signal(SIGXFSZ, SIG_IGN);
  struct rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  struct rlimit tiny = old;
  tiny.rlim_cur = 8;
  setrlimit(RLIMIT_FSIZE, &tiny);
  bool flushed = key.Flush();
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_FALSE(flushed);
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), kBom + "S:\"A\"=old\r\n");
  std::vector<vfs::FolderEntry> entries;
  ASSERT_TRUE(vfs::ListFolder(dir / "cfg", entries).ok());
  EXPECT_EQ(entries.size(), 1u);  // no temporary file left behind
  EXPECT_TRUE(key.Flush());
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), kBom + "S:\"A\"=new\r\n");
}

TEST_F(IniFileStore, ReplacingKeepsPermissionBitsAndLeavesNoTemporaryFile) {
  WriteFile(dir / "cfg/K.ini", "S:\"A\"=1\r\n");
  chmod((dir / "cfg/K.ini").c_str(), 0640);
  {
    Store s(dir / "cfg");
    VProfileKey key(s.Root(), u"K");
    key.WriteString(u"A", u"2");
  }
  struct stat st {};
  ASSERT_EQ(stat((dir / "cfg/K.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  std::vector<vfs::FolderEntry> entries;
  ASSERT_TRUE(vfs::ListFolder(dir / "cfg", entries).ok());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "K.ini");
}

TEST_F(IniFileStore, TwoHandlesOnOneKeyKeepEachOthersChanges) {
  Store s(dir / "cfg");
  {
    VProfileKey first(s.Root(), u"K");
    VProfileKey second(s.Root(), u"K");
    first.WriteString(u"A", u"first");
    second.WriteString(u"B", u"second");
  }  // `second` goes first, then `first` adds its own value to what is on disk
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), kBom + "S:\"B\"=second\r\nS:\"A\"=first\r\n");
  {
    // Each handle read A, B; one deletes A and the other changes B: both changes hold.
    VProfileKey deleting(s.Root(), u"K");
    VProfileKey changing(s.Root(), u"K");
    VUnicodeString text;
    ASSERT_TRUE(deleting.ReadString(u"A", text));
    ASSERT_TRUE(changing.ReadString(u"A", text));
    EXPECT_TRUE(deleting.DeleteValue(u"A"));
    EXPECT_TRUE(changing.WriteString(u"B", u"changed"));
    EXPECT_TRUE(deleting.Flush());
    EXPECT_TRUE(changing.Flush());
  }
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), kBom + "S:\"B\"=changed\r\n");
}

// A handle writes its values whole when the file is the one it read (or there is still none),
// and merges its changes into the file otherwise; the bytes are the same either way.
TEST_F(IniFileStore, ChangesReachTheFileWhetherOrNotItChangedSinceRead) {
  Store s(dir / "cfg");
  {
    // Two handles that found no file: the second to write finds the first's file and merges.
    VProfileKey first(s.Root(), u"New");
    VProfileKey second(s.Root(), u"New");
    first.WriteDword(u"One", 1);
    first.WriteString(u"Both", u"first");
    second.WriteString(u"Both", u"second");
    second.WriteDword(u"Two", 2);
    EXPECT_TRUE(first.Flush());
    EXPECT_TRUE(second.Flush());
    EXPECT_EQ(ReadFile(dir / "cfg/New.ini"),
              kBom + "D:\"One\"=00000001\r\nS:\"Both\"=second\r\nD:\"Two\"=00000002\r\n");
    // A later write of the first handle applies only what it changed since its last write.
    first.WriteDword(u"Three", 3);
    EXPECT_TRUE(first.Flush());
    EXPECT_EQ(ReadFile(dir / "cfg/New.ini"),
              kBom + "D:\"One\"=00000001\r\nS:\"Both\"=second\r\nD:\"Two\"=00000002\r\n"
                     "D:\"Three\"=00000003\r\n");
  }
  {
    // A deletion of a value the handle never saw removes the one another handle wrote meanwhile;
    // a value deleted and stored again keeps its place.
    VProfileKey deleting(s.Root(), u"New");
    VProfileKey adding(s.Root(), u"New");
    VDword number = 0;
    ASSERT_TRUE(deleting.ReadDword(u"One", number));
    adding.WriteString(u"Late", u"x");
    ASSERT_TRUE(adding.Flush());
    EXPECT_TRUE(deleting.DeleteValue(u"Late"));
    EXPECT_TRUE(deleting.DeleteValue(u"Two"));
    EXPECT_TRUE(deleting.WriteDword(u"Four", 4));
    EXPECT_TRUE(deleting.WriteDword(u"Two", 22));
    EXPECT_TRUE(deleting.Flush());
  }
  EXPECT_EQ(ReadFile(dir / "cfg/New.ini"),
            kBom + "D:\"One\"=00000001\r\nS:\"Both\"=second\r\nD:\"Two\"=00000016\r\n"
                   "D:\"Three\"=00000003\r\nD:\"Four\"=00000004\r\n");
  {
    // Writing back what the file holds changes nothing another handle changed meanwhile.
    VProfileKey saving(s.Root(), u"New");
    VProfileKey other(s.Root(), u"New");
    VUnicodeString text;
    ASSERT_TRUE(saving.ReadString(u"Both", text));
    other.WriteString(u"Both", u"other");
    ASSERT_TRUE(other.Flush());
    EXPECT_TRUE(saving.WriteString(u"Both", text.c_str()));
    EXPECT_TRUE(saving.Flush());
  }
  EXPECT_NE(ReadFile(dir / "cfg/New.ini").find("S:\"Both\"=other\r\n"), std::string::npos);
}

// A link to a folder below the root is not a sub-key: iteration, copying and lookups stay inside
// the store, and nothing is made through one. A root reached through a link is used as it is.
TEST_F(IniFileStore, LinksToFoldersBelowTheRootAreNoSubKeys) {
  WriteFile(dir / "cfg/Sessions/a/s.ini", kBom + "D:\"Is Session\"=00000001\r\n");
  qtest::MakeDirs(dir / "outside");
  ASSERT_EQ(symlink("..", (dir / "cfg/Sessions/a/up").c_str()), 0);
  ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "cfg/Sessions/out").c_str()), 0);
  ASSERT_EQ(symlink((dir / "cfg").c_str(), (dir / "linked").c_str()), 0);
  Store s(dir / "linked");
  VProfileKey sessions(s.Root(), u"Sessions");
  VProfileKey a(sessions, u"a");
  EXPECT_EQ(ListEntries(a, false), (KeyEntries{{"s", 6}}));
  EXPECT_EQ(ListEntries(sessions, false), (KeyEntries{{"a", 5}}));
  EXPECT_FALSE(sessions.SubKeyExists(u"out"));
  EXPECT_FALSE(a.SubKeyExists(u"up"));
  {
    // Opened right after the listing and without one: neither passes through.
    VProfileKey up(a, u"up");
    VProfileKey through(up, u"a");
    EXPECT_FALSE(through.SubKeyExists(u"s"));
    EXPECT_EQ(ListEntries(through, false), KeyEntries{});
  }
  // A copy of the tree holds the session once.
  VProfileKey copy(s.Root(), u"Copy", kProfileKeyCreate);
  ASSERT_TRUE(CopyProfileKey(copy, sessions));
  ASSERT_TRUE(copy.Flush());
  VProfileKey copiedA(copy, u"a");
  EXPECT_EQ(ListEntries(copiedA, false), (KeyEntries{{"s", 6}}));
  {
    VProfileKey out(sessions, u"out", kProfileKeyCreate);
    VProfileKey inside(out, u"x");
    EXPECT_FALSE(inside.WriteDword(u"Is Session", 1));
    EXPECT_EQ(inside.GetLastError().GetMessageId(), 1921u);  // the name cannot be resolved
  }
  EXPECT_FALSE(qtest::Exists(dir / "outside/x.ini"));
  EXPECT_FALSE(qtest::Exists(dir / "outside/x"));
}

}  // namespace
