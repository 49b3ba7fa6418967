// The Telnet module over TLS.
#include "common/protocol_module.h"
#include "telnetssl/telnetssl_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(TelnetSslConfig, TELNET_SSL_CONFIG_MEMBERS)

using namespace qmodule::pages;

constexpr ProtocolField kFields[] = {
    HostnameField(), PortField(u"[Telnet/SSL] Port"), UsernameField(), PasswordField(),
    CheckField(u"[Telnet/SSL] Verify Certificate", kVerifyCertificate),
    {u"[Telnet/SSL] CA Certificate File", kCaCertificateFile, ProtocolFieldKind::File},
    CheckField(u"[Telnet/SSL] Send Window Size", kSendWindowSize),
};
constexpr ProtocolPage kPages[] = {{0, -1, kFields}};
constexpr ProtocolPageSet kPageSet{kPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"Telnet/SSL", &qmodule::Make<TelnetSslConfig>, &kPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
