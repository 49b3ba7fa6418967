// The colour lists in the global configuration over real configuration folders: what a first
// save writes, the older binary schemes, entries and values this release cannot read, and the
// colors command.
#include <gtest/gtest.h>

#include "config/colors/color_builtins.h"
#include "config/global_test_env.h"
#include "support/test_support.h"

namespace {

std::string Repeat(const std::string& field, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += "," + field;
  return out;
}

// The lines of the multi-string value `name` in a value file: its header and its strings.
std::string ValueBlock(const std::string& lines, const std::string& name) {
  size_t start = lines.find("Z:\"" + name + "\"=");
  if (start == std::string::npos) return {};
  size_t end = lines.find("\r\n", start) + 2;
  while (end < lines.size() && lines[end] == ' ') end = lines.find("\r\n", end) + 2;
  return lines.substr(start, end - start);
}

// An older binary scheme: byte 0, the three options, eight foregrounds, eight backgrounds.
std::vector<uint8_t> OlderScheme(uint8_t bold, uint8_t underline, uint8_t blink, uint32_t fg,
                                 uint32_t bg) {
  std::vector<uint8_t> bytes = {0x7F, bold, underline, blink};
  for (int i = 0; i < 16; ++i) {
    uint32_t color = i < 8 ? fg : bg;
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<uint8_t>(color >> (8 * b)));
  }
  return bytes;
}

class ColorConfigTest : public GlobalFolderTest {};

TEST_F(ColorConfigTest, AFirstSaveWritesTheBuiltInsAsStringsOfTheirTextForm) {
  VRef<GlobalConfig> config = LoadOwn(3);
  EXPECT_EQ(config->colorSchemes.GetCount(), 22u);
  EXPECT_EQ(config->ansiPalettes.GetCount(), 15u);
  EXPECT_TRUE(config->colorSchemes.GetLoadWarnings().empty());
  ASSERT_TRUE(SaveOwn(*config.Get(), false));
  std::string lines = folder_.Lines("Global");
  std::string palettes = ValueBlock(lines, "ANSI Color Palettes");
  EXPECT_EQ(palettes.rfind("Z:\"ANSI Color Palettes\"=0000000f\r\n Standard,", 0), 0u);
  EXPECT_NE(palettes.find("\r\n Tidewater Dark,07364200,DC322F00,"), std::string::npos);
  std::string schemes = ValueBlock(lines, "Color Schemes");
  EXPECT_EQ(schemes.rfind("Z:\"Color Schemes\"=00000016\r\n Tidewater Light,", 0), 0u);
  EXPECT_NE(schemes.find("\r\n Lichen,010101" + Repeat("DCDCCC00", 8) + Repeat("3F3F3F00", 8) +
                         ",Lichen\r\n"),
            std::string::npos);
  EXPECT_NE(lines.find("S:\"Current ANSI Palette\"=Standard\r\n"), std::string::npos);

  // Loaded back: the same strings, nothing to write.
  VRef<GlobalConfig> again = LoadOwn(3);
  EXPECT_EQ(again->colorSchemes.Current(), config->colorSchemes.Current());
  EXPECT_FALSE(again->colorSchemes.IsModified());
}

TEST_F(ColorConfigTest, OnlyTheOlderBinarySchemesLoadAsThemselvesWithStandardThenTheBuiltIns) {
  std::string older = IniFolder::BlockLines("Night", OlderScheme(1, 0, 1, 0x00FF00, 0x000010)) +
                      IniFolder::BlockLines("Short", std::vector<uint8_t>(67, 1)) +
                      IniFolder::BlockLines("Desktop Colors", OlderScheme(0, 1, 0, 0x123456, 0x654321));
  folder_.WriteLines("Global", "D:\"MRU Count\"=00000004\r\n");
  folder_.WriteLines("Global/Color Schemes", older);
  VRef<GlobalConfig> config = LoadOwn(3);
  const ProfileColorSchemeListV2& schemes = config->colorSchemes;
  ASSERT_EQ(schemes.GetCount(), 2u + 22u);
  // In the order the store lists the older values.
  EXPECT_EQ(schemes.GetEntry(1).ToUtf8(),
            "Night,010001" + Repeat("00FF0000", 8) + Repeat("10000000", 8) + ",Standard");
  // The desktop's colours replace those of its scheme: black on white where it cannot tell.
  EXPECT_EQ(schemes.GetEntry(0).ToUtf8(),
            "Desktop Colors,000100" + Repeat("00000000", 8) + Repeat("FFFFFF00", 8) + ",Standard");
  EXPECT_EQ(schemes.GetNames()[2].ToUtf8(), "Tidewater Light");
  std::vector<VUnicodeString> warnings = schemes.GetLoadWarnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].ToUtf8().find("'Short'"), std::string::npos);
  EXPECT_NE(warnings[0].ToUtf8().find("67 bytes"), std::string::npos);

  ASSERT_TRUE(SaveOwn(*config.Get(), false));
  EXPECT_NE(ValueBlock(folder_.Lines("Global"), "Color Schemes").find("\r\n Night,010001,00FF0000,"),
            std::string::npos);
  // The older form stays for older programs sharing the folder.
  EXPECT_EQ(folder_.Lines("Global/Color Schemes"), older);
  VRef<GlobalConfig> again = LoadOwn(3);
  EXPECT_EQ(again->colorSchemes.Current(), schemes.Current());
  EXPECT_TRUE(again->colorSchemes.GetLoadWarnings().empty());  // the strings are read now
}

