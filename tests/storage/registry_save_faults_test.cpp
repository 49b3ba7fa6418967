// Writes to the registry store whose sync or folder sync fails: the value file stays as it was,
// nothing temporary is left, and the caller learns the failure with its code.
#include <errno.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32_errors.h"
#include "storage/registry/registry_store.h"
#include "storage/registry_test_env.h"
#include "support/fault_env.h"

namespace {

using Op = qtest::FaultEnv::Op;

class RegistrySaveFaults : public ::testing::TestWithParam<std::pair<Op, int>> {
 protected:
  RegistryTestEnv hives;
  qtest::FaultEnv env_;
  VRegistryStoreFactory factory{VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane", &env_};
};

TEST_P(RegistrySaveFaults, TheValueFileStaysAsItWasAndTheCodeIsReported) {
  const auto [op, error] = GetParam();
  VProfileStore store(&factory);
  VProfileKey key(*store.GetRootKey(), u"Karvell", kProfileKeyCreate);
  ASSERT_TRUE(key.WriteString(u"Config Path", u"/old"));
  const std::string file = hives.User("SOFTWARE/Tolvane/Karvell.ini");
  const std::string before = qtest::ReadFile(file);
  env_.FailNth(op, 1, error);
  EXPECT_FALSE(key.WriteString(u"Config Path", u"/new"));
  EXPECT_EQ(key.GetLastError().GetMessageId(), win32::FromErrno(error));
  env_.DropUnsynced();
  EXPECT_EQ(qtest::ReadFile(file), before);
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EachStep, RegistrySaveFaults,
                         ::testing::Values(std::pair{Op::kSync, EIO}, std::pair{Op::kRename, ENOSPC},
                                           std::pair{Op::kSyncFolder, EIO}));

}  // namespace
