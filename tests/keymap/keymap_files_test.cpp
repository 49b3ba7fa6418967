// Key map files on disk: hand-written files, the bytes written, the "keymaps" folder, and a second
// reader of the written files that shares no code with the library.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "config/keymap/key_codes.h"
#include "config/keymap/keymap.h"
#include "config/keymap/keymap_functions.h"
#include "config/keymap/keymap_messages.h"
#include "platform/app_info.h"
#include "support/test_support.h"

namespace {

using qtest::TempDir;

std::string Utf8(const std::u16string& text) { return vtext::ToUtf8(text); }
VUnicodeString Wide(const std::string& text) { return VUnicodeString::FromUtf8(text); }
std::string Fixture(const std::string& name) { return std::string(QUILLANE_FIXTURES) + "/keymaps/" + name; }

KeyMapping Map(uint32_t key, uint32_t action, const char16_t* first = u"", const char16_t* second = u"") {
  return KeyMapping{key, action, VUnicodeString(first), VUnicodeString(second)};
}

// Points the configuration folder in use at `folder` for one test.
struct ConfigFolder {
  explicit ConfigFolder(const std::string& folder) { vapp::SetConfigFolderInUse(Wide(folder)); }
  ~ConfigFolder() { vapp::SetConfigFolderInUse(VUnicodeString()); }
};

TEST(KeymapFiles, HandWrittenFilesLoadWhateverTheirBlanksLineEndsAndMark) {
  Keymap map;
  VReportMessageParams report;
  ASSERT_TRUE(map.Load(Wide(Fixture("lf_blanks_and_tabs.key")), report));
  EXPECT_FALSE(report.IsError());
  EXPECT_EQ(Utf8(map.GetHeader()), "Version = 1");
  EXPECT_TRUE(map.SawComment());
  ASSERT_EQ(map.GetCount(), 7u);
  EXPECT_EQ(map.GetAt(0), Map(0x70, 39));
  EXPECT_EQ(map.GetAt(1), Map(kKeyCtrl | kKeyShift | 0x74, kActionSend, u"ls -l\\r"));
  EXPECT_EQ(map.GetAt(2), Map(kKeyAlt | 0x10000A2, kActionLaunch, u"\"/usr/bin/xterm\" -e top"));
  EXPECT_EQ(map.GetAt(3), Map(kKeyAlt | kKeyCtrl | 0x4D, kActionRun, u"/home/me/s.py", u"--fast"));
  EXPECT_EQ(map.GetAt(4), Map(kKeyExtended | 0x1000052, kActionSetButtonBar, u"Lab"));
  EXPECT_EQ(map.GetAt(5), Map(kKeyShift | 0x2F, 254));
  EXPECT_EQ(map.GetAt(6), Map(0x40000074, kActionDisabled));

  Keymap marked;
  ASSERT_TRUE(marked.Load(Wide(Fixture("crlf_with_mark.key")), report));
  ASSERT_EQ(marked.GetCount(), 3u);
  EXPECT_EQ(marked.GetAt(0), Map(kKeyAlt | kKeyCtrl | kKeyShift | 0x2E, kActionSend, u"\\177"));
  EXPECT_EQ(marked.GetAt(1), Map(0x800000C9, kActionSend, u"\u00e9t\u00e9"));
  EXPECT_EQ(marked.GetAt(2), Map(kKeyExtended | 0x0D, 237));

  // Without the current header, send strings are of the older form.
  Keymap older;
  ASSERT_TRUE(older.Load(Wide(Fixture("no_header_older.key")), report));
  EXPECT_TRUE(older.GetHeader().empty());
  ASSERT_EQ(older.GetCount(), 2u);
  EXPECT_EQ(Utf8(older.GetAt(0).first), "cd /tmp\\\\r\\\\n");
  EXPECT_EQ(older.GetAt(1).action, 44u);
}

TEST(KeymapFiles, TwoBadLinesWarnAndAreKeptThreeStopTheLoad) {
  TempDir dir;
  Keymap map;
  VReportMessageParams report;
  const std::string copy = dir / "two.key";
  qtest::WriteFile(copy, qtest::ReadFile(Fixture("two_errors.key")));
  ASSERT_TRUE(map.Load(Wide(copy), report));
  EXPECT_EQ(report.GetMessageId(), kMsgKeymapLoadedWithErrors);
  std::string text = Utf8(report.GetTextTrimmed());
  EXPECT_NE(text.find(copy), std::string::npos) << text;
  EXPECT_NE(text.find("Line 3: 'X' is not a modifier letter"), std::string::npos) << text;
  EXPECT_NE(text.find("Line 4: 'VK_NOPE' is not a key name."), std::string::npos) << text;
  EXPECT_EQ(map.GetCount(), 3u);
  EXPECT_EQ(map.GetFailedLineCount(), 2u);
  // Saving keeps the line that could not be read, in its place.
  ASSERT_TRUE(map.Save(Wide(copy), report));
  EXPECT_EQ(qtest::ReadFile(copy),
            "\xEF\xBB\xBFVersion = 1\r\nN\tVK_F1               \tMENU_COPY\r\n"
            "N\tVK_F2               \tMENU_PASTE\r\nN VK_NOPE MENU_PASTE\r\n"
            "N\tVK_F4               \tMENU_FIND\r\n");

  Keymap stopped;
  VReportMessageParams failure;
  EXPECT_FALSE(stopped.Load(Wide(Fixture("three_errors.key")), failure));
  EXPECT_EQ(failure.GetMessageId(), kMsgKeymapStopped);
  text = Utf8(failure.GetTextTrimmed());
  EXPECT_NE(text.find("three_errors.key"), std::string::npos) << text;
  EXPECT_NE(text.find("Line 5: the arguments of RUN"), std::string::npos) << text;
  EXPECT_EQ(stopped.GetCount(), 1u);
  EXPECT_EQ(stopped.GetLoadErrors().back().line, 5u);
}

TEST(KeymapFiles, AMissingFileIsLookedForInTheKeymapsFolderWhichIsNeverWrittenByLooking) {
  TempDir dir;
  ConfigFolder config(dir / "cfg");
  qtest::WriteFile(dir / "cfg/keymaps/lab.key", "Version = 1\nN VK_F1 MENU_COPY\n");
  Keymap map;
  VReportMessageParams report;
  ASSERT_TRUE(map.Load(u"lab.key", report));
  EXPECT_EQ(map.GetCount(), 1u);
  // A full path that is not there is looked for by its name in the folder.
  ASSERT_TRUE(map.Load(Wide(dir / "elsewhere/lab.key"), report));
  EXPECT_EQ(map.GetCount(), 1u);

  VReportMessageParams failure;
  EXPECT_FALSE(map.Load(u"missing.key", failure));
  EXPECT_EQ(failure.GetMessageId(), kMsgKeymapUnreadable);
  EXPECT_NE(Utf8(failure.GetTextTrimmed()).find("'missing.key'"), std::string::npos);
  EXPECT_FALSE(qtest::Exists(dir / "cfg/keymaps/missing.key"));
  EXPECT_FALSE(qtest::Exists("missing.key"));
  EXPECT_EQ(map.GetCount(), 1u);  // a failed open leaves the key map as it was

  // A save of a key map found there goes back there.
  map.Add(Map(0x71, kActionDisabled));
  ASSERT_TRUE(map.Save(u"lab.key", report));
  EXPECT_NE(qtest::ReadFile(dir / "cfg/keymaps/lab.key").find("VK_F2"), std::string::npos);
  EXPECT_FALSE(qtest::Exists("lab.key"));
}

TEST(KeymapFiles, AFileThatCannotBeWrittenIsReportedAndLeftAsItWas) {
  TempDir dir;
  Keymap map;
  map.Add(Map(0x70, 39));
  VReportMessageParams report;
  EXPECT_FALSE(map.Save(Wide(dir / "no/such/folder/x.key"), report));
  EXPECT_EQ(report.GetMessageId(), kMsgKeymapUnwritable);
  EXPECT_NE(Utf8(report.GetTextTrimmed()).find("x.key"), std::string::npos);
  EXPECT_FALSE(qtest::Exists(dir / "no"));
}

// Runs the second reader on a file; its lines are: header, then one per mapping.
std::vector<std::vector<std::string>> ReadWithSecondReader(const std::string& path) {
  qtest::RunResult run = qtest::Run("/usr/bin/env", {"python3", std::string(QUILLANE_SOURCE_DIR) + "/tests/keymap/read_keymap.py", path});
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(run.out);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    size_t at = 0;
    for (size_t tab; (tab = line.find('\t', at)) != std::string::npos; at = tab + 1)
      fields.push_back(line.substr(at, tab - at));
    fields.push_back(line.substr(at));
    lines.push_back(fields);
  }
  return lines;
}

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

