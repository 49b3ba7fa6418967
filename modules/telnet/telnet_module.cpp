// The Telnet module.
#include "common/protocol_module.h"
#include "telnet/telnet_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(TelnetConfig, TELNET_CONFIG_MEMBERS)

using namespace qmodule::pages;

constexpr ProtocolField kFields[] = {
    HostnameField(), PortField(u"[Telnet] Port"), UsernameField(), PasswordField(),
    CheckField(u"[Telnet] Force Character Mode", kForceCharacterMode),
    CheckField(u"[Telnet] Send Window Size", kSendWindowSize),
    CheckField(u"[Telnet] Binary Mode", kBinaryMode),
};
constexpr ProtocolPage kPages[] = {{0, -1, kFields}};
constexpr ProtocolPageSet kPageSet{kPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"Telnet", &qmodule::Make<TelnetConfig>, &kPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
