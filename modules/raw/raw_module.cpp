// The Raw module: a plain TCP connection.
#include "common/protocol_module.h"
#include "raw/raw_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(RawConfig, RAW_CONFIG_MEMBERS)

using namespace qmodule::pages;

constexpr ProtocolField kFields[] = {
    HostnameField(),
    PortField(u"[Raw] Port"),
    CheckField(u"[Raw] Send CRLF", kSendCrLf),
};
constexpr ProtocolPage kPages[] = {{0, -1, kFields}};
constexpr ProtocolPageSet kPageSet{kPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"Raw", &qmodule::Make<RawConfig>, &kPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
