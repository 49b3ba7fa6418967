// The terminal application as the desktop's handler of its link schemes: the desktop entry and
// mimeapps.list as written on disk, merged with what other programs wrote, and read back.
#include <unistd.h>

#include <gtest/gtest.h>

#include "environment/installed_products.h"
#include "environment/mime_apps_list.h"
#include "environment/products.h"
#include "environment/url_handler.h"
#include "report/message_catalogue.h"
#include "support/test_support.h"

namespace {

TEST(MimeAppsList, MakingADefaultKeepsEveryOtherLine) {
  EXPECT_EQ(mimeapps::SetDefault("", "x-scheme-handler/ssh", "t.desktop"),
            "[Default Applications]\n"
            "x-scheme-handler/ssh=t.desktop\n"
            "\n"
            "[Added Associations]\n"
            "x-scheme-handler/ssh=t.desktop;\n");
  const std::string before =
      "# kept as written\r\n"
      "[Added Associations]\r\n"
      "image/png=viewer.desktop;\r\n"
      "x-scheme-handler/ssh=older.desktop;t.desktop;\r\n"
      "\r\n"
      "[Default Applications]\r\n"
      "text/html=browser.desktop\r\n"
      "x-scheme-handler/ssh = other.desktop;\r\n"
      "\r\n"
      "[Removed Associations]\r\n"
      "x-scheme-handler/ssh=gone.desktop\r\n";
  std::string after = mimeapps::SetDefault(before, "x-scheme-handler/ssh", "t.desktop");
  EXPECT_EQ(after,
            "# kept as written\r\n"
            "[Added Associations]\r\n"
            "image/png=viewer.desktop;\r\n"
            "x-scheme-handler/ssh=t.desktop;older.desktop;other.desktop;\n"
            "\r\n"
            "[Default Applications]\r\n"
            "text/html=browser.desktop\r\n"
            "x-scheme-handler/ssh=t.desktop\n"
            "\r\n"
            "[Removed Associations]\r\n"
            "x-scheme-handler/ssh=gone.desktop\r\n");
  EXPECT_EQ(mimeapps::SetDefault(after, "x-scheme-handler/ssh", "t.desktop"), after);
  // A group without the key gets it after its last line, not after the blank lines.
  EXPECT_EQ(mimeapps::SetDefault("[Default Applications]\na=b\n\n[Other]\n", "x", "t"),
            "[Default Applications]\na=b\nx=t\n\n[Other]\n\n[Added Associations]\nx=t;\n");
  EXPECT_EQ(mimeapps::Lookup(after, mimeapps::kDefaultGroup, "x-scheme-handler/ssh"),
            std::vector<std::string>{"t.desktop"});
  EXPECT_EQ(mimeapps::Lookup(after, mimeapps::kDefaultGroup, "image/png"), std::vector<std::string>{});
}

TEST(MimeAppsList, ExecQuotesTheProgramForTheDesktop) {
  std::string exec;
  ASSERT_TRUE(mimeapps::ExecLine("/opt/my apps/Karvell", exec));
  EXPECT_EQ(exec, "\"/opt/my apps/Karvell\" %u");
  ASSERT_TRUE(mimeapps::ExecLine("/o/$a`b\"c\\d%e", exec));
  EXPECT_EQ(exec, "\"/o/\\$a\\`b\\\"c\\\\d%%e\" %u");
  EXPECT_FALSE(mimeapps::ExecLine("/o/new\nline", exec));
  mimeapps::DesktopEntry entry{"Karvell", "A\nB", "/o/x\\y", {"x-scheme-handler/ssh"}};
  std::string text;
  ASSERT_TRUE(mimeapps::DesktopEntryText(entry, text));
  EXPECT_NE(text.find("\nComment=A\\nB\n"), std::string::npos);
  // The quoting's backslash doubled, then every backslash doubled again by the file's escaping.
  EXPECT_NE(text.find("\nExec=\"/o/x\\\\\\\\y\" %u\n"), std::string::npos);
  std::string value;
  ASSERT_TRUE(mimeapps::ReadDesktopValue(text, "Exec", value));
  EXPECT_EQ(value, "\"/o/x\\\\y\" %u");
  EXPECT_FALSE(mimeapps::ReadDesktopValue(text, "Icon", value));
}

class UrlHandler : public ::testing::Test {
 protected:
  void SetUp() override {
    VSetMessageLanguage(VLanguage::English);
    SetDerivedAppProductID(kProductKarvell);
    DetectInstalledProducts(std::string(QUILLANE_BINARY_DIR) + "/siblings/pair");
  }
  void TearDown() override { DetectInstalledProducts(dir / "none"); }
  std::string Karvell() const { return std::string(QUILLANE_BINARY_DIR) + "/siblings/pair/Karvell"; }
  qtest::TempDir dir;
  qtest::ScopedEnv config{"XDG_CONFIG_HOME", dir / "config"};
  qtest::ScopedEnv data{"XDG_DATA_HOME", dir / "data"};
  qtest::ScopedEnv configDirs{"XDG_CONFIG_DIRS", dir / "etc"};
  qtest::ScopedEnv dataDirs{"XDG_DATA_DIRS", dir / "usr"};
  qtest::ScopedEnv desktop{"XDG_CURRENT_DESKTOP", "Test:Other"};
};

TEST_F(UrlHandler, SettingsExistOnlyWhenTheTerminalCanBeLaunched) {
  VDefaultApplication app;
  ASSERT_TRUE(GetKarvellDefaultApplicationSettings(app));
  EXPECT_EQ(app.applicationName, u"Karvell");
  EXPECT_EQ(app.path.ToUtf8(), Karvell());
  EXPECT_EQ(app.description, u"Karvell secure terminal emulator for SSH and Telnet connections.");
  ASSERT_EQ(app.schemes.size(), 4u);
  EXPECT_EQ(app.schemes[3].scheme, u"telnet");
  EXPECT_EQ(app.schemes[3].displayName, u"Telnet");
  EXPECT_EQ(DesktopIdOf(app), "tolvane-karvell.desktop");
  DetectInstalledProducts(dir / "none");
  VDefaultApplication none;
  EXPECT_FALSE(GetKarvellDefaultApplicationSettings(none));
  EXPECT_TRUE(none.path.empty());
}

TEST_F(UrlHandler, RegisterWritesTheEntryAndTheAssociationsThenStatusReadsThem) {
  VDefaultApplication app;
  ASSERT_TRUE(GetKarvellDefaultApplicationSettings(app));
  for (const auto& scheme : app.schemes) EXPECT_FALSE(IsDefaultApplicationForScheme(app, scheme.scheme));
  qtest::WriteFile(dir / "config/mimeapps.list",
                   "[Default Applications]\ntext/html=browser.desktop\nx-scheme-handler/ssh=old.desktop\n");
  ASSERT_TRUE(RegisterDefaultApplication(app).ok());
  EXPECT_EQ(qtest::ReadFile(dir / "data/applications/tolvane-karvell.desktop"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Version=1.0\n"
            "Name=Karvell\n"
            "Comment=Karvell secure terminal emulator for SSH and Telnet connections.\n"
            "Exec=\"" + Karvell() + "\" %u\n"
            "Terminal=false\n"
            "NoDisplay=true\n"
            "MimeType=x-scheme-handler/ssh;x-scheme-handler/ssh1;x-scheme-handler/ssh2;"
            "x-scheme-handler/telnet;\n");
  EXPECT_EQ(qtest::ReadFile(dir / "config/mimeapps.list"),
            "[Default Applications]\n"
            "text/html=browser.desktop\n"
            "x-scheme-handler/ssh=tolvane-karvell.desktop\n"
            "x-scheme-handler/ssh1=tolvane-karvell.desktop\n"
            "x-scheme-handler/ssh2=tolvane-karvell.desktop\n"
            "x-scheme-handler/telnet=tolvane-karvell.desktop\n"
            "\n"
            "[Added Associations]\n"
            "x-scheme-handler/ssh=tolvane-karvell.desktop;old.desktop;\n"
            "x-scheme-handler/ssh1=tolvane-karvell.desktop;\n"
            "x-scheme-handler/ssh2=tolvane-karvell.desktop;\n"
            "x-scheme-handler/telnet=tolvane-karvell.desktop;\n");
  for (const auto& scheme : app.schemes) EXPECT_TRUE(IsDefaultApplicationForScheme(app, scheme.scheme));
  EXPECT_FALSE(IsDefaultApplicationForScheme(app, u"ftp"));

  // The current desktop's own list comes first; an entry that is not installed is passed over.
  qtest::WriteFile(dir / "config/test-mimeapps.list",
                   "[Default Applications]\nx-scheme-handler/ssh=missing.desktop;\n"
                   "x-scheme-handler/telnet=other.desktop\n");
  EXPECT_TRUE(IsDefaultApplicationForScheme(app, u"ssh"));
  EXPECT_TRUE(IsDefaultApplicationForScheme(app, u"telnet"));
  qtest::WriteFile(dir / "usr/applications/other.desktop", "[Desktop Entry]\nExec=other %u\n");
  EXPECT_FALSE(IsDefaultApplicationForScheme(app, u"telnet"));
  EXPECT_TRUE(IsDefaultApplicationForScheme(app, u"ssh"));

  // An entry of our name that starts another program is not this installation.
  app.path = u"/elsewhere/Karvell";
  EXPECT_FALSE(IsDefaultApplicationForScheme(app, u"ssh"));
}

TEST_F(UrlHandler, AFailedRegistrationLeavesTheListAsItWas) {
  VDefaultApplication app;
  ASSERT_TRUE(GetKarvellDefaultApplicationSettings(app));
  qtest::WriteFile(dir / "config/mimeapps.list", "[Default Applications]\nx=y\n");
  app.path = u"/a/new\nline";
  EXPECT_FALSE(RegisterDefaultApplication(app).ok());
  app.path = u"relative/Karvell";
  EXPECT_FALSE(RegisterDefaultApplication(app).ok());
  EXPECT_FALSE(qtest::Exists(dir / "data/applications/tolvane-karvell.desktop"));
  EXPECT_EQ(qtest::ReadFile(dir / "config/mimeapps.list"), "[Default Applications]\nx=y\n");

  // A list that cannot be read (here a folder in its place) is not replaced by one holding only
  // these lines.
  ASSERT_TRUE(GetKarvellDefaultApplicationSettings(app));
  ::unlink((dir / "config/mimeapps.list").c_str());
  qtest::MakeDirs(dir / "config/mimeapps.list");
  qtest::WriteFile(dir / "config/mimeapps.list/kept", "x");
  EXPECT_FALSE(RegisterDefaultApplication(app).ok());
  EXPECT_EQ(qtest::ReadFile(dir / "config/mimeapps.list/kept"), "x");
}

}  // namespace
