// The Session Options dialog's modes: read-only (OK disabled, the prompt unless suppressed),
// the Default session with its offer to change every session, and Cancel leaving the session
// as it was.
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "config/global/global_config_instance.h"
#include "session_options_env.h"
#include "ui/optional_message_box.h"
#include "ui/session_options/connection_page.h"
#include "ui/session_options/edit_default_session.h"
#include "ui/session_options/logon_actions_page.h"
#include "ui_test_helpers.h"

namespace {

using uitest::WhenModal;

TEST_F(SessionOptionsTest, ReadOnlyWithTheWarningSuppressedOpensSilentlyWithOkDisabled) {
  folder_.WriteLines("Global", "D:\"Suppress Read Only Session Options Warning\"=00000001\r\n");
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  // Any box that came up would be counted and closed.
  ModalWatch<OptionalMessageBox> prompts([](OptionalMessageBox* box) { box->reject(); });
  SessionOptionsDialog dialog(Arguments(*session.Get(), kSessionOptionsReadOnly));
  dialog.show();
  QTest::qWait(100);
  EXPECT_EQ(prompts.Count(), 0);
  EXPECT_FALSE(dialog.ReadOnlyPromptShown());
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  EXPECT_TRUE(dialog.Context().readOnly);
  // OK refuses even when asked directly, and nothing is taken from the pages.
  auto* connection = ConnectionPage(dialog);
  EXPECT_FALSE(connection->NameEdit()->isEnabled());
  EXPECT_FALSE(connection->TerminalList()->isEnabled());
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  dialog.reject();
  EXPECT_FALSE(session->IsModified());
}

TEST_F(SessionOptionsTest, ReadOnlyShowsThePromptOnceAndItsCheckBoxIsSaved) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  QString text;
  ModalWatch<OptionalMessageBox> prompts([&](OptionalMessageBox* box) {
    text = box->MessageLabel()->text();
    EXPECT_TRUE(box->parentWidget() && box->parentWidget()->isVisible());  // over the dialog
    EXPECT_EQ(box->CheckBox()->text(), "&Do not display this message again");
    EXPECT_FALSE(box->CancelButton()->isVisible());
    box->CheckBox()->click();
    box->findChild<QPushButton*>(QStringLiteral("ok"))->click();
  });
  SessionOptionsDialog dialog(Arguments(*session.Get(), kSessionOptionsReadOnly));
  dialog.show();
  QTest::qWait(100);
  EXPECT_EQ(prompts.Count(), 1);
  EXPECT_EQ(text, "The Sessions Options that you are opening are being used by a locked session.  "
                  "You will not be able to save changes to the session.");
  // Shown again (another show event): no second prompt in this opening.
  dialog.hide();
  dialog.show();
  QTest::qWait(100);
  EXPECT_EQ(prompts.Count(), 1);
  dialog.reject();
  // The user's choice is in the global configuration's file.
  EXPECT_TRUE(Has(folder_.Lines("Global"), "D:\"Suppress Read Only Session Options Warning\"=00000001"));
}

TEST_F(SessionOptionsTest, CancelPutsBackTheProtocolsAndLeavesTheSessionUnmodified) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  SessionOptionsDialog dialog(Arguments(*session.Get()));
  dialog.show();
  auto* connection = ConnectionPage(dialog);
  Pick(connection->TerminalList(), "Telnet");
  Pick(connection->TransferList(), "FTP");
  connection->NameEdit()->setText("other");
  EXPECT_EQ(session->GetTransferProtocolName(), u"FTP");
  dialog.reject();
  EXPECT_EQ(session->GetTerminalProtocolName(), u"SSH2");
  EXPECT_EQ(session->GetTransferProtocolName(), u"SFTP");
  EXPECT_EQ(session->GetSessionName(), u"s");
  EXPECT_FALSE(session->IsModified());
}

// ---- the Default session ----

class DefaultSessionTest : public SessionOptionsTest {
 protected:
  // Ten sessions; the last `readOnly` of them may not be written.
  void MakeSessions(int readOnly) {
    for (int i = 0; i < 10; ++i) WriteProtocols("s" + std::to_string(i), "SSH2", "SFTP");
    for (int i = 10 - readOnly; i < 10; ++i) chmod(SessionFile("s" + std::to_string(i)).c_str(), 0444);
  }
  // Runs EditDefaultSession: in the dialog the initial carriage return is switched off (or
  // nothing changed), then the question is answered with `all`.
  int Run(bool change, bool all, bool& allChanged, bool* asked = nullptr) {
    auto dialogSeen = WhenModal<SessionOptionsDialog>([change](SessionOptionsDialog* dialog) {
      EXPECT_EQ(dialog->Mode(), kSessionOptionsDefaultSession);
      EXPECT_EQ(dialog->windowTitle(), "Session Options - Default");
      auto* connection = ConnectionPage(*dialog);
      EXPECT_FALSE(connection->NameEdit()->isEnabled());
      if (change) {
        auto* logon = LogonPage(*dialog);
        logon->InitialCrBox()->click();
      }
      dialog->OkButton()->click();
    });
    auto question = WhenModal<ApplyDefaultSessionChangesDialog>(
        [all](ApplyDefaultSessionChangesDialog* box) {
          EXPECT_TRUE(box->DefaultOnlyButton()->isDefault());
          (all ? box->AllButton() : box->DefaultOnlyButton())->click();
        });
    int result = EditDefaultSessionWithResult(nullptr, 0, nullptr, allChanged);
    EXPECT_TRUE(*dialogSeen);
    if (asked) *asked = *question;
    return result;
  }
};

