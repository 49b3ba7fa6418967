// The dialogs of moving settings driven offscreen: export and import of a real configuration
// through the settings dialog and the run's window (the log shown as it is written, Close only
// at the end), the file's passphrase asked and answered both ways, and the personal data
// question answered Postpone and Continue.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdlib>

#include "../../bench/session_tree.h"
#include "config/global/global_config_instance.h"
#include "config/session/session_store.h"
#include "crypto/config_passphrase.h"
#include "environment/app_paths.h"
#include "environment/moving_messages.h"
#include "marrowby/progress_dialog.h"
#include "marrowby/qt_text.h"
#include "platform/app_info.h"
#include "storage/ini/ini_file_store.h"
#include "support/moving_fixture.h"
#include "support/test_support.h"
#include "ui/moving/moving_dialogs.h"
#include "ui/moving/moving_texts.h"
#include "ui_test_helpers.h"

namespace {

namespace mt = moving_texts;

// Lets the event loop run until `done` holds (or a few seconds pass).
bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 1000 && !done(); ++i) QTest::qWait(10);
  return done();
}

// Saves a picture of `widget` into $QUILLANE_UI_GRAB_DIR (the README's pictures), when set.
void Grab(QWidget* widget, const char* name) {
  const char* folder = std::getenv("QUILLANE_UI_GRAB_DIR");
  if (!folder || !*folder) return;
  widget->grab().save(QString::fromUtf8(folder) + u'/' + QString::fromUtf8(name) + ".png");
}

class MovingDialogs : public qtest::MovingConfigTest {
 protected:
  // A configuration of six sessions in two folders, a secret in each, under `passphrase`.
  void MakeSource(VProfileStoreFactory& factory, const bench::SessionTree& tree,
                  const char16_t* passphrase) {
    current_ = &factory;
    SetConfigPassphrase(passphrase);
    VReportMessageParams error;
    for (size_t i = 0; i < tree.paths.size(); ++i) {
      ASSERT_TRUE(UpdateSessionAtPath(tree.paths[i], [&](SessionConfig& session, VReportMessageParams&) {
        return session.monitorPassword.SetPlaintext(U8("secret " + std::to_string(i)));
      }, error, &factory)) << error.GetTextOneLineTrimmed().ToUtf8();
    }
  }

  // The plaintext of a session's secret under `passphrase` ("?" when it does not decrypt).
  VUnicodeString Secret(VProfileStoreFactory& factory, const std::u16string& path,
                        std::u16string_view passphrase) {
    VReportMessageParams error;
    VRef<SessionConfig> session(OpenSessionByPath(path, error, &factory));
    if (!session) return u"(no session)";
    VUnicodeString plaintext;
    if (!session->monitorPassword.Current().GetPlaintext(passphrase, plaintext)) return u"?";
    return plaintext;
  }

