#include "host/protocol_loading.h"

#include "environment/products.h"
#include "environment/protocol_modules.h"
#include "platform/app_info.h"

namespace host {

void LoadProtocolModules(const std::function<void(VReportMessageParams& failure)>& warn) {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  ProtocolLoadOptions options;
  options.onFailure = [&warn](const VReportMessageParams& failure) {
    VReportMessageParams copy = failure;
    warn(copy);
    return false;  // the other protocols are still worth having
  };
  bool aborted = false;
  VReportMessageParams report;
  LoadConnectionProtocolDlls(nullptr, GetCurrentAppProductID(),
                             VUnicodeString::FromUtf8(vapp::ExecutableFolder()), aborted, report,
                             options);
}

}  // namespace host
