// The pages of the Global Options dialog driven as a person would: each page's refusals keep the
// dialog open with the focus on the control at fault and write nothing; accepted edits reach
// Global.ini on disk once the caller saves.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "environment/app_paths.h"
#include "environment/library_init.h"
#include "global_options_test_env.h"
#include "ui/global_options/global_messages.h"
#include "ui/print_plugin.h"
#include "ui_test_helpers.h"

namespace {

using uitest::MessageBoxRecorder;
using GlobalOptionsPages = GlobalOptionsTest;

void Type(QLineEdit* edit, const QString& text) {
  edit->clear();
  QTest::keyClicks(edit, text);
}

// OK pressed; true when the dialog closed.
bool PressOk(GlobalOptionsDialog& dialog) {
  dialog.OkButton()->click();
  return dialog.result() == QDialog::Accepted && !dialog.isVisible();
}

// ---- General ----

TEST_F(GlobalOptionsPages, GeneralRefusesARecentListLengthOutsideItsRange) {
  auto dialog = Open();
  auto* page = Show<GlobalGeneralPage>(*dialog, GlobalPageId::General);
  QLineEdit* mru = page->Edit(u"MRU Count");
  for (const char* text : {"17", "-1", "four", ""}) {
    MessageBoxRecorder boxes;
    Type(mru, QString::fromUtf8(text));
    EXPECT_FALSE(PressOk(*dialog)) << text;
    ASSERT_EQ(boxes.Shown().size(), 1u) << text;
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("'Recently used list length' must be a whole number from 0 to 16; '%1' is not.")
                  .arg(QString::fromUtf8(text)));
    EXPECT_EQ(QApplication::focusWidget(), mru) << text;
  }
  EXPECT_EQ(Config().mruCount.current, 4);
  EXPECT_FALSE(Config().mruCount.IsModified());
  Type(mru, QStringLiteral(" 16 "));
  EXPECT_TRUE(PressOk(*dialog));
  EXPECT_NE(SavedGlobal().find("D:\"MRU Count\"=00000010"), std::string::npos);
}

TEST_F(GlobalOptionsPages, GeneralControlsFollowTheHostsFlagsAndTheProduct) {
  GlobalOptionsArguments arguments;
  arguments.toolbarFixed = true;
  {
    auto dialog = Open(arguments);
    auto* page = Show<GlobalGeneralPage>(*dialog, GlobalPageId::General);
    EXPECT_FALSE(page->Check(u"Minimize To Tray")->isEnabled());
    EXPECT_FALSE(page->Check(u"Show Menu Bar")->isEnabled());  // not the file-transfer client
    EXPECT_FALSE(page->Check(u"Show Toolbar")->isEnabled());
    EXPECT_TRUE(page->Check(u"Show Connect Bar")->isVisible());
    uitest::ExpectMnemonicsUnique(dialog.get());
  }
  Conditions(6, false, true);
  arguments = {};
  arguments.trayAgent = true;
  {
    auto dialog = Open(arguments);
    auto* page = Show<GlobalGeneralPage>(*dialog, GlobalPageId::General);
    EXPECT_TRUE(page->Check(u"Minimize To Tray")->isEnabled());
    EXPECT_TRUE(page->Check(u"Show Menu Bar")->isEnabled());
    EXPECT_TRUE(page->Check(u"Show Toolbar")->isEnabled());
    EXPECT_FALSE(page->Check(u"Show Connect Bar")->isVisible());
  }
  Conditions(9, false, true);
  auto dialog = Open();
  auto* page = Show<GlobalGeneralPage>(*dialog, GlobalPageId::General);
  EXPECT_FALSE(page->Check(u"Show Connect Dialog")->isVisible());
  EXPECT_FALSE(page->Combo(u"Connect Dialog Sort Order")->isVisible());
  EXPECT_TRUE(page->Edit(u"MRU Count")->isVisible());
}