  // Runs the dialogs of an import or export on `file`: the settings dialog is given the file
  // (and the "Do not import sensitive data" choice), `answer` answers the passphrase question
  // (which must then come), `ended` looks at the run's window once the run ended, and the window
  // is closed. Returns what LaunchImportExportSettingsDialog returned.
  bool RunThroughDialogs(bool import, const std::string& file, VProfileStoreFactory& factory,
                         bool skipSecrets = false,
                         std::function<void(ImportSettingsPassphraseDialog*)> answer = nullptr,
                         std::function<void(ImportExportExecutionDialog*)> ended = nullptr) {
    current_ = &factory;
    FreeGlobalConfig();
    auto settingsSeen = uitest::WhenModal<ImportExportSettingsDialog>([=](ImportExportSettingsDialog* dialog) {
      dialog->FileEdit()->setText(QString::fromStdString(file));
      if (skipSecrets) dialog->SkipSecretsCheck()->setChecked(true);
      Grab(dialog, import ? "moving_import_settings" : "moving_export_settings");
      dialog->OkButton()->click();
    });
    // The run's window and the question over it are looked for among the visible windows: the
    // question is the window's own child and comes up while the run goes on.
    auto asked = std::make_shared<bool>(false);
    auto runSeen = std::make_shared<bool>(false);
    auto tries = std::make_shared<int>(0);
    auto drive = std::make_shared<std::function<void()>>();
    *drive = [=] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        if (auto* question = qobject_cast<ImportSettingsPassphraseDialog*>(window)) {
          if (!*asked && answer) {
            *asked = true;
            answer(question);
          }
        } else if (auto* run = qobject_cast<ImportExportExecutionDialog*>(window)) {
          if (run->Finished() && !*runSeen) {
            *runSeen = true;
            EXPECT_TRUE(run->CloseButton()->isEnabled());
            EXPECT_FALSE(run->LogView()->toPlainText().isEmpty());
            if (ended) ended(run);
            Grab(run, import ? "moving_import_run" : "moving_export_run");
            run->CloseButton()->click();
            return;
          }
        }
      }
      if (++*tries < 3000) QTimer::singleShot(10, *drive);
    };
    QTimer::singleShot(0, *drive);
    bool ok = LaunchImportExportSettingsDialog(import, nullptr, VUnicodeString(), 0, nullptr, &factory);
    EXPECT_TRUE(*settingsSeen);
    EXPECT_TRUE(*runSeen);
    EXPECT_EQ(*asked, answer != nullptr);
    return ok;
  }

};

TEST(ImportExportRules, OkWaitsForASectionAndAFileThatFitsTheDirection) {
  qtest::TempDir dir;
  qtest::MakeDirs(dir / "folder");
  qtest::WriteFile(dir / "there.xml", "<x/>");
  VImportExportChoice choice;
  EXPECT_FALSE(ImportExportChoiceComplete(choice));
  choice.file = QStringLiteral("  ");
  choice.options = kImportExportSessions;
  EXPECT_FALSE(ImportExportChoiceComplete(choice));
  choice.options = kImportExportSkipSecrets;  // not a section
  choice.file = QString::fromStdString(dir / "there.xml");
  EXPECT_FALSE(ImportExportChoiceComplete(choice));
  choice.options = kImportExportGlobal;
  EXPECT_TRUE(ImportExportChoiceComplete(choice));

  VReportMessageParams error;
  choice.import = true;
  EXPECT_TRUE(ValidateSettingsFileChoice(choice, error));
  choice.file = QString::fromStdString(dir / "missing.xml");
  EXPECT_FALSE(ValidateSettingsFileChoice(choice, error));
  EXPECT_EQ(error.GetMessageId(), mt::kSettingsFileMissing);
  choice.file = QString::fromStdString(dir / "folder");
  EXPECT_FALSE(ValidateSettingsFileChoice(choice, error));
  EXPECT_EQ(error.GetMessageId(), mt::kSettingsFileIsFolder);

  // An export makes the file, but not its folder.
  choice.import = false;
  choice.file = QString::fromStdString(dir / "missing.xml");
  EXPECT_TRUE(ValidateSettingsFileChoice(choice, error));
  choice.file = QString::fromStdString(dir / "nowhere/out.xml");
  EXPECT_FALSE(ValidateSettingsFileChoice(choice, error));
  EXPECT_EQ(error.GetMessageId(), mt::kSettingsFolderMissing);
}

TEST(ImportExportSettingsDialog, ARefusedFileKeepsItOpenOnTheField) {
  uitest::MessageBoxRecorder boxes;
  qtest::TempDir dir;
  ImportExportSettingsDialog dialog(true, QString::fromStdString(dir / "missing.xml"));
  dialog.show();
  EXPECT_TRUE(dialog.GlobalCheck()->isChecked());
  EXPECT_TRUE(dialog.SessionsCheck()->isChecked());
  ASSERT_NE(dialog.SkipSecretsCheck(), nullptr);
  dialog.GlobalCheck()->setChecked(false);
  dialog.SessionsCheck()->setChecked(false);
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  dialog.SessionsCheck()->setChecked(true);
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  dialog.OkButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(boxes.Shown()[0].text.contains(QStringLiteral("does not exist"))) << boxes.Shown()[0].text.toStdString();
  EXPECT_EQ(dialog.focusWidget(), dialog.FileEdit());
  uitest::ExpectMnemonicsUnique(&dialog);
  // An export has no choice about sensitive data.
  ImportExportSettingsDialog exporting(false, QString());
  EXPECT_EQ(exporting.SkipSecretsCheck(), nullptr);
  EXPECT_FALSE(exporting.OkButton()->isEnabled());
}

