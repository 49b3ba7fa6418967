// quillane protocols: the rows of the protocol module table this host loads, and what loading
// each one gave.
#include <cstdio>
#include <iostream>

#include "environment/protocol_modules.h"
#include "quillane/cli.h"
#include "quillane/json.h"
#include "quillane/protocol_loading.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane protocols\n"
    "Loads the protocol modules of the running product (--app) from the folder of this program,\n"
    "and of the other product of the pair when both are installed, and prints one line per row\n"
    "of the module table: the product id, the protocol, the state (loaded, missing, skipped or\n"
    "failed), the module file and, where it did not load, why. In JSON each row has \"error\":\n"
    "null when it loaded, else the message (\"id\" and \"text\").\n";

std::string IdText(uint32_t id) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", id);
  return buffer;
}

int RunProtocols(Context& context) {
  if (!context.args.empty()) throw UsageError("protocols takes no arguments");
  LoadHostProtocolModules();
  ::Json rows = ::Json::Array();
  for (const ProtocolLoadResult& result : GetProtocolLoadResults()) {
    std::string why;
    ::Json error = nullptr;
    if (result.state != ProtocolRowState::Loaded) {
      VReportMessageParams message = result.error;
      why = message.GetTextTrimmed().ToUtf8();
      error = ::Json::Object();
      error.Set("id", IdText(message.GetMessageId()));
      error.Set("text", why);
    }
    if (context.Json()) {
      ::Json row = ::Json::Object();
      row.Set("product_id", result.productId);
      row.Set("name", result.protocolName.ToUtf8());
      row.Set("display", result.displayName.ToUtf8());
      row.Set("module", result.modulePath.ToUtf8());
      row.Set("state", ProtocolRowStateName(result.state));
      row.Set("error", std::move(error));
      rows.Push(std::move(row));
    } else {
      std::cout << result.productId << '\t' << result.protocolName.ToUtf8() << '\t'
                << ProtocolRowStateName(result.state) << '\t' << result.modulePath.ToUtf8();
      if (!why.empty()) std::cout << '\t' << why;
      std::cout << '\n';
    }
  }
  context.SetResult(std::move(rows));
  return kExitOk;
}

CommandRegistration registration({"protocols", "the protocol modules and what loading them gave",
                                  kUsage, &RunProtocols});

}  // namespace
}  // namespace cli
