// Little-endian reading and writing of the fixed structures kept as byte blocks. Files written
// on Windows hold them in that order; building them field by field keeps the layout independent
// of the host's structure padding and byte order.
#pragma once

#include <bit>
#include <cstdint>

namespace vle {

inline void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

inline uint16_t Get16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void PutI32(uint8_t* p, int32_t v) { Put32(p, static_cast<uint32_t>(v)); }
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(Get32(p)); }

inline void Put64(uint8_t* p, uint64_t v) {
  Put32(p, static_cast<uint32_t>(v));
  Put32(p + 4, static_cast<uint32_t>(v >> 32));
}

inline uint64_t Get64(const uint8_t* p) {
  return static_cast<uint64_t>(Get32(p)) | static_cast<uint64_t>(Get32(p + 4)) << 32;
}

inline void PutDouble(uint8_t* p, double v) { Put64(p, std::bit_cast<uint64_t>(v)); }
inline double GetDouble(const uint8_t* p) { return std::bit_cast<double>(Get64(p)); }

}  // namespace vle
