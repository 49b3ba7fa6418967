// The keys of the on-screen keyboard: owner-drawn buttons that know their scan code, their
// virtual key and the text they produce under each modifier combination, and draw the legend of
// the combination chosen for all of them (one current modifier index for the whole process, as
// the modifier toggles below the keyboard set it).
#pragma once

#include <QPushButton>

#include "ui/keymap/key_legends.h"

class KeyboardButton : public QPushButton {
  Q_OBJECT

 public:
  enum Modifier {
    kNone = 0, kCtrl = 1, kShift = 2, kCtrlShift = 3, kAlt = 4, kAltCtrl = 5, kAltShift = 6,
    kAltCtrlShift = 7,
  };

  KeyboardButton(unsigned scanCode, int extended, const QString& label, unsigned font,
                 unsigned fixedLegend, QWidget* parent = nullptr);

  // Fills the eight key states from `layout` (null: the labels only, no texts).
  virtual void ComputeStates(const keylegends::KeyboardLayout* layout);

  unsigned ScanCode() const { return scanCode_; }
  bool Extended() const { return extended_ != 0; }
  unsigned FontSelector() const { return font_; }
  bool FixedLegend() const { return fixedLegend_ != 0; }
  uint32_t VirtualKey() const { return states_[0].virtualKey; }
  const keylegends::KeyState& State(int modifier) const { return states_[modifier & 7]; }
  // What the button shows for `modifier`: its fixed label, else the text the key produces
  // (control characters as "^X"), else its label.
  QString Legend(int modifier) const;

  int state() const { return state_; }
  void SetState(int state);

  static void SetCurrentModifier(int modifier);
  static int CurrentModifier();

 protected:
  void paintEvent(QPaintEvent* event) override;
  keylegends::KeyStates states_{};

 private:
  unsigned scanCode_;
  int extended_;
  QString label_;
  unsigned font_;
  unsigned fixedLegend_;
  int state_ = 0;
  static int currentModifier_;
};

// A keypad key while the number lock is on: its virtual key is fixed (VK_NUMPAD0..9, VK_DECIMAL).
class NumpadButton : public KeyboardButton {
  Q_OBJECT

 public:
  NumpadButton(unsigned scanCode, int extended, const QString& label, unsigned font,
               unsigned long virtualKey, QWidget* parent = nullptr);
  void ComputeStates(const keylegends::KeyboardLayout* layout) override;

 private:
  unsigned long fixedVirtualKey_;
};
