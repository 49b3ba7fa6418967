// The folders and flags each application remembers, over a real registry hive in a temporary
// folder: what is read, what is written and when, and the integrated pair's writes.
#include "environment/app_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "environment/app_folder_settings.h"
#include "environment/installed_products.h"
#include "environment/products.h"
#include "platform/app_info.h"
#include "storage/registry/registry_store.h"
#include "storage/registry_test_env.h"

namespace {

class AppPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    VSetAppName(u"Karvell");
    SetDerivedAppProductID(kProductKarvell);
    SetKarvellInstalled(false);
    SetLumbrelInstalled(false);
  }
  std::string ValueFile(const std::string& app) const {
    return env_.User("SOFTWARE/Tolvane/" + app + ".ini");
  }
  // Writes a value as another program would.
  void WriteString(const char16_t* app, const char16_t* name, const char16_t* value) {
    VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane");
    VProfileStore store(false, &factory);
    VProfileKey key(*store.GetRootKey(), app, kProfileKeyCreate);
    ASSERT_TRUE(key.WriteString(name, value));
  }
  RegistryTestEnv env_;
};

TEST_F(AppPaths, WritesOnlyWhatDiffersAndReportsRefusedWrites) {
  EXPECT_EQ(GetAppConfigPath(u"Karvell"), u"");
  EXPECT_FALSE(UsePersonalDataPath(u"Karvell"));
  EXPECT_FALSE(qtest::Exists(env_.User()));  // reading created nothing

  ASSERT_TRUE(SaveAppConfigPath(u"/srv/cfg", false));
  // An absent flag is written even when it equals the default.
  ASSERT_TRUE(SaveDoPersonalDataMerge(false, false));
  EXPECT_EQ(qtest::ReadFile(ValueFile("Karvell")),
            "\xEF\xBB\xBFS:\"Config Path\"=/srv/cfg\r\nD:\"Do Personal Data Merge\"=00000000\r\n");

  // With the key's file read-only, an unchanged value succeeds because nothing is written; a
  // changed one fails with a message naming the value and the application.
  ASSERT_EQ(chmod(ValueFile("Karvell").c_str(), 0444), 0);
  EXPECT_TRUE(SaveAppConfigPath(u"/srv/cfg", false));
  EXPECT_TRUE(SaveDoPersonalDataMerge(false, false));
  VReportMessageParams error;
  EXPECT_FALSE(SaveAppConfigPath(u"/srv/other", false, &error));
  EXPECT_EQ(error.GetMessageId(), kMsgRememberedValueNotSaved);
  std::string text = error.GetTextTrimmed().ToUtf8();
  EXPECT_NE(text.find("'Config Path' of Karvell could not be saved: "), std::string::npos) << text;
  EXPECT_FALSE(SaveUsePersonalDataPath(true, false));
  EXPECT_EQ(GetAppConfigPath(u"Karvell"), u"/srv/cfg");
}

TEST_F(AppPaths, FoldersAreFullPaths) {
  VReportMessageParams error;
  EXPECT_FALSE(SaveAppConfigPath(u"cfg", false, &error));
  EXPECT_EQ(error.GetTextTrimmed(), u"The folder 'cfg' is not a full path.");
  EXPECT_FALSE(qtest::Exists(ValueFile("Karvell")));

  // A relative value written by someone else names no particular folder: it is ignored.
  WriteString(u"Karvell", u"Config Path", u"relative/cfg");
  WriteString(u"Karvell", u"Personal Data Path", u"D:\\Personal");
  EXPECT_EQ(GetAppConfigPath(u"Karvell"), u"");
  EXPECT_EQ(GetAppPersonalDataPath(u"Karvell", u"/srv/cfg/"), u"/srv/cfg.personal");

  // A stored folder is returned whether or not it exists; an empty path forgets it.
  ASSERT_TRUE(SaveAppPersonalDataPath(u"/nowhere/personal", false));
  EXPECT_EQ(GetAppPersonalDataPath(u"Karvell", u"/srv/cfg"), u"/nowhere/personal");
  ASSERT_TRUE(SaveAppPersonalDataPath(u"", false));
  EXPECT_EQ(GetAppPersonalDataPath(u"Karvell", u"/srv/cfg"), u"/srv/cfg.personal");

  // The early release's value is taken over by the running application.
  WriteString(u"Global", u"Config Path", u"/old/cfg");
  EXPECT_EQ(GetAppConfigPathAlpha(), u"/old/cfg");
  EXPECT_EQ(GetAppConfigPath(u"Karvell"), u"/old/cfg");
}

