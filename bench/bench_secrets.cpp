// The current stored form of secrets: encrypting and decrypting passwords of typical lengths,
// beside the SHA-256 and AES work alone, to show what the codec adds (hexadecimal, UTF-8,
// buffers, random padding) on top of the cryptography.
#include <benchmark/benchmark.h>

#include <crypto++/aes.h>
#include <crypto++/modes.h>
#include <crypto++/sha.h>

#include <string>
#include <vector>

#include "crypto/v2_codec.h"

namespace {

const VUnicodeString kPassphrase = u"a configuration passphrase";

VUnicodeString Secret(int64_t characters) {
  std::u16string text;
  for (int64_t i = 0; i < characters; ++i) text.push_back(static_cast<char16_t>(u'a' + i % 26));
  return VUnicodeString(text);
}

void BM_V2Encrypt(benchmark::State& state) {
  VUnicodeString plaintext = Secret(state.range(0));
  VUnicodeString text;
  VReportMessageParams error;
  for (auto _ : state) {
    CryptUtils::EncryptV2String(plaintext, kPassphrase, nullptr, text, error);
    benchmark::DoNotOptimize(text.data());
  }
}

void BM_V2Decrypt(benchmark::State& state) {
  VUnicodeString text;
  VReportMessageParams error;
  CryptUtils::EncryptV2String(Secret(state.range(0)), kPassphrase, nullptr, text, error);
  VUnicodeString plaintext;
  for (auto _ : state) {
    if (!CryptUtils::DecryptV2String(text, kPassphrase, plaintext, error)) state.SkipWithError("failed");
    benchmark::DoNotOptimize(plaintext.data());
  }
}

// What an encryption must do whatever the wrapping: the key (SHA-256 of the passphrase), the
// digest of the plaintext, and AES-256-CBC over the whole clear buffer.
void BM_Sha256AndAesAlone(benchmark::State& state) {
  const size_t length = static_cast<size_t>(state.range(0));
  const size_t padding = CryptUtils::V2PaddingLength(length, 16);
  std::string passphrase = kPassphrase.ToUtf8();
  std::vector<uint8_t> clear(length + 36 + padding, 0x41);
  uint8_t key[32];
  const uint8_t iv[16] = {};
  for (auto _ : state) {
    CryptoPP::SHA256().CalculateDigest(key, reinterpret_cast<const uint8_t*>(passphrase.data()),
                                       passphrase.size());
    CryptoPP::SHA256().CalculateDigest(clear.data() + 4 + length, clear.data() + 4, length);
    CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption aes(key, sizeof key, iv);
    aes.ProcessData(clear.data(), clear.data(), clear.size());
    benchmark::DoNotOptimize(clear.data());
  }
}

// The same for a decryption: the key, AES-256-CBC decryption, and the digest check.
void BM_Sha256AndAesDecryptAlone(benchmark::State& state) {
  const size_t length = static_cast<size_t>(state.range(0));
  const size_t padding = CryptUtils::V2PaddingLength(length, 16);
  std::string passphrase = kPassphrase.ToUtf8();
  std::vector<uint8_t> cipher(length + 36 + padding, 0x41);
  std::vector<uint8_t> clear(cipher.size());
  uint8_t key[32];
  uint8_t digest[32];
  const uint8_t iv[16] = {};
  for (auto _ : state) {
    CryptoPP::SHA256().CalculateDigest(key, reinterpret_cast<const uint8_t*>(passphrase.data()),
                                       passphrase.size());
    CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption aes(key, sizeof key, iv);
    aes.ProcessData(clear.data(), cipher.data(), cipher.size());
    CryptoPP::SHA256().CalculateDigest(digest, clear.data() + 4, length);
    benchmark::DoNotOptimize(digest);
  }
}

BENCHMARK(BM_V2Encrypt)->Arg(8)->Arg(16)->Arg(32)->Arg(64);
BENCHMARK(BM_V2Decrypt)->Arg(8)->Arg(16)->Arg(32)->Arg(64);
BENCHMARK(BM_Sha256AndAesAlone)->Arg(8)->Arg(16)->Arg(32)->Arg(64);
BENCHMARK(BM_Sha256AndAesDecryptAlone)->Arg(8)->Arg(16)->Arg(32)->Arg(64);

}  // namespace
