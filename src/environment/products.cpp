#include "environment/products.h"

#include <atomic>

#include "platform/app_info.h"

namespace {
std::atomic<bool> gCurrentSet{false};
std::atomic<int> gCurrentId{kProductUnknown};
}  // namespace

int GetProductIdFromName(const VUnicodeString& appName) {
  struct Row {
    const char16_t* name;
    int id;
  };
  static constexpr Row kRows[] = {{u"Karvell", kProductKarvell}, {u"Pyrrel", kProductKarvell},
                                  {u"Lumbrel", kProductLumbrel}, {u"Wyrmhold", kProductWyrmhold},
                                  {u"Skellan", kProductSkellan}};
  for (const auto& row : kRows) {
    if (vtext::EqualsNoCase(appName, row.name)) return row.id;
  }
  return kProductUnknown;
}

VUnicodeString GetProductNameFromId(int productId) {
  switch (productId) {
    case kProductKarvell: return u"Karvell";
    case kProductLumbrel: return u"Lumbrel";
    case kProductWyrmhold: return u"Wyrmhold";
    case kProductSkellan: return u"Skellan";
    default: return VUnicodeString();
  }
}

int GetDerivedAppProductID() { return VGetDerivedProductId(); }
void SetDerivedAppProductID(int productId) { VSetDerivedProductId(productId); }

int GetCurrentAppProductID() { return gCurrentSet ? gCurrentId.load() : VGetDerivedProductId(); }

void SetCurrentAppProductID(int productId) {
  gCurrentId = productId;
  gCurrentSet = true;
}

int GetTransferAppProductID() {
  return VGetDerivedProductId() == kProductSkellan ? kProductSkellan : kProductLumbrel;
}
