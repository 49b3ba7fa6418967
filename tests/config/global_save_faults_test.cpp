// Saves of the global configuration whose sync, rename or folder sync fails: the old file stays
// whole byte for byte, nothing temporary is left, and the failure reaches the caller with its code.
#include <errno.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "global_test_env.h"
#include "platform/win32_errors.h"
#include "support/fault_env.h"

namespace {

using Op = qtest::FaultEnv::Op;

// The fault-injecting environment, made before the folder that works through it.
struct WithFaultEnv {
  qtest::FaultEnv env_;
};

class GlobalSaveFaults : public WithFaultEnv,
                         public GlobalFolderTest,
                         public ::testing::WithParamInterface<std::pair<Op, int>> {
 protected:
  GlobalSaveFaults() : GlobalFolderTest(&env_) {}

  bool TemporaryLeft() const {
    auto folder = std::filesystem::path(folder_.FilePath("Global")).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      if (entry.path().filename().string().find(".tmp-") != std::string::npos) return true;
    return false;
  }
};

TEST_P(GlobalSaveFaults, TheOldFileStaysWholeAndTheFailureIsReportedWithItsCode) {
  const auto [op, error] = GetParam();
  folder_.WriteLines("Global", "D:\"MRU Count\"=00000005\r\n");
  const std::string before = qtest::ReadFile(folder_.FilePath("Global"));
  GlobalConfig* shared = nullptr;
  ASSERT_TRUE(GetGlobalConfig(&shared, -1));
  VRef<GlobalConfig> held(shared);
  shared->mruCount = 8;
  // For as long as the file system fails: a key released after a failed save tries once more.
  env_.FailAlways(op, error);
  VReportMessageParams reported;
  EXPECT_FALSE(SaveGlobalConfig(false, reported));
  EXPECT_EQ(reported.GetMessageId(), win32::FromErrno(error));
  // A crash now must find the old file: what the failed save did is not durable.
  env_.DropUnsynced();
  env_.FailAlways(op, 0);
  EXPECT_TRUE(qtest::ReadFile(folder_.FilePath("Global")) == before) << "the old file was changed";
  EXPECT_FALSE(TemporaryLeft());
  // The change is still pending and is written once the file system lets it.
  EXPECT_TRUE(SaveGlobalConfig(false));
  EXPECT_NE(qtest::ReadFile(folder_.FilePath("Global")).find("D:\"MRU Count\"=00000008"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EachStep, GlobalSaveFaults,
                         ::testing::Values(std::pair{Op::kSync, EIO}, std::pair{Op::kRename, ENOSPC},
                                           std::pair{Op::kSyncFolder, EIO}));

}  // namespace
