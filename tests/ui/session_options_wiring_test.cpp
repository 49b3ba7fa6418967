// The Session Options dialog with its real pages: edits on several pages saved by OK and read
// back from the file, Cancel leaving the session object and its file as they were, the hooks the
// dialog connects (the FTP/SFTP page's refresh, the colour scheme editor behind the Appearance
// page, the print system behind the Printing page), and several sessions edited at once taking
// only what was changed.
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "config/global/global_config_instance.h"
#include "config/keymap/key_codes.h"
#include "session_options_env.h"
#include "ui/colors/ansi_color_pages.h"
#include "ui/colors/color_scheme_dialog.h"
#include "ui/colors/new_color_dialogs.h"
#include "ui/keymap/keymap_editor_panel.h"
#include "ui/keywords/keyword_list_dialog.h"
#include "config/highlight/highlight_config.h"
#include "config/database/session_database.h"
#include "ui/keymap/selected_key_dialog.h"
#include "ui/keymap/session_mapped_keys_page.h"
#include "marrowby/qt_text.h"
#include "ui/print_plugin.h"
#include "ui/printer_platform_qt.h"
#include "ui/session_options/edit_session.h"
#include "ui/session_options/edit_several_sessions.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"
#include "ui_test_helpers.h"

namespace {

using uitest::WhenModal;

constexpr uint32_t kVkF5 = 0x74;

class SessionOptionsWiringTest : public SessionOptionsTest {
 protected:
  // Brings the page at `path` to the front, its controls made as for a user.
  template <class Page>
  static Page* Front(SessionOptionsDialogBase& dialog, const QStringList& path) {
    VPropertyTreePage* page = dialog.FindPage(path);
    EXPECT_TRUE(page) << path.join('/').toStdString();
    if (!page) return nullptr;
    EXPECT_TRUE(dialog.SelectPage(page)) << path.join('/').toStdString();
    QApplication::processEvents();
    auto* typed = dynamic_cast<Page*>(page);
    EXPECT_TRUE(typed) << path.join('/').toStdString();
    return typed;
  }
  template <class W>
  static W* Control(QWidget* page, const char16_t* name) {
    W* found = page->findChild<W*>(QString::fromStdU16String(name));
    EXPECT_TRUE(found) << VUnicodeString(name).ToUtf8();
    return found;
  }
  static void SetText(QWidget* page, const char16_t* name, const QString& text) {
    if (auto* edit = Control<QLineEdit>(page, name)) edit->setText(text);
  }
  // Maps Ctrl+F5 to send `text` on the Mapped Keys page.
  static void MapCtrlF5(SessionMappedKeysPage& page, const QString& text) {
    auto seen = WhenModal<SelectedKeyDialog>([text](SelectedKeyDialog* d) {
      d->SendEdit()->setPlainText(text);
      d->OkButton()->click();
    });
    page.Panel()->MapCapturedKey(63, kKeyCtrl);
    EXPECT_TRUE(*seen);
  }
  // Edits on six pages of both branches, moving from page to page as a user does.
  static void EditSeveralPages(SessionOptionsDialogBase& dialog) {
    if (auto* terminal = Front<SessionTerminalPage>(dialog, {"Terminal"}))
      Control<QCheckBox>(terminal, u"Audio Bell")->click();
    if (auto* emulation = Front<SessionEmulationPage>(dialog, {"Terminal", "Emulation"}))
      SetText(emulation, u"Rows", QStringLiteral("40"));
    if (auto* keys = Front<SessionMappedKeysPage>(dialog, {"Terminal", "Emulation", "Mapped Keys"}))
      keys->MapDeleteBox()->click();
    if (auto* log = Front<SessionLogFilePage>(dialog, {"Terminal", "Log File"}))
      SetText(log, u"Log Filename", QStringLiteral("/var/log/lab/router.log"));
    if (auto* modem = Front<SessionXModemZModemPage>(dialog, {"Terminal", "X/Y/Zmodem"}))
      SetText(modem, u"Upload Directory", QStringLiteral("/srv/up"));
    if (auto* ftp = Front<SessionFtpSftpPage>(dialog, {"File Transfer", "FTP/SFTP"}))
      SetText(ftp, u"File Creation Mask", QStringLiteral("022"));
  }
};

// ---- the pages in the tree ----

TEST_F(SessionOptionsWiringTest, EveryRowOfTheTreeIsItsRealPage) {
  FreeGlobalConfig();
  folder_.WriteLines("Global", "D:\"Hide Session ANSI Color Page\"=00000000\r\n");
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  EXPECT_TRUE(dynamic_cast<SessionTerminalPage*>(dialog.FindPage({"Terminal"})));
  EXPECT_TRUE(dynamic_cast<SessionEmulationModesPage*>(dialog.FindPage({"Terminal", "Emulation", "Modes"})));
  EXPECT_TRUE(dynamic_cast<SessionEmacsPage*>(dialog.FindPage({"Terminal", "Emulation", "Emacs"})));
  EXPECT_TRUE(dynamic_cast<SessionMappedKeysPage*>(dialog.FindPage({"Terminal", "Emulation", "Mapped Keys"})));
  EXPECT_TRUE(dynamic_cast<SessionEmulationAdvancedPage*>(dialog.FindPage({"Terminal", "Emulation", "Advanced"})));
  EXPECT_TRUE(dynamic_cast<SessionAppearancePage*>(dialog.FindPage({"Terminal", "Appearance"})));
  EXPECT_TRUE(dynamic_cast<SessionAnsiColorPage*>(dialog.FindPage({"Terminal", "Appearance", "ANSI Color"})));
  EXPECT_TRUE(dynamic_cast<SessionWindowPage*>(dialog.FindPage({"Terminal", "Appearance", "Window"})));
  EXPECT_TRUE(dynamic_cast<SessionPrintingPage*>(dialog.FindPage({"Terminal", "Printing"})));
  EXPECT_TRUE(dynamic_cast<SessionFileTransferPage*>(dialog.FindPage({"File Transfer"})));
  EXPECT_TRUE(dynamic_cast<SessionFileTransferAdvancedPage*>(dialog.FindPage({"File Transfer", "Advanced"})));
  // Every page is handed the dialog's arguments.
  for (VPropertyTreePage* page : dialog.Pages()) {
    if (auto* built = dynamic_cast<SessionPageBase*>(page)) {
      EXPECT_EQ(built->Context().session, session.Get()) << dialog.PathOf(page).join('/').toStdString();
      EXPECT_EQ(built->Context().maxColumns, 256);
    }
  }
}

// ---- OK and Cancel through the whole dialog ----

TEST_F(SessionOptionsWiringTest, EditsOnSeveralPagesAreSavedByOkAndReadBackFromTheFile) {
  WriteProtocols("Lab/router1", "SSH2", "SFTP", "S:\"Hostname\"=gw\r\n");
  auto seen = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    EditSeveralPages(*dialog);
    dialog->OkButton()->click();
  });
  VReportMessageParams error;
  ASSERT_EQ(EditSessionAtPath(VUnicodeString(u"Lab/router1"), nullptr, error), kIdOk)
      << error.GetTextTrimmed().ToUtf8();
  ASSERT_TRUE(*seen);
  const std::string lines = Session("Lab/router1");
  EXPECT_TRUE(Has(lines, "D:\"Audio Bell\"=00000000"));
  EXPECT_TRUE(Has(lines, "D:\"Rows\"=00000028"));
  EXPECT_TRUE(Has(lines, "D:\"Map Delete\"=00000001"));
  EXPECT_TRUE(Has(lines, "S:\"Upload Directory\"=/srv/up"));
  EXPECT_TRUE(Has(lines, "S:\"File Creation Mask\"=022"));
  EXPECT_TRUE(Has(lines, "S:\"Hostname\"=gw"));
  VRef<SessionConfig> back = Open(u"Lab/router1");
  ASSERT_TRUE(back);
  EXPECT_FALSE(back->terminal.audioBell.current);
  EXPECT_EQ(back->terminal.rows.current, 40);
  EXPECT_TRUE(back->terminal.mapDelete.current);
  EXPECT_EQ(back->logFilename.Current(), u"/var/log/lab/router.log");
  EXPECT_EQ(back->uploadDirectory.Current(), u"/srv/up");
  EXPECT_EQ(back->fileCreationMask.Current(), u"022");
}

