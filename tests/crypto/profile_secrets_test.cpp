// Secret settings as typed values over a real INI key.
#include <gtest/gtest.h>

#include "crypto/config_passphrase.h"
#include "crypto/profile_secrets.h"
#include "crypto_test_helpers.h"
#include "storage/ini/ini_file_store.h"
#include "storage/values/profile_composite.h"
#include "support/test_support.h"

namespace {

class SecretHolder : public VProfileComposite {
 public:
  VProfileEncryptedString password;
  const VMemberTable& GetMemberTable() const override {
    static const VMemberRow kRows[] = {QL_ROW(SecretHolder, password, u"Password V2")};
    static const VMemberTable table(kRows);
    return table;
  }
};

class ProfileSecrets : public ::testing::Test {
 protected:
  ProfileSecrets() : env_("XDG_DATA_HOME", dir_ / "data"), factory_(U8(dir_ / "cfg")) {
    SetConfigPassphrase(u"pass");
    SetConfigPassphraseDisabled(false);
  }
  ~ProfileSecrets() override {
    SetConfigPassphrase(nullptr);
    SetConfigPassphraseDisabled(false);
  }
  std::string Stored(const char* name) {
    VProfileStore store(true, &factory_);
    VProfileKey key(*store.GetRootKey(), u"K");
    VUnicodeString text;
    key.ReadString(U8(name).c_str(), text);
    return text.ToUtf8();
  }
  qtest::TempDir dir_;
  qtest::ScopedEnv env_;
  VIniFileStoreFactory factory_;
};

TEST_F(ProfileSecrets, EncryptedSettingsKeepTheirTextUntilThePlaintextChanges) {
  {
    VProfileStore store(&factory_);
    VProfileKey key(*store.GetRootKey(), u"K");
    SecretHolder holder;
    holder.Load(&key, 3);
    VReportMessageParams error;
    ASSERT_TRUE(holder.SetSetting(u"Password V2", u"hunter2", error));
    EXPECT_EQ(holder.password.GetPlaintext(), u"hunter2");
    EXPECT_TRUE(holder.Save(key, false));
    auto listed = holder.ListSettings();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_STREQ(listed[0].kind, "encrypted");
  }
  std::string first = Stored("Password V2");
  EXPECT_EQ(first.substr(0, 3), "02:");
  {
    VProfileStore store(&factory_);
    VProfileKey key(*store.GetRootKey(), u"K");
    SecretHolder holder;
    holder.Load(&key, 3);
    EXPECT_EQ(holder.password.GetPlaintext(), u"hunter2");
    EXPECT_TRUE(holder.password.SetPlaintext(u"hunter2"));
    EXPECT_FALSE(holder.IsModified());  // the same plaintext keeps the same text
    SetConfigPassphraseDisabled(true);
    VReportMessageParams error;
    EXPECT_FALSE(holder.SetSetting(u"Password V2", u"other", error));
    EXPECT_EQ(error.GetMessageId(), 0xE138030Fu);
    EXPECT_EQ(holder.password.GetPlaintext(), u"");
  }
  EXPECT_EQ(Stored("Password V2"), first);
}

TEST_F(ProfileSecrets, OlderFormsAreReadAndWrittenAsTheirPlaintext) {
  {
    VProfileStore store(&factory_);
    VProfileKey key(*store.GetRootKey(), u"K");
    VProfileCapiString capi;
    capi.SetName(u"Firewall Password");
    capi.Current() = u"secret";
    ASSERT_TRUE(capi.Save(key, true));
    VProfileEncodedString encoded;
    encoded.SetName(u"Login Script V2");
    encoded.Current() = u"script";
    ASSERT_TRUE(encoded.Save(key, true));
  }
  EXPECT_EQ(Stored("Firewall Password").substr(0, 5), "CAPI:");
  EXPECT_EQ(Stored("Login Script V2").size(), 8u + 24u);  // four mask bytes, six UTF-16 units
  VProfileStore store(true, &factory_);
  VProfileKey key(*store.GetRootKey(), u"K");
  VProfileCapiString capi;
  capi.SetName(u"Firewall Password");
  EXPECT_TRUE(capi.Load(&key));
  EXPECT_EQ(static_cast<const VUnicodeString&>(capi), u"secret");
  VProfileEncodedString encoded;
  encoded.SetName(u"Login Script V2");
  EXPECT_TRUE(encoded.Load(&key));
  EXPECT_EQ(static_cast<const VUnicodeString&>(encoded), u"script");
}

}  // namespace
