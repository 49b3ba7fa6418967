// Hash functions chosen by name: "md5", "sha1", "sha224", "sha256", "sha384", "sha512".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "report/report_message_params.h"

namespace CryptUtils {

class Hasher {
 public:
  virtual ~Hasher() = default;

  // Starts again from the empty message.
  virtual void Initialize() = 0;
  virtual void Update(const void* data, size_t length) = 0;
  // Writes the digest of everything fed since the start and starts again from the empty
  // message. Returns the digest length, or 0 (and keeps the state) when `capacity` is smaller.
  virtual size_t Final(uint8_t* output, size_t capacity) = 0;
  virtual size_t DigestSize() const = 0;

  // Null with a report when the name is not known.
  static std::unique_ptr<Hasher> Create(std::string_view name, VReportMessageParams& error);
};

}  // namespace CryptUtils
