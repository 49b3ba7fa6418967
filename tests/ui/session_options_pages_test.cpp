// The Connection and Logon Actions pages: what they check before the dialog may close (focus on
// the control at fault, nothing taken), and an edit made through the dialog, saved by the host's
// flow and read back from the session's file.
#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "config/global/global_config_instance.h"
#include "config/session/remote_host_config.h"
#include "session_options_env.h"
#include "ui/session_options/connection_page.h"
#include "ui/session_options/connection_rules.h"
#include "report/message_catalogue.h"
#include "ui/session_options/edit_default_session.h"
#include "ui/session_options/edit_session.h"
#include "ui/session_options/logon_actions_page.h"
#include "marrowby/list_ctrl.h"
#include "ui_test_helpers.h"

namespace {

using uitest::WhenModal;

class ConnectionPageTest : public SessionOptionsTest {
 protected:
  // Opens the dialog on session `path`, lets `edit` change the Connection page, presses OK and
  // returns the messages shown. The dialog must stay open when a message was shown.
  std::vector<VMessageBoxShown> PressOk(const char16_t* path,
                                        const std::function<void(SessionConnectPage*)>& edit,
                                        QWidget** focus = nullptr, int mode = 0) {
    VRef<SessionConfig> session = Open(path);
    uitest::MessageBoxRecorder boxes;
    SessionOptionsDialog dialog(Arguments(*session.Get(), mode));
    dialog.show();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* page = ConnectionPage(dialog);
    edit(page);
    dialog.OkButton()->click();
    if (!boxes.Shown().empty()) {
      EXPECT_TRUE(dialog.isVisible());
      EXPECT_EQ(dialog.CurrentPage(), page);
      if (focus) *focus = dialog.focusWidget();
      EXPECT_EQ(session->GetSessionName(), VUnicodeString(path).substr(VUnicodeString(path).rfind(u'/') + 1));
      dialog.reject();
    }
    return boxes.Shown();
  }
};

TEST_F(ConnectionPageTest, TheNameIsCheckedByTheSessionNameRulesWithFocusOnTheName) {
  WriteProtocols("Lab/a", "SSH2", "SFTP");
  WriteProtocols("Lab/b", "SSH2", "SFTP");
  const std::string before = qtest::ReadFile(SessionFile("Lab/a"));
  struct Case {
    QString name;
    QString message;
  } cases[] = {
      {"", "The name must be specified."},
      {"a|b", "The name contains an illegal character: ' | '"},
      {"B", "'B' is already in use."},
  };
  for (const Case& c : cases) {
    QWidget* focus = nullptr;
    SessionConnectPage* page = nullptr;
    auto shown = PressOk(u"Lab/a", [&](SessionConnectPage* p) {
      page = p;
      p->NameEdit()->setText(c.name);
    }, &focus);
    ASSERT_EQ(shown.size(), 1u) << c.name.toStdString();
    EXPECT_EQ(shown[0].text, c.message);
    EXPECT_EQ(focus, page->NameEdit());
  }
  EXPECT_EQ(qtest::ReadFile(SessionFile("Lab/a")), before);
  // Its own name, in another case, is no clash.
  EXPECT_TRUE(PressOk(u"Lab/a", [](SessionConnectPage* p) { p->NameEdit()->setText("A"); }).empty());
}

TEST_F(ConnectionPageTest, AProtocolThatIsNotLoadedIsNamedWithFocusOnItsList) {
  WriteProtocols("s", "Frobnicate", "SFTP");
  QWidget* focus = nullptr;
  SessionConnectPage* page = nullptr;
  auto shown = PressOk(u"s", [&](SessionConnectPage* p) {
    page = p;
    // The list shows what the session holds, though it cannot be used here.
    EXPECT_EQ(p->TerminalList()->currentData().toString(), "Frobnicate");
  }, &focus);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "The protocol 'Frobnicate' is not available in this installation. "
                           "Please choose another protocol.");
  EXPECT_EQ(focus, page->TerminalList());
  // Picking a loaded one lets the dialog close.
  EXPECT_TRUE(PressOk(u"s", [](SessionConnectPage* p) {
                Pick(p->TerminalList(), "Telnet");
              }).empty());
}

