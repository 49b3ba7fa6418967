#include "ui/keymap/keymap_editor_window.h"

#include <QVBoxLayout>

#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "config/keymap/keymap_file.h"
#include "ui/keymap/keymap_editor_panel.h"
#include "ui/keymap/keymap_ui_messages.h"

KeymapEditorWindow::KeymapEditorWindow(const VUnicodeString& fileName, Keymap* keymap,
                                       GlobalConfig* global, QWidget* parent)
    : VDialog(parent), fileName_(fileName), keymap_(keymap) {
  setWindowTitle(CatalogueText(keymapui::kEditorTitle, nullptr, {fileName_}));
  auto* layout = new QVBoxLayout(this);
  panel_ = new KeymapEditorPanel(keymap_, global, this);
  layout->addWidget(panel_, 1);
  AddOkCancel(layout);
}

bool KeymapEditorWindow::OnOK() {
  VReportMessageParams report;
  if (keymap_->Save(fileName_, report)) return true;
  VReportMessageParams error(keymapui::kCannotSave, VGetUiMessageModule());
  error.AddInsert(fileName_);
  error.AddInsert(FromQString(MessageText(report)));
  VMessageBox(this, error, kMbOk);
  return false;
}

bool LoadKeymapForEditing(const VUnicodeString& fileName, Keymap& keymap,
                          VReportMessageParams& report, bool& warned) {
  warned = false;
  // Found as a load finds it (the path, else the configuration's "keymaps" folder), so that
  // OK writes back where the mappings came from.
  if (!vkeymap::KeymapFileExists(fileName)) return true;
  if (!keymap.Load(fileName, report)) return false;
  warned = keymap.GetFailedLineCount() > 0 || !keymap.GetLoadErrors().empty();
  return true;
}
