#include "crypto/encoded_form.h"

#include "crypto/clear_buffer.h"
#include "crypto/crypto_messages.h"
#include "crypto/hex_text.h"
#include "crypto/random_source.h"

namespace {
constexpr size_t kMaskBytes = 4;
}

bool EncodeScrambledHex(std::u16string_view plaintext, VUnicodeString& text,
                        VReportMessageParams& error, IRandomSource* random) {
  if (!random) random = VGetProcessRandomSource();
  uint8_t mask[kMaskBytes];
  if (!random->GenerateBlock(mask, kMaskBytes)) {
    VReportRandomFailure(random, error);
    return false;
  }
  VClearBuffer bytes(2 * plaintext.size());
  for (size_t i = 0; i < plaintext.size(); ++i) {
    bytes.data()[2 * i] = static_cast<uint8_t>(plaintext[i]);
    bytes.data()[2 * i + 1] = static_cast<uint8_t>(plaintext[i] >> 8);
  }
  for (size_t i = 0; i < bytes.size(); ++i) bytes.data()[i] ^= mask[i % kMaskBytes];
  std::u16string out;
  vhex::Append(out, mask, kMaskBytes);
  vhex::Append(out, bytes.data(), bytes.size());
  text = std::move(out);
  return true;
}

bool DecodeScrambledHex(std::u16string_view text, VUnicodeString& plaintext,
                        VReportMessageParams& error) {
  plaintext.SetSensitive(true);
  plaintext.Wipe();
  if (text.empty()) return true;
  VClearBuffer bytes;
  // Every byte of the plaintext is half of a UTF-16 unit, so an odd count can only be damage.
  if (text.size() < 2 * kMaskBytes || !vhex::Decode(text, bytes) ||
      (bytes.size() - kMaskBytes) % 2 != 0) {
    error.Reset(crypto_messages::kEncodedForm);
    return false;
  }
  const uint8_t* mask = bytes.data();
  const uint8_t* data = bytes.data() + kMaskBytes;
  const size_t length = bytes.size() - kMaskBytes;
  VUnicodeString result;
  result.SetSensitive(true);
  result.reserve(length / 2);
  for (size_t i = 0; i + 1 < length; i += 2) {
    uint8_t low = data[i] ^ mask[i % kMaskBytes];
    uint8_t high = data[i + 1] ^ mask[(i + 1) % kMaskBytes];
    char16_t c = static_cast<char16_t>(low | high << 8);
    if (c == 0) break;
    result.push_back(c);
  }
  plaintext = std::move(result);
  return true;
}
