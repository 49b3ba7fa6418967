#include "ui/keymap/capture_key_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/keymap/key_events.h"
#include "ui/keymap/keymap_ui_messages.h"

CaptureKeyDialog::CaptureKeyDialog(QWidget* parent) : VDialog(parent) {
  setWindowTitle(CatalogueText(keymapui::kCaptureTitle));
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(CatalogueText(keymapui::kCapturePrompt), this);
  prompt->setWordWrap(true);
  layout->addWidget(prompt);
  auto* waiting = new QLabel(CatalogueText(keymapui::kCaptureWaiting), this);
  waiting->setAlignment(Qt::AlignCenter);
  layout->addWidget(waiting);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* cancel = buttons->addButton(CatalogueText(ui_messages::kCancel),
                                           QDialogButtonBox::RejectRole);
  // The button must not take Space or Enter for itself: they are keys to capture.
  cancel->setFocusPolicy(Qt::NoFocus);
  cancel->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumWidth(360);
  // Keys reach the focused child first; the dialog looks at them before any child does.
  qApp->installEventFilter(this);
}

int CaptureKeyDialog::KeyDown(uint32_t virtualKey, unsigned, unsigned flags) {
  return Take(virtualKey, flags, false);
}

int CaptureKeyDialog::KeyUp(uint32_t virtualKey, unsigned, unsigned flags) {
  return Take(virtualKey, flags, true);
}

int CaptureKeyDialog::Take(uint32_t virtualKey, unsigned flags, bool release) {
  keyevents::Capture capture = keyevents::CaptureKey(virtualKey, flags, release, liveModifiers_);
  if (!capture.taken) return 0;
  scanCode_ = capture.scanCode;
  modifiers_ = capture.modifiers;
  done(kIdOk);
  return 1;
}

bool CaptureKeyDialog::HandleKey(QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease &&
      event->type() != QEvent::ShortcutOverride)
    return false;
  auto* key = static_cast<QKeyEvent*>(event);
  // Shortcuts would otherwise act on the key before it arrives.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return false;
  }
  if (key->isAutoRepeat()) return true;
  keyevents::KeyMessage message = keyevents::MessageOfEvent(*key);
  liveModifiers_ = keyevents::ModifierBitsOfQt(key->modifiers());
  if (event->type() == QEvent::KeyPress) {
    KeyDown(message.virtualKey, 1, message.flags);
  } else {
    KeyUp(message.virtualKey, 1, message.flags);
  }
  return true;  // no key goes on to the dialog's own handling (Escape, Enter)
}

bool CaptureKeyDialog::event(QEvent* event) {
  if (HandleKey(event)) return true;
  return VDialog::event(event);
}

bool CaptureKeyDialog::eventFilter(QObject* watched, QEvent* event) {
  if (isVisible() && watched != this && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this && HandleKey(event))
    return true;
  return VDialog::eventFilter(watched, event);
}

bool LaunchCaptureKeyDialog(unsigned& scanCode, unsigned& modifiers, QWidget* parent) {
  CaptureKeyDialog dialog(parent);
  dialog.DoModal();
  scanCode = dialog.GetScanCode();
  modifiers = dialog.GetModifiers();
  return scanCode != 0;
}
