#include "ui/keymap/on_screen_keyboard.h"

#include <algorithm>
#include <optional>

#include <QCheckBox>
#include <QScreen>

#include "marrowby/qt_text.h"
#include "ui/keymap/keyboard_layout.h"
#include "ui/keymap/keymap_ui_messages.h"

namespace {

// Pixels per dialog unit: the tables were drawn for a dialog font of about this size.
constexpr double kScale = 1.3;

QRect Pixels(const keylayout::Placed& place, int top) {
  auto px = [](int units) { return static_cast<int>(units * kScale + 0.5); };
  return QRect(px(place.x), top + px(place.y), px(place.x + place.width) - px(place.x),
               px(place.y + place.height) - px(place.y));
}

}  // namespace

OnScreenKeyboard::OnScreenKeyboard(const keylegends::KeyboardLayout* layout, QWidget* parent)
    : QWidget(parent) {
  using namespace keylayout;
  std::span<const Entry> mainTable = MainTable();
  main_.assign(mainTable.size(), nullptr);
  int bottom = 0;
  for (const Placed& place : Place(mainTable)) {
    const Entry& entry = mainTable[place.index];
    auto* button = new KeyboardButton(entry.scanCode, entry.extended ? 1 : 0,
                                      QString::fromStdU16String(entry.label), entry.font,
                                      entry.fixedLegend ? 1 : 0, this);
    button->ComputeStates(layout);
    button->setGeometry(Pixels(place, 0));
    button->setVisible(place.width > 0);
    connect(button, &QPushButton::clicked, this, [this, button] { emit KeyClicked(button); });
    main_[place.index] = button;
    bottom = std::max(bottom, button->geometry().bottom());
  }
  std::span<const Entry> modifierTable = ModifierTable();
  for (const Placed& place : Place(modifierTable)) {
    const Entry& entry = modifierTable[place.index];
    auto* toggle = new QPushButton(QString::fromStdU16String(entry.label), this);
    toggle->setCheckable(true);
    toggle->setFocusPolicy(Qt::NoFocus);
    toggle->setGeometry(Pixels(place, 0));
    // A key map binds no key to the state of Caps Lock: its toggle is shown, not used.
    if (QString::fromStdU16String(entry.label) == QStringLiteral("Caps")) toggle->setEnabled(false);
    connect(toggle, &QPushButton::toggled, this, [this, toggle](bool on) {
      if (updating_) return;
      updating_ = true;
      for (QPushButton* other : toggles_)
        if (other != toggle && other->text() == toggle->text()) other->setChecked(on);
      updating_ = false;
      TogglesChanged();
    });
    toggles_.push_back(toggle);
  }
  std::span<const NumpadEntry> numpadTable = NumpadTable();
  std::vector<Entry> numpadEntries;
  for (const NumpadEntry& entry : numpadTable) numpadEntries.push_back(entry.entry);
  for (const Placed& place : Place(numpadEntries, kNumpadOffset)) {
    const NumpadEntry& entry = numpadTable[place.index];
    auto* button = new NumpadButton(entry.entry.scanCode, 0,
                                    QString::fromStdU16String(entry.entry.label), entry.entry.font,
                                    entry.virtualKey, this);
    button->ComputeStates(layout);
    button->setGeometry(Pixels(place, 0));
    button->hide();
    connect(button, &QPushButton::clicked, this, [this, button] { emit KeyClicked(button); });
    numpad_.push_back(button);
    shadowed_.push_back(FindButton(entry.entry.scanCode, false));
  }
  numLock_ = new QCheckBox(CatalogueText(keymapui::kNumLockLabel), this);
  numLock_->adjustSize();
  // Above the keypad, beside the function row, where the main table leaves room.
  numLock_->move(static_cast<int>(kNumpadOffset * kScale),
                 (main_[0]->geometry().height() - numLock_->height()) / 2);
  int right = 0;
  for (QWidget* child : findChildren<QWidget*>()) right = std::max(right, child->geometry().right());
  setMinimumSize(right + 1, bottom + 1);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  KeyboardButton::SetCurrentModifier(0);
}


QSize OnScreenKeyboard::sizeHint() const { return minimumSize(); }

KeyboardButton* OnScreenKeyboard::ButtonAt(size_t mainIndex) const {
  return mainIndex < main_.size() ? main_[mainIndex] : nullptr;
}

KeyboardButton* OnScreenKeyboard::FindButton(unsigned scanCode, bool extended) const {
  std::optional<size_t> index = keylayout::FindKey(scanCode, extended);
  return index ? ButtonAt(*index) : nullptr;
}

KeyboardButton* OnScreenKeyboard::FindByVirtualKey(uint32_t virtualKey, bool extended) const {
  for (KeyboardButton* button : main_)
    if (button && button->VirtualKey() == virtualKey && button->Extended() == extended)
      return button;
  for (NumpadButton* button : numpad_)
    if (button->VirtualKey() == virtualKey && button->Extended() == extended) return button;
  return nullptr;
}

int OnScreenKeyboard::Modifier() const {
  int modifier = 0;
  for (QPushButton* toggle : toggles_) {
    if (!toggle->isChecked()) continue;
    if (toggle->text() == QStringLiteral("CTRL")) modifier |= keylegends::kModifierCtrl;
    if (toggle->text() == QStringLiteral("SHIFT")) modifier |= keylegends::kModifierShift;
    if (toggle->text() == QStringLiteral("ALT")) modifier |= keylegends::kModifierAlt;
  }
  return modifier;
}

void OnScreenKeyboard::SetModifier(int modifier) {
  updating_ = true;
  for (QPushButton* toggle : toggles_) {
    if (toggle->text() == QStringLiteral("CTRL")) toggle->setChecked(modifier & keylegends::kModifierCtrl);
    if (toggle->text() == QStringLiteral("SHIFT")) toggle->setChecked(modifier & keylegends::kModifierShift);
    if (toggle->text() == QStringLiteral("ALT")) toggle->setChecked(modifier & keylegends::kModifierAlt);
  }
  updating_ = false;
  TogglesChanged();
}

void OnScreenKeyboard::TogglesChanged() {
  KeyboardButton::SetCurrentModifier(Modifier());
  for (KeyboardButton* button : findChildren<KeyboardButton*>()) button->update();
}

void OnScreenKeyboard::SetNumLock(bool on) {
  if (numLock_->isChecked() != on) numLock_->setChecked(on);
  for (size_t i = 0; i < numpad_.size(); ++i) {
    numpad_[i]->setVisible(on);
    if (shadowed_[i]) shadowed_[i]->setVisible(!on);
  }
}
