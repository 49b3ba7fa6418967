// Copying key trees: a copy that reports success is on disk, and one that fails names the key
// where it stopped.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "storage/ini/ini_file_store.h"
#include "support/test_support.h"

namespace {

using qtest::TempDir;

TEST(ProfileCopy, EverySubKeyWriteIsCheckedAndTheFirstFailureNamed) {
  TempDir dir;
  VIniFileStoreFactory factory(U8(dir / "cfg"));
  {
    VProfileStore store(&factory);
    for (const char16_t* name : {u"A", u"B", u"C"}) {
      VProfileKey from(*store.GetRootKey(), u"From");
      VProfileKey level(from, u"Level");
      VProfileKey key(level, name);
      ASSERT_TRUE(key.WriteDword(u"N", 7));
    }
  }
  qtest::WriteFile(dir / "cfg/To/Level/B.ini", "\xEF\xBB\xBF" "D:\"N\"=00000001\r\n");
  ASSERT_EQ(chmod((dir / "cfg/To/Level/B.ini").c_str(), 0444), 0);
  {
    VProfileStore store(&factory);
    VProfileKey from(*store.GetRootKey(), u"From");
    VProfileKey to(*store.GetRootKey(), u"To");
    VProfileCopyFailure failure;
    EXPECT_FALSE(CopyProfileKey(to, from, &failure));
    EXPECT_EQ(failure.path, u"Level\\B");
    EXPECT_TRUE(failure.error.IsError());
  }
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/To/Level/A.ini"), "\xEF\xBB\xBF" "D:\"N\"=00000007\r\n");
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/To/Level/B.ini"), "\xEF\xBB\xBF" "D:\"N\"=00000001\r\n");
  EXPECT_FALSE(qtest::Exists(dir / "cfg/To/Level/C.ini"));  // stopped at the first failure

  ASSERT_EQ(chmod((dir / "cfg/To/Level/B.ini").c_str(), 0644), 0);
  VProfileStore store(&factory);
  VProfileKey from(*store.GetRootKey(), u"From");
  VProfileKey to(*store.GetRootKey(), u"To");
  EXPECT_TRUE(CopyProfileKey(to, from));
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/To/Level/C.ini"), "\xEF\xBB\xBF" "D:\"N\"=00000007\r\n");
}

}  // namespace
