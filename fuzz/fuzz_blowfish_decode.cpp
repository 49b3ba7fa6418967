// Values of the oldest encrypted form come from files written long ago, possibly edited since.
// The decoder must take any text in every mode; what it encodes must decode unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "crypto/blowfish_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int mode = data[0] % 4;  // 3 is not a mode: it must fail cleanly
  const bool roundTrip = (data[0] & 0x80) != 0;
  VUnicodeString text =
      VUnicodeString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  VReportMessageParams error;
  VUnicodeString plaintext;
  bool decoded = VBlowfishString(text, mode).GetPlaintext(plaintext, error);
  if (!decoded && !plaintext.empty()) abort();
  if (roundTrip && mode < 3 && text.find(u'\0') == std::u16string::npos) {
    for (auto kind : {VBlowfishString::Kind::Wide, VBlowfishString::Kind::WideSparse}) {
      VUnicodeString encoded;
      if (!VBlowfishString::Encode(text, kind, mode, encoded, error)) abort();
      if (!VBlowfishString::Decode(encoded, mode, plaintext, error) || plaintext != text) abort();
    }
  }
  return 0;
}
