// A generated configuration tree of the size a busy administrator has: 10,000 sessions in 500
// folders, each session file holding about 150 values of every kind, with the names and sizes
// real sessions have. Written straight to disk (no flushing), so building it is quick.
#pragma once

#include <fcntl.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "config/database/session_database.h"
#include "config/session/session_config.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_data.h"
#include "storage/ini/ini_file_store.h"
#include "storage/text/text_file.h"
#include "temp_folder.h"

namespace bench {

struct TreeValue {
  VUnicodeString name;
  VStoredValue value;
};

// The values of a session as a save writes them, cut to `count`, varied by the session number.
inline std::vector<TreeValue> SessionValues(int number, size_t count = 150) {
  static const std::vector<VSettingInfo> settings = [] {
    VRef<SessionConfig> defaults(new SessionConfig(u"template"));
    defaults->LoadFromKey(nullptr);
    return defaults->ListSettings();
  }();
  std::vector<TreeValue> values;
  for (const VSettingInfo& setting : settings) {
    if (values.size() >= count) break;
    if (!setting.hasValue) continue;
    TreeValue value{setting.name, setting.value};
    if (value.value.type == kProfileTypeString && value.value.text.empty())
      value.value.text = U8("value " + std::to_string(number % 97) + " of " + setting.name.ToUtf8());
    if (value.value.type == kProfileTypeDword) value.value.dword += static_cast<uint32_t>(number % 7);
    values.push_back(value);
  }
  values.push_back({u"Hostname", VStoredValue::String(U8("host" + std::to_string(number) + ".lab.example.net"))});
  return values;
}

inline std::string SessionFileBytes(const std::vector<TreeValue>& values) {
  VTextFile file;
  for (bool lists : {false, true}) {
    for (const TreeValue& v : values) {
      if ((v.value.type == kProfileTypeMultiSz) != lists) continue;
      switch (v.value.type) {
        case kProfileTypeDword: VIniFileDataDword(v.value.dword).Write(file, v.name); break;
        case kProfileTypeString: VIniFileDataString(v.value.text).Write(file, v.name); break;
        case kProfileTypeBinary:
          VIniFileDataBinary(v.value.bytes.data(), static_cast<uint32_t>(v.value.bytes.size()))
              .Write(file, v.name);
          break;
        default: VIniFileDataStringSz(v.value.list).Write(file, v.name); break;
      }
    }
  }
  return file.Bytes();
}

struct SessionTree {
  std::string root;                // the configuration folder
  std::vector<std::string> files;  // every session's value file
  std::vector<std::string> folders;
  std::vector<std::u16string> paths;  // "Folder12\host1234"

  ~SessionTree() {
    if (!root.empty()) vfs::RemoveTree(root).IgnoreError();
  }
};

// The benchmark programs keep their trees until they end and never destroy them: each tree is
// removed when the program exits instead, so that runs do not fill the temporary folder.
inline void RemoveTreeAtExit(const std::string& root) {
  static std::vector<std::string> roots;
  static const bool registered = [] {
    std::atexit([] {
      for (const auto& r : roots) vfs::RemoveTree(r).IgnoreError();
    });
    return true;
  }();
  (void)registered;
  roots.push_back(root);
}

// 500 folders of 20 sessions below "Sessions" in a new temporary folder.
inline void BuildSessionTree(SessionTree& tree, int folders = 500, int perFolder = 20) {
  tree.root = MakeTempFolder("quillane-tree");
  RemoveTreeAtExit(tree.root);
  for (int f = 0; f < folders; ++f) {
    std::string folderName = "Folder" + std::to_string(f);
    std::string folder = tree.root + "/Sessions/" + folderName;
    vfs::CreateFolderTree(folder, 0777).IgnoreError();
    tree.folders.push_back(folder);
    for (int s = 0; s < perFolder; ++s) {
      int number = f * perFolder + s;
      std::string name = "host" + std::to_string(number);
      std::string path = folder + "/" + name + ".ini";
      vfs::File file(vfs::Env::Default(), ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
      file.WriteAll(SessionFileBytes(SessionValues(number))).IgnoreError();
      tree.files.push_back(path);
      tree.paths.push_back(U8(folderName + "\\" + name));
    }
  }
}

// The tree every measure of a program shares, built on first use. Each folder's display order is
// recorded once before anything is measured, as a host does the first time it shows the tree, so
// that every measure sees the same files whichever runs first.
struct SharedTree {
  SessionTree tree;
  std::unique_ptr<VIniFileStoreFactory> factory;
};

inline SharedTree& SharedSessionTree() {
  static SharedTree* shared = [] {
    auto* s = new SharedTree;  // never destroyed: the tree goes at exit (RemoveTreeAtExit)
    BuildSessionTree(s->tree);
    s->factory = std::make_unique<VIniFileStoreFactory>(U8(s->tree.root));
    SessionDatabase database(s->factory.get());
    VStringArray folders;
    database.ListFolders(u"", folders);
    for (const auto& folder : folders) {
      VStringArray names;
      database.ListSessions(folder, names);
    }
    return s;
  }();
  return *shared;
}

}  // namespace bench
