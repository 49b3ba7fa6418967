#include "crypto/cipher_blowfish.h"

#include <string.h>

#include "crypto/blowfish_tables.h"

VCipherBlowfish::VCipherBlowfish() {
  memcpy(p_, blowfish_tables::kInitialP, sizeof p_);
  memcpy(s_, blowfish_tables::kInitialS, sizeof s_);
}

// The subkeys and S-boxes are derived from the key: wipe them with it.
VCipherBlowfish::~VCipherBlowfish() {
  explicit_bzero(p_, sizeof p_);
  explicit_bzero(s_, sizeof s_);
  explicit_bzero(iv_, sizeof iv_);
}

void VCipherBlowfish::SetIv(const uint8_t iv[kBlockSize]) { memcpy(iv_, iv, kBlockSize); }

uint32_t VCipherBlowfish::F(uint32_t x) const {
  return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
}

void VCipherBlowfish::EncryptBlock(uint32_t& left, uint32_t& right) const {
  uint32_t l = left;
  uint32_t r = right;
  for (int i = 0; i < 16; i += 2) {
    l ^= p_[i];
    r ^= F(l);
    r ^= p_[i + 1];
    l ^= F(r);
  }
  l ^= p_[16];
  r ^= p_[17];
  left = r;
  right = l;
}

void VCipherBlowfish::DecryptBlock(uint32_t& left, uint32_t& right) const {
  uint32_t l = left;
  uint32_t r = right;
  for (int i = 17; i > 1; i -= 2) {
    l ^= p_[i];
    r ^= F(l);
    r ^= p_[i - 1];
    l ^= F(r);
  }
  l ^= p_[1];
  r ^= p_[0];
  left = r;
  right = l;
}

bool VCipherBlowfish::SetKey(const uint8_t* key) {
  if (keyLength_ < 1 || keyLength_ > kMaxKeyLength) return false;
  memcpy(p_, blowfish_tables::kInitialP, sizeof p_);
  memcpy(s_, blowfish_tables::kInitialS, sizeof s_);
  // The key, repeated as often as needed, is folded into the subkeys 32 bits at a time.
  size_t at = 0;
  for (uint32_t& subkey : p_) {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
      word = (word << 8) | key[at];
      at = (at + 1) % keyLength_;
    }
    subkey ^= word;
  }
  // Then the cipher, as it stands, replaces subkeys and S-box entries two by two.
  uint32_t l = 0;
  uint32_t r = 0;
  for (size_t i = 0; i < 18; i += 2) {
    EncryptBlock(l, r);
    p_[i] = l;
    p_[i + 1] = r;
  }
  for (auto& box : s_) {
    for (size_t i = 0; i < 256; i += 2) {
      EncryptBlock(l, r);
      box[i] = l;
      box[i + 1] = r;
    }
  }
  keyed_ = true;
  return true;
}

void VCipherBlowfish::ReadBlock(const uint8_t* in, uint32_t& left, uint32_t& right) const {
  if (littleEndian_) {
    left = in[0] | in[1] << 8 | in[2] << 16 | static_cast<uint32_t>(in[3]) << 24;
    right = in[4] | in[5] << 8 | in[6] << 16 | static_cast<uint32_t>(in[7]) << 24;
  } else {
    left = static_cast<uint32_t>(in[0]) << 24 | in[1] << 16 | in[2] << 8 | in[3];
    right = static_cast<uint32_t>(in[4]) << 24 | in[5] << 16 | in[6] << 8 | in[7];
  }
}

void VCipherBlowfish::WriteBlock(uint8_t* out, uint32_t left, uint32_t right) const {
  for (int i = 0; i < 4; ++i) {
    int shift = littleEndian_ ? 8 * i : 24 - 8 * i;
    out[i] = static_cast<uint8_t>(left >> shift);
    out[4 + i] = static_cast<uint8_t>(right >> shift);
  }
}

bool VCipherBlowfish::Encrypt(uint8_t* data, size_t length) const {
  if (!keyed_ || length % kBlockSize != 0) return false;
  uint8_t chain[kBlockSize];
  memcpy(chain, iv_, kBlockSize);
  for (size_t at = 0; at < length; at += kBlockSize) {
    uint8_t* block = data + at;
    if (cbc_) {
      for (size_t i = 0; i < kBlockSize; ++i) block[i] ^= chain[i];
    }
    uint32_t l, r;
    ReadBlock(block, l, r);
    EncryptBlock(l, r);
    WriteBlock(block, l, r);
    memcpy(chain, block, kBlockSize);
  }
  return true;
}

bool VCipherBlowfish::Decrypt(uint8_t* data, size_t length) const {
  if (!keyed_ || length % kBlockSize != 0) return false;
  uint8_t chain[kBlockSize];
  uint8_t next[kBlockSize];
  memcpy(chain, iv_, kBlockSize);
  for (size_t at = 0; at < length; at += kBlockSize) {
    uint8_t* block = data + at;
    memcpy(next, block, kBlockSize);
    uint32_t l, r;
    ReadBlock(block, l, r);
    DecryptBlock(l, r);
    WriteBlock(block, l, r);
    if (cbc_) {
      for (size_t i = 0; i < kBlockSize; ++i) block[i] ^= chain[i];
    }
    memcpy(chain, next, kBlockSize);
  }
  explicit_bzero(chain, sizeof chain);
  return true;
}