TEST_F(DefaultSessionTest, ApplyingToAllWithThreeReadOnlySessionsCountsThemAndLeavesTheFlag) {
  MakeSessions(3);
  const std::string readOnlyBytes = qtest::ReadFile(SessionFile("s9"));
  uitest::MessageBoxRecorder boxes;
  bool allChanged = false;
  bool asked = false;
  EXPECT_EQ(Run(true, true, allChanged, &asked), kIdOk);
  EXPECT_TRUE(asked);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "Of your 10 sessions, 3 could not be updated because they are currently read-only.");
  EXPECT_FALSE(allChanged);
  for (int i = 0; i < 7; ++i)
    EXPECT_TRUE(Has(Session("s" + std::to_string(i)), "D:\"Send Initial Carriage Return\"=00000000")) << i;
  EXPECT_EQ(qtest::ReadFile(SessionFile("s9")), readOnlyBytes);
  EXPECT_TRUE(Has(Session("Default"), "D:\"Send Initial Carriage Return\"=00000000"));
}

TEST_F(DefaultSessionTest, AllWritableSetsTheFlagAndDefaultOnlyChangesNoOtherSession) {
  MakeSessions(0);
  uitest::MessageBoxRecorder boxes;
  bool allChanged = false;
  EXPECT_EQ(Run(true, true, allChanged), kIdOk);
  EXPECT_TRUE(allChanged);
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_TRUE(Has(Session("s4"), "D:\"Send Initial Carriage Return\"=00000000"));

  // Switched on again, for the Default session only.
  const std::string before = qtest::ReadFile(SessionFile("s4"));
  allChanged = false;
  EXPECT_EQ(Run(true, false, allChanged), kIdOk);
  EXPECT_FALSE(allChanged);
  EXPECT_EQ(qtest::ReadFile(SessionFile("s4")), before);
  EXPECT_TRUE(Has(Session("Default"), "D:\"Send Initial Carriage Return\"=00000001"));

  // Nothing changed: no question at all.
  bool asked = true;
  EXPECT_EQ(Run(false, true, allChanged, &asked), kIdOk);
  EXPECT_FALSE(asked);
}

TEST_F(DefaultSessionTest, CancelWritesNothing) {
  MakeSessions(0);
  bool allChanged = false;
  Open(u"Default");  // made on first use
  const std::string before = qtest::ReadFile(SessionFile("Default"));
  auto dialogSeen = WhenModal<SessionOptionsDialog>([](SessionOptionsDialog* dialog) {
    auto* logon = LogonPage(*dialog);
    logon->InitialCrBox()->click();
    dialog->reject();
  });
  EXPECT_EQ(EditDefaultSessionWithResult(nullptr, 0, nullptr, allChanged), kIdCancel);
  EXPECT_TRUE(*dialogSeen);
  EXPECT_EQ(qtest::ReadFile(SessionFile("Default")), before);
}

}  // namespace

namespace {

TEST_F(SessionOptionsTest, ShowSessionOptionsDialogHandsItsArgumentsToThePages) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  bool appearanceChanged = false;
  auto seen = WhenModal<SessionOptionsDialog>([&](SessionOptionsDialog* dialog) {
    const SessionPageContext& context = dialog->Context();
    EXPECT_EQ(context.session, session.Get());
    EXPECT_NE(context.global, nullptr);
    EXPECT_FALSE(context.readOnly);
    EXPECT_TRUE(context.newSession);
    EXPECT_TRUE(dialog->IsNewSession());
    EXPECT_EQ(context.maxColumns, 300);
    EXPECT_TRUE(context.liveSession);
    EXPECT_EQ(context.appearanceFlags, 5u);
    EXPECT_TRUE(context.printingAvailable);
    EXPECT_EQ(context.appearanceChanged, &appearanceChanged);
    dialog->reject();
  });
  EXPECT_EQ(ShowSessionOptionsDialog(nullptr, session.Get(), 0, true, false, 300, true, 5, true,
                                     appearanceChanged, nullptr),
            kIdCancel);
  EXPECT_TRUE(*seen);
}

TEST_F(SessionOptionsTest, TheDialogReopensOnThePageShownLastUnlessAskedForTheConnectionPage) {
  WriteProtocols("s", "SSH2", "SFTP");
  VRef<SessionConfig> session = Open(u"s");
  {
    SessionOptionsDialog dialog(Arguments(*session.Get()));
    dialog.show();
    LogonPage(dialog);
    dialog.reject();
  }
  {
    SessionOptionsDialog dialog(Arguments(*session.Get()));
    dialog.show();
    EXPECT_EQ(dialog.CurrentPage(), dialog.Page(SessionPageRole::LogonActions));
    dialog.reject();
  }
  SessionOptionsArguments arguments = Arguments(*session.Get());
  arguments.connectPageFlag = true;
  SessionOptionsDialog dialog(arguments);
  dialog.show();
  EXPECT_EQ(dialog.CurrentPage(), dialog.Page(SessionPageRole::Connection));
  // The Logon Actions page is laid out again after each protocol change.
  auto* logon = LogonPage(dialog);
  int layouts = logon->LayoutCount();
  dialog.SelectPage(ConnectionPage(dialog));
  Pick(ConnectionPage(dialog)->TerminalList(), "Telnet");
  EXPECT_EQ(logon->LayoutCount(), layouts + 1);
  dialog.reject();
}

}  // namespace
