// The FTP module.
#include "common/protocol_module.h"
#include "ftp/ftp_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(FtpConfig, FTP_CONFIG_MEMBERS)

using namespace qmodule::pages;

constexpr ProtocolField kFields[] = {
    HostnameField(), PortField(u"[FTP] Port"), UsernameField(), PasswordField(),
    CheckField(u"[FTP] Passive Mode", kPassiveMode),
    CheckField(u"[FTP] Anonymous Login", kAnonymousLogin),
};
constexpr ProtocolPage kPages[] = {{0, -1, kFields}};
constexpr ProtocolPageSet kPageSet{kPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"FTP", &qmodule::Make<FtpConfig>, &kPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
