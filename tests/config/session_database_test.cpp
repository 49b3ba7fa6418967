// The session tree as the item database lists and walks it: display order kept in the folder
// data, hidden names, both stores, the walk, and the folder cache shared by threads.
#include <thread>

#include "config/database/session_database_instance.h"
#include "session_tree.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

Strings Walk(SessionDatabase& db, const VUnicodeString& start = u"", size_t stopAfter = 0) {
  Strings visits;
  db.WalkSessions(
      [&](const VUnicodeString& folder, const VUnicodeString& name, VProfileKey& key) {
        EXPECT_TRUE(SessionDatabase::IsSession(key));
        visits.push_back(folder.ToUtf8() + "|" + name.ToUtf8());
        return visits.size() != stopAfter;
      },
      {start, false, {}});
  return visits;
}

Strings List(SessionDatabase& db, const char16_t* folder, bool sessions = true) {
  VStringArray names;
  EXPECT_TRUE(sessions ? db.ListSessions(folder, names) : db.ListFolders(folder, names));
  return Names(names);
}

TEST_F(SessionTreeTest, ListingFollowsTheStoredOrderAndWritesItBackOnlyWhenItChanged) {
  for (const char* name : {"b", "a", "C", "d", "X\\two", "X\\one", "Y\\beta", "Y\\Alpha"})
    Session(name);
  qtest::WriteFile(Cfg("Sessions/__FolderData__.ini"),
                   kBom + "S:\"Session List\"=d:gone:b\r\nS:\"Folder List\"=Y:X\r\n"
                          "D:\"Is Expanded\"=00000001\r\n");
  const std::string handWritten = kBom + "S:\"Folder List\"=\nS:\"Session List\"=two:one\n";
  qtest::WriteFile(Cfg("Sessions/X/__FolderData__.ini"), handWritten);
  SessionDatabase db;
  // Listed names first in list order, the gone one dropped, the others after in name order.
  EXPECT_EQ(List(db, u""), (Strings{"d", "b", "a", "C"}));
  EXPECT_EQ(List(db, u"", false), (Strings{"Y", "X"}));
  EXPECT_EQ(qtest::ReadFile(Cfg("Sessions/__FolderData__.ini")),
            kBom + "S:\"Session List\"=d:b:a:C\r\nS:\"Folder List\"=Y:X\r\n"
                   "D:\"Is Expanded\"=00000001\r\n");
  ProfileFolderData data;
  ASSERT_TRUE(db.GetFolderData(u"", data));
  EXPECT_TRUE(data.IsExpanded());
  // Lists that match what exists are left alone, bytes and all; missing ones are written.
  EXPECT_EQ(List(db, u"X"), (Strings{"two", "one"}));
  EXPECT_EQ(qtest::ReadFile(Cfg("Sessions/X/__FolderData__.ini")), handWritten);
  EXPECT_EQ(List(db, u"Y"), (Strings{"Alpha", "beta"}));
  EXPECT_EQ(qtest::ReadFile(Cfg("Sessions/Y/__FolderData__.ini")),
            kBom + "S:\"Session List\"=Alpha:beta\r\nS:\"Folder List\"=\r\n");

  // The cache answers until the folder is invalidated; a new session then follows the list.
  Session("X\\new");
  EXPECT_EQ(List(db, u"\\X\\"), (Strings{"two", "one"}));
  db.InvalidateFolder(u"x");
  EXPECT_EQ(List(db, u"X"), (Strings{"two", "one", "new"}));
  EXPECT_EQ(qtest::ReadFile(Cfg("Sessions/X/__FolderData__.ini")),
            kBom + "S:\"Folder List\"=\r\nS:\"Session List\"=two:one:new\r\n");
  VStringArray names;
  EXPECT_FALSE(db.ListSessions(u"Nowhere", names));
  EXPECT_FALSE(db.ListFolders(u"a", names));  // a session is not a folder
}

TEST_F(SessionTreeTest, DotNamesAreHiddenWhileTheGlobalSettingIsOnAndFolderDataIsNeverListed) {
  Session(".hidden");
  Session("shown");
  Folder(".dotfolder");
  Put("Sessions\\__FolderData__", true);  // even marked, folder data is neither kind
  SessionDatabase db;
  EXPECT_EQ(List(db, u""), (Strings{"shown"}));
  EXPECT_EQ(List(db, u"", false), (Strings{}));
  SetHideDot(false);
  db.InvalidateAll();
  // The order recorded while they were hidden stands; they follow it.
  EXPECT_EQ(List(db, u""), (Strings{"shown", ".hidden"}));
  EXPECT_EQ(List(db, u"", false), (Strings{".dotfolder"}));
  EXPECT_FALSE(db.SessionExists(u"__FolderData__"));
  EXPECT_EQ(Walk(db), (Strings{"|.hidden", "|shown"}));
}

