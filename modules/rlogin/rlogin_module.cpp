// The RLogin module.
#include "common/protocol_module.h"
#include "rlogin/rlogin_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(RloginConfig, RLOGIN_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"RLogin", &qmodule::Make<RloginConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
