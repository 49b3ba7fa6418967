// Keys as the key map stores them: Windows virtual-key codes and PC set-1 scan codes with an
// extended flag. The Linux input layer numbers the main block as set 1 does; the keys set 1
// reaches through the E0 prefix (arrows, the navigation block, keypad Enter and divide, the right
// Ctrl and Alt) have codes of their own there and are mapped by table. Qt reports the X keycode,
// which is the input layer's code plus 8.
#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace keyevents {

constexpr uint32_t kVkShift = 0x10;
constexpr uint32_t kVkControl = 0x11;
constexpr uint32_t kVkMenu = 0x12;  // Alt
constexpr uint32_t kVkSnapshot = 0x2C;

struct ScanCode {
  unsigned code = 0;
  bool extended = false;
  bool operator==(const ScanCode&) const = default;
};

// Input-layer key code <-> set-1 scan code. Empty for keys set 1 does not have.
std::optional<ScanCode> ScanCodeOfEvdev(unsigned evdev);
std::optional<unsigned> EvdevOfScanCode(ScanCode scan);

// The virtual-key code of a key position on a US keyboard (letters and digits of other layouts
// are given by the layout, see KeyLegends). 0 when the position has none.
uint32_t UsVirtualKey(ScanCode scan);

// The virtual-key code of a Qt key (with the keypad flag); 0 for keys without one.
uint32_t VirtualKeyOfQtKey(int qtKey, bool keypad);

// A key event as a Windows key message: its virtual-key code, and key flags holding the scan
// code in the low byte and 0x100 for an extended key. Events without a native code (synthesized
// ones) are placed by their Qt key on a US keyboard.
struct KeyMessage {
  uint32_t virtualKey = 0;
  unsigned flags = 0;
};
KeyMessage MessageOfEvent(const QKeyEvent& event);

// The modifier bits of the key code (Shift, Alt, Ctrl) for Qt's modifier flags.
uint32_t ModifierBitsOfQt(unsigned qtModifiers);

// What a capture does with one key message. Shift, Ctrl and Alt alone keep it waiting; Print
// Screen is taken on its release only (the desktop often keeps its press for itself);
// everything else is taken on its press, with the modifiers held and the extended bit.
struct Capture {
  bool taken = false;
  unsigned scanCode = 0;
  uint32_t modifiers = 0;
};
Capture CaptureKey(uint32_t virtualKey, unsigned flags, bool release, uint32_t modifierBits);

}  // namespace keyevents
