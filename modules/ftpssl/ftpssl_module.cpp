// The FTP module over TLS: implicit TLS on its own port, or explicit TLS asked for on the FTP port.
#include "common/protocol_module.h"
#include "ftpssl/ftpssl_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(FtpSslImplicitConfig, FTPS_IMPLICIT_CONFIG_MEMBERS)

QL_REMOTE_PROTOCOL_CONFIG(FtpSslExplicitConfig, FTPS_EXPLICIT_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"FTP/SSL (implicit)", &qmodule::Make<FtpSslImplicitConfig>},
    {u"FTP/SSL (explicit)", &qmodule::Make<FtpSslExplicitConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
