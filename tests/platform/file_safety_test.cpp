// What the file layer does with files that are not what they seem (pipes, devices, huge files),
// with writers killed half-way, with locks held too long, and with files shared through a group.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "platform/file_system.h"
#include "platform/platform_messages.h"
#include "platform/win32_errors.h"
#include "support/test_support.h"

namespace {

using namespace std::chrono_literals;

// A child process that holds a lock on `path` until the returned pipe is written or closed.
struct LockHolder {
  pid_t pid = -1;
  int release = -1;

  LockHolder(const std::string& path, bool exclusive) {
    int ready[2], go[2];
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(go), 0);
    pid = fork();
    if (pid == 0) {
      close(ready[0]);
      close(go[1]);
      int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
      struct flock lock {};
      lock.l_type = exclusive ? F_WRLCK : F_RDLCK;
      lock.l_len = 4;
      if (fd < 0 || fcntl(fd, F_OFD_SETLK, &lock) != 0) _exit(1);
      char c = 'x';
      if (write(ready[1], &c, 1) != 1) _exit(1);
      (void)!read(go[0], &c, 1);
      _exit(0);
    }
    close(ready[1]);
    close(go[0]);
    char c;
    EXPECT_EQ(read(ready[0], &c, 1), 1) << "the child could not lock " << path;
    close(ready[0]);
    release = go[1];
  }
  ~LockHolder() {
    close(release);
    waitpid(pid, nullptr, 0);
  }
};

void MakeOld(const std::string& path, int minutes) {
  struct timeval times[2];
  gettimeofday(&times[0], nullptr);
  times[0].tv_sec -= minutes * 60;
  times[1] = times[0];
  ASSERT_EQ(utimes(path.c_str(), times), 0);
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// A pipe would block the reader and a device would never end: both are refused at once.
TEST(UnusualFiles, APipeOrALinkToADeviceIsRefusedAtOnce) {
  qtest::TempDir dir;
  ASSERT_EQ(mkfifo((dir / "pipe.ini").c_str(), 0644), 0);
  ASSERT_EQ(symlink("/dev/zero", (dir / "zero.ini").c_str()), 0);
  for (const char* name : {"pipe.ini", "zero.ini"}) {
    auto start = std::chrono::steady_clock::now();
    auto file = vfs::File::OpenForReading(dir / name);
    ASSERT_FALSE(file.ok()) << name;
    EXPECT_EQ(file.Code(), win32::kBadFileType) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << name;
  }
}

TEST(UnusualFiles, AFileAboveTheLimitIsRefusedAndNothingIsReturned) {
  qtest::TempDir dir;
  std::string path = dir / "K.ini";
  qtest::WriteFile(path, std::string(40000, 'x'));
  auto file = vfs::File::OpenForReading(path);
  ASSERT_TRUE(file.ok());
  std::string bytes = "left over";
  EXPECT_EQ(file->ReadAll(bytes, 39999).Code(), win32::kFileTooLarge);
  EXPECT_TRUE(bytes.empty());
  auto again = vfs::File::OpenForReading(path);
  ASSERT_TRUE(again.ok());
  ASSERT_TRUE(again->ReadAll(bytes, 40000).ok());
  EXPECT_EQ(bytes.size(), 40000u);
  EXPECT_EQ(vfs::kMaxSettingsFileSize, 256u << 20);
}

// Files around the size of the first read, and a large one read at the size it gives: each comes
// back whole and exact, and a limit one byte short refuses it.
TEST(UnusualFiles, FilesOfEverySizeAreReadWhole) {
  qtest::TempDir dir;
  for (size_t size : {size_t{0}, size_t{16383}, size_t{16384}, size_t{16385}, size_t{32768},
                      size_t{(1u << 20) + 7}}) {
    std::string content(size, '\0');
    for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    std::string path = dir / ("f" + std::to_string(size));
    qtest::WriteFile(path, content);
    auto file = vfs::File::OpenForReading(path);
    ASSERT_TRUE(file.ok());
    std::string bytes;
    ASSERT_TRUE(file->ReadAll(bytes, size).ok()) << size;
    EXPECT_TRUE(bytes == content) << size;
    if (size == 0) continue;
    auto again = vfs::File::OpenForReading(path);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->ReadAll(bytes, size - 1).Code(), win32::kFileTooLarge) << size;
    EXPECT_TRUE(bytes.empty());
  }
}

