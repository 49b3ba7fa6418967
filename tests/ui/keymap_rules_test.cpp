// The rules of the key map editor without its widgets: the keyboard's layout tables, key events
// turned into scan codes and virtual keys, the capture rule, the legends libxkbcommon gives for a
// US, a German and a French layout, and the send-string, category and command rules of the Map
// Selected Key dialog.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "config/keymap/key_codes.h"
#include "support/test_support.h"
#include "ui/keymap/key_events.h"
#include "ui/keymap/key_legends.h"
#include "ui/keymap/keyboard_layout.h"
#include "ui/keymap/selected_key_rules.h"

namespace {

using keyevents::ScanCode;

TEST(KeyboardLayoutTables, RowsAdvanceAndTheOverlaysLieOverWhatTheyShadow) {
  using namespace keylayout;
  EXPECT_EQ(MainTable().size(), 123u);
  std::vector<Placed> keys = Place(MainTable());
  auto at = [&](unsigned scan, bool extended) {
    std::optional<size_t> index = FindKey(scan, extended);
    EXPECT_TRUE(index) << scan;
    for (const Placed& place : keys)
      if (place.index == *index) return place;
    return Placed{};
  };
  // Row advances: 12 then 24 after the function row, 24 after every other.
  EXPECT_EQ(at(1, false).y, 0);
  EXPECT_EQ(at(41, false).y, 36);
  EXPECT_EQ(at(15, false).y, 60);
  EXPECT_EQ(at(30, false).y, 84);
  EXPECT_EQ(at(44, false).y, 108);
  EXPECT_EQ(at(57, false).y, 132);
  // Every letter row of the main block ends at 360 units.
  EXPECT_EQ(at(14, false).x + at(14, false).width, 360);
  EXPECT_EQ(at(43, false).x + at(43, false).width, 360);
  EXPECT_EQ(at(28, false).x + at(28, false).width, 360);
  // Enter and keypad Enter share scan code 28, told apart by the extended flag.
  EXPECT_EQ(at(28, true).x, 600);
  EXPECT_EQ(at(28, true).height, 48);
  EXPECT_EQ(at(57, false).width, 160);
  // The modifier toggles fill the gaps the main block leaves for them.
  std::vector<Placed> toggles = Place(ModifierTable());
  ASSERT_EQ(toggles.size(), 7u);  // Caps, two Shift, two Ctrl, two Alt
  EXPECT_EQ((std::array{toggles[0].x, toggles[0].y, toggles[0].width}), (std::array{0, 84, 40}));
  EXPECT_EQ(toggles[2].x, at(53, false).x + at(53, false).width);  // right Shift after "/"
  EXPECT_EQ(toggles[5].x, at(57, false).x + at(57, false).width);  // right Alt after Space
  // Each keypad digit lies exactly over the navigation key of its scan code.
  std::vector<Entry> numpad;
  for (const NumpadEntry& entry : NumpadTable()) numpad.push_back(entry.entry);
  std::vector<Placed> digits = Place(numpad, kNumpadOffset);
  ASSERT_EQ(digits.size(), 11u);
  for (const Placed& digit : digits) {
    const NumpadEntry& entry = NumpadTable()[digit.index];
    Placed shadowed = at(entry.entry.scanCode, false);
    EXPECT_EQ((std::array{digit.x, digit.y, digit.width}),
              (std::array{shadowed.x, shadowed.y, shadowed.width}))
        << entry.entry.scanCode;
  }
  EXPECT_EQ(NumpadTable()[digits.front().index].virtualKey, 0x67u);  // 7
  EXPECT_EQ(NumpadTable()[digits.back().index].virtualKey, 0x6Eu);   // decimal point
}

TEST(KeyEvents, InputLayerCodesBecomeSet1ScanCodes) {
  EXPECT_EQ(keyevents::ScanCodeOfEvdev(63), (ScanCode{63, false}));  // F5
  EXPECT_EQ(keyevents::ScanCodeOfEvdev(28), (ScanCode{28, false}));  // Enter
  EXPECT_EQ(keyevents::ScanCodeOfEvdev(96), (ScanCode{28, true}));   // keypad Enter
  EXPECT_EQ(keyevents::ScanCodeOfEvdev(99), (ScanCode{55, true}));   // Print Screen
  EXPECT_EQ(keyevents::ScanCodeOfEvdev(119), (ScanCode{69, false}));  // Pause
  EXPECT_EQ(keyevents::ScanCodeOfEvdev(69), (ScanCode{69, true}));   // Num Lock
  EXPECT_FALSE(keyevents::ScanCodeOfEvdev(113));                     // mute: not on the keyboard
  for (unsigned evdev = 1; evdev < 128; ++evdev) {
    if (auto scan = keyevents::ScanCodeOfEvdev(evdev)) {
      EXPECT_EQ(keyevents::EvdevOfScanCode(*scan), evdev);
    }
  }
  // Qt's native code is the X keycode, the input layer's plus 8.
  QKeyEvent keypadEnter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier, 96 + 8, 0, 0);
  EXPECT_EQ(keyevents::MessageOfEvent(keypadEnter).flags, 0x100u | 28);
  EXPECT_EQ(keyevents::MessageOfEvent(keypadEnter).virtualKey, 0x0Du);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, 28 + 8, 0, 0);
  EXPECT_EQ(keyevents::MessageOfEvent(enter).flags, 28u);
  // Synthesized events carry no native code: they are placed by their key.
  QKeyEvent plainEnter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(keyevents::MessageOfEvent(plainEnter).flags, 0x100u | 28);
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  EXPECT_EQ(keyevents::MessageOfEvent(up).flags, 0x100u | 72);
  QKeyEvent keypadUp(QEvent::KeyPress, Qt::Key_Up, Qt::KeypadModifier);
  EXPECT_EQ(keyevents::MessageOfEvent(keypadUp).flags, 72u);
  QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::ShiftModifier);
  EXPECT_EQ(keyevents::MessageOfEvent(f5).flags, 63u);
  EXPECT_EQ(keyevents::ModifierBitsOfQt(Qt::ShiftModifier | Qt::ControlModifier),
            kKeyShift | kKeyCtrl);
}

