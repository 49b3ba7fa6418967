// Waiting for another process that is entering the passphrase: how long between tries, how many
// tries, and what each kind of host does when they are spent.
#include <gtest/gtest.h>

#include <vector>

#include "crypto/config_passphrase.h"
#include "crypto/passphrase_busy_wait.h"
#include "platform/win32_errors.h"

namespace {

using std::chrono::milliseconds;

// A busy flag that becomes free at the `freeAt`-th try (never when 0), and recorded pauses.
struct Script {
  int freeAt = 0;
  int tries = 0;
  std::vector<int> pauses;

  VPassphraseBusyWait Wait(VPassphrasePromptMode mode) {
    VPassphraseBusyWait wait;
    wait.mode = mode;
    wait.tryTake = [this] { return ++tries == freeAt; };
    wait.sleep = [this](milliseconds pause) { pauses.push_back(static_cast<int>(pause.count())); };
    return wait;
  }
};

class ScriptedConsole : public IPassphraseConsole {
 public:
  std::vector<Result> answers;
  std::vector<std::u16string> lines;
  VConsoleEntryOptions lastOptions;

  Result ReadEntry(std::u16string_view, const VConsoleEntryOptions& options, VUnicodeString&,
                   VReportMessageParams& error) override {
    lastOptions = options;
    Result result = answers.empty() ? Result::Cancelled : answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    if (result == Result::Failed) error.SetError(win32::kNotReady);
    return result;
  }
  bool WriteLine(std::u16string_view text, VReportMessageParams&) override {
    lines.emplace_back(text);
    return true;
  }
};

class ScriptedDialog : public IPassphraseBusyDialog {
 public:
  std::vector<bool> answers;
  std::vector<uint32_t> shown;
  bool AskToContinue(VReportMessageParams& message) override {
    shown.push_back(message.GetMessageId());
    bool ok = !answers.empty() && answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    return ok;
  }
};

TEST(PassphraseBusyWait, TriesAndPausesRunDownInFives) {
  EXPECT_EQ(PassphrasePromptModeFromFlags(kPassphraseNoPrompting | kPassphraseConsoleMode),
            VPassphrasePromptMode::NoPrompting);
  EXPECT_EQ(PassphrasePromptModeFromFlags(kPassphraseConsoleMode), VPassphrasePromptMode::Console);
  EXPECT_EQ(PassphrasePromptModeFromFlags(kPassphraseDisableIfNeeded),
            VPassphrasePromptMode::Dialogs);

  Script never;
  VReportMessageParams error;
  EXPECT_EQ(WaitForConfigPassphraseBusy(never.Wait(VPassphrasePromptMode::NoPrompting), error),
            win32::kCancelled);
  EXPECT_EQ(never.tries, 25);
  std::vector<int> expected;
  for (int round = 0; round < 4; ++round)
    for (int pause : {250, 500, 750, 1000, 1250}) expected.push_back(pause);
  for (int pause : {250, 500, 750, 1000}) expected.push_back(pause);
  EXPECT_EQ(never.pauses, expected);
  EXPECT_EQ(error.GetMessageId(), 0xE1380046u);
  EXPECT_EQ(error.GetTextTrimmed(), u"Operation failed because the configuration passphrase is "
                                    u"being entered or modified in another process.");

  Script third;
  third.freeAt = 3;
  EXPECT_EQ(WaitForConfigPassphraseBusy(third.Wait(VPassphrasePromptMode::Dialogs), error), 0u);
  EXPECT_EQ(third.pauses, (std::vector<int>{250, 500}));
  EXPECT_FALSE(error.IsError());
}

TEST(PassphraseBusyWait, TheConsoleWaitsForEnterAndStopsOnCancel) {
  Script script;
  script.freeAt = 7;  // in the second round of five
  ScriptedConsole console;
  console.answers = {IPassphraseConsole::Result::Entered};
  VPassphraseBusyWait wait = script.Wait(VPassphrasePromptMode::Console);
  wait.console = &console;
  VReportMessageParams error;
  EXPECT_EQ(WaitForConfigPassphraseBusy(wait, error), 0u);
  EXPECT_EQ(script.pauses, (std::vector<int>{250, 500, 750, 1000, 250}));
  ASSERT_EQ(console.lines.size(), 1u);
  EXPECT_EQ(console.lines[0], u"The configuration passphrase is being entered or modified in "
                              u"another process.  After the passphrase has been saved, press "
                              u"Enter to continue or Ctrl+C to abort.");
  EXPECT_TRUE(console.lastOptions.allowEmpty);

  Script busy;
  console.answers = {IPassphraseConsole::Result::Cancelled};
  wait = busy.Wait(VPassphrasePromptMode::Console);
  wait.console = &console;
  EXPECT_EQ(WaitForConfigPassphraseBusy(wait, error), win32::kCancelled);
  EXPECT_FALSE(error.IsError()) << "the user's own choice needs no message";
  console.answers = {IPassphraseConsole::Result::Failed};
  EXPECT_EQ(WaitForConfigPassphraseBusy(wait, error), win32::kCancelled);
  EXPECT_EQ(error.GetMessageId(), win32::kNotReady);
}

TEST(PassphraseBusyWait, DialogsAskOkOrCancel) {
  Script script;
  script.freeAt = 11;
  ScriptedDialog dialog;
  dialog.answers = {true, true};
  VPassphraseBusyWait wait = script.Wait(VPassphrasePromptMode::Dialogs);
  wait.dialog = &dialog;
  VReportMessageParams error;
  EXPECT_EQ(WaitForConfigPassphraseBusy(wait, error), 0u);
  EXPECT_EQ(dialog.shown, (std::vector<uint32_t>{0x61380040, 0x61380040}));

  dialog.answers = {false};
  Script busy;
  wait = busy.Wait(VPassphrasePromptMode::Dialogs);
  wait.dialog = &dialog;
  EXPECT_EQ(WaitForConfigPassphraseBusy(wait, error), win32::kCancelled);
  EXPECT_EQ(busy.tries, 5);
}

TEST(PassphraseBusyWait, TheFlagIsHeldUntilTheScopeEnds) {
  VReportMessageParams error;
  {
    VPassphraseBusyHold hold;
    VPassphraseBusyWait wait;
    wait.mode = VPassphrasePromptMode::NoPrompting;
    ASSERT_EQ(hold.Take(wait, error), 0u);
    EXPECT_TRUE(hold.IsHeld());
    EXPECT_FALSE(TryTakeConfigPassphraseBusy());
  }
  EXPECT_TRUE(TryTakeConfigPassphraseBusy());
  ReleaseConfigPassphraseBusy();
}

}  // namespace
