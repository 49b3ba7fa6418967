// The schedule of a scheduled transfer: its text forms, its timer calendar expressions and its
// next run, checked against the service manager's own reading where it is installed.
#include <gtest/gtest.h>

#include <ctime>

#include "environment/task_schedule.h"
#include "support/test_support.h"

namespace {

VLogTime At(int y, int mo, int d, int h, int mi, int s) { return VLogTime{y, mo, d, h, mi, s}; }

TEST(TaskSchedule, StartTimesAndRepetitionsHaveOneTextForm) {
  VLogTime start;
  ASSERT_TRUE(ParseTaskStart("2026-12-07T09:30:05", start));
  EXPECT_TRUE(SameTime(start, At(2026, 12, 7, 9, 30, 5)));
  EXPECT_EQ(FormatTaskStart(start), "2026-12-07T09:30:05");
  for (const char* bad : {"2026-02-29T00:00:00", "2026-12-07 09:30:05", "2026-12-7T09:30:05",
                          "2026-12-07T24:00:00", "2026-12-07T09:60:00", "1969-12-31T23:59:59",
                          "2199-01-01T00:00:00", "2026-12-07T09:30:05Z", "", "+026-12-07T09:30:05"})
    EXPECT_FALSE(ParseTaskStart(bad, start)) << bad;
  EXPECT_TRUE(ParseTaskStart("2028-02-29T23:59:59", start));
  TaskRepetition every;
  ASSERT_TRUE(ParseTaskRepetition("weekly", every));
  EXPECT_EQ(every, TaskRepetition::Weekly);
  EXPECT_STREQ(TaskRepetitionName(TaskRepetition::Hourly), "hourly");
  EXPECT_FALSE(ParseTaskRepetition("Daily", every));
  EXPECT_FALSE(ParseTaskRepetition("yearly", every));
}

TEST(TaskSchedule, CalendarExpressionsNameNoTimeBeforeTheStart) {
  const VLogTime start = At(2026, 12, 20, 9, 30, 0);
  using Lines = std::vector<std::string>;
  EXPECT_EQ(TaskCalendarExpressions({start, TaskRepetition::Once}), (Lines{"2026-12-20 09:30:00"}));
  EXPECT_EQ(TaskCalendarExpressions({start, TaskRepetition::Daily}),
            (Lines{"2026-12-20..31 09:30:00", "2027/1-*-* 09:30:00"}));
  EXPECT_EQ(TaskCalendarExpressions({At(2026, 3, 31, 9, 30, 0), TaskRepetition::Weekly}),
            (Lines{"Tue 2026-03-31 09:30:00", "Tue 2026-04..12-* 09:30:00", "Tue 2027/1-*-* 09:30:00"}));
  EXPECT_EQ(TaskCalendarExpressions({At(2026, 1, 31, 9, 30, 0), TaskRepetition::Monthly}),
            (Lines{"2026-01..12-31 09:30:00", "2027/1-*-31 09:30:00"}));
  EXPECT_EQ(TaskCalendarExpressions({At(2026, 11, 30, 23, 5, 7), TaskRepetition::Hourly}),
            (Lines{"2026-11-30 23:05:07", "2026-11-31 *:05:07", "2026-12-* *:05:07",
                   "2027/1-*-* *:05:07"}));
}

TEST(TaskSchedule, TheNextRunIsTheFirstOneAfterNow) {
  const VLogTime start = At(2026, 1, 31, 9, 30, 0);
  auto next = [&](TaskRepetition every, VLogTime now) {
    std::optional<VLogTime> run = NextTaskRun({start, every}, now);
    return run ? FormatTaskStart(*run) : std::string("none");
  };
  EXPECT_EQ(next(TaskRepetition::Once, At(2026, 1, 1, 0, 0, 0)), "2026-01-31T09:30:00");
  EXPECT_EQ(next(TaskRepetition::Once, At(2026, 1, 31, 9, 30, 0)), "none");
  EXPECT_EQ(next(TaskRepetition::Hourly, At(2026, 2, 1, 23, 45, 0)), "2026-02-02T00:30:00");
  EXPECT_EQ(next(TaskRepetition::Daily, At(2026, 2, 28, 9, 30, 0)), "2026-03-01T09:30:00");
  EXPECT_EQ(next(TaskRepetition::Weekly, At(2026, 2, 1, 0, 0, 0)), "2026-02-07T09:30:00");
  EXPECT_EQ(next(TaskRepetition::Monthly, At(2026, 2, 1, 0, 0, 0)), "2026-03-31T09:30:00");
  EXPECT_EQ(next(TaskRepetition::Monthly, At(2026, 12, 31, 10, 0, 0)), "2027-01-31T09:30:00");
}

// The service manager's calendar check, run in UTC so that its "next elapse" can be compared.
TEST(TaskSchedule, TheServiceManagerReadsEveryExpressionAsMeant) {
  if (qtest::Run("/usr/bin/env", {"systemd-analyze", "--version"}).status != 0)
    GTEST_SKIP() << "systemd-analyze is not installed";
  std::time_t seconds = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  const VLogTime now = At(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  const TaskSchedule schedules[] = {
      {At(now.year + 1, 2, 28, 6, 0, 0), TaskRepetition::Once},
      {At(now.year - 1, 5, 31, 6, 15, 0), TaskRepetition::Monthly},
      {At(now.year - 1, 5, 3, 6, 15, 0), TaskRepetition::Weekly},
      {At(now.year - 1, 12, 31, 6, 15, 0), TaskRepetition::Daily},
      {At(now.year + 2, 7, 14, 22, 1, 2), TaskRepetition::Hourly},
  };
  for (const TaskSchedule& schedule : schedules) {
    std::vector<std::string> args{"systemd-analyze", "calendar"};
    for (const std::string& line : TaskCalendarExpressions(schedule)) args.push_back(line);
    qtest::RunResult result = qtest::Run("/usr/bin/env", args, {{"TZ", "UTC"}});
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    // The earliest "Next elapse" of the expressions is the timer's next run.
    std::string earliest;
    for (size_t at = result.out.find("Next elapse: "); at != std::string::npos;
         at = result.out.find("Next elapse: ", at + 1)) {
      std::string when = result.out.substr(at + 17, 19);  // after the weekday
      if (earliest.empty() || when < earliest) earliest = when;
    }
    std::optional<VLogTime> expected = NextTaskRun(schedule, now);
    ASSERT_TRUE(expected);
    std::string text = FormatTaskStart(*expected);
    text[10] = ' ';
    EXPECT_EQ(earliest, text) << result.out;
  }
}

}  // namespace
