// quillane personal-data over real folders: the question's Postpone, a migration through folders
// that hold only folders, a read-only session passed over and named, a merge back, and a
// personal data folder made for another configuration refused.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "support/test_support.h"

namespace {

using qtest::RunResult;
namespace fs = std::filesystem;

class PersonalDataCli : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", Config()});
    return qtest::Quillane(args, qtest::HostEnv(dir_));
  }
  void Must(const RunResult& result) { ASSERT_EQ(result.status, 0) << result.err << result.out; }
  std::string Config() const { return dir_ / "cfg"; }
  std::string Personal() const { return dir_ / "cfg.personal"; }

  // Every file below `root` with its bytes.
  static std::map<std::string, std::string> Files(const std::string& root) {
    std::map<std::string, std::string> files;
    if (!fs::exists(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (entry.is_regular_file())
        files[fs::relative(entry.path(), root).string()] = qtest::ReadFile(entry.path().string());
    }
    return files;
  }
  std::string Show(const std::string& path) {
    RunResult shown = Q({"session", "show", path});
    EXPECT_EQ(shown.status, 0) << shown.err;
    return shown.out;
  }
  void MakeTree() {
    for (std::string path : {"top", "Lab/Deep/Deeper/s1", "Lab/Deep/Deeper/s2"}) {
      Must(Q({"session", "create", path}));
      Must(Q({"session", "set", path, "Monitor Username", "user of " + path}));
      Must(Q({"session", "set", path, "Rows", "31"}));
    }
    // Folder order data is kept beside the sessions and is never one.
    qtest::WriteFile(Config() + "/Sessions/Lab/__FolderData__.ini", "S:\"Order\"=Deep\n");
  }

  qtest::TempDir dir_;
};

TEST_F(PersonalDataCli, PostponeChangesNothing) {
  MakeTree();
  auto before = Files(Config());
  // Moved while the applications still read them from the configuration folder, the values
  // would be lost to them.
  RunResult early = Q({"--json", "personal-data", "migrate", "--yes"});
  EXPECT_EQ(early.status, 3);
  EXPECT_NE(early.out.find("0xE138110D"), std::string::npos) << early.out;
  EXPECT_FALSE(fs::exists(Personal()));
  Must(Q({"paths", "personal", "--separate", "on", "--migrate", "on"}));
  RunResult postponed = Q({"--json", "personal-data", "migrate"});
  Must(postponed);
  EXPECT_NE(postponed.out.find("\"done\": false"), std::string::npos) << postponed.out;
  EXPECT_EQ(Files(Config()), before);
  EXPECT_FALSE(fs::exists(Personal()));
  RunResult status = Q({"--json", "personal-data", "status"});
  EXPECT_NE(status.out.find("\"do_personal_data_migration\": true"), std::string::npos)
      << status.out;
}

