#include "storage/values/profile_path.h"

#include <stdlib.h>

#include <mutex>

#include "platform/app_info.h"

namespace {

bool StartsWithFolder(std::u16string_view path, std::u16string_view folder) {
  if (folder.empty() || path.size() < folder.size() || path.substr(0, folder.size()) != folder)
    return false;
  return path.size() == folder.size() || path[folder.size()] == u'/' || folder.back() == u'/';
}

}  // namespace

const char16_t* VPathPlaceholder(VPathKind kind) {
  switch (kind) {
    case kPathConfig: return u"${TLV_CONFIG_PATH}";
    case kPathInstall: return u"${TLV_INSTALL_PATH}";
    case kPathUserData: return u"${TLV_USER_DATA_PATH}";
    case kPathSshData: return u"${TLV_SSH_DATA_PATH}";
    default: return u"";
  }
}

VPathFolders VPathFolders::Current() {
  VPathFolders folders;
  folders.folder[kPathConfig] = GetTlvConfigPathSub();
  folders.folder[kPathInstall] = GetTlvInstallPathSub();
  folders.folder[kPathUserData] = GetTlvUserDataPathSub();
  folders.folder[kPathSshData] = GetTlvSshDataPathSub();
  return folders;
}

std::shared_ptr<const VPathFolders> VPathFolders::Shared() {
  struct Kept {
    uint64_t generation = 0;
    std::string home, dataHome, configHome;
    std::shared_ptr<const VPathFolders> folders;
  };
  static std::mutex mutex;
  static Kept kept;
  auto same = [](const std::string& was, const char* variable) {
    const char* now = getenv(variable);
    return was == (now ? now : "");
  };
  std::lock_guard<std::mutex> lock(mutex);
  const uint64_t generation = VAppInfoGeneration();
  if (kept.folders && kept.generation == generation && same(kept.home, "HOME") &&
      same(kept.dataHome, "XDG_DATA_HOME") && same(kept.configHome, "XDG_CONFIG_HOME"))
    return kept.folders;
  kept.generation = generation;
  kept.home = vapp::GetEnv("HOME");
  kept.dataHome = vapp::GetEnv("XDG_DATA_HOME");
  kept.configHome = vapp::GetEnv("XDG_CONFIG_HOME");
  kept.folders = std::make_shared<const VPathFolders>(Current());
  return kept.folders;
}

VUnicodeString VExpandStoredPath(const VUnicodeString& stored, const VPathFolders& folders,
                                 VPathKind& kind, VPathKind onlyKind) {
  kind = kPathNone;
  for (int k = kPathConfig; k <= kPathSshData; ++k) {
    if (onlyKind != kPathNone && k != onlyKind) continue;
    std::u16string_view placeholder = VPathPlaceholder(static_cast<VPathKind>(k));
    if (stored.compare(0, placeholder.size(), placeholder) != 0) continue;
    const VUnicodeString& folder = folders.folder[static_cast<size_t>(k)];
    if (folder.empty()) continue;
    // A path saved on the other platform separates with backslashes after the placeholder.
    std::u16string rest = stored.substr(placeholder.size());
    for (char16_t& c : rest) {
      if (c == u'\\') c = u'/';
    }
    kind = static_cast<VPathKind>(k);
    return folder + rest;
  }
  return stored;
}

VUnicodeString VContractPath(const VUnicodeString& path, const VPathFolders& folders,
                             VPathKind preferred, VPathKind onlyKind) {
  auto replace = [&](int k) {
    const VUnicodeString& folder = folders.folder[static_cast<size_t>(k)];
    return VUnicodeString(VPathPlaceholder(static_cast<VPathKind>(k)) + path.substr(folder.size()));
  };
  if (preferred != kPathNone && (onlyKind == kPathNone || onlyKind == preferred) &&
      StartsWithFolder(path, folders.folder[static_cast<size_t>(preferred)]))
    return replace(preferred);
  for (int k = kPathConfig; k <= kPathSshData; ++k) {
    if (onlyKind != kPathNone && k != onlyKind) continue;
    if (StartsWithFolder(path, folders.folder[static_cast<size_t>(k)])) return replace(k);
  }
  return path;
}

ProfilePath::ProfilePath(VPathKind fixedKind, bool readV2First)
    : fixedKind_(fixedKind), readV2First_(readV2First) {}

const VPathFolders& ProfilePath::Folders() const {
  if (!folders_) folders_ = VPathFolders::Shared();
  return *folders_;
}

namespace {
bool MayHoldPlaceholder(std::u16string_view text) { return text.substr(0, 2) == u"${"; }
}  // namespace

VUnicodeString ProfilePath::GetStoredText() const {
  return VContractPath(Current(), Folders(), kind_, fixedKind_);
}

bool ProfilePath::ReadValue(const VProfileKey& key, const VUnicodeString& valueName,
                            VUnicodeString* value) {
  VUnicodeString stored;
  VUnicodeString v2;
  if (readV2First_) v2 = valueName + u" V2";
  if (readV2First_ && key.ReadString(v2.c_str(), stored)) {
    readFrom_ = v2;
  } else if (ReadNamedString(key, valueName, stored)) {
    readFrom_ = valueName;
  } else {
    return false;
  }
  VPathKind kind = kPathNone;
  if (MayHoldPlaceholder(stored)) stored = VExpandStoredPath(stored, Folders(), kind, fixedKind_);
  if (value) {
    *value = std::move(stored);
    kind_ = kind;
  }
  return true;
}

bool ProfilePath::WriteValue(VProfileKey& key, const VUnicodeString& valueName,
                             const VUnicodeString& value) {
  const VUnicodeString& target = readFrom_.empty() ? valueName : readFrom_;
  VUnicodeString stored = VContractPath(value, Folders(), kind_, fixedKind_);
  return key.WriteString(target.c_str(), stored.c_str());
}

bool ProfilePath::GetStoredValue(VStoredValue& value) const {
  value = VStoredValue::String(GetStoredText());
  return true;
}

bool ProfilePath::SetFromText(const VUnicodeString& text, VReportMessageParams&) {
  VPathKind kind = kPathNone;
  Current() = MayHoldPlaceholder(text) ? VExpandStoredPath(text, Folders(), kind, fixedKind_)
                                       : VUnicodeString(text);
  kind_ = kind;
  return true;
}
