// "CAPI:" values are read from configuration files, including files brought from other machines
// and other systems. The decoder must take any text; what the encoder writes must decode.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "crypto/capi_form.h"

namespace {

char gFolder[] = "/tmp/quillane-fuzz-capi-XXXXXX";

void RemoveDataFolder() {
  std::string folder = gFolder;
  unlink((folder + "/Tolvane/protect.key").c_str());
  rmdir((folder + "/Tolvane").c_str());
  rmdir(folder.c_str());
}

// The per-user key lives in a data folder of the run's own, never the user's.
void UsePrivateDataFolder() {
  static bool done = [] {
    if (!mkdtemp(gFolder)) abort();
    setenv("XDG_DATA_HOME", gFolder, 1);
    atexit(&RemoveDataFolder);
    return true;
  }();
  (void)done;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UsePrivateDataFolder();
  VUnicodeString text =
      VUnicodeString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  VReportMessageParams error;
  VUnicodeString plaintext;
  bool decoded = DecodeCapiForm(text, plaintext, error);
  if (!decoded && !plaintext.empty()) abort();
  if (size > 0 && (data[0] & 1) && text.find(u'\0') == std::u16string::npos) {
    VUnicodeString encoded;
    if (!EncodeCapiForm(text, encoded, error)) abort();
    if (!DecodeCapiForm(encoded, plaintext, error) || plaintext != text) abort();
  }
  return 0;
}
