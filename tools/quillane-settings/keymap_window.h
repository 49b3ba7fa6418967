// --keymap-editor PATH: a key map file edited on its own (OK saves it and exits 0, Cancel exits
// 1), or with --grab DIR, pictures of the key map editor, the Mapped Keys page and its dialogs.
#pragma once

#include "settings_options.h"

class QWidget;

namespace settings {

int RunKeymapEditorWindow(const Options& options);
// The main window's Key Map Editor entry: asks for a key map file, then edits it.
void EditKeymapFile(QWidget* parent);

}  // namespace settings
