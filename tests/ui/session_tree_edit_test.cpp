// The session tree's changes behind the main window, in a folder store and in one settings file:
// each read back through the item database as a new process would list it.
#include <gtest/gtest.h>

#include "config/database/session_database_instance.h"
#include "config/session_tree.h"
#include "ui/main_window/session_tree_edit.h"

namespace {

class SessionTreeEdit : public SessionTreeTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    SessionTreeTest::SetUp();
    if (GetParam()) UseXml();
    GetSessionDatabase()->InvalidateAll();
  }
  void TearDown() override {
    GetSessionDatabase()->InvalidateAll();
    SessionTreeTest::TearDown();
  }
  // The listing of `folder` as a new process reads it: "folders | sessions".
  static std::string Listing(const char16_t* folder) {
    SessionDatabase fresh;
    VStringArray folders;
    VStringArray sessions;
    fresh.ListFolders(folder, folders);
    fresh.ListSessions(folder, sessions);
    std::string text;
    for (const auto& name : folders) text += name.ToUtf8() + " ";
    text += "|";
    for (const auto& name : sessions) text += " " + name.ToUtf8();
    return text;
  }
};

TEST_P(SessionTreeEdit, EachChangeIsThereForTheNextProcessInItsPlace) {
  VReportMessageParams error;
  ASSERT_TRUE(session_tree::NewFolder(u"", u"Lab", error)) << error.GetTextTrimmed().ToUtf8();
  ASSERT_TRUE(session_tree::NewFolder(u"", u"Web", error)) << error.GetTextTrimmed().ToUtf8();
  ASSERT_TRUE(session_tree::NewSession(u"Lab", u"r1", error)) << error.GetTextTrimmed().ToUtf8();
  ASSERT_TRUE(session_tree::NewSession(u"Lab", u"r2", error)) << error.GetTextTrimmed().ToUtf8();
  EXPECT_EQ(Listing(u"Lab"), "| r1 r2");
  EXPECT_EQ(Listing(u""), "Lab Web | Default");

  ASSERT_TRUE(session_tree::Rename(session_tree::ItemAt(u"Lab\\r1", false), u"zz", error))
      << error.GetTextTrimmed().ToUtf8();
  EXPECT_EQ(Listing(u"Lab"), "| zz r2");  // kept its place

  VUnicodeString copy;
  ASSERT_TRUE(session_tree::Duplicate(session_tree::ItemAt(u"Lab\\zz", false), copy, error));
  EXPECT_EQ(copy, u"zz (2)");
  EXPECT_EQ(Listing(u"Lab"), "| zz zz (2) r2");

  ASSERT_TRUE(session_tree::Move(session_tree::ItemAt(u"Lab", true), u"Web", error))
      << error.GetTextTrimmed().ToUtf8();
  EXPECT_EQ(Listing(u""), "Web | Default");
  EXPECT_EQ(Listing(u"Web"), "Lab |");
  EXPECT_EQ(Listing(u"Web\\Lab"), "| zz zz (2) r2");

  ASSERT_TRUE(session_tree::Delete(session_tree::ItemAt(u"Web\\Lab\\zz", false), error));
  EXPECT_EQ(Listing(u"Web\\Lab"), "| zz (2) r2");
  ASSERT_TRUE(session_tree::Delete(session_tree::ItemAt(u"Web\\Lab", true), error));
  EXPECT_EQ(Listing(u"Web"), "|");

  // Refused, with nothing changed.
  EXPECT_FALSE(session_tree::Delete(session_tree::ItemAt(u"Default", false), error));
  EXPECT_FALSE(session_tree::NewFolder(u"", u"Web", error));
  EXPECT_NE(error.GetTextTrimmed().ToUtf8().find("Web"), std::string::npos);
  EXPECT_FALSE(session_tree::Move(session_tree::ItemAt(u"Web", true), u"Web", error));
  EXPECT_EQ(Listing(u""), "Web | Default");
}

INSTANTIATE_TEST_SUITE_P(Stores, SessionTreeEdit, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Xml" : "Ini"; });

}  // namespace
