// The Session Options dialog's frame: which pages the tree holds for which installation, the
// titles of its modes, and how protocol pages are shown and hidden as protocols change.
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "config/global/global_config_instance.h"
#include "session_options_env.h"
#include "ui/session_options/connection_page.h"
#include "ui/session_options/session_page_table.h"
#include "ui_test_helpers.h"

namespace {

using Log = std::vector<std::string>;

const std::vector<QStringList> kTerminalTree = {
    {"Terminal"},
    {"Terminal", "Emulation"},
    {"Terminal", "Emulation", "Modes"},
    {"Terminal", "Emulation", "Emacs"},
    {"Terminal", "Emulation", "Mapped Keys"},
    {"Terminal", "Emulation", "Advanced"},
    {"Terminal", "Appearance"},
    {"Terminal", "Appearance", "Window"},
    {"Terminal", "Log File"},
    {"Terminal", "Printing"},
    {"Terminal", "X/Y/Zmodem"},
};
const std::vector<QStringList> kTransferTree = {
    {"File Transfer"}, {"File Transfer", "FTP/SFTP"}, {"File Transfer", "Advanced"}};

std::vector<QStringList> Paths(const SessionOptionsDialogBase& dialog) {
  std::vector<QStringList> paths;
  for (VPropertyTreePage* page : dialog.Pages()) paths.push_back(dialog.PathOf(page));
  return paths;
}

// ---- the tree ----

TEST_F(SessionOptionsTest, TheTreeHoldsEveryPageOfAnIntegratedInstallationInTableOrder) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  std::vector<QStringList> expected = {{"Connection"}, {"Connection", "Logon Actions"}};
  expected.insert(expected.end(), kTerminalTree.begin(), kTerminalTree.end());
  expected.insert(expected.end(), kTransferTree.begin(), kTransferTree.end());
  // "Hide Session ANSI Color Page" is on by default.
  EXPECT_EQ(Paths(dialog), expected);

  FreeGlobalConfig();
  folder_.WriteLines("Global", "D:\"Hide Session ANSI Color Page\"=00000000\r\n");
  SessionOptionsDialog withAnsi(Arguments(*session.Get()));
  EXPECT_NE(withAnsi.FindPage({"Terminal", "Appearance", "ANSI Color"}), nullptr);
  std::vector<QStringList> paths = Paths(withAnsi);
  auto ansi = std::find(paths.begin(), paths.end(), QStringList{"Terminal", "Appearance", "ANSI Color"});
  ASSERT_NE(ansi, paths.end());
  EXPECT_EQ(*(ansi + 1), (QStringList{"Terminal", "Appearance", "Window"}));
}

TEST_F(SessionOptionsTest, ATransferOnlyProductHasNoTerminalSubtreeAndATerminalOnlyOneNoTransfer) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SetKarvellInstalled(false);
  {
    SessionOptionsDialog dialog(Arguments(*session.Get()));
    EXPECT_EQ(dialog.FindPage({"Terminal"}), nullptr);
    EXPECT_EQ(dialog.Page(SessionPageRole::Terminal), nullptr);
    for (const QStringList& path : kTransferTree) EXPECT_NE(dialog.FindPage(path), nullptr);
    EXPECT_NE(dialog.FindPage({"Connection", "Logon Actions"}), nullptr);
    // One protocol list, of the file-transfer part.
    dialog.show();
    auto* connection = ConnectionPage(dialog);
    ASSERT_TRUE(connection->IsInitialized());
    EXPECT_EQ(connection->TerminalList(), nullptr);
    ASSERT_NE(connection->TransferList(), nullptr);
    EXPECT_EQ(connection->TransferList()->currentData().toString(), "SFTP");
    dialog.reject();
  }
  SetKarvellInstalled(true);
  SetLumbrelInstalled(false);
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  EXPECT_EQ(dialog.FindPage({"File Transfer"}), nullptr);
  for (const QStringList& path : kTerminalTree) EXPECT_NE(dialog.FindPage(path), nullptr);
}

