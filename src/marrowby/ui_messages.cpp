#include "marrowby/ui_messages.h"

#include <cstdio>
#include <string>

#include "report/catalogue_data.h"

extern const VCatalogueData kUiCatalogueEnglish;
extern const VCatalogueData kUiCatalogueFrench;

namespace {

const VMessageModule* Build() {
  auto* module = new VMessageModule("ui");
  std::string problem;
  // The build checked the files; a fault here would be a build that skipped the check.
  if (!module->Load(VLanguage::English, {kUiCatalogueEnglish.data, kUiCatalogueEnglish.size},
                    &problem) ||
      !module->Load(VLanguage::French, {kUiCatalogueFrench.data, kUiCatalogueFrench.size},
                    &problem))
    std::fprintf(stderr, "%s\n", problem.c_str());
  return module;
}

}  // namespace

const VMessageModule* VGetUiMessageModule() {
  static const VMessageModule* module = Build();
  return module;
}
