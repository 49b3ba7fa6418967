#include "config/session/session_store.h"

#include <memory>

#include "config/database/session_database_instance.h"
#include "config/database/session_database.h"
#include "config/database/folder_data.h"
#include "config/session/session_messages.h"
#include "platform/win32_errors.h"
#include "storage/model/store_messages.h"
#include "storage/model/key_cleanup.h"
#include "storage/model/key_path.h"

namespace {

// The keys from the root to a session or folder, opened outer to inner and let go inner first.
class KeyChain {
 public:
  // Opens "Sessions" and then each level; with `create`, levels that are missing are made.
  KeyChain(VProfileStore& store, const std::vector<VUnicodeString>& levels, bool create)
      : KeyChain(store, levels, create, false) {}
  // With `expectSession`, a read-only chain opens the last level straight away and asks it whether
  // it is a session: a session, which is what is mostly looked for, is then known with one look
  // at the store instead of a check that the level exists followed by the same question. Any
  // other answer is settled as without it.
  KeyChain(VProfileStore& store, const std::vector<VUnicodeString>& levels, bool create,
           bool expectSession) {
    VProfileKey* parent = store.GetRootKey();
    exists_ = true;
    // "Sessions" and then the levels, named where they are rather than copied: every session
    // opened comes here.
    const size_t count = levels.size() + 1;
    keys_.reserve(count);
    // A read-only store can say at once whether the session is there: its last level is
    // looked at first, and nothing is opened above a session that does not exist.
    const bool openLastFirst = expectSession && !create && store.IsReadOnly();
    for (size_t i = 0; i < count; ++i) {
      const char16_t* level = i == 0 ? kSessionsKeyName : levels[i - 1].c_str();
      if (openLastFirst && i + 1 == count) {
        auto key = std::make_unique<VProfileKey>(*parent, level, 0);
        VDword isSession = 0;
        if (key->ReadDword(kIsSessionValue, isSession)) {
          keys_.push_back(std::move(key));
          knownSession_ = true;
          break;
        }
      }
      bool present = parent->SubKeyExists(level);
      if (!present && exists_) firstMissing_ = i;
      if (!present) exists_ = false;
      if (!present && !create) break;
      // Folders on the way are made; the last key comes into being with its values, so a
      // session in a folder store is its value file alone, without an empty folder beside it.
      bool makeFolder = !present && i + 1 < count;
      keys_.push_back(std::make_unique<VProfileKey>(*parent, level,
                                                    makeFolder ? kProfileKeyCreate : 0));
      parent = keys_.back().get();
    }
  }
  ~KeyChain() {
    while (!keys_.empty()) keys_.pop_back();
  }
  bool Exists() const { return exists_; }
  // The last key answered that it is a session (only asked with `expectSession`).
  bool KnownSession() const { return knownSession_; }
  // The position of the first level that was missing ("Sessions" is 0).
  size_t FirstMissing() const { return firstMissing_; }
  VProfileKey& Key() { return *keys_.back(); }
  // The keys opened, "Sessions" first.
  size_t Depth() const { return keys_.size(); }
  VProfileKey& KeyAt(size_t i) { return *keys_[i]; }
  VProfileKey& Parent() { return *keys_[keys_.size() - 2]; }

