// Time stamps as Windows files keep them: 100-nanosecond intervals since 1601-01-01 00:00 UTC in
// two 32-bit halves, and the calendar fields and text form used to store them as strings.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/unicode_string.h"
#include "storage/model/profile_store.h"

struct VFileTime {
  static constexpr VDword kStoredSize = 8;
  static constexpr const char* kKindName = "time";

  uint32_t lowDateTime = 0;
  uint32_t highDateTime = 0;

  uint64_t Ticks() const { return static_cast<uint64_t>(highDateTime) << 32 | lowDateTime; }
  static VFileTime FromTicks(uint64_t ticks) {
    return {static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
  }
  // The current time of the system clock.
  static VFileTime Now();

  void ToBytes(uint8_t* out) const;
  void FromBytes(const uint8_t* in);
  bool operator==(const VFileTime& other) const = default;
};

// Calendar fields of a time stamp, without any time-zone conversion.
struct VSystemTime {
  int year = 1601;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
  bool operator==(const VSystemTime& other) const = default;
};

// The years a stored time may name; later ticks have no calendar form the store accepts.
constexpr int kFileTimeFirstYear = 1601;
constexpr int kFileTimeLastYear = 30827;

// False when the time lies after the last day of kFileTimeLastYear.
bool VFileTimeToSystemTime(const VFileTime& time, VSystemTime& fields);
// False when a field is out of its range or the day does not exist in that month.
bool VSystemTimeToFileTime(const VSystemTime& fields, VFileTime& time);

// The stored text: year:month:day:hour:minute:second:milliseconds, for example
// 2020:01:31:08:05:09:250. False when the time has no calendar form (see above).
bool VFormatTimeText(const VFileTime& time, VUnicodeString& text);
// Exactly seven colon-separated decimal numbers, each within its range, naming a day that
// exists; false otherwise and `time` is left unchanged.
bool VParseTimeText(std::u16string_view text, VFileTime& time);
