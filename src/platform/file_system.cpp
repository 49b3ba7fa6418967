#include "platform/file_system.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <set>

#include "platform/platform_messages.h"
#include "platform/win32_errors.h"

namespace vfs {
namespace {

using Clock = std::chrono::steady_clock;

bool IsMissing(uint32_t code) { return code == win32::kFileNotFound || code == win32::kPathNotFound; }

bool ModeIsReadOnly(Env* env, const EntryStat& st, const std::string& path) {
  // A file without any write bit is read-only even for root, as an administrator respects the
  // read-only attribute on the other platform.
  if ((st.mode & 0222) == 0) return true;
  return !env->Access(path, W_OK);
}

FileInfo InfoOf(Env* env, const EntryStat& st, const std::string& path) {
  FileInfo info;
  info.exists = true;
  info.isDirectory = st.kind == EntryKind::kFolder;
  info.mode = st.mode;
  info.isRegular = st.kind == EntryKind::kFile;
  info.size = st.size;
  info.readOnly = !info.isDirectory && ModeIsReadOnly(env, st, path);
  return info;
}

std::mutex gNoticeMutex;
OwnershipNoticeHandler gNoticeHandler;

void NoticeOwnershipNotKept(const std::string& path, uint32_t code) {
  std::lock_guard<std::mutex> guard(gNoticeMutex);
  if (gNoticeHandler) gNoticeHandler(path, code);
}

// A new name for the temporary file that replaces `path`, no longer than `limit` bytes.
std::string TemporaryName(const std::string& path, size_t limit = NAME_MAX) {
  unsigned char random[6] = {};
  if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    for (auto& b : random) b = static_cast<unsigned char>(::rand());
  }
  static const char kDigits[] = "0123456789abcdef";
  std::string suffix;
  for (unsigned char b : random) {
    suffix.push_back(kDigits[b >> 4]);
    suffix.push_back(kDigits[b & 15]);
  }
  // A leading dot and a suffix other than ".ini" keep the file out of key listings.
  std::string base = BaseName(path);
  const size_t added = 1 + 5 + suffix.size();  // ".", ".tmp-" and the random digits
  // Every name the file itself may have must be writable through its temporary file, so a long
  // name is shortened here rather than refused at the rename; the random digits keep it unique.
  if (base.size() + added > limit) {
    size_t keep = limit > added ? limit - added : 0;
    // Cut between characters, never inside one, so that the name stays valid UTF-8.
    while (keep > 0 && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
    base.resize(keep);
  }
  return JoinPath(ParentFolder(path), "." + base + ".tmp-" + suffix);
}

bool IsTemporaryName(std::string_view name) {
  return name.size() > 1 && name[0] == '.' && name.find(".tmp-") != std::string_view::npos;
}

// A writer killed between creating its temporary file and renaming it leaves the file behind.
// Such files are removed once they are old and nobody holds their lock (a living writer locks
// its temporary file for as long as it writes it). Done on a folder's first write of the
// process, so that a folder is listed for this once, not on every save.
constexpr int64_t kStaleTemporarySeconds = 10 * 60;

void SweepStaleTemporaries(Env* env, const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> swept;
  {
    std::lock_guard<std::mutex> guard(mutex);
    if (!swept.insert(folder).second) return;
  }
  std::vector<DirEntry> entries;
  if (!env->ListFolder(folder, entries).ok()) return;
  const int64_t now = env->NowSeconds();
  for (const DirEntry& entry : entries) {
    if (entry.kind != EntryKind::kFile || !IsTemporaryName(entry.name)) continue;
    const std::string path = JoinPath(folder, entry.name);
    auto st = env->LinkStat(path);
    if (!st || st->kind != EntryKind::kFile || now - st->modifiedSeconds < kStaleTemporarySeconds)
      continue;
    auto opened = env->OpenExisting(path);
    if (!opened) continue;  // not ours to open: not ours to remove either
    EnvFile file(env, *opened);
    if (!env->Lock(file.Descriptor(), LockKind::kExclusive, std::chrono::milliseconds(0)).ok())
      continue;
    // Another sweeper may have removed it first; nothing of the caller's depends on this.
    env->RemoveFile(path).IgnoreError();
  }
}

// Gives the new file the permission bits and the owner and group of the file it replaces, so that
// a file shared through a group stays shared after any member saves it. The owner can only be
// kept by a privileged writer; the group by any writer who is a member of it.
void KeepOwnership(Env* env, int fd, const EntryStat& existing, const std::string& path) {
  uint32_t problem = 0;
  auto mine = env->StatOpen(fd);
  if (!mine) {
    problem = mine.Code();
  } else {
    // Owner and group in one call; only a privileged writer may give a file away.
    bool groupKept = mine->gid == existing.gid;
    if (mine->uid != existing.uid && env->ChangeOwner(fd, existing.uid, existing.gid).ok())
      groupKept = true;
    if (!groupKept) {
      // Any member of the group may give it its group; the owner being another member is what
      // sharing through a group means, and is not a problem.
      VStatus group = env->ChangeOwner(fd, static_cast<uid_t>(-1), existing.gid);
      if (!group.ok()) problem = group.Code();
    }
  }
  // After the change of owner, which clears the set-id bits.
  VStatus mode = env->ChangeMode(fd, existing.mode & 07777);
  if (!mode.ok() && !problem) problem = mode.Code();
  if (problem) NoticeOwnershipNotKept(path, problem);
}

// Writes `bytes` to a new temporary file beside `path` and renames it over `path`. With
// `noReplace` the rename fails (kAlreadyExists) when `path` came into being meanwhile, so that a
// file created by another writer is never overwritten unread.
VStatus WriteAndRename(Env* env, const std::string& path, std::string_view bytes,
                       const ReplaceOptions& options, const EntryStat* existing,
                       bool noReplace = false) {
  const std::string folder = ParentFolder(path);
  SweepStaleTemporaries(env, folder);
  std::string temp = TemporaryName(path);
  const mode_t mode = existing ? 0600 : options.newFileMode;
  auto created = env->CreateNew(temp, mode);
  if (!created && created.Status().Code() == win32::kFilenameExcedRange) {
    // A file system with shorter names than usual: the temporary name is fitted to its limit.
    long limit = MaxNameLength(folder);
    if (limit > 0) {
      temp = TemporaryName(path, static_cast<size_t>(limit));
      created = env->CreateNew(temp, mode);
    }
  }
  if (!created) return created.Status();
  EnvFile file(env, *created);
  // Nobody else knows the name yet; the lock tells a sweeper that the file is being written.
  VStatus status = env->Lock(file.Descriptor(), LockKind::kExclusive, std::chrono::milliseconds(0));
  if (status.ok() && existing) KeepOwnership(env, file.Descriptor(), *existing, path);
  if (status.ok()) status = env->Write(file.Descriptor(), bytes);
  if (status.ok()) status = env->Sync(file.Descriptor());
  file.Close();
  if (status.ok()) status = noReplace ? env->RenameNoReplace(temp, path) : env->Rename(temp, path);
  if (!status.ok()) {
    // The temporary file is ours alone; the caller learns the first failure, not this one.
    env->RemoveFile(temp).IgnoreError();
    return status;
  }
  // Without this the rename may not survive a crash: the caller must learn that the new file
  // is not known to be durable.
  return env->SyncFolder(folder);
}

VStatus LockTimedOut(const std::string& path, const ReplaceOptions& options) {
  auto seconds = std::chrono::duration_cast<std::chrono::seconds>(options.lockWait).count();
  return VStatus::Message(win32::kSharingViolation, kMsgLockWaitTimedOut,
                          {path, std::to_string(seconds)});
}

std::chrono::milliseconds Remaining(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? left : std::chrono::milliseconds(0);
}

// Opens the file at `path` and takes its exclusive lock, waiting for other writers up to the
// deadline. The file may be replaced while we wait: then the lock is on a file that no longer
// has the name, and the new one is taken instead. Nothing (no descriptor) when there is no file.
VExpected<int> LockCurrentFile(Env* env, const std::string& path, const ReplaceOptions& options,
                               Clock::time_point deadline, EntryStat& locked) {
  for (;;) {
    auto opened = env->OpenExisting(path);
    if (!opened) {
      if (opened.Code() == win32::kFileNotFound) return -1;  // removed meanwhile
      return opened.Status();
    }
    EnvFile file(env, *opened);
    VStatus status = env->Lock(file.Descriptor(), LockKind::kExclusive, Remaining(deadline));
    if (status.Code() == win32::kLockViolation) return LockTimedOut(path, options);
    if (!status.ok()) return status;
    auto held = env->StatOpen(file.Descriptor());
    if (!held) return held.Status();
    auto current = env->Stat(path);
    if (current && held->inode == current->inode && held->device == current->device) {
      locked = *held;
      return file.Release();
    }
    if (Clock::now() >= deadline) return LockTimedOut(path, options);
  }
}

}  // namespace

std::string TemporaryPathBeside(const std::string& path) { return TemporaryName(path); }

void SetOwnershipNoticeHandler(OwnershipNoticeHandler handler) {
  std::lock_guard<std::mutex> guard(gNoticeMutex);
  gNoticeHandler = std::move(handler);
}

VStatus SyncFolder(const std::string& folder, Env* env) { return env->SyncFolder(folder); }

bool MayWriteFolder(const std::string& path, Env* env) {
  auto st = env->Stat(path);
  if (!st || st->kind != EntryKind::kFolder) return false;
  // As for files, a folder without any write bit is read-only even for root.
  if ((st->mode & 0222) == 0) return false;
  return env->Access(path, W_OK | X_OK);
}

bool MayRead(const std::string& path, Env* env) {
  auto st = env->Stat(path);
  if (!st) return false;
  return env->Access(path, st->kind == EntryKind::kFolder ? R_OK | X_OK : R_OK);
}

FileInfo Stat(const std::string& path, Env* env) {
  auto st = env->Stat(path);
  return st ? InfoOf(env, *st, path) : FileInfo();
}

VExpected<FileInfo> StatChecked(const std::string& path, Env* env) {
  auto st = env->Stat(path);
  if (!st) return st.Status();
  return InfoOf(env, *st, path);
}

bool IsDirectory(const std::string& path, Env* env) {
  auto st = env->Stat(path);
  return st && st->kind == EntryKind::kFolder;
}

bool IsRegularFileOrOther(const std::string& path, Env* env) {
  auto st = env->Stat(path);
  return st && st->kind != EntryKind::kFolder;
}

PathKind KindOfPath(const std::string& path, Env* env) {
  auto st = env->LinkStat(path);
  if (!st) return PathKind::Missing;
  if (st->kind == EntryKind::kFolder) return PathKind::Folder;
  if (st->kind == EntryKind::kLink && IsDirectory(path, env)) return PathKind::LinkToFolder;
  return PathKind::Other;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  size_t start = 0;
  while (start < name.size() && name[start] == '/') ++start;
  if (!out.empty() && out.back() != '/') out.push_back('/');
  out.append(name.substr(start));
  return out;
}

std::string ParentFolder(std::string_view path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string BaseName(std::string_view path) {
  size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsSafeComponent(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  return name.find_first_of(std::u16string_view(u"/\0", 2)) == std::u16string_view::npos;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    env_ = other.env_;
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

void File::Close() {
  if (fd_ >= 0) env_->Close(fd_);
  fd_ = -1;
}

VExpected<File> File::OpenForReading(const std::string& path, Env* env) {
  auto fd = env->OpenForReading(path);
  if (!fd) return fd.Status();
  return File(env, *fd);
}

VExpected<File> File::CreateNew(const std::string& path, mode_t mode, Env* env) {
  auto fd = env->CreateNew(path, mode);
  if (!fd) return fd.Status();
  return File(env, *fd);
}

VExpected<File> File::OpenAppend(const std::string& path, mode_t mode, Env* env) {
  auto fd = env->OpenForAppending(path, true, mode);
  if (!fd) return fd.Status();
  return File(env, *fd);
}

VStatus File::LockShared(std::chrono::milliseconds wait) {
  return env_->Lock(fd_, LockKind::kShared, wait);
}
VStatus File::LockExclusive(std::chrono::milliseconds wait) {
  return env_->Lock(fd_, LockKind::kExclusive, wait);
}
VStatus File::Unlock() { return env_->Unlock(fd_); }
VStatus File::ReadAll(std::string& out, uint64_t limit) { return env_->ReadAll(fd_, out, limit); }
VStatus File::WriteAll(std::string_view bytes) { return env_->Write(fd_, bytes); }

VStatus ReplaceFileContents(const std::string& path, std::string_view bytes,
                            const ReplaceOptions& options, Env* env) {
  const auto deadline = Clock::now() + options.lockWait;
  for (;;) {
    auto st = env->Stat(path);
    if (!st) {
      if (!IsMissing(st.Code())) return st.Status();
      // A new file: nobody can hold a lock on it yet.
      VStatus status = WriteAndRename(env, path, bytes, options, nullptr);
      if (status.ok() || !options.createFolders || !IsMissing(status.Code())) return status;
      VStatus made = CreateFolderTree(ParentFolder(path), options.newFolderMode, env);
      if (!made.ok()) return made;
      return WriteAndRename(env, path, bytes, options, nullptr);
    }
    if (st->kind == EntryKind::kFolder || ModeIsReadOnly(env, *st, path))
      return VStatus::Error(win32::kAccessDenied);
    EntryStat locked;
    auto fd = LockCurrentFile(env, path, options, deadline, locked);
    if (!fd) return fd.Status();
    if (*fd < 0) continue;  // removed while we looked: written as a new file
    EnvFile old(env, *fd);
    VStatus status = WriteAndRename(env, path, bytes, options, &locked);
    // Closing the old file releases its lock whatever this says.
    env->Unlock(old.Descriptor()).IgnoreError();
    return status;
  }
}

VStatus UpdateFileContents(const std::string& path, const UpdateFunction& update,
                           const ReplaceOptions& options, Env* env) {
  const auto deadline = Clock::now() + options.lockWait;
  const std::string folder = ParentFolder(path);
  // The lock is on the folder, not on the file, because each change replaces the file: a writer
  // waiting on the old file would find it gone and have to start again, and could do so forever
  // while others keep writing.
  auto folderLock = env->LockFolder(folder, Remaining(deadline));
  if (!folderLock) {
    if (folderLock.Code() == win32::kLockViolation) return LockTimedOut(path, options);
    if (!IsMissing(folderLock.Code())) return folderLock.Status();
    std::string replacement;
    // No folder, so no file: a change that needs an existing file fails here.
    VStatus changed = update(std::string_view(), false, replacement);
    if (!changed.ok()) return changed;
    if (!options.createFolders) return VStatus::Error(win32::kPathNotFound);
    VStatus made = CreateFolderTree(folder, options.newFolderMode, env);
    if (!made.ok()) return made;
    folderLock = env->LockFolder(folder, Remaining(deadline));
    if (!folderLock) {
      if (folderLock.Code() == win32::kLockViolation) return LockTimedOut(path, options);
      return folderLock.Status();
    }
  }
  EnvFile folderHeld(env, *folderLock);
  // Writers that do not take the folder lock can still replace the file under us; they are
  // waited for on the file's own lock and their result is read again.
  for (;;) {
    std::string replacement;
    auto st = env->Stat(path);
    if (!st) {
      if (!IsMissing(st.Code())) return st.Status();
      VStatus changed = update(std::string_view(), false, replacement);
      if (!changed.ok()) return changed;
      VStatus status = WriteAndRename(env, path, replacement, options, nullptr, true);
      // Created by another writer meanwhile: read it first.
      if (status.Code() == win32::kAlreadyExists && Clock::now() < deadline) continue;
      return status;
    }
    if (st->kind == EntryKind::kFolder || ModeIsReadOnly(env, *st, path))
      return VStatus::Error(win32::kAccessDenied);
    EntryStat locked;
    auto fd = LockCurrentFile(env, path, options, deadline, locked);
    if (!fd) return fd.Status();
    if (*fd < 0) continue;
    EnvFile old(env, *fd);
    std::string bytes;
    std::string_view current;
    VStatus status;
    if (options.knownVersion && options.knownVersion->Matches(locked)) {
      // Nobody has changed the file since the writer read it: what it read is what is there.
      current = options.knownBytes;
    } else {
      status = env->ReadAll(old.Descriptor(), bytes, kMaxSettingsFileSize);
      if (status.Code() == win32::kFileTooLarge)
        status = VStatus::Message(win32::kFileTooLarge, kMsgFileTooLarge,
                                  {path, std::to_string(kMaxSettingsFileSize)});
      current = bytes;
    }
    if (status.ok()) status = update(current, true, replacement);
    if (status.ok()) status = WriteAndRename(env, path, replacement, options, &locked);
    env->Unlock(old.Descriptor()).IgnoreError();
    return status;
  }
}

VStatus RenameFile(const std::string& from, const std::string& to, Env* env) {
  VStatus status = env->Rename(from, to);
  if (!status.ok()) return status;
  return env->SyncFolder(ParentFolder(to));
}

VExpected<std::string> FullPath(std::string_view path, Env* env) {
  std::string whole;
  if (path.empty() || path[0] != '/') {
    auto current = env->CurrentFolder();
    if (!current) return current.Status();
    whole = std::move(*current);
    whole.push_back('/');
  }
  whole.append(path);
  std::vector<std::string_view> parts;
  std::string_view rest = whole;
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result;
  for (auto part : parts) {
    result.push_back('/');
    result.append(part);
  }
  if (result.empty()) result = "/";
  if (result.size() >= PATH_MAX) return VStatus::Error(win32::kFilenameExcedRange);
  return result;
}

VStatus CreateFolderTree(const std::string& path, mode_t mode, Env* env) {
  if (path.empty() || path == "/" || path == ".") return VStatus();
  VStatus status = env->CreateFolder(path, mode);
  if (status.ok()) return status;
  if (status.Code() == win32::kAlreadyExists)
    return IsDirectory(path, env) ? VStatus() : status;
  if (!IsMissing(status.Code())) return status;
  VStatus parent = CreateFolderTree(ParentFolder(path), mode, env);
  if (!parent.ok()) return parent;
  status = env->CreateFolder(path, mode);
  if (status.Code() == win32::kAlreadyExists && IsDirectory(path, env)) return VStatus();
  return status;
}

VStatus TreeIsRemovable(const std::string& path, Env* env) {
  auto st = env->LinkStat(path);
  if (!st) return IsMissing(st.Code()) ? VStatus() : st.Status();
  if (st->kind == EntryKind::kLink) return VStatus();  // the link goes, not what it points to
  if (st->kind != EntryKind::kFolder) {
    return ModeIsReadOnly(env, *st, path) ? VStatus::Error(win32::kAccessDenied) : VStatus();
  }
  if (!MayWriteFolder(path, env)) return VStatus::Error(win32::kAccessDenied);
  std::vector<DirEntry> entries;
  VStatus listed = env->ListFolder(path, entries);
  if (!listed.ok()) return listed;
  for (const auto& entry : entries) {
    VStatus status = TreeIsRemovable(JoinPath(path, entry.name), env);
    if (!status.ok()) return status;
  }
  return VStatus();
}

VStatus SetMode(const std::string& path, mode_t mode, Env* env) {
  return env->ChangeMode(path, mode);
}

VStatus RemoveFile(const std::string& path, Env* env) {
  VStatus status = env->RemoveFile(path);
  return IsMissing(status.Code()) ? VStatus() : status;
}

VStatus RemoveTree(const std::string& path, Env* env) {
  auto st = env->LinkStat(path);
  if (!st) return IsMissing(st.Code()) ? VStatus() : st.Status();
  if (st->kind != EntryKind::kFolder) return RemoveFile(path, env);
  std::vector<DirEntry> entries;
  VStatus status = env->ListFolder(path, entries);
  if (!status.ok()) return status;
  VStatus first;
  for (const auto& entry : entries) {
    // Symbolic links are removed, never followed: deleting a key must not reach outside it.
    VStatus removed = RemoveTree(JoinPath(path, entry.name), env);
    if (first.ok() && !removed.ok()) first = removed;
  }
  if (!first.ok()) return first;
  status = env->RemoveFolder(path);
  return status.Code() == win32::kFileNotFound ? VStatus() : status;
}

VStatus ListFolder(const std::string& path, std::vector<FolderEntry>& entries, Env* env) {
  std::vector<DirEntry> listed;
  VStatus status = env->ListFolder(path, listed);
  if (!status.ok()) return status;
  entries.reserve(entries.size() + listed.size());
  for (DirEntry& entry : listed) {
    FolderEntry item;
    item.name = std::move(entry.name);
    item.kind = entry.kind;
    item.isLink = entry.kind == EntryKind::kLink;
    item.isDirectory = entry.kind == EntryKind::kFolder ||
                       (item.isLink && IsDirectory(JoinPath(path, item.name), env));
    entries.push_back(std::move(item));
  }
  // Listing order of the file system is arbitrary; a stable order keeps results repeatable.
  // Positions are sorted by the names' first eight bytes read as one number, which orders them
  // as their bytes do, the whole names being compared only where those are equal; each entry is
  // then moved once. Sorting the entries by their names moved and compared them many times
  // over, for every folder listed.
  struct Position {
    uint64_t prefix;
    uint32_t index;
  };
  std::vector<Position> order(entries.size());
  for (uint32_t i = 0; i < order.size(); ++i) {
    const std::string& name = entries[i].name;
    uint64_t prefix = 0;
    for (size_t k = 0; k < 8; ++k)
      prefix = prefix << 8 | (k < name.size() ? static_cast<unsigned char>(name[k]) : 0u);
    order[i] = {prefix, i};
  }
  std::sort(order.begin(), order.end(), [&entries](const Position& a, const Position& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return entries[a.index].name < entries[b.index].name;
  });
  std::vector<FolderEntry> sorted;
  sorted.reserve(entries.size());
  for (const Position& position : order) sorted.push_back(std::move(entries[position.index]));
  entries.swap(sorted);
  return VStatus();
}

long MaxNameLength(const std::string& path) {
  std::string probe = path.empty() ? "." : path;
  for (int depth = 0; depth < 256; ++depth) {
    errno = 0;
    long length = pathconf(probe.c_str(), _PC_NAME_MAX);
    if (length > 0) return length;
    if (errno != ENOENT && errno != ENOTDIR) return -1;
    std::string parent = ParentFolder(probe);
    if (parent == probe) return -1;
    probe = parent;
  }
  return -1;
}

}  // namespace vfs
