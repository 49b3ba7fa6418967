// Ways a user could lose data through the host, tried as a hostile or unlucky user would: writers
// racing each other, a personal data folder that is the configuration folder under another
// spelling, copies and deletions that meet files they cannot write. Each must keep every value
// or say plainly what was not done.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "support/test_support.h"

namespace {

using qtest::Quillane;
using qtest::RunResult;
using qtest::TempDir;

class DataLoss : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args, const std::vector<std::string>& before = {}) {
    args.insert(args.begin(), before.begin(), before.end());
    args.insert(args.begin(), {"--config", dir / "cfg"});
    return Quillane(args, qtest::HostEnv(dir));
  }
  // Runs every command at once, each in its own process.
  std::vector<RunResult> Together(const std::vector<std::vector<std::string>>& commands) {
    std::vector<RunResult> results(commands.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < commands.size(); ++i)
      threads.emplace_back([&, i] { results[i] = Q(commands[i]); });
    for (auto& thread : threads) thread.join();
    return results;
  }
  TempDir dir;
};

TEST_F(DataLoss, ParallelWritersOfOneKeyKeepEveryValue) {
  ASSERT_EQ(Q({"key", "set", "Sessions/Shared", "Before", "--string", "kept"}).status, 0);
  std::vector<std::vector<std::string>> commands;
  for (int i = 0; i < 20; ++i) {
    commands.push_back({"key", "set", "Sessions/Shared", "V" + std::to_string(i), "--dword",
                        std::to_string(i)});
    // A rewrite among them must not undo what the others write.
    if (i % 4 == 0) commands.push_back({"key", "rewrite", "Sessions/Shared"});
  }
  for (const RunResult& result : Together(commands)) EXPECT_EQ(result.status, 0) << result.err;
  for (int i = 0; i < 20; ++i) {
    RunResult get = Q({"key", "get", "Sessions/Shared", "V" + std::to_string(i)});
    EXPECT_EQ(get.status, 0) << "V" << i << " lost";
    EXPECT_EQ(get.out, std::to_string(i) + "\n");
  }
  EXPECT_EQ(Q({"key", "get", "Sessions/Shared", "Before"}).out, "kept\n");
}

TEST_F(DataLoss, ParallelGlobalSetsKeepEverySetting) {
  // Settings whose default is 0 or 1, each set to the other.
  const std::vector<std::pair<std::string, int>> settings = {
      {"Connect Dialog Sort Order", 1}, {"Paste On Middle Button", 1},
      {"Paste On Right Button", 0},     {"Use System Caret", 1},
      {"Suppress Execute Escape Sequence Exit Codes", 1},
      {"Alt Selects Menu", 0},          {"Check Shell Telnet Command", 0},
      {"Use Old Icons", 1},             {"Suppress Mapped Key Is Default Warning", 1},
      {"Page Orientation", 0},          {"Paper Size", 0},
      {"Printer Color", 0},             {"Printer Duplex", 0},
      {"Printer Media Type", 0},        {"Printer Parity", 1},
      {"Printer Stop Bits", 1},         {"Printer DTR Flow Control", 0},
      {"Printer RTS Flow Control", 0},  {"Eject Page Interval", 1},
      {"Tab Location", 1}};
  ASSERT_EQ(Q({"global", "save"}).status, 0);
  std::vector<std::vector<std::string>> commands;
  for (const auto& [name, value] : settings)
    commands.push_back({"global", "set", name, std::to_string(value)});
  for (const RunResult& result : Together(commands)) EXPECT_EQ(result.status, 0) << result.err;
  for (const auto& [name, value] : settings) {
    EXPECT_EQ(Q({"global", "show", name}).out,
              "int\t" + name + "\t" + std::to_string(value) + "\tstored\n");
  }
}

// A personal data folder given as another spelling of the configuration folder would make each
// save write the main file and then replace it with the personal one.
TEST_F(DataLoss, PersonalFolderThatIsTheConfigurationFolderKeepsEveryValue) {
  qtest::MakeDirs(dir / "cfg");
  ASSERT_EQ(symlink((dir / "cfg").c_str(), (dir / "link").c_str()), 0);
  for (const std::string& personal : {dir / "link", dir / "cfg/.", dir / "cfg/"}) {
    RunResult set = Q({"key", "set", "Sessions/Host", "Hostname", "--string", "h"},
                      {"--personal", personal});
    ASSERT_EQ(set.status, 0) << set.err;
    RunResult user = Q({"key", "set", "Sessions/Host", "Username", "--string", "u"},
                       {"--personal", personal});
    ASSERT_EQ(user.status, 0) << user.err;
    EXPECT_EQ(qtest::ReadFile(dir / "cfg/Sessions/Host.ini"),
              "\xEF\xBB\xBFS:\"Username\"=u\r\nS:\"Hostname\"=h\r\n")
        << personal;
  }
}