TEST_F(SessionOptionsWiringTest, CancelWritesNothingAndLeavesTheSessionObjectAsItWas) {
  WriteProtocols("Lab/router1", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"Lab/router1");
  ASSERT_TRUE(SaveAt(*session.Get(), u"Lab/router1", true));  // every value written once
  const std::string bytes = qtest::ReadFile(SessionFile("Lab/router1"));
  session = Open(u"Lab/router1");
  ASSERT_FALSE(session->IsModified());
  {
    SessionOptionsDialog dialog(Arguments(*session.Get()));
    dialog.show();
    // Leaving each page hands its entries to the page's own copy, never to the session.
    EditSeveralPages(dialog);
    Front<SessionTerminalPage>(dialog, {"Terminal"});
    EXPECT_FALSE(session->IsModified());
    dialog.reject();
  }
  EXPECT_FALSE(session->IsModified());
  EXPECT_TRUE(session->terminal.audioBell.current);
  EXPECT_EQ(session->terminal.rows.current, 24);
  EXPECT_FALSE(session->terminal.mapDelete.current);
  EXPECT_TRUE(session->uploadDirectory.Current().empty() ||
              session->uploadDirectory.Current() != u"/srv/up");

  // Through the host's flow: Cancel leaves the file's bytes alone.
  auto cancelled = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    EditSeveralPages(*dialog);
    dialog->reject();
  });
  VReportMessageParams error;
  EXPECT_EQ(EditSessionAtPath(VUnicodeString(u"Lab/router1"), nullptr, error), kIdCancel);
  EXPECT_TRUE(*cancelled);
  EXPECT_EQ(qtest::ReadFile(SessionFile("Lab/router1")), bytes);
}