TEST_F(PersonalDataCli, MigrationAndMergeMoveOnlyPersonalValues) {
  MakeTree();
  std::map<std::string, std::string> shown;
  for (std::string path : {"top", "Lab/Deep/Deeper/s1", "Lab/Deep/Deeper/s2"}) shown[path] = Show(path);
  std::string readOnly = Config() + "/Sessions/Lab/Deep/Deeper/s2.ini";
  std::string readOnlyBytes = qtest::ReadFile(readOnly);
  chmod(readOnly.c_str(), 0444);
  std::string folderData = qtest::ReadFile(Config() + "/Sessions/Lab/__FolderData__.ini");

  Must(Q({"paths", "personal", "--separate", "on", "--migrate", "on"}));
  RunResult migrated = Q({"--json", "personal-data", "migrate", "--yes"});
  Must(migrated);
  // "Default" is a session too.
  EXPECT_NE(migrated.out.find("\"sessions\": 3"), std::string::npos) << migrated.out;
  EXPECT_NE(migrated.out.find("\"passed_over\": [\"Lab\\\\Deep\\\\Deeper\\\\s2\"]"),
            std::string::npos)
      << migrated.out;
  std::string s1 = qtest::ReadFile(Config() + "/Sessions/Lab/Deep/Deeper/s1.ini");
  std::string s1Personal = qtest::ReadFile(Personal() + "/Sessions/Lab/Deep/Deeper/s1.ini");
  EXPECT_EQ(s1.find("Monitor Username"), std::string::npos);
  EXPECT_NE(s1.find("\"Rows\""), std::string::npos);
  EXPECT_NE(s1Personal.find("user of Lab/Deep/Deeper/s1"), std::string::npos);
  EXPECT_EQ(s1Personal.find("\"Rows\""), std::string::npos);
  EXPECT_EQ(qtest::ReadFile(readOnly), readOnlyBytes);
  EXPECT_FALSE(fs::exists(Personal() + "/Sessions/Lab/__FolderData__.ini"));
  EXPECT_EQ(qtest::ReadFile(Config() + "/Sessions/Lab/__FolderData__.ini"), folderData);
  RunResult status = Q({"--json", "personal-data", "status"});
  EXPECT_NE(status.out.find("\"do_personal_data_migration\": false"), std::string::npos);
  // The values read through the personal data folder are those of before.
  for (const auto& [path, values] : shown) EXPECT_EQ(Show(path), values) << path;

  chmod(readOnly.c_str(), 0644);
  Must(Q({"paths", "personal", "--separate", "off", "--merge", "on"}));
  RunResult merged = Q({"--json", "personal-data", "merge", "--yes"});
  Must(merged);
  EXPECT_NE(merged.out.find("\"sessions\": 4"), std::string::npos) << merged.out;
  EXPECT_NE(qtest::ReadFile(Config() + "/Sessions/Lab/Deep/Deeper/s1.ini")
                .find("user of Lab/Deep/Deeper/s1"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(Personal() + "/Sessions/Lab/Deep/Deeper/s1.ini"));
  for (const auto& [path, values] : shown) EXPECT_EQ(Show(path), values) << path;
}

TEST_F(PersonalDataCli, MergeFromAnotherConfigurationsFolderIsRefused) {
  MakeTree();
  Must(Q({"paths", "personal", "--separate", "on", "--migrate", "on"}));
  Must(Q({"personal-data", "migrate", "--yes"}));
  // Another configuration with its own personal data folder, taken for this one's.
  auto env = qtest::HostEnv(dir_);
  std::string other = dir_ / "other";
  Must(qtest::Quillane({"--config", other, "session", "create", "x"}, env));
  Must(qtest::Quillane({"--config", other, "--personal", Personal() + "2", "personal-data",
                        "migrate", "--yes"}, env));
  Must(Q({"paths", "personal", "--separate", "off", "--merge", "on"}));
  auto before = Files(Config());
  RunResult refused = Q({"--json", "--personal", Personal() + "2", "personal-data", "merge", "--yes"});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.out.find("0xE1380025"), std::string::npos) << refused.out;
  EXPECT_EQ(Files(Config()), before);
  RunResult status = Q({"--json", "personal-data", "status"});
  EXPECT_NE(status.out.find("\"do_personal_data_merge\": true"), std::string::npos) << status.out;
  // Its own folder merges, but not through a link that leads out of it.
  std::string elsewhere = dir_ / "elsewhere";
  qtest::WriteFile(elsewhere + "/s1.ini", "S:\"Monitor Username\"=planted\n");
  fs::remove_all(Personal() + "/Sessions/Lab/Deep/Deeper");
  fs::create_directory_symlink(elsewhere, Personal() + "/Sessions/Lab/Deep/Deeper");
  RunResult merged = Q({"--json", "personal-data", "merge", "--yes"});
  Must(merged);
  EXPECT_NE(merged.out.find("Lab\\\\Deep\\\\Deeper\\\\s1"), std::string::npos) << merged.out;
  EXPECT_EQ(qtest::ReadFile(Config() + "/Sessions/Lab/Deep/Deeper/s1.ini").find("planted"),
            std::string::npos);
  EXPECT_EQ(qtest::ReadFile(elsewhere + "/s1.ini"), "S:\"Monitor Username\"=planted\n");
}

TEST_F(PersonalDataCli, AnOwnerRecordThatCannotBeReadIsNotTakenForNone) {
  MakeTree();
  Must(Q({"paths", "personal", "--separate", "on", "--migrate", "on"}));
  Must(Q({"personal-data", "migrate", "--yes"}));
  Must(Q({"paths", "personal", "--separate", "off", "--merge", "on"}));
  std::string record = Personal() + "/.personal-data-owner";
  ASSERT_TRUE(fs::remove(record));
  fs::create_directory(record);
  auto before = Files(Config());
  RunResult refused = Q({"--json", "personal-data", "merge", "--yes"});
  EXPECT_EQ(refused.status, 3) << refused.out;
  EXPECT_NE(refused.out.find("0xE1380025"), std::string::npos) << refused.out;
  EXPECT_EQ(Files(Config()), before);
}

TEST_F(PersonalDataCli, MigrationIntoAnotherConfigurationsFolderIsRefused) {
  MakeTree();
  Must(Q({"paths", "personal", "--separate", "on", "--migrate", "on"}));
  Must(Q({"personal-data", "migrate", "--yes"}));
  auto personalBefore = Files(Personal());
  ASSERT_NE(personalBefore["Sessions/top.ini"].find("user of top"), std::string::npos);
  // Another configuration with a session of the same name, pointed at this one's folder: its
  // rewrite would replace this configuration's personal values of "top".
  auto env = qtest::HostEnv(dir_);
  std::string other = dir_ / "other";
  Must(qtest::Quillane({"--config", other, "session", "create", "top"}, env));
  Must(qtest::Quillane({"--config", other, "session", "set", "top", "Monitor Username", "theirs"},
                       env));
  auto otherBefore = Files(other);
  RunResult refused = qtest::Quillane(
      {"--json", "--config", other, "--personal", Personal(), "personal-data", "migrate", "--yes"},
      env);
  EXPECT_EQ(refused.status, 3) << refused.out;
  EXPECT_NE(refused.out.find("0xE1380025"), std::string::npos) << refused.out;
  EXPECT_EQ(Files(Personal()), personalBefore);
  EXPECT_EQ(Files(other), otherBefore);
}

}  // namespace
