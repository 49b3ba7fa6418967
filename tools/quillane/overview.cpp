// quillane without a command: which configuration is in use and what it holds.
#include <iostream>

#include "config/database/session_database_instance.h"
#include "environment/library_init.h"
#include "platform/file_system.h"
#include "quillane/cli.h"
#include "quillane/passphrase_settle.h"
#include "quillane/secret_exposure.h"
#include "quillane/text_escape.h"
#include "quillane/usage.h"
#include "storage/registry/registry_hive.h"

namespace cli {

int RunOverview(Context& context) {
  const char* kinds[] = {"folder", "xml", "registry"};
  const char* kind = kinds[static_cast<int>(context.storeKind)];
  // A registry hive lives in a folder too; show which one.
  std::string folder = context.storeLocation;
  if (context.storeKind == StoreKind::Registry) {
    VRegistryHive hive = VRegistryHive::CurrentUser;
    VParseRegistryHive(context.storeLocation, hive);
    folder = VRegistryHiveFolder(hive);
  }
  bool exists = context.storeKind == StoreKind::XmlFile ? vfs::Stat(folder).exists
                                                        : vfs::IsDirectory(folder);
  Json keys = Json::Array();
  if (exists) {
    VProfileStore store(true, nullptr);
    if (int failed = context.CheckStore(store)) return failed;
    VProfileKeyIterator iterator(*store.GetRootKey(), false);
    VUnicodeString name;
    while (iterator.Next(name)) keys.Push(Utf8(name));
  }
  // Every session and folder of the tree, hidden ones too; a tree not made yet holds none.
  size_t sessionCount = 0;
  size_t folderCount = 0;
  if (exists) {
    if (SessionDatabase* database = GetSessionDatabase()) {
      SessionDatabase::WalkResult walk = database->WalkSessions(nullptr);
      sessionCount = walk.sessions;
      folderCount = walk.folders;
    }
  }
  // The passphrase as this user's running processes know it, without asking for it.
  OpenConfigPassphraseCacheForConfiguration();
  bool checkValue = false;
  if (exists) {
    VProfileStore store(true, nullptr);
    VProfileKey global(*store.GetRootKey(), u"Global");
    VUnicodeString check;
    checkValue = global.ReadString(u"Config Passphrase", check) && !check.empty();
  }
  const char* passphrase = PassphraseStateName();
  const bool exposed = exists && WarnIfSecretsReadableByOthers(context, context.storeLocation);
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("app", context.options.app);
    result.Set("store", kind);
    result.Set("location", context.storeLocation);
    result.Set("found_by", context.storeFoundHow);
    result.Set("personal_data_path", context.options.personal.empty() ? Json() : Json(context.options.personal));
    result.Set("exists", exists);
    result.Set("keys", keys);
    result.Set("sessions", static_cast<uint64_t>(sessionCount));
    result.Set("folders", static_cast<uint64_t>(folderCount));
    Json state = Json::Object();
    state.Set("state", passphrase);
    state.Set("check_value", checkValue);
    result.Set("passphrase", std::move(state));
    result.Set("secrets_readable_by_others", exposed);
    context.SetResult(std::move(result));
    return kExitOk;
  }
  std::cout << "Application:    " << context.options.app << '\n'
            << "Store:          " << kind << " " << EscapeText(context.storeLocation);
  if (folder != context.storeLocation) std::cout << " in " << EscapeText(folder);
  std::cout << " (from " << context.storeFoundHow << ")" << (exists ? "" : " - does not exist yet")
            << '\n';
  if (!context.options.personal.empty())
    std::cout << "Personal data:  " << EscapeText(context.options.personal) << '\n';
  std::cout << "Keys at the root:";
  if (keys.Items().empty()) std::cout << " (none)";
  std::cout << '\n';
  for (const auto& key : keys.Items()) std::cout << "  " << EscapeText(key.AsString()) << '\n';
  std::cout << "Sessions:       " << sessionCount << '\n'
            << "Folders:        " << folderCount << '\n'
            << "Passphrase:     " << (checkValue ? "chosen" : "none chosen yet") << ", "
            << passphrase << " to this user's running processes\n";
  return kExitOk;
}

}  // namespace cli