TEST_F(GlobalOptionsPages, AnEditSavedThroughTheDialogIsReadBackFromGlobalIni) {
  auto dialog = Open();
  auto* general = Show<GlobalGeneralPage>(*dialog, GlobalPageId::General);
  general->Combo(u"Connect Dialog Sort Order")->setCurrentIndex(2);
  general->Check(u"Show Confirm Disconnect Dialog")->click();
  auto* tabs = Show<GlobalTabsPage>(*dialog, GlobalPageId::Tabs);
  Type(tabs->Edit(u"Tab Width"), QStringLiteral("123"));
  auto* options = Show<GlobalSettingsPage>(*dialog, GlobalPageId::Options);
  Type(options->Edit(u"Anonymous Password"), QStringLiteral("guest@example.org"));
  EXPECT_TRUE(PressOk(*dialog));
  std::string lines = SavedGlobal();
  for (const char* line : {"D:\"Connect Dialog Sort Order\"=00000002",
                           "D:\"Show Confirm Disconnect Dialog\"=00000000",
                           "D:\"Tab Width\"=0000007b",
                           "S:\"Anonymous Password\"=guest@example.org"})
    EXPECT_NE(lines.find(line), std::string::npos) << line;

  // A new object read from the file holds the same values.
  VRef<GlobalConfig> reread = LoadOwn(3);
  EXPECT_EQ(reread->connectDialogSortOrder.current, 2);
  EXPECT_FALSE(reread->showConfirmDisconnectDialog.current);
  EXPECT_EQ(reread->tabWidth.current, 123);
}

TEST_F(GlobalOptionsPages, CancelWritesNothing) {
  auto dialog = Open();
  auto* tabs = Show<GlobalTabsPage>(*dialog, GlobalPageId::Tabs);
  Type(tabs->Edit(u"Tab Width"), QStringLiteral("300"));
  dialog->reject();
  EXPECT_NE(Config().tabWidth.current, 300);
  EXPECT_FALSE(Config().IsModified());
}

// ---- Default Session ----

VStringArray gChosen;
int ChooseForTest(const VUnicodeString& title, VStringArray& sessions, void*) {
  EXPECT_EQ(title, u"Select Sessions");
  for (const VUnicodeString& session : gChosen) sessions.Add(session);
  return kIdOk;
}

TEST_F(GlobalOptionsPages, AutoSessionsWithNoneListedKeepTheDialogOpen) {
  auto dialog = Open();
  auto* page = Show<GlobalAutoSessionPage>(*dialog, GlobalPageId::DefaultSession);
  EXPECT_TRUE(page->NoneButton()->isChecked());
  page->AutoButton()->click();
  MessageBoxRecorder boxes;
  EXPECT_FALSE(PressOk(*dialog));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            QStringLiteral("Please specify an auto session or select an option other than \"Use auto session\"."));
  EXPECT_EQ(QApplication::focusWidget(), page->AutoButton());
  EXPECT_FALSE(Config().useAutoSession.current);
  EXPECT_FALSE(Config().useAutoSession.IsModified());
}

TEST_F(GlobalOptionsPages, AutoSessionsComeFromTheHostsChooser) {
  QuillaneInitGUI(nullptr, nullptr);
  {
    auto dialog = Open();
    auto* page = Show<GlobalAutoSessionPage>(*dialog, GlobalPageId::DefaultSession);
    page->AutoButton()->click();
    EXPECT_FALSE(page->AddButton()->isEnabled());  // no chooser from the host
    dialog->reject();
  }
  QuillaneInitGUI(&ChooseForTest, nullptr);
  gChosen = VStringArray{u"routers\\core", u"web", u"bad;name"};
  auto dialog = Open();
  auto* page = Show<GlobalAutoSessionPage>(*dialog, GlobalPageId::DefaultSession);
  page->AutoButton()->click();
  ASSERT_TRUE(page->AddButton()->isEnabled());
  page->AddButton()->click();
  page->AddButton()->click();  // the same sessions again are not listed twice
  ASSERT_EQ(page->SessionList()->count(), 2);
  EXPECT_TRUE(PressOk(*dialog));
  EXPECT_TRUE(Config().useAutoSession.current);
  EXPECT_FALSE(Config().useRememberedSessions.current);
  EXPECT_EQ(Config().autoSessionName.Current(), u"routers\\core;web");
  EXPECT_NE(SavedGlobal().find("S:\"Auto Session Name\"=routers\\core;web"), std::string::npos);
  QuillaneInitGUI(nullptr, nullptr);
}

// ---- Web Browser ----

