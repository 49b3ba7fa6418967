#include "crypto/capi_form.h"

#include <vector>

#include "crypto/clear_buffer.h"
#include "crypto/crypto_messages.h"
#include "crypto/hex_text.h"
#include "crypto/user_protection.h"

namespace {

// Bound into every blob, as the description of the protected data.
constexpr std::u16string_view kDescription = u"VProfileCapiString";

void ReportNotDecrypted(VReportMessageParams& why, VReportMessageParams& error) {
  VUnicodeString reason = why.GetTextOneLineTrimmed();
  error.Reset(crypto_messages::kProtectedDataNotDecrypted);
  error.AddInsert(reason);
}

}  // namespace

bool EncodeCapiForm(std::u16string_view plaintext, VUnicodeString& text,
                    VReportMessageParams& error) {
  VClearBuffer bytes(2 * (plaintext.size() + 1));  // the terminator is protected too
  for (size_t i = 0; i < plaintext.size(); ++i) {
    bytes.data()[2 * i] = static_cast<uint8_t>(plaintext[i]);
    bytes.data()[2 * i + 1] = static_cast<uint8_t>(plaintext[i] >> 8);
  }
  std::vector<uint8_t> blob;
  if (!vprotect::Protect(bytes.data(), bytes.size(), kDescription, blob, error)) return false;
  std::u16string out(kCapiPrefix);
  vhex::Append(out, blob.data(), blob.size(), true);
  text = std::move(out);
  return true;
}

bool DecodeCapiForm(std::u16string_view text, VUnicodeString& plaintext,
                    VReportMessageParams& error) {
  plaintext.SetSensitive(true);
  plaintext.Wipe();
  if (text.empty()) return true;
  if (text.substr(0, kCapiPrefix.size()) == kCapiPrefix) text.remove_prefix(kCapiPrefix.size());
  if (text.size() % 2 != 0) {
    error.Reset(crypto_messages::kProtectedDataOddDigits);
    return false;
  }
  VClearBuffer blob;
  VReportMessageParams why;
  if (!vhex::Decode(text, blob)) {
    why.Reset(crypto_messages::kProtectedByOther);
    ReportNotDecrypted(why, error);
    return false;
  }
  VClearBuffer bytes;
  if (!vprotect::Unprotect(blob.data(), blob.size(), kDescription, bytes, why)) {
    ReportNotDecrypted(why, error);
    return false;
  }
  // UTF-16 with its terminator: whatever follows a zero unit is not part of the text.
  VUnicodeString result;
  result.SetSensitive(true);
  result.reserve(bytes.size() / 2);  // no reallocation leaves a partial copy behind
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t c = static_cast<char16_t>(bytes.data()[i] | bytes.data()[i + 1] << 8);
    if (c == 0) break;
    result.push_back(c);
  }
  plaintext = std::move(result);
  return true;
}
