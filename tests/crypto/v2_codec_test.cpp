// The current stored form: its exact layout and sizes, the key derivation, and every way a text
// can fail to decrypt.
#include <gtest/gtest.h>

#include <crypto++/aes.h>
#include <crypto++/modes.h>
#include <crypto++/sha.h>

#include <string>
#include <vector>

#include "crypto/clear_buffer.h"
#include "crypto/crypto_messages.h"
#include "crypto/v2_codec.h"
#include "crypto_test_helpers.h"

namespace {

using crypto_test::CountingRandomSource;
using crypto_test::FromHex;
using crypto_test::ToHex;

std::vector<uint8_t> Sha256(const std::string& bytes) {
  std::vector<uint8_t> digest(32);
  CryptoPP::SHA256().CalculateDigest(digest.data(), reinterpret_cast<const uint8_t*>(bytes.data()),
                                     bytes.size());
  return digest;
}

// Decrypts the hexadecimal after "02:" with the plain library, to look at the clear layout.
std::vector<uint8_t> ClearLayout(const VUnicodeString& text, const std::string& passphraseUtf8) {
  std::vector<uint8_t> data = FromHex(VUnicodeString(text.substr(3)).ToUtf8());
  std::vector<uint8_t> key = Sha256(passphraseUtf8);
  std::vector<uint8_t> iv(16, 0);
  CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption aes(key.data(), key.size(), iv.data());
  aes.ProcessData(data.data(), data.data(), data.size());
  return data;
}

// Encrypts a hand-made clear buffer the way the codec would, to build damaged values.
VUnicodeString EncryptRaw(std::vector<uint8_t> clear, const std::string& passphraseUtf8) {
  std::vector<uint8_t> key = Sha256(passphraseUtf8);
  std::vector<uint8_t> iv(16, 0);
  CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption aes(key.data(), key.size(), iv.data());
  aes.ProcessData(clear.data(), clear.data(), clear.size());
  return U8("02:" + ToHex(clear));
}

VUnicodeString Encrypt(const VUnicodeString& plaintext, const VUnicodeString& passphrase,
                       IRandomSource* random = nullptr) {
  VUnicodeString text;
  VReportMessageParams error;
  EXPECT_TRUE(CryptUtils::EncryptV2String(plaintext, passphrase, random, text, error));
  return text;
}

bool Decrypt(const VUnicodeString& text, const VUnicodeString& passphrase, VUnicodeString& plaintext,
             uint32_t* id = nullptr) {
  VReportMessageParams error;
  bool done = CryptUtils::DecryptV2String(text, passphrase, plaintext, error);
  if (id) *id = error.GetMessageId();
  return done;
}

// The empty plaintext gives 48 bytes of ciphertext, twelve characters give 64.
TEST(V2Sizes, PaddingKeepsHalfABlockOfRandomBytes) {
  EXPECT_EQ(CryptUtils::V2PaddingLength(0, 16), 12u);
  EXPECT_EQ(CryptUtils::V2PaddingLength(12, 16), 16u);
  EXPECT_EQ(CryptUtils::V2PaddingLength(4, 16), 8u);   // L + 36 = 40: 8 is enough
  EXPECT_EQ(CryptUtils::V2PaddingLength(5, 16), 23u);  // 7 would be too few
  for (size_t length = 0; length < 100; ++length) {
    size_t padding = CryptUtils::V2PaddingLength(length, 16);
    EXPECT_GE(padding, 8u);
    EXPECT_LE(padding, 23u);
    EXPECT_EQ((length + 36 + padding) % 16, 0u);
    VUnicodeString text = Encrypt(VUnicodeString(std::u16string(length, u'x')), u"p");
    EXPECT_EQ(text.substr(0, 3), u"02:");
    EXPECT_EQ(text.size(), 3 + 2 * (length + 36 + padding)) << length;
  }
}

TEST(V2Layout, LengthPlaintextDigestAndRandomPaddingUnderSha256OfThePassphrase) {
  CountingRandomSource random(0xA0);
  VUnicodeString text = Encrypt(U8("Grüße"), U8("clé"), &random);
  EXPECT_EQ(text.find_first_not_of(u"0123456789abcdef", 3), std::u16string::npos);  // lower case
  std::vector<uint8_t> clear = ClearLayout(text, "clé");
  const std::string utf8 = "Grüße";  // 7 bytes
  ASSERT_EQ(clear.size(), 7u + 36 + 21);
  EXPECT_EQ(ToHex(clear.data(), 4), "07000000");
  EXPECT_EQ(std::string(clear.begin() + 4, clear.begin() + 11), utf8);
  EXPECT_EQ(std::vector<uint8_t>(clear.begin() + 11, clear.begin() + 43), Sha256(utf8));
  for (size_t i = 0; i < 21; ++i) EXPECT_EQ(clear[43 + i], 0xA0 + i);
  EXPECT_EQ(random.Requested(), 21u);
}

TEST(V2KeyDerivation, KeysAreTheSha256OfTheUtf8PassphraseAndItsPrefixes) {
  VReportMessageParams error;
  uint8_t key[32];
  ASSERT_TRUE(CryptUtils::DeriveKey(U8("pässword"), key, 32, error));
  EXPECT_EQ(std::vector<uint8_t>(key, key + 32), Sha256("pässword"));
  ASSERT_TRUE(CryptUtils::DeriveKey(u"", key, 32, error));
  EXPECT_EQ(ToHex(key, 32), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  uint8_t shorter[24];
  ASSERT_TRUE(CryptUtils::DeriveKey(u"x", shorter, 24, error));
  std::vector<uint8_t> digest = Sha256("x");
  EXPECT_EQ(std::vector<uint8_t>(shorter, shorter + 24),
            std::vector<uint8_t>(digest.begin(), digest.begin() + 24));
  // Longer than one digest: the digest of what was gathered so far follows.
  uint8_t longer[48];
  ASSERT_TRUE(CryptUtils::DeriveKey(u"x", longer, 48, error));
  std::vector<uint8_t> first = Sha256("x");
  std::vector<uint8_t> second = Sha256(std::string(first.begin(), first.end()));
  EXPECT_EQ(std::vector<uint8_t>(longer, longer + 32), first);
  EXPECT_EQ(std::vector<uint8_t>(longer + 32, longer + 48),
            std::vector<uint8_t>(second.begin(), second.begin() + 16));
}

TEST(V2RoundTrip, PlaintextsOfEveryKindComeBack) {
  std::vector<VUnicodeString> plaintexts = {
      u"", u"a", u"abcdefghijkl", U8("naïve café"), U8("密码"), U8("emoji 😀 here"),
      VUnicodeString(std::u16string(3000, u'z')),  // beyond the inline clear buffer
  };
  for (const auto& plaintext : plaintexts) {
    for (const VUnicodeString& passphrase : {VUnicodeString(u""), U8("secret phrase ✓")}) {
      VUnicodeString text = Encrypt(plaintext, passphrase);
      VUnicodeString back;
      ASSERT_TRUE(Decrypt(text, passphrase, back));
      EXPECT_EQ(back, plaintext);
      EXPECT_TRUE(back.IsSensitive());
    }
  }
  VUnicodeString back = u"left over";
  EXPECT_TRUE(Decrypt(u"", u"anything", back));  // the empty text is the empty plaintext
  EXPECT_TRUE(back.empty());
}

TEST(V2RoundTrip, TheOtherAesSizesEncryptToo) {
  for (const char* name : {"aes128-cbc", "aes192-cbc"}) {
    VUnicodeString text;
    VReportMessageParams error;
    const uint8_t data[] = {'h', 'i'};
    ASSERT_TRUE(CryptUtils::EncryptV2(data, 2, name, u"p", nullptr, text, error)) << name;
    EXPECT_EQ(text.size(), 3u + 96u);
  }
}

TEST(V2Decrypt, WrongPassphraseFailsAtTheDigestNeverWithGarbage) {
  for (int i = 0; i < 50; ++i) {
    VUnicodeString text = Encrypt(u"correct horse", u"right");
    VUnicodeString back = u"untouched";
    uint32_t id = 0;
    EXPECT_FALSE(Decrypt(text, u"wrong", back, &id));
    EXPECT_EQ(id, crypto_messages::kEncryptedTextNotDecrypted);
    EXPECT_TRUE(back.empty() || back == u"untouched");
  }
}

TEST(V2Decrypt, MalformedTextsFailWithTheirReason) {
  VUnicodeString good = Encrypt(u"pw", u"p");
  struct Row {
    VUnicodeString text;
    uint32_t id;
  } rows[] = {
      {VUnicodeString(good.substr(0, good.size() - 1)), crypto_messages::kEncryptedTextForm},  // odd
      {u"02:", crypto_messages::kEncryptedTextForm},
      {u"02", crypto_messages::kEncryptedTextForm},
      {VUnicodeString(u"03:" + good.substr(3)), crypto_messages::kEncryptedTextForm},
      {VUnicodeString(u"02;" + good.substr(3)), crypto_messages::kEncryptedTextForm},
      {VUnicodeString(good.substr(0, 10) + u"zz" + good.substr(12)), crypto_messages::kEncryptedTextForm},
      {VUnicodeString(good + u" "), crypto_messages::kEncryptedTextForm},
      {VUnicodeString(good.substr(0, 3 + 64)), crypto_messages::kEncryptedTextLength},   // 32 bytes
      {VUnicodeString(good.substr(0, 3 + 2 * 40)), crypto_messages::kEncryptedTextLength},  // 40
      {VUnicodeString(good.substr(0, 3 + 2 * 35)), crypto_messages::kEncryptedTextLength},
  };
  for (const Row& row : rows) {
    VUnicodeString back;
    uint32_t id = 0;
    EXPECT_FALSE(Decrypt(row.text, u"p", back, &id)) << row.text.ToUtf8();
    EXPECT_EQ(id, row.id) << row.text.ToUtf8();
  }
  // A block cut from the end leaves whole blocks but breaks the value.
  VUnicodeString back;
  uint32_t id = 0;
  EXPECT_FALSE(Decrypt(VUnicodeString(good.substr(0, good.size() - 32)), u"p", back, &id));
}

TEST(V2Decrypt, UpperCaseDigitsAreAccepted) {
  VUnicodeString text = Encrypt(u"Mixed", u"p");
  std::u16string upper = text;
  for (auto& c : upper) {
    if (c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - 32);
  }
  VUnicodeString back;
  ASSERT_TRUE(Decrypt(VUnicodeString(upper), u"p", back));
  EXPECT_EQ(back, u"Mixed");
}

TEST(V2Decrypt, TheLengthFieldMayNotReachPastTheBuffer) {
  std::string plaintext = "abcd";
  std::vector<uint8_t> digest = Sha256(plaintext);
  auto build = [&](uint32_t length) {
    std::vector<uint8_t> clear(48, 0);
    for (int i = 0; i < 4; ++i) clear[static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));
    std::copy(plaintext.begin(), plaintext.end(), clear.begin() + 4);
    std::copy(digest.begin(), digest.end(), clear.begin() + 8);
    return EncryptRaw(clear, "p");
  };
  VUnicodeString back;
  EXPECT_TRUE(Decrypt(build(4), u"p", back));
  EXPECT_EQ(back, u"abcd");
  uint32_t id = 0;
  EXPECT_FALSE(Decrypt(build(13), u"p", back, &id));  // 48 - 36 = 12 is the most
  EXPECT_EQ(id, crypto_messages::kEncryptedTextNotDecrypted);
  EXPECT_FALSE(Decrypt(build(0xFFFFFFFF), u"p", back, &id));
  EXPECT_EQ(id, crypto_messages::kEncryptedTextNotDecrypted);
}

TEST(V2Decrypt, BytesThatAreNotUtf8FailAsAString) {
  const uint8_t bytes[] = {'a', 0xFF, 'b'};
  VUnicodeString text;
  VReportMessageParams error;
  ASSERT_TRUE(CryptUtils::EncryptV2(bytes, 3, CryptUtils::kV2CipherName, u"p", nullptr, text, error));
  VClearBuffer raw;
  ASSERT_TRUE(CryptUtils::DecryptV2(text, u"p", raw, error));
  EXPECT_EQ(ToHex(raw.data(), raw.size()), "61ff62");
  VUnicodeString back;
  uint32_t id = 0;
  EXPECT_FALSE(Decrypt(text, u"p", back, &id));
  EXPECT_EQ(id, crypto_messages::kDecryptedNotUtf8);
}

TEST(V2Surrogates, UnpairedSurrogatesFailInPlaintextAndPassphrase) {
  const char16_t lone[] = {u'a', 0xD800, u'b', 0};
  const char16_t trailing[] = {u'a', 0xDC00, 0};
  VUnicodeString text = u"kept";
  VReportMessageParams error;
  EXPECT_FALSE(CryptUtils::EncryptV2String(lone, u"p", nullptr, text, error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kUnpairedSurrogate);
  EXPECT_EQ(text, u"kept");
  EXPECT_FALSE(CryptUtils::EncryptV2String(u"x", trailing, nullptr, text, error));
  EXPECT_EQ(text, u"kept");
  VUnicodeString good = Encrypt(u"x", u"p");
  VUnicodeString back;
  uint32_t id = 0;
  EXPECT_FALSE(Decrypt(good, lone, back, &id));
  EXPECT_EQ(id, crypto_messages::kUnpairedSurrogate);
  // A proper pair is fine.
  const char16_t pair[] = {0xD83D, 0xDE00, 0};
  EXPECT_TRUE(Decrypt(Encrypt(pair, pair), pair, back));
  EXPECT_EQ(back, pair);
}

TEST(V2Encrypt, RandomFailureOrAnUnknownCipherFailsAndLeavesTheTextAlone) {
  CountingRandomSource random;
  random.SetFailing(true);
  VUnicodeString text = u"kept";
  VReportMessageParams error;
  EXPECT_FALSE(CryptUtils::EncryptV2String(u"x", u"p", &random, text, error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kRandomFailed);
  EXPECT_EQ(text, u"kept");
  const uint8_t data[] = {1};
  EXPECT_FALSE(CryptUtils::EncryptV2(data, 1, "blowfish", u"p", nullptr, text, error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kUnknownAlgorithm);
  EXPECT_EQ(text, u"kept");
}

}  // namespace
