// The line format of key maps: written lines byte for byte, parsed lines, and the error rules.
#include <gtest/gtest.h>

#include "config/keymap/key_codes.h"
#include "config/keymap/keymap.h"
#include "config/keymap/keymap_binary.h"
#include "config/keymap/keymap_functions.h"

namespace {

std::string Utf8(const std::u16string& text) { return vtext::ToUtf8(text); }

KeyMapping Map(uint32_t key, uint32_t action, const char16_t* first = u"", const char16_t* second = u"") {
  return KeyMapping{key, action, VUnicodeString(first), VUnicodeString(second)};
}

Keymap Parse(std::vector<std::u16string> lines, bool older = false) {
  Keymap map;
  VStringArray list;
  for (auto& line : lines) list.Add(VUnicodeString(line));
  map.LoadStrings(list, older);
  return map;
}

TEST(KeymapLines, EachActionIsWrittenInItsOwnForm) {
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(kKeyCtrl | kKeyShift | 0x74, kActionSend, u"ls\\r"))),
            "CS\tVK_F5               \t\"ls\\r\"");
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(0x70, 39))), "N\tVK_F1               \tMENU_COPY");
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(kKeyAlt | kKeyCtrl | kKeyShift | kKeyExtended | 0x4D,
                                         kActionRun, u"/s.py", u"-a \"b\""))),
            "ACSE\tVK_M                \tRUN(\"/s.py\")(\"-a \"b\"\")");
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(0x10000A2, kActionLaunch, u"xterm"))),
            "N\tVK_LAUNCH 0         \tLAUNCH(\"xterm\")");
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(0x1000090, kActionSetButtonBar, u"Lab"))),
            "N\tVK_HOMEPAGE         \tSET_BUTTONBAR(\"Lab\")");
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(0x70, kActionDisabled))), "N\tVK_F1               \tDISABLED");
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(0x70, kActionNone))), "");
  // A name longer than the field is not cut.
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(0x100113D, 6))), "N\tVK_MULTIPLEC_ANDIDATE\tSB_LINE_UP");
  // The Windows bit has no letter: the key is then written as a number.
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(kKeyWindows | kKeyCtrl | 0x74, 39))),
            "C\t0x40000074          \tMENU_COPY");
  // Control characters never break the line: they become octal escapes.
  EXPECT_EQ(Utf8(Keymap::FormatLine(Map(0x70, kActionSend, u"a\r\n\x1b\x7f"))),
            "N\tVK_F1               \t\"a\\015\\012\\033\\177\"");
}

TEST(KeymapLines, ParsedLinesGiveTheMappingsTheyWereWrittenFrom) {
  const KeyMapping mappings[] = {
      Map(kKeyCtrl | kKeyShift | 0x74, kActionSend, u"ls\\r"),
      Map(0x70, 39),
      Map(kKeyAlt | kKeyExtended | 0x4D, kActionRun, u"/my scripts/s.py", u"-a \"b\")(c\""),
      Map(0x10000A2, kActionLaunch, u"\"/usr/bin/xterm\" -e top"),
      Map(0x1100003, kActionSetButtonBar, u"Lab (2)"),
      Map(kKeyWindows | kKeyShift | 0x74, kActionDisabled),
      Map(0x3AB, 265),
      Map(0x800000C9, kActionSend, u"\u00e9t\u00e9 \"quoted\""),
      Map(kKeyAlt | 0xFF, kActionSend, u""),
  };
  Keymap written;
  for (const auto& m : mappings) written.Add(m);
  VStringArray lines = written.ToStrings();
  ASSERT_EQ(lines.GetSize(), std::size(mappings));
  Keymap read;
  ASSERT_TRUE(read.LoadStrings(lines, false));
  EXPECT_TRUE(read.GetLoadErrors().empty());
  ASSERT_EQ(read.GetCount(), std::size(mappings));
  for (size_t i = 0; i < std::size(mappings); ++i) EXPECT_EQ(read.GetAt(i), mappings[i]) << i;
  EXPECT_EQ(read.ToStrings(), lines);
}

