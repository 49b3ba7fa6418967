#include "ui/main_window/passphrase_change_request.h"

#include "config/global/global_config_instance.h"
#include "environment/passphrase_startup.h"
#include "marrowby/message_box.h"
#include "ui/user_questions_qt.h"

bool VRequestPassphraseChange(QWidget* parent) {
  VQtUserQuestions questions(parent);
  // Saved either way: "No" withdraws a change asked for earlier.
  bool requested = LaunchChangeConfigPassphrasePrompt(questions);
  VReportMessageParams error;
  if (!SaveGlobalConfig(false, error)) {
    VMessageBox(parent, error, kMbOk | kMbIconError);
    return false;
  }
  return requested;
}
