// The "Map Key" dialog: waits for one key press and closes with its scan code and modifiers.
// Key events are taken before the dialog's own handling, so Escape, Enter and Tab are captured
// like any other key; only Cancel (clicked) ends the wait without a key.
#pragma once

#include <cstdint>

#include "marrowby/dialog.h"

class CaptureKeyDialog : public VDialog {
  Q_OBJECT

 public:
  explicit CaptureKeyDialog(QWidget* parent = nullptr);

  // A Windows-style key message: 1 when the key was taken (the dialog closes), 0 when it only
  // was a modifier (or a key with no place on the keyboard).
  int KeyDown(uint32_t virtualKey, unsigned repeatCount, unsigned flags);
  int KeyUp(uint32_t virtualKey, unsigned repeatCount, unsigned flags);
  unsigned GetScanCode() const { return scanCode_; }
  uint32_t GetModifiers() const { return modifiers_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int Take(uint32_t virtualKey, unsigned flags, bool release);
  bool HandleKey(QEvent* event);

  unsigned scanCode_ = 0;
  uint32_t modifiers_ = 0;
  uint32_t liveModifiers_ = 0;  // of the key event being handled
};

// Runs the dialog; true with the key when one was captured (scan code non-zero).
bool LaunchCaptureKeyDialog(unsigned& scanCode, unsigned& modifiers, QWidget* parent);
