#include "session_window.h"

#include "config/database/session_database_instance.h"
#include "host_startup.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "platform/file_system.h"
#include "ui/session_options/edit_default_session.h"
#include "ui/session_options/edit_session.h"

namespace settings {
namespace {

int Fail(const std::string& message) { return ReportStartFailure(message, kExitFailed); }

}  // namespace

int RunSessionWindow(const Options& options) {
  const bool grab = !options.grabFolder.empty();
  const bool defaultSession = options.window == Window::DefaultSession;
  const VUnicodeString path = VUnicodeString::FromUtf8(options.windowArgument);

  if (grab) {
    if (vfs::KindOfPath(options.grabFolder) == vfs::PathKind::Missing &&
        !vfs::CreateFolderTree(options.grabFolder, 0755).ok())
      return Fail("cannot create " + options.grabFolder);
    QString problem;
    if (!GrabSessionOptions(path, defaultSession, QString::fromStdString(options.grabFolder),
                            problem))
      return Fail(problem.toStdString());
    return kExitOk;
  }
  if (defaultSession) {
    bool allChanged = false;
    return EditDefaultSessionWithResult(nullptr, 0, nullptr, allChanged) == kIdOk ? kExitOk
                                                                                    : kExitCancelled;
  }
  VReportMessageParams problem;
  int result = EditSessionAtPath(path, nullptr, problem);
  if (result == 0) return Fail(MessageText(problem).toStdString());
  return result == kIdOk ? kExitOk : kExitCancelled;
}

}  // namespace settings
