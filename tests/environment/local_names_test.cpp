// Local file and folder names typed by a person, with the questions answered by a script, and
// the console's way of asking them.
#include "environment/local_names.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <deque>
#include <sstream>

#include "environment/console_questions.h"
#include "support/test_support.h"

namespace {

class ScriptedQuestions : public IUserQuestions {
 public:
  bool AskYesNo(VReportMessageParams& question) override {
    asked.push_back(question.GetMessageId());
    lastQuestion = question.GetTextTrimmed().ToUtf8();
    bool yes = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes;
  }
  void Notify(VReportMessageParams& message, VNoticeKind kind) override {
    notices.push_back(message.GetMessageId());
    lastKind = kind;
  }
  bool AskFolder(VReportMessageParams&, VUnicodeString&) override { return false; }
  // Validates `typed` and returns what the field holds afterwards.
  std::string Folder(const std::string& typed, bool expected, std::deque<bool> replies = {}) {
    answers = replies;
    VUnicodeString path = VUnicodeString::FromUtf8(typed);
    EXPECT_EQ(ValidateLocalFolder(*this, path), expected) << typed;
    return path.ToUtf8();
  }

  std::deque<bool> answers;
  std::vector<uint32_t> asked, notices;
  std::string lastQuestion;
  VNoticeKind lastKind = VNoticeKind::Information;
};

TEST(LocalNames, FileNameReportsTheFirstCharacterOfTheList) {
  VReportMessageParams error;
  EXPECT_TRUE(CheckLocalFilename(u"session log 2025-03-07.txt", error));
  EXPECT_FALSE(CheckLocalFilename(u"a*b:c", error));  // the colon comes first in the list
  EXPECT_EQ(error.GetTextTrimmed(), u"The name contains an illegal character: ' : '");
  ScriptedQuestions owner;
  EXPECT_FALSE(ValidateLocalFilename(u"a|b\"c", owner));
  EXPECT_EQ(owner.notices, std::vector<uint32_t>{kMsgIllegalFileNameCharacter});
  EXPECT_EQ(owner.lastKind, VNoticeKind::Warning);
}

TEST(LocalNames, FolderBranches) {
  qtest::TempDir dir;
  ScriptedQuestions owner;
  owner.Folder(dir.Path(), true);
  EXPECT_TRUE(owner.asked.empty());
  qtest::WriteFile(dir / "file", "x");
  owner.Folder(dir / "file", false);
  EXPECT_EQ(owner.notices.back(), kMsgPathNotAFolder);

  // Missing: No accepts the entry as it is, Yes creates it with its parents.
  owner.Folder(dir / "new/deeper", true, {false});
  EXPECT_FALSE(qtest::Exists(dir / "new"));
  owner.Folder(dir / "new/deeper", true, {true});
  EXPECT_TRUE(qtest::Exists(dir / "new/deeper"));
  EXPECT_EQ(owner.asked, std::vector<uint32_t>(2, kMsgFolderMissingCreate));
  owner.Folder(dir / "file/sub", false, {true});  // a file stands where a parent should be
  EXPECT_EQ(owner.notices.back(), kMsgFolderCreateFailed);
  owner.Folder(dir / std::string(300, 'n'), false);  // longer than any file system takes
  EXPECT_EQ(owner.notices.back(), kMsgFolderInvalid);
  owner.Folder("a\tb", false);
  EXPECT_EQ(owner.notices.back(), kMsgInvalidFolderSyntax);

  // A relative folder may be replaced by its full path; declined, the entry stays as typed.
  char old[PATH_MAX];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(dir.Path().c_str()), 0);
  EXPECT_EQ(owner.Folder("logs/../new", true, {true}), dir / "new");
  EXPECT_EQ(owner.Folder("new", true, {false}), "new");
  ASSERT_EQ(chdir(old), 0);
  // "~" is the home folder, as in a shell.
  qtest::ScopedEnv home("HOME", dir.Path());
  EXPECT_EQ(owner.Folder("~/logs", true, {true, false}), dir / "logs");
  EXPECT_EQ(owner.asked.end()[-2], kMsgFolderNotFullPathOffer);
  EXPECT_EQ(owner.lastQuestion.substr(0, 39), "The directory specified does not exist.");
}

// A terminal that types the given entries in turn and keeps the prompts it was shown.
class ScriptedConsole : public IPassphraseConsole {
 public:
  Result ReadEntry(std::u16string_view prompt, const VConsoleEntryOptions& options,
                   VUnicodeString& entry, VReportMessageParams&) override {
    prompts.push_back(vtext::ToUtf8(prompt));
    EXPECT_FALSE(options.masked);
    if (typed.empty()) return Result::Cancelled;  // Esc
    entry = typed.front();
    typed.pop_front();
    return Result::Entered;
  }
  bool WriteLine(std::u16string_view, VReportMessageParams&) override { return true; }
  std::deque<VUnicodeString> typed;
  std::vector<std::string> prompts;
};

TEST(ConsoleQuestions, AnswersTypedAndNoPersonToAsk) {
  std::ostringstream out;
  ScriptedConsole terminal;
  terminal.typed = {u" YES ", u"yess", u"", u"/home/ada/données"};
  VConsoleQuestions console(true, out, &terminal);
  VReportMessageParams question(kMsgFolderMissingCreate), prompt(0x613800FF);
  EXPECT_TRUE(console.AskYesNo(question));
  EXPECT_EQ(terminal.prompts[0],
            "The directory specified does not exist.\r\nWould you like to create it? [y/N] ");
  EXPECT_FALSE(console.AskYesNo(question));
  VUnicodeString folder = u"/offered";
  EXPECT_TRUE(console.AskFolder(prompt, folder));  // Enter takes the offer
  EXPECT_EQ(terminal.prompts[2], "Select a folder for storing application data:\n[/offered] ");
  EXPECT_TRUE(console.AskFolder(prompt, folder));
  EXPECT_EQ(folder.ToUtf8(), "/home/ada/données");
  EXPECT_FALSE(console.AskFolder(prompt, folder));  // Esc cancels
  EXPECT_EQ(out.str(), "");

  // Without a person to answer, questions are declined and written out.
  VConsoleQuestions nobody(false, out, &terminal);
  EXPECT_FALSE(nobody.AskYesNo(question));
  EXPECT_FALSE(nobody.AskFolder(prompt, folder));
  EXPECT_EQ(terminal.prompts.size(), 5u);
  EXPECT_EQ(out.str(),
            "The directory specified does not exist.\r\nWould you like to create it? [no]\n"
            "Select a folder for storing application data: [cancelled]\n");
}

}  // namespace
