#include "environment/task_schedule.h"

#include <cstdio>
#include <tuple>

#include "platform/calendar.h"

namespace {

constexpr const char* kRepetitionNames[] = {"once", "hourly", "daily", "weekly", "monthly"};
// Timers name years up to 2199; a repeating task also names the year after its start.
constexpr int kLastStartYear = 2198;
constexpr const char* kWeekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

auto Fields(const VLogTime& t) { return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second); }

// Seconds since 1970 of a local wall-clock time, counted as if no zone applied: the schedule is
// kept in local time and compared only with other local times.
int64_t WallSeconds(const VLogTime& t) {
  return vcalendar::DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 +
         t.second;
}

VLogTime FromWallSeconds(int64_t seconds) {
  int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  int64_t rest = seconds - days * 86400;
  VLogTime t;
  int64_t year = 0;
  vcalendar::CivilFromDays(days, year, t.month, t.day);
  t.year = static_cast<int>(year);
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

// 0 Monday to 6 Sunday; 1970-01-01 was a Thursday.
int Weekday(const VLogTime& t) {
  int64_t days = vcalendar::DaysFromCivil(t.year, t.month, t.day);
  return static_cast<int>(((days + 3) % 7 + 7) % 7);
}

std::string Two(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// "05" or "05..12".
std::string Range(int from, int to) { return from == to ? Two(from) : Two(from) + ".." + Two(to); }

bool ReadDigits(std::string_view text, size_t pos, size_t count, int& value) {
  value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

bool SameTime(const VLogTime& a, const VLogTime& b) { return Fields(a) == Fields(b); }

bool SameSchedule(const TaskSchedule& a, const TaskSchedule& b) {
  return SameTime(a.start, b.start) && a.every == b.every;
}

std::string FormatTaskStart(const VLogTime& start) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", start.year, start.month,
                start.day, start.hour, start.minute, start.second);
  return text;
}

bool ParseTaskStart(std::string_view text, VLogTime& start) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
      text[13] != ':' || text[16] != ':')
    return false;
  VLogTime t;
  if (!ReadDigits(text, 0, 4, t.year) || !ReadDigits(text, 5, 2, t.month) ||
      !ReadDigits(text, 8, 2, t.day) || !ReadDigits(text, 11, 2, t.hour) ||
      !ReadDigits(text, 14, 2, t.minute) || !ReadDigits(text, 17, 2, t.second))
    return false;
  if (t.year < 1970 || t.year > kLastStartYear || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > vcalendar::DaysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 ||
      t.second > 59)
    return false;
  start = t;
  return true;
}

const char* TaskRepetitionName(TaskRepetition every) {
  return kRepetitionNames[static_cast<int>(every)];
}

bool ParseTaskRepetition(std::string_view text, TaskRepetition& every) {
  for (int i = 0; i < 5; ++i) {
    if (text == kRepetitionNames[i]) {
      every = static_cast<TaskRepetition>(i);
      return true;
    }
  }
  return false;
}

std::vector<std::string> TaskCalendarExpressions(const TaskSchedule& schedule) {
  const VLogTime& s = schedule.start;
  const std::string year = std::to_string(s.year);
  const std::string later = std::to_string(s.year + 1) + "/1";  // every year after the start's
  const std::string time = Two(s.hour) + ":" + Two(s.minute) + ":" + Two(s.second);
  const std::string minute = "*:" + Two(s.minute) + ":" + Two(s.second);
  std::vector<std::string> lines;
  switch (schedule.every) {
    case TaskRepetition::Once:
      lines.push_back(year + "-" + Two(s.month) + "-" + Two(s.day) + " " + time);
      break;
    case TaskRepetition::Hourly:
      lines.push_back(year + "-" + Two(s.month) + "-" + Two(s.day) + " " + Range(s.hour, 23) +
                      ":" + Two(s.minute) + ":" + Two(s.second));
      if (s.day < 31) lines.push_back(year + "-" + Two(s.month) + "-" + Range(s.day + 1, 31) + " " + minute);
      if (s.month < 12) lines.push_back(year + "-" + Range(s.month + 1, 12) + "-* " + minute);
      lines.push_back(later + "-*-* " + minute);
      break;
    case TaskRepetition::Daily:
    case TaskRepetition::Weekly: {
      std::string day = schedule.every == TaskRepetition::Weekly
                            ? std::string(kWeekdays[Weekday(s)]) + " "
                            : std::string();
      lines.push_back(day + year + "-" + Two(s.month) + "-" + Range(s.day, 31) + " " + time);
      if (s.month < 12) lines.push_back(day + year + "-" + Range(s.month + 1, 12) + "-* " + time);
      lines.push_back(day + later + "-*-* " + time);
      break;
    }
    case TaskRepetition::Monthly:
      lines.push_back(year + "-" + Range(s.month, 12) + "-" + Two(s.day) + " " + time);
      lines.push_back(later + "-*-" + Two(s.day) + " " + time);
      break;
  }
  return lines;
}

std::optional<VLogTime> NextTaskRun(const TaskSchedule& schedule, const VLogTime& now) {
  const int64_t start = WallSeconds(schedule.start);
  const int64_t current = WallSeconds(now);
  if (start > current) return schedule.start;
  const VLogTime& s = schedule.start;
  switch (schedule.every) {
    case TaskRepetition::Once:
      return std::nullopt;
    case TaskRepetition::Hourly:
    case TaskRepetition::Daily:
    case TaskRepetition::Weekly: {
      const int64_t step = schedule.every == TaskRepetition::Hourly  ? 3600
                           : schedule.every == TaskRepetition::Daily ? 86400
                                                                     : 7 * 86400;
      // Whole steps from the start, then the first one after now.
      int64_t runs = (current - start) / step + 1;
      return FromWallSeconds(start + runs * step);
    }
    case TaskRepetition::Monthly: {
      int year = now.year;
      int month = now.month;
      for (int i = 0; i < 12 * 8 + 1; ++i) {
        if (s.day <= vcalendar::DaysInMonth(year, month)) {
          VLogTime candidate{year, month, s.day, s.hour, s.minute, s.second};
          if (WallSeconds(candidate) > current) return candidate;
        }
        if (++month > 12) {
          month = 1;
          ++year;
        }
      }
      return std::nullopt;
    }
  }
  return std::nullopt;
}