// ---- hooks ----

TEST_F(SessionOptionsWiringTest, AProtocolChangeRefreshesTheFtpSftpPage) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  dialog.show();
  auto* ftp = Front<SessionFtpSftpPage>(dialog, {"File Transfer", "FTP/SFTP"});
  ASSERT_TRUE(ftp);
  EXPECT_NE(dynamic_cast<ISessionPageRefresh*>(dialog.Page(SessionPageRole::FtpSftp)), nullptr);
  // Enabling worked out before the change is worked out again when the protocols change.
  auto* mask = Control<QLineEdit>(ftp, u"File Creation Mask");
  ASSERT_TRUE(mask);
  mask->setEnabled(false);
  dialog.RefreshSessionFtpSftpPage();
  EXPECT_TRUE(mask->isEnabled());
  mask->setEnabled(false);
  Pick(ConnectionPage(dialog)->TransferList(), "FTP");
  EXPECT_TRUE(mask->isEnabled());
  dialog.reject();
}

TEST_F(SessionOptionsWiringTest, TheAppearancePageOpensTheColourSchemeEditor) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  bool appearanceChanged = false;
  SessionOptionsArguments arguments = Arguments(*session.Get());
  arguments.appearanceChanged = &appearanceChanged;
  SessionOptionsDialog dialog(arguments);
  dialog.show();
  auto* appearance = Front<SessionAppearancePage>(dialog, {"Terminal", "Appearance"});
  ASSERT_TRUE(appearance);
  ASSERT_TRUE(appearance->editScheme);
  GlobalConfig* global = dialog.Context().global;
  ASSERT_TRUE(global);
  auto* scheme = Control<QComboBox>(appearance, u"Color Scheme");
  ASSERT_TRUE(scheme && scheme->count() > 0);
  EXPECT_TRUE(appearance->editKeywordList);

  // Edit opens the Color Scheme dialog on the chosen scheme; Cancel there changes nothing.
  scheme->setCurrentIndex(scheme->count() - 1);
  const VUnicodeString chosen = FromQString(scheme->currentText());
  if (global->colorSchemes.Find(chosen) == ProfileColorSchemeListV2::kNotFound) {
    ColorSchemeEntry entry;
    entry.name = chosen;
    entry.paletteName = global->ansiPalettes.GetDefaultPaletteName();
    global->colorSchemes.SetScheme(entry);
  }
  QString editedName;
  auto edited = WhenModal<ColorSchemesDialog>([&](ColorSchemesDialog* d) {
    editedName = ToQString(d->Scheme().name);
    d->reject();
  });
  auto* edit = appearance->findChild<QPushButton*>(QStringLiteral("edit scheme"));
  ASSERT_TRUE(edit);
  ASSERT_TRUE(edit->isEnabled());
  edit->click();
  EXPECT_TRUE(*edited);
  EXPECT_EQ(editedName, scheme->currentText());
  EXPECT_FALSE(appearanceChanged);

  // New asks the name in the colour editor's own name dialog, then opens the copy; OK there
  // adds the scheme, which the page then chooses.
  auto named = WhenModal<NewColorSchemeDialog>([](NewColorSchemeDialog* d) {
    d->NameEdit()->setText(QStringLiteral("Lab Night"));
    auto made = WhenModal<ColorSchemesDialog>([](ColorSchemesDialog* c) { c->accept(); });
    d->accept();
  });
  auto* newButton = appearance->findChild<QPushButton*>(QStringLiteral("new scheme"));
  ASSERT_TRUE(newButton);
  newButton->click();
  EXPECT_TRUE(*named);
  EXPECT_NE(global->colorSchemes.Find(VUnicodeString(u"Lab Night")),
            ProfileColorSchemeListV2::kNotFound);
  EXPECT_EQ(scheme->currentText(), QStringLiteral("Lab Night"));
  EXPECT_TRUE(appearanceChanged);  // a scheme was saved: the host redraws
  dialog.reject();
  // The scheme was made in the colour editor, whose OK keeps it in the configuration: cancelling
  // the session's options takes back only the session's choice of it.
  EXPECT_NE(folder_.Lines("Global").find("Lab Night"), std::string::npos);
  EXPECT_TRUE(session->terminal.colorScheme.Current() != u"Lab Night");
}

