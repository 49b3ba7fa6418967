// The ciphers and hashes chosen by name: known answers, pieces fed at any size, unknown names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crypto/cipher.h"
#include "crypto/crypto_messages.h"
#include "crypto/hasher.h"
#include "crypto_test_helpers.h"

namespace {

using crypto_test::FromHex;
using crypto_test::ToHex;

std::vector<uint8_t> Sequence(size_t length, uint8_t start = 0) {
  std::vector<uint8_t> out(length);
  for (size_t i = 0; i < length; ++i) out[i] = static_cast<uint8_t>(start + i);
  return out;
}

TEST(CipherAndHasher, UnknownNamesFailWithAReportNamingThem) {
  VReportMessageParams error;
  EXPECT_FALSE(CryptUtils::Cipher::Create("aes256-gcm", error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kUnknownAlgorithm);
  EXPECT_EQ(error.GetTextTrimmed(), u"The algorithm 'aes256-gcm' is not supported.");
  VReportMessageParams again;
  EXPECT_FALSE(CryptUtils::Cipher::Create("AES256-CBC", again));  // names are exact
  EXPECT_FALSE(CryptUtils::Hasher::Create("sha3-256", error));
  EXPECT_EQ(error.GetTextTrimmed(), u"The algorithm 'sha3-256' is not supported.");
}

// The standard's own single-block examples; with a zero initial vector one CBC block is the
// plain block cipher.
TEST(Cipher, AesKnownAnswers) {
  struct Row {
    const char* name;
    size_t keySize;
    const char* expected;
  } rows[] = {
      {"aes128-cbc", 16, "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {"aes192-cbc", 24, "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {"aes256-cbc", 32, "8ea2b7ca516745bfeafc49904b496089"},
  };
  for (const Row& row : rows) {
    VReportMessageParams error;
    auto cipher = CryptUtils::Cipher::Create(row.name, error);
    ASSERT_TRUE(cipher) << row.name;
    EXPECT_EQ(cipher->KeySize(), row.keySize);
    EXPECT_EQ(cipher->BlockSize(), 16u);
    EXPECT_EQ(cipher->IvSize(), 16u);
    std::vector<uint8_t> key = Sequence(row.keySize);
    std::vector<uint8_t> iv(16, 0);
    std::vector<uint8_t> data = FromHex("00112233445566778899aabbccddeeff");
    ASSERT_TRUE(cipher->InitEncrypt(iv.data(), key.data()));
    ASSERT_TRUE(cipher->Process(data.data(), data.size()));
    EXPECT_EQ(ToHex(data), row.expected) << row.name;
    ASSERT_TRUE(cipher->InitDecrypt(iv.data(), key.data()));
    ASSERT_TRUE(cipher->Process(data.data(), data.size()));
    EXPECT_EQ(ToHex(data), "00112233445566778899aabbccddeeff");
  }
}

TEST(Cipher, PiecesOfAnySizeGiveTheSameResultAsTheWhole) {
  VReportMessageParams error;
  std::vector<uint8_t> key = Sequence(32, 1);
  std::vector<uint8_t> iv(16, 0);
  std::vector<uint8_t> clear = Sequence(160, 9);

  auto whole = CryptUtils::Cipher::Create("aes256-cbc", error);
  std::vector<uint8_t> expected = clear;
  whole->InitEncrypt(iv.data(), key.data());
  whole->Process(expected.data(), expected.size());

  for (size_t piece : {1u, 3u, 15u, 16u, 17u, 31u, 100u}) {
    auto cipher = CryptUtils::Cipher::Create("aes256-cbc", error);
    cipher->InitEncrypt(iv.data(), key.data());
    std::vector<uint8_t> out;
    std::vector<uint8_t> room(piece + 16);
    for (size_t at = 0; at < clear.size(); at += piece) {
      size_t length = std::min(piece, clear.size() - at);
      size_t written = cipher->Update(clear.data() + at, length, room.data());
      EXPECT_EQ(written % 16, 0u);
      out.insert(out.end(), room.begin(), room.begin() + static_cast<long>(written));
    }
    EXPECT_EQ(cipher->PendingBytes(), 0u) << piece;
    EXPECT_EQ(out, expected) << "pieces of " << piece;
  }
}

TEST(Cipher, BytesShortOfABlockWaitAndAreForgottenOnInit) {
  VReportMessageParams error;
  auto cipher = CryptUtils::Cipher::Create("aes128-cbc", error);
  std::vector<uint8_t> key(16, 3), iv(16, 0), room(64);
  std::vector<uint8_t> data = Sequence(10);
  cipher->InitEncrypt(iv.data(), key.data());
  EXPECT_EQ(cipher->Update(data.data(), data.size(), room.data()), 0u);
  EXPECT_EQ(cipher->PendingBytes(), 10u);
  cipher->InitEncrypt(iv.data(), key.data());
  EXPECT_EQ(cipher->PendingBytes(), 0u);
  // In place while nothing waits.
  std::vector<uint8_t> inPlace = Sequence(32);
  std::vector<uint8_t> copy = inPlace;
  EXPECT_EQ(cipher->Update(inPlace.data(), inPlace.size(), inPlace.data()), 32u);
  cipher->InitEncrypt(iv.data(), key.data());
  cipher->Process(copy.data(), copy.size());
  EXPECT_EQ(inPlace, copy);
}

TEST(Cipher, MisuseIsReportedNotCrashed) {
  VReportMessageParams error;
  auto cipher = CryptUtils::Cipher::Create("aes256-cbc", error);
  std::vector<uint8_t> data(16);
  EXPECT_FALSE(cipher->Process(data.data(), data.size()));  // no key yet
  EXPECT_TRUE(cipher->GetError().IsError());
  std::vector<uint8_t> key(32), iv(16);
  cipher->InitEncrypt(iv.data(), key.data());
  EXPECT_FALSE(cipher->Process(data.data(), 15));  // not a whole block
}

TEST(Hasher, KnownDigestsOfAbcByName) {
  struct Row {
    const char* name;
    const char* digest;
  } rows[] = {
      {"md5", "900150983cd24fb0d6963f7d28e17f72"},
      {"sha1", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"sha224", "23097d223405d8228642a477bda255b32aadbce4bda0b3f7e36c9da7"},
      {"sha256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"sha384",
       "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
      {"sha512",
       "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3fe"
       "ebbd454d4423643ce80e2a9ac94fa54ca49f"},
  };
  for (const Row& row : rows) {
    VReportMessageParams error;
    auto hasher = CryptUtils::Hasher::Create(row.name, error);
    ASSERT_TRUE(hasher) << row.name;
    hasher->Initialize();
    hasher->Update("a", 1);
    hasher->Update("bc", 2);  // pieces
    uint8_t digest[64];
    size_t size = hasher->Final(digest, sizeof digest);
    EXPECT_EQ(size, hasher->DigestSize());
    EXPECT_EQ(ToHex(digest, size), row.digest) << row.name;
  }
}

TEST(Hasher, FinalStartsAgainFromTheEmptyMessageAndASmallOutputKeepsTheState) {
  VReportMessageParams error;
  auto hasher = CryptUtils::Hasher::Create("sha256", error);
  uint8_t digest[32];
  hasher->Update("abc", 3);
  EXPECT_EQ(hasher->Final(digest, 31), 0u);
  ASSERT_EQ(hasher->Final(digest, sizeof digest), 32u);
  EXPECT_EQ(ToHex(digest, 32), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  ASSERT_EQ(hasher->Final(digest, sizeof digest), 32u);
  EXPECT_EQ(ToHex(digest, 32), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  hasher->Update("abc", 3);
  hasher->Initialize();  // forgets what was fed
  hasher->Final(digest, sizeof digest);
  EXPECT_EQ(ToHex(digest, 32), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
