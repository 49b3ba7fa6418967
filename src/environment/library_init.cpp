#include "environment/library_init.h"

#include <atomic>

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
}

void QuillaneInitProfileFactory(VProfileStoreFactoryGetter getFactory) {
  VSetProfileFactoryGetter(getFactory);
}

void QuillaneCleanupForUnload() {}

int QuillaneGetInitFlags() { return gInitFlags; }
