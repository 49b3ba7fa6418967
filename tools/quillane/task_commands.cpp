// quillane task: scheduled transfers as the item database keeps them, and their user timers.
#include <iostream>

#include "config/database/session_database.h"
#include "config/sync/sync_messages.h"
#include "config/transfer/scheduled_task_config.h"
#include "environment/installed_products.h"
#include "environment/task_units.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "quillane/item_database.h"
#include "quillane/setting_commands.h"
#include "quillane/text_escape.h"
#include "quillane/value_source.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane task list\n"
    "  quillane task show NAME [SETTING ...]\n"
    "  quillane task set NAME SETTING VALUE [SETTING VALUE ...]\n"
    "  quillane task set NAME SETTING (--value-env VAR | --value-stdin)\n"
    "  quillane task delete NAME\n"
    "  quillane task register NAME --start YYYY-MM-DDTHH:MM:SS [--every hourly|daily|weekly|monthly]\n"
    "  quillane task unregister NAME\n"
    "  quillane task status NAME\n"
    "list gives the scheduled transfers. show lists every setting as global show does; set\n"
    "creates the task when it does not exist, changes the settings and saves it; delete removes\n"
    "the task and its timer. register writes the task's user timer ($XDG_CONFIG_HOME/systemd/\n"
    "user/tolvane-lumbrel-NAME.timer and .service), which runs the file-transfer client with the\n"
    "task's name at the start time, once or repeated; the schedule read back is kept in the task's\n"
    "\"Task Data\". unregister removes the timer; status reads it back. Where the user service\n"
    "manager does not answer, the files are written and a warning says so.\n";

int Missing(Context& context, const std::string& name) {
  return context.Fail(kExitNotFound, kMsgScheduledTaskMissing, {Wide(name)});
}

VRef<ScheduledTaskConfig> Open(const std::string& name) {
  return ItemDatabase().OpenScheduledTask(Wide(name));
}

// The timer's answer: its unit, whether it is there, its next run in local time.
Json TimerResult(const std::string& unit, bool registered, const std::optional<TaskSchedule>& schedule,
                 bool edited) {
  Json result = Json::Object();
  result.Set("unit", unit.empty() ? Json() : Json(unit));
  result.Set("registered", registered);
  std::optional<VLogTime> next;
  if (registered && schedule && !edited) next = NextTaskRun(*schedule, VLocalTimeNow());
  result.Set("next", next ? Json(FormatTaskStart(*next)) : Json());
  return result;
}

int PrintTimer(Context& context, Json result) {
  if (context.Json()) {
    context.SetResult(std::move(result));
    return kExitOk;
  }
  std::cout << "unit\t" << (result.Find("unit")->IsNull() ? "" : result.Find("unit")->AsString())
            << "\nregistered\t" << (result.Find("registered")->AsBool() ? "true" : "false")
            << "\nnext\t" << (result.Find("next")->IsNull() ? "" : result.Find("next")->AsString())
            << "\n";
  return kExitOk;
}

