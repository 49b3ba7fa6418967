#include "ui/keymap/key_legends.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cctype>

#include "config/keymap/key_codes.h"
#include "platform/app_info.h"
#include "platform/desktop_settings.h"

namespace keylegends {

namespace {

constexpr unsigned kXkbKeycodeOffset = 8;
constexpr uint32_t kVkDivide = 0x6F;

std::u16string Utf16OfUtf32(uint32_t c) {
  std::u16string text;
  if (c < 0x10000) {
    text.push_back(static_cast<char16_t>(c));
  } else if (c <= 0x10FFFF) {
    c -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
  return text;
}

}  // namespace

int ModifierIndex(uint32_t keyCode) {
  return ((keyCode & kKeyAlt) ? kModifierAlt : 0) | ((keyCode & kKeyShift) ? kModifierShift : 0) |
         ((keyCode & kKeyCtrl) ? kModifierCtrl : 0);
}

uint32_t ModifierBitsOfIndex(int index) {
  return ((index & kModifierAlt) ? kKeyAlt : 0) | ((index & kModifierShift) ? kKeyShift : 0) |
         ((index & kModifierCtrl) ? kKeyCtrl : 0);
}

std::unique_ptr<KeyboardLayout> KeyboardLayout::Open(const std::string& layout,
                                                     std::string& error) {
  std::unique_ptr<KeyboardLayout> result(new KeyboardLayout);
  result->name_ = layout;
  // The environment's XKB_DEFAULT_* settings must not change a layout asked for by name.
  result->context_ = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
  if (!result->context_) {
    error = "the keyboard description library could not start";
    return nullptr;
  }
  xkb_context_set_log_level(result->context_, XKB_LOG_LEVEL_CRITICAL);
  std::string name = layout;
  std::string variant;
  // "de(nodeadkeys)" names a variant of a layout.
  if (size_t open = name.find('('); open != std::string::npos && name.back() == ')') {
    variant = name.substr(open + 1, name.size() - open - 2);
    name.resize(open);
  }
  xkb_rule_names names{};
  names.rules = "evdev";
  names.model = "pc105";
  names.layout = name.c_str();
  names.variant = variant.c_str();
  names.options = "";
  result->keymap_ = xkb_keymap_new_from_names(result->context_, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (!result->keymap_) {
    error = "the keyboard layout \"" + layout + "\" is not known to the keyboard descriptions";
    return nullptr;
  }
  auto mask = [&](const char* modifier) -> uint32_t {
    xkb_mod_index_t index = xkb_keymap_mod_get_index(result->keymap_, modifier);
    return index == XKB_MOD_INVALID ? 0 : 1u << index;
  };
  result->shift_ = mask(XKB_MOD_NAME_SHIFT);
  result->control_ = mask(XKB_MOD_NAME_CTRL);
  result->level3_ = mask("Mod5");
  return result;
}

std::string UsersLayoutName() {
  std::string layout = vdesktop::KeyboardLayout();
  // The variant goes with the layout the environment names (its first entry, as the layout).
  if (!vapp::GetEnv("XKB_DEFAULT_LAYOUT").empty()) {
    std::string variant = vapp::GetEnv("XKB_DEFAULT_VARIANT");
    variant = variant.substr(0, variant.find(','));
    bool plain = !variant.empty() && std::all_of(variant.begin(), variant.end(), [](unsigned char c) {
      return std::isalnum(c) || c == '_' || c == '-';
    });
    if (plain) layout += "(" + variant + ")";
  }
  return layout;
}

std::unique_ptr<KeyboardLayout> KeyboardLayout::OpenUsers(std::string& error) {
  if (auto layout = Open(UsersLayoutName(), error)) return layout;
  return Open("us", error);
}

KeyboardLayout::~KeyboardLayout() {
  if (keymap_) xkb_keymap_unref(keymap_);
  if (context_) xkb_context_unref(context_);
}

std::u16string KeyboardLayout::Text(keyevents::ScanCode scan, int index) const {
  if (index == kModifierAlt || index == (kModifierAlt | kModifierShift)) return {};
  if (scan.extended && scan.code == 53) {
    // The keypad's divide key types "/" alone or with Shift, whatever the layout.
    return (index == 0 || index == kModifierShift) ? u"/" : u"";
  }
  std::optional<unsigned> evdev = keyevents::EvdevOfScanCode(scan);
  if (!evdev) return {};
  xkb_keycode_t keycode = *evdev + kXkbKeycodeOffset;
  bool altGr = (index & kModifierAlt) != 0;  // Ctrl+Alt and Ctrl+Alt+Shift
  uint32_t depressed = ((index & kModifierShift) ? shift_ : 0);
  if (altGr) {
    depressed |= level3_;
  } else if (index & kModifierCtrl) {
    depressed |= control_;
  }
  xkb_state* state = xkb_state_new(keymap_);
  if (!state) return {};
  std::u16string text;
  bool produces = true;
  if (altGr) {
    // A key without a third level would give its plain symbol; Ctrl+Alt types nothing there.
    xkb_state_update_mask(state, depressed & ~level3_, 0, 0, 0, 0, 0);
    xkb_level_index_t without = xkb_state_key_get_level(state, keycode, 0);
    xkb_state_update_mask(state, depressed, 0, 0, 0, 0, 0);
    produces = xkb_state_key_get_level(state, keycode, 0) != without;
  } else {
    xkb_state_update_mask(state, depressed, 0, 0, 0, 0, 0);
  }
  if (produces) {
    uint32_t c = xkb_state_key_get_utf32(state, keycode);
    if (c != 0 || (index & kModifierCtrl)) {
      // Ctrl with "@", space or "2" does produce NUL; a key that types nothing gives 0 too.
      xkb_keysym_t sym = xkb_state_key_get_one_sym(state, keycode);
      if (c != 0 || xkb_keysym_to_utf32(sym) != 0) text = Utf16OfUtf32(c);
    }
  }
  xkb_state_unref(state);
  return text;
}

uint32_t KeyboardLayout::VirtualKey(keyevents::ScanCode scan) const {
  uint32_t us = keyevents::UsVirtualKey(scan);
  if (scan.extended) return us;
  std::optional<unsigned> evdev = keyevents::EvdevOfScanCode(scan);
  if (!evdev) return us;
  const xkb_keysym_t* syms = nullptr;
  int count = xkb_keymap_key_get_syms_by_level(keymap_, *evdev + kXkbKeycodeOffset, 0, 0, &syms);
  if (count < 1) return us;
  uint32_t c = xkb_keysym_to_utf32(syms[0]);
  // Only the letters move between layouts (Y and Z, A and Q, M): other keys keep their place.
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 'A' && c <= 'Z') return c;
  return us;
}

KeyStates KeyboardLayout::States(keyevents::ScanCode scan) const {
  KeyStates states;
  uint32_t vk = VirtualKey(scan);
  if (scan.extended && scan.code == 53) vk = kVkDivide;
  for (int index = 0; index < kModifierStates; ++index) {
    states[index].virtualKey = vk;
    states[index].text = Text(scan, index);
  }
  return states;
}

}  // namespace keylegends