TEST_F(DataLoss, RememberingTheConfigurationFolderAsPersonalFolderIsRefused) {
  qtest::MakeDirs(dir / "cfg");
  ASSERT_EQ(symlink((dir / "cfg").c_str(), (dir / "link").c_str()), 0);
  for (const std::string& personal : {dir / "link", dir / "cfg/.", dir / "cfg"}) {
    RunResult set = Q({"paths", "personal", "--set", personal});
    EXPECT_EQ(set.status, 3) << personal;
    EXPECT_NE(set.err.find("cannot be the same folder as the Configuration Folder"),
              std::string::npos)
        << set.err;
  }
  EXPECT_EQ(Q({"--json", "paths", "show"}).out.find("\"personal_data_path_stored\": \"/"),
            std::string::npos);
  RunResult other = Q({"paths", "personal", "--set", dir / "personal"});
  EXPECT_EQ(other.status, 0) << other.err;
}

TEST_F(DataLoss, MergingAKeyIntoItselfIsRefused) {
  ASSERT_EQ(Q({"key", "set", "Sessions/Host", "Hostname", "--string", "h"}).status, 0);
  const std::string before = qtest::ReadFile(dir / "cfg/Sessions/Host.ini");
  qtest::MakeDirs(dir / "other");
  ASSERT_EQ(symlink((dir / "cfg").c_str(), (dir / "other/link").c_str()), 0);
  for (const std::string& folder : {dir / "cfg", dir / "cfg/.", dir / "other/link"}) {
    RunResult merge = Q({"key", "merge-personal", "Sessions/Host", folder});
    EXPECT_EQ(merge.status, 3) << folder;
    EXPECT_NE(merge.err.find("cannot be the same folder as the Configuration Folder"),
              std::string::npos)
        << merge.err;
    EXPECT_EQ(qtest::ReadFile(dir / "cfg/Sessions/Host.ini"), before);
  }
}

TEST_F(DataLoss, CopyReportsTheFirstSubKeyThatCouldNotBeWritten) {
  for (int i = 0; i < 40; ++i) {
    std::string key = "Source/K" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    ASSERT_EQ(Q({"key", "set", key, "N", "--dword", std::to_string(i)}).status, 0);
  }
  // The destination's fifteenth sub-key may not be written.
  qtest::WriteFile(dir / "cfg/Dest/K14.ini", "\xEF\xBB\xBF" "D:\"N\"=00000063\r\n");
  ASSERT_EQ(chmod((dir / "cfg/Dest/K14.ini").c_str(), 0444), 0);
  RunResult copy = Q({"key", "copy", "Source", "Dest"});
  EXPECT_EQ(copy.status, 3);
  EXPECT_NE(copy.err.find("Dest\\K14"), std::string::npos) << copy.err;
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/Dest/K14.ini"), "\xEF\xBB\xBF" "D:\"N\"=00000063\r\n");
}

