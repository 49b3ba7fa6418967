// The key map editor shared by the Mapped Keys page and the stand-alone key map window: the list
// of mapped keys with Map a Key, Edit and Delete, and the on-screen keyboard whose keys map
// themselves when clicked. It edits the key map it is given in place.
#pragma once

#include <array>
#include <memory>

#include <QWidget>

#include "config/keymap/keymap.h"
#include "ui/keymap/key_legends.h"

class GlobalConfig;
class KeyboardButton;
class OnScreenKeyboard;
class QLabel;
class QPushButton;
class VListCtrl;

// The texts of a row: key combination ("Alt-Ctrl-Shift-VK_M"), function name, first string.
std::array<QString, 3> MappingRowTexts(const KeyMapping& mapping);
// The key combination of a key code.
QString KeyCombinationText(uint32_t keyCode);

class KeymapEditorPanel : public QWidget {
  Q_OBJECT

 public:
  KeymapEditorPanel(IKeymap* keymap, GlobalConfig* global, QWidget* parent = nullptr);
  ~KeymapEditorPanel() override;

  // Fills the list from the key map.
  void Reload();
  void SetReadOnly(bool readOnly);

  // Map a Key after the capture: the key at `scanCode` (extended when `modifiers` has the
  // extended bit) with those modifiers. Nothing happens for a key the keyboard does not have.
  void MapCapturedKey(unsigned scanCode, uint32_t modifiers);
  // The dialog for `button` with `modifiers`, then the row (asking before replacing one).
  void MapButton(KeyboardButton* button, uint32_t modifiers);
  void EditSelected();
  void DeleteSelected();

  VListCtrl* List() const { return list_; }
  OnScreenKeyboard* Keyboard() const { return keyboard_; }
  QPushButton* MapKeyButton() const { return mapKey_; }
  QPushButton* EditButton() const { return edit_; }
  QPushButton* DeleteButton() const { return delete_; }
  // The row of a key code, -1 when none.
  int RowOf(uint32_t keyCode) const;

 private:
  void OnMapKey();
  void UpdateButtons();
  // Shows the key's mapping in its row (added, changed, or removed when unmapped); returns the
  // row or -1.
  int RefreshRow(uint32_t keyCode);

  IKeymap* keymap_;
  GlobalConfig* global_;
  std::unique_ptr<keylegends::KeyboardLayout> layout_;
  VListCtrl* list_;
  QPushButton* mapKey_;
  QPushButton* edit_;
  QPushButton* delete_;
  OnScreenKeyboard* keyboard_;
  bool readOnly_ = false;
};
