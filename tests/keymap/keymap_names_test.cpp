// Key codes, the two key name tables and the function table.
#include <gtest/gtest.h>

#include <set>

#include "config/keymap/key_codes.h"
#include "config/keymap/keymap_functions.h"

namespace {

std::string Utf8(const std::u16string& text) { return vtext::ToUtf8(text); }

TEST(KeyCodes, ModifierHelpersSplitTheCodeAndNameTheBitsInOrder) {
  uint32_t code = kKeyAlt | kKeyCtrl | kKeyWindows | 0x74;
  EXPECT_EQ(GetModifiers(code), kKeyAlt | kKeyCtrl | kKeyWindows);
  EXPECT_EQ(GetUnmodifiedKey(code), 0x74u);
  EXPECT_EQ(Utf8(KeyModifiersToString(code)), "Alt-Ctrl-Windows-");
  EXPECT_EQ(Utf8(KeyModifiersToString(0x5E000000 | 0x41)), "Alt-Ctrl-Shift-Extended-Windows-");
  EXPECT_EQ(Utf8(KeyModifiersToString(0x80000026)), "");  // bit 31 marks a character key
  EXPECT_EQ(GetUnmodifiedKey(0x80000026 | kKeyShift), 0x80000026u);
}

TEST(KeyCodes, TablesAreSortedAsLookupsSearchThemAndHoldEachNameAndCodeOnce) {
  for (auto table : {vkeys::VirtualKeys(), vkeys::ExtendedKeys()}) {
    std::set<uint32_t> codes;
    for (size_t i = 0; i < table.size(); ++i) {
      if (i > 0) {
        EXPECT_LT(vkeys::CompareKeyNames(table[i - 1].name, table[i].name), 0) << Utf8(table[i].name);
      }
      EXPECT_TRUE(codes.insert(table[i].code).second) << Utf8(table[i].name);
      // Every name finds its own code, whatever case it is given in.
      std::u16string lower(table[i].name);
      for (auto& c : lower) c = vtext::FoldCase(c);
      auto found = vkeys::KeyCodeOfName(lower);
      ASSERT_TRUE(found.has_value()) << Utf8(lower);
      if (table.data() == vkeys::ExtendedKeys().data() && vkeys::KeyCodeOfName(table[i].name) != table[i].code) {
        // Names held by both tables (VK_BACK, VK_NUMLOCK) read as the virtual key.
        EXPECT_TRUE(vkeys::IsKeyName(table[i].name));
      } else {
        EXPECT_EQ(*found, table[i].code) << Utf8(table[i].name);
      }
    }
  }
  EXPECT_EQ(vkeys::VirtualKeys().size(), 108u);
  EXPECT_EQ(vkeys::ExtendedKeys().size(), 223u);
  // The order folds to lower case: an underscore sorts before letters.
  EXPECT_LT(vkeys::CompareKeyNames(u"VK_MULTI_KEY", u"VK_MULTIPLEC_ANDIDATE"), 0);
  EXPECT_LT(vkeys::CompareKeyNames(u"VK_KANA_SHIFT", u"VK_KANJI"), 0);
  EXPECT_LT(vkeys::CompareKeyNames(u"VK_LAUNCH 9", u"VK_LAUNCH_A"), 0);
}

TEST(KeyCodes, NamesAndCodesOfBothTables) {
  struct Case {
    const char16_t* name;
    uint32_t code;
  } cases[] = {
      {u"VK_BACK", 0x08},           {u"VK_RETURN", 0x0D},          {u"VK_ESCAPE", 0x1B},
      {u"VK_DELETE", 0x2E},         {u"VK_NUMLOCK", 0x90},         {u"VK_SCROLL", 0x91},
      {u"VK_0", 0x30},              {u"VK_Z", 0x5A},               {u"VK_F1", 0x70},
      {u"VK_F24", 0x87},            {u"VK_NUMPAD9", 0x69},         {u"VK_AMPERSAND", 0x80000026},
      {u"VK_BACKSLASH", 0x8000005C}, {u"VK_AACUTE", 0x800000C1},   {u"VK_SSHARP", 0x800000DF},
      {u"VK_YDIAERESIS", 0xFF},     {u"VK_F25", 0x1000048},        {u"VK_F35", 0x1000052},
      {u"VK_VOLUME_DOWN", 0x1000070}, {u"VK_MEDIA_PLAY", 0x1000080}, {u"VK_LAUNCH_MAIL", 0x10000A0},
      {u"VK_ALTGR", 0x1001103},     {u"VK_DEAD_GRAVE", 0x1001250}, {u"VK_CONTEXT 1", 0x1100000},
      {u"VK_UNKNOWN", 0x1FFFFFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vkeys::KeyCodeOfName(c.name), c.code) << Utf8(c.name);
    EXPECT_EQ(Utf8(vkeys::KeyNameOfCode(c.code)), Utf8(c.name));
  }
  // Extended keys whose names are also virtual-key names are written as numbers, which read back.
  EXPECT_EQ(Utf8(vkeys::KeyNameOfCode(0x1000061)), "0x1000061");
  EXPECT_EQ(Utf8(vkeys::KeyNameOfCode(0x1000025)), "0x1000025");
  EXPECT_EQ(vkeys::KeyCodeOfName(u"VK_BACK"), 0x08u);
  // A code without a name is written in upper-case hexadecimal and read back as that number.
  EXPECT_EQ(Utf8(vkeys::KeyNameOfCode(0x40000074)), "0x40000074");
  EXPECT_EQ(Utf8(vkeys::KeyNameOfCode(0x3ab)), "0x3AB");
  EXPECT_EQ(vkeys::KeyCodeOfName(u"0x40000074"), 0x40000074u);
  EXPECT_EQ(vkeys::KeyCodeOfName(u"0X3AB"), 0x3ABu);
  EXPECT_EQ(vkeys::KeyCodeOfName(u"116"), 116u);
  for (const char16_t* bad : {u"", u"VK_NOPE", u"0x", u"0x1FFFFFFFF", u"12a", u"99999999999"})
    EXPECT_FALSE(vkeys::KeyCodeOfName(bad).has_value()) << Utf8(bad);
}

TEST(KeymapFunctions, FixedCodesOlderNamesAndTheEndOfTheTable) {
  struct Case {
    const char16_t* name;
    uint32_t code;
  } cases[] = {
      {u"NONE", 0}, {u"SEND", 1}, {u"RUN", 2}, {u"LAUNCH", 3}, {u"SET_BUTTONBAR", 4},
      {u"DISABLED", 5}, {u"SB_LINE_UP", 6}, {u"SB_PAGE_RIGHT", 17}, {u"MENU_NEW_WINDOW", 18},
      {u"MENU_GOTO_COMMAND_SESSION_WINDOW", 44}, {u"MENU_TOGGLE_COMMAND_WINDOW", 58},
      {u"MENU_THEMES_BLUE", 86}, {u"MENU_ZOOM_RESET", 163}, {u"TN_ABORT_OUTPUT", 164},
      {u"TN_SYNCH", 168}, {u"SSH_NEW_SESSION", 169}, {u"SSH_TOGGLE_MONITOR_SERVER", 175},
      {u"TN3270_PF1", 176}, {u"TN3270_PF24", 199}, {u"TN3270_HOME", 219}, {u"VT_PF1", 220},
      {u"VT_PF4", 223}, {u"VT_F6", 245}, {u"VT_F15", 254}, {u"VT_F16", 255}, {u"VT_F20", 259},
      {u"VT_NEXT_SCREEN", 265}, {u"MENU_TAB_10", 116}, {u"MENU_WINDOW_0", 155},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vkeymap::FunctionCodeOfName(c.name), c.code) << Utf8(c.name);
    EXPECT_EQ(Utf8(vkeymap::FunctionNameOfCode(c.code)), Utf8(c.name));
  }
  EXPECT_EQ(vkeymap::FunctionCodeOfName(u"MENU_TOGGLE_CHAT_WINDOW"), 58u);
  EXPECT_EQ(vkeymap::FunctionCodeOfName(u"MENU_GOTO_CHAT_SESSION_WINDOW"), 44u);
  EXPECT_EQ(vkeymap::FunctionCodeOfName(u"MENU_THEMES_OFFICE2003"), 86u);
  EXPECT_EQ(vkeymap::FunctionCodeOfName(u"VT_HELP"), 254u);
  EXPECT_EQ(vkeymap::FunctionCodeOfName(u"VT_DO"), 255u);
  EXPECT_FALSE(vkeymap::FunctionCodeOfName(u"menu_copy").has_value());  // names are exact
  EXPECT_FALSE(vkeymap::FunctionCodeOfName(u"").has_value());
  EXPECT_TRUE(vkeymap::FunctionNameOfCode(266).empty());
  // Every code of the table names itself back.
  for (uint32_t code = 0; code < vkeymap::kFunctionCount; ++code)
    EXPECT_EQ(vkeymap::FunctionCodeOfName(vkeymap::FunctionNameOfCode(code)), code) << code;
}

}  // namespace
