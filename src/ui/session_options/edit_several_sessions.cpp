#include "ui/session_options/edit_several_sessions.h"

#include <stdexcept>

#include "config/global/global_config.h"
#include "config/global/global_config_instance.h"
#include "config/session/session_config.h"
#include "marrowby/message_box.h"
#include "ui/session_options/session_options_dialog.h"

int EditSeveralSessions(const std::vector<VUnicodeString>& paths, QWidget* parent,
                        ApplyDefaultCounts& counts, VReportMessageParams& error) {
  if (paths.empty()) throw std::invalid_argument("EditSeveralSessions needs at least one session");
  // The first session stands for all of them: the dialog shows its values, and what the pages
  // change in it, not yet committed, is what the sessions take.
  SessionConfig* opened = OpenSessionByPath(paths.front(), error);
  if (!opened) return 0;
  VRef<SessionConfig> shown(opened);
  GlobalConfig* global = nullptr;
  GetGlobalConfig(&global, -1);
  VRef<GlobalConfig> heldGlobal(global);

  bool appearanceChanged = false;
  SessionOptionsArguments arguments;
  arguments.global = global;
  arguments.session = shown.Get();
  arguments.mode = kSessionOptionsMultiple;
  arguments.maxColumns = global ? global->maxColumns.current : 0;
  arguments.printingAvailable = !(global && global->disableAllPrinting.current);
  arguments.printerPlatform = HostPrinterPlatform(arguments.printingAvailable);
  arguments.appearanceChanged = &appearanceChanged;
  arguments.parent = parent;
  int result;
  {
    SessionOptionsDialog dialog(arguments);
    result = static_cast<int>(dialog.DoModal());
  }
  if (result != kIdOk) return kIdCancel;

  // Each session is read again from its file and takes only the changed settings, so values
  // the sessions do not share stay their own.
  for (const VUnicodeString& path : paths) {
    VReportMessageParams ignored;
    ApplyDefaultSessionChanges(*shown.Get(), path, counts, ignored);
  }
  VReportMessageParams notUpdated;
  if (DescribeApplyDefaultResult(counts, notUpdated))
    VMessageBox(parent, notUpdated, kMbOk | kMbIconWarning);
  return kIdOk;
}
