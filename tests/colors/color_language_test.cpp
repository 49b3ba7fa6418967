// Built-in schemes and palettes are the same entries whichever language the configuration was
// first saved under and whichever it is opened under: known by either language's name, never
// deleted or doubled under the other one, and kept under the name stored.
#include <gtest/gtest.h>

#include <cstdio>

#include "config/colors/color_builtins.h"
#include "config/colors/color_lists.h"
#include "report/message_catalogue.h"
#include "storage/ini_folder.h"
#include "support/test_support.h"

namespace {

std::string Repeat(const std::string& field, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += "," + field;
  return out;
}

class LanguageScope {
 public:
  explicit LanguageScope(VLanguage language) { VSetMessageLanguage(language); }
  ~LanguageScope() { VResetMessageLanguage(); }
};

TEST(ColorBuiltInNames, EachBuiltInIsKnownByItsNameInEitherLanguage) {
  for (VLanguage shown : {VLanguage::English, VLanguage::French}) {
    LanguageScope scope(shown);
    EXPECT_EQ(vcolors::BuiltInSchemeIndex(u"Ember"), 1u);
    EXPECT_EQ(vcolors::BuiltInSchemeIndex(u"Braise"), 1u);
    EXPECT_EQ(vcolors::BuiltInSchemeIndex(u"Noir sur blanc"), 12u);
    EXPECT_EQ(vcolors::BuiltInSchemeIndex(u"Black on White"), 12u);
    EXPECT_EQ(vcolors::BuiltInPaletteIndex(u"Mousse"), 3u);
    EXPECT_EQ(vcolors::BuiltInPaletteIndex(u"Moss"), 3u);
    EXPECT_TRUE(vcolors::IsBuiltInPaletteName(u"Standard"));
    EXPECT_FALSE(vcolors::IsBuiltInSchemeName(u"ember"));
    EXPECT_FALSE(vcolors::IsBuiltInSchemeName(u""));
    EXPECT_FALSE(vcolors::BuiltInPaletteIndex(u"Mine"));
    EXPECT_TRUE(vcolors::IsPlatformSchemeName(u"Desktop Colors"));
    EXPECT_TRUE(vcolors::IsPlatformSchemeName(u"Couleurs du bureau"));
  }
  // No name of one built-in is a name of another: each name leads to one place.
  std::vector<ColorSchemeEntry> english = vcolors::BuiltInSchemes();
  std::vector<ColorSchemeEntry> french;
  {
    LanguageScope scope(VLanguage::French);
    french = vcolors::BuiltInSchemes();
  }
  for (size_t i = 0; i < english.size(); ++i) {
    EXPECT_EQ(vcolors::BuiltInSchemeIndex(english[i].name), i);
    EXPECT_EQ(vcolors::BuiltInSchemeIndex(french[i].name), i);
  }
}

TEST(ColorBuiltInNames, AListSavedInOneLanguageIsFoundAndChangedInTheOtherUnderItsStoredName) {
  ProfileColorSchemeListV2 schemes;
  ProfileAnsiPaletteList palettes;
  {
    LanguageScope scope(VLanguage::French);
    schemes.LoadList(nullptr);
    palettes.LoadList(nullptr);
  }
  LanguageScope scope(VLanguage::English);
  size_t index = schemes.Find(u"Ember");
  ASSERT_NE(index, ProfileColorsBase::kNotFound);
  EXPECT_EQ(vcolors::EntryName(schemes.GetEntry(index)), u"Braise");
  // Setting the English name changes the entry kept in French; nothing is added.
  std::optional<ColorSchemeEntry> ember = schemes.GetScheme(u"Ember");
  ASSERT_TRUE(ember);
  ember->name = u"Ember";
  ember->foregrounds.fill(ColorFromRgb(0x123456));
  schemes.SetScheme(*ember);
  EXPECT_EQ(schemes.GetCount(), 22u);
  EXPECT_EQ(schemes.GetEntry(index).ToUtf8(),
            "Braise,010101" + Repeat("12345600", 8) + Repeat("2A1F1D00", 8) + ",Braise");
  // A palette deleted by its other name takes the schemes that use it to "Standard".
  VUnicodeString current = u"Braise";
  ASSERT_TRUE(vcolors::DeletePalette(palettes, schemes, current, u"Ember"));
  EXPECT_EQ(palettes.Find(u"Braise"), ProfileColorsBase::kNotFound);
  EXPECT_EQ(schemes.GetScheme(u"Braise")->paletteName, u"Standard");
  EXPECT_EQ(current, u"Standard");
  // Exact names come first: a user's own entry named as the other language's built-in stays
  // its own.
  schemes.Current().Add(VUnicodeString(u"Ivory") + schemes.GetEntry(3).substr(6));
  EXPECT_EQ(schemes.Find(u"Ivory"), 22u);
  EXPECT_EQ(schemes.Find(u"Ivoire"), 3u);
}

TEST(ColorBuiltInNames, AnOlderSchemeNamedAsABuiltInInTheOtherLanguageStandsForIt) {
  IniFolder folder;
  std::vector<uint8_t> bytes(68, 0);
  bytes[1] = bytes[2] = bytes[3] = 1;
  folder.WriteLines("Global", "D:\"MRU Count\"=00000004\r\n");
  folder.WriteLines("Global/Color Schemes", IniFolder::BlockLines("Ember", bytes));
  LanguageScope scope(VLanguage::French);
  ProfileColorSchemeListV2 schemes;
  folder.WithKey(u"Global", [&](VProfileKey& key) { schemes.LoadList(&key); }, true);
  ASSERT_EQ(schemes.GetCount(), 22u);
  EXPECT_EQ(vcolors::EntryName(schemes.GetEntry(0)), u"Ember");
  EXPECT_EQ(schemes.Find(u"Braise"), 0u);
  EXPECT_EQ(vcolors::EntryName(schemes.GetEntry(1)), u"Marée claire");
}

// ---- the command, with a configuration first saved under one language ----

class ColorsLanguageCommandTest : public ::testing::Test {
 protected:
  qtest::RunResult Q(const std::string& lang, std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", dir_ / "config", "--lang", lang});
    return qtest::Quillane(args, qtest::HostEnv(dir_));
  }
  std::string Global() { return qtest::ReadFile(dir_ / "config/Global.ini"); }
  qtest::TempDir dir_;
};

TEST_F(ColorsLanguageCommandTest, BuiltInsAreRefusedForDeletionByEitherNameUnderEitherLanguage) {
  for (std::string first : {"fr", "en"}) {
    std::string second = first == "fr" ? "en" : "fr";
    std::remove((dir_ / "config/Global.ini").c_str());
    // The first save keeps the names of its language.
    auto r = Q(first, {"colors", "set", "palette", "P", Repeat("123456", 16).substr(1)});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string stored = Global();
    EXPECT_NE(stored.find(first == "fr" ? " Braise," : " Ember,"), std::string::npos);
    for (const std::string& lang : {first, second}) {
      for (std::string name : {"Ember", "Braise", "Noir sur blanc", "Black on White"}) {
        r = Q(lang, {"colors", "delete", "scheme", name});
        EXPECT_EQ(r.status, 3) << lang << " " << name << r.err;
      }
      EXPECT_EQ(Q(lang, {"colors", "delete", "palette", "Mousse"}).status, 3);
      EXPECT_EQ(Q(lang, {"colors", "delete", "palette", "Moss"}).status, 3);
    }
    EXPECT_EQ(Global(), stored);
  }
}

TEST_F(ColorsLanguageCommandTest, SettingABuiltInByItsOtherNameChangesTheStoredEntryAndAddsNone) {
  auto r = Q("fr", {"colors", "set", "palette", "P", Repeat("123456", 16).substr(1)});
  ASSERT_EQ(r.status, 0) << r.err;
  r = Q("en", {"colors", "set", "scheme", "Ember", "--fg", "010203", "--palette", "Moss"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string global = Global();
  EXPECT_NE(global.find("Z:\"Color Schemes\"=00000016\r\n"), std::string::npos);
  EXPECT_NE(global.find(" Braise,010101" + Repeat("01020300", 8) + Repeat("2A1F1D00", 8) + ",Mousse\r\n"),
            std::string::npos)
      << global;
  EXPECT_EQ(global.find(" Ember,"), std::string::npos);
  r = Q("en", {"--json", "colors", "show", "scheme", "Ember"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("{\"name\": \"Braise\", \"palette\": \"Mousse\"", 0), 0u) << r.out;
}

}  // namespace
