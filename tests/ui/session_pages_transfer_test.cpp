// The Log File, Printing, X/Y/Zmodem and file-transfer pages of the Session Options dialog, each
// alone in a small dialog over a saved session: refusals with focus and nothing written, the
// controls that depend on others, and edits saved and read back; and a picture of every page.
#include <QDir>
#include <QGroupBox>
#include <QTest>

#include "marrowby/page_grab.h"
#include "report/message_catalogue.h"
#include "session_pages_harness.h"
#include "ui/print_plugin.h"

namespace {

using uitest::MessageBoxRecorder;

// A transfer protocol keeping the settings the File Transfer pages look for in its part.
class TransferProtocolConfig : public ConnectConfig {
 public:
  explicit TransferProtocolConfig(const VUnicodeString& protocol) : protocol_(protocol) {}
  VUnicodeString GetProtocolName() const override { return protocol_; }
  ConnectConfig* Clone() const override { return new TransferProtocolConfig(*this); }
  bool IsUsable() const override { return true; }
  const VMemberTable& GetMemberTable() const override {
    static const VMemberRow kRows[] = {
        QL_ROW(TransferProtocolConfig, initialDirectory, u"Initial Directory"),
        QL_ROW(TransferProtocolConfig, synchronize, u"Synchronize Browsing", false),
        QL_ROW(TransferProtocolConfig, noExtensions, u"Disable Initial SFTP Extensions", false),
    };
    static const VMemberTable table(kRows);
    return table;
  }
  VProfileString initialDirectory;
  VProfile<bool> synchronize;
  VProfile<bool> noExtensions;

