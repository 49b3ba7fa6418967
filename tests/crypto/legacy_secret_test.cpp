// Carrying older secrets into the current form on a real configuration folder: the old value is
// blanked on disk, the new " V2" value written unless one is there, and nothing is lost when the
// old value cannot be carried.
#include <gtest/gtest.h>

#include <string>

#include "crypto/blowfish_string.h"
#include "crypto/capi_form.h"
#include "crypto/config_passphrase.h"
#include "crypto/encoded_form.h"
#include "crypto/legacy_secret.h"
#include "crypto_test_helpers.h"
#include "storage/ini/ini_file_store.h"
#include "support/test_support.h"

namespace {

using qtest::ScopedEnv;

const std::string kBom = "\xEF\xBB\xBF";

class LegacySecret : public ::testing::Test {
 protected:
  LegacySecret() : env_("XDG_DATA_HOME", dir_ / "data"), factory_(U8(dir_ / "config")) {
    SetConfigPassphrase(u"config pass");
    SetConfigPassphraseDisabled(false);
  }
  ~LegacySecret() override {
    SetConfigPassphrase(nullptr);
    SetConfigPassphraseDisabled(false);
  }

  std::string File() const { return dir_ / "config/Firewalls/Proxy1.ini"; }
  void WriteLines(const std::string& lines) { qtest::WriteFile(File(), kBom + lines); }

  // Opens Firewalls\Proxy1, carries one value, and releases the key so the file is written.
  VLegacySecretResult Carry(const char16_t* oldName, VLegacySecretDecoder decoder,
                            const char16_t* newName, VEncryptedString& value) {
    VProfileStore store(&factory_);
    VProfileKey firewalls(*store.GetRootKey(), u"Firewalls");
    VProfileKey key(firewalls, u"Proxy1");
    VReportMessageParams error;
    return CarryLegacySecret(key, oldName, decoder, newName, value, error);
  }
  // The older firewall password, encoded, carried into its current value.
  VLegacySecretResult CarryFirewallPassword(VEncryptedString& value) {
    return Carry(u"Firewall Password", VLegacySecretDecoder::Encoded, u"Firewall Password V2", value);
  }

  // The string value `name` as the store reads it back from disk.
  bool ReadBack(const char16_t* name, VUnicodeString& value) {
    VProfileStore store(&factory_);
    VProfileKey firewalls(*store.GetRootKey(), u"Firewalls");
    VProfileKey key(firewalls, u"Proxy1");
    return key.ReadString(name, value);
  }

  static VUnicodeString Encoded(const char16_t* plaintext) {
    VUnicodeString encoded;
    VReportMessageParams error;
    EXPECT_TRUE(EncodeScrambledHex(plaintext, encoded, error));
    return encoded;
  }
  static std::string Line(const std::string& name, const VUnicodeString& value) {
    return "S:\"" + name + "\"=" + value.ToUtf8() + "\r\n";
  }

