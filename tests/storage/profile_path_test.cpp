// Path settings keep their placeholders across a load and a save.
#include <gtest/gtest.h>

#include "platform/app_info.h"
#include "storage/ini/ini_file_store.h"
#include "storage/values/profile_composite.h"
#include "storage/values/profile_path.h"
#include "support/test_support.h"

namespace {

VPathFolders Folders() {
  VPathFolders f;
  f.folder[kPathConfig] = u"/home/me/Config";
  f.folder[kPathInstall] = u"/opt/tolvane";
  f.folder[kPathUserData] = u"/home/me/.local/share/Tolvane/Karvell";
  f.folder[kPathSshData] = u"";  // not known
  return f;
}

TEST(ProfilePathText, ExpandsAndContractsThePlaceholders) {
  VPathFolders f = Folders();
  VPathKind kind = kPathNone;
  EXPECT_EQ(VExpandStoredPath(u"${TLV_CONFIG_PATH}\\Logs\\a.log", f, kind), u"/home/me/Config/Logs/a.log");
  EXPECT_EQ(kind, kPathConfig);
  EXPECT_EQ(VExpandStoredPath(u"${TLV_USER_DATA_PATH}/log.txt", f, kind),
            u"/home/me/.local/share/Tolvane/Karvell/log.txt");
  EXPECT_EQ(kind, kPathUserData);
  // A placeholder whose folder is not known, or in another case, stays as it is.
  EXPECT_EQ(VExpandStoredPath(u"${TLV_SSH_DATA_PATH}/id", f, kind), u"${TLV_SSH_DATA_PATH}/id");
  EXPECT_EQ(kind, kPathNone);
  EXPECT_EQ(VExpandStoredPath(u"${tlv_config_path}/x", f, kind), u"${tlv_config_path}/x");
  EXPECT_EQ(VExpandStoredPath(u"${TLV_INSTALL_PATH}/x", f, kind, kPathConfig), u"${TLV_INSTALL_PATH}/x");

  EXPECT_EQ(VContractPath(u"/home/me/Config/Logs/a.log", f, kPathNone), u"${TLV_CONFIG_PATH}/Logs/a.log");
  EXPECT_EQ(VContractPath(u"/home/me/Config", f, kPathNone), u"${TLV_CONFIG_PATH}");
  EXPECT_EQ(VContractPath(u"/home/me/Config2/a", f, kPathNone), u"/home/me/Config2/a");
  EXPECT_EQ(VContractPath(u"/srv/other", f, kPathNone), u"/srv/other");
  // The placeholder the value was read with wins over the order of the four.
  VPathFolders nested = f;
  nested.folder[kPathUserData] = u"/home/me/Config/data";
  EXPECT_EQ(VContractPath(u"/home/me/Config/data/x", nested, kPathUserData), u"${TLV_USER_DATA_PATH}/x");
  EXPECT_EQ(VContractPath(u"/home/me/Config/data/x", nested, kPathNone), u"${TLV_CONFIG_PATH}/data/x");
  EXPECT_EQ(VContractPath(u"/home/me/Config/x", f, kPathNone, kPathInstall), u"/home/me/Config/x");
}

class PathHolder : public VProfileComposite {
 public:
  ProfilePath logFile;
  ProfilePath script{kPathNone, false};
  const VMemberTable& GetMemberTable() const override {
    static const VMemberRow kRows[] = {
        QL_ROW(PathHolder, logFile, u"Log File", u"${TLV_CONFIG_PATH}\\log.txt"),
        QL_ROW(PathHolder, script, u"Script Filename"),
    };
    static const VMemberTable table(kRows);
    return table;
  }
};

TEST(ProfilePathSetting, ReadsTheNewerNameAndWritesBackWhereItWasFound) {
  qtest::TempDir dir;
  vapp::SetConfigFolderInUse(U8(dir / "cfg"));
  VIniFileStoreFactory factory(U8(dir / "cfg"));
  {
    VProfileStore store(&factory);
    VProfileKey key(*store.GetRootKey(), u"K");
    PathHolder holder;
    holder.Load(&key);  // nothing stored: the default, expanded
    EXPECT_EQ(holder.logFile.Current().ToUtf8(), dir / "cfg/log.txt");
    EXPECT_TRUE(holder.Save(key, false));
  }
  EXPECT_EQ(qtest::ReadFile(dir / "cfg/K.ini"), "\xEF\xBB\xBFS:\"Log File\"=${TLV_CONFIG_PATH}/log.txt\r\nS:\"Script Filename\"=\r\n");
  qtest::WriteFile(dir / "cfg/K.ini",
                   "S:\"Log File\"=/old/place\r\nS:\"Log File V2\"=${TLV_CONFIG_PATH}\\sub\\l.txt\r\n"
                   "S:\"Script Filename V2\"=/ignored\r\nS:\"Script Filename\"=/s.sh\r\n");
  {
    VProfileStore store(&factory);
    VProfileKey key(*store.GetRootKey(), u"K");
    PathHolder holder;
    holder.Load(&key);
    EXPECT_EQ(holder.logFile.Current().ToUtf8(), dir / "cfg/sub/l.txt");
    EXPECT_EQ(holder.logFile.GetPathKind(), kPathConfig);
    EXPECT_EQ(holder.script.Current(), u"/s.sh");
    holder.logFile = U8(dir / "cfg/other.txt");
    EXPECT_TRUE(holder.Save(key, false));
  }
  std::string text = qtest::ReadFile(dir / "cfg/K.ini");
  EXPECT_NE(text.find("S:\"Log File V2\"=${TLV_CONFIG_PATH}/other.txt\r\n"), std::string::npos);
  EXPECT_NE(text.find("S:\"Log File\"=/old/place\r\n"), std::string::npos);
  vapp::SetConfigFolderInUse(VUnicodeString());
}

// The shared folders follow every change they are made from: the configuration folder, the
// application's name and the user's folder variables.
TEST(ProfilePathFolders, TheSharedFoldersFollowEachChangeTheyDependOn) {
  qtest::TempDir dir;
  const VUnicodeString app = VGetAppName();
  qtest::ScopedEnv data("XDG_DATA_HOME", dir / "data");
  qtest::ScopedEnv config("XDG_CONFIG_HOME", dir / "config");
  vapp::SetConfigFolderInUse(U8(dir / "one"));
  auto first = VPathFolders::Shared();
  EXPECT_EQ(first->folder[kPathConfig].ToUtf8(), dir / "one");
  EXPECT_EQ(VPathFolders::Shared(), first);  // nothing changed: the same folders
  EXPECT_EQ(first->folder[kPathUserData], VPathFolders::Current().folder[kPathUserData]);

  vapp::SetConfigFolderInUse(U8(dir / "two"));
  EXPECT_EQ(VPathFolders::Shared()->folder[kPathConfig].ToUtf8(), dir / "two");
  {
    qtest::ScopedEnv moved("XDG_DATA_HOME", dir / "elsewhere");
    EXPECT_EQ(VPathFolders::Shared()->folder[kPathUserData].ToUtf8(),
              dir / ("elsewhere/Tolvane/" + app.ToUtf8()));
  }
  VSetAppName(u"Lumbrel");
  EXPECT_EQ(VPathFolders::Shared()->folder[kPathSshData].ToUtf8(),
            dir / "config/Tolvane/Lumbrel/SSH");
  VSetAppName(app);
  EXPECT_EQ(VPathFolders::Shared()->folder[kPathUserData].ToUtf8(),
            dir / ("data/Tolvane/" + app.ToUtf8()));
  EXPECT_EQ(first->folder[kPathConfig].ToUtf8(), dir / "one");  // held folders stay as they were
  vapp::SetConfigFolderInUse(VUnicodeString());
}

}  // namespace