 private:
  TransferProtocolConfig(const TransferProtocolConfig&) = default;
  VUnicodeString protocol_;
};

class SessionTransferPagesTest : public SessionPagesTest {
 protected:
  // The session's transfer protocol becomes one that has the settings above.
  void UseTransferProtocol() {
    ConnectProtocolEntry entry;
    entry.protocolName = u"SFTP";
    entry.productId = 6;
    entry.factory = [](const ConnectProtocolEntry& e) -> ConnectConfig* {
      return new TransferProtocolConfig(e.protocolName);
    };
    GetConnectProtocolTable().Register(entry);
    VReportMessageParams error;
    ASSERT_TRUE(session_->SetTransferProtocol(VUnicodeString(u"SFTP"), error))
        << error.GetText().ToUtf8();
  }
};

TEST_F(SessionTransferPagesTest, LogFileNameIsCheckedForCharactersAndTheMidnightDate) {
  auto* page = ShowPage<SessionLogFilePage>();
  auto* name = Control<QLineEdit>(page, u"Log Filename");
  name->setText(QStringLiteral("/tmp/lab\tone.log"));
  ExpectRefused(name, QStringLiteral("The log filename contains an illegal character: ' \t '"));
  name->setText(QStringLiteral("/tmp/lab.log"));
  Control<QCheckBox>(page, u"New Log File At Midnight")->click();
  ExpectRefused(name, QStringLiteral("Log file name must contain '%D' when 'Start new log at "
                                     "midnight' is checked."));
  EXPECT_EQ(session_->logFilename.Current(), u"");

  name->setText(QStringLiteral("/tmp/lab-%D.log"));
  Control<QRadioButton>(page, u"Log Mode")->click();  // append
  Control<QLineEdit>(page, u"Custom Log Message Connect")->setText(QStringLiteral("hello %H"));
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_EQ(saved->logFilename.Current(), u"/tmp/lab-%D.log");
  EXPECT_TRUE(saved->newLogFileAtMidnight.current);
  EXPECT_TRUE(saved->logMode.current);
  EXPECT_EQ(saved->customLogMessageConnect.Current(), u"hello %H");
  EXPECT_TRUE(Has(Session("lab"), "D:\"Log Mode\"=00000001"));
}

TEST_F(SessionTransferPagesTest, PrintingPanelFollowsAvailabilityAndTheGlobalBox) {
  auto* page = ShowPage<SessionPrintingPage>();
  auto* useGlobal = Control<QCheckBox>(page, u"Use Global Print Settings");
  EXPECT_FALSE(useGlobal->isEnabled());  // no printing here
  EXPECT_FALSE(page->Panel()->isEnabled());

  SessionPageContext context = Context();
  context.printingAvailable = true;
  auto* available = new SessionPrintingPage(context);
  Show(available);
  useGlobal = Control<QCheckBox>(available, u"Use Global Print Settings");
  EXPECT_TRUE(useGlobal->isEnabled());
  EXPECT_TRUE(useGlobal->isChecked());
  EXPECT_FALSE(available->Panel()->isEnabled());
  useGlobal->click();
  EXPECT_TRUE(available->Panel()->isEnabled());
  available->Panel()->MarginField(MarginSide::Top)->setText(QStringLiteral("1.25"));
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_FALSE(saved->useGlobalPrintSettings.current);
  EXPECT_EQ(static_cast<VMarginData>(saved->printer.pageMargins).top, 1.25);
}

TEST_F(SessionTransferPagesTest, XmodemPacketSizeKeepsAnUntouchedStoredValue) {
  auto* page = ShowPage<SessionXModemZModemPage>();
  auto* packet = Control<QComboBox>(page, u"XModem Send Packet Size");
  EXPECT_EQ(packet->currentData().toInt(), 128);  // the stored 0
  ASSERT_TRUE(PressOk());
  EXPECT_EQ(session_->xmodemSendPacketSize.current, 0);

  page = ShowPage<SessionXModemZModemPage>();
  Control<QComboBox>(page, u"XModem Send Packet Size")->setCurrentIndex(1);
  Control<QCheckBox>(page, u"Disable ZModem")->click();
  Control<QLineEdit>(page, u"Upload Directory")->setText(QStringLiteral("/srv/up"));
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_EQ(saved->xmodemSendPacketSize.current, 1024);
  EXPECT_TRUE(saved->disableZmodem.current);
  EXPECT_EQ(saved->uploadDirectory.Current(), u"/srv/up");
}

TEST_F(SessionTransferPagesTest, SynchronizedBrowsingNeedsBothFoldersThatExist) {
  UseTransferProtocol();
  auto* page = ShowPage<SessionFileTransferPage>();
  auto* local = Control<QLineEdit>(page, u"Initial Local Directory");
  auto* remote = Control<QLineEdit>(page, u"Initial Directory");
  auto* synchronize = Control<QCheckBox>(page, u"Synchronize Browsing");
  ASSERT_TRUE(synchronize->isEnabled());
  synchronize->click();
  ExpectRefused(local, QStringLiteral("Local directory cannot be empty when synchronize file "
                                      "browsing is enabled."));
  local->setText(QString::fromStdString(user_ / "nowhere"));
  ExpectRefused(local, QStringLiteral("The folder '%1' does not exist or is not a folder.")
                           .arg(QString::fromStdString(user_ / "nowhere")));
  local->setText(QString::fromStdString(user_.Path()));
  ExpectRefused(remote, QStringLiteral("Initial directory cannot be empty when synchronize file "
                                       "browsing is enabled."));
  EXPECT_EQ(session_->initialLocalDirectory.Current(), u"");

  remote->setText(QStringLiteral("/srv/www"));
  Control<QCheckBox>(page, u"Filenames Always Use UTF8")->click();
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_EQ(saved->initialLocalDirectory.Current(), VUnicodeString::FromUtf8(user_.Path()));
  EXPECT_TRUE(saved->filenamesAlwaysUseUtf8.current);
  PageValue value;
  ASSERT_TRUE(ReadSessionSetting(*saved.Get(), u"Initial Directory", value));
  EXPECT_EQ(std::get<VUnicodeString>(value), u"/srv/www");
  ASSERT_TRUE(ReadSessionSetting(*saved.Get(), u"Synchronize Browsing", value));
  EXPECT_TRUE(std::get<bool>(value));
}

TEST_F(SessionTransferPagesTest, WithoutTheProtocolsSettingsTheirControlsAreDisabled) {
  auto* page = ShowPage<SessionFileTransferPage>();
  EXPECT_FALSE(Control<QCheckBox>(page, u"Synchronize Browsing")->isEnabled());
  EXPECT_FALSE(Control<QLineEdit>(page, u"Initial Directory")->isEnabled());
  EXPECT_TRUE(PressOk());
}

TEST_F(SessionTransferPagesTest, FtpSftpChoicesAreStoredAsNumbers) {
  session_->operatingSystem = 9;  // a number no entry has: kept and shown as itself
  auto* page = ShowPage<SessionFtpSftpPage>();
  auto* os = Control<QComboBox>(page, u"Operating System");
  EXPECT_EQ(os->currentText(), QStringLiteral("9"));
  Control<QComboBox>(page, u"File System Case")->setCurrentIndex(3);
  Control<QComboBox>(page, u"Time Zone")->setEditText(QStringLiteral("Europe/Paris"));
  Control<QLineEdit>(page, u"File Creation Mask")->setText(QStringLiteral("022"));
  EXPECT_FALSE(page->IsFtpSsl());
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_EQ(saved->operatingSystem.current, 9);
  EXPECT_EQ(saved->fileSystemCase.current, 3);
  EXPECT_EQ(saved->timeZone.Current(), u"Europe/Paris");
  EXPECT_EQ(saved->fileCreationMask.Current(), u"022");
}

TEST_F(SessionTransferPagesTest, PgpNeedsItsCommandsWhichAreStoredEncrypted) {
  auto* page = ShowPage<SessionFileTransferAdvancedPage>();
  auto* upload = Control<QLineEdit>(page, u"PGP Upload Command V2");
  auto* download = Control<QLineEdit>(page, u"PGP Download Command V2");
  EXPECT_FALSE(upload->isEnabled());
  Control<QCheckBox>(page, u"Use PGP For All Transfers")->click();
  EXPECT_TRUE(upload->isEnabled());
  ExpectRefused(upload, QStringLiteral("Please enter a valid PGP command for upload or download."));
  upload->setText(QStringLiteral("gpg -e %1"));
  ExpectRefused(download, QStringLiteral("Please enter a valid PGP command for upload or download."));
  EXPECT_FALSE(session_->usePgpForAllTransfers.current);
  download->setText(QStringLiteral("gpg -d %1"));
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_TRUE(saved->usePgpForAllTransfers.current);
  EXPECT_EQ(saved->pgpUploadCommand.GetPlaintext(), u"gpg -e %1");
  std::string lines = Session("lab");
  EXPECT_EQ(lines.find("gpg -e"), std::string::npos);  // never in clear in the file
  EXPECT_NE(lines.find("S:\"PGP Upload Command V2\"=02:"), std::string::npos);
}

TEST_F(SessionTransferPagesTest, PgpCommandsThatCannotBeEncryptedAreRefused) {
  SetConfigPassphraseDisabled(true);
  auto* page = ShowPage<SessionFileTransferAdvancedPage>();
  Control<QCheckBox>(page, u"Use PGP For All Transfers")->click();
  auto* upload = Control<QLineEdit>(page, u"PGP Upload Command V2");
  upload->setText(QStringLiteral("gpg -e %1"));
  Control<QLineEdit>(page, u"PGP Download Command V2")->setText(QStringLiteral("gpg -d %1"));
  ExpectRefused(upload, QStringLiteral("The PGP commands cannot be saved: secrets are not stored "
                                       "in this configuration."));
  EXPECT_FALSE(session_->usePgpForAllTransfers.current);
}

TEST_F(SessionTransferPagesTest, ReadOnlyTransferPagesAreDisabled) {
  ExpectAllDisabled(ShowPage<SessionLogFilePage>(true));
  ExpectAllDisabled(ShowPage<SessionXModemZModemPage>(true));
  ExpectAllDisabled(ShowPage<SessionFileTransferPage>(true));
  ExpectAllDisabled(ShowPage<SessionFtpSftpPage>(true));
  ExpectAllDisabled(ShowPage<SessionFileTransferAdvancedPage>(true));
  ExpectAllDisabled(ShowPage<SessionEmacsPage>(true));
  ExpectAllDisabled(ShowPage<SessionEmulationModesPage>(true));
  ExpectAllDisabled(ShowPage<SessionEmulationAdvancedPage>(true));
  SessionPageContext context = Context(true);
  context.printingAvailable = true;
  auto* printing = new SessionPrintingPage(context);
  Show(printing);
  ExpectAllDisabled(printing);
}

// The pages in French: every text from the catalogue, mnemonics still one per control.
TEST_F(SessionTransferPagesTest, FrenchPagesKeepTheirMnemonicsApart) {
  VSetMessageLanguage(VLanguage::French);
  SessionPageContext context = Context();
  context.printingAvailable = true;
  std::vector<VPropertyTreePage*> pages = {
      new SessionTerminalPage(context),        new SessionEmulationPage(context),
      new SessionEmulationModesPage(context),  new SessionEmacsPage(context),
      new SessionEmulationAdvancedPage(context), new SessionAppearancePage(context),
      new SessionWindowPage(context),          new SessionLogFilePage(context),
      new SessionPrintingPage(context),        new SessionXModemZModemPage(context),
      new SessionFileTransferPage(context),    new SessionFtpSftpPage(context),
      new SessionFileTransferAdvancedPage(context)};
  dialog_ = std::make_unique<VPropertyTreeDialog>(QStringLiteral("Options"), nullptr, nullptr);
  for (VPropertyTreePage* page : pages) dialog_->AddPage(page);
  dialog_->show();
  EXPECT_EQ(pages[1]->Title(), QStringLiteral("Émulation"));
  for (VPropertyTreePage* page : pages) {
    SCOPED_TRACE(page->Title().toStdString());
    Select(page);
    uitest::ExpectMnemonicsUnique(dialog_.get());
  }
  VSetMessageLanguage(VLanguage::English);
}

// Every page in a tree of its own, drawn into a picture; QUILLANE_GRAB_DIR names a folder to
// keep them in (the documentation shows the pages in the whole dialog, drawn by quillane-settings).
TEST_F(SessionTransferPagesTest, EveryPageIsDrawn) {
  session_->uploadDirectory = VUnicodeString(u"/home/me/Uploads");
  session_->downloadDirectory = VUnicodeString(u"/home/me/Downloads");
  SessionPageContext context = Context();
  context.printingAvailable = true;
  auto* terminal = new SessionTerminalPage(context);
  auto* emulation = new SessionEmulationPage(context);
  auto* appearance = new SessionAppearancePage(context);
  auto* transfer = new SessionFileTransferPage(context);
  emulation->AddPage(new SessionEmulationModesPage(context));
  emulation->AddPage(new SessionEmacsPage(context));
  emulation->AddPage(new SessionEmulationAdvancedPage(context));
  terminal->AddPage(emulation);
  appearance->AddPage(new SessionWindowPage(context));
  terminal->AddPage(appearance);
  terminal->AddPage(new SessionLogFilePage(context));
  terminal->AddPage(new SessionPrintingPage(context));
  terminal->AddPage(new SessionXModemZModemPage(context));
  transfer->AddPage(new SessionFtpSftpPage(context));
  transfer->AddPage(new SessionFileTransferAdvancedPage(context));
  Show(terminal, transfer);
  dialog_->resize(760, 640);

  const char* kept = std::getenv("QUILLANE_GRAB_DIR");
  qtest::TempDir dir;
  QString folder = QString::fromLocal8Bit(kept ? kept : dir.Path().c_str());
  std::vector<QString> written;
  QString error;
  ASSERT_TRUE(GrabPages(*dialog_, folder, QStringLiteral("session-page"), written, error))
      << error.toStdString();
  EXPECT_EQ(written.size(), 13u);
  for (const QString& file : written) EXPECT_FALSE(QImage(QDir(folder).filePath(file)).isNull());
  // Every page: each mnemonic leads to one control, each label to its field.
  for (VPropertyTreePage* page : dialog_->Pages()) {
    SCOPED_TRACE(page->Title().toStdString());
    Select(page);
    uitest::ExpectMnemonicsUnique(dialog_.get());
  }
  EXPECT_TRUE(std::find(written.begin(), written.end(),
                        QStringLiteral("session-page-terminal-emulation-modes.png")) !=
              written.end());
}

}  // namespace
