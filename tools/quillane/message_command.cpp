// quillane message ID [INSERT ...]: a catalogue message formatted as the library formats it.
#include <cstdlib>
#include <iostream>

#include "quillane/cli.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane message ID [INSERT ...]\n"
    "ID is hexadecimal (0xE138000B or E138000B).\n";

bool IsKnown(uint32_t id) {
  VLanguage language = VGetMessageLanguage();
  std::u16string text;
  return VGetSystemMessageModule()->Find(id, language, text) ||
         VGetLibraryMessageModule()->Find(id, language, text) ||
         (VGetHostMessageModule() && VGetHostMessageModule()->Find(id, language, text));
}

int RunMessage(Context& context) {
  ParsedArgs args = ParseArgs(context.args, {}, {});
  if (args.positionals.empty()) throw UsageError("message needs an ID");
  std::string idText = args.positionals[0];
  if (idText.size() > 2 && idText[0] == '0' && (idText[1] == 'x' || idText[1] == 'X'))
    idText = idText.substr(2);
  char* end = nullptr;
  unsigned long long value = std::strtoull(idText.c_str(), &end, 16);
  if (idText.empty() || idText.size() > 8 || !end || *end != '\0')
    throw UsageError("'" + args.positionals[0] + "' is not a hexadecimal message id");
  uint32_t id = static_cast<uint32_t>(value);
  VReportMessageParams message(id);
  for (size_t i = 1; i < args.positionals.size(); ++i) message.AddInsert(Wide(args.positionals[i]));
  // An id in no catalogue gives the library's stand-in text, reported as not found.
  if (!IsKnown(id)) return context.Fail(kExitNotFound, message);
  std::string text = Utf8(message.GetTextTrimmed());
  if (context.Json()) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", id);
    Json result = Json::Object();
    result.Set("id", buffer);
    result.Set("text", text);
    context.SetResult(std::move(result));
  } else {
    std::cout << text << '\n';
  }
  return kExitOk;
}

CommandRegistration registration({"message", "format a catalogue message", kUsage, &RunMessage});

}  // namespace
}  // namespace cli
