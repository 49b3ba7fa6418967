#include "quillane/store_location.h"

#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/registry_hive.h"

namespace cli {

void ResolveStoreLocation(Context& context) {
  const Options& options = context.options;
  int chosen = !options.config.empty() + !options.xml.empty() + !options.registry.empty();
  if (chosen > 1) throw UsageError("give only one of --config, --xml and --registry");
  if (!options.xml.empty()) {
    context.storeKind = StoreKind::XmlFile;
    context.storeLocation = options.xml;
    context.storeFoundHow = "--xml";
    return;
  }
  if (!options.registry.empty()) {
    VRegistryHive hive = VRegistryHive::CurrentUser;
    if (!VParseRegistryHive(options.registry, hive))
      throw UsageError("--registry takes HKCU or HKLM");
    if (!options.personal.empty())
      throw UsageError("--personal applies to a configuration folder only");
    context.storeKind = StoreKind::Registry;
    context.storeLocation = hive == VRegistryHive::CurrentUser ? "HKCU" : "HKLM";
    context.storeFoundHow = "--registry";
    return;
  }
  context.storeKind = StoreKind::IniFolder;
  if (!options.config.empty()) {
    context.storeLocation = options.config;
    context.storeFoundHow = "--config";
    return;
  }
  if (std::string env = vapp::GetEnv("QUILLANE_CONFIG"); !env.empty()) {
    context.storeLocation = env;
    context.storeFoundHow = "QUILLANE_CONFIG";
    return;
  }
  context.storeLocation = vfs::JoinPath(
      vfs::JoinPath(vfs::JoinPath(vapp::XdgConfigHome(), "Tolvane"), options.app), "Config");
  context.storeFoundHow = "default";
}

}  // namespace cli
