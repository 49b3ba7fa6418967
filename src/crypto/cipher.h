// Block ciphers chosen by name for the encrypted settings: AES in CBC mode with a 128, 192 or
// 256-bit key. Data may be fed in pieces of any size; bytes that do not fill a block wait for the
// next piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "report/report_message_params.h"

namespace CryptUtils {

class Cipher {
 public:
  virtual ~Cipher();

  virtual size_t BlockSize() const = 0;
  virtual size_t IvSize() const = 0;
  virtual size_t KeySize() const = 0;
  // Each takes IvSize() bytes of initial vector and KeySize() bytes of key, and forgets any
  // bytes still waiting from an earlier run.
  virtual bool InitEncrypt(const uint8_t* iv, const uint8_t* key) = 0;
  virtual bool InitDecrypt(const uint8_t* iv, const uint8_t* key) = 0;
  // Runs the transformation in place over `length` bytes, a whole number of blocks.
  virtual bool Process(uint8_t* data, size_t length) = 0;

  // Feeds `length` bytes and writes every block completed so far to `output`, which has room
  // for length + BlockSize() - 1 bytes; returns the number written. The rest waits for the next
  // call. `output` may equal `input` only while nothing is waiting; otherwise they must not
  // overlap.
  size_t Update(const uint8_t* input, size_t length, uint8_t* output);
  // Bytes fed but not yet transformed, because they do not fill a block.
  size_t PendingBytes() const { return pendingLength_; }

  VReportMessageParams& GetError() { return error_; }

  // The cipher of `name` ("aes128-cbc", "aes192-cbc", "aes256-cbc"); null with a report when
  // the name is not known.
  static std::unique_ptr<Cipher> Create(std::string_view name, VReportMessageParams& error);

 protected:
  Cipher() = default;
  void ForgetPending();

  VReportMessageParams error_;

 private:
  static constexpr size_t kMaxBlock = 16;
  uint8_t pending_[kMaxBlock] = {};
  size_t pendingLength_ = 0;
};

class CipherAes : public Cipher {
 public:
  explicit CipherAes(size_t keyBits);
  ~CipherAes() override;

  size_t BlockSize() const override { return 16; }
  size_t IvSize() const override { return 16; }
  size_t KeySize() const override { return keyBits_ / 8; }
  bool InitEncrypt(const uint8_t* iv, const uint8_t* key) override;
  bool InitDecrypt(const uint8_t* iv, const uint8_t* key) override;
  bool Process(uint8_t* data, size_t length) override;

 private:
  struct Engine;
  size_t keyBits_;
  std::unique_ptr<Engine> engine_;
};

}  // namespace CryptUtils
