// The questions of IUserQuestions asked on the user's terminal, for console hosts. Without a
// person to answer (standard input is not a terminal, or prompting is forbidden) every question
// is answered No and every folder prompt is cancelled; the question is still written out, so that
// a log shows what was declined.
#pragma once

#include <ostream>
#include <string_view>

#include "crypto/passphrase_console.h"
#include "environment/user_questions.h"

class VConsoleQuestions : public IUserQuestions {
 public:
  // `mayPrompt` false never reads an answer. Notices, and questions nobody can answer, go to
  // `notices` (standard error in a host). Answers are read from `console`, or from the user's
  // terminal when it is null and standard input is a terminal.
  VConsoleQuestions(bool mayPrompt, std::ostream& notices, IPassphraseConsole* console = nullptr);

  bool AskYesNo(VReportMessageParams& question) override;
  void Notify(VReportMessageParams& message, VNoticeKind kind) override;
  bool AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) override;

 private:
  bool interactive_;
  std::ostream& notices_;
  VTerminalConsole terminal_;
  IPassphraseConsole& console_;
};

// A typed answer is Yes when it is "y" or "yes" (or the French "o" or "oui") in any case, with
// blanks around it; anything else, the empty entry included, is No.
bool VIsYesAnswer(std::u16string_view entry);
