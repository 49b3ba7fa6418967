#include "storage/file_time.h"

#include <chrono>
#include <cstdio>

#include "storage/byte_order.h"

namespace {

constexpr uint64_t kTicksPerMillisecond = 10000;
constexpr uint64_t kTicksPerSecond = 1000 * kTicksPerMillisecond;
constexpr uint64_t kTicksPerDay = 86400 * kTicksPerSecond;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (H. Hinnant's method).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = yoe + era * 400 + (m <= 2);
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

const int64_t kEpochDays = DaysFromCivil(kFileTimeFirstYear, 1, 1);

}  // namespace

VFileTime VFileTime::Now() {
  using namespace std::chrono;
  auto since1970 = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
  uint64_t ticks = static_cast<uint64_t>(-kEpochDays) * kTicksPerDay +
                   static_cast<uint64_t>(since1970) * 10;
  return FromTicks(ticks);
}

void VFileTime::ToBytes(uint8_t* out) const {
  vle::Put32(out, lowDateTime);
  vle::Put32(out + 4, highDateTime);
}

void VFileTime::FromBytes(const uint8_t* in) {
  lowDateTime = vle::Get32(in);
  highDateTime = vle::Get32(in + 4);
}

bool VFileTimeToSystemTime(const VFileTime& time, VSystemTime& fields) {
  uint64_t ticks = time.Ticks();
  int64_t days = static_cast<int64_t>(ticks / kTicksPerDay);
  uint64_t rest = ticks % kTicksPerDay;
  int64_t y = 0, m = 0, d = 0;
  CivilFromDays(days + kEpochDays, y, m, d);
  if (y > kFileTimeLastYear) return false;
  fields.year = static_cast<int>(y);
  fields.month = static_cast<int>(m);
  fields.day = static_cast<int>(d);
  fields.hour = static_cast<int>(rest / (3600 * kTicksPerSecond));
  rest %= 3600 * kTicksPerSecond;
  fields.minute = static_cast<int>(rest / (60 * kTicksPerSecond));
  rest %= 60 * kTicksPerSecond;
  fields.second = static_cast<int>(rest / kTicksPerSecond);
  rest %= kTicksPerSecond;
  fields.milliseconds = static_cast<int>(rest / kTicksPerMillisecond);
  return true;
}

bool VSystemTimeToFileTime(const VSystemTime& f, VFileTime& time) {
  if (f.year < kFileTimeFirstYear || f.year > kFileTimeLastYear) return false;
  if (f.month < 1 || f.month > 12) return false;
  if (f.day < 1 || f.day > DaysInMonth(f.year, f.month)) return false;
  if (f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59 || f.second < 0 ||
      f.second > 59 || f.milliseconds < 0 || f.milliseconds > 999)
    return false;
  uint64_t days = static_cast<uint64_t>(DaysFromCivil(f.year, f.month, f.day) - kEpochDays);
  uint64_t seconds = static_cast<uint64_t>(f.hour * 3600 + f.minute * 60 + f.second);
  uint64_t ticks = days * kTicksPerDay + seconds * kTicksPerSecond +
                   static_cast<uint64_t>(f.milliseconds) * kTicksPerMillisecond;
  time = VFileTime::FromTicks(ticks);
  return true;
}

bool VFormatTimeText(const VFileTime& time, VUnicodeString& text) {
  VSystemTime f;
  if (!VFileTimeToSystemTime(time, f)) return false;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d:%02d:%02d:%02d:%02d:%02d:%03d", f.year, f.month,
                f.day, f.hour, f.minute, f.second, f.milliseconds);
  text = VUnicodeString::FromUtf8(buffer);
  return true;
}

bool VParseTimeText(std::u16string_view text, VFileTime& time) {
  int numbers[7] = {};
  size_t count = 0;
  size_t pos = 0;
  while (true) {
    if (count == 7) return false;
    // A field is one to nine decimal digits: enough for every range, never an overflow.
    size_t start = pos;
    int64_t value = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9' && pos - start < 9)
      value = value * 10 + (text[pos++] - u'0');
    if (pos == start) return false;
    numbers[count++] = static_cast<int>(value);
    if (pos == text.size()) break;
    if (text[pos] != u':') return false;
    ++pos;
  }
  if (count != 7) return false;
  VSystemTime f{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5], numbers[6]};
  return VSystemTimeToFileTime(f, time);
}
