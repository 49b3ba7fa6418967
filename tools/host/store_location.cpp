#include "host/store_location.h"

#include "environment/app_paths.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "storage/registry/registry_hive.h"
#include "storage/registry/registry_store.h"
#include "storage/xml/xml_file_store.h"

namespace host {
namespace {

// Folders are shown and used as full paths, so that ${TLV_CONFIG_PATH} names the same folder
// from any working directory.
std::string Full(const std::string& path) {
  auto full = vfs::FullPath(path);
  return full ? *full : path;
}

// As the command line reads its arguments: bytes that are not UTF-8 stay the file names they are.
VUnicodeString Wide(const std::string& text) { return VUnicodeString(vtext::FromNarrow(text)); }

}  // namespace

std::string ResolveConfigFolder(const StoreOptions& options, std::string& how) {
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
    return remembered.ToUtf8();
  }
  how = "default";
  return vfs::JoinPath(
      vfs::JoinPath(vfs::JoinPath(vapp::XdgConfigHome(), "Tolvane"), options.app), "Config");
}

void NoteConfigFolderEarly(const StoreOptions& options) {
  if (!options.config.empty() && options.xml.empty())
    vapp::SetConfigFolderInUse(Wide(Full(options.config)));
  else if (!options.xml.empty() && options.config.empty())
    vapp::SetConfigFolderInUse(Wide(vfs::ParentFolder(Full(options.xml))));
}

bool ResolveStoreLocation(const StoreOptions& options, StoreLocation& location, std::string& error) {
  int chosen = !options.config.empty() + !options.xml.empty() + !options.registry.empty();
  if (chosen > 1) {
    error = "give only one of --config, --xml and --registry";
    return false;
  }
  location.personal = options.personal;
  if (!options.xml.empty()) {
    location.kind = StoreKind::XmlFile;
    location.location = options.xml;
    location.foundHow = "--xml";
    // The settings file stands for the configuration folder: paths stored relative to the
    // configuration refer to the folder that holds it.
    vapp::SetConfigFolderInUse(Wide(vfs::ParentFolder(Full(options.xml))));
    return true;
  }
  if (!options.registry.empty()) {
    VRegistryHive hive = VRegistryHive::CurrentUser;
    if (!VParseRegistryHive(options.registry, hive)) {
      error = "--registry takes HKCU or HKLM";
      return false;
    }
    if (!options.personal.empty()) {
      error = "--personal applies to a configuration folder only";
      return false;
    }
    location.kind = StoreKind::Registry;
    location.location = hive == VRegistryHive::CurrentUser ? "HKCU" : "HKLM";
    location.foundHow = "--registry";
    std::string how;
    vapp::SetConfigFolderInUse(Wide(ResolveConfigFolder(options, how)));
    return true;
  }
  location.kind = StoreKind::IniFolder;
  location.location = ResolveConfigFolder(options, location.foundHow);
  vapp::SetConfigFolderInUse(Wide(location.location));
  // As a starting host does: personal data goes to its own folder when the user chose so.
  if (location.personal.empty() && UsePersonalDataPath(Wide(options.app)))
    location.personal = GetAppPersonalDataPath(Wide(options.app), Wide(location.location)).ToUtf8();
  return true;
}

std::unique_ptr<VProfileStoreFactory> MakeStoreFactory(const StoreLocation& location) {
  switch (location.kind) {
    case StoreKind::IniFolder:
      return std::make_unique<VIniFileStoreFactory>(Wide(location.location), Wide(location.personal));
    case StoreKind::Registry: {
      VRegistryHive hive = VRegistryHive::CurrentUser;
      VParseRegistryHive(location.location, hive);
      // The root of the hive: key paths start with SOFTWARE.
      return std::make_unique<VRegistryStoreFactory>(hive, VUnicodeString());
    }
    case StoreKind::XmlFile:
      return std::make_unique<VXmlFileStoreFactory>(Wide(location.location));
  }
  return nullptr;
}

bool CheckStoreReadable(const StoreLocation& location, VProfileStore& store,
                        VReportMessageParams& error) {
  if (location.kind != StoreKind::XmlFile) return true;
  VProfileKey* root = store.GetRootKey();
  root->GetLastError().Reset(0);
  root->CanWrite();  // reads the file
  if (!root->GetLastError().IsError()) return true;
  error = root->GetLastError();
  return false;
}

}  // namespace host