TEST(ImportSettingsPassphraseDialog, AWrongPassphraseKeepsItOpenAndSkippingNeedsNone) {
  uitest::MessageBoxRecorder boxes;
  VFilePassphraseVerifier verify = [](std::u16string_view candidate) { return candidate == u"right"; };
  ImportSettingsPassphraseDialog dialog(verify);
  dialog.show();
  EXPECT_TRUE(dialog.ImportChoice()->isChecked());
  dialog.PassphraseEdit()->setText(QStringLiteral("wrong"));
  dialog.OkButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("The passphrase that was entered is not correct."));
  EXPECT_EQ(dialog.focusWidget(), dialog.PassphraseEdit());
  EXPECT_EQ(dialog.PassphraseEdit()->echoMode(), QLineEdit::Password);
  uitest::ExpectMnemonicsUnique(&dialog);
  dialog.SkipChoice()->click();
  EXPECT_FALSE(dialog.PassphraseEdit()->isEnabled());
  dialog.OkButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.Answer(), IImportExportSink::FilePassphraseAnswer::SkipSecrets);
  EXPECT_TRUE(dialog.Passphrase().empty());
  // The field is wiped when the dialog closes.
  EXPECT_TRUE(dialog.PassphraseEdit()->text().isEmpty());
}

TEST_F(MovingDialogs, ExportAndImportThroughTheDialogsCarryTheSecretsOrLeaveThemEmpty) {
  bench::SessionTree tree;
  bench::BuildSessionTree(tree, 2, 3);
  VIniFileStoreFactory source(U8(tree.root));
  MakeSource(source, tree, u"exporter");
  const std::string file = dir_ / "out/moved.xml";
  qtest::MakeDirs(dir_ / "out");
  ASSERT_TRUE(RunThroughDialogs(false, file, source));
  EXPECT_TRUE(qtest::Exists(file));
  EXPECT_TRUE(qtest::Exists(dir_ / "out/moved.log"));

  // Into another configuration under another passphrase: the question comes while the run's
  // window shows the lines so far and cannot be closed; a wrong passphrase is refused, the
  // exporter's is taken.
  VIniFileStoreFactory target(U8(dir_ / "target"));
  SetConfigPassphrase(u"importer");
  uitest::MessageBoxRecorder boxes;
  ASSERT_TRUE(RunThroughDialogs(true, file, target, false, [](ImportSettingsPassphraseDialog* dialog) {
    auto* run = qobject_cast<ImportExportExecutionDialog*>(dialog->parentWidget());
    ASSERT_NE(run, nullptr);
    EXPECT_FALSE(run->CloseButton()->isEnabled());
    EXPECT_FALSE(run->Finished());
    EXPECT_TRUE(WaitFor([&] { return run->LogView()->toPlainText().contains(QStringLiteral("moved.xml")); }));
    Grab(dialog, "moving_import_passphrase");
    dialog->PassphraseEdit()->setText(QStringLiteral("not it"));
    dialog->OkButton()->click();
    EXPECT_TRUE(dialog->isVisible());
    dialog->PassphraseEdit()->setText(QStringLiteral("exporter"));
    dialog->OkButton()->click();
  }));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  for (size_t i = 0; i < tree.paths.size(); ++i)
    EXPECT_EQ(Secret(target, tree.paths[i], u"importer"), U8("secret " + std::to_string(i)));

  // Answered "Do not import sensitive data": everything else, the secrets empty.
  VIniFileStoreFactory skipped(U8(dir_ / "skipped"));
  ASSERT_TRUE(RunThroughDialogs(true, file, skipped, false, [](ImportSettingsPassphraseDialog* dialog) {
    dialog->SkipChoice()->click();
    dialog->OkButton()->click();
  }));
  for (const std::u16string& path : tree.paths) {
    EXPECT_TRUE(SessionKeyExists(path, &skipped));
    EXPECT_EQ(Secret(skipped, path, u"importer"), u"");
  }

  // Cancelled: the run stops before it changes anything, and says so.
  VIniFileStoreFactory cancelled(U8(dir_ / "cancelled"));
  EXPECT_FALSE(RunThroughDialogs(true, file, cancelled, false, [](ImportSettingsPassphraseDialog* dialog) {
    dialog->reject();
  }));
  EXPECT_FALSE(SessionKeyExists(tree.paths[0], &cancelled));

  // "Do not import sensitive data" chosen up front: nobody is asked, the secrets are empty even
  // where the passphrases are the same.
  VIniFileStoreFactory same(U8(dir_ / "same"));
  SetConfigPassphrase(u"exporter");
  ASSERT_TRUE(RunThroughDialogs(true, file, same, true, nullptr, [](ImportExportExecutionDialog* run) {
    EXPECT_TRUE(run->LogView()->toPlainText().contains(QStringLiteral("Sensitive values are not imported")));
  }));
  EXPECT_EQ(Secret(same, tree.paths[2], u"exporter"), u"");
}

