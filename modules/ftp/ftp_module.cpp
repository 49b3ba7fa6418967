// The FTP module.
#include "common/protocol_module.h"
#include "ftp/ftp_members.h"

namespace {

QL_REMOTE_PROTOCOL_CONFIG(FtpConfig, FTP_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"FTP", &qmodule::Make<FtpConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
