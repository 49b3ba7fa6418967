#include "main_window_host.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>

#include "colors_window.h"
#include "environment/app_paths.h"
#include "global_window.h"
#include "host_startup.h"
#include "keymap_window.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "platform/app_info.h"
#include "ui/main_window/connect_bar.h"
#include "ui/main_window/passphrase_change_request.h"
#include "ui/main_window/session_tree_edit.h"
#include "ui/moving/moving_dialogs.h"
#include "ui/session_options/edit_default_session.h"
#include "ui/session_options/edit_session.h"

namespace settings {
namespace {

// The folder behind the configuration, also where the configuration is one settings file.
VUnicodeString ConfigFolderInUse() { return GetTlvConfigPathSub(); }

// The personal data folder the host was started with; without one, the application's
// remembered folder (or the default beside the configuration), which the moves then fill.
VUnicodeString PersonalFolderInUse() {
  std::string personal = HostPersonalDataLocation();
  if (!personal.empty()) return VUnicodeString::FromUtf8(personal);
  return GetAppPersonalDataPath(VGetAppName(), ConfigFolderInUse());
}

}  // namespace

VMainWindowActions HostActions() {
  VMainWindowActions actions;
  actions.changePassphrase = [](QWidget* parent) { VRequestPassphraseChange(parent); };
  actions.sessionOptions = [](QWidget* parent, const QString& path) {
    VReportMessageParams problem;
    if (EditSessionAtPath(FromQString(path), parent, problem) == 0)
      VMessageBox(parent, problem, kMbOk | kMbIconError);
  };
  actions.defaultSession = [](QWidget* parent) {
    bool allChanged = false;
    EditDefaultSession(nullptr, 0, parent, allChanged);
  };
  actions.colorSchemes = [](QWidget* parent) { EditColorSchemes(parent); };
  actions.keyMapEditor = [](QWidget* parent) { EditKeymapFile(parent); };
  actions.globalOptions = [](QWidget* parent) { EditGlobalOptions(parent); };
  actions.exportSettings = [](QWidget* parent) { RunExportSettingsDialog(parent); };
  actions.importSettings = [](QWidget* parent) { RunImportSettingsDialog(parent); };
  actions.migratePersonalData = [](QWidget* parent) {
    RunMigratePersonalData(parent, ConfigFolderInUse(), PersonalFolderInUse());
  };
  actions.mergePersonalData = [](QWidget* parent) {
    RunMergePersonalData(parent, ConfigFolderInUse(), PersonalFolderInUse());
  };
  return actions;
}

int RunMainWindow(const Options& options) {
  std::string error;
  int exitCode = kExitOk;
  if (!options.grabFolder.empty()) {
    if (!GrabMainWindow(options, error, exitCode)) return ReportStartFailure(error, exitCode);
    return kExitOk;
  }
  if (!StartHost(options, error, exitCode)) return ReportStartFailure(error, exitCode);
  VMainWindow window(HostActions(), QString::fromStdString(HostConfigurationLocation()));
  window.show();
  return QApplication::exec() == 0 ? kExitOk : kExitFailed;
}

namespace {

// A small tree of the kind the pictures explain: folders, sessions at the top and below.
bool MakeSampleTree(std::string& error) {
  struct Entry {
    const char16_t* folder;
    const char16_t* name;
    bool isFolder;
  } entries[] = {
      {u"", u"Lab", true},           {u"", u"Production", true},
      {u"Production", u"Web", true}, {u"", u"build-server", false},
      {u"", u"jump-host", false},    {u"Lab", u"router1", false},
      {u"Lab", u"router2", false},   {u"Lab", u"switch-core", false},
      {u"Production", u"db-primary", false}, {u"Production\\Web", u"web1", false},
      {u"Production\\Web", u"web2", false},  {u"Production\\Web", u"web-cache", false},
  };
  for (const Entry& entry : entries) {
    VReportMessageParams failure;
    bool made = entry.isFolder ? session_tree::NewFolder(entry.folder, entry.name, failure)
                               : session_tree::NewSession(entry.folder, entry.name, failure);
    if (!made) {
      error = failure.GetTextTrimmed().ToUtf8();
      return false;
    }
  }
  return true;
}

void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

bool Save(const QImage& image, const QString& path, std::string& error) {
  if (image.save(path, "PNG")) return true;
  error = "cannot write " + path.toStdString();
  return false;
}

}  // namespace

bool GrabMainWindow(const Options& options, std::string& error, int& exitCode) {
  exitCode = kExitFailed;
  QTemporaryDir config;
  if (!config.isValid()) {
    error = "cannot make a temporary configuration folder for the pictures";
    return false;
  }
  Options own = options;
  own.configFolder = config.path().toStdString();
  own.xmlFile.clear();
  own.registryHive.clear();
  own.personalFolder.clear();
  if (!StartHost(own, error, exitCode)) return false;
  exitCode = kExitFailed;
  if (!MakeSampleTree(error)) return false;

  VMainWindow window(HostActions(), config.path());
  window.resize(560, 440);
  window.show();
  for (QTreeWidgetItem* item = window.ItemOf(QStringLiteral("Production\\Web"), true); item;
       item = item->parent())
    item->setExpanded(true);
  window.SelectPath(QStringLiteral("Lab\\router2"));
  QApplication::processEvents();
  QDir folder(QString::fromStdString(options.grabFolder));
  if (!Save(window.grab().toImage(), folder.filePath(QStringLiteral("main-window.png")), error))
    return false;

  // The connect bar with its suggestions: the list is a window of its own, drawn over the main
  // window where it stands.
  VConnectBar* bar = window.ConnectBar();
  bar->Edit()->setFocus();
  Type(bar->Edit(), QStringLiteral("web"));
  for (int i = 0; i < 20 && bar->SuggestionsText() != bar->Edit()->text(); ++i)
    QApplication::processEvents();
  QWidget* popup = bar->Completer()->popup();
  QApplication::processEvents();
  QPixmap picture = window.grab();
  if (popup->isVisible()) {
    QPainter painter(&picture);
    popup->render(&painter, window.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))));
  }
  if (!Save(picture.toImage(), folder.filePath(QStringLiteral("main-window-connect-bar.png")),
            error))
    return false;
  exitCode = kExitOk;
  return true;
}

}  // namespace settings
