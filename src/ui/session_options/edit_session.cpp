#include "ui/session_options/edit_session.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "config/database/session_database_instance.h"
#include "config/global/global_config.h"
#include "config/global/global_config_instance.h"
#include "config/session/session_config.h"
#include "config/session/session_store.h"
#include "marrowby/message_box.h"
#include "marrowby/page_grab.h"
#include "marrowby/qt_text.h"
#include "ui/session_options/connection_rules.h"
#include "ui/session_options/edit_default_session.h"
#include "ui/session_options/session_options_dialog.h"

namespace {

constexpr char kPicturePrefix[] = "session-options";
constexpr char kApplyPicture[] = "session-options-apply-to-all.png";

SessionOptionsArguments ArgumentsFor(SessionConfig& session, GlobalConfig* global, int mode,
                                     bool* appearanceChanged, QWidget* parent) {
  SessionOptionsArguments arguments;
  arguments.global = global;
  arguments.session = &session;
  arguments.mode = mode;
  arguments.maxColumns = global ? global->maxColumns.current : 0;
  arguments.printingAvailable = !(global && global->disableAllPrinting.current);
  arguments.appearanceChanged = appearanceChanged;
  arguments.parent = parent;
  return arguments;
}

void ForgetListing(const VUnicodeString& path) {
  if (SessionDatabase* database = GetSessionDatabase())
    database->InvalidateFolder(SessionFolderOf(path));
}

}  // namespace

VUnicodeString RenamedSessionPath(const VUnicodeString& path, const VUnicodeString& newName) {
  VUnicodeString folder = SessionFolderOf(path);
  return folder.empty() ? newName : VUnicodeString(folder + u'\\' + newName);
}

int EditSessionAtPath(const VUnicodeString& path, QWidget* parent, VReportMessageParams& error) {
  SessionConfig* opened = OpenSessionByPath(path, error);
  if (!opened) return 0;
  VRef<SessionConfig> session(opened);
  GlobalConfig* global = nullptr;
  GetGlobalConfig(&global, -1);
  VRef<GlobalConfig> heldGlobal(global);

  const bool writable = IsSessionWritable(path);
  bool appearanceChanged = false;
  const VUnicodeString oldName = session->GetSessionName();
  // The template keeps its name: opened by its path it is edited as the Default session.
  const int mode = !writable                     ? kSessionOptionsReadOnly
                   : session->IsDefaultSession() ? kSessionOptionsDefaultSession
                                                 : 0;
  int result;
  {
    SessionOptionsArguments arguments =
        ArgumentsFor(*session.Get(), global, mode, &appearanceChanged, parent);
    arguments.printerPlatform = HostPrinterPlatform(arguments.printingAvailable);
    SessionOptionsDialog dialog(arguments);
    result = dialog.DoModal();
  }
  if (result != kIdOk) return kIdCancel;

  if (session->GetSessionName() == oldName) {
    if (!SaveSessionAtPath(*session.Get(), path, false, error)) return 0;
    return kIdOk;
  }
  // A rename writes the whole session under the new name first; the old one goes only once the
  // new one is on disk, so a failure leaves the session where it was.
  const VUnicodeString renamed = RenamedSessionPath(path, session->GetSessionName());
  if (!SaveSessionAtPath(*session.Get(), renamed, true, error)) return 0;
  session->SetSessionPath(renamed);
  if (!DeleteSessionAtPath(path, error)) return 0;
  ForgetListing(path);
  return kIdOk;
}

bool GrabSessionOptions(const VUnicodeString& path, bool defaultSession, const QString& folder,
                        QString& error) {
  VReportMessageParams problem;
  SessionConfig* opened =
      OpenSessionByPath(defaultSession ? VUnicodeString(kDefaultSessionName) : path, problem);
  if (!opened) {
    error = MessageText(problem);
    return false;
  }
  VRef<SessionConfig> session(opened);
  GlobalConfig* global = nullptr;
  GetGlobalConfig(&global, -1);
  VRef<GlobalConfig> heldGlobal(global);
  bool appearanceChanged = false;
  SessionOptionsArguments arguments =
      ArgumentsFor(*session.Get(), global, defaultSession ? kSessionOptionsDefaultSession : 0,
                   &appearanceChanged, nullptr);
  arguments.connectPageFlag = true;
  SessionOptionsDialog dialog(arguments);
  dialog.show();
  // Every page makes its controls when first shown; once all have, the dialog takes the size the
  // largest asks for, so that every picture shows the dialog at one size.
  for (VPropertyTreePage* page : dialog.Pages()) {
    if (!dialog.IsPageVisible(page)) continue;
    dialog.ShowPageUnchecked(page);
    QApplication::processEvents();
  }
  dialog.resize(dialog.sizeHint().expandedTo(QSize(720, 520)));
  std::vector<QString> written;
  bool ok = GrabPages(dialog, folder, QString::fromLatin1(kPicturePrefix), written, error);
  dialog.reject();  // nothing of what was drawn is kept
  if (ok && defaultSession) {
    // The question that follows an edit of the Default session.
    ApplyDefaultSessionChangesDialog question;
    question.show();
    QString file = QDir(folder).filePath(QString::fromLatin1(kApplyPicture));
    ok = question.grab().save(file, "PNG");
    if (!ok) error = QStringLiteral("cannot write ") + file;
    question.reject();
  }
  return ok;
}
