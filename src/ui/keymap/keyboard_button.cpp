#include "ui/keymap/keyboard_button.h"

#include <QPainter>
#include <QStyleOptionButton>

#include "ui/keymap/keyboard_layout.h"

int KeyboardButton::currentModifier_ = 0;

KeyboardButton::KeyboardButton(unsigned scanCode, int extended, const QString& label,
                               unsigned font, unsigned fixedLegend, QWidget* parent)
    : QPushButton(parent), scanCode_(scanCode), extended_(extended), label_(label), font_(font),
      fixedLegend_(fixedLegend) {
  setFocusPolicy(Qt::NoFocus);
  setToolTip(label);
  ComputeStates(nullptr);
}

void KeyboardButton::ComputeStates(const keylegends::KeyboardLayout* layout) {
  keyevents::ScanCode scan{scanCode_, extended_ != 0};
  if (layout) {
    states_ = layout->States(scan);
  } else {
    for (auto& state : states_) state = keylegends::KeyState{keyevents::UsVirtualKey(scan), {}};
  }
  update();
}

QString KeyboardButton::Legend(int modifier) const {
  // Keys drawn with a glyph (Backspace, Tab, Enter) keep it: what they type is a control
  // character, which says less than the glyph.
  if (fixedLegend_ || font_ == keylayout::kFontSymbol) return label_;
  const std::u16string& text = State(modifier).text;
  if (text.empty()) return (modifier == 0) ? label_ : QString();
  if (text.size() == 1 && (text[0] < 0x20 || text[0] == 0x7F))
    return QStringLiteral("^") + QChar(text[0] == 0x7F ? u'?' : static_cast<char16_t>(text[0] + 0x40));
  if (text == u" ") return label_;
  return QString::fromStdU16String(text);
}

void KeyboardButton::SetState(int state) {
  state_ = state;
  update();
}

void KeyboardButton::SetCurrentModifier(int modifier) { currentModifier_ = modifier & 7; }
int KeyboardButton::CurrentModifier() { return currentModifier_; }

void KeyboardButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  if (state_ || isChecked()) option.state |= QStyle::State_On | QStyle::State_Sunken;
  style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
  QFont legendFont = font();
  if (font_ == keylayout::kFontEscape || font_ == keylayout::kFontText) {
    legendFont.setPointSizeF(legendFont.pointSizeF() * 0.85);
  } else if (font_ == keylayout::kFontSymbol) {
    legendFont.setPointSizeF(legendFont.pointSizeF() * 1.2);
  }
  painter.setFont(legendFont);
  painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                             : palette().color(QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(rect().adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextWordWrap,
                   Legend(currentModifier_));
}

NumpadButton::NumpadButton(unsigned scanCode, int extended, const QString& label, unsigned font,
                           unsigned long virtualKey, QWidget* parent)
    : KeyboardButton(scanCode, extended, label, font, 1, parent), fixedVirtualKey_(virtualKey) {
  ComputeStates(nullptr);
}

void NumpadButton::ComputeStates(const keylegends::KeyboardLayout* layout) {
  KeyboardButton::ComputeStates(layout);
  for (auto& state : states_) state.virtualKey = static_cast<uint32_t>(fixedVirtualKey_);
}
