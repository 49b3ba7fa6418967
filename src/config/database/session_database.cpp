#include "config/database/session_database.h"

#include "config/global/global_config_instance.h"
#include "config/parts/key_chain.h"

namespace {

// `path` is `folder` or lies below it (without regard to case, as the stores find keys).
bool IsAtOrBelow(std::u16string_view path, std::u16string_view folder) {
  if (folder.empty()) return true;
  if (path.size() < folder.size() || !vtext::EqualsNoCase(path.substr(0, folder.size()), folder))
    return false;
  return path.size() == folder.size() || path[folder.size()] == SessionDatabase::kPathSeparator;
}

VUnicodeString ChildPath(const VUnicodeString& folder, const VUnicodeString& name) {
  if (folder.empty()) return name;
  VUnicodeString path = folder;
  path.push_back(SessionDatabase::kPathSeparator);
  path += name;
  return path;
}

}  // namespace

std::unique_ptr<VProfileStore> SessionDatabase::OpenStore(bool readOnly) {
  return std::make_unique<VProfileStore>(readOnly, factory_);
}

std::vector<VUnicodeString> SessionDatabase::SplitPath(std::u16string_view path) {
  std::vector<VUnicodeString> levels;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(kPathSeparator, start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) levels.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return levels;
}

VUnicodeString SessionDatabase::NormalizePath(std::u16string_view path) {
  VUnicodeString normalized;
  for (const auto& level : SplitPath(path)) normalized = ChildPath(normalized, level);
  return normalized;
}

bool SessionDatabase::HideDotSessionFiles() {
  GlobalConfig* config = nullptr;
  if (!GetGlobalConfig(&config, -1) || !config) return true;
  VRef<GlobalConfig> held(config);
  return held->hideDotSessionFiles.current;
}

namespace {

// Whether NormalizePath would return `path` unchanged: a search asks for a thousand folders by
// the paths the cache gave it, which need no splitting and joining again.
bool IsNormalPath(std::u16string_view path) {
  if (path.empty()) return true;
  if (path.front() == SessionDatabase::kPathSeparator || path.back() == SessionDatabase::kPathSeparator)
    return false;
  const char16_t doubled[] = {SessionDatabase::kPathSeparator, SessionDatabase::kPathSeparator};
  return path.find(std::u16string_view(doubled, 2)) == std::u16string_view::npos;
}

}  // namespace

const ProfileFolderData* SessionDatabase::CachedFolder(const VUnicodeString& folder) {
  if (IsNormalPath(folder)) {
    auto found = cache_.find(folder);
    if (found != cache_.end()) return &found->second;
  }
  VUnicodeString normalized = NormalizePath(folder);
  auto found = cache_.find(normalized);
  if (found != cache_.end()) return &found->second;
  // The folder is read while the lock is held, so that two threads asking at once read and write
  // its folder data once.
  bool hideDot = HideDotSessionFiles();
  std::unique_ptr<VProfileStore> store = OpenStore(false);
  KeyChain chain(*store->GetRootKey());
  // A folder that does not exist is not remembered: it may be made at any time.
  std::vector<VUnicodeString> levels = SplitPath(normalized);
  if (!chain.Open(kSessionsKey) || !chain.OpenAll(levels)) return nullptr;
  if (!levels.empty() && IsSessionKey(chain.Key())) return nullptr;
  ProfileFolderData data;
  data.Build(chain.Key(), hideDot);
  return &cache_.emplace(normalized, std::move(data)).first->second;
}

bool SessionDatabase::GetFolderData(const VUnicodeString& folder, ProfileFolderData& data) {
  std::lock_guard<std::mutex> lock(mutex_);
  const ProfileFolderData* cached = CachedFolder(folder);
  if (!cached) return false;
  data = *cached;
  return true;
}

