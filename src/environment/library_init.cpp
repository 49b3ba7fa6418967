#include "environment/library_init.h"

#include <unistd.h>

#include <atomic>

#include "crypto/config_passphrase.h"
#include "crypto/passphrase_cache.h"
#include "environment/installed_products.h"
#include "environment/products.h"
#include "platform/app_info.h"

namespace {
std::atomic<int> gInitFlags{0};
}

void QuillaneInit(VReportRouterGetter getRouter, int flags) {
  VSetReportRouterGetter(getRouter);
  gInitFlags = flags;
  SetDerivedAppProductID(GetProductIdFromName(VGetAppName()));
  DetectInstalledProducts();
  if (flags & kInitCreatePassphraseCache) {
    // Which block is shared depends on the product and the pair detected just above.
    VSharedMemoryNames names =
        BuildPassphraseCacheNames(GetCurrentAppProductID(), IsIntegrated(), geteuid());
    VReportMessageParams error;
    if (!OpenSharedConfigPassphraseCache(names, error)) VRouteMessage(error);
  }
}

void QuillaneInitProfileFactory(VProfileStoreFactoryGetter getFactory) {
  VSetProfileFactoryGetter(getFactory);
}

void QuillaneCleanupForUnload() { CloseConfigPassphraseCache(); }

int QuillaneGetInitFlags() { return gInitFlags; }
