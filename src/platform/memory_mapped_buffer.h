// Memory mapped into this process: the pages of an object shared with other processes, or private
// zero-filled pages. Mappings that hold secrets are kept out of swap and out of core dumps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/status.h"

class VMemoryMappedBuffer {
 public:
  VMemoryMappedBuffer() = default;
  ~VMemoryMappedBuffer() { Unmap(); }
  VMemoryMappedBuffer(VMemoryMappedBuffer&& other) noexcept;
  VMemoryMappedBuffer& operator=(VMemoryMappedBuffer&& other) noexcept;
  VMemoryMappedBuffer(const VMemoryMappedBuffer&) = delete;
  VMemoryMappedBuffer& operator=(const VMemoryMappedBuffer&) = delete;

  // Maps the first `size` bytes of the open object `fd`, readable and writable, shared with every
  // process that maps it.
  VStatus MapShared(int fd, size_t size);
  // Maps `size` private zero-filled bytes.
  VStatus MapPrivate(size_t size);
  // Locks the pages in memory and leaves them out of core dumps. The lock is best effort: it fails
  // beyond the user's locked-memory limit, and the mapping stays usable. True when both held.
  bool ProtectSensitive();
  // Overwrites every byte with zeros (a secret must not outlive its last user).
  void Wipe();
  void Unmap();

  bool IsMapped() const { return data_ != nullptr; }
  uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool locked_ = false;
};
