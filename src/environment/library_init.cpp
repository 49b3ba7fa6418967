#include "environment/library_init.h"

#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "config/global/global_config_instance.h"
#include "crypto/config_passphrase.h"
#include "crypto/hasher.h"
#include "crypto/passphrase_cache.h"
#include "environment/installed_products.h"
#include "environment/products.h"
#include "platform/app_info.h"

namespace {
// Eight bytes of the digest tell configurations apart; the names stay short.
constexpr size_t kScopeDigestBytes = 8;

std::atomic<int> gInitFlags{0};
std::mutex gCacheMutex;
std::string gCacheNames;  // the mapping name the cache was last opened under
// Why the cache could not be shared under those names (no error while it is shared), kept for a
// caller that asks later whether its passphrase reaches the user's other processes.
VReportMessageParams gCacheProblem;
std::atomic<VSessionChooser> gSessionChooser{nullptr};
std::atomic<VImageListGetter> gImageListGetter{nullptr};
}  // namespace

void QuillaneInit(VReportRouterGetter getRouter, int flags) {
  VSetReportRouterGetter(getRouter);
  gInitFlags = flags;
  SetDerivedAppProductID(GetProductIdFromName(VGetAppName()));
  DetectInstalledProducts();
  {
    std::lock_guard<std::mutex> lock(gCacheMutex);
    gCacheNames.clear();
    gCacheProblem.Reset(0);
  }
  // Which block is shared depends on the product and the pair detected just above.
  if (flags & kInitCreatePassphraseCache) OpenConfigPassphraseCacheForConfiguration();
}

std::string ConfigPassphraseCacheScope(const VUnicodeString& configFolder) {
  std::string scope;
  if (!configFolder.empty()) {
    VReportMessageParams ignored;
    std::unique_ptr<CryptUtils::Hasher> hasher = CryptUtils::Hasher::Create("sha256", ignored);
    std::string folder = configFolder.ToUtf8();
    uint8_t digest[32] = {};
    hasher->Update(folder.data(), folder.size());
    hasher->Final(digest, sizeof digest);
    static const char kHex[] = "0123456789abcdef";
    for (size_t i = 0; i < kScopeDigestBytes; ++i) {
      scope.push_back(kHex[digest[i] >> 4]);
      scope.push_back(kHex[digest[i] & 15]);
    }
  }
  return scope;
}

VSharedMemoryNames ConfigPassphraseCacheNames(const VUnicodeString& configFolder) {
  return BuildPassphraseCacheNames(GetCurrentAppProductID(), IsIntegrated(), geteuid(),
                                   ConfigPassphraseCacheScope(configFolder));
}

bool OpenConfigPassphraseCacheForConfiguration() {
  VReportMessageParams ignored;
  return OpenConfigPassphraseCacheForConfiguration(ignored);
}

bool OpenConfigPassphraseCacheForConfiguration(VReportMessageParams& why) {
  if (!(gInitFlags & kInitCreatePassphraseCache)) return true;
  VSharedMemoryNames names = ConfigPassphraseCacheNames(GetTlvConfigPathSub());
  std::lock_guard<std::mutex> lock(gCacheMutex);
  if (names.mapping == gCacheNames) {
    if (IsConfigPassphraseCacheShared()) return true;
    why = gCacheProblem;
    return false;
  }
  gCacheNames = names.mapping;
  gCacheProblem.Reset(0);
  if (OpenSharedConfigPassphraseCache(names, gCacheProblem)) return true;
  why = gCacheProblem;
  VRouteMessage(gCacheProblem);
  return false;
}

void QuillaneInitProfileFactory(VProfileStoreFactoryGetter getFactory) {
  VSetProfileFactoryGetter(getFactory);
}

void QuillaneInitGUI(VSessionChooser sessionChooser, VImageListGetter imageListGetter) {
  gSessionChooser = sessionChooser;
  gImageListGetter = imageListGetter;
  // Loads through the registered factory when nothing has loaded it yet.
  GetGlobalConfig(nullptr, -1);
}

void QuillaneCleanupForUnload() {
  std::lock_guard<std::mutex> lock(gCacheMutex);
  gCacheNames.clear();
  gCacheProblem.Reset(0);
  CloseConfigPassphraseCache();
}

int QuillaneGetInitFlags() { return gInitFlags; }
VSessionChooser QuillaneGetSessionChooser() { return gSessionChooser; }
VImageListGetter QuillaneGetImageListGetter() { return gImageListGetter; }