TEST_F(SessionTreeTest, TheSettingsFileStoreTellsSessionsByTheirMarker) {
  UseXml();
  for (const char* name : {"zeta", "alpha", "Lab\\router1"}) Session(name);
  Put("Sessions\\Lab\\switch", false, {{u"Hostname", u"sw"}});  // no marker: a folder
  Put("Sessions\\Lab\\__FolderData__", false, {{u"Session List", u"router1:gone"}});
  SessionDatabase db;
  EXPECT_EQ(List(db, u""), (Strings{"alpha", "zeta"}));
  EXPECT_EQ(List(db, u"Lab"), (Strings{"router1"}));
  EXPECT_EQ(List(db, u"Lab", false), (Strings{"switch"}));
  std::string xml = qtest::ReadFile(XmlPath());
  EXPECT_NE(xml.find("<string name=\"Session List\">router1</string>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<string name=\"Session List\">alpha:zeta</string>"), std::string::npos);
  EXPECT_TRUE(db.SessionExists(u"Lab\\router1"));
  EXPECT_TRUE(db.FolderExists(u"Lab\\switch"));
  EXPECT_FALSE(db.SessionExists(u"Lab\\nothing"));
  EXPECT_EQ(qtest::ReadFile(XmlPath()), xml);  // looking for what is not there adds nothing
  EXPECT_EQ(Walk(db), (Strings{"|zeta", "|alpha", "Lab|router1"}));  // document order
}

TEST_F(SessionTreeTest, WalkGoesDepthFirstInKeyOrderAndCanStartBelowTheTopOrStop) {
  for (const char* name : {"a", "B\\c", "B\\D\\e", "f"}) Session(name);
  Folder("B\\Empty");
  SessionDatabase db;
  Strings folders;
  SessionDatabase::WalkResult result = db.WalkSessions(
      nullptr, {u"", false, [&](const VUnicodeString& path) { folders.push_back(path.ToUtf8()); }});
  EXPECT_EQ(folders, (Strings{"B", "B\\D", "B\\Empty"}));
  EXPECT_TRUE(result.started && !result.stopped && result.sessions == 4 && result.folders == 3);
  EXPECT_EQ(Walk(db), (Strings{"|a", "B|c", "B\\D|e", "|f"}));
  EXPECT_EQ(Walk(db, u"b"), (Strings{"b|c", "b\\D|e"}));
  EXPECT_EQ(Walk(db, u"", 2), (Strings{"|a", "B|c"}));
  EXPECT_FALSE(db.WalkSessions(nullptr, {u"a", false, {}}).started);  // a session, not a folder
  EXPECT_TRUE(db.SessionExists(u"\\b\\\\d\\E"));  // levels are found without regard to case
  EXPECT_TRUE(db.FolderExists(u""));
  EXPECT_FALSE(db.FolderExists(u"a"));
}

TEST_F(SessionTreeTest, ThreadsShareOneCacheWhileItIsFilledAndInvalidated) {
  for (int i = 0; i < 30; ++i) Session("Lab\\s" + std::to_string(i));
  for (int i = 0; i < 3; ++i) Folder("F" + std::to_string(i));
  SessionDatabase db;
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 50; ++round) {
        EXPECT_EQ(List(db, u"Lab").size(), 30u);
        EXPECT_EQ(List(db, u"", false), (Strings{"F0", "F1", "F2", "Lab"}));
        if (t == 0 && round % 10 == 0) db.InvalidateFolder(u"");
      }
    });
  }
  for (auto& thread : threads) thread.join();
  std::string data = qtest::ReadFile(Cfg("Sessions/Lab/__FolderData__.ini"));
  EXPECT_EQ(data.find("S:\"Session List\"=s0:s1:s10:s11:"), kBom.size());
}

TEST(SessionDatabaseInstance, TheHostExportsOneInstanceForTheProcess) {
  SessionDatabase* database = GetSessionDatabase();
  ASSERT_NE(database, nullptr);
  EXPECT_EQ(GetSessionDatabase(), database);
}

}  // namespace
