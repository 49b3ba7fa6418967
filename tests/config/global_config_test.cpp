// The global configuration over real configuration folders: defaults of a new and of an existing
// configuration, product names, clamps, older forms, merging, the shared instance, sub-keys kept
// whole, and saves that fail.
#include <sys/stat.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>

#include "environment/library_init.h"
#include "global_test_env.h"
#include "storage/values/member_table.h"

namespace {

// The value lines of a value file, without continuation lines of byte blocks.
std::vector<std::string> ValueLines(const std::string& lines) {
  std::vector<std::string> out;
  std::regex line("^[A-Z]:\"[^\"]*\"=.*$");
  size_t pos = 0;
  while (pos < lines.size()) {
    size_t end = lines.find("\r\n", pos);
    if (end == std::string::npos) end = lines.size();
    std::string text = lines.substr(pos, end - pos);
    if (std::regex_match(text, line)) out.push_back(text);
    pos = end + 2;
  }
  return out;
}

// A font in the older 64-byte form with 8-bit face name, as its value lines.
std::string OlderFontLines(const std::string& name, std::u16string_view face) {
  uint8_t bytes[VLogFont::kLegacyStoredSize] = {};
  bytes[0] = 0xf3, bytes[1] = bytes[2] = bytes[3] = 0xff;  // height -13
  bytes[16] = 0x90, bytes[17] = 0x01;                       // weight 400
  for (size_t i = 0; i < face.size(); ++i) bytes[28 + i] = static_cast<uint8_t>(face[i]);
  return IniFolder::BlockLines(name, std::vector<uint8_t>(bytes, bytes + sizeof bytes));
}

bool Has(const std::string& lines, const std::string& line) {
  return lines.find(line + "\r\n") != std::string::npos;
}

using GlobalConfigTest = GlobalFolderTest;

TEST_F(GlobalConfigTest, FirstStartTakesEveryDefaultAndTheFirstSaveWritesThemAll) {
  VRef<GlobalConfig> config = LoadOwn(3);
  EXPECT_TRUE(config->IsNewConfiguration());
  EXPECT_EQ(config->tabWidth.current, 40);
  EXPECT_EQ(config->connectDialogSortOrder.current, 0);
  EXPECT_EQ(config->printer.printerFont.GetFaceName(), u"Courier New");
  EXPECT_EQ(config->printer.printerFont.extra, 100u);
  EXPECT_EQ(config->printer.pageMargins.left, 0.5);
  EXPECT_EQ(config->printer.printerPort.rtsFlowControl.current, 1);
  EXPECT_EQ(config->hexViewFont.height, -13);
  EXPECT_EQ(config->ansiColorRgb.colors[1], 0x0000A0u);
  EXPECT_EQ(config->customColors.colors[15], 0xFFFFFFu);
  EXPECT_FALSE(config->IsScriptingDisabled());
  EXPECT_TRUE(SaveOwn(*config.Get(), false));

  std::string lines = folder_.Lines("Global");
  // Every row but the three load-only ones and the empty toolbar block, with the printer's 15
  // and its port's 11.
  EXPECT_EQ(ValueLines(lines).size(), 289u - 3 - 1 + 15 + 11);
  EXPECT_EQ(lines.substr(0, 22), "S:\"Config Passphrase\"=");
  for (const char* line :
       {"D:\"MRU Count\"=00000004", "D:\"Max Columns\"=00000100",
        "D:\"Active Window Alpha Transparency\"=000000ff", "D:\"List View Sort Style\"=00000002",
        "D:\"Lumbrel Default Action For Files\"=00000001", "D:\"Chat Window Height\"=ffffffff",
        "D:\"Log Topic Error Text Color\"=ffffffff", "D:\"Connected Color\"=0028c828",
        "S:\"Version\"=7B2F2717-85C8-4729-8394-3B7697039CEB", "S:\"Quotation Characters\"=\"",
        "S:\"Karvell Tab State V2\"=1,1,0;", "S:\"Lumbrel Tab State V2\"=1,1,0;0",
        "S:\"Synchronize ExplorerFrame State\"=1,0,-1",
        "S:\"Session Manager Window State\"=1,0,0,0,0,0,0,0",
        "S:\"Current ANSI Palette\"=Standard", "D:\"Printer Baud Rate\"=00009600",
        "S:\"Printer Port\"=", "D:\"Tftp Server Port\"=00000045",
        "Z:\"Remembered Sessions List V2\"=00000000"})
    EXPECT_TRUE(Has(lines, line)) << line;
  for (const char* absent : {"Line Send Delay", "Character Send Delay", "Disable All Scripting",
                             "LMB Custom Toolbar Data", " LMB\"", "Ostrel Update Prompt Date\"=0"})
    EXPECT_EQ(lines.find(absent), std::string::npos) << absent;

  // Loaded again, the configuration exists and nothing is left to write.
  VRef<GlobalConfig> again = LoadOwn(3);
  EXPECT_FALSE(again->IsNewConfiguration());
  EXPECT_FALSE(again->IsModified());
  EXPECT_EQ(again->listViewSortStyle.current, 2);  // stored now
  EXPECT_EQ(again->ostrelUpdatePromptDate.current, config->ostrelUpdatePromptDate.current);
}

TEST_F(GlobalConfigTest, AFileHoldingOnlyTheVersionIsAnExistingConfiguration) {
  folder_.WriteLines("Global", "S:\"Version\"=0311ABC6-1CDD-46fc-A08A-0D7C00242FCA\r\n");
  VRef<GlobalConfig> config = LoadOwn(3);
  EXPECT_FALSE(config->IsNewConfiguration());
  EXPECT_EQ(config->listViewSortStyle.current, 1);
  EXPECT_EQ(config->lumbrelDefaultActionForFiles.current, 0);
  EXPECT_EQ(config->version, u"0311ABC6-1CDD-46fc-A08A-0D7C00242FCA");
}

TEST_F(GlobalConfigTest, FileTransferProductsKeepTheirOwnValuesUnderTheirOwnNames) {
  folder_.WriteLines("Global",
                     "D:\"Show Toolbar\"=00000000\r\nD:\"Show Toolbar LMB\"=00000001\r\n"
                     "D:\"Ostrel Update Prompt Date\"=00000005\r\n"
                     "D:\"LMB Update Prompt Date\"=00000009\r\n"
                     "Z:\"Remembered Sessions List LMB\"=00000001\r\n Lab\\ftp\r\n");
  VRef<GlobalConfig> lumbrel = LoadOwn(6);
  EXPECT_TRUE(lumbrel->showToolbar.current);
  EXPECT_EQ(lumbrel->ostrelUpdatePromptDate.current, 9u);
  EXPECT_EQ(lumbrel->ostrelUpdatePromptDate.GetName(), u"LMB Update Prompt Date");
  EXPECT_EQ(lumbrel->rememberedSessions.Current(), (VStringArray{u"Lab\\ftp"}));
  EXPECT_EQ(lumbrel->FindSetting(u"show toolbar lmb"), &lumbrel->showToolbar);
  EXPECT_EQ(lumbrel->FindSetting(u"Show Toolbar"), nullptr);
  lumbrel->showToolbar = false;
  EXPECT_TRUE(SaveOwn(*lumbrel.Get(), false));
  std::string lines = folder_.Lines("Global");
  EXPECT_TRUE(Has(lines, "D:\"Show Toolbar\"=00000000"));
  EXPECT_TRUE(Has(lines, "D:\"Show Toolbar LMB\"=00000000"));
  EXPECT_TRUE(Has(lines, "D:\"Ostrel Update Prompt Date\"=00000005"));
  EXPECT_EQ(lines.find("Remembered Sessions List V2"), std::string::npos);

  VRef<GlobalConfig> terminal = LoadOwn(3);
  EXPECT_FALSE(terminal->showToolbar.current);
  EXPECT_EQ(terminal->ostrelUpdatePromptDate.current, 5u);
  terminal->showToolbar = true;
  EXPECT_TRUE(SaveOwn(*terminal.Get(), false));
  lines = folder_.Lines("Global");
  EXPECT_TRUE(Has(lines, "D:\"Show Toolbar\"=00000001"));
  EXPECT_TRUE(Has(lines, "D:\"Show Toolbar LMB\"=00000000"));
  EXPECT_TRUE(Has(lines, "Z:\"Remembered Sessions List V2\"=00000000"));
}

TEST_F(GlobalConfigTest, ClampedValuesLoadWithinTheirRangeAndAreWrittenBack) {
  folder_.WriteLines("Global",
                     "S:\"Version\"=7B2F2717-85C8-4729-8394-3B7697039CEB\r\n"
                     "D:\"MRU Count\"=00000063\r\nD:\"Max Columns\"=00000050\r\n"
                     "D:\"Status Indicator Width\"=00000000\r\nD:\"Tab Width\"=0000000c\r\n"
                     "D:\"Maximum Parallel Transfers\"=00000000\r\n"
                     "D:\"Script MRU Count\"=0000000b\r\nD:\"View Left Margin\"=ffffffff\r\n");
  VRef<GlobalConfig> config = LoadOwn(3);
  EXPECT_EQ(config->mruCount.current, 16);
  EXPECT_EQ(config->maxColumns.current, 132);
  EXPECT_EQ(config->statusIndicatorWidth.current, 1);
  EXPECT_EQ(config->tabWidth.current, 20);
  EXPECT_EQ(config->maximumParallelTransfers.current, 1u);
  EXPECT_EQ(config->scriptMruCount.current, 10);
  EXPECT_EQ(config->viewLeftMargin.current, 0);
  EXPECT_TRUE(SaveOwn(*config.Get(), false));
  std::string lines = folder_.Lines("Global");
  for (const char* line :
       {"D:\"MRU Count\"=00000010", "D:\"Max Columns\"=00000084",
        "D:\"Status Indicator Width\"=00000001", "D:\"Tab Width\"=00000014",
        "D:\"Maximum Parallel Transfers\"=00000001", "D:\"Script MRU Count\"=0000000a",
        "D:\"View Left Margin\"=00000000"})
    EXPECT_TRUE(Has(lines, line)) << line;
}

TEST_F(GlobalConfigTest, OlderSettingsServeAsDefaultsOfTheirSuccessors) {
  folder_.WriteLines("Global",
                     "D:\"Sort Alphabetical\"=00000000\r\nD:\"Min Tab Width\"=0000001e\r\n"
                     "D:\"Chat Window\"=00000002\r\n"
                     "D:\"Enable Send Chat To All Tabs On Startup\"=00000001\r\n"
                     "S:\"Karvell Tab State\"=2,3,4\r\nS:\"Lumbrel Tab State\"=not a state\r\n"
                     "S:\"Remembered Sessions List\"=Lab\\router1| Lab\\router2 ||\r\n" +
                     OlderFontLines("Printer Font", u"Lucida"));
  VRef<GlobalConfig> config = LoadOwn(3);
  EXPECT_EQ(config->connectDialogSortOrder.current, 2);
  EXPECT_EQ(config->tabWidth.current, 30);
  EXPECT_TRUE(config->showChatWindow.current);
  EXPECT_EQ(config->initialSendCommandsToValue.current, 1);
  EXPECT_EQ(config->karvellTabStateV2.GetText(), u"2,3,4;");
  EXPECT_EQ(config->lumbrelTabStateV2.GetText(), u"1,1,0;0");
  EXPECT_EQ(config->rememberedSessions.Current(), (VStringArray{u"Lab\\router1", u"Lab\\router2"}));
  EXPECT_EQ(config->printer.printerFont.GetFaceName(), u"Lucida");
  EXPECT_TRUE(SaveOwn(*config.Get(), false));
  std::string lines = folder_.Lines("Global");
  EXPECT_TRUE(Has(lines, "D:\"Connect Dialog Sort Order\"=00000002"));
  EXPECT_TRUE(Has(lines, "S:\"Karvell Tab State V2\"=2,3,4;"));
  EXPECT_TRUE(Has(lines, "Z:\"Remembered Sessions List V2\"=00000002\r\n Lab\\router1\r\n Lab\\router2"));
  EXPECT_TRUE(Has(lines, "S:\"Remembered Sessions List\"=Lab\\router1| Lab\\router2 ||"));

  // Present successors win over their older forms.
  folder_.WriteLines("Global", "D:\"Sort Alphabetical\"=00000000\r\n"
                               "D:\"Connect Dialog Sort Order\"=00000001\r\n");
  EXPECT_EQ(LoadOwn(3)->connectDialogSortOrder.current, 1);
  folder_.WriteLines("Global", "D:\"Sort Alphabetical\"=00000001\r\n");
  EXPECT_EQ(LoadOwn(3)->connectDialogSortOrder.current, 0);
}

TEST_F(GlobalConfigTest, LoadOnlyAndReadOnlySettingsAreNeverWritten) {
  folder_.WriteLines("Global", "D:\"Line Send Delay\"=00000009\r\nD:\"Disable All Scripting\"=00000001\r\n");
  VRef<GlobalConfig> config = LoadOwn(3);
  EXPECT_EQ(config->lineSendDelay.current, 9);
  EXPECT_EQ(config->characterSendDelay.current, 0);
  EXPECT_TRUE(config->IsScriptingDisabled());
  config->lineSendDelay = 50;
  config->characterSendDelay = 7;
  config->disableAllScripting = false;
  EXPECT_FALSE(config->IsModified());
  EXPECT_TRUE(SaveOwn(*config.Get(), true));
  std::string lines = folder_.Lines("Global");
  EXPECT_TRUE(Has(lines, "D:\"Line Send Delay\"=00000009"));
  EXPECT_TRUE(Has(lines, "D:\"Disable All Scripting\"=00000001"));
  EXPECT_EQ(lines.find("Character Send Delay"), std::string::npos);
  VReportMessageParams error;
  EXPECT_FALSE(config->SetSetting(u"Disable All Scripting", u"0", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNotSaved);
}

TEST_F(GlobalConfigTest, MergingResetsMissingSettingsButKeepsThePassphraseCheckValue) {
  IniFolder other;
  other.WriteLines("Global", "D:\"MRU Count\"=00000007\r\nS:\"Config Passphrase\"=02:theirs\r\n"
                             "D:\"Change Config Passphrase\"=00000000\r\n");
  other.WriteLines("Global/QuickSync", "S:\"Filter\"=mine\r\n");
  folder_.WriteLines("Global", "S:\"Version\"=7B2F2717-85C8-4729-8394-3B7697039CEB\r\n"
                               "S:\"Config Passphrase\"=02:ours\r\n"
                               "D:\"Change Config Passphrase\"=00000001\r\n"
                               "D:\"Show Toolbar\"=00000000\r\nD:\"Tab Width\"=00000063\r\n");
  GlobalConfig* shared = nullptr;
  ASSERT_TRUE(GetGlobalConfig(&shared, 3));
  VRef<GlobalConfig> held(shared);
  EXPECT_EQ(shared->tabWidth.current, 99);
  other.WithKey(u"Global", [](VProfileKey& key) { MergeGlobalConfig(key); }, true);
  EXPECT_EQ(shared->mruCount.current, 7);
  EXPECT_TRUE(shared->showToolbar.current);   // missing there: the default
  EXPECT_EQ(shared->tabWidth.current, 40);
  EXPECT_EQ(shared->configPassphrase.Current(), u"02:ours");
  EXPECT_TRUE(shared->changeConfigPassphrase.current);
  EXPECT_EQ(shared->quickSync.settings.filter, u"mine");

  EXPECT_TRUE(SaveGlobalConfig(false));  // merged values are written even unforced
  std::string lines = folder_.Lines("Global");
  EXPECT_TRUE(Has(lines, "D:\"MRU Count\"=00000007"));
  EXPECT_TRUE(Has(lines, "S:\"Config Passphrase\"=02:ours"));
  EXPECT_TRUE(Has(lines, "D:\"Change Config Passphrase\"=00000001"));
  EXPECT_EQ(folder_.Lines("Global/QuickSync"),
            "S:\"Filter\"=mine\r\nD:\"Automatically Transfer Files\"=00000000\r\n"
            "D:\"Transfer To Temporary File\"=00000001\r\n");
}

TEST_F(GlobalConfigTest, TheSharedInstanceIsHandedOutWithReferencesAndReplacedByReload) {
  folder_.WriteLines("Global", "D:\"MRU Count\"=00000005\r\n");
  GlobalConfig* first = nullptr;
  GlobalConfig* second = nullptr;
  EXPECT_FALSE(FindGlobalSetting(u"MRU Count"));
  ASSERT_TRUE(GetGlobalConfig(&first, -1));
  ASSERT_TRUE(GetGlobalConfig(&second, 6));  // exists already: the product given is not used
  EXPECT_EQ(first, second);
  EXPECT_EQ(first->GetProductIdOfObject(), 3);
  EXPECT_EQ(first->GetReferenceCount(), 3);  // the library's and two
  EXPECT_EQ(FindGlobalSetting(u"mru count"), &first->mruCount);
  GlobalConfig* obsolete = nullptr;
  GetGlobalConfigObsolete(obsolete, -1);
  EXPECT_EQ(obsolete, first);
  EXPECT_EQ(first->GetReferenceCount(), 3);

  folder_.WriteLines("Global", "D:\"MRU Count\"=00000006\r\n");
  GlobalConfig* reloaded = nullptr;
  ReloadGlobalConfig(&reloaded);
  EXPECT_NE(reloaded, first);
  EXPECT_EQ(reloaded->mruCount.current, 6);
  EXPECT_EQ(first->mruCount.current, 5);  // detached, still valid
  EXPECT_EQ(first->GetReferenceCount(), 2);
  GlobalConfig* third = nullptr;
  GetGlobalConfig(&third, -1);
  EXPECT_EQ(third, reloaded);
  first->Release();
  second->Release();
  third->Release();
  reloaded->Release();
  FreeGlobalConfig();
  EXPECT_FALSE(FindGlobalSetting(u"MRU Count"));
  GetGlobalConfig(nullptr, -1);  // created anew, without handing it out
  EXPECT_TRUE(FindGlobalSetting(u"MRU Count"));

  std::vector<unsigned long> colors;
  GetRectangleStatusArray(colors, third == reloaded ? nullptr : third);
  EXPECT_TRUE(colors.empty());
  VRef<GlobalConfig> defaults = LoadOwn(3);
  GetRectangleStatusArray(colors, defaults.Get());
  EXPECT_EQ(colors, (std::vector<unsigned long>{0x28C828, 0x0000FF, 0xFF0000, 0x00FFFF, 0x800080,
                                                0xAAAAAA}));
  GetBackgroundStatusArray(colors, defaults.Get());
  EXPECT_EQ(colors, (std::vector<unsigned long>{0xAAFFAA, 0xAAAAFF, 0xFFC88C, 0xA0FFFF, 0xFFB9DC,
                                                0xAAAAAA}));
  EXPECT_EQ(GetIconStatusArray(), (std::vector<int>{5018, 5019, 5021, 5020, 5055, 5022}));
}

int ChooseNothing(const VUnicodeString&, VStringArray&, void*) { return 0; }
void* NoImages() { return nullptr; }

TEST_F(GlobalConfigTest, GuiStartUpStoresTheCallbacksAndLoadsTheConfigurationOnce) {
  folder_.WriteLines("Global", "D:\"MRU Count\"=00000003\r\n");
  QuillaneInitGUI(&ChooseNothing, &NoImages);
  EXPECT_EQ(QuillaneGetSessionChooser(), &ChooseNothing);
  EXPECT_EQ(QuillaneGetImageListGetter(), &NoImages);
  ASSERT_TRUE(FindGlobalSetting(u"MRU Count"));
  VProfileData* loaded = FindGlobalSetting(u"MRU Count");
  folder_.WriteLines("Global", "D:\"MRU Count\"=00000009\r\n");
  QuillaneInitGUI(&ChooseNothing, &NoImages);  // loaded already: kept
  EXPECT_EQ(FindGlobalSetting(u"MRU Count"), loaded);
  EXPECT_EQ(static_cast<VProfile<int>*>(loaded)->current, 3);
  EXPECT_EQ(folder_.Lines("Global"), "D:\"MRU Count\"=00000009\r\n");  // loading writes nothing
}

TEST_F(GlobalConfigTest, SubKeysKeptWholeSurviveALoadAndSaveByteForByte) {
  const std::string palettes =
      "S:\"Name\"=Standard\r\nD:\"Count\"=00000002\r\nB:\"Raw\"=00000003\r\n 01 02 03\r\n"
      "Z:\"ANSI Color Palettes\"=00000002\r\n Standard,000000\r\n Other,FFFFFF\r\n";
  // A whole profile as a save writes it, with a value of another program at its end.
  const std::string quickSync =
      "S:\"Task[0].Name\"=Docs\r\nD:\"Task[0].Type\"=00000001\r\n"
      "D:\"Task[0].MasterOverwrites\"=00000000\r\nS:\"Filter\"=\r\n"
      "D:\"Automatically Transfer Files\"=00000000\r\nD:\"Transfer To Temporary File\"=00000001\r\n"
      "S:\"Other Program\"=kept\r\n";
  const std::string nested = "S:\"Deep\"=value\r\n";
  folder_.WriteLines("Global", "S:\"Version\"=7B2F2717-85C8-4729-8394-3B7697039CEB\r\n");
  folder_.WriteLines("Global/ANSI Color Palettes", palettes);
  folder_.WriteLines("Global/QuickSync", quickSync);
  folder_.WriteLines("Global/QuickSync/Inner", nested);
  VRef<GlobalConfig> config = LoadOwn(3);
  ASSERT_EQ(config->quickSync.GetOtherValues().children.size(), 1u);
  ASSERT_EQ(config->quickSync.settings.tasks.size(), 1u);
  EXPECT_TRUE(SaveOwn(*config.Get(), true));
  EXPECT_EQ(folder_.Lines("Global/ANSI Color Palettes"), palettes);
  EXPECT_EQ(folder_.Lines("Global/QuickSync"), quickSync);
  EXPECT_EQ(folder_.Lines("Global/QuickSync/Inner"), nested);
  EXPECT_FALSE(folder_.HasFile("Global/Color Schemes"));  // the lists are values, not sub-keys

  // A changed quick-synchronize profile is written, even by an unforced save.
  config->quickSync.settings.filter = u"texts";
  EXPECT_TRUE(SaveOwn(*config.Get(), false));
  std::string changed = quickSync;
  changed.replace(changed.find("\"Filter\"=") + 9, 0, "texts");
  EXPECT_EQ(folder_.Lines("Global/QuickSync"), changed);
  EXPECT_EQ(folder_.Lines("Global/QuickSync/Inner"), nested);
}

TEST_F(GlobalConfigTest, ASaveThatCannotWriteTheFileReportsFailure) {
  folder_.WriteLines("Global", "D:\"MRU Count\"=00000005\r\n");
  const std::string before = qtest::ReadFile(folder_.FilePath("Global"));
  ASSERT_EQ(chmod(folder_.FilePath("Global").c_str(), 0444), 0);
  GlobalConfig* shared = nullptr;
  ASSERT_TRUE(GetGlobalConfig(&shared, -1));
  VRef<GlobalConfig> held(shared);
  shared->mruCount = 8;
  VReportMessageParams error;
  EXPECT_FALSE(SaveGlobalConfig(false, error));
  EXPECT_EQ(error.GetMessageId(), 5u);  // access denied
  EXPECT_EQ(qtest::ReadFile(folder_.FilePath("Global")), before);
  ASSERT_EQ(chmod(folder_.FilePath("Global").c_str(), 0644), 0);
  EXPECT_TRUE(SaveGlobalConfig(false));  // still pending: written once it can be
  EXPECT_TRUE(Has(folder_.Lines("Global"), "D:\"MRU Count\"=00000008"));
}

TEST(GlobalConfigTable, EveryRowHasItsOwnNameUnderEitherProductAndTheTableIsComplete) {
  // 289 settings of its own (the colour lists among them), transcribed in load order, then the
  // printer's and the quick-synchronize sub-key.
  EXPECT_EQ(GlobalConfig::OwnSettingCount(), 289u);
  EXPECT_EQ(GlobalConfig::MemberTable().Rows().size(), 291u);
  EXPECT_EQ(GlobalConfig::MemberTable().MemberCount(), 288u);  // without the load-only rows
  for (bool lmb : {false, true}) {
    std::set<std::u16string> names;
    GlobalConfig config(lmb ? 9 : 3);
    config.LoadFromKey(nullptr);
    for (const VSettingInfo& info : config.ListSettings()) {
      std::u16string folded = info.name;
      for (char16_t& c : folded) c = vtext::FoldCase(c);
      EXPECT_TRUE(names.insert(folded).second) << info.name.ToUtf8();
    }
    EXPECT_EQ(names.size(), 289u + 15 + 11);
    EXPECT_EQ(names.count(lmb ? u"remembered sessions list lmb" : u"remembered sessions list v2"),
              1u);
    EXPECT_EQ(names.count(lmb ? u"lmb never check for updates" : u"ostrel never check for updates"),
              1u);
    EXPECT_EQ(names.count(lmb ? u"show status bar lmb" : u"show status bar"), 1u);
  }
}

}  // namespace
