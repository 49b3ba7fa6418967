// The files of a run (backup and log names, the log's lines and mode) and where a file carried
// in a settings file may be written, over real folders with links and folders in the way.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "environment/moving_messages.h"
#include "environment/settings_file_log.h"
#include "environment/settings_file_paths.h"
#include "support/test_support.h"

namespace {

TEST(SettingsFilePaths, BackupAndLogSitBesideTheFile) {
  auto paths = VSettingsFilePaths::For("/srv/out/cfg.xml");
  EXPECT_EQ(paths.settings, "/srv/out/cfg.xml");
  EXPECT_EQ(paths.backup, "/srv/out/cfg.bak");
  EXPECT_EQ(paths.log, "/srv/out/cfg.log");
  EXPECT_EQ(VSettingsFilePaths::For("cfg").backup, "./cfg.bak");
  EXPECT_EQ(VSettingsFilePaths::For("a.b/.hidden").log, "a.b/.hidden.log");
  // A settings file named like its own backup or log keeps both apart from it.
  EXPECT_EQ(VSettingsFilePaths::For("/x/y.bak").backup, "/x/y.bak.bak");
  EXPECT_EQ(VSettingsFilePaths::For("/x/y.log").log, "/x/y.log.log");
}

class ImportedFileTarget : public ::testing::Test {
 protected:
  VFileTargetRefusal Check(const std::string& path) {
    std::string resolved;
    return CheckImportedFileTarget(path, {"", config_, dir_ / "ssh"}, resolved);
  }
  qtest::TempDir dir_;
  std::string config_ = dir_ / "cfg";
};

TEST_F(ImportedFileTarget, OnlyPlainFilesBelowTheFoldersWithoutLinks) {
  qtest::MakeDirs(config_ + "/Sounds");
  qtest::MakeDirs(dir_ / "outside");
  qtest::WriteFile(config_ + "/Sounds/bell.wav", "x");
  ASSERT_EQ(symlink((dir_ / "outside").c_str(), (config_ + "/link").c_str()), 0);
  ASSERT_EQ(symlink((dir_ / "outside/f").c_str(), (config_ + "/filelink").c_str()), 0);

  EXPECT_EQ(Check(config_ + "/Sounds/bell.wav"), VFileTargetRefusal::None);
  EXPECT_EQ(Check(config_ + "/New/Deeper/file"), VFileTargetRefusal::None);
  EXPECT_EQ(Check(dir_ / "ssh/known_hosts"), VFileTargetRefusal::None);
  std::string resolved;
  EXPECT_EQ(CheckImportedFileTarget(config_ + "/./Sounds/../Sounds//x", {config_}, resolved),
            VFileTargetRefusal::None);
  EXPECT_EQ(resolved, config_ + "/Sounds/x");

  EXPECT_EQ(Check("relative/file"), VFileTargetRefusal::NotFullPath);
  EXPECT_EQ(Check("/.."), VFileTargetRefusal::NotFullPath);
  EXPECT_EQ(Check(config_ + "/../outside/f"), VFileTargetRefusal::OutsideFolders);
  EXPECT_EQ(Check(config_), VFileTargetRefusal::OutsideFolders);
  EXPECT_EQ(Check(config_ + "2/f"), VFileTargetRefusal::OutsideFolders);
  EXPECT_EQ(Check("/etc/passwd"), VFileTargetRefusal::OutsideFolders);
  EXPECT_EQ(Check(config_ + "/link/f"), VFileTargetRefusal::ThroughLink);
  EXPECT_EQ(Check(config_ + "/filelink"), VFileTargetRefusal::ThroughLink);
  EXPECT_EQ(Check(config_ + "/Sounds"), VFileTargetRefusal::NotRegularFile);
  EXPECT_EQ(Check(config_ + "/Sounds/bell.wav/x"), VFileTargetRefusal::NotRegularFile);
}

class RecordingSink : public IImportExportSink {
 public:
  void LogLine(VImportExportLevel level, VReportMessageParams& message) override {
    lines.push_back({level, message.GetMessageId()});
  }
  FilePassphraseAnswer AskFilePassphrase(const VFilePassphraseVerifier&,
                                         VUnicodeString&) override {
    return FilePassphraseAnswer::Cancel;
  }
  std::vector<std::pair<VImportExportLevel, uint32_t>> lines;
};

TEST(SettingsFileLog, EveryLineGoesToTheFileAndTheSinkAndTheFileIsTheOwners) {
  qtest::TempDir dir;
  std::string path = dir / "run.log";
  qtest::WriteFile(path, "an older log\n");
  chmod(path.c_str(), 0644);
  RecordingSink sink;
  VSettingsFileLog log(&sink);
  VReportMessageParams error;
  ASSERT_TRUE(log.Open(path, error));
  log.Info(moving_messages::kSessionImported, {u"Lab\\r1"});
  log.Warn(moving_messages::kSectionMissing, {u"Filters"});
  log.Error(moving_messages::kGlobalNotSaved, {u"disk full"});
  // An error is on disk at once, with every line before it.
  EXPECT_NE(qtest::ReadFile(path).find(",warn,"), std::string::npos);
  VReportMessageParams valid(moving_messages::kImportFinished);
  log.Write(VImportExportLevel::Valid, valid);
  EXPECT_EQ(log.Warnings(), 1u);
  EXPECT_EQ(log.Errors(), 1u);
  ASSERT_EQ(sink.lines.size(), 4u);
  EXPECT_EQ(sink.lines[1].first, VImportExportLevel::Warn);

  std::string text = qtest::ReadFile(path);
  EXPECT_EQ(text.find("an older log"), std::string::npos);
  EXPECT_NE(text.find(",info,Imported session Lab\\r1.\n"), std::string::npos) << text;
  EXPECT_NE(text.find(",warn,The settings file holds no Filters.\n"), std::string::npos);
  EXPECT_NE(text.find(",err,The global options could not be saved: disk full\n"),
            std::string::npos);
  EXPECT_NE(text.find(",valid,"), std::string::npos);
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // A log that cannot be made leaves the sink to show the run.
  VSettingsFileLog nowhere(&sink);
  EXPECT_FALSE(nowhere.Open(dir / "missing/run.log", error));
  nowhere.Info(moving_messages::kGlobalImported);
  EXPECT_EQ(sink.lines.size(), 5u);
}

}  // namespace
