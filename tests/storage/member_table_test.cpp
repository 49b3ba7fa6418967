// A small configuration object declared by a member list, loaded from and saved to a real INI
// folder: the generic load, save, commit, copy, lookup, clamp, LMB names, load-only rows, custom
// rows, nested objects, listings and setting from text.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ini_folder.h"
#include "config/parts/explorer_frame_state.h"
#include "config/parts/tab_state.h"
#include "storage/values/profile_values.h"
#include "storage/values/setting_text.h"

namespace {

#define SAMPLE_PRINTER_MEMBERS(SETTING, OBJECT)                                                    \
  SETTING(VProfile<int>, orientation, u"Page Orientation", 1)                                      \
  SETTING(VProfileString, printerName, u"Printer Name")

class SamplePrinter : public VProfileComposite {
 public:
  QL_MEMBERS(SAMPLE_PRINTER_MEMBERS)

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();
};

QL_MEMBER_TABLE(SamplePrinter, SAMPLE_PRINTER_MEMBERS)

#define SAMPLE_CONFIG_MEMBERS(SETTING, OBJECT)                                                     \
  SETTING(VProfile<bool>, showToolbar, u"Show Toolbar", true, .Lmb())                              \
  SETTING(VProfile<int>, mruCount, u"MRU Count", 4, .Clamp(0, 16))                                 \
  SETTING(VProfile<int>, lineSendDelay, u"Line Send Delay", 5, .LoadOnly())                        \
  SETTING(VProfile<int>, tabWidth, u"Tab Width", QL_COMPUTED(SampleConfig::DefaultTabWidth),       \
          .Clamp(20, INT32_MAX))                                                                   \
  SETTING(VProfileString, treeSelected, u"Tree Selected", u"Session+")                             \
  SETTING(VProfile<unsigned char>, alpha, u"Alpha", -1)                                            \
  SETTING(VProfileExplorerFrameState, frame, u"Frame State", u"1,-1,200")                          \
  SETTING(VProfileStringArray, bookmarks, u"Bookmarks")                                            \
  SETTING(VProfileBlob, toolbarData, u"Toolbar Data")                                              \
  SETTING(VProfile<unsigned int>, legacyBacked, u"Legacy Backed", 7, .Custom())                    \
  OBJECT(SamplePrinter, printer)                                                                   \
  SETTING(VProfile<unsigned short>, port, u"Port", 69)

class SampleConfig : public VProfileComposite {
 public:
  QL_MEMBERS(SAMPLE_CONFIG_MEMBERS)

  std::vector<std::string> events;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

 protected:
  void OnBeforeLoad(const VProfileKey*) override { events.push_back("before load"); }
  void OnAfterLoad(const VProfileKey*) override { events.push_back("after load"); }
  void OnBeforeSave(VProfileKey&, bool) override { events.push_back("before save"); }
  void OnAfterSave(VProfileKey&, bool) override { events.push_back("after save"); }
  // The older "Old Backed" value serves as the default when the current one is absent.
  bool LoadCustomMember(const VMemberRow& row, VProfileData& member,
                        const VProfileKey* key) override {
    events.push_back("custom " + vtext::ToUtf8(member.GetName()));
    bool present = LoadStandardMember(row, member, key);
    VDword older = 0;
    if (!present && key && key->ReadDword(u"Old Backed", older)) legacyBacked = older;
    return present;
  }

