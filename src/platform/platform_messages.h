// Catalogue messages of the platform layer, for failures a Win32 code alone does not explain.
#pragma once

#include <cstdint>

constexpr uint32_t kMsgFileTooLarge = 0xE1380740;      // %1: file, %2: largest size in bytes
constexpr uint32_t kMsgLockWaitTimedOut = 0xE1380741;  // %1: file, %2: seconds waited
constexpr uint32_t kMsgOwnershipNotKept = 0xE1380742;  // %1: file, %2: why
constexpr uint32_t kMsgNotRegularFile = 0xE1380743;    // %1: file
