// Moving settings over generated session trees: a migration and a merge over 10,000 sessions in
// 500 folders, and an export and import of 1,000 sessions, global options and firewalls between
// two configurations under different passphrases.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>

#include "../../bench/session_tree.h"
#include "config/database/session_database.h"
#include "config/global/global_config_instance.h"
#include "config/items/firewall_config.h"
#include "config/session/session_store.h"
#include "storage/values/stored_value.h"
#include "crypto/config_passphrase.h"
#include "environment/import_export_settings.h"
#include "environment/personal_data_move.h"
#include "platform/app_info.h"
#include "storage/ini/ini_file_key.h"
#include "storage/ini/ini_file_store.h"
#include "support/moving_fixture.h"
#include "support/test_support.h"

namespace {

using Values = std::map<VUnicodeString, VStoredValue>;

// The values of the session at `path` (levels split by "\") as `factory`'s store reads them.
Values SessionValues(VProfileStoreFactory& factory, const std::u16string& path) {
  VProfileStore store(true, &factory);
  std::vector<std::unique_ptr<VProfileKey>> keys;
  keys.push_back(std::make_unique<VProfileKey>(*store.GetRootKey(), u"Sessions"));
  for (const VUnicodeString& level : SessionDatabase::SplitPath(path))
    keys.push_back(std::make_unique<VProfileKey>(*keys.back(), level.c_str()));
  Values values;
  VProfileKeyIterator it(*keys.back(), true);
  VUnicodeString name;
  int type = 0;
  while (it.Next(name, type)) ReadStoredValue(*keys.back(), name, type, values[name]);
  return values;
}

bool IsPersonal(const VUnicodeString& name) {
  for (std::u16string_view personal : VIniFileKey::PersonalNames())
    if (personal == name) return true;
  return false;
}

class Yes : public IUserQuestions {
 public:
  bool AskYesNo(VReportMessageParams&) override { return true; }
  void Notify(VReportMessageParams&, VNoticeKind) override {}
  bool AskFolder(VReportMessageParams&, VUnicodeString&) override { return false; }
};

using MovingTree = qtest::MovingConfigTest;

// The whole generated tree of 10,000 sessions when QUILLANE_MOVING_TREE_FOLDERS=500: every
// session is written twice with its files flushed, which takes minutes on a busy disk; by
// default a tree of the same shape with 20 folders.
int TreeFolders() {
  const char* folders = std::getenv("QUILLANE_MOVING_TREE_FOLDERS");
  int count = folders ? std::atoi(folders) : 0;
  return count > 0 ? count : 20;
}

TEST_F(MovingTree, MigrationAndMergeOfTheTreeMoveOnlyPersonalValues) {
  bench::SessionTree tree;
  bench::BuildSessionTree(tree, TreeFolders(), 20);
  const size_t count = tree.paths.size();
  const size_t readOnly = count / 2 + 1;
  VUnicodeString config = U8(tree.root);
  VUnicodeString personal = U8(tree.root + ".personal");
  VIniFileStoreFactory main(config);
  std::vector<Values> before;
  for (const auto& path : tree.paths) before.push_back(SessionValues(main, path));
  // Only the generated values: the test must see personal values to move.
  size_t personalCount = 0;
  for (const auto& [name, value] : before[0]) personalCount += IsPersonal(name);
  ASSERT_GT(personalCount, 3u);
  chmod(tree.files[readOnly].c_str(), 0444);
  std::string readOnlyBytes = qtest::ReadFile(tree.files[readOnly]);

  Yes yes;
  VIniFileStoreFactory split(config, personal);
  VPersonalDataMoveResult migrated =
      MigrateToPersonalDataLocation(yes, nullptr, config, personal, &split);
  ASSERT_TRUE(migrated.done);
  EXPECT_FALSE(migrated.error.IsError());
  EXPECT_EQ(migrated.sessions, count - 1);
  EXPECT_EQ(migrated.folders, count / 20);
  ASSERT_EQ(migrated.passedOver.size(), 1u);
  EXPECT_EQ(migrated.passedOver[0], tree.paths[readOnly]);
  EXPECT_EQ(qtest::ReadFile(tree.files[readOnly]), readOnlyBytes);

  VIniFileStoreFactory personalOnly(personal);
  for (size_t i = 0; i < tree.paths.size(); ++i) {
    if (i == readOnly) continue;
    Values kept, moved;
    for (const auto& [name, value] : before[i]) (IsPersonal(name) ? moved : kept)[name] = value;
    ASSERT_EQ(SessionValues(main, tree.paths[i]), kept) << i;
    ASSERT_EQ(SessionValues(personalOnly, tree.paths[i]), moved) << i;
    ASSERT_EQ(SessionValues(split, tree.paths[i]), before[i]) << i;
  }

  chmod(tree.files[readOnly].c_str(), 0644);
  VPersonalDataMoveResult merged = MergeFromPersonalDataLocation(yes, nullptr, config, personal);
  ASSERT_TRUE(merged.done);
  EXPECT_FALSE(merged.error.IsError());
  EXPECT_EQ(merged.sessions, count);
  EXPECT_TRUE(merged.passedOver.empty());
  for (size_t i = 0; i < tree.paths.size(); ++i)
    ASSERT_EQ(SessionValues(main, tree.paths[i]), before[i]) << i;
  EXPECT_FALSE(qtest::Exists(tree.root + ".personal/Sessions/Folder7/host140.ini"));
  EXPECT_FALSE(qtest::Exists(tree.root + ".personal/Sessions/Folder0/host0.ini"));
  vfs::RemoveTree(tree.root + ".personal").IgnoreError();
}

// A sink that answers the passphrase question with the exporter's passphrase.
class Answer : public IImportExportSink {
 public:
  explicit Answer(std::u16string passphrase) : passphrase_(std::move(passphrase)) {}
  void LogLine(VImportExportLevel level, VReportMessageParams& message) override {
    if (level == VImportExportLevel::Err) errors.push_back(message.GetTextOneLineTrimmed());
  }
  FilePassphraseAnswer AskFilePassphrase(const VFilePassphraseVerifier& verify,
                                         VUnicodeString& passphrase) override {
    ++asked;
    passphrase = passphrase_;
    return verify(passphrase) ? FilePassphraseAnswer::Passphrase : FilePassphraseAnswer::Cancel;
  }
  int asked = 0;
  std::vector<VUnicodeString> errors;

