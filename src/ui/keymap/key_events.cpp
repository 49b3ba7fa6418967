#include "ui/keymap/key_events.h"

#include <QKeyEvent>

#include "config/keymap/key_codes.h"

namespace keyevents {

namespace {

// Set-1 keys behind the E0 prefix and the input layer's codes for them. Pause and Num Lock share
// scan code 69 (0x45): Num Lock is reported extended, Pause not, as the stored key maps expect.
struct ExtendedKey {
  unsigned evdev;
  unsigned scan;
};
constexpr ExtendedKey kExtended[] = {
    {96, 28},  {97, 29},  {98, 53},  {99, 55},  {100, 56}, {102, 71}, {103, 72}, {104, 73},
    {105, 75}, {106, 77}, {107, 79}, {108, 80}, {109, 81}, {110, 82}, {111, 83}, {125, 91},
    {126, 92}, {127, 93}, {69, 69},
};
constexpr unsigned kEvdevPause = 119;
constexpr unsigned kXkbKeycodeOffset = 8;

// Virtual keys of the set-1 main block on a US keyboard, by scan code.
constexpr uint32_t kUsMain[89] = {
    0,    0x1B, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30, 0xBD, 0xBB, 0x08,
    0x09, 0x51, 0x57, 0x45, 0x52, 0x54, 0x59, 0x55, 0x49, 0x4F, 0x50, 0xDB, 0xDD, 0x0D, 0x11,
    0x41, 0x53, 0x44, 0x46, 0x47, 0x48, 0x4A, 0x4B, 0x4C, 0xBA, 0xDE, 0xC0, 0x10, 0xDC, 0x5A,
    0x58, 0x43, 0x56, 0x42, 0x4E, 0x4D, 0xBC, 0xBE, 0xBF, 0x10, 0x6A, 0x12, 0x20, 0x14, 0x70,
    0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x13, 0x91, 0x24, 0x26, 0x21, 0x6D,
    0x25, 0x0C, 0x27, 0x6B, 0x23, 0x28, 0x22, 0x2D, 0x2E, 0,    0,    0,    0x7A, 0x7B,
};

struct ExtendedVk {
  unsigned scan;
  uint32_t vk;
};
constexpr ExtendedVk kUsExtended[] = {
    {28, 0x0D}, {29, 0x11}, {53, 0x6F}, {55, 0x2C}, {56, 0x12}, {69, 0x90}, {71, 0x24},
    {72, 0x26}, {73, 0x21}, {75, 0x25}, {77, 0x27}, {79, 0x23}, {80, 0x28}, {81, 0x22},
    {82, 0x2D}, {83, 0x2E}, {91, 0x5B}, {92, 0x5C}, {93, 0x5D},
};

}  // namespace

std::optional<ScanCode> ScanCodeOfEvdev(unsigned evdev) {
  for (const ExtendedKey& key : kExtended)
    if (key.evdev == evdev) return ScanCode{key.scan, true};
  if (evdev == kEvdevPause) return ScanCode{69, false};
  if (evdev >= 1 && evdev <= 88 && evdev != 69) return ScanCode{evdev, false};
  return std::nullopt;
}

std::optional<unsigned> EvdevOfScanCode(ScanCode scan) {
  if (scan.extended) {
    for (const ExtendedKey& key : kExtended)
      if (key.scan == scan.code) return key.evdev;
    return std::nullopt;
  }
  if (scan.code == 69) return kEvdevPause;
  if (scan.code >= 1 && scan.code <= 88) return scan.code;
  return std::nullopt;
}

uint32_t UsVirtualKey(ScanCode scan) {
  if (scan.extended) {
    for (const ExtendedVk& key : kUsExtended)
      if (key.scan == scan.code) return key.vk;
    return 0;
  }
  return scan.code < std::size(kUsMain) ? kUsMain[scan.code] : 0;
}

uint32_t VirtualKeyOfQtKey(int qtKey, bool keypad) {
  if (keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + (qtKey - Qt::Key_0);
    switch (qtKey) {
      case Qt::Key_Asterisk: return 0x6A;
      case Qt::Key_Plus: return 0x6B;
      case Qt::Key_Minus: return 0x6D;
      case Qt::Key_Period: case Qt::Key_Comma: return 0x6E;
      case Qt::Key_Slash: return 0x6F;
      case Qt::Key_Enter: return 0x0D;
      default: break;
    }
  }
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return static_cast<uint32_t>(qtKey);  // Qt and Windows number these alike
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Space: return 0x20;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Return: case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_Print: case Qt::Key_SysReq: return kVkSnapshot;
    case Qt::Key_Clear: return 0x0C;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_Shift: return kVkShift;
    case Qt::Key_Control: return kVkControl;
    case Qt::Key_Alt: case Qt::Key_AltGr: return kVkMenu;
    case Qt::Key_Meta: case Qt::Key_Super_L: return 0x5B;
    case Qt::Key_Super_R: return 0x5C;
    case Qt::Key_Menu: return 0x5D;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return 0xBA;
    case Qt::Key_Equal: case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: case Qt::Key_Less: return 0xBC;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 0xBD;
    case Qt::Key_Period: case Qt::Key_Greater: return 0xBE;
    case Qt::Key_Slash: case Qt::Key_Question: return 0xBF;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 0xC0;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 0xDB;
    case Qt::Key_Backslash: case Qt::Key_Bar: return 0xDC;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 0xDD;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 0xDE;
    default: return 0;
  }
}