 private:
  std::vector<std::unique_ptr<VProfileKey>> keys_;
  bool exists_ = false;
  bool knownSession_ = false;
  size_t firstMissing_ = 0;
};

void SetError(VReportMessageParams& error, uint32_t id, const VUnicodeString& path) {
  error.Reset(id);
  error.AddInsert(path.c_str());
}

// The levels of `path`; an empty path names no session.
bool SplitOrRefuse(const VUnicodeString& path, std::vector<VUnicodeString>& levels,
                   VReportMessageParams& error) {
  levels = VKeyPath::Parse(path).Levels();
  if (!levels.empty()) return true;
  SetError(error, kMsgSessionMissing, path);
  return false;
}

// `ok`, or false with the reason the key gave for not writing.
bool Saved(bool ok, VProfileKey& key, const VUnicodeString& path, VReportMessageParams& error) {
  if (ok) return true;
  error.Reset(kMsgSessionNotSaved);
  error.AddInsert(path.c_str());
  error.AddInsert(key.GetLastError().GetTextOneLineTrimmed().c_str());
  return false;
}

VUnicodeString JoinLevel(const VUnicodeString& prefix, const VUnicodeString& name) {
  return VKeyPath::Join(prefix, name);
}

// The item database keeps folder listings; the folder whose listing a new or deleted key
// changes (the first `depth` levels) is read again when next asked for.
void ForgetListing(const std::vector<VUnicodeString>& levels, size_t depth) {
  SessionDatabase* database = GetSessionDatabase();
  if (!database) return;
  VUnicodeString folder;
  for (size_t i = 0; i < depth && i < levels.size(); ++i) folder = JoinLevel(folder, levels[i]);
  database->InvalidateFolder(folder);
}

// The folder data key of a folder shares the folder with its sessions; a path through or to it
// would write sessions into it, or delete the folder's order with a session's name.
bool RefuseFolderDataLevel(const std::vector<VUnicodeString>& levels, VReportMessageParams& error) {
  for (const VUnicodeString& level : levels) {
    if (!IsFolderDataName(level)) continue;
    SetError(error, kMsgSessionNameReserved, level);
    return true;
  }
  return false;
}

// A new session's folders must be folders: a session made below a session is never listed, and
// its parent's file and folder would then be taken for one key. Checked before anything is made.
bool RefuseSessionAbove(VProfileStore& store, const std::vector<VUnicodeString>& levels,
                        VReportMessageParams& error) {
  if (levels.size() < 2) return false;
  std::vector<VUnicodeString> above(levels.begin(), levels.end() - 1);
  // The chain holds "Sessions" and then each level that exists, up to the first missing one.
  KeyChain chain(store, above, false);
  VUnicodeString path;
  for (size_t i = 1; i < chain.Depth(); ++i) {
    path = JoinLevel(path, above[i - 1]);
    if (IsSessionKey(chain.KeyAt(i))) {
      SetError(error, kMsgSessionInsideSession, path);
      return true;
    }
  }
  return false;
}

// Checks a path where a session is about to be written for the first time.
bool RefuseNewSessionPath(VProfileStore& store, const std::vector<VUnicodeString>& levels,
                          VReportMessageParams& error) {
  return RefuseFolderDataLevel(levels, error) || RefuseSessionAbove(store, levels, error);
}

}  // namespace

std::vector<VUnicodeString> SplitSessionPath(std::u16string_view path) {
  return VKeyPath::Parse(path).Levels();
}

SessionConfig* OpenSessionByPath(const VUnicodeString& path, VReportMessageParams& error,
                                 VProfileStoreFactory* factory) {
  std::vector<VUnicodeString> levels = SplitSessionPath(path);
  if (levels.empty()) {
    SetError(error, kMsgSessionMissing, path);
    return nullptr;
  }
  if (RefuseFolderDataLevel(levels, error)) return nullptr;
  const VUnicodeString& name = levels.back();
  {
    VProfileStore store(true, factory);
    KeyChain chain(store, levels, false, true);
    if (chain.Exists()) {
      VDword isSession = 0;
      if (!chain.KnownSession() && !chain.Key().ReadDword(kIsSessionValue, isSession)) {
        SetError(error, kMsgSessionIsFolder, path);
        return nullptr;
      }
      auto* session = new SessionConfig(name);
      session->SetSessionPath(path);
      chain.Key().GetLastError().Reset(0);
      session->LoadFromKey(&chain.Key());
      // A session file that is there but cannot be read would otherwise show (and be saved as)
      // nothing but defaults.
      if (chain.Key().GetLastError().GetMessageId() == kMsgValueFileUnreadable) {
        error.Reset(kMsgSessionUnreadable);
        error.AddInsert(path.c_str());
        error.AddInsert(chain.Key().GetLastError().GetTextOneLineTrimmed().c_str());
        session->Release();
        return nullptr;
      }
      session->GetCommonConfig().SetReadOnly(!chain.Key().CanWrite());
      return session;
    }
  }
  if (!(levels.size() == 1 && vtext::EqualsNoCase(name, kDefaultSessionName))) {
    SetError(error, kMsgSessionMissing, path);
    return nullptr;
  }
  // The template is made of defaults the first time it is asked for, and kept from then on.
  auto* session = new SessionConfig(VUnicodeString(kDefaultSessionName));
  session->SetSessionPath(VUnicodeString(kDefaultSessionName));
  session->LoadFromKey(nullptr);
  VReportMessageParams ignored;
  SaveSessionAtPath(*session, VUnicodeString(kDefaultSessionName), true, ignored, factory);
  return session;
}

bool SessionKeyExists(const VUnicodeString& path, VProfileStoreFactory* factory) {
  std::vector<VUnicodeString> levels = SplitSessionPath(path);
  if (levels.empty()) return false;
  VProfileStore store(true, factory);
  return KeyChain(store, levels, false).Exists();
}

