#include "quillane/protocol_loading.h"

#include <iostream>

#include "host/protocol_loading.h"

namespace cli {

void LoadHostProtocolModules() {
  // No one to ask on the command line: a module that fails is a warning.
  host::LoadProtocolModules([](VReportMessageParams& failure) {
    std::cerr << "quillane: warning: " << failure.GetTextTrimmed().ToUtf8() << std::endl;
  });
}

}  // namespace cli
