// Messages that more than one store raises, so that callers above the stores can tell them apart
// without knowing which store answered.
#pragma once

#include <cstdint>

// A key's value file is there but could not be read: %1 the file, %2 the system's reason. The
// key's values are then unknown, not absent, and the key refuses to be written.
constexpr uint32_t kMsgValueFileUnreadable = 0xE1380A03;
