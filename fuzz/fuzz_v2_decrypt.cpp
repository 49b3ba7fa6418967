// Encrypted values come from configuration files that anyone may have edited. The decryptor must
// take any text; a value this program wrote must come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "crypto/cipher.h"
#include "crypto/clear_buffer.h"
#include "crypto/hex_text.h"
#include "crypto/v2_codec.h"

namespace {

constexpr char16_t kPassphrase[] = u"fuzz";

// Wraps arbitrary clear bytes (padded to whole blocks) in a correctly encrypted text, so that the
// checks after decryption (length field, digest) see attacker-chosen clear data too.
VUnicodeString EncryptClear(const uint8_t* data, size_t size) {
  VReportMessageParams error;
  auto cipher = CryptUtils::Cipher::Create(CryptUtils::kV2CipherName, error);
  VClearBuffer key(cipher->KeySize());
  if (!CryptUtils::DeriveKey(kPassphrase, key.data(), key.size(), error)) abort();
  size_t length = (size + 15) / 16 * 16;
  VClearBuffer clear(length);
  if (size) std::copy(data, data + size, clear.data());
  VClearBuffer iv(16);
  cipher->InitEncrypt(iv.data(), key.data());
  cipher->Process(clear.data(), clear.size());
  std::u16string text = u"02:";
  vhex::Append(text, clear.data(), clear.size());
  return VUnicodeString(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Stored secrets are short; larger inputs only slow the search down.
  if (size == 0 || size > 4096) return 0;
  const uint8_t selector = data[0];
  ++data;
  --size;
  VReportMessageParams error;
  VUnicodeString plaintext;
  switch (selector % 3) {
    case 0: {  // any text
      VUnicodeString text = VUnicodeString::FromUtf8(
          std::string_view(reinterpret_cast<const char*>(data), size));
      CryptUtils::DecryptV2String(text, kPassphrase, plaintext, error);
      break;
    }
    case 1: {  // any clear buffer, properly encrypted
      VClearBuffer bytes;
      CryptUtils::DecryptV2(EncryptClear(data, size), kPassphrase, bytes, error);
      if (bytes.size() > size) abort();
      break;
    }
    case 2: {  // round trip of any plaintext
      VUnicodeString input = VUnicodeString::FromUtf8(
          std::string_view(reinterpret_cast<const char*>(data), size));
      VUnicodeString text;
      if (!CryptUtils::EncryptV2String(input, kPassphrase, nullptr, text, error)) abort();
      if (!CryptUtils::DecryptV2String(text, kPassphrase, plaintext, error)) abort();
      if (plaintext != input) abort();
      break;
    }
  }
  return 0;
}
