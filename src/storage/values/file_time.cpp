#include "storage/values/file_time.h"

#include <chrono>
#include <cstdio>

#include "platform/calendar.h"
#include "storage/model/byte_order.h"

namespace {

constexpr uint64_t kTicksPerMillisecond = 10000;
constexpr uint64_t kTicksPerSecond = 1000 * kTicksPerMillisecond;
constexpr uint64_t kTicksPerDay = 86400 * kTicksPerSecond;

constexpr int64_t kEpochDays = vcalendar::DaysFromCivil(kFileTimeFirstYear, 1, 1);

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
  int64_t year = 0;
  int month = 0, day = 0;
  vcalendar::CivilFromDays(days + kEpochDays, year, month, day);
  if (year > kFileTimeLastYear) return false;
  fields.year = static_cast<int>(year);
  fields.month = month;
  fields.day = day;
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
  if (f.day < 1 || f.day > vcalendar::DaysInMonth(f.year, f.month)) return false;
  if (f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59 || f.second < 0 ||
      f.second > 59 || f.milliseconds < 0 || f.milliseconds > 999)
    return false;
  uint64_t days =
      static_cast<uint64_t>(vcalendar::DaysFromCivil(f.year, f.month, f.day) - kEpochDays);
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
