// Secret settings as they are held: re-saving an unchanged secret keeps the stored text, and the
// configuration passphrase (or its absence) decides what callers see.
#include <gtest/gtest.h>

#include "crypto/config_passphrase.h"
#include "crypto/crypto_messages.h"
#include "crypto/encrypted_string.h"
#include "crypto_test_helpers.h"

namespace {

using crypto_test::CountingRandomSource;

class EncryptedString : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    SetConfigPassphrase(nullptr);
    SetConfigPassphraseDisabled(false);
  }
};

TEST_F(EncryptedString, SettingTheSamePlaintextKeepsTheStoredText) {
  VEncryptedString value;
  ASSERT_TRUE(value.SetPlaintext(u"hunter2", u"p"));
  VUnicodeString first = value;
  auto* random = new CountingRandomSource();
  value.SetRandomSource(random);
  random->Release();  // the value holds its own reference
  ASSERT_TRUE(value.SetPlaintext(u"hunter2", u"p"));
  EXPECT_EQ(VUnicodeString(value), first);
  EXPECT_EQ(random->Requested(), 0u);  // nothing was encrypted
}

TEST_F(EncryptedString, ADifferentPlaintextOrPassphraseGetsNewPadding) {
  VEncryptedString value;
  ASSERT_TRUE(value.SetPlaintext(u"hunter2", u"p"));
  VUnicodeString first = value;
  ASSERT_TRUE(value.SetPlaintext(u"hunter3", u"p"));
  EXPECT_NE(VUnicodeString(value), first);
  VUnicodeString second = value;
  ASSERT_TRUE(value.SetPlaintext(u"hunter3", u"q"));  // same plaintext, other passphrase
  EXPECT_NE(VUnicodeString(value), second);
  VUnicodeString back;
  ASSERT_TRUE(value.GetPlaintext(u"q", back));
  EXPECT_EQ(back, u"hunter3");
  EXPECT_FALSE(value.GetPlaintext(u"p", back));
  // Two values of one plaintext differ.
  VEncryptedString a, b;
  ASSERT_TRUE(a.SetPlaintext(u"same", u"p"));
  ASSERT_TRUE(b.SetPlaintext(u"same", u"p"));
  EXPECT_NE(VUnicodeString(a), VUnicodeString(b));
}

TEST_F(EncryptedString, AFailedEncryptionLeavesTheStoredText) {
  VEncryptedString value;
  ASSERT_TRUE(value.SetPlaintext(u"old", u"p"));
  VUnicodeString before = value;
  const char16_t lone[] = {0xDBFF, 0};
  VReportMessageParams error;
  EXPECT_FALSE(value.SetPlaintext(lone, u"p", error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kUnpairedSurrogate);
  EXPECT_EQ(VUnicodeString(value), before);
}

TEST_F(EncryptedString, TheGivenRandomSourceMakesThePadding) {
  VEncryptedString value;
  auto* random = new CountingRandomSource();
  value.SetRandomSource(random);
  ASSERT_TRUE(value.SetPlaintext(u"", u"p"));
  EXPECT_EQ(random->Requested(), 12u);
  VEncryptedString copy = value;  // copies share the source
  EXPECT_EQ(copy.GetRandomSource(), random);
  random->Release();
}

TEST_F(EncryptedString, ProfileFunctionsUseTheConfigurationPassphrase) {
  SetConfigPassphrase(u"config pass");
  VEncryptedString value;
  ASSERT_TRUE(UpdateProfileEncryptedString(value, u"secret"));
  VUnicodeString back;
  ASSERT_TRUE(value.GetPlaintext(u"config pass", back));
  EXPECT_EQ(back, u"secret");
  EXPECT_EQ(GetProfileEncryptedPlaintextString(value), u"secret");
  SetConfigPassphrase(u"other");
  EXPECT_EQ(GetProfileEncryptedPlaintextString(value), u"");  // does not decrypt: empty
}

TEST_F(EncryptedString, ADisabledPassphraseRefusesToSaveAndReadsEmpty) {
  SetConfigPassphrase(u"p");
  VEncryptedString value;
  ASSERT_TRUE(UpdateProfileEncryptedString(value, u"secret"));
  VUnicodeString before = value;
  SetConfigPassphraseDisabled(true);
  EXPECT_TRUE(IsConfigPassphraseDisabled());
  EXPECT_FALSE(UpdateProfileEncryptedString(value, u"new secret"));
  EXPECT_EQ(VUnicodeString(value), before);
  EXPECT_EQ(GetProfileEncryptedPlaintextString(value), u"");
  SetConfigPassphraseDisabled(false);
  EXPECT_EQ(GetProfileEncryptedPlaintextString(value), u"secret");
}

TEST_F(EncryptedString, ThePassphraseHolderGivesSensitiveCopies) {
  EXPECT_EQ(GetConfigPassphrase(), u"");
  SetConfigPassphrase(u"held");
  VUnicodeString copy = GetConfigPassphrase();
  EXPECT_EQ(copy, u"held");
  EXPECT_TRUE(copy.IsSensitive());
  SetConfigPassphrase(nullptr);
  EXPECT_EQ(GetConfigPassphrase(), u"");
}

}  // namespace
