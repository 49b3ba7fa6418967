// The current stored form of a secret: "02:" and the lower-case hexadecimal of an AES-CBC
// encryption, under a key derived from the configuration passphrase, of
//   length (32-bit little-endian) | plaintext | SHA-256 of the plaintext | random padding.
// The digest makes a wrong passphrase fail instead of yielding garbage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class IRandomSource;
class VClearBuffer;

namespace CryptUtils {

// The cipher of every value written now; decryption always uses it.
constexpr std::string_view kV2CipherName = "aes256-cbc";
constexpr std::u16string_view kV2Prefix = u"02:";
constexpr size_t kV2Overhead = 4 + 32;  // length field and digest

// Fills `keySize` bytes from the passphrase (as UTF-8): its SHA-256, then, while room is left,
// the SHA-256 of the bytes gathered so far. A 32-byte key is exactly the passphrase's SHA-256.
// Fails when the passphrase holds an unpaired surrogate.
bool DeriveKey(std::u16string_view passphrase, uint8_t* key, size_t keySize,
               VReportMessageParams& error);

// The padding that makes the clear buffer whole blocks and leaves at least half a block of
// random bytes: between 8 and 23 for 16-byte blocks.
size_t V2PaddingLength(size_t plaintextLength, size_t blockSize);

// Encrypts `length` bytes with the named cipher; `random` null means the process source.
// `text` is set only on success.
bool EncryptV2(const uint8_t* data, size_t length, std::string_view cipherName,
               std::u16string_view passphrase, IRandomSource* random, VUnicodeString& text,
               VReportMessageParams& error);
// Decrypts a stored text into its plaintext bytes. An empty text is the empty plaintext.
bool DecryptV2(std::u16string_view text, std::u16string_view passphrase, VClearBuffer& plaintext,
               VReportMessageParams& error);

// The same for UTF-16 plaintexts, kept as UTF-8 inside the encryption. The decrypted plaintext
// is marked sensitive.
bool EncryptV2String(std::u16string_view plaintext, std::u16string_view passphrase,
                     IRandomSource* random, VUnicodeString& text, VReportMessageParams& error);
bool DecryptV2String(std::u16string_view text, std::u16string_view passphrase,
                     VUnicodeString& plaintext, VReportMessageParams& error);

}  // namespace CryptUtils
