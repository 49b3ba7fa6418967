// Saves of an INI key whose sync, rename, folder sync or lock fails: the old file stays whole,
// nothing temporary is left, and the caller learns the failure with its code.
#include <errno.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform_messages.h"
#include "platform/win32_errors.h"
#include "storage/ini/ini_file_key.h"
#include "storage/ini_folder.h"
#include "support/fault_env.h"

namespace {

using Op = qtest::FaultEnv::Op;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kOld = kBom + "S:\"A\"=old\r\nD:\"N\"=00000001\r\n";

class IniSaveFaults : public ::testing::Test {
 protected:
  void SetUp() override { folder_.WriteLines("K", kOld.substr(3)); }

  // Writes A=new into K and flushes; the flush's result and the key's last error.
  std::pair<bool, uint32_t> SaveNewValue() {
    bool flushed = true;
    uint32_t id = 0;
    folder_.WithKey(u"K", [&](VProfileKey& key) {
      key.WriteString(u"A", u"new");
      flushed = key.Flush();
      id = key.GetLastError().GetMessageId();
      // Nothing more is tried when the key is released: later saves are the test's to make.
      env_.FailAlways(Op::kRename, EROFS);
    });
    env_.FailAlways(Op::kRename, 0);
    return {flushed, id};
  }

  // Temporary files left in the configuration folder.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(folder_.FilePath("K")).parent_path())) {
      std::string name = entry.path().filename().string();
      if (name.find(".tmp-") != std::string::npos) names.push_back(name);
    }
    return names;
  }

  qtest::FaultEnv env_;
  IniFolder folder_{&env_};
};

// Whichever step fails, the save is not reported as done, the old file survives even a crash
// right after (a failed folder sync may not keep the new name), and nothing temporary is left.
TEST_F(IniSaveFaults, AFailedStepKeepsTheOldFileAndTellsWhy) {
  const struct {
    Op op;
    int error;
    uint32_t id;
  } cases[] = {{Op::kSync, EIO, win32::kIoDevice},
               {Op::kRename, ENOSPC, win32::kDiskFull},
               {Op::kWrite, EDQUOT, win32::kDiskQuotaExceeded},
               {Op::kSyncFolder, EIO, win32::kIoDevice}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.op));
    env_.FailNth(c.op, 1, c.error);
    auto [flushed, id] = SaveNewValue();
    EXPECT_FALSE(flushed);
    EXPECT_EQ(id, c.id);
    env_.DropUnsynced();
    EXPECT_EQ(qtest::ReadFile(folder_.FilePath("K")), kOld);
    EXPECT_TRUE(Leftovers().empty());
  }
}

TEST_F(IniSaveFaults, ASaveThatSyncsEverythingSurvivesACrash) {
  auto [flushed, id] = SaveNewValue();
  ASSERT_TRUE(flushed);
  EXPECT_EQ(id, 0u);
  env_.DropUnsynced();
  EXPECT_EQ(qtest::ReadFile(folder_.FilePath("K")), kBom + "S:\"A\"=new\r\nD:\"N\"=00000001\r\n");
  EXPECT_GE(env_.Calls(Op::kSync), 1);
  EXPECT_GE(env_.Calls(Op::kSyncFolder), 1);
}

// A lock that cannot be had in time names the file; one refused for another reason keeps its
// own code. Either way the save fails and the file is left as it was.
TEST_F(IniSaveFaults, ALockThatCannotBeTakenFailsTheSaveWithItsReason) {
  const struct {
    int error;
    uint32_t id;
  } cases[] = {{EAGAIN, kMsgLockWaitTimedOut}, {ENOLCK, win32::FromErrno(ENOLCK)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    bool flushed = true;
    uint32_t id = 0;
    VUnicodeString text;
    folder_.WithKey(u"K", [&](VProfileKey& key) {
      // Read while the lock can be had: it is the save's lock that is refused.
      VUnicodeString old;
      ASSERT_TRUE(key.ReadString(u"A", old));
      env_.FailAlways(Op::kLock, c.error);
      key.WriteString(u"A", u"new");
      flushed = key.Flush();
      id = key.GetLastError().GetMessageId();
      text = key.GetLastError().GetTextOneLineTrimmed();
    });
    env_.FailAlways(Op::kLock, 0);
    EXPECT_FALSE(flushed);
    EXPECT_EQ(id, c.id);
    if (c.error == EAGAIN) {
      EXPECT_NE(text.ToUtf8().find(folder_.FilePath("K")), std::string::npos) << text.ToUtf8();
    }
    EXPECT_EQ(qtest::ReadFile(folder_.FilePath("K")), kOld);
  }
}

// A change is read once and written once: what the key read stands for the file under the
// lock while nobody has replaced it; a file replaced meanwhile is read again and merged.
TEST_F(IniSaveFaults, AChangeReadsTheFileOnceUnlessAnotherWriterReplacedIt) {
  folder_.WithKey(u"K", [&](VProfileKey& key) {
    VUnicodeString old;
    ASSERT_TRUE(key.ReadString(u"A", old));
    const int before = env_.Calls(Op::kRead);
    key.WriteString(u"A", u"new");
    ASSERT_TRUE(key.Flush());
    EXPECT_EQ(env_.Calls(Op::kRead), before);
  });
  EXPECT_EQ(qtest::ReadFile(folder_.FilePath("K")), kBom + "S:\"A\"=new\r\nD:\"N\"=00000001\r\n");
  folder_.WithKey(u"K", [&](VProfileKey& key) {
    VUnicodeString old;
    ASSERT_TRUE(key.ReadString(u"A", old));
    // Another writer's save between this handle's read and its write.
    ASSERT_TRUE(vfs::ReplaceFileContents(folder_.FilePath("K"),
                                         kBom + "S:\"A\"=new\r\nD:\"N\"=00000002\r\n").ok());
    const int before = env_.Calls(Op::kRead);
    key.WriteString(u"B", u"mine");
    ASSERT_TRUE(key.Flush());
    EXPECT_EQ(env_.Calls(Op::kRead), before + 1);
  });
  EXPECT_EQ(qtest::ReadFile(folder_.FilePath("K")),
            kBom + "S:\"A\"=new\r\nD:\"N\"=00000002\r\nS:\"B\"=mine\r\n");
}

}  // namespace
