// The SFTP module.
#include "common/protocol_module.h"
#include "sftp/sftp_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(SftpConfig, SFTP_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"SFTP", &qmodule::Make<SftpConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