bool SessionDatabase::ListSessions(const VUnicodeString& folder, VStringArray& names) {
  std::lock_guard<std::mutex> lock(mutex_);
  const ProfileFolderData* cached = CachedFolder(folder);
  names = cached ? cached->Sessions() : VStringArray();
  return cached != nullptr;
}

bool SessionDatabase::VisitSessions(const VUnicodeString& folder,
                                    const std::function<void(const VUnicodeString& name)>& visit) {
  std::lock_guard<std::mutex> lock(mutex_);
  const ProfileFolderData* cached = CachedFolder(folder);
  if (!cached) return false;
  for (const auto& name : cached->Sessions()) visit(name);
  return true;
}

bool SessionDatabase::ListFolders(const VUnicodeString& folder, VStringArray& names) {
  std::lock_guard<std::mutex> lock(mutex_);
  const ProfileFolderData* cached = CachedFolder(folder);
  names = cached ? cached->Folders() : VStringArray();
  return cached != nullptr;
}

void SessionDatabase::InvalidateFolder(const VUnicodeString& folder) {
  VUnicodeString normalized = NormalizePath(folder);
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = cache_.begin(); it != cache_.end();) {
    it = IsAtOrBelow(it->first, normalized) ? cache_.erase(it) : std::next(it);
  }
}

void SessionDatabase::InvalidateAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  cache_.clear();
}

bool SessionDatabase::SessionExists(const VUnicodeString& path) {
  std::vector<VUnicodeString> levels = SplitPath(path);
  if (levels.empty() || IsFolderDataName(levels.back())) return false;
  std::unique_ptr<VProfileStore> store = OpenStore(true);
  KeyChain chain(*store->GetRootKey());
  return chain.Open(kSessionsKey) && chain.OpenAll(levels) && IsSessionKey(chain.Key());
}

bool SessionDatabase::FolderExists(const VUnicodeString& path) {
  std::vector<VUnicodeString> levels = SplitPath(path);
  if (!levels.empty() && IsFolderDataName(levels.back())) return false;
  std::unique_ptr<VProfileStore> store = OpenStore(true);
  KeyChain chain(*store->GetRootKey());
  // "Sessions" itself is the root folder whatever it holds.
  return chain.Open(kSessionsKey) && chain.OpenAll(levels) &&
         (levels.empty() || !IsSessionKey(chain.Key()));
}

namespace {

struct Walker {
  const SessionDatabase::SessionVisitor& visit;
  const SessionDatabase::FolderVisitor& onFolder;
  SessionDatabase::WalkResult& result;

  // False when a visitor ended the walk.
  bool Walk(VProfileKey& folder, const VUnicodeString& path) {
    VProfileKeyIterator iterator(folder, false);
    VUnicodeString name;
    while (iterator.Next(name)) {
      if (IsFolderDataName(name)) continue;
      VProfileKey sub(folder, name.c_str());
      if (IsSessionKey(sub)) {
        ++result.sessions;
        if (visit && !visit(path, name, sub)) return false;
        continue;
      }
      VUnicodeString childPath = ChildPath(path, name);
      ++result.folders;
      if (onFolder) onFolder(childPath);
      if (!Walk(sub, childPath)) return false;
    }
    return true;
  }
};

}  // namespace

SessionDatabase::WalkResult SessionDatabase::WalkSessions(const SessionVisitor& visit,
                                                          const WalkOptions& options) {
  WalkResult result;
  std::unique_ptr<VProfileStore> store = OpenStore(!options.writable);
  KeyChain chain(*store->GetRootKey());
  std::vector<VUnicodeString> levels = SplitPath(options.startFolder);
  if (!chain.Open(kSessionsKey) || !chain.OpenAll(levels) ||
      (!levels.empty() && IsSessionKey(chain.Key())))
    return result;
  result.started = true;
  VUnicodeString start;
  for (const auto& level : levels) start = ChildPath(start, level);
  Walker walker{visit, options.onFolder, result};
  result.stopped = !walker.Walk(chain.Key(), start);
  return result;
}
