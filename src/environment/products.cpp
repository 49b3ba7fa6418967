#include "environment/products.h"

#include <atomic>

namespace {
std::atomic<int> gDerivedId{kProductUnknown};
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

int GetDerivedAppProductID() { return gDerivedId; }
void SetDerivedAppProductID(int productId) { gDerivedId = productId; }

int GetCurrentAppProductID() { return gCurrentSet ? gCurrentId.load() : gDerivedId.load(); }

void SetCurrentAppProductID(int productId) {
  gCurrentId = productId;
  gCurrentSet = true;
}

int GetTransferAppProductID() {
  return gDerivedId == kProductSkellan ? kProductSkellan : kProductLumbrel;
}
