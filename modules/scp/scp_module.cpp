// The SCP module.
#include "common/protocol_module.h"
#include "scp/scp_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(ScpConfig, SCP_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"SCP", &qmodule::Make<ScpConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
