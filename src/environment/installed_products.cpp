#include "environment/installed_products.h"

#include <mutex>

#include "environment/products.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "platform/version_note.h"

namespace {

struct Sibling {
  const char* file;
  uint16_t minimumMajor;
  bool installed = false;
  std::string path;
};

std::mutex gMutex;
Sibling gOstrel{"Ostrel", 5, false, {}};
Sibling gKarvell{"Karvell", 5, false, {}};
Sibling gLumbrel{"Lumbrel", 3, false, {}};

void Detect(Sibling& sibling, const std::string& folder) {
  std::string path = vfs::JoinPath(folder, sibling.file);
  VFileVersionInfo info;
  sibling.installed = VReadFileVersionInfo(path, info) && info.fileType == kFileTypeApplication &&
                      info.Major() >= sibling.minimumMajor && info.companyName == kFamilyCompanyName;
  sibling.path = sibling.installed ? path : std::string();
}

bool Installed(const Sibling& sibling) {
  std::lock_guard<std::mutex> lock(gMutex);
  return sibling.installed;
}

VUnicodeString PathOf(const Sibling& sibling) {
  std::lock_guard<std::mutex> lock(gMutex);
  return U8(sibling.path);
}

}  // namespace

void DetectInstalledProducts(const std::string& folder) {
  std::string where = folder.empty() ? vapp::ExecutableFolder() : folder;
  std::lock_guard<std::mutex> lock(gMutex);
  Detect(gOstrel, where);
  Detect(gKarvell, where);
  Detect(gLumbrel, where);
}

bool IsKarvellInstalled() { return Installed(gKarvell); }
bool IsLumbrelInstalled() { return Installed(gLumbrel); }
bool IsOstrelInstalled() { return Installed(gOstrel); }
bool CanLaunchTerminalApp() { return IsKarvellInstalled(); }
bool CanLaunchFileTransferApp() { return IsLumbrelInstalled(); }

void SetKarvellInstalled(bool installed) {
  std::lock_guard<std::mutex> lock(gMutex);
  gKarvell.installed = installed;
}

void SetLumbrelInstalled(bool installed) {
  std::lock_guard<std::mutex> lock(gMutex);
  gLumbrel.installed = installed;
}

VUnicodeString GetKarvellPath() { return PathOf(gKarvell); }
VUnicodeString GetLumbrelPath() { return PathOf(gLumbrel); }
VUnicodeString GetOstrelPath() { return PathOf(gOstrel); }

bool HasTerminalProtocols() { return IsKarvellInstalled() || IsOstrelInstalled(); }
bool IsKarvellOrOstrelInstalled() { return HasTerminalProtocols(); }
bool HasTransferProtocols() { return IsLumbrelInstalled(); }
bool HasIntegratedProtocols() { return HasTerminalProtocols() && HasTransferProtocols(); }

bool IsIntegrated() {
  int product = GetDerivedAppProductID();
  return (product == kProductKarvell || product == kProductLumbrel) && IsKarvellInstalled() &&
         IsLumbrelInstalled();
}

bool IsIntegrated(VUnicodeString& otherAppName) {
  if (!IsIntegrated()) return false;
  otherAppName = GetDerivedAppProductID() == kProductLumbrel ? u"Karvell" : u"Lumbrel";
  return true;
}
