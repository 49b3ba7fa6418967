#include "crypto/blowfish_string.h"

#include <string>

#include "crypto/cipher_blowfish.h"
#include "crypto/clear_buffer.h"
#include "crypto/crypto_messages.h"
#include "crypto/hex_text.h"
#include "crypto/random_source.h"

namespace {

constexpr size_t kFiller = 4;

// Fixed keys of this program's legacy form; only the first 16 bytes serve by default.
constexpr uint8_t kFirstKey[32] = {
    0x5a, 0x51, 0xf1, 0xd9, 0x7f, 0x85, 0x34, 0x50, 0xad, 0x9a, 0xa8, 0xec, 0xd9, 0x1e, 0xa9, 0xba,
    0x55, 0x9c, 0x29, 0x6d, 0xaf, 0xca, 0x31, 0x54, 0x8e, 0x18, 0x69, 0x44, 0x94, 0xda, 0x39, 0x36,
};
constexpr uint8_t kSecondKey[32] = {
    0xe6, 0xbc, 0xe8, 0xda, 0x98, 0x77, 0x65, 0xe1, 0xe3, 0x56, 0x51, 0x73, 0x38, 0xfa, 0x91, 0x33,
    0xd3, 0x53, 0x86, 0xd3, 0xfe, 0x23, 0x8f, 0x13, 0x8d, 0xd9, 0x47, 0x7a, 0x41, 0x3d, 0x39, 0x95,
};

bool Configure(VCipherBlowfish& cipher, const uint8_t* key, int mode) {
  switch (mode) {
    case 0:
      break;
    case 1:
      cipher.SetLittleEndianWords(true);
      cipher.SetCbc(false);
      cipher.SetKeyLength(32);
      break;
    case 2:
      cipher.SetLittleEndianWords(true);
      break;
    default:
      return false;
  }
  return cipher.SetKey(key);
}

bool ConfigureBoth(VCipherBlowfish& inner, VCipherBlowfish& outer, int mode,
                   VReportMessageParams& error) {
  if (Configure(inner, kFirstKey, mode) && Configure(outer, kSecondKey, mode)) return true;
  error.Reset(crypto_messages::kBlowfishMode);
  error.AddInsertFormatted(u"%1!d!", static_cast<uint32_t>(mode));
  return false;
}

char16_t Unit(const uint8_t* p) { return static_cast<char16_t>(p[0] | p[1] << 8); }

}  // namespace

bool VBlowfishString::GetPlaintext(VUnicodeString& plaintext, VReportMessageParams& error) const {
  return Decode(*this, mode_, plaintext, error);
}

bool VBlowfishString::Decode(std::u16string_view text, int mode, VUnicodeString& plaintext,
                             VReportMessageParams& error) {
  plaintext.SetSensitive(true);
  plaintext.Wipe();
  VCipherBlowfish inner;
  VCipherBlowfish outer;
  if (!ConfigureBoth(inner, outer, mode, error)) return false;
  if (text.empty()) return true;

  Kind kind = Kind::Narrow;
  if (text[0] == u'u') kind = Kind::Wide;
  else if (text[0] == u'l') kind = Kind::WideSparse;
  if (kind != Kind::Narrow) text.remove_prefix(1);

  VClearBuffer bytes;
  const size_t block = VCipherBlowfish::kBlockSize;
  if (!vhex::Decode(text, bytes) || bytes.size() < block || bytes.size() % block != 0) {
    error.Reset(crypto_messages::kBlowfishForm);
    return false;
  }
  outer.Decrypt(bytes.data(), bytes.size());
  uint8_t* payload = bytes.data() + kFiller;
  const size_t length = bytes.size() - 2 * kFiller;
  inner.Decrypt(payload, length);

  std::u16string out;
  out.reserve(length);  // no reallocation leaves a partial copy behind
  switch (kind) {
    case Kind::Wide:
      for (size_t i = 0; i + 1 < length; i += 2) {
        char16_t c = Unit(payload + i);
        if (c == 0) break;
        out.push_back(c);
      }
      break;
    case Kind::WideSparse:
      // One character per four bytes; the zero units between them carry nothing, and a zero
      // character is the end (the zero padding of an odd count would otherwise become one).
      for (size_t i = 0; i + 1 < length; i += 4) {
        char16_t c = Unit(payload + i);
        if (c == 0) break;
        out.push_back(c);
      }
      break;
    case Kind::Narrow: {
      size_t end = 0;
      while (end < length && payload[end] != 0) ++end;
      out = vtext::FromNarrow(std::string_view(reinterpret_cast<const char*>(payload), end));
      break;
    }
  }
  VUnicodeString result(std::move(out));
  result.SetSensitive(true);
  plaintext = std::move(result);
  return true;
}

bool VBlowfishString::Encode(std::u16string_view plaintext, Kind kind, int mode,
                             VUnicodeString& text, VReportMessageParams& error) {
  VCipherBlowfish inner;
  VCipherBlowfish outer;
  if (!ConfigureBoth(inner, outer, mode, error)) return false;
  const size_t block = VCipherBlowfish::kBlockSize;

  // The payload with its terminator, in zeroed whole blocks.
  size_t used = 0;
  std::string utf8;
  switch (kind) {
    case Kind::Wide: used = 2 * (plaintext.size() + 1); break;
    case Kind::WideSparse: used = 4 * plaintext.size(); break;
    case Kind::Narrow:
      utf8.reserve(3 * plaintext.size() + 1);
      if (!vtext::Utf16ToUtf8Strict(plaintext, utf8)) {
        VWipeString(utf8);
        error.Reset(crypto_messages::kUnpairedSurrogate);
        return false;
      }
      used = utf8.size() + 1;
      break;
  }
  size_t payloadLength = (used + block - 1) / block * block;
  if (payloadLength == 0) payloadLength = block;
  VClearBuffer bytes(payloadLength + 2 * kFiller);
  uint8_t* payload = bytes.data() + kFiller;
  for (size_t i = 0; i < plaintext.size(); ++i) {
    uint8_t low = static_cast<uint8_t>(plaintext[i]);
    uint8_t high = static_cast<uint8_t>(plaintext[i] >> 8);
    if (kind == Kind::Wide) {
      payload[2 * i] = low;
      payload[2 * i + 1] = high;
    } else if (kind == Kind::WideSparse) {
      payload[4 * i] = low;
      payload[4 * i + 1] = high;
    }
  }
  if (kind == Kind::Narrow) {
    std::copy(utf8.begin(), utf8.end(), payload);
    VWipeString(utf8);
  }
  IRandomSource* random = VGetProcessRandomSource();
  if (!random->GenerateBlock(bytes.data(), kFiller) ||
      !random->GenerateBlock(payload + payloadLength, kFiller)) {
    VReportRandomFailure(random, error);
    return false;
  }
  inner.Encrypt(payload, payloadLength);
  outer.Encrypt(bytes.data(), bytes.size());

  std::u16string out;
  if (kind == Kind::Wide) out.push_back(u'u');
  if (kind == Kind::WideSparse) out.push_back(u'l');
  vhex::Append(out, bytes.data(), bytes.size());
  text = std::move(out);
  return true;
}
