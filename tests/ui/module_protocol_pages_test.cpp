// The pages of the project's protocol modules in a page-tree dialog: the real module files
// loaded as a host loads them, pages made for a session stored in a configuration folder, typed
// into, closed with OK, and the session saved and read back from its file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

#include "config/session/connect_protocol_table.h"
#include "config/session_test_env.h"
#include "crypto/profile_secrets.h"
#include "environment/protocol_modules.h"
#include "marrowby/page_grab.h"
#include "marrowby/property_tree.h"
#include "marrowby/qt_text.h"
#include "platform/file_system.h"
#include "ui/module_protocol_pages.h"
#include "ui/protocol_pages.h"
#include "support/project_modules.h"
#include "ui_test_helpers.h"

namespace {

// Stands for the Connection page the protocol pages hang under.
class PlainPage : public VPropertyTreePage {
 public:
  using VPropertyTreePage::VPropertyTreePage;
  void OnInitDialog() override { new QVBoxLayout(this); }
};

class ModuleProtocolPagesTest : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    UnloadConnectionProtocolDlls();
    ASSERT_TRUE(qtest::LoadProjectModules(install_ / "bin"));
    SetProtocolPagesMaker(nullptr);
  }
  void TearDown() override {
    made_.reset();
    pages_ = nullptr;
    dialog_.reset();
    UnloadConnectionProtocolDlls();
    SessionFolderTest::TearDown();
  }

  const ConnectProtocolEntry& Entry(const char16_t* name) {
    ConnectProtocolTable& table = GetConnectProtocolTable();
    int index = table.Find(name);
    EXPECT_GE(index, 0);
    return table.At(index);
  }

  // A dialog with a Connection page and the pages of `protocol` for `session`, shown.
  void OpenPages(const char16_t* protocol, ISessionConfig& session, int mode = 0) {
    connection_ = new PlainPage(QStringLiteral("Connection"));
    dialog_ = std::make_unique<VPropertyTreeDialog>(QStringLiteral("Session Options"),
                                                     connection_, nullptr);
    dialog_->AddPage(connection_);
    made_ = MakeProtocolPages(Entry(protocol), *dialog_, mode, session, connection_);
    ASSERT_NE(made_, nullptr);
    pages_ = dynamic_cast<ModuleProtocolPages*>(made_.get());
    ASSERT_NE(pages_, nullptr);
    made_->ShowPages(*dialog_, session);
    dialog_->show();
  }
  ModuleProtocolPage* Page(size_t index) {
    EXPECT_LT(index, pages_->Pages().size());
    ModuleProtocolPage* page = pages_->Pages().at(index);
    EXPECT_TRUE(dialog_->SelectPage(page));
    return page;
  }
  template <class T>
  T* Control(ModuleProtocolPage* page, const char16_t* setting) {
    T* control = qobject_cast<T*>(page->ControlFor(setting));
    EXPECT_NE(control, nullptr) << VUnicodeString(setting).ToUtf8();
    return control;
  }
  // A picture of the dialog for the documentation.
  void Grab(const char* name) {
    std::string folder = std::string(QUILLANE_BINARY_DIR) + "/grabs";
    ASSERT_TRUE(vfs::CreateFolderTree(folder, 0755).ok());
    dialog_->resize(640, 420);
    EXPECT_TRUE(dialog_->grab().toImage().save(QString::fromStdString(folder + "/" + name), "PNG"));
  }
  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
  }

  qtest::TempDir install_;
  PlainPage* connection_ = nullptr;
  std::unique_ptr<VPropertyTreeDialog> dialog_;
  std::unique_ptr<IProtocolPages> made_;
  ModuleProtocolPages* pages_ = nullptr;
};

constexpr const char* kSsh2Session =
    "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=SSH2\r\n"
    "S:\"Transfer Protocol Name\"=SFTP\r\nS:\"Hostname\"=old.example.com\r\n";

