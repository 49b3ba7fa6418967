// The start-up checks of a configuration folder on real folders: the /F argument, the redirect
// and completeness check, and setting an incomplete Global.ini aside.
#include "environment/config_path_checks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <ctime>

#include "environment/app_paths.h"
#include "environment/installed_products.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/registry_test_env.h"

namespace {

// 7 March 2025, 14:05:09 local time.
std::time_t MarchSeventh() {
  std::tm t{};
  t.tm_year = 125, t.tm_mon = 2, t.tm_mday = 7, t.tm_hour = 14, t.tm_min = 5, t.tm_sec = 9;
  t.tm_isdst = -1;
  return std::mktime(&t);
}
constexpr char kSetAside[] = "Global-incomplete-20250703_140509.ini";

// Runs with the working directory changed, and puts it back.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& path) {
    char buffer[PATH_MAX];
    old_ = getcwd(buffer, sizeof buffer) ? buffer : "/";
    EXPECT_EQ(chdir(path.c_str()), 0);
  }
  ~WorkingDirectory() { EXPECT_EQ(chdir(old_.c_str()), 0); }

 private:
  std::string old_;
};

class ConfigChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRenameGlobalConfigClock(&MarchSeventh);
    VSetAppName(u"Karvell");
    SetLumbrelInstalled(false);
  }
  void TearDown() override { SetRenameGlobalConfigClock(nullptr); }
  void WriteKey(const std::string& key, const std::string& lines) {
    qtest::WriteFile(cfg_ / (key + ".ini"), "\xEF\xBB\xBF" + lines);
  }
  // Runs the check on the folder; returns the folder to use.
  std::string Check(bool save = false, bool expectResult = true) {
    VUnicodeString path = VUnicodeString::FromUtf8(cfg_.Path());
    bool ok = CheckAppConfigPathRedirect(
        save, [&](const VReportMessageParams& m) { reported.push_back(m); }, path, &error);
    EXPECT_EQ(ok, expectResult);
    return path.ToUtf8();
  }
  RegistryTestEnv registry_;
  qtest::TempDir cfg_;
  std::vector<VReportMessageParams> reported;
  VReportMessageParams error;
};

TEST_F(ConfigChecks, CommandLineFolder) {
  VUnicodeString out;
  VReportMessageParams report;
  auto check = [&](const std::string& arg) {
    return CheckAppConfigPathCommandLine(VUnicodeString::FromUtf8(arg), out, report);
  };
  EXPECT_TRUE(check(cfg_.Path() + "//"));
  EXPECT_EQ(out.ToUtf8(), cfg_.Path());
  EXPECT_TRUE(check("/"));
  EXPECT_EQ(out, u"/");
  qtest::MakeDirs(cfg_ / "sub/cfg");
  {
    WorkingDirectory here(cfg_.Path());
    EXPECT_TRUE(check("sub/./cfg/../cfg/"));
    EXPECT_EQ(out.ToUtf8(), cfg_ / "sub/cfg");
  }
  std::string missing = cfg_ / "missing//";
  EXPECT_FALSE(check(missing));
  EXPECT_EQ(
      report.GetTextTrimmed().ToUtf8(),
      "The folder specified using /F on the command line is not valid:\r\n\r\n'" + missing + "'");
  qtest::WriteFile(cfg_ / "file", "x");
  EXPECT_FALSE(check(cfg_ / "file"));
  EXPECT_FALSE(check(""));
}

TEST_F(ConfigChecks, FoldersThatPassUnchanged) {
  WriteKey("Sessions", "S:\"Version\"=x\r\n");
  EXPECT_EQ(Check(), cfg_.Path());  // neither *.idx nor Global
  for (const char* stamp :
       {"7B2F2717-85C8-4729-8394-3B7697039CEB", "0311ABC6-1CDD-46fc-A08A-0D7C00242FCA"}) {
    WriteKey("Global", std::string("S:\"Version\"=") + stamp + "\r\n");
    EXPECT_EQ(Check(), cfg_.Path());
  }
  EXPECT_TRUE(qtest::Exists(cfg_ / "Global.ini"));
  EXPECT_TRUE(reported.empty());
}