TEST_F(SessionOptionsWiringTest, TheAppearancePageOpensTheKeywordListEditor) {
  WriteProtocols("s", "SSH2", "SFTP");
  {
    VRef<HighlightConfig> list(new HighlightConfig(u"logs"));
    list->Load(nullptr);
    VReportMessageParams error;
    SessionDatabase database;
    ASSERT_TRUE(database.SaveItem(*list.Get(), error, true)) << error.GetMessageId();
  }
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  dialog.show();
  auto* appearance = Front<SessionAppearancePage>(dialog, {"Terminal", "Appearance"});
  ASSERT_TRUE(appearance);
  QComboBox* lists = nullptr;
  QPushButton* edit = nullptr;
  for (QPushButton* button : appearance->findChildren<QPushButton*>())
    if (button->text() == PageText(session_page_text::kEditKeywords)) edit = button;
  for (QComboBox* box : appearance->findChildren<QComboBox*>())
    if (box->findData(QStringLiteral("logs")) >= 0) lists = box;
  ASSERT_TRUE(edit && lists);
  // With no list chosen there is nothing to edit.
  lists->setCurrentIndex(0);
  EXPECT_FALSE(edit->isEnabled());
  lists->setCurrentIndex(lists->findData(QStringLiteral("logs")));
  ASSERT_TRUE(edit->isEnabled());

  // Renaming the list in the editor brings the new name back to the page, chosen.
  QString opened;
  auto renamed = WhenModal<KeywordListPropertiesDialog>([&](KeywordListPropertiesDialog* d) {
    opened = d->NameEdit()->text();
    d->NameEdit()->setText(QStringLiteral("journal"));
    d->OkButton()->click();
  });
  edit->click();
  EXPECT_TRUE(*renamed);
  EXPECT_EQ(opened, QStringLiteral("logs"));
  EXPECT_EQ(lists->currentData().toString(), QStringLiteral("journal"));
  EXPECT_EQ(lists->findData(QStringLiteral("logs")), -1);
  SessionDatabase database;
  EXPECT_TRUE(database.ItemExists(ItemCollection::KeywordLists, u"journal"));

  // Cancel there leaves the page's choice as it was.
  auto cancelled = WhenModal<KeywordListPropertiesDialog>(
      [](KeywordListPropertiesDialog* d) { d->reject(); });
  edit->click();
  EXPECT_TRUE(*cancelled);
  EXPECT_EQ(lists->currentData().toString(), QStringLiteral("journal"));

  // Deleting the list there leaves the page with no list rather than a name no longer stored.
  uitest::MessageBoxRecorder yes(kIdYes);
  auto deleted = WhenModal<KeywordListPropertiesDialog>(
      [](KeywordListPropertiesDialog* d) { d->DeleteListButton()->click(); });
  edit->click();
  EXPECT_TRUE(*deleted);
  EXPECT_FALSE(database.ItemExists(ItemCollection::KeywordLists, u"journal"));
  EXPECT_EQ(lists->currentIndex(), 0);
  EXPECT_FALSE(edit->isEnabled());
  dialog.reject();
}

