// Sub-keys opened right after their parent was listed are placed on disk from that listing. They
// must answer exactly as sub-keys opened without one: whatever the order they are opened in,
// whatever the case of their names, for files made after the listing, and for names that are
// both a folder and a value file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ini_folder.h"
#include "storage/ini/ini_file_iterator.h"

namespace {

// What a key says about itself: whether it is a session, its port, and its sub-keys.
std::string Describe(VProfileKey& parent, const char16_t* name) {
  VProfileKey key(parent, name);
  VDword session = 0;
  VDword port = 0;
  std::string out = vtext::ToUtf8(name);
  out += key.ReadDword(u"Is Session", session) ? "=" + std::to_string(session) : "-";
  if (key.ReadDword(u"Port", port)) out += " port " + std::to_string(port);
  VProfileKeyIterator children(key, false);
  VUnicodeString child;
  while (children.Next(child)) out += " /" + child.ToUtf8();
  return out;
}

// Opens `names` below Sessions\lab, after listing lab or not; `between` runs after the listing.
std::vector<std::string> Answers(IniFolder& folder, const std::vector<const char16_t*>& names,
                                 bool listFirst, const std::function<void()>& between = {}) {
  std::vector<std::string> out;
  VProfileStore store(true, &folder.Factory());
  VProfileKey sessions(*store.GetRootKey(), u"Sessions");
  VProfileKey lab(sessions, u"lab");
  if (listFirst) {
    VProfileKeyIterator iterator(lab, false);
    VUnicodeString name;
    while (iterator.Next(name)) {
    }
  }
  if (between) between();
  for (const char16_t* name : names) out.push_back(Describe(lab, name));
  return out;
}

class IniListingHint : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.WriteLines("Sessions/lab/alpha", "D:\"Is Session\"=00000001\r\nD:\"Port\"=00000016\r\n");
    folder_.WriteLines("Sessions/lab/a-b", "D:\"Port\"=00000017\r\n");
    folder_.WriteLines("Sessions/lab/a", "D:\"Port\"=00000018\r\n");
    folder_.WriteLines("Sessions/lab/Mixed", "D:\"Port\"=00000019\r\n");
    folder_.WriteLines("Sessions/lab/\xC3\xA9t\xC3\xA9", "D:\"Port\"=0000001a\r\n");
    // Both a folder and a value file, and a folder only.
    folder_.WriteLines("Sessions/lab/both", "D:\"Port\"=0000001b\r\n");
    folder_.WriteLines("Sessions/lab/both/inner", "D:\"Is Session\"=00000001\r\n");
    folder_.WriteLines("Sessions/lab/group/deep", "D:\"Is Session\"=00000001\r\n");
    // Numbered names whose listing order is not the order they are opened in.
    for (int i : {1, 2, 10, 11, 100})
      folder_.WriteLines("Sessions/lab/host" + std::to_string(i), "D:\"Is Session\"=00000001\r\n");
  }
  IniFolder folder_;
};

TEST_F(IniListingHint, KeysOpenedInAnyOrderAnswerAsWithoutAListing) {
  std::vector<std::vector<const char16_t*>> orders = {
      // the walk's own order, then backwards, then with repeats and missing names between
      {u"a", u"a-b", u"alpha", u"both", u"group", u"host1", u"host10", u"host100", u"host11",
       u"host2", u"Mixed", u"\u00e9t\u00e9"},
      {u"\u00e9t\u00e9", u"Mixed", u"host2", u"host11", u"host100", u"host10", u"host1", u"group",
       u"both", u"alpha", u"a-b", u"a"},
      {u"host1", u"host1", u"nothing", u"host10", u"a", u"zzz", u"a", u"both", u"both"},
  };
  for (const auto& names : orders) {
    std::vector<std::string> without = Answers(folder_, names, false);
    EXPECT_EQ(Answers(folder_, names, true), without);
  }
  std::vector<std::string> expected = {"alpha=1 port 22", "both=1 port 27 /inner", "group- /deep"};
  EXPECT_EQ(Answers(folder_, {u"alpha", u"both", u"group"}, true), expected);
}

TEST_F(IniListingHint, NamesDifferingInCaseFindTheKeyOnDisk) {
  std::vector<const char16_t*> names = {u"ALPHA", u"mixed", u"MIXED", u"Both", u"GROUP",
                                        u"\u00c9T\u00c9", u"Host10"};
  std::vector<std::string> without = Answers(folder_, names, false);
  EXPECT_EQ(Answers(folder_, names, true), without);
  EXPECT_EQ(without[0], "ALPHA=1 port 22");
  EXPECT_EQ(without[3], "Both=1 port 27 /inner");
  EXPECT_EQ(without[5], "\xC3\x89T\xC3\x89=1 port 26");
}

