// Colour entries as text, the built-in entries, and the list operations the editors rely on.
#include <gtest/gtest.h>

#include <set>

#include "config/colors/color_builtins.h"
#include "config/colors/color_lists.h"
#include "report/message_catalogue.h"

namespace {

std::string Repeat(const std::string& field, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += "," + field;
  return out;
}

size_t FieldCount(const VUnicodeString& entry) {
  size_t count = 1;
  for (char16_t c : entry) count += c == u',';
  return count;
}

TEST(ColorText, ColoursAreRedGreenBlueThenZeroAndReadBackRedLow) {
  VColor orange = MakeColor(0xFF, 0x80, 0x01);
  EXPECT_EQ(orange, 0x0180FFu);
  EXPECT_EQ(vcolors::ColorToText(orange).ToUtf8(), "FF800100");
  EXPECT_EQ(vcolors::ColorFromText(u"FF800100"), orange);
  EXPECT_EQ(vcolors::ColorFromText(u"ff8001"), orange);
  EXPECT_EQ(vcolors::ColorFromText(u"FF8001FF"), orange);  // a fourth byte is no part of a colour
  for (const char16_t* bad : {u"", u"FF80010", u"FF80G100", u"FF8001000", u" FF80010"})
    EXPECT_FALSE(vcolors::ColorFromText(bad)) << VUnicodeString(bad).ToUtf8();
}

TEST(ColorText, ASchemeIsNineteenFieldsAndAPaletteSeventeen) {
  ColorSchemeEntry scheme;
  scheme.name = u"Mine";
  scheme.paletteName = u"Standard";
  scheme.overstrikeBold = 1, scheme.showUnderline = 0, scheme.enableBlink = 1;
  scheme.foregrounds.fill(MakeColor(0, 0, 0));
  scheme.backgrounds.fill(MakeColor(0xFF, 0xFF, 0xFF));
  VUnicodeString text = vcolors::FormatScheme(scheme);
  EXPECT_EQ(text.ToUtf8(), "Mine,010001" + Repeat("00000000", 8) + Repeat("FFFFFF00", 8) + ",Standard");
  EXPECT_EQ(FieldCount(text), 19u);
  EXPECT_EQ(vcolors::ParseScheme(text), scheme);

  AnsiPaletteEntry palette;
  palette.name = u"Mine";
  for (size_t i = 0; i < kPaletteColorCount; ++i) palette.colors[i] = MakeColor(uint8_t(i), 0, uint8_t(255 - i));
  VUnicodeString paletteText = vcolors::FormatPalette(palette);
  EXPECT_EQ(FieldCount(paletteText), 17u);
  EXPECT_EQ(vtext::ToUtf8(paletteText.substr(0, 23)), "Mine,0000FF00,0100FE00,");
  EXPECT_EQ(vcolors::ParsePalette(paletteText), palette);
}

TEST(ColorText, EntriesWithTheWrongFieldsAreNotRead) {
  std::string good = "Mine,010101" + Repeat("00000000", 16) + ",Standard";
  ASSERT_TRUE(vcolors::ParseScheme(VUnicodeString(vtext::FromUtf8(good))));
  for (std::string bad : {"Mine,010101" + Repeat("00000000", 15) + ",Standard",  // 18 fields
                          good + ",extra", "Mine,0101" + Repeat("00000000", 16) + ",Standard",
                          "Mine,01010Z" + Repeat("00000000", 16) + ",Standard",
                          "Mine,010101" + Repeat("0000000", 16) + ",Standard", std::string(","),
                          "," + good.substr(5)}) {
    EXPECT_FALSE(vcolors::ParseScheme(VUnicodeString(vtext::FromUtf8(bad)))) << bad;
  }
  EXPECT_FALSE(vcolors::ParsePalette(u"P,00000000"));
  EXPECT_FALSE(vcolors::ParsePalette(VUnicodeString(vtext::FromUtf8("P" + Repeat("0000000X", 16)))));
  EXPECT_TRUE(vcolors::ParsePalette(VUnicodeString(vtext::FromUtf8("P" + Repeat("00000000", 16)))));
  EXPECT_FALSE(vcolors::IsValidEntryName(u"a,b"));
  EXPECT_FALSE(vcolors::IsValidEntryName(u""));
  EXPECT_FALSE(vcolors::IsValidEntryName(u"a\nb"));
}

TEST(ColorBuiltIns, FifteenPalettesAndTwentyTwoSchemesInTheirOrderAndColours) {
  std::vector<AnsiPaletteEntry> palettes = vcolors::BuiltInPalettes();
  ASSERT_EQ(palettes.size(), 15u);
  EXPECT_EQ(palettes[0].name.ToUtf8(), "Standard");
  EXPECT_EQ(vcolors::FormatPalette(palettes[0]).ToUtf8(),
            "Standard,00000000,A0000000,00A00000,A0A00000,0000A000,A000A000,00A0A000,C0C0C000,"
            "80808000,FF000000,00FF0000,FFFF0000,0000FF00,FF00FF00,00FFFF00,FFFFFF00");
  EXPECT_EQ(palettes[14].colors[15], MakeColor(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(palettes[14].colors[0], ColorFromRgb(0x4D4D4D));
  EXPECT_EQ(palettes[1].colors[1], ColorFromRgb(0xBE2D26));
  EXPECT_EQ(palettes[10].colors, palettes[12].colors);  // two names, one set of colours
  EXPECT_NE(palettes[10].name, palettes[12].name);
  std::set<VUnicodeString> paletteNames;
  for (const AnsiPaletteEntry& palette : palettes) {
    EXPECT_TRUE(vcolors::IsValidEntryName(palette.name));
    EXPECT_TRUE(paletteNames.insert(palette.name).second);
    EXPECT_TRUE(vcolors::IsBuiltInPaletteName(palette.name));
  }

  std::vector<ColorSchemeEntry> schemes = vcolors::BuiltInSchemes();
  ASSERT_EQ(schemes.size(), 22u);
  std::set<VUnicodeString> schemeNames;
  for (const ColorSchemeEntry& scheme : schemes) {
    EXPECT_TRUE(schemeNames.insert(scheme.name).second);
    EXPECT_EQ(paletteNames.count(scheme.paletteName), 1u) << scheme.name.ToUtf8();
    EXPECT_EQ(scheme.overstrikeBold + scheme.showUnderline + scheme.enableBlink, 3);
  }
  EXPECT_EQ(vcolors::FormatScheme(schemes[0]).ToUtf8(),
            "Tidewater Light,010101" + Repeat("657B8300", 8) + Repeat("FDF6E300", 8) + ",Tidewater Light");
  // The third scheme tells bold from the rest; the first-palette schemes name "Standard".
  EXPECT_EQ(vcolors::FormatScheme(schemes[2]).ToUtf8(),
            "Aqua Contrast,010101" + Repeat("00000000,0000FF00", 4) + Repeat("00FFFF00", 8) + ",Standard");
  EXPECT_EQ(schemes[21].foregrounds[7], ColorFromRgb(0xDCDCCC));
  EXPECT_EQ(schemes[21].backgrounds[0], ColorFromRgb(0x3F3F3F));
  EXPECT_EQ(schemes[17].paletteName, palettes[0].name);
  EXPECT_FALSE(vcolors::IsBuiltInSchemeName(u"Mine"));
}

TEST(ColorBuiltIns, NamesFollowTheLanguageOfTheTexts) {
  VSetMessageLanguage(VLanguage::French);
  std::vector<ColorSchemeEntry> schemes = vcolors::BuiltInSchemes();
  VResetMessageLanguage();
  EXPECT_EQ(schemes[12].name.ToUtf8(), "Noir sur blanc");
  EXPECT_EQ(schemes[0].paletteName, schemes[0].name);
}

TEST(ColorLists, FindSetAndDeleteWithThePaletteFallback) {
  ProfileAnsiPaletteList palettes;
  ProfileColorSchemeListV2 schemes;
  palettes.LoadList(nullptr);
  schemes.LoadList(nullptr);
  EXPECT_EQ(palettes.GetCount(), 15u);
  EXPECT_EQ(palettes.GetDefaultPaletteName().ToUtf8(), "Standard");
  EXPECT_EQ(schemes.Find(u"Nothing"), ProfileColorsBase::kNotFound);
  EXPECT_EQ(schemes.Find(u"Tidewater"), ProfileColorsBase::kNotFound);  // whole names only
  EXPECT_FALSE(schemes.GetScheme(u"Nothing"));
  EXPECT_THROW(schemes.GetEntry(99), std::exception);

  AnsiPaletteEntry mine{u"Mine", {}};
  palettes.SetPalette(mine);
  ColorSchemeEntry scheme;
  scheme.name = u"Uses mine";
  scheme.paletteName = u"Mine";
  schemes.SetScheme(scheme);
  scheme.enableBlink = 0;
  schemes.SetScheme(scheme);  // replaces, in place
  EXPECT_EQ(schemes.GetCount(), 23u);
  EXPECT_EQ(schemes.GetScheme(u"Uses mine")->enableBlink, 0);
  // A scheme entry that cannot be read is left as it is by the fallback.
  schemes.SetEntry(u"Odd,entry,Mine");
  VUnicodeString current = u"Mine";
  EXPECT_FALSE(vcolors::DeletePalette(palettes, schemes, current, u"Other"));
  EXPECT_TRUE(vcolors::DeletePalette(palettes, schemes, current, u"Mine"));
  EXPECT_EQ(current.ToUtf8(), "Standard");
  EXPECT_EQ(schemes.GetScheme(u"Uses mine")->paletteName.ToUtf8(), "Standard");
  EXPECT_EQ(schemes.GetEntry(schemes.Find(u"Odd")).ToUtf8(), "Odd,entry,Mine");
  EXPECT_EQ(palettes.Find(u"Mine"), ProfileColorsBase::kNotFound);
}

}  // namespace
