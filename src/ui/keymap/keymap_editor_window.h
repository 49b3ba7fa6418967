// A key map file edited on its own: the key map editor over the file's mappings, OK writing the
// file (and closing only when it was written), Cancel leaving it as it was.
#pragma once

#include "config/keymap/keymap.h"
#include "marrowby/dialog.h"

class GlobalConfig;
class KeymapEditorPanel;

class KeymapEditorWindow : public VDialog {
  Q_OBJECT

 public:
  // `keymap` holds what was read from `fileName` (or nothing for a new file).
  KeymapEditorWindow(const VUnicodeString& fileName, Keymap* keymap, GlobalConfig* global,
                     QWidget* parent = nullptr);
  KeymapEditorPanel* Panel() const { return panel_; }

 protected:
  bool OnOK() override;

 private:
  VUnicodeString fileName_;
  Keymap* keymap_;
  KeymapEditorPanel* panel_;
};

// Reads a key map file for the window. A missing file is a new, empty key map; a file that cannot
// be read or has too many bad lines fails with the reason in `report`; one or two bad lines load
// with a warning in `report` (`warned` set).
bool LoadKeymapForEditing(const VUnicodeString& fileName, Keymap& keymap,
                          VReportMessageParams& report, bool& warned);
