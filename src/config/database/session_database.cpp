#include "config/database/session_database.h"

#include <deque>

#include "config/global/global_config_instance.h"
#include "config/parts/key_chain.h"
#include "storage/model/key_path.h"

namespace {

// `path` is `folder` or lies below it (without regard to case, as the stores find keys).
bool IsAtOrBelow(std::u16string_view path, std::u16string_view folder) {
  if (folder.empty()) return true;
  if (path.size() < folder.size() || !vtext::EqualsNoCase(path.substr(0, folder.size()), folder))
    return false;
  return path.size() == folder.size() || path[folder.size()] == SessionDatabase::kPathSeparator;
}

VUnicodeString ChildPath(const VUnicodeString& folder, const VUnicodeString& name) {
  return VKeyPath::Join(folder, name);
}

}  // namespace

std::unique_ptr<VProfileStore> SessionDatabase::OpenStore(bool readOnly) {
  return std::make_unique<VProfileStore>(readOnly, factory_);
}

std::vector<VUnicodeString> SessionDatabase::SplitPath(std::u16string_view path) {
  return VKeyPath::ParseBackslashed(path).Levels();
}

VUnicodeString SessionDatabase::NormalizePath(std::u16string_view path) {
  return VKeyPath::ParseBackslashed(path).Text();
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
  const SessionDatabase::NameVisitor& visitName;
  const SessionDatabase::WalkOptions& options;
  SessionDatabase::WalkResult& result;

  // False when a visitor ended the walk. The path of each folder is built once, from its
  // parent's, so that a walk is linear in the depth of the tree.
  bool Walk(VProfileKey& folder, const VUnicodeString& path) {
    folder.GetLastError().Reset(0);
    VProfileKeyIterator iterator(folder, false);
    if (uint32_t code = folder.GetLastError().GetMessageId()) result.skipped.push_back({path, code});
    VUnicodeString name;
    int type = -1;
    while (iterator.Next(name, type)) {
      if (IsFolderDataName(name)) continue;
      if (options.hideDotNames && !name.empty() && name[0] == u'.') continue;
      // A folder store tells sessions (value files) from folders in its listing; other stores
      // are asked key by key.
      bool known = type == kProfileTypeFileKey || type == kProfileTypeFolderFileKey ||
                   type == kProfileTypeFolderKey;
      if (known && !visit) {
        if (type != kProfileTypeFolderKey) {
          ++result.sessions;
          if (visitName && !visitName(path, name)) return false;
          continue;
        }
      }
      VProfileKey sub(folder, name.c_str());
      if (known ? type != kProfileTypeFolderKey : IsSessionKey(sub)) {
        ++result.sessions;
        if (visit && !visit(path, name, sub)) return false;
        if (visitName && !visitName(path, name)) return false;
        continue;
      }
      VUnicodeString childPath = ChildPath(path, name);
      ++result.folders;
      if (options.onFolder) options.onFolder(childPath);
      if (!Walk(sub, childPath)) return false;
    }
    return true;
  }
};

}  // namespace

SessionDatabase::WalkResult SessionDatabase::WalkSessions(const SessionVisitor& visit,
                                                          const WalkOptions& options) {
  return Walk(visit, nullptr, options);
}

SessionDatabase::WalkResult SessionDatabase::WalkSessionNames(const NameVisitor& visit,
                                                              const WalkOptions& options) {
  return Walk(nullptr, visit, options);
}

SessionDatabase::WalkResult SessionDatabase::Walk(const SessionVisitor& visit,
                                                  const NameVisitor& visitName,
                                                  const WalkOptions& options) {
  WalkResult result;
  std::unique_ptr<VProfileStore> store = OpenStore(!options.writable);
  KeyChain chain(*store->GetRootKey());
  std::vector<VUnicodeString> levels = SplitPath(options.startFolder);
  if (!chain.Open(kSessionsKey) || !chain.OpenAll(levels) ||
      (!levels.empty() && IsSessionKey(chain.Key())))
    return result;
  result.started = true;
  VUnicodeString start = VKeyPath(levels).Text();
  Walker walker{visit, visitName, options, result};
  result.stopped = !walker.Walk(chain.Key(), start);
  return result;
}

std::vector<SkippedFolder> SessionDatabase::WalkAllSessionNames(
    const std::function<void(const VUnicodeString& folder, const VUnicodeString& name)>& visit) {
  WalkOptions options;
  options.hideDotNames = HideDotSessionFiles();
  return WalkSessionNames(
             [&](const VUnicodeString& folder, const VUnicodeString& name) {
               visit(folder, name);
               return true;
             },
             options)
      .skipped;
}

std::vector<SkippedFolder> ISessionListing::VisitAllSessions(
    const std::function<void(const VUnicodeString& folder, const VUnicodeString& name)>& visit) {
  std::deque<VUnicodeString> queue{VUnicodeString()};
  while (!queue.empty()) {
    VUnicodeString folder = std::move(queue.front());
    queue.pop_front();
    VisitSessions(folder, [&](const VUnicodeString& name) { visit(folder, name); });
    VStringArray folders;
    ListFolders(folder, folders);
    for (const auto& sub : folders) queue.push_back(ChildPath(folder, sub));
  }
  return {};
}
