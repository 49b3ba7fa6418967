// The platform layer: text conversions and the file operations every store relies on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "platform/file_system.h"
#include "platform/unicode_string.h"
#include "platform/win32_errors.h"
#include "support/test_support.h"

namespace {

TEST(Text, ConversionsAndCaseRules) {
  EXPECT_TRUE(vtext::IsValidUtf8("caf\xC3\xA9"));
  EXPECT_FALSE(vtext::IsValidUtf8("caf\xE9"));
  EXPECT_FALSE(vtext::IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(vtext::IsValidUtf8("\xED\xA0\x80"));      // encoded surrogate
  EXPECT_FALSE(vtext::IsValidUtf8("\xE2\x82"));          // cut short
  EXPECT_EQ(vtext::FromNarrow("caf\xE9 \x80"), u"caf\u00e9 \u20ac");
  EXPECT_EQ(vtext::FromUtf8("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(vtext::ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  std::string out;
  EXPECT_FALSE(vtext::Utf16ToUtf8Strict(std::u16string(1, char16_t(0xD800)), out));
  EXPECT_TRUE(vtext::EqualsNoCase(u"Sessions\u00C9", u"sESSIONS\u00E9"));
  EXPECT_LT(vtext::CompareNoCase(u"ab", u"ABC"), 0);
  EXPECT_GT(vtext::CompareNoCase(u"b", u"A"), 0);
}

TEST(Text, ArraysAndSensitiveStrings) {
  VStringArray list{u"a", u"b"};
  EXPECT_THROW(list[2], VOutOfRange);
  EXPECT_THROW(list.RemoveAt(5), VOutOfRange);
  VUnicodeString secret(u"password");
  secret.SetSensitive(true);
  secret.Wipe();
  EXPECT_TRUE(secret.empty());
}

TEST(Files, ErrnoBecomesWin32Codes) {
  EXPECT_EQ(win32::FromErrno(ENOENT), 2u);
  EXPECT_EQ(win32::FromErrno(ENOENT, true), 3u);
  EXPECT_EQ(win32::FromErrno(EACCES), 5u);
  EXPECT_EQ(win32::FromErrno(EPERM), 5u);
  EXPECT_EQ(win32::FromErrno(EEXIST), 183u);
  EXPECT_EQ(win32::FromErrno(ENOSPC), 112u);
  EXPECT_EQ(win32::FromErrno(ENAMETOOLONG), 206u);
}

TEST(Files, PathsAndComponents) {
  EXPECT_EQ(vfs::JoinPath("/a/", "/b"), "/a/b");
  EXPECT_EQ(vfs::JoinPath("a", "b"), "a/b");
  EXPECT_EQ(vfs::ParentFolder("/a/b.ini"), "/a");
  EXPECT_EQ(vfs::BaseName("/a/b.ini"), "b.ini");
  EXPECT_TRUE(vfs::IsSafeComponent(u"host 1"));
  EXPECT_TRUE(vfs::IsSafeComponent(u"..."));
  EXPECT_FALSE(vfs::IsSafeComponent(u".."));
  EXPECT_FALSE(vfs::IsSafeComponent(std::u16string(u"a\0b", 3)));
}

TEST(Files, ReplaceCreatesFoldersAndRefusesReadOnlyFiles) {
  qtest::TempDir dir;
  vfs::ReplaceOptions options;
  ASSERT_TRUE(vfs::ReplaceFileContents(dir / "a/b/c.ini", "one", options).ok());
  EXPECT_EQ(qtest::ReadFile(dir / "a/b/c.ini"), "one");
  chmod((dir / "a/b/c.ini").c_str(), 0444);
  EXPECT_TRUE(vfs::Stat(dir / "a/b/c.ini").readOnly);
  VStatus refused = vfs::ReplaceFileContents(dir / "a/b/c.ini", "two", options);
  EXPECT_EQ(refused.Code(), 5u);
  EXPECT_EQ(qtest::ReadFile(dir / "a/b/c.ini"), "one");
  options.createFolders = false;
  EXPECT_EQ(vfs::ReplaceFileContents(dir / "x/y.ini", "z", options).Code(), 3u);
}

TEST(Files, WriterWaitsForAReaderInAnotherProcess) {
  qtest::TempDir dir;
  std::string path = dir / "k.ini";
  qtest::WriteFile(path, "old");
  int toChild[2], toParent[2];
  ASSERT_EQ(pipe(toChild), 0);
  ASSERT_EQ(pipe(toParent), 0);
  pid_t child = fork();
  if (child == 0) {
    auto file = vfs::File::OpenForReading(path);
    if (!file || !file->LockShared().ok()) _exit(1);
    char c = 'x';
    if (write(toParent[1], &c, 1) != 1) _exit(1);
    if (read(toChild[0], &c, 1) != 1) _exit(1);  // hold the lock until told to go
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(toParent[0], &c, 1), 1);
  std::atomic<bool> done{false};
  std::thread writer([&] {
    EXPECT_TRUE(vfs::ReplaceFileContents(path, "new").ok());
    done = true;
  });
  usleep(200 * 1000);
  EXPECT_FALSE(done.load());  // still waiting for the reader's lock
  EXPECT_EQ(qtest::ReadFile(path), "old");
  ASSERT_EQ(write(toChild[1], &c, 1), 1);
  writer.join();
  waitpid(child, nullptr, 0);
  EXPECT_EQ(qtest::ReadFile(path), "new");
}

TEST(Files, RemoveTreeDoesNotFollowLinks) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "keep/file", "x");
  qtest::MakeDirs(dir / "tree/sub");
  ASSERT_EQ(symlink((dir / "keep").c_str(), (dir / "tree/sub/link").c_str()), 0);
  EXPECT_TRUE(vfs::RemoveTree(dir / "tree").ok());
  EXPECT_FALSE(qtest::Exists(dir / "tree"));
  EXPECT_TRUE(qtest::Exists(dir / "keep/file"));
  EXPECT_TRUE(vfs::RemoveTree(dir / "tree").ok());  // already gone
}

}  // namespace
