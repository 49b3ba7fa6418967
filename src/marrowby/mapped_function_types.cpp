#include "marrowby/mapped_function_types.h"

#include "marrowby/qt_text.h"

namespace {
constexpr uint32_t kFirstType = 0x61391611;  // "Send String", then the others in list order
constexpr int kTypeCount = 11;
}  // namespace

QString GetMappedFunctionType(int index) {
  if (index < 0 || index >= kTypeCount) return QString();
  return CatalogueText(kFirstType + static_cast<uint32_t>(index));
}

int GetMappedFunctionTypesSize() { return kTypeCount; }
