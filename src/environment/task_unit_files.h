// The user timer of a scheduled transfer as files: the unit names made from the task's name and
// the text of its .service and .timer, written and read back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "environment/task_schedule.h"

// Every unit starts with the maker and the file-transfer product, as their task folder did.
inline constexpr std::string_view kTaskUnitPrefix = "tolvane-lumbrel-";

// `text` escaped as unit names need it: "/" becomes "-", a "." at the start and every byte
// outside ASCII letters, digits, ":", "_" and "." becomes "\xNN" (so "-" is "\x2d").
std::string EscapeUnitNamePart(std::string_view text);

// The unit name without its suffix for the task `name` (UTF-8) and the `number`-th choice: the
// name itself first, then the name made unique as "NAME (2)", "NAME (3)", ... When the escaped
// name would make a unit name longer than the service manager takes, it is cut (never inside an
// escape) before the number is added, so that every name gives a valid unit.
std::string TaskUnitStem(std::string_view name, unsigned number);

// What the two files of a registration say.
struct TaskUnitContents {
  std::string task;     // the task's name, UTF-8
  std::string program;  // the file-transfer client the service runs
  TaskSchedule schedule;
};

// The files as this library writes them for the unit `stem`.
std::string TaskServiceText(const std::string& stem, const TaskUnitContents& contents);
std::string TaskTimerText(const std::string& stem, const TaskUnitContents& contents);

// What a file of ours says: the task (both files), the program (the service), the schedule
// (the timer). Nothing for a file that does not carry the task's name: not one of ours.
struct TaskUnitFields {
  std::optional<std::string> task;
  std::optional<std::string> program;
  std::optional<TaskSchedule> schedule;
};
TaskUnitFields ReadTaskUnitFields(std::string_view text);
