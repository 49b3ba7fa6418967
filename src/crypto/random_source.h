// Cryptographic random bytes: the padding of encrypted values, the scrambling bytes of the
// encoded form, nonces and keys. Tests substitute their own source through the interface.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/unknown.h"

class IRandomSource : public IUnknown {
 public:
  virtual bool GenerateBlock(uint8_t* buffer, size_t length) = 0;
  virtual bool GenerateBlock32(uint8_t* buffer, uint32_t length) = 0;
};

// The operating system's generator (getrandom). Safe to share between threads.
class VCapiRandomSource : public VUnknown<IRandomSource> {
 public:
  VCapiRandomSource();
  ~VCapiRandomSource() override = default;

  bool GenerateBlock(uint8_t* buffer, size_t length) override;
  bool GenerateBlock32(uint8_t* buffer, uint32_t length) override {
    return GenerateBlock(buffer, length);
  }
  // The Win32 code of the last failure (0 when none): the generator could not be reached, or
  // a request failed.
  uint32_t GetError() const { return error_.load(); }

 private:
  std::atomic<uint32_t> error_{0};
};

class VReportMessageParams;

// The process-wide source used when a caller sets none. Never released.
IRandomSource* VGetProcessRandomSource();

// Fills `error` for a failed request to `source`, with the system's reason when it is known.
void VReportRandomFailure(IRandomSource* source, VReportMessageParams& error);
