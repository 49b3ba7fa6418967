// A settings file comes from someone else: importing it must take any bytes without crashing,
// and must write nothing outside the configuration it is imported into, whatever its "Files"
// entries, key names or nesting say. Each input is imported into a scratch configuration (its
// folder, user data and SSH data folders, all inside one scratch folder); a sentinel folder beside
// the scratch folder, and the folder holding both, must be exactly as they were afterwards.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "config/global/global_config_instance.h"
#include "crypto/config_passphrase.h"
#include "environment/import_export_settings.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"

namespace {

struct Scratch {
  std::string base;     // holds the scratch folder and the sentinel, nothing else
  std::string root;     // everything an import may write is below here
  std::string outside;  // a sentinel that must never change
  std::unique_ptr<VIniFileStoreFactory> factory;
  VPathFolders folders;
};

Scratch* gScratch = nullptr;

VProfileStoreFactory* Factory() { return gScratch->factory.get(); }

// Every entry below `folder` (links not followed) with its kind, size and bytes for files.
void Snapshot(const std::string& folder, std::map<std::string, std::string>& out) {
  std::vector<vfs::FolderEntry> entries;
  if (!vfs::ListFolder(folder, entries).ok()) return;
  for (const auto& entry : entries) {
    std::string path = vfs::JoinPath(folder, entry.name);
    if (entry.isLink) {
      out[path] = "link";
    } else if (entry.isDirectory) {
      out[path] = "folder";
      Snapshot(path, out);
    } else {
      std::string bytes;
      auto file = vfs::File::OpenForReading(path);
      if (file) (void)file->ReadAll(bytes);
      out[path] = "file:" + bytes;
    }
  }
}

// The base's own entries, and the sentinel's whole tree.
std::map<std::string, std::string> Outside() {
  std::map<std::string, std::string> seen;
  std::vector<vfs::FolderEntry> entries;
  (void)vfs::ListFolder(gScratch->base, entries);
  for (const auto& entry : entries) seen[vfs::JoinPath(gScratch->base, entry.name)] = "entry";
  Snapshot(gScratch->outside, seen);
  return seen;
}

Scratch& Setup() {
  if (gScratch) return *gScratch;
  gScratch = new Scratch;
  char pattern[] = "/tmp/quillane-fuzz-import-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (!made) std::abort();
  gScratch->base = made;
  gScratch->root = gScratch->base + "/scratch";
  gScratch->outside = gScratch->base + "/outside";
  (void)vfs::CreateFolderTree(gScratch->outside + "/home", 0700);
  std::FILE* sentinel = std::fopen((gScratch->outside + "/home/.bashrc").c_str(), "w");
  if (sentinel) {
    std::fputs("sentinel\n", sentinel);
    std::fclose(sentinel);
  }
  for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "QUILLANE_REGISTRY_ROOT"})
    setenv(name, (gScratch->root + "/" + name).c_str(), 1);
  std::string config = gScratch->root + "/cfg";
  gScratch->factory = std::make_unique<VIniFileStoreFactory>(U8(config));
  gScratch->folders.folder[kPathConfig] = U8(config);
  gScratch->folders.folder[kPathUserData] = U8(gScratch->root + "/user");
  gScratch->folders.folder[kPathSshData] = U8(gScratch->root + "/ssh");
  VSetAppName(u"Karvell");
  VSetProfileFactoryGetter(&Factory);
  SetConfigPassphrase(u"local passphrase");
  std::atexit([] { (void)vfs::RemoveTree(gScratch->base); });
  return *gScratch;
}

class Sink : public IImportExportSink {
 public:
  explicit Sink(bool answer) : answer_(answer) {}
  void LogLine(VImportExportLevel, VReportMessageParams& message) override {
    message.GetTextOneLineTrimmed();  // every line's text can be formed
  }
  FilePassphraseAnswer AskFilePassphrase(const VFilePassphraseVerifier& verify,
                                         VUnicodeString& passphrase) override {
    if (!answer_) return FilePassphraseAnswer::SkipSecrets;
    passphrase = u"exporter";
    return verify(passphrase) ? FilePassphraseAnswer::Passphrase
                              : FilePassphraseAnswer::SkipSecrets;
  }

 private:
  bool answer_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Scratch& scratch = Setup();
  if (size > (1u << 20)) return 0;
  std::string in = scratch.root + "/in";
  (void)vfs::CreateFolderTree(in, 0700);
  const std::map<std::string, std::string> before = Outside();
  std::string file = in + "/settings.xml";
  if (!vfs::ReplaceFileContents(file, std::string_view(reinterpret_cast<const char*>(data), size))
           .ok())
    return 0;
  {
    Sink sink(size % 2 == 0);
    ImportExportClientSettings run(file, kImportExportGlobal | kImportExportSessions |
                                             kImportExportTasks,
                                   &sink);
    run.SetPathFolders(scratch.folders);
    run.Import();
  }
  FreeGlobalConfig();
  const std::map<std::string, std::string> after = Outside();
  if (after != before) {
    for (const auto& [path, what] : after) {
      auto it = before.find(path);
      if (it == before.end() || it->second != what)
        std::fprintf(stderr, "written outside the scratch configuration: %s\n", path.c_str());
    }
    std::abort();
  }
  (void)vfs::RemoveTree(scratch.root);
  return 0;
}
