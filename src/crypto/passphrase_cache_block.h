// The passphrase cache block as it lies in memory shared by one user's processes, followed by the
// record of who holds the busy flag.
#pragma once

#include <cstddef>
#include <cstdint>

// At most this many UTF-16 units, the terminator included, of the passphrase's stored text.
constexpr size_t kPassphraseCacheTextUnits = 2048;

struct VPassphraseCacheBlock {
  uint32_t inUse;  // set to 1 by the first process that opens the block
  // The passphrase as the "02:" text encrypted under the empty passphrase, terminated; all zeros
  // while no passphrase is known.
  char16_t passphrase[kPassphraseCacheTextUnits];
  uint8_t disabled;  // the user chose to run without the passphrase
  uint8_t busy;      // a process is entering or changing the passphrase
  uint8_t reserved[2];
};
static_assert(offsetof(VPassphraseCacheBlock, passphrase) == 4);
static_assert(offsetof(VPassphraseCacheBlock, disabled) == 4100);
static_assert(offsetof(VPassphraseCacheBlock, busy) == 4101);
static_assert(sizeof(VPassphraseCacheBlock) == 4104);

// Kept beside the block so that the busy flag of a process that died can be taken over, and a
// passphrase text that a dying writer left half-copied can be recognised.
struct VPassphraseCacheTrailer {
  int32_t busyPid;         // who set the busy flag
  uint32_t textWriting;    // 1 while the passphrase text is being replaced
  uint64_t busyStartTime;  // when that process started (guards against a reused id)
};

struct VPassphraseCacheArea {
  VPassphraseCacheBlock block;
  VPassphraseCacheTrailer trailer;
};
static_assert(offsetof(VPassphraseCacheArea, trailer) == 4104);