TEST_F(IniListingHint, FilesMadeAfterTheListingAreSeen) {
  std::vector<const char16_t*> names = {u"late", u"group", u"Later", u"fresh"};
  auto make = [&] {
    folder_.WriteLines("Sessions/lab/late", "D:\"Port\"=00000020\r\n");
    // A value file for a folder that had none, and one under another case.
    folder_.WriteLines("Sessions/lab/group", "D:\"Port\"=00000021\r\n");
    folder_.WriteLines("Sessions/lab/LATER", "D:\"Port\"=00000022\r\n");
    qtest::MakeDirs(folder_.FilePath("Sessions/lab/fresh/sub").substr(
        0, folder_.FilePath("Sessions/lab/fresh/sub").size() - 4));
  };
  std::vector<std::string> with = Answers(folder_, names, true, make);
  std::vector<std::string> expected = {"late=1 port 32", "group=1 port 33 /deep",
                                       "Later=1 port 34", "fresh- /sub"};
  EXPECT_EQ(with, expected);
  EXPECT_EQ(Answers(folder_, names, false), expected);
}

TEST(IniListingOrder, SubKeysAreListedOnceInCaseInsensitiveOrder) {
  qtest::TempDir dir;
  // Byte order puts upper case first; names of one key in two cases are one sub-key.
  for (const char* name : {"b.ini", "B", "a.ini", "C.INI", "c", "host10.ini", "host1.ini",
                           "host2.ini", "Host2"})
    if (std::string(name).find('.') != std::string::npos)
      qtest::WriteFile(dir / name, "\xEF\xBB\xBF");
    else
      qtest::MakeDirs(dir / name);
  std::vector<std::pair<std::u16string, int>> found;
  for (const auto& entry : VIniFileKey::Iterator::ListSubKeys(dir.Path()))
    found.emplace_back(entry.name, entry.type);
  std::vector<std::pair<std::u16string, int>> expected = {
      {u"a", kProfileTypeFileKey},       {u"B", kProfileTypeFolderFileKey},
      {u"C", kProfileTypeFolderFileKey}, {u"host1", kProfileTypeFileKey},
      {u"host10", kProfileTypeFileKey},  {u"Host2", kProfileTypeFolderFileKey}};
  EXPECT_EQ(found, expected);
}

TEST(IniListingOrder, FoldersAreListedInByteOrder) {
  qtest::TempDir dir;
  // Names sharing their first eight bytes, shorter than eight, and with bytes above 0x7f.
  std::vector<std::string> names = {"abcdefgh2", "abcdefgh10", "abcdefgh", "abcdefg", "a",
                                    "ab", "B", "\xC3\xA9t\xC3\xA9", "\xC3\xA9", "zz", "Z",
                                    "abcdefgi", "abcdefgh\xC3\xA9", "abcdefgh "};
  for (const auto& name : names) qtest::WriteFile(dir / name, "x");
  std::vector<vfs::FolderEntry> entries;
  ASSERT_TRUE(vfs::ListFolder(dir.Path(), entries).ok());
  std::vector<std::string> listed;
  for (const auto& entry : entries) listed.push_back(entry.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(listed, names);
}

}  // namespace

// A key made where only a value file of another case is there writes into that file (one listing
// of the folder serves the folder's name and the file's), and a key its caller knows to be new
// writes under its own name, merging with a file made under that name since.
TEST_F(IniListingHint, NewKeysWriteIntoTheFileOfTheirNameInAnyCaseUnlessKnownNew) {
  folder_.WriteLines("Sessions/lab/Solo", "D:\"Port\"=00000030\r\n");
  {
    VProfileStore store(false, &folder_.Factory());
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    VProfileKey lab(sessions, u"lab");
    VProfileKey solo(lab, u"SOLO", kProfileKeyCreate);
    ASSERT_TRUE(solo.WriteDword(u"Rows", 40));
    ASSERT_TRUE(solo.Flush());

    VProfileKey fresh(lab, u"fresh", kProfileKeyKnownNew);
    folder_.WriteLines("Sessions/lab/fresh", "D:\"Port\"=00000031\r\n");  // by another process
    ASSERT_TRUE(fresh.WriteDword(u"Rows", 41));
    ASSERT_TRUE(fresh.Flush());
    VProfileKey brandNew(lab, u"brand new", kProfileKeyCreate | kProfileKeyKnownNew);
    ASSERT_TRUE(brandNew.WriteDword(u"Rows", 42));
    ASSERT_TRUE(brandNew.Flush());
  }
  EXPECT_EQ(folder_.Lines("Sessions/lab/Solo"), "D:\"Port\"=00000030\r\nD:\"Rows\"=00000028\r\n");
  EXPECT_FALSE(folder_.HasFile("Sessions/lab/SOLO"));
  EXPECT_EQ(folder_.Lines("Sessions/lab/fresh"), "D:\"Port\"=00000031\r\nD:\"Rows\"=00000029\r\n");
  EXPECT_EQ(folder_.Lines("Sessions/lab/brand new"), "D:\"Rows\"=0000002a\r\n");
}