TEST_F(ModuleProtocolPagesTest, Ssh2PagesHangUnderConnectionAndWhatIsTypedIsSaved) {
  WriteSession("router", kSsh2Session);
  VRef<SessionConfig> session = Open(u"router");
  OpenPages(u"SSH2", *session.Get());
  ASSERT_EQ(pages_->Pages().size(), 2u);
  EXPECT_EQ(dialog_->PathOf(pages_->Pages()[0]),
            QStringList({QStringLiteral("Connection"), QStringLiteral("SSH2")}));
  EXPECT_EQ(dialog_->PathOf(pages_->Pages()[1]),
            QStringList({QStringLiteral("Connection"), QStringLiteral("SSH2"),
                         QStringLiteral("Authentication")}));

  ModuleProtocolPage* main = Page(0);
  uitest::ExpectMnemonicsUnique(main);
  QLineEdit* host = Control<QLineEdit>(main, u"Hostname");
  EXPECT_EQ(host->text(), QStringLiteral("old.example.com"));
  EXPECT_EQ(Control<QLineEdit>(main, u"[SSH2] Port")->text(), QStringLiteral("22"));
  Type(host, QStringLiteral("db1.example.com"));
  Type(Control<QLineEdit>(main, u"[SSH2] Port"), QStringLiteral("2222"));
  Type(Control<QLineEdit>(main, u"Username"), QStringLiteral("alice"));
  Control<QCheckBox>(main, u"[SSH2] Compression")->click();

  ModuleProtocolPage* auth = Page(1);
  uitest::ExpectMnemonicsUnique(auth);
  QLineEdit* password = Control<QLineEdit>(auth, u"Password V2");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  Type(password, QStringLiteral("s3cret"));
  Type(Control<QLineEdit>(auth, u"[SSH2] Authentication Methods"),
       QStringLiteral("password,publickey"));
  Grab("protocol-ssh2-authentication.png");
  ASSERT_TRUE(dialog_->SelectPage(main));
  Grab("protocol-ssh2.png");

  uitest::MessageBoxRecorder boxes;
  dialog_->OkButton()->click();
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_FALSE(dialog_->isVisible());
  // No clear copy of the password stays in the field.
  EXPECT_TRUE(password->text().isEmpty());
  // The transfer part shares the host and the user: the part saved last cannot put back the
  // older host.
  auto* sftp = session->GetTransferConnectConfig();
  ASSERT_NE(sftp, nullptr);
  ASSERT_NE(sftp->FindMember(u"Hostname"), nullptr);
  EXPECT_EQ(dynamic_cast<VProfileString*>(sftp->FindMember(u"Hostname"))->Current(),
            u"db1.example.com");

  ASSERT_TRUE(SaveAt(*session.Get(), u"router", true));
  std::string saved = Session("router");
  for (const char* line : {"S:\"Hostname\"=db1.example.com", "D:\"[SSH2] Port\"=000008ae",
                           "S:\"Username\"=alice", "D:\"[SSH2] Compression\"=00000001",
                           "S:\"[SSH2] Authentication Methods\"=password,publickey",
                           "D:\"[SFTP] Port\"=00000016"})
    EXPECT_TRUE(Has(saved, line)) << line << "\n" << saved;
  EXPECT_EQ(saved.find("s3cret"), std::string::npos) << saved;

  // Read back: the password decrypts to what was typed.
  VRef<SessionConfig> again = Open(u"router");
  auto* secret = dynamic_cast<VProfileEncryptedString*>(again->FindSetting(u"Password V2"));
  ASSERT_NE(secret, nullptr);
  EXPECT_EQ(secret->GetPlaintext(), u"s3cret");
}