TEST(KeymapLines, OlderFunctionNamesAndFreeFormLinesAreRead) {
  Keymap map = Parse({u"s vk_help VT_HELP", u"  ea\t\t VK_F2   MENU_TOGGLE_CHAT_WINDOW  trailing",
                      u"NC 0x40000074 \"x\"  after", u"; comment", u"", u"N 116 VT_DO"});
  EXPECT_TRUE(map.GetLoadErrors().empty());
  EXPECT_TRUE(map.SawComment());
  ASSERT_EQ(map.GetCount(), 4u);
  EXPECT_EQ(map.GetAt(0), Map(kKeyShift | 0x2F, 254));
  EXPECT_EQ(Utf8(Keymap::FormatLine(map.GetAt(0))), "S\tVK_HELP             \tVT_F15");
  EXPECT_EQ(map.GetAt(1), Map(kKeyAlt | kKeyExtended | 0x71, 58));
  EXPECT_EQ(map.GetAt(2), Map(kKeyCtrl | kKeyWindows | 0x74, kActionSend, u"x"));
  EXPECT_EQ(map.GetAt(3), Map(0x74, 255));
}

TEST(KeymapLines, BadLinesAreCountedKeptAndNeverStopTheOthersBeforeTheThirdError) {
  Keymap map = Parse({u"N VK_F1 MENU_COPY", u"XCQ VK_F2 MENU_PASTE", u"N VK_F3 \"open"});
  // Two stray modifier letters are two errors, yet the line is taken; an unclosed string is
  // taken as empty: the third error stops only what comes after it.
  ASSERT_EQ(map.GetLoadErrors().size(), 3u);
  EXPECT_EQ(Utf8(map.GetLoadErrors()[0].text), "Line 2: 'X' is not a modifier letter (N, A, C, S or E).");
  EXPECT_EQ(Utf8(map.GetLoadErrors()[1].text), "Line 2: 'Q' is not a modifier letter (N, A, C, S or E).");
  EXPECT_EQ(map.GetLoadErrors()[2].line, 3u);
  EXPECT_EQ(map.GetFailedLineCount(), 2u);
  ASSERT_EQ(map.GetCount(), 3u);
  EXPECT_EQ(map.GetAt(1), Map(kKeyCtrl | 0x71, 40));
  EXPECT_EQ(map.GetAt(2), Map(0x72, kActionSend));

  Keymap stop = Parse({u"N VK_F1 MENU_COPY", u"N VK_F2 NOPE", u"N VK_F3", u"N VK_NOPE MENU_COPY",
                       u"N VK_F5 MENU_FIND"});
  EXPECT_EQ(stop.GetLoadErrors().size(), 3u);
  EXPECT_EQ(stop.GetCount(), 1u);  // the line after the third error is not read
  EXPECT_EQ(Utf8(stop.GetLoadErrors()[0].text), "Line 2: 'NOPE' is not a function name.");
  EXPECT_EQ(Utf8(stop.GetLoadErrors()[1].text),
            "Line 3: the modifiers, the key name or the action is missing.");
  EXPECT_EQ(Utf8(stop.GetLoadErrors()[2].text), "Line 4: 'VK_NOPE' is not a key name.");

  // NONE and SEND are not functions a line may name; malformed arguments are errors.
  Keymap bad = Parse({u"N VK_F1 NONE", u"N VK_F2 SEND", u"N VK_F3 RUN(\"a\")", u"N VK_F4 LAUNCH(x)",
                      u"N VK_F5 SET_BUTTONBAR(\"x\"", u"N VK_F6 MENU_COPY"});
  EXPECT_EQ(bad.GetCount(), 0u);
  EXPECT_EQ(bad.GetLoadErrors().size(), 3u);
}

TEST(KeymapLines, LinesThatFailedAreWrittenBackWhereTheyWere) {
  Keymap map = Parse({u"; mine", u"N VK_F1 MENU_COPY", u"N VK_NOPE MENU_PASTE", u"N VK_F3 MENU_FIND"});
  ASSERT_EQ(map.GetCount(), 2u);
  map.Add(Map(0x73, kActionDisabled));
  VStringArray lines = map.ToStrings();
  ASSERT_EQ(lines.GetSize(), 5u);
  EXPECT_EQ(Utf8(lines[0]), "; mine");
  EXPECT_EQ(Utf8(lines[2]), "N VK_NOPE MENU_PASTE");
  EXPECT_EQ(Utf8(lines[3]), "N\tVK_F3               \tMENU_FIND");
  map.RemoveAt(0);
  lines = map.ToStrings();
  ASSERT_EQ(lines.GetSize(), 4u);
  EXPECT_EQ(Utf8(lines[1]), "N VK_NOPE MENU_PASTE");
  EXPECT_EQ(Utf8(lines[2]), "N\tVK_F3               \tMENU_FIND");
}