TEST_F(SessionOptionsTest, TheTitleNamesTheSessionAndTheMode) {
  WriteProtocols("Lab/router1", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"Lab/router1");
  EXPECT_EQ(SessionOptionsDialog(Arguments(*session.Get(), 0)).windowTitle(),
            "Session Options - router1");
  EXPECT_EQ(SessionOptionsDialog(Arguments(*session.Get(), kSessionOptionsReadOnly)).windowTitle(),
            "Session Options - router1 (Read Only)");
  EXPECT_EQ(SessionOptionsDialog(Arguments(*session.Get(), kSessionOptionsMultiple)).windowTitle(),
            "Session Options - multiple");
}

TEST(SessionPageTable, EveryPageHangsBelowAPageListedBeforeIt) {
  std::vector<std::string_view> seen;
  for (const SessionPageRow& row : SessionPageRows()) {
    std::string_view parent = ParentPosition(row.position);
    if (!parent.empty()) {
      EXPECT_NE(std::find(seen.begin(), seen.end(), parent), seen.end()) << row.position;
    }
    EXPECT_NE(row.make, nullptr) << row.position;
    seen.push_back(row.position);
  }
  EXPECT_EQ(ParentPosition("2.1.3"), "2.1");
  EXPECT_EQ(ParentPosition("3"), "");
}

// ---- protocol pages ----

TEST_F(SessionOptionsTest, Ssh2WithSftpShowsOnlyTheSsh2PagesAndTelnetThenShowsSftpsToo) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  EXPECT_EQ(dialog.ProtocolPagesSlots(), GetConnectProtocolTable().Size());
  dialog.show();
  EXPECT_EQ(TakeLog(), (Log{"show SSH2"}));
  EXPECT_TRUE(Visible(dialog, {"SSH2"}));
  EXPECT_EQ(dialog.FindPage({"SFTP"}), nullptr);
  EXPECT_TRUE(Visible(dialog, {"Terminal"}));
  EXPECT_TRUE(Visible(dialog, {"File Transfer"}));
  EXPECT_EQ(dialog.Ssh2Index(), Find(u"SSH2", 0));
  EXPECT_EQ(dialog.SftpIndex(), Find(u"SFTP", 1));
  EXPECT_EQ(dialog.ScpIndex(), Find(u"SCP", 1));

  auto* connection = ConnectionPage(dialog);
  Pick(connection->TerminalList(), "Telnet");
  EXPECT_EQ(TakeLog(), (Log{"hide SSH2", "show Telnet", "show SFTP"}));
  EXPECT_FALSE(Visible(dialog, {"SSH2"}));
  EXPECT_TRUE(Visible(dialog, {"Telnet"}));
  EXPECT_TRUE(Visible(dialog, {"SFTP"}));
  EXPECT_EQ(session->GetTerminalProtocolName(), u"Telnet");

  // Back to SSH2: its pages come back (made once), and they serve SFTP again.
  Pick(connection->TerminalList(), "SSH2");
  EXPECT_EQ(TakeLog(), (Log{"hide Telnet", "show SSH2", "hide SFTP"}));
  EXPECT_TRUE(Visible(dialog, {"SSH2"}));
  EXPECT_FALSE(Visible(dialog, {"SFTP"}));
  dialog.reject();
  // Cancel: the session has its first protocol again, and every pages object is removed once.
  EXPECT_EQ(session->GetTerminalProtocolName(), u"SSH2");
}

TEST_F(SessionOptionsTest, ALineTakingProtocolHidesTheCompanionsPages) {
  for (const char* lineProtocol : {"Serial", "TAPI", "Local Shell"}) {
    SCOPED_TRACE(lineProtocol);
    TakeLog();  // the removals of the last round's dialog
    WriteProtocols("s", "Telnet", "SFTP");
    VRef<SessionConfig> session = Open(u"s");
    SessionOptionsDialog dialog(Arguments(*session.Get()));
    dialog.show();
    EXPECT_EQ(TakeLog(), (Log{"show Telnet", "show SFTP"}));
    auto* connection = ConnectionPage(dialog);
    Pick(connection->TerminalList(), lineProtocol);
    EXPECT_EQ(TakeLog(), (Log{"hide Telnet", std::string("show ") + lineProtocol, "hide SFTP"}));
    EXPECT_TRUE(Visible(dialog, {lineProtocol}));
    EXPECT_FALSE(Visible(dialog, {"SFTP"}));
    // The file-transfer part itself still has its protocol and its subtree.
    EXPECT_TRUE(Visible(dialog, {"File Transfer"}));
    dialog.reject();
  }
}

