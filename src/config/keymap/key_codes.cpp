#include "config/keymap/key_codes.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Windows virtual-key codes: the values stored key maps carry.
constexpr KeyName kVirtualKeys[] = {
    {u"VK_0", 0x30},
    {u"VK_1", 0x31},
    {u"VK_2", 0x32},
    {u"VK_3", 0x33},
    {u"VK_4", 0x34},
    {u"VK_5", 0x35},
    {u"VK_6", 0x36},
    {u"VK_7", 0x37},
    {u"VK_8", 0x38},
    {u"VK_9", 0x39},
    {u"VK_A", 0x41},
    {u"VK_ADD", 0x6B},
    {u"VK_APPS", 0x5D},
    {u"VK_B", 0x42},
    {u"VK_BACK", 0x08},
    {u"VK_C", 0x43},
    {u"VK_CANCEL", 0x03},
    {u"VK_CAPITAL", 0x14},
    {u"VK_CLEAR", 0x0C},
    {u"VK_CONTROL", 0x11},
    {u"VK_D", 0x44},
    {u"VK_DECIMAL", 0x6E},
    {u"VK_DELETE", 0x2E},
    {u"VK_DIVIDE", 0x6F},
    {u"VK_DOWN", 0x28},
    {u"VK_E", 0x45},
    {u"VK_END", 0x23},
    {u"VK_ESCAPE", 0x1B},
    {u"VK_EXECUTE", 0x2B},
    {u"VK_F", 0x46},
    {u"VK_F1", 0x70},
    {u"VK_F10", 0x79},
    {u"VK_F11", 0x7A},
    {u"VK_F12", 0x7B},
    {u"VK_F13", 0x7C},
    {u"VK_F14", 0x7D},
    {u"VK_F15", 0x7E},
    {u"VK_F16", 0x7F},
    {u"VK_F17", 0x80},
    {u"VK_F18", 0x81},
    {u"VK_F19", 0x82},
    {u"VK_F2", 0x71},
    {u"VK_F20", 0x83},
    {u"VK_F21", 0x84},
    {u"VK_F22", 0x85},
    {u"VK_F23", 0x86},
    {u"VK_F24", 0x87},
    {u"VK_F3", 0x72},
    {u"VK_F4", 0x73},
    {u"VK_F5", 0x74},
    {u"VK_F6", 0x75},
    {u"VK_F7", 0x76},
    {u"VK_F8", 0x77},
    {u"VK_F9", 0x78},
    {u"VK_G", 0x47},
    {u"VK_H", 0x48},
    {u"VK_HELP", 0x2F},
    {u"VK_HOME", 0x24},
    {u"VK_I", 0x49},
    {u"VK_INSERT", 0x2D},
    {u"VK_J", 0x4A},
    {u"VK_K", 0x4B},
    {u"VK_L", 0x4C},
    {u"VK_LEFT", 0x25},
    {u"VK_LWIN", 0x5B},
    {u"VK_M", 0x4D},
    {u"VK_MENU", 0x12},
    {u"VK_MULTIPLY", 0x6A},
    {u"VK_N", 0x4E},
    {u"VK_NEXT", 0x22},
    {u"VK_NUMLOCK", 0x90},
    {u"VK_NUMPAD0", 0x60},
    {u"VK_NUMPAD1", 0x61},
    {u"VK_NUMPAD2", 0x62},
    {u"VK_NUMPAD3", 0x63},
    {u"VK_NUMPAD4", 0x64},
    {u"VK_NUMPAD5", 0x65},
    {u"VK_NUMPAD6", 0x66},
    {u"VK_NUMPAD7", 0x67},
    {u"VK_NUMPAD8", 0x68},
    {u"VK_NUMPAD9", 0x69},
    {u"VK_O", 0x4F},
    {u"VK_P", 0x50},
    {u"VK_PAUSE", 0x13},
    {u"VK_PRINT", 0x2A},
    {u"VK_PRIOR", 0x21},
    {u"VK_Q", 0x51},
    {u"VK_R", 0x52},
    {u"VK_RETURN", 0x0D},
    {u"VK_RIGHT", 0x27},
    {u"VK_RWIN", 0x5C},
    {u"VK_S", 0x53},
    {u"VK_SCROLL", 0x91},
    {u"VK_SELECT", 0x29},
    {u"VK_SEPARATOR", 0x6C},
    {u"VK_SHIFT", 0x10},
    {u"VK_SNAPSHOT", 0x2C},
    {u"VK_SPACE", 0x20},
    {u"VK_SUBTRACT", 0x6D},
    {u"VK_T", 0x54},
    {u"VK_TAB", 0x09},
    {u"VK_U", 0x55},
    {u"VK_UP", 0x26},
    {u"VK_V", 0x56},
    {u"VK_W", 0x57},
    {u"VK_X", 0x58},
    {u"VK_Y", 0x59},
    {u"VK_Z", 0x5A},
};

