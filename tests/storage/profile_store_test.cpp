// The store model over the INI back end: the registered factory, name validation, access lists.
#include <gtest/gtest.h>

#include "platform/app_info.h"
#include "storage/ini/ini_file_store.h"
#include "storage/model/key_name.h"
#include "storage/model/profile_security.h"
#include "support/test_support.h"

namespace {

using qtest::TempDir;

VIniFileStoreFactory* gFactory = nullptr;
VProfileStoreFactory* RegisteredFactory() { return gFactory; }

TEST(ProfileStore, StoresWithoutFactoryUseTheRegisteredGetter) {
  TempDir dir;
  VIniFileStoreFactory factory(U8(dir / "cfg"));
  gFactory = &factory;
  VSetProfileFactoryGetter(&RegisteredFactory);
  {
    VProfileStore store;
    VProfileKey key(*store.GetRootKey(), u"Global");
    EXPECT_TRUE(key.WriteDword(u"X", 1));
  }
  EXPECT_TRUE(qtest::Exists(dir / "cfg/Global.ini"));
  // Without any factory a store is unusable but harmless.
  VSetProfileFactoryGetter(nullptr);
  VProfileStore none;
  VProfileKey key(*none.GetRootKey(), u"Global");
  EXPECT_FALSE(key.WriteDword(u"X", 1));
  VUnicodeString name;
  VProfileKeyIterator it(key, false);
  EXPECT_FALSE(it.Next(name));
}

TEST(ValidateKeyName, ChecksInTheDocumentedOrder) {
  VReportMessageParams error;
  EXPECT_FALSE(ValidateKeyName(nullptr, u"", true, u"session", true, error));
  EXPECT_EQ(error.GetMessageId(), kMsgNameMustBeSpecified);
  EXPECT_EQ(error.GetTextTrimmed(), u"The session name must be specified.");

  // Backslash is tested before the colon, whatever their order in the name.
  EXPECT_FALSE(ValidateKeyName(nullptr, u"a:b\\c", true, u"folder", false, error));
  EXPECT_EQ(error.GetTextTrimmed(), u"The folder name contains an illegal character: ' \\ '.");
  EXPECT_FALSE(ValidateKeyName(nullptr, u"a|b?", true, u"folder", false, error));
  EXPECT_EQ(error.GetInserts()[1], u"?");

  for (const char16_t* reserved : {u"com1", u"Lpt9.txt", u"CLOCK$", u"nul", u"Aux.log"}) {
    EXPECT_FALSE(ValidateKeyName(nullptr, reserved, true, u"session", false, error));
    EXPECT_EQ(error.GetMessageId(), kMsgNameReservedDevice);
  }
  EXPECT_EQ(error.GetTextTrimmed(), u"'Aux.log' is a reserved device name and cannot be used as a session name.");
  for (const char16_t* fine : {u"COM10", u"CONSOLE", u"LPT", u"printer"}) {
    EXPECT_TRUE(ValidateKeyName(nullptr, fine, true, u"session", false, error));
  }

  EXPECT_FALSE(ValidateKeyName(nullptr, u"host1", true, u"session", true, error));
  EXPECT_EQ(error.GetTextTrimmed(), u"The session name 'host1' already exists.");
  EXPECT_TRUE(ValidateKeyName(u"Host1", u"host1", false, u"session", true, error));
  EXPECT_FALSE(ValidateKeyName(u"other", u"host1", false, u"session", true, error));
}

TEST(ProfileSecurity, TextFormRoundTripsAndNamesLocalAccounts) {
  std::vector<VAccessRight> rights = {{0x1, u"read"}, {0x2, u"write"}, {0x3, u"full"}};
  VProfileSecurity security(rights);
  VAccessEntry local{U8(vapp::HostName()), u"alice", true, 0x3};
  VAccessEntry domain{u"CORP", u"bob", false, 0x1};
  VAccessEntry dotted{u"corp.example", u"carol", true, 0x2};
  security.AddEntry(local);
  security.AddEntry(domain);
  security.AddEntry(dotted);
  VStringArray lines = security.ToStrings();
  EXPECT_EQ(lines, (VStringArray{u"localhost\\alice,allow,read write full", u"CORP\\bob,deny,read",
                                 u"carol@corp.example,allow,write"}));
  VProfileSecurity back(rights);
  ASSERT_TRUE(back.FromStrings(lines));
  EXPECT_EQ(back.Entries(), security.Entries());
  EXPECT_FALSE(back.FromStrings(VStringArray{u"alice,maybe,read"}));
  EXPECT_FALSE(back.FromStrings(VStringArray{u"alice,allow,fly"}));
}

}  // namespace
