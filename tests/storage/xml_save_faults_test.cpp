// Saves of the XML settings file whose sync, rename or folder sync fails: the file stays whole
// byte for byte, nothing temporary is left, and the caller learns the failure with its code.
#include <errno.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32_errors.h"
#include "storage/xml/xml_file_store.h"
#include "support/fault_env.h"
#include "support/test_support.h"

namespace {

using Op = qtest::FaultEnv::Op;

class XmlSaveFaults : public ::testing::TestWithParam<std::pair<Op, int>> {
 protected:
  qtest::TempDir dir;
  qtest::FaultEnv env_;
  std::string path_ = dir / "settings.xml";
};

TEST_P(XmlSaveFaults, TheFileStaysWholeAndTheCodeIsReported) {
  const auto [op, error] = GetParam();
  {
    VXmlFileStoreFactory factory(U8(path_), 0, &env_);
    VProfileStore store(false, &factory);
    VProfileKey key(*store.GetRootKey(), u"Sessions", kProfileKeyCreate);
    ASSERT_TRUE(key.WriteString(u"Hostname", u"old"));
    ASSERT_TRUE(key.Flush());
  }
  const std::string before = qtest::ReadFile(path_);
  ASSERT_NE(before.find("old"), std::string::npos);
  VXmlFileStoreFactory factory(U8(path_), 0, &env_);
  VProfileStore store(false, &factory);
  VProfileKey key(*store.GetRootKey(), u"Sessions", kProfileKeyCreate);
  ASSERT_TRUE(key.WriteString(u"Hostname", u"new"));
  env_.FailAlways(op, error);
  EXPECT_FALSE(key.Flush());
  EXPECT_EQ(key.GetLastError().GetMessageId(), win32::FromErrno(error));
  env_.DropUnsynced();
  EXPECT_EQ(qtest::ReadFile(path_), before);
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
  // Written once the file system lets it.
  env_.FailAlways(op, 0);
  EXPECT_TRUE(key.Flush());
  EXPECT_NE(qtest::ReadFile(path_).find("new"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EachStep, XmlSaveFaults,
                         ::testing::Values(std::pair{Op::kSync, EIO}, std::pair{Op::kRename, ENOSPC},
                                           std::pair{Op::kSyncFolder, EIO}));

}  // namespace
