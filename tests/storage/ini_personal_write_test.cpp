// Saving a key whose personal values go to a personal data folder: whatever fails, every value
// stays in at least one of the two files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/ini/ini_file_store.h"
#include "support/test_support.h"

namespace {

using qtest::ReadFile;
using qtest::TempDir;

const std::string kBom = "\xEF\xBB\xBF";

class PersonalWrite : public ::testing::Test {
 protected:
  void Save(const std::string& personal, bool expectSaved, const std::string& reason = "") {
    VIniFileStoreFactory factory(U8(dir / "cfg"), U8(personal));
    VProfileStore store(&factory);
    VProfileKey key(*store.GetRootKey(), u"K");
    VUnicodeString user;
    ASSERT_TRUE(key.ReadString(u"Username", user));
    EXPECT_EQ(user, u"u");
    ASSERT_TRUE(key.WriteString(u"Hostname", u"h2"));
    EXPECT_EQ(key.Flush(), expectSaved);
    if (!reason.empty()) {
      EXPECT_EQ(key.GetLastError().GetTextOneLineTrimmed().ToUtf8(), reason);
    }
  }
  TempDir dir;
};

// The main file still holds the personal values (written before the personal folder was used).
TEST_F(PersonalWrite, AFailedPersonalFileLeavesTheMainFileAsItWas) {
  const std::string main = kBom + "S:\"Username\"=u\r\nS:\"Hostname\"=h\r\n";
  qtest::WriteFile(dir / "cfg/K.ini", main);
  qtest::WriteFile(dir / "p/K.ini", kBom);
  ASSERT_EQ(chmod((dir / "p/K.ini").c_str(), 0444), 0);
  Save(dir / "p", false,
       "Nothing was saved: the personal values could not be written to '" + (dir / "p/K.ini") +
           "': Access is denied.");
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), main);
  EXPECT_EQ(ReadFile(dir / "p/K.ini"), kBom);
}

TEST_F(PersonalWrite, AFailedMainFileLeavesThePersonalValuesInThePersonalFile) {
  const std::string main = kBom + "S:\"Username\"=u\r\nS:\"Hostname\"=h\r\n";
  qtest::WriteFile(dir / "cfg/K.ini", main);
  ASSERT_EQ(chmod((dir / "cfg/K.ini").c_str(), 0444), 0);
  Save(dir / "p", false,
       "The personal values were saved to '" + (dir / "p/K.ini") +
           "', but the other values could not be saved to '" + (dir / "cfg/K.ini") +
           "' and are there as they were before: Access is denied.");
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), main);
  EXPECT_EQ(ReadFile(dir / "p/K.ini"), kBom + "S:\"Username\"=u\r\n");
}

TEST_F(PersonalWrite, ASaveMovesThePersonalValuesAndKeepsTheOthers) {
  qtest::WriteFile(dir / "cfg/K.ini", kBom + "S:\"Username\"=u\r\nS:\"Hostname\"=h\r\n");
  Save(dir / "p", true);
  EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), kBom + "S:\"Hostname\"=h2\r\n");
  EXPECT_EQ(ReadFile(dir / "p/K.ini"), kBom + "S:\"Username\"=u\r\n");
}

// A personal folder that is the configuration folder under another name is no personal folder.
TEST_F(PersonalWrite, AnotherSpellingOfTheConfigurationFolderKeepsOneFile) {
  qtest::WriteFile(dir / "cfg/K.ini", kBom + "S:\"Username\"=u\r\nS:\"Hostname\"=h\r\n");
  ASSERT_EQ(symlink((dir / "cfg").c_str(), (dir / "link").c_str()), 0);
  for (const std::string& personal : {dir / "link", dir / "cfg/.", dir / "cfg/../cfg"}) {
    Save(personal, true);
    EXPECT_EQ(ReadFile(dir / "cfg/K.ini"), kBom + "S:\"Username\"=u\r\nS:\"Hostname\"=h2\r\n")
        << personal;
  }
}

// The root key's personal values are kept inside the personal folder, and merged back from there.
TEST_F(PersonalWrite, RootValuesLiveInsideBothFoldersAndMergeBack) {
  {
    VIniFileStoreFactory factory(U8(dir / "cfg"), U8(dir / "p"));
    VProfileStore store(&factory);
    ASSERT_TRUE(store.GetRootKey()->WriteString(u"Username", u"u"));
    ASSERT_TRUE(store.GetRootKey()->WriteString(u"Hostname", u"h"));
    ASSERT_TRUE(store.GetRootKey()->Flush());
  }
  EXPECT_EQ(ReadFile(dir / "cfg/.ini"), kBom + "S:\"Hostname\"=h\r\n");
  EXPECT_EQ(ReadFile(dir / "p/.ini"), kBom + "S:\"Username\"=u\r\n");
  EXPECT_FALSE(qtest::Exists(dir / "cfg.ini") || qtest::Exists(dir / "p.ini"));
  {
    VIniFileStoreFactory factory(U8(dir / "cfg"), U8(""));
    VProfileStore store(&factory);
    store.GetRootKey()->GetPrivateKey()->MergePersonalData(U8(dir / "p").c_str());
    EXPECT_FALSE(store.GetRootKey()->GetLastError().IsError());
  }
  EXPECT_EQ(ReadFile(dir / "cfg/.ini"), kBom + "S:\"Hostname\"=h\r\nS:\"Username\"=u\r\n");
  EXPECT_FALSE(qtest::Exists(dir / "p/.ini"));
}

}  // namespace
