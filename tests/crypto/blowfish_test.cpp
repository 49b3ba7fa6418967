// Our Blowfish against the cipher's published test vectors and against a second implementation
// (the one of the cryptography library, used here as an oracle only), in both word orders, with
// and without chaining; and the legacy text form built on it.
#include <gtest/gtest.h>

#include <crypto++/blowfish.h>
#include <crypto++/modes.h>

#include <random>
#include <string>
#include <vector>

#include "crypto/blowfish_string.h"
#include "crypto/cipher_blowfish.h"
#include "crypto/crypto_messages.h"
#include "crypto_test_helpers.h"

namespace {

using crypto_test::FromHex;
using crypto_test::ToHex;

std::string EcbEncrypt(const std::string& keyHex, const std::string& clearHex) {
  std::vector<uint8_t> key = FromHex(keyHex);
  std::vector<uint8_t> data = FromHex(clearHex);
  VCipherBlowfish cipher;
  cipher.SetCbc(false);
  cipher.SetKeyLength(key.size());
  EXPECT_TRUE(cipher.SetKey(key.data()));
  EXPECT_TRUE(cipher.Encrypt(data.data(), data.size()));
  std::string out = ToHex(data);
  EXPECT_TRUE(cipher.Decrypt(data.data(), data.size()));
  EXPECT_EQ(data, FromHex(clearHex));
  for (auto& c : out) c = static_cast<char>(toupper(c));
  return out;
}

TEST(BlowfishVectors, PublishedVariableKeyEcbVectors) {
  struct Row {
    const char* key;
    const char* clear;
    const char* cipher;
  } rows[] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
      {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
      {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
      {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
  };
  for (const Row& row : rows) EXPECT_EQ(EcbEncrypt(row.key, row.clear), row.cipher) << row.key;
}

TEST(BlowfishVectors, PublishedKeyLengthVectors) {
  // Prefixes of one 24-byte key, from 1 byte up, encrypting FEDCBA9876543210.
  const std::string key = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
  const char* expected[] = {
      "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05",
      "B39E44481BDB1E6E", "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82",
      "15750E7A4F4EC577", "122BA70B3AB64AE0", "3A833C9AFFC537F6", "9409DA87A90F6BF2",
      "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F", "93142887EE3BE15C",
      "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
      "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080",
  };
  for (size_t length = 1; length <= 24; ++length)
    EXPECT_EQ(EcbEncrypt(key.substr(0, 2 * length), "FEDCBA9876543210"), expected[length - 1])
        << length << " key bytes";
}

TEST(BlowfishVectors, PublishedCbcVector) {
  std::vector<uint8_t> key = FromHex("0123456789ABCDEFF0E1D2C3B4A59687");
  std::vector<uint8_t> iv = FromHex("FEDCBA9876543210");
  std::string text = "7654321 Now is the time for ";
  std::vector<uint8_t> data(text.begin(), text.end());
  data.resize(32, 0);  // the terminator and zero fill
  VCipherBlowfish cipher;
  cipher.SetKey(key.data());
  cipher.SetIv(iv.data());
  ASSERT_TRUE(cipher.Encrypt(data.data(), data.size()));
  EXPECT_EQ(ToHex(data), "6b77b4d63006dee605b156e27403979358deb9e7154616d959f1652bd5ff92cc");
  ASSERT_TRUE(cipher.Decrypt(data.data(), data.size()));
  EXPECT_EQ(std::string(data.begin(), data.begin() + 28), text);
}

// Reorders each 4-byte group, turning little-endian words into the cipher's big-endian ones.
void SwapWords(std::vector<uint8_t>& data) {
  for (size_t i = 0; i + 3 < data.size(); i += 4) {
    std::swap(data[i], data[i + 3]);
    std::swap(data[i + 1], data[i + 2]);
  }
}

std::vector<uint8_t> Oracle(bool encrypt, bool cbc, bool little, const std::vector<uint8_t>& key,
                            const std::vector<uint8_t>& iv, std::vector<uint8_t> data) {
  // Chaining XORs bytes, so swapping words before and after leaves it intact.
  std::vector<uint8_t> ivCopy = iv;
  if (little) {
    SwapWords(data);
    SwapWords(ivCopy);
  }
  if (cbc && encrypt) {
    CryptoPP::CBC_Mode<CryptoPP::Blowfish>::Encryption e(key.data(), key.size(), ivCopy.data());
    e.ProcessData(data.data(), data.data(), data.size());
  } else if (cbc) {
    CryptoPP::CBC_Mode<CryptoPP::Blowfish>::Decryption d(key.data(), key.size(), ivCopy.data());
    d.ProcessData(data.data(), data.data(), data.size());
  } else if (encrypt) {
    CryptoPP::ECB_Mode<CryptoPP::Blowfish>::Encryption e(key.data(), key.size());
    e.ProcessData(data.data(), data.data(), data.size());
  } else {
    CryptoPP::ECB_Mode<CryptoPP::Blowfish>::Decryption d(key.data(), key.size());
    d.ProcessData(data.data(), data.data(), data.size());
  }
  if (little) SwapWords(data);
  return data;
}

TEST(BlowfishOracle, AgreesInEveryModeWordOrderAndKeyLength) {
  std::mt19937 generator(20240611);
  auto bytes = [&](size_t n) {
    std::vector<uint8_t> out(n);
    for (auto& b : out) b = static_cast<uint8_t>(generator());
    return out;
  };
  int compared = 0;
  for (bool cbc : {false, true}) {
    for (bool little : {false, true}) {
      for (size_t keyLength : {4u, 8u, 16u, 20u, 32u, 56u}) {
        for (size_t blocks : {1u, 2u, 7u, 64u}) {
          std::vector<uint8_t> key = bytes(keyLength);
          std::vector<uint8_t> iv = bytes(8);
          std::vector<uint8_t> clear = bytes(8 * blocks);
          VCipherBlowfish cipher;
          cipher.SetCbc(cbc);
          cipher.SetLittleEndianWords(little);
          cipher.SetKeyLength(keyLength);
          cipher.SetIv(iv.data());
          ASSERT_TRUE(cipher.SetKey(key.data()));
          std::vector<uint8_t> ours = clear;
          ASSERT_TRUE(cipher.Encrypt(ours.data(), ours.size()));
          EXPECT_EQ(ours, Oracle(true, cbc, little, key, iv, clear))
              << "cbc " << cbc << " little " << little << " key " << keyLength;
          std::vector<uint8_t> theirs = Oracle(true, cbc, little, key, iv, clear);
          ASSERT_TRUE(cipher.Decrypt(theirs.data(), theirs.size()));
          EXPECT_EQ(theirs, clear);
          ++compared;
        }
      }
    }
  }
  EXPECT_EQ(compared, 96);
}

TEST(BlowfishCipher, RefusesBadKeyLengthsAndPartialBlocks) {
  VCipherBlowfish cipher;
  uint8_t key[64] = {};
  uint8_t data[16] = {};
  EXPECT_EQ(cipher.GetKeyLength(), 16u);
  EXPECT_TRUE(cipher.IsCbc());
  EXPECT_FALSE(cipher.IsLittleEndianWords());
  EXPECT_FALSE(cipher.Encrypt(data, 8));  // no key yet
  cipher.SetKeyLength(0);
  EXPECT_FALSE(cipher.SetKey(key));
  cipher.SetKeyLength(57);
  EXPECT_FALSE(cipher.SetKey(key));
  cipher.SetKeyLength(56);
  EXPECT_TRUE(cipher.SetKey(key));
  EXPECT_FALSE(cipher.Encrypt(data, 12));
  EXPECT_FALSE(cipher.Decrypt(data, 7));
  EXPECT_TRUE(cipher.Encrypt(data, 0));
}

// ---- the legacy text form ----

bool Decode(const VUnicodeString& text, int mode, VUnicodeString& plaintext, uint32_t* id = nullptr) {
  VReportMessageParams error;
  bool done = VBlowfishString(text, mode).GetPlaintext(plaintext, error);
  if (id) *id = error.GetMessageId();
  return done;
}

VUnicodeString Encode(const VUnicodeString& plaintext, VBlowfishString::Kind kind, int mode) {
  VUnicodeString text;
  VReportMessageParams error;
  EXPECT_TRUE(VBlowfishString::Encode(plaintext, kind, mode, text, error));
  return text;
}

TEST(BlowfishString, EveryKindAndModeComesBack) {
  const VUnicodeString plaintexts[] = {u"", u"a", u"pass", u"seven77", u"password",
                                       U8("Grüße, 密码 😀"), VUnicodeString(std::u16string(300, u'k'))};
  for (int mode = 0; mode <= 2; ++mode) {
    for (auto kind : {VBlowfishString::Kind::Narrow, VBlowfishString::Kind::Wide,
                      VBlowfishString::Kind::WideSparse}) {
      for (const auto& plaintext : plaintexts) {
        VUnicodeString text = Encode(plaintext, kind, mode);
        VUnicodeString back;
        ASSERT_TRUE(Decode(text, mode, back)) << text.ToUtf8();
        EXPECT_EQ(back, plaintext) << "mode " << mode << " kind " << static_cast<int>(kind);
        EXPECT_TRUE(back.IsSensitive());
      }
    }
  }
}

TEST(BlowfishString, MarkersAndSizesFollowTheKind) {
  VUnicodeString wide = Encode(u"abc", VBlowfishString::Kind::Wide, 0);
  EXPECT_EQ(wide[0], u'u');
  EXPECT_EQ(wide.size(), 1u + 2 * (8 + 8));  // 8 bytes of UTF-16 with terminator, 8 of filler
  VUnicodeString sparse = Encode(u"abc", VBlowfishString::Kind::WideSparse, 0);
  EXPECT_EQ(sparse[0], u'l');
  EXPECT_EQ(sparse.size(), 1u + 2 * (16 + 8));
  VUnicodeString narrow = Encode(u"abc", VBlowfishString::Kind::Narrow, 0);
  EXPECT_EQ(narrow.size(), 2u * (8 + 8));
  EXPECT_EQ(narrow.find_first_not_of(u"0123456789abcdef"), std::u16string::npos);
}

TEST(BlowfishString, TheModeMustMatch) {
  VUnicodeString text = Encode(u"secret words", VBlowfishString::Kind::Wide, 0);
  VUnicodeString back;
  // Nothing in this form detects a wrong mode: it decodes to something else.
  Decode(text, 1, back);
  EXPECT_NE(back, u"secret words");
  Decode(text, 2, back);
  EXPECT_NE(back, u"secret words");
  uint32_t id = 0;
  EXPECT_FALSE(Decode(text, 3, back, &id));
  EXPECT_EQ(id, crypto_messages::kBlowfishMode);
  EXPECT_TRUE(back.empty());
}

TEST(BlowfishString, MalformedTextsDecodeToEmpty) {
  // Twelve digits are too few for a block, whatever the marker.
  for (const char16_t* text : {u"0123456789ab", u"u0123456789ab", u"l0123456789AB"}) {
    VUnicodeString back = u"left over";
    uint32_t id = 0;
    EXPECT_FALSE(Decode(text, 0, back, &id)) << VUnicodeString(text).ToUtf8();
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(id, crypto_messages::kBlowfishForm);
  }
  VUnicodeString good = Encode(u"pw", VBlowfishString::Kind::Narrow, 0);
  const VUnicodeString bad[] = {
      VUnicodeString(good.substr(1)),                     // odd digit count
      VUnicodeString(good.substr(0, 14)),                 // 7 bytes
      VUnicodeString(good.substr(0, 30) + u"xy"),         // not hexadecimal
      VUnicodeString(good + u"00"),                       // 17 bytes
      u"u", u"l",                                         // a marker and nothing
      VUnicodeString(u"U" + good),                        // the markers are lower-case only
  };
  for (const auto& text : bad) {
    VUnicodeString back = u"left over";
    EXPECT_FALSE(Decode(text, 0, back)) << text.ToUtf8();
    EXPECT_TRUE(back.empty());
  }
  // The empty text, and eight bytes that hold only the filler, are the empty plaintext.
  for (const char16_t* text : {u"", u"0011223344556677"}) {
    VUnicodeString back = u"left over";
    EXPECT_TRUE(Decode(text, 0, back));
    EXPECT_TRUE(back.empty());
  }
}

TEST(BlowfishString, NarrowEncodingRefusesUnpairedSurrogates) {
  const char16_t lone[] = {u'a', 0xD800, 0};
  VUnicodeString text = u"kept";
  VReportMessageParams error;
  EXPECT_FALSE(VBlowfishString::Encode(lone, VBlowfishString::Kind::Narrow, 0, text, error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kUnpairedSurrogate);
  EXPECT_EQ(text, u"kept");
}

}  // namespace