TEST_F(MovingDialogs, PersonalDataMovesAskFirstAndPostponeChangesNothing) {
  bench::SessionTree tree;
  bench::BuildSessionTree(tree, 2, 2);
  const VUnicodeString config = U8(tree.root);
  const VUnicodeString personal = U8(dir_ / "personal");
  VIniFileStoreFactory factory(config, personal);
  current_ = &factory;
  ASSERT_TRUE(SavePersonalDataFlags({true, true, false}, nullptr));
  const std::string before = qtest::ReadFile(tree.files[0]);

  auto postponed = uitest::WhenModal<PersonalDataLocationDialog>([](PersonalDataLocationDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Personal Data Location"));
    Grab(dialog, "moving_personal_data_question");
    dialog->PostponeButton()->click();
  });
  VPersonalDataMoveResult result = RunMigratePersonalData(nullptr, config, personal, &factory);
  EXPECT_TRUE(*postponed);
  EXPECT_FALSE(result.done);
  EXPECT_EQ(qtest::ReadFile(tree.files[0]), before);
  EXPECT_FALSE(qtest::Exists(dir_ / "personal/Sessions"));
  EXPECT_TRUE(DoPersonalDataMigration(u"Karvell"));

  // Continue: the progress window comes and goes by itself; every session was rewritten.
  auto continued = uitest::WhenModal<PersonalDataLocationDialog>([](PersonalDataLocationDialog* dialog) {
    dialog->ContinueButton()->click();
  });
  uitest::MessageBoxRecorder boxes;
  result = RunMigratePersonalData(nullptr, config, personal, &factory);
  EXPECT_TRUE(*continued);
  EXPECT_TRUE(result.done);
  EXPECT_EQ(result.sessions, tree.paths.size());
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_FALSE(DoPersonalDataMigration(u"Karvell"));
}

TEST_F(MovingDialogs, ThePersonalDataFolderPromptSaysWhatCancelDoes) {
  const VUnicodeString config = U8(dir_ / "cfg");
  VUnicodeString folder;
  auto seen = uitest::WhenModal<FolderPromptDialog>([](FolderPromptDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Personal Data Folder"));
    EXPECT_FALSE(dialog->BrowseButton()->toolTip().isEmpty());
    EXPECT_TRUE(dialog->FolderEdit()->text().endsWith(QStringLiteral(".personal")));
    Grab(dialog, "moving_personal_data_folder");
    dialog->reject();
  });
  EXPECT_FALSE(RunPersonalDataFolderPrompt(nullptr, config, folder));
  EXPECT_TRUE(*seen);
  EXPECT_TRUE(folder.empty());
}

}  // namespace