TEST(Listing, EntriesCarryTheKindTheListingToldAndALinkIsALink) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "f.ini", "x");
  qtest::MakeDirs(dir / "sub");
  ASSERT_EQ(symlink((dir / "sub").c_str(), (dir / "link").c_str()), 0);
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
  std::vector<vfs::FolderEntry> entries;
  ASSERT_TRUE(vfs::ListFolder(dir.Path(), entries).ok());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "f.ini");
  EXPECT_EQ(entries[0].kind, vfs::EntryKind::kFile);
  EXPECT_EQ(entries[1].name, "link");
  EXPECT_EQ(entries[1].kind, vfs::EntryKind::kLink);
  EXPECT_TRUE(entries[1].isLink);
  // It leads to a folder, which callers that must not walk through links are told.
  EXPECT_TRUE(entries[1].isDirectory);
  EXPECT_EQ(entries[2].kind, vfs::EntryKind::kOther);
  EXPECT_EQ(entries[3].kind, vfs::EntryKind::kFolder);
  EXPECT_TRUE(entries[3].isDirectory);
}

TEST(StaleTemporaries, AWriteRemovesOldUnlockedTemporariesAndKeepsLiveOnes) {
  qtest::TempDir dir;
  const std::string killed = dir / ".K.ini.tmp-0123456789ab";
  const std::string writing = dir / ".K.ini.tmp-aaaaaaaaaaaa";
  const std::string fresh = dir / ".L.ini.tmp-bbbbbbbbbbbb";
  const std::string notOurs = dir / ".K.ini.backup";
  for (const auto& path : {killed, writing, fresh, notOurs}) qtest::WriteFile(path, "partial");
  MakeOld(killed, 20);
  MakeOld(writing, 20);
  MakeOld(notOurs, 20);
  LockHolder writer(writing, true);
  ASSERT_TRUE(vfs::ReplaceFileContents(dir / "K.ini", "new").ok());
  EXPECT_FALSE(qtest::Exists(killed));
  EXPECT_TRUE(qtest::Exists(writing));
  EXPECT_TRUE(qtest::Exists(fresh));
  EXPECT_TRUE(qtest::Exists(notOurs));
  EXPECT_EQ(qtest::ReadFile(dir / "K.ini"), "new");
}

TEST(LockWait, AWriterGivesUpAfterTheLimitWithAMessageNamingTheFile) {
  qtest::TempDir dir;
  const std::string path = dir / "K.ini";
  qtest::WriteFile(path, "old");
  LockHolder reader(path, false);
  vfs::ReplaceOptions options;
  options.lockWait = 300ms;
  auto start = std::chrono::steady_clock::now();
  VStatus status = vfs::ReplaceFileContents(path, "new", options);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
  EXPECT_EQ(status.MessageId(), kMsgLockWaitTimedOut);
  EXPECT_EQ(status.Code(), win32::kSharingViolation);
  ASSERT_FALSE(status.Inserts().empty());
  EXPECT_EQ(status.Inserts()[0], path);
  EXPECT_EQ(qtest::ReadFile(path), "old");
  // The locked update gives up the same way.
  VStatus updated = vfs::UpdateFileContents(
      path, [](std::string_view, bool, std::string& out) { out = "x"; return VStatus(); },
      options);
  EXPECT_EQ(updated.MessageId(), kMsgLockWaitTimedOut);
  EXPECT_EQ(qtest::ReadFile(path), "old");
}