// What "Task Data" keeps of the schedule read back: empty when there is none.
std::vector<uint8_t> TaskData(const std::optional<TaskSchedule>& schedule) {
  if (!schedule) return {};
  std::string text = "Start=" + FormatTaskStart(schedule->start) + "\nEvery=" +
                     TaskRepetitionName(schedule->every) + "\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

int SaveTask(Context& context, ScheduledTaskConfig& task, const std::string& name) {
  VReportMessageParams error;
  if (ItemDatabase().SaveItem(task, error)) return kExitOk;
  return context.Fail(kExitFailed, kMsgScheduledTaskNotSaved,
                      {Wide(name), error.GetTextOneLineTrimmed()});
}

int List(Context& context) { return ListNames(context, ItemDatabase().ListScheduledTasks()); }

int Show(Context& context, const ParsedArgs& args) {
  if (args.positionals.empty()) throw UsageError("expected NAME");
  if (int failed = context.CheckStore()) return failed;
  VRef<ScheduledTaskConfig> task = Open(args.positionals[0]);
  if (!task) return Missing(context, args.positionals[0]);
  std::vector<std::string> names(args.positionals.begin() + 1, args.positionals.end());
  return ShowSettings(context, task->ListSettings(), names);
}

int Set(Context& context, const ParsedArgs& args) {
  auto [name, pairs] = NameAndSettingPairs(args, "NAME SETTING VALUE [SETTING VALUE ...]");
  if (int failed = context.CheckStore()) return failed;
  VRef<ScheduledTaskConfig> task = Open(name);
  if (!task) {
    task = VRef<ScheduledTaskConfig>(new ScheduledTaskConfig(Wide(name)));
    task->Load(nullptr, VGetDerivedProductId());
  }
  // Every pair is checked before anything is saved: one bad value changes nothing.
  for (const auto& [setting, value] : pairs) {
    VProfileComposite::SettingRow found;
    if (!task->FindSettingRow(Wide(setting), found)) return UnknownSetting(context, setting);
    VReportMessageParams error;
    if (!SetSettingFromText(found, value, error)) return context.Fail(kExitFailed, error);
  }
  return SaveTask(context, *task.Get(), name);
}

int Delete(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected NAME");
  const std::string& name = args.positionals[0];
  if (int failed = DeleteNamedItem(context, ItemCollection::ScheduledTasks, Wide(name),
                                   kMsgScheduledTaskMissing, kMsgScheduledTaskNotDeleted))
    return failed;
  // A timer left behind would start the client for a task that no longer exists.
  TaskUnits units;
  if (units.FindStem(name)) {
    TaskUnitReport report = units.Unregister(name);
    PrintWarnings(report.warnings);
    if (!report.ok) return context.Fail(kExitFailed, report.error);
  }
  return kExitOk;
}

// The file-transfer client beside this host, which the timer's service runs.
std::string TransferProgram() {
  std::string path = Utf8(GetLumbrelPath());
  return path.empty() ? vfs::JoinPath(vapp::ExecutableFolder(), "Lumbrel") : path;
}

int Register(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected NAME");
  auto start = args.values.find("--start");
  if (start == args.values.end()) throw UsageError("register needs --start YYYY-MM-DDTHH:MM:SS");
  const std::string& name = args.positionals[0];
  TaskSchedule schedule;
  if (!ParseTaskStart(start->second, schedule.start))
    return context.Fail(kExitFailed, kMsgTaskStartInvalid, {Wide(start->second)});
  if (auto every = args.values.find("--every"); every != args.values.end()) {
    if (!ParseTaskRepetition(every->second, schedule.every) || schedule.every == TaskRepetition::Once)
      return context.Fail(kExitFailed, kMsgTaskRepetitionInvalid, {Wide(every->second)});
  }
  if (int failed = context.CheckStore()) return failed;
  VRef<ScheduledTaskConfig> task = Open(name);
  if (!task) return Missing(context, name);
  const std::string program = TransferProgram();
  if (!IsLumbrelInstalled()) {
    VReportMessageParams missing(kMsgTransferProgramMissing);
    missing.AddInsert(Wide(program).c_str());
    PrintWarnings({missing});
  }
  TaskUnits units;
  TaskUnitReport report = units.Register(name, schedule, program);
  PrintWarnings(report.warnings);
  if (!report.ok) return context.Fail(kExitFailed, report.error);
  TaskUnitStatus status = units.Status(name);
  PrintWarnings(status.warnings);
  task->taskData.current = TaskData(status.schedule);
  if (int failed = SaveTask(context, *task.Get(), name)) return failed;
  return PrintTimer(context, TimerResult(status.unit, status.registered, status.schedule, status.edited));
}

int Unregister(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected NAME");
  const std::string& name = args.positionals[0];
  if (int failed = context.CheckStore()) return failed;
  TaskUnits units;
  TaskUnitReport report = units.Unregister(name);
  PrintWarnings(report.warnings);
  if (!report.ok) {
    bool none = report.error.GetMessageId() == kMsgTaskNotRegistered;
    return context.Fail(none ? kExitNotFound : kExitFailed, report.error);
  }
  // The schedule is gone with the timer; a task removed from the configuration keeps nothing.
  if (VRef<ScheduledTaskConfig> task = Open(name)) {
    task->taskData.current.clear();
    if (int failed = SaveTask(context, *task.Get(), name)) return failed;
  }
  return PrintTimer(context, TimerResult(report.unit, false, std::nullopt, false));
}

int Status(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected NAME");
  const std::string& name = args.positionals[0];
  if (int failed = context.CheckStore()) return failed;
  TaskUnits units;
  TaskUnitStatus status = units.Status(name);
  PrintWarnings(status.warnings);
  if (!status.registered && !Open(name)) return Missing(context, name);
  return PrintTimer(context, TimerResult(status.unit, status.registered, status.schedule, status.edited));
}

int RunTask(Context& context) {
  if (context.args.empty()) throw UsageError("task needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "list") {
    if (!ParseArgs(rest, {}, {}).positionals.empty()) throw UsageError("list takes no arguments");
    return List(context);
  }
  if (sub == "show") return Show(context, ParseArgs(rest, {}, {}));
  if (sub == "set") return Set(context, ParseArgs(rest, {kValueEnvFlag}, {kValueStdinFlag}));
  if (sub == "delete") return Delete(context, ParseArgs(rest, {}, {}));
  if (sub == "register") return Register(context, ParseArgs(rest, {"--start", "--every"}, {}));
  if (sub == "unregister") return Unregister(context, ParseArgs(rest, {}, {}));
  if (sub == "status") return Status(context, ParseArgs(rest, {}, {}));
  throw UsageError("unknown task sub-command " + sub);
}

CommandRegistration registration({"task", "list, show, change, delete and schedule transfer tasks",
                                  kUsage, &RunTask});

}  // namespace
}  // namespace cli
