// Buffers that hold secrets in the clear: small ones live inside the object (on the caller's
// stack), larger ones on the heap, and either is overwritten with zeros when it is released or
// resized, so that plaintexts and keys do not linger in freed memory.
#pragma once

#include <string.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class VClearBuffer {
 public:
  // Typical secrets (passwords, passphrases, keys) fit inline; the heap serves the rare long one.
  static constexpr size_t kInlineSize = 256;

  VClearBuffer() = default;
  explicit VClearBuffer(size_t size) { Resize(size); }
  VClearBuffer(const void* data, size_t size) { Assign(data, size); }
  ~VClearBuffer() { Wipe(); }
  VClearBuffer(const VClearBuffer&) = delete;
  VClearBuffer& operator=(const VClearBuffer&) = delete;

  // Wipes the old contents and makes room for `size` zero bytes.
  void Resize(size_t size) {
    Wipe();
    if (size > kInlineSize) heap_ = std::make_unique<uint8_t[]>(size);
    size_ = size;
    memset(data(), 0, size_);
  }
  void Assign(const void* data, size_t size) {
    Resize(size);
    if (size) memcpy(this->data(), data, size);
  }
  // Shortens the contents without moving them; the bytes cut off are wiped.
  void Truncate(size_t size) {
    if (size >= size_) return;
    explicit_bzero(data() + size, size_ - size);
    size_ = size;
  }
  void Wipe() {
    explicit_bzero(inline_, sizeof inline_);
    if (heap_) explicit_bzero(heap_.get(), size_);
    heap_.reset();
    size_ = 0;
  }

  uint8_t* data() { return heap_ ? heap_.get() : inline_; }
  const uint8_t* data() const { return heap_ ? heap_.get() : inline_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  uint8_t inline_[kInlineSize] = {};
  std::unique_ptr<uint8_t[]> heap_;
  size_t size_ = 0;
};

// Overwrites a narrow string's whole buffer (including spare capacity) and empties it.
inline void VWipeString(std::string& text) {
  text.resize(text.capacity());
  explicit_bzero(text.data(), text.size());
  text.clear();
}