TEST_F(ColorConfigTest, AnEntryThatCannotBeReadIsKeptAsStoredAndReported) {
  std::string good = " Mine,010101" + Repeat("00000000", 16) + ",Standard\r\n";
  std::string block = "Z:\"Color Schemes\"=00000003\r\n Broken,01,02\r\n" + good +
                      " Bad hex,010101" + Repeat("0000000Q", 16) + ",Standard\r\n";
  folder_.WriteLines("Global", block);
  VRef<GlobalConfig> config = LoadOwn(3);
  EXPECT_EQ(config->colorSchemes.GetCount(), 3u);  // no built-ins merged into a stored list
  std::vector<VUnicodeString> warnings = config->colorSchemes.GetLoadWarnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].ToUtf8().find("Broken,01,02\nBad hex,"), std::string::npos);
  EXPECT_FALSE(config->colorSchemes.GetScheme(u"Broken"));
  ColorSchemeEntry added = *config->colorSchemes.GetScheme(u"Mine");
  added.name = u"Added";
  config->colorSchemes.SetScheme(added);
  ASSERT_TRUE(SaveOwn(*config.Get(), true));
  std::string expected = "Z:\"Color Schemes\"=00000004\r\n Broken,01,02\r\n" + good + " Bad hex,010101" +
                         Repeat("0000000Q", 16) + ",Standard\r\n Added" + good.substr(5);
  EXPECT_EQ(ValueBlock(folder_.Lines("Global"), "Color Schemes"), expected);
}

TEST_F(ColorConfigTest, AListStoredAsAnotherKindIsLeftAsItIsUntilChanged) {
  folder_.WriteLines("Global", "S:\"ANSI Color Palettes\"=not a list\r\n");
  VRef<GlobalConfig> config = LoadOwn(3);
  EXPECT_EQ(config->ansiPalettes.GetCount(), 15u);  // the built-ins stand in
  ASSERT_EQ(config->ansiPalettes.GetLoadWarnings().size(), 1u);
  ASSERT_TRUE(SaveOwn(*config.Get(), true));
  std::string lines = folder_.Lines("Global");
  EXPECT_NE(lines.find("S:\"ANSI Color Palettes\"=not a list\r\n"), std::string::npos);
  EXPECT_EQ(ValueBlock(lines, "ANSI Color Palettes"), "");

  config->ansiPalettes.SetPalette(AnsiPaletteEntry{u"Mine", {}});
  ASSERT_TRUE(SaveOwn(*config.Get(), false));
  lines = folder_.Lines("Global");
  EXPECT_EQ(lines.find("not a list"), std::string::npos);
  EXPECT_EQ(ValueBlock(lines, "ANSI Color Palettes").substr(0, 34), "Z:\"ANSI Color Palettes\"=00000010\r\n");
}

// ---- the command ----

class ColorsCommandTest : public ::testing::Test {
 protected:
  qtest::RunResult Q(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", dir_ / "config"});
    return qtest::Quillane(args, qtest::HostEnv(dir_));
  }
  std::string Global() { return qtest::ReadFile(dir_ / "config/Global.ini"); }
  qtest::TempDir dir_;
};

