// The SFTP module.
#include "common/protocol_module.h"
#include "sftp/sftp_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(SftpConfig, SFTP_CONFIG_MEMBERS)

using namespace qmodule::pages;

constexpr ProtocolField kFields[] = {
    HostnameField(), PortField(u"[SFTP] Port"), UsernameField(),
    {u"[SFTP] Authentication Methods", kAuthenticationMethods, ProtocolFieldKind::Text, true},
    PasswordField(), IdentityField(),
    CheckField(u"[SFTP] Compression", kCompression),
    {u"[SFTP] Initial Remote Directory", kInitialRemoteDirectory, ProtocolFieldKind::Text},
};
constexpr ProtocolPage kPages[] = {{0, -1, kFields}};
constexpr ProtocolPageSet kPageSet{kPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"SFTP", &qmodule::Make<SftpConfig>, &kPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