TEST_F(ConnectionPageTest, BothProtocolsNoneIsRefusedExceptForTheDefaultSession) {
  WriteProtocols("s", "SSH2", "SFTP");
  auto none = [](SessionConnectPage* p) {
    Pick(p->TerminalList(), "None");
    Pick(p->TransferList(), "None");
  };
  QWidget* focus = nullptr;
  SessionConnectPage* page = nullptr;
  auto shown = PressOk(u"s", [&](SessionConnectPage* p) {
    page = p;
    none(p);
  }, &focus);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Both selected protocols cannot be 'None'.");
  EXPECT_EQ(focus, page->TerminalList());
  // The template may stay without a protocol.
  EXPECT_TRUE(PressOk(u"Default", none, nullptr, kSessionOptionsDefaultSession).empty());
}

TEST_F(ConnectionPageTest, TheListsOfferNoneThenTheTablesProtocolsOfTheirPart) {
  std::vector<ProtocolListEntry> terminal = ProtocolListEntries(0, VUnicodeString(u"SSH2"));
  std::vector<std::u16string> names;
  for (const ProtocolListEntry& entry : terminal) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"None", u"SSH2", u"Telnet", u"Serial", u"TAPI",
                                                u"Local Shell"}));
  std::vector<ProtocolListEntry> transfer = ProtocolListEntries(1, VUnicodeString(u"Gopher"));
  ASSERT_EQ(transfer.size(), 5u);
  EXPECT_EQ(transfer.back().name, u"Gopher");
  EXPECT_FALSE(transfer.back().available);
  EXPECT_EQ(SessionFolderOf(VUnicodeString(u"Lab\\Deep/r1")), u"Lab\\Deep");
  EXPECT_EQ(SessionFolderOf(VUnicodeString(u"r1")), u"");
  EXPECT_EQ(RenamedSessionPath(VUnicodeString(u"Lab/r1"), VUnicodeString(u"r2")), u"Lab\\r2");
}

// A protocol that reaches a remote host keeps the pre-connect command with its host settings.
class RemoteProtocolConfig : public ConnectConfig {
 public:
  VUnicodeString GetProtocolName() const override { return u"RLogin"; }
  ConnectConfig* Clone() const override { return new RemoteProtocolConfig(*this); }
  const VMemberTable& GetMemberTable() const override {
    static const VMemberRow kRows[] = {QL_NESTED(RemoteProtocolConfig, remote)};
    static const VMemberTable table(kRows);
    return table;
  }
  RemoteHostConfig remote;

  RemoteProtocolConfig() = default;

 private:
  RemoteProtocolConfig(const RemoteProtocolConfig&) = default;
};

TEST_F(SessionOptionsTest, ThePreConnectCommandIsKeptWithTheProtocolsThatHaveOne) {
  ConnectProtocolEntry entry;
  entry.protocolName = u"RLogin";
  entry.productId = 3;
  entry.factory = [](const ConnectProtocolEntry&) -> ConnectConfig* { return new RemoteProtocolConfig; };
  GetConnectProtocolTable().Register(entry);
  WriteProtocols("s", "RLogin", "SFTP");
  auto seen = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    SessionConnectPage* connection = ConnectionPage(*dialog);
    ASSERT_TRUE(connection->PreConnectEdit()->isEnabled());
    QTest::keyClicks(connection->PreConnectEdit(), "ssh-add -l");
    // A protocol without the setting cannot take it; back on RLogin the text is still there.
    Pick(connection->TerminalList(), "Telnet");
    EXPECT_FALSE(connection->PreConnectEdit()->isEnabled());
    Pick(connection->TerminalList(), "RLogin");
    EXPECT_EQ(connection->PreConnectEdit()->text(), "ssh-add -l");
    dialog->OkButton()->click();
  });
  VReportMessageParams error;
  ASSERT_EQ(EditSessionAtPath(VUnicodeString(u"s"), nullptr, error), kIdOk)
      << error.GetTextTrimmed().ToUtf8();
  ASSERT_TRUE(*seen);
  // Stored encrypted, never as the text typed.
  std::string lines = Session("s");
  EXPECT_NE(lines.find("\"Local Shell Command Pre-connect V2\"="), std::string::npos);
  EXPECT_EQ(lines.find("ssh-add"), std::string::npos);
  VRef<SessionConfig> back = Open(u"s");
  auto* config = dynamic_cast<RemoteProtocolConfig*>(back->GetTerminalConnectConfig());
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(config->remote.GetPreConnectCommand(), u"ssh-add -l");
}