TEST_F(SessionOptionsWiringTest, ThePrintingPageGetsThePrintSystemTheHostHandsIn) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  // Print Setup is offered exactly when the dialog was handed a print system.
  for (bool handed : {false, true}) {
    SCOPED_TRACE(handed);
    SessionOptionsArguments arguments = Arguments(*session.Get());
    arguments.printingAvailable = true;
    if (handed) arguments.printerPlatform = std::make_shared<QtPrinterPlatform>();
    SessionOptionsDialog dialog(arguments);
    dialog.show();
    auto* printing = Front<SessionPrintingPage>(dialog, {"Terminal", "Printing"});
    ASSERT_TRUE(printing && printing->Panel());
    QPushButton* setup = nullptr;
    for (QPushButton* button : printing->Panel()->findChildren<QPushButton*>())
      if (button->text() == CatalogueText(print_ui::kPrintSetup)) setup = button;
    ASSERT_TRUE(setup);
    EXPECT_EQ(setup->isEnabledTo(printing->Panel()), handed);
    dialog.reject();
  }
  // Without printing the host hands in no print system, and starts none.
  EXPECT_EQ(HostPrinterPlatform(false), nullptr);
}

TEST_F(SessionOptionsWiringTest, PicturesIncludeThePagesTheProtocolsMakerAdds) {
  WriteProtocols("Lab/router1", "Telnet", "SFTP");
  qtest::TempDir shots;
  QString error;
  ASSERT_TRUE(GrabSessionOptions(VUnicodeString(u"Lab/router1"), false,
                                 QString::fromStdString(shots.Path()), error))
      << error.toStdString();
  EXPECT_TRUE(qtest::Exists(shots / "session-options-telnet.png"));
  EXPECT_TRUE(qtest::Exists(shots / "session-options-sftp.png"));
  EXPECT_TRUE(qtest::Exists(shots / "session-options-file-transfer-ftp-sftp.png"));
  EXPECT_FALSE(qtest::Exists(shots / "session-options-ssh2.png"));  // not a protocol of the session
}

// ---- several sessions at once ----

