// The SCP module.
#include "common/protocol_module.h"
#include "scp/scp_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(ScpConfig, SCP_CONFIG_MEMBERS)

using namespace qmodule::pages;

constexpr ProtocolField kFields[] = {
    HostnameField(), PortField(u"[SCP] Port"), UsernameField(), PasswordField(), IdentityField(),
    CheckField(u"[SCP] Preserve Times", kPreserveTimes),
    CheckField(u"[SCP] Compression", kCompression),
};
constexpr ProtocolPage kPages[] = {{0, -1, kFields}};
constexpr ProtocolPageSet kPageSet{kPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"SCP", &qmodule::Make<ScpConfig>, &kPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