TEST(KeyEvents, CaptureWaitsThroughModifiersAndTakesPrintScreenOnRelease) {
  using keyevents::CaptureKey;
  for (uint32_t modifierKey : {0x10u, 0x11u, 0x12u})
    EXPECT_FALSE(CaptureKey(modifierKey, 42, false, kKeyShift).taken);
  keyevents::Capture f5 = CaptureKey(0x74, 63, false, kKeyShift);
  EXPECT_TRUE(f5.taken);
  EXPECT_EQ(f5.scanCode, 63u);
  EXPECT_EQ(f5.modifiers, kKeyShift);
  EXPECT_FALSE(CaptureKey(0x74, 63, true, 0).taken);  // other keys on their press only
  EXPECT_FALSE(CaptureKey(0x2C, 0x100 | 55, false, 0).taken);
  keyevents::Capture print = CaptureKey(0x2C, 0x100 | 55, true, kKeyAlt);
  EXPECT_TRUE(print.taken);
  EXPECT_EQ(print.scanCode, 55u);
  EXPECT_EQ(print.modifiers, kKeyAlt | kKeyExtended);
  EXPECT_FALSE(CaptureKey(0xAD, 0, false, 0).taken);  // no place on the keyboard: keep waiting
}

// What the three layouts type, as their descriptions in xkb-data define them.
TEST(KeyLegends, UsGermanAndFrenchLayoutsGiveTheirOwnCharacters) {
  std::string error;
  auto us = keylegends::KeyboardLayout::Open("us", error);
  auto de = keylegends::KeyboardLayout::Open("de", error);
  auto fr = keylegends::KeyboardLayout::Open("fr", error);
  ASSERT_TRUE(us && de && fr) << error;
  using keylegends::kModifierAlt;
  using keylegends::kModifierCtrl;
  using keylegends::kModifierShift;
  const int altGr = kModifierAlt | kModifierCtrl;
  struct Case {
    const keylegends::KeyboardLayout* layout;
    unsigned scan;
    int modifier;
    std::u16string text;
  } cases[] = {
      {us.get(), 16, 0, u"q"},           {us.get(), 16, kModifierShift, u"Q"},
      {us.get(), 3, kModifierShift, u"@"}, {us.get(), 26, kModifierCtrl, u"\x1b"},
      {us.get(), 16, kModifierCtrl | kModifierShift, u"\x11"},
      {us.get(), 16, altGr, u""},        {us.get(), 16, kModifierAlt, u""},
      {us.get(), 40, kModifierShift, u"\""},
      {de.get(), 21, 0, u"z"},           {de.get(), 44, 0, u"y"},
      {de.get(), 12, 0, u"\u00DF"},      {de.get(), 4, kModifierShift, u"\u00A7"},
      {de.get(), 16, altGr, u"@"},       {de.get(), 18, altGr, u"\u20AC"},
      {de.get(), 26, 0, u"\u00FC"},      {de.get(), 16, kModifierAlt | kModifierShift, u""},
      {fr.get(), 16, 0, u"a"},           {fr.get(), 30, 0, u"q"},
      {fr.get(), 2, 0, u"&"},            {fr.get(), 2, kModifierShift, u"1"},
      {fr.get(), 11, altGr, u"@"},       {fr.get(), 39, 0, u"m"},
      {fr.get(), 3, 0, u"\u00E9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.layout->Text(ScanCode{c.scan, false}, c.modifier), c.text)
        << c.layout->Name() << " scan " << c.scan << " modifier " << c.modifier;
  }
  // Virtual keys follow the letters of the layout; other keys keep their position.
  EXPECT_EQ(us->VirtualKey(ScanCode{21, false}), 0x59u);
  EXPECT_EQ(de->VirtualKey(ScanCode{21, false}), 0x5Au);
  EXPECT_EQ(fr->VirtualKey(ScanCode{16, false}), 0x41u);
  EXPECT_EQ(fr->VirtualKey(ScanCode{39, false}), 0x4Du);
  EXPECT_EQ(fr->VirtualKey(ScanCode{2, false}), 0x31u);
  EXPECT_EQ(de->VirtualKey(ScanCode{72, true}), 0x26u);
  // The keypad's divide key: "/" alone and with Shift only, whatever the layout.
  keylegends::KeyStates divide = fr->States(ScanCode{53, true});
  for (int index = 0; index < keylegends::kModifierStates; ++index) {
    EXPECT_EQ(divide[index].virtualKey, 0x6Fu);
    EXPECT_EQ(divide[index].text, index == 0 || index == kModifierShift ? u"/" : u"") << index;
  }
  // Dead keys type nothing by themselves; the variant without them types the accent.
  auto nodead = keylegends::KeyboardLayout::Open("de(nodeadkeys)", error);
  ASSERT_TRUE(nodead) << error;
  EXPECT_EQ(de->Text(ScanCode{13, false}, 0), u"");
  EXPECT_EQ(nodead->Text(ScanCode{13, false}, 0), u"\u00B4");
  EXPECT_FALSE(keylegends::KeyboardLayout::Open("no-such-layout", error));
  EXPECT_NE(error.find("no-such-layout"), std::string::npos);
  EXPECT_EQ(keylegends::ModifierIndex(kKeyAlt | kKeyShift | kKeyExtended), 6);
  EXPECT_EQ(keylegends::ModifierBitsOfIndex(5), kKeyAlt | kKeyCtrl);
}

TEST(KeyLegends, TheUsersLayoutComesFromTheEnvironmentThenTheSystemThenUs) {
  {
    qtest::ScopedEnv layout("XKB_DEFAULT_LAYOUT", "de,us");
    qtest::ScopedEnv variant("XKB_DEFAULT_VARIANT", "nodeadkeys,");
    EXPECT_EQ(keylegends::UsersLayoutName(), "de(nodeadkeys)");
    std::string error;
    auto users = keylegends::KeyboardLayout::OpenUsers(error);
    ASSERT_TRUE(users) << error;
    EXPECT_EQ(users->Name(), "de(nodeadkeys)");
  }
  {
    // A layout the descriptions do not have falls back to "us".
    qtest::ScopedEnv layout("XKB_DEFAULT_LAYOUT", "zz");
    qtest::ScopedEnv variant("XKB_DEFAULT_VARIANT", "");
    std::string error;
    auto users = keylegends::KeyboardLayout::OpenUsers(error);
    ASSERT_TRUE(users) << error;
    EXPECT_EQ(users->Name(), "us");
  }
}

TEST(SelectedKeyRules, SendStringsAreShownWithLineBreaksAndStoredWithEscapes) {
  using namespace selectedkey;
  EXPECT_EQ(SendStringForDisplay(u"ls\\r\\nexit\\r\\n"), u"ls\nexit\n");
  EXPECT_EQ(SendStringForDisplay(u"echo \\\\r\\\\n"), u"echo \\r\\n");
  EXPECT_EQ(SendStringForStorage(u"ls\nexit\r\nbye\r"), u"ls\\r\\nexit\\r\\nbye\\r\\n");
  EXPECT_EQ(SendStringForStorage(u"echo \\r\\n"), u"echo \\\\r\\\\n");
  for (std::u16string stored : {u"a\\r\\nb", u"\\\\r\\\\n\\r\\n", u"\\033[A"})
    EXPECT_EQ(SendStringForStorage(SendStringForDisplay(stored)), stored);
  // What an unmapped key proposes.
  EXPECT_EQ(DefaultSendString(u"\x1b", 26, false), u"\\033");
  EXPECT_EQ(DefaultSendString(u"\x7f", 14, false), u"\\177");
  EXPECT_EQ(DefaultSendString(u"a", 30, false), u"a");
  EXPECT_EQ(DefaultSendString(u"\u00E9", 3, false), u"\u00E9");
  EXPECT_EQ(DefaultSendString(u"\\", 43, false), u"\\134");
  EXPECT_EQ(DefaultSendString(u"\"", 40, false), u"\\042");
  EXPECT_EQ(DefaultSendString(u"8", 72, false), u"");  // keypad arrows
  EXPECT_EQ(DefaultSendString(u"", 59, false), u"");
  EXPECT_EQ(DefaultSendString(u"ab", 30, false), u"");
}

TEST(SelectedKeyRules, CategoriesHoldTheirCodeRangesInOrder) {
  using namespace selectedkey;
  EXPECT_EQ(CategoryOf(kActionNone), kSendString);
  EXPECT_EQ(CategoryOf(kActionSend), kSendString);
  EXPECT_EQ(CategoryOf(kActionRun), kRunScript);
  EXPECT_EQ(CategoryOf(kActionLaunch), kLaunchApplication);
  EXPECT_EQ(CategoryOf(kActionSetButtonBar), kSetButtonBar);
  EXPECT_EQ(CategoryOf(kActionDisabled), kDisable);
  EXPECT_EQ(CategoryOf(6), kScrollbar);
  EXPECT_EQ(CategoryOf(163), kMenu);
  EXPECT_EQ(CategoryOf(168), kTelnet);
  EXPECT_EQ(CategoryOf(175), kSsh);
  EXPECT_EQ(CategoryOf(176), kTn3270);
  EXPECT_EQ(CategoryOf(265), kVt);
  std::vector<ListEntry> vt = FunctionList(kVt);
  ASSERT_EQ(vt.size(), 46u);
  EXPECT_EQ(vt.front().text, u"VT_PF1");
  EXPECT_EQ(vt[254 - 220].text, u"VT_F15 (HELP)");
  EXPECT_EQ(vt[255 - 220].text, u"VT_F16 (DO)");
  EXPECT_EQ(FunctionList(kMenu).size(), 146u);
  EXPECT_EQ(FunctionList(kScrollbar).front().text, u"SB_LINE_UP");
  EXPECT_TRUE(FunctionList(kRunScript).empty());
}

TEST(SelectedKeyRules, CommandsSplitAndJoinAndChoicesAreStored) {
  using namespace selectedkey;
  VUnicodeString program, arguments;
  SplitCommand(u"\"/opt/my tools/run\" -a  b", program, arguments);
  EXPECT_EQ(program, u"/opt/my tools/run");
  EXPECT_EQ(arguments, u"-a  b");
  EXPECT_EQ(JoinCommand(program, arguments), u"\"/opt/my tools/run\" -a  b");
  SplitCommand(u"xterm -e top", program, arguments);
  EXPECT_EQ(program, u"xterm");
  EXPECT_EQ(arguments, u"-e top");
  EXPECT_EQ(JoinCommand(u"xterm", u""), u"xterm");

  Keymap keymap;
  uint32_t key = 0x74 | kKeyShift;
  EXPECT_FALSE(StoreChoice(keymap, key, Choice{}));  // unmapped stays unmapped
  EXPECT_TRUE(StoreChoice(keymap, key, Choice{kActionSend, u"x", {}}));
  EXPECT_FALSE(StoreChoice(keymap, key, Choice{kActionSend, u"x", {}}));
  EXPECT_TRUE(StoreChoice(keymap, key, Choice{kActionRun, u"a.py", u"-q"}));
  ASSERT_EQ(keymap.GetCount(), 1u);
  EXPECT_EQ(keymap.GetAt(0), (KeyMapping{key, kActionRun, u"a.py", u"-q"}));
  EXPECT_TRUE(StoreChoice(keymap, key, Choice{}));
  EXPECT_EQ(keymap.GetCount(), 0u);
}

}  // namespace
