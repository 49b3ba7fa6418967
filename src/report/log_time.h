// The local time of log records and daily log files, behind a clock that tests can move.
#pragma once

#include <functional>
#include <string>
#include <string_view>

struct VLogTime {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

using VLogClock = std::function<VLogTime()>;

// The local time now.
VLogTime VLocalTimeNow();

// The date as one number, yyyymmdd, so that dates compare as numbers do.
int VLogDateNumber(const VLogTime& time);
// The date `days` days before the date of `time`, as yyyymmdd (calendar arithmetic).
int VLogDateNumberDaysBefore(const VLogTime& time, int days);

// Formats with the conversions %Y %m %d %H %M %S (zero-padded) and %%.
std::u16string VFormatLogTime(const VLogTime& time, std::u16string_view pattern);
