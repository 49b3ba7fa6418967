#include "host/host_messages.h"

#include "report/catalogue_data.h"

extern const VCatalogueData kHostCatalogueEnglish;
extern const VCatalogueData kHostCatalogueFrench;

extern "C" __attribute__((visibility("default"))) const VMessageModule* QuillaneHostMessageModule() {
  static const VMessageModule* module = [] {
    auto* m = new VMessageModule("host");
    m->Load(VLanguage::English, std::string_view(kHostCatalogueEnglish.data, kHostCatalogueEnglish.size));
    m->Load(VLanguage::French, std::string_view(kHostCatalogueFrench.data, kHostCatalogueFrench.size));
    return m;
  }();
  return module;
}
