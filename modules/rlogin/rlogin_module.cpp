// The RLogin module.
#include "common/protocol_module.h"
#include "rlogin/rlogin_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(RloginConfig, RLOGIN_CONFIG_MEMBERS)

using namespace qmodule::pages;

constexpr ProtocolField kFields[] = {
    HostnameField(), PortField(u"[RLogin] Port"), UsernameField(), PasswordField(),
    {u"[RLogin] Terminal Speed", kTerminalSpeed, ProtocolFieldKind::Number, false, 0, 4000000},
};
constexpr ProtocolPage kPages[] = {{0, -1, kFields}};
constexpr ProtocolPageSet kPageSet{kPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"RLogin", &qmodule::Make<RloginConfig>, &kPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
