// A session's keyword list and colour scheme found by the names it keeps; a name that finds
// nothing stays as stored and is reported.
#include <gtest/gtest.h>

#include "config/highlight/session_appearance.h"
#include "config/session/session_store.h"
#include "config/session_tree.h"
#include "report/message_catalogue.h"

namespace {

class SessionAppearanceTest : public SessionTreeTest {
 protected:
  VRef<SessionConfig> Open(const std::string& path) {
    VReportMessageParams error;
    SessionConfig* session = OpenSessionByPath(U8(path), error);
    EXPECT_TRUE(session) << error.GetText().ToUtf8();
    return VRef<SessionConfig>(session);
  }
  SessionDatabase db_;
};

TEST_F(SessionAppearanceTest, NamesThatFindTheirObjects) {
  Put("Keywords\\Errors", false, {{u"Keyword List", u"error fail"}});
  Put("Sessions\\host", true, {{u"Keyword Set", u"Errors"}, {u"Color Scheme", u"Ember"}});
  VRef<SessionConfig> session = Open("host");
  ASSERT_TRUE(session);
  ProfileColorSchemeListV2 schemes;
  schemes.LoadList(nullptr);
  SessionAppearance found = FindSessionAppearance(*session.Get(), db_, schemes);
  EXPECT_TRUE(found.warnings.empty());
  ASSERT_TRUE(found.keywordList);
  EXPECT_EQ(found.keywordList->GetKeywords().size(), 2u);
  ASSERT_TRUE(found.colorScheme);
  EXPECT_EQ(found.colorScheme->name, u"Ember");
  EXPECT_EQ(found.colorScheme->backgrounds[0], ColorFromRgb(0x2A1F1D));
}

TEST_F(SessionAppearanceTest, NamesThatFindNothingAreReportedAndKeptAsStored) {
  Put("Sessions\\host", true, {{u"Keyword Set", u"Gone"}, {u"Color Scheme", u"Nowhere"}});
  std::string file = Cfg("Sessions/host.ini");
  VRef<SessionConfig> session = Open("host");
  ASSERT_TRUE(session);
  ProfileColorSchemeListV2 schemes;
  schemes.LoadList(nullptr);
  SessionAppearance found = FindSessionAppearance(*session.Get(), db_, schemes);
  EXPECT_FALSE(found.keywordList);
  EXPECT_FALSE(found.colorScheme);
  ASSERT_EQ(found.warnings.size(), 2u);
  EXPECT_NE(found.warnings[0].ToUtf8().find("'Gone'"), std::string::npos);
  EXPECT_NE(found.warnings[1].ToUtf8().find("'Nowhere'"), std::string::npos);
  EXPECT_EQ(session->keywordSet.Current(), u"Gone");
  EXPECT_EQ(session->terminal.colorScheme.Current(), u"Nowhere");
  // Saved, the names are written as they were read.
  VReportMessageParams error;
  ASSERT_TRUE(SaveSessionAtPath(*session.Get(), u"host", true, error)) << error.GetText().ToUtf8();
  std::string lines = qtest::ReadFile(file);
  EXPECT_NE(lines.find("S:\"Keyword Set\"=Gone\r\n"), std::string::npos);
  EXPECT_NE(lines.find("S:\"Color Scheme\"=Nowhere\r\n"), std::string::npos);
}

TEST_F(SessionAppearanceTest, NamesStoredAsAnotherKindAreReportedAndNeverWrittenOverUnasked) {
  Put("Sessions\\host", true);
  {
    VProfileStore store(false, factory_.get());
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    VProfileKey host(sessions, u"host");
    ASSERT_TRUE(host.WriteDword(u"Color Scheme", 5) && host.WriteDword(u"Keyword Set", 6) && host.Flush());
  }
  VRef<SessionConfig> session = Open("host");
  ASSERT_TRUE(session);
  EXPECT_TRUE(session->terminal.colorScheme.StoredAsOtherKind());
  ProfileColorSchemeListV2 schemes;
  schemes.LoadList(nullptr);
  SessionAppearance found = FindSessionAppearance(*session.Get(), db_, schemes);
  ASSERT_EQ(found.warnings.size(), 2u);
  EXPECT_NE(found.warnings[0].ToUtf8().find("'Keyword Set'"), std::string::npos);
  EXPECT_NE(found.warnings[1].ToUtf8().find("'Color Scheme'"), std::string::npos);
  // Saved, even with every value forced, the two stay as they were.
  VReportMessageParams error;
  ASSERT_TRUE(SaveSessionAtPath(*session.Get(), u"host", true, error)) << error.GetText().ToUtf8();
  std::string lines = qtest::ReadFile(Cfg("Sessions/host.ini"));
  EXPECT_NE(lines.find("D:\"Color Scheme\"=00000005\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Keyword Set\"=00000006\r\n"), std::string::npos);
  // Set by a person, the name is written.
  ASSERT_TRUE(session->SetSetting(u"Color Scheme", VUnicodeString(u"Ember"), error));
  ASSERT_TRUE(SaveSessionAtPath(*session.Get(), u"host", false, error)) << error.GetText().ToUtf8();
  lines = qtest::ReadFile(Cfg("Sessions/host.ini"));
  EXPECT_NE(lines.find("S:\"Color Scheme\"=Ember\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Keyword Set\"=00000006\r\n"), std::string::npos);
}

TEST_F(SessionAppearanceTest, ABuiltInSchemeIsFoundByItsNameInTheOtherLanguage) {
  // The list was first saved in French; the session was made under English.
  VSetMessageLanguage(VLanguage::French);
  ProfileColorSchemeListV2 schemes;
  schemes.LoadList(nullptr);
  VResetMessageLanguage();
  ASSERT_NE(schemes.Find(u"Braise"), ProfileColorsBase::kNotFound);
  Put("Sessions\\host", true, {{u"Color Scheme", u"Ember"}, {u"Keyword Set", u"(None)"}});
  VRef<SessionConfig> session = Open("host");
  ASSERT_TRUE(session);
  SessionAppearance found = FindSessionAppearance(*session.Get(), db_, schemes);
  ASSERT_TRUE(found.colorScheme);
  EXPECT_EQ(found.colorScheme->name, u"Braise");
  EXPECT_FALSE(found.keywordList);
  ASSERT_EQ(found.warnings.size(), 1u);  // the other name, not the list: "(None)" names none
  EXPECT_NE(found.warnings[0].ToUtf8().find("'Braise'"), std::string::npos);
  EXPECT_EQ(session->terminal.colorScheme.Current(), u"Ember");
}

}  // namespace
