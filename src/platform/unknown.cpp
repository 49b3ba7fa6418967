#include "platform/unknown.h"

#include <cstring>

bool VGuid::operator==(const VGuid& other) const {
  return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
         std::memcmp(data4, other.data4, sizeof data4) == 0;
}
