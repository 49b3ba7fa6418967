#include "storage/registry/registry_hive.h"

#include "platform/app_info.h"
#include "platform/file_system.h"

std::string VRegistryHiveFolder(VRegistryHive hive) {
  const bool user = hive == VRegistryHive::CurrentUser;
  std::string root = vapp::GetEnv("QUILLANE_REGISTRY_ROOT");
  if (!root.empty()) return vfs::JoinPath(root, user ? "HKCU" : "HKLM");
  if (user) return vfs::JoinPath(vfs::JoinPath(vapp::XdgConfigHome(), "Tolvane"), "registry");
  return "/etc/xdg/Tolvane/registry";
}

const char* VRegistryHiveName(VRegistryHive hive) {
  return hive == VRegistryHive::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

bool VParseRegistryHive(std::string_view text, VRegistryHive& hive) {
  std::u16string wide = vtext::FromUtf8(text);
  if (vtext::EqualsNoCase(wide, u"HKCU") || vtext::EqualsNoCase(wide, u"HKEY_CURRENT_USER")) {
    hive = VRegistryHive::CurrentUser;
    return true;
  }
  if (vtext::EqualsNoCase(wide, u"HKLM") || vtext::EqualsNoCase(wide, u"HKEY_LOCAL_MACHINE")) {
    hive = VRegistryHive::LocalMachine;
    return true;
  }
  return false;
}

std::vector<VUnicodeString> VSplitRegistryPath(std::u16string_view path) {
  std::vector<VUnicodeString> levels;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) levels.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return levels;
}
