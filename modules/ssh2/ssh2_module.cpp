// The SSH2 module: the SSH2 protocol and, on its second row, the older SSH1.
#include "common/protocol_module.h"
#include "ssh2/ssh2_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(Ssh2Config, SSH2_CONFIG_MEMBERS)
QL_REMOTE_PROTOCOL_CONFIG(Ssh1Config, SSH1_CONFIG_MEMBERS)

using namespace qmodule::pages;

// The connection on the first page, how the user proves who they are on the second.
constexpr ProtocolField kSsh2Connection[] = {
    HostnameField(),
    PortField(u"[SSH2] Port"),
    UsernameField(),
    CheckField(u"[SSH2] Compression", kCompression),
    CheckField(u"[SSH2] Agent Forwarding", kAgentForwarding),
    {u"[SSH2] Keep Alive Interval", kKeepAliveInterval, ProtocolFieldKind::Number, false, 0, 86400},
    CheckField(u"[SSH2] Strict Host Key Checking", kStrictHostKeyChecking),
    {u"[SSH2] Host Key Algorithms", kHostKeyAlgorithms, ProtocolFieldKind::Text, true},
};
constexpr ProtocolField kSsh2Authentication[] = {
    {u"[SSH2] Authentication Methods", kAuthenticationMethods, ProtocolFieldKind::Text, true},
    PasswordField(),
    IdentityField(),
};
constexpr ProtocolPage kSsh2Pages[] = {
    {0, -1, kSsh2Connection},
    {kAuthenticationPage, 0, kSsh2Authentication},
};
constexpr ProtocolPageSet kSsh2PageSet{kSsh2Pages};

constexpr ProtocolField kSsh1Fields[] = {
    HostnameField(), PortField(u"[SSH1] Port"), UsernameField(), PasswordField(), IdentityField(),
    CheckField(u"[SSH1] Compression", kCompression),
};
constexpr ProtocolPage kSsh1Pages[] = {{0, -1, kSsh1Fields}};
constexpr ProtocolPageSet kSsh1PageSet{kSsh1Pages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"SSH2", &qmodule::Make<Ssh2Config>, &kSsh2PageSet},
    {u"SSH1", &qmodule::Make<Ssh1Config>, &kSsh1PageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
