#include "support/project_modules.h"

#include <filesystem>
#include <fstream>

#include "environment/products.h"
#include "environment/protocol_modules.h"

namespace qtest {

namespace fs = std::filesystem;

bool LoadProjectModules(const std::string& folder, bool enableSsh1) {
  static constexpr const char* kModuleFiles[] = {"SSH2", "Telnet", "TelnetSSL", "RLogin",
                                                 "Serial", "Raw", "SFTP", "FTP", "FTPSSL", "SCP"};
  fs::create_directories(folder);
  fs::permissions(folder, fs::perms(0755));
  for (const char* name : kModuleFiles) {
    std::string target = folder + "/" + name + ".so";
    fs::copy_file(std::string(QUILLANE_BINARY_DIR) + "/" + name + ".so", target,
                  fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms(0755));
  }
  if (enableSsh1) std::ofstream(folder + "/SSH1.enable") << "";
  for (int product : {kProductKarvell, kProductLumbrel}) {
    bool aborted = false;
    VReportMessageParams report;
    ProtocolLoadOptions options;
    options.onFailure = [](const VReportMessageParams&) { return false; };
    if (!LoadSingleProductConnectionProtocolDlls(nullptr, product, VUnicodeString::FromUtf8(folder),
                                                 aborted, report, options))
      return false;
  }
  return true;
}

}  // namespace qtest
