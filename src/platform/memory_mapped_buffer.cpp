#include "platform/memory_mapped_buffer.h"

#include <errno.h>
#include <string.h>
#include <sys/mman.h>

#include <utility>

#include "platform/win32_errors.h"

VMemoryMappedBuffer::VMemoryMappedBuffer(VMemoryMappedBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      locked_(std::exchange(other.locked_, false)) {}

VMemoryMappedBuffer& VMemoryMappedBuffer::operator=(VMemoryMappedBuffer&& other) noexcept {
  if (this != &other) {
    Unmap();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    locked_ = std::exchange(other.locked_, false);
  }
  return *this;
}

VStatus VMemoryMappedBuffer::MapShared(int fd, size_t size) {
  Unmap();
  void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (data == MAP_FAILED) return VStatus::FromErrno(errno);
  data_ = static_cast<uint8_t*>(data);
  size_ = size;
  return VStatus();
}

VStatus VMemoryMappedBuffer::MapPrivate(size_t size) {
  Unmap();
  void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (data == MAP_FAILED) return VStatus::FromErrno(errno);
  data_ = static_cast<uint8_t*>(data);
  size_ = size;
  return VStatus();
}

bool VMemoryMappedBuffer::ProtectSensitive() {
  if (!data_) return false;
  bool dumpExcluded = madvise(data_, size_, MADV_DONTDUMP) == 0;
  if (!locked_) locked_ = mlock(data_, size_) == 0;
  return dumpExcluded && locked_;
}

void VMemoryMappedBuffer::Wipe() {
  if (data_) explicit_bzero(data_, size_);
}

void VMemoryMappedBuffer::Unmap() {
  if (!data_) return;
  if (locked_) munlock(data_, size_);
  munmap(data_, size_);
  data_ = nullptr;
  size_ = 0;
  locked_ = false;
}
