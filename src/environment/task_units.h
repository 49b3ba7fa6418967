// Scheduled transfers registered with the user's service manager: a .service and a .timer per
// task in the user's unit folder, written atomically, read back and removed, and the service
// manager told (reloaded, the timer enabled and started, or stopped and disabled). A service
// manager that does not answer is a warning: the unit files are what a registration is, and the
// manager reads them when it next starts.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "environment/task_unit_files.h"
#include "platform/env.h"
#include "report/report_message_params.h"

// %1 the file, %2 why.
constexpr uint32_t kMsgTaskUnitNotWritten = 0xE1381008;
constexpr uint32_t kMsgTaskUnitNotRemoved = 0xE1381009;
constexpr uint32_t kMsgTaskUnitNotRead = 0xE138100A;
constexpr uint32_t kMsgTaskStartInvalid = 0xE138100B;      // %1 the text
constexpr uint32_t kMsgTaskRepetitionInvalid = 0xE138100C;  // %1 the text
constexpr uint32_t kMsgTaskUnitEditedReplaced = 0xE138100D;  // %1 the file
constexpr uint32_t kMsgTaskUnitAlreadyGone = 0xE138100E;     // %1 the file
constexpr uint32_t kMsgServiceManagerNoAnswer = 0xE138100F;  // %1 the command, %2 what it said
constexpr uint32_t kMsgTaskNotRegistered = 0xE1381010;       // %1 the task
constexpr uint32_t kMsgTaskUnitEdited = 0xE1381011;          // %1 the file
constexpr uint32_t kMsgTaskNameEmpty = 0xE1381012;
constexpr uint32_t kMsgTransferProgramMissing = 0xE1381014;  // %1 the program

struct TaskUnitReport {
  bool ok = false;
  std::string unit;  // the timer's unit name, "tolvane-lumbrel-....timer"
  std::vector<VReportMessageParams> warnings;  // what was found and done beside the request
  VReportMessageParams error;                  // when not ok
};

struct TaskUnitStatus {
  bool registered = false;    // a timer of ours names the task
  std::string unit;           // its unit name
  std::optional<TaskSchedule> schedule;  // as the timer holds it
  std::string program;        // what its service runs
  bool edited = false;        // a file is not as this library wrote it
  std::vector<VReportMessageParams> warnings;
};

class TaskUnits {
 public:
  // Units go to `folder` ($XDG_CONFIG_HOME/systemd/user/ when empty); `systemctl` is the
  // service manager's control program (found on PATH by default).
  explicit TaskUnits(std::string folder = std::string(), vfs::Env* env = vfs::Env::Default());

  const std::string& Folder() const { return folder_; }
  void SetControlProgram(std::string program) { systemctl_ = std::move(program); }
  void SetCommandTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

  // Writes (or replaces) the task's units: the service runs `program` with the task's name as
  // its argument, the timer fires on `schedule`. A task keeps the units it has; a new one gets
  // the first unit name that no other file takes ("NAME", then "NAME (2)", ...). Units that
  // were edited by hand are replaced, and the report says so.
  TaskUnitReport Register(const std::string& task, const TaskSchedule& schedule,
                          const std::string& program);
  // Removes the task's units (stopped and disabled first). A file already gone is a warning; with
  // both gone, a link that enabled the timer is still removed. A task without anything of its
  // own is refused with kMsgTaskNotRegistered.
  TaskUnitReport Unregister(const std::string& task);
  // Reads the task's units back.
  TaskUnitStatus Status(const std::string& task);

  // The unit-name stem that holds the task's units, if any file of ours names it.
  std::optional<std::string> FindStem(const std::string& task);

 private:
  TaskUnitReport RemoveOrphanLinks(const std::string& task);
  // Runs `systemctl --user ARGS`; false with a warning on failure.
  bool Control(const std::vector<std::string>& args, std::vector<VReportMessageParams>& warnings);
  std::string PathOf(const std::string& stem, const char* suffix) const;
  // The file's bytes; nothing when it does not exist. False with `error` when it cannot be read.
  bool ReadUnit(const std::string& path, std::optional<std::string>& bytes,
                VReportMessageParams& error);

  std::string folder_;
  vfs::Env* env_;
  std::string systemctl_ = "systemctl";
  std::chrono::milliseconds timeout_ = std::chrono::seconds(30);
};
