// Key map files on disk. Every file system call of the key maps is here.
#include "config/keymap/keymap.h"
#include "config/keymap/keymap_file.h"
#include "config/keymap/keymap_messages.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "storage/text/text_file.h"

namespace {

VUnicodeString SystemText(const VStatus& status) {
  VReportMessageParams text;
  text.SetStatus(status);
  return text.GetTextOneLineTrimmed();
}

}  // namespace

namespace vkeymap {

std::string KeymapFolderPath(const VUnicodeString& fileName) {
  VUnicodeString config = GetTlvConfigPathSub();
  if (config.empty()) return std::string();
  std::string name = vtext::ToUtf8(fileName);
  // A full path that is not there is looked for by its last component.
  if (!name.empty() && name[0] == '/') name = vfs::BaseName(name);
  if (name.empty()) return std::string();
  return vfs::JoinPath(vfs::JoinPath(vtext::ToUtf8(config), "keymaps"), name);
}

bool ReadKeymapFile(const VUnicodeString& fileName, std::string& bytes, std::string& pathRead,
                    VReportMessageParams& report) {
  std::string path = vtext::ToUtf8(fileName);
  VStatus error = VStatus::Error(win32::kFileNotFound);
  // Read only, existing files only: a key map that is not there is never created by looking.
  if (!path.empty()) {
    error = VTextFile::ReadLocked(path, bytes);
    if (error.ok()) {
      pathRead = path;
      return true;
    }
  }
  std::string fallback = KeymapFolderPath(fileName);
  if (!fallback.empty() && fallback != path && VTextFile::ReadLocked(fallback, bytes).ok()) {
    pathRead = fallback;
    return true;
  }
  report.Reset(kMsgKeymapUnreadable);
  report.AddInsert(fileName);
  report.AddInsert(SystemText(error));
  return false;
}

std::string KeymapPathToWrite(const VUnicodeString& fileName) {
  std::string path = vtext::ToUtf8(fileName);
  if (vfs::IsRegularFileOrOther(path)) return path;
  std::string fallback = KeymapFolderPath(fileName);
  if (!fallback.empty() && vfs::IsRegularFileOrOther(fallback)) return fallback;
  return path;
}

bool KeymapFileExists(const VUnicodeString& fileName) {
  if (vfs::IsRegularFileOrOther(vtext::ToUtf8(fileName))) return true;
  std::string fallback = KeymapFolderPath(fileName);
  return !fallback.empty() && vfs::IsRegularFileOrOther(fallback);
}

bool WriteKeymapFile(const std::string& path, const std::string& bytes,
                     const VUnicodeString& fileName, VReportMessageParams& report) {
  vfs::ReplaceOptions options;
  options.createFolders = false;
  VStatus error = VStatus::Error(win32::kInvalidName);
  if (!path.empty()) {
    error = vfs::ReplaceFileContents(path, bytes, options);
    if (error.ok()) return true;
  }
  report.Reset(kMsgKeymapUnwritable);
  report.AddInsert(fileName);
  report.AddInsert(SystemText(error));
  return false;
}

}  // namespace vkeymap

bool Keymap::Load(const VUnicodeString& fileName, VReportMessageParams& report) {
  std::string bytes, pathRead;
  if (!vkeymap::ReadKeymapFile(fileName, bytes, pathRead, report)) return false;
  return LoadText(VTextFile::Decode(bytes), fileName, report);
}

bool Keymap::Save(const VUnicodeString& fileName, VReportMessageParams& report) {
  return vkeymap::WriteKeymapFile(vkeymap::KeymapPathToWrite(fileName), FileBytes(), fileName,
                                  report);
}