TEST_F(SessionOptionsWiringTest, SeveralSessionsTakeOnlyWhatWasChangedAndAKeyMapOnlyWhenEdited) {
  WriteProtocols("a", "SSH2", "SFTP", "D:\"Rows\"=00000020\r\n");
  WriteProtocols("b", "Telnet", "FTP", "D:\"Rows\"=00000030\r\nD:\"Audio Bell\"=00000000\r\n"
                 "Z:\"Keymap v4\"=00000001\r\n N\tVK_F1               \tMENU_PASTE\r\n");
  WriteProtocols("c", "SSH2", "SCP");
  chmod(SessionFile("c").c_str(), 0444);
  const std::string readOnlyBytes = qtest::ReadFile(SessionFile("c"));
  const std::vector<VUnicodeString> paths = {u"a", u"b", u"c"};

  auto seen = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    EXPECT_EQ(dialog->Mode(), kSessionOptionsMultiple);
    if (auto* keys = Front<SessionMappedKeysPage>(*dialog, {"Terminal", "Emulation", "Mapped Keys"})) {
      EXPECT_TRUE(keys->Note()->isVisible());
      keys->MapDeleteBox()->click();
    }
    dialog->OkButton()->click();
  });
  uitest::MessageBoxRecorder boxes;
  ApplyDefaultCounts counts;
  VReportMessageParams error;
  ASSERT_EQ(EditSeveralSessions(paths, nullptr, counts, error), kIdOk)
      << error.GetTextTrimmed().ToUtf8();
  ASSERT_TRUE(*seen);
  EXPECT_EQ(counts.total, 3);
  EXPECT_EQ(counts.notUpdated, 1);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_NE(boxes.Shown()[0].text.indexOf(QStringLiteral("3")), -1);
  EXPECT_EQ(qtest::ReadFile(SessionFile("c")), readOnlyBytes);
  // The one change reached both writable sessions; everything else stayed each one's own.
  VRef<SessionConfig> a = Open(u"a");
  VRef<SessionConfig> b = Open(u"b");
  EXPECT_TRUE(a->terminal.mapDelete.current);
  EXPECT_TRUE(b->terminal.mapDelete.current);
  EXPECT_EQ(a->terminal.rows.current, 32);
  EXPECT_EQ(b->terminal.rows.current, 48);
  EXPECT_TRUE(a->terminal.audioBell.current);
  EXPECT_FALSE(b->terminal.audioBell.current);
  EXPECT_EQ(b->GetTerminalProtocolName(), u"Telnet");
  EXPECT_EQ(b->GetTransferProtocolName(), u"FTP");
  EXPECT_TRUE(b->terminal.keymap.Find(0x70));  // F1 kept: the key map was not touched
  EXPECT_FALSE(b->terminal.keymap.Find(kVkF5 | kKeyCtrl));

  // A mapping edited: every session gets the edited key map whole, as the page's note says.
  chmod(SessionFile("c").c_str(), 0644);
  auto mapped = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    if (auto* keys = Front<SessionMappedKeysPage>(*dialog, {"Terminal", "Emulation", "Mapped Keys"}))
      MapCtrlF5(*keys, QStringLiteral("uptime"));
    dialog->OkButton()->click();
  });
  counts = ApplyDefaultCounts();
  ASSERT_EQ(EditSeveralSessions(paths, nullptr, counts, error), kIdOk);
  ASSERT_TRUE(*mapped);
  EXPECT_EQ(counts.notUpdated, 0);
  for (const char16_t* path : {u"a", u"b", u"c"}) {
    VRef<SessionConfig> session = Open(path);
    std::optional<size_t> index = session->terminal.keymap.Find(kVkF5 | kKeyCtrl);
    ASSERT_TRUE(index) << VUnicodeString(path).ToUtf8();
    EXPECT_EQ(session->terminal.keymap.GetAt(*index).first, u"uptime");
  }
  // b's own F1 mapping is gone: the key map of the first session replaced it.
  EXPECT_FALSE(Open(u"b")->terminal.keymap.Find(0x70));

  // Cancel: no session changes.
  const std::string aBytes = qtest::ReadFile(SessionFile("a"));
  auto cancelled = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    if (auto* terminal = Front<SessionTerminalPage>(*dialog, {"Terminal"}))
      Control<QCheckBox>(terminal, u"Audio Bell")->click();
    dialog->reject();
  });
  EXPECT_EQ(EditSeveralSessions(paths, nullptr, counts, error), kIdCancel);
  EXPECT_TRUE(*cancelled);
  EXPECT_EQ(qtest::ReadFile(SessionFile("a")), aBytes);
  EXPECT_THROW(EditSeveralSessions({}, nullptr, counts, error), std::invalid_argument);
}

}  // namespace
