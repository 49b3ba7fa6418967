// A block shared by one user's processes: shared while someone holds it, gone with the last
// holder, never taken from objects another user could have made or read, and renewed when its
// holders died without letting it go.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

#include "support/peer_process.h"
#include "platform/process_identity.h"
#include "platform/shared_memory_cache.h"
#include "platform/win32_errors.h"

namespace {

using qtest::SharedObjectExists;

class SharedMemoryCache : public ::testing::Test {
 protected:
  void TearDown() override { qtest::RemoveSharedObjects(names_); }

  // Makes an object under `name` as another program could have: its own mode, size and owner.
  void PreCreate(const std::string& name, mode_t mode, off_t size, uid_t owner = geteuid()) {
    int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchmod(fd, mode), 0);
    ASSERT_EQ(ftruncate(fd, size), 0);
    if (owner != geteuid()) {
      ASSERT_EQ(fchown(fd, owner, static_cast<gid_t>(-1)), 0);
    }
    close(fd);
  }

  VSharedMemoryNames names_ = qtest::UniqueSharedNames();
};

TEST_F(SharedMemoryCache, HoldersShareOneBlockThatGoesWithTheLast) {
  VSharedMemoryCache first, second;
  VSharedObjectStatus status;
  ASSERT_TRUE(first.OpenShared(names_, 64, status));
  ASSERT_TRUE(second.OpenShared(names_, 64, status));
  EXPECT_TRUE(first.IsShared());
  EXPECT_TRUE(first.IsMemoryProtected());
  EXPECT_EQ(second.BlockSize(), 64u);
  {
    VIpcLockGuard guard(first.Lock());
    memcpy(first.Block(), "shared", 7);
  }
  {
    VIpcLockGuard guard(second.Lock());
    EXPECT_STREQ(reinterpret_cast<const char*>(second.Block()), "shared");
  }
  EXPECT_EQ(first.ReferenceCount(), 2u);

  second.Release();
  EXPECT_EQ(first.ReferenceCount(), 1u);
  EXPECT_TRUE(SharedObjectExists(names_.mapping));
  first.Release();
  EXPECT_FALSE(SharedObjectExists(names_.mapping));
  EXPECT_FALSE(SharedObjectExists(names_.lock));

  VSharedMemoryCache later;
  ASSERT_TRUE(later.OpenShared(names_, 64, status));
  EXPECT_EQ(later.Block()[0], 0) << "a new block starts zero-filled";
  EXPECT_EQ(later.ReferenceCount(), 1u);
}

TEST_F(SharedMemoryCache, ObjectsNotPrivateToTheUserAreRefusedAndKept) {
  VSharedMemoryCache cache;
  VSharedObjectStatus status;
  PreCreate(names_.mapping, 0644, 0);
  EXPECT_FALSE(cache.OpenShared(names_, 64, status));
  EXPECT_EQ(status.problem, VSharedObjectProblem::NotPrivate);
  EXPECT_EQ(status.objectName, names_.mapping);
  EXPECT_EQ(status.mode, 0644u);
  EXPECT_FALSE(cache.IsOpen());
  EXPECT_TRUE(SharedObjectExists(names_.mapping)) << "someone else's object is not removed";
  qtest::RemoveSharedObjects(names_);

  // The gate is checked the same way: whoever holds it decides who attaches.
  PreCreate(names_.lock, 0660, 0);
  status = {};
  EXPECT_FALSE(cache.OpenShared(names_, 64, status));
  EXPECT_EQ(status.problem, VSharedObjectProblem::NotPrivate);
  EXPECT_EQ(status.objectName, names_.lock);
  qtest::RemoveSharedObjects(names_);

  if (geteuid() != 0) GTEST_SKIP() << "giving an object to another user needs root";
  PreCreate(names_.mapping, 0600, 256, 4242);
  status = {};
  EXPECT_FALSE(cache.OpenShared(names_, 64, status));
  EXPECT_EQ(status.problem, VSharedObjectProblem::NotPrivate);
  EXPECT_EQ(status.owner, 4242u);
}

TEST_F(SharedMemoryCache, LeftoversNobodyHoldsAreRenewed) {
  VSharedObjectStatus status;
  // A creator that died before sizing the object, and one that left a full block of garbage.
  for (off_t size : {off_t(0), off_t(192)}) {
    PreCreate(names_.mapping, 0600, size);
    if (size) {
      int fd = shm_open(("/" + names_.mapping).c_str(), O_RDWR, 0);
      ASSERT_EQ(pwrite(fd, "garbage", 7, 128), 7);
      close(fd);
    }
    VSharedMemoryCache cache;
    ASSERT_TRUE(cache.OpenShared(names_, 64, status)) << size;
    EXPECT_EQ(cache.Block()[0], 0);
    EXPECT_EQ(cache.ReferenceCount(), 1u);
  }
}

TEST_F(SharedMemoryCache, ALiveBlockOfAnotherSizeIsRefused) {
  VSharedMemoryCache holder, other;
  VSharedObjectStatus status;
  ASSERT_TRUE(holder.OpenShared(names_, 64, status));
  EXPECT_FALSE(other.OpenShared(names_, 128, status));
  EXPECT_EQ(status.problem, VSharedObjectProblem::Incompatible);
  EXPECT_EQ(holder.ReferenceCount(), 1u);

  status = {};
  EXPECT_FALSE(other.OpenShared({"bad/name", names_.lock}, 64, status));
  EXPECT_EQ(status.code, win32::kInvalidName);
}

TEST_F(SharedMemoryCache, APrivateBlockHasTheSameLayout) {
  VSharedMemoryCache cache;
  VSharedObjectStatus status;
  ASSERT_TRUE(cache.OpenPrivate(4104, status));
  EXPECT_FALSE(cache.IsShared());
  EXPECT_EQ(cache.ReferenceCount(), 1u);
  VIpcLockGuard guard(cache.Lock());
  EXPECT_FALSE(guard.PreviousHolderDied());
  EXPECT_EQ(cache.Block()[4103], 0);
}

TEST(ProcessIdentity, ARecordedProcessIsTheSameOnlyWhileItRuns) {
  uint64_t started = vproc::ProcessStartTime(getpid());
  ASSERT_NE(started, 0u);
  EXPECT_TRUE(vproc::IsProcessRunning(getpid(), started));
  EXPECT_FALSE(vproc::IsProcessRunning(getpid(), started + 1)) << "an id reused by another process";

  pid_t child = fork();
  if (child == 0) _exit(0);
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, child, &info, WEXITED | WNOWAIT), 0);  // exited, not yet reaped
  EXPECT_FALSE(vproc::IsProcessRunning(child, 0)) << "a zombie";
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  EXPECT_FALSE(vproc::IsProcessRunning(child, 0));
  EXPECT_EQ(vproc::ProcessStartTime(child), 0u);
}

}  // namespace