TEST_F(GlobalOptionsPages, ABrowserOfOnesOwnMustBeNamed) {
  auto dialog = Open();
  auto* page = Show<GlobalWebBrowserPage>(*dialog, GlobalPageId::WebBrowser);
  QCheckBox* useDefault = page->Check(u"HTTP Use Registry Entry");
  QLineEdit* program = page->Edit(u"HTTP Browser Application");
  EXPECT_TRUE(useDefault->isChecked());
  EXPECT_FALSE(program->isEnabled());
  useDefault->click();
  EXPECT_TRUE(program->isEnabled());
  MessageBoxRecorder boxes;
  EXPECT_FALSE(PressOk(*dialog));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Browser Application cannot be blank.\n\n"
                                                   "Please enter a valid browser application"));
  EXPECT_EQ(QApplication::focusWidget(), program);
  Type(program, QStringLiteral("/usr/bin/browser"));
  EXPECT_TRUE(PressOk(*dialog));
  std::string lines = SavedGlobal();
  EXPECT_NE(lines.find("D:\"HTTP Use Registry Entry\"=00000000"), std::string::npos);
  EXPECT_NE(lines.find("S:\"HTTP Browser Application\"=/usr/bin/browser"), std::string::npos);
}

// ---- File transfer: Advanced, FTP, Sound ----

TEST_F(GlobalOptionsPages, TheTransferLogMustBeAWritableFileWithALegalName) {
  qtest::TempDir dir;
  qtest::MakeDirs(dir / "locked");
  chmod((dir / "locked").c_str(), 0500);
  auto dialog = Open();
  auto* page = Show<GlobalAdvancedOptionsPage>(*dialog, GlobalPageId::AdvancedOptions);
  page->Check(u"Enable Log File")->setChecked(true);
  QLineEdit* log = page->Edit(u"Log File");
  struct Case {
    std::string path;
    QString message;
  } cases[] = {
      {"relative/log.txt", QStringLiteral("Invalid log file path specified.")},
      {dir / "", QStringLiteral("Invalid log file path specified.")},
      {dir / "a?b.txt", QStringLiteral("The log filename cannot contain any of the following "
                                       "illegal characters: \\ / : * ? \" < > |")},
      {dir / "missing/log.txt", QStringLiteral("The log file folder specified is not writable.")},
  };
  bool root = geteuid() == 0;  // root writes into any folder
  for (const Case& c : cases) {
    MessageBoxRecorder boxes;
    Type(log, QString::fromStdString(c.path));
    EXPECT_FALSE(PressOk(*dialog)) << c.path;
    ASSERT_EQ(boxes.Shown().size(), 1u) << c.path;
    EXPECT_EQ(boxes.Shown()[0].text, c.message);
    EXPECT_EQ(QApplication::focusWidget(), log);
  }
  if (!root) {
    MessageBoxRecorder boxes;
    Type(log, QString::fromStdString(dir / "locked/log.txt"));
    EXPECT_FALSE(PressOk(*dialog));
  }
  EXPECT_FALSE(Config().enableLogFile.current);
  Type(log, QString::fromStdString(dir / "transfer.log"));
  EXPECT_TRUE(PressOk(*dialog));
  EXPECT_TRUE(Config().enableLogFile.current);
  chmod((dir / "locked").c_str(), 0700);
}

TEST_F(GlobalOptionsPages, ThePortRangeMustNotRunBackwards) {
  auto dialog = Open();
  auto* page = Show<GlobalFtpPage>(*dialog, GlobalPageId::Ftp);
  QLineEdit* lowest = page->Edit(u"FTP Port Range Minimum");
  EXPECT_FALSE(lowest->isEnabled());
  page->Check(u"FTP Enable Port Range")->click();
  EXPECT_TRUE(lowest->isEnabled());
  Type(lowest, QStringLiteral("6000"));
  Type(page->Edit(u"FTP Port Range Maximum"), QStringLiteral("5000"));
  MessageBoxRecorder boxes;
  EXPECT_FALSE(PressOk(*dialog));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            QStringLiteral("The lowest port of the range (6000) must not be above the highest (5000)."));
  EXPECT_EQ(QApplication::focusWidget(), lowest);
  Type(page->Edit(u"FTP Port Range Maximum"), QStringLiteral("70000"));
  EXPECT_FALSE(PressOk(*dialog));
  EXPECT_EQ(boxes.Shown().back().text,
            QStringLiteral("'To' must be a whole number from 1 to 65535; '70000' is not."));
  EXPECT_FALSE(Config().ftpEnablePortRange.current);
}

