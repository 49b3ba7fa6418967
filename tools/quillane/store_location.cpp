#include "quillane/store_location.h"

#include "environment/app_paths.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/registry/registry_hive.h"

namespace cli {
namespace {

// Folders are shown and used as full paths, so that ${TLV_CONFIG_PATH} names the same folder
// from any working directory.
std::string Full(const std::string& path) {
  auto full = vfs::FullPath(path);
  return full ? *full : path;
}

}  // namespace

std::string ResolveConfigFolder(const Options& options, std::string& how) {
  if (!options.config.empty()) {
    how = "--config";
    return Full(options.config);
  }
  if (std::string env = vapp::GetEnv("QUILLANE_CONFIG"); !env.empty()) {
    how = "QUILLANE_CONFIG";
    return Full(env);
  }
  if (VUnicodeString remembered = GetAppConfigPath(Wide(options.app)); !remembered.empty()) {
    how = "remembered Config Path";
    return Utf8(remembered);
  }
  how = "default";
  return vfs::JoinPath(
      vfs::JoinPath(vfs::JoinPath(vapp::XdgConfigHome(), "Tolvane"), options.app), "Config");
}

void NoteConfigFolderEarly(const Options& options) {
  if (!options.config.empty() && options.xml.empty())
    vapp::SetConfigFolderInUse(Wide(Full(options.config)));
  else if (!options.xml.empty() && options.config.empty())
    vapp::SetConfigFolderInUse(Wide(vfs::ParentFolder(Full(options.xml))));
}

void ResolveStoreLocation(Context& context) {
  const Options& options = context.options;
  int chosen = !options.config.empty() + !options.xml.empty() + !options.registry.empty();
  if (chosen > 1) throw UsageError("give only one of --config, --xml and --registry");
  if (!options.xml.empty()) {
    context.storeKind = StoreKind::XmlFile;
    context.storeLocation = options.xml;
    context.storeFoundHow = "--xml";
    // The settings file stands for the configuration folder: paths stored relative to the
    // configuration refer to the folder that holds it.
    vapp::SetConfigFolderInUse(Wide(vfs::ParentFolder(Full(options.xml))));
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
    std::string how;
    vapp::SetConfigFolderInUse(Wide(ResolveConfigFolder(options, how)));
    return;
  }
  context.storeKind = StoreKind::IniFolder;
  context.storeLocation = ResolveConfigFolder(options, context.storeFoundHow);
  vapp::SetConfigFolderInUse(Wide(context.storeLocation));
  // As a starting host does: personal data goes to its own folder when the user chose so.
  if (context.options.personal.empty() && UsePersonalDataPath(Wide(options.app))) {
    context.options.personal =
        Utf8(GetAppPersonalDataPath(Wide(options.app), Wide(context.storeLocation)));
  }
}

}  // namespace cli