// Keys without a virtual-key code: character keys are 0x80000000 plus the character's code point,
// special keys lie in the 0x01000000 range as the desktop toolkit numbers them.
constexpr KeyName kExtendedKeys[] = {
    {u"VK_AACUTE", 0x800000C1},
    {u"VK_ACIRCUMFLEX", 0x800000C2},
    {u"VK_ACUTE", 0x800000B4},
    {u"VK_ADIAERESIS", 0x800000C4},
    {u"VK_AE", 0x800000C6},
    {u"VK_AGRAVE", 0x800000C0},
    {u"VK_ALTGR", 0x1001103},
    {u"VK_AMPERSAND", 0x80000026},
    {u"VK_APOSTROPHE", 0x80000027},
    {u"VK_ARING", 0x800000C5},
    {u"VK_ASCIICIRCUM", 0x8000005E},
    {u"VK_ASCIITILDE", 0x8000007E},
    {u"VK_ASTERISK", 0x8000002A},
    {u"VK_AT", 0x80000040},
    {u"VK_ATILDE", 0x800000C3},
    {u"VK_BACK", 0x1000061},
    {u"VK_BACKSLASH", 0x8000005C},
    {u"VK_BAR", 0x8000007C},
    {u"VK_BASSBOOST", 0x1000073},
    {u"VK_BASSDOWN", 0x1000075},
    {u"VK_BASSUP", 0x1000074},
    {u"VK_BRACE_LEFT", 0x8000007B},
    {u"VK_BRACE_RIGHT", 0x8000007D},
    {u"VK_BRACKET_LEFT", 0x8000005B},
    {u"VK_BRACKET_RIGHT", 0x8000005D},
    {u"VK_BROKEN_BAR", 0x800000A6},
    {u"VK_CALL", 0x1100004},
    {u"VK_CCEDILLA", 0x800000C7},
    {u"VK_CEDILLA", 0x800000B8},
    {u"VK_CENT", 0x800000A2},
    {u"VK_CODE_INPUT", 0x1001137},
    {u"VK_COLON", 0x8000003A},
    {u"VK_COMMA", 0x8000002C},
    {u"VK_CONTEXT 1", 0x1100000},
    {u"VK_CONTEXT 2", 0x1100001},
    {u"VK_CONTEXT 3", 0x1100002},
    {u"VK_CONTEXT 4", 0x1100003},
    {u"VK_COPYRIGHT", 0x800000A9},
    {u"VK_CURRENCY", 0x800000A4},
    {u"VK_DEAD_ABOVEDOT", 0x1001256},
    {u"VK_DEAD_ABOVERING", 0x1001258},
    {u"VK_DEAD_ACUTE", 0x1001251},
    {u"VK_DEAD_BELOWDOT", 0x1001260},
    {u"VK_DEAD_BREVE", 0x1001255},
    {u"VK_DEAD_CARON", 0x100125A},
    {u"VK_DEAD_CEDILLA", 0x100125B},
    {u"VK_DEAD_CIRCUMFLEX", 0x1001252},
    {u"VK_DEAD_DIAERESIS", 0x1001257},
    {u"VK_DEAD_DOUBLEACUTE", 0x1001259},
    {u"VK_DEAD_GRAVE", 0x1001250},
    {u"VK_DEAD_HOOK", 0x1001261},
    {u"VK_DEAD_HORN", 0x1001262},
    {u"VK_DEAD_IOTA", 0x100125D},
    {u"VK_DEAD_MACRON", 0x1001254},
    {u"VK_DEAD_OGONEK", 0x100125C},
    {u"VK_DEAD_SEMIVOICED_SOUND", 0x100125F},
    {u"VK_DEAD_TILDE", 0x1001253},
    {u"VK_DEAD_VOICED_SOUND", 0x100125E},
    {u"VK_DEGREE", 0x800000B0},
    {u"VK_DIAERESIS", 0x800000A8},
    {u"VK_DIRECTION_L", 0x1000059},
    {u"VK_DIRECTION_R", 0x1000060},
    {u"VK_DIVISION", 0x800000F7},
    {u"VK_DOLLAR", 0x80000024},
    {u"VK_EACUTE", 0x800000C9},
    {u"VK_ECIRCUMFLEX", 0x800000CA},
    {u"VK_EDIAERESIS", 0x800000CB},
    {u"VK_EGRAVE", 0x800000C8},
    {u"VK_EISU_SHIFT", 0x100112F},
    {u"VK_EISU_TOGGLE", 0x1001130},
    {u"VK_EQUAL", 0x8000003D},
    {u"VK_ETH", 0x800000D0},
    {u"VK_EXCLAM", 0x80000021},
    {u"VK_EXCLAMDOWN", 0x800000A1},
    {u"VK_F25", 0x1000048},
    {u"VK_F26", 0x1000049},
    {u"VK_F27", 0x100004A},
    {u"VK_F28", 0x100004B},
    {u"VK_F29", 0x100004C},
    {u"VK_F30", 0x100004D},
    {u"VK_F31", 0x100004E},
    {u"VK_F32", 0x100004F},
    {u"VK_F33", 0x1000050},
    {u"VK_F34", 0x1000051},
    {u"VK_F35", 0x1000052},
    {u"VK_FAVORITES", 0x1000091},
    {u"VK_FLIP", 0x1100006},
    {u"VK_FORWARD", 0x1000062},
    {u"VK_GREATER", 0x8000003E},
    {u"VK_GUILLEMOT_LEFT", 0x800000AB},
    {u"VK_GUILLEMOT_RIGHT", 0x800000BB},
    {u"VK_HANGUL", 0x1001131},
    {u"VK_HANGUL_BANJA", 0x1001139},
    {u"VK_HANGUL_END", 0x1001133},
    {u"VK_HANGUL_HANJA", 0x1001134},
    {u"VK_HANGUL_JAMO", 0x1001135},
    {u"VK_HANGUL_JEONJA", 0x1001138},
    {u"VK_HANGUL_POSTHANJA", 0x100113B},
    {u"VK_HANGUL_PREHANJA", 0x100113A},
    {u"VK_HANGUL_ROMAJA", 0x1001136},
    {u"VK_HANGUL_SPECIAL", 0x100113F},
    {u"VK_HANGUL_START", 0x1001132},
    {u"VK_HANGUP", 0x1100005},
    {u"VK_HANKAKU", 0x1001129},
    {u"VK_HENKAN", 0x1001123},
    {u"VK_HIRAGANA", 0x1001125},
    {u"VK_HIRAGANA_KATAKANA", 0x1001127},
    {u"VK_HOMEPAGE", 0x1000090},
    {u"VK_HYPER_L", 0x1000056},
    {u"VK_HYPER_R", 0x1000057},
    {u"VK_HYPHEN", 0x800000AD},
    {u"VK_IACUTE", 0x800000CD},
    {u"VK_ICIRCUMFLEX", 0x800000CE},
    {u"VK_IDIAERESIS", 0x800000CF},
    {u"VK_IGRAVE", 0x800000CC},
    {u"VK_KANA_LOCK", 0x100112D},
    {u"VK_KANA_SHIFT", 0x100112E},
    {u"VK_KANJI", 0x1001121},
    {u"VK_KATAKANA", 0x1001126},
    {u"VK_LAUNCH 0", 0x10000A2},
    {u"VK_LAUNCH 1", 0x10000A3},
    {u"VK_LAUNCH 2", 0x10000A4},
    {u"VK_LAUNCH 3", 0x10000A5},
    {u"VK_LAUNCH 4", 0x10000A6},
    {u"VK_LAUNCH 5", 0x10000A7},
    {u"VK_LAUNCH 6", 0x10000A8},
    {u"VK_LAUNCH 7", 0x10000A9},
    {u"VK_LAUNCH 8", 0x10000AA},
    {u"VK_LAUNCH 9", 0x10000AB},
    {u"VK_LAUNCH_A", 0x10000AC},
    {u"VK_LAUNCH_B", 0x10000AD},
    {u"VK_LAUNCH_C", 0x10000AE},
    {u"VK_LAUNCH_D", 0x10000AF},
    {u"VK_LAUNCH_E", 0x10000B0},
    {u"VK_LAUNCH_F", 0x10000B1},
    {u"VK_LAUNCH_MAIL", 0x10000A0},
    {u"VK_LAUNCH_MEDIA", 0x10000A1},
    {u"VK_LESS", 0x8000003C},
    {u"VK_MACRON", 0x800000AF},
    {u"VK_MASCULINE", 0x800000BA},
    {u"VK_MASSYO", 0x100112C},
    {u"VK_MEDIA_LAST", 0x100FFFF},
    {u"VK_MEDIA_NEXT", 0x1000083},
    {u"VK_MEDIA_PLAY", 0x1000080},
    {u"VK_MEDIA_PREVIOUS", 0x1000082},
    {u"VK_MEDIA_RECORD", 0x1000084},
    {u"VK_MEDIA_STOP", 0x1000081},
    {u"VK_MINUS", 0x8000002D},
    {u"VK_MODE_SWITCH", 0x100117E},
    {u"VK_MU", 0x800000B5},
    {u"VK_MUHENKAN", 0x1001122},
    {u"VK_MULTI_KEY", 0x1001120},
    {u"VK_MULTIPLEC_ANDIDATE", 0x100113D},
    {u"VK_NO", 0x1010002},
    {u"VK_NO_BREAK_SPACE", 0x800000A0},
    {u"VK_NOTSIGN", 0x800000AC},
    {u"VK_NTILDE", 0x800000D1},
    {u"VK_NUMBERSIGN", 0x80000023},
    {u"VK_NUMLOCK", 0x1000025},
    {u"VK_OACUTE", 0x800000D3},
    {u"VK_OCIRCUMFLEX", 0x800000D4},
    {u"VK_ODIAERESIS", 0x800000D6},
    {u"VK_OGRAVE", 0x800000D2},
    {u"VK_ONE_HALF", 0x800000BD},
    {u"VK_ONE_QUARTER", 0x800000BC},
    {u"VK_ONE_SUPERIOR", 0x800000B9},
    {u"VK_OOBLIQUE", 0x800000D8},
    {u"VK_OPEN_URL", 0x1000094},
    {u"VK_ORDFEMININE", 0x800000AA},
    {u"VK_OTILDE", 0x800000D5},
    {u"VK_PARAGRAPH", 0x800000B6},
    {u"VK_PAREN_LEFT", 0x80000028},
    {u"VK_PAREN_RIGHT", 0x80000029},
    {u"VK_PERCENT", 0x80000025},
    {u"VK_PERIOD", 0x8000002E},
    {u"VK_PERIOD_CENTERED", 0x800000B7},
    {u"VK_PLAY", 0x1020005},
    {u"VK_PLUS", 0x8000002B},
    {u"VK_PLUS_MINUS", 0x800000B1},
    {u"VK_PREVIOUS_CANDIDATE", 0x100113E},
    {u"VK_QUESTION", 0x8000003F},
    {u"VK_QUESTION_DOWN", 0x800000BF},
    {u"VK_QUOTE_DBL", 0x80000022},
    {u"VK_QUOTE_LEFT", 0x80000060},
    {u"VK_REFRESH", 0x1000064},
    {u"VK_REGISTERED", 0x800000AE},
    {u"VK_ROMAJI", 0x1001124},
    {u"VK_SEARCH", 0x1000092},
    {u"VK_SECTION", 0x800000A7},
    {u"VK_SEMICOLON", 0x8000003B},
    {u"VK_SINGLE_CANDIDATE", 0x100113C},
    {u"VK_SLASH", 0x8000002F},
    {u"VK_SLEEP", 0x1020004},
    {u"VK_SSHARP", 0x800000DF},
    {u"VK_STANDBY", 0x1000093},
    {u"VK_STERLING", 0x800000A3},
    {u"VK_STOP", 0x1000063},
    {u"VK_SUPER_L", 0x1000053},
    {u"VK_SUPER_R", 0x1000054},
    {u"VK_SYSREQ", 0x1000009},
    {u"VK_THORN", 0x800000DE},
    {u"VK_THREE_QUARTERS", 0x800000BE},
    {u"VK_THREE_SUPERIOR", 0x800000B3},
    {u"VK_TOUROKU", 0x100112B},
    {u"VK_TREBLE_DOWN", 0x1000077},
    {u"VK_TREBLE_UP", 0x1000076},
    {u"VK_TWO_SUPERIOR", 0x800000B2},
    {u"VK_UACUTE", 0x800000DA},
    {u"VK_UCIRCUMFLEX", 0x800000DB},
    {u"VK_UDIAERESIS", 0x800000DC},
    {u"VK_UGRAVE", 0x800000D9},
    {u"VK_UNDERSCORE", 0x8000005F},
    {u"VK_UNKNOWN", 0x1FFFFFF},
    {u"VK_VOLUME_DOWN", 0x1000070},
    {u"VK_VOLUME_MUTE", 0x1000071},
    {u"VK_VOLUME_UP", 0x1000072},
    {u"VK_YACUTE", 0x800000DD},
    {u"VK_YDIAERESIS", 0xFF},
    {u"VK_YEN", 0x800000A5},
    {u"VK_YES", 0x1010001},
    {u"VK_ZENKAKU", 0x1001128},
    {u"VK_ZENKAKU_HANKAKU", 0x100112A},
    {u"VK_ZOOM", 0x1020006},
};

