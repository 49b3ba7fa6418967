#include "report/log_time.h"

#include <time.h>

#include "platform/calendar.h"

namespace {

void AppendNumber(std::u16string& out, int value, int digits) {
  std::u16string text;
  unsigned magnitude = static_cast<unsigned>(value < 0 ? -value : value);
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude);
  while (static_cast<int>(text.size()) < digits) text.insert(text.begin(), u'0');
  if (value < 0) text.insert(text.begin(), u'-');
  out += text;
}

}  // namespace

VLogTime VLocalTimeNow() {
  time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  VLogTime time;
  time.year = local.tm_year + 1900;
  time.month = local.tm_mon + 1;
  time.day = local.tm_mday;
  time.hour = local.tm_hour;
  time.minute = local.tm_min;
  time.second = local.tm_sec;
  return time;
}

int VLogDateNumber(const VLogTime& time) { return time.year * 10000 + time.month * 100 + time.day; }

int VLogDateNumberDaysBefore(const VLogTime& time, int days) {
  int64_t y = 0;
  int m = 0;
  int d = 0;
  vcalendar::CivilFromDays(vcalendar::DaysFromCivil(time.year, time.month, time.day) - days, y,
                           m, d);
  return static_cast<int>(y) * 10000 + m * 100 + d;
}

std::u16string VFormatLogTime(const VLogTime& time, std::u16string_view pattern) {
  std::u16string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != u'%' || i + 1 >= pattern.size()) {
      out.push_back(pattern[i]);
      continue;
    }
    switch (pattern[++i]) {
      case u'Y': AppendNumber(out, time.year, 4); break;
      case u'm': AppendNumber(out, time.month, 2); break;
      case u'd': AppendNumber(out, time.day, 2); break;
      case u'H': AppendNumber(out, time.hour, 2); break;
      case u'M': AppendNumber(out, time.minute, 2); break;
      case u'S': AppendNumber(out, time.second, 2); break;
      default: out.push_back(pattern[i]); break;  // %% and anything unknown
    }
  }
  return out;
}
