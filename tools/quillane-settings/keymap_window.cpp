#include "keymap_window.h"

#include <cstdio>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

#include "config/global/global_config_instance.h"
#include "config/keymap/key_codes.h"
#include "config/keymap/keymap_file.h"
#include "dialog_grab.h"
#include "host_startup.h"
#include "marrowby/file_browse.h"
#include "ui/keymap/keymap_ui_messages.h"
#include "config/session/session_config.h"
#include "marrowby/message_box.h"
#include "marrowby/page_grab.h"
#include "marrowby/property_tree.h"
#include "marrowby/qt_text.h"
#include "platform/file_system.h"
#include "ui/keymap/capture_key_dialog.h"
#include "ui/keymap/keymap_editor_panel.h"
#include "ui/keymap/keymap_editor_window.h"
#include "ui/keymap/on_screen_keyboard.h"
#include "ui/keymap/selected_key_dialog.h"
#include "ui/keymap/session_mapped_keys_page.h"

namespace settings {

namespace {

int Fail(const std::string& message) { return ReportStartFailure(message, kExitFailed); }

GlobalConfig* SharedGlobal() {
  GlobalConfig* shared = nullptr;
  GetGlobalConfig(&shared, -1);
  return shared;
}

// The windows drawn one after the other are hidden again, so that each picture shows one.
bool Save(QWidget* window, const std::string& folder, const std::string& name, std::string& error) {
  bool saved = SaveWindowPicture(window, folder, name, error);
  window->hide();
  return saved;
}

// A few bindings of every kind, so that the pictures show what rows look like.
void SampleMappings(IKeymap& keymap) {
  keymap.Add({0x74 | kKeyCtrl | kKeyShift, kActionSend, u"ls -l\\r\\n", {}});
  keymap.Add({0x2D | kKeyExtended | kKeyShift, 39, {}, {}});
  keymap.Add({0x21 | kKeyExtended | kKeyShift, 8, {}, {}});
  keymap.Add({0x78, kActionRun, u"/home/ana/scripts/backup.py", u"--quiet"});
  keymap.Add({0x7B | kKeyAlt, kActionSetButtonBar, u"Default", {}});
}

bool GrabAll(Keymap& keymap, const VUnicodeString& fileName, const std::string& folder,
             std::string& error) {
  if (keymap.GetCount() == 0) SampleMappings(keymap);
  {
    KeymapEditorWindow window(fileName, &keymap, nullptr);
    window.resize(window.sizeHint());
    if (!Save(&window, folder, "keymap-editor", error)) return false;
  }
  {
    // The page as the Session Options dialog shows it, over a session of defaults.
    VRef<SessionConfig> session(new SessionConfig(u"Sample"));
    for (size_t i = 0; i < keymap.GetCount(); ++i) session->terminal.keymap.Add(keymap.GetAt(i));
    SessionPageContext context;
    context.session = session.Get();
    VPropertyTreeDialog dialog(QStringLiteral("Session Options - Sample"), nullptr, nullptr);
    auto* page = new SessionMappedKeysPage(context);
    dialog.AddPage(page);
    dialog.show();
    QApplication::processEvents();
    // The page builds its controls when first shown: the dialog takes their size after that.
    dialog.resize(dialog.sizeHint().expandedTo(dialog.size()));
    QApplication::processEvents();
    std::vector<QString> written;
    QString grabError;
    if (!GrabPages(dialog, QString::fromStdString(folder), QStringLiteral("session-options"),
                   written, grabError)) {
      error = grabError.toStdString();
      return false;
    }
    // The legends follow the modifier toggles: the keyboard with Shift held.
    page->Panel()->Keyboard()->SetModifier(2);
    QApplication::processEvents();
    if (!Save(page->Panel()->Keyboard(), folder, "keymap-keyboard-shift", error)) return false;
    page->Panel()->Keyboard()->SetModifier(0);
    dialog.hide();
  }
  {
    CaptureKeyDialog capture;
    if (!Save(&capture, folder, "keymap-capture", error)) return false;
  }
  {
    // An unmapped Ctrl+[ proposes the escape character in octal.
    KeymapEditorPanel panel(&keymap, nullptr);
    KeyboardButton* bracket = panel.Keyboard()->FindButton(26, false);
    Keymap scratch;
    SelectedKeyDialog send(nullptr, &scratch, bracket, static_cast<int>(bracket->VirtualKey() | kKeyCtrl));
    if (!Save(&send, folder, "keymap-selected-key", error)) return false;
    scratch.Add({0x70 | kKeyAlt, 254, {}, {}});
    SelectedKeyDialog vt(nullptr, &scratch, panel.Keyboard()->FindButton(59, false),
                         static_cast<int>(0x70 | kKeyAlt));
    if (!Save(&vt, folder, "keymap-selected-key-vt", error)) return false;
  }
  return true;
}

}  // namespace

int RunKeymapEditorWindow(const Options& options) {
  VUnicodeString fileName = VUnicodeString::FromUtf8(options.windowArgument);
  Keymap keymap;
  VReportMessageParams report;
  bool warned = false;
  if (!LoadKeymapForEditing(fileName, keymap, report, warned))
    return Fail(FromQString(MessageText(report)).ToUtf8());
  if (warned) std::fprintf(stderr, "quillane-settings: %s\n", MessageText(report).toUtf8().constData());
  if (!options.grabFolder.empty()) {
    if (vfs::KindOfPath(options.grabFolder) == vfs::PathKind::Missing &&
        !vfs::CreateFolderTree(options.grabFolder, 0755).ok())
      return Fail("cannot create " + options.grabFolder);
    std::string error;
    if (!GrabAll(keymap, fileName, options.grabFolder, error)) return Fail(error);
    return kExitOk;
  }
  VRef<GlobalConfig> global(SharedGlobal());
  KeymapEditorWindow window(fileName, &keymap, global.Get());
  return window.DoModal() == kIdOk ? kExitOk : kExitCancelled;
}

void EditKeymapFile(QWidget* parent) {
  // Key maps live in the configuration's "keymaps" folder unless the user keeps them elsewhere.
  QString folder = QString::fromStdString(vkeymap::KeymapFolderPath(u"x.key"));
  VFileDialog choose(VFileDialog::Mode::Open, CatalogueText(keymapui::kEditKeymapFileTitle),
                     QString(), VFileFilter(CatalogueText(keymapui::kKeymapFilesFilter),
                                            QStringLiteral("*.key")),
                     parent);
  choose.SetInitialPath(VExtractLocalDirectory(folder));
  QString path;
  if (!choose.DoModal(path)) return;
  VUnicodeString fileName = FromQString(path);
  Keymap keymap;
  VReportMessageParams report;
  bool warned = false;
  if (!LoadKeymapForEditing(fileName, keymap, report, warned)) {
    VMessageBox(parent, report, kMbOk | kMbIconError);
    return;
  }
  if (warned) VMessageBox(parent, report, kMbOk | kMbIconWarning);
  VRef<GlobalConfig> global(SharedGlobal());
  KeymapEditorWindow window(fileName, &keymap, global.Get(), parent);
  window.DoModal();
}

}  // namespace settings
