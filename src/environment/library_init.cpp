#include "environment/library_init.h"

#include <unistd.h>

#include <atomic>

#include "config/global_config_instance.h"
#include "crypto/config_passphrase.h"
#include "crypto/passphrase_cache.h"
#include "environment/installed_products.h"
#include "environment/products.h"
#include "platform/app_info.h"

namespace {
std::atomic<int> gInitFlags{0};
std::atomic<VSessionChooser> gSessionChooser{nullptr};
std::atomic<VImageListGetter> gImageListGetter{nullptr};
}  // namespace

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

void QuillaneInitGUI(VSessionChooser sessionChooser, VImageListGetter imageListGetter) {
  gSessionChooser = sessionChooser;
  gImageListGetter = imageListGetter;
  // Loads through the registered factory when nothing has loaded it yet.
  GetGlobalConfig(nullptr, -1);
}

void QuillaneCleanupForUnload() { CloseConfigPassphraseCache(); }

int QuillaneGetInitFlags() { return gInitFlags; }
VSessionChooser QuillaneGetSessionChooser() { return gSessionChooser; }
VImageListGetter QuillaneGetImageListGetter() { return gImageListGetter; }
