#include "common/protocol_module.h"

#include <cstring>

namespace qmodule {

namespace {

constexpr uint32_t kMsgModuleUnloadable = 0xE1370004;  // %1 module, %2 why

VUnicodeString Describe(const ConnectConfig& config) {
  auto* own = dynamic_cast<const ProtocolConfig*>(&config);
  return own ? own->ConnectionText() : VUnicodeString();
}

}  // namespace

void WriteProtocolGuid(uint8_t* guid) {
  std::memcpy(guid, kProtocolInterfaceGuid.data(), kProtocolInterfaceGuid.size());
}

bool LoadServedProtocol(std::span<const ServedProtocol> served, ConnectProtocolEntry* entry,
                        VReportMessageParams* error) {
  for (const ServedProtocol& protocol : served) {
    if (!vtext::EqualsNoCase(entry->protocolName, protocol.name)) continue;
    entry->factory = protocol.factory;
    entry->callbacks.connectionText = &Describe;
    // The option pages come with the user interface; until then the module adds none.
    return true;
  }
  if (error) {
    error->Reset(kMsgModuleUnloadable);
    error->AddInsert(entry->modulePath);
    error->AddInsert(VUnicodeString(u"the module does not serve the protocol ") + entry->protocolName);
  }
  return false;
}

}  // namespace qmodule
