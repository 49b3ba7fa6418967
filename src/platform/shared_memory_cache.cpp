#include "platform/shared_memory_cache.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/ipc_gate.h"
#include "platform/win32_errors.h"

namespace {

constexpr uint32_t kMagic = 0x43534D51;  // "QMSC": the creator has finished setting the block up
constexpr uint32_t kLayoutVersion = 1;

struct Header {
  uint32_t magic;
  uint32_t layoutVersion;
  uint64_t blockSize;
  uint32_t referenceCount;
  uint32_t reserved;
  VIpcLockStorage lock;
};
// The block starts on its own cache line.
constexpr size_t kHeaderSize = 128;
static_assert(sizeof(Header) <= kHeaderSize);

Header* HeaderOf(const VMemoryMappedBuffer& buffer) {
  return reinterpret_cast<Header*>(buffer.Data());
}

}  // namespace

uint8_t* VSharedMemoryCache::Block() const {
  return buffer_.IsMapped() ? buffer_.Data() + kHeaderSize : nullptr;
}

VIpcLock VSharedMemoryCache::Lock() const {
  return VIpcLock(buffer_.IsMapped() ? &HeaderOf(buffer_)->lock : nullptr);
}

uint32_t VSharedMemoryCache::ReferenceCount() const {
  if (!IsOpen()) return 0;
  VIpcLockGuard guard(Lock());
  return HeaderOf(buffer_)->referenceCount;
}

void VSharedMemoryCache::InitializeHeader() {
  Header* header = HeaderOf(buffer_);
  VIpcLock::Initialize(header->lock);
  header->layoutVersion = kLayoutVersion;
  header->blockSize = blockSize_;
  header->referenceCount = 1;
  header->magic = kMagic;
}

void VSharedMemoryCache::AddReference() {
  VIpcLockGuard guard(Lock());
  ++HeaderOf(buffer_)->referenceCount;
}

bool VSharedMemoryCache::OpenPrivate(size_t blockSize, VSharedObjectStatus& status) {
  Release();
  if (blockSize == 0 || blockSize > kMaxBlockSize) {
    status.SetSystem(std::string(), win32::kInvalidParameter);
    return false;
  }
  if (VStatus mapped = buffer_.MapPrivate(kHeaderSize + blockSize); !mapped.ok()) {
    status.SetSystem(std::string(), mapped.Code());
    return false;
  }
  blockSize_ = blockSize;
  InitializeHeader();
  protected_ = buffer_.ProtectSensitive();
  return true;
}

bool VSharedMemoryCache::OpenShared(const VSharedMemoryNames& names, size_t blockSize,
                                    VSharedObjectStatus& status) {
  Release();
  if (blockSize == 0 || blockSize > kMaxBlockSize) {
    status.SetSystem(names.mapping, win32::kInvalidParameter);
    return false;
  }
  VIpcGate gate;
  if (!gate.Enter(names.lock, status)) return false;
  blockSize_ = blockSize;
  names_ = names;
  for (;;) {
    bool exists = false;
    int fd = vshm::CreateExclusive(names.mapping, exists, status);
    if (fd >= 0) {
      if (CreateShared(fd, status)) break;
      close(fd);
      vshm::Remove(names.mapping);
      return false;
    }
    if (!exists) return false;
    bool missing = false;
    fd = vshm::OpenExisting(names.mapping, missing, status);
    if (fd < 0) {
      if (missing) continue;
      return false;
    }
    if (!vshm::CheckPrivate(fd, names.mapping, status)) {
      close(fd);
      return false;
    }
    AttachResult result = AttachShared(fd, status);
    if (result == AttachResult::Attached) break;
    close(fd);
    if (result == AttachResult::Failed) return false;
    // Nobody holds it any more: its last holders died without releasing it.
    vshm::Remove(names.mapping);
  }
  protected_ = buffer_.ProtectSensitive();
  return true;
}

bool VSharedMemoryCache::CreateShared(int fd, VSharedObjectStatus& status) {
  size_t total = kHeaderSize + blockSize_;
  // The holder's lock comes first: should this process die while setting the block up, the next
  // one finds it held by nobody and starts over.
  if (!vshm::LockByte(fd, F_RDLCK, true) || ftruncate(fd, static_cast<off_t>(total)) != 0) {
    status.SetSystem(names_.mapping, win32::FromErrno(errno));
    return false;
  }
  if (VStatus mapped = buffer_.MapShared(fd, total); !mapped.ok()) {
    status.SetSystem(names_.mapping, mapped.Code());
    return false;
  }
  InitializeHeader();
  fd_ = fd;
  return true;
}

VSharedMemoryCache::AttachResult VSharedMemoryCache::AttachShared(int fd,
                                                                  VSharedObjectStatus& status) {
  // An exclusive lock is granted only when no live process holds the block.
  if (vshm::LockByte(fd, F_WRLCK, false)) return AttachResult::Stale;
  if (errno != EAGAIN && errno != EACCES) {
    status.SetSystem(names_.mapping, win32::FromErrno(errno));
    return AttachResult::Failed;
  }
  size_t total = kHeaderSize + blockSize_;
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    status.SetSystem(names_.mapping, win32::FromErrno(errno));
    return AttachResult::Failed;
  }
  if (static_cast<size_t>(info.st_size) != total) {
    status.problem = VSharedObjectProblem::Incompatible;
    status.objectName = names_.mapping;
    return AttachResult::Failed;
  }
  if (!vshm::LockByte(fd, F_RDLCK, true)) {
    status.SetSystem(names_.mapping, win32::FromErrno(errno));
    return AttachResult::Failed;
  }
  if (VStatus mapped = buffer_.MapShared(fd, total); !mapped.ok()) {
    status.SetSystem(names_.mapping, mapped.Code());
    buffer_.Unmap();
    return AttachResult::Failed;
  }
  const Header* header = HeaderOf(buffer_);
  if (header->magic != kMagic || header->layoutVersion != kLayoutVersion ||
      header->blockSize != blockSize_) {
    buffer_.Unmap();
    status.problem = VSharedObjectProblem::Incompatible;
    status.objectName = names_.mapping;
    return AttachResult::Failed;
  }
  fd_ = fd;
  AddReference();
  return AttachResult::Attached;
}

void VSharedMemoryCache::Release() {
  if (!buffer_.IsMapped()) return;
  if (fd_ < 0) {  // private
    buffer_.Wipe();
    buffer_.Unmap();
    blockSize_ = 0;
    protected_ = false;
    return;
  }
  // Without the gate nothing is removed: a later process finds the block unheld and renews it.
  VSharedObjectStatus ignored;
  VIpcGate gate;
  bool gated = gate.Enter(names_.lock, ignored);
  {
    VIpcLockGuard guard(Lock());
    Header* header = HeaderOf(buffer_);
    if (header->referenceCount > 0) --header->referenceCount;
  }
  // Turning this holder's shared lock into an exclusive one succeeds only when no other live
  // process holds the block, whatever the count says about holders that died.
  bool last = gated && vshm::LockByte(fd_, F_WRLCK, false);
  if (last) {
    buffer_.Wipe();
    vshm::Remove(names_.mapping);
  }
  buffer_.Unmap();
  close(fd_);
  fd_ = -1;
  blockSize_ = 0;
  protected_ = false;
  gate.Leave(last);
}
