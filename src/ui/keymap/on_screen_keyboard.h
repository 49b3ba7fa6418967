// The on-screen keyboard: the buttons of the three layout tables placed at their positions, the
// Shift, Ctrl and Alt toggles that choose which legends every key shows (and with which modifiers
// a clicked key is mapped), and the keypad digits shown while the number lock is on.
#pragma once

#include <memory>
#include <vector>

#include <QWidget>

#include "ui/keymap/keyboard_button.h"

class QCheckBox;

class OnScreenKeyboard : public QWidget {
  Q_OBJECT

 public:
  // `layout` gives the legends (null: the labels only).
  explicit OnScreenKeyboard(const keylegends::KeyboardLayout* layout, QWidget* parent = nullptr);

  QSize sizeHint() const override;

  // The main-table button of a table index, of a scan code, of a virtual key.
  KeyboardButton* ButtonAt(size_t mainIndex) const;
  KeyboardButton* FindButton(unsigned scanCode, bool extended) const;
  KeyboardButton* FindByVirtualKey(uint32_t virtualKey, bool extended) const;
  const std::vector<NumpadButton*>& NumpadButtons() const { return numpad_; }
  // The toggles: "SHIFT", "CTRL", "ALT" (both of each pair move together), "Caps".
  std::vector<QPushButton*> ModifierToggles() const { return toggles_; }
  QCheckBox* NumLockBox() const { return numLock_; }

  // The modifier index the toggles make (Ctrl 1, Shift 2, Alt 4).
  int Modifier() const;
  void SetModifier(int modifier);
  void SetNumLock(bool on);

 signals:
  // A key was clicked; `button` is a main-table or keypad-digit button.
  void KeyClicked(KeyboardButton* button);

 private:
  void TogglesChanged();

  std::vector<KeyboardButton*> main_;  // by main-table index (null for spacers and rows)
  std::vector<NumpadButton*> numpad_;
  std::vector<KeyboardButton*> shadowed_;  // the keypad keys the digits lie over
  std::vector<QPushButton*> toggles_;
  QCheckBox* numLock_ = nullptr;
  bool updating_ = false;
};