TEST_F(AppPaths, IntegratedPairWritesTheOtherApplication) {
  DetectInstalledProducts(std::string(QUILLANE_BINARY_DIR) + "/siblings/pair");
  ASSERT_TRUE(IsIntegrated());

  // The configuration folder goes to the other application when it has none, or with force.
  ASSERT_TRUE(SaveAppConfigPath(u"/a", false));
  ASSERT_TRUE(SaveAppConfigPath(u"/b", false));
  EXPECT_EQ(GetAppConfigPath(u"Karvell"), u"/b");
  EXPECT_EQ(GetAppConfigPath(u"Lumbrel"), u"/a");
  ASSERT_TRUE(SaveAppConfigPath(u"/c", true));
  EXPECT_EQ(GetAppConfigPath(u"Lumbrel"), u"/c");

  // The personal data values only with force.
  ASSERT_TRUE(SaveAppPersonalDataPath(u"/p", false));
  ASSERT_TRUE(SaveDoPersonalDataMigration(true, false));
  EXPECT_EQ(GetAppPersonalDataPathStored(u"Lumbrel"), u"");
  EXPECT_FALSE(DoPersonalDataMigration(u"Lumbrel"));
  ASSERT_TRUE(SaveAppPersonalDataPath(u"/p", true));
  ASSERT_TRUE(SaveDoPersonalDataMigration(true, true));
  ASSERT_TRUE(SaveDoPersonalDataMerge(true, true));
  EXPECT_EQ(GetAppPersonalDataPathStored(u"Lumbrel"), u"/p");
  EXPECT_TRUE(DoPersonalDataMigration(u"Lumbrel"));
  EXPECT_TRUE(DoPersonalDataMerge(u"Lumbrel"));

  // Outside a pair nothing is written for anyone else, force or not.
  SetLumbrelInstalled(false);
  ASSERT_TRUE(SaveAppConfigPath(u"/e", true));
  EXPECT_EQ(GetAppConfigPath(u"Lumbrel"), u"/c");
}

TEST_F(AppPaths, TravellingConfigurationBesideTheExecutable) {
  qtest::TempDir exe;
  qtest::MakeDirs(exe / "Config");
  EXPECT_EQ(GetAppConfigPathUnderExe(exe.Path()), u"");
  qtest::WriteFile(exe / "Config/Global.ini", "");  // as the store writes the key "Global"
  EXPECT_EQ(GetAppConfigPathUnderExe(exe.Path()).ToUtf8(), exe / "Config");
  qtest::TempDir copied;  // from a system that ignores case
  qtest::WriteFile(copied / "config/GLOBAL.INI", "");
  EXPECT_EQ(GetAppConfigPathUnderExe(copied.Path()).ToUtf8(), copied / "config");
}

TEST_F(AppPaths, PersonalDataFolderPrompt) {
  struct Prompt : IUserQuestions {
    bool AskYesNo(VReportMessageParams&) override { return false; }
    void Notify(VReportMessageParams&, VNoticeKind) override {}
    bool AskFolder(VReportMessageParams&, VUnicodeString& folder) override {
      offered = folder;
      folder = u"/home/ada/private";
      return confirm;
    }
    bool confirm = true;
    VUnicodeString offered;
  } prompt;
  VUnicodeString path;
  EXPECT_TRUE(GetPersonalDataFolderAsk(prompt, u"/srv/cfg", path));
  EXPECT_EQ(prompt.offered + u" " + path, u"/srv/cfg.personal /home/ada/private");
  prompt.confirm = false;
  EXPECT_FALSE(GetPersonalDataFolderAsk(prompt, u"/srv/cfg", path));
  EXPECT_EQ(prompt.offered + u" " + path, u"/home/ada/private ");
}

// The configuration folder, under any spelling, is refused and asked for again.
TEST_F(AppPaths, PersonalDataFolderPromptRefusesTheConfigurationFolder) {
  qtest::TempDir dir;
  qtest::MakeDirs(dir / "cfg");
  ASSERT_EQ(symlink((dir / "cfg").c_str(), (dir / "link").c_str()), 0);
  struct Prompt : IUserQuestions {
    bool AskYesNo(VReportMessageParams&) override { return false; }
    void Notify(VReportMessageParams& message, VNoticeKind) override {
      notices.push_back(message.GetMessageId());
    }
    bool AskFolder(VReportMessageParams&, VUnicodeString& folder) override {
      if (answers.empty()) return false;
      folder = VUnicodeString::FromUtf8(answers.front());
      answers.erase(answers.begin());
      return true;
    }
    std::vector<std::string> answers;
    std::vector<uint32_t> notices;
  } prompt;
  prompt.answers = {dir / "link", dir / "cfg/.", dir / "mine"};
  VUnicodeString path;
  EXPECT_TRUE(GetPersonalDataFolderAsk(prompt, VUnicodeString::FromUtf8(dir / "cfg"), path));
  EXPECT_EQ(path.ToUtf8(), dir / "mine");
  EXPECT_EQ(prompt.notices, (std::vector<uint32_t>{0x61380024, 0x61380024}));
}

}  // namespace
