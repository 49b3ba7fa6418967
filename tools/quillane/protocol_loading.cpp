#include "quillane/protocol_loading.h"

#include <iostream>

#include "environment/products.h"
#include "environment/protocol_modules.h"
#include "platform/app_info.h"

namespace cli {

void LoadHostProtocolModules() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  ProtocolLoadOptions options;
  options.onFailure = [](const VReportMessageParams& failure) {
    VReportMessageParams copy = failure;
    std::cerr << "quillane: warning: " << copy.GetTextTrimmed().ToUtf8() << std::endl;
    return false;  // no one to ask: the other protocols are still worth having
  };
  bool aborted = false;
  VReportMessageParams report;
  // No protocol at all is not an error here: sessions then keep what they store, as "None".
  LoadConnectionProtocolDlls(nullptr, GetCurrentAppProductID(),
                             VUnicodeString::FromUtf8(vapp::ExecutableFolder()), aborted, report,
                             options);
}

}  // namespace cli