TEST_F(SessionOptionsTest, ProtocolChangesFollowTheRulesForEveryPair) {
  WriteProtocols("s", "Telnet", "FTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  dialog.show();
  EXPECT_EQ(TakeLog(), (Log{"show Telnet", "show FTP"}));
  const int ssh2 = Find(u"SSH2", 0), telnet = Find(u"Telnet", 0), sftp = Find(u"SFTP", 1),
            scp = Find(u"SCP", 1), ftp = Find(u"FTP", 1);
  // No companion: only the new protocol's pages.
  dialog.UpdateSessionProtocolPages(telnet, ssh2, -1);
  EXPECT_EQ(TakeLog(), (Log{"hide Telnet", "show SSH2"}));
  // A file-transfer protocol that SSH2 serves is not shown beside SSH2.
  dialog.UpdateSessionProtocolPages(ftp, scp, ssh2);
  EXPECT_EQ(TakeLog(), (Log{"hide FTP"}));
  // ... but is beside any other terminal protocol.
  dialog.UpdateSessionProtocolPages(scp, sftp, telnet);
  EXPECT_EQ(TakeLog(), (Log{"show SFTP"}));
  // A previous protocol whose pages were never made has nothing to hide; "None" shows nothing
  // and keeps the companion's pages.
  dialog.UpdateSessionProtocolPages(scp, -1, sftp);
  EXPECT_EQ(TakeLog(), (Log{"show SFTP"}));
  dialog.reject();
  EXPECT_EQ(TakeLog(), Log{});  // closing hides nothing; the pages go with the dialog
}

TEST_F(SessionOptionsTest, AProtocolIndexOutsideTheTableIsAProgrammingError) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  const int size = static_cast<int>(GetConnectProtocolTable().Size());
  EXPECT_THROW(dialog.ShowSessionProtocolPages(size), std::out_of_range);
  EXPECT_THROW(dialog.ShowSessionProtocolPages(-2), std::out_of_range);
  EXPECT_THROW(dialog.UpdateSessionProtocolPages(size, 0, -1), std::out_of_range);
  EXPECT_NO_THROW(dialog.ShowSessionProtocolPages(-1));
  EXPECT_EQ(TakeLog(), Log{});
}

TEST_F(SessionOptionsTest, DestroyRemovesEveryProtocolPagesObjectOnce) {
  WriteProtocols("s", "Telnet", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  {
    SessionOptionsDialog dialog(Arguments(*session.Get()));
    dialog.show();
    dialog.ShowSessionProtocolPages(Find(u"SSH2", 0));
    TakeLog();
    EXPECT_EQ(session->GetCommonConfig().GetParentWindow(), static_cast<QWidget*>(&dialog));
    dialog.Destroy();
    EXPECT_EQ(session->GetCommonConfig().GetParentWindow(), nullptr);
    Log log = TakeLog();
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (Log{"remove SFTP", "remove SSH2", "remove Telnet"}));
    EXPECT_EQ(dialog.FindPage({"SSH2"}), nullptr);
    EXPECT_EQ(dialog.ProtocolPages(Find(u"SSH2", 0)), nullptr);
    dialog.reject();
  }
  EXPECT_EQ(TakeLog(), Log{});  // not again when the dialog goes
}

TEST_F(SessionOptionsTest, NoProtocolHidesThePartsSubtreeAndPickingOneShowsIt) {
  WriteProtocols("s", "None", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  dialog.show();
  EXPECT_FALSE(Visible(dialog, {"Terminal"}));
  EXPECT_FALSE(Visible(dialog, {"Connection", "Logon Actions"}));
  EXPECT_TRUE(Visible(dialog, {"SFTP"}));
  auto* connection = ConnectionPage(dialog);
  Pick(connection->TerminalList(), "Telnet");
  EXPECT_TRUE(Visible(dialog, {"Terminal"}));
  EXPECT_TRUE(Visible(dialog, {"Connection", "Logon Actions"}));
  EXPECT_TRUE(Visible(dialog, {"Telnet"}));
  Pick(connection->TransferList(), "None");
  EXPECT_FALSE(Visible(dialog, {"File Transfer"}));
  EXPECT_FALSE(Visible(dialog, {"SFTP"}));
  dialog.reject();
}

}  // namespace
