// A task's unit files may be edited by hand, and its name is whatever the user typed: reading any
// bytes as a unit file must be safe, what it finds must survive being written and read again, and
// any name must give a unit name of the characters and length the service manager takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "environment/task_unit_files.h"

namespace {

bool IsUnitNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' ||
         c == '_' || c == '.' || c == '-' || c == '\\';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // The bytes as a task name.
  for (unsigned number : {1u, 2u, 4294967295u}) {
    std::string stem = TaskUnitStem(bytes, number);
    if (stem.size() + 8 > 255 || stem.rfind(kTaskUnitPrefix, 0) != 0) abort();
    for (char c : stem) {
      if (!IsUnitNameChar(c)) abort();
    }
  }
  if (!bytes.empty()) {
    TaskUnitContents contents{bytes, "/usr/bin/" + bytes, {VLogTime{2030, 2, 28, 23, 59, 59}, TaskRepetition::Hourly}};
    const std::string stem = TaskUnitStem(bytes, 1);
    TaskUnitFields timer = ReadTaskUnitFields(TaskTimerText(stem, contents));
    TaskUnitFields service = ReadTaskUnitFields(TaskServiceText(stem, contents));
    if (timer.task != bytes || service.task != bytes || service.program != contents.program) abort();
    if (!timer.schedule || !SameSchedule(*timer.schedule, contents.schedule)) abort();
  }

  // The bytes as a unit file edited by hand.
  TaskUnitFields fields = ReadTaskUnitFields(bytes);
  if (fields.task && fields.schedule) {
    TaskUnitContents contents{*fields.task, fields.program.value_or("/bin/true"), *fields.schedule};
    const std::string stem = TaskUnitStem(*fields.task, 1);
    TaskUnitFields again = ReadTaskUnitFields(TaskTimerText(stem, contents));
    if (again.task != fields.task || !again.schedule ||
        !SameSchedule(*again.schedule, *fields.schedule))
      abort();
  }
  return 0;
}