// The destination on a small file system of its own, which fills part of the way through.
TEST_F(DataLoss, CopyReportsAFullDisk) {
  const std::string block(2000, 'a');
  for (int i = 0; i < 40; ++i) {
    std::string key = "Source/K" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    ASSERT_EQ(Q({"key", "set", key, "Block", "--string", block}).status, 0);
  }
  qtest::MakeDirs(dir / "cfg/Dest");
  if (mount("tmpfs", (dir / "cfg/Dest").c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "a small file system cannot be mounted here";
  struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{dir / "cfg/Dest"};
  RunResult copy = Q({"key", "copy", "Source", "Dest"});
  EXPECT_EQ(copy.status, 3);
  EXPECT_NE(copy.err.find("could not be copied to 'Dest': Dest\\K"), std::string::npos)
      << copy.err;
}

TEST_F(DataLoss, DeletingATreeWithAReadOnlyFileRemovesNothing) {
  ASSERT_EQ(Q({"key", "set", "Sessions/Lab/a", "N", "--dword", "1"}).status, 0);
  ASSERT_EQ(Q({"key", "set", "Sessions/Lab/b", "N", "--dword", "2"}).status, 0);
  ASSERT_EQ(Q({"key", "set", "Sessions/Lab", "N", "--dword", "3"}).status, 0);
  ASSERT_EQ(chmod((dir / "cfg/Sessions/Lab/b.ini").c_str(), 0444), 0);
  RunResult deleted = Q({"key", "delete", "Sessions/Lab"});
  EXPECT_EQ(deleted.status, 3);
  EXPECT_NE(deleted.err.find("Sessions\\Lab"), std::string::npos) << deleted.err;
  EXPECT_NE(deleted.err.find("b.ini"), std::string::npos) << deleted.err;
  EXPECT_TRUE(qtest::Exists(dir / "cfg/Sessions/Lab/a.ini"));
  EXPECT_TRUE(qtest::Exists(dir / "cfg/Sessions/Lab/b.ini"));
  EXPECT_TRUE(qtest::Exists(dir / "cfg/Sessions/Lab.ini"));
}

// The root key's values stay inside the configuration folder.
TEST_F(DataLoss, RootValuesAreKeptInsideTheFolder) {
  qtest::WriteFile(dir / "cfg.ini", "\xEF\xBB\xBF" "S:\"Old\"=before\r\n");
  EXPECT_EQ(Q({"key", "get", "/", "Old"}).out, "before\n");  // the former place is still read
  ASSERT_EQ(Q({"key", "set", "/", "New", "--string", "x"}).status, 0);
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/.ini"),
            "\xEF\xBB\xBF" "S:\"Old\"=before\r\nS:\"New\"=x\r\n");
  EXPECT_EQ(qtest::ReadFile(dir / "cfg.ini"), "\xEF\xBB\xBF" "S:\"Old\"=before\r\n");
  EXPECT_EQ(Q({"key", "list", "/"}).out, "");  // the root's file is no sub-key
  // No sub-key can take the root's file.
  EXPECT_EQ(Q({"key", "set", ".ini", "V", "--string", "x"}).status, 3);
  EXPECT_EQ(Q({"key", "set", ".INI/x", "V", "--string", "x"}).status, 3);
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/.ini"),
            "\xEF\xBB\xBF" "S:\"Old\"=before\r\nS:\"New\"=x\r\n");

  // The same for the root of a registry hive.
  std::map<std::string, std::string> env = qtest::HostEnv(dir);
  qtest::WriteFile(dir / "registry/HKCU.ini", "\xEF\xBB\xBF" "S:\"Old\"=hive\r\n");
  qtest::MakeDirs(dir / "registry/HKCU");
  EXPECT_EQ(Quillane({"--registry", "HKCU", "key", "get", "/", "Old"}, env).out, "hive\n");
  RunResult set = Quillane({"--registry", "HKCU", "key", "set", "/", "New", "--string", "y"}, env);
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(Quillane({"--registry", "HKCU", "key", "get", "/", "Old"}, env).out, "hive\n");
  EXPECT_EQ(Quillane({"--registry", "HKCU", "key", "get", "/", "New"}, env).out, "y\n");
  EXPECT_NE(qtest::ReadFile(dir / "registry/HKCU/.ini").find("New"), std::string::npos);
  EXPECT_EQ(qtest::ReadFile(dir / "registry/HKCU.ini"), "\xEF\xBB\xBF" "S:\"Old\"=hive\r\n");
  EXPECT_EQ(Quillane({"--registry", "HKCU", "key", "set", ".ini", "V", "--string", "x"}, env).status,
            3);
}

// A refused or failed command leaves nothing behind, not even the folders on the way.
TEST_F(DataLoss, RefusedOrFailedCommandsCreateNothing) {
  ASSERT_EQ(Q({"session", "create", "Kept"}).status, 0);
  const std::string tooLong(300, 'x');
  RunResult create = Q({"session", "create", "Lab/Deeper/" + tooLong});
  EXPECT_EQ(create.status, 3);
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Sessions/Lab"));
  EXPECT_TRUE(qtest::Exists(dir / "cfg/Sessions/Kept.ini"));

  std::map<std::string, std::string> env = qtest::HostEnv(dir);
  RunResult set = Quillane({"--registry", "HKCU", "key", "set", "SOFTWARE/../..", "v", "--string", "x"},
                           env);
  EXPECT_EQ(set.status, 3);
  EXPECT_FALSE(qtest::Exists(dir / "registry/HKCU/SOFTWARE"));
  RunResult copy = Quillane({"--registry", "HKCU", "key", "copy", "A", "B/../.."}, env);
  EXPECT_EQ(copy.status, 3);
  EXPECT_FALSE(qtest::Exists(dir / "registry/HKCU/B"));
  // A value the store refuses takes back the keys opened for it.
  for (const std::string& name : {std::string("bad\"name"), std::string("v")}) {
    RunResult refused = Quillane({"--registry", "HKCU", "key", "set", "Made/Here", name,
                                  "--string", name == "v" ? "two\nlines" : "x"},
                                 env);
    EXPECT_EQ(refused.status, 3) << name;
    EXPECT_FALSE(qtest::Exists(dir / "registry/HKCU/Made")) << name;
  }
  RunResult tooLongKey = Q({"key", "set", "Made/Here/" + tooLong, "v", "--string", "x"});
  EXPECT_EQ(tooLongKey.status, 3);
  EXPECT_FALSE(qtest::Exists(dir / "cfg/Made"));
}

}  // namespace