TEST_F(GlobalOptionsPages, ASoundFileMustBeThere) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "ding.wav", "RIFF");
  auto dialog = Open();
  auto* page = Show<GlobalSoundPage>(*dialog, GlobalPageId::Sound);
  QLineEdit* error = page->Edit(u"Error Sound File");
  for (std::string path : {dir / "none.wav", dir.Path()}) {
    MessageBoxRecorder boxes;
    Type(error, QString::fromStdString(path));
    EXPECT_FALSE(PressOk(*dialog));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Invalid sound file."));
    EXPECT_EQ(QApplication::focusWidget(), error);
  }
  Type(error, QString::fromStdString(dir / "ding.wav"));
  EXPECT_TRUE(PressOk(*dialog));
  EXPECT_EQ(Config().errorSoundFile.Current().ToUtf8(), dir / "ding.wav");
}

// ---- Tabs/Tiling ----

TEST_F(GlobalOptionsPages, ANewIndicatorTypeIsSaidToTakeEffectAtTheNextStart) {
  auto dialog = Open();
  auto* page = Show<GlobalTabsPage>(*dialog, GlobalPageId::Tabs);
  page->Combo(u"Status Indicator Style")->setCurrentIndex(1);
  MessageBoxRecorder boxes;
  EXPECT_TRUE(PressOk(*dialog));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("The change to the Status Indicator Type will "
                                                   "take effect the next time you start Karvell."));
  EXPECT_EQ(Config().statusIndicatorStyle.current, 1);
}

TEST_F(GlobalOptionsPages, StatusColoursAreChosenInTheirOwnDialogAndWrittenOnOk) {
  auto dialog = Open();
  auto* page = Show<GlobalTabsPage>(*dialog, GlobalPageId::Tabs);
  EXPECT_EQ(page->Colors()[2], 0x0000FF);  // disconnected text: red
  auto cancelled = uitest::WhenModal<StatusColorsDialog>([](StatusColorsDialog* colors) {
    colors->SetColor(0, QColor(1, 2, 3));
    colors->reject();
  });
  page->ColorsButton()->click();
  EXPECT_TRUE(*cancelled);
  EXPECT_EQ(page->Colors()[0], 0x28C828);
  auto chosen = uitest::WhenModal<StatusColorsDialog>([](StatusColorsDialog* colors) {
    EXPECT_EQ(colors->windowTitle(), QStringLiteral("Status Colors"));
    uitest::ExpectMnemonicsUnique(colors);
    colors->SetColor(0, QColor(1, 2, 3));
    colors->SetColor(11, QColor(0x10, 0x20, 0x30));
    colors->OkButton()->click();
  });
  page->ColorsButton()->click();
  EXPECT_TRUE(*chosen);
  EXPECT_EQ(Config().connectedColor.current, 0x28C828);  // not before OK
  EXPECT_TRUE(PressOk(*dialog));
  std::string lines = SavedGlobal();
  EXPECT_NE(lines.find("D:\"Connected Color\"=00030201"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Background Locked Color\"=00302010"), std::string::npos);
}

// ---- Printing ----

TEST_F(GlobalOptionsPages, DisablingAllPrintingDisablesThePanel) {
  auto dialog = Open();
  auto* page = Show<GlobalPrintingPage>(*dialog, GlobalPageId::Printing);
  EXPECT_TRUE(page->Panel()->isEnabled());
  page->DisableAllCheck()->click();
  EXPECT_FALSE(page->Panel()->isEnabled());
  EXPECT_TRUE(PressOk(*dialog));
  EXPECT_TRUE(Config().disableAllPrinting.current);
  // Switched back on: the panel waits for that to be saved.
  auto again = Open();
  page = Show<GlobalPrintingPage>(*again, GlobalPageId::Printing);
  page->DisableAllCheck()->click();
  EXPECT_TRUE(page->Panel()->ReenableLabel()->isVisibleTo(page->Panel()));
  EXPECT_TRUE(PressOk(*again));
  EXPECT_FALSE(Config().disableAllPrinting.current);
}

TEST_F(GlobalOptionsPages, AMarginThatIsNotANumberIsRefused) {
  MessageBoxRecorder boxes;  // outlives the dialog: the field is checked again as it goes
  auto dialog = Open();
  auto* page = Show<GlobalPrintingPage>(*dialog, GlobalPageId::Printing);
  QLineEdit* left = page->Panel()->MarginField(MarginSide::Left);
  Type(left, QStringLiteral("wide"));
  EXPECT_FALSE(PressOk(*dialog));
  ASSERT_FALSE(boxes.Shown().empty());
  EXPECT_TRUE(boxes.Shown()[0].text.contains(QStringLiteral("wide"))) << boxes.Shown()[0].text.toStdString();
  EXPECT_EQ(QApplication::focusWidget(), left);
  EXPECT_FALSE(Config().printer.IsModified());
}

