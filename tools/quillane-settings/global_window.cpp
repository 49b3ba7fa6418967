#include "global_window.h"

#include <cstdio>
#include <memory>

#include <QApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "config/database/session_database_instance.h"
#include "config/global/global_config_instance.h"
#include "environment/installed_products.h"
#include "environment/library_init.h"
#include "environment/products.h"
#include "host_startup.h"
#include "marrowby/dialog.h"
#include "marrowby/message_box.h"
#include "marrowby/page_grab.h"
#include "marrowby/qt_text.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "ui/global_options/global_options_dialog.h"
#include "ui/printer_platform_qt.h"

namespace settings {
namespace {

int Fail(const std::string& message, int code) { return ReportStartFailure(message, code); }

// The configuration folder the Configuration Paths page starts from: the one in use, when the
// configuration is a folder.
VUnicodeString ConfigFolderShown(const Options& options) {
  if (!options.xmlFile.empty() || !options.registryHive.empty())
    return VUnicodeString::FromUtf8(options.configFolder);
  return VUnicodeString::FromUtf8(HostConfigurationLocation());
}

}  // namespace

int ChooseSessions(const VUnicodeString& title, VStringArray& sessions, void* owner) {
  VDialog dialog(static_cast<QWidget*>(owner));
  dialog.setWindowTitle(ToQString(title));
  auto* layout = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  layout->addWidget(list);
  dialog.AddOkCancel(layout);
  if (SessionDatabase* database = GetSessionDatabase()) {
    SessionDatabase::WalkOptions walk;
    walk.hideDotNames = true;
    database->WalkSessionNames(
        [&](const VUnicodeString& folder, const VUnicodeString& name) {
          VUnicodeString path = name;
          if (!folder.empty()) path = VUnicodeString(folder + u"\\" + name);
          list->addItem(ToQString(path));
          return true;
        },
        walk);
  }
  int result = dialog.DoModal();
  if (result != kIdOk) return result;
  for (QListWidgetItem* item : list->selectedItems()) sessions.Add(FromQString(item->text()));
  return result;
}

int RunGlobalOptionsWindow(const Options& options) {
  // The Default Session page asks the host to choose sessions.
  QuillaneInitGUI(&ChooseSessions, nullptr);
  GlobalConfig* raw = nullptr;
  if (!GetGlobalConfig(&raw, -1) || !raw) return Fail("the global configuration cannot be loaded", kExitFailed);
  VRef<GlobalConfig> config(raw);
  VReportMessageParams unreadable;
  if (GlobalConfigUnreadable(unreadable))
    return Fail(FromQString(MessageText(unreadable)).ToUtf8(), kExitFailed);

  if (!options.grabFolder.empty()) {
    // The pictures show every page: the terminal and the file-transfer application both.
    SetKarvellInstalled(true);
    SetLumbrelInstalled(true);
    GlobalOptionsArguments arguments;
    arguments.configFolder = ConfigFolderShown(options);
    GlobalOptionsDialog dialog(config.Get(), arguments);
    dialog.resize(760, 560);
    std::vector<QString> written;
    QString grabError;
    if (!GrabPages(dialog, QString::fromStdString(options.grabFolder),
                   QStringLiteral("global-options"), written, grabError))
      return Fail(grabError.toStdString(), kExitFailed);
    return kExitOk;
  }

  VReportMessageParams saveError;
  int64_t result = ShowGlobalOptionsAndSave(*config.Get(), ConfigFolderShown(options), nullptr,
                                            saveError);
  if (result == kIdOk) return kExitOk;
  if (saveError.IsError())
    return Fail(FromQString(MessageText(saveError)).ToUtf8(), kExitFailed);
  return kExitCancelled;
}

int64_t ShowGlobalOptionsAndSave(GlobalConfig& config, const VUnicodeString& configFolder,
                                 QWidget* parent, VReportMessageParams& saveError) {
  // The printer panel checks margins against the real printer; a print system that does not
  // answer within the limit leaves the panel without one instead of holding the window.
  constexpr uint64_t kPrintingStartLimitMs = 10000;
  StartProcessPrinting(!config.disableAllPrinting.current, kPrintingStartLimitMs,
                       [](bool, const VReportMessageParams&) {});
  int64_t result = ShowGlobalOptionsDialog(&config, VUnicodeString(), false, false, false, 0,
                                           true, configFolder, nullptr, nullptr, nullptr, parent,
                                           nullptr, true);
  PrinterState::Process().Uninitialize();
  if (result != kIdOk) return result;
  // OK that could not be kept is not reported as OK.
  if (!SaveGlobalConfig(false, saveError)) return 0;
  return result;
}

void EditGlobalOptions(QWidget* parent) {
  GlobalConfig* raw = nullptr;
  if (!GetGlobalConfig(&raw, -1) || !raw) return;
  VRef<GlobalConfig> config(raw);
  VReportMessageParams saveError;
  if (ShowGlobalOptionsAndSave(*config.Get(), GetTlvConfigPathSub(), parent, saveError) == 0 &&
      saveError.IsError())
    VMessageBox(parent, saveError, kMbOk | kMbIconError);
}

}  // namespace settings
