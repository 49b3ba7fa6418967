// The Telnet module over TLS.
#include "common/protocol_module.h"
#include "telnetssl/telnetssl_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(TelnetSslConfig, TELNET_SSL_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"Telnet/SSL", &qmodule::Make<TelnetSslConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