bool IsSessionWritable(const VUnicodeString& path, VProfileStoreFactory* factory) {
  std::vector<VUnicodeString> levels = SplitSessionPath(path);
  if (levels.empty()) return false;
  VProfileStore store(false, factory);
  KeyChain chain(store, levels, false);
  return chain.Exists() && chain.Key().CanWrite();
}

bool SaveSessionAtPath(SessionConfig& session, const VUnicodeString& path, bool force,
                       VReportMessageParams& error, VProfileStoreFactory* factory) {
  std::vector<VUnicodeString> levels = SplitSessionPath(path);
  if (levels.empty()) {
    SetError(error, kMsgSessionMissing, path);
    return false;
  }
  if (RefuseFolderDataLevel(levels, error)) return false;
  bool existed = false;
  size_t firstMissing = 0;
  {
    VProfileStore store(false, factory);
    if (!KeyChain(store, levels, false).Exists() && RefuseSessionAbove(store, levels, error))
      return false;
    KeyChain chain(store, levels, true);
    VProfileKey& key = chain.Key();
    existed = chain.Exists();
    firstMissing = chain.FirstMissing();
    if (existed && !key.CanWrite()) {
      SetError(error, kMsgSessionReadOnly, path);
      return false;
    }
    // The file is written here rather than when the key goes, so that a refusal is reported.
    bool saved = session.Save(key, force);
    bool flushed = key.Flush();
    // Below the first level that was missing everything is new: its parent's listing changed.
    if (!existed) ForgetListing(levels, firstMissing > 0 ? firstMissing - 1 : 0);
    if (saved && flushed) return true;
    error.Reset(kMsgSessionNotSaved);
    error.AddInsert(path.c_str());
    error.AddInsert(key.GetLastError().GetTextOneLineTrimmed().c_str());
  }
  if (!existed) {
    // A failed save leaves no key it made on the way, so that the store is as it was.
    std::vector<VUnicodeString> all;
    all.emplace_back(kSessionsKeyName);
    all.insert(all.end(), levels.begin(), levels.end());
    VProfileStore store(false, factory);
    RemoveMadeKeys(store, all, firstMissing);
  }
  return false;
}

bool UpdateSessionAtPath(const VUnicodeString& path,
                         const std::function<bool(SessionConfig&, VReportMessageParams&)>& change,
                         VReportMessageParams& error, VProfileStoreFactory* factory) {
  std::vector<VUnicodeString> levels;
  if (!SplitOrRefuse(path, levels, error)) return false;
  if (RefuseFolderDataLevel(levels, error)) return false;
  {
    VProfileStore store(false, factory);
    KeyChain chain(store, levels, false);
    if (chain.Exists()) {
      VProfileKey& key = chain.Key();
      VDword isSession = 0;
      if (!key.ReadDword(kIsSessionValue, isSession)) {
        SetError(error, kMsgSessionIsFolder, path);
        return false;
      }
      VRef<SessionConfig> session(new SessionConfig(levels.back()));
      session->SetSessionPath(path);
      key.GetLastError().Reset(0);
      session->LoadFromKey(&key);
      // A session file that is there but cannot be read is not changed from defaults.
      if (key.GetLastError().GetMessageId() == kMsgValueFileUnreadable) {
        error.Reset(kMsgSessionUnreadable);
        error.AddInsert(path.c_str());
        error.AddInsert(key.GetLastError().GetTextOneLineTrimmed().c_str());
        return false;
      }
      // A change that is refused is reported before a key that may not be written.
      if (!change(*session.Get(), error)) return false;
      if (!key.CanWrite()) {
        SetError(error, kMsgSessionReadOnly, path);
        return false;
      }
      bool saved = session->Save(key, false);
      return Saved(key.Flush() && saved, key, path, error);
    }
  }
  // Only the template is made when missing; it is then changed as any other session.
  if (!(levels.size() == 1 && vtext::EqualsNoCase(levels.back(), kDefaultSessionName))) {
    SetError(error, kMsgSessionMissing, path);
    return false;
  }
  VRef<SessionConfig> session(OpenSessionByPath(path, error, factory));
  if (!session) return false;
  if (!change(*session.Get(), error)) return false;
  return SaveSessionAtPath(*session.Get(), path, false, error, factory);
}