 private:
  std::u16string passphrase_;
};

// Every setting of a session as a save would write it, secrets as their plaintext under
// `passphrase`.
std::vector<std::pair<VUnicodeString, VStoredValue>> Settings(VProfileStoreFactory& factory,
                                                                const VUnicodeString& path,
                                                                std::u16string_view passphrase) {
  VReportMessageParams error;
  VRef<SessionConfig> session(OpenSessionByPath(path, error, &factory));
  std::vector<std::pair<VUnicodeString, VStoredValue>> out;
  if (!session) return out;
  for (VProfileEncryptedString* secret : session->GetSecretSettings()) {
    VUnicodeString plaintext;
    secret->Current().GetPlaintext(passphrase, plaintext);
    out.push_back({secret->GetName(), VStoredValue::String(plaintext)});
  }
  for (const VSettingInfo& setting : session->ListSettings()) {
    if (setting.storedType == kProfileTypeString && setting.value.text.rfind(u"02:", 0) == 0)
      continue;
    out.push_back({setting.name, setting.value});
  }
  return out;
}

TEST_F(MovingTree, RoundTripOfAThousandSessionsBetweenPassphrases) {
  bench::SessionTree tree;
  bench::BuildSessionTree(tree, 50, 20);
  VIniFileStoreFactory source(U8(tree.root));
  current_ = &source;
  SetConfigPassphrase(u"exporter");
  VReportMessageParams error;
  // Secrets in some sessions and a firewall, under the exporter's passphrase.
  for (size_t i = 0; i < tree.paths.size(); i += 7) {
    ASSERT_TRUE(UpdateSessionAtPath(tree.paths[i], [&](SessionConfig& session, VReportMessageParams&) {
      return session.monitorPassword.SetPlaintext(U8("secret " + std::to_string(i)));
    }, error, &source)) << error.GetTextOneLineTrimmed().ToUtf8();
  }
  {
    SessionDatabase database(&source);
    VRef<FirewallConfig> firewall(new FirewallConfig(u"gate"));
    firewall->Load(nullptr, 3);
    firewall->firewallPassword.SetPlaintext(u"gate secret");
    ASSERT_TRUE(database.SaveItem(*firewall.Get(), error, true)) << error.GetTextOneLineTrimmed().ToUtf8();
  }
  std::string file = dir_ / "out/all.xml";
  qtest::MakeDirs(dir_ / "out");
  Answer none(u"");
  VImportExportSummary exported;
  ASSERT_EQ(RunImportExportSettings(false, file, kImportExportGlobal | kImportExportSessions,
                                    u"Karvell", 0, &none, &exported, &source),
            0);
  EXPECT_EQ(exported.sessions, 1000u);

  std::string target = dir_ / "target";
  VIniFileStoreFactory destination(U8(target));
  FreeGlobalConfig();
  current_ = &destination;
  SetConfigPassphrase(u"importer");
  Answer answer(u"exporter");
  VImportExportSummary imported;
  ASSERT_EQ(RunImportExportSettings(true, file, kImportExportGlobal | kImportExportSessions,
                                    u"Karvell", 0, &answer, &imported, &destination),
            0)
      << (answer.errors.empty() ? "" : answer.errors[0].ToUtf8());
  EXPECT_EQ(answer.asked, 1);
  EXPECT_EQ(imported.sessions, 1000u);
  for (size_t i = 0; i < tree.paths.size(); ++i) {
    ASSERT_EQ(Settings(destination, tree.paths[i], u"importer"),
              Settings(source, tree.paths[i], u"exporter"))
        << i;
  }
  SessionDatabase database(&destination);
  VRef<FirewallConfig> gate = database.OpenFirewall(u"gate");
  ASSERT_TRUE(gate);
  VUnicodeString plaintext;
  EXPECT_TRUE(gate->firewallPassword.Current().GetPlaintext(u"importer", plaintext));
  EXPECT_EQ(plaintext, u"gate secret");

  // Again: the same values.
  auto once = Settings(destination, tree.paths[7], u"importer");
  ASSERT_EQ(RunImportExportSettings(true, file, kImportExportSessions, u"Karvell", 0, &answer,
                                    nullptr, &destination),
            0);
  EXPECT_EQ(Settings(destination, tree.paths[7], u"importer"), once);
}

}  // namespace
