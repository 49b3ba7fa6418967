// The SSH2 module: the SSH2 protocol and, on its second row, the older SSH1.
#include "common/protocol_module.h"
#include "ssh2/ssh2_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(Ssh2Config, SSH2_CONFIG_MEMBERS)
QL_REMOTE_PROTOCOL_CONFIG(Ssh1Config, SSH1_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"SSH2", &qmodule::Make<Ssh2Config>},
    {u"SSH1", &qmodule::Make<Ssh1Config>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
