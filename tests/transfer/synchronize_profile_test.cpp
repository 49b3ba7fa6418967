// Synchronize profiles over real value files: the indexed names, where the lists of tasks,
// sources and targets end, the older time stamp, what a save writes and what it removes.
#include <gtest/gtest.h>

#include "config/sync/sync_messages.h"
#include "config/sync/synchronize_names.h"
#include "config/sync/synchronize_profile.h"
#include "storage/ini_folder.h"
#include "storage/values/setting_text.h"

namespace {

using syncnames::Field;
using syncnames::IndexedName;
using syncnames::Part;

TEST(SynchronizeNames, AreFormedAndReadBackExactly) {
  EXPECT_EQ(syncnames::Format({Part::Task, 0, 0, Field::MasterOverwrites}), u"Task[0].MasterOverwrites");
  EXPECT_EQ(syncnames::Format({Part::Source, 12, 3, Field::Recurse}), u"Task[12].Source[3].Recurse");
  EXPECT_EQ(syncnames::Format({Part::Target, 4294967295u, 10, Field::Path}),
            u"Task[4294967295].Target[10].Path");
  IndexedName name;
  ASSERT_TRUE(syncnames::Parse(u"Task[7].Target[0].Session", name));
  EXPECT_EQ(name, (IndexedName{Part::Target, 7, 0, Field::Session}));
  // Only what Format makes is taken for one of the profile's names.
  for (const char16_t* other :
       {u"Task[01].Name", u"Task[0].Recurse", u"Task[0].Target[0].Recurse", u"task[0].Name",
        u"Task[0].name", u"Task[-1].Name", u"Task[+1].Name", u"Task[ 1].Name", u"Task[].Name",
        u"Task[4294967296].Name", u"Task[0].Source[0]", u"Task[0].Name ", u"Task[0]..Name",
        u"Task[0].Source[1].Type", u"Last Sync Time"})
    EXPECT_FALSE(syncnames::Parse(other, name)) << VUnicodeString(other).ToUtf8();
}

class SynchronizeProfileTest : public ::testing::Test {
 protected:
  SynchronizeProfile LoadKey(const std::string& lines) {
    folder_.WriteLines("Sync", lines);
    SynchronizeProfile profile;
    folder_.WithKey(u"Sync", [&](VProfileKey& key) { profile.Load(&key); }, true);
    return profile;
  }
  bool SaveKey(SynchronizeProfile& profile, bool force) {
    bool ok = false;
    folder_.WithKey(u"Sync", [&](VProfileKey& key) { ok = profile.Save(key, force); });
    return ok;
  }
  IniFolder folder_;
};

TEST_F(SynchronizeProfileTest, ListsEndAtTheFirstMissingIndexAndAbsentFlagsTakeTheirDefaults) {
  SynchronizeProfile profile = LoadKey(
      "S:\"Task[0].Name\"=Docs\r\nD:\"Task[0].Type\"=00000002\r\n"
      "S:\"Task[0].Source[0].Session\"=\r\nS:\"Task[0].Source[0].Path\"=/home/me/docs\r\n"
      "S:\"Task[0].Source[2].Session\"=labfiles\r\n"
      "S:\"Task[0].Target[0].Session\"=labfiles\r\nS:\"Task[0].Target[0].Path\"=/srv\r\n"
      "D:\"Task[0].Target[1].Path\"=00000001\r\n"
      "S:\"Task[1].Name\"=Photos\r\nD:\"Task[1].MasterOverwrites\"=00000001\r\n"
      "S:\"Task[3].Name\"=Beyond\r\n"
      "S:\"Filter\"=texts\r\n");
  const SynchronizeSettings& s = profile.settings;
  ASSERT_EQ(s.tasks.size(), 2u);  // Task[2] has no name: Task[3] is not read
  EXPECT_EQ(s.tasks[0].name, u"Docs");
  EXPECT_EQ(s.tasks[0].type, 2);
  EXPECT_FALSE(s.tasks[0].masterOverwrites);
  ASSERT_EQ(s.tasks[0].sources.size(), 1u);  // Source[1] is missing: Source[2] is not read
  EXPECT_EQ(s.tasks[0].sources[0].path, u"/home/me/docs");
  EXPECT_TRUE(s.tasks[0].sources[0].recurse);  // absent: on
  ASSERT_EQ(s.tasks[0].targets.size(), 1u);  // a target needs its session
  EXPECT_EQ(s.tasks[0].targets[0].session, u"labfiles");
  EXPECT_EQ(s.tasks[1].name, u"Photos");
  EXPECT_TRUE(s.tasks[1].masterOverwrites);
  EXPECT_TRUE(s.tasks[1].sources.empty());
  EXPECT_EQ(s.filter, u"texts");
  EXPECT_FALSE(s.autoTransfer);
  EXPECT_TRUE(s.temporaryFile);  // "Transfer To Temporary File" absent: on
  EXPECT_EQ(s.lastSyncTime.Ticks(), 0u);
  EXPECT_FALSE(profile.IsModified());
}

TEST_F(SynchronizeProfileTest, ASaveWritesEveryNameInOrderAndRemovesWhatNoLongerBelongs) {
  const std::string other = "S:\"Written By\"=another program\r\n";
  SynchronizeProfile profile = LoadKey(
      other +
      "S:\"Task[0].Name\"=Docs\r\n"
      "S:\"Task[0].Source[0].Session\"=a\r\nS:\"Task[0].Source[1].Session\"=b\r\n"
      "S:\"Task[0].Source[3].Session\"=orphan\r\n"
      "S:\"Task[1].Name\"=Gone\r\nS:\"Task[1].Target[0].Session\"=t\r\n");
  EXPECT_TRUE(SaveKey(profile, false));  // unchanged: nothing written
  profile.settings.tasks.pop_back();
  profile.settings.tasks[0].sources.pop_back();
  profile.settings.tasks[0].targets.push_back({u"labfiles", u"/srv/docs"});
  profile.settings.autoTransfer = true;
  EXPECT_TRUE(profile.IsModified());
  ASSERT_TRUE(SaveKey(profile, false));
  EXPECT_FALSE(profile.IsModified());
  EXPECT_EQ(folder_.Lines("Sync"),
            other +
                "S:\"Task[0].Name\"=Docs\r\n"
                "S:\"Task[0].Source[0].Session\"=a\r\n"
                "D:\"Task[0].Type\"=00000000\r\nD:\"Task[0].MasterOverwrites\"=00000000\r\n"
                "S:\"Task[0].Source[0].Path\"=\r\nD:\"Task[0].Source[0].Recurse\"=00000001\r\n"
                "S:\"Task[0].Target[0].Session\"=labfiles\r\n"
                "S:\"Task[0].Target[0].Path\"=/srv/docs\r\n"
                "S:\"Filter\"=\r\nD:\"Automatically Transfer Files\"=00000001\r\n"
                "D:\"Transfer To Temporary File\"=00000001\r\n");

  // Read back, the profile is the one saved, and a forced save of it changes no byte.
  std::string saved = folder_.Lines("Sync");
  SynchronizeProfile again = LoadKey(saved);
  EXPECT_EQ(again.settings, profile.settings);
  EXPECT_TRUE(SaveKey(again, true));
  EXPECT_EQ(folder_.Lines("Sync"), saved);
}

TEST_F(SynchronizeProfileTest, TheOlderTimeIsReadWhenTheCurrentOneIsAbsentAndKeptForOlderPrograms) {
  // 2020-01-31 08:05:09.250 as eight bytes of ticks since 1601.
  VFileTime time;
  ASSERT_TRUE(VSystemTimeToFileTime({2020, 1, 31, 8, 5, 9, 250}, time));
  uint8_t bytes[8];
  time.ToBytes(bytes);
  const std::string older = IniFolder::BlockLines("Last Sync Time", {bytes, bytes + 8});
  SynchronizeProfile profile = LoadKey(older);
  EXPECT_EQ(profile.settings.lastSyncTime, time);
  EXPECT_TRUE(profile.IsWritePending());
  ASSERT_TRUE(SaveKey(profile, false));  // the converted time is written although unchanged
  std::string lines = folder_.Lines("Sync");
  EXPECT_EQ(lines.substr(0, older.size()), older);
  EXPECT_NE(lines.find("S:\"Last Sync Time V2\"=2020:01:31:08:05:09:250\r\n"), std::string::npos);

  // The current form wins over the older one.
  SynchronizeProfile current = LoadKey(older + "S:\"Last Sync Time V2\"=2021:02:03:04:05:06:007\r\n");
  VSystemTime fields;
  ASSERT_TRUE(VFileTimeToSystemTime(current.settings.lastSyncTime, fields));
  EXPECT_EQ(fields, (VSystemTime{2021, 2, 3, 4, 5, 6, 7}));
  EXPECT_FALSE(current.IsWritePending());
}

TEST_F(SynchronizeProfileTest, ChangesAreMeasuredAgainstTheLoadedCopyAndCanBeTakenBack) {
  SynchronizeProfile profile = LoadKey("S:\"Task[0].Name\"=Docs\r\nD:\"Task[0].Type\"=00000001\r\n");
  SynchronizeProfile other;
  other.Load(nullptr);
  EXPECT_FALSE(other.IsModified());
  EXPECT_TRUE(other.settings.temporaryFile);
  other.CopyValue(profile);
  EXPECT_TRUE(other.IsModified());
  EXPECT_EQ(other.settings, profile.settings);
  other.Revert();
  EXPECT_TRUE(other.settings.tasks.empty());
  profile.settings.tasks[0].name = u"Papers";
  profile.Commit();
  EXPECT_FALSE(profile.IsModified());
  EXPECT_TRUE(profile.IsWritePending());  // committed changes are still to be written
}

TEST_F(SynchronizeProfileTest, ValuesSetByNameGrowTheListsOneIndexAtATime) {
  SynchronizeProfile profile;
  profile.Load(nullptr);
  VReportMessageParams error;
  EXPECT_TRUE(profile.SetValue(u"Task[0].Name", u"Docs", error));
  EXPECT_TRUE(profile.SetValue(u"Task[0].Source[0].Path", u"/home", error));
  EXPECT_TRUE(profile.SetValue(u"Task[0].Source[0].Recurse", u"false", error));
  EXPECT_TRUE(profile.SetValue(u"Task[0].Type", u"0x10", error));
  EXPECT_TRUE(profile.SetValue(u"Last Sync Time V2", u"2020:01:31:08:05:09:250", error));
  ASSERT_EQ(profile.settings.tasks.size(), 1u);
  EXPECT_EQ(profile.settings.tasks[0].type, 16);
  ASSERT_EQ(profile.settings.tasks[0].sources.size(), 1u);
  EXPECT_FALSE(profile.settings.tasks[0].sources[0].recurse);

  const SynchronizeSettings before = profile.settings;
  EXPECT_FALSE(profile.SetValue(u"Task[2].Name", u"x", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSyncIndexGap);
  EXPECT_EQ(error.GetInserts()[1], u"Task[1]");
  EXPECT_FALSE(profile.SetValue(u"Task[0].Target[1].Path", u"x", error));
  EXPECT_EQ(error.GetInserts()[1], u"Task[0].Target[0]");
  EXPECT_FALSE(profile.SetValue(u"Task[0].MasterOverwrites", u"yes", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingBool);
  EXPECT_FALSE(profile.SetValue(u"Task[1].Type", u"many", error));  // refused: no task added
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNumber);
  EXPECT_FALSE(profile.SetValue(u"Task[0].Recurse", u"1", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingUnknown);
  EXPECT_FALSE(profile.SetValue(u"Last Sync Time V2", u"yesterday", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingTime);
  EXPECT_EQ(profile.settings, before);
}

TEST_F(SynchronizeProfileTest, AProfileInASubKeyWritesNothingUntilItHoldsSomething) {
  SynchronizeProfile quick(u"QuickSync");
  folder_.WithKey(u"Global", [&](VProfileKey& key) {
    quick.Load(&key);
    EXPECT_TRUE(quick.Save(key, true));
  });
  EXPECT_FALSE(folder_.HasFile("Global/QuickSync"));
  quick.settings.filter = u"logs";
  folder_.WithKey(u"Global", [&](VProfileKey& key) { EXPECT_TRUE(quick.Save(key, false)); });
  EXPECT_EQ(folder_.Lines("Global/QuickSync"),
            "S:\"Filter\"=logs\r\nD:\"Automatically Transfer Files\"=00000000\r\n"
            "D:\"Transfer To Temporary File\"=00000001\r\n");
}

}  // namespace
