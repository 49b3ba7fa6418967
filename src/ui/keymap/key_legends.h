// What each key of the on-screen keyboard produces under the eight modifier combinations of the
// key map editor, computed with libxkbcommon from a keyboard layout by name, so it needs no
// display. Alt and Alt+Shift only carry the virtual key (Alt is the meta key of a terminal, it
// produces no character of its own); Ctrl+Alt stands for the layout's third level (AltGr), as
// Ctrl+Alt does on the keyboards whose key maps this editor writes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/keymap/key_events.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace keylegends {

// Modifier index: Ctrl adds 1, Shift 2, Alt 4.
constexpr int kModifierCtrl = 1;
constexpr int kModifierShift = 2;
constexpr int kModifierAlt = 4;
constexpr int kModifierStates = 8;

int ModifierIndex(uint32_t keyCode);          // from the modifier bits of a key code
uint32_t ModifierBitsOfIndex(int index);      // and back

struct KeyState {
  uint32_t virtualKey = 0;
  std::u16string text;
};
using KeyStates = std::array<KeyState, kModifierStates>;

// The user's layout: $XKB_DEFAULT_LAYOUT (its first entry, with the first of
// $XKB_DEFAULT_VARIANT), else XKBLAYOUT of /etc/default/keyboard, else "us".
std::string UsersLayoutName();

class KeyboardLayout {
 public:
  // The layout named (an XKB layout such as "us", "de", "fr", optionally with a variant); null
  // with the reason in `error` when the layout's description cannot be compiled.
  static std::unique_ptr<KeyboardLayout> Open(const std::string& layout, std::string& error);
  // The user's layout (UsersLayoutName), else "us"; null only when not even "us"
  // can be compiled (no layout descriptions installed).
  static std::unique_ptr<KeyboardLayout> OpenUsers(std::string& error);
  ~KeyboardLayout();

  const std::string& Name() const { return name_; }
  // The text the key produces with the modifiers of `index` held (Ctrl+Alt: the third level);
  // empty for a key that produces none.
  std::u16string Text(keyevents::ScanCode scan, int index) const;
  // The virtual key of a position: letters (and digits) follow the layout, the rest the US
  // positions.
  uint32_t VirtualKey(keyevents::ScanCode scan) const;
  KeyStates States(keyevents::ScanCode scan) const;

 private:
  KeyboardLayout() = default;
  std::string name_;
  xkb_context* context_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  uint32_t shift_ = 0, control_ = 0, level3_ = 0;  // modifier masks
};

}  // namespace keylegends
