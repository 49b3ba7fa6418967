// A session's own key map: the stored lines, lines that cannot be read, and the older forms.
#include <gtest/gtest.h>

#include "config/keymap/key_codes.h"
#include "config/keymap/keymap_binary.h"
#include "config/keymap/keymap_functions.h"
#include "config/keymap/keymap_messages.h"
#include "session_test_env.h"

namespace {

using SessionKeymapTest = SessionFolderTest;

std::string Hex(const std::string& bytes) {
  std::string out;
  char buffer[4];
  for (unsigned char c : bytes) {
    snprintf(buffer, sizeof buffer, " %02x", c);
    out += buffer;
  }
  return out;
}

TEST_F(SessionKeymapTest, StoredLinesThatCannotBeReadAreReportedAndWrittenBackUntouched) {
  WriteSession("k", "D:\"Is Session\"=00000001\r\nZ:\"Keymap v4\"=00000003\r\n"
                    " CS\tVK_F5               \t\"ls\\r\"\r\n N VK_NOPE MENU_COPY\r\n"
                    " N\tVK_F1\tMENU_PASTE\r\n");
  // The first save writes every default of a session; the key map lines stay as they were.
  ASSERT_TRUE(SaveAt(*Open(u"k").Get(), u"k", true));
  EXPECT_TRUE(Has(Session("k"), "Z:\"Keymap v4\"=00000003\r\n CS\tVK_F5               \t\"ls\\r\"\r\n"
                                " N VK_NOPE MENU_COPY\r\n N\tVK_F1\tMENU_PASTE"));
  const std::string before = qtest::ReadFile(SessionFile("k"));
  VRef<SessionConfig> session = Open(u"k");
  ProfileKeymap& keymap = session->terminal.keymap;
  ASSERT_EQ(keymap.GetCount(), 2u);
  EXPECT_EQ(keymap.GetAt(0).keyCode, kKeyCtrl | kKeyShift | 0x74u);
  EXPECT_EQ(keymap.GetAt(1).action, 40u);
  VReportMessageParams report;
  ASSERT_TRUE(keymap.GetLoadReport(report));
  EXPECT_EQ(report.GetMessageId(), kMsgKeymapSettingErrors);
  EXPECT_NE(vtext::ToUtf8(report.GetTextTrimmed()).find("Line 2: 'VK_NOPE' is not a key name."),
            std::string::npos);
  EXPECT_FALSE(session->IsModified());
  for (bool force : {false, true}) {
    ASSERT_TRUE(SaveAt(*session.Get(), u"k", force));
    EXPECT_TRUE(qtest::ReadFile(SessionFile("k")) == before) << force;
  }
  // A change rewrites the mappings in the current form and keeps the unread line in its place.
  keymap.RemoveAt(0);
  keymap.Add({kKeyAlt | 0x4D, kActionLaunch, VUnicodeString(u"xterm"), VUnicodeString()});
  EXPECT_TRUE(session->IsModified());
  ASSERT_TRUE(SaveAt(*session.Get(), u"k", false));
  EXPECT_TRUE(Has(Session("k"), "Z:\"Keymap v4\"=00000003\r\n N VK_NOPE MENU_COPY\r\n"
                                " N\tVK_F1               \tMENU_PASTE\r\n"
                                " A\tVK_M                \tLAUNCH(\"xterm\")"))
      << Session("k");
}

TEST_F(SessionKeymapTest, OlderLinesAreConvertedOnceAndTheirValueBlanked) {
  WriteSession("k", "D:\"Is Session\"=00000001\r\nZ:\"Keymap v3\"=00000002\r\n"
                    " N\tVK_F1\t\"cd\\r\\n\"\r\n S\tVK_F2\tVT_HELP\r\n");
  VRef<SessionConfig> session = Open(u"k");
  ProfileKeymap& keymap = session->terminal.keymap;
  EXPECT_EQ(keymap.ConvertedFrom(), std::u16string_view(u"Keymap v3"));
  ASSERT_EQ(keymap.GetCount(), 2u);
  EXPECT_EQ(vtext::ToUtf8(keymap.GetAt(0).first), "cd\\\\r\\\\n");
  ASSERT_TRUE(SaveAt(*session.Get(), u"k", false));
  std::string lines = Session("k");
  EXPECT_TRUE(Has(lines, "Z:\"Keymap v4\"=00000002\r\n N\tVK_F1               \t\"cd\\\\r\\\\n\"\r\n"
                         " S\tVK_F2               \tVT_F15"))
      << lines;
  EXPECT_EQ(lines.find(" N\tVK_F1\t\"cd\\r\\n\""), std::string::npos) << lines;
  // Read again, the current value wins and nothing is converted twice.
  session = Open(u"k");
  EXPECT_EQ(session->terminal.keymap.ConvertedFrom(), nullptr);
  EXPECT_EQ(session->terminal.keymap.GetCount(), 2u);
  EXPECT_FALSE(session->IsModified());
}

TEST_F(SessionKeymapTest, OlderBinaryKeymapsConvertWithBothEncodingsAndTruncation) {
  std::string bytes("\x00\x00\x00\x05", 4);  // claims one entry more than it holds
  bytes += vkeymap::WriteBinaryEntry(0x0200 | 0x74, "SEND", "\xEF\xBB\xBF\xC3\xA9\\r\\n");
  bytes += vkeymap::WriteBinaryEntry(0x0800 | 0x70, "MENU_TOGGLE_CHAT_WINDOW", "");
  bytes += vkeymap::WriteBinaryEntry(0x72, "LAUNCH", "caf\xE9");
  bytes += vkeymap::WriteBinaryEntry(0x73, "UNKNOWN_THING", "");
  WriteSession("k", "D:\"Is Session\"=00000001\r\nB:\"Keymap\"=" +
                        std::string(vtext::ToUtf8(vtext::FormatHex(static_cast<uint32_t>(bytes.size()), 8))) +
                        "\r\n" + Hex(bytes) + "\r\n");
  VRef<SessionConfig> session = Open(u"k");
  ProfileKeymap& keymap = session->terminal.keymap;
  EXPECT_EQ(keymap.ConvertedFrom(), std::u16string_view(u"Keymap"));
  ASSERT_EQ(keymap.GetCount(), 3u);
  EXPECT_EQ(keymap.GetAt(0).keyCode, kKeyCtrl | 0x74u);
  EXPECT_EQ(vtext::ToUtf8(keymap.GetAt(0).first), "\xC3\xA9\\\\r\\\\n");
  EXPECT_EQ(keymap.GetAt(1).keyCode, kKeyAlt | 0x70u);
  EXPECT_EQ(keymap.GetAt(1).action, 58u);
  EXPECT_EQ(vtext::ToUtf8(keymap.GetAt(2).first), "caf\xC3\xA9");
  ASSERT_TRUE(SaveAt(*session.Get(), u"k", true));
  std::string lines = Session("k");
  EXPECT_TRUE(Has(lines, "B:\"Keymap\"=00000000")) << lines;
  EXPECT_TRUE(Has(lines, " A\tVK_F1               \tMENU_TOGGLE_COMMAND_WINDOW")) << lines;
}

TEST_F(SessionKeymapTest, ACustomKeymapTurnsTheAlternateKeyboardOn) {
  WriteSession("k", "D:\"Is Session\"=00000001\r\nS:\"Keymap Name\"=Custom\r\n"
                    "D:\"Use Alternate Keyboard\"=00000000\r\n");
  EXPECT_TRUE(Open(u"k")->terminal.useAlternateKeyboard.current);
}

}  // namespace