// ---- Logon Actions ----

TEST_F(SessionOptionsTest, LogonActionsStartWithTheTwoPromptsAndWriteThemOnlyWhenChanged) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  dialog.show();
  auto* logon = LogonPage(dialog);
  ASSERT_EQ(logon->List()->RowCount(), 2);
  EXPECT_EQ(logon->List()->Text(0, 0), "ogin:");
  EXPECT_EQ(logon->List()->Text(1, 0), "assword:");
  EXPECT_EQ(logon->List()->Text(1, 1), "");
  // Off until logon is automated; Edit and Delete need a row.
  EXPECT_FALSE(logon->AddButton()->isEnabled());
  logon->AutomateBox()->click();
  EXPECT_TRUE(logon->AddButton()->isEnabled());
  EXPECT_FALSE(logon->DeleteButton()->isEnabled());
  logon->List()->SelectRow(0);
  EXPECT_TRUE(logon->DeleteButton()->isEnabled());
  EXPECT_FALSE(logon->ScriptEdit()->isEnabled());
  logon->ScriptBox()->click();
  EXPECT_TRUE(logon->ScriptEdit()->isEnabled());
  EXPECT_TRUE(logon->BrowseButton()->isEnabled());
  logon->ScriptBox()->click();
  logon->AutomateBox()->click();
  // Looked at, not changed: OK leaves the session as it was.
  dialog.OkButton()->click();
  EXPECT_FALSE(session->IsModified());
  EXPECT_TRUE(session->loginScript.GetEntries().empty());

  // Switching the automation on runs the list shown: the two prompts are written.
  SessionOptionsDialog again(Arguments(*session.Get()));
  again.show();
  LogonPage(again)->AutomateBox()->click();
  again.OkButton()->click();
  EXPECT_EQ(session->loginScript.GetEntries(), InitialExpectSendEntries());
  EXPECT_TRUE(session->useLoginScript.current);
}

TEST_F(SessionOptionsTest, AnExpectSendEntryIsAddedEditedAndDeletedThroughItsDialog) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  dialog.show();
  auto* logon = LogonPage(dialog);
  logon->AutomateBox()->click();
  auto added = WhenModal<ExpectSendDialog>([](ExpectSendDialog* entry) {
    QTest::keyClicks(entry->ExpectEdit(), "$ ");
    entry->HideBox()->click();
    EXPECT_EQ(entry->SendEdit()->echoMode(), QLineEdit::Password);
    QTest::keyClicks(entry->SendEdit(), "s3cret");
    entry->OkButton()->click();
  });
  logon->AddButton()->click();
  ASSERT_TRUE(*added);
  ASSERT_EQ(logon->List()->RowCount(), 3);
  EXPECT_EQ(logon->List()->Text(2, 0), "$ ");
  EXPECT_NE(logon->List()->Text(2, 1), "s3cret");  // masked
  auto edited = WhenModal<ExpectSendDialog>([](ExpectSendDialog* entry) {
    EXPECT_EQ(entry->ExpectEdit()->text(), "ogin:");
    QTest::keyClicks(entry->SendEdit(), "admin");
    entry->OkButton()->click();
  });
  logon->List()->SelectRow(0);
  logon->EditButton()->click();
  ASSERT_TRUE(*edited);
  logon->List()->SelectRow(1);
  logon->DeleteButton()->click();
  ASSERT_EQ(logon->Entries().size(), 2u);
  dialog.OkButton()->click();
  std::vector<ExpectSendEntry> entries = session->loginScript.GetEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (ExpectSendEntry{u"ogin:", u"admin", false}));
  EXPECT_EQ(entries[1], (ExpectSendEntry{u"$ ", u"s3cret", true}));
  EXPECT_TRUE(session->useLoginScript.current);
}

