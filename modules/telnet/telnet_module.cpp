// The Telnet module.
#include "common/protocol_module.h"
#include "telnet/telnet_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(TelnetConfig, TELNET_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"Telnet", &qmodule::Make<TelnetConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
