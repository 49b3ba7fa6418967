// What the library asks of the person at the keyboard: yes/no questions, notices and a folder.
// The options dialogs answer with message boxes; a console host answers on the terminal. Code
// below the user interface asks through this interface and never shows anything itself.
#pragma once

#include "report/report_message_params.h"

enum class VNoticeKind { Information, Warning, Error };

class IUserQuestions {
 public:
  virtual ~IUserQuestions() = default;
  // A question with the answers Yes and No, shown as a warning; true for Yes.
  virtual bool AskYesNo(VReportMessageParams& question) = 0;
  virtual void Notify(VReportMessageParams& message, VNoticeKind kind) = 0;
  // Asks for a folder, offering `folder`; true with the chosen folder in `folder` when the person
  // confirmed, false when they cancelled.
  virtual bool AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) = 0;
};
