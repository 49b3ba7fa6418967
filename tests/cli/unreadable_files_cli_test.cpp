// Value files that are not files the host can read whole: a pipe or a link to a device is refused
// at once with a message naming it, never waited on or read without end; a file made by the host
// is its user's alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_support.h"

namespace {

using qtest::Quillane;
using qtest::RunResult;
using qtest::TempDir;

class UnreadableFiles : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", dir / "cfg"});
    return Quillane(args, qtest::HostEnv(dir));
  }
  TempDir dir;
};

TEST_F(UnreadableFiles, KeyValuesRefusesAPipeOrADeviceNamingTheFile) {
  qtest::MakeDirs(dir / "cfg/Sessions");
  const std::string file = dir / "cfg/Sessions/db1.ini";
  ASSERT_EQ(mkfifo(file.c_str(), 0644), 0);
  RunResult piped = Q({"key", "values", "Sessions/db1"});
  EXPECT_NE(piped.status, 0);
  EXPECT_NE(piped.err.find(file), std::string::npos) << piped.err;
  ASSERT_EQ(unlink(file.c_str()), 0);
  ASSERT_EQ(symlink("/dev/zero", file.c_str()), 0);
  RunResult zero = Q({"key", "values", "Sessions/db1"});
  EXPECT_NE(zero.status, 0);
  EXPECT_NE(zero.err.find(file), std::string::npos) << zero.err;
}

TEST_F(UnreadableFiles, FilesAndFoldersTheHostCreatesAreItsUsersAlone) {
  RunResult set = Q({"key", "set", "Sessions/Lab/host1", "Password V2", "--string", "02:secret"});
  ASSERT_EQ(set.status, 0) << set.err;
  struct stat st {};
  for (const char* folder : {"cfg", "cfg/Sessions", "cfg/Sessions/Lab"}) {
    ASSERT_EQ(stat((dir / folder).c_str(), &st), 0) << folder;
    EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
  }
  ASSERT_EQ(stat((dir / "cfg/Sessions/Lab/host1.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
