// The initial subkeys and S-boxes of the Blowfish cipher: the hexadecimal digits of pi.
#pragma once

#include <cstdint>

namespace blowfish_tables {

extern const uint32_t kInitialP[18];
extern const uint32_t kInitialS[4][256];

}  // namespace blowfish_tables