bool CreateSessionFromDefault(const VUnicodeString& path, VReportMessageParams& error,
                              VProfileStoreFactory* factory) {
  std::vector<VUnicodeString> levels = SplitSessionPath(path);
  if (levels.empty()) {
    SetError(error, kMsgSessionMissing, path);
    return false;
  }
  {
    VProfileStore store(true, factory);
    if (RefuseNewSessionPath(store, levels, error)) return false;
  }
  if (SessionKeyExists(path, factory)) {
    SetError(error, kMsgSessionExists, path);
    return false;
  }
  SessionConfig* made = OpenSessionByPath(VUnicodeString(kDefaultSessionName), error, factory);
  if (!made) return false;
  made->Release();
  // The template's key is loaded as the new session, so that the rules of an ordinary session
  // apply (a part without a protocol gets "None") and the values no part knows come along.
  VRef<SessionConfig> session(new SessionConfig(levels.back()));
  session->SetSessionPath(path);
  {
    VProfileStore store(true, factory);
    KeyChain chain(store, {VUnicodeString(kDefaultSessionName)}, false);
    session->LoadFromKey(chain.Exists() ? &chain.Key() : nullptr);
  }
  return SaveSessionAtPath(*session.Get(), path, true, error, factory);
}

bool DeleteSessionAtPath(const VUnicodeString& path, VReportMessageParams& error,
                         VProfileStoreFactory* factory) {
  std::vector<VUnicodeString> levels = SplitSessionPath(path);
  if (RefuseFolderDataLevel(levels, error)) return false;
  VProfileStore store(false, factory);
  KeyChain chain(store, levels, false);
  if (levels.empty() || !chain.Exists()) {
    SetError(error, kMsgSessionMissing, path);
    return false;
  }
  if (!IsSessionKey(chain.Key())) {
    SetError(error, kMsgSessionIsFolder, path);
    return false;
  }
  if (!chain.Key().CanWrite()) {
    SetError(error, kMsgSessionReadOnly, path);
    return false;
  }
  VProfileKey& parent = chain.Parent();
  if (parent.DeleteSubKey(levels.back().c_str()) && parent.Flush()) {
    ForgetListing(levels, levels.size() - 1);
    return true;
  }
  error.Reset(kMsgSessionNotDeleted);
  error.AddInsert(path.c_str());
  error.AddInsert(parent.GetLastError().GetTextOneLineTrimmed().c_str());
  return false;
}

std::vector<VUnicodeString> ListSessionPaths(const VUnicodeString& folder,
                                             VProfileStoreFactory* factory) {
  std::vector<VUnicodeString> out;
  SessionDatabase database(factory);
  SessionDatabase::WalkOptions options;
  for (const VUnicodeString& level : SplitSessionPath(folder))
    options.startFolder = JoinLevel(options.startFolder, level);
  database.WalkSessions(
      [&](const VUnicodeString& parent, const VUnicodeString& name, VProfileKey&) {
        out.push_back(JoinLevel(parent, name));
        return true;
      },
      options);
  return out;
}

bool ApplyDefaultSessionChanges(const SessionConfig& defaultSession, const VUnicodeString& path,
                                ApplyDefaultCounts& counts, VReportMessageParams& error,
                                VProfileStoreFactory* factory) {
  ++counts.total;
  if (!IsSessionWritable(path, factory)) {
    ++counts.notUpdated;
    SetError(error, kMsgSessionReadOnly, path);
    return false;
  }
  SessionConfig* session = OpenSessionByPath(path, error, factory);
  if (!session) {
    ++counts.notUpdated;
    return false;
  }
  VRef<SessionConfig> held(session);
  session->CopySession(defaultSession);
  if (SaveSessionAtPath(*session, path, true, error, factory)) return true;
  ++counts.notUpdated;
  return false;
}

void ApplyDefaultSessionChangesToAll(const SessionConfig& defaultSession,
                                     ApplyDefaultCounts& counts, VProfileStoreFactory* factory) {
  for (const VUnicodeString& path : ListSessionPaths(VUnicodeString(), factory)) {
    if (vtext::EqualsNoCase(path, kDefaultSessionName)) continue;
    VReportMessageParams ignored;
    ApplyDefaultSessionChanges(defaultSession, path, counts, ignored, factory);
  }
}

bool DescribeApplyDefaultResult(const ApplyDefaultCounts& counts, VReportMessageParams& message) {
  if (counts.notUpdated == 0) return false;
  message.Reset(kMsgSessionsNotUpdated);
  message.AddInsertFormatted(nullptr, static_cast<uint32_t>(counts.total));
  message.AddInsertFormatted(nullptr, static_cast<uint32_t>(counts.notUpdated));
  return true;
}

void SetConnectConfigParentWindow(ISessionConfig* session, void* parent) {
  if (auto* config = dynamic_cast<SessionConfig*>(session))
    config->GetCommonConfig().SetParentWindow(parent);
}