TEST(KeymapFiles, WrittenFilesReadTheSameWithASecondIndependentReader) {
  TempDir dir;
  Keymap map;
  // Every key of both tables, with every modifier combination in turn, bound to every kind of
  // action and to every function.
  uint32_t combos[] = {0, kKeyAlt, kKeyCtrl | kKeyShift, kKeyExtended, kKeyAlt | kKeyCtrl | kKeyShift | kKeyExtended, kKeyWindows};
  size_t n = 0;
  for (auto table : {vkeys::VirtualKeys(), vkeys::ExtendedKeys()}) {
    for (const KeyName& key : table) {
      uint32_t action = 5 + n % (vkeymap::kFunctionCount - 5);
      KeyMapping m{key.code | combos[n % std::size(combos)], action, {}, {}};
      switch (n % 9) {
        case 0: m = {m.keyCode, kActionSend, U8("echo \"caf\u00e9\" \\033[A\t\r\n"), {}}; break;
        case 1: m = {m.keyCode, kActionRun, U8("/opt/s p/x.py"), U8("-a \"b c\"")}; break;
        case 2: m = {m.keyCode, kActionLaunch, U8("\"/usr/bin/xterm\" -e top"), {}}; break;
        case 3: m = {m.keyCode, kActionSetButtonBar, U8("Bar \u20ac"), {}}; break;
        default: break;
      }
      map.Add(m);
      ++n;
    }
  }
  VReportMessageParams report;
  const std::string path = dir / "all.key";
  ASSERT_TRUE(map.Save(Wide(path), report));
  auto lines = ReadWithSecondReader(path);
  ASSERT_EQ(lines.size(), map.GetCount() + 1);
  EXPECT_EQ(Unhex(lines[0].at(1)), "Version = 1");
  for (size_t i = 0; i < map.GetCount(); ++i) {
    const KeyMapping& m = map.GetAt(i);
    const auto& f = lines[i + 1];
    ASSERT_GE(f.size(), 3u);
    uint32_t bits = 0;
    for (char c : f[0]) {
      bits |= c == 'A' ? kKeyAlt : c == 'C' ? kKeyCtrl : c == 'S' ? kKeyShift : c == 'E' ? kKeyExtended : 0;
      EXPECT_TRUE(std::string("ACSEN").find(c) != std::string::npos) << f[0];
    }
    auto key = vkeys::KeyCodeOfName(Wide(f[1]));
    ASSERT_TRUE(key.has_value()) << f[1];
    EXPECT_EQ(*key | bits, m.keyCode) << i << " " << f[1];
    EXPECT_EQ(vkeymap::FunctionCodeOfName(Wide(f[2])), m.action) << f[2];
    std::vector<std::string> args(f.begin() + 3, f.end());
    std::vector<std::string> expected;
    if (m.action == kActionSend)
      expected = {"echo \"caf\xC3\xA9\" \\033[A\\011\\015\\012"};  // control characters escaped
    if (m.action == kActionRun) expected = {Utf8(m.first), Utf8(m.second)};
    if (m.action == kActionLaunch || m.action == kActionSetButtonBar) expected = {Utf8(m.first)};
    for (auto& a : args) a = Unhex(a);
    EXPECT_EQ(args, expected) << i;
  }
  // And the library reads its own file back to the same mappings.
  Keymap again;
  ASSERT_TRUE(again.Load(Wide(path), report));
  EXPECT_TRUE(again.GetLoadErrors().empty());
  ASSERT_EQ(again.GetCount(), map.GetCount());
  for (size_t i = 0; i < map.GetCount(); ++i) {
    KeyMapping expected = map.GetAt(i);
    if (expected.action == kActionSend) expected.first = U8("echo \"caf\u00e9\" \\033[A\\011\\015\\012");
    EXPECT_EQ(again.GetAt(i), expected) << i;
  }
}

TEST(KeymapFiles, ANewKeymapWritesTheCurrentHeaderAndCtrlShiftF5ByteForByte) {
  TempDir dir;
  Keymap map;
  EXPECT_EQ(map.GetFlags(), 4096u);
  map.Add(Map(kKeyCtrl | kKeyShift | 0x74, kActionSend, u"ls\\r"));
  map.Add(Map(0x70, 39));
  VReportMessageParams report;
  ASSERT_TRUE(map.Save(Wide(dir / "new.key"), report));
  EXPECT_EQ(qtest::ReadFile(dir / "new.key"),
            "\xEF\xBB\xBFVersion = 1\r\nCS\tVK_F5               \t\"ls\\r\"\r\n"
            "N\tVK_F1               \tMENU_COPY\r\n");
}

}  // namespace
