#include "crypto/v2_codec.h"

#include <crypto++/misc.h>
#include <crypto++/sha.h>

#include <algorithm>
#include <limits>
#include <string>

#include "crypto/cipher.h"
#include "crypto/clear_buffer.h"
#include "crypto/crypto_messages.h"
#include "crypto/hex_text.h"
#include "crypto/random_source.h"
#include "platform/win32_errors.h"

namespace CryptUtils {
namespace {

constexpr size_t kDigestSize = CryptoPP::SHA256::DIGESTSIZE;

void Sha256(const uint8_t* data, size_t length, uint8_t* digest) {
  CryptoPP::SHA256 hash;
  hash.CalculateDigest(digest, data, length);
}

// UTF-8 of a secret, in a buffer wiped afterwards. Reserving the worst case first means the
// conversion never reallocates and leaves no partial copy behind.
bool SecretToUtf8(std::u16string_view text, std::string& utf8, VReportMessageParams& error) {
  utf8.reserve(3 * text.size() + 1);
  if (!vtext::Utf16ToUtf8Strict(text, utf8)) {
    VWipeString(utf8);
    error.Reset(crypto_messages::kUnpairedSurrogate);
    return false;
  }
  return true;
}

}  // namespace

bool DeriveKey(std::u16string_view passphrase, uint8_t* key, size_t keySize,
               VReportMessageParams& error) {
  std::string utf8;
  if (!SecretToUtf8(passphrase, utf8, error)) return false;
  uint8_t digest[kDigestSize];
  Sha256(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size(), digest);
  VWipeString(utf8);
  size_t filled = std::min(keySize, kDigestSize);
  std::copy_n(digest, filled, key);
  while (filled < keySize) {
    Sha256(key, filled, digest);
    size_t take = std::min(keySize - filled, kDigestSize);
    std::copy_n(digest, take, key + filled);
    filled += take;
  }
  explicit_bzero(digest, sizeof digest);
  return true;
}

size_t V2PaddingLength(size_t plaintextLength, size_t blockSize) {
  size_t padding = blockSize - (plaintextLength + kV2Overhead) % blockSize;
  if (padding < blockSize / 2) padding += blockSize;
  return padding;
}

bool EncryptV2(const uint8_t* data, size_t length, std::string_view cipherName,
               std::u16string_view passphrase, IRandomSource* random, VUnicodeString& text,
               VReportMessageParams& error) {
  // The length field has 32 bits.
  if (length > std::numeric_limits<uint32_t>::max() - 64) {
    error.SetError(win32::kInvalidParameter);
    return false;
  }
  std::unique_ptr<Cipher> cipher = Cipher::Create(cipherName, error);
  if (!cipher) return false;
  VClearBuffer key(cipher->KeySize());
  if (!DeriveKey(passphrase, key.data(), key.size(), error)) return false;
  if (!random) random = VGetProcessRandomSource();

  const size_t padding = V2PaddingLength(length, cipher->BlockSize());
  VClearBuffer clear(length + kV2Overhead + padding);
  uint8_t* p = clear.data();
  const uint32_t length32 = static_cast<uint32_t>(length);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(length32 >> (8 * i));
  if (length) std::copy_n(data, length, p + 4);
  Sha256(data, length, p + 4 + length);
  if (!random->GenerateBlock(p + kV2Overhead + length, padding)) {
    VReportRandomFailure(random, error);
    return false;
  }

  VClearBuffer iv(cipher->IvSize());  // all zeros: the random padding varies every encryption
  if (!cipher->InitEncrypt(iv.data(), key.data()) || !cipher->Process(p, clear.size())) {
    error.Assign(cipher->GetError());
    return false;
  }
  std::u16string out(kV2Prefix);
  vhex::Append(out, p, clear.size());
  text = std::move(out);
  return true;
}

bool DecryptV2(std::u16string_view text, std::u16string_view passphrase, VClearBuffer& plaintext,
               VReportMessageParams& error) {
  plaintext.Resize(0);
  if (text.empty()) return true;
  VClearBuffer buffer;
  if (text.size() < 4 || text.substr(0, kV2Prefix.size()) != kV2Prefix ||
      !vhex::Decode(text.substr(kV2Prefix.size()), buffer)) {
    error.Reset(crypto_messages::kEncryptedTextForm);
    return false;
  }
  std::unique_ptr<Cipher> cipher = Cipher::Create(kV2CipherName, error);
  if (!cipher) return false;
  if (buffer.size() < kV2Overhead || buffer.size() % cipher->BlockSize() != 0) {
    error.Reset(crypto_messages::kEncryptedTextLength);
    return false;
  }
  VClearBuffer key(cipher->KeySize());
  if (!DeriveKey(passphrase, key.data(), key.size(), error)) return false;
  VClearBuffer iv(cipher->IvSize());
  if (!cipher->InitDecrypt(iv.data(), key.data()) || !cipher->Process(buffer.data(), buffer.size())) {
    error.Assign(cipher->GetError());
    return false;
  }
  const uint8_t* p = buffer.data();
  uint32_t length = 0;
  for (int i = 0; i < 4; ++i) length |= static_cast<uint32_t>(p[i]) << (8 * i);
  uint8_t digest[kDigestSize];
  bool good = length <= buffer.size() - kV2Overhead;
  if (good) {
    Sha256(p + 4, length, digest);
    good = CryptoPP::VerifyBufsEqual(digest, p + 4 + length, kDigestSize);
  }
  explicit_bzero(digest, sizeof digest);
  if (!good) {
    error.Reset(crypto_messages::kEncryptedTextNotDecrypted);
    return false;
  }
  plaintext.Assign(p + 4, length);
  return true;
}

bool EncryptV2String(std::u16string_view plaintext, std::u16string_view passphrase,
                     IRandomSource* random, VUnicodeString& text, VReportMessageParams& error) {
  std::string utf8;
  if (!SecretToUtf8(plaintext, utf8, error)) return false;
  bool done = EncryptV2(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size(), kV2CipherName,
                        passphrase, random, text, error);
  VWipeString(utf8);
  return done;
}

bool DecryptV2String(std::u16string_view text, std::u16string_view passphrase,
                     VUnicodeString& plaintext, VReportMessageParams& error) {
  VClearBuffer bytes;
  if (!DecryptV2(text, passphrase, bytes, error)) return false;
  std::string_view utf8(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // The digest matched, so these are the bytes that were encrypted; a writer that did not
  // encode UTF-8 would otherwise hand back a silently altered secret.
  if (!vtext::IsValidUtf8(utf8)) {
    error.Reset(crypto_messages::kDecryptedNotUtf8);
    return false;
  }
  VUnicodeString result(vtext::FromUtf8(utf8));
  result.SetSensitive(true);
  plaintext.SetSensitive(true);
  plaintext = std::move(result);
  return true;
}

}  // namespace CryptUtils
