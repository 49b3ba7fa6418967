// A block of memory shared under a name by the processes of one user, behind a small header that
// holds a reference count and the lock guarding the block; or, when sharing is not wanted or not
// possible, a private block of the same layout, so that callers need not tell the two apart.
//
// The block lives as long as a process holds it. Each holder also keeps a shared kernel lock on
// the object, which the kernel drops when the holder dies: the last holder to release the block
// removes its name, and a block whose holders all died without releasing it is found stale and
// made anew, as the kernel would discard an unused named mapping elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ipc_lock.h"
#include "platform/memory_mapped_buffer.h"
#include "platform/shared_object.h"

struct VSharedMemoryNames {
  std::string mapping;  // the block
  std::string lock;     // the gate held while the block is created, attached to or removed
};

class VSharedMemoryCache {
 public:
  // Blocks are small records; anything larger is a caller's mistake.
  static constexpr size_t kMaxBlockSize = 1 << 20;

  VSharedMemoryCache() = default;
  ~VSharedMemoryCache() { Release(); }
  VSharedMemoryCache(const VSharedMemoryCache&) = delete;
  VSharedMemoryCache& operator=(const VSharedMemoryCache&) = delete;

  // Opens the block shared under `names`, creating it zero-filled with `blockSize` bytes when no
  // process holds it. Fails, holding nothing, when the objects are not private to this user, hold
  // a live block of another size, or cannot be made.
  bool OpenShared(const VSharedMemoryNames& names, size_t blockSize, VSharedObjectStatus& status);
  // A zero-filled block of this process only.
  bool OpenPrivate(size_t blockSize, VSharedObjectStatus& status);
  // Lets the block go: its count is lowered, and the last holder wipes it and removes its name.
  void Release();

  bool IsOpen() const { return buffer_.IsMapped(); }
  bool IsShared() const { return fd_ >= 0; }
  // The block; every access to it must hold Lock().
  uint8_t* Block() const;
  size_t BlockSize() const { return IsOpen() ? blockSize_ : 0; }
  VIpcLock Lock() const;
  // Holders that opened the block and have not released it (takes the lock).
  uint32_t ReferenceCount() const;
  // The pages are locked in memory and left out of core dumps.
  bool IsMemoryProtected() const { return protected_; }

 private:
  enum class AttachResult { Attached, Stale, Failed };

  bool CreateShared(int fd, VSharedObjectStatus& status);
  AttachResult AttachShared(int fd, VSharedObjectStatus& status);
  void InitializeHeader();
  void AddReference();

  VMemoryMappedBuffer buffer_;
  VSharedMemoryNames names_;
  size_t blockSize_ = 0;
  int fd_ = -1;
  bool protected_ = false;
};
