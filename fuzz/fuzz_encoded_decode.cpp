// The scrambled hexadecimal form is read from configuration files; the decoder must take any
// text, and what the encoder writes must decode unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "crypto/encoded_form.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VUnicodeString text =
      VUnicodeString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  VReportMessageParams error;
  VUnicodeString plaintext;
  bool decoded = DecodeScrambledHex(text, plaintext, error);
  if (!decoded && !plaintext.empty()) abort();
  if (decoded && plaintext.size() > text.size() / 4) abort();
  if (text.find(u'\0') == std::u16string::npos) {
    VUnicodeString encoded;
    if (!EncodeScrambledHex(text, encoded, error)) abort();
    if (!DecodeScrambledHex(encoded, plaintext, error) || plaintext != text) abort();
  }
  return 0;
}
