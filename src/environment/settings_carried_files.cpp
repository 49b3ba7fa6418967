#include "environment/settings_carried_files.h"

#include "environment/moving_messages.h"
#include "platform/file_system.h"

namespace mm = moving_messages;

namespace {

uint32_t RefusalMessage(VFileTargetRefusal refusal) {
  switch (refusal) {
    case VFileTargetRefusal::None: return 0;
    case VFileTargetRefusal::NotFullPath: return mm::kRefusedNotFullPath;
    case VFileTargetRefusal::OutsideFolders: return mm::kRefusedOutside;
    case VFileTargetRefusal::ThroughLink: return mm::kRefusedThroughLink;
    case VFileTargetRefusal::NotRegularFile: return mm::kRefusedNotFile;
  }
  return mm::kRefusedNotFile;
}

}  // namespace

void ExportCarriedFiles(VProfileKey& root, const std::set<VUnicodeString>& stored,
                        const VPathFolders& folders, VSettingsFileLog& log) {
  if (stored.empty()) return;
  VProfileKey section(root, u"Files", kProfileKeyCreate);
  uint32_t counter = 0;
  for (const VUnicodeString& text : stored) {
    VPathKind kind = kPathNone;
    std::string path = VExpandStoredPath(text, folders, kind).ToUtf8();
    std::string bytes;
    auto file = vfs::File::OpenForReading(path);
    VStatus read = file ? file->ReadAll(bytes) : file.Status();
    if (!read.ok()) {
      log.Warn(mm::kFileNotRead, {U8(path), VStatusText(read)});
      continue;
    }
    VUnicodeString entry = VUnicodeString(u"File ") + U8(std::to_string(counter++));
    VProfileKey key(section, entry.c_str(), kProfileKeyCreate);
    key.WriteString(u"Path", text.c_str());
    key.WriteBinary(u"Contents", bytes.data(), static_cast<VDword>(bytes.size()));
    log.Info(mm::kFileExported, {U8(path)});
  }
}

void ImportCarriedFiles(VProfileKey& root, const VPathFolders& folders, VSettingsFileLog& log,
                        VImportExportSummary& summary) {
  if (!root.SubKeyExists(u"Files")) return;
  VProfileKey section(root, u"Files");
  std::vector<std::string> allowed;
  for (VPathKind kind : {kPathConfig, kPathUserData, kPathSshData})
    allowed.push_back(folders.folder[kind].ToUtf8());
  VProfileKeyIterator entries(section, false);
  VUnicodeString name;
  while (entries.Next(name)) {
    VProfileKey entry(section, name.c_str());
    VUnicodeString stored;
    if (!entry.ReadString(u"Path", stored)) continue;
    VDword size = 0;
    std::vector<uint8_t> bytes;
    bool contents = entry.ReadBinary(u"Contents", nullptr, size);
    if (contents && size > 0) {
      bytes.resize(size);
      contents = entry.ReadBinary(u"Contents", bytes.data(), size);
      bytes.resize(size);
    }
    VPathKind kind = kPathNone;
    std::string path = VExpandStoredPath(stored, folders, kind).ToUtf8();
    // Contents that are missing or unreadable are not taken for an empty file: writing one
    // would wipe the file already there.
    if (!contents) {
      log.Error(mm::kFileNotWritten, {U8(path), VStatusText(VStatus::Error(win32::kInvalidData))});
      continue;
    }
    std::string resolved;
    if (uint32_t refusal = RefusalMessage(CheckImportedFileTarget(path, allowed, resolved))) {
      VReportMessageParams why(refusal);
      log.Warn(mm::kFileRefused, {stored, why.GetTextOneLineTrimmed()});
      summary.filesRefused.push_back(stored);
      continue;
    }
    VStatus written = vfs::CreateFolderTree(vfs::ParentFolder(resolved), 0700);
    if (written.ok()) {
      written = vfs::ReplaceFileContents(
          resolved, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    if (!written.ok()) {
      log.Error(mm::kFileNotWritten, {U8(resolved), VStatusText(written)});
      continue;
    }
    log.Info(mm::kFileImported, {U8(resolved)});
    summary.filesWritten.push_back(U8(resolved));
  }
}