TEST(KeymapLines, AScriptFileHoldingACloseIsReadUpToTheSecondArgument) {
  Keymap map = Parse({u"N VK_F1 RUN(\"a\")b\")  (\"-x \")(\")\")"});
  ASSERT_EQ(map.GetCount(), 1u);
  EXPECT_EQ(Utf8(map.GetAt(0).first), "a\")b");
  EXPECT_EQ(Utf8(map.GetAt(0).second), "-x \")(\")");
}

TEST(KeymapLines, AHeaderIsKeptAsWrittenAndTrailingBlanksDoNotMakeItOlder) {
  Keymap map;
  VReportMessageParams report;
  ASSERT_TRUE(map.LoadText(u"Version = 1  \nN VK_F1 \"a\\r\\n\"\n", u"h.key", report));
  EXPECT_EQ(Utf8(map.GetHeader()), "Version = 1  ");
  EXPECT_EQ(Utf8(map.GetAt(0).first), "a\\r\\n");
  Keymap again;
  ASSERT_TRUE(again.LoadText(vtext::FromUtf8(map.FileBytes().substr(3)), u"h.key", report));
  EXPECT_EQ(again.GetHeader(), map.GetHeader());
  EXPECT_EQ(again.GetAt(0), map.GetAt(0));
}

TEST(KeymapLines, OlderSendStringsHaveTheirLineBreaksDoubled) {
  Keymap map = Parse({u"N VK_F1 \"a\\r\\nb\\r\\n\""}, true);
  ASSERT_EQ(map.GetCount(), 1u);
  EXPECT_EQ(Utf8(map.GetAt(0).first), "a\\\\r\\\\nb\\\\r\\\\n");
  Keymap current = Parse({u"N VK_F1 \"a\\r\\nb\""}, false);
  EXPECT_EQ(Utf8(current.GetAt(0).first), "a\\r\\nb");
}

TEST(KeymapBinary, OlderBinaryMapsConvertModifiersAndBothEncodings) {
  std::string bytes("\x00\x00\x00\x04", 4);
  bytes += vkeymap::WriteBinaryEntry(0x0600 | 0x74, "SEND", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\\r\\n");
  bytes += vkeymap::WriteBinaryEntry(0x0900 | 0x70, "MENU_COPY", "");
  bytes += vkeymap::WriteBinaryEntry(0x71, "NO_SUCH_FUNCTION", "");
  bytes += vkeymap::WriteBinaryEntry(0x72, "LAUNCH", "caf\xE9 \x80");
  Keymap map;
  EXPECT_EQ(vkeymap::ReadBinaryKeymap(bytes, map), 4u);
  ASSERT_EQ(map.GetCount(), 3u);
  EXPECT_EQ(map.GetAt(0), Map(kKeyCtrl | kKeyShift | 0x74, kActionSend, u"\u00e9t\u00e9\\\\r\\\\n"));
  EXPECT_EQ(map.GetAt(1), Map(kKeyAlt | kKeyExtended | 0x70, 39));
  EXPECT_EQ(map.GetAt(2), Map(0x72, kActionLaunch, u"caf\u00e9 \u20ac"));
}

TEST(KeymapBinary, ACountBeyondTheBytesStopsAtTheLastWholeEntry) {
  std::string whole = vkeymap::WriteBinaryEntry(0x70, "MENU_COPY", "");
  std::string bytes = std::string("\xFF\xFF\xFF\xFF", 4) + whole + whole;
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    Keymap map;
    std::string part = bytes.substr(0, cut);
    size_t entries = cut < 4 ? 0 : (cut - 4) / whole.size();
    EXPECT_EQ(vkeymap::ReadBinaryKeymap(part, map), entries) << cut;
    EXPECT_EQ(map.GetCount(), entries) << cut;
  }
}

}  // namespace
