#include "quillane/item_database.h"

#include "platform/win32_errors.h"

#include <iostream>

#include "config/database/session_database_instance.h"
#include "quillane/text_escape.h"
#include "quillane/value_source.h"

namespace cli {

SessionDatabase& ItemDatabase() {
  static SessionDatabase local;
  SessionDatabase* host = GetSessionDatabase();
  return host ? *host : local;
}

std::pair<std::string, std::vector<std::pair<std::string, std::string>>> NameAndSettingPairs(
    const ParsedArgs& args, const char* expected) {
  std::vector<std::string> given;
  if (args.Has(kValueEnvFlag) || args.Has(kValueStdinFlag)) {
    given = PositionalsWithValue(args, 3, expected);
  } else {
    given = args.positionals;
    if (given.size() < 3 || (given.size() - 1) % 2 != 0)
      throw UsageError(std::string("expected ") + expected);
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 1; i + 1 < given.size(); i += 2) pairs.emplace_back(given[i], given[i + 1]);
  return {given[0], pairs};
}

int ListNames(Context& context, const VStringArray& names) {
  Json result = Json::Array();
  for (const VUnicodeString& name : names) {
    if (context.Json()) result.Push(Utf8(name));
    else std::cout << EscapeText(name) << "\n";
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

bool OnOff(const std::string& flag, const std::string& text) {
  if (text == "on") return true;
  if (text == "off") return false;
  throw UsageError(flag + " takes on or off, not " + text);
}

int FailNamed(Context& context, int code, uint32_t id, const VUnicodeString& name,
              VReportMessageParams* why) {
  VReportMessageParams message(id);
  message.AddInsert(name);
  if (why) message.AddInsert(why->GetTextOneLineTrimmed());
  return context.Fail(code, message);
}

int DeleteNamedItem(Context& context, ItemCollection collection, const VUnicodeString& name,
                    uint32_t missingId, uint32_t notDeletedId) {
  VReportMessageParams error;
  if (ItemDatabase().DeleteItem(collection, name, error)) return kExitOk;
  if (error.GetMessageId() == win32::kFileNotFound || error.GetMessageId() == win32::kInvalidName)
    return FailNamed(context, kExitNotFound, missingId, name);
  return FailNamed(context, kExitFailed, notDeletedId, name, &error);
}

void PrintWarnings(const std::vector<VReportMessageParams>& warnings) {
  for (VReportMessageParams warning : warnings)
    std::cerr << "quillane: warning: " << Utf8(warning.GetTextOneLineTrimmed()) << std::endl;
}

}  // namespace cli