// ---- Configuration Paths ----

TEST_F(GlobalOptionsPages, StoringPersonalDataSeparatelyIsSwitchedForTheNextStart) {
  qtest::TempDir config;
  GlobalOptionsArguments arguments;
  arguments.configFolder = VUnicodeString::FromUtf8(config.Path());
  {
    auto dialog = Open(arguments);
    auto* page = Show<GlobalConfigurationPathsPage>(*dialog, GlobalPageId::ConfigurationPaths);
    EXPECT_EQ(page->ConfigEdit()->text().toStdString(), config.Path());
    EXPECT_FALSE(page->PersonalEdit()->isEnabled());
    page->SeparateCheck()->click();
    EXPECT_EQ(page->PersonalEdit()->text().toStdString(), config.Path() + ".personal");
    // The personal folder may not be the configuration folder.
    Type(page->PersonalEdit(), QString::fromStdString(config.Path()));
    MessageBoxRecorder boxes;
    EXPECT_FALSE(PressOk(*dialog));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("The Personal Data Folder cannot be the same "
                                                     "folder as the Configuration Folder."));
    EXPECT_EQ(QApplication::focusWidget(), page->PersonalEdit());
    EXPECT_FALSE(UsePersonalDataPath(u"Karvell"));
    // A folder not there yet is made when the person agrees.
    Type(page->PersonalEdit(), QString::fromStdString(config / "mine"));
    MessageBoxRecorder agreeing(kIdYes);
    EXPECT_TRUE(PressOk(*dialog));
    ASSERT_EQ(agreeing.Shown().size(), 2u);
    EXPECT_TRUE(agreeing.Shown()[0].text.endsWith(QStringLiteral("Would you like to create it?")));
    EXPECT_TRUE(qtest::Exists(config / "mine"));
    EXPECT_EQ(agreeing.Shown()[1].text, QStringLiteral("The change to the Personal Data Folder will "
                                                     "take effect the next time you start Karvell."));
  }
  EXPECT_TRUE(UsePersonalDataPath(u"Karvell"));
  EXPECT_TRUE(DoPersonalDataMigration(u"Karvell"));
  EXPECT_FALSE(DoPersonalDataMerge(u"Karvell"));
  EXPECT_EQ(GetAppPersonalDataPathStored(u"Karvell").ToUtf8(), config / "mine");

  // Switched off again in the same run: the work pending at the first opening is pending again.
  auto dialog = Open(arguments);
  auto* page = Show<GlobalConfigurationPathsPage>(*dialog, GlobalPageId::ConfigurationPaths);
  EXPECT_TRUE(page->SeparateCheck()->isChecked());
  page->SeparateCheck()->click();
  MessageBoxRecorder boxes;
  EXPECT_TRUE(PressOk(*dialog));
  EXPECT_FALSE(UsePersonalDataPath(u"Karvell"));
  EXPECT_FALSE(DoPersonalDataMigration(u"Karvell"));
  EXPECT_FALSE(DoPersonalDataMerge(u"Karvell"));
}

TEST_F(GlobalOptionsPages, AConfigurationFolderThatCannotBeOneIsRefused) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "file", "x");
  auto dialog = Open();
  auto* page = Show<GlobalConfigurationPathsPage>(*dialog, GlobalPageId::ConfigurationPaths);
  Type(page->ConfigEdit(), QString::fromStdString(dir / "file"));
  MessageBoxRecorder boxes;
  EXPECT_FALSE(PressOk(*dialog));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(QApplication::focusWidget(), page->ConfigEdit());
  EXPECT_TRUE(GetAppConfigPath(u"Karvell").empty());
  Type(page->ConfigEdit(), QString::fromStdString(dir / "cfg"));
  EXPECT_TRUE(PressOk(*dialog));
  ASSERT_EQ(boxes.Shown().size(), 2u);
  EXPECT_EQ(boxes.Shown()[1].text, QStringLiteral("The change to the Configuration Folder will "
                                                   "take effect the next time you start Karvell."));
  EXPECT_EQ(GetAppConfigPath(u"Karvell").ToUtf8(), dir / "cfg");
}

// ---- Firewall ----

