// The FTP module over TLS: implicit TLS on its own port, or explicit TLS asked for on the FTP port.
#include "common/protocol_module.h"
#include "ftpssl/ftpssl_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(FtpSslImplicitConfig, FTPS_IMPLICIT_CONFIG_MEMBERS)

QL_REMOTE_PROTOCOL_CONFIG(FtpSslExplicitConfig, FTPS_EXPLICIT_CONFIG_MEMBERS)

using namespace qmodule::pages;

// Both protocols show the same page, each over its own settings.
#define FTPS_FIELDS(TAG)                                                                           \
  HostnameField(), PortField(TAG u"Port"), UsernameField(), PasswordField(),                       \
      CheckField(TAG u"Passive Mode", kPassiveMode),                                               \
      CheckField(TAG u"Verify Certificate", kVerifyCertificate),                                   \
      {TAG u"CA Certificate File", kCaCertificateFile, ProtocolFieldKind::File},                   \
      CheckField(TAG u"Protect Data Channel", kProtectDataChannel)

constexpr ProtocolField kImplicitFields[] = {FTPS_FIELDS(u"[FTP/SSL (implicit)] ")};
constexpr ProtocolField kExplicitFields[] = {FTPS_FIELDS(u"[FTP/SSL (explicit)] ")};
constexpr ProtocolPage kImplicitPages[] = {{0, -1, kImplicitFields}};
constexpr ProtocolPage kExplicitPages[] = {{0, -1, kExplicitFields}};
constexpr ProtocolPageSet kImplicitPageSet{kImplicitPages};
constexpr ProtocolPageSet kExplicitPageSet{kExplicitPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"FTP/SSL (implicit)", &qmodule::Make<FtpSslImplicitConfig>, &kImplicitPageSet},
    {u"FTP/SSL (explicit)", &qmodule::Make<FtpSslExplicitConfig>, &kExplicitPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