TEST_F(ColorsCommandTest, SetShowListAndDeleteAScheme) {
  auto r = Q({"colors", "set", "scheme", "Mine", "--fg", "000000", "--bg", "FFFFFF", "--options", "1,0,1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Global().find("\r\n Mine,010001" + Repeat("00000000", 8) + Repeat("FFFFFF00", 8) + ",Standard\r\n"),
            std::string::npos);
  r = Q({"--json", "colors", "show", "scheme", "Mine"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("{\"name\": \"Mine\", \"palette\": \"Standard\", \"overstrike_bold\": true, "
                       "\"show_underline\": false, \"enable_blink\": true, \"foreground\": [\"000000\""),
            std::string::npos)
      << r.out;
  // Only what is given changes.
  r = Q({"colors", "set", "scheme", "Mine", "--palette", "Ember", "--fg", "FF0000,00FF00,0000FF,000000,111111,222222,333333,444444"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Global().find(" Mine,010001,FF000000,00FF0000,0000FF00,00000000,11111100,22222200,33333300,44444400" +
                          Repeat("FFFFFF00", 8) + ",Ember\r\n"),
            std::string::npos);
  r = Q({"--json", "colors", "list", "schemes"});
  EXPECT_EQ(r.out.substr(0, 20), "[\"Tidewater Light\", ");
  EXPECT_NE(r.out.find("\"Lichen\", \"Mine\"]"), std::string::npos);

  EXPECT_EQ(Q({"colors", "delete", "scheme", "Lichen"}).status, 3);  // built in
  EXPECT_EQ(Q({"colors", "delete", "scheme", "Nobody"}).status, 1);
  r = Q({"colors", "delete", "scheme", "Mine"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Global().find(" Mine,"), std::string::npos);
  EXPECT_EQ(Q({"colors", "show", "scheme", "Mine"}).status, 1);
}

TEST_F(ColorsCommandTest, BadInputIsRefusedByNameAndChangesNothing) {
  ASSERT_EQ(Q({"colors", "set", "palette", "P", Repeat("123456", 16).substr(1)}).status, 0);
  std::string before = Global();
  struct Case {
    std::vector<std::string> args;
    std::string complaint;
  } cases[] = {
      {{"colors", "set", "palette", "P", Repeat("123456", 15).substr(1)}, "16 colours"},
      {{"colors", "set", "palette", "a,b", Repeat("123456", 16).substr(1)}, "'a,b'"},
      {{"colors", "set", "scheme", "S", "--fg", "12345"}, "'12345'"},
      {{"colors", "set", "scheme", "S", "--bg", "123456,123456"}, "8 colours"},
      {{"colors", "set", "scheme", "S", "--options", "1,2,0"}, "'1,2,0'"},
      {{"colors", "set", "scheme", "S", "--palette", "Nowhere"}, "'Nowhere'"},
      {{"colors", "delete", "palette", "Standard"}, "'Standard' is built in"},
  };
  for (const Case& c : cases) {
    auto r = Q(c.args);
    EXPECT_NE(r.status, 0) << c.args[3];
    EXPECT_NE(r.err.find(c.complaint), std::string::npos) << r.err;
    EXPECT_EQ(Global(), before);
  }
}

TEST_F(ColorsCommandTest, ADeletedPaletteLeavesItsSchemesAndTheCurrentPaletteOnStandard) {
  ASSERT_EQ(Q({"colors", "set", "palette", "P", Repeat("123456", 16).substr(1)}).status, 0);
  ASSERT_EQ(Q({"colors", "set", "scheme", "S", "--palette", "P"}).status, 0);
  ASSERT_EQ(Q({"global", "set", "Current ANSI Palette", "P"}).status, 0);
  auto r = Q({"--json", "colors", "show", "palette", "P"});
  EXPECT_EQ(r.out.rfind("{\"name\": \"P\", \"colors\": [\"123456\", \"123456\", ", 0), 0u) << r.out;
  r = Q({"colors", "delete", "palette", "P"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string global = Global();
  EXPECT_EQ(global.find(" P,12345600"), std::string::npos);
  EXPECT_NE(global.find(" S,010101" + Repeat("00000000", 8) + Repeat("FFFFFF00", 8) + ",Standard\r\n"),
            std::string::npos);
  EXPECT_NE(global.find("S:\"Current ANSI Palette\"=Standard\r\n"), std::string::npos);
}

TEST_F(ColorsCommandTest, AStoredEntryThatCannotBeReadIsReportedAndReplacedOnlyWhole) {
  std::string good = " Mine,010101" + Repeat("00000000", 16) + ",Standard\r\n";
  qtest::WriteFile(dir_ / "config/Global.ini",
                   "\xEF\xBB\xBFZ:\"Color Schemes\"=00000002\r\n Broken,01,02\r\n" + good);
  auto r = Q({"colors", "list", "schemes"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Broken\nMine\n");
  EXPECT_NE(r.err.find("could not be read; they are kept as they are:"), std::string::npos) << r.err;
  std::string before = Global();
  r = Q({"colors", "show", "scheme", "Broken"});
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("'Broken' could not be read"), std::string::npos) << r.err;
  EXPECT_EQ(Q({"colors", "set", "scheme", "Broken", "--fg", "FFFFFF"}).status, 3);
  EXPECT_EQ(Global(), before);
  r = Q({"colors", "set", "scheme", "Broken", "--fg", "FFFFFF", "--bg", "000000", "--options", "0,0,0",
         "--palette", "Standard"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Global().find("Z:\"Color Schemes\"=00000002\r\n Broken,000000" + Repeat("FFFFFF00", 8) +
                          Repeat("00000000", 8) + ",Standard\r\n" + good),
            std::string::npos);
}

}  // namespace
