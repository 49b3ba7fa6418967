// The library's questions answered by message boxes and the folder prompt: asking to change the
// passphrase at the next start records the answer, and a folder typed into the prompt is handed
// back.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "config/global/global_config.h"
#include "config/session_test_env.h"
#include "environment/passphrase_startup.h"
#include "ui/user_questions_qt.h"
#include "ui_test_helpers.h"

namespace {

using UserQuestionsWithDialogs = SessionFolderTest;

bool ChangeRequested() {
  GlobalConfig* config = nullptr;
  GetGlobalConfig(&config, -1);
  VRef<GlobalConfig> global(config);
  return global->changeConfigPassphrase;
}

TEST_F(UserQuestionsWithDialogs, TheChangeAtNextStartQuestionRecordsTheAnswer) {
  VQtUserQuestions questions;
  {
    uitest::MessageBoxRecorder boxes(kIdYes);
    EXPECT_TRUE(LaunchChangeConfigPassphrasePrompt(questions));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains(QStringLiteral("the next time Karvell starts")));
    EXPECT_EQ(boxes.Shown()[0].style & 0xF, kMbYesNo);
    EXPECT_TRUE(ChangeRequested());
  }
  uitest::MessageBoxRecorder boxes(kIdNo);
  EXPECT_FALSE(LaunchChangeConfigPassphrasePrompt(questions));
  EXPECT_FALSE(ChangeRequested());
}

TEST_F(UserQuestionsWithDialogs, AFolderTypedIntoThePromptIsHandedBack) {
  VQtUserQuestions questions;
  VReportMessageParams prompt(0x61380022);
  prompt.AddInsert(u"Karvell");
  VUnicodeString folder = u"/start/here";
  uitest::WhenModal<FolderPromptDialog>([](FolderPromptDialog* d) {
    EXPECT_EQ(d->FolderEdit()->text(), QStringLiteral("/start/here"));
    d->FolderEdit()->clear();
    QTest::keyClicks(d->FolderEdit(), QStringLiteral("/elsewhere/folder "));
    d->OkButton()->click();
  });
  EXPECT_TRUE(questions.AskFolder(prompt, folder));
  EXPECT_EQ(folder, u"/elsewhere/folder");
  uitest::WhenModal<FolderPromptDialog>([](FolderPromptDialog* d) { d->reject(); });
  EXPECT_FALSE(questions.AskFolder(prompt, folder));
  EXPECT_EQ(folder, u"/elsewhere/folder");
}

}  // namespace
