#include "environment/folder_entries.h"

#include <vector>

#include "platform/file_system.h"
#include "platform/unicode_string.h"

std::string VFindFolderEntry(const std::string& folder, const std::string& name, bool wantFolder) {
  std::string exact = vfs::JoinPath(folder, name);
  vfs::FileInfo info = vfs::Stat(exact);
  if (info.exists && info.isDirectory == wantFolder) return exact;
  std::vector<vfs::FolderEntry> entries;
  if (!vfs::ListFolder(folder, entries).ok()) return std::string();
  std::u16string wanted = vtext::FromUtf8(name);
  for (const auto& entry : entries) {
    if (entry.isDirectory == wantFolder && vtext::EqualsNoCase(vtext::FromUtf8(entry.name), wanted))
      return vfs::JoinPath(folder, entry.name);
  }
  return std::string();
}