namespace {

// Where a key without a native code sits on a US keyboard.
std::optional<ScanCode> ScanCodeOfVirtualKey(uint32_t vk, bool keypad) {
  if (vk == 0) return std::nullopt;
  // The keypad's Enter and the navigation keys outside the keypad are the extended ones.
  bool wantExtended = vk == 0x0D ? keypad : (vk >= 0x21 && vk <= 0x2E) ? !keypad : vk == 0x6F;
  for (const ExtendedVk& key : kUsExtended)
    if (key.vk == vk && wantExtended) return ScanCode{key.scan, true};
  for (unsigned scan = 1; scan < std::size(kUsMain); ++scan)
    if (kUsMain[scan] == vk) return ScanCode{scan, false};
  for (const ExtendedVk& key : kUsExtended)
    if (key.vk == vk) return ScanCode{key.scan, true};
  return std::nullopt;
}

}  // namespace

KeyMessage MessageOfEvent(const QKeyEvent& event) {
  bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
  KeyMessage message;
  message.virtualKey = VirtualKeyOfQtKey(event.key(), keypad);
  std::optional<ScanCode> scan;
  quint32 native = event.nativeScanCode();
  if (native > kXkbKeycodeOffset) scan = ScanCodeOfEvdev(native - kXkbKeycodeOffset);
  if (!scan) scan = ScanCodeOfVirtualKey(message.virtualKey, keypad);
  if (scan) {
    message.flags = (scan->code & 0xFF) | (scan->extended ? 0x100u : 0u);
    // A native code says which key it was; its virtual key follows from the position when Qt
    // gave a key with none (a dead key, a symbol of another layout).
    if (message.virtualKey == 0) message.virtualKey = UsVirtualKey(*scan);
  }
  return message;
}

uint32_t ModifierBitsOfQt(unsigned qtModifiers) {
  uint32_t bits = 0;
  if (qtModifiers & Qt::ShiftModifier) bits |= kKeyShift;
  if (qtModifiers & Qt::AltModifier) bits |= kKeyAlt;
  if (qtModifiers & Qt::ControlModifier) bits |= kKeyCtrl;
  return bits;
}

Capture CaptureKey(uint32_t virtualKey, unsigned flags, bool release, uint32_t modifierBits) {
  Capture capture;
  if (virtualKey == kVkShift || virtualKey == kVkControl || virtualKey == kVkMenu) return capture;
  if ((virtualKey == kVkSnapshot) != release) return capture;
  unsigned scan = flags & 0xFF;
  if (scan == 0) return capture;  // a key with no place on the keyboard cannot be mapped
  capture.taken = true;
  capture.scanCode = scan;
  capture.modifiers = (modifierBits & (kKeyShift | kKeyAlt | kKeyCtrl)) |
                      ((flags & 0x100) ? kKeyExtended : 0);
  return capture;
}

}  // namespace keyevents