// ---- an edit through the dialog, saved and read back ----

TEST_F(SessionOptionsTest, AnEditThroughTheDialogIsSavedAndReadBackFromTheFile) {
  WriteProtocols("Lab/router1", "SSH2", "SFTP", "S:\"Hostname\"=gw\r\n");
  auto seen = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    auto* connection = ConnectionPage(*dialog);
    connection->DescriptionEdit()->setFocus();
    QTest::keyClicks(connection->DescriptionEdit(), "core router");
    QTest::keyClick(connection->DescriptionEdit(), Qt::Key_Return);
    QTest::keyClicks(connection->DescriptionEdit(), "second floor");
    Pick(connection->TerminalList(), "Telnet");
    auto* logon = LogonPage(*dialog);
    logon->InitialCrBox()->click();
    logon->ScriptBox()->click();
    QTest::keyClicks(logon->ScriptEdit(), "/home/me/login.py");
    QTest::keyClicks(logon->ArgumentsEdit(), "--fast");
    dialog->OkButton()->click();
  });
  VReportMessageParams error;
  ASSERT_EQ(EditSessionAtPath(VUnicodeString(u"Lab/router1"), nullptr, error), kIdOk)
      << error.GetTextTrimmed().ToUtf8();
  ASSERT_TRUE(*seen);
  std::string lines = Session("Lab/router1");
  EXPECT_TRUE(Has(lines, "D:\"Send Initial Carriage Return\"=00000000"));
  EXPECT_TRUE(Has(lines, "D:\"Use Script File\"=00000001"));
  EXPECT_TRUE(Has(lines, "S:\"Protocol Name\"=Telnet"));
  EXPECT_TRUE(Has(lines, "S:\"Hostname\"=gw"));
  VRef<SessionConfig> back = Open(u"Lab/router1");
  EXPECT_EQ(back->description.GetText(true), u"core router\nsecond floor");
  EXPECT_EQ(back->scriptFilename.Current(), u"/home/me/login.py");
  EXPECT_EQ(back->scriptArguments.Current(), u"--fast");
  EXPECT_EQ(back->GetTerminalProtocolName(), u"Telnet");
  EXPECT_FALSE(back->sendInitialCarriageReturn.current);
}

TEST_F(SessionOptionsTest, ARenameSavesUnderTheNewNameAndCancelWritesNothing) {
  WriteProtocols("Lab/router1", "SSH2", "SFTP");
  const std::string bytes = qtest::ReadFile(SessionFile("Lab/router1"));
  auto cancelled = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    auto* connection = ConnectionPage(*dialog);
    connection->NameEdit()->setText("router9");
    dialog->reject();
  });
  VReportMessageParams error;
  EXPECT_EQ(EditSessionAtPath(VUnicodeString(u"Lab/router1"), nullptr, error), kIdCancel);
  EXPECT_EQ(qtest::ReadFile(SessionFile("Lab/router1")), bytes);

  auto renamed = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    auto* connection = ConnectionPage(*dialog);
    connection->NameEdit()->setText("router2");
    dialog->OkButton()->click();
  });
  ASSERT_EQ(EditSessionAtPath(VUnicodeString(u"Lab/router1"), nullptr, error), kIdOk)
      << error.GetTextTrimmed().ToUtf8();
  EXPECT_FALSE(qtest::Exists(SessionFile("Lab/router1")));
  EXPECT_TRUE(Has(Session("Lab/router2"), "S:\"Protocol Name\"=SSH2"));

  // A session file that may not be written opens read-only: OK cannot save it.
  chmod(SessionFile("Lab/router2").c_str(), 0444);
  auto readOnly = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    EXPECT_EQ(dialog->Mode(), kSessionOptionsReadOnly);
    EXPECT_FALSE(dialog->OkButton()->isEnabled());
    dialog->reject();
  });
  FreeGlobalConfig();
  folder_.WriteLines("Global", "D:\"Suppress Read Only Session Options Warning\"=00000001\r\n");
  EXPECT_EQ(EditSessionAtPath(VUnicodeString(u"Lab/router2"), nullptr, error), kIdCancel);
  EXPECT_TRUE(*readOnly);
}

}  // namespace

