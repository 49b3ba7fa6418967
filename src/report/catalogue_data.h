// The catalogue files of messages/, compiled into the program as bytes.
#pragma once

#include <cstddef>

struct VCatalogueData {
  const char* data;
  size_t size;
};

extern const VCatalogueData kLibraryCatalogueEnglish;
extern const VCatalogueData kLibraryCatalogueFrench;
extern const VCatalogueData kSystemCatalogueEnglish;
extern const VCatalogueData kSystemCatalogueFrench;
