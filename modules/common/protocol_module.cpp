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

const ProtocolPageSet* FindServedPages(std::span<const ServedProtocol> served,
                                       const ConnectProtocolEntry& entry) {
  for (const ServedProtocol& protocol : served) {
    if (vtext::EqualsNoCase(entry.protocolName, protocol.name)) return protocol.pages;
  }
  return nullptr;
}

bool LoadServedProtocol(std::span<const ServedProtocol> served, DescribePagesFunction describePages,
                        ConnectProtocolEntry* entry, VReportMessageParams* error) {
  for (const ServedProtocol& protocol : served) {
    if (!vtext::EqualsNoCase(entry->protocolName, protocol.name)) continue;
    entry->factory = protocol.factory;
    entry->callbacks.connectionText = &Describe;
    if (protocol.pages && describePages) entry->callbacks.describePages = describePages;
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