TEST_F(ModuleProtocolPagesTest, RefusedEntriesKeepTheDialogOpenWithTheFocusOnThem) {
  WriteSession("router", kSsh2Session);
  VRef<SessionConfig> session = Open(u"router");
  OpenPages(u"SSH2", *session.Get());
  ModuleProtocolPage* main = Page(0);
  QLineEdit* host = Control<QLineEdit>(main, u"Hostname");
  QLineEdit* port = Control<QLineEdit>(main, u"[SSH2] Port");
  ModuleProtocolPage* auth = Page(1);
  QLineEdit* methods = Control<QLineEdit>(auth, u"[SSH2] Authentication Methods");

  struct Case {
    QLineEdit* edit;
    QString text;
    QString message;
  };
  const Case cases[] = {
      {host, QString(), QStringLiteral("Hostname cannot be empty.")},
      {port, QStringLiteral("70000"),
       QStringLiteral("'70000' is not a valid value for Port. Enter a whole number from 1 to "
                      "65535.")},
      {port, QStringLiteral("0"),
       QStringLiteral("'0' is not a valid value for Port. Enter a whole number from 1 to 65535.")},
      {port, QStringLiteral("22x"),
       QStringLiteral("'22x' is not a valid value for Port. Enter a whole number from 1 to "
                      "65535.")},
      {port, QString(), QStringLiteral("Port cannot be empty.")},
      {methods, QStringLiteral("publickey,telepathy"), QStringLiteral("telepathy")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    QString before = c.edit->text();
    Type(c.edit, c.text);
    uitest::MessageBoxRecorder boxes;
    dialog_->OkButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains(c.message)) << boxes.Shown()[0].text.toStdString();
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(dialog_->focusWidget(), c.edit);
    c.edit->setText(before);
  }
  // Nothing reached the session while a page refused.
  EXPECT_EQ(dynamic_cast<VProfileString*>(session->FindSetting(u"Hostname"))->Current(),
            u"old.example.com");
  uitest::MessageBoxRecorder boxes;
  dialog_->OkButton()->click();
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(ModuleProtocolPagesTest, TheDefaultSessionMayLeaveTheHostOpen) {
  WriteSession("router", kSsh2Session);
  VRef<SessionConfig> session = Open(u"router");
  OpenPages(u"SSH2", *session.Get(), 3);
  Type(Control<QLineEdit>(Page(0), u"Hostname"), QString());
  uitest::MessageBoxRecorder boxes;
  dialog_->OkButton()->click();
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_EQ(dynamic_cast<VProfileString*>(session->FindSetting(u"Hostname"))->Current(), u"");
}

TEST_F(ModuleProtocolPagesTest, ReadOnlyPagesShowButDoNotEdit) {
  WriteSession("router", kSsh2Session);
  VRef<SessionConfig> session = Open(u"router");
  OpenPages(u"SSH2", *session.Get(), 2);
  ModuleProtocolPage* main = Page(0);
  QLineEdit* host = Control<QLineEdit>(main, u"Hostname");
  EXPECT_EQ(host->text(), QStringLiteral("old.example.com"));
  EXPECT_FALSE(host->isEnabled());
  EXPECT_FALSE(Control<QCheckBox>(main, u"[SSH2] Compression")->isEnabled());
  EXPECT_FALSE(Control<QLineEdit>(Page(1), u"Password V2")->isEnabled());
  host->setText(QStringLiteral("changed"));
  dialog_->OkButton()->click();
  EXPECT_EQ(dynamic_cast<VProfileString*>(session->FindSetting(u"Hostname"))->Current(),
            u"old.example.com");
}

TEST_F(ModuleProtocolPagesTest, SerialDeviceSettingsAreSaved) {
  WriteSession("console", "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=Serial\r\n"
                          "S:\"Transfer Protocol Name\"=None\r\n");
  VRef<SessionConfig> session = Open(u"console");
  OpenPages(u"Serial", *session.Get());
  ModuleProtocolPage* page = Page(0);
  uitest::ExpectMnemonicsUnique(page);
  // A session needs its device.
  uitest::MessageBoxRecorder refused;
  dialog_->OkButton()->click();
  ASSERT_EQ(refused.Shown().size(), 1u);
  EXPECT_EQ(refused.Shown()[0].text, QStringLiteral("Device cannot be empty."));
  QLineEdit* device = Control<QLineEdit>(page, u"[Serial] Device");
  EXPECT_EQ(dialog_->focusWidget(), device);

  Type(device, QStringLiteral("/dev/ttyUSB0"));
  QComboBox* baud = Control<QComboBox>(page, u"[Serial] Baud Rate");
  EXPECT_EQ(baud->currentText(), QStringLiteral("38400"));
  baud->setCurrentIndex(baud->findText(QStringLiteral("115200")));
  QComboBox* parity = Control<QComboBox>(page, u"[Serial] Parity");
  EXPECT_EQ(parity->currentText(), QStringLiteral("None"));
  parity->setCurrentIndex(parity->findText(QStringLiteral("Even")));
  QComboBox* stop = Control<QComboBox>(page, u"[Serial] Stop Bits");
  stop->setCurrentIndex(stop->findText(QStringLiteral("2")));
  QComboBox* data = Control<QComboBox>(page, u"[Serial] Data Bits");
  data->setCurrentIndex(data->findText(QStringLiteral("7")));
  Control<QCheckBox>(page, u"[Serial] CTS Flow")->click();
  QComboBox* rts = Control<QComboBox>(page, u"[Serial] RTS Flow Control");
  rts->setCurrentIndex(rts->findText(QStringLiteral("Handshake")));
  Grab("protocol-serial.png");
  uitest::MessageBoxRecorder boxes;
  dialog_->OkButton()->click();
  EXPECT_TRUE(boxes.Shown().empty());
  ASSERT_TRUE(SaveAt(*session.Get(), u"console", false));
  std::string saved = Session("console");
  for (const char* line : {"S:\"[Serial] Device\"=/dev/ttyUSB0", "D:\"[Serial] Baud Rate\"=0001c200",
                           "D:\"[Serial] Parity\"=00000002", "D:\"[Serial] Stop Bits\"=00000002",
                           "D:\"[Serial] Data Bits\"=00000007", "D:\"[Serial] CTS Flow\"=00000001",
                           "D:\"[Serial] RTS Flow Control\"=00000002"})
    EXPECT_TRUE(Has(saved, line)) << line << "\n" << saved;
}

TEST_F(ModuleProtocolPagesTest, AStoredValueTheListDoesNotOfferIsKept) {
  WriteSession("console", "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=Serial\r\n"
                          "S:\"[Serial] Device\"=/dev/ttyS0\r\nD:\"[Serial] Parity\"=00000009\r\n");
  VRef<SessionConfig> session = Open(u"console");
  OpenPages(u"Serial", *session.Get());
  QComboBox* parity = Control<QComboBox>(Page(0), u"[Serial] Parity");
  EXPECT_EQ(parity->currentText(), QStringLiteral("9"));
  dialog_->OkButton()->click();
  ASSERT_TRUE(SaveAt(*session.Get(), u"console", true));
  EXPECT_TRUE(Has(Session("console"), "D:\"[Serial] Parity\"=00000009")) << Session("console");
}

TEST_F(ModuleProtocolPagesTest, TwoPagesShowingASharedSettingKeepTheChangeMadeOnEither) {
  WriteSession("router", "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=Telnet\r\n"
                         "S:\"Transfer Protocol Name\"=SFTP\r\nS:\"Hostname\"=old.example.com\r\n");
  VRef<SessionConfig> session = Open(u"router");
  OpenPages(u"Telnet", *session.Get());
  std::unique_ptr<IProtocolPages> sftp =
      MakeProtocolPages(Entry(u"SFTP"), *dialog_, 0, *session.Get(), connection_);
  ASSERT_NE(sftp, nullptr);
  sftp->ShowPages(*dialog_, *session.Get());
  auto* sftpPages = dynamic_cast<ModuleProtocolPages*>(sftp.get());
  ASSERT_NE(sftpPages, nullptr);
  // Both pages opened; the host changed on the Telnet page only.
  ASSERT_TRUE(dialog_->SelectPage(sftpPages->Pages()[0]));
  Type(Control<QLineEdit>(Page(0), u"Hostname"), QStringLiteral("new.example.com"));
  // A hidden page with a refused entry does not stop OK.
  ASSERT_TRUE(dialog_->SelectPage(sftpPages->Pages()[0]));
  Type(Control<QLineEdit>(sftpPages->Pages()[0], u"[SFTP] Port"), QStringLiteral("0"));
  sftp->HidePages(*dialog_);
  uitest::MessageBoxRecorder boxes;
  dialog_->OkButton()->click();
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_FALSE(dialog_->isVisible());
  ASSERT_TRUE(SaveAt(*session.Get(), u"router", true));
  std::string saved = Session("router");
  EXPECT_TRUE(Has(saved, "S:\"Hostname\"=new.example.com")) << saved;
  EXPECT_TRUE(Has(saved, "D:\"[SFTP] Port\"=00000016")) << saved;
  sftp.reset();
}

TEST_F(ModuleProtocolPagesTest, PagesAreMadeOnceHiddenShownAgainAndRemoved) {
  WriteSession("router", kSsh2Session);
  VRef<SessionConfig> session = Open(u"router");
  OpenPages(u"SSH2", *session.Get());
  ModuleProtocolPage* main = Page(0);
  Type(Control<QLineEdit>(main, u"Hostname"), QStringLiteral("typed.example.com"));
  ASSERT_TRUE(dialog_->SelectPage(connection_));
  size_t count = dialog_->Pages().size();
  made_->HidePages(*dialog_);
  EXPECT_FALSE(dialog_->IsPageVisible(main));
  EXPECT_FALSE(dialog_->IsPageVisible(pages_->Pages()[1]));
  made_->ShowPages(*dialog_, *session.Get());
  EXPECT_EQ(dialog_->Pages().size(), count);
  EXPECT_TRUE(dialog_->IsPageVisible(main));
  EXPECT_EQ(Control<QLineEdit>(main, u"Hostname")->text(), QStringLiteral("typed.example.com"));
  made_->RemovePages(*dialog_);
  EXPECT_EQ(dialog_->Pages().size(), 1u);
}

TEST_F(ModuleProtocolPagesTest, APasswordIsWrittenOnlyWhenTyped) {
  WriteSession("router", kSsh2Session);
  VRef<SessionConfig> session = Open(u"router");
  auto* secret = dynamic_cast<VProfileEncryptedString*>(session->FindSetting(u"Password V2"));
  ASSERT_NE(secret, nullptr);
  ASSERT_TRUE(secret->SetPlaintext(u"kept"));
  session->Commit();
  OpenPages(u"SSH2", *session.Get());
  QLineEdit* password = Control<QLineEdit>(Page(1), u"Password V2");
  // Shown masked; a grab of the page shows no text of it.
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  QChar mask(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter));
  EXPECT_EQ(password->displayText(), QString(4, mask));
  dialog_->OkButton()->click();
  EXPECT_FALSE(session->IsModified());
  EXPECT_EQ(secret->GetPlaintext(), u"kept");
}

