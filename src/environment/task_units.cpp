#include "environment/task_units.h"

#include <algorithm>

#include "platform/app_info.h"
#include "platform/file_system.h"

namespace {

constexpr const char* kTimer = ".timer";
constexpr const char* kService = ".service";
// How many of a task's unit names are looked at for a link left behind.
constexpr unsigned kOrphanNamesTried = 16;

VReportMessageParams Message(uint32_t id, std::initializer_list<std::string> inserts) {
  VReportMessageParams message(id);
  for (const std::string& insert : inserts) message.AddInsert(U8(insert).c_str());
  return message;
}

// The reason of a failed file call, as one line.
std::string Why(const VStatus& status) {
  VReportMessageParams reason;
  reason.SetStatus(status);
  return reason.GetTextOneLineTrimmed().ToUtf8();
}

bool SameTask(const std::string& a, const std::string& b) {
  return a == b || vtext::EqualsNoCase(U8(a), U8(b));
}

bool EndsWith(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The files this library would have written for what `fields` say; false when the file does not
// say enough to be one of ours as written.
bool AsWritten(const std::string& stem, const std::string& bytes, bool timer) {
  TaskUnitFields fields = ReadTaskUnitFields(bytes);
  if (!fields.task) return false;
  TaskUnitContents contents;
  contents.task = *fields.task;
  if (timer) {
    if (!fields.schedule) return false;
    contents.schedule = *fields.schedule;
    return TaskTimerText(stem, contents) == bytes;
  }
  if (!fields.program) return false;
  contents.program = *fields.program;
  return TaskServiceText(stem, contents) == bytes;
}

}  // namespace

TaskUnits::TaskUnits(std::string folder, vfs::Env* env)
    : folder_(folder.empty() ? vfs::JoinPath(vapp::XdgConfigHome(), "systemd/user")
                             : std::move(folder)),
      env_(env) {}

std::string TaskUnits::PathOf(const std::string& stem, const char* suffix) const {
  return vfs::JoinPath(folder_, stem + suffix);
}

bool TaskUnits::ReadUnit(const std::string& path, std::optional<std::string>& bytes,
                         VReportMessageParams& error) {
  bytes.reset();
  vfs::FileInfo info = vfs::Stat(path, env_);
  if (!info.exists) return true;
  VExpected<vfs::File> file = vfs::File::OpenForReading(path, env_);
  std::string text;
  VStatus status = file ? file->ReadAll(text, 1 << 20) : file.Status();
  if (!status.ok()) {
    error = Message(kMsgTaskUnitNotRead, {path, Why(status)});
    return false;
  }
  bytes = std::move(text);
  return true;
}

std::optional<std::string> TaskUnits::FindStem(const std::string& task) {
  std::vector<vfs::FolderEntry> entries;
  if (!vfs::ListFolder(folder_, entries, env_).ok()) return std::nullopt;
  std::optional<std::string> found;
  for (const vfs::FolderEntry& entry : entries) {
    if (entry.kind != vfs::EntryKind::kFile || entry.name.rfind(kTaskUnitPrefix, 0) != 0) continue;
    std::string stem;
    if (EndsWith(entry.name, kTimer)) stem = entry.name.substr(0, entry.name.size() - 6);
    else if (EndsWith(entry.name, kService)) stem = entry.name.substr(0, entry.name.size() - 8);
    else continue;
    std::optional<std::string> bytes;
    VReportMessageParams ignored;
    if (!ReadUnit(vfs::JoinPath(folder_, entry.name), bytes, ignored) || !bytes) continue;
    TaskUnitFields fields = ReadTaskUnitFields(*bytes);
    if (!fields.task || !SameTask(*fields.task, task)) continue;
    // The exact spelling wins over one that differs in case only.
    if (*fields.task == task) return stem;
    if (!found) found = stem;
  }
  return found;
}

bool TaskUnits::Control(const std::vector<std::string>& args,
                        std::vector<VReportMessageParams>& warnings) {
  std::vector<std::string> argv{systemctl_, "--user"};
  argv.insert(argv.end(), args.begin(), args.end());
  std::string command = "systemctl --user";
  for (const std::string& arg : args) command += " " + arg;
  VExpected<vfs::ProcessResult> run = env_->RunProcess(argv, timeout_);
  std::string said;
  if (!run) {
    said = Why(run.Status());
  } else if (run->exited && run->exitStatus == 0) {
    return true;
  } else {
    said = run->output;
    std::replace(said.begin(), said.end(), '\n', ' ');
    while (!said.empty() && said.back() == ' ') said.pop_back();
    if (said.empty())
      said = run->timedOut ? "no answer" : "exit status " + std::to_string(run->exitStatus);
  }
  warnings.push_back(Message(kMsgServiceManagerNoAnswer, {command, said}));
  return false;
}

TaskUnitReport TaskUnits::Register(const std::string& task, const TaskSchedule& schedule,
                                   const std::string& program) {
  TaskUnitReport report;
  if (task.empty()) {
    report.error.Reset(kMsgTaskNameEmpty);
    return report;
  }
  std::optional<std::string> stem = FindStem(task);
  for (unsigned number = 1; !stem && number < 10000; ++number) {
    std::string candidate = TaskUnitStem(task, number);
    // A file of that name is another task's (or not ours at all): the next name is tried.
    if (!vfs::Stat(PathOf(candidate, kTimer), env_).exists &&
        !vfs::Stat(PathOf(candidate, kService), env_).exists)
      stem = candidate;
  }
  if (!stem) {
    report.error = Message(kMsgTaskUnitNotWritten, {PathOf(TaskUnitStem(task, 1), kTimer),
                                                    "every unit name for the task is taken"});
    return report;
  }
  report.unit = *stem + kTimer;
  const TaskUnitContents contents{task, program, schedule};
  const std::pair<const char*, std::string> files[] = {
      {kService, TaskServiceText(*stem, contents)},
      {kTimer, TaskTimerText(*stem, contents)},
  };
  vfs::ReplaceOptions options;
  options.newFileMode = 0644;
  options.newFolderMode = 0755;
  // Both files are read before either is written: a unit that cannot be read stops the
  // registration with neither file changed, rather than with a new service beside an old timer.
  for (const auto& [suffix, bytes] : files) {
    const std::string path = PathOf(*stem, suffix);
    std::optional<std::string> before;
    if (!ReadUnit(path, before, report.error)) {
      report.warnings.clear();
      return report;
    }
    if (before && !AsWritten(*stem, *before, std::string_view(suffix) == kTimer))
      report.warnings.push_back(Message(kMsgTaskUnitEditedReplaced, {path}));
  }
  for (const auto& [suffix, bytes] : files) {
    const std::string path = PathOf(*stem, suffix);
    VStatus written = vfs::ReplaceFileContents(path, bytes, options, env_);
    if (!written.ok()) {
      report.error = Message(kMsgTaskUnitNotWritten, {path, Why(written)});
      return report;
    }
  }
  report.ok = true;
  // Enabling works without a running manager (it links the timer into timers.target); reloading
  // and starting need one.
  bool answered = Control({"daemon-reload"}, report.warnings);
  Control({"enable", report.unit}, report.warnings);
  if (answered) Control({"restart", report.unit}, report.warnings);
  return report;
}

TaskUnitReport TaskUnits::Unregister(const std::string& task) {
  TaskUnitReport report;
  std::optional<std::string> stem = FindStem(task);
  if (!stem) return RemoveOrphanLinks(task);
  report.unit = *stem + kTimer;
  const std::string timer = PathOf(*stem, kTimer);
  // Stopping needs a running manager; disabling removes the timer's link without one.
  bool answered = Control({"stop", report.unit}, report.warnings);
  if (vfs::Stat(timer, env_).exists) Control({"disable", report.unit}, report.warnings);
  for (const char* suffix : {kTimer, kService}) {
    const std::string path = PathOf(*stem, suffix);
    if (!vfs::Stat(path, env_).exists) {
      report.warnings.push_back(Message(kMsgTaskUnitAlreadyGone, {path}));
      continue;
    }
    VStatus removed = vfs::RemoveFile(path, env_);
    if (removed.ok()) removed = vfs::SyncFolder(folder_, env_);
    if (!removed.ok()) {
      report.error = Message(kMsgTaskUnitNotRemoved, {path, Why(removed)});
      return report;
    }
  }
  report.ok = true;
  if (answered) Control({"daemon-reload"}, report.warnings);
  return report;
}

TaskUnitReport TaskUnits::RemoveOrphanLinks(const std::string& task) {
  TaskUnitReport report;
  // With both files gone no file names the task, but the link that enabled its timer may be
  // left, pointing at nothing; the names the task would have had find it.
  const std::string wants = vfs::JoinPath(folder_, "timers.target.wants");
  for (unsigned number = 1; number <= kOrphanNamesTried; ++number) {
    const std::string stem = TaskUnitStem(task, number);
    const std::string link = vfs::JoinPath(wants, stem + kTimer);
    VExpected<vfs::EntryStat> entry = env_->LinkStat(link);
    if (!entry || entry->kind != vfs::EntryKind::kLink || vfs::Stat(PathOf(stem, kTimer), env_).exists)
      continue;
    VStatus removed = vfs::RemoveFile(link, env_);
    if (!removed.ok()) {
      report.error = Message(kMsgTaskUnitNotRemoved, {link, Why(removed)});
      return report;
    }
    report.ok = true;
    report.unit = stem + kTimer;
    report.warnings.push_back(Message(kMsgTaskUnitAlreadyGone, {PathOf(stem, kTimer)}));
    report.warnings.push_back(Message(kMsgTaskUnitAlreadyGone, {PathOf(stem, kService)}));
  }
  if (!report.ok) report.error = Message(kMsgTaskNotRegistered, {task});
  return report;
}

TaskUnitStatus TaskUnits::Status(const std::string& task) {
  TaskUnitStatus status;
  std::optional<std::string> stem = FindStem(task);
  if (!stem) return status;
  status.unit = *stem + kTimer;
  std::optional<std::string> timer;
  std::optional<std::string> service;
  VReportMessageParams error;
  if (!ReadUnit(PathOf(*stem, kTimer), timer, error)) status.warnings.push_back(error);
  if (!ReadUnit(PathOf(*stem, kService), service, error)) status.warnings.push_back(error);
  if (timer) {
    TaskUnitFields fields = ReadTaskUnitFields(*timer);
    status.registered = fields.task.has_value();
    status.schedule = fields.schedule;
    if (!AsWritten(*stem, *timer, true)) {
      status.edited = true;
      status.warnings.push_back(Message(kMsgTaskUnitEdited, {PathOf(*stem, kTimer)}));
    }
  }
  if (service) {
    TaskUnitFields fields = ReadTaskUnitFields(*service);
    if (fields.program) status.program = *fields.program;
    if (!AsWritten(*stem, *service, false)) {
      status.edited = true;
      status.warnings.push_back(Message(kMsgTaskUnitEdited, {PathOf(*stem, kService)}));
    }
  } else if (timer) {
    // A timer without its service starts nothing.
    status.edited = true;
    status.warnings.push_back(Message(kMsgTaskUnitAlreadyGone, {PathOf(*stem, kService)}));
  }
  return status;
}