 private:
  void DefaultTabWidth(VProfile<int>& value, const VProfileKey* key) {
    VDword older = 0;
    value = key && key->ReadDword(u"Min Tab Width", older) ? static_cast<int>(older) : 40;
  }
};

QL_MEMBER_TABLE(SampleConfig, SAMPLE_CONFIG_MEMBERS)

// Everything a first save of the defaults writes, in table order (the value file puts lists
// after the other kinds).
const char kDefaultsBeforeLists[] =
    "D:\"Show Toolbar\"=00000001\r\n"
    "D:\"MRU Count\"=00000004\r\n"
    "D:\"Tab Width\"=00000028\r\n"
    "S:\"Tree Selected\"=Session+\r\n"
    "D:\"Alpha\"=000000ff\r\n"
    "S:\"Frame State\"=1,-1,200\r\n"
    "D:\"Legacy Backed\"=00000007\r\n"
    "D:\"Page Orientation\"=00000001\r\n"
    "S:\"Printer Name\"=\r\n"
    "D:\"Port\"=00000045\r\n";
const char kDefaultLists[] = "Z:\"Bookmarks\"=00000000\r\n";
const std::string kDefaults = std::string(kDefaultsBeforeLists) + kDefaultLists;

TEST(MemberTable, FirstSaveWritesEveryDefaultInTableOrder) {
  IniFolder folder;
  folder.WithKey(u"Global", [](VProfileKey& key) {
    SampleConfig config;
    config.Load(&key, 3);
    EXPECT_EQ(config.alpha.current, 255);
    EXPECT_EQ(config.lineSendDelay.current, 5);
    EXPECT_EQ(config.frame.GetState().number3, 200);
    EXPECT_FALSE(config.IsModified());
    EXPECT_TRUE(config.Save(key, false));
    EXPECT_EQ(config.events, (std::vector<std::string>{"before load", "custom Legacy Backed",
                                                       "after load", "before save",
                                                       "after save"}));
  });
  // The load-only row and the empty blob are not written.
  EXPECT_EQ(folder.Lines("Global"), kDefaults);

  // Without a key every setting takes its default too, computed ones included.
  SampleConfig config;
  config.Load(nullptr);
  EXPECT_EQ(config.tabWidth.current, 40);
  folder.WithKey(u"Other", [&](VProfileKey& key) { EXPECT_TRUE(config.Save(key, false)); });
  EXPECT_EQ(folder.Lines("Other"), kDefaults);
}

TEST(MemberTable, StoredValuesAreTakenAndAnUnchangedObjectWritesNothing) {
  IniFolder folder;
  const std::string stored = std::string(kDefaults) + "D:\"Unrelated\"=00000001\r\n";
  folder.WriteLines("Global", stored);
  folder.WithKey(u"Global", [](VProfileKey& key) {
    SampleConfig config;
    config.Load(&key, 3);
    EXPECT_FALSE(config.IsModified());
    EXPECT_TRUE(config.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Global"), stored);

  // Force writes every member again (same values, so the same bytes, unrelated value kept).
  folder.WithKey(u"Global", [](VProfileKey& key) {
    SampleConfig config;
    config.Load(&key, 3);
    config.port = 70;
    EXPECT_TRUE(config.Save(key, true));
  });
  std::string expected =
      std::string(kDefaultsBeforeLists) + "D:\"Unrelated\"=00000001\r\n" + kDefaultLists;
  expected.replace(expected.find("D:\"Port\"=00000045"), 17, "D:\"Port\"=00000046");
  EXPECT_EQ(folder.Lines("Global"), expected);
}

TEST(MemberTable, LoadOnlyRowsAreReadButNeverSavedComparedOrCopied) {
  IniFolder folder;
  folder.WriteLines("Global", "D:\"Line Send Delay\"=00000009\r\n");
  SampleConfig config;
  folder.WithKey(u"Global", [&](VProfileKey& key) {
    config.Load(&key, 3);
    EXPECT_EQ(config.lineSendDelay.current, 9);
    config.lineSendDelay = 12;
    EXPECT_FALSE(config.IsModified());
    EXPECT_TRUE(config.Save(key, true));
  });
  EXPECT_NE(folder.Lines("Global").find("D:\"Line Send Delay\"=00000009\r\n"), std::string::npos);
  // Positions skip it: 12 rows, one load-only, one nested object counted once.
  EXPECT_EQ(config.GetMemberCount(), 11u);
  EXPECT_EQ(config.GetMember(0), &config.showToolbar);
  EXPECT_EQ(config.GetMember(1), &config.mruCount);
  EXPECT_EQ(config.GetMember(2), &config.tabWidth);
  EXPECT_EQ(config.GetMember(9), &config.printer);
  EXPECT_EQ(config.GetMember(10), &config.port);
  EXPECT_EQ(config.GetMember(11), nullptr);
  EXPECT_EQ(config.GetMember(-1), nullptr);
  EXPECT_EQ(config.FindMember(u"Line Send Delay"), nullptr);

  VReportMessageParams error;
  EXPECT_FALSE(config.SetSetting(u"Line Send Delay", u"3", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNotSaved);
  EXPECT_EQ(config.lineSendDelay.current, 12);
}

TEST(MemberTable, CommitRevertAndModifiedWalkTheMembers) {
  SampleConfig config;
  config.Load(nullptr, 3);
  config.Commit();  // the defaults are flagged already; commit keeps them flagged
  EXPECT_TRUE(config.port.IsWritePending());
  EXPECT_FALSE(config.IsModified());
  config.printer.printerName = VUnicodeString(u"Office");
  EXPECT_TRUE(config.IsModified());
  config.Revert();
  EXPECT_EQ(config.printer.printerName, u"");
  EXPECT_FALSE(config.IsModified());

  IniFolder folder;
  folder.WithKey(u"Global", [&](VProfileKey& key) { EXPECT_TRUE(config.Save(key, false)); });
  config.mruCount = 8;
  config.Commit();
  EXPECT_FALSE(config.IsModified());
  EXPECT_TRUE(config.mruCount.IsWritePending());
  EXPECT_FALSE(config.port.IsWritePending());
  folder.WithKey(u"Global", [&](VProfileKey& key) { EXPECT_TRUE(config.Save(key, false)); });
  EXPECT_NE(folder.Lines("Global").find("D:\"MRU Count\"=00000008\r\n"), std::string::npos);
}

TEST(MemberTable, CopyTakesOnlyTheMembersModifiedInTheOther) {
  SampleConfig target;
  target.Load(nullptr, 3);
  target.mruCount = 2;
  target.port = 100;
  SampleConfig source;
  source.Load(nullptr, 3);
  source.port = 200;
  source.printer.orientation = 2;
  target.CopyValue(source);
  EXPECT_EQ(target.port.current, 200);
  EXPECT_EQ(target.printer.orientation.current, 2);
  EXPECT_EQ(target.mruCount.current, 2);  // unchanged in the source: kept
  SamplePrinter other;
  other.Load(nullptr);
  other.orientation = 3;
  target.CopyValue(other);  // another kind of object: ignored
  EXPECT_EQ(target.printer.orientation.current, 2);
}

TEST(MemberTable, ListingShowsWhatASaveWouldWrite) {
  IniFolder folder;
  folder.WriteLines("Global", "D:\"Port\"=00000015\r\nB:\"Toolbar Data\"=00000002\r\n 01 02\r\n");
  SampleConfig config;
  folder.WithKey(u"Global", [&](VProfileKey& key) { config.Load(&key, 9); }, true);
  std::vector<VSettingInfo> list = config.ListSettings();
  ASSERT_EQ(list.size(), 13u);
  EXPECT_EQ(list[0].name, u"Show Toolbar LMB");
  EXPECT_STREQ(list[0].kind, "bool");
  EXPECT_EQ(list[0].value, VStoredValue::Dword(1));
  EXPECT_FALSE(list[0].stored);
  EXPECT_EQ(list[2].name, u"Line Send Delay");
  EXPECT_TRUE(list[2].loadOnly);
  EXPECT_EQ(list[6].name, u"Frame State");
  EXPECT_STREQ(list[6].kind, "frame state");
  EXPECT_EQ(list[6].storedType, kProfileTypeString);
  EXPECT_EQ(list[6].value, VStoredValue::String(u"1,-1,200"));
  EXPECT_EQ(list[8].name, u"Toolbar Data");
  EXPECT_TRUE(list[8].stored);
  EXPECT_TRUE(list[8].hasValue);
  EXPECT_EQ(list[8].value, VStoredValue::Binary({1, 2}));
  EXPECT_EQ(list[10].name, u"Page Orientation");  // the nested object's rows, in place
  EXPECT_EQ(list[12].name, u"Port");
  EXPECT_TRUE(list[12].stored);
  EXPECT_EQ(list[12].value, VStoredValue::Dword(21));

  // After a save every written value is in the store.
  folder.WithKey(u"Global", [&](VProfileKey& key) { EXPECT_TRUE(config.Save(key, false)); });
  list = config.ListSettings();
  EXPECT_TRUE(list[0].stored);
  EXPECT_FALSE(list[2].stored);  // load-only, absent
}

TEST(MemberTable, SettingFromTextNamesTheSettingWhenTheTextDoesNotFit) {
  SampleConfig config;
  config.Load(nullptr, 3);
  VReportMessageParams error;
  EXPECT_TRUE(config.SetSetting(u"mru count", u"0x0a", error));
  EXPECT_EQ(config.mruCount.current, 10);
  EXPECT_FALSE(config.SetSetting(u"MRU Count", u"17", error));  // beyond the clamp
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNumber);
  EXPECT_EQ(error.GetInserts()[0], u"MRU Count");
  EXPECT_EQ(error.GetInserts()[2], u"0");
  EXPECT_EQ(error.GetInserts()[3], u"16");
  EXPECT_EQ(config.mruCount.current, 10);
  EXPECT_TRUE(config.SetSetting(u"Show Toolbar", u"false", error));
  EXPECT_FALSE(config.showToolbar.current);
  EXPECT_FALSE(config.SetSetting(u"Show Toolbar", u"yes", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingBool);
  EXPECT_TRUE(config.SetSetting(u"Frame State", u"0,5,6", error));
  EXPECT_EQ(config.frame.GetText(), u"0,5,6");
  EXPECT_FALSE(config.SetSetting(u"Frame State", u"0,5", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingForm);
  EXPECT_EQ(error.GetInserts()[2], u"N,N,N");
  EXPECT_TRUE(config.SetSetting(u"Printer Name", u"Office", error));  // in the nested object
  EXPECT_EQ(config.printer.printerName, u"Office");
  EXPECT_TRUE(config.SetSetting(u"Bookmarks", VStringArray{u"a", u"b"}, error));
  EXPECT_EQ(config.bookmarks.Current(), (VStringArray{u"a", u"b"}));
  EXPECT_FALSE(config.SetSetting(u"Bookmarks", u"a", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNeedsList);
  EXPECT_FALSE(config.SetSetting(u"Port", VStringArray{u"1"}, error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNeedsSingle);
  EXPECT_TRUE(config.SetSetting(u"Toolbar Data", u"0a0b", error));
  EXPECT_EQ(config.toolbarData.current, (std::vector<uint8_t>{10, 11}));
  EXPECT_FALSE(config.SetSetting(u"No Such Thing", u"1", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingUnknown);
  EXPECT_EQ(error.GetInserts()[0], u"No Such Thing");
  EXPECT_EQ(error.GetTextTrimmed(), u"There is no setting named 'No Such Thing'.");
}

TEST(MemberTable, ASettingFoundOnceIsSetThroughTheRowFound) {
  SampleConfig config;
  config.Load(nullptr, 6);  // LMB names
  VProfileComposite::SettingRow found;
  EXPECT_FALSE(found.IsFound());
  EXPECT_FALSE(config.FindSettingRow(u"Show Toolbar", found));  // this product's name differs
  ASSERT_TRUE(config.FindSettingRow(u"show toolbar lmb", found));
  EXPECT_EQ(found.Name(), u"Show Toolbar LMB");
  EXPECT_STREQ(found.Kind(), "bool");
  EXPECT_EQ(found.StoredType(), kProfileTypeDword);
  VReportMessageParams error;
  EXPECT_TRUE(VProfileComposite::SetSetting(found, u"false", error));
  EXPECT_FALSE(config.showToolbar.current);

  ASSERT_TRUE(config.FindSettingRow(u"printer name", found));  // in the nested object
  EXPECT_TRUE(VProfileComposite::SetSetting(found, u"Hall", error));
  EXPECT_EQ(config.printer.printerName, u"Hall");

  ASSERT_TRUE(config.FindSettingRow(u"MRU COUNT", found));
  EXPECT_FALSE(VProfileComposite::SetSetting(found, u"99", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNumber);
  EXPECT_EQ(config.mruCount.current, 4);

  ASSERT_TRUE(config.FindSettingRow(u"line send delay", found));
  EXPECT_FALSE(VProfileComposite::SetSetting(found, u"3", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNotSaved);
  EXPECT_EQ(error.GetInserts()[0], u"Line Send Delay");  // as listed
  EXPECT_EQ(config.lineSendDelay.current, 5);

  ASSERT_TRUE(config.FindSettingRow(u"Bookmarks", found));
  EXPECT_FALSE(VProfileComposite::SetSetting(found, u"a", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNeedsList);
  EXPECT_TRUE(VProfileComposite::SetSetting(found, VStringArray{u"x"}, error));
  EXPECT_EQ(config.bookmarks.Current(), (VStringArray{u"x"}));
}

TEST(MemberTable, NamesGivenAtLoadSurviveCopiesAndRenaming) {
  IniFolder folder;
  SampleConfig config;
  folder.WithKey(u"Global", [&](VProfileKey& key) { config.Load(&key, 6); });
  EXPECT_EQ(config.showToolbar.GetName(), u"Show Toolbar LMB");
  EXPECT_EQ(config.printer.printerName.GetName(), u"Printer Name");
  SampleConfig copy(config);
  copy = config;
  EXPECT_EQ(copy.showToolbar.GetName(), u"Show Toolbar LMB");
  EXPECT_EQ(copy.port.GetName(), u"Port");
  // A name set afterwards is the member's own and replaces the table's.
  copy.port.SetName(u"Other Port");
  EXPECT_EQ(copy.port.GetName(), u"Other Port");
  EXPECT_EQ(config.port.GetName(), u"Port");
  copy.port = 33;
  folder.WithKey(u"Global", [&](VProfileKey& key) { EXPECT_TRUE(copy.Save(key, true)); });
  folder.WithKey(u"Global", [&](VProfileKey& key) {
    VDword value = 0;
    EXPECT_TRUE(key.ReadDword(u"Other Port", value));
    EXPECT_EQ(value, 33u);
  });
  // Loading again names it from the table once more.
  folder.WithKey(u"Global", [&](VProfileKey& key) { copy.Load(&key, 3); });
  EXPECT_EQ(copy.port.GetName(), u"Port");
  EXPECT_EQ(copy.showToolbar.GetName(), u"Show Toolbar");
}

TEST(MemberTable, AFailedMemberDoesNotStopTheOthers) {
  IniFolder folder;
  SampleConfig config;
  config.Load(nullptr, 3);
  config.treeSelected = VUnicodeString(u"two\nlines");  // a value file cannot hold it
  folder.WithKey(u"Global", [&](VProfileKey& key) { EXPECT_FALSE(config.Save(key, false)); });
  std::string lines = folder.Lines("Global");
  EXPECT_EQ(lines.find("Tree Selected"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Port\"=00000045"), std::string::npos);
  EXPECT_TRUE(config.treeSelected.IsWritePending());  // tried again at the next save
}

TEST(MemberTable, AnObjectThatWasNeverLoadedIsNotSaved) {
  IniFolder folder;
  folder.WithKey(u"Global", [](VProfileKey& key) {
    SampleConfig config;
    EXPECT_FALSE(config.Save(key, true));
  });
  EXPECT_EQ(folder.Lines("Global"), "");
}

class BrokenConfig : public VProfileComposite {
 public:
  VProfileString text;
  VProfile<int> number;
  SamplePrinter printer;
  const VMemberTable& GetMemberTable() const override { throw std::logic_error("unused"); }
  static void Build(int which) {
    if (which == 0) {
      static const VMemberRow kRows[] = {QL_ROW(BrokenConfig, text, u"Text").Clamp(0, 1)};
      VMemberTable table(kRows);
    } else if (which == 1) {
      static const VMemberRow kRows[] = {QL_ROW(BrokenConfig, text, u"Text", 3)};
      VMemberTable table(kRows);
    } else if (which == 2) {
      static const VMemberRow kRows[] = {QL_ROW(BrokenConfig, text, u"Same"),
                                         QL_ROW(BrokenConfig, number, u"same")};
      VMemberTable table(kRows);
    } else if (which == 3) {
      static const VMemberRow kRows[] = {QL_ROW(BrokenConfig, number, u"")};
      VMemberTable table(kRows);
    } else if (which == 4) {
      static const VMemberRow kRows[] = {QL_ROW(BrokenConfig, number, u"N").Clamp(5, 1)};
      VMemberTable table(kRows);
    } else {
      static const VMemberRow kRows[] = {QL_NESTED(BrokenConfig, printer).Custom()};
      VMemberTable table(kRows);
    }
  }
};

TEST(MemberTable, RowsThatCannotWorkAreRefusedWhenTheTableIsBuilt) {
  for (int which = 0; which < 6; ++which)
    EXPECT_THROW(BrokenConfig::Build(which), std::logic_error) << which;
}

class BadDefaultConfig : public VProfileComposite {
 public:
  VProfileTabState tabs;
  const VMemberTable& GetMemberTable() const override {
    static const VMemberRow kRows[] = {QL_ROW(BadDefaultConfig, tabs, u"Tabs", u"not a state")};
    static const VMemberTable table(kRows);
    return table;
  }
};

TEST(MemberTable, ADefaultTextOfTheWrongFormIsAProgrammingError) {
  BadDefaultConfig config;
  EXPECT_THROW(config.Load(nullptr), std::logic_error);
}

struct InstallFields {
  VProfile<bool> shortcuts;
  VProfileString folder;
  static const VMemberTable& MemberTable();
};
using InstallConfig = VProfileStruct<InstallFields>;
const VMemberTable& InstallFields::MemberTable() {
  static const VMemberRow kRows[] = {
      QL_ROW(InstallConfig, shortcuts, u"Create Shortcuts", true),
      QL_ROW(InstallConfig, folder, u"Install Folder", u"/opt/tolvane"),
  };
  static const VMemberTable table(kRows);
  return table;
}

TEST(MemberTable, AStructureOfTypedValuesIsOneSetting) {
  IniFolder folder;
  folder.WriteLines("Install", "S:\"Install Folder\"=/usr/local\r\n");
  InstallConfig install;
  folder.WithKey(u"Install", [&](VProfileKey& key) {
    install.Load(&key);
    EXPECT_TRUE(install.shortcuts.current);
    EXPECT_EQ(install.folder, u"/usr/local");
    EXPECT_TRUE(install.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Install"),
            "S:\"Install Folder\"=/usr/local\r\nD:\"Create Shortcuts\"=00000001\r\n");
  EXPECT_EQ(install.GetMember(1), &install.folder);
}

}  // namespace
