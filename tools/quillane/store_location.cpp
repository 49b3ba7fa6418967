#include "quillane/store_location.h"

#include "host/store_location.h"

namespace cli {
namespace {

host::StoreOptions StoreOptionsOf(const Options& options) {
  host::StoreOptions store;
  store.config = options.config;
  store.xml = options.xml;
  store.registry = options.registry;
  store.personal = options.personal;
  store.app = options.app;
  return store;
}

}  // namespace

std::string ResolveConfigFolder(const Options& options, std::string& how) {
  return host::ResolveConfigFolder(StoreOptionsOf(options), how);
}

void NoteConfigFolderEarly(const Options& options) {
  host::NoteConfigFolderEarly(StoreOptionsOf(options));
}

void ResolveStoreLocation(Context& context) {
  host::StoreLocation location;
  std::string error;
  if (!host::ResolveStoreLocation(StoreOptionsOf(context.options), location, error))
    throw UsageError(error);
  context.storeKind = location.kind;
  context.storeLocation = location.location;
  context.storeFoundHow = location.foundHow;
  context.options.personal = location.personal;
}

}  // namespace cli