static_assert(std::size(kVirtualKeys) == 108);
static_assert(std::size(kExtendedKeys) == 223);

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

const KeyName* Find(std::span<const KeyName> table, std::u16string_view name) {
  auto it = std::lower_bound(table.begin(), table.end(), name, [](const KeyName& k, std::u16string_view n) {
    return vkeys::CompareKeyNames(k.name, n) < 0;
  });
  if (it == table.end() || vkeys::CompareKeyNames(it->name, name) != 0) return nullptr;
  return &*it;
}

std::optional<uint32_t> ParseNumber(std::u16string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char16_t c : text) {
    int digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

VUnicodeString KeyModifiersToString(uint32_t keyCode) {
  VUnicodeString text;
  if (keyCode & kKeyAlt) text += u"Alt-";
  if (keyCode & kKeyCtrl) text += u"Ctrl-";
  if (keyCode & kKeyShift) text += u"Shift-";
  if (keyCode & kKeyExtended) text += u"Extended-";
  if (keyCode & kKeyWindows) text += u"Windows-";
  return text;
}

namespace vkeys {

std::span<const KeyName> VirtualKeys() { return kVirtualKeys; }
std::span<const KeyName> ExtendedKeys() { return kExtendedKeys; }

int CompareKeyNames(std::u16string_view a, std::u16string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = Lower(a[i]), y = Lower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

VUnicodeString KeyNameOfCode(uint32_t code) {
  // Every line written names its key: a map from code to name, built once.
  static const std::unordered_map<uint32_t, const char16_t*> names = [] {
    std::unordered_map<uint32_t, const char16_t*> out;
    // VK_BACK and VK_NUMLOCK are names in both tables and read as the virtual keys: the extended
    // keys of those names are written as numbers so that they read back as themselves.
    for (const KeyName& key : kExtendedKeys)
      if (!Find(kVirtualKeys, key.name)) out[key.code] = key.name;
    for (const KeyName& key : kVirtualKeys) out[key.code] = key.name;
    return out;
  }();
  if (auto it = names.find(code); it != names.end()) return VUnicodeString(it->second);
  int digits = 1;
  while (digits < 8 && (code >> (4 * digits)) != 0) ++digits;
  return VUnicodeString(u"0x" + vtext::FormatHex(code, digits, true));
}

std::optional<uint32_t> KeyCodeOfName(std::u16string_view name) {
  if (name.empty()) return std::nullopt;
  if (name[0] >= u'0' && name[0] <= u'9') return ParseNumber(name);
  // Lines carry their names in upper case, as the tables hold them: a hash lookup serves those,
  // the ordered search the others.
  static const std::unordered_map<std::u16string_view, uint32_t> exact = [] {
    std::unordered_map<std::u16string_view, uint32_t> out;
    for (const KeyName& key : kVirtualKeys) out.emplace(key.name, key.code);
    for (const KeyName& key : kExtendedKeys) out.emplace(key.name, key.code);  // virtual ones stay
    return out;
  }();
  if (auto it = exact.find(name); it != exact.end()) return it->second;
  if (const KeyName* key = Find(kVirtualKeys, name)) return key->code;
  if (const KeyName* key = Find(kExtendedKeys, name)) return key->code;
  return std::nullopt;
}

bool IsKeyName(std::u16string_view name) {
  return Find(kVirtualKeys, name) || Find(kExtendedKeys, name);
}

}  // namespace vkeys
