#include "report/log_time.h"

#include <time.h>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

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
  long y = 0;
  unsigned m = 0;
  unsigned d = 0;
  CivilFromDays(DaysFromCivil(time.year, static_cast<unsigned>(time.month),
                              static_cast<unsigned>(time.day)) - days,
                y, m, d);
  return static_cast<int>(y) * 10000 + static_cast<int>(m) * 100 + static_cast<int>(d);
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