TEST_F(GlobalOptionsPages, AFirewallIsDeletedOnlyWhenAskedAndOnlyOnOk) {
  folder_.WriteLines("Firewalls/office", "S:\"Firewall Type\"=SOCKSv5\r\n");
  folder_.WriteLines("Firewalls/lab", "S:\"Firewall Type\"=SOCKSv5\r\n");
  auto dialog = Open();
  auto* page = Show<GlobalItemListPage>(*dialog, GlobalPageId::Firewall);
  ASSERT_EQ(page->List()->count(), 2);  // "None" is not an item one can delete
  page->List()->setCurrentRow(1);
  {
    MessageBoxRecorder boxes(kIdNo);
    page->DeleteButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Do you want to delete the specified firewall?"));
  }
  EXPECT_EQ(page->List()->count(), 2);
  QString name = page->List()->item(1)->text();
  {
    MessageBoxRecorder boxes(kIdYes);
    page->DeleteButton()->click();
  }
  EXPECT_EQ(page->List()->count(), 1);
  EXPECT_TRUE(qtest::Exists(folder_.FilePath("Firewalls/" + name.toStdString())));
  EXPECT_TRUE(PressOk(*dialog));
  EXPECT_FALSE(qtest::Exists(folder_.FilePath("Firewalls/" + name.toStdString())));
}

// ---- plain rules ----

TEST(GlobalOptionsRules, NumbersAreWholeAndWithinTheirRange) {
  BoundSetting bound;
  bound.key = u"MRU Count";
  bound.labelId = global_ui::kGenMru;
  bound.kind = SettingControlKind::Number;
  int64_t value = -5;
  VReportMessageParams error;
  EXPECT_TRUE(ParseSettingNumber(QStringLiteral(" 7 "), bound, value, error));
  EXPECT_EQ(value, 7);
  for (const char* text : {"", "7x", "0x10", "1.5", "17", "-0x1"})
    EXPECT_FALSE(ParseSettingNumber(QString::fromUtf8(text), bound, value, error)) << text;
  EXPECT_EQ(value, 7);
  bound.key = u"Retry Delay";  // no clamp in its row: the page's own range
  bound.min = 0;
  bound.max = 3600;
  EXPECT_FALSE(ParseSettingNumber(QStringLiteral("3601"), bound, value, error));
}

TEST(GlobalOptionsRules, ColoursKeepRedInTheLowestByte) {
  EXPECT_EQ(ColorFromStored(0x0000FF), QColor(0xFF, 0, 0));
  EXPECT_EQ(ColorFromStored(0xAABBCC), QColor(0xCC, 0xBB, 0xAA));
  EXPECT_EQ(StoredFromColor(QColor(0xCC, 0xBB, 0xAA)), 0xAABBCC);
  EXPECT_EQ(StoredFromColor(ColorFromStored(0x800080)), 0x800080);
}

TEST(GlobalOptionsRules, AutoSessionsAreKeptAsOneList) {
  VStringArray sessions = SplitAutoSessions(u" a\\b ; c;;  ");
  ASSERT_EQ(sessions.GetSize(), 2u);
  EXPECT_EQ(sessions[0], u"a\\b");
  EXPECT_EQ(sessions[1], u"c");
  EXPECT_EQ(JoinAutoSessions(sessions), u"a\\b;c");
  EXPECT_TRUE(SplitAutoSessions(u"").IsEmpty());
  VReportMessageParams error;
  EXPECT_TRUE(CheckAutoSessions(StartupSessions::Remembered, VStringArray(), error));
  EXPECT_FALSE(CheckAutoSessions(StartupSessions::Auto, VStringArray(), error));
  EXPECT_TRUE(CheckAutoSessions(StartupSessions::Auto, sessions, error));
  EXPECT_EQ(StartupFromSettings(true, true), StartupSessions::Auto);
  EXPECT_EQ(StartupFromSettings(false, true), StartupSessions::Remembered);
}

TEST_F(GlobalOptionsPages, WritingTheValueHeldFlagsNothing) {
  EXPECT_TRUE(WriteGlobalNumber(Config(), u"mru count", 4));
  EXPECT_TRUE(WriteGlobalText(Config(), u"Quotation Characters", u"\""));
  EXPECT_FALSE(Config().IsModified());
  EXPECT_FALSE(WriteGlobalNumber(Config(), u"Quotation Characters", 1));
  EXPECT_FALSE(WriteGlobalText(Config(), u"MRU Count", u"1"));
  EXPECT_FALSE(WriteGlobalNumber(Config(), u"No Such Setting", 1));
  EXPECT_TRUE(WriteGlobalNumber(Config(), u"MRU Count", 9));
  EXPECT_TRUE(Config().mruCount.IsModified());
}

}  // namespace