  qtest::TempDir dir_;
  ScopedEnv env_;
  VIniFileStoreFactory factory_;
};

TEST_F(LegacySecret, AnEncodedFirewallPasswordBecomesV2AndIsBlanked) {
  const VUnicodeString encoded = Encoded(u"proxy secret");
  WriteLines(Line("Firewall Host", u"proxy.example") + Line("Firewall Password", encoded));

  VEncryptedString value;
  EXPECT_EQ(CarryFirewallPassword(value), VLegacySecretResult::Carried);
  VUnicodeString plaintext;
  ASSERT_TRUE(value.GetPlaintext(u"config pass", plaintext));
  EXPECT_EQ(plaintext, u"proxy secret");

  std::string bytes = qtest::ReadFile(File());
  EXPECT_NE(bytes.find("\r\nS:\"Firewall Password\"=\r\n"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find(encoded.ToUtf8()), std::string::npos);  // the old secret is gone
  EXPECT_NE(bytes.find(Line("Firewall Password V2", value)), std::string::npos) << bytes;
  EXPECT_NE(bytes.find(Line("Firewall Host", u"proxy.example")), std::string::npos);
  VUnicodeString stored;
  ASSERT_TRUE(ReadBack(u"Firewall Password V2", stored));
  EXPECT_EQ(stored, VUnicodeString(value));
}

TEST_F(LegacySecret, ABlowfishMonitorPasswordBecomesV2) {
  VUnicodeString text;
  VReportMessageParams error;
  ASSERT_TRUE(VBlowfishString::Encode(u"monitor", VBlowfishString::Kind::Wide, 0, text, error));
  WriteLines(Line("Monitor Password", text));
  VEncryptedString value;
  EXPECT_EQ(Carry(u"Monitor Password", VLegacySecretDecoder::Blowfish, u"Monitor Password V2", value),
            VLegacySecretResult::Carried);
  VUnicodeString plaintext;
  ASSERT_TRUE(value.GetPlaintext(u"config pass", plaintext));
  EXPECT_EQ(plaintext, u"monitor");
  VUnicodeString old;
  ASSERT_TRUE(ReadBack(u"Monitor Password", old));
  EXPECT_TRUE(old.empty());
}

TEST_F(LegacySecret, AnExistingNewValueWinsAndTheOldOneIsStillBlanked) {
  VEncryptedString newer;
  ASSERT_TRUE(newer.SetPlaintext(u"newer", u"config pass"));
  const VUnicodeString encoded = Encoded(u"older");
  WriteLines(Line("Firewall Password", encoded) + Line("Firewall Password V2", newer));
  VEncryptedString value;
  EXPECT_EQ(CarryFirewallPassword(value), VLegacySecretResult::Carried);
  EXPECT_EQ(VUnicodeString(value), VUnicodeString(newer));
  std::string bytes = qtest::ReadFile(File());
  EXPECT_NE(bytes.find(Line("Firewall Password V2", newer)), std::string::npos);
  EXPECT_NE(bytes.find(Line("Firewall Password", u"")), std::string::npos);

  // An empty new value (saved while the old one could not be carried) is no value: the old one
  // is carried over it rather than blanked.
  WriteLines(Line("Firewall Password", encoded) + Line("Firewall Password V2", u""));
  EXPECT_EQ(CarryFirewallPassword(value), VLegacySecretResult::Carried);
  VUnicodeString plaintext;
  ASSERT_TRUE(value.GetPlaintext(u"config pass", plaintext));
  EXPECT_EQ(plaintext, u"older");
}

TEST_F(LegacySecret, AnAbsentOldValueChangesNothing) {
  WriteLines(Line("Firewall Host", u"h"));
  std::string before = qtest::ReadFile(File());
  VEncryptedString value(U8("02:untouched"));
  EXPECT_EQ(CarryFirewallPassword(value), VLegacySecretResult::Absent);
  EXPECT_EQ(VUnicodeString(value), u"02:untouched");
  EXPECT_EQ(qtest::ReadFile(File()), before);
}

TEST_F(LegacySecret, AnEmptyOldValueGivesAnEncryptedEmptyValue) {
  WriteLines(Line("Firewall Password", u""));
  VEncryptedString value;
  EXPECT_EQ(CarryFirewallPassword(value), VLegacySecretResult::Carried);
  VUnicodeString plaintext = u"x";
  ASSERT_TRUE(value.GetPlaintext(u"config pass", plaintext));
  EXPECT_TRUE(plaintext.empty());
  EXPECT_EQ(value.size(), 3u + 96u);
}

TEST_F(LegacySecret, WithThePassphraseDisabledTheOldValueStaysForLater) {
  const VUnicodeString encoded = Encoded(u"later");
  WriteLines(Line("Firewall Password", encoded));
  std::string before = qtest::ReadFile(File());
  SetConfigPassphraseDisabled(true);
  VEncryptedString value;
  EXPECT_EQ(CarryFirewallPassword(value), VLegacySecretResult::Disabled);
  EXPECT_TRUE(value.empty());
  EXPECT_EQ(qtest::ReadFile(File()), before);
  // Once the passphrase is known the value is carried.
  SetConfigPassphraseDisabled(false);
  EXPECT_EQ(CarryFirewallPassword(value), VLegacySecretResult::Carried);
}

TEST_F(LegacySecret, AValueThatDoesNotDecodeHereIsKept) {
  // Protected by another account (a second data folder): this user cannot read it, but the
  // other one still can, so it must not be wiped.
  qtest::RunResult other = qtest::Quillane({"secret", "encode", "--form", "capi"},
                                           {{"XDG_DATA_HOME", dir_ / "other"}}, "theirs");
  ASSERT_EQ(other.status, 0) << other.err;
  VUnicodeString theirs = U8(other.out.substr(0, other.out.size() - 1));
  WriteLines(Line("Firewall Password", theirs));
  std::string before = qtest::ReadFile(File());
  VEncryptedString value;
  EXPECT_EQ(CarryFirewallPassword(value), VLegacySecretResult::Undecodable);
  EXPECT_TRUE(value.empty());
  EXPECT_EQ(qtest::ReadFile(File()), before);
}

}  // namespace