namespace {

// Every label of the two pages and of their small dialogs leads somewhere by its own letter, in
// both languages.
TEST_F(SessionOptionsTest, MnemonicsAreUniqueOnEachPageInEnglishAndFrench) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  for (VLanguage language : {VLanguage::English, VLanguage::French}) {
    VSetMessageLanguage(language);
    SessionOptionsDialog dialog(Arguments(*session.Get()));
    dialog.show();
    uitest::ExpectMnemonicsUnique(&dialog);
    LogonPage(dialog);
    uitest::ExpectMnemonicsUnique(&dialog);
    dialog.reject();
    ExpectSendDialog entry(ExpectSendEntry{});
    entry.show();
    uitest::ExpectMnemonicsUnique(&entry);
    ApplyDefaultSessionChangesDialog question;
    question.show();
    uitest::ExpectMnemonicsUnique(&question);
  }
  VSetMessageLanguage(VLanguage::English);
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  EXPECT_EQ(ConnectionPage(dialog)->Title(), "Connection");
}

}  // namespace

namespace {

TEST_F(SessionOptionsTest, TheSendTextIsWipedWhenTheEntryDialogClosesAndReadOnlyDisablesThePage) {
  ExpectSendDialog entry(ExpectSendEntry{u"assword:", u"hunter2", true});
  entry.show();
  EXPECT_EQ(entry.SendEdit()->echoMode(), QLineEdit::Password);
  entry.HideBox()->click();
  EXPECT_EQ(entry.SendEdit()->echoMode(), QLineEdit::Normal);
  entry.reject();
  EXPECT_TRUE(entry.SendEdit()->text().isEmpty());
  EXPECT_EQ(ShownSendText(ExpectSendEntry{u"a", u"hunter2", true}).indexOf("hunter2"), -1);
  EXPECT_EQ(ShownSendText(ExpectSendEntry{u"a", u"guest", false}), "guest");

  WriteProtocols("s", "SSH2", "SFTP", "D:\"Use Login Script\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"s");
  FreeGlobalConfig();
  folder_.WriteLines("Global", "D:\"Suppress Read Only Session Options Warning\"=00000001\r\n");
  SessionOptionsDialog dialog(Arguments(*session.Get(), kSessionOptionsReadOnly));
  dialog.show();
  SessionLogonScriptsPage* logon = LogonPage(dialog);
  for (QWidget* control : std::initializer_list<QWidget*>{
           logon->AutomateBox(), logon->List(), logon->AddButton(), logon->InitialCrBox(),
           logon->ScriptBox(), logon->ScriptEdit(), logon->ArgumentsEdit()})
    EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
  dialog.reject();
}

TEST_F(SessionOptionsTest, AProtocolsLogonPanelTakesRoomOnlyWhenThereIsOne) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  dialog.show();
  SessionLogonScriptsPage* logon = LogonPage(dialog);
  EXPECT_FALSE(logon->ProtocolPanelHost()->isVisible());
  auto* panel = new QCheckBox(QStringLiteral("Use the agent"), logon->ProtocolPanelHost());
  logon->ProtocolPanelHost()->layout()->addWidget(panel);
  dialog.UpdateSessionLogonScriptsPage();
  EXPECT_TRUE(logon->ProtocolPanelHost()->isVisible());
  delete panel;
  dialog.UpdateSessionLogonScriptsPage();
  EXPECT_FALSE(logon->ProtocolPanelHost()->isVisible());
  dialog.reject();
}

}  // namespace
