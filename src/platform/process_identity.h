// Telling whether a process recorded earlier is still the same running process. A process id alone
// is not enough: ids are reused, so the start time recorded with it tells a new process that got
// the same id apart from the one that was recorded.
#pragma once

#include <sys/types.h>

#include <cstdint>

namespace vproc {

// When the process started, in clock ticks after boot; 0 when it does not exist or cannot be read.
uint64_t ProcessStartTime(pid_t pid);
// True when `pid` exists, is not a zombie, and (when `startTime` is not 0) started at `startTime`.
bool IsProcessRunning(pid_t pid, uint64_t startTime);

}  // namespace vproc
