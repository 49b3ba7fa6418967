// The published Blowfish cipher (16 rounds, 64-bit blocks, keys of 1 to 56 bytes), which older
// releases used for a few settings. Options cover the variants those releases wrote: CBC or not,
// and whether a block's two 32-bit halves are read big-endian (the cipher's own convention) or
// little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

class VCipherBlowfish {
 public:
  static constexpr size_t kBlockSize = 8;
  static constexpr size_t kMaxKeyLength = 56;

  VCipherBlowfish();
  ~VCipherBlowfish();
  VCipherBlowfish(const VCipherBlowfish&) = delete;
  VCipherBlowfish& operator=(const VCipherBlowfish&) = delete;

  // How many bytes SetKey reads (default 16).
  void SetKeyLength(size_t length) { keyLength_ = length; }
  size_t GetKeyLength() const { return keyLength_; }
  void SetCbc(bool cbc) { cbc_ = cbc; }
  bool IsCbc() const { return cbc_; }
  // Off (default): each block is two big-endian words; on: two little-endian words.
  void SetLittleEndianWords(bool little) { littleEndian_ = little; }
  bool IsLittleEndianWords() const { return littleEndian_; }
  // The initial vector of every Encrypt/Decrypt call in CBC mode (default all zeros).
  void SetIv(const uint8_t iv[kBlockSize]);

  // Runs the key schedule on GetKeyLength() bytes of `key`; false when that length is not
  // between 1 and 56.
  bool SetKey(const uint8_t* key);
  bool HasKey() const { return keyed_; }

  // Transform `length` bytes in place; false when the length is not a whole number of blocks
  // or no key is set.
  bool Encrypt(uint8_t* data, size_t length) const;
  bool Decrypt(uint8_t* data, size_t length) const;

  // One block as two words, the cipher's core.
  void EncryptBlock(uint32_t& left, uint32_t& right) const;
  void DecryptBlock(uint32_t& left, uint32_t& right) const;

 private:
  uint32_t F(uint32_t x) const;
  void ReadBlock(const uint8_t* in, uint32_t& left, uint32_t& right) const;
  void WriteBlock(uint8_t* out, uint32_t left, uint32_t right) const;

  uint32_t p_[18];
  uint32_t s_[4][256];
  uint8_t iv_[kBlockSize] = {};
  size_t keyLength_ = 16;
  bool cbc_ = true;
  bool littleEndian_ = false;
  bool keyed_ = false;
};