TEST_F(ModuleProtocolPagesTest, EveryProtocolsPagesDrawTheirLabelsWithUniqueMnemonics) {
  uitest::MessageBoxRecorder boxes;
  ConnectProtocolTable& table = GetConnectProtocolTable();
  for (size_t i = 0; i < table.Size(); ++i) {
    const ConnectProtocolEntry& entry = table.At(i);
    SCOPED_TRACE(entry.protocolName.ToUtf8());
    WriteSession("any", "D:\"Is Session\"=00000001\r\n");
    VRef<SessionConfig> session = Open(u"any");
    pages_ = nullptr;
    // As the Default session, so that pages may be left with their fields empty.
    OpenPages(entry.protocolName.c_str(), *session.Get(), 3);
    for (size_t p = 0; p < pages_->Pages().size(); ++p) {
      ModuleProtocolPage* page = Page(p);
      uitest::ExpectMnemonicsUnique(page);
      for (const ProtocolPage& described : entry.callbacks.describePages(entry)->pages) {
        for (const ProtocolField& field : described.fields) {
          if (page->ControlFor(field.setting) == nullptr) continue;
          // Every field is bound: a control left disabled would mean a setting not found.
          EXPECT_TRUE(page->ControlFor(field.setting)->isEnabled())
              << VUnicodeString(field.setting).ToUtf8();
        }
      }
    }
    made_.reset();
    dialog_.reset();
  }
  EXPECT_TRUE(boxes.Shown().empty());
}

}  // namespace