TEST_F(ConfigChecks, IncompleteGlobalIsSetAside) {
  // The stamp is compared exactly, and an empty forwarding address is no address.
  WriteKey("Global", "S:\"Version\"=0311abc6-1cdd-46fc-a08a-0d7c00242fca\r\n");
  WriteKey("TLVRedirect", "S:\"New Config Path\"=\r\n");
  qtest::WriteFile(cfg_ / kSetAside, "older attempt");  // replaced
  EXPECT_EQ(Check(), cfg_.Path());
  EXPECT_FALSE(qtest::Exists(cfg_ / "Global.ini"));
  EXPECT_EQ(qtest::ReadFile(cfg_ / kSetAside),
            "\xEF\xBB\xBFS:\"Version\"=0311abc6-1cdd-46fc-a08a-0d7c00242fca\r\n");
  EXPECT_TRUE(qtest::Exists(cfg_ / "TLVRedirect.ini"));
  EXPECT_TRUE(reported.empty());

  // Index files alone mark a configuration; a file copied from a system that ignores case is
  // found under its own name.
  qtest::TempDir other;
  qtest::WriteFile(other / "sessions.IDX", "");
  qtest::WriteFile(other / "GLOBAL.INI", "");
  VUnicodeString path = VUnicodeString::FromUtf8(other.Path());
  EXPECT_TRUE(CheckAppConfigPathRedirect(false, nullptr, path));
  EXPECT_TRUE(qtest::Exists(other / kSetAside));

  // A move that fails leaves the file and says why.
  WriteKey("Global", "S:\"Version\"=unknown\r\n");
  std::remove((cfg_ / kSetAside).c_str());
  qtest::WriteFile(cfg_ / (std::string(kSetAside) + "/keep"), "a folder holds the name");
  Check(false, false);
  EXPECT_TRUE(qtest::Exists(cfg_ / "Global.ini"));
  EXPECT_EQ(error.GetMessageId(), kMsgGlobalConfigNotSetAside);
  EXPECT_NE(error.GetTextTrimmed().ToUtf8().find(cfg_ / "Global.ini"), std::string::npos);
}

TEST_F(ConfigChecks, RedirectIsFollowedOnceAndRemembered) {
  qtest::TempDir moved;
  WriteKey("Global", "S:\"Version\"=\r\n");
  WriteKey("TLVRedirect", "S:\"New Config Path\"=" + moved.Path() + "\r\n");
  EXPECT_EQ(Check(), moved.Path());
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0].GetTextTrimmed().ToUtf8(),
            "The configuration was migrated from: \r\n'" + cfg_.Path() + "'\r\nto\r\n'" +
                moved.Path() +
                "'.\r\n\r\nPlease update any shortcuts using /f or rename the\r\nnew "
                "configuration folder to the old name.\r\n\r\nIf you have any questions, please "
                "contact Tolvane technical support.");
  EXPECT_TRUE(qtest::Exists(cfg_ / "Global.ini"));  // the old folder is left alone
  EXPECT_EQ(GetAppConfigPath(u"Karvell"), u"");     // not asked to remember
  EXPECT_EQ(Check(true), moved.Path());
  EXPECT_EQ(GetAppConfigPath(u"Karvell").ToUtf8(), moved.Path());

  // A relative address lies beside the folder that holds it.
  WriteKey("TLVRedirect", "S:\"New Config Path\"=../renamed\r\n");
  EXPECT_EQ(Check(), vfs::ParentFolder(cfg_.Path()) + "/renamed");
}

TEST_F(ConfigChecks, RenameWithoutAFolderUsesTheFolderInUse) {
  qtest::WriteFile(cfg_ / "Global.ini", "x");
  vapp::SetConfigFolderInUse(VUnicodeString());
  {
    // Nothing in use and nothing remembered: the working directory is never touched.
    WorkingDirectory here(cfg_.Path());
    EXPECT_TRUE(RenameGlobalConfig());
    EXPECT_TRUE(qtest::Exists(cfg_ / "Global.ini"));
  }
  vapp::SetConfigFolderInUse(VUnicodeString::FromUtf8(cfg_.Path()));
  EXPECT_TRUE(RenameGlobalConfig());
  EXPECT_TRUE(qtest::Exists(cfg_ / kSetAside));
  EXPECT_TRUE(RenameGlobalConfig());  // nothing left to move
}

}  // namespace
