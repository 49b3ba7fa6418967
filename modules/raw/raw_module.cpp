// The Raw module: a plain TCP connection.
#include "common/protocol_module.h"
#include "raw/raw_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(RawConfig, RAW_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"Raw", &qmodule::Make<RawConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
