// The INI store against other processes: writers killed at any moment, and readers and writers
// working on one key at once. A reader must only ever see a whole file, old or new.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "key_entries.h"
#include "storage/ini/ini_entry_scan.h"
#include "storage/ini/ini_file_store.h"
#include "support/test_support.h"

namespace {

constexpr int kValues = 3000;

// Writes every value of the key with one version number, then writes it out.
void WriteVersion(VIniFileStoreFactory& factory, int version) {
  VProfileStore store(&factory);
  VProfileKey key(*store.GetRootKey(), u"Big");
  std::string text = "version " + std::to_string(version);
  for (int i = 0; i < kValues; ++i) {
    key.WriteString(U8("Value " + std::to_string(i)).c_str(), U8(text).c_str());
  }
  key.Flush();
}

// Reads the file as a reader would and checks it is one complete version: every entry read, all
// of the same version. Returns that version, or -1 when the file is missing.
int CheckWhole(const std::string& path) {
  std::string bytes;
  if (!VTextFile::ReadLocked(path, bytes).ok()) return -1;
  std::string converted;
  std::string_view text = VIniTextAsUtf8(bytes, converted);
  int count = 0;
  std::string version;
  bool consistent = true;
  size_t stop = VScanIniEntries(text, [&](const VIniRawEntry& entry) {
    if (version.empty()) version = std::string(entry.rest);
    consistent = consistent && entry.rest == version;
    ++count;
  });
  EXPECT_EQ(stop, text.size()) << "the file ends in the middle of an entry";
  EXPECT_EQ(count, kValues);
  EXPECT_TRUE(consistent) << "values of two versions in one file";
  return count == kValues && consistent ? std::stoi(version.substr(8)) : -2;
}

TEST(IniProcesses, AWriterKilledAtAnyMomentLeavesAWholeFile) {
  qtest::TempDir dir;
  VIniFileStoreFactory factory(U8(dir / "cfg"));
  WriteVersion(factory, 0);
  std::mt19937 random(12345);
  int lastSeen = 0;
  for (int round = 0; round < 25; ++round) {
    pid_t child = fork();
    if (child == 0) {
      for (int version = (round + 1) * 1000;; ++version) WriteVersion(factory, version);
    }
    usleep(std::uniform_int_distribution<int>(1000, 40000)(random));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    int version = CheckWhole(dir / "cfg/Big.ini");
    ASSERT_GE(version, 0);
    EXPECT_GE(version, lastSeen);
    lastSeen = version;
  }
  // No temporary file of a killed writer is taken for a key.
  VProfileStore store(true, &factory);
  EXPECT_EQ(ListEntries(*store.GetRootKey(), false).size(), 1u);
}

TEST(IniProcesses, ReadersNeverSeeAPartialFileWhileOthersWrite) {
  qtest::TempDir dir;
  VIniFileStoreFactory factory(U8(dir / "cfg"));
  WriteVersion(factory, 0);
  std::vector<pid_t> children;
  for (int writer = 0; writer < 2; ++writer) {
    pid_t child = fork();
    if (child == 0) {
      for (int i = 0; i < 15; ++i) WriteVersion(factory, (writer + 1) * 100 + i);
      _exit(0);
    }
    children.push_back(child);
  }
  for (int reader = 0; reader < 2; ++reader) {
    pid_t child = fork();
    if (child == 0) {
      // A failed expectation in the child is turned into its exit status.
      for (int i = 0; i < 60; ++i) {
        if (CheckWhole(dir / "cfg/Big.ini") < 0 || ::testing::Test::HasFailure()) _exit(1);
        // Reads through the store as well: every value present, one version.
        VProfileStore store(true, &factory);
        VProfileKey key(*store.GetRootKey(), u"Big");
        VUnicodeString first, last;
        if (!key.ReadString(u"Value 0", first) || !key.ReadString(U8("Value " + std::to_string(kValues - 1)).c_str(), last) ||
            first != last)
          _exit(2);
      }
      _exit(0);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "process " << child;
  }
  EXPECT_GE(CheckWhole(dir / "cfg/Big.ini"), 100);
}

}  // namespace
