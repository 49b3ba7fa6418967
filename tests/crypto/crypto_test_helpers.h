// Helpers of the secret-form tests: a predictable random source and hexadecimal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "crypto/random_source.h"

namespace crypto_test {

// Hands out 0, 1, 2, ... (mod 256) from `start`, so that an encryption can be repeated exactly.
class CountingRandomSource : public VUnknown<IRandomSource> {
 public:
  explicit CountingRandomSource(uint8_t start = 0) : next_(start) {}
  bool GenerateBlock(uint8_t* buffer, size_t length) override {
    if (fail_) return false;
    for (size_t i = 0; i < length; ++i) buffer[i] = next_++;
    requested_ += length;
    return true;
  }
  bool GenerateBlock32(uint8_t* buffer, uint32_t length) override {
    return GenerateBlock(buffer, length);
  }
  void SetFailing(bool fail) { fail_ = fail; }
  size_t Requested() const { return requested_; }
  void Restart(uint8_t start) { next_ = start; }

 private:
  uint8_t next_;
  size_t requested_ = 0;
  bool fail_ = false;
};

inline std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

inline std::string ToHex(const uint8_t* data, size_t length) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < length; ++i) {
    out.push_back(digits[data[i] >> 4]);
    out.push_back(digits[data[i] & 0xF]);
  }
  return out;
}
inline std::string ToHex(const std::vector<uint8_t>& data) { return ToHex(data.data(), data.size()); }

}  // namespace crypto_test
