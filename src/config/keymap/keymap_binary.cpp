#include "config/keymap/keymap_binary.h"

#include "config/keymap/key_codes.h"
#include "config/keymap/keymap_functions.h"

namespace {

bool TakeBigEndian(std::string_view& bytes, uint32_t& value) {
  if (bytes.size() < 4) return false;
  value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  bytes.remove_prefix(4);
  return true;
}

bool TakeString(std::string_view& bytes, VUnicodeString& text) {
  size_t end = bytes.find('\0');
  if (end == std::string_view::npos) return false;
  std::string_view raw = bytes.substr(0, end);
  bytes.remove_prefix(end + 1);
  if (raw.substr(0, 3) == "\xEF\xBB\xBF") text = VUnicodeString(vtext::FromUtf8(raw.substr(3)));
  else text = VUnicodeString(vtext::FromWindows1252(raw));
  return true;
}

}  // namespace

namespace vkeymap {

uint32_t ConvertOlderModifiers(uint32_t keyCode) {
  uint32_t converted = keyCode & ~0xF00u;
  if (keyCode & 0x100) converted |= kKeyExtended;
  if (keyCode & 0x200) converted |= kKeyCtrl;
  if (keyCode & 0x400) converted |= kKeyShift;
  if (keyCode & 0x800) converted |= kKeyAlt;
  return converted;
}

size_t ReadBinaryKeymap(std::string_view bytes, Keymap& map) {
  uint32_t count = 0;
  if (!TakeBigEndian(bytes, count)) return 0;
  size_t read = 0;
  for (; read < count; ++read) {
    uint32_t keyCode = 0;
    VUnicodeString function, argument;
    if (!TakeBigEndian(bytes, keyCode) || !TakeString(bytes, function) ||
        !TakeString(bytes, argument))
      break;
    std::optional<uint32_t> code = FunctionCodeOfName(function);
    if (!code || *code == kActionNone) continue;
    KeyMapping mapping;
    mapping.keyCode = ConvertOlderModifiers(keyCode);
    mapping.action = *code;
    if (*code == kActionSend) mapping.first = Keymap::DoubleLineBreaks(argument);
    else if (*code <= kActionSetButtonBar) mapping.first = argument;
    map.Add(mapping);
  }
  return read;
}

std::string WriteBinaryEntry(uint32_t keyCode, std::string_view function, std::string_view argument) {
  std::string out;
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((keyCode >> shift) & 0xFF);
  out.append(function);
  out += '\0';
  out.append(argument);
  out += '\0';
  return out;
}

}  // namespace vkeymap
