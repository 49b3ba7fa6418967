// Scheduled transfers and named synchronize profiles as items of the item database, in a folder
// store and in a settings file.
#include "config/sync/sync_messages.h"
#include "config/transfer/scheduled_task_config.h"
#include "config/transfer/synchronize_config.h"
#include "config/session_tree.h"

namespace {

using TransferItems = SessionTreeTest;

TEST_F(TransferItems, ATaskIsSavedListedLoadedAndDeletedWithEveryValue) {
  for (bool xml : {false, true}) {
    if (xml) UseXml();
    SessionDatabase db;
    VRef<ScheduledTaskConfig> task(new ScheduledTaskConfig(u"Nightly backup"));
    task->Load(nullptr);
    VReportMessageParams error;
    EXPECT_TRUE(db.SaveItem(*task.Get(), error));
    if (!xml) {  // a task of defaults writes its defaults: a value file, and no folder beside it
      EXPECT_TRUE(qtest::Exists(Cfg("ScheduledTasks/Nightly backup.ini")));
      EXPECT_FALSE(qtest::Exists(Cfg("ScheduledTasks/Nightly backup")));
    }
    EXPECT_EQ(Names(db.ListScheduledTasks()), (Strings{"Nightly backup"}));

    task->localPath = VUnicodeString(u"/home/me/ré");
    task->remoteSession = VUnicodeString(u"Lab\\files");
    task->filenames = VStringArray{u"*.txt", u"a b.doc"};
    task->direction = 2;
    task->taskData.current = {1, 2, 3};
    ASSERT_TRUE(db.SaveItem(*task.Get(), error)) << error.GetText().ToUtf8();
    if (!xml) {
      std::string lines = qtest::ReadFile(Cfg("ScheduledTasks/Nightly backup.ini"));
      EXPECT_NE(lines.find("S:\"Local Path\"=/home/me/r\xC3\xA9\r\n"), std::string::npos) << lines;
      EXPECT_NE(lines.find("D:\"Direction\"=00000002\r\n"), std::string::npos) << lines;
      EXPECT_NE(lines.find("B:\"Task Data\"=00000003\r\n 01 02 03\r\n"), std::string::npos) << lines;
    }
    VRef<ScheduledTaskConfig> back = db.OpenScheduledTask(u"Nightly backup");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->localPath.Current(), u"/home/me/ré");
    EXPECT_EQ(back->remoteSession.Current(), u"Lab\\files");
    EXPECT_EQ(back->filenames.Current().GetSize(), 2u);
    EXPECT_EQ(back->direction.current, 2);
    EXPECT_EQ(back->taskData.current, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(back->useSynchronizeSession.current);

    EXPECT_TRUE(db.DeleteItem(ItemCollection::ScheduledTasks, u"Nightly backup", error));
    EXPECT_FALSE(db.OpenScheduledTask(u"Nightly backup"));
    EXPECT_TRUE(db.ListScheduledTasks().IsEmpty());
  }
}

TEST_F(TransferItems, ASynchronizeProfileIsFoundByItsFirstTaskAndNeverSavedWithoutOne) {
  for (bool xml : {false, true}) {
    if (xml) UseXml();
    SessionDatabase db;
    VRef<SynchronizeConfig> config(new SynchronizeConfig(u"Docs"));
    config->Load(nullptr);
    VReportMessageParams error;
    EXPECT_FALSE(db.SaveItem(*config.Get(), error));
    EXPECT_EQ(error.GetMessageId(), kMsgSyncProfileWithoutTask);
    EXPECT_TRUE(db.ListSynchronizeProfiles().IsEmpty());

    SynchronizeTask task;
    task.name = u"Papers";
    task.type = 3;
    task.sources.push_back({u"", u"/home/me/papers", false});
    task.targets.push_back({u"Lab\\files", u"/srv/papers"});
    config->profile.settings.tasks.push_back(task);
    ASSERT_TRUE(db.SaveItem(*config.Get(), error)) << error.GetText().ToUtf8();
    EXPECT_EQ(Names(db.ListSynchronizeProfiles()), (Strings{"Docs"}));
    // A folder copied from a system that ignores case finds its keys in any case.
    VRef<SynchronizeConfig> back = db.OpenSynchronizeConfig(xml ? u"Docs" : u"docs");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->profile.settings, config->profile.settings);
    EXPECT_FALSE(back->IsModified());

    // Fewer sources than were stored: the ones left over are gone from the key.
    back->profile.settings.tasks[0].sources.clear();
    ASSERT_TRUE(db.SaveItem(*back.Get(), error));
    VRef<SynchronizeConfig> again = db.OpenSynchronizeConfig(u"Docs");
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->profile.settings.tasks[0].sources.empty());
    if (!xml) {
      std::string lines = qtest::ReadFile(Cfg("SynchronizeDB/Docs.ini"));
      EXPECT_EQ(lines.find("Source"), std::string::npos) << lines;
    }
    EXPECT_TRUE(db.DeleteItem(ItemCollection::SynchronizeEntries, u"Docs", error));
    EXPECT_FALSE(db.OpenSynchronizeConfig(u"Docs"));
  }
}

}  // namespace
