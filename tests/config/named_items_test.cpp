// Named items through the item database: how each collection recognises its items, the names the
// programs provide, and items kept whole until their own objects arrive.
#include <atomic>

#include "config/items/firewall_config.h"
#include "platform/win32_errors.h"
#include "session_tree.h"

namespace {

// Counts the stores made, so that a test can tell that nothing was read or written.
struct CountingFactory : VProfileStoreFactory {
  explicit CountingFactory(VProfileStoreFactory& inner) : inner(inner) {}
  VProfilePrivateStore* CreatePrivateStore() override {
    ++stores;
    return inner.CreatePrivateStore();
  }
  VProfileStoreFactory& inner;
  std::atomic<int> stores{0};
};

using Items = SessionTreeTest;

const ItemSnapshotConfig& Snapshot(const VRef<NamedItemConfig>& item) {
  return dynamic_cast<const ItemSnapshotConfig&>(*item.Get());
}

TEST_F(Items, EachCollectionKnowsItsItemsByTheirMarker) {
  Put("Firewalls\\fw1", false, {{u"Firewall Type", u"4"}});
  Put("Firewalls\\junk", false, {{u"Hostname", u"h"}});
  Put("Firewalls\\None", false, {{u"Firewall Type", u"4"}});  // never offered: built in
  Put("Keywords\\new", false, {{u"Keyword List V2", u"x"}});
  Put("Keywords\\old", false, {{u"Keyword List", u"y"}});
  Put("Keywords\\none", false, {{u"Other", u"z"}});
  Put("SynchronizeDB\\sync", false, {{u"Task[0].Type", u"1"}});
  Put("SynchronizeDB\\half", false, {{u"Task[1].Type", u"1"}});
  Put("ScheduledTasks\\Nightly", false, {{u"Anything", u"1"}});
  SessionDatabase db;
  EXPECT_EQ(Names(db.ListItems(ItemCollection::Firewalls)), (Strings{"fw1"}));
  EXPECT_EQ(Names(db.ListItems(ItemCollection::KeywordLists)), (Strings{"new", "old"}));
  EXPECT_EQ(Names(db.ListItems(ItemCollection::SynchronizeEntries)), (Strings{"sync"}));
  EXPECT_EQ(Names(db.ListItems(ItemCollection::ScheduledTasks)), (Strings{"Nightly"}));
  EXPECT_FALSE(db.ItemExists(ItemCollection::Firewalls, u"junk"));
  EXPECT_FALSE(db.ItemExists(ItemCollection::KeywordLists, u"none"));
  EXPECT_FALSE(db.LoadItem(ItemCollection::SynchronizeEntries, u"half"));
  EXPECT_EQ(ItemKeyPath(ItemCollection::SynchronizeEntries, u"sync"), u"SynchronizeDB\\sync");

  // Button bars offer "Default" whether it is stored or not.
  EXPECT_EQ(Names(db.ListItems(ItemCollection::ButtonBars)), (Strings{"Default"}));
  EXPECT_TRUE(Snapshot(db.LoadItem(ItemCollection::ButtonBars, u"Default")).IsEmpty());
  Put("ButtonBarV5\\default", false, {{u"Button 1", u"ls"}});
  Put("ButtonBarV5\\Admin", false);
  EXPECT_EQ(Names(db.ListItems(ItemCollection::ButtonBars)), (Strings{"Admin", "default"}));
  EXPECT_FALSE(Snapshot(db.LoadItem(ItemCollection::ButtonBars, u"Default")).IsEmpty());
}

TEST_F(Items, TheNoneFirewallIsNeverReadNorWrittenAndBadNamesAreRefused) {
  CountingFactory counting(*factory_);
  SessionDatabase db(&counting);
  VRef<NamedItemConfig> none = db.LoadItem(ItemCollection::Firewalls, u"None");
  ASSERT_TRUE(none);
  EXPECT_EQ(none->GetItemName(), u"None");
  EXPECT_EQ(dynamic_cast<FirewallConfig&>(*none.Get()).GetTypeNumber(), 0);
  VReportMessageParams error;
  EXPECT_TRUE(db.SaveItem(*none.Get(), error));
  EXPECT_TRUE(db.ItemExists(ItemCollection::Firewalls, u"none"));
  EXPECT_EQ(counting.stores, 0);

  for (const char16_t* name : {u"", u"a\\b", u"..", u"x/y"}) {
    VRef<NamedItemConfig> item(CreateNamedItemConfig(ItemCollection::Firewalls, name));
    item->Load(nullptr);
    EXPECT_FALSE(db.SaveItem(*item.Get(), error));
    EXPECT_EQ(error.GetMessageId(), win32::kInvalidName);
  }
  EXPECT_FALSE(qtest::Exists(Cfg("Firewalls")));
}

TEST_F(Items, AnItemKeptWholeIsSavedBackByteForByte) {
  for (bool xml : {false, true}) {
    if (xml) UseXml();
    Put("ButtonBarV5\\Nightly", false, {{u"Command", u"sync \"all\" = now"}, {u"At", u"2"}});
    Put("ButtonBarV5\\Nightly\\Step1", false, {{u"Action", u"upload"}});
    {
      VProfileStore store(false, factory_.get());
      VProfileKey tasks(*store.GetRootKey(), u"ButtonBarV5");
      VProfileKey task(tasks, u"Nightly");
      const uint8_t bytes[] = {0, 1, 0xFE};
      EXPECT_TRUE(task.WriteDword(u"Interval", 7) && task.WriteBinary(u"Blob", bytes, 3) &&
                  task.WriteMultiSz(u"Hosts", VStringArray{u"a", u"", u"b"}) && task.Flush());
    }
    std::string file = xml ? XmlPath() : Cfg("ButtonBarV5/Nightly.ini");
    std::string before = qtest::ReadFile(file);
    SessionDatabase db;
    VRef<NamedItemConfig> task = db.LoadItem(ItemCollection::ButtonBars, u"Nightly");
    ASSERT_TRUE(task);
    EXPECT_EQ(Snapshot(task).GetContents().values.size(), 5u);
    VReportMessageParams error;
    ASSERT_TRUE(db.SaveItem(*task.Get(), error)) << error.GetText().ToUtf8();
    EXPECT_EQ(qtest::ReadFile(file), before);
    // Saved under another name, the copy reads back the same, sub-key included.
    task->SetItemName(u"Copy");
    ASSERT_TRUE(db.SaveItem(*task.Get(), error));
    VRef<NamedItemConfig> copy = db.LoadItem(ItemCollection::ButtonBars, u"Copy");
    ASSERT_TRUE(copy);
    EXPECT_EQ(Snapshot(copy).GetContents().values, Snapshot(task).GetContents().values);
    EXPECT_EQ(Snapshot(copy).GetContents().children, Snapshot(task).GetContents().children);
    // A new, empty item still becomes a key.
    VRef<NamedItemConfig> empty(CreateNamedItemConfig(ItemCollection::ButtonBars, u"Empty"));
    empty->Load(nullptr);
    ASSERT_TRUE(db.SaveItem(*empty.Get(), error));
    EXPECT_EQ(Names(db.ListItems(ItemCollection::ButtonBars)),
              (Strings{"Copy", "Default", "Empty", "Nightly"}));
  }
}

}  // namespace
