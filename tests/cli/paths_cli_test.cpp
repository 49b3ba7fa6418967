// quillane paths ...: every command, over a registry hive and XDG folders in a temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"

namespace {

class PathsCli : public ::testing::Test {
 protected:
  qtest::RunResult Run(const std::vector<std::string>& args) {
    return qtest::Quillane(args, qtest::HostEnv(dir_));
  }
  bool Shows(const std::string& text, const std::vector<std::string>& before = {}) {
    std::vector<std::string> args = before;
    args.insert(args.end(), {"--json", "paths", "show"});
    return Run(args).out.find(text) != std::string::npos;
  }
  qtest::TempDir dir_;
};

TEST_F(PathsCli, ShowAndRememberTheConfigurationFolder) {
  std::string def = dir_ / "xdg/Tolvane/Karvell/Config";
  EXPECT_EQ(Run({"--json", "paths", "show"}).out,
            "{\"app\": \"Karvell\", \"config_path\": \"" + def +
                "\", \"config_path_stored\": \"\", \"personal_data_path\": \"" + def +
                ".personal\", \"personal_data_path_stored\": \"\", "
                "\"store_personal_data_separately\": false, \"do_personal_data_migration\": false, "
                "\"do_personal_data_merge\": false, \"integrated\": false, \"other_app\": null, "
                "\"secrets_readable_by_others\": false}\n");

  std::string cfg = dir_ / "cfg";
  auto set = Run({"--json", "paths", "set-config", cfg + "/"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out, "{}\n");
  EXPECT_EQ(qtest::ReadFile(dir_ / "registry/HKCU/SOFTWARE/Tolvane/Karvell.ini"),
            "\xEF\xBB\xBFS:\"Config Path\"=" + cfg + "\r\n");
  // The remembered folder is the one in use, unless $QUILLANE_CONFIG or --config say otherwise.
  EXPECT_NE(Run({}).out.find(cfg + " (from remembered Config Path)"), std::string::npos);
  EXPECT_TRUE(Shows("\"config_path\": \"" + (dir_ / "other") + "\"", {"--config", dir_ / "other"}));

  qtest::WriteFile(dir_ / "file", "x");
  auto file = Run({"--json", "paths", "set-config", dir_ / "file"});
  EXPECT_EQ(file.status, 3);
  EXPECT_EQ(file.err, "quillane: The path specified is not a directory.\n");
  EXPECT_EQ(file.out,
            "{\"error\": {\"id\": \"0xE1380014\", \"text\": \"The path specified is "
            "not a directory.\"}}\n");
}

TEST_F(PathsCli, PersonalValues) {
  auto set = Run({"--json", "paths", "personal", "--set", dir_ / "mine", "--separate", "on",
                  "--migrate", "on", "--merge", "off"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_NE(set.out.find("\"personal_data_path_stored\": \"" + (dir_ / "mine") +
                         "\", \"store_personal_data_separately\": true, "
                         "\"do_personal_data_migration\": true, \"do_personal_data_merge\": false"),
            std::string::npos)
      << set.out;
  EXPECT_EQ(Run({"paths", "personal", "--merge", "maybe"}).status, 2);
  // With separation on, personal values go to the remembered personal data folder.
  ASSERT_EQ(Run({"--config", dir_ / "cfg", "key", "set", "S/h", "Password V2", "--string", "02:x"}).status, 0);
  EXPECT_TRUE(qtest::Exists(dir_ / "mine/S/h.ini"));
  EXPECT_EQ(qtest::ReadFile(dir_ / "cfg/S/h.ini"), "\xEF\xBB\xBF");
}

TEST_F(PathsCli, StartUpChecks) {
  std::string cfg = dir_ / "cfg";
  qtest::MakeDirs(cfg);
  EXPECT_EQ(Run({"--json", "paths", "check-command-line", cfg + "//"}).out,
            "{\"path\": \"" + cfg + "\"}\n");
  auto bad = Run({"--json", "paths", "check-command-line", "missing"});
  EXPECT_EQ(bad.status, 3);
  EXPECT_EQ(bad.out,
            "{\"error\": {\"id\": \"0xE1380009\", \"text\": \"The folder specified using "
            "/F on the command line is not valid:\\r\\n\\r\\n'missing'\"}}\n");

  EXPECT_EQ(Run({"--json", "paths", "check-redirect", cfg}).out,
            "{\"path\": \"" + cfg + "\", \"redirected\": false, \"message\": null}\n");
  qtest::WriteFile(cfg + "/Global.ini", "\xEF\xBB\xBFS:\"Version\"=\r\n");
  qtest::WriteFile(cfg + "/TLVRedirect.ini", "\xEF\xBB\xBFS:\"New Config Path\"=/srv/new\r\n");
  auto moved = Run({"--json", "paths", "check-redirect", cfg, "--save"});
  ASSERT_EQ(moved.status, 0) << moved.err;
  EXPECT_EQ(moved.out.rfind("{\"path\": \"/srv/new\", \"redirected\": true, \"message\": \"The "
                            "configuration was migrated from: \\r\\n'" +
                                cfg + "'\\r\\nto",
                            0),
            0u)
      << moved.out;
  EXPECT_NE(moved.err.find("'" + cfg + "'\r\nto\r\n'/srv/new'."), std::string::npos) << moved.err;
  EXPECT_TRUE(Shows("\"config_path_stored\": \"/srv/new\""));

  qtest::WriteFile(cfg + "/TLVRedirect.ini", "\xEF\xBB\xBFS:\"New Config Path\"=\r\n");
  EXPECT_EQ(Run({"paths", "check-redirect", cfg}).out, cfg + "\n");
  EXPECT_FALSE(qtest::Exists(cfg + "/Global.ini"));  // set aside as Global-incomplete-...
}

TEST_F(PathsCli, FileNamesAndPathVariables) {
  EXPECT_EQ(Run({"--json", "paths", "check-filename", "log.txt"}).out, "{\"valid\": true}\n");
  auto bad = Run({"--json", "paths", "check-filename", "a*b:c"});
  EXPECT_EQ(bad.status, 3);
  EXPECT_EQ(bad.out,
            "{\"valid\": false, \"error\": {\"id\": \"0x61380084\", \"text\": \"The name "
            "contains an illegal character: ' : '\"}}\n");

  std::string cfg = dir_ / "cfg";
  EXPECT_EQ(Run({"--config", cfg, "--json", "paths", "expand", "${TLV_CONFIG_PATH}/logs"}).out,
            "{\"path\": \"" + cfg + "/logs\"}\n");
  EXPECT_EQ(Run({"--config", cfg, "--json", "paths", "contract", cfg + "/logs"}).out,
            "{\"stored\": \"${TLV_CONFIG_PATH}/logs\"}\n");
  // Stored on the other system with a backslash.
  std::string user = dir_ / "data/Tolvane/Karvell/log.txt";
  EXPECT_EQ(Run({"paths", "expand", "${TLV_USER_DATA_PATH}\\log.txt"}).out, user + "\n");
  EXPECT_EQ(Run({"paths", "contract", user}).out, "${TLV_USER_DATA_PATH}/log.txt\n");
  EXPECT_EQ(Run({"paths", "frobnicate"}).status, 2);
}

// Without a configuration passphrase the saved passwords are encrypted under the empty one: they
// are then as private as their folder, and the user is told when others can read it.
TEST_F(PathsCli, SecretsUnderTheEmptyPassphraseInAFolderOthersCanReadAreWarnedOf) {
  const std::string cfg = dir_ / "cfg";
  ASSERT_EQ(Run({"--config", cfg, "session", "create", "a"}).status, 0);
  const std::string warning = "quillane: warning: Saved passwords in '" + cfg + "'";
  // Made by the library: the user's alone.
  EXPECT_EQ(Run({"--config", cfg, "paths", "show"}).err.find(warning), std::string::npos);
  ASSERT_EQ(chmod(cfg.c_str(), 0755), 0);
  EXPECT_NE(Run({"--config", cfg, "paths", "show"}).err.find(warning), std::string::npos);
  EXPECT_NE(Run({"--config", cfg}).err.find(warning), std::string::npos);
  EXPECT_TRUE(Shows("\"secrets_readable_by_others\": true", {"--config", cfg}));
  // A passphrase of its own makes the folder's mode a matter of privacy, not of secrets.
  auto env = qtest::HostEnv(dir_);
  env["P"] = "a passphrase";
  ASSERT_EQ(qtest::Quillane({"--config", cfg, "--passphrase-env", "P", "passphrase", "init"}, env)
                .status,
            0);
  EXPECT_EQ(Run({"--config", cfg, "paths", "show"}).err.find(warning), std::string::npos);
  EXPECT_TRUE(Shows("\"secrets_readable_by_others\": false", {"--config", cfg}));
}

}  // namespace