TEST(Modes, NewFoldersAndFilesAreTheOwnersAloneAndExistingOnesKeepTheirs) {
  qtest::TempDir dir;
  mode_t old = umask(022);
  EXPECT_TRUE(vfs::ReplaceFileContents(dir / "new/deeper/K.ini", "x").ok());
  EXPECT_EQ(ModeOf(dir / "new"), 0700u);
  EXPECT_EQ(ModeOf(dir / "new/deeper"), 0700u);
  EXPECT_EQ(ModeOf(dir / "new/deeper/K.ini"), 0600u);
  qtest::MakeDirs(dir / "shared");
  ASSERT_EQ(chmod((dir / "shared").c_str(), 0775), 0);
  qtest::WriteFile(dir / "shared/K.ini", "old");
  ASSERT_EQ(chmod((dir / "shared/K.ini").c_str(), 0664), 0);
  EXPECT_TRUE(vfs::ReplaceFileContents(dir / "shared/K.ini", "new").ok());
  EXPECT_EQ(ModeOf(dir / "shared"), 0775u);
  EXPECT_EQ(ModeOf(dir / "shared/K.ini"), 0664u);
  umask(old);
}

// Runs `body` in a child as another user (uid `uid`, 61001 by default) whose own group is
// uid + 1 and who is also a member of `groups`; its exit status is returned.
int AsOtherUser(const std::vector<gid_t>& groups, const std::function<int()>& body,
                uid_t uid = 61001) {
  pid_t pid = fork();
  if (pid == 0) {
    gid_t own = uid + 1;
    if (setgroups(groups.size(), groups.data()) != 0 || setresgid(own, own, own) != 0 ||
        setresuid(uid, uid, uid) != 0)
      _exit(90);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SharedFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as two users";
    folder_ = dir_ / "team";
    qtest::MakeDirs(folder_);
    ASSERT_EQ(chmod(dir_.Path().c_str(), 0755), 0);  // the other user must reach the folder
    // Owned by one member (61000), writable by the team's group (61010).
    ASSERT_EQ(chown(folder_.c_str(), 61000, kTeam), 0);
    ASSERT_EQ(chmod(folder_.c_str(), 0775), 0);
    file_ = folder_ + "/K.ini";
    qtest::WriteFile(file_, "old");
    ASSERT_EQ(chown(file_.c_str(), 61000, kTeam), 0);
    ASSERT_EQ(chmod(file_.c_str(), 0664), 0);
  }
  static constexpr gid_t kTeam = 61010;
  qtest::TempDir dir_;
  std::string folder_;
  std::string file_;
};

TEST_F(SharedFolder, ASaveByAnotherMemberKeepsTheGroupAndModeSoTheOwnerIsNotLockedOut) {
  int status = AsOtherUser({kTeam}, [&] {
    bool warned = false;
    vfs::SetOwnershipNoticeHandler([&](const std::string&, uint32_t) { warned = true; });
    if (!vfs::ReplaceFileContents(file_, "theirs").ok()) return 1;
    return warned ? 2 : 0;
  });
  ASSERT_EQ(status, 0);
  struct stat st {};
  ASSERT_EQ(stat(file_.c_str(), &st), 0);
  EXPECT_EQ(st.st_gid, kTeam);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
  EXPECT_EQ(qtest::ReadFile(file_), "theirs");
  // The first owner can still write it.
  EXPECT_EQ(AsOtherUser({kTeam}, [&] { return vfs::ReplaceFileContents(file_, "mine").ok() ? 0 : 1; },
                        61000),
            0);
  EXPECT_EQ(qtest::ReadFile(file_), "mine");
}

TEST_F(SharedFolder, ASaveThatCannotKeepTheGroupSucceedsAndSaysSo) {
  // Writable by anyone, but the writer is not in the team.
  ASSERT_EQ(chmod(folder_.c_str(), 0777), 0);
  ASSERT_EQ(chmod(file_.c_str(), 0666), 0);
  int status = AsOtherUser({}, [&] {
    std::string noticed;
    vfs::SetOwnershipNoticeHandler([&](const std::string& path, uint32_t) { noticed = path; });
    if (!vfs::ReplaceFileContents(file_, "theirs").ok()) return 1;
    return noticed == file_ ? 0 : 2;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(qtest::ReadFile(file_), "theirs");
}

}  // namespace
