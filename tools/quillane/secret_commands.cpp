// quillane secret encrypt|decrypt|decode|encode: the stored forms of secrets, from standard input
// to standard output, for scripts that prepare configurations and for checking values by hand.
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>

#include "crypto/blowfish_string.h"
#include "crypto/capi_form.h"
#include "crypto/clear_buffer.h"
#include "crypto/encoded_form.h"
#include "crypto/v2_codec.h"
#include "quillane/cli.h"
#include "quillane/setting_commands.h"

namespace cli {
namespace {

constexpr uint32_t kMsgInputNotUtf8 = 0xE13F0020;

constexpr char kUsage[] =
    "  quillane [--passphrase-env VAR] secret encrypt\n"
    "  quillane [--passphrase-env VAR] secret decrypt\n"
    "  quillane secret decode --form blowfish|encoded|capi [--mode N]\n"
    "  quillane secret encode --form encoded|capi\n"
    "The text is read from standard input (one final line feed is dropped) and the result is\n"
    "written to standard output. encrypt writes the current stored form (\"02:...\") under the\n"
    "passphrase in environment variable VAR (the empty passphrase without --passphrase-env);\n"
    "decrypt reads it back. decode reads an older stored form: blowfish (--mode 0, 1 or 2;\n"
    "default 0), encoded, or capi (protected for the current user); encode writes the encoded\n"
    "or capi form. Exit status 3 when the text does not decrypt or decode.\n";

// Standard input as UTF-16; false when it is not UTF-8.
bool ReadInput(VUnicodeString& text) {
  std::string bytes((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  if (!bytes.empty() && bytes.back() == '\n') bytes.pop_back();
  bool valid = vtext::IsValidUtf8(bytes);
  text.SetSensitive(true);
  if (valid) text = VUnicodeString::FromUtf8(bytes);
  VWipeString(bytes);
  return valid;
}

int Print(Context& context, const VUnicodeString& text) {
  std::string utf8 = Utf8(text);
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("text", utf8);
    context.SetResult(std::move(result));
  } else {
    std::cout << utf8 << '\n';
  }
  VWipeString(utf8);
  return kExitOk;
}

enum class Form { Blowfish, Encoded, Capi };

Form ParseForm(const ParsedArgs& args, bool decoding) {
  auto it = args.values.find("--form");
  if (it == args.values.end()) throw UsageError("--form is required");
  if (it->second == "encoded") return Form::Encoded;
  if (it->second == "capi") return Form::Capi;
  if (it->second == "blowfish" && decoding) return Form::Blowfish;
  throw UsageError(decoding ? "--form takes blowfish, encoded or capi"
                            : "--form takes encoded or capi");
}

int RunSecret(Context& context) {
  if (context.args.empty()) throw UsageError("secret needs encrypt, decrypt, decode or encode");
  const std::string action = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  ParsedArgs args = ParseArgs(rest, {"--form", "--mode"}, {});
  if (!args.positionals.empty()) throw UsageError("unexpected argument " + args.positionals[0]);
  const bool decoding = action == "decode";
  const bool takesForm = decoding || action == "encode";
  if (!takesForm && action != "encrypt" && action != "decrypt")
    throw UsageError("unknown secret action " + action);
  if (!takesForm && args.Has("--form")) throw UsageError("--form belongs to decode and encode");
  Form form = takesForm ? ParseForm(args, decoding) : Form::Encoded;
  int mode = 0;
  if (args.Has("--mode")) {
    if (form != Form::Blowfish || !decoding) throw UsageError("--mode belongs to decode --form blowfish");
    const std::string& text = args.values.at("--mode");
    if (text != "0" && text != "1" && text != "2") throw UsageError("--mode takes 0, 1 or 2");
    mode = text[0] - '0';
  }
  VUnicodeString passphrase = CommandLinePassphrase(context);

  VUnicodeString input;
  if (!ReadInput(input)) return context.Fail(kExitFailed, kMsgInputNotUtf8);
  VUnicodeString output;
  output.SetSensitive(true);
  VReportMessageParams error;
  bool done = false;
  if (action == "encrypt") {
    done = CryptUtils::EncryptV2String(input, passphrase, nullptr, output, error);
  } else if (action == "decrypt") {
    done = CryptUtils::DecryptV2String(input, passphrase, output, error);
  } else if (decoding) {
    switch (form) {
      case Form::Blowfish: done = VBlowfishString::Decode(input, mode, output, error); break;
      case Form::Encoded: done = DecodeScrambledHex(input, output, error); break;
      case Form::Capi: done = DecodeCapiForm(input, output, error); break;
    }
  } else {
    done = form == Form::Capi ? EncodeCapiForm(input, output, error)
                              : EncodeScrambledHex(input, output, error);
  }
  if (!done) return context.Fail(kExitFailed, error);
  return Print(context, output);
}

CommandRegistration registration({"secret", "encrypt, decrypt, decode and encode stored secrets",
                                  kUsage, &RunSecret});

}  // namespace
}  // namespace cli
