// When a scheduled transfer runs: a start time in local time and how it repeats, in the text
// forms the command line and the timer units use, turned into the calendar expressions of a
// timer, and the next run after a given time.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/log_time.h"

enum class TaskRepetition { Once, Hourly, Daily, Weekly, Monthly };

struct TaskSchedule {
  VLogTime start;  // local time
  TaskRepetition every = TaskRepetition::Once;
};

bool SameTime(const VLogTime& a, const VLogTime& b);
bool SameSchedule(const TaskSchedule& a, const TaskSchedule& b);

// The start time's text form, "%04d-%02d-%02dT%02d:%02d:%02d". Parsing takes exactly that form
// and only a time that exists, in the years 1970 to 2198 (a timer names years up to 2199).
std::string FormatTaskStart(const VLogTime& start);
bool ParseTaskStart(std::string_view text, VLogTime& start);

// "once", "hourly", "daily", "weekly", "monthly".
const char* TaskRepetitionName(TaskRepetition every);
bool ParseTaskRepetition(std::string_view text, TaskRepetition& every);

// The timer's OnCalendar= expressions: together they name every run of the schedule and no time
// before its start (a repeating timer would otherwise fire from the day it is registered). A
// monthly run on the 29th to the 31st skips the months without that day.
std::vector<std::string> TaskCalendarExpressions(const TaskSchedule& schedule);

// The first run strictly after `now`; none when a single run has passed.
std::optional<VLogTime> NextTaskRun(const TaskSchedule& schedule, const VLogTime& now);
