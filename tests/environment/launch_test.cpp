// Starting the siblings as real processes, the tray agent check, the sound player and the names
// of remote systems.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "environment/installed_products.h"
#include "environment/launch.h"
#include "environment/os_names.h"
#include "environment/products.h"
#include "environment/sounds.h"
#include "report/message_catalogue.h"
#include "support/fault_env.h"
#include "support/test_support.h"

namespace {

std::string Siblings(const std::string& folder) {
  return std::string(QUILLANE_BINARY_DIR) + "/siblings/" + folder;
}

struct Notice {
  uint32_t id;
  std::string text;
  VNoticeKind kind;
};

class RecordingOwner : public IUserQuestions {
 public:
  bool AskYesNo(VReportMessageParams&) override { return false; }
  void Notify(VReportMessageParams& message, VNoticeKind kind) override {
    notices.push_back({message.GetMessageId(), message.GetTextTrimmed().ToUtf8(), kind});
  }
  bool AskFolder(VReportMessageParams&, VUnicodeString&) override { return false; }
  std::vector<Notice> notices;
};

// The arguments a started fake sibling wrote, once the file is there.
std::vector<std::string> WaitForRecord(const std::string& path) {
  for (int i = 0; i < 1000 && !qtest::Exists(path); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::string bytes = qtest::ReadFile(path);
  std::vector<std::string> args;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\0', pos);
    args.push_back(bytes.substr(pos, end - pos));
    pos = end + 1;
  }
  return args;
}

// Records the programs a test would start instead of starting them.
class StartRecorder : public qtest::FaultEnv {
 public:
  VStatus StartProcess(const std::string& path, const std::vector<std::string>& args) override {
    started.push_back(args);
    paths.push_back(path);
    return VStatus();
  }
  std::vector<std::vector<std::string>> started;
  std::vector<std::string> paths;
};

class Launching : public ::testing::Test {
 protected:
  void SetUp() override {
    VSetMessageLanguage(VLanguage::English);
    SetDerivedAppProductID(kProductKarvell);
    DetectInstalledProducts(Siblings("pair"));
  }
  void TearDown() override { DetectInstalledProducts(dir / "empty"); }
  qtest::TempDir dir;
};

TEST_F(Launching, EveryArgumentArrivesAsGivenWithoutAShell) {
  qtest::ScopedEnv record("QUILLANE_SIBLING_RECORD", dir / "argv");
  RecordingOwner owner;
  std::string planted = dir / "planted";
  std::vector<VUnicodeString> args{u"/SSH2", U8("host; touch " + planted), u"$(touch x)", u"two words",
                                   u"", u"'\"*?", U8("--é")};
  ASSERT_TRUE(LaunchTerminalApp(&owner, args));
  std::vector<std::string> expected{Siblings("pair") + "/Karvell"};
  for (const auto& arg : args) expected.push_back(arg.ToUtf8());
  EXPECT_EQ(WaitForRecord(dir / "argv"), expected);
  EXPECT_FALSE(qtest::Exists(planted));
  EXPECT_TRUE(owner.notices.empty());


  qtest::ScopedEnv second("QUILLANE_SIBLING_RECORD", dir / "argv2");
  ASSERT_TRUE(LaunchFileTransferApp(&owner, {u"sftp://x"}));
  EXPECT_EQ(WaitForRecord(dir / "argv2"),
            (std::vector<std::string>{Siblings("pair") + "/Lumbrel", "sftp://x"}));
}

TEST_F(Launching, TheOlderTerminalIsStartedWhenKarvellIsNotInstalled) {
  qtest::ScopedEnv record("QUILLANE_SIBLING_RECORD", dir / "argv");
  SetKarvellInstalled(false);
  RecordingOwner owner;
  ASSERT_TRUE(LaunchTerminalApp(&owner, {u"a"}));
  EXPECT_EQ(WaitForRecord(dir / "argv"), (std::vector<std::string>{Siblings("pair") + "/Ostrel", "a"}));
}

TEST_F(Launching, AFailureWarnsWithTheProductAndThePath) {
  qtest::FaultEnv env;
  env.FailAlways(qtest::FaultEnv::Op::kStartProcess, EACCES);
  RecordingOwner owner;
  EXPECT_FALSE(LaunchTerminalApp(&owner, {u"x"}, &env));
  EXPECT_FALSE(LaunchFileTransferApp(&owner, {}, &env));
  ASSERT_EQ(owner.notices.size(), 2u);
  EXPECT_EQ(owner.notices[0].id, kMsgLaunchFailed);
  EXPECT_EQ(owner.notices[0].kind, VNoticeKind::Warning);
  EXPECT_EQ(owner.notices[0].text, "Karvell could not be launched from the following location:\r\n" +
                                       Siblings("pair") + "/Karvell");
  EXPECT_EQ(owner.notices[1].text, "Lumbrel could not be launched from the following location:\r\n" +
                                       Siblings("pair") + "/Lumbrel");

  // Nothing installed: nothing is started, and the message names where the program would be.
  DetectInstalledProducts(dir / "empty");
  StartRecorder recorder;
  EXPECT_FALSE(LaunchTerminalApp(&owner, {}, &recorder));
  EXPECT_TRUE(recorder.started.empty());
  ASSERT_EQ(owner.notices.size(), 3u);
  EXPECT_NE(owner.notices[2].text.find("/Karvell"), std::string::npos);
  EXPECT_FALSE(LaunchTerminalApp(nullptr, {}, &recorder));  // no one to tell: still refused
}

TEST_F(Launching, TheTrayAgentMustBeBesideTheHostToSwitchItsOptionOn) {
  RecordingOwner owner;
  EXPECT_TRUE(CheckTrayAgentForOption(false, &owner, dir.Path()));
  EXPECT_FALSE(CheckTrayAgentForOption(true, &owner, dir.Path()));
  ASSERT_EQ(owner.notices.size(), 1u);
  EXPECT_EQ(owner.notices[0].id, kMsgTrayAgentNotInstalled);
  EXPECT_EQ(owner.notices[0].text,
            "The Tolvane Pyrrel is not currently installed.\r\n"
            "This component will need to be installed in order for this option to be selected.");
  qtest::MakeDirs(dir / "Pyrrel");  // a folder of that name is no program
  EXPECT_FALSE(CheckTrayAgentForOption(true, &owner, dir.Path()));
  qtest::TempDir other;
  qtest::WriteFile(other / "Pyrrel", "");
  EXPECT_TRUE(CheckTrayAgentForOption(true, &owner, other.Path()));
  EXPECT_EQ(TrayAgentPath(other.Path()), other / "Pyrrel");
}

TEST(OsNames, SixteenKindsTheFirstOneTranslated) {
  VUnicodeString name = u"unchanged";
  EXPECT_FALSE(VGetOsIdDisplayName(16, name));
  EXPECT_FALSE(VGetOsIdDisplayName(-1, name));
  EXPECT_EQ(name, u"unchanged");
  ASSERT_TRUE(VGetOsIdDisplayName(15, name));
  EXPECT_EQ(name, u"Cisco ASA");
  ASSERT_TRUE(VGetOsIdDisplayName(1, name));
  EXPECT_EQ(name, u"UNIX");
  VSetMessageLanguage(VLanguage::French);
  ASSERT_TRUE(VGetOsIdDisplayName(0, name));
  EXPECT_EQ(name.ToUtf8(), "Détection automatique");
  VSetMessageLanguage(VLanguage::English);
  ASSERT_TRUE(VGetOsIdDisplayName(0, name));
  EXPECT_EQ(name, u"Automatic detect");
}

class Sounds : public ::testing::Test {
 protected:
  void Program(const std::string& path, const std::string& text, mode_t mode = 0755) {
    qtest::WriteFile(path, text);
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
  }
  qtest::TempDir dir;
};

TEST_F(Sounds, ThePlayerIsFoundOnFullFoldersOfThePath) {
  Program(dir / "a/aplay", "");
  Program(dir / "b/paplay", "", 0644);  // not executable
  EXPECT_EQ(FindSoundPlayer(dir / "a:" + dir / "b"), dir / "a/aplay");
  Program(dir / "c/paplay", "");
  EXPECT_EQ(FindSoundPlayer(dir / "a:" + dir / "c"), dir / "c/paplay");  // preferred
  EXPECT_EQ(FindSoundPlayer("relative:" + dir / "none"), "");
}

TEST_F(Sounds, AFileIsPlayedByItsFullPathAndAMissingOneStaysSilent) {
  Program(dir / "bin/aplay", "");
  qtest::ScopedEnv path("PATH", dir / "bin");
  qtest::ScopedEnv data("XDG_DATA_DIRS", dir / "share");
  qtest::WriteFile(dir / "ding.wav", "RIFF");
  StartRecorder env;
  EXPECT_FALSE(PlaySoundFile(u"", false, &env));
  EXPECT_FALSE(PlaySoundFile(U8(dir / "missing.wav"), true, &env));
  EXPECT_FALSE(PlaySoundFile(U8(dir / "missing.wav"), false, &env));  // no bell in the theme
  EXPECT_TRUE(env.started.empty());

  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
  bool played = PlaySoundFile(u"ding.wav", true, &env);
  ASSERT_EQ(::chdir(cwd), 0);
  ASSERT_TRUE(played);
  ASSERT_EQ(env.started.size(), 1u);
  EXPECT_EQ(env.paths[0], dir / "bin/aplay");
  EXPECT_EQ(env.started[0], (std::vector<std::string>{dir / "bin/aplay", "-q", dir / "ding.wav"}));

  qtest::WriteFile(dir / "share/sounds/freedesktop/stereo/bell.oga", "OggS");
  ASSERT_TRUE(PlaySoundFile(U8(dir / "missing.wav"), false, &env));
  EXPECT_EQ(env.started.back().back(), dir / "share/sounds/freedesktop/stereo/bell.oga");
  EXPECT_FALSE(PlaySoundFile(U8(dir / "missing.wav"), true, &env));

  qtest::ScopedEnv nothing("PATH", dir / "none");
  EXPECT_FALSE(PlaySoundFile(U8(dir / "ding.wav"), true, &env));
}

TEST_F(Sounds, ThePlayerRunsWithoutBeingWaitedFor) {
  Program(dir / "bin/paplay", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args.partial\" && /bin/mv \"$0.args.partial\" \"$0.args\"\n");
  qtest::ScopedEnv path("PATH", dir / "bin");
  qtest::WriteFile(dir / "a b.wav", "RIFF");
  ASSERT_TRUE(PlaySoundFile(U8(dir / "a b.wav"), true));
  std::string record = dir / "bin/paplay.args";
  for (int i = 0; i < 1000 && !qtest::Exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(qtest::ReadFile(record), dir / "a b.wav" + "\n");
}

}  // namespace
