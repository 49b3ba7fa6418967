// A session that is not there is missing in either store, and looking for it leaves the store's
// files as they were, whatever the library writes afterwards.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/database/session_database_instance.h"
#include "config/session/session_config.h"
#include "config/session/session_messages.h"
#include "config/session/session_store.h"
#include "config/session_tree.h"

namespace {

class MissingSession : public SessionTreeTest, public ::testing::WithParamInterface<bool> {
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
  // Every file of the store with its bytes, so that nothing made, changed or removed goes unseen.
  std::string Snapshot() const {
    if (IsXml()) return qtest::ReadFile(XmlPath());
    std::string all;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Cfg(""))) {
      all += entry.path().string() + "\n";
      if (entry.is_regular_file()) all += qtest::ReadFile(entry.path().string());
    }
    return all;
  }
  static uint32_t OpenError(const char16_t* path) {
    VReportMessageParams error;
    VRef<SessionConfig> session(OpenSessionByPath(VUnicodeString(path), error));
    return session ? 0 : error.GetMessageId();
  }
};

TEST_P(MissingSession, IsReportedMissingAndLooksChangeNoFile) {
  Session("Lab\\router1");
  Folder("Web");
  const std::string before = Snapshot();

  for (int round = 0; round < 2; ++round) {  // a second look must not find the first one's trace
    EXPECT_EQ(OpenError(u"nope"), kMsgSessionMissing);
    EXPECT_EQ(OpenError(u"Lab\\nope"), kMsgSessionMissing);
    EXPECT_EQ(OpenError(u"Gone\\deeper\\nope"), kMsgSessionMissing);
    EXPECT_FALSE(SessionKeyExists(VUnicodeString(u"Lab\\nope")));
    EXPECT_FALSE(IsSessionWritable(VUnicodeString(u"Gone\\nope")));
  }
  EXPECT_EQ(OpenError(u"Web"), kMsgSessionIsFolder);
  EXPECT_EQ(OpenError(u"Lab\\router1"), 0u);
  EXPECT_EQ(Snapshot(), before);

  // A save afterwards writes its session and nothing that was only looked for.
  VReportMessageParams error;
  VRef<SessionConfig> router(OpenSessionByPath(VUnicodeString(u"Lab\\router1"), error));
  ASSERT_TRUE(router);
  ASSERT_TRUE(SaveSessionAtPath(*router.Get(), VUnicodeString(u"Lab\\router1"), true, error))
      << error.GetTextTrimmed().ToUtf8();
  EXPECT_FALSE(SessionKeyExists(VUnicodeString(u"nope")));
  EXPECT_FALSE(SessionKeyExists(VUnicodeString(u"Lab\\nope")));
  EXPECT_FALSE(SessionKeyExists(VUnicodeString(u"Gone")));
  if (IsXml()) {
    const std::string after = qtest::ReadFile(XmlPath());
    EXPECT_EQ(after.find("nope"), std::string::npos);
    EXPECT_EQ(after.find("Gone"), std::string::npos);
  }
}

TEST_P(MissingSession, TheTemplateIsMadeWhenFirstOpenedNotTakenForAFolder) {
  Session("Lab\\router1");
  EXPECT_FALSE(SessionKeyExists(VUnicodeString(u"Default")));
  VReportMessageParams error;
  VRef<SessionConfig> defaults(OpenSessionByPath(VUnicodeString(u"Default"), error));
  ASSERT_TRUE(defaults) << error.GetTextTrimmed().ToUtf8();
  EXPECT_TRUE(defaults->IsDefaultSession());
  EXPECT_EQ(OpenError(u"Default"), 0u);
  EXPECT_TRUE(SessionKeyExists(VUnicodeString(u"Default")));
}

INSTANTIATE_TEST_SUITE_P(Stores, MissingSession, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Xml" : "Ini"; });

}  // namespace
